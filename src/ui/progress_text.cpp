#include "ui/progress_text.h"

#include <cstdio>
#include <vector>

std::string FormatDuration(int64_t milliseconds) {
    int64_t seconds = 0, minutes = 0, hours = 0, days = 0;
    if (milliseconds >= 1000) {
        seconds = milliseconds / 1000;
        minutes = seconds / 60;
        seconds %= 60;
        hours = minutes / 60;
        minutes %= 60;
        days = hours / 24;
        hours %= 24;
    }
    char text[64];
    if (days > 0)
        snprintf(text, sizeof text, "%lldd:%02lld:%02lld:%02lld", static_cast<long long>(days),
                 static_cast<long long>(hours), static_cast<long long>(minutes), static_cast<long long>(seconds));
    else
        snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(hours),
                 static_cast<long long>(minutes), static_cast<long long>(seconds));
    return text;
}

namespace {
// Byte offsets where each character starts, so a cut never lands inside a UTF-8 sequence.
std::vector<size_t> CharacterStarts(const std::string& text) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    return starts;
}
}  // namespace

std::string ShortenMiddle(const std::string& text, int budget) {
    const std::vector<size_t> starts = CharacterStarts(text);
    const int64_t length = static_cast<int64_t>(starts.size());
    if (text.empty() || budget >= length) return text;
    // A budget below 3 leaves no room around the dots; keep just the dots rather than a negative slice.
    const int64_t keep = budget > 3 ? (budget - 3) / 2 : 0;
    const size_t headEnd = starts[keep];
    const size_t tailStart = keep > 0 ? starts[length - keep] : text.size();
    return text.substr(0, headEnd) + "..." + text.substr(tailStart);
}
