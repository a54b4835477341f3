#include <gtest/gtest.h>

#include <ctime>
#include <regex>

#include "app/job.h"
#include "app/settings.h"
#include "engine/naming.h"
#include "platform/platform.h"

namespace {
void SetJob(const std::string& inputPath) {
    Job.InputPath = inputPath;
    Job.OutputFolder = "/out/";
    Job.RelativeSubfolder.clear();
    Job.OutputFormat = "dds";
    Job.OutputBitDepth = 32;
    Job.OutputWidth = 640;
    Job.OutputHeight = 480;
    Job.RandomNumber = 42;
    Job.NameCounter = 1;
}

std::string LocalClockText(const char* format) {
    time_t now = time(nullptr);
    struct tm local {};
    localtime_r(&now, &local);
    char text[64];
    strftime(text, sizeof text, format, &local);
    return text;
}
}  // namespace

TEST(ExpandFilenameMask, TurnsMaskAndInputIntoFileName) {
    struct Case {
        const char* mask;
        const char* input;
        int32_t counter;
        const char* expected;
    } cases[] = {
        {"%filename%.%ext%", "/in/Photo.BMP", 1, "Photo.dds"},
        {"", "/in/Photo.BMP", 1, "Photo.dds"},
        {"Tex_%FILENAME%_%n%.%ext%", "/in/Photo.bmp", 1, "tex_Photo_00001.dds"},
        {"%filename[t]%", "/in/mIxEd.bmp", 1, "Mixed"},
        {"%filename%", "/in/Photo.bmp", 1, "Photo"},
        {"%filename%.%ext%", "/in/a%ext%b.bmp", 1, "addsb.dds"},
        {"%filename%.%ext%", "/in/README", 1, "README.dds"},
        {"%filename%.%ext%", "/in/photo.final.bmp", 1, "photo.final.dds"},
        {"%filename%.%ext%", "/in/%FILENAME%.bmp", 1, "%FILENAME%.dds"},
        {"%FileName[U]%.%EXT[u]%", "/in/photo.bmp", 1, "PHOTO.DDS"},
        {"%filename[l]%.%ext[t]%", "/in/PhOtO.bmp", 1, "photo.Dds"},
        {"%filename[u]%-%filename[l]%", "/in/Café Été.bmp", 1, "CAFÉ ÉTÉ-café été"},
        {"%bpp%_%width%x%height%_%rnd%", "/in/p.bmp", 1, "32_640x480_00042"},
        {"%n%", "/in/p.bmp", 12345, "12345"},
        // A longer counter keeps all its digits, so it never repeats an earlier name.
        {"%n%", "/in/p.bmp", 123456, "123456"},
        {"%unknown%_%filename%", "/in/p.bmp", 1, "%unknown%_p"},
    };
    for (const Case& c : cases) {
        SetJob(c.input);
        Job.NameCounter = c.counter;
        Settings.Advanced.FilenameMask = c.mask;
        EXPECT_EQ(ExpandFilenameMask(), c.expected) << "mask " << c.mask << ", input " << c.input;
    }
}

TEST(ExpandFilenameMask, DateAndTimeTokensReadTheLocalClock) {
    SetJob("/in/p.bmp");
    Settings.Advanced.FilenameMask = "%YYYY%-%mm%-%dd% %hh%.%ii%.%ss%";
    std::string before = LocalClockText("%Y-%m-%d %H.%M.%S");
    std::string name = ExpandFilenameMask();
    std::string after = LocalClockText("%Y-%m-%d %H.%M.%S");
    EXPECT_TRUE(name == before || name == after) << name << " not between " << before << " and " << after;
}

TEST(TokenValue, GivesValuesOfTableTokensOnly) {
    SetJob("/in/mIxEd.name.bmp");
    EXPECT_EQ(TokenValue("%filename%"), "mIxEd.name");
    EXPECT_EQ(TokenValue("%FILENAME[T]%"), "Mixed.name");
    EXPECT_EQ(TokenValue("%ext[u]%"), "DDS");
    EXPECT_EQ(TokenValue("%rnd%"), "00042");
    EXPECT_EQ(TokenValue("%ext[l]%"), "");
    EXPECT_EQ(TokenValue("filename"), "");
    ASSERT_EQ(NameTokens().size(), 18u);
    EXPECT_STREQ(NameTokens().front().text, "%filename%");
    EXPECT_STREQ(NameTokens().back().text, "%n%");
}

TEST(StripExtension, RemovesOnlyTheLastExtension) {
    struct Case {
        const char* name;
        const char* expected;
    } cases[] = {
        {"photo.final.bmp", "photo.final"}, {"photo", "photo"}, {"", ""}, {"photo.", "photo"}, {".bmp", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(StripExtension(c.name), c.expected) << c.name;
}

TEST(UniqueTemporaryName, SpellsTheDateAndFiveRandomLetters) {
    int32_t before = NowLocalDate();
    std::string name = UniqueTemporaryName("kestrix", ".tmp");
    int32_t after = NowLocalDate();
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(name, parts, std::regex("kestrix([a-j]{10})([a-z]{5})\\.tmp"))) << name;
    int64_t date = 0;
    for (char letter : parts[1].str()) date = date * 10 + (letter - 'a');
    EXPECT_GE(date, before);
    EXPECT_LE(date, after);
    EXPECT_NE(UniqueTemporaryName("", ""), UniqueTemporaryName("", ""));  // 26^5 to one against a repeat
}

TEST(BuildOutputPath, PutsTheNameInTheOutputFolderAndSubfolderWhenKept) {
    Settings.Advanced.FilenameMask = "%filename%.%ext%";
    SetJob("/in/deep/Photo.bmp");
    Job.RelativeSubfolder = "deep/";
    Settings.Advanced.KeepSubfolders = 1;
    EXPECT_EQ(BuildOutputPath(), "/out/deep/Photo.dds");
    EXPECT_TRUE(std::regex_match(BuildTemporaryPath(), std::regex("/out/deep/kestrix[a-z]{15}\\.dds")));
    Settings.Advanced.KeepSubfolders = 0;
    EXPECT_EQ(BuildOutputPath(), "/out/Photo.dds");
    EXPECT_TRUE(std::regex_match(BuildTemporaryPath(), std::regex("/out/kestrix[a-z]{15}\\.dds")));
}

TEST(BuildOutputPath, NamesThatLeaveTheOutputFolderGiveNoPath) {
    struct Case {
        const char* mask;
        const char* input;
        const char* expected;  // "" when there is no output path
    } cases[] = {
        {"../victim.txt", "/in/p.bmp", ""},
        {"../../x_%filename%.%ext%", "/in/p.bmp", ""},
        {"/etc/%filename%", "/in/p.bmp", ""},
        {"sub/../../x.dds", "/in/p.bmp", ""},
        {"sub/..", "/in/p.bmp", ""},
        {"..", "/in/p.bmp", ""},
        {"%filename%", "/in/...bmp", ""},  // the input's own name is ".."
        {"%filename%/x.dds", "/in/...bmp", ""},
        {"sub/deeper/%filename%.%ext%", "/in/p.bmp", "/out/sub/deeper/p.dds"},
        {"./%filename%.%ext%", "/in/p.bmp", "/out/./p.dds"},
        {"..%filename%.%ext%", "/in/p.bmp", "/out/..p.dds"},
        {"%filename%..%ext%", "/in/p.bmp", "/out/p..dds"},
        {"%filename%.%ext%", "/in/..bmp", "/out/..dds"},
    };
    for (const Case& c : cases) {
        SetJob(c.input);
        Settings.Advanced.FilenameMask = c.mask;
        EXPECT_EQ(BuildOutputPath(), c.expected) << "mask " << c.mask << ", input " << c.input;
    }
}

TEST(ExpandFilenameMask, LongMasksExpandWholeOrFailForLength) {
    struct Case {
        size_t tokens;
        bool expands;
    } cases[] = {
        {100000, true},    // 500 000 characters
        {250000, false},   // the mask fits, its expansion does not
        {1000000, false},  // a 3 MB mask
    };
    SetJob("/in/p.bmp");
    for (const Case& c : cases) {
        std::string mask;
        for (size_t i = 0; i < c.tokens; ++i) mask += i % 2 ? "%N%" : "%n%";
        Settings.Advanced.FilenameMask = mask;
        std::string expected;
        if (c.expands)
            for (size_t i = 0; i < c.tokens; ++i) expected += "00001";
        EXPECT_TRUE(ExpandFilenameMask() == expected) << c.tokens << " tokens";
        EXPECT_EQ(BuildOutputPath().empty(), !c.expands) << c.tokens << " tokens";
    }
}

TEST(ExpandFilenameMask, ValuesAreExpandedOnlyByLaterTokens) {
    struct Case {
        const char* mask;
        const char* input;
        const char* expected;
    } cases[] = {
        // %ext% comes after %filename% in the table, %filename% before %ext[u]%.
        {"%filename%", "/in/a%EXT%b.bmp", "addsb"},
        {"%ext[u]%%filename%", "/in/%filename%.bmp", "DDS%filename%"},
        {"%filename%", "/in/x%n%%width%.bmp", "x00001640"},
        // A value never expands a second time for its own token.
        {"%filename%", "/in/%filename%%filename%.bmp", "%filename%%filename%"},
        // Text around a value can complete a later token.
        {"%%filename%t%", "/in/ex.bmp", "dds"},
    };
    for (const Case& c : cases) {
        SetJob(c.input);
        Settings.Advanced.FilenameMask = c.mask;
        EXPECT_EQ(ExpandFilenameMask(), c.expected) << "mask " << c.mask << ", input " << c.input;
    }
}
