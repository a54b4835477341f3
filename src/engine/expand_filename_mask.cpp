#include "app/settings.h"
#include "engine/letter_case.h"
#include "engine/naming.h"

namespace {
const char kDefaultMask[] = "%filename%.%ext%";

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

size_t FindIgnoringCase(const std::string& text, const std::string& part, size_t from) {
    if (part.empty() || text.size() < part.size()) return std::string::npos;
    for (size_t at = from; at + part.size() <= text.size(); ++at) {
        size_t i = 0;
        while (i < part.size() && AsciiLower(text[at + i]) == AsciiLower(part[i])) ++i;
        if (i == part.size()) return at;
    }
    return std::string::npos;
}
}  // namespace

bool ReplaceTokenIgnoringCase(std::string* text, const std::string& token, const std::string& value) {
    bool found = false;
    // Searching on after the inserted value keeps a value that holds the token itself from looping.
    for (size_t at = FindIgnoringCase(*text, token, 0); at != std::string::npos;
         at = FindIgnoringCase(*text, token, at + value.size())) {
        text->replace(at, token.size(), value);
        found = true;
    }
    return found;
}

std::string ExpandFilenameMask() {
    std::string name = LowerCaseText(Settings.Advanced.FilenameMask);
    if (name.empty()) name = kDefaultMask;
    // Later tokens also expand token text that an earlier value brought in.
    for (const NameToken& token : NameTokens())
        if (FindIgnoringCase(name, token.text, 0) != std::string::npos)
            ReplaceTokenIgnoringCase(&name, token.text, token.value());
    return name;
}

std::string StripExtension(const std::string& fileName) {
    size_t dot = fileName.rfind('.');
    if (dot == std::string::npos) return fileName;
    return fileName.substr(0, dot);
}
