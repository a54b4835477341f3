#include "app/settings.h"
#include "engine/image_depth.h"
#include "engine/transforms.h"

namespace {
FIBITMAP* RotateSimple(FIBITMAP* image, int angle) {
    int red = 0, green = 0, blue = 0;
    ParseColour(Settings.Transform.ImageRotationBackColor, &red, &green, &blue);
    RGBQUAD background{};
    background.rgbBlue = static_cast<BYTE>(blue);
    background.rgbGreen = static_cast<BYTE>(green);
    background.rgbRed = static_cast<BYTE>(red);
    background.rgbReserved = 0;
    return FreeImage_Rotate(image, angle, &background);
}

FIBITMAP* RotateAboutCentre(FIBITMAP* image, int angle) {
    const double originX = FreeImage_GetWidth(image) / 2.0;
    const double originY = FreeImage_GetHeight(image) / 2.0;
    return FreeImage_RotateEx(image, angle, 0, 0, originX, originY, FALSE);
}
}  // namespace

FIBITMAP* RotateImage(FIBITMAP* image) {
    if (!image || !Settings.Transform.DoImageRotation) return image;
    const int angle = Settings.Transform.ImageRotation;
    if (angle <= 0 || angle >= 360) return image;

    // The rotation routines want true colour; palette and 16-bit images are widened first.
    const unsigned bpp = FreeImage_GetBPP(image);
    if (bpp <= 16 || bpp > 32) image = ReplaceWith24Bits(image);
    if (!image) return nullptr;

    FIBITMAP* rotated = nullptr;
    switch (Settings.Transform.ImageRotationType) {
        case 0: rotated = RotateSimple(image, angle); break;
        case 1: rotated = RotateAboutCentre(image, angle); break;
        default: return image;
    }
    FreeImage_Unload(image);
    return rotated;
}
