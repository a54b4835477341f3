#include "ui/themes.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <set>
#include <string>

#include "app/identity.h"
#include "app/job.h"
#include "app/settings.h"
#include "platform/platform.h"
#include "support/test_support.h"
#include "theme_fixtures.h"

namespace {
// A program folder of our own with an empty gfx/ in it; the sets start from the built-in pictures.
class ThemeTest : public testing::Test {
protected:
    void SetUp() override {
        ApplyDefaults(false);
        program_ = ScratchFolder("program");
        ASSERT_FALSE(program_.empty());
        ASSERT_TRUE(CreateFolder(program_ + "gfx"));
        Job.ProgramFolder = program_;
        ThemeCatalogue.clear();
        LoadBuiltInPictures();
    }
    std::string Archive(const std::string& theme) const { return program_ + "gfx/" + theme + ".zip"; }
    std::string program_;
};

bool IsSolid(const Picture& picture, int side, uint8_t r, uint8_t g, uint8_t b) {
    if (picture.width != side || picture.height != side) return false;
    for (size_t i = 0; i < picture.rgba.size(); i += 4)
        if (picture.rgba[i] != r || picture.rgba[i + 1] != g || picture.rgba[i + 2] != b) return false;
    return true;
}

bool SamePicture(const Picture& a, const Picture& b) {
    return a.width == b.width && a.height == b.height && a.rgba == b.rgba;
}

long PeakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
}  // namespace

TEST(IniValue, ReadsAsTheThemeFileRuleSays) {
    struct Case {
        const char* text;
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"[Theme]\r\nName=Hand Drawn\r\n", "Theme", "Name", "Hand Drawn"},
        {"[theme]\r\nNAME=Blue\r\n", "Theme", "Name", "Blue"},                     // case-blind section and key
        {"[Icons]\r\nNew=x\r\n", "Theme", "Name", ""},                              // no such section
        {"[Theme]\r\nA=1\r\n[Icons]\r\nName=x\r\n", "Theme", "Name", ""},          // key only in a later section
        {"[Icons]\r\nNewFolder=nf\r\nNew=n\r\n", "Icons", "New", "nf"},             // a longer key matches first
        {"[Icons]\r\nNew=n\r\nNewFolder=nf\r\n", "Icons", "New", "n"},
        {"[Theme]\r\nName=Last line", "Theme", "Name", ""},                        // no CR LF after the line
        {"[Theme]\r\nName=a=b\r\n", "Theme", "Name", "a"},                          // up to the next "="
        {"[Theme]\r\nName=  Dark\t\r\n", "Theme", "Name", "Dark"},
        {"[Theme]\r\nName\r\n", "Theme", "Name", ""},                               // no "=" at all
        {"[Theme]\r\nName=\r\n", "Theme", "Name", ""},
        {"[Theme]\nName=lf only\n", "Theme", "Name", ""},                           // lines must end with CR LF
        {"", "Theme", "Name", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(IniValue(c.text, c.section, c.key), c.value) << c.text;
}

TEST(IconPixelSize, CodesToPixels) {
    const std::pair<int, int> cases[] = {{0, 16}, {1, 24}, {2, 32}, {3, 48}, {4, 64}, {5, 16}, {7, 16}, {-1, 16}};
    for (auto [code, pixels] : cases) EXPECT_EQ(IconPixelSize(code), pixels) << code;
}

TEST(DecodePng, DecodesAndRefusesWhatItShould) {
    Picture picture;
    ASSERT_TRUE(DecodePng(SolidPng(3, 2, 10, 20, 30), &picture));
    EXPECT_EQ(picture.width, 3);
    EXPECT_EQ(picture.height, 2);
    ASSERT_EQ(picture.rgba.size(), 24u);
    EXPECT_EQ(picture.rgba[4], 10);
    EXPECT_EQ(picture.rgba[7], 255);

    Picture untouched;
    std::string png = SolidPng(8, 8, 1, 2, 3);
    EXPECT_FALSE(DecodePng("not a png at all", &untouched));
    EXPECT_FALSE(DecodePng(png.substr(0, png.size() / 2), &untouched));   // cut short
    EXPECT_FALSE(DecodePng(SolidPng(2000, 1, 0, 0, 0), &untouched));       // wider than the cap
    EXPECT_TRUE(DecodePng(SolidPng(2000, 1, 0, 0, 0), &untouched, 2000));
    Picture unchanged;
    EXPECT_FALSE(DecodePng("", &unchanged));
    EXPECT_EQ(unchanged.width, 0);
    EXPECT_TRUE(unchanged.rgba.empty());
}

TEST(BuiltInPictures, EveryKeyHasItsOwnPictureOfTheRightSize) {
    LoadBuiltInPictures();
    for (const auto& [key, number] : MainImages()) {
        int side = key == "Convert" ? 64 : 48;
        ASSERT_TRUE(PictureSets.Main.count(key)) << key;
        EXPECT_EQ(PictureSets.Main[key].width, side) << key;
        EXPECT_EQ(PictureSets.Main[key].height, side) << key;
    }
    std::set<std::string> distinct;  // the pixels as bytes: GCC 12 at -O3 misjudges a set of vectors
    for (const auto& [key, number] : MenuIcons()) {
        ASSERT_TRUE(PictureSets.Menu.count(key)) << key;
        const Picture& icon = PictureSets.Menu[key];
        EXPECT_EQ(icon.width, 16) << key;
        EXPECT_EQ(icon.height, 16) << key;
        int opaque = 0;
        for (size_t i = 3; i < icon.rgba.size(); i += 4) opaque += icon.rgba[i] > 128;
        EXPECT_GT(opaque, 40) << key << " is nearly empty";
        distinct.insert(std::string(icon.rgba.begin(), icon.rgba.end()));
        EXPECT_TRUE(SamePicture(PictureSets.Toolbar[key], icon)) << key;
    }
    EXPECT_EQ(distinct.size(), MenuIcons().size()) << "two keys share one drawing";
    EXPECT_EQ(PictureSets.Menu.size(), MenuIcons().size());
    EXPECT_EQ(PictureSets.Banner.width, 360);
    EXPECT_EQ(PictureSets.Banner.height, 40);
    EXPECT_EQ(PictureSets.Spare.width, 270);
    EXPECT_EQ(PictureSets.Spare.height, 75);
}

// The default theme the build places beside the executable.
TEST_F(ThemeTest, HanddrawnThemeBesideTheProgramHasEveryPicture) {
    std::string folder = FolderPart(QUARVEL_KESTRIX);
    std::string archive = folder + "gfx/handdrawn.zip";
    ASSERT_GT(FileSize(archive), 0) << archive;
    EXPECT_EQ(RunCommand("unzip -tq '" + archive + "'").exitStatus, 0);  // another tool reads it too

    Job.ProgramFolder = folder;
    ScanThemes();
    ASSERT_TRUE(ThemeCatalogue.count("handdrawn"));
    EXPECT_EQ(ThemeCatalogue["handdrawn"], "Hand Drawn");

    // Start from blank sets, so every picture below must have come from the archive.
    PictureSets = PictureSetsRecord{};
    Settings.Interface.UITheme = "handdrawn";
    for (int code = 0; code <= 4; ++code) {
        Settings.Interface.UISize = code;
        ApplyTheme(code == 0, code == 0, true);
        int side = IconPixelSize(code);
        for (const auto& [key, number] : ToolbarIcons()) {
            EXPECT_EQ(PictureSets.Toolbar[key].width, side) << key;
            EXPECT_EQ(PictureSets.Toolbar[key].height, side) << key;
        }
    }
    for (const auto& [key, number] : MenuIcons()) EXPECT_EQ(PictureSets.Menu[key].width, 16) << key;
    EXPECT_EQ(PictureSets.Main["Convert"].width, 64);
    EXPECT_EQ(PictureSets.Main["InFiles"].width, 48);
    EXPECT_EQ(PictureSets.Main["InFolder"].width, 48);
    EXPECT_EQ(Settings.Interface.UITheme, "handdrawn");
}

TEST_F(ThemeTest, BaseNameServesMenuAt16AndToolbarAtItsSize) {
    ASSERT_TRUE(ZipTheme(Archive("plain"), {{"theme.cfg", "[Theme]\r\nName=Plain\r\n[Icons]\r\nNew=new_btn\r\n"},
                                            {"new_btn_16.png", SolidPng(16, 16, 255, 0, 0)},
                                            {"new_btn_32.png", SolidPng(32, 32, 0, 0, 255)}}));
    Picture builtInAdd = PictureSets.Menu["Add"];
    Settings.Interface.UITheme = "plain";
    Settings.Interface.UISize = 2;
    ApplyTheme(true, true, true);
    EXPECT_TRUE(IsSolid(PictureSets.Menu["New"], 16, 255, 0, 0));
    EXPECT_TRUE(IsSolid(PictureSets.Toolbar["New"], 32, 0, 0, 255));
    EXPECT_TRUE(SamePicture(PictureSets.Menu["Add"], builtInAdd));  // not in the theme: kept

    // Only the toolbar follows a new icon size; a size the theme lacks keeps the picture before.
    Settings.Interface.UISize = 4;
    ApplyTheme(false, false, true);
    EXPECT_TRUE(IsSolid(PictureSets.Toolbar["New"], 32, 0, 0, 255));
    Settings.Interface.UISize = 0;
    ApplyTheme(false, false, true);
    EXPECT_TRUE(IsSolid(PictureSets.Toolbar["New"], 16, 255, 0, 0));
}

TEST_F(ThemeTest, UpperCasePngIsAFullNameLookedUpExactly) {
    ASSERT_TRUE(ZipTheme(Archive("upper"), {{"theme.cfg", "[Icons]\r\nNew=Pic.PNG\r\nAdd=PIC.PNG\r\n"
                                                          "[Buttons]\r\nConvert=Big.Png\r\n"},
                                            {"Pic.PNG", SolidPng(16, 16, 0, 255, 0)},
                                            {"pic.png", SolidPng(16, 16, 9, 9, 9)},
                                            {"Big.Png", SolidPng(64, 64, 1, 2, 3)}}));
    Picture builtInAdd = PictureSets.Menu["Add"];
    Settings.Interface.UITheme = "upper";
    Settings.Interface.UISize = 3;
    ApplyTheme(true, true, true);
    EXPECT_TRUE(IsSolid(PictureSets.Menu["New"], 16, 0, 255, 0));
    EXPECT_TRUE(IsSolid(PictureSets.Toolbar["New"], 16, 0, 255, 0));  // a full name ignores the size
    EXPECT_TRUE(SamePicture(PictureSets.Menu["Add"], builtInAdd));     // "PIC.PNG" is not "Pic.PNG"
    EXPECT_TRUE(IsSolid(PictureSets.Main["Convert"], 64, 1, 2, 3));
}

TEST_F(ThemeTest, DeletedThemeSwitchesToACataloguedOneAndStoresIt) {
    for (const char* theme : {"alpha", "beta"}) {
        ASSERT_TRUE(ZipTheme(Archive(theme), {{"theme.cfg", "[Icons]\r\nNew=n\r\n"},
                                              {"n_16.png", SolidPng(16, 16, theme[0] == 'a' ? 10 : 20, 0, 0)}}));
    }
    ScanThemes();
    ASSERT_EQ(ThemeCatalogue.size(), 2u);
    Settings.Interface.UITheme = "deleted";
    ApplyTheme(true, true, true);
    EXPECT_EQ(Settings.Interface.UITheme, "beta");
    EXPECT_TRUE(IsSolid(PictureSets.Menu["New"], 16, 20, 0, 0));

    // Nothing catalogued: the setting and the built-in pictures stay.
    ThemeCatalogue.clear();
    LoadBuiltInPictures();
    Picture builtInNew = PictureSets.Menu["New"];
    Settings.Interface.UITheme = "deleted";
    ApplyTheme(true, true, true);
    EXPECT_EQ(Settings.Interface.UITheme, "deleted");
    EXPECT_TRUE(SamePicture(PictureSets.Menu["New"], builtInNew));
}

TEST_F(ThemeTest, DisplayNameComesFromTheFirst255Bytes) {
    std::string filler;
    while (filler.size() < 300) filler += "Padding=" + std::string(20, 'x') + "\r\n";
    struct Case {
        const char* theme;
        std::string config;
        std::string display;
    };
    const Case cases[] = {
        {"early", "[Theme]\r\nName=Early Bird\r\n[Icons]\r\n" + filler, "Early Bird"},
        {"late", "[Icons]\r\n" + filler + "[Theme]\r\nName=Late\r\n", ""},
        {"noname", "[Theme]\r\nAuthor=me\r\n", ""},
        {"latin", "[Theme]\r\nName=Caf\xE9\r\n", "Caf\xC3\xA9"},  // 8-bit text shown as UTF-8
    };
    for (const Case& c : cases) ASSERT_TRUE(ZipTheme(Archive(c.theme), {{"theme.cfg", c.config}}));
    ScanThemes();
    for (const Case& c : cases) EXPECT_EQ(ThemeCatalogue[c.theme], c.display) << c.theme;
}

TEST_F(ThemeTest, BrokenArchivesKeepTheirNameAndChangeNoPicture) {
    std::string good = program_ + "good.zip";
    ASSERT_TRUE(ZipTheme(good, {{"theme.cfg", "[Theme]\r\nName=Good\r\n[Icons]\r\nNew=n\r\n"},
                                {"n_16.png", SolidPng(16, 16, 1, 1, 1)},
                                {"filler.bin", std::string(4000, 'f')}}));
    std::string bytes = ReadFileText(good);
    WriteFileText(Archive("text"), "[Theme]\r\nName=Not a zip\r\n");
    WriteFileText(Archive("truncated"), bytes.substr(0, bytes.size() / 2));
    WriteFileText(Archive("empty"), "");
    std::string damaged = bytes;  // the end record is intact, the directory behind it is not
    size_t directory = damaged.rfind("PK\x01\x02");
    ASSERT_NE(directory, std::string::npos);
    damaged[directory + 3] = '\x09';
    WriteFileText(Archive("damaged"), damaged);
    ASSERT_TRUE(CreateFolder(Archive("folder")));
    ASSERT_TRUE(ZipTheme(Archive("nocfg"), {{"new_16.png", SolidPng(16, 16, 5, 5, 5)}, {"_16.png", "x"}}));
    WriteFileText(program_ + "gfx/readme.txt", "not a theme");

    ScanThemes();
    std::map<std::string, std::string> expected = {
        {"text", "text"}, {"truncated", "truncated"}, {"empty", "empty"}, {"damaged", "damaged"}, {"nocfg", ""}};
    EXPECT_EQ(ThemeCatalogue, expected);

    Picture builtInNew = PictureSets.Menu["New"];
    for (const auto& [theme, display] : expected) {
        Settings.Interface.UITheme = theme;
        ApplyTheme(true, true, true);
        EXPECT_EQ(Settings.Interface.UITheme, theme);
        EXPECT_TRUE(SamePicture(PictureSets.Menu["New"], builtInNew)) << theme;
        EXPECT_EQ(PictureSets.Menu.size(), MenuIcons().size()) << theme;
    }
}

TEST_F(ThemeTest, HandMadeZipFixtureIsARealZip) {
    std::string path = program_ + "zeros.zip";
    WriteZeroZip(path, {{"a.bin", 3u << 20}});
    CommandResult listing = RunCommand("unzip -tq '" + path + "' && unzip -p '" + path + "' a.bin | wc -c");
    EXPECT_EQ(listing.exitStatus, 0) << listing.out << listing.err;
    EXPECT_NE(listing.out.find(std::to_string(3u << 20)), std::string::npos) << listing.out;
}

// Entries of 1 GiB are listed but never uncompressed, and an entry whose archive understates its
// size is read no further than the size it claims.
TEST_F(ThemeTest, OversizedEntriesAreSkipped) {
    const uint64_t gib = 1ull << 30;
    WriteZeroZip(Archive("huge"), {{"theme.cfg", gib}, {"_16.png", gib}, {"_32.png", gib, 100}});
    WriteZeroZip(Archive("hugepng"), {{"theme.cfg", 0, -1, "[Theme]\r\nName=Huge\r\n[Icons]\r\nNew=big\r\nAdd=liar\r\n"},
                                      {"big_16.png", gib},
                                      {"liar_16.png", gib, 100}});
    ASSERT_LT(FileSize(Archive("huge")), 4 << 20);

    long before = PeakResidentKilobytes();
    ScanThemes();
    EXPECT_EQ(ThemeCatalogue["huge"], "");  // its first 255 bytes are zeros
    EXPECT_EQ(ThemeCatalogue["hugepng"], "Huge");

    Picture builtInNew = PictureSets.Menu["New"], builtInAdd = PictureSets.Menu["Add"];
    for (const char* theme : {"huge", "hugepng"}) {
        Settings.Interface.UITheme = theme;
        Settings.Interface.UISize = 2;
        ApplyTheme(true, true, true);
        EXPECT_TRUE(SamePicture(PictureSets.Menu["New"], builtInNew)) << theme;
        EXPECT_TRUE(SamePicture(PictureSets.Menu["Add"], builtInAdd)) << theme;
        EXPECT_TRUE(SamePicture(PictureSets.Toolbar["Add"], builtInAdd)) << theme;
    }
    EXPECT_LT(PeakResidentKilobytes() - before, 200 * 1024) << "an oversized entry was uncompressed";
}

TEST_F(ThemeTest, MissingThemeFolderLeavesTheBuiltInPictures) {
    Job.ProgramFolder = program_ + "nowhere/";
    ScanThemes();
    EXPECT_TRUE(ThemeCatalogue.empty());
    Picture builtInConvert = PictureSets.Main["Convert"];
    ApplyTheme(true, true, true);
    EXPECT_EQ(Settings.Interface.UITheme, "handdrawn");
    EXPECT_TRUE(SamePicture(PictureSets.Main["Convert"], builtInConvert));
    EXPECT_EQ(PictureSets.Toolbar.size(), ToolbarIcons().size());
}
