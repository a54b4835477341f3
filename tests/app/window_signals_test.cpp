// A window-mode kestrix told to end by a signal while one of its message boxes is open.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/uiaction.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "support/test_support.h"
#include "support/window_process.h"
#include "support/wx_test_app.h"

namespace {
// The test process drives the X server's pointer and keyboard; the window belongs to the child.
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new WxTestApp);

void Pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
}  // namespace

// The box's caller still uses the main window when the box returns, so the close waits for it.
TEST(WindowSignals, CloseWaitsForAnOpenMessageBox) {
    if (!WxTestApp::started) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    ASSERT_EQ(system(("mkdir -p '" + SettingsFileFolder() + "'").c_str()), 0);
    WriteFileText(SettingsFilePath(), "[General]\r\nCFG = 19\r\n[Window]\r\nWidth = 640\r\nX = 100\r\nY = 100\r\n");

    const int signals[] = {SIGTERM, SIGINT, SIGHUP};
    for (int signal : signals) {
        pid_t child = StartWindowMode();
        ASSERT_GT(child, 0);
        ScreenRect window, box;
        ASSERT_TRUE(WaitFor([&] { return FindShownWindow("Quarvel 2.9 - FREEWARE", &window); }, 20000));
        Pause(500);

        wxUIActionSimulator sim;
        // Without a window manager the keyboard follows the pointer: rest it on the notice line, where
        // a click opens nothing. F5 with an empty input field opens the "no input file" warning.
        sim.MouseMove(window.x + 60, window.y + window.height - 45);
        sim.MouseClick();
        sim.Char(WXK_F5);
        ASSERT_TRUE(WaitFor([&] { return FindShownWindow("Warning", &box); }, 20000)) << "signal " << signal;
        Pause(300);
        kill(child, signal);
        Pause(1000);
        int status = 0;
        EXPECT_EQ(waitpid(child, &status, WNOHANG), 0) << "the close waits while the box is open";

        sim.MouseMove(box.CentreX(), box.CentreY());
        sim.Char(WXK_RETURN);
        const bool ended = WaitForExit(child, &status, 10000);
        if (!ended) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
        }
        EXPECT_TRUE(ended) << "signal " << signal;
        EXPECT_TRUE(WIFEXITED(status)) << "signal " << signal << ": ended by signal " << WTERMSIG(status);
        if (WIFEXITED(status)) {
            EXPECT_EQ(WEXITSTATUS(status), 0) << "signal " << signal;
        }
        EXPECT_NE(ReadFileText(SettingsFilePath()).find("Width = 640\r\n"), std::string::npos) << "signal " << signal;
    }
}

// A signal while the progress window is open, during the run or after it, ends the program as the
// close box would: settings saved, lock released, exit status 0.
TEST(WindowSignals, SignalWhileTheProgressWindowIsOpenEndsTheProgram) {
    if (!WxTestApp::started) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    const std::string folder = ScratchFolder("progress-signals");
    // The large picture keeps the worker busy for seconds; the small one is done before anyone looks.
    ASSERT_TRUE(WriteTestBmp(folder + "large.bmp", 4096, 4096));
    ASSERT_TRUE(WriteTestBmp(folder + "small.bmp", 64, 64));
    ASSERT_EQ(system(("mkdir -p '" + SettingsFileFolder() + "'").c_str()), 0);

    const struct {
        int signal;
        const char* input;
        const char* progressTitle;
    } cases[] = {
        {SIGTERM, "large.bmp", "Converting (1/1)"},
        {SIGHUP, "large.bmp", "Converting (1/1)"},
        {SIGINT, "small.bmp", "Conversion complete (1/1)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.progressTitle + std::string(" signal ") + std::to_string(c.signal));
        WriteFileText(SettingsFilePath(), "[General]\r\nCFG = 19\r\n[Window]\r\nWidth = 600\r\nX = 100\r\nY = 100\r\n"
                                          "[File]\r\nRecent Out Folders = " + folder + "\r\n");
        pid_t child = StartWindowMode(QUARVEL_KESTRIX, {}, folder);
        ASSERT_GT(child, 0);
        ScreenRect window, progress;
        ASSERT_TRUE(WaitFor([&] { return FindShownWindow("Quarvel 2.9 - FREEWARE", &window); }, 20000));
        Pause(500);

        // The input file by name (the program runs in its folder), the output folder from the history.
        wxUIActionSimulator sim;
        sim.MouseMove(window.x + 100, window.y + 90);
        sim.MouseClick();
        Pause(200);
        sim.Text(c.input);
        sim.MouseMove(window.x + 100, window.y + 130);
        sim.MouseClick();
        Pause(500);
        sim.Char(WXK_DOWN);
        sim.Char(WXK_RETURN);
        Pause(300);
        sim.MouseMove(window.x + window.width - 60, window.y + 130);
        sim.MouseClick();

        const bool shown = WaitFor([&] { return FindShownWindow(c.progressTitle, &progress); }, 30000);
        EXPECT_TRUE(shown);
        kill(child, c.signal);
        int status = 0;
        // The worker finishes the file in hand first (slow in the sanitizer build).
        const bool ended = WaitForExit(child, &status, 120000);
        if (!ended) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
        }
        ASSERT_TRUE(shown) << "the progress window never came up";
        EXPECT_TRUE(ended) << "the program went on after its windows closed";
        EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        if (WIFEXITED(status)) {
            EXPECT_EQ(WEXITSTATUS(status), 0);
        }
        EXPECT_NE(ReadFileText(SettingsFilePath()).find("Width = 600\r\n"), std::string::npos);
        EXPECT_FALSE(InstanceLockIsHeld());
    }
}
