// Rotating, fitting and placing the watermark overlay on the picture.
#include <algorithm>
#include <cstdint>

#include "app/settings.h"
#include "engine/frame_watermark.h"
#include "engine/image_depth.h"

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

int WatermarkAngle() {
    return Settings.Watermark.DoWatermark == 2 ? Settings.Watermark.ImageRotation : Settings.Watermark.TextRotation;
}

// The size left of a w x h overlay once it is cut to the room; false when nothing is left.
bool FittedSize(int width, int height, int64_t w, int64_t h, int64_t* fittedWidth, int64_t* fittedHeight) {
    const Placement placement = CurrentPlacement();
    const Room room = CurrentRoom(width, height);
    const bool fitsAcross = room.width >= w + placement.xOffset;
    const bool fitsDown = room.height >= h + placement.yOffset;
    *fittedWidth = fitsAcross ? w : room.width - placement.xOffset;
    *fittedHeight = fitsDown ? h : room.height - placement.yOffset;
    return *fittedWidth > 0 && *fittedHeight > 0 && *fittedWidth <= w && *fittedHeight <= h;
}

void PlaceOnPicture(int width, int height, int64_t w, int64_t h, int64_t* x, int64_t* y) {
    const Placement placement = CurrentPlacement();
    const Room room = CurrentRoom(width, height);
    const int64_t X = placement.xOffset, Y = placement.yOffset;
    const int64_t centreX = (room.width - w) / 2, centreY = (room.height - h) / 2;
    const int64_t rightX = room.width - w - X, bottomY = room.height - h - Y;
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
    *x = px + room.left;
    *y = py + room.top;
}

}  // namespace

bool WatermarkRotates() {
    const int angle = WatermarkAngle();
    return angle > 0 && angle < 360;
}

FIBITMAP* RotateWatermark(FIBITMAP* overlay) {
    if (!overlay || !WatermarkRotates()) return overlay;
    const int angle = WatermarkAngle();
    // No background colour: the uncovered corners of a 32-bit overlay stay transparent.
    FIBITMAP* rotated = FreeImage_Rotate(overlay, angle, nullptr);
    FreeImage_Unload(overlay);
    return rotated;
}

FIBITMAP* FitWatermark(FIBITMAP* overlay, int width, int height) {
    if (!overlay) return nullptr;
    const int64_t w = FreeImage_GetWidth(overlay), h = FreeImage_GetHeight(overlay);
    int64_t cutWidth = 0, cutHeight = 0;
    const bool fits = FittedSize(width, height, w, h, &cutWidth, &cutHeight);
    if (fits && cutWidth == w && cutHeight == h) return overlay;
    // No room at all: nothing to show for this file.
    FIBITMAP* cut = fits ? FreeImage_Copy(overlay, 0, 0, static_cast<int>(cutWidth), static_cast<int>(cutHeight)) : nullptr;
    FreeImage_Unload(overlay);
    return cut;
}

void PlaceWatermark(int width, int height, int overlayWidth, int overlayHeight, int* x, int* y) {
    int64_t px = 0, py = 0;
    PlaceOnPicture(width, height, overlayWidth, overlayHeight, &px, &py);
    *x = ClampToInt32(px);
    *y = ClampToInt32(py);
}

bool LocateWatermark(int width, int height, int64_t overlayWidth, int64_t overlayHeight, WatermarkSpot* spot) {
    int64_t w = 0, h = 0, x = 0, y = 0;
    if (width <= 0 || height <= 0 || !FittedSize(width, height, overlayWidth, overlayHeight, &w, &h)) return false;
    PlaceOnPicture(width, height, w, h, &x, &y);
    const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(x + w, width), bottom = std::min<int64_t>(y + h, height);
    if (right <= left || bottom <= top) return false;
    // The fit cuts from the top-left corner, so the shown part has the same corner in the whole overlay.
    *spot = {static_cast<int>(left), static_cast<int>(top), left - x, top - y, static_cast<int>(right - left),
             static_cast<int>(bottom - top)};
    return true;
}
