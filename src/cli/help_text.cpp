#include <string>
#include <vector>

#include "app/identity.h"
#include "app/settings.h"
#include "cli/console.h"
#include "online/online.h"
#include "platform/platform.h"
#include "ui/texts.h"

namespace {
const char* const kHelpText[] = {
    " ",
    "Usage: %s1% -i <filename> [options]",
    " ",
    "  %s1% -i example.%s2%",
    "  %s1% -i /tmp/example.%s2%",
    "  %s1% -i /tmp/example.%s2% -o ~/converted",
    "  %s1% -i /tmp/example.%s2% -o ~/converted --jpg-quality=95",
    " ",
    "Options:",
    " ",
    "  -h, -?, --help            Display this help and exit",
    "  -i FILE, --input=FILE     Set input file",
    "  -o PATH, --output=PATH    Set output folder",
    "  -c STR, --conversion=STR  Set output extension, STR = (jpg | bmp | ...)",
    " ",
    "Advanced options:",
    " ",
    "  --width=NUM               Set output image width",
    "  --height=NUM              Set output image height",
    "  --filename-mask=STR       Define output filename format",
    "  --flip-horizontal         Flip output image horizontally",
    "  --flip-vertical           Flip output image vertically",
    "  --brightness=NUM          Set output image brightness, NUM = -100..100",
    "  --contrast=NUM            Set output image contrast, NUM = -100..100",
    "  --gamma=NUM               Set output image gamma, NUM = 0.01..9.99",
    "  --invert                  Invert output image",
    "  --greyscale               Greyscale output image",
    "  --profile=FILE            Set configuration file with required settings",
    "    ...                     Refer documentation for all available options",
    " ",
    "Other options:",
    " ",
    "  -q, --quiet               Don't print status messages to stdout",
    "  -d, --debug               Print debug information to stdout",
    "  -p, --pause               Pause at exit",
    "  -v, --version             Display version information and exit",
};

// Each example line shows one of the offered input formats, picked at random.
std::string RandomInputFormat() {
    if (OfferedInputFormats.empty()) return std::string();
    int last = static_cast<int>(OfferedInputFormats.size()) - 1;
    return OfferedInputFormats[static_cast<size_t>(RandomInt(0, last))];
}
}  // namespace

std::vector<std::string> HelpLines(const std::string& programName) {
    std::vector<std::string> lines;
    for (const char* line : kHelpText) lines.push_back(FillPlaceholders(line, programName, RandomInputFormat()));
    return lines;
}

std::vector<std::string> BannerLines() {
    return {TitleText(kProductName, kVersionNumber, false), "BMP to DDS texture converter", HomePageAddress(), " "};
}
