#include <cctype>

#include "app/settings_file.h"
#include "cli/options.h"

namespace {
std::string UpperCase(std::string text) {
    for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return text;
}
}  // namespace

// The reader already trims values, keeps only the first occurrence of a key, bounds what it reads
// and never opens folders, pipes or devices.
bool LoadProfile(const std::string& path) {
    if (path.empty()) return false;
    IniFile file;
    if (!ReadIniFile(path, &file)) return false;
    for (const IniFile::Line& line : file.lines) {
        if (UpperCase(line.group) != "CLI") continue;
        if (const OptionInfo* option = FindProfileKey(UpperCase(line.key))) ApplyOption(*option, line.value);
    }
    return true;
}
