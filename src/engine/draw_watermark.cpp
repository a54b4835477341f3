// The watermark step: build the overlay, turn, fit and place it, blend it over the picture.
#include <algorithm>
#include <cstdint>

#include "app/job.h"
#include "app/settings.h"
#include "engine/frame_watermark.h"
#include "engine/pipeline.h"

namespace {

// Name tokens in the text show this file's values: the size is final by now and the depth is
// the one the depth step will choose.
void PrepareTokenValues(int width, int height) {
    Job.OutputWidth = width;
    Job.OutputHeight = height;
    if (Job.AutomaticDepth) Job.OutputBitDepth = DepthForSource(Job.OutputFormat, Job.SourceBitDepth);
}

// The part of the overlay at (x, y) that lies on the picture; FreeImage pastes only wholly
// inside pieces. Negative offsets can push an overlay past an edge.
FIBITMAP* CutToPicture(FIBITMAP* overlay, int width, int height, int* x, int* y) {
    const int64_t w = FreeImage_GetWidth(overlay), h = FreeImage_GetHeight(overlay);
    const int64_t left = std::max<int64_t>(*x, 0), top = std::max<int64_t>(*y, 0);
    const int64_t right = std::min<int64_t>(int64_t{*x} + w, width), bottom = std::min<int64_t>(int64_t{*y} + h, height);
    if (right <= left || bottom <= top) {
        FreeImage_Unload(overlay);
        return nullptr;
    }
    if (left == *x && top == *y && right - left == w && bottom - top == h) return overlay;
    FIBITMAP* cut = FreeImage_Copy(overlay, static_cast<int>(left - *x), static_cast<int>(top - *y),
                                   static_cast<int>(right - *x), static_cast<int>(bottom - *y));
    FreeImage_Unload(overlay);
    *x = static_cast<int>(left);
    *y = static_cast<int>(top);
    return cut;
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
    image = ConvertTo24BitsInPlace(image);
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
    overlay = FitWatermark(overlay, width, height);
    if (!overlay) return image;
    int x = 0, y = 0;
    PlaceWatermark(width, height, FreeImage_GetWidth(overlay), FreeImage_GetHeight(overlay), &x, &y);
    overlay = CutToPicture(overlay, width, height, &x, &y);
    if (!overlay) return image;
    const bool blended = CompositeAt(image, overlay, x, y);
    FreeImage_Unload(overlay);
    return blended ? image : FailStep(image);
}
