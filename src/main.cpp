// kestrix: a window program without arguments, a console program with them.
#include <IL/il.h>
#include <IL/ilu.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/window_face.h"
#include "cli/console.h"

namespace {
int programArgc = 0;
char** programArgv = nullptr;

// The window face is loaded only here, so console runs never map the window-system libraries.
int RunUninstallPageFace() { return RunWindowFace(WindowFace::UninstallPage, programArgc, programArgv, ""); }
int RunScreenshotModeFace(const std::string& folder) {
    return RunWindowFace(WindowFace::ScreenshotMode, programArgc, programArgv, folder);
}
}  // namespace

int main(int argc, char** argv) {
    ilInit();
    iluInit();
    programArgc = argc;
    programArgv = argv;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty()) {
        SetUninstallPageEntry(RunUninstallPageFace);
        SetScreenshotModeEntry(RunScreenshotModeFace);
        int status = RunConsole(arguments);
        if (status != kNoConsoleWork) {
            ilShutDown();
            // A script must not take lines it never received (a full disk, a closed pipe) for success.
            if ((fflush(stdout) != 0 || ferror(stdout)) && status == kExitSuccess) status = kExitFailure;
            return status;
        }
    }
    int status = RunWindowFace(WindowFace::MainWindow, argc, argv, "");
    ilShutDown();
    return status;
}
