#include <cctype>

#include "app/settings_file.h"
#include "cli/options.h"

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

// The reader keeps only the first occurrence of a key and never opens folders, pipes or devices.
bool LoadProfile(const std::string& path) {
    if (path.empty()) return false;
    IniFile file;
    if (!ReadIniFile(path, &file)) return false;
    for (const IniFile::Line& line : file.lines) {
        if (UpperCase(line.group) != "CLI") continue;
        if (const OptionInfo* option = FindProfileKey(UpperCase(line.key))) ApplyOption(*option, TrimBlanks(line.value));
    }
    return true;
}
