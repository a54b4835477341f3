#include "ui/window/image_sets.h"

#include <wx/image.h>

#include <algorithm>

#include "app/settings.h"
#include "ui/themes.h"

namespace {
wxImage ToImage(const Picture& picture) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.rgba.size() != static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 4)
        return wxImage();
    wxImage image(picture.width, picture.height, false);
    image.SetAlpha();
    unsigned char* rgb = image.GetData();
    unsigned char* alpha = image.GetAlpha();
    const size_t pixels = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
    for (size_t i = 0; i < pixels; ++i) {
        rgb[i * 3] = picture.rgba[i * 4];
        rgb[i * 3 + 1] = picture.rgba[i * 4 + 1];
        rgb[i * 3 + 2] = picture.rgba[i * 4 + 2];
        alpha[i] = picture.rgba[i * 4 + 3];
    }
    return image;
}

wxImage Transparent(int width, int height) {
    wxImage image(width, height, true);
    image.SetAlpha();
    std::fill(image.GetAlpha(), image.GetAlpha() + static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    return image;
}

wxBitmap FromPicture(const Picture& picture, int width, int height) {
    wxImage image = ToImage(picture);
    return wxBitmap(image.IsOk() ? image : Transparent(width, height));
}

// `side` > 0: a theme picture of another size is scaled, so menus and toolbars stay uniform.
wxBitmap FromSet(const std::map<std::string, Picture>& set, const std::string& key, int width, int height, int side) {
    auto found = set.find(key);
    wxImage image = found == set.end() ? wxImage() : ToImage(found->second);
    if (!image.IsOk()) return wxBitmap(Transparent(width, height));
    if (side > 0 && (image.GetWidth() != side || image.GetHeight() != side))
        image.Rescale(side, side, wxIMAGE_QUALITY_HIGH);
    return wxBitmap(image);
}
}  // namespace

void LoadBuiltInImages() { LoadBuiltInPictures(); }

wxBitmap MainImage(const std::string& key) {
    int side = key == "Convert" ? 64 : 48;
    return FromSet(PictureSets.Main, key, side, side, 0);
}

wxBitmap MenuIcon(const std::string& key) { return FromSet(PictureSets.Menu, key, 16, 16, 16); }

wxBitmap ToolbarIcon(const std::string& key) {
    int side = IconPixelSize(Settings.Interface.UISize);
    return FromSet(PictureSets.Toolbar, key, side, side, side);
}

wxBitmap BannerPicture() { return FromPicture(PictureSets.Banner, 360, 40); }

wxBitmap SparePicture() { return FromPicture(PictureSets.Spare, 270, 75); }

wxIconBundle ProgramIcons() {
    wxIconBundle icons;
    for (const Picture& picture : PictureSets.ProgramIcon) {
        wxImage image = ToImage(picture);
        if (!image.IsOk()) continue;
        wxIcon icon;
        icon.CopyFromBitmap(wxBitmap(image));
        icons.AddIcon(icon);
    }
    return icons;
}
