// The INI reading rule of theme.cfg, and the toolbar icon sizes.
#include <algorithm>
#include <cctype>

#include "app/settings.h"
#include "ui/themes.h"

namespace {
char LowerByte(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

size_t FindNoCase(const std::string& text, const std::string& needle, size_t from) {
    if (from > text.size()) return std::string::npos;
    auto equal = [](char a, char b) { return LowerByte(a) == LowerByte(b); };
    auto found = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), needle.begin(), needle.end(), equal);
    return found == text.end() ? std::string::npos : static_cast<size_t>(found - text.begin());
}
}  // namespace

std::string IniValue(const std::string& text, const std::string& section, const std::string& key) {
    size_t a = FindNoCase(text, "[" + section + "]", 0);
    if (a == std::string::npos) return "";
    size_t end = text.find('[', a + 1);
    if (end == std::string::npos) end = text.size();
    // the key matches as the start of a line, so "New" also matches a "NewFolder" line before it
    size_t b = FindNoCase(text, "\r\n" + key, a);
    if (b == std::string::npos || b <= a || b >= end) return "";
    size_t lineEnd = text.find("\r\n", b + 2);
    if (lineEnd == std::string::npos) return "";
    std::string line = text.substr(b, lineEnd - b);
    size_t equals = line.find('=');
    if (equals == std::string::npos) return "";
    size_t next = line.find('=', equals + 1);
    std::string value = line.substr(equals + 1, next == std::string::npos ? std::string::npos : next - equals - 1);
    for (const char* blank : {" ", "\t", "\r", "\n"}) value = TrimBlanks(value, blank);
    return value;
}

int IconPixelSize(int code) {
    static const int kPixels[] = {16, 24, 32, 48, 64};
    return code >= 0 && code < 5 ? kPixels[code] : 16;
}
