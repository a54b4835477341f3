// The larger built-in pictures: the Convert button, the About banner, the spare picture and the
// program's own icon.
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

#include "pictures.h"

namespace {
// A small landscape: the BMP going in.
void DrawLandscape(const Pen& pen, double x, double y, double w, double h) {
    cairo_t* cr = pen.cr;
    cairo_rectangle(cr, x, y, w, h);
    FillAndInk(pen, palette::kSky);
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    cairo_move_to(cr, x, y + h);
    cairo_line_to(cr, x + w * 0.35, y + h * 0.45);
    cairo_line_to(cr, x + w * 0.6, y + h * 0.75);
    cairo_line_to(cr, x + w * 0.75, y + h * 0.6);
    cairo_line_to(cr, x + w, y + h * 0.9);
    cairo_line_to(cr, x + w, y + h);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, palette::kGreen.r, palette::kGreen.g, palette::kGreen.b);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_set_source_rgb(cr, palette::kInk.r, palette::kInk.g, palette::kInk.b);
    cairo_set_line_width(cr, pen.outline);
    cairo_stroke(cr);
    DrawDisc(pen, x + w * 0.75, y + h * 0.28, h * 0.13, palette::kFolder);
}

void DrawText(cairo_t* cr, const char* text, const char* font, double x, double y, Rgb colour) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* description = pango_font_description_from_string(font);
    pango_layout_set_font_description(layout, description);
    pango_layout_set_text(layout, text, -1);
    cairo_move_to(cr, x, y);
    cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
    pango_cairo_show_layout(cr, layout);
    pango_font_description_free(description);
    g_object_unref(layout);
}

void DrawBand(cairo_t* cr, int width, int height) {
    cairo_pattern_t* band = cairo_pattern_create_linear(0, 0, width, 0);
    cairo_pattern_add_color_stop_rgb(band, 0, palette::kPaper.r, palette::kPaper.g, palette::kPaper.b);
    cairo_pattern_add_color_stop_rgb(band, 1, palette::kSky.r, palette::kSky.g, palette::kSky.b);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_set_source(cr, band);
    cairo_fill(cr);
    cairo_pattern_destroy(band);
}
}  // namespace

void DrawConvertButton(cairo_t* cr, int size) {
    double scale = size / 64.0;
    cairo_save(cr);
    cairo_scale(cr, scale, scale);
    Pen pen{cr, 2.0};
    DrawLandscape(pen, 3, 3, 32, 26);
    // a curved arrow from the picture down to its mip chain
    cairo_move_to(cr, 36, 15);
    cairo_curve_to(cr, 48, 15, 51, 22, 51, 36);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    StrokeInked(cr, 9, 5, palette::kGreen);
    cairo_move_to(cr, 44, 35);
    cairo_line_to(cr, 58, 35);
    cairo_line_to(cr, 51, 46);
    cairo_close_path(cr);
    FillAndInk(pen, palette::kGreen);
    DrawMipPyramid(pen, 14, 61, 22, 63);
    cairo_restore(cr);
}

void DrawBanner(cairo_t* cr, int width, int height) {
    DrawBand(cr, width, height);
    Pen pen{cr, 1.5};
    DrawLandscape(pen, 8.5, 7.5, 30, 24);
    DrawArrow(pen, 42, 20, 56, 20, 4, 10, palette::kGreen);
    DrawMipPyramid(pen, 60.5, 32.5, 24, 110);
    DrawText(cr, "Quarvel", "Liberation Sans Bold 17px", 112, 3, palette::kInk);
    DrawText(cr, "BMP to DDS with full mipmaps", "Liberation Sans 11px", 114, 23, palette::kInk);
}

void DrawSparePicture(cairo_t* cr, int width, int height) {
    DrawBand(cr, width, height);
    Pen pen{cr, 1.5};
    DrawMipPyramid(pen, 10.5, height - 12.5, 44, 115);
    DrawText(cr, "Quarvel", "Liberation Sans Bold 28px", 118, 10, palette::kInk);
    DrawText(cr, "textures made simple", "Liberation Sans 13px", 120, 44, palette::kInk);
}

void DrawProgramIcon(cairo_t* cr, int size) {
    // A picture and its halving mip levels, each overlapping the corner of the one before. Drawn on a
    // 64-unit grid; the ink stays about one device pixel wide at 16 and 32 and grows slowly above.
    double scale = size / 64.0;
    cairo_save(cr);
    cairo_scale(cr, scale, scale);
    Pen pen{cr, std::max(1.0, size / 40.0) / scale};
    const struct {
        double at, side;
    } levels[] = {{2, 40}, {34, 20}, {50, 10}, {57, 5}};
    for (const auto& level : levels) {
        if (level.side * scale < 2.5) break;  // a level smaller than that is only a smudge
        DrawLandscape(pen, level.at, level.at, level.side, level.side);
    }
    cairo_restore(cr);
}
