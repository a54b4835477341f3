#include <string_view>

#include "app/settings.h"
#include "engine/letter_case.h"
#include "engine/naming.h"

namespace {
const char kDefaultMask[] = "%filename%.%ext%";

bool MatchesAt(std::string_view text, size_t at, std::string_view part) {
    return at + part.size() <= text.size() && EqualsIgnoringAsciiCase(text.substr(at, part.size()), part);
}

// Every occurrence of `token` in `text` (ASCII case ignored) replaced by the value of `entry`, in
// one pass that builds a new text: replacing in place would move the tail once per token.
// The value is read only when the token occurs, as date tokens read the clock when expanded.
void ReplaceEvery(std::string* text, const NameToken& entry) {
    const std::string_view token = entry.text;
    size_t at = FindIgnoringAsciiCase(*text, entry.text, 0);
    if (at == std::string::npos) return;
    const std::string value = entry.value();
    std::string out;
    out.reserve(text->size());
    size_t copied = 0;
    while (at != std::string::npos) {
        out.append(*text, copied, at - copied);
        out += value;
        copied = at + token.size();
        at = FindIgnoringAsciiCase(*text, entry.text, copied);
    }
    out.append(*text, copied, std::string::npos);
    text->swap(out);
}
}  // namespace

size_t FindIgnoringAsciiCase(const std::string& text, const std::string& part, size_t from) {
    if (part.empty()) return std::string::npos;
    const std::string_view view(text);
    const char first = part[0];
    const bool letter = (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z');
    for (size_t at = from; at + part.size() <= text.size(); ++at) {
        if (!letter) {
            // Tokens begin with "%": jump from one to the next.
            at = view.find(first, at);
            if (at == std::string::npos || at + part.size() > text.size()) return std::string::npos;
        }
        if (MatchesAt(view, at, part)) return at;
    }
    return std::string::npos;
}

bool ExpandNameTokens(std::string* text, const std::string* onlyTokensIn) {
    if (text->size() > kMaxExpandedName) return false;
    for (const NameToken& token : NameTokens()) {
        if (onlyTokensIn && FindIgnoringAsciiCase(*onlyTokensIn, token.text, 0) == std::string::npos) continue;
        ReplaceEvery(text, token);
        if (text->size() > kMaxExpandedName) return false;
    }
    return true;
}

std::string ExpandFilenameMask() {
    std::string name = LowerCaseText(Settings.Advanced.FilenameMask);
    if (name.empty()) name = kDefaultMask;
    if (!ExpandNameTokens(&name, nullptr)) return std::string();
    return name;
}

std::string StripExtension(const std::string& fileName) {
    size_t dot = fileName.rfind('.');
    if (dot == std::string::npos) return fileName;
    return fileName.substr(0, dot);
}
