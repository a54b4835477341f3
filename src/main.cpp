// kestrix: a window program without arguments, a console program with them.
#include <IL/il.h>
#include <IL/ilu.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/console.h"
#include "ui/window/window_mode.h"

int main(int argc, char** argv) {
    ilInit();
    iluInit();
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty()) {
        int status = RunConsole(arguments);
        if (status != kNoConsoleWork) {
            ilShutDown();
            // A script must not take lines it never received (a full disk, a closed pipe) for success.
            if ((fflush(stdout) != 0 || ferror(stdout)) && status == kExitSuccess) status = kExitFailure;
            return status;
        }
    }
    int status = RunWindowMode(argc, argv);
    ilShutDown();
    return status;
}
