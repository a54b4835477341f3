// Reading DDS files back with DevIL, and the DXT1 quality bound the converter is held to.
#pragma once
#include <FreeImage.h>
#include <IL/il.h>
#include <IL/ilu.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "support/test_support.h"

// RGBA, 8 bits a channel, rows top-down.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
    uint8_t At(int x, int y, int channel) const { return rgba[(static_cast<size_t>(y) * width + x) * 4 + channel]; }
};

inline void InitialiseDevil() {
    static bool done = false;
    if (done) return;
    ilInit();
    iluInit();
    done = true;
}

inline Picture CopyBoundLevel() {
    Picture picture;
    picture.width = ilGetInteger(IL_IMAGE_WIDTH);
    picture.height = ilGetInteger(IL_IMAGE_HEIGHT);
    picture.rgba.resize(static_cast<size_t>(picture.width) * picture.height * 4);
    ilCopyPixels(0, 0, 0, picture.width, picture.height, 1, IL_RGBA, IL_UNSIGNED_BYTE, picture.rgba.data());
    if (ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_LOWER_LEFT) {
        size_t row = static_cast<size_t>(picture.width) * 4;
        for (int y = 0; y < picture.height / 2; ++y)
            std::swap_ranges(picture.rgba.begin() + y * row, picture.rgba.begin() + (y + 1) * row,
                             picture.rgba.begin() + (picture.height - 1 - y) * row);
    }
    return picture;
}

// Every level of a DDS file, decoded by DevIL; empty when it cannot be read.
inline std::vector<Picture> ReadDdsLevels(const std::string& path) {
    InitialiseDevil();
    std::vector<Picture> levels;
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    if (ilLoad(IL_DDS, path.c_str())) {
        levels.push_back(CopyBoundLevel());
        for (ILuint number = 1;; ++number) {
            ilBindImage(name);
            if (!ilActiveMipmap(number)) break;
            levels.push_back(CopyBoundLevel());
        }
    }
    ilDeleteImages(1, &name);
    return levels;
}

// The mipmap count the DDS header declares (1 when the file has no mipmap flag).
inline int DdsHeaderLevelCount(const std::string& path) {
    std::string data = ReadFileText(path);
    if (data.size() < 128 || data.compare(0, 4, "DDS ") != 0) return 0;
    auto read32 = [&](size_t at) {
        return static_cast<uint32_t>(static_cast<uint8_t>(data[at]) | static_cast<uint8_t>(data[at + 1]) << 8 |
                                     static_cast<uint8_t>(data[at + 2]) << 16 | static_cast<uint8_t>(data[at + 3]) << 24);
    };
    uint32_t count = read32(28);
    return count == 0 ? 1 : static_cast<int>(count);
}

inline int ExpectedLevelCount(int width, int height) {
    int largest = std::max(width, height), levels = 1;
    while (largest > 1) {
        largest /= 2;
        ++levels;
    }
    return levels;
}

// Any picture FreeImage reads (the PNG references, fixtures), as RGBA top-down.
inline Picture ReadPicture(const std::string& path) {
    Picture picture;
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    FIBITMAP* loaded = FreeImage_Load(format, path.c_str(), 0);
    if (!loaded) return picture;
    FIBITMAP* image = FreeImage_ConvertTo32Bits(loaded);
    FreeImage_Unload(loaded);
    if (!image) return picture;
    picture.width = static_cast<int>(FreeImage_GetWidth(image));
    picture.height = static_cast<int>(FreeImage_GetHeight(image));
    picture.rgba.resize(static_cast<size_t>(picture.width) * picture.height * 4);
    for (int y = 0; y < picture.height; ++y) {
        const BYTE* line = FreeImage_GetScanLine(image, picture.height - 1 - y);
        for (int x = 0; x < picture.width; ++x) {
            uint8_t* out = &picture.rgba[(static_cast<size_t>(y) * picture.width + x) * 4];
            out[0] = line[4 * x + FI_RGBA_RED];
            out[1] = line[4 * x + FI_RGBA_GREEN];
            out[2] = line[4 * x + FI_RGBA_BLUE];
            out[3] = line[4 * x + FI_RGBA_ALPHA];
        }
    }
    FreeImage_Unload(image);
    return picture;
}

// What DevIL's DDS writer, with its defaults, makes of a picture: the bound every converted
// file is measured against.
inline Picture EncodeThroughDevil(const Picture& picture, const std::string& scratchPath) {
    InitialiseDevil();
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    // Top-down BGRA with an upper-left origin, as the converter hands its pictures over.
    std::vector<uint8_t> bgra(picture.rgba.size());
    for (size_t i = 0; i < picture.rgba.size(); i += 4) {
        bgra[i] = picture.rgba[i + 2];
        bgra[i + 1] = picture.rgba[i + 1];
        bgra[i + 2] = picture.rgba[i];
        bgra[i + 3] = picture.rgba[i + 3];
    }
    ilTexImage(picture.width, picture.height, 1, 4, IL_BGRA, IL_UNSIGNED_BYTE, bgra.data());
    ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
    ilEnable(IL_FILE_OVERWRITE);
    ilSave(IL_DDS, scratchPath.c_str());
    ilDeleteImages(1, &name);
    std::vector<Picture> levels = ReadDdsLevels(scratchPath);
    std::remove(scratchPath.c_str());
    return levels.empty() ? Picture{} : levels.front();
}

// Over all four channels of the pixels `second` shows (alpha not 0, or every pixel when
// onlyVisible is false); 99 for identical pictures, -1 when the sizes differ.
inline double Psnr(const Picture& first, const Picture& second, bool onlyVisible = false) {
    if (first.width != second.width || first.height != second.height || first.rgba.empty()) return -1;
    double sum = 0;
    size_t count = 0;
    for (size_t i = 0; i < first.rgba.size(); i += 4) {
        if (onlyVisible && second.rgba[i + 3] == 0) continue;
        for (size_t c = i; c < i + 4; ++c) {
            double difference = static_cast<double>(first.rgba[c]) - second.rgba[c];
            sum += difference * difference;
        }
        count += 4;
    }
    if (sum == 0) return 99;
    double mse = sum / static_cast<double>(count);
    return 10 * std::log10(255.0 * 255.0 / mse);
}
