#include "app/settings.h"
#include "engine/colour.h"
#include "engine/image_depth.h"

FIBITMAP* ApplyThreshold(FIBITMAP* image) {
    if (!image || !Settings.Adjustment.DoImageThreshold) return image;
    const unsigned bpp = FreeImage_GetBPP(image);
    if (bpp > 32 || bpp < 4) image = ReplaceWith24Bits(image);
    if (!image) return nullptr;
    // Only the low byte of the stored level counts: 300 acts as 44.
    const BYTE level = static_cast<BYTE>(LowByte(Settings.Adjustment.ImageThreshold));
    FIBITMAP* mono = FreeImage_Threshold(image, level);
    FreeImage_Unload(image);
    return mono;
}
