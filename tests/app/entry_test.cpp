// Program identity and the window-mode process life: single instance, shutdown geometry.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/identity.h"
#include "support/test_support.h"
#include "support/window_process.h"

TEST(Identity, VersionText) {
    const struct {
        int number;
        const char* text;
    } cases[] = {{290, "2.9"}, {291, "2.9.1"}, {300, "3.0"}, {310, "3.1"}, {123, "1.2.3"}};
    for (const auto& c : cases) EXPECT_EQ(VersionText(c.number), c.text) << c.number;
}

TEST(Identity, TitleText) {
    EXPECT_EQ(TitleText("Quarvel", 290, false), "Quarvel 2.9");
    EXPECT_EQ(TitleText("Quarvel", 290, true), "Quarvel 2.9 - FREEWARE");
}

TEST(Identity, ToolbarNumbersFollowMenuNumbers) {
    EXPECT_EQ(MenuIcons().size(), 22u);
    EXPECT_EQ(ToolbarIcons().at("New"), 29);
    EXPECT_EQ(ToolbarIcons().at("About"), 52);
    for (const auto& [name, number] : MenuIcons()) EXPECT_EQ(ToolbarIcons().at(name), number + 24) << name;
}

TEST(ConsoleEntry, OutputThatCannotBeWrittenIsAFailure) {
    EXPECT_EQ(RunCommand(std::string(QUARVEL_KESTRIX) + " -V").exitStatus, 0);
    EXPECT_EQ(RunCommand(std::string(QUARVEL_KESTRIX) + " -V >/dev/full").exitStatus, 1);
}


// Starts window mode, lets the window come up, and ends it the way a session does.
void OpenWindowAndEndItWithSigterm(const std::vector<std::string>& environment = {}) {
    pid_t child = StartWindowMode(QUARVEL_KESTRIX, environment);
    ASSERT_GT(child, 0);
    ASSERT_TRUE(WaitFor(InstanceLockIsHeld, 10000));
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    kill(child, SIGTERM);
    int status = 0;
    ASSERT_TRUE(WaitForExit(child, &status, 10000));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

class WindowProcess : public testing::Test {
protected:
    void SetUp() override {
        if (!getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        unlink(SettingsFilePath().c_str());
    }
};

TEST_F(WindowProcess, SecondStartEndsAtOnceAndConsoleStillRuns) {
    pid_t first = StartWindowMode();
    ASSERT_GT(first, 0);
    ASSERT_TRUE(WaitFor(InstanceLockIsHeld, 10000));

    auto started = std::chrono::steady_clock::now();
    CommandResult second = RunCommand(std::string(QUARVEL_KESTRIX));
    auto took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(second.exitStatus, 0);
    EXPECT_EQ(second.out, "");
    EXPECT_LT(took, std::chrono::seconds(5)) << "the second copy must not open a window and wait";

    CommandResult version = RunCommand(std::string(QUARVEL_KESTRIX) + " -V");
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, "2.9\n");

    kill(first, SIGTERM);
    int status = 0;
    ASSERT_TRUE(WaitForExit(first, &status, 10000));
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(WindowProcess, ClosingWritesGeometry) {
    ASSERT_EQ(system(("mkdir -p '" + SettingsFileFolder() + "'").c_str()), 0);
    WriteFileText(SettingsFilePath(),
                  "[General]\r\nCFG = 19\r\n[Window]\r\nWidth = 640\r\nHeight = 300\r\nX = 40\r\nY = 30\r\n"
                  "[Advanced]\r\nOut Folders History = 0\r\n[File]\r\nRecent Out Folders = /tmp/a/\t/tmp/b/\r\n");
    ASSERT_NO_FATAL_FAILURE(OpenWindowAndEndItWithSigterm());

    std::string saved = ReadFileText(SettingsFilePath());
    EXPECT_NE(saved.find("Width = 640\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Height = 260\r\n"), std::string::npos) << "the height is fixed by the layout";
    EXPECT_NE(saved.find("IsMaximized = 0\r\n"), std::string::npos);
    EXPECT_NE(saved.find("Recent Out Folders = \r\n"), std::string::npos) << "history 0 empties the list";
    EXPECT_FALSE(InstanceLockIsHeld()) << "the lock goes with the process";
}

// A new account may have no ~/.config yet: the whole chain is made, private to the user.
TEST_F(WindowProcess, SettingsAreSavedWhereNoConfigFolderExistsYet) {
    const std::string fresh = ScratchFolder("fresh-account");
    const struct {
        const char* name;
        std::vector<std::string> environment;
        std::string base;  // the first folder that does not exist yet
        std::string settingsFolder;
    } cases[] = {
        {"home without .config", {"HOME=" + fresh + "home", "XDG_CONFIG_HOME"}, fresh + "home/.config",
         fresh + "home/.config/Marrowfen/kestrix"},
        {"config home not made yet", {"XDG_CONFIG_HOME=" + fresh + "xdg/config"}, fresh + "xdg",
         fresh + "xdg/config/Marrowfen/kestrix"},
    };
    ASSERT_EQ(mkdir((fresh + "home").c_str(), 0755), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(OpenWindowAndEndItWithSigterm(c.environment));

        const std::string saved = ReadFileText(c.settingsFolder + "/config.ini");
        EXPECT_EQ(saved.rfind("\xEF\xBB\xBF\r\n[General]\r\nCFG = 19\r\n", 0), 0u) << saved;
        for (std::string folder = c.settingsFolder; folder.size() >= c.base.size(); folder.resize(folder.rfind('/'))) {
            struct stat st;
            ASSERT_EQ(stat(folder.c_str(), &st), 0) << folder;
            EXPECT_EQ(st.st_mode & 07777, 0700u) << folder;
        }
    }
}

TEST(WindowMode, WithoutADisplayFailsAndSaysSo) {
    CommandResult run = RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY '" + std::string(QUARVEL_KESTRIX) + "'");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("Error: ", 0), 0u) << run.err;
    EXPECT_FALSE(InstanceLockIsHeld());
}

// A runtime folder that cannot hold the lock (gone with its session, or the lock's name taken by a
// folder) is no sign of another copy: the per-user lock in /tmp stands in. Past the lock, window
// mode here finds no display, which proves it was not taken for a second copy.
TEST(WindowMode, AnUnusableRuntimeFolderFallsBackToTheLockInTmp) {
    const std::string taken = ScratchFolder("lock-name-taken");
    ASSERT_EQ(mkdir((taken + "Quarvel 2.9.lock").c_str(), 0700), 0);
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR=";
    const struct {
        const char* name;
        std::string runtime;
    } cases[] = {
        {"runtime folder gone", "/nonexistent/quarvel-run"},
        {"lock name is a folder", taken},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CommandResult run = RunCommand(noDisplay + "'" + c.runtime + "' '" + QUARVEL_KESTRIX + "'");
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.err.rfind("Error: Unable to open the main window", 0), 0u) << run.err;
        EXPECT_FALSE(LockIsHeldAt(TmpInstanceLockPath()));
    }

    // With the lock in /tmp unusable as well there is no lock at all: say so, never end as a success.
    const std::string fallback = TmpInstanceLockPath();
    if (!LockIsHeldAt(fallback)) unlink(fallback.c_str());  // the lock file the runs above left
    if (mkdir(fallback.c_str(), 0700) != 0) GTEST_SKIP() << fallback << " is in use; not touched";
    CommandResult run = RunCommand(noDisplay + "/nonexistent/quarvel-run '" + QUARVEL_KESTRIX + "'");
    rmdir(fallback.c_str());
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("Error: Unable to create the single-instance lock: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(fallback), std::string::npos) << run.err;
}

// The stand-in lock is a lock: a second copy in the same environment still ends at once.
TEST_F(WindowProcess, TheLockInTmpKeepsASecondCopyOut) {
    if (LockIsHeldAt(TmpInstanceLockPath())) GTEST_SKIP() << "another process holds " << TmpInstanceLockPath();
    const std::string stale = "XDG_RUNTIME_DIR=/nonexistent/quarvel-run";
    pid_t first = StartWindowMode(QUARVEL_KESTRIX, {stale});
    ASSERT_GT(first, 0);
    ASSERT_TRUE(WaitFor([] { return LockIsHeldAt(TmpInstanceLockPath()); }, 10000));

    CommandResult second = RunCommand("env " + stale + " '" + QUARVEL_KESTRIX + "'");
    EXPECT_EQ(second.exitStatus, 0);
    EXPECT_EQ(second.out, "");
    EXPECT_EQ(second.err, "");

    kill(first, SIGTERM);
    int status = 0;
    ASSERT_TRUE(WaitForExit(first, &status, 10000));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(LockIsHeldAt(TmpInstanceLockPath()));
}

// Without a runtime folder the lock lives in /tmp, where another user's lock file must not shut
// this user out. The second user here is nobody, which needs root to become.
TEST(WindowMode, AnotherUsersLockFileInTmpDoesNotBlock) {
    if (geteuid() != 0 || RunCommand("command -v setpriv").exitStatus != 0) GTEST_SKIP() << "needs root and setpriv";
    const std::string shared = "/tmp/Quarvel 2.9.lock";
    const bool planted = access(shared.c_str(), F_OK) != 0;
    if (planted) {
        int fd = open(shared.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);  // root's own, closed to others
        ASSERT_GE(fd, 0);
        close(fd);
    }
    CommandResult run = RunCommand("cd /tmp && setpriv --reuid=65534 --regid=65534 --clear-groups env -u XDG_RUNTIME_DIR "
                                   "-u DISPLAY -u WAYLAND_DISPLAY HOME=/nonexistent '" +
                                   std::string(QUARVEL_KESTRIX) + "'");
    if (planted) unlink(shared.c_str());
    unlink("/tmp/Quarvel 2.9-65534.lock");
    // Past the lock, window mode finds no display: proof it was not taken for a second copy.
    EXPECT_EQ(run.exitStatus, 1) << run.err;
    EXPECT_EQ(run.err.rfind("Error: ", 0), 0u) << run.err;
}
