// Option value words and the setting codes they stand for.
#pragma once
#include <string>
#include <vector>

struct Keyword {
    const char* word;  // upper case, as matched
    int code;
};

// The numbered lists in their order; an unknown list number gives an empty list.
const std::vector<Keyword>& KeywordList(int list);
constexpr int kKeywordListCount = 23;
constexpr int kCompressionList = 4;  // one code means different compressions per output format

// The code of a word (letter case ignored), or 0 for an unknown word or a list no option takes.
int KeywordToCode(int list, const std::string& word);
// The first word carrying the code, lower case, or "" when none does. The output format is only
// looked at for the compression list.
std::string CodeToKeyword(int list, int code, const std::string& outputFormat);
