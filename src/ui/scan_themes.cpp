// The theme catalogue: every archive in gfx/ beside the program, with its display name.
#include <filesystem>
#include <vector>

#include "app/job.h"
#include "platform/platform.h"
#include "ui/theme_archive.h"
#include "ui/themes.h"

std::map<std::string, std::string> ThemeCatalogue;

namespace {
// Only the start of theme.cfg is read for the name, so a huge or hostile file costs nothing.
constexpr size_t kDisplayNameWindow = 255;

bool IsUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : 4;
        if (extra == 4 || i + extra >= text.size() + (extra == 0)) return false;
        for (size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2) return false;
        i += extra + 1;
    }
    return true;
}

// theme.cfg is 8-bit text; names written as Latin-1 are shown as the same letters.
std::string DisplayText(const std::string& text) {
    if (IsUtf8(text)) return text;
    std::string utf8;
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

// An empty file or a damaged archive keeps its file name; one pass over the archive tells both.
std::string ReadDisplayName(const std::string& path, const std::string& name) {
    std::map<std::string, std::string> contents;
    if (FileSize(path) <= 0 || !ReadArchiveEntries(path, {{"theme.cfg", kDisplayNameWindow}}, &contents))
        return name;
    return DisplayText(IniValue(contents["theme.cfg"], "Theme", "Name"));
}
}  // namespace

void ScanThemes() {
    ThemeCatalogue.clear();
    std::string folder = Job.ProgramFolder + "gfx/";
    std::vector<std::string> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::string file = it->path().filename().string();
        if (file.size() <= 4 || file.compare(file.size() - 4, 4, ".zip") != 0) continue;
        if (FileSize(folder + file) < 0) continue;  // folders, devices and vanished entries
        files.push_back(file);
    }
    for (const std::string& file : files) {
        std::string name = file.substr(0, file.size() - 4);
        ThemeCatalogue[name] = ReadDisplayName(folder + file, name);
    }
}
