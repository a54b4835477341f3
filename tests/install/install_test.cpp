// The program as `cmake --install` lays it out: staged below a folder and a prefix with spaces, its
// program folder read-only, started directly, through its bin link and through a chain of links.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/identity.h"
#include "online/online.h"
#include "platform/platform.h"
#include "support/test_support.h"
#include "support/window_process.h"
#include "ui/theme_archive.h"
#include "ui/themes.h"

namespace {
const std::string kPrefix = "/opt/Quarvel apps/usr";
const std::string kAppId = "example.marrowfen.kestrix";

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// A listing of names, sizes, times and modes, to see that nothing was written or changed.
std::string Snapshot(const std::string& folder) {
    return RunCommand("cd " + Quoted(folder) + " && find . -printf '%p %s %T@ %m\\n' | sort").out;
}

std::string ValueOf(const std::string& text, const std::string& key) {
    size_t at = text.find("\n" + key + "=");
    if (at == std::string::npos) return "\x01 missing";
    at += key.size() + 2;
    return text.substr(at, text.find('\n', at) - at);
}

// True when the opaque pixels of `picture` show somewhere in `screen` (colours within a small
// tolerance, one pixel in a hundred may differ).
bool ShowsPicture(const Picture& screen, const Picture& picture) {
    std::vector<std::pair<int, int>> opaque;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (picture.rgba[(y * picture.width + x) * 4 + 3] == 255) opaque.push_back({x, y});
    if (opaque.size() < 20) return false;
    const size_t allowed = opaque.size() / 100;
    for (int top = 0; top + picture.height <= screen.height; ++top) {
        for (int left = 0; left + picture.width <= screen.width; ++left) {
            size_t misses = 0;
            for (const auto& [x, y] : opaque) {
                const uint8_t* want = &picture.rgba[(y * picture.width + x) * 4];
                const uint8_t* got = &screen.rgba[((top + y) * screen.width + left + x) * 4];
                if (std::abs(want[0] - got[0]) > 12 || std::abs(want[1] - got[1]) > 12 || std::abs(want[2] - got[2]) > 12)
                    if (++misses > allowed) break;
            }
            if (misses <= allowed) return true;
        }
    }
    return false;
}

class InstalledProgram : public testing::Test {
protected:
    static std::string stage_, root_, programFolder_;

    static void SetUpTestSuite() {
        stage_ = ScratchFolder("stage dir");
        root_ = stage_.substr(0, stage_.size() - 1) + kPrefix + "/";
        std::string build = FolderPart(QUARVEL_KESTRIX);
        CommandResult install =
            RunCommand("DESTDIR=" + Quoted(stage_) + " cmake --install " + Quoted(build) + " --prefix " + Quoted(kPrefix));
        ASSERT_EQ(install.exitStatus, 0) << install.out << install.err;
        programFolder_ = root_ + "lib/quarvel/";
        // Installed program folders are read-only; the program must not need to write there.
        ASSERT_EQ(RunCommand("chmod -R a-w " + Quoted(programFolder_)).exitStatus, 0);
    }
    static void TearDownTestSuite() { RunCommand("chmod -R u+w " + Quoted(stage_)); }

    void SetUp() override { ASSERT_TRUE(IsFolder(programFolder_)) << "the staged install failed"; }

    // The ways a user starts the installed program: its own path, the bin link, and a chain of two
    // more links, the last one under another name.
    std::vector<std::string> Starters() {
        std::string links = ScratchFolder("my links");
        EXPECT_EQ(symlink((root_ + "bin/kestrix").c_str(), (links + "first link").c_str()), 0);
        EXPECT_EQ(symlink((links + "first link").c_str(), (links + "qv").c_str()), 0);
        return {programFolder_ + "kestrix", root_ + "bin/kestrix", links + "qv"};
    }
};
std::string InstalledProgram::stage_, InstalledProgram::root_, InstalledProgram::programFolder_;

TEST_F(InstalledProgram, FilesLandWhereTheDesktopLooksWithSaneModes) {
    const struct {
        std::string path;
        mode_t mode;
    } files[] = {
        {"lib/quarvel/kestrix", 0555},  // read-only here: the suite took the write bits
        {"lib/quarvel/kestrix-window.so", 0444},
        {"lib/quarvel/kestrix-drawing.so", 0444},
        {"lib/quarvel/kestrix.html", 0444},
        {"lib/quarvel/gfx/handdrawn.zip", 0444},
        {"share/man/man1/kestrix.1.gz", 0644},
        {"share/applications/" + kAppId + ".desktop", 0644},
        {"share/metainfo/" + kAppId + ".metainfo.xml", 0644},
        {"share/doc/quarvel/copyright", 0644},
        {"share/doc/quarvel/changelog.gz", 0644},
    };
    for (const auto& file : files) {
        struct stat st {};
        ASSERT_EQ(lstat((root_ + file.path).c_str(), &st), 0) << file.path;
        EXPECT_TRUE(S_ISREG(st.st_mode)) << file.path;
        EXPECT_EQ(st.st_mode & 07777, file.mode) << file.path;
        EXPECT_GT(st.st_size, 0) << file.path;
    }
    // Nothing else in the program folder: it holds what the program looks for beside itself.
    EXPECT_EQ(RunCommand("cd " + Quoted(programFolder_) + " && find . -type f | sort").out,
              "./gfx/handdrawn.zip\n./kestrix\n./kestrix-drawing.so\n./kestrix-window.so\n./kestrix.html\n");

    // The bin link is relative, so the tree can be moved (DESTDIR, a package) and still work.
    char target[4096] = {};
    ASSERT_GT(readlink((root_ + "bin/kestrix").c_str(), target, sizeof target - 1), 0);
    EXPECT_STREQ(target, "../lib/quarvel/kestrix");

    for (int size : {16, 32, 48, 64, 128, 256}) {
        std::string side = std::to_string(size);
        std::string path = root_ + "share/icons/hicolor/" + side + "x" + side + "/apps/" + kAppId + ".png";
        Picture icon;
        ASSERT_TRUE(DecodePng(ReadFileText(path), &icon)) << path;
        EXPECT_EQ(icon.width, size);
        EXPECT_EQ(icon.height, size);
        int opaque = 0;
        for (size_t i = 3; i < icon.rgba.size(); i += 4) opaque += icon.rgba[i] == 255;
        EXPECT_GT(opaque, size * size / 3) << path;
        EXPECT_LT(opaque, size * size) << "an icon with no transparent corner looks like a tile: " << path;
    }

    CommandResult manual = RunCommand("man -l " + Quoted(root_ + "share/man/man1/kestrix.1.gz") + " | tr -s ' '");
    EXPECT_EQ(manual.exitStatus, 0) << manual.err;
    EXPECT_NE(manual.out.find("kestrix - convert a BMP image into a DDS texture"), std::string::npos) << manual.out;
}

TEST_F(InstalledProgram, MenuEntryAndMetainfoPassTheirValidators) {
    std::string desktop = root_ + "share/applications/" + kAppId + ".desktop";
    std::string metainfo = root_ + "share/metainfo/" + kAppId + ".metainfo.xml";
    CommandResult entryCheck = RunCommand("desktop-file-validate " + Quoted(desktop));
    EXPECT_EQ(entryCheck.exitStatus, 0) << entryCheck.out << entryCheck.err << "(scripts/install-deps installs it)";
    EXPECT_EQ(entryCheck.out + entryCheck.err, "");
    CommandResult metaCheck = RunCommand("appstreamcli validate --no-net --pedantic " + Quoted(metainfo));
    EXPECT_EQ(metaCheck.exitStatus, 0) << metaCheck.out << metaCheck.err << "(scripts/install-deps installs it)";

    std::string entry = "\n" + ReadFileText(desktop);
    EXPECT_EQ(ValueOf(entry, "Name"), kProductName);
    EXPECT_EQ(ValueOf(entry, "Exec"), "kestrix") << "any argument would start console mode";
    EXPECT_EQ(ValueOf(entry, "Icon"), kAppId);
    EXPECT_EQ(ValueOf(entry, "Categories"), "Graphics;2DGraphics;RasterGraphics;");
    EXPECT_EQ(ValueOf(entry, "StartupWMClass"), "kestrix");

    // The screenshot lives on the program's own web site.
    std::string meta = ReadFileText(metainfo);
    EXPECT_NE(meta.find(">" + HomePageAddress() + "main-window.png<"), std::string::npos) << meta;
    EXPECT_NE(meta.find("<launchable type=\"desktop-id\">" + kAppId + ".desktop<"), std::string::npos);
}

TEST_F(InstalledProgram, RunsFromEveryLinkAndConvertsWithoutWritingBesideItself) {
    std::string before = Snapshot(programFolder_);
    std::string work = ScratchFolder("work place");
    ASSERT_EQ(RunCommand("cp " + Quoted(std::string(QUARVEL_SOURCE_DIR) + "/samples/sample.bmp") + " " +
                         Quoted(work + "sample.bmp"))
                  .exitStatus,
              0);
    for (const std::string& program : Starters()) {
        SCOPED_TRACE(program);
        CommandResult version = RunCommand(Quoted(program) + " -V");
        EXPECT_EQ(version.exitStatus, 0);
        EXPECT_EQ(version.out, "2.9\n");

        std::string out = ScratchFolder("out put");
        CommandResult run = RunCommand("cd " + Quoted(work) + " && " + Quoted(program) + " -i " +
                                       Quoted(work + "sample.bmp") + " -o " + Quoted(out));
        EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
        std::string dds = ReadFileText(out + "sample.dds");
        EXPECT_GT(dds.size(), 128u);
        EXPECT_EQ(dds.substr(0, 4), "DDS ");
    }
    EXPECT_EQ(Snapshot(programFolder_), before);
}

// Window mode started through the renamed link of the chain: it finds the installed theme, names its
// window class as the menu entry says, and shows the program's icon. The same program copied without
// its gfx/ folder shows the built-in pictures, which proves the check can tell them apart.
TEST_F(InstalledProgram, WindowFindsTheInstalledThemeAndCarriesTheIcon) {
    if (!getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    for (const char* tool : {"xwininfo", "xprop", "import"})
        ASSERT_EQ(RunCommand(std::string("command -v ") + tool).exitStatus, 0) << tool << ": scripts/install-deps";
    std::string before = Snapshot(programFolder_);
    std::string themeless = ScratchFolder("no theme");
    ASSERT_EQ(RunCommand("cp " + Quoted(programFolder_ + "kestrix") + " " + Quoted(programFolder_ + "kestrix-window.so") +
                         " " + Quoted(themeless)).exitStatus,
              0);

    // The theme draws its toolbar pictures at the default icon size (32); the built-in set only has
    // 16-pixel pictures, which the window scales. The Convert button is the same picture in both.
    std::map<std::string, std::string> pictures;
    ASSERT_TRUE(ReadArchiveEntries(programFolder_ + "gfx/handdrawn.zip",
                                   {{"new_32.png", 1 << 20}, {"preferences_32.png", 1 << 20},
                                    {"button_convert.png", 1 << 20}},
                                   &pictures));
    std::map<std::string, Picture> wanted;
    for (const auto& [name, data] : pictures) ASSERT_TRUE(DecodePng(data, &wanted[name])) << name;
    ASSERT_EQ(wanted.size(), 3u);

    const std::string title = TitleText(kProductName, kVersionNumber, true);
    const struct {
        std::string program;
        bool themed;
    } runs[] = {{Starters().back(), true}, {themeless + "kestrix", false}};
    for (const auto& run : runs) {
        SCOPED_TRACE(run.program);
        RunCommand("rm -rf " + Quoted(SettingsFileFolder()));
        pid_t child = StartWindowMode(run.program);
        ASSERT_GT(child, 0);
        std::string window;
        WaitFor(
            [&] {
                CommandResult info = RunCommand("xwininfo -name " + Quoted(title));
                size_t at = info.out.find("Window id: ");
                if (at != std::string::npos) window = info.out.substr(at + 11, info.out.find(' ', at + 11) - at - 11);
                return !window.empty();
            },
            15000);
        EXPECT_FALSE(window.empty()) << "no window appeared";

        // The capture is retried while the window paints.
        std::map<std::string, bool> shown;
        std::string capture = ScratchFolder("capture") + "window.png";
        WaitFor(
            [&] {
                if (window.empty() || RunCommand("import -window " + window + " png:" + Quoted(capture)).exitStatus != 0)
                    return false;
                Picture screen;
                if (!DecodePng(ReadFileText(capture), &screen, 8192)) return false;
                for (const auto& [name, picture] : wanted) shown[name] = ShowsPicture(screen, picture);
                return shown["button_convert.png"] && shown["new_32.png"] == run.themed;
            },
            10000);
        EXPECT_TRUE(shown["button_convert.png"]) << "the window never showed its Convert button";
        for (const char* name : {"new_32.png", "preferences_32.png"}) EXPECT_EQ(shown[name], run.themed) << name;

        if (!window.empty()) {
            // Under load the properties can still be on their way when the first picture shows.
            std::string windowClass, icons;
            WaitFor(
                [&] {
                    windowClass = RunCommand("xprop -id " + window + " WM_CLASS").out;
                    icons = RunCommand("xprop -id " + window + " _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)'").out;
                    return windowClass.rfind("WM_CLASS(STRING)", 0) == 0 && !icons.empty();
                },
                10000);
            EXPECT_EQ(windowClass, "WM_CLASS(STRING) = \"kestrix\", \"kestrix\"\n");
            // The sizes task bars and window lists ask for (GDK leaves out the largest ones).
            for (const char* side : {"16", "32", "48"})
                EXPECT_NE(icons.find(std::string("Icon (") + side + " x " + side + ")"), std::string::npos) << icons;
        }
        kill(child, SIGTERM);
        int status = 0;
        ASSERT_TRUE(WaitForExit(child, &status, 10000));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(Snapshot(programFolder_), before);
}
}  // namespace
