#pragma once
#include <string>

// The real type of a file from its first bytes, for the console's debug lines.
std::string DetectFileType(const std::string& path);
