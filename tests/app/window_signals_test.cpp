// A window-mode kestrix told to end by a signal while one of its message boxes is open.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/uiaction.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "support/test_support.h"

namespace {
// The test process drives the X server's pointer and keyboard; the window belongs to the child.
class WxEnvironment : public testing::Environment {
public:
    void SetUp() override {
        if (!getenv("DISPLAY")) return;
        wxApp::SetInstance(new wxApp);
        static char name[] = "window_signals_test";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        started_ = wxEntryStart(argc, argv);
    }
    void TearDown() override {
        if (started_) wxEntryCleanup();
    }
    static bool started_;
};
bool WxEnvironment::started_ = false;
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new WxEnvironment);

bool WaitForExit(pid_t child, int* status, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 50) {
        if (waitpid(child, status, WNOHANG) == child) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

bool LockIsHeld() {
    std::string path = std::string(getenv("XDG_RUNTIME_DIR")) + "/Quarvel 2.9.lock";
    int fd = open(path.c_str(), O_RDWR);
    if (fd < 0) return false;
    bool held = flock(fd, LOCK_EX | LOCK_NB) != 0;
    close(fd);
    return held;
}

void Pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

std::string ConfigPath() { return std::string(getenv("XDG_CONFIG_HOME")) + "/Marrowfen/kestrix/config.ini"; }
}  // namespace

// The box's caller still uses the main window when the box returns, so the close waits for it.
TEST(WindowSignals, CloseWaitsForAnOpenMessageBox) {
    if (!WxEnvironment::started_) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    const std::string folder = std::string(getenv("XDG_CONFIG_HOME")) + "/Marrowfen/kestrix/";
    ASSERT_EQ(system(("mkdir -p '" + folder + "'").c_str()), 0);
    WriteFileText(ConfigPath(), "[General]\r\nCFG = 19\r\n[Window]\r\nWidth = 640\r\nX = 100\r\nY = 100\r\n");

    const int signals[] = {SIGTERM, SIGINT, SIGHUP};
    for (int signal : signals) {
        pid_t child = fork();
        if (child == 0) {
            execl(QUARVEL_KESTRIX, QUARVEL_KESTRIX, static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(child, 0);
        for (int waited = 0; waited < 10000 && !LockIsHeld(); waited += 50) Pause(50);
        Pause(3000);  // the window comes up at 100, 100

        wxUIActionSimulator sim;
        // Without a window manager the keyboard follows the pointer. F5 with an empty input field
        // opens the "no input file" warning over the middle of the window.
        sim.MouseMove(420, 190);
        sim.MouseClick();
        sim.Char(WXK_F5);
        Pause(1500);
        kill(child, signal);
        Pause(1000);
        int status = 0;
        EXPECT_EQ(waitpid(child, &status, WNOHANG), 0) << "the close waits while the box is open";

        sim.MouseMove(420, 230);  // the box is centred on the window
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
        EXPECT_NE(ReadFileText(ConfigPath()).find("Width = 640\r\n"), std::string::npos) << "signal " << signal;
    }
}
