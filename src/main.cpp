// kestrix: a window program without arguments, a console program with them.
#include <IL/il.h>
#include <IL/ilu.h>

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
            return status;
        }
    }
    int status = RunWindowMode(argc, argv);
    ilShutDown();
    return status;
}
