// One BMP file through the whole chain: load, transforms, output depth, DevIL hand-over,
// filtered mipmaps and the DDS file under its final name.
#include <FreeImage.h>
#include <IL/il.h>

#include "app/job.h"
#include "engine/colour.h"
#include "engine/frame_watermark.h"
#include "engine/naming.h"
#include "engine/pipeline.h"
#include "engine/transforms.h"

namespace {

void ReadSize(FIBITMAP* image, int* width, int* height) {
    *width = image ? static_cast<int>(FreeImage_GetWidth(image)) : 0;
    *height = image ? static_cast<int>(FreeImage_GetHeight(image)) : 0;
}

// The steps between loading and the output depth; each is a no-op while its setting is off.
FIBITMAP* TransformImage(FIBITMAP* image, int* width, int* height) {
    image = RotateImage(image);
    ReadSize(image, width, height);
    if (!image) return nullptr;
    image = ResizeImage(image, *width, *height);
    ReadSize(image, width, height);
    if (!image) return nullptr;
    FlipImage(image);
    image = AdjustColours(image);
    if (image) image = ConvertToGreyscale(image);
    if (image) image = ApplyThreshold(image);
    if (image) image = ApplyDither(image);
    if (image) image = DrawFrame(image, *width, *height);
    if (image) image = DrawWatermark(image, *width, *height);
    return image;
}

// The picture as 32-bit BGRA. The raw copy widens palette and 24-bit rows itself but leaves the
// buffer untouched for 16-bit ones; high-precision pictures (the 48- and 96-bit depths) come back
// to 8 bits a channel, the float one clamped rather than tone-mapped so its colours stay.
FIBITMAP* ToEightBitChannels(FIBITMAP* image) {
    switch (FreeImage_GetImageType(image)) {
        case FIT_BITMAP: return FreeImage_GetBPP(image) == 16 ? FreeImage_ConvertTo32Bits(image) : image;
        case FIT_RGB16:
        case FIT_RGBA16: return FreeImage_ConvertTo32Bits(image);
        case FIT_RGBF: break;
        default: return FreeImage_ConvertToStandardType(image, TRUE);
    }
    const unsigned width = FreeImage_GetWidth(image), height = FreeImage_GetHeight(image);
    FIBITMAP* result = FreeImage_Allocate(width, height, 24);
    if (!result) return nullptr;
    auto clamp = [](float value) {
        return static_cast<BYTE>(value <= 0 ? 0 : value >= 1 ? 255 : static_cast<int>(value * 255 + 0.5f));
    };
    for (unsigned y = 0; y < height; ++y) {
        const FIRGBF* in = reinterpret_cast<const FIRGBF*>(FreeImage_GetScanLine(image, y));
        BYTE* out = FreeImage_GetScanLine(result, y);
        for (unsigned x = 0; x < width; ++x, out += 3) {
            out[FI_RGBA_RED] = clamp(in[x].red);
            out[FI_RGBA_GREEN] = clamp(in[x].green);
            out[FI_RGBA_BLUE] = clamp(in[x].blue);
        }
    }
    return result;
}

// Fills the bound DevIL image with the picture as BGRA and releases the picture as
// soon as its pixels are copied, so the two full-size copies overlap only briefly.
bool HandOverToDevil(FIBITMAP* image) {
    FIBITMAP* standard = ToEightBitChannels(image);
    if (standard != image) FreeImage_Unload(image);
    if (!standard) return false;
    const unsigned width = FreeImage_GetWidth(standard), height = FreeImage_GetHeight(standard);
    // The picture is a single slice; DevIL allocates the pixel store and the copy fills it.
    bool made = width > 0 && height > 0 &&
                ilTexImage(width, height, 1, 4, IL_BGRA, IL_UNSIGNED_BYTE, nullptr) == IL_TRUE && ilGetData();
    if (made) {
        // Rows top-down with the origin said so: a bottom-up image makes DevIL's DDS writer encode
        // a flipped full copy (measured at 4096 x 4096: 64 MB more at its peak, and that path's
        // DXT1 blocks came out coarser on detailed pictures).
        FreeImage_ConvertToRawBits(ilGetData(), standard, static_cast<int>(width * 4), 32, FI_RGBA_RED_MASK,
                                   FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, TRUE);
        ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
    }
    FreeImage_Unload(standard);
    return made;
}

bool WriteTexture(FIBITMAP* image, int width, int height) {
    while (ilGetError() != IL_NO_ERROR) {
    }
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    bool ok = HandOverToDevil(image) && BuildFilteredMipmaps();
    if (ok) {
        Job.OutputWidth = width;
        Job.OutputHeight = height;
        Job.OutputPath = BuildOutputPath();
        // No output path (a name that leaves the output folder): the file fails before anything is written.
        ok = !Job.OutputPath.empty();
        if (ok) {
            Job.TemporaryPath = BuildTemporaryPath();
            ok = WriteDdsFile(Job.TemporaryPath, Job.OutputPath, Job.InputPath);
        }
    }
    ilDeleteImages(1, &name);
    return ok;
}

}  // namespace

bool ConvertCurrentFile() {
    FIBITMAP* image = LoadBmpImage(Job.InputPath);
    int width = 0, height = 0;
    ReadSize(image, &width, &height);
    Job.SourceBitDepth = image ? static_cast<int>(FreeImage_GetBPP(image)) : 0;
    if (width == 0 || height == 0) {
        if (image) FreeImage_Unload(image);
        return false;
    }
    image = TransformImage(image, &width, &height);
    if (image) image = ConvertToOutputDepth(image);
    int finalWidth = 0, finalHeight = 0;
    ReadSize(image, &finalWidth, &finalHeight);
    if (finalWidth == 0 || finalHeight == 0) {
        if (image) FreeImage_Unload(image);
        return false;
    }
    // WriteTexture takes the image over and releases it.
    return WriteTexture(image, finalWidth, finalHeight);
}
