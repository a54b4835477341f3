// The text watermark's box, drawn with pango on cairo surfaces.
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstdint>

#include "app/settings.h"
#include "engine/drawing/overlay_surface.h"
#include "engine/frame_watermark.h"
#include "engine/watermark_font.h"

namespace {

// Our own font map, never GTK's default one, so drawing on the worker thread is safe while a
// window is open.
struct TextTools {
    PangoFontMap* fontMap = nullptr;
    PangoContext* context = nullptr;
    PangoFontDescription* font = nullptr;
    PangoAttrList* attributes = nullptr;
};

void ReleaseTextTools(TextTools* tools) {
    if (tools->attributes) pango_attr_list_unref(tools->attributes);
    if (tools->font) pango_font_description_free(tools->font);
    if (tools->context) g_object_unref(tools->context);
    if (tools->fontMap) g_object_unref(tools->fontMap);
    *tools = TextTools{};
}

bool CreateTextTools(bool antialias, TextTools* tools) {
    tools->fontMap = pango_cairo_font_map_new();
    if (!tools->fontMap) return false;
    // Points are typographic points at 96 dpi: 14 points is about 19 pixels.
    pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(tools->fontMap), 96.0);
    tools->context = pango_font_map_create_context(tools->fontMap);
    if (!tools->context) return false;
    pango_cairo_context_set_resolution(tools->context, 96.0);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    pango_cairo_context_set_font_options(tools->context, options);
    cairo_font_options_destroy(options);

    tools->font = pango_font_description_new();
    pango_font_description_set_family(tools->font, WatermarkFont.Family.c_str());
    pango_font_description_set_size(tools->font, std::max(WatermarkFont.Points, 1) * PANGO_SCALE);
    pango_font_description_set_weight(tools->font, WatermarkFont.Bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(tools->font, WatermarkFont.Italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    tools->attributes = pango_attr_list_new();
    if (WatermarkFont.Underline) pango_attr_list_insert(tools->attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (WatermarkFont.StrikeOut) pango_attr_list_insert(tools->attributes, pango_attr_strikethrough_new(TRUE));
    return true;
}

// One layout per line: only "%eol%" breaks lines, a newline character does not.
PangoLayout* CreateLineLayout(const TextTools& tools, const std::string& line) {
    PangoLayout* layout = pango_layout_new(tools.context);
    pango_layout_set_single_paragraph_mode(layout, TRUE);
    pango_layout_set_font_description(layout, tools.font);
    pango_layout_set_attributes(layout, tools.attributes);
    // Settings text is meant to be UTF-8; pango refuses anything else outright.
    gchar* valid = g_utf8_make_valid(line.c_str(), static_cast<gssize>(line.size()));
    pango_layout_set_text(layout, valid, -1);
    g_free(valid);
    return layout;
}

struct TextLayout {
    std::vector<PangoLayout*> lines;
    std::vector<int> widths;
    // 64 bits: a leading far out of range must not overflow the box arithmetic.
    int64_t textWidth = 0, textHeight = 0, advance = 0;
};

void ReleaseLayout(TextLayout* layout) {
    for (PangoLayout* line : layout->lines) g_object_unref(line);
    layout->lines.clear();
}

// Measures on a small scratch surface, so the metrics are those of the surface drawn on later.
bool MeasureText(const TextTools& tools, const std::string& text, TextLayout* layout) {
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 10, 10);
    cairo_t* cr = cairo_create(scratch);
    const bool ready = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    if (ready) pango_cairo_update_context(cr, tools.context);
    cairo_destroy(cr);
    cairo_surface_destroy(scratch);
    if (!ready) return false;

    const std::vector<std::string> lines = SplitWatermarkLines(text);
    int lineWidth = 0, lineHeight = 0;
    for (const std::string& line : lines) {
        PangoLayout* lineLayout = CreateLineLayout(tools, line);
        int width = 0, height = 0;
        pango_layout_get_pixel_size(lineLayout, &width, &height);
        layout->lines.push_back(lineLayout);
        layout->widths.push_back(width);
        lineWidth = std::max(lineWidth, width);
        lineHeight = std::max(lineHeight, height);
    }
    if (lines.size() == 1) {
        layout->textWidth = lineWidth;
        layout->textHeight = lineHeight;
        return true;
    }
    lineWidth = std::max(lineWidth, 10);
    lineHeight = std::max(lineHeight, 10);
    layout->advance = int64_t{lineHeight} + Settings.Watermark.FontLeading;
    layout->textWidth = lineWidth;
    layout->textHeight = lineHeight + static_cast<int64_t>(lines.size() - 1) * layout->advance;
    return true;
}

// The part of the text box drawn on one surface, in box pixels.
struct BoxPart {
    int64_t left, top;
    int width, height;
};

// cairo renders every glyph of a run whole before it clips, which for a huge font costs far more
// than the surface. Glyphs whose ink cannot touch the surface become empty; the advances stay,
// so the others keep their places and their pixels.
void LeaveOutUnseenGlyphs(PangoLayout* layout, double x, double y, int width, int height) {
    constexpr double kMargin = 4;
    PangoLayoutIter* iter = pango_layout_get_iter(layout);
    do {
        PangoLayoutRun* run = pango_layout_iter_get_run(iter);
        if (!run) continue;
        PangoRectangle logical{};
        pango_layout_iter_get_run_extents(iter, nullptr, &logical);
        const double baseline = y + static_cast<double>(pango_layout_iter_get_baseline(iter)) / PANGO_SCALE;
        int64_t advance = logical.x;
        for (int i = 0; i < run->glyphs->num_glyphs; ++i) {
            PangoGlyphInfo& glyph = run->glyphs->glyphs[i];
            const int64_t origin = advance + glyph.geometry.x_offset;
            advance += glyph.geometry.width;
            if (glyph.glyph == PANGO_GLYPH_EMPTY || (glyph.glyph & PANGO_GLYPH_UNKNOWN_FLAG)) continue;
            PangoRectangle ink{};
            pango_font_get_glyph_extents(run->item->analysis.font, glyph.glyph, &ink, nullptr);
            const double left = x + static_cast<double>(origin + ink.x) / PANGO_SCALE;
            const double top = baseline + static_cast<double>(int64_t{glyph.geometry.y_offset} + ink.y) / PANGO_SCALE;
            const double right = left + static_cast<double>(ink.width) / PANGO_SCALE;
            const double bottom = top + static_cast<double>(ink.height) / PANGO_SCALE;
            if (right < -kMargin || bottom < -kMargin || left > width + kMargin || top > height + kMargin)
                glyph.glyph = PANGO_GLYPH_EMPTY;
        }
    } while (pango_layout_iter_next_run(iter));
    pango_layout_iter_free(iter);
}

// Lines sit where they sit in the whole box; the surface only shows the part's window of it.
void DrawLines(cairo_t* cr, const TextTools& tools, const TextLayout& layout, int boxWidth, const BoxPart& part) {
    const int padding = Settings.Watermark.TextPadding;
    pango_cairo_update_context(cr, tools.context);
    for (size_t i = 0; i < layout.lines.size(); ++i) {
        const int64_t x = layout.lines.size() == 1 ? padding : AlignLine(layout.widths[i], boxWidth);
        const int64_t y = padding + static_cast<int64_t>(i) * layout.advance;
        const int64_t dx = x - part.left, dy = y - part.top;
        // cairo's fixed-point coordinates wrap near 8 million pixels; pango's end at 2 million,
        // so a line starting this far away cannot reach the part.
        constexpr int64_t kFarAway = int64_t{1} << 22;
        if (dx < -kFarAway || dx > kFarAway || dy < -kFarAway || dy > kFarAway) continue;
        pango_layout_context_changed(layout.lines[i]);
        LeaveOutUnseenGlyphs(layout.lines[i], static_cast<double>(dx), static_cast<double>(dy), part.width, part.height);
        // Whole pixels: the glyphs land on the same pixel grid as in the whole box.
        cairo_move_to(cr, static_cast<double>(dx), static_cast<double>(dy));
        pango_cairo_show_layout(cr, layout.lines[i]);
    }
}

// Hard-edged text: colour and alpha are written as they are, background and glyphs alike.
cairo_surface_t* DrawPlainBox(const TextTools& tools, const TextLayout& layout, int boxWidth, const BoxPart& part) {
    cairo_surface_t* text = CreateOverlaySurface(part.width, part.height);
    if (!text) return nullptr;
    const auto& w = Settings.Watermark;
    cairo_t* cr = cairo_create(text);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    SetOverlayColour(cr, w.BackColor, OpacityByte(w.BackOpacity));
    cairo_paint(cr);
    SetOverlayColour(cr, w.FontColor, OpacityByte(w.TextOpacity));
    DrawLines(cr, tools, layout, boxWidth, part);
    cairo_destroy(cr);
    return text;
}

cairo_surface_t* DrawSmoothBox(const TextTools& tools, const TextLayout& layout, int boxWidth, const BoxPart& part) {
    cairo_surface_t* back = CreateOverlaySurface(part.width, part.height);
    cairo_surface_t* text = back ? CreateOverlaySurface(part.width, part.height) : nullptr;
    cairo_surface_t* result = text ? CreateOverlaySurface(part.width, part.height) : nullptr;
    if (result) {
        const auto& w = Settings.Watermark;
        cairo_t* cr = cairo_create(back);
        SetOverlayColour(cr, w.BackColor, 255);
        cairo_paint(cr);
        cairo_destroy(cr);

        cr = cairo_create(text);
        SetOverlayColour(cr, w.FontColor, 255);
        DrawLines(cr, tools, layout, boxWidth, part);
        cairo_destroy(cr);

        cr = cairo_create(result);
        cairo_set_source_surface(cr, back, 0, 0);
        cairo_paint_with_alpha(cr, OpacityByte(w.BackOpacity) / 255.0);
        cairo_set_source_surface(cr, text, 0, 0);
        cairo_paint_with_alpha(cr, OpacityByte(w.TextOpacity) / 255.0);
        cairo_destroy(cr);
    }
    if (text) cairo_surface_destroy(text);
    if (back) cairo_surface_destroy(back);
    return result;
}

// Where the box goes: a picture of this size, the spot it lands on reported back.
struct PictureTarget {
    int width, height;
    int *x, *y;
};

// The part of a measured box to draw: all of it without a picture, else what lands on the
// picture. False draws nothing.
bool ChooseBoxPart(int64_t boxWidth, int64_t boxHeight, const PictureTarget* picture, BoxPart* part) {
    if (!picture) {
        // cairo's image surfaces stop at 32767 pixels a side.
        if (boxWidth > 32767 || boxHeight > 32767 || boxWidth * boxHeight > kMaxWholeTextBoxPixels) return false;
        *part = {0, 0, static_cast<int>(boxWidth), static_cast<int>(boxHeight)};
        return true;
    }
    WatermarkSpot spot{};
    if (!LocateWatermark(picture->width, picture->height, boxWidth, boxHeight, &spot)) return false;
    *part = {spot.left, spot.top, spot.width, spot.height};
    *picture->x = spot.x;
    *picture->y = spot.y;
    return true;
}

FIBITMAP* BuildTextBox(const PictureTarget* picture) {
    if (!WatermarkFont.Loaded) return nullptr;
    const bool antialias = Settings.Watermark.TextAntialiasing != 0;
    TextTools tools;
    TextLayout layout;
    FIBITMAP* overlay = nullptr;
    if (CreateTextTools(antialias, &tools) && MeasureText(tools, WatermarkText(), &layout)) {
        const int64_t padding = Settings.Watermark.TextPadding;
        const int64_t boxWidth = layout.textWidth + 2 * padding, boxHeight = layout.textHeight + 2 * padding;
        BoxPart part{};
        // AlignLine works in int.
        if (boxWidth > 0 && boxHeight > 0 && boxWidth <= INT32_MAX && ChooseBoxPart(boxWidth, boxHeight, picture, &part)) {
            const int w = static_cast<int>(boxWidth);
            cairo_surface_t* box = antialias ? DrawSmoothBox(tools, layout, w, part) : DrawPlainBox(tools, layout, w, part);
            overlay = SurfaceToBitmap(box);
            if (box) cairo_surface_destroy(box);
        }
    }
    ReleaseLayout(&layout);
    ReleaseTextTools(&tools);
    return overlay;
}

}  // namespace

FIBITMAP* BuildTextOverlay() { return BuildTextBox(nullptr); }

// The box is measured first and only its visible part is drawn: a huge font size costs what
// shows, not the whole box.
FIBITMAP* BuildVisibleTextOverlay(int width, int height, int* x, int* y) {
    const PictureTarget picture{width, height, x, y};
    return BuildTextBox(&picture);
}
