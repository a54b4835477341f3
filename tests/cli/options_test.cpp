#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/job.h"
#include "app/settings.h"
#include "app/settings_file.h"
#include "cli/keywords.h"
#include "cli/options.h"
#include "support/test_support.h"

namespace {
// One expected setting after parsing, as the settings file would write it.
struct Expect {
    const char* group;
    const char* key;
    std::string text;
};

std::string SettingText(const char* group, const char* key) {
    const SettingInfo* info = FindSetting(group, key);
    return info ? SettingValueText(*info) : "<no such setting>";
}

std::vector<std::string> SnapshotSettings() {
    std::vector<std::string> values;
    for (const SettingInfo& info : SettingsTable()) values.push_back(SettingValueText(info));
    return values;
}

class Options : public ::testing::Test {
protected:
    void SetUp() override {
        folder = ScratchFolder("options");
        ASSERT_FALSE(folder.empty());
        Reset();
    }

    // A fresh console start, as each process has one; the job keeps its run mode over a reset.
    void Reset() {
        ResetJob();
        Job.RunModeText.clear();
        ApplyDefaults(true);
        ConsoleQuiet = false;
        ConsolePause = false;
        ConsoleArguments.clear();
    }

    std::string Parse(const std::vector<std::string>& arguments) {
        ConsoleArguments = arguments;
        return ParseOptions();
    }

    std::string WriteProfile(const std::string& name, const std::string& text) {
        std::string path = folder + name;
        WriteFileText(path, text);
        return path;
    }

    std::string folder;
};

TEST(OptionTable, HasEveryNameOnceAndEveryTargetResolves) {
    std::set<std::string> names, keys;
    for (const OptionInfo& option : OptionTable()) {
        EXPECT_TRUE(names.insert(option.name).second) << option.name;
        if (option.shortName) {
            EXPECT_TRUE(names.insert(option.shortName).second) << option.shortName;
        }
        std::string key = ProfileKey(option);
        if (!key.empty()) {
            EXPECT_TRUE(keys.insert(key).second) << key;
        }
        EXPECT_EQ(FindOption(option.name), &option);
        if (option.target != OptionTarget::Setting) continue;

        const SettingInfo* setting = FindSetting(option.group, option.key);
        ASSERT_NE(setting, nullptr) << option.name;
        const SettingType type = setting->type;
        switch (option.kind) {
            case OptionKind::Flag:
            case OptionKind::Integer:
            case OptionKind::Keyword:
                EXPECT_TRUE(type == SettingType::Int32 || type == SettingType::Int8 || type == SettingType::Flag ||
                            type == SettingType::Date)
                    << option.name;
                break;
            case OptionKind::Decimal: EXPECT_EQ(type, SettingType::Float32) << option.name; break;
            case OptionKind::Text:
                EXPECT_TRUE(type == SettingType::Text || type == SettingType::Colour) << option.name;
                break;
        }
        if (option.kind == OptionKind::Keyword) {
            EXPECT_TRUE(option.keywordList >= 0 && option.keywordList < kKeywordListCount && option.keywordList != 14 &&
                        option.keywordList != 15)
                << option.name;
        }
        if (option.switchKey) {
            EXPECT_NE(FindSetting(option.group, option.switchKey), nullptr) << option.name;
        }
    }
    EXPECT_EQ(names.size(), 118u);
    EXPECT_EQ(keys.size(), 105u);
    EXPECT_NE(FindProfileKey("--WM-SOLID-OPACITY"), nullptr);
    EXPECT_EQ(FindProfileKey("--FR-SOLID-OPACITY"), nullptr);
    EXPECT_EQ(FindOption("--WM-SOLID-OPACITY"), nullptr);
    for (const char* excluded : {"--INPUT", "-I", "--OUTPUT", "-O", "--CONVERSION", "-C", "--PROFILE", "--DEBUG", "-D",
                                 "--QUIET", "-Q", "--PAUSE", "-P"})
        EXPECT_EQ(FindProfileKey(excluded), nullptr) << excluded;
}

// The manual names every option in full, so a reader who searches it for one finds it.
TEST(OptionTable, ManualNamesEveryOption) {
    std::string manual = ReadFileText(QUARVEL_SOURCE_DIR "/docs/kestrix.1");
    ASSERT_FALSE(manual.empty());
    for (size_t at = manual.find("\\-"); at != std::string::npos; at = manual.find("\\-", at)) manual.erase(at, 1);
    for (char& c : manual) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    auto named = [&manual](std::string name) {
        for (char& c : name) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        for (size_t at = manual.find(name); at != std::string::npos; at = manual.find(name, at + 1)) {
            char after = at + name.size() < manual.size() ? manual[at + name.size()] : ' ';
            if (!isalnum(static_cast<unsigned char>(after)) && after != '-') return true;
        }
        return false;
    };
    for (const OptionInfo& option : OptionTable()) {
        EXPECT_TRUE(named(option.name)) << option.name;
        if (option.shortName) {
            EXPECT_TRUE(named(option.shortName)) << option.shortName;
        }
        if (!ProfileKey(option).empty()) {
            EXPECT_TRUE(named(ProfileKey(option))) << ProfileKey(option);
        }
    }
}

TEST(ParseOptionInteger, ReadsSignHexBinaryAndKeepsTheLow32Bits) {
    const std::pair<std::string, int32_t> cases[] = {
        {"640", 640},
        {"$280", 640},
        {"$ff", 255},
        {"-$10", -16},
        {"%101", 5},
        {"-%11", -3},
        {" \t42", 42},
        {"+7", 7},
        {"-20", -20},
        {"12abc", 12},
        {"%102", 2},
        {"$1G", 1},
        {"abc", 0},
        {"", 0},
        {"$", 0},
        {"%", 0},
        {"-", 0},
        {"--5", 0},
        {"- 5", 0},
        {"0x10", 0},
        {"4294967936", 640},
        {"$FFFFFFFF", -1},
        {"2147483648", std::numeric_limits<int32_t>::min()},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"99999999999999999999999", -159383553},
        {"-4294967297", -1},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseOptionInteger(text), value) << "'" << text << "'";
}

TEST(ParseOptionDecimal, TakesOnlyAWholeNumber) {
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<std::string, float> cases[] = {
        {"1.5", 1.5f}, {" 2.25 ", 2.25f}, {"+3", 3.0f}, {"-0.5", -0.5f}, {".5", 0.5f}, {"5.", 5.0f},
        {"25e-1", 2.5f}, {"1E+1", 10.0f}, {"1e0000000000000000001", 10.0f}, {"1e99999999999", inf},
        {"1e-99999999999", 0.0f}, {"-INFINITY", -inf}, {"+infinity", inf},
        // Trailing or foreign text makes the whole value no number.
        {"1,5", 0.0f}, {"2x", 0.0f}, {"1.5.2", 0.0f}, {"1e", 0.0f}, {"1e+", 0.0f}, {"1 5", 0.0f}, {"0x10", 0.0f},
        {".", 0.0f}, {"-", 0.0f}, {"", 0.0f}, {"e5", 0.0f}, {"inf", 0.0f}, {"Infinity", 0.0f}, {"NaNx", 0.0f},
        {"\"1.5\"", 0.0f},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseOptionDecimal(text), value) << "'" << text << "'";
    EXPECT_TRUE(std::isnan(ParseOptionDecimal(" nan ")));
}

TEST_F(Options, NamesAndValuesComeFromTrimmedArguments) {
    ConsoleArguments = {"  --Width=640 ", "-i", "--wm-text=a=b", "plain", "--flag", "  "};
    const std::pair<std::string, std::string> expected[] = {
        {"--WIDTH", "640"}, {"-I", "-i"}, {"--WM-TEXT", "a=b"}, {"", "plain"}, {"--FLAG", "--flag"}, {"", ""}, {"", ""},
    };
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(OptionName(i), expected[i].first) << i;
        EXPECT_EQ(OptionValue(i), expected[i].second) << i;
    }
}

struct SettingCase {
    std::vector<std::string> arguments;
    std::vector<Expect> expect;
};

TEST_F(Options, ConvertsEachKindAndWritesSwitchesFirst) {
    const SettingCase cases[] = {
        {{"--width=$280"}, {{"Transform", "Image Width", "640"}, {"Transform", "Do Image Resize", "1"}}},
        {{"--WiDtH=100"}, {{"Transform", "Image Width", "100"}}},
        {{"--width=letters"}, {{"Transform", "Image Width", "0"}, {"Transform", "Do Image Resize", "1"}}},
        {{"--height=%1010"}, {{"Transform", "Image Height", "10"}}},
        {{"--brightness=-20"}, {{"Adjustment", "Image Brightness", "-20"}, {"Adjustment", "Do Image Color Correction", "1"}}},
        {{"--invert=0"}, {{"Adjustment", "Image Invert", "1"}, {"Adjustment", "Do Image Color Correction", "1"}}},
        {{"--gamma=2.5"}, {{"Adjustment", "Image Gamma", "2.500000"}, {"Adjustment", "Do Image Color Correction", "1"}}},
        {{"--gamma=+Infinity"}, {{"Adjustment", "Image Gamma", "+Infinity"}}},
        {{"--gamma=-INFINITY"}, {{"Adjustment", "Image Gamma", "-Infinity"}}},
        {{"--gamma=nan"}, {{"Adjustment", "Image Gamma", "NaN"}}},
        {{"--gamma=two"}, {{"Adjustment", "Image Gamma", "0.000000"}}},
        {{"--gamma=1,5"}, {{"Adjustment", "Image Gamma", "0.000000"}}},
        {{"--dither=bayer8"}, {{"Adjustment", "Image Dither Algorithm", "2"}, {"Adjustment", "Do Image Dither", "1"}}},
        {{"--dither=nosuch"}, {{"Adjustment", "Image Dither Algorithm", "0"}, {"Adjustment", "Do Image Dither", "1"}}},
        {{"--resize-algorithm=Lanczos"}, {{"Transform", "Image Resize Algorithm", "5"}}},
        {{"--wm-text-position= bottomleft"}, {{"Watermark", "Text Position", "6"}}},
        {{"--png-compression=PIZ"}, {{"Output", "PNG Compression", "2"}}},
        {{"--raw-load-as=48hs"}, {{"Input", "RAW Load As", "4"}}},
        {{"--threshold=128"}, {{"Adjustment", "Image Threshold", "128"}, {"Adjustment", "Do Image Threshold", "1"}}},
        {{"--rotation=90"}, {{"Transform", "Image Rotation", "90"}, {"Transform", "Do Image Rotation", "1"}}},
        {{"--fr-solid-top=5"}, {{"Frame", "Solid Top", "5"}, {"Frame", "Do Frame", "1"}}},
        {{"--fr-solid-left-color=FF0000"}, {{"Frame", "Solid Left Color", "FF0000"}, {"Frame", "Do Frame", "0"}}},
        {{"--fr-solid-opacity=128"}, {{"Frame", "Solid Opacity", "128"}}},
        {{"--wm-solid-opacity=128"}, {{"Frame", "Solid Opacity", "255"}}},
        {{"--wm-text=\"Hello world\""}, {{"Watermark", "Text", "Hello world"}, {"Watermark", "Do Watermark", "1"}}},
        {{"--wm-text=a=b"}, {{"Watermark", "Text", "a=b"}}},
        {{"--wm-text=say \"hi\""}, {{"Watermark", "Text", "say \"hi\""}}},
        {{"--wm-text= two  blanks"}, {{"Watermark", "Text", " two  blanks"}}},
        {{"--wm-text=x", "--wm-image=/tmp/w.png"}, {{"Watermark", "Do Watermark", "2"}, {"Watermark", "Image", "/tmp/w.png"}}},
        {{"--wm-image=/tmp/w.png", "--wm-text=x"}, {{"Watermark", "Do Watermark", "1"}}},
        {{"--no-subfolders"}, {{"Advanced", "Keep Subfolders", "0"}}},
        {{"--keep-aspect-ratio"}, {{"Transform", "Keep Aspect Ratio", "1"}}},
        {{"--png-interlaced=0"}, {{"Output", "PNG Interlaced", "1"}}},
        {{"--file-timestamp=original", "--file-timestamp-custom=$10"},
         {{"Advanced", "File Timestamp", "1"}, {"Advanced", "Custom Timestamp", "16"}}},
        {{"--dds-bpp=32", "--xpm-bpp=8"}, {{"Output", "DDS BPP", "32"}, {"Output", "XPM BPP", "8"}}},
        {{"--width=320", "--width=640"}, {{"Transform", "Image Width", "640"}}},
    };
    for (const SettingCase& c : cases) {
        Reset();
        EXPECT_EQ(Parse(c.arguments), "") << c.arguments[0];
        for (const Expect& e : c.expect)
            EXPECT_EQ(SettingText(e.group, e.key), e.text) << c.arguments[0] << " -> [" << e.group << "] " << e.key;
    }
}

TEST_F(Options, Int8SettingsKeepTheLowByte) {
    const OptionInfo row{.name = "--TEST", .kind = OptionKind::Integer, .group = "Advanced", .key = "Out Folders Number"};
    const std::pair<const char*, const char*> cases[] = {{"300", "44"}, {"-129", "127"}, {"$1FF", "-1"}, {"127", "127"}};
    for (const auto& [value, stored] : cases) {
        EXPECT_EQ(ApplyOption(row, value), "");
        EXPECT_EQ(SettingText("Advanced", "Out Folders Number"), stored) << value;
    }
}

struct JobCase {
    std::vector<std::string> arguments;
    std::string input, output, format, runMode;
    bool quiet, pause;
};

TEST_F(Options, FillsTheJobAndConsoleFlags) {
    const JobCase cases[] = {
        {{"-i", "photo.bmp"}, "photo.bmp", "", "", "", false, false},
        {{"--INPUT=/tmp/a b.bmp"}, "/tmp/a b.bmp", "", "", "", false, false},
        {{"-i", "\"/tmp/q.bmp\""}, "/tmp/q.bmp", "", "", "", false, false},
        {{"-I", "x.bmp", "-o", "/out", "-c", "dds"}, "x.bmp", "/out", "dds", "", false, false},
        {{"--output=/o", "--conversion=png", "-d", "-q", "-p"}, "", "/o", "png", "DEBUG", true, true},
        {{"--debug=0", "--quiet=no", "--pause=x"}, "", "", "", "DEBUG", true, true},
        {{"-i", "a.bmp", "-h", "-v"}, "a.bmp", "", "", "", false, false},
    };
    for (const JobCase& c : cases) {
        Reset();
        EXPECT_EQ(Parse(c.arguments), "") << c.arguments[0];
        EXPECT_EQ(Job.InputFolder, c.input) << c.arguments[0];
        EXPECT_EQ(Job.ConsoleMode, !c.input.empty()) << c.arguments[0];
        EXPECT_EQ(Job.OutputFolder, c.output) << c.arguments[0];
        EXPECT_EQ(Job.OutputFormat, c.format) << c.arguments[0];
        EXPECT_EQ(Job.RunModeText, c.runMode) << c.arguments[0];
        EXPECT_EQ(ConsoleQuiet, c.quiet) << c.arguments[0];
        EXPECT_EQ(ConsolePause, c.pause) << c.arguments[0];
    }
}

TEST_F(Options, ShortFormConsumesTheNextArgument) {
    EXPECT_EQ(Parse({"-c", "dds", "-i", "--width=5"}), kIncorrectParameters);
    EXPECT_EQ(Job.OutputFormat, "dds");
    EXPECT_EQ(Job.InputFolder, "");

    Reset();
    // "-q" after "-i" is the file name's place only when it does not look like an option.
    EXPECT_EQ(Parse({"-i", "in.bmp", "-q"}), "");
    EXPECT_TRUE(ConsoleQuiet);
    EXPECT_EQ(Job.InputFolder, "in.bmp");
}

struct ErrorCase {
    std::vector<std::string> arguments;
    const char* error;
};

TEST_F(Options, MissingOrOptionLikeValuesAreErrors) {
    const ErrorCase cases[] = {
        {{"-i"}, kIncorrectParameters},
        {{"-i", "-photo.bmp"}, kIncorrectParameters},
        {{"-i", "--output=/tmp"}, kIncorrectParameters},
        {{"-i", "   "}, kIncorrectParameters},
        {{"-o"}, kIncorrectParameters},
        {{"-o", "-d"}, kIncorrectParameters},
        {{"-c", "--debug"}, kIncorrectParameters},
        {{"-c", "dds", "-o"}, kIncorrectParameters},
        {{"--input"}, kIncorrectParameters},
        {{"--input="}, kIncorrectParameters},
        {{"--input=-x.bmp"}, kIncorrectParameters},
        {{"--width"}, kIncorrectParameters},
        {{"--width="}, kIncorrectParameters},
        {{"--width= "}, kIncorrectParameters},
        {{"--width=--5"}, kIncorrectParameters},
        {{"--wm-text=--x"}, kIncorrectParameters},
        {{"--dither"}, kIncorrectParameters},
        {{"--gamma"}, kIncorrectParameters},
        {{"--profile"}, kIncorrectParameters},
        {{"--profile=/no/such/profile.ini"}, kInvalidProfile},
        {{"--profile=/"}, kInvalidProfile},
        {{"--profile=/dev/null/x"}, kInvalidProfile},
    };
    for (const ErrorCase& c : cases) {
        Reset();
        EXPECT_EQ(Parse(c.arguments), c.error) << c.arguments[0] << (c.arguments.size() > 1 ? " " + c.arguments[1] : "");
    }
}

TEST_F(Options, AnErrorStopsTheLoopAndKeepsEarlierValues) {
    EXPECT_EQ(Parse({"--width=5", "--height", "--brightness=3", "-q", "-p", "-d"}), kIncorrectParameters);
    EXPECT_EQ(Settings.Transform.ImageWidth, 5);
    EXPECT_EQ(Settings.Adjustment.ImageBrightness, 0);
    EXPECT_EQ(Settings.Adjustment.DoImageColorCorrection, 0);
    EXPECT_FALSE(ConsoleQuiet);
    EXPECT_FALSE(ConsolePause);
    EXPECT_EQ(Job.RunModeText, "");
}

TEST_F(Options, UnknownArgumentsAreIgnored) {
    const std::vector<std::string> before = SnapshotSettings();
    EXPECT_EQ(Parse({"photo.bmp", "--unknown=5", "-x", "-", "--", "=", "-i=a.bmp", "--width =5", "-h", "--help", "-v"}),
              "");
    EXPECT_EQ(SnapshotSettings(), before);
    EXPECT_FALSE(Job.ConsoleMode);
    EXPECT_EQ(Job.InputFolder, "");
}

TEST_F(Options, ArgumentsOfAnyLengthOrBytesAreSafe) {
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> arguments;
        const size_t count = next() % 8;
        for (size_t a = 0; a < count; ++a) {
            std::string argument;
            const OptionInfo& option = OptionTable()[next() % OptionTable().size()];
            if (next() % 2) argument = std::string(option.name) + (next() % 2 ? "=" : "");
            const size_t length = next() % 40;
            for (size_t b = 0; b < length; ++b) argument += static_cast<char>(next() >> 24);
            arguments.push_back(argument);
        }
        Reset();
        const std::string error = Parse(arguments);
        EXPECT_TRUE(error.empty() || error == kIncorrectParameters || error == kInvalidProfile) << error;
    }

    Reset();
    const std::string huge(4 << 20, '\xff');
    EXPECT_EQ(Parse({"--wm-text=" + huge, std::string(1 << 20, '-'), "-i", huge}), "");
    EXPECT_EQ(Settings.Watermark.Text, huge);
    EXPECT_EQ(Job.InputFolder, huge);
}

TEST_F(Options, ProfileAppliesAtItsPositionAndLaterWins) {
    const std::string profile = WriteProfile("width.ini", "\xEF\xBB\xBF\r\n[CLI]\r\n--WIDTH = 320\r\n;\r\n");
    EXPECT_EQ(Parse({"--profile=" + profile, "--width=640"}), "");
    EXPECT_EQ(Settings.Transform.ImageWidth, 640);

    Reset();
    EXPECT_EQ(Parse({"--width=640", "--PROFILE=" + profile}), "");
    EXPECT_EQ(Settings.Transform.ImageWidth, 320);
    EXPECT_EQ(Settings.Transform.DoImageResize, 1);

    Reset();
    EXPECT_EQ(Parse({"--profile=\"" + profile + "\""}), "");
    EXPECT_EQ(Settings.Transform.ImageWidth, 320);
}

TEST_F(Options, ProfileKnowsTheFrameOpacityOnlyUnderItsOwnKey) {
    const std::string fr = WriteProfile("fr.ini", "[CLI]\n--FR-SOLID-OPACITY=10\n");
    EXPECT_EQ(Parse({"--profile=" + fr}), "");
    EXPECT_EQ(Settings.Frame.SolidOpacity, 255);

    const std::string wm = WriteProfile("wm.ini", "[CLI]\n--WM-SOLID-OPACITY=10\n");
    EXPECT_EQ(Parse({"--profile=" + wm}), "");
    EXPECT_EQ(Settings.Frame.SolidOpacity, 10);
}

TEST_F(Options, ProfileReadsKeysLikeTheCommandLine) {
    const std::string profile = WriteProfile(
        "all.ini",
        "[Other]\n--HEIGHT=11\n"
        "[cli]\n"
        "  --height = 200 \n"
        "--Dither=Bayer16\n"
        "--invert\n"
        "--GREYSCALE=0\n"
        "--FILENAME-MASK = \"  %filename% copy.%ext%\"\n"
        "--WM-TEXT=\"say \"hi\"\"\n"
        "--WM-FONT=  Liberation Sans  \n"
        "--ROTATION=$5A\n"
        "--HEIGHT=999\n"
        "--nonsense=1\n"
        "; --WIDTH=5\n");
    EXPECT_EQ(Parse({"--profile=" + profile}), "");
    EXPECT_EQ(Settings.Transform.ImageHeight, 200);
    EXPECT_EQ(Settings.Transform.DoImageResize, 1);
    EXPECT_EQ(Settings.Transform.ImageWidth, 0);
    EXPECT_EQ(Settings.Adjustment.ImageDitherAlgorithm, 3);
    EXPECT_EQ(Settings.Adjustment.ImageInvert, 1);
    EXPECT_EQ(Settings.Adjustment.DoImageGreyscale, 1);
    EXPECT_EQ(Settings.Advanced.FilenameMask, "  %filename% copy.%ext%");
    EXPECT_EQ(Settings.Watermark.Text, "say \"hi\"");
    EXPECT_EQ(Settings.Watermark.Font, "Liberation Sans");
    EXPECT_EQ(Settings.Transform.ImageRotation, 90);
}

TEST_F(Options, ProfileCannotNameFilesConsoleBehaviourOrAnotherProfile) {
    const std::string other = WriteProfile("other.ini", "[CLI]\n--WIDTH=77\n");
    const std::string profile = WriteProfile("console.ini", "[CLI]\n--INPUT=a.bmp\n-I=a.bmp\n--OUTPUT=/o\n-C=png\n"
                                                            "--CONVERSION=png\n--DEBUG\n-Q\n--QUIET\n--PAUSE\n"
                                                            "--PROFILE=" + other + "\n=a.bmp\n");
    EXPECT_EQ(Parse({"--profile=" + profile}), "");
    EXPECT_FALSE(Job.ConsoleMode);
    EXPECT_EQ(Job.InputFolder, "");
    EXPECT_EQ(Job.OutputFolder, "");
    EXPECT_EQ(Job.OutputFormat, "");
    EXPECT_EQ(Job.RunModeText, "");
    EXPECT_FALSE(ConsoleQuiet);
    EXPECT_FALSE(ConsolePause);
    EXPECT_EQ(Settings.Transform.ImageWidth, 0);
}

TEST_F(Options, ProfileWithoutCliGroupChangesNothing) {
    const std::vector<std::string> before = SnapshotSettings();
    for (const std::string& text : {std::string(), std::string("[General]\n--WIDTH=5\n"), std::string("[CLI]\n"),
                                    std::string("--WIDTH=5\n[CLIX]\n--WIDTH=5\n")}) {
        const std::string profile = WriteProfile("empty.ini", text);
        EXPECT_EQ(Parse({"--profile=" + profile}), "") << text;
        EXPECT_EQ(SnapshotSettings(), before) << text;
    }
}

TEST_F(Options, MissingProfileStopsBeforeLaterArguments) {
    EXPECT_EQ(Parse({"-p", "--width=5", "--profile=" + folder + "missing.ini", "-q", "--height=5"}), kInvalidProfile);
    EXPECT_TRUE(ConsolePause);
    EXPECT_FALSE(ConsoleQuiet);
    EXPECT_EQ(Settings.Transform.ImageWidth, 5);
    EXPECT_EQ(Settings.Transform.ImageHeight, 0);
}

TEST_F(Options, ProfilesAreReadFromPipesAndFoldersAreRefused) {
    // What a shell's "--profile=<(...)" hands over: a pipe another process writes.
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    std::thread writer([&] {
        const std::string text = "[CLI]\n--WIDTH=5\n--GAMMA=2.5\n";
        EXPECT_EQ(write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
        close(ends[1]);
    });
    EXPECT_EQ(Parse({"--profile=/dev/fd/" + std::to_string(ends[0])}), "");
    writer.join();
    close(ends[0]);
    EXPECT_EQ(Settings.Transform.ImageWidth, 5);
    EXPECT_EQ(Settings.Adjustment.ImageGamma, 2.5f);

    // A named pipe is read once its writer comes.
    Reset();
    const std::string fifo = folder + "fifo.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::thread named([&] { WriteFileText(fifo, "[CLI]\n--HEIGHT=9\n"); });
    EXPECT_EQ(Parse({"--profile=" + fifo}), "");
    named.join();
    EXPECT_EQ(Settings.Transform.ImageHeight, 9);

    for (const std::string& path : {std::string(), folder, folder + "missing.ini"}) {
        EXPECT_FALSE(LoadProfile(path)) << path;
        EXPECT_EQ(Parse({"--profile=" + path}), path.empty() ? kIncorrectParameters : kInvalidProfile) << path;
    }
}

TEST_F(Options, ProfilesBeyondTheReadersBoundsAreRefusedWhole) {
    struct Oversized {
        const char* what;
        std::string path;
    };
    std::string crowded = "[CLI]\n--WIDTH=7\n";
    for (size_t i = 0; i < kIniEntryLimit; ++i) crowded += "--KEY-" + std::to_string(i) + "=1\n";
    const Oversized cases[] = {
        {"one byte above the size cap",
         WriteProfile("big.ini", "[CLI]\n--WIDTH=7\n--X=" + std::string(kIniReadLimit, 'y'))},
        {"an endless device", "/dev/zero"},
        {"more entries than the reader takes", WriteProfile("crowded.ini", crowded + "--HEIGHT=7\n")},
    };
    for (const Oversized& c : cases) {
        Reset();
        EXPECT_EQ(Parse({"--profile=" + c.path, "--height=3"}), kInvalidProfile) << c.what;
        EXPECT_EQ(Settings.Transform.ImageWidth, 0) << c.what;  // nothing of it applied
        EXPECT_EQ(Settings.Transform.ImageHeight, 0) << c.what;
    }
    // Exactly at the cap is still a profile.
    Reset();
    const std::string head = "[CLI]\n--WIDTH=7\n--X=";
    EXPECT_EQ(Parse({"--profile=" + WriteProfile("full.ini", head + std::string(kIniReadLimit - head.size(), 'y'))}), "");
    EXPECT_EQ(Settings.Transform.ImageWidth, 7);
}

TEST_F(Options, BinaryHugeAndCrowdedProfilesAreRead) {
    // Binary noise with a group hidden inside it.
    std::string binary;
    uint32_t seed = 7;
    for (int i = 0; i < 65536; ++i) binary += static_cast<char>((seed = seed * 1103515245u + 12345u) >> 24);
    binary += "\n[CLI]\n--WIDTH=77\n";
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((seed = seed * 1103515245u + 12345u) >> 24);
    EXPECT_EQ(Parse({"--profile=" + WriteProfile("binary.ini", binary)}), "");
    EXPECT_EQ(Settings.Transform.ImageWidth, 77);

    // A huge file of one long line after the keys that matter.
    Reset();
    std::string huge = "[CLI]\n--HEIGHT=123\n--WM-TEXT=" + std::string(2 << 20, 'x') + "\n--X=" + std::string(12 << 20, 'y');
    EXPECT_EQ(Parse({"--profile=" + WriteProfile("huge.ini", huge)}), "");
    EXPECT_EQ(Settings.Transform.ImageHeight, 123);
    EXPECT_EQ(Settings.Watermark.Text.size(), size_t{2} << 20);

    // Thousands of keys, the known one last.
    Reset();
    std::string crowded = "[CLI]\n";
    for (int i = 0; i < 5000; ++i) crowded += "--KEY-" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    crowded += "--BRIGHTNESS=-40\n";
    EXPECT_EQ(Parse({"--profile=" + WriteProfile("crowded.ini", crowded)}), "");
    EXPECT_EQ(Settings.Adjustment.ImageBrightness, -40);
    EXPECT_EQ(Settings.Adjustment.DoImageColorCorrection, 1);
}
}  // namespace
