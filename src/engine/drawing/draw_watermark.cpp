// The watermark step: build the overlay, turn, fit and place it, blend it over the picture.
#include <cstdint>

#include "app/job.h"
#include "app/settings.h"
#include "engine/frame_watermark.h"
#include "engine/image_depth.h"
#include "engine/pipeline.h"

namespace {

// Name tokens in the text show this file's values: the size is final by now and the depth is
// the one the depth step will choose.
void PrepareTokenValues(int width, int height) {
    Job.OutputWidth = width;
    Job.OutputHeight = height;
    ChooseOutputDepth();
}

// Blends the part of the overlay the spot shows over the picture, and releases the overlay.
bool BlendShownPart(FIBITMAP* image, FIBITMAP* overlay, const WatermarkSpot& spot) {
    const int64_t overlayWidth = FreeImage_GetWidth(overlay), overlayHeight = FreeImage_GetHeight(overlay);
    const bool whole = spot.left == 0 && spot.top == 0 && spot.width == overlayWidth && spot.height == overlayHeight;
    // The spot lies inside the overlay, so its corners fit in int.
    FIBITMAP* shown = whole ? overlay
                            : FreeImage_Copy(overlay, static_cast<int>(spot.left), static_cast<int>(spot.top),
                                             static_cast<int>(spot.left + spot.width),
                                             static_cast<int>(spot.top + spot.height));
    const bool blended = shown && CompositeAt(image, shown, spot.x, spot.y);
    if (shown && shown != overlay) FreeImage_Unload(shown);
    FreeImage_Unload(overlay);
    return blended;
}

// A picture without the watermark it was asked for is no success: the step fails.
FIBITMAP* FailStep(FIBITMAP* image) {
    FreeImage_Unload(image);
    return nullptr;
}

}  // namespace

FIBITMAP* DrawWatermark(FIBITMAP* image, int width, int height) {
    const int mode = Settings.Watermark.DoWatermark;
    if (mode == 0) return image;
    image = ReplaceWith24Bits(image);
    if (!image || width <= 0 || height <= 0) return image;

    FIBITMAP* overlay = nullptr;
    if (mode == 1) PrepareTokenValues(width, height);
    if (mode == 1 && !WatermarkRotates()) {
        // Unturned text is drawn only where it lands: already fitted, placed and cut.
        int x = 0, y = 0;
        overlay = BuildVisibleTextOverlay(width, height, &x, &y);
        if (!overlay) return image;
        const bool blended = CompositeAt(image, overlay, x, y);
        FreeImage_Unload(overlay);
        return blended ? image : FailStep(image);
    }
    if (mode == 1) {
        overlay = BuildTextOverlay();
    } else if (mode == 2) {
        overlay = BuildImageOverlay();
    }
    if (!overlay) return image;
    overlay = RotateWatermark(overlay);
    if (!overlay) return FailStep(image);
    WatermarkSpot spot{};
    if (!LocateWatermark(width, height, FreeImage_GetWidth(overlay), FreeImage_GetHeight(overlay), &spot)) {
        // No room left for it: nothing to show for this file.
        FreeImage_Unload(overlay);
        return image;
    }
    return BlendShownPart(image, overlay, spot) ? image : FailStep(image);
}
