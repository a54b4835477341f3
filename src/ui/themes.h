// Picture sets of the main window and the theme archives that replace them. No window code here.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A decoded picture: rows top to bottom, 4 bytes per pixel R, G, B, A (straight alpha).
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
};

// The three keyed image sets (keys: MainImages, MenuIcons, ToolbarIcons of app/identity.h) and the
// two extra pictures. Built-in pictures first, then the theme's.
struct PictureSetsRecord {
    std::map<std::string, Picture> Main;
    std::map<std::string, Picture> Menu;
    std::map<std::string, Picture> Toolbar;
    Picture Banner;
    Picture Spare;
    // The program's own icon at the sizes desktops ask for; no theme replaces it.
    std::vector<Picture> ProgramIcon;
};
extern PictureSetsRecord PictureSets;

// Theme name (archive file name without ".zip") to display name.
extern std::map<std::string, std::string> ThemeCatalogue;

// Theme entries (and theme.cfg) listed larger than this are skipped, never uncompressed.
constexpr int64_t kThemeEntryCap = 4 * 1024 * 1024;
// Theme pictures wider or taller than this are not decoded.
constexpr int kThemePictureSideCap = 1024;

// Fills PictureSets from the compiled-in PNG pictures; the toolbar set gets the menu pictures.
void LoadBuiltInPictures();
// Fills ThemeCatalogue from the "*.zip" files in Job.ProgramFolder + "gfx/".
void ScanThemes();
// Loads the selected sets from the archive of [Interface] UI Theme; keeps what it cannot load.
void ApplyTheme(bool mainImages, bool menuIcons, bool toolbarIcons);

// One value from an INI-style text in memory (CR LF lines); "" when absent.
std::string IniValue(const std::string& text, const std::string& section, const std::string& key);
// [Interface] UI Size code to pixels: 0 16, 1 24, 2 32, 3 48, 4 64, anything else 16.
int IconPixelSize(int code);

// Decodes a PNG held in memory; false (and `picture` untouched) when it is not a PNG, is damaged,
// or is larger than `sideCap` in either direction.
bool DecodePng(const std::string& data, Picture* picture, int sideCap = kThemePictureSideCap);
