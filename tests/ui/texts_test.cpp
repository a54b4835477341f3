#include "ui/texts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/test_support.h"

namespace {
const std::string kMissing = "%NO_STRING_ERROR%";

class UiTextTest : public testing::Test {
protected:
    void SetUp() override { BuildUiText(); }
};

TEST_F(UiTextTest, LooksUpByGroupAndKeyWhateverTheCase) {
    struct Case {
        const char* group;
        const char* key;
        std::string expected;
    } cases[] = {
        {"Menu", "select input file", "Add Input File..."},
        {"MENU", "Select Input Files", "Add Input Files..."},
        {"menu", "About", "About..."},
        {"Msg", "Ask break conversion", "Do you want to break the conversion?"},
        {"Msg", "Conversion is not complete", "Conversion stopped"},
        {"Msg", "Files converted", "Files converted: %s1% of %s2%"},
        {"Msg", "Invalid output folder",
         "The following output folder is invalid or doesn't exist:\r\n%s1%\r\n\r\nPlease, correct the output path "
         "and try again!"},
        {"Preferences", "Medium", "Medium"},
        {"Preferences", "Save window position", "Save Window's Coords:"},
        {"Preferences", "Top-Left", "Top-Left"},
        {"Preferences", "Clean Recent Files", "Clean Recent Files List on Exit"},
        {"custom-converter", "TITLE", "Find a File Converter"},
        {"Uninstall", "Next", "Next"},
        // Missing: a key of another group, an unknown group, a prefix of real keys, keys beyond every entry.
        {"Msg", "Select Input File", kMissing},
        {"Nonexistent", "File", kMissing},
        {"Menu", "Select", kMissing},
        {"Menu", "Select Input Filesx", kMissing},
        {"Menu", "Zzz", kMissing},
        {"Menu", "", kMissing},
        {"", "File", kMissing},
        {"Menu", "_GROUP_", kMissing},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetUiText(c.group, c.key), c.expected) << c.group << " / " << c.key;
}

// Alternating groups must not let the cached group answer for another one.
TEST_F(UiTextTest, SwitchingGroupsFindsEachGroupsOwnText) {
    const std::pair<const char*, const char*> titles[] = {{"About", "About..."},
                                                          {"Custom-Converter", "Find a File Converter"},
                                                          {"Uninstall", "Uninstall"},
                                                          {"Preferences", "Preferences..."}};
    for (int round = 0; round < 2; ++round)
        for (const auto& [group, title] : titles) EXPECT_EQ(GetUiText(group, "Title"), title) << group;
    EXPECT_EQ(GetUiText("Nowhere", "Title"), kMissing);
    EXPECT_EQ(GetUiText("About", "Title"), "About...");
}

// Every built-in pair is found with its own text, which exercises the sort, the index and the scan.
TEST_F(UiTextTest, EveryBuiltInTextIsFound) {
    std::string group;
    int checked = 0;
    for (const UiTextPair* pair = BuiltInUiTexts; std::strcmp(pair->key, "_END_") != 0; ++pair) {
        if (std::strcmp(pair->key, "_GROUP_") == 0) {
            group = pair->value;
            continue;
        }
        EXPECT_EQ(GetUiText(group, pair->key), pair->value) << group << " / " << pair->key;
        ++checked;
    }
    EXPECT_EQ(checked, 330);
}

TEST_F(UiTextTest, GroupsAppearInOrderWithTheirEntryCounts) {
    std::vector<std::pair<std::string, int>> groups;
    for (const UiTextPair* pair = BuiltInUiTexts; std::strcmp(pair->key, "_END_") != 0; ++pair) {
        if (std::strcmp(pair->key, "_GROUP_") == 0)
            groups.emplace_back(pair->value, 0);
        else
            ++groups.back().second;
    }
    const std::vector<std::pair<std::string, int>> expected = {
        {"Menu", 27},       {"General", 10}, {"Msg", 41},           {"Dialog", 18},
        {"Preferences", 223}, {"About", 4},  {"Custom-Converter", 4}, {"Uninstall", 3}};
    EXPECT_EQ(groups, expected);
}

TEST_F(UiTextTest, DuplicateKeysInOneGroupCarryTheSameText) {
    std::map<std::pair<std::string, std::string>, std::string> seen;
    std::vector<std::string> duplicates;
    std::string group;
    for (const UiTextPair* pair = BuiltInUiTexts; std::strcmp(pair->key, "_END_") != 0; ++pair) {
        if (std::strcmp(pair->key, "_GROUP_") == 0) {
            group = pair->value;
            continue;
        }
        auto [at, added] = seen.emplace(std::make_pair(group, std::string(pair->key)), pair->value);
        if (!added) {
            duplicates.push_back(group + "/" + pair->key);
            EXPECT_EQ(at->second, pair->value) << group << " / " << pair->key;
        }
    }
    EXPECT_EQ(duplicates, std::vector<std::string>{"Preferences/Medium"});
}

TEST_F(UiTextTest, OverrideFileReplacesOnlyTheTextsItNames) {
    std::string folder = ScratchFolder("texts-override");
    WriteFileText(folder + "lang.ini",
                  "[menu]\r\nFILE=Datei\r\nselect input file=Datei hinzufügen...\r\nNot A Key=ignored\r\n"
                  "[Msg]\r\nError=Fehler\r\n[Unknown]\r\nFile=ignored\r\n");
    BuildUiText(folder + "lang.ini");
    EXPECT_EQ(GetUiText("Menu", "File"), "Datei");
    EXPECT_EQ(GetUiText("Menu", "Select Input File"), "Datei hinzufügen...");
    EXPECT_EQ(GetUiText("Msg", "Error"), "Fehler");
    EXPECT_EQ(GetUiText("Menu", "New"), "New");
    EXPECT_EQ(GetUiText("Menu", "Not A Key"), kMissing);

    BuildUiText(folder + "absent.ini");
    EXPECT_EQ(GetUiText("Menu", "File"), "File");
    BuildUiText(folder + "lang.ini");
    BuildUiText();
    EXPECT_EQ(GetUiText("Msg", "Error"), "Error");
}

TEST(FillPlaceholdersTest, ReplacesEachPlaceholderInOrder) {
    struct Case {
        std::string text;
        std::vector<std::string> arguments;
        std::string expected;
    } cases[] = {
        {"(%s1%/%s2%)", {"3", "10"}, "(3/10)"},
        {"Unable to open the file: %s1%!", {""}, "Unable to open the file: %s1%!"},
        {"%S1% and %s1%", {"x"}, "x and x"},
        {"", {"x"}, ""},
        {"%s3%-%s4%-%s2%", {"", "b", "c", "d"}, "c-d-b"},
        {"no placeholder", {"x", "y"}, "no placeholder"},
        // An argument holding a later placeholder is filled by the later step, an earlier one is not.
        {"%s1%", {"<%s2%>", "b"}, "<b>"},
        {"%s2%", {"a", "<%s1%>"}, "<%s1%>"},
        // An argument holding its own placeholder is inserted once, not expanded again.
        {"%s1%|%s1%", {"%s1%"}, "%s1%|%s1%"},
        {"%s1", {"x"}, "%s1"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> a = c.arguments;
        a.resize(4);
        EXPECT_EQ(FillPlaceholders(c.text, a[0], a[1], a[2], a[3]), c.expected) << c.text;
    }
}
}  // namespace
