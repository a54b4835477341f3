#include <cctype>

#include "engine/transforms.h"

namespace {
// Reads the leading hexadecimal digits of a two-character pair, as strtol would; "1G" is 1.
int ReadHexPair(const std::string& text, size_t start) {
    int value = 0;
    for (size_t i = start; i < start + 2; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!isxdigit(c)) break;
        value = value * 16 + (isdigit(c) ? c - '0' : tolower(c) - 'a' + 10);
    }
    return value;
}
}  // namespace

void ParseColour(const std::string& text, int* red, int* green, int* blue) {
    const bool valid = text.size() == 6;
    if (red) *red = valid ? ReadHexPair(text, 0) : 0;
    if (green) *green = valid ? ReadHexPair(text, 2) : 0;
    if (blue) *blue = valid ? ReadHexPair(text, 4) : 0;
}
