// Letter case of UTF-8 text for file names and watermark tokens.
#pragma once
#include <string>

std::string UpperCaseText(const std::string& text);
std::string LowerCaseText(const std::string& text);
// First character in upper case, every other in lower case.
std::string TitleCaseText(const std::string& text);
