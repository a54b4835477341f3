#include <unordered_set>

#include "app/settings.h"
#include "app/settings_file.h"
#include "platform/platform.h"

namespace {
// Length of the well-formed UTF-8 sequence at `at`, or 0 (overlong forms, surrogates and
// code points above U+10FFFF are not well-formed).
size_t Utf8SequenceLength(const std::string& text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    size_t length;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
    return length;
}

bool IsWellFormedUtf8(const std::string& text) {
    for (size_t at = 0; at < text.size();) {
        size_t length = Utf8SequenceLength(text, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

// Malformed bytes become U+FFFD so every consumer (windows, fonts, file names) gets valid text.
std::string RepairUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        size_t length = Utf8SequenceLength(text, at);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++at;
        } else {
            out.append(text, at, length);
            at += length;
        }
    }
    return out;
}

std::string Latin1ToUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Without a byte order mark the text is Latin-1, unless it is well-formed UTF-8: files written
// by hand on this system are UTF-8, and reading them as Latin-1 would garble every accent.
// NUL bytes are dropped: they would cut the value short in every C interface downstream.
std::string DecodeIniBytes(const std::string& bytes) {
    std::string text;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text = RepairUtf8(bytes.substr(3));
    else if (IsWellFormedUtf8(bytes))
        text = bytes;
    else
        text = Latin1ToUtf8(bytes);
    std::erase(text, '\0');
    return text;
}
}  // namespace

IniFile ParseIniText(const std::string& bytes) {
    const std::string text = DecodeIniBytes(bytes);
    IniFile file;
    std::unordered_set<std::string> seenGroups{""};  // lines before any header belong to group ""
    std::unordered_set<std::string> seenKeys;         // lower-case group + "\n" + key
    std::string group;
    bool skipping = false;  // inside a repeated group header
    size_t entries = 0;

    size_t at = 0;
    while (at < text.size() && entries < kIniEntryLimit) {
        size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) end = text.size();
        size_t begin = text.find_first_not_of(" \t", at);
        at = end + 1;
        if (begin == std::string::npos || begin >= end) continue;
        const char first = text[begin];
        if (first == ';') continue;
        if (first == '[') {
            size_t close = begin + 1;  // searched within the line only
            while (close < end && text[close] != ']') ++close;
            std::string name = text.substr(begin + 1, close - begin - 1);
            skipping = !seenGroups.insert(LowerAscii(name)).second;
            if (!skipping) group = name;
            ++entries;
            continue;
        }
        if (skipping) continue;
        std::string line = text.substr(begin, end - begin);
        size_t equals = line.find('=');
        IniFile::Line entry;
        entry.group = group;
        // A bare word is a key with an empty value (profile switches are written that way).
        entry.key = TrimBlanks(line.substr(0, equals));
        if (equals != std::string::npos) entry.value = TrimBlanks(line.substr(equals + 1));
        if (!seenKeys.insert(LowerAscii(group) + "\n" + LowerAscii(entry.key)).second) continue;
        file.lines.push_back(std::move(entry));
        ++entries;
    }
    file.cut = entries >= kIniEntryLimit && text.find_first_not_of(" \t\r\n", at) < text.size();
    return file;
}

bool ReadIniFile(const std::string& path, IniFile* file) {
    std::string bytes;
    if (path.empty() || !ReadFileStart(path, &bytes, kIniReadLimit)) return false;
    *file = ParseIniText(bytes);
    return true;
}

bool IniLookup(const IniFile& file, const std::string& group, const std::string& key, std::string* value) {
    for (const IniFile::Line& line : file.lines) {
        if (EqualsIgnoringAsciiCase(line.group, group) && EqualsIgnoringAsciiCase(line.key, key)) {
            *value = line.value;
            return true;
        }
    }
    return false;
}
