// The command line and profile files: one option table drives both.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

extern std::vector<std::string> ConsoleArguments;  // the arguments after the program name
extern bool ConsoleQuiet;                          // "-q": no status lines
extern bool ConsolePause;                          // wait for a key before the process ends

// The error texts of the option loop (printed after "Error: ").
extern const char* const kIncorrectParameters;  // "Incorrect number of parameters"
extern const char* const kInvalidProfile;       // "Invalid profile file"

enum class OptionKind { Flag, Integer, Decimal, Keyword, Text };

// Where an option's value goes: a setting, or a field of the job or of console mode.
enum class OptionTarget { Setting, InputFile, OutputFolder, OutputFormat, Profile, Debug, Quiet, Pause };

struct OptionInfo {
    const char* name;                     // long form, upper case
    const char* shortName = nullptr;      // e.g. "-I"; with a value it takes the next argument
    OptionKind kind = OptionKind::Flag;
    int keywordList = -1;                 // Keyword: the list the words come from
    OptionTarget target = OptionTarget::Setting;
    const char* group = nullptr;          // Setting: the settings-file group and key written
    const char* key = nullptr;
    int flagValue = 1;                    // what a flag stores
    const char* switchKey = nullptr;      // a setting of the same group set first, e.g. "Do Image Resize"
    int switchValue = 1;
    bool inProfile = true;                // profiles may not name files, folders or console behaviour
    const char* profileKey = nullptr;     // the key in a profile when it differs from the name
};

// Every option, in the order the manual lists them.
const std::vector<OptionInfo>& OptionTable();
// By upper-case name: a command-line name (long or short form), or a key of a profile's "CLI" group.
const OptionInfo* FindOption(const std::string& name);
const OptionInfo* FindProfileKey(const std::string& key);
// The key a profile uses for the option, or "" when profiles cannot set it.
std::string ProfileKey(const OptionInfo& option);

// Decimal values: the whole value (blanks aside) is a number with "." as the decimal mark, or
// +Infinity, -Infinity or NaN in any case; anything else, trailing text included, gives 0.
float ParseOptionDecimal(const std::string& text);
// Converts a value by the option's kind and writes the option's fields, switch first.
// Returns the error text, empty on success.
std::string ApplyOption(const OptionInfo& option, const std::string& value);

std::string OptionName(size_t index);
std::string OptionValue(size_t index);
// Runs the option loop over ConsoleArguments; returns the error text, empty when all were accepted.
std::string ParseOptions();
bool LoadProfile(const std::string& path);
