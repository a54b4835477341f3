#include "app/job.h"
#include "app/settings.h"
#include "cli/keywords.h"
#include "cli/options.h"

namespace {

// A matched pair only, so a text that merely ends in a quoted word keeps its quotes.
std::string RemoveOuterQuotes(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
    return text;
}

void StoreNumber(const SettingInfo& setting, int32_t value) {
    switch (setting.type) {
        case SettingType::Int32:
        case SettingType::Date: *static_cast<int32_t*>(setting.field) = value; break;
        case SettingType::Int8:
        case SettingType::Flag: *static_cast<int8_t*>(setting.field) = LowByte(value); break;
        case SettingType::Float32:
        case SettingType::Text:
        case SettingType::Colour: break;  // no option writes a number there; the table test holds it
    }
}

void StoreValue(const SettingInfo& setting, const OptionInfo& option, const std::string& value) {
    switch (option.kind) {
        case OptionKind::Flag: StoreNumber(setting, option.flagValue); break;
        case OptionKind::Integer: StoreNumber(setting, ParseOptionInteger(value)); break;
        case OptionKind::Keyword: StoreNumber(setting, KeywordToCode(option.keywordList, TrimBlanks(value))); break;
        case OptionKind::Decimal:
            if (setting.type == SettingType::Float32) *static_cast<float*>(setting.field) = ParseOptionDecimal(value);
            break;
        case OptionKind::Text:
            if (setting.type == SettingType::Text || setting.type == SettingType::Colour)
                *static_cast<std::string*>(setting.field) = RemoveOuterQuotes(value);
            break;
    }
}
}  // namespace

const char* const kIncorrectParameters = "Incorrect number of parameters";
const char* const kInvalidProfile = "Invalid profile file";

float ParseOptionDecimal(const std::string& text) {
    const std::string trimmed = TrimBlanks(text);
    for (const char* word : {"+Infinity", "-Infinity", "NaN"})
        if (EqualsIgnoringAsciiCase(trimmed, word)) return ParseFloatLikeAtof(trimmed);
    // The whole value must be the number: "1,5" or "2x" is no number at all, not 1 or 2.
    size_t i = 0;
    auto digits = [&] {
        const size_t start = i;
        while (i < trimmed.size() && trimmed[i] >= '0' && trimmed[i] <= '9') ++i;
        return i > start;
    };
    if (i < trimmed.size() && (trimmed[i] == '+' || trimmed[i] == '-')) ++i;
    bool mantissa = digits();
    if (i < trimmed.size() && trimmed[i] == '.') {
        ++i;
        mantissa = digits() || mantissa;
    }
    if (mantissa && i < trimmed.size() && (trimmed[i] == 'e' || trimmed[i] == 'E')) {
        ++i;
        if (i < trimmed.size() && (trimmed[i] == '+' || trimmed[i] == '-')) ++i;
        if (!digits()) return 0.0f;
    }
    return mantissa && i == trimmed.size() ? ParseFloatLikeAtof(trimmed) : 0.0f;
}

std::string ApplyOption(const OptionInfo& option, const std::string& value) {
    switch (option.target) {
        case OptionTarget::InputFile:
            Job.InputFolder = RemoveOuterQuotes(value);
            Job.ConsoleMode = true;
            return std::string();
        case OptionTarget::OutputFolder: Job.OutputFolder = RemoveOuterQuotes(value); return std::string();
        case OptionTarget::OutputFormat: Job.OutputFormat = RemoveOuterQuotes(value); return std::string();
        case OptionTarget::Profile: return LoadProfile(RemoveOuterQuotes(value)) ? std::string() : kInvalidProfile;
        case OptionTarget::Debug: Job.RunModeText = "DEBUG"; return std::string();
        case OptionTarget::Quiet: ConsoleQuiet = true; return std::string();
        case OptionTarget::Pause: ConsolePause = true; return std::string();
        case OptionTarget::Setting: break;
    }
    if (option.switchKey) {
        if (const SettingInfo* onOff = FindSetting(option.group, option.switchKey)) StoreNumber(*onOff, option.switchValue);
    }
    if (const SettingInfo* setting = FindSetting(option.group, option.key)) StoreValue(*setting, option, value);
    return std::string();
}
