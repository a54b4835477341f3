#include "app/settings.h"
#include "engine/colour.h"
#include "engine/image_depth.h"

namespace {
struct DitherMethod {
    int code;
    FREE_IMAGE_DITHER method;
};

// [Adjustment] Image Dither Algorithm to the library's method; anything else is Floyd and Steinberg.
constexpr DitherMethod kDitherMethods[] = {
    {0, FID_FS},         {1, FID_BAYER4x4},     {2, FID_BAYER8x8},       {3, FID_BAYER16x16},
    {4, FID_CLUSTER6x6}, {5, FID_CLUSTER8x8},   {6, FID_CLUSTER16x16},
};

FREE_IMAGE_DITHER MethodForAlgorithm(int code) {
    for (const DitherMethod& entry : kDitherMethods)
        if (entry.code == code) return entry.method;
    return FID_FS;
}
}  // namespace

FIBITMAP* ApplyDither(FIBITMAP* image) {
    if (!image || !Settings.Adjustment.DoImageDither) return image;
    const unsigned bpp = FreeImage_GetBPP(image);
    if (bpp > 32 || bpp < 4) image = ReplaceWith24Bits(image);
    if (!image) return nullptr;
    FIBITMAP* mono = FreeImage_Dither(image, MethodForAlgorithm(Settings.Adjustment.ImageDitherAlgorithm));
    FreeImage_Unload(image);
    return mono;
}
