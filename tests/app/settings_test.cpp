// The settings record, its defaults and config.ini: reading, writing, upgrades and hostile files.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "app/settings.h"
#include "app/settings_file.h"
#include "platform/platform.h"
#include "support/test_support.h"

namespace {
std::string Value(const char* group, const char* key) {
    const SettingInfo* info = FindSetting(group, key);
    EXPECT_NE(info, nullptr) << group << " / " << key;
    return info ? SettingValueText(*info) : std::string();
}

std::vector<std::string> AllValues() {
    std::vector<std::string> values;
    for (const SettingInfo& info : SettingsTable()) values.push_back(SettingValueText(info));
    return values;
}

bool IsDate(const SettingInfo& info) { return info.type == SettingType::Date; }

bool IsOffered(const SettingInfo& info) {
    if (!info.formatOwner) return true;
    const std::vector<std::string>& offered =
        std::string(info.group) == "Input" ? OfferedInputFormats : OfferedOutputFormats;
    for (const std::string& format : offered)
        if (format == info.formatOwner) return true;
    return false;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class SettingsFileTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = ScratchFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
        Settings.SettingsPath = folder_ + "config.ini";
        SetPrimaryDisplaySize(1920, 1080);
        ApplyDefaults(false);
    }
    void Load(const std::string& bytes) {
        WriteFileText(Settings.SettingsPath, bytes);
        LoadSettings();
    }
    std::string folder_;
};
}  // namespace

TEST(Defaults, ModeAndDisplayDecideAspectAndPosition) {
    const struct {
        bool console;
        int displayWidth, displayHeight;
        int aspect, x, y;
    } cases[] = {
        {false, 1920, 1080, 1, 705, 410},
        {true, 1920, 1080, 0, 705, 410},
        {false, 1921, 1081, 1, 705, 410},  // rounded down
        {false, 500, 1080, 1, 100, 410},   // narrower than the window
        {false, 510, 260, 1, 100, 100},    // exactly as large: not wider
        {false, 0, 0, 1, 100, 100},        // no display known
    };
    for (const auto& c : cases) {
        SetPrimaryDisplaySize(c.displayWidth, c.displayHeight);
        ApplyDefaults(c.console);
        EXPECT_EQ(Settings.Transform.KeepAspectRatio, c.aspect) << c.displayWidth << " console " << c.console;
        EXPECT_EQ(Settings.Window.X, c.x) << c.displayWidth;
        EXPECT_EQ(Settings.Window.Y, c.y) << c.displayHeight;
    }
}

TEST(Defaults, ValuesAndDatesOfStart) {
    const int32_t before = NowLocalDate();
    ApplyDefaults(false);
    const int32_t after = NowLocalDate();
    EXPECT_EQ(Settings.General.CFG, 19);
    EXPECT_EQ(Settings.General.Language, "en");
    EXPECT_EQ(Settings.Window.Width, 510);
    EXPECT_EQ(Settings.Window.Height, 260);
    EXPECT_EQ(Settings.Input.Format, "bmp");
    EXPECT_EQ(Settings.Output.Format, "dds");
    EXPECT_EQ(Settings.Output.JPGQuality, 95);
    EXPECT_FLOAT_EQ(Settings.Adjustment.ImageGamma, 1.0f);
    EXPECT_EQ(Settings.Watermark.BackColors, Settings.Watermark.FontColors);
    EXPECT_EQ(Settings.Watermark.BackOpacity, 1);
    EXPECT_EQ(Settings.Watermark.TextPosition, 8);
    EXPECT_EQ(Settings.Advanced.FilenameMask, "%filename%.%ext%");
    EXPECT_FALSE(Settings.Watermark.Text.empty());
    for (int32_t date : {Settings.General.UpdateDate, Settings.Advanced.CustomTimestamp}) {
        EXPECT_GE(date, before);
        EXPECT_LE(date, after);
    }
}

TEST(Defaults, TableNamesEveryMemberOnceAndFindsCaseInsensitively) {
    std::vector<const void*> fields;
    for (const SettingInfo& info : SettingsTable()) {
        for (const void* seen : fields) EXPECT_NE(seen, info.field) << info.group << " / " << info.key;
        fields.push_back(info.field);
        EXPECT_EQ(FindSetting(info.group, info.key), &info);
    }
    EXPECT_EQ(FindSetting("advanced", "FILENAME MASK"), FindSetting("Advanced", "Filename Mask"));
    EXPECT_EQ(FindSetting("Advanced", "Filename"), nullptr);
}

TEST(Numbers, ReadLikeAtoiAndAtof) {
    const struct {
        const char* text;
        int32_t expected;
    } integers[] = {{" 42", 42}, {"-7z", -7}, {"+", 0}, {"", 0}, {"- 3", 0}, {"\t+12", 12},
                    {"2147483648", 2147483647}, {"-99999999999", -2147483647 - 1}};
    for (const auto& c : integers) EXPECT_EQ(ParseIntLikeAtoi(c.text), c.expected) << c.text;
    EXPECT_EQ(LowByte(300), 44);
    EXPECT_EQ(LowByte(-129), 127);
    EXPECT_EQ(LowByte(255), -1);

    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        std::string text;
        float expected;
    } floats[] = {{"1.5", 1.5f}, {" -2.25e1x", -22.5f}, {".5", 0.5f}, {"5.", 5.0f}, {"+3", 3.0f},
                  {"1e400", inf}, {"-1e400", -inf}, {"1e-400", 0.0f}, {"1" + std::string(400, '0'), inf},
                  {"0." + std::string(400, '0') + "1", 0.0f}, {"inf", 0.0f}, {"0x10", 0.0f}, {"e5", 0.0f},
                  {"+INFINITY", inf}, {"-infinity", -inf}};
    for (const auto& c : floats) EXPECT_EQ(ParseFloatLikeAtof(c.text), c.expected) << c.text;
    EXPECT_TRUE(std::isnan(ParseFloatLikeAtof("nan")));
}

// GTK sets LC_NUMERIC from the environment; the file must still say "1.500000".
TEST_F(SettingsFileTest, GammaIgnoresTheNumericLocale) {
    const std::string locales = folder_ + "locales";
    const CommandResult made =
        RunCommand("mkdir -p '" + locales + "' && localedef -i de_DE -f UTF-8 '" + locales + "/de_DE.UTF-8'");
    setenv("LOCPATH", locales.c_str(), 1);
    const bool german = made.exitStatus == 0 && setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    if (!german) {
        unsetenv("LOCPATH");
        GTEST_SKIP() << "no comma locale: " << made.err;
    }
    char probe[16];
    snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5");  // the locale really is active
    Settings.Adjustment.ImageGamma = 1.5f;
    SaveSettings();
    const std::string text = ReadFileText(Settings.SettingsPath);
    Settings.Adjustment.ImageGamma = 0.0f;
    LoadSettings();
    const float loaded = Settings.Adjustment.ImageGamma;
    const float parsed = ParseFloatLikeAtof("0.25");
    setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
    EXPECT_NE(text.find("\r\nImage Gamma = 1.500000\r\n"), std::string::npos);
    EXPECT_EQ(loaded, 1.5f);
    EXPECT_EQ(parsed, 0.25f);
}

TEST_F(SettingsFileTest, NoFileGivesEveryDefaultWithCentredWindow) {
    ApplyDefaults(false);
    const std::vector<std::string> defaults = AllValues();
    Settings.Window.X = 3;
    Settings.General.CFG = 4;
    Settings.Advanced.FilenameMask = "changed";
    for (const std::string& path : {folder_ + "missing.ini", folder_}) {  // missing, and a folder
        Settings.SettingsPath = path;
        LoadSettings();
        const std::vector<std::string> loaded = AllValues();
        for (size_t i = 0; i < defaults.size(); ++i) {
            const SettingInfo& info = SettingsTable()[i];
            if (IsDate(info)) {
                EXPECT_NEAR(std::stoll(loaded[i]), std::stoll(defaults[i]), 2) << info.key;
            } else {
                EXPECT_EQ(loaded[i], defaults[i]) << info.group << " / " << info.key;
            }
        }
        EXPECT_EQ(Settings.Window.X, 705);
        EXPECT_EQ(Settings.Window.Y, 410);
        EXPECT_EQ(Settings.General.CFG, 19);
    }
}

// One key read from a file, with the reader's syntax and number rules.
TEST_F(SettingsFileTest, ReadsKeysLikeTheSyntaxSays) {
    const struct {
        const char* name;
        std::string bytes;
        const char* group;
        const char* key;
        const char* expected;
    } cases[] = {
        {"indented, lower-case group and key", "[window]\r\n  width=800\r\n", "Window", "Width", "800"},
        {"digits then letters", "[Window]\nWidth = 12abc\n", "Window", "Width", "12"},
        {"no digits", "[Window]\rWidth=abc\r", "Window", "Width", "0"},
        {"blanks around the value", "[Window]\r\n\tWidth \t=\t 640 \t\r\n", "Window", "Width", "640"},
        {"no final line end", "[Window]\nWidth=900", "Window", "Width", "900"},
        {"header without ]", "[Window\nWidth=901\n", "Window", "Width", "901"},
        {"first key wins", "[Window]\nWidth=1\nWIDTH=2\n", "Window", "Width", "1"},
        {"first group wins", "[Window]\nHeight=5\n[WINDOW]\nWidth=2\n", "Window", "Width", "510"},
        {"key of another group", "[General]\nWidth=5\n[Window]\n", "Window", "Width", "510"},
        {"comments", "[Window]\n;Width=5\n  ; Width=6\nWidth=7\n", "Window", "Width", "7"},
        {"missing X falls back to 100", "[Window]\nWidth=5\n", "Window", "X", "100"},
        {"missing CFG reads as 0", "[General]\nLanguage=de\n", "General", "CFG", "0"},
        {"int8 keeps its low byte", "[Advanced]\nOut Folders Number=300\n", "Advanced", "Out Folders Number", "44"},
        {"int8 negative wrap", "[Advanced]\nOut Folders Number=-129\n", "Advanced", "Out Folders Number", "127"},
        {"flag keeps its low byte", "[Window]\nIsMaximized=256\n", "Window", "IsMaximized", "0"},
        {"int32 saturates", "[Window]\nWidth=99999999999999999999\n", "Window", "Width", "2147483647"},
        {"gamma", "[Adjustment]\nImage Gamma=1.5\n", "Adjustment", "Image Gamma", "1.500000"},
        {"gamma prefix", "[Adjustment]\nImage Gamma=2.25x\n", "Adjustment", "Image Gamma", "2.250000"},
        {"gamma garbage", "[Adjustment]\nImage Gamma=x\n", "Adjustment", "Image Gamma", "0.000000"},
        {"gamma +infinity", "[Adjustment]\nImage Gamma=+infinity\n", "Adjustment", "Image Gamma", "+Infinity"},
        {"gamma -INFINITY", "[Adjustment]\nImage Gamma=-INFINITY\n", "Adjustment", "Image Gamma", "-Infinity"},
        {"text trimmed", "[Watermark]\nFont =  Liberation Sans \t\n", "Watermark", "Font", "Liberation Sans"},
        {"value holding =", "[Advanced]\nFilename Mask = a=b.%ext%\n", "Advanced", "Filename Mask", "a=b.%ext%"},
        {"empty value", "[Watermark]\nText=\n", "Watermark", "Text", ""},
        {"per-format key of a format not offered",
         "[Output]\nJPG Quality=40\n", "Output", "JPG Quality", "40"},
        {"UTF-8 with byte order mark", "\xEF\xBB\xBF\r\n[Watermark]\r\nText=caf\xC3\xA9\r\n", "Watermark", "Text",
         "caf\xC3\xA9"},
        {"Latin-1 without byte order mark", "[Watermark]\r\nText=caf\xE9\r\n", "Watermark", "Text", "caf\xC3\xA9"},
        {"UTF-8 without byte order mark", "[Watermark]\r\nText=caf\xC3\xA9\r\n", "Watermark", "Text",
         "caf\xC3\xA9"},
        {"malformed UTF-8 after the mark", "\xEF\xBB\xBF[Watermark]\nText=caf\xE9!\n", "Watermark", "Text",
         "caf\xEF\xBF\xBD!"},
        {"NUL bytes dropped", "[Watermark]\nText=a" + std::string(1, '\0') + "b\n", "Watermark", "Text", "ab"},
    };
    for (const auto& c : cases) {
        ApplyDefaults(false);
        Load(c.bytes);
        EXPECT_EQ(Value(c.group, c.key), c.expected) << c.name;
    }
}

TEST_F(SettingsFileTest, UpgradesOlderLayoutsInOrder) {
    const struct {
        const char* file;
        const char* mask;
        int raw, psd, tiff;
    } cases[] = {
        // Only the mask and CFG: the example of an old file.
        {"[General]\nCFG=10\n[Advanced]\nFilename Mask=%filename%\n", "%filename%.%ext%", 0, 0, 0},
        {"[General]\nCFG=10\n[Advanced]\nFilename Mask=%FILENAME%.%EXT%\n", "%FILENAME%.%EXT%.%ext%", 0, 0, 0},
        {"[General]\nCFG=10\n[Advanced]\nFilename Mask=a.%ext%\n", "a.%ext%", 0, 0, 0},
        {"[General]\nCFG=11\n[Advanced]\nFilename Mask=%filename%\n", "%filename%", 0, 0, 0},
        {"[General]\nCFG=13\n[Input]\nRAW Load As=1\n", "%filename%.%ext%", 3, 0, 0},
        {"[General]\nCFG=13\n[Input]\nRAW Load As=0\n", "%filename%.%ext%", 0, 0, 0},
        {"[General]\nCFG=14\n[Input]\nRAW Load As=1\n", "%filename%.%ext%", 1, 0, 0},
        {"[General]\nCFG=13\n[Input]\nRAW Load As=2147483647\n", "%filename%.%ext%", 2147483647, 0, 0},
        {"[General]\nCFG=18\n[Input]\nPSD Color Mode=1\nPSD Color Model=2\n[Output]\nTIFF Color Model=1\n",
         "%filename%.%ext%", 0, 2, 1},
        {"[General]\nCFG=18\n[Input]\nPSD Color Mode=1\nPSD Color Model=0\n[Output]\nTIFF Color Mode=2\n",
         "%filename%.%ext%", 0, 1, 2},
        {"[General]\nCFG=19\n[Input]\nPSD Color Mode=1\nPSD Color Model=2\n", "%filename%.%ext%", 0, 1, 0},
        // No CFG at all: every upgrade runs.
        {"[Advanced]\nFilename Mask=x\n[Input]\nRAW Load As=2\nPSD Color Model=1\n", "x.%ext%", 4, 1, 0},
    };
    for (const auto& c : cases) {
        Load(c.file);
        EXPECT_EQ(Settings.Advanced.FilenameMask, c.mask) << c.file;
        EXPECT_EQ(Settings.Input.RAWLoadAs, c.raw) << c.file;
        EXPECT_EQ(Settings.Input.PSDColorMode, c.psd) << c.file;
        EXPECT_EQ(Settings.Output.TIFFColorMode, c.tiff) << c.file;
    }
}

TEST_F(SettingsFileTest, OldFileBringsTheWindowUpAtItsFallbacks) {
    Load("[General]\r\nCFG=10\r\n[Advanced]\r\nFilename Mask=%filename%\r\n");
    EXPECT_EQ(Settings.Advanced.FilenameMask, "%filename%.%ext%");
    EXPECT_EQ(Settings.Window.X, 100);
    EXPECT_EQ(Settings.Window.Y, 100);
    EXPECT_EQ(Settings.Window.Width, 510);
    EXPECT_EQ(Settings.Window.Height, 260);
    EXPECT_EQ(Settings.General.CFG, 10);
    SaveSettings();
    EXPECT_NE(ReadFileText(Settings.SettingsPath).find("\r\nCFG = 19\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, EverySettingSurvivesSaveAndLoad) {
    // A value unlike the default for every row, derived from the table.
    const std::vector<std::string> windowDefaults = AllValues();
    int n = 0;
    for (const SettingInfo& info : SettingsTable()) {
        ++n;
        std::string value;
        switch (info.type) {
            case SettingType::Text: value = std::string("v") + std::to_string(n) + " " + info.key + " \xC3\xA9"; break;
            case SettingType::Colour: value = "A1B2" + std::to_string(10 + n % 90); break;
            case SettingType::Int32: value = std::to_string(n % 2 ? 1000 + n : -1000 - n); break;
            case SettingType::Date: value = std::to_string(1600000000 + n); break;
            case SettingType::Int8: value = std::to_string(-1 - n % 100); break;
            case SettingType::Flag: value = SettingValueText(info) == "0" ? "1" : "0"; break;
            case SettingType::Float32: value = std::to_string(2.5 + n % 7 * 0.25); break;
        }
        StoreSettingText(info, value);
    }
    Settings.General.SaveWindowPosition = 1;  // otherwise [Window] is not written at all
    Settings.Window.IsMaximized = 1;
    std::vector<std::string> saved = AllValues();

    SaveSettings();
    SetPrimaryDisplaySize(800, 600);
    ApplyDefaults(false);
    std::vector<std::string> defaults = AllValues();
    LoadSettings();
    std::vector<std::string> loaded = AllValues();

    for (size_t i = 0; i < saved.size(); ++i) {
        const SettingInfo& info = SettingsTable()[i];
        if (info.field == &Settings.General.CFG) {
            EXPECT_EQ(loaded[i], "19");
        } else if (!IsOffered(info)) {  // not written, so it falls back
            EXPECT_EQ(loaded[i], defaults[i]) << info.group << " / " << info.key;
        } else {
            EXPECT_EQ(loaded[i], saved[i]) << info.group << " / " << info.key;
        }
        if (info.field != &Settings.General.CFG && info.field != &Settings.General.SaveWindowPosition) {
            EXPECT_NE(saved[i], windowDefaults[i]) << "test value equals default: " << info.key;
        }
    }
}

TEST_F(SettingsFileTest, WritesTheExactLayout) {
    Settings.General.UpdateDate = 1700000000;
    Settings.General.CFG = 7;  // always written as the current layout
    Settings.Adjustment.ImageGamma = -std::numeric_limits<float>::infinity();
    SaveSettings();
    const std::string text = ReadFileText(Settings.SettingsPath);
    EXPECT_EQ(text, SettingsFileText());
    const std::string start =
        "\xEF\xBB\xBF\r\n"
        "[General]\r\nCFG = 19\r\nLanguage = en\r\nUpdate Range = 2\r\nUpdate Date = 1700000000\r\n"
        "Save Window Position = 1\r\n; \r\n"
        "[Window]\r\nIsMaximized = 0\r\nWidth = 510\r\nHeight = 260\r\nX = 705\r\nY = 410\r\n; \r\n"
        "[Interface]\r\nUI Theme = handdrawn\r\nUI Size = 2\r\n; \r\n"
        "[Input]\r\nFormat = bmp\r\n; \r\n"
        "[Output]\r\nFormat = dds\r\nDDS BPP = 0\r\n; \r\n"
        "[Transform]\r\nDo Image Rotation = 0\r\n";
    EXPECT_EQ(text.substr(0, start.size()), start);
    EXPECT_NE(text.find("\r\nImage Gamma = -Infinity\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nImage Rotation Back Color = 000000\r\n"), std::string::npos);
    const std::string end = "[File]\r\nRecent Out Folders = \r\nRecent Files = \r\n; \r\n"
                            "[Privacy]\r\nClean Recent Files = 0\r\n; \r\n";
    ASSERT_GE(text.size(), end.size());
    EXPECT_EQ(text.substr(text.size() - end.size()), end);

    std::vector<std::string> groups;
    size_t keyLines = 0;
    for (size_t at = 5; at < text.size();) {
        size_t lineEnd = text.find("\r\n", at);
        ASSERT_NE(lineEnd, std::string::npos);
        std::string line = text.substr(at, lineEnd - at);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
        if (line[0] == '[') {
            groups.push_back(line);
        } else if (line != "; ") {
            ++keyLines;
            EXPECT_NE(line.find(" = "), std::string::npos) << line;
        }
        at = lineEnd + 2;
    }
    const std::vector<std::string> order = {"[General]", "[Window]", "[Interface]", "[Input]",
                                            "[Output]", "[Transform]", "[Adjustment]", "[Frame]",
                                            "[Watermark]", "[Advanced]", "[File]", "[Privacy]"};
    EXPECT_EQ(groups, order);
    size_t offered = 0;
    for (const SettingInfo& info : SettingsTable()) offered += IsOffered(info);
    EXPECT_EQ(keyLines, offered);
}

TEST_F(SettingsFileTest, WindowPositionOffLeavesTheGroupEmpty) {
    Settings.General.SaveWindowPosition = 0;
    Settings.Window = {1, 5, 6, 700, 500};
    SaveSettings();
    const std::string text = ReadFileText(Settings.SettingsPath);
    EXPECT_NE(text.find("\r\n; \r\n[Window]\r\n; \r\n[Interface]\r\n"), std::string::npos);
    LoadSettings();
    EXPECT_EQ(Settings.General.SaveWindowPosition, 0);
    EXPECT_EQ(Settings.Window.IsMaximized, 0);
    EXPECT_EQ(Settings.Window.X, 100);
    EXPECT_EQ(Settings.Window.Y, 100);
    EXPECT_EQ(Settings.Window.Width, 510);
    EXPECT_EQ(Settings.Window.Height, 260);
}

TEST_F(SettingsFileTest, LineBreaksInAValueCannotForgeKeys) {
    Settings.File.RecentFiles = "/a\r\n[Privacy]\r\nClean Recent Files = 1";
    Settings.Watermark.Text = "two\nlines";
    SaveSettings();
    LoadSettings();
    EXPECT_EQ(Settings.Privacy.CleanRecentFiles, 0);
    EXPECT_EQ(Settings.File.RecentFiles, "/a  [Privacy]  Clean Recent Files = 1");
    EXPECT_EQ(Settings.Watermark.Text, "two lines");
}

TEST_F(SettingsFileTest, HostileFilesLoadWithoutHarm) {
    std::string binary;
    uint32_t seed = 12345;
    for (int i = 0; i < 256 * 1024; ++i) {
        seed = seed * 1103515245u + 12345u;
        binary += static_cast<char>(seed >> 16);
    }
    std::string manyGroups;
    for (int i = 0; i < 200000; ++i) manyGroups += "[g" + std::to_string(i) + "]\n";
    std::string unclosed;  // each header's "]" is looked for within its own line only
    for (int i = 0; i < 60000; ++i) unclosed += "[x\n";
    const std::string longText(1 << 20, 'a');
    const struct {
        const char* name;
        std::string bytes;
        int width;
    } cases[] = {
        {"empty", "", 510},
        {"byte order mark only", "\xEF\xBB\xBF", 510},
        {"binary garbage", binary, 510},
        {"NUL bytes", std::string(4096, '\0') + "\n[Window]\nWidth=321\n", 321},
        {"lone brackets and signs", "[\n]\n=\n==\n[]\n;\n=Width\n[Window]\nWidth=322\n", 322},
        {"1 MB line without line end", "[Window]\nWidth=323\n[Watermark]\nText=" + longText, 323},
        {"1 MB key", "[Window]\nWidth=324\n" + longText + "=1\n", 324},
        {"duplicate groups", "[Window]\nWidth=325\n[General]\n[Window]\nWidth=1\n[window]\nHeight=1\n", 325},
        {"many groups", manyGroups + "[Window]\nWidth=1\n", 510},
        {"unclosed headers", unclosed + "[Window]\nWidth=328\n", 328},
        {"beyond the read limit", "[Window]\r\nWidth=326\r\n;" + std::string(kIniReadLimit, 'x') + "\r\nHeight=5\r\n",
         326},
    };
    for (const auto& c : cases) {
        ApplyDefaults(false);
        Load(c.bytes);
        EXPECT_EQ(Settings.Window.Width, c.width) << c.name;
        EXPECT_EQ(Settings.Window.Height, 260) << c.name;
        if (std::string(c.name) == "1 MB line without line end") {
            EXPECT_EQ(Settings.Watermark.Text, longText);
        }
        // Whatever was read, the file written back is well formed and reads back the same.
        SaveSettings();
        Settings.General.CFG = 19;  // the file just written has the current layout
        const std::vector<std::string> before = AllValues();
        LoadSettings();
        EXPECT_EQ(AllValues(), before) << c.name;
    }
}

TEST(IniReader, KeepsFirstOccurrencesInFileOrder) {
    const IniFile file = ParseIniText(
        "top=0\n[CLI]\n--width = 320\n--overwrite\n--WIDTH=640\n[Other]\nx=1\n[cli]\n--height=5\n[CLI]\n--quiet\n");
    const std::vector<std::vector<std::string>> expected = {
        {"", "top", "0"}, {"CLI", "--width", "320"}, {"CLI", "--overwrite", ""}, {"Other", "x", "1"}};
    ASSERT_EQ(file.lines.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(file.lines[i].group, expected[i][0]);
        EXPECT_EQ(file.lines[i].key, expected[i][1]);
        EXPECT_EQ(file.lines[i].value, expected[i][2]);
    }
    std::string value;
    EXPECT_TRUE(IniLookup(file, "cli", "--WIDTH", &value));
    EXPECT_EQ(value, "320");
    EXPECT_FALSE(IniLookup(file, "CLI", "--height", &value));
    EXPECT_FALSE(IniLookup(file, "Missing", "x", &value));
}

TEST(IniReader, StopsTakingEntriesAtTheLimit) {
    std::string text = "[G]\n";
    // Appended piece by piece: GCC 12 at -O3 takes "k" + std::to_string(i) for an overlapping copy.
    for (size_t i = 0; i < kIniEntryLimit + 10; ++i) text.append("k").append(std::to_string(i)).append("=1\n");
    const IniFile file = ParseIniText(text);
    EXPECT_EQ(file.lines.size(), kIniEntryLimit - 1);  // the header counts too
    std::string value;
    EXPECT_TRUE(IniLookup(file, "G", "k0", &value));
    EXPECT_FALSE(IniLookup(file, "G", "k" + std::to_string(kIniEntryLimit), &value));
}

TEST(IniReader, RefusesWhatIsNotARegularFile) {
    const std::string folder = ScratchFolder("ini-reader-kinds");
    IniFile file;
    EXPECT_FALSE(ReadIniFile(folder + "missing.ini", &file));
    EXPECT_FALSE(ReadIniFile(folder, &file));
    ASSERT_EQ(mkfifo((folder + "fifo").c_str(), 0600), 0);
    EXPECT_FALSE(ReadIniFile(folder + "fifo", &file));  // would block if opened
    WriteFileText(folder + "ok.ini", "[A]\nb=c\n");
    ASSERT_TRUE(ReadIniFile(folder + "ok.ini", &file));
    ASSERT_EQ(file.lines.size(), 1u);
    EXPECT_EQ(file.lines[0].value, "c");
}

TEST_F(SettingsFileTest, UnwritablePlacesAreLeftAloneSilently) {
    WriteFileText(folder_ + "plain", "not a folder");
    std::filesystem::create_directory(folder_ + "locked");
    chmod((folder_ + "locked").c_str(), 0555);
    const bool lockedRefuses = access((folder_ + "locked").c_str(), W_OK) != 0;  // root writes anyway
    std::filesystem::create_directory(folder_ + "frozen");
    WriteFileText(folder_ + "frozen/config.ini", "[Window]\nWidth=1\n");
    chmod((folder_ + "frozen/config.ini").c_str(), 0444);
    const struct {
        std::string path;
        std::string folder;  // checked for leftovers
        bool applies;
    } cases[] = {
        {folder_ + "missing/config.ini", folder_, true},
        {folder_ + "plain/config.ini", folder_, true},
        {folder_ + "locked/config.ini", folder_ + "locked", lockedRefuses},
        {folder_ + "frozen/config.ini", folder_ + "frozen", true},
        {"", folder_, true},
    };
    Settings.Window.Width = 777;
    for (const auto& c : cases) {
        if (!c.applies) continue;
        const std::vector<std::string> before = FilesIn(c.folder);
        const std::string old = ReadFileText(c.path);
        Settings.SettingsPath = c.path;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        SaveSettings();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << c.path;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.path;
        EXPECT_EQ(FilesIn(c.folder), before) << c.path;
        EXPECT_EQ(ReadFileText(c.path), old) << c.path;
    }
    chmod((folder_ + "locked").c_str(), 0755);
}

TEST_F(SettingsFileTest, ReplacesTheWholeFileAndKeepsALinkALink) {
    WriteFileText(Settings.SettingsPath, "; " + std::string(100000, 'x') + "\r\n[Other]\r\nkept=no\r\n");
    SaveSettings();
    EXPECT_EQ(ReadFileText(Settings.SettingsPath), SettingsFileText());
    EXPECT_EQ(FilesIn(folder_), std::vector<std::string>{"config.ini"});

    std::filesystem::create_directory(folder_ + "dotfiles");
    WriteFileText(folder_ + "dotfiles/kestrix.ini", "old");
    std::filesystem::remove(Settings.SettingsPath);
    std::filesystem::create_symlink(folder_ + "dotfiles/kestrix.ini", Settings.SettingsPath);
    Settings.Window.Width = 640;
    SaveSettings();
    EXPECT_TRUE(std::filesystem::is_symlink(Settings.SettingsPath));
    EXPECT_EQ(ReadFileText(folder_ + "dotfiles/kestrix.ini"), SettingsFileText());
    Settings.Window.Width = 1;
    LoadSettings();
    EXPECT_EQ(Settings.Window.Width, 640);
}

// Only a regular file is replaced. A fifo, a socket or a folder at config.ini, directly or behind a
// link, stays what it is, and nothing is written beside it.
TEST_F(SettingsFileTest, WhatIsNotARegularFileIsLeftAlone) {
    const std::string fifo = folder_ + "fifo", socketPath = folder_ + "socket", folder = folder_ + "folder";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_TRUE(CreateFolder(folder));
    const struct {
        const char* name;
        std::string target;
        bool linked;
        std::filesystem::file_type type;
    } cases[] = {
        {"link to a fifo", fifo, true, std::filesystem::file_type::fifo},
        {"link to a socket", socketPath, true, std::filesystem::file_type::socket},
        {"fifo", fifo, false, std::filesystem::file_type::fifo},
        {"folder", folder, false, std::filesystem::file_type::directory},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string link = folder_ + "config.ini";
        std::filesystem::remove(link);
        if (c.linked) std::filesystem::create_symlink(c.target, link);
        Settings.SettingsPath = c.linked ? link : c.target;
        const std::vector<std::string> before = FilesIn(folder_);
        SaveSettings();
        EXPECT_EQ(FilesIn(folder_), before);
        EXPECT_EQ(std::filesystem::status(c.target).type(), c.type);
        EXPECT_EQ(std::filesystem::is_symlink(link), c.linked);
    }
    close(listener);
}

TEST_F(SettingsFileTest, SavingKeepsTheFilesPermissions) {
    for (mode_t mode : {0600, 0640, 0664}) {
        WriteFileText(Settings.SettingsPath, "[Window]\r\nWidth=1\r\n");
        ASSERT_EQ(chmod(Settings.SettingsPath.c_str(), mode), 0);
        SaveSettings();
        struct stat saved;
        ASSERT_EQ(stat(Settings.SettingsPath.c_str(), &saved), 0);
        EXPECT_EQ(saved.st_mode & 07777, mode) << std::oct << mode;
        EXPECT_EQ(ReadFileText(Settings.SettingsPath), SettingsFileText());
    }
}

// A temporary name left behind by an earlier process with the same id is replaced, never written
// through: a link there must not carry the settings into the file it points at.
TEST_F(SettingsFileTest, ALeftoverTemporaryNameIsNotWrittenThrough) {
    WriteFileText(folder_ + "other.txt", "someone else's file");
    const std::string leftover = Settings.SettingsPath + ".tmp-" + std::to_string(getpid());
    ASSERT_EQ(symlink((folder_ + "other.txt").c_str(), leftover.c_str()), 0);
    SaveSettings();
    EXPECT_EQ(ReadFileText(folder_ + "other.txt"), "someone else's file");
    EXPECT_FALSE(std::filesystem::is_symlink(Settings.SettingsPath));
    EXPECT_EQ(ReadFileText(Settings.SettingsPath), SettingsFileText());
    EXPECT_EQ(FilesIn(folder_), (std::vector<std::string>{"config.ini", "other.txt"}));
}
