// Output file names: the filename mask and its tokens (shared with the watermark text).
#pragma once
#include <string>

std::string TokenValue(const std::string& token);
std::string ExpandFilenameMask();
std::string StripExtension(const std::string& fileName);
std::string UniqueTemporaryName(const std::string& prefix, const std::string& suffix);
std::string BuildOutputPath();
std::string BuildTemporaryPath();
