#include "app/settings.h"
#include "engine/transforms.h"

void FlipImage(FIBITMAP* image) {
    if (!image) return;
    if (Settings.Transform.DoImageFlipHorizontal) FreeImage_FlipHorizontal(image);
    if (Settings.Transform.DoImageFlipVertical) FreeImage_FlipVertical(image);
}
