#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "app/settings.h"

namespace {
bool EqualsNoCase(const char* a, const std::string& b) {
    return strlen(a) == b.size() && strncasecmp(a, b.c_str(), b.size()) == 0;
}

std::string TrimBlanks(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return std::string();
    size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}
}  // namespace

const SettingInfo* FindSetting(const std::string& group, const std::string& key) {
    for (const SettingInfo& info : SettingsTable())
        if (EqualsNoCase(info.group, group) && EqualsNoCase(info.key, key)) return &info;
    return nullptr;
}

int32_t ParseIntLikeAtoi(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && isspace(static_cast<unsigned char>(text[i]))) ++i;
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

float ParseFloatLikeAtof(const std::string& text) {
    std::string trimmed = TrimBlanks(text);
    if (strcasecmp(trimmed.c_str(), "+Infinity") == 0) return std::numeric_limits<float>::infinity();
    if (strcasecmp(trimmed.c_str(), "-Infinity") == 0) return -std::numeric_limits<float>::infinity();
    if (strcasecmp(trimmed.c_str(), "NaN") == 0) return std::numeric_limits<float>::quiet_NaN();
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
        size_t start = exponent.size();
        while (j < trimmed.size() && isdigit(static_cast<unsigned char>(trimmed[j])) && exponent.size() < 12)
            exponent += trimmed[j++];
        if (exponent.size() > start) number += exponent;
    }
    return strtof(number.c_str(), nullptr);
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
            snprintf(buffer, sizeof buffer, "%.6f", static_cast<double>(value));
            return buffer;
        }
    }
    return std::string();
}
