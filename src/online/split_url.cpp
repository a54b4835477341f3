#include <cctype>

#include "online/online.h"

namespace {
bool IsSchemeCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.'; }

bool ParsePort(const std::string& text, int* port) {
    if (text.empty()) return true;  // "host:" keeps the default
    if (text.size() > 5) return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535) return false;
    *port = value;
    return true;
}
}  // namespace

bool SplitUrl(const std::string& url, UrlParts* parts) {
    // A blank or a line break would end the request line early or add header lines of its own.
    for (unsigned char c : url)
        if (c <= 0x20 || c == 0x7F) return false;
    std::string rest = url;
    size_t scheme = rest.find("://");
    if (scheme != std::string::npos && scheme > 0) {
        bool isScheme = true;
        for (size_t i = 0; i < scheme; ++i) isScheme = isScheme && IsSchemeCharacter(rest[i]);
        if (isScheme) rest.erase(0, scheme + 3);
    }
    size_t authorityEnd = rest.find_first_of("/?#");
    std::string authority = rest.substr(0, authorityEnd);
    std::string remainder = authorityEnd == std::string::npos ? std::string() : rest.substr(authorityEnd);
    size_t at = authority.rfind('@');
    if (at != std::string::npos) authority.erase(0, at + 1);

    UrlParts result;
    std::string portText;
    if (!authority.empty() && authority[0] == '[') {
        size_t close = authority.find(']');
        if (close == std::string::npos) return false;
        result.host = authority.substr(1, close - 1);
        std::string after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after[0] != ':') return false;
            portText = after.substr(1);
        }
    } else {
        size_t colon = authority.find(':');
        result.host = authority.substr(0, colon);
        if (colon != std::string::npos) portText = authority.substr(colon + 1);
    }
    if (result.host.empty() || !ParsePort(portText, &result.port)) return false;

    size_t fragment = remainder.find('#');
    if (fragment != std::string::npos) remainder.resize(fragment);
    result.path = !remainder.empty() && remainder[0] == '/' ? remainder : "/" + remainder;
    *parts = result;
    return true;
}
