// Small helpers shared by the transform, colour, frame and watermark steps.
#pragma once
#include <FreeImage.h>

// The image at 24 bits per pixel: the image itself when it already is, else a 24-bit copy with
// the image released; no image when the conversion fails (the original is released all the
// same, so the caller holds nothing).
FIBITMAP* ReplaceWith24Bits(FIBITMAP* image);
