// The window face and the drawing code as modules beside the program: console runs never load the
// window system, only runs that draw load cairo and pango, and a missing or broken module gives a
// message instead of a crash.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <sstream>
#include <string>

#include "engine/dds_check.h"
#include "engine/image_fixture.h"
#include "platform/platform.h"
#include "support/test_support.h"

namespace {
const std::string kKestrix = QUARVEL_KESTRIX;
const std::string kModule = QUARVEL_WINDOW_MODULE;
const std::string kDrawingModule = QUARVEL_DRAWING_MODULE;
const std::string kSample = std::string(QUARVEL_SOURCE_DIR) + "/samples/sample.bmp";

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// Without a display: a window mode that gets past the module ends at once instead of opening.
std::string Headless(const std::string& program) { return "env -u DISPLAY -u WAYLAND_DISPLAY " + Quoted(program); }

// Every shared object the dynamic loader opened during the run, including dlopen'ed ones.
std::string LoadedFiles(const std::string& arguments, int* status = nullptr) {
    const std::string log = ScratchFolder("ld-debug") + "log";
    CommandResult run = RunCommand("LD_DEBUG=files LD_DEBUG_OUTPUT=" + Quoted(log) + " " + Headless(kKestrix) + " " + arguments);
    if (status) *status = run.exitStatus;
    // The loader appends the process id to the output name.
    CommandResult cat = RunCommand("cat " + Quoted(log) + ".*");
    return cat.out;
}

bool LoadsWindowSystem(const std::string& loaded) {
    for (const char* name : {"libgtk-3", "libgdk-3", "libwx_", "kestrix-window"})
        if (loaded.find(name) != std::string::npos) return true;
    return false;
}

bool LoadsDrawing(const std::string& loaded) {
    for (const char* name : {"libcairo", "libpango", "libfontconfig", "kestrix-drawing"})
        if (loaded.find(name) != std::string::npos) return true;
    return false;
}

// A uniform grey picture: anything drawn on it shows against it.
std::string GreyPicture(const std::string& folder) {
    const std::string path = folder + "grey.bmp";
    ImagePtr image = MakeImage(64, 64, 24, {128, 128, 128});
    EXPECT_TRUE(FreeImage_Save(FIF_BMP, image.get(), path.c_str(), 0));
    return path;
}

bool Near(const Picture& picture, int x, int y, Rgb colour) {
    const int tolerance = 24;  // DXT1
    return std::abs(picture.At(x, y, 0) - colour.red) <= tolerance &&
           std::abs(picture.At(x, y, 1) - colour.green) <= tolerance &&
           std::abs(picture.At(x, y, 2) - colour.blue) <= tolerance;
}

int PixelsOffGrey(const Picture& picture) {
    int off = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) off += Near(picture, x, y, {128, 128, 128}) ? 0 : 1;
    return off;
}

// A module file that is not what the program wants, and what the program says of it.
struct BrokenModule {
    const char* name;
    std::string content;  // written as the module; "" with missing set leaves none
    bool missing;
    const char* problem;
};

// A copy of the program in a folder of its own, where the test puts whatever module it likes.
std::string ProgramCopy(const std::string& name) {
    const std::string folder = ScratchFolder(name);
    const std::string copy = folder + "kestrix";
    EXPECT_EQ(RunCommand("ln " + Quoted(kKestrix) + " " + Quoted(copy) + " 2>/dev/null || cp " + Quoted(kKestrix) + " " +
                         Quoted(copy))
                  .exitStatus,
              0);
    return copy;
}

// Data the module defines itself; a record of the program among them would be a second copy.
std::set<std::string> DefinedData(const std::string& file) {
    CommandResult symbols = RunCommand("nm -D --defined-only " + Quoted(file));
    std::set<std::string> names;
    std::istringstream lines(symbols.out);
    std::string address, type, name;
    while (lines >> address >> type >> name)
        if ((type == "B" || type == "D") && name != "__bss_start" && name != "_edata" && name != "_end")
            names.insert(name);
    return names;
}
}  // namespace

TEST(WindowModule, ConsoleRunsLoadNoWindowSystem) {
    int status = -1;
    std::string loaded = LoadedFiles("-V", &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(loaded.find("libIL"), std::string::npos) << "the loader log must list what was loaded";
    EXPECT_FALSE(LoadsWindowSystem(loaded)) << loaded;

    const std::string out = ScratchFolder("console-out");
    loaded = LoadedFiles("-q -i " + Quoted(kSample) + " -o " + Quoted(out), &status);
    EXPECT_EQ(status, 0);
    EXPECT_GT(FileSize(out + "sample.dds"), 0);
    EXPECT_FALSE(LoadsWindowSystem(loaded)) << loaded;

    loaded = LoadedFiles("-i", &status);  // an option error
    EXPECT_EQ(status, 2);
    EXPECT_FALSE(LoadsWindowSystem(loaded)) << loaded;

    // The same log shows the window system when window mode starts, so the checks above can fail.
    loaded = LoadedFiles("", &status);
    EXPECT_TRUE(LoadsWindowSystem(loaded));
}

TEST(WindowModule, FoundBesideTheProgramThroughAChainOfLinks) {
    const std::string folder = ScratchFolder("links");
    ASSERT_EQ(symlink(kKestrix.c_str(), (folder + "second").c_str()), 0);
    ASSERT_EQ(symlink((folder + "second").c_str(), (folder + "first").c_str()), 0);
    // Past the module, window mode finds no display: proof the module was found and loaded.
    CommandResult run = RunCommand(Headless(folder + "first"));
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "Error: Unable to open the main window (no display?)\n");
}

TEST(WindowModule, BrokenModuleFailsWindowModeAndSparesTheConsole) {
    const std::string moduleData = ReadFileText(kModule);
    ASSERT_GT(moduleData.size(), 100000u);
    const BrokenModule cases[] = {
        {"missing", "", true, "is missing"},
        {"empty", "", false, "is not a window module of this program"},
        {"text", "not a module\n", false, "is not a window module of this program"},
        {"truncated", moduleData.substr(0, moduleData.size() / 2), false, "is truncated"},
        {"cut-at-the-end", moduleData.substr(0, moduleData.size() - 1), false, "is truncated"},
        {"other-build", ReadFileText(QUARVEL_OTHER_BUILD_MODULE), false, "belongs to another build of this program"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string program = ProgramCopy(std::string("broken-") + c.name);
        const std::string module = FolderPart(program) + "kestrix-window.so";
        if (!c.missing) WriteFileText(module, c.content);

        CommandResult window = RunCommand(Headless(program));
        EXPECT_EQ(window.exitStatus, 1);
        EXPECT_EQ(window.out, "");
        EXPECT_EQ(window.err, "Error: The window module " + module + " " + c.problem + "\n");

        CommandResult version = RunCommand(Quoted(program) + " -V");
        EXPECT_EQ(version.exitStatus, 0);
        EXPECT_EQ(version.out, "2.9\n");
    }
    // One conversion beside a broken module: the console never looks at it.
    const std::string program = ProgramCopy("broken-convert");
    WriteFileText(FolderPart(program) + "kestrix-window.so", "not a module\n");
    const std::string out = ScratchFolder("broken-convert-out");
    CommandResult convert = RunCommand(Quoted(program) + " -q -i " + Quoted(kSample) + " -o " + Quoted(out));
    EXPECT_EQ(convert.exitStatus, 0) << convert.err;
    EXPECT_GT(FileSize(out + "sample.dds"), 0);
}

TEST(WindowModule, AFolderOrAnUnreadableFileIsRefused) {
    const std::string program = ProgramCopy("module-folder");
    const std::string module = FolderPart(program) + "kestrix-window.so";
    ASSERT_EQ(mkdir(module.c_str(), 0755), 0);
    CommandResult run = RunCommand(Headless(program));
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "Error: The window module " + module + " is not a window module of this program\n");

    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    const std::string other = ProgramCopy("module-unreadable");
    const std::string locked = FolderPart(other) + "kestrix-window.so";
    WriteFileText(locked, ReadFileText(kModule));
    ASSERT_EQ(chmod(locked.c_str(), 0), 0);
    run = RunCommand(Headless(other));
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "Error: The window module " + locked + " cannot be read (Permission denied)\n");
}

// The module takes Settings, Job and every other record from the program: a copy of its own would
// be constructed over the program's at load time and leave the window and the engine apart.
TEST(WindowModule, HoldsNoCopyOfTheProgramsRecords) {
    const std::set<std::string> program = DefinedData(kKestrix);
    ASSERT_TRUE(program.count("Settings")) << "the program exports its records";
    ASSERT_TRUE(program.count("Job"));
    for (const std::string& name : DefinedData(kModule)) EXPECT_FALSE(program.count(name)) << name;
}

TEST(DrawingModule, LoadedOnlyByRunsThatDraw) {
    const std::string folder = ScratchFolder("drawing-runs");
    const std::string input = GreyPicture(folder);
    const struct {
        const char* name;
        std::string arguments;  // after "-q -i <grey> -o <out>"; "" for "-V" alone
        bool draws;
    } cases[] = {
        {"version", "", false},
        {"plain", " ", false},
        {"frame", "--fr-solid-top=8 --fr-solid-top-color=FF0000", true},
        {"text watermark", "--wm-text=WWWW --wm-font-size=28 --wm-font-color=000000 --wm-back-opacity=0", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string out = ScratchFolder(std::string("drawing-") + c.name);
        int status = -1;
        const std::string loaded =
            LoadedFiles(c.arguments.empty() ? "-V" : "-q -i " + Quoted(input) + " -o " + Quoted(out) + " " + c.arguments,
                        &status);
        EXPECT_EQ(status, 0);
        EXPECT_NE(loaded.find("libIL"), std::string::npos) << "the loader log must list what was loaded";
        EXPECT_EQ(LoadsDrawing(loaded), c.draws) << loaded;
        if (c.arguments.empty()) continue;

        const std::vector<Picture> levels = ReadDdsLevels(out + "grey.dds");
        ASSERT_EQ(levels.size(), 7u);
        const Picture& top = levels[0];
        if (!c.draws) {
            EXPECT_EQ(PixelsOffGrey(top), 0);
        } else if (c.name == std::string("frame")) {
            EXPECT_TRUE(Near(top, 32, 2, {255, 0, 0}));
            EXPECT_TRUE(Near(top, 32, 32, {128, 128, 128}));
        } else {
            EXPECT_GT(PixelsOffGrey(top), 100);  // the dark letters
        }
    }
}

TEST(DrawingModule, BrokenModuleFailsDrawingRunsAndSparesPlainOnes) {
    const std::string input = GreyPicture(ScratchFolder("drawing-broken-input"));
    const BrokenModule cases[] = {
        {"missing", "", true, "is missing"},
        {"text", "not a module\n", false, "is not a drawing module of this program"},
        {"truncated", ReadFileText(kDrawingModule).substr(0, 4096), false, "is truncated"},
        {"the window module", ReadFileText(kModule), false, "belongs to another build of this program"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string program = ProgramCopy(std::string("drawing-broken-") + c.name);
        const std::string module = FolderPart(program) + "kestrix-drawing.so";
        if (!c.missing) WriteFileText(module, c.content);
        const std::string moduleLine = "Error: The drawing module " + module + " " + c.problem + "\n";
        const std::string out = ScratchFolder(std::string("drawing-broken-out-") + c.name);
        const std::string run = Quoted(program) + " -q -i " + Quoted(input) + " -o " + Quoted(out) + " ";

        CommandResult text = RunCommand(run + "--wm-text=Hi");
        EXPECT_EQ(text.exitStatus, 1);
        EXPECT_EQ(text.err, moduleLine + "Error: Invalid watermark font\n");

        // No check stands before the frame: the file itself fails, and nothing is written.
        CommandResult frame = RunCommand(run + "--fr-solid-top=8");
        EXPECT_EQ(frame.exitStatus, 1);
        EXPECT_EQ(frame.err, moduleLine);
        EXPECT_EQ(FileSize(out + "grey.dds"), kFileMissing);

        CommandResult image = RunCommand(run + "--wm-image=" + Quoted(input));
        EXPECT_EQ(image.exitStatus, 1);
        EXPECT_EQ(image.err, moduleLine);
        EXPECT_EQ(FileSize(out + "grey.dds"), kFileMissing);

        CommandResult plain = RunCommand(run);
        EXPECT_EQ(plain.exitStatus, 0) << plain.err;
        EXPECT_EQ(plain.err, "");
        EXPECT_GT(FileSize(out + "grey.dds"), 0);
    }
}

TEST(DrawingModule, HoldsNoCopyOfTheProgramsRecords) {
    const std::set<std::string> program = DefinedData(kKestrix);
    ASSERT_TRUE(program.count("WatermarkFont")) << "the program holds the font record";
    for (const std::string& name : DefinedData(kDrawingModule)) EXPECT_FALSE(program.count(name)) << name;
}
