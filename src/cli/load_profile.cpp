#include "app/settings.h"
#include "app/settings_file.h"
#include "cli/options.h"

// The reader already trims values, keeps only the first occurrence of a key, bounds what it reads
// and never reads folders, pipes or devices.
bool LoadProfile(const std::string& path) {
    if (path.empty()) return false;
    IniFile file;
    if (!ReadIniFile(path, &file)) return false;
    for (const IniFile::Line& line : file.lines) {
        if (!EqualsIgnoringAsciiCase(line.group, "CLI")) continue;
        if (const OptionInfo* option = FindProfileKey(UpperAscii(line.key))) ApplyOption(*option, line.value);
    }
    return true;
}
