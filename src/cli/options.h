// The command line and profile files: one option table drives both.
#pragma once
#include <string>
#include <vector>

extern std::vector<std::string> ConsoleArguments;  // the arguments after the program name
extern bool ConsoleQuiet;                          // "-q": no status lines
extern bool ConsolePause;                          // wait for a key before the process ends

std::string OptionName(size_t index);
std::string OptionValue(size_t index);
// Runs the option loop over ConsoleArguments; returns the error text, empty when all were accepted.
std::string ParseOptions();
bool LoadProfile(const std::string& path);
