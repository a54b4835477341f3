// "-T" and "-U" as a user starts them: the real program, under the test's display.
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <string>

#include "online/online.h"
#include "support/test_support.h"

namespace {
const std::string kKestrix = QUARVEL_KESTRIX;

struct PictureSize {
    int width = 0;
    int height = 0;
};

PictureSize JpegSize(const std::string& path) {
    PictureSize size;
    if (FreeImage_GetFileType(path.c_str(), 0) != FIF_JPEG) return size;
    if (FIBITMAP* picture = FreeImage_Load(FIF_JPEG, path.c_str(), 0)) {
        size.width = static_cast<int>(FreeImage_GetWidth(picture));
        size.height = static_cast<int>(FreeImage_GetHeight(picture));
        FreeImage_Unload(picture);
    }
    return size;
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }
}  // namespace

TEST(ScreenshotMode, WritesTheWindowAndItsSmallCopy) {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "needs a display: run under xvfb-run";
    std::string folder = ScratchFolder("shots");
    // The folder is given without its trailing "/".
    CommandResult result = RunCommand("'" + kKestrix + "' -T '" + folder.substr(0, folder.size() - 1) + "'");
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    PictureSize large = JpegSize(folder + "kestrix1.jpg");
    PictureSize small = JpegSize(folder + "kestrix1x.jpg");
    EXPECT_EQ(large.width, 510);
    ASSERT_GT(large.height, 0);
    EXPECT_EQ(small.width, 180);
    EXPECT_EQ(small.height, static_cast<int>(std::lround(180.0 * large.height / large.width)));
    // Nothing settles in the settings: console mode never touches config.ini.
    EXPECT_FALSE(Exists(std::string(getenv("XDG_CONFIG_HOME")) + "/Marrowfen/kestrix/config.ini"));
}

TEST(ScreenshotMode, WritesNothingWithoutAFolderAndSaysSo) {
    std::string scratch = ScratchFolder("no-shots");
    WriteFileText(scratch + "file", "not a folder");
    for (const std::string& target : {scratch + "missing", scratch + "file"}) {
        CommandResult result = RunCommand("'" + kKestrix + "' -T '" + target + "'");
        EXPECT_EQ(result.exitStatus, 1) << target;
        EXPECT_NE(result.err.find("Error: "), std::string::npos) << target;
        EXPECT_FALSE(Exists(target + "/kestrix1.jpg"));
    }
    if (geteuid() != 0) {  // root writes into read-only folders
        std::string locked = ScratchFolder("locked");
        chmod(locked.c_str(), 0555);
        CommandResult result = RunCommand("'" + kKestrix + "' -T '" + locked + "'");
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_NE(result.err.find("Error: Unable to save"), std::string::npos) << result.err;
        EXPECT_FALSE(Exists(locked + "kestrix1.jpg"));
        chmod(locked.c_str(), 0755);
    }
}

// Both window options (in either letter case) need a display; without one they say so instead of ending as a success.
TEST(ScreenshotMode, WindowOptionsWithoutADisplayFail) {
    std::string folder = ScratchFolder("headless");
    for (const std::string& arguments : {std::string("-u"), "-T '" + folder + "'", "-t '" + folder + "'"}) {
        CommandResult result =
            RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY GDK_BACKEND=x11 '" + kKestrix + "' " + arguments);
        EXPECT_EQ(result.exitStatus, 1) << arguments;
        EXPECT_NE(result.err.find("no display"), std::string::npos) << arguments << ": " << result.err;
    }
    EXPECT_FALSE(Exists(folder + "kestrix1.jpg"));
}

TEST(WriteJpegFile, WritesWholeFilesOrNone) {
    std::string folder = ScratchFolder("jpeg");
    const unsigned char rgb[2 * 2 * 3] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    ASSERT_TRUE(WriteJpegFile(folder + "tiny.jpg", rgb, 2, 2, 90));
    EXPECT_EQ(JpegSize(folder + "tiny.jpg").width, 2);
    EXPECT_FALSE(WriteJpegFile(folder + "missing/tiny.jpg", rgb, 2, 2, 90));
    EXPECT_FALSE(WriteJpegFile(folder + "empty.jpg", rgb, 0, 2, 90));
    EXPECT_FALSE(Exists(folder + "empty.jpg"));
}
