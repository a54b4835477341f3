// Small FreeImage pictures built in the tests, and an owner that releases them on every path.
#pragma once
#include <FreeImage.h>

#include <memory>

struct ImageRelease {
    void operator()(FIBITMAP* image) const {
        if (image) FreeImage_Unload(image);
    }
};
using ImagePtr = std::unique_ptr<FIBITMAP, ImageRelease>;

struct Rgb {
    int red, green, blue;
    bool operator==(const Rgb&) const = default;
};

inline RGBQUAD ToQuad(Rgb colour) {
    RGBQUAD quad{};
    quad.rgbRed = static_cast<BYTE>(colour.red);
    quad.rgbGreen = static_cast<BYTE>(colour.green);
    quad.rgbBlue = static_cast<BYTE>(colour.blue);
    quad.rgbReserved = 255;
    return quad;
}

// Palette images get a grey ramp over their palette, so index i is an even grey step.
inline ImagePtr MakeImage(int width, int height, int bpp, Rgb fill = {0, 0, 0}) {
    ImagePtr image(FreeImage_Allocate(width, height, bpp));
    if (!image) return image;
    if (bpp <= 8) {
        const unsigned colours = FreeImage_GetColorsUsed(image.get());
        RGBQUAD* palette = FreeImage_GetPalette(image.get());
        for (unsigned i = 0; i < colours; ++i) {
            const BYTE grey = static_cast<BYTE>(colours > 1 ? i * 255 / (colours - 1) : 0);
            palette[i] = RGBQUAD{grey, grey, grey, 0};
        }
        return image;
    }
    const RGBQUAD quad = ToQuad(fill);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) FreeImage_SetPixelColor(image.get(), x, y, const_cast<RGBQUAD*>(&quad));
    return image;
}

inline void SetPixel(FIBITMAP* image, int x, int y, Rgb colour) {
    RGBQUAD quad = ToQuad(colour);
    FreeImage_SetPixelColor(image, x, y, &quad);
}

inline void SetPaletteIndex(FIBITMAP* image, int x, int y, BYTE index) { FreeImage_SetPixelIndex(image, x, y, &index); }

// Coordinates as FreeImage counts them: row 0 is the bottom row.
inline Rgb PixelAt(FIBITMAP* image, int x, int y) {
    RGBQUAD quad{};
    if (FreeImage_GetBPP(image) <= 8) {
        BYTE index = 0;
        FreeImage_GetPixelIndex(image, x, y, &index);
        quad = FreeImage_GetPalette(image)[index];
    } else {
        FreeImage_GetPixelColor(image, x, y, &quad);
    }
    return {quad.rgbRed, quad.rgbGreen, quad.rgbBlue};
}

inline bool SamePixels(FIBITMAP* a, FIBITMAP* b) {
    if (FreeImage_GetWidth(a) != FreeImage_GetWidth(b) || FreeImage_GetHeight(a) != FreeImage_GetHeight(b)) return false;
    for (unsigned y = 0; y < FreeImage_GetHeight(a); ++y)
        for (unsigned x = 0; x < FreeImage_GetWidth(a); ++x)
            if (!(PixelAt(a, x, y) == PixelAt(b, x, y))) return false;
    return true;
}

// A picture with detail in every direction, so filters and dither methods tell apart.
inline ImagePtr MakePattern(int width, int height) {
    ImagePtr image = MakeImage(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(image.get(), x, y, {(x * 255) / (width > 1 ? width - 1 : 1), (y * 255) / (height > 1 ? height - 1 : 1),
                                         ((x * 7 + y * 13) % 5) * 60});
    return image;
}
