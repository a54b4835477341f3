#include <algorithm>
#include <cmath>

#include "prefs/prefs_rules.h"
#include "ui/catalogues.h"
#include "ui/texts.h"

namespace {
constexpr size_t kListCap = 128;  // themes and formats considered
}  // namespace

std::string RowItemText(const RowItem& item) {
    return item.textKey ? GetUiText("Preferences", item.textKey) : std::string(item.literal ? item.literal : "");
}

int SelectionForCode(const std::vector<RowItem>& items, int code) {
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].code == code) return static_cast<int>(i);
    return -1;
}

int CodeOfSelection(const std::vector<RowItem>& items, int selection) {
    if (selection < 0 || selection >= static_cast<int>(items.size())) return -1;
    return items[static_cast<size_t>(selection)].code;
}

std::vector<ListEntry> ThemeListEntries(const std::map<std::string, std::string>& catalogue) {
    std::vector<ListEntry> entries;
    for (const auto& [key, name] : catalogue)
        if (!name.empty()) entries.push_back({name, key});
    std::stable_sort(entries.begin(), entries.end(),
                     [](const ListEntry& a, const ListEntry& b) { return LowerAscii(a.value) < LowerAscii(b.value); });
    if (entries.size() > kListCap) entries.resize(kListCap);
    if (entries.empty()) entries.push_back({GetUiText("Preferences", "None"), ""});
    return entries;
}

std::vector<ListEntry> FormatListEntries(const std::vector<std::string>& offered) {
    std::vector<ListEntry> entries;
    for (size_t i = 0; i < offered.size() && i < kListCap; ++i)
        if (!offered[i].empty()) entries.push_back({UpperAscii(offered[i]), offered[i], static_cast<int>(i)});
    return entries;
}

int SelectionForValue(const std::vector<ListEntry>& entries, const std::string& value) {
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].value == value) return static_cast<int>(i);
    return entries.empty() ? -1 : 0;
}

std::vector<std::string> BppListTexts(const std::string& extension) {
    std::vector<std::string> texts{GetUiText("Preferences", "Auto")};
    for (const std::string& depth : SplitNameList(OutputFormatDepths(extension))) texts.push_back(depth);
    return texts;
}

int BppSelection(const std::vector<std::string>& texts, int32_t value) {
    if (value == 0) return 0;
    for (size_t i = 1; i < texts.size(); ++i)
        if (EqualsIgnoringAsciiCase(texts[i], std::to_string(value))) return static_cast<int>(i);
    return -1;
}

int32_t BppValue(const std::vector<std::string>& texts, int selection) {
    if (selection <= 0 || selection >= static_cast<int>(texts.size())) return 0;
    return ParseIntLikeAtoi(texts[static_cast<size_t>(selection)]);
}

std::vector<ListEntry> ColourListEntries(const std::string& list) {
    std::vector<ListEntry> entries;
    for (const std::string& colour : SplitNameList(list)) entries.push_back({ColorLabel(colour), colour});
    return entries;
}

int ColourSelection(const std::vector<ListEntry>& entries, const std::string& colour) {
    const uint32_t rgb = ColourTextToRgb(colour);
    for (size_t i = 0; i < entries.size(); ++i)
        if (ColourTextToRgb(entries[i].value) == rgb) return static_cast<int>(i);
    return entries.empty() ? -1 : 0;
}

std::vector<ListEntry> FontListEntries(const std::string& list) {
    std::vector<ListEntry> entries;
    for (const std::string& name : SplitNameList(list)) entries.push_back({name, name});
    return entries;
}

int FontSelection(const std::vector<ListEntry>& entries, const std::string& font) {
    for (size_t i = 0; i < entries.size(); ++i)
        if (EqualsIgnoringAsciiCase(entries[i].value, font)) return static_cast<int>(i);
    return entries.empty() ? -1 : 0;
}

void LimitListEntries(std::vector<ListEntry>& entries, int selection) {
    if (entries.size() <= kShownListEntries) return;
    if (selection >= static_cast<int>(kShownListEntries)) entries[kShownListEntries] = entries[static_cast<size_t>(selection)];
    entries.resize(selection >= static_cast<int>(kShownListEntries) ? kShownListEntries + 1 : kShownListEntries);
}

void StoreSettingNumber(const SettingInfo& info, int64_t value) {
    if (info.type == SettingType::Float32) {
        *static_cast<float*>(info.field) = static_cast<float>(value);
        return;
    }
    StoreSettingText(info, std::to_string(value));
}

int64_t SettingNumber(const SettingInfo& info) {
    switch (info.type) {
    case SettingType::Int32:
    case SettingType::Date: return *static_cast<const int32_t*>(info.field);
    case SettingType::Int8:
    case SettingType::Flag: return *static_cast<const int8_t*>(info.field);
    case SettingType::Float32: {
        double value = *static_cast<const float*>(info.field);
        return std::isfinite(value) ? std::llround(std::clamp(value, -2147483648.0, 2147483647.0)) : 0;
    }
    default: return 0;
    }
}
