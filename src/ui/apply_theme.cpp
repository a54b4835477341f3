// Replacing the picture sets with the pictures of the selected theme archive.
#include "app/identity.h"
#include "app/job.h"
#include "app/settings.h"
#include "platform/platform.h"
#include "ui/theme_archive.h"
#include "ui/themes.h"

namespace {
struct SetRequest {
    bool selected;
    const std::map<std::string, int>& keys;
    const char* section;
    std::string size;
    std::map<std::string, Picture>* pictures;
};

std::string EntryName(const std::string& config, const SetRequest& set, const std::string& key) {
    std::string entry = IniValue(config, set.section, key);
    if (UpperAscii(entry).find(".PNG") == std::string::npos) entry += "_" + set.size + ".png";
    return entry;
}

// Entries listed above the cap are never uncompressed; the rest are read up to their listed size.
bool Wanted(const std::map<std::string, int64_t>& sizes, const std::string& entry, size_t* limit) {
    auto found = sizes.find(entry);
    if (found == sizes.end() || found->second > kThemeEntryCap) return false;
    *limit = static_cast<size_t>(found->second);
    return true;
}
}  // namespace

void ApplyTheme(bool mainImages, bool menuIcons, bool toolbarIcons) {
    std::string folder = Job.ProgramFolder + "gfx/";
    std::string path = folder + Settings.Interface.UITheme + ".zip";
    if (FileSize(path) == kFileMissing && !ThemeCatalogue.empty()) {
        Settings.Interface.UITheme = ThemeCatalogue.rbegin()->first;
        path = folder + Settings.Interface.UITheme + ".zip";
    }
    std::map<std::string, int64_t> sizes;
    if (FileSize(path) <= 0 || !ListArchiveEntries(path, &sizes)) return;

    std::map<std::string, std::string> config;
    size_t limit = 0;
    if (Wanted(sizes, "theme.cfg", &limit)) ReadArchiveEntries(path, {{"theme.cfg", limit}}, &config);
    const std::string& text = config["theme.cfg"];

    const SetRequest sets[] = {
        {mainImages, MainImages(), "Buttons", "16", &PictureSets.Main},
        {menuIcons, MenuIcons(), "Icons", "16", &PictureSets.Menu},
        {toolbarIcons, ToolbarIcons(), "Icons", std::to_string(IconPixelSize(Settings.Interface.UISize)),
         &PictureSets.Toolbar},
    };
    std::map<std::string, size_t> wanted;
    for (const SetRequest& set : sets) {
        if (!set.selected) continue;
        for (const auto& [key, number] : set.keys) {
            std::string entry = EntryName(text, set, key);
            if (Wanted(sizes, entry, &limit)) wanted[entry] = limit;
        }
    }
    std::map<std::string, std::string> contents;
    ReadArchiveEntries(path, wanted, &contents);

    // A picture that does not decode leaves the one loaded before in place.
    for (const SetRequest& set : sets) {
        if (!set.selected) continue;
        for (const auto& [key, number] : set.keys) {
            auto data = contents.find(EntryName(text, set, key));
            Picture picture;
            if (data != contents.end() && DecodePng(data->second, &picture)) (*set.pictures)[key] = std::move(picture);
        }
    }
}
