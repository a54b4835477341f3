// Small helpers shared by the transform and colour steps.
#pragma once
#include <FreeImage.h>

// Returns a 24-bit copy of the image and releases the image itself; no image when the
// conversion fails (the original is released all the same, so the caller holds nothing).
FIBITMAP* ReplaceWith24Bits(FIBITMAP* image);
