// Colour steps: each takes the current image and returns the one that follows.
#pragma once
#include <FreeImage.h>

FIBITMAP* AdjustColours(FIBITMAP* image);
FIBITMAP* ConvertToGreyscale(FIBITMAP* image);
FIBITMAP* ApplyThreshold(FIBITMAP* image);
FIBITMAP* ApplyDither(FIBITMAP* image);
