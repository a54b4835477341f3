// config.ini: read once at window start, written at the end and by the preferences window.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Reads config.ini at Settings.SettingsPath; without a readable file every setting takes its
// default. Upgrades older layouts afterwards.
void LoadSettings();
// Replaces config.ini atomically; silent when it cannot be written or the file is read-only.
void SaveSettings();
// The settings-file text exactly as SaveSettings writes it.
std::string SettingsFileText();

// Untrusted files are read only up to these bounds; the rest is ignored.
constexpr size_t kIniReadLimit = 16u << 20;  // bytes read from a file
constexpr size_t kIniEntryLimit = 65536;     // group headers plus key lines taken

// The reader shared with profile files.
struct IniFile {
    struct Line {
        std::string group;  // as written
        std::string key;
        std::string value;
    };
    // Key lines in file order, UTF-8. Only the first occurrence of a group counts, and within
    // it only the first occurrence of a key (both ASCII case-insensitive). A line without "="
    // is a key with an empty value; lines before any header have the group "".
    std::vector<Line> lines;
    bool cut = false;  // the text held more than kIniEntryLimit entries; the rest was not taken
};
// Handles the UTF-8 byte order mark, Latin-1 (or UTF-8 without a mark), and CR, LF or CR LF.
IniFile ParseIniText(const std::string& bytes);
// False when the path is not a regular file that can be opened for reading.
bool ReadIniFile(const std::string& path, IniFile* file);
// The value of group/key (ASCII case-insensitive), or false when missing.
bool IniLookup(const IniFile& file, const std::string& group, const std::string& key, std::string* value);
