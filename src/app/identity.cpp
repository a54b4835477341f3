#include "app/identity.h"

std::string VersionText(int versionNumber) {
    // Built by concatenation: GCC 12 in release builds misreads string::insert as overlapping copies.
    std::string text = std::to_string(versionNumber);
    if (text.size() >= 2) text = text.substr(0, 1) + "." + text.substr(1);
    if (text.size() >= 4) text = text.substr(0, 3) + "." + text.substr(3);
    if (!text.empty() && text.back() == '0') text = text.substr(0, 3);
    return text;
}

std::string TitleText(const std::string& name, int versionNumber, bool windowTitle) {
    return name + " " + VersionText(versionNumber) + (windowTitle ? " - FREEWARE" : "");
}

std::string MakerNotice() {
    return TitleText(kProductName, kVersionNumber, false) + " \xC2\xB7 freeware by " + kVendorFolder;
}

const std::map<std::string, int>& MainImages() {
    static const std::map<std::string, int> table = {{"Convert", 2}, {"InFiles", 3}, {"InFolder", 4}};
    return table;
}

const std::map<std::string, int>& MenuIcons() {
    static const std::map<std::string, int> table = {
        {"New", 5},          {"Add", 6},         {"InFiles", 7},   {"InFolder", 8},     {"OutFolder", 9},
        {"OutFormat", 10},   {"FavFolder", 11},  {"ImportFiles", 12}, {"ExportFiles", 13}, {"Exit", 14},
        {"Copy", 15},        {"Delete", 16},     {"SelectAll", 17}, {"Convert", 18},    {"Error", 19},
        {"Preferences", 20}, {"CustomConverter", 21}, {"Help", 22}, {"Email", 25},      {"Web", 26},
        {"Updates", 27},     {"About", 28}};
    return table;
}

const std::map<std::string, int>& ToolbarIcons() {
    static const std::map<std::string, int> table = [] {
        std::map<std::string, int> toolbar;
        for (const auto& [name, number] : MenuIcons()) toolbar[name] = number + 24;
        return toolbar;
    }();
    return table;
}
