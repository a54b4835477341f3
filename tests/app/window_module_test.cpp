// The window face as a module beside the program: console runs never load the window system, and
// window mode refuses a missing or broken module with a message instead of crashing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <sstream>
#include <string>

#include "platform/platform.h"
#include "support/test_support.h"

namespace {
const std::string kKestrix = QUARVEL_KESTRIX;
const std::string kModule = QUARVEL_WINDOW_MODULE;
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
    const struct {
        const char* name;
        std::string content;  // written as the module; "" with missing set leaves none
        bool missing;
        const char* problem;
    } cases[] = {
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
