#include "ui/texts.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "app/settings_file.h"

namespace {
constexpr const char* kNoString = "%NO_STRING_ERROR%";

struct UiTextGroup {
    std::string name;  // upper-cased
    int first = 1;
    int last = 0;  // first > last: no entries
    // Entry of the first key (in sorted order) starting with each byte; 0 = none.
    std::array<int, 256> index{};
};

// Element 0 of both arrays is a placeholder so that 0 can mean "no entry" / "no group".
struct UiTextTable {
    std::vector<UiTextGroup> groups;
    std::vector<std::string> keys;  // upper-cased
    std::vector<std::string> values;
    int cachedGroup = 0;
};

UiTextTable UiText;

void SortGroup(UiTextGroup& group) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (int n = group.first; n <= group.last; ++n) entries.emplace_back(UiText.keys[n], UiText.values[n]);
    // std::string orders by unsigned bytes, the code-unit order the index and the early stop rely on.
    std::sort(entries.begin(), entries.end());
    int previous = -1;
    for (int n = group.first; n <= group.last; ++n) {
        auto& [key, value] = entries[n - group.first];
        UiText.keys[n] = std::move(key);
        UiText.values[n] = std::move(value);
        int first = UiText.keys[n].empty() ? 0 : static_cast<unsigned char>(UiText.keys[n][0]);
        if (first != previous) group.index[first] = n;
        previous = first;
    }
}

void ApplyOverride(const std::string& overridePath) {
    IniFile file;
    if (overridePath.empty() || !ReadIniFile(overridePath, &file)) return;
    for (size_t g = 1; g < UiText.groups.size(); ++g) {
        const UiTextGroup& group = UiText.groups[g];
        for (int n = group.first; n <= group.last; ++n) {
            std::string value;
            if (IniLookup(file, group.name, UiText.keys[n], &value)) UiText.values[n] = value;
        }
    }
}

// Replaces every occurrence of the lower-case placeholder, whatever its case in the text; the
// search resumes after the inserted argument, so an argument holding the placeholder cannot loop.
void ReplacePlaceholder(std::string& text, const char* placeholder, const std::string& argument) {
    size_t length = std::strlen(placeholder);
    for (size_t at = 0; at + length <= text.size();) {
        if (EqualsIgnoringAsciiCase(std::string_view(text).substr(at, length), placeholder)) {
            text.replace(at, length, argument);
            at += argument.size();
        } else {
            ++at;
        }
    }
}
}  // namespace

void BuildUiText(const std::string& overridePath) {
    UiText = UiTextTable{};
    UiText.groups.emplace_back();
    UiText.keys.emplace_back();
    UiText.values.emplace_back();
    for (const UiTextPair* pair = BuiltInUiTexts; std::strcmp(pair->key, "_END_") != 0; ++pair) {
        if (std::strcmp(pair->key, "_GROUP_") == 0) {
            UiText.groups.back().last = static_cast<int>(UiText.keys.size()) - 1;
            UiTextGroup group;
            group.name = UpperAscii(pair->value);
            group.first = static_cast<int>(UiText.keys.size());
            UiText.groups.push_back(std::move(group));
        } else {
            UiText.keys.push_back(UpperAscii(pair->key));
            UiText.values.emplace_back(pair->value);
        }
    }
    UiText.groups.back().last = static_cast<int>(UiText.keys.size()) - 1;
    // Element 0 is never a match; give it an empty range so the loops below skip it.
    UiText.groups[0].first = 1;
    UiText.groups[0].last = 0;
    for (size_t g = 1; g < UiText.groups.size(); ++g) SortGroup(UiText.groups[g]);
    ApplyOverride(overridePath);
}

std::string GetUiText(const std::string& group, const std::string& key) {
    if (UiText.groups.size() < 2) return kNoString;
    std::string groupName = UpperAscii(group);
    std::string keyName = UpperAscii(key);
    if (UiText.cachedGroup == 0 || UiText.groups[UiText.cachedGroup].name != groupName) {
        UiText.cachedGroup = 0;
        for (size_t g = 1; g < UiText.groups.size(); ++g) {
            if (UiText.groups[g].name == groupName) {
                UiText.cachedGroup = static_cast<int>(g);
                break;
            }
        }
    }
    if (UiText.cachedGroup == 0) return kNoString;
    const UiTextGroup& found = UiText.groups[UiText.cachedGroup];
    int first = keyName.empty() ? 0 : static_cast<unsigned char>(keyName[0]);
    for (int n = found.index[first]; n != 0 && n <= found.last; ++n) {
        int order = keyName.compare(UiText.keys[n]);
        if (order == 0) return UiText.values[n];
        if (order < 0) break;
    }
    return kNoString;
}

std::string FillPlaceholders(const std::string& text, const std::string& s1, const std::string& s2,
                             const std::string& s3, const std::string& s4) {
    std::string result = text;
    if (result.empty()) return result;
    const std::pair<const char*, const std::string*> steps[] = {
        {"%s1%", &s1}, {"%s2%", &s2}, {"%s3%", &s3}, {"%s4%", &s4}};
    for (const auto& [placeholder, argument] : steps)
        if (!argument->empty()) ReplacePlaceholder(result, placeholder, *argument);
    return result;
}
