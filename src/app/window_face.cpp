#include "app/window_face.h"

#include <dlfcn.h>

#include <string>

#include "platform/platform.h"
#include "window_stamp.h"

namespace {
int ReportBrokenModule(const std::string& path, const std::string& problem) {
    ConsoleErrorLine("Error: The window module " + path + " " + problem);
    return 1;
}
}  // namespace

std::string WindowModuleStamp() { return QUARVEL_WINDOW_STAMP; }

std::string WindowModulePath() { return ProgramFolder() + kWindowModuleFile; }

int RunWindowFace(WindowFace face, int argc, char** argv, const std::string& folder) {
    const std::string path = WindowModulePath();
    const std::string problem = CheckWindowModule(path);
    if (!problem.empty()) return ReportBrokenModule(path, problem);
    // RTLD_NOW: a symbol the program lacks shows here as an error, not later as a crash.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* why = dlerror();
        return ReportBrokenModule(path, std::string("cannot be loaded: ") + (why ? why : "unknown error"));
    }
    auto entry = reinterpret_cast<WindowModuleEntry>(dlsym(module, KESTRIX_WINDOW_ENTRY_NAME));
    if (!entry) {
        dlclose(module);
        return ReportBrokenModule(path, "is not a window module of this program");
    }
    const WindowFaceRequest request{static_cast<int>(face), argc, argv, folder.c_str()};
    const int status = entry(&request);
    // Not closed: GTK and its helpers keep threads and handlers that outlive their last window.
    return status;
}
