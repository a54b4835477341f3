#include "app/settings.h"
#include "engine/colour.h"
#include "engine/image_depth.h"

FIBITMAP* ConvertToGreyscale(FIBITMAP* image) {
    if (!image || !Settings.Adjustment.DoImageGreyscale) return image;
    if (FreeImage_GetBPP(image) > 32) image = ReplaceWith24Bits(image);
    if (!image) return nullptr;
    FIBITMAP* grey = FreeImage_ConvertToGreyscale(image);
    FreeImage_Unload(image);
    return grey;
}
