// Interface texts by group and key. No window code here: message boxes live in ui/window.
#pragma once
#include <string>

void BuildUiText();
// The text of group/key (ASCII case-insensitive), or "%NO_STRING_ERROR%".
std::string GetUiText(const std::string& group, const std::string& key);
// Replaces "%s1%" to "%s4%" with the arguments given.
std::string FillPlaceholders(const std::string& text, const std::string& s1 = "", const std::string& s2 = "",
                             const std::string& s3 = "", const std::string& s4 = "");
