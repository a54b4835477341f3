#include "app/identity.h"
#include "cli/console.h"
#include "platform/platform.h"

int RunConsole(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return kNoConsoleWork;
    std::string first = arguments[0];
    for (char& c : first) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    if (first == "-V" || first == "--VERSION") {
        ConsoleLine(VersionText(kVersionNumber));
        return 0;
    }
    return kNoConsoleWork;
}
