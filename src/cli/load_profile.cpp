#include <cctype>
#include <set>

#include "app/settings_file.h"
#include "cli/options.h"
#include "platform/platform.h"

namespace {
std::string TrimBlanks(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return std::string();
    size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

std::string UpperCase(std::string text) {
    for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return text;
}
}  // namespace

bool LoadProfile(const std::string& path) {
    if (path.empty()) return false;
    // A folder, device or pipe is no profile; reading /dev/zero would never end.
    if (FileSize(path) < 0) return false;
    IniFile file;
    if (!ReadIniFile(path, &file)) return false;
    std::set<std::string> seen;
    for (const IniFile::Line& line : file.lines) {
        if (UpperCase(line.group) != "CLI") continue;
        const std::string key = UpperCase(line.key);
        // As everywhere in these files, the first occurrence of a key counts.
        if (!seen.insert(key).second) continue;
        if (const OptionInfo* option = FindProfileKey(key)) ApplyOption(*option, TrimBlanks(line.value));
    }
    return true;
}
