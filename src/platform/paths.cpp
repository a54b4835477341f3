#include "platform/platform.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

std::string ProgramPath() {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return std::string();
    return std::string(buffer, static_cast<size_t>(n));
}

std::string ProgramFolder() { return FolderPart(ProgramPath()); }

std::string AppDataFolder() {
    const char* xdg = getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/') return xdg;
    const char* home = getenv("HOME");
    return std::string(home ? home : "") + "/.config";
}

bool CreateFolder(const std::string& path) {
    // Each missing folder of the chain in turn, private as the XDG base directory rules ask.
    for (size_t end = path.find('/', 1); end != std::string::npos; end = path.find('/', end + 1)) {
        std::string part = path.substr(0, end);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    return IsFolder(path);
}

std::string FolderPart(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNamePart(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtensionPart(const std::string& path) {
    std::string name = FileNamePart(path);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}
