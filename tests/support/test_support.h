// Shared helpers for the tests: a private scratch folder and the corpus location.
#pragma once
#include <string>

// A fresh folder below the test's own temporary home; ends with "/".
std::string ScratchFolder(const std::string& name);
// ../shared/testdata beside the checkout, or "" when it is absent (tests then skip).
std::string SharedTestData();
// Runs a command line through /bin/sh, capturing standard output and standard error.
struct CommandResult {
    int exitStatus = -1;
    std::string out;
    std::string err;
};
CommandResult RunCommand(const std::string& commandLine, const std::string& input = "");
std::string ReadFileText(const std::string& path);
// Stores a value as the settings file would: "Group", "Key", text.
void StoreSetting(const char* group, const char* key, const std::string& value);
void WriteFileText(const std::string& path, const std::string& data);
// A 24-bit BMP with gradients in it; false when it cannot be written.
bool WriteTestBmp(const std::string& path, int width, int height);
