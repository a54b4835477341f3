#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "app/settings.h"
#include "app/settings_file.h"
#include "platform/platform.h"

namespace {
constexpr int32_t kCurrentLayout = 19;

// The offered formats whose per-format keys a group holds, or nullptr.
const std::vector<std::string>* OfferedFormatsOf(std::string_view group) {
    if (group == "Input") return &OfferedInputFormats;
    if (group == "Output") return &OfferedOutputFormats;
    return nullptr;
}

bool IsWritten(const SettingInfo& info) {
    if (std::string_view(info.group) == "Window" && Settings.General.SaveWindowPosition == 0) return false;
    return true;
}

void AppendKeyLine(const SettingInfo& info, std::string* out) {
    std::string value = info.field == &Settings.General.CFG ? std::to_string(kCurrentLayout) : SettingValueText(info);
    // A line break inside a value would end the line early and turn the rest into keys of their own.
    for (char& c : value)
        if (c == '\r' || c == '\n') c = ' ';
    *out += info.key;
    *out += " = ";
    *out += value;
    *out += "\r\n";
}

int32_t ReadOldKey(const IniFile& file, const char* group, const char* key) {
    std::string value;
    return IniLookup(file, group, key, &value) ? ParseIntLikeAtoi(value) : 0;
}

void UpgradeSettings(int32_t layout, const IniFile& file) {
    if (layout < 11 && Settings.Advanced.FilenameMask.find("%ext%") == std::string::npos)
        Settings.Advanced.FilenameMask += ".%ext%";
    int32_t& rawLoadAs = Settings.Input.RAWLoadAs;
    if (layout < 14 && rawLoadAs != 0)  // saturating: the file may hold any number
        rawLoadAs = static_cast<int32_t>(std::min<int64_t>(int64_t{rawLoadAs} + 2, INT32_MAX));
    if (layout < kCurrentLayout) {
        if (int32_t mode = ReadOldKey(file, "Input", "PSD Color Model")) Settings.Input.PSDColorMode = mode;
        if (int32_t mode = ReadOldKey(file, "Output", "TIFF Color Model")) Settings.Output.TIFFColorMode = mode;
    }
}

// Writes through a symbolic link, so a linked config.ini stays linked.
std::filesystem::path SaveTarget(const std::string& path) {
    std::error_code error;
    std::filesystem::path target(path);
    if (std::filesystem::is_symlink(target, error)) {
        std::filesystem::path resolved = std::filesystem::weakly_canonical(target, error);
        if (!error) return resolved;
    }
    return target;
}

bool IsReadOnlyFile(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::is_regular_file(status)) return false;
    return (status.permissions() & std::filesystem::perms::owner_write) == std::filesystem::perms::none;
}
}  // namespace

void LoadSettings() {
    IniFile file;
    if (!ReadIniFile(Settings.SettingsPath, &file)) {
        ApplyDefaults(false);
    } else {
        for (const SettingInfo& info : SettingsTable()) {
            std::string value;
            if (IniLookup(file, info.group, info.key, &value))
                StoreSettingText(info, value);
            else if (info.fileFallback)
                StoreSettingText(info, info.fileFallback);
            else
                ApplySettingDefault(info, false);
        }
    }
    UpgradeSettings(Settings.General.CFG, file);
}

std::string SettingsFileText() {
    const std::vector<SettingInfo>& table = SettingsTable();
    std::string out = "\xEF\xBB\xBF\r\n";
    for (size_t first = 0; first < table.size();) {
        const std::string_view group = table[first].group;
        size_t end = first;
        while (end < table.size() && table[end].group == group) ++end;
        out += "[";
        out += group;
        out += "]\r\n";
        for (size_t i = first; i < end; ++i)
            if (!table[i].formatOwner && IsWritten(table[i])) AppendKeyLine(table[i], &out);
        if (const std::vector<std::string>* formats = OfferedFormatsOf(group)) {
            for (const std::string& format : *formats)
                for (size_t i = first; i < end; ++i)
                    if (table[i].formatOwner && format == table[i].formatOwner && IsWritten(table[i]))
                        AppendKeyLine(table[i], &out);
        }
        out += "; \r\n";
        first = end;
    }
    return out;
}

void SaveSettings() {
    if (Settings.SettingsPath.empty()) return;
    std::filesystem::path target = SaveTarget(Settings.SettingsPath);
    // A read-only file is the user's way of freezing the settings; the rename would defeat it.
    if (IsReadOnlyFile(target)) return;
    WriteFileAtomically(target.string(), SettingsFileText());
}
