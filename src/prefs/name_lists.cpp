#include "prefs/prefs_rules.h"

std::vector<std::string> SplitNameList(const std::string& list) {
    std::vector<std::string> entries;
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        if (comma == std::string::npos) comma = list.size();
        std::string entry = TrimBlanks(list.substr(start, comma - start), " ");
        if (!entry.empty()) entries.push_back(std::move(entry));
        start = comma + 1;
    }
    return entries;
}

namespace {
// A list that holds nothing yet takes the entry without a leading comma.
void AppendEntry(std::string& list, const std::string& entry) {
    if (TrimBlanks(list, " ").empty())
        list = entry;
    else
        list += "," + entry;
}
}  // namespace

bool AppendFontIfMissing(std::string& fonts, const std::string& name) {
    if (name.empty()) return false;
    for (const std::string& entry : SplitNameList(fonts))
        if (entry == name) return false;
    AppendEntry(fonts, name);
    return true;
}

bool AppendColourIfMissing(std::string& colours, uint32_t rgb) {
    for (const std::string& entry : SplitNameList(colours))
        if (ColourTextToRgb(entry) == rgb) return false;
    AppendEntry(colours, RgbToColourText(rgb));
    return true;
}

std::string FontNameFromFace(const std::string& face) {
    std::string name;
    for (char c : face)
        if (c != ',') name += c;
    return name;
}

int FontStyleCode(int weight, bool italic) { return (weight == 700 ? 1 : 0) + (italic ? 2 : 0); }

int32_t InterfaceReloadAfter(int32_t current, int selectedSize, int32_t sizeSetting, const std::string& selectedTheme,
                             const std::string& themeSetting) {
    int32_t reload = current;
    if (selectedSize != sizeSetting) reload = 2;
    if (selectedTheme != themeSetting) reload = 1;
    return reload;
}

int8_t ColourCorrectionFlag(int32_t brightness, int32_t contrast, float gamma, int8_t invert) {
    return brightness != 0 || contrast != 0 || gamma != 1.0f || invert != 0 ? 1 : 0;
}
