#include <string_view>

#include "app/settings.h"
#include "engine/letter_case.h"
#include "engine/naming.h"

namespace {
const char kDefaultMask[] = "%filename%.%ext%";
}  // namespace

size_t FindIgnoringAsciiCase(const std::string& text, const std::string& part, size_t from) {
    if (part.empty()) return std::string::npos;
    const std::string_view view(text);
    for (size_t at = from; at + part.size() <= text.size(); ++at)
        if (EqualsIgnoringAsciiCase(view.substr(at, part.size()), part)) return at;
    return std::string::npos;
}

bool ReplaceTokenIgnoringCase(std::string* text, const std::string& token, const std::string& value) {
    bool found = false;
    // Searching on after the inserted value keeps a value that holds the token itself from looping.
    for (size_t at = FindIgnoringAsciiCase(*text, token, 0); at != std::string::npos;
         at = FindIgnoringAsciiCase(*text, token, at + value.size())) {
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
        if (FindIgnoringAsciiCase(name, token.text, 0) != std::string::npos)
            ReplaceTokenIgnoringCase(&name, token.text, token.value());
    return name;
}

std::string StripExtension(const std::string& fileName) {
    size_t dot = fileName.rfind('.');
    if (dot == std::string::npos) return fileName;
    return fileName.substr(0, dot);
}
