// Interface texts by group and key. No window code here: message boxes live in ui/window.
#pragma once
#include <string>

// One pair of the built-in data: "_GROUP_" opens a group named by the value, "_END_" ends the data.
struct UiTextPair {
    const char* key;
    const char* value;
};
// The built-in English texts in data order, UTF-8, ending with "_END_".
extern const UiTextPair BuiltInUiTexts[];

// Builds the table from the built-in texts. A readable INI-style override file replaces texts by
// group and key; an empty path or a file that does not open leaves the built-in texts.
void BuildUiText(const std::string& overridePath = "");
// The text of group/key (ASCII case-insensitive), or "%NO_STRING_ERROR%".
std::string GetUiText(const std::string& group, const std::string& key);
// Replaces "%s1%" to "%s4%" with the arguments given.
std::string FillPlaceholders(const std::string& text, const std::string& s1 = "", const std::string& s2 = "",
                             const std::string& s3 = "", const std::string& s4 = "");
