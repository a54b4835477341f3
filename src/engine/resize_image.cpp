#include <cmath>
#include <cstdint>

#include "app/settings.h"
#include "engine/image_depth.h"
#include "engine/pipeline.h"
#include "engine/transforms.h"

namespace {
struct ResizeFilter {
    int code;
    FREE_IMAGE_FILTER filter;
};

// [Transform] Image Resize Algorithm to the library's filter; anything else is bicubic.
constexpr ResizeFilter kResizeFilters[] = {
    {0, FILTER_BOX},        {1, FILTER_BILINEAR},   {2, FILTER_BSPLINE},
    {3, FILTER_BICUBIC},    {4, FILTER_CATMULLROM}, {5, FILTER_LANCZOS3},
};

FREE_IMAGE_FILTER FilterForAlgorithm(int code) {
    for (const ResizeFilter& entry : kResizeFilters)
        if (entry.code == code) return entry.filter;
    return FILTER_BICUBIC;
}

// value percent of size, halves to even; exact integer arithmetic so 50 % of 101 is 50, not a
// float that lands a hair off the half.
int32_t PercentOf(int32_t value, int32_t size) {
    const int64_t product = int64_t{value} * size;
    int64_t quotient = product / 100;
    int64_t remainder = product % 100;
    if (remainder < 0) remainder += 100, quotient -= 1;
    if (remainder > 50 || (remainder == 50 && quotient % 2 != 0)) quotient += 1;
    return ClampToInt32(quotient);
}

int32_t TargetSize(int32_t value, int8_t unit, int32_t current) {
    switch (unit) {
        case 0: return value;
        case 1: return PercentOf(value, current);
        default: return 0;
    }
}

// The ratio and the quotient are 32-bit floats on purpose: output sizes (and the names that carry
// them) stay what they have always been, rounding included.
int32_t ScaleByRatio(int32_t target, int32_t longSide, int32_t shortSide) {
    const float ratio = static_cast<float>(longSide) / static_cast<float>(shortSide);
    const float scaled = static_cast<float>(target) / ratio;
    return ClampToInt32(static_cast<int64_t>(std::floor(static_cast<double>(scaled) + 0.5)));
}
}  // namespace

FIBITMAP* ResizeImage(FIBITMAP* image, int width, int height) {
    if (!image || !Settings.Transform.DoImageResize) return image;
    const auto& transform = Settings.Transform;
    const int32_t targetWidth = TargetSize(transform.ImageWidth, transform.ImageWidthUnit, width);
    const int32_t targetHeight = TargetSize(transform.ImageHeight, transform.ImageHeightUnit, height);
    if (targetWidth <= 0 || targetHeight <= 0) return image;
    if (targetWidth == width && targetHeight == height) return image;
    // "Large images only": an image smaller in both directions is left alone.
    if (transform.ImageResizeType == 1 && width < targetWidth && height < targetHeight) return image;

    int32_t newWidth = targetWidth;
    int32_t newHeight = targetHeight;
    if (transform.KeepAspectRatio && width > 0 && height > 0) {
        if (width >= height)
            newHeight = ScaleByRatio(targetWidth, width, height);
        else
            newWidth = ScaleByRatio(targetHeight, height, width);
    }

    // A size no texture can have would only exhaust memory further down; the file fails instead.
    if (newWidth > kMaxPictureSide || newHeight > kMaxPictureSide) {
        FreeImage_Unload(image);
        return nullptr;
    }
    FIBITMAP* resized = FreeImage_Rescale(image, newWidth, newHeight, FilterForAlgorithm(transform.ImageResizeAlgorithm));
    FreeImage_Unload(image);
    return resized;
}
