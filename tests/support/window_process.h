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
