// The loaded font's record lives with the program, not with the drawing module: every run resets
// it, and most runs never load that module.
#include "engine/watermark_font.h"

WatermarkFontRecord WatermarkFont;

void FreeWatermarkFont() { WatermarkFont = WatermarkFontRecord(); }
