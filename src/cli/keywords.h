// Option value words and the setting codes they stand for.
#pragma once
#include <string>

int KeywordToCode(int list, const std::string& word);
std::string CodeToKeyword(int list, int code, const std::string& outputFormat);
