#include <cmath>
#include <utility>

#include "app/settings.h"
#include "engine/image_depth.h"
#include "engine/pipeline.h"
#include "engine/transforms.h"

namespace {
bool SimpleRotationFits(FIBITMAP* image, int angle) {
    int width = 0, height = 0;
    SimpleRotationSize(static_cast<int>(FreeImage_GetWidth(image)), static_cast<int>(FreeImage_GetHeight(image)),
                       angle, &width, &height);
    return width <= kMaxPictureSide && height <= kMaxPictureSide;
}

FIBITMAP* RotateSimple(FIBITMAP* image, int angle) {
    int red = 0, green = 0, blue = 0;
    ParseColour(Settings.Transform.ImageRotationBackColor, &red, &green, &blue);
    RGBQUAD background{};
    background.rgbBlue = static_cast<BYTE>(blue);
    background.rgbGreen = static_cast<BYTE>(green);
    background.rgbRed = static_cast<BYTE>(red);
    // The corners of a picture with alpha take the background colour too, not a transparent hole.
    background.rgbReserved = FreeImage_GetBPP(image) == 32 ? 255 : 0;
    FIBITMAP* rotated = FreeImage_Rotate(image, angle, &background);
    // Should another build of the library size its result differently.
    if (rotated && (FreeImage_GetWidth(rotated) > kMaxPictureSide || FreeImage_GetHeight(rotated) > kMaxPictureSide)) {
        FreeImage_Unload(rotated);
        return nullptr;
    }
    return rotated;
}

FIBITMAP* RotateAboutCentre(FIBITMAP* image, int angle) {
    const double originX = FreeImage_GetWidth(image) / 2.0;
    const double originY = FreeImage_GetHeight(image) / 2.0;
    return FreeImage_RotateEx(image, angle, 0, 0, originX, originY, FALSE);
}
}  // namespace

// As the library computes it: it negates the angle (its rows are stored bottom-up), turns by a
// multiple of 90 degrees and shears the remaining -45 to 45 degrees into a picture one pixel
// larger than the rounded bounding box.
void SimpleRotationSize(int width, int height, int angle, int* rotatedWidth, int* rotatedHeight) {
    int rest = ((-angle % 360) + 360) % 360;
    if ((rest > 45 && rest <= 135) || (rest > 225 && rest <= 315)) std::swap(width, height);
    if (rest > 45 && rest <= 135) rest -= 90;
    else if (rest > 135 && rest <= 225) rest -= 180;
    else if (rest > 225 && rest <= 315) rest -= 270;
    if (rest == 0) {
        *rotatedWidth = width;
        *rotatedHeight = height;
        return;
    }
    const double radians = rest * 3.1415926535897932384626433832795 / 180.0;
    const double sine = std::fabs(std::sin(radians)), cosine = std::cos(radians);
    *rotatedWidth = static_cast<int>(height * sine + width * cosine + 0.5) + 1;
    *rotatedHeight = static_cast<int>(width * sine + height * cosine + 0.5) + 1;
}

FIBITMAP* RotateImage(FIBITMAP* image) {
    if (!image || !Settings.Transform.DoImageRotation) return image;
    const int angle = Settings.Transform.ImageRotation;
    if (angle <= 0 || angle >= 360) return image;

    // Refused before anything is allocated, the widened copy below included.
    if (Settings.Transform.ImageRotationType == 0 && !SimpleRotationFits(image, angle)) {
        FreeImage_Unload(image);
        return nullptr;
    }
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
