#include "app/settings.h"
#include "cli/options.h"

std::vector<std::string> ConsoleArguments;
bool ConsoleQuiet = false;
bool ConsolePause = false;

namespace {
std::string TrimmedArgument(size_t index) {
    if (index >= ConsoleArguments.size()) return std::string();
    return TrimBlanks(ConsoleArguments[index]);
}

bool BeginsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }
}  // namespace

std::string OptionName(size_t index) {
    std::string argument = TrimmedArgument(index);
    std::string name;
    if (BeginsWith(argument, "--")) name = argument.substr(0, argument.find('='));
    else if (BeginsWith(argument, "-")) name = argument;
    return UpperAscii(name);
}

std::string OptionValue(size_t index) {
    std::string argument = TrimmedArgument(index);
    size_t equals = argument.find('=');
    if (BeginsWith(argument, "--") && equals != std::string::npos) return argument.substr(equals + 1);
    return argument;
}

std::string ParseOptions() {
    for (size_t i = 0; i < ConsoleArguments.size(); ++i) {
        const std::string name = OptionName(i);
        const OptionInfo* option = FindOption(name);
        if (!option) continue;
        std::string value;
        if (option->kind == OptionKind::Flag) {
            // A flag ignores any value written after "=".
        } else if (option->shortName) {
            if (!BeginsWith(name, "--")) {
                ++i;
                // Checked on the argument itself: "-i --output=x" must not take "x" as the input file.
                if (BeginsWith(TrimmedArgument(i), "-")) return kIncorrectParameters;
            }
            value = OptionValue(i);
            if (value.empty() || BeginsWith(value, "-")) return kIncorrectParameters;
        } else {
            value = OptionValue(i);
            if (value.empty() || BeginsWith(value, "--")) return kIncorrectParameters;
        }
        std::string error = ApplyOption(*option, value);
        if (!error.empty()) return error;
    }
    return std::string();
}
