// PNG pictures from memory, through libpng's simplified reader.
#include <png.h>

#include <cstring>

#include "ui/themes.h"

bool DecodePng(const std::string& data, Picture* picture, int sideCap) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data.data(), data.size())) {
        png_image_free(&image);
        return false;
    }
    // the header is all that has been read: refuse large pictures before any pixel memory exists
    if (image.width == 0 || image.height == 0 || image.width > static_cast<png_uint_32>(sideCap) ||
        image.height > static_cast<png_uint_32>(sideCap)) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    picture->width = static_cast<int>(image.width);
    picture->height = static_cast<int>(image.height);
    picture->rgba = std::move(pixels);
    png_image_free(&image);
    return true;
}
