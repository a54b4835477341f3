// Output file names: the filename mask and its tokens (shared with the watermark text).
#pragma once
#include <string>
#include <vector>

// A name token and the procedure that gives its value for the current job.
struct NameToken {
    const char* text;  // lower case, e.g. "%filename%"
    std::string (*value)();
};

// Every token, in the order in which a mask expands them.
const std::vector<NameToken>& NameTokens();

// Value of a token of the table (letter case ignored); "" for any other text.
std::string TokenValue(const std::string& token);
std::string ExpandFilenameMask();
std::string StripExtension(const std::string& fileName);
std::string UniqueTemporaryName(const std::string& prefix, const std::string& suffix);
std::string BuildOutputPath();
std::string BuildTemporaryPath();

// Where `part` first occurs in `text` at or after `from`, ignoring ASCII letter case; npos when nowhere.
size_t FindIgnoringAsciiCase(const std::string& text, const std::string& part, size_t from);
// Replaces every occurrence of `token` in `text`, ignoring ASCII letter case; false when there was none.
bool ReplaceTokenIgnoringCase(std::string* text, const std::string& token, const std::string& value);
