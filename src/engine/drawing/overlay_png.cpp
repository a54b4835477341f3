// Overlay surfaces: made and painted with cairo, handed to FreeImage through a PNG held in
// memory, blended over the picture.
#include <png.h>

#include <cstdlib>
#include <cstring>

#include "engine/drawing/overlay_surface.h"
#include "engine/frame_watermark.h"
#include "engine/transforms.h"

namespace {

struct PngBuffer {
    unsigned char* data;
    size_t size;
    size_t capacity;
    bool failed;
};

void AppendToBuffer(png_structp png, png_bytep bytes, png_size_t length) {
    PngBuffer* buffer = static_cast<PngBuffer*>(png_get_io_ptr(png));
    if (buffer->failed) return;
    if (buffer->size + length > buffer->capacity) {
        size_t capacity = buffer->capacity ? buffer->capacity : 65536;
        while (capacity < buffer->size + length) capacity *= 2;
        unsigned char* grown = static_cast<unsigned char*>(std::realloc(buffer->data, capacity));
        if (!grown) {
            buffer->failed = true;
            return;
        }
        buffer->data = grown;
        buffer->capacity = capacity;
    }
    std::memcpy(buffer->data + buffer->size, bytes, length);
    buffer->size += length;
}

void FlushNothing(png_structp) {}

// cairo keeps premultiplied native-endian ARGB; PNG wants straight RGBA bytes.
void UnpremultiplyRow(const uint32_t* source, unsigned char* row, int width) {
    for (int x = 0; x < width; ++x) {
        uint32_t pixel = source[x];
        unsigned alpha = pixel >> 24;
        unsigned red = (pixel >> 16) & 0xFF, green = (pixel >> 8) & 0xFF, blue = pixel & 0xFF;
        if (alpha != 0 && alpha != 255) {
            red = (red * 255 + alpha / 2) / alpha;
            green = (green * 255 + alpha / 2) / alpha;
            blue = (blue * 255 + alpha / 2) / alpha;
        }
        unsigned char* out = row + x * 4;
        out[0] = static_cast<unsigned char>(red > 255 ? 255 : red);
        out[1] = static_cast<unsigned char>(green > 255 ? 255 : green);
        out[2] = static_cast<unsigned char>(blue > 255 ? 255 : blue);
        out[3] = static_cast<unsigned char>(alpha);
    }
}

// Plain C data only between setjmp and the libpng calls: a longjmp must not skip destructors.
bool EncodePng(cairo_surface_t* surface, PngBuffer* buffer) {
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* pixels = cairo_image_surface_get_data(surface);
    unsigned char* row = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(width) * 4));
    if (!row) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        std::free(row);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::free(row);
        return false;
    }
    png_set_write_fn(png, buffer, AppendToBuffer, FlushNothing);
    // The buffer lives for a moment only: speed matters, size does not.
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        UnpremultiplyRow(reinterpret_cast<const uint32_t*>(pixels + static_cast<size_t>(y) * stride), row, width);
        png_write_row(png, row);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::free(row);
    return !buffer->failed;
}

}  // namespace

cairo_surface_t* CreateOverlaySurface(int width, int height) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) return surface;
    cairo_surface_destroy(surface);
    return nullptr;
}

void SetOverlayColour(cairo_t* cr, const std::string& colour, int alpha) {
    int red = 0, green = 0, blue = 0;
    ParseColour(colour, &red, &green, &blue);
    cairo_set_source_rgba(cr, red / 255.0, green / 255.0, blue / 255.0, alpha / 255.0);
}

FIBITMAP* SurfaceToBitmap(cairo_surface_t* surface) {
    if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return nullptr;
    if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) return nullptr;
    if (cairo_image_surface_get_width(surface) <= 0 || cairo_image_surface_get_height(surface) <= 0) return nullptr;
    cairo_surface_flush(surface);
    PngBuffer buffer{nullptr, 0, 0, false};
    FIBITMAP* bitmap = nullptr;
    // A memory stream counts its size in 32 bits.
    if (EncodePng(surface, &buffer) && buffer.size <= 0xFFFFFFFFu) {
        FIMEMORY* stream = FreeImage_OpenMemory(buffer.data, static_cast<DWORD>(buffer.size));
        if (stream) {
            bitmap = FreeImage_LoadFromMemory(FIF_PNG, stream, 0);
            FreeImage_CloseMemory(stream);
        }
    }
    std::free(buffer.data);
    if (bitmap && FreeImage_GetBPP(bitmap) != 32) {
        FIBITMAP* converted = FreeImage_ConvertTo32Bits(bitmap);
        FreeImage_Unload(bitmap);
        bitmap = converted;
    }
    return bitmap;
}

bool CompositeAt(FIBITMAP* image, FIBITMAP* overlay, int x, int y) {
    if (!image || !overlay) return false;
    const int width = static_cast<int>(FreeImage_GetWidth(overlay)), height = static_cast<int>(FreeImage_GetHeight(overlay));
    // Only the covered part of the picture is blended: where the overlay would be transparent
    // the picture stays as it is anyway, and a large picture is not copied whole for a small mark.
    FIBITMAP* region = FreeImage_Copy(image, x, y, x + width, y + height);
    FIBITMAP* blended = region ? FreeImage_Composite(overlay, FALSE, nullptr, region) : nullptr;
    const bool pasted = blended && FreeImage_GetBPP(blended) == FreeImage_GetBPP(image) &&
                        FreeImage_Paste(image, blended, x, y, 256);
    if (blended) FreeImage_Unload(blended);
    if (region) FreeImage_Unload(region);
    return pasted;
}

int OpacityByte(int value) { return value < 0 ? 0 : value > 255 ? 255 : value; }
