#include "prefs/prefs_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>

#include "prefs/prefs_table.h"
#include "ui/catalogues.h"
#include "ui/texts.h"

namespace {
class PrefsRulesTest : public testing::Test {
protected:
    void SetUp() override {
        BuildUiText();
        BuildFormatCatalogues();
    }
};

TEST_F(PrefsRulesTest, EveryRowNamesAnExistingSettingAndText) {
    std::set<const SettingInfo*> edited;
    int outputSubPages = 0, inputSubPages = 0;
    auto check = [&](const PrefsRow& row) {
        EXPECT_NE(GetUiText("Preferences", row.labelKey), "%NO_STRING_ERROR%") << row.labelKey;
        for (const RowItem& item : row.items) EXPECT_NE(RowItemText(item), "%NO_STRING_ERROR%") << row.labelKey;
        if (row.group) {
            ASSERT_NE(row.Setting(), nullptr) << row.group << " " << (row.key ? row.key : "");
            EXPECT_TRUE(edited.insert(row.Setting()).second) << "edited twice: " << row.key;
        }
        if (row.unitKey) {
            EXPECT_NE(row.UnitSetting(), nullptr) << row.unitKey;
        }
        if (row.listKey) {
            EXPECT_NE(row.ListSetting(), nullptr) << row.listKey;
        }
        if (row.condition.group) {
            EXPECT_NE(FindSetting(row.condition.group, row.condition.key), nullptr);
        }
    };
    const auto& table = PreferencesTable();
    ASSERT_EQ(table.size(), 9u);
    const char* keys[] = {"General", "Interface", "Input", "Output", "Transform", "Adjustment", "Frame", "Watermark",
                          "Advanced"};
    for (size_t p = 0; p < table.size(); ++p) {
        EXPECT_STREQ(table[p].key, keys[p]);
        for (const PrefsRow& row : table[p].rows) check(row);
        for (const PrefsSubPage& sub : table[p].subPages) {
            for (const PrefsRow& row : sub.rows) check(row);
            (p == 2 ? inputSubPages : outputSubPages) += p == 2 || p == 3;
        }
    }
    EXPECT_EQ(inputSubPages, 6);
    EXPECT_EQ(outputSubPages, 23);
    // Every setting of these groups is edited by a row, except the derived flag and the growing lists.
    for (const SettingInfo& info : SettingsTable()) {
        std::string group = info.group;
        std::string key = info.key;
        if (group == "General" && (key == "CFG" || key == "Update Date")) continue;
        if (group == "Window" || group == "File" || group == "Privacy") continue;
        if (key == "Do Image Color Correction" || key == "Fonts" || key == "Font Colors" || key == "Back Colors")
            continue;
        if (key == "Image Width Unit" || key == "Image Height Unit") continue;  // the unit lists of two rows
        EXPECT_TRUE(edited.count(&info)) << "no row edits [" << group << "] " << key;
    }
}

TEST_F(PrefsRulesTest, ColourTextsAndLabels) {
    struct Case {
        const char* text;
        uint32_t rgb;
        const char* back;
        const char* label;
    } cases[] = {
        {"FF8000", 0x0080FF, "FF8000", "Orange"},
        {"ff8000", 0x0080FF, "FF8000", "Orange"},
        {"1a2b3c", 0x3C2B1A, "1A2B3C", "Color #1A2B3C"},
        {"12345", 0, "000000", "Color #12345"},
        {"1234567", 0, "000000", "Color #1234567"},
        {"", 0, "000000", "Color #"},
        {"c0c0c0", 0xC0C0C0, "C0C0C0", "Silver"},
        {"8000FF", 0xFF0080, "8000FF", "Violet"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColourTextToRgb(c.text), c.rgb) << c.text;
        EXPECT_EQ(RgbToColourText(ColourTextToRgb(c.text)), c.back) << c.text;
        EXPECT_EQ(ColorLabel(c.text), c.label) << c.text;
    }
}

TEST_F(PrefsRulesTest, CleanTextTrimsSpacesAndDropsTabsAndLineBreaks) {
    struct Case {
        std::string text, expected;
    } cases[] = {
        {"", ""},
        {"   ", ""},
        {"  one\ttwo  ", "onetwo"},
        {"  one\r\ntwo  ", "onetwo"},
        {"one\ntwo\n", "onetwo"},
        {"%filename%.%ext%", "%filename%.%ext%"},
        {"a  b", "a  b"},
    };
    for (const Case& c : cases) EXPECT_EQ(CleanText(c.text), c.expected) << c.text;
    std::string huge(1 << 20, 'x');
    huge[500] = '\t';
    EXPECT_EQ(CleanText("  " + huge + "  ").size(), huge.size() - 1);
}

TEST_F(PrefsRulesTest, SpinTextsEndWithinTheirRange) {
    struct Case {
        const char* text;
        int min, max, expected;
    } cases[] = {
        {"150", 1, 100, 100},   {"", 1, 100, 1},        {"-150", -100, 100, -100}, {"abc", 1, 100, 1},
        {"-", 0, 360, 0},       {"12abc", 0, 360, 12},  {"99999999999999999999", 1, 255, 255},
        {"-99999999999999999999", 1, 50, 1}, {" 42", 0, 255, 42}, {"+7", 0, 255, 7},
    };
    for (const Case& c : cases) EXPECT_EQ(SpinValueFromText(c.text, c.min, c.max), c.expected) << c.text;
    EXPECT_EQ(SliderValueForSpin(-100, SpinScale::Offset100), 0);
    EXPECT_EQ(SliderValueForSpin(-30, SpinScale::Offset100), 70);
    EXPECT_EQ(SpinValueForSlider(70, SpinScale::Offset100), -30);
    EXPECT_EQ(SliderValueForSpin(42, SpinScale::Plain), 42);
}

TEST_F(PrefsRulesTest, GammaTextsAndPositions) {
    struct Case {
        const char* text;
        int position;
        const char* shown;
    } cases[] = {
        {"2.5", 250, "2.50"}, {"0", 1, "0.01"},    {"12", 999, "9.99"}, {"1.00", 100, "1.00"},
        {"1.016", 102, "1.02"}, {"abc", 1, "0.01"}, {"", 1, "0.01"},   {"-3", 1, "0.01"},
        {"1e300", 999, "9.99"}, {"NaN", 1, "0.01"}, {"0.1x", 10, "0.10"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GammaPositionFromText(c.text), c.position) << c.text;
        EXPECT_EQ(GammaText(GammaPositionFromText(c.text)), c.shown) << c.text;
    }
    EXPECT_EQ(GammaPositionFromValue(1.0f), 100);
    EXPECT_EQ(GammaPositionFromValue(1.37f), 137);
    EXPECT_EQ(GammaPositionFromValue(std::numeric_limits<float>::infinity()), 999);
    EXPECT_EQ(GammaPositionFromValue(std::nanf("")), 1);
}

TEST_F(PrefsRulesTest, FontAndColourListsGrowOnlyByNewEntries) {
    std::string fonts = "Arial, Tahoma ,Verdana";
    EXPECT_FALSE(AppendFontIfMissing(fonts, "Tahoma"));
    EXPECT_TRUE(AppendFontIfMissing(fonts, "tahoma")) << "letter case counts";
    EXPECT_EQ(fonts, "Arial, Tahoma ,Verdana,tahoma");
    std::string empty;
    EXPECT_TRUE(AppendFontIfMissing(empty, "DejaVu Sans"));
    EXPECT_EQ(empty, "DejaVu Sans");
    EXPECT_EQ(FontNameFromFace("Noto, Sans,"), "Noto Sans");

    std::string colours = "000000,ffffff";
    EXPECT_FALSE(AppendColourIfMissing(colours, 0xFFFFFF));
    EXPECT_TRUE(AppendColourIfMissing(colours, ColourTextToRgb("FF8000")));
    EXPECT_EQ(colours, "000000,ffffff,FF8000");

    struct Style {
        int weight;
        bool italic;
        int code;
    } styles[] = {{400, false, 0}, {700, false, 1}, {600, false, 0}, {800, false, 0}, {400, true, 2}, {700, true, 3}};
    for (const Style& s : styles) EXPECT_EQ(FontStyleCode(s.weight, s.italic), s.code) << s.weight;
}

TEST_F(PrefsRulesTest, InterfaceReloadAndTheDerivedColourFlag) {
    struct Case {
        int current, size, sizeSetting;
        const char *theme, *themeSetting;
        int expected;
    } cases[] = {
        {0, 1, 2, "handdrawn", "handdrawn", 2}, {0, 2, 2, "other", "handdrawn", 1}, {0, 1, 2, "other", "handdrawn", 1},
        {0, 2, 2, "handdrawn", "handdrawn", 0}, {2, 2, 2, "handdrawn", "handdrawn", 2},
        {0, 2, 2, "Handdrawn", "handdrawn", 1}, {0, -1, 3, "", "", 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InterfaceReloadAfter(c.current, c.size, c.sizeSetting, c.theme, c.themeSetting), c.expected);

    EXPECT_EQ(ColourCorrectionFlag(0, 0, 1.0f, 0), 0);
    EXPECT_EQ(ColourCorrectionFlag(1, 0, 1.0f, 0), 1);
    EXPECT_EQ(ColourCorrectionFlag(0, -5, 1.0f, 0), 1);
    EXPECT_EQ(ColourCorrectionFlag(0, 0, 1.01f, 0), 1);
    EXPECT_EQ(ColourCorrectionFlag(0, 0, 1.0f, 1), 1);
}

TEST_F(PrefsRulesTest, ListsLoadAndStoreByTheirRules) {
    const std::vector<RowItem> sizes = {{"Small", 0}, {"Medium", 1}, {"Large", 2}};
    EXPECT_EQ(SelectionForCode(sizes, 1), 1);
    for (int outside : {-1, 3, 99}) EXPECT_EQ(SelectionForCode(sizes, outside), -1);
    EXPECT_EQ(CodeOfSelection(sizes, -1), -1);
    EXPECT_EQ(CodeOfSelection(sizes, 2), 2);

    std::vector<std::string> dds = BppListTexts("dds");
    ASSERT_EQ(dds, (std::vector<std::string>{"Auto", "32"}));
    EXPECT_EQ(BppSelection(dds, 0), 0);
    EXPECT_EQ(BppSelection(dds, 32), 1);
    EXPECT_EQ(BppSelection(dds, 24), -1);
    EXPECT_EQ(BppValue(dds, -1), 0);
    EXPECT_EQ(BppValue(dds, 0), 0);
    EXPECT_EQ(BppValue(dds, 1), 32);

    auto themes = ThemeListEntries({{"zeta", "Zeta"}, {"Alpha", "Alpha theme"}, {"blank", ""}, {"beta", "Beta"}});
    ASSERT_EQ(themes.size(), 3u);
    EXPECT_EQ(themes[0].value, "Alpha");
    EXPECT_EQ(themes[1].value, "beta");
    EXPECT_EQ(themes[2].text, "Zeta");
    EXPECT_EQ(SelectionForValue(themes, "beta"), 1);
    EXPECT_EQ(SelectionForValue(themes, "BETA"), 0) << "letter case counts";
    auto none = ThemeListEntries({});
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].text, "None");
    EXPECT_EQ(none[0].value, "");

    auto formats = FormatListEntries({"", "dds"});
    ASSERT_EQ(formats.size(), 1u);
    EXPECT_EQ(formats[0].text, "DDS");
    EXPECT_EQ(formats[0].data, 1);

    auto colours = ColourListEntries("000000, ff8000 ,,1a2b3c");
    ASSERT_EQ(colours.size(), 3u);
    EXPECT_EQ(colours[1].text, "Orange");
    EXPECT_EQ(ColourSelection(colours, "1A2B3C"), 2);
    EXPECT_EQ(ColourSelection(colours, "123456"), 0) << "not in the list: the first";
    auto fonts = FontListEntries(" Arial ,Tahoma");
    EXPECT_EQ(FontSelection(fonts, "tahoma"), 1);
    EXPECT_EQ(FontSelection(fonts, "Nope"), 0);
}

TEST_F(PrefsRulesTest, NumbersReachSettingsByType) {
    struct Case {
        const char *group, *key;
        int64_t value, expected;
    } cases[] = {
        {"Interface", "UI Size", -1, -1},
        {"Transform", "Image Resize Algorithm", 300, 44},  // int8 keeps its low 8 bits
        {"Transform", "Image Width", 99999999999, 2147483647},
        {"Advanced", "Keep Subfolders", 1, 1},
    };
    for (const Case& c : cases) {
        const SettingInfo* info = FindSetting(c.group, c.key);
        ASSERT_NE(info, nullptr);
        StoreSettingNumber(*info, c.value);
        EXPECT_EQ(SettingNumber(*info), c.expected) << c.key;
    }
}
}  // namespace
