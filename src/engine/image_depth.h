// Small helpers shared by the transform, colour, frame and watermark steps.
#pragma once
#include <FreeImage.h>

#include <cstdint>
#include <limits>

// The image at 24 bits per pixel: the image itself when it already is, else a 24-bit copy with
// the image released; no image when the conversion fails (the original is released all the
// same, so the caller holds nothing).
FIBITMAP* ReplaceWith24Bits(FIBITMAP* image);

// Sizes and places worked out in 64 bits, held to what FreeImage's int coordinates can take.
constexpr int32_t ClampToInt32(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}
