// One drawing per icon key, on a 16-unit grid so the same shapes stay crisp at 16 and scale to 64.
#include <algorithm>
#include <cmath>
#include <map>

#include "pictures.h"

namespace {
using palette::kWhite;

void WhiteFill(cairo_t* cr) {
    cairo_set_source_rgb(cr, kWhite.r, kWhite.g, kWhite.b);
    cairo_fill(cr);
}

void WhiteStroke(cairo_t* cr, double width) {
    cairo_set_source_rgb(cr, kWhite.r, kWhite.g, kWhite.b);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

// A curved block arrow along a circle from angle a1 to a2 (clockwise), head at a2.
void DrawArcArrow(const Pen& pen, double cx, double cy, double r, double a1, double a2, Rgb colour) {
    cairo_t* cr = pen.cr;
    const double width = 2.2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, a1, a2 - 0.45);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    StrokeInked(cr, width + 2 * pen.outline, width, colour);
    // the head: a triangle across the circle at the arc's end, pointing along it
    double end = a2 - 0.5;
    double px = cx + r * std::cos(end), py = cy + r * std::sin(end);
    double tx = -std::sin(end), ty = std::cos(end);  // clockwise tangent
    double nx = std::cos(end), ny = std::sin(end);
    const double half = 2.9, length = 3.6;
    cairo_move_to(cr, px + nx * half, py + ny * half);
    cairo_line_to(cr, px + tx * length, py + ty * length);
    cairo_line_to(cr, px - nx * half, py - ny * half);
    cairo_close_path(cr);
    FillAndInk(pen, colour);
}

void DrawNew(const Pen& p) {
    DrawPage(p, 2.5, 1.5, 9, 13, false);
    DrawStar(p, 11.5, 4.5, 4, palette::kFolder);
}
void DrawAdd(const Pen& p) {
    DrawPage(p, 1.5, 1.5, 9, 13, true);
    DrawPlus(p, 11.5, 11.5, 4, palette::kGreen);
}
void DrawInFiles(const Pen& p) {
    DrawPage(p, 5.5, 0.5, 9, 10, false);
    DrawPage(p, 3.5, 2.5, 9, 10, false);
    DrawPage(p, 1.5, 4.5, 9, 11, true);
}
void DrawInFolder(const Pen& p) {
    DrawFolder(p, 0.5, 4.5, 14, 10, palette::kFolder);
    DrawArrow(p, 11, 0.5, 11, 10, 3, 7, palette::kGreen);
}
void DrawOutFolder(const Pen& p) {
    DrawFolder(p, 0.5, 4.5, 14, 10, palette::kFolder);
    DrawArrow(p, 11, 10, 11, 0.5, 3, 7, palette::kOrange);
}
void DrawOutFormat(const Pen& p) {
    DrawPage(p, 1.5, 0.5, 9, 13, true);
    DrawGear(p, 11, 11, 4.6, palette::kGrey);
}
void DrawFavFolder(const Pen& p) {
    DrawFolder(p, 0.5, 2.5, 13, 10, palette::kFolder);
    DrawStar(p, 11.3, 11.3, 4.5, palette::kRed);
}
void DrawImportFiles(const Pen& p) {
    DrawPage(p, 6.5, 1.5, 8, 13, true);
    DrawArrow(p, 0.5, 9, 9.5, 9, 3, 7, palette::kGreen);
}
void DrawExportFiles(const Pen& p) {
    DrawPage(p, 1.5, 1.5, 8, 13, true);
    DrawArrow(p, 6.5, 9, 15.5, 9, 3, 7, palette::kOrange);
}
void DrawExit(const Pen& p) {
    cairo_rectangle(p.cr, 1.5, 1.5, 8, 13);
    FillAndInk(p, palette::kFolderDark);
    DrawDisc(p, 7.3, 8.5, 0.7, palette::kFolder);
    DrawArrow(p, 6.5, 8.5, 15.5, 8.5, 3, 7, palette::kRed);
}
void DrawCopy(const Pen& p) {
    DrawPage(p, 1.5, 0.5, 8, 10.5, true);
    DrawPage(p, 6.5, 4.5, 8, 11, true);
}
void DrawDelete(const Pen& p) {
    cairo_save(p.cr);
    cairo_translate(p.cr, 8, 8);
    cairo_rotate(p.cr, M_PI / 4);
    DrawPlus(p, 0, 0, 8, palette::kRed);
    cairo_restore(p.cr);
}
void DrawSelectAll(const Pen& p) {
    cairo_t* cr = p.cr;
    cairo_rectangle(cr, 1.5, 1.5, 13, 13);
    cairo_set_source_rgba(cr, palette::kSky.r, palette::kSky.g, palette::kSky.b, 0.7);
    cairo_fill_preserve(cr);
    const double dash[] = {2.0, 2.0};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_source_rgb(cr, palette::kBlue.r, palette::kBlue.g, palette::kBlue.b);
    cairo_set_line_width(cr, p.outline);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    // a tick for "everything chosen"
    cairo_move_to(cr, 4.5, 8.5);
    cairo_line_to(cr, 7, 11);
    cairo_line_to(cr, 11.5, 5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    StrokeInked(cr, 2.4, 1.2, palette::kGreen);
}
void DrawConvert(const Pen& p) {
    DrawArcArrow(p, 8, 8, 5.2, M_PI * 1.0, M_PI * 2.0, palette::kGreen);
    DrawArcArrow(p, 8, 8, 5.2, 0, M_PI, palette::kOrange);
}
void DrawError(const Pen& p) {
    DrawDisc(p, 8, 8, 7, palette::kRed);
    cairo_rectangle(p.cr, 7, 3.2, 2, 6.3);
    WhiteFill(p.cr);
    cairo_arc(p.cr, 8, 12, 1.2, 0, 2 * M_PI);
    WhiteFill(p.cr);
}
void DrawPreferences(const Pen& p) { DrawGear(p, 8, 8, 7.3, palette::kGrey); }
void DrawCustomConverter(const Pen& p) {
    DrawPage(p, 1.5, 0.5, 9, 12.5, true);
    cairo_t* cr = p.cr;
    cairo_move_to(cr, 11.8, 11.8);
    cairo_line_to(cr, 14.8, 14.8);
    cairo_set_source_rgb(cr, palette::kInk.r, palette::kInk.g, palette::kInk.b);
    cairo_set_line_width(cr, 2.4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    DrawDisc(p, 9.7, 9.7, 3.6, palette::kSky);
}
void DrawHelp(const Pen& p) {
    DrawDisc(p, 8, 8, 7, palette::kBlue);
    cairo_t* cr = p.cr;
    cairo_new_sub_path(cr);
    cairo_arc(cr, 8, 6, 2.3, M_PI * 1.05, M_PI * 2.35);
    cairo_line_to(cr, 8, 9.4);
    WhiteStroke(cr, 1.8);
    cairo_arc(cr, 8, 12, 1.1, 0, 2 * M_PI);
    WhiteFill(cr);
}
void DrawEmail(const Pen& p) {
    cairo_t* cr = p.cr;
    cairo_rectangle(cr, 0.5, 3.5, 15, 10);
    FillAndInk(p, palette::kPaper);
    cairo_move_to(cr, 0.5, 3.5);
    cairo_line_to(cr, 8, 9.5);
    cairo_line_to(cr, 15.5, 3.5);
    cairo_set_source_rgb(cr, palette::kInk.r, palette::kInk.g, palette::kInk.b);
    cairo_set_line_width(cr, p.outline);
    cairo_stroke(cr);
}
void DrawWeb(const Pen& p) {
    DrawDisc(p, 8, 8, 7, palette::kSky);
    cairo_t* cr = p.cr;
    // land masses, clipped to the globe
    cairo_save(cr);
    cairo_arc(cr, 8, 8, 6.6, 0, 2 * M_PI);
    cairo_clip(cr);
    cairo_move_to(cr, 3, 3);
    cairo_curve_to(cr, 6, 2, 7.5, 5, 6, 7.5);
    cairo_curve_to(cr, 5, 9.5, 6.5, 12, 4.5, 14);
    cairo_line_to(cr, 1, 10);
    cairo_close_path(cr);
    cairo_move_to(cr, 10, 4);
    cairo_curve_to(cr, 13, 4, 15, 7, 13.5, 9);
    cairo_curve_to(cr, 12, 10.5, 11, 13, 10, 12);
    cairo_curve_to(cr, 9, 10, 9.5, 7, 10, 4);
    cairo_set_source_rgb(cr, palette::kGreen.r, palette::kGreen.g, palette::kGreen.b);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, 8, 8);
    cairo_scale(cr, 0.45, 1.0);
    cairo_arc(cr, 0, 0, 7, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_move_to(cr, 1, 8);
    cairo_line_to(cr, 15, 8);
    cairo_set_source_rgba(cr, palette::kInk.r, palette::kInk.g, palette::kInk.b, 0.7);
    cairo_set_line_width(cr, p.outline * 0.8);
    cairo_stroke(cr);
}
void DrawUpdates(const Pen& p) {
    DrawDisc(p, 8, 8, 7, palette::kGreen);
    cairo_t* cr = p.cr;
    cairo_move_to(cr, 8, 3.3);
    cairo_line_to(cr, 8, 11.5);
    cairo_move_to(cr, 4.6, 8.3);
    cairo_line_to(cr, 8, 11.7);
    cairo_line_to(cr, 11.4, 8.3);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    WhiteStroke(cr, 2);
}
void DrawAbout(const Pen& p) {
    DrawDisc(p, 8, 8, 7, palette::kBlue);
    cairo_t* cr = p.cr;
    cairo_arc(cr, 8, 4.6, 1.2, 0, 2 * M_PI);
    WhiteFill(cr);
    cairo_rectangle(cr, 7, 6.8, 2, 5.8);
    WhiteFill(cr);
}

using Drawing = void (*)(const Pen&);
struct IconDrawing {
    const char* key;
    Drawing draw;
};
const IconDrawing kIconDrawings[] = {
    {"New", DrawNew},
    {"Add", DrawAdd},
    {"InFiles", DrawInFiles},
    {"InFolder", DrawInFolder},
    {"OutFolder", DrawOutFolder},
    {"OutFormat", DrawOutFormat},
    {"FavFolder", DrawFavFolder},
    {"ImportFiles", DrawImportFiles},
    {"ExportFiles", DrawExportFiles},
    {"Exit", DrawExit},
    {"Copy", DrawCopy},
    {"Delete", DrawDelete},
    {"SelectAll", DrawSelectAll},
    {"Convert", DrawConvert},
    {"Error", DrawError},
    {"Preferences", DrawPreferences},
    {"CustomConverter", DrawCustomConverter},
    {"Help", DrawHelp},
    {"Email", DrawEmail},
    {"Web", DrawWeb},
    {"Updates", DrawUpdates},
    {"About", DrawAbout},
};
}  // namespace

const std::vector<std::string>& IconKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> list;
        for (const IconDrawing& entry : kIconDrawings) list.push_back(entry.key);
        return list;
    }();
    return keys;
}

bool DrawIcon(cairo_t* cr, const std::string& key, int size) {
    for (const IconDrawing& entry : kIconDrawings) {
        if (key != entry.key) continue;
        double scale = size / 16.0;
        cairo_save(cr);
        cairo_scale(cr, scale, scale);
        // about one device pixel at 16, a bolder marker line when larger
        Pen pen{cr, std::max(1.0, size / 18.0) / scale};
        entry.draw(pen);
        cairo_restore(cr);
        return true;
    }
    return false;
}
