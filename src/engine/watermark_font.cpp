#include "engine/watermark_font.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <vector>

WatermarkFontRecord WatermarkFont;

namespace {
// Families bound strongly after substitution: the name itself and its configured metric
// aliases. Generic fallbacks are appended weakly, so they never appear here.
std::vector<std::string> StrongFamilies(FcPattern* pattern) {
    std::vector<std::string> families;
    FcValue value;
    FcValueBinding binding;
    for (int i = 0; FcPatternGetWithBinding(pattern, FC_FAMILY, i, &value, &binding) == FcResultMatch; ++i) {
        if (value.type == FcTypeString && binding == FcValueBindingStrong)
            families.emplace_back(reinterpret_cast<const char*>(value.u.s));
    }
    return families;
}

bool MatchHasFamily(FcPattern* match, const std::vector<std::string>& families) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        for (const std::string& family : families)
            if (strcasecmp(family.c_str(), reinterpret_cast<const char*>(name)) == 0) return true;
    }
    return false;
}
}  // namespace

bool CanLoadFontFamily(const std::string& family) {
    if (family.empty() || !FcInit()) return false;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    bool resolved = false;
    if (FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str())) &&
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern)) {
        FcDefaultSubstitute(pattern);
        std::vector<std::string> families = StrongFamilies(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(nullptr, pattern, &result);
        if (match) {
            resolved = result == FcResultMatch && MatchHasFamily(match, families);
            FcPatternDestroy(match);
        }
    }
    FcPatternDestroy(pattern);
    return resolved;
}

bool LoadWatermarkFont(const std::string& family, int points, bool bold, bool italic, bool underline,
                       bool strikeOut) {
    FreeWatermarkFont();
    if (!CanLoadFontFamily(family)) return false;
    WatermarkFont.Loaded = true;
    WatermarkFont.Family = family;
    WatermarkFont.Points = points;
    WatermarkFont.Bold = bold;
    WatermarkFont.Italic = italic;
    WatermarkFont.Underline = underline;
    WatermarkFont.StrikeOut = strikeOut;
    return true;
}

void FreeWatermarkFont() { WatermarkFont = WatermarkFontRecord(); }
