#include "engine/image_depth.h"

FIBITMAP* ReplaceWith24Bits(FIBITMAP* image) {
    if (!image || FreeImage_GetBPP(image) == 24) return image;
    FIBITMAP* converted = FreeImage_ConvertTo24Bits(image);
    FreeImage_Unload(image);
    return converted;
}
