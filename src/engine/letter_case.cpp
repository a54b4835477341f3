#include "engine/letter_case.h"

#include <locale.h>
#include <wctype.h>


namespace {
enum class Case { Upper, Lower };

// One code point from `text` at `at`; false for a byte that starts no valid sequence.
bool DecodeCodePoint(const std::string& text, size_t at, char32_t* point, size_t* length) {
    unsigned char first = static_cast<unsigned char>(text[at]);
    size_t count = first < 0x80 ? 1 : (first & 0xE0) == 0xC0 ? 2 : (first & 0xF0) == 0xE0 ? 3 : (first & 0xF8) == 0xF0 ? 4 : 0;
    if (count == 0 || at + count > text.size()) return false;
    char32_t value = count == 1 ? first : count == 2 ? (first & 0x1F) : count == 3 ? (first & 0x0F) : (first & 0x07);
    for (size_t i = 1; i < count; ++i) {
        unsigned char next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return false;
        value = (value << 6) | (next & 0x3F);
    }
    static const char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[count] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    *point = value;
    *length = count;
    return true;
}

void AppendCodePoint(std::string* out, char32_t point) {
    if (point < 0x80) {
        out->push_back(static_cast<char>(point));
    } else if (point < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (point >> 6)));
        out->push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else if (point < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (point >> 12)));
        out->push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (point >> 18)));
        out->push_back(static_cast<char>(0x80 | ((point >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (point & 0x3F)));
    }
}

char32_t MapCodePoint(char32_t point, Case to, locale_t unicode) {
    if (unicode == static_cast<locale_t>(0)) {
        // Without a UTF-8 locale only ASCII letters change.
        if (to == Case::Upper && point >= 'a' && point <= 'z') return point - 'a' + 'A';
        if (to == Case::Lower && point >= 'A' && point <= 'Z') return point - 'A' + 'a';
        return point;
    }
    wint_t mapped = to == Case::Upper ? towupper_l(static_cast<wint_t>(point), unicode)
                                      : towlower_l(static_cast<wint_t>(point), unicode);
    return static_cast<char32_t>(mapped);
}

// `firstUpper` switches to title case: the first code point upper, the rest `to`.
std::string ChangeCase(const std::string& text, Case to, bool firstUpper) {
    // The program's own locale may be "C"; case mapping of names must not depend on it.
    locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    std::string out;
    out.reserve(text.size());
    bool first = true;
    for (size_t at = 0; at < text.size();) {
        char32_t point = 0;
        size_t length = 0;
        if (!DecodeCodePoint(text, at, &point, &length)) {
            out.push_back(text[at]);  // keep bytes that are not UTF-8 as they are
            ++at;
            first = false;
            continue;
        }
        AppendCodePoint(&out, MapCodePoint(point, first && firstUpper ? Case::Upper : to, unicode));
        at += length;
        first = false;
    }
    if (unicode != static_cast<locale_t>(0)) freelocale(unicode);
    return out;
}
}  // namespace

std::string UpperCaseText(const std::string& text) { return ChangeCase(text, Case::Upper, false); }
std::string LowerCaseText(const std::string& text) { return ChangeCase(text, Case::Lower, false); }
std::string TitleCaseText(const std::string& text) { return ChangeCase(text, Case::Lower, true); }
