// Tests that start a window-mode kestrix as a child process and watch it from outside.
#pragma once
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "support/test_support.h"

inline bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 50) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}

inline bool WaitForExit(pid_t child, int* status, int milliseconds) {
    return WaitFor([&] { return waitpid(child, status, WNOHANG) == child; }, milliseconds);
}

struct ScreenRect {
    int x = 0, y = 0, width = 0, height = 0;
    int CentreX() const { return x + width / 2; }
    int CentreY() const { return y + height / 2; }
};

inline int FieldAfter(const std::string& text, const std::string& label) {
    size_t at = text.find(label);
    return at == std::string::npos ? -1 : atoi(text.c_str() + at + label.size());
}

// Asks the X server itself, so the test waits for what is really on screen rather than for a guess.
inline bool FindShownWindow(const std::string& title, ScreenRect* rect) {
    CommandResult info = RunCommand("xwininfo -name '" + title + "'");
    if (info.exitStatus != 0 || info.out.find("Map State: IsViewable") == std::string::npos) return false;
    rect->x = FieldAfter(info.out, "Absolute upper-left X:");
    rect->y = FieldAfter(info.out, "Absolute upper-left Y:");
    rect->width = FieldAfter(info.out, "Width:");
    rect->height = FieldAfter(info.out, "Height:");
    return rect->width > 0 && rect->height > 0;
}

inline pid_t StartWindowMode(const std::string& program = QUARVEL_KESTRIX) {
    pid_t child = fork();
    if (child == 0) {
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return child;
}

// True while some process holds the window-mode lock of this test's runtime folder.
inline bool InstanceLockIsHeld() {
    std::string path = std::string(getenv("XDG_RUNTIME_DIR")) + "/Quarvel 2.9.lock";
    int fd = open(path.c_str(), O_RDWR);
    if (fd < 0) return false;
    bool held = flock(fd, LOCK_EX | LOCK_NB) != 0;
    close(fd);
    return held;
}

inline std::string SettingsFileFolder() { return std::string(getenv("XDG_CONFIG_HOME")) + "/Marrowfen/kestrix/"; }
inline std::string SettingsFilePath() { return SettingsFileFolder() + "config.ini"; }
