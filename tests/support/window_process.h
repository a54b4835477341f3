// Tests that start a window-mode kestrix as a child process and watch it from outside.
#pragma once
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

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

// Starts `program` without arguments. `environment` changes the test's own: "NAME=value" sets,
// a bare "NAME" removes; `folder`, when given, is the child's working folder.
inline pid_t StartWindowMode(const std::string& program = QUARVEL_KESTRIX,
                             const std::vector<std::string>& environment = {}, const std::string& folder = "") {
    // Everything the child needs is made before the fork: the child only changes folder and execs.
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry; ++entry) {
        std::string text = *entry;
        size_t equals = text.find('=');
        if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const std::string& change : environment) {
        size_t equals = change.find('=');
        if (equals == std::string::npos) variables.erase(change);
        else variables[change.substr(0, equals)] = change.substr(equals + 1);
    }
    std::vector<std::string> texts;
    for (const auto& [name, value] : variables) texts.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& text : texts) envp.push_back(text.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};

    pid_t child = fork();
    if (child == 0) {
        if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(126);
        execve(program.c_str(), argv, envp.data());
        _exit(127);
    }
    return child;
}

// The per-user lock window mode falls back to when there is no usable runtime folder.
inline std::string TmpInstanceLockPath() { return "/tmp/Quarvel 2.9-" + std::to_string(getuid()) + ".lock"; }

// True while some process holds the lock file at `path`.
inline bool LockIsHeldAt(const std::string& path) {
    int fd = open(path.c_str(), O_RDWR);
    if (fd < 0) return false;
    bool held = flock(fd, LOCK_EX | LOCK_NB) != 0;
    close(fd);
    return held;
}

// True while some process holds the window-mode lock of this test's runtime folder.
inline bool InstanceLockIsHeld() { return LockIsHeldAt(std::string(getenv("XDG_RUNTIME_DIR")) + "/Quarvel 2.9.lock"); }

inline std::string SettingsFileFolder() { return std::string(getenv("XDG_CONFIG_HOME")) + "/Marrowfen/kestrix/"; }
inline std::string SettingsFilePath() { return SettingsFileFolder() + "config.ini"; }
