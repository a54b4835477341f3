#include "engine/watermark_font.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <algorithm>
#include <utility>
#include <vector>

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

// The installed face the family resolves to, or nullptr; the caller destroys it.
FcPattern* MatchFamily(const std::string& family) {
    if (family.empty() || !FcInit()) return nullptr;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return nullptr;
    FcPattern* resolved = nullptr;
    if (FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str())) &&
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern)) {
        FcDefaultSubstitute(pattern);
        std::vector<std::string> families = StrongFamilies(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(nullptr, pattern, &result);
        if (match && result == FcResultMatch && MatchHasFamily(match, families))
            resolved = std::exchange(match, nullptr);
        if (match) FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return resolved;
}

// The text is set at 96 dots per inch and at least one point. FreeType refuses pixel sizes of
// 65536 and more, after which nothing would be drawn at all.
bool CanScaleFace(FcPattern* face, int points) {
    const double pixels = std::max(points, 1) * 96.0 / 72.0;
    cairo_font_face_t* cairoFace = cairo_ft_font_face_create_for_pattern(face);
    cairo_matrix_t size, identity;
    cairo_matrix_init_scale(&size, pixels, pixels);
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_scaled_font_t* scaled = cairo_scaled_font_create(cairoFace, &size, &identity, options);
    const bool scales = cairo_scaled_font_status(scaled) == CAIRO_STATUS_SUCCESS;
    cairo_scaled_font_destroy(scaled);
    cairo_font_options_destroy(options);
    cairo_font_face_destroy(cairoFace);
    return scales;
}
}  // namespace

bool CanLoadFontFamily(const std::string& family) {
    FcPattern* face = MatchFamily(family);
    if (!face) return false;
    FcPatternDestroy(face);
    return true;
}

bool LoadWatermarkFont(const std::string& family, int points, bool bold, bool italic, bool underline,
                       bool strikeOut) {
    FreeWatermarkFont();
    FcPattern* face = MatchFamily(family);
    if (!face) return false;
    const bool scales = CanScaleFace(face, points);
    FcPatternDestroy(face);
    if (!scales) return false;
    WatermarkFont.Loaded = true;
    WatermarkFont.Family = family;
    WatermarkFont.Points = points;
    WatermarkFont.Bold = bold;
    WatermarkFont.Italic = italic;
    WatermarkFont.Underline = underline;
    WatermarkFont.StrikeOut = strikeOut;
    return true;
}
