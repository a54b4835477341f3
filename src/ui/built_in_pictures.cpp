// The picture sets as the program starts: our own drawings, compiled in.
#include "ui/built_in_pictures.h"

#include <cstring>

#include "ui/themes.h"

PictureSetsRecord PictureSets;

void LoadBuiltInPictures() {
    PictureSets = PictureSetsRecord{};
    for (size_t i = 0; i < kBuiltInPngCount; ++i) {
        const BuiltInPng& png = kBuiltInPngs[i];
        Picture picture;
        if (!DecodePng(std::string(reinterpret_cast<const char*>(png.data), png.size), &picture)) continue;
        if (std::strcmp(png.set, "Main") == 0) PictureSets.Main[png.key] = std::move(picture);
        else if (std::strcmp(png.set, "Menu") == 0) PictureSets.Menu[png.key] = std::move(picture);
        else if (std::strcmp(png.set, "Banner") == 0) PictureSets.Banner = std::move(picture);
        else if (std::strcmp(png.set, "Spare") == 0) PictureSets.Spare = std::move(picture);
        else if (std::strcmp(png.set, "Icon") == 0) PictureSets.ProgramIcon.push_back(std::move(picture));
    }
    PictureSets.Toolbar = PictureSets.Menu;
}
