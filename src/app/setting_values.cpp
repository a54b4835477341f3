#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

#include "app/settings.h"

namespace {
int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

char LowerAsciiLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Locale-independent: GTK switches LC_NUMERIC to the user's locale, where strtof and printf
// would read and write "1,5".
float DecimalToFloat(const std::string& number) {
    const char* begin = number.c_str();
    const char* end = begin + number.size();
    const bool negative = *begin == '-';
    if (*begin == '+') ++begin;
    double value = 0;
    auto [stop, error] = std::from_chars(begin, end, value);
    (void)stop;
    if (error == std::errc::result_out_of_range) {
        // Beyond double: huge unless the exponent is negative or only fraction digits are non-zero.
        size_t e = number.find_first_of("eE");
        bool huge = e != std::string::npos ? number[e + 1] != '-'
                                           : number.find_first_of("123456789") < number.find('.');
        value = huge ? std::numeric_limits<double>::infinity() : 0.0;
        if (negative) value = -value;
    }
    const float infinity = std::numeric_limits<float>::infinity();
    if (std::fabs(value) > std::numeric_limits<float>::max()) return negative ? -infinity : infinity;
    return static_cast<float>(value);
}
}  // namespace

std::string TrimBlanks(const std::string& text, const char* blanks) {
    size_t begin = text.find_first_not_of(blanks);
    if (begin == std::string::npos) return std::string();
    size_t end = text.find_last_not_of(blanks);
    return text.substr(begin, end - begin + 1);
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAsciiLetter(a[i]) != LowerAsciiLetter(b[i])) return false;
    return true;
}

std::string LowerAscii(std::string text) {
    for (char& c : text) c = LowerAsciiLetter(c);
    return text;
}

std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

const SettingInfo* FindSetting(const std::string& group, const std::string& key) {
    for (const SettingInfo& info : SettingsTable())
        if (EqualsIgnoringAsciiCase(info.group, group) && EqualsIgnoringAsciiCase(info.key, key)) return &info;
    return nullptr;
}

int32_t ParseIntLikeAtoi(const std::string& text) {
    size_t i = 0;
    // The blanks atoi skips in the C locale, whatever locale is active.
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    // Saturate instead of overflowing on absurdly long digit runs.
    for (; i < text.size() && isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t{1} << 32) value = int64_t{1} << 32;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int32_t ParseOptionInteger(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    uint32_t base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == '%')) base = text[i++] == '$' ? 16 : 2;
    // Unsigned arithmetic wraps, which keeps exactly the low 32 bits of any digit run.
    uint32_t value = 0;
    for (; i < text.size(); ++i) {
        int digit = DigitValue(text[i]);
        if (digit >= static_cast<int>(base)) break;
        value = value * base + static_cast<uint32_t>(digit);
    }
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

float ParseFloatLikeAtof(const std::string& text) {
    std::string trimmed = TrimBlanks(text);
    if (EqualsIgnoringAsciiCase(trimmed, "+Infinity")) return std::numeric_limits<float>::infinity();
    if (EqualsIgnoringAsciiCase(trimmed, "-Infinity")) return -std::numeric_limits<float>::infinity();
    if (EqualsIgnoringAsciiCase(trimmed, "NaN")) return std::numeric_limits<float>::quiet_NaN();
    // Only the decimal prefix counts, as atof reads it; strtof alone would also take "inf" or hex.
    size_t i = 0;
    std::string number;
    if (i < trimmed.size() && (trimmed[i] == '+' || trimmed[i] == '-')) number += trimmed[i++];
    bool digits = false;
    while (i < trimmed.size() && isdigit(static_cast<unsigned char>(trimmed[i]))) number += trimmed[i++], digits = true;
    if (i < trimmed.size() && trimmed[i] == '.') {
        number += trimmed[i++];
        while (i < trimmed.size() && isdigit(static_cast<unsigned char>(trimmed[i]))) number += trimmed[i++], digits = true;
    }
    if (!digits) return 0.0f;
    if (i < trimmed.size() && (trimmed[i] == 'e' || trimmed[i] == 'E')) {
        std::string exponent(1, 'e');
        size_t j = i + 1;
        if (j < trimmed.size() && (trimmed[j] == '+' || trimmed[j] == '-')) exponent += trimmed[j++];
        const size_t start = exponent.size();
        bool any = false;
        while (j < trimmed.size() && trimmed[j] == '0') ++j, any = true;
        while (j < trimmed.size() && isdigit(static_cast<unsigned char>(trimmed[j]))) {
            // Six digits already leave every float behind; a longer run must not wrap into a small one.
            if (exponent.size() - start < 6) exponent += trimmed[j];
            else exponent.replace(start, std::string::npos, "999999");
            ++j, any = true;
        }
        if (any) number += exponent.size() > start ? exponent : exponent + "0";
    }
    return DecimalToFloat(number);
}

int8_t LowByte(int32_t value) { return static_cast<int8_t>(static_cast<uint8_t>(static_cast<uint32_t>(value) & 0xFF)); }

void StoreSettingText(const SettingInfo& info, const std::string& value) {
    switch (info.type) {
        case SettingType::Text:
        case SettingType::Colour:
            *static_cast<std::string*>(info.field) = TrimBlanks(value);
            break;
        case SettingType::Int32:
        case SettingType::Date:
            *static_cast<int32_t*>(info.field) = ParseIntLikeAtoi(value);
            break;
        case SettingType::Int8:
        case SettingType::Flag:
            *static_cast<int8_t*>(info.field) = LowByte(ParseIntLikeAtoi(value));
            break;
        case SettingType::Float32:
            *static_cast<float*>(info.field) = ParseFloatLikeAtof(value);
            break;
    }
}

std::string SettingValueText(const SettingInfo& info) {
    switch (info.type) {
        case SettingType::Text:
        case SettingType::Colour:
            return *static_cast<const std::string*>(info.field);
        case SettingType::Int32:
        case SettingType::Date:
            return std::to_string(*static_cast<const int32_t*>(info.field));
        case SettingType::Int8:
        case SettingType::Flag:
            return std::to_string(static_cast<int>(*static_cast<const int8_t*>(info.field)));
        case SettingType::Float32: {
            float value = *static_cast<const float*>(info.field);
            if (std::isinf(value)) return value > 0 ? "+Infinity" : "-Infinity";
            if (std::isnan(value)) return "NaN";
            char buffer[64];
            auto written = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                         std::chars_format::fixed, 6);
            return std::string(buffer, written.ptr);
        }
    }
    return std::string();
}
