#include <cstdio>
#include <ctime>

#include "app/job.h"
#include "app/settings.h"
#include "engine/letter_case.h"
#include "engine/naming.h"
#include "platform/platform.h"

namespace {
std::string InputName() { return StripExtension(FileNamePart(Job.InputPath)); }

// Each date token reads the clock anew, as a mask is expanded token by token.
std::string ClockField(int tm::*field, int add, const char* format) {
    time_t now = time(nullptr);
    struct tm local {};
    localtime_r(&now, &local);
    char text[16];
    snprintf(text, sizeof text, format, local.*field + add);
    return text;
}

// At least five digits. Longer numbers stay whole: cutting them would give the
// 100000th file the name of the 10000th and replace it.
std::string FiveDigits(int32_t number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 5) digits.insert(0, 5 - digits.size(), '0');
    return digits;
}

const std::vector<NameToken>& TokenTable() {
    static const std::vector<NameToken> tokens = {
        {"%filename%", [] { return InputName(); }},
        {"%filename[u]%", [] { return UpperCaseText(InputName()); }},
        {"%filename[l]%", [] { return LowerCaseText(InputName()); }},
        {"%filename[t]%", [] { return TitleCaseText(InputName()); }},
        {"%ext%", [] { return Job.OutputFormat; }},
        {"%ext[u]%", [] { return UpperCaseText(Job.OutputFormat); }},
        {"%ext[t]%", [] { return TitleCaseText(Job.OutputFormat); }},
        {"%yyyy%", [] { return ClockField(&tm::tm_year, 1900, "%04d"); }},
        {"%mm%", [] { return ClockField(&tm::tm_mon, 1, "%02d"); }},
        {"%dd%", [] { return ClockField(&tm::tm_mday, 0, "%02d"); }},
        {"%hh%", [] { return ClockField(&tm::tm_hour, 0, "%02d"); }},
        {"%ii%", [] { return ClockField(&tm::tm_min, 0, "%02d"); }},
        {"%ss%", [] { return ClockField(&tm::tm_sec, 0, "%02d"); }},
        {"%bpp%", [] { return std::to_string(Job.OutputBitDepth); }},
        {"%width%", [] { return std::to_string(Job.OutputWidth); }},
        {"%height%", [] { return std::to_string(Job.OutputHeight); }},
        {"%rnd%", [] { return FiveDigits(Job.RandomNumber); }},
        {"%n%", [] { return FiveDigits(Job.NameCounter); }},
    };
    return tokens;
}
}  // namespace

const std::vector<NameToken>& NameTokens() { return TokenTable(); }

std::string TokenValue(const std::string& token) {
    for (const NameToken& entry : TokenTable())
        if (EqualsIgnoringAsciiCase(entry.text, token)) return entry.value();
    return "";
}
