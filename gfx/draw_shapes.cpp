// The shapes the icons are made of: flat fills from the palette under a soft ink outline.
#include <cmath>

#include "pictures.h"

namespace {
void SetColour(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }
}  // namespace

void FillAndInk(const Pen& pen, Rgb fill) {
    SetColour(pen.cr, fill);
    cairo_fill_preserve(pen.cr);
    SetColour(pen.cr, palette::kInk);
    cairo_set_line_width(pen.cr, pen.outline);
    cairo_set_line_join(pen.cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(pen.cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(pen.cr);
}

void StrokeInked(cairo_t* cr, double inkWidth, double width, Rgb colour) {
    SetColour(cr, palette::kInk);
    cairo_set_line_width(cr, inkWidth);
    cairo_stroke_preserve(cr);
    SetColour(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void DrawPage(const Pen& pen, double x, double y, double w, double h, bool lines) {
    cairo_t* cr = pen.cr;
    double fold = w * 0.38;
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + w - fold, y);
    cairo_line_to(cr, x + w, y + fold);
    cairo_line_to(cr, x + w, y + h);
    cairo_line_to(cr, x, y + h);
    cairo_close_path(cr);
    FillAndInk(pen, palette::kPaper);
    cairo_move_to(cr, x + w - fold, y);
    cairo_line_to(cr, x + w - fold, y + fold);
    cairo_line_to(cr, x + w, y + fold);
    SetColour(cr, palette::kInk);
    cairo_set_line_width(cr, pen.outline);
    cairo_stroke(cr);
    if (!lines) return;
    cairo_set_line_width(cr, pen.outline * 0.8);
    SetColour(cr, palette::kGrey);
    for (double ly = y + fold + 2; ly < y + h - 1.2; ly += 2) {
        cairo_move_to(cr, x + 2, ly);
        cairo_line_to(cr, x + w - 2, ly);
    }
    cairo_stroke(cr);
}

void DrawFolder(const Pen& pen, double x, double y, double w, double h, Rgb colour) {
    cairo_t* cr = pen.cr;
    double tab = w * 0.4;
    // back with its tab
    cairo_move_to(cr, x, y + h);
    cairo_line_to(cr, x, y);
    cairo_line_to(cr, x + tab, y);
    cairo_line_to(cr, x + tab + 1.5, y + 1.5);
    cairo_line_to(cr, x + w, y + 1.5);
    cairo_line_to(cr, x + w, y + h);
    cairo_close_path(cr);
    FillAndInk(pen, palette::kFolderDark);
    // front flap, slanted so the folder reads as open
    cairo_move_to(cr, x, y + h);
    cairo_line_to(cr, x + 1.5, y + 3.5);
    cairo_line_to(cr, x + w + 0.5, y + 3.5);
    cairo_line_to(cr, x + w, y + h);
    cairo_close_path(cr);
    FillAndInk(pen, colour);
}

void DrawArrow(const Pen& pen, double x1, double y1, double x2, double y2, double shaft, double head, Rgb colour) {
    cairo_t* cr = pen.cr;
    double dx = x2 - x1, dy = y2 - y1;
    double length = std::hypot(dx, dy);
    if (length <= 0) return;
    double ux = dx / length, uy = dy / length;  // along
    double nx = -uy, ny = ux;                    // across
    double headLength = std::min(length * 0.6, head * 0.9);
    double bx = x2 - ux * headLength, by = y2 - uy * headLength;
    double s = shaft / 2, hh = head / 2;
    cairo_move_to(cr, x1 + nx * s, y1 + ny * s);
    cairo_line_to(cr, bx + nx * s, by + ny * s);
    cairo_line_to(cr, bx + nx * hh, by + ny * hh);
    cairo_line_to(cr, x2, y2);
    cairo_line_to(cr, bx - nx * hh, by - ny * hh);
    cairo_line_to(cr, bx - nx * s, by - ny * s);
    cairo_line_to(cr, x1 - nx * s, y1 - ny * s);
    cairo_close_path(cr);
    FillAndInk(pen, colour);
}

void DrawDisc(const Pen& pen, double cx, double cy, double r, Rgb colour) {
    cairo_new_sub_path(pen.cr);
    cairo_arc(pen.cr, cx, cy, r, 0, 2 * M_PI);
    FillAndInk(pen, colour);
}

void DrawPlus(const Pen& pen, double cx, double cy, double r, Rgb colour) {
    double t = r * 0.42;
    cairo_t* cr = pen.cr;
    cairo_move_to(cr, cx - t, cy - r);
    cairo_line_to(cr, cx + t, cy - r);
    cairo_line_to(cr, cx + t, cy - t);
    cairo_line_to(cr, cx + r, cy - t);
    cairo_line_to(cr, cx + r, cy + t);
    cairo_line_to(cr, cx + t, cy + t);
    cairo_line_to(cr, cx + t, cy + r);
    cairo_line_to(cr, cx - t, cy + r);
    cairo_line_to(cr, cx - t, cy + t);
    cairo_line_to(cr, cx - r, cy + t);
    cairo_line_to(cr, cx - r, cy - t);
    cairo_line_to(cr, cx - t, cy - t);
    cairo_close_path(cr);
    FillAndInk(pen, colour);
}

void DrawStar(const Pen& pen, double cx, double cy, double r, Rgb colour) {
    for (int i = 0; i < 10; ++i) {
        double angle = -M_PI / 2 + i * M_PI / 5;
        double radius = (i % 2) ? r * 0.45 : r;
        cairo_line_to(pen.cr, cx + radius * std::cos(angle), cy + radius * std::sin(angle));
    }
    cairo_close_path(pen.cr);
    FillAndInk(pen, colour);
}

void DrawGear(const Pen& pen, double cx, double cy, double r, Rgb colour) {
    const int teeth = 8;
    double inner = r * 0.74;
    for (int i = 0; i < teeth * 4; ++i) {
        double angle = i * M_PI / (teeth * 2) - M_PI / (teeth * 4);
        double radius = (i % 4 == 1 || i % 4 == 2) ? r : inner;
        cairo_line_to(pen.cr, cx + radius * std::cos(angle), cy + radius * std::sin(angle));
    }
    cairo_close_path(pen.cr);
    // the hub is a hole, so the background shows through
    cairo_new_sub_path(pen.cr);
    cairo_arc_negative(pen.cr, cx, cy, r * 0.32, 2 * M_PI, 0);
    FillAndInk(pen, colour);
}

void DrawMipPyramid(const Pen& pen, double x, double y, double side, double right) {
    // a texture and its halving mip levels, bottom-aligned
    const Rgb colours[] = {palette::kBlue, palette::kGreen, palette::kOrange, palette::kRed};
    double left = x;
    for (int level = 0; level < 4 && side >= 0.75 && left + side <= right; ++level) {
        cairo_rectangle(pen.cr, left, y - side, side, side);
        FillAndInk(pen, colours[level]);
        left += side + pen.outline * 1.5;
        side /= 2;
    }
}
