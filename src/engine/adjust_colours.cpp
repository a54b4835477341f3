#include "app/settings.h"
#include "engine/colour.h"
#include "engine/image_depth.h"

FIBITMAP* AdjustColours(FIBITMAP* image) {
    if (!image || !Settings.Adjustment.DoImageColorCorrection) return image;
    // The library adjusts only 8-, 24- and 32-bit images and silently skips the rest, so a
    // 16-bit image is widened too rather than passing through unadjusted.
    const unsigned bpp = FreeImage_GetBPP(image);
    if (FreeImage_GetImageType(image) != FIT_BITMAP || (bpp != 8 && bpp != 24 && bpp != 32))
        image = ReplaceWith24Bits(image);
    if (!image) return nullptr;
    const auto& adjustment = Settings.Adjustment;
    FreeImage_AdjustColors(image, adjustment.ImageBrightness, adjustment.ImageContrast, adjustment.ImageGamma,
                           adjustment.ImageInvert ? TRUE : FALSE);
    return image;
}
