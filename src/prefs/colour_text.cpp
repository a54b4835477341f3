#include <cstdio>

#include "engine/transforms.h"
#include "prefs/prefs_rules.h"
#include "ui/texts.h"

namespace {
struct NamedColour {
    const char* digits;
    const char* name;
};
const NamedColour kNamedColours[] = {
    {"000000", "Black"}, {"C0C0C0", "Silver"}, {"808080", "Gray"},   {"FFFFFF", "White"},   {"800000", "Maroon"},
    {"FF0000", "Red"},   {"800080", "Purple"}, {"FF00FF", "Fuchsia"}, {"008000", "Green"},  {"00FF00", "Lime"},
    {"808000", "Olive"}, {"FFFF00", "Yellow"}, {"000080", "Navy"},   {"0000FF", "Blue"},    {"008080", "Teal"},
    {"00FFFF", "Aqua"},  {"FF8000", "Orange"}, {"804000", "Brown"},  {"8000FF", "Violet"},
};
}  // namespace

uint32_t ColourTextToRgb(const std::string& text) {
    int red = 0, green = 0, blue = 0;
    ParseColour(text, &red, &green, &blue);
    return static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue) << 16;
}

std::string RgbToColourText(uint32_t rgb) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02X%02X%02X", rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
    return digits;
}

std::string ColorLabel(const std::string& colourText) {
    const std::string upper = UpperAscii(colourText);
    for (const NamedColour& colour : kNamedColours)
        if (upper == colour.digits) return GetUiText("Preferences", colour.name);
    return GetUiText("Preferences", "Color") + " #" + upper;
}

std::string CleanText(const std::string& text) {
    std::string cleaned;
    for (char c : TrimBlanks(text, " "))
        if (c != '\t' && c != '\r' && c != '\n') cleaned += c;
    return cleaned;
}
