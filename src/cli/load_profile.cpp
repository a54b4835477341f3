#include "app/settings.h"
#include "app/settings_file.h"
#include "cli/options.h"
#include "platform/platform.h"

// A profile is read whole, from a file or a pipe ("--profile=<(...)"), or refused: one that
// exceeds the reader's bounds is never applied in part. The reader trims values and keeps only
// the first occurrence of a key.
bool LoadProfile(const std::string& path) {
    std::string bytes;
    if (path.empty() || !ReadWholeFile(path, &bytes, kIniReadLimit)) return false;
    const IniFile file = ParseIniText(bytes);
    if (file.cut) return false;
    for (const IniFile::Line& line : file.lines) {
        if (!EqualsIgnoringAsciiCase(line.group, "CLI")) continue;
        if (const OptionInfo* option = FindProfileKey(UpperAscii(line.key))) ApplyOption(*option, line.value);
    }
    return true;
}
