// The image watermark: a BMP, PNG or JPEG file with opacity and optional greyscale.
#include <cstdint>
#include <string>

#include "app/settings.h"
#include "engine/drawing/overlay_surface.h"
#include "engine/frame_watermark.h"
#include "engine/pipeline.h"

namespace {

// Only the three kinds a watermark may be, recognised by their content.
FIBITMAP* LoadWatermarkImage(const std::string& path) {
    if (path.empty()) return nullptr;
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    if (format == FIF_BMP) return LoadBmpImage(path);
    if (format == FIF_PNG || format == FIF_JPEG) return FreeImage_Load(format, path.c_str(), 0);
    return nullptr;
}

// Writes every pixel's colour and alpha rather than blending it over a start colour: opacity
// scales the alpha, so a picture without alpha of its own (BMP, JPEG) becomes translucent too,
// where drawing it over opaque black would only darken it and still hide the picture below.
void CopyPixels(FIBITMAP* source, cairo_surface_t* surface, int opacity, bool greyscale) {
    const int width = static_cast<int>(FreeImage_GetWidth(source));
    const int height = static_cast<int>(FreeImage_GetHeight(source));
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    cairo_surface_flush(surface);
    for (int y = 0; y < height; ++y) {
        // FreeImage keeps rows bottom-up.
        const BYTE* in = FreeImage_GetScanLine(source, height - 1 - y);
        uint32_t* out = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < width; ++x, in += 4) {
            unsigned red = in[FI_RGBA_RED], green = in[FI_RGBA_GREEN], blue = in[FI_RGBA_BLUE];
            if (greyscale) red = green = blue = (77 * red + 150 * green + 29 * blue) / 256;
            const unsigned alpha = (in[FI_RGBA_ALPHA] * opacity + 127) / 255;
            // cairo stores premultiplied colour.
            red = (red * alpha + 127) / 255;
            green = (green * alpha + 127) / 255;
            blue = (blue * alpha + 127) / 255;
            out[x] = (alpha << 24) | (red << 16) | (green << 8) | blue;
        }
    }
    cairo_surface_mark_dirty(surface);
}

// Any picture the three formats give, at 8 bits a channel with alpha; FreeImage has no direct
// way from a 16-bit grey PNG to 32 bits, so that one goes through 8-bit grey.
FIBITMAP* ConvertToBgra(FIBITMAP* loaded) {
    if (FreeImage_GetImageType(loaded) != FIT_UINT16) return FreeImage_ConvertTo32Bits(loaded);
    FIBITMAP* grey = FreeImage_ConvertTo8Bits(loaded);
    if (!grey) return nullptr;
    FIBITMAP* pixels = FreeImage_ConvertTo32Bits(grey);
    FreeImage_Unload(grey);
    return pixels;
}

}  // namespace

FIBITMAP* BuildImageOverlay() {
    FIBITMAP* loaded = LoadWatermarkImage(Settings.Watermark.Image);
    if (!loaded) return nullptr;
    const bool ready = FreeImage_GetBPP(loaded) == 32 && FreeImage_GetImageType(loaded) == FIT_BITMAP;
    FIBITMAP* pixels = ready ? loaded : ConvertToBgra(loaded);
    const int width = pixels ? static_cast<int>(FreeImage_GetWidth(pixels)) : 0;
    const int height = pixels ? static_cast<int>(FreeImage_GetHeight(pixels)) : 0;
    FIBITMAP* overlay = nullptr;
    cairo_surface_t* surface = width > 0 && height > 0 ? CreateOverlaySurface(width, height) : nullptr;
    if (surface) {
        CopyPixels(pixels, surface, OpacityByte(Settings.Watermark.ImageOpacity), Settings.Watermark.ImageGreyscale != 0);
        overlay = SurfaceToBitmap(surface);
    }
    if (surface) cairo_surface_destroy(surface);
    if (pixels && pixels != loaded) FreeImage_Unload(pixels);
    FreeImage_Unload(loaded);
    return overlay;
}
