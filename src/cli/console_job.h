#pragma once
#include <string>

// Validates the parsed job, converts it through the worker and prints the closing lines.
// Returns the process exit status.
int RunConsoleJob(bool quiet);

// True when the text is one of the offered output formats exactly (letter case matters).
bool IsOutputFormat(const std::string& format);
// True for 0 (automatic depth) or a depth the output catalogue lists for the format.
bool IsValidBpp(const std::string& format, int bitsPerPixel);

// The debug lines of the input format's own settings; formats without settings print nothing.
void PrintInputFormatLines(const std::string& format, bool debug);
// The debug lines and checks of the output format's own settings. Returns the error line, or ""
// when they pass; *bitDepth receives the format's bits-per-pixel setting (0 for an unlisted format).
std::string CheckOutputFormatSettings(const std::string& format, bool debug, int* bitDepth);
