// Rotating, fitting and placing the watermark overlay on the picture.
#include <cstdint>

#include "app/settings.h"
#include "engine/frame_watermark.h"

namespace {

// The placement settings of the watermark kind being drawn (text or image).
struct Placement {
    int position;
    int64_t xOffset, yOffset;
    bool boundary;
};

Placement CurrentPlacement() {
    const auto& w = Settings.Watermark;
    if (w.DoWatermark == 2) return {w.ImagePosition, w.ImageXOffset, w.ImageYOffset, w.ImageBoundary == 1};
    return {w.TextPosition, w.TextXOffset, w.TextYOffset, w.TextBoundary == 1};
}

struct Room {
    int64_t width, height, left, top;
};

// The picture, or what the frame leaves of it when the watermark is to stay inside the frame.
Room CurrentRoom(int width, int height) {
    const auto& f = Settings.Frame;
    if (f.DoFrame != 0 && CurrentPlacement().boundary)
        return {int64_t{width} - f.SolidLeft - f.SolidRight, int64_t{height} - f.SolidTop - f.SolidBottom,
                f.SolidLeft, f.SolidTop};
    return {width, height, 0, 0};
}

int ClampToInt(int64_t value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int>(value);
}

}  // namespace

FIBITMAP* RotateWatermark(FIBITMAP* overlay) {
    if (!overlay) return nullptr;
    const int angle = Settings.Watermark.DoWatermark == 2 ? Settings.Watermark.ImageRotation
                                                          : Settings.Watermark.TextRotation;
    if (angle <= 0 || angle >= 360) return overlay;
    // No background colour: the uncovered corners of a 32-bit overlay stay transparent.
    FIBITMAP* rotated = FreeImage_Rotate(overlay, angle, nullptr);
    if (!rotated) return overlay;
    FreeImage_Unload(overlay);
    return rotated;
}

FIBITMAP* FitWatermark(FIBITMAP* overlay, int width, int height) {
    if (!overlay) return nullptr;
    const Placement placement = CurrentPlacement();
    const Room room = CurrentRoom(width, height);
    const int64_t w = FreeImage_GetWidth(overlay), h = FreeImage_GetHeight(overlay);
    const bool fitsAcross = room.width >= w + placement.xOffset;
    const bool fitsDown = room.height >= h + placement.yOffset;
    if (fitsAcross && fitsDown) return overlay;
    const int64_t cutWidth = fitsAcross ? w : room.width - placement.xOffset;
    const int64_t cutHeight = fitsDown ? h : room.height - placement.yOffset;
    FIBITMAP* cut = nullptr;
    // No room at all: nothing to show for this file.
    if (cutWidth > 0 && cutHeight > 0 && cutWidth <= w && cutHeight <= h)
        cut = FreeImage_Copy(overlay, 0, 0, static_cast<int>(cutWidth), static_cast<int>(cutHeight));
    FreeImage_Unload(overlay);
    return cut;
}

void PlaceWatermark(int width, int height, int overlayWidth, int overlayHeight, int* x, int* y) {
    const Placement placement = CurrentPlacement();
    const Room room = CurrentRoom(width, height);
    const int64_t X = placement.xOffset, Y = placement.yOffset;
    const int64_t centreX = (room.width - overlayWidth) / 2, centreY = (room.height - overlayHeight) / 2;
    const int64_t rightX = room.width - overlayWidth - X, bottomY = room.height - overlayHeight - Y;
    int64_t px = 0, py = 0;
    switch (placement.position) {
        case 0: px = X, py = Y; break;
        case 1: px = centreX, py = Y; break;
        case 2: px = rightX, py = Y; break;
        case 3: px = X, py = centreY; break;
        case 4: px = centreX, py = centreY; break;
        case 5: px = rightX, py = centreY; break;
        case 6: px = X, py = bottomY; break;
        case 7: px = centreX, py = bottomY; break;
        case 8: px = rightX, py = bottomY; break;
        default: break;
    }
    *x = ClampToInt(px + room.left);
    *y = ClampToInt(py + room.top);
}
