// config.ini: read once at window start, written at the end and by the preferences window.
#pragma once
#include <string>
#include <vector>

void LoadSettings();
void SaveSettings();
// The settings-file text exactly as SaveSettings writes it.
std::string SettingsFileText();

// The reader shared with profile files: the lines of one group, first occurrence of a key wins.
struct IniFile {
    struct Line {
        std::string group;  // as written
        std::string key;
        std::string value;
    };
    std::vector<Line> lines;  // key lines of the first occurrence of each group, in file order
};
IniFile ParseIniText(const std::string& bytes);  // handles BOM/Latin-1 and every line end
bool ReadIniFile(const std::string& path, IniFile* file);
// The value of group/key (ASCII case-insensitive), or false when missing.
bool IniLookup(const IniFile& file, const std::string& group, const std::string& key, std::string* value);
