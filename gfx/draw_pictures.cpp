// Build-time picture tool: draws the built-in pictures and the "handdrawn" theme.
// Usage: draw_pictures OUTPUT_FOLDER PROGRAM_ICON_SIZE...
// Writes handdrawn.zip, built_in_pictures_data.cpp (the compiled-in PNGs), contact_sheet.png and the
// program's icon as program_icon_<size>.png for the desktop's icon theme.
#include <archive.h>
#include <archive_entry.h>
#include <cairo.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "pictures.h"

namespace {
const int kThemeSizes[] = {16, 24, 32, 48, 64};

struct NamedPng {
    std::string name;
    std::string data;
};

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

template <typename Draw>
std::string RenderPng(int width, int height, Draw draw) {
    std::string png;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    draw(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    if (cairo_surface_write_to_png_stream(surface, AppendBytes, &png) != CAIRO_STATUS_SUCCESS) png.clear();
    cairo_surface_destroy(surface);
    return png;
}

std::string IconPng(const std::string& key, int size) {
    return RenderPng(size, size, [&](cairo_t* cr) { DrawIcon(cr, key, size); });
}

std::string ProgramIconPng(int size) {
    return RenderPng(size, size, [&](cairo_t* cr) { DrawProgramIcon(cr, size); });
}

std::string ButtonPng(const std::string& key) {
    if (key == "Convert") return RenderPng(64, 64, [](cairo_t* cr) { DrawConvertButton(cr, 64); });
    return IconPng(key, 48);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

const char* const kButtonKeys[] = {"Convert", "InFiles", "InFolder"};

std::string ThemeConfig() {
    std::string text = "[Theme]\r\nName=Hand Drawn\r\n\r\n[Buttons]\r\n";
    for (const char* key : kButtonKeys) text += std::string(key) + "=button_" + Lower(key) + ".png\r\n";
    text += "\r\n[Icons]\r\n";
    for (const std::string& key : IconKeys()) text += key + "=" + Lower(key) + "\r\n";
    return text;
}

bool WriteZip(const std::string& path, const std::vector<NamedPng>& files) {
    archive* zip = archive_write_new();
    bool ok = archive_write_set_format_zip(zip) == ARCHIVE_OK && archive_write_open_filename(zip, path.c_str()) == ARCHIVE_OK;
    for (const NamedPng& file : files) {
        if (!ok) break;
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, file.name.c_str());
        archive_entry_set_size(entry, static_cast<la_int64_t>(file.data.size()));
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_mtime(entry, 1704067200, 0);  // fixed, so the archive is reproducible
        ok = archive_write_header(zip, entry) == ARCHIVE_OK &&
             archive_write_data(zip, file.data.data(), file.data.size()) == static_cast<la_ssize_t>(file.data.size());
        archive_entry_free(entry);
    }
    if (archive_write_close(zip) != ARCHIVE_OK) ok = false;
    archive_write_free(zip);
    return ok;
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

struct BuiltIn {
    std::string set;
    std::string key;
    std::string data;
};

std::string BuiltInSource(const std::vector<BuiltIn>& pictures) {
    std::string text = "// Generated at build time by gfx/draw_pictures; do not edit.\n";
    text += "#include \"ui/built_in_pictures.h\"\n\nnamespace {\n";
    char hex[8];
    for (size_t i = 0; i < pictures.size(); ++i) {
        text += "const unsigned char kPicture" + std::to_string(i) + "[] = {";
        const std::string& data = pictures[i].data;
        for (size_t b = 0; b < data.size(); ++b) {
            std::snprintf(hex, sizeof hex, "%s0x%02x,", b % 16 ? "" : "\n", static_cast<unsigned char>(data[b]));
            text += hex;
        }
        text += "\n};\n";
    }
    text += "}  // namespace\n\nconst BuiltInPng kBuiltInPngs[] = {\n";
    for (size_t i = 0; i < pictures.size(); ++i) {
        std::string array = "kPicture" + std::to_string(i);
        text += "    {\"" + pictures[i].set + "\", \"" + pictures[i].key + "\", " + array + ", sizeof " + array + "},\n";
    }
    text += "};\nconst size_t kBuiltInPngCount = " + std::to_string(pictures.size()) + ";\n";
    return text;
}

// Every picture on one sheet, the 16-pixel row also enlarged, for checking them by eye.
bool WriteContactSheet(const std::string& path) {
    const int cell = 72, columns = static_cast<int>(IconKeys().size());
    const int width = cell * columns, height = cell * 7 + 90;
    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(sheet);
    cairo_set_source_rgb(cr, 0.93, 0.93, 0.93);
    cairo_paint(cr);
    int row = 0;
    for (int size : kThemeSizes) {
        for (int column = 0; column < columns; ++column) {
            cairo_save(cr);
            cairo_translate(cr, column * cell + 4, row * cell + 4);
            DrawIcon(cr, IconKeys()[column], size);
            cairo_restore(cr);
        }
        ++row;
    }
    for (int column = 0; column < columns; ++column) {
        cairo_surface_t* small = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 16, 16);
        cairo_t* smallCr = cairo_create(small);
        DrawIcon(smallCr, IconKeys()[column], 16);
        cairo_destroy(smallCr);
        cairo_save(cr);
        cairo_translate(cr, column * cell + 4, row * cell + 4);
        cairo_scale(cr, 4, 4);
        cairo_set_source_surface(cr, small, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_destroy(small);
    }
    ++row;
    cairo_save(cr);
    cairo_translate(cr, 4, row * cell + 4);
    DrawConvertButton(cr, 64);
    cairo_translate(cr, 80, 0);
    DrawIcon(cr, "InFiles", 48);
    cairo_translate(cr, 60, 0);
    DrawIcon(cr, "InFolder", 48);
    cairo_translate(cr, 70, 0);
    DrawBanner(cr, 360, 40);
    cairo_translate(cr, 380, 0);
    DrawSparePicture(cr, 270, 75);
    cairo_restore(cr);
    cairo_destroy(cr);
    bool ok = cairo_surface_write_to_png(sheet, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(sheet);
    return ok;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: draw_pictures OUTPUT_FOLDER PROGRAM_ICON_SIZE...\n");
        return 2;
    }
    // The icon sizes come from the build, which installs one file per size.
    std::vector<int> programIconSizes;
    for (int i = 2; i < argc; ++i) {
        int size = std::atoi(argv[i]);
        if (size < 16 || size > 1024) {
            std::fprintf(stderr, "draw_pictures: icon size %s is not between 16 and 1024\n", argv[i]);
            return 2;
        }
        programIconSizes.push_back(size);
    }
    std::string folder = std::string(argv[1]) + "/";

    std::vector<NamedPng> theme = {{"theme.cfg", ThemeConfig()}};
    for (const char* key : kButtonKeys) theme.push_back({"button_" + Lower(key) + ".png", ButtonPng(key)});
    for (const std::string& key : IconKeys())
        for (int size : kThemeSizes) theme.push_back({Lower(key) + "_" + std::to_string(size) + ".png", IconPng(key, size)});

    std::vector<BuiltIn> builtIn;
    for (const char* key : kButtonKeys) builtIn.push_back({"Main", key, ButtonPng(key)});
    for (const std::string& key : IconKeys()) builtIn.push_back({"Menu", key, IconPng(key, 16)});
    builtIn.push_back({"Banner", "", RenderPng(360, 40, [](cairo_t* cr) { DrawBanner(cr, 360, 40); })});
    builtIn.push_back({"Spare", "", RenderPng(270, 75, [](cairo_t* cr) { DrawSparePicture(cr, 270, 75); })});
    // The window's icon is compiled in too, so a program run from anywhere shows it.
    std::vector<NamedPng> programIcons;
    for (int size : programIconSizes) {
        std::string png = ProgramIconPng(size);
        builtIn.push_back({"Icon", std::to_string(size), png});
        programIcons.push_back({"program_icon_" + std::to_string(size) + ".png", png});
    }

    for (const std::vector<NamedPng>* files : {&theme, &programIcons}) {
        for (const NamedPng& file : *files) {
            if (file.data.empty()) {
                std::fprintf(stderr, "draw_pictures: could not draw %s\n", file.name.c_str());
                return 1;
            }
        }
    }
    for (const NamedPng& file : programIcons) {
        if (!WriteText(folder + file.name, file.data)) {
            std::fprintf(stderr, "draw_pictures: could not write %s%s\n", folder.c_str(), file.name.c_str());
            return 1;
        }
    }
    if (!WriteZip(folder + "handdrawn.zip", theme)) {
        std::fprintf(stderr, "draw_pictures: could not write %shanddrawn.zip\n", folder.c_str());
        return 1;
    }
    if (!WriteText(folder + "built_in_pictures_data.cpp", BuiltInSource(builtIn))) {
        std::fprintf(stderr, "draw_pictures: could not write the built-in pictures\n");
        return 1;
    }
    if (!WriteContactSheet(folder + "contact_sheet.png")) {
        std::fprintf(stderr, "draw_pictures: could not write the contact sheet\n");
        return 1;
    }
    return 0;
}
