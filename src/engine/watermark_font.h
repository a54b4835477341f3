// The font a text watermark is drawn with, loaded once per conversion run.
#pragma once
#include <string>

struct WatermarkFontRecord {
    bool Loaded = false;
    std::string Family;  // as the user named it; fontconfig resolves it again when drawing
    int Points = 0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
};

extern WatermarkFontRecord WatermarkFont;

// True when fontconfig resolves the family to an installed face of that family or of a family
// the system configures as its substitute ("Arial" to Liberation Sans). Generic fallbacks don't count.
bool CanLoadFontFamily(const std::string& family);

// Fills WatermarkFont when the family can be loaded and scaled to the size; otherwise leaves it
// unloaded and returns false.
bool LoadWatermarkFont(const std::string& family, int points, bool bold, bool italic, bool underline,
                       bool strikeOut);
void FreeWatermarkFont();
