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
// The output file name from [Advanced] Filename Mask; "" when the mask expands past kMaxExpandedName.
std::string ExpandFilenameMask();
std::string StripExtension(const std::string& fileName);
std::string UniqueTemporaryName(const std::string& prefix, const std::string& suffix);
// "" when the expanded name would leave the output folder (a ".." part or a leading "/") or
// cannot be expanded: the file then fails with nothing written.
std::string BuildOutputPath();
std::string BuildTemporaryPath();

// Where `part` first occurs in `text` at or after `from`, ignoring ASCII letter case; npos when nowhere.
size_t FindIgnoringAsciiCase(const std::string& text, const std::string& part, size_t from);

// No path takes a name this long (PATH_MAX is 4096), and no mask shrinks to a usable name from
// 256 times its size: expansion stops here, so a hostile mask or file name cannot exhaust memory.
constexpr size_t kMaxExpandedName = size_t{1} << 20;

// Expands the name tokens of `text` in the table's order, each token replacing every occurrence
// in the text expanded so far, so a value that holds a later token's text is expanded by that
// token. With `onlyTokensIn`, only the tokens that text holds are expanded (the watermark's
// rule). Linear in the text's length; false when the text grows past kMaxExpandedName.
bool ExpandNameTokens(std::string* text, const std::string* onlyTokensIn);
