// Our own picture drawings, shared by the build-time picture tool's files.
#pragma once
#include <cairo.h>

#include <string>
#include <vector>

// The small palette every picture draws from.
struct Rgb {
    double r, g, b;
};
namespace palette {
constexpr Rgb kInk{0.23, 0.18, 0.16};
constexpr Rgb kPaper{0.99, 0.98, 0.94};
constexpr Rgb kFolder{0.96, 0.77, 0.29};
constexpr Rgb kFolderDark{0.85, 0.60, 0.17};
constexpr Rgb kGreen{0.37, 0.68, 0.24};
constexpr Rgb kBlue{0.25, 0.50, 0.81};
constexpr Rgb kRed{0.85, 0.27, 0.23};
constexpr Rgb kOrange{0.94, 0.54, 0.14};
constexpr Rgb kGrey{0.60, 0.63, 0.65};
constexpr Rgb kSky{0.62, 0.82, 0.95};
constexpr Rgb kWhite{1.0, 1.0, 1.0};
}  // namespace palette

// Shapes on a 16-unit grid; the caller scales the context so 16 units fill the picture.
// `outline` is the ink width in units (about one device pixel at 16, thicker when larger).
struct Pen {
    cairo_t* cr;
    double outline;
};
void FillAndInk(const Pen& pen, Rgb fill);
// Strokes the current path as a coloured line with an ink edge: ink at inkWidth, then colour at width.
void StrokeInked(cairo_t* cr, double inkWidth, double width, Rgb colour);
void DrawPage(const Pen& pen, double x, double y, double w, double h, bool lines);
void DrawFolder(const Pen& pen, double x, double y, double w, double h, Rgb colour);
// A block arrow from (x1, y1) to its tip (x2, y2).
void DrawArrow(const Pen& pen, double x1, double y1, double x2, double y2, double shaft, double head, Rgb colour);
void DrawDisc(const Pen& pen, double cx, double cy, double r, Rgb colour);
void DrawPlus(const Pen& pen, double cx, double cy, double r, Rgb colour);
void DrawStar(const Pen& pen, double cx, double cy, double r, Rgb colour);
void DrawGear(const Pen& pen, double cx, double cy, double r, Rgb colour);
// Levels that would reach past `right` are left out.
void DrawMipPyramid(const Pen& pen, double x, double y, double side, double right);

// The icon of one MenuIcons key, filling a size x size surface; false for an unknown key.
bool DrawIcon(cairo_t* cr, const std::string& key, int size);
// Icon keys in the order the theme lists them.
const std::vector<std::string>& IconKeys();

// The larger built-in pictures.
void DrawConvertButton(cairo_t* cr, int size);
void DrawBanner(cairo_t* cr, int width, int height);
void DrawSparePicture(cairo_t* cr, int width, int height);
// The program's icon, filling a size x size surface.
void DrawProgramIcon(cairo_t* cr, int size);
