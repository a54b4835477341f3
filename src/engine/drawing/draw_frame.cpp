// The solid frame: four mitred bands inside the picture's edges.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/settings.h"
#include "engine/drawing/overlay_surface.h"
#include "engine/frame_watermark.h"
#include "engine/image_depth.h"

namespace {

struct Point {
    double x, y;
};
using Polygon = std::vector<Point>;

// Sutherland-Hodgman against one side of the clip rectangle.
Polygon ClipToSide(const Polygon& shape, bool onX, double limit, bool keepGreater) {
    Polygon kept;
    auto coordinate = [&](const Point& p) { return onX ? p.x : p.y; };
    auto inside = [&](const Point& p) { return keepGreater ? coordinate(p) >= limit : coordinate(p) <= limit; };
    for (size_t i = 0; i < shape.size(); ++i) {
        const Point& from = shape[i];
        const Point& to = shape[(i + 1) % shape.size()];
        if (inside(from)) kept.push_back(from);
        if (inside(from) != inside(to)) {
            double t = (limit - coordinate(from)) / (coordinate(to) - coordinate(from));
            kept.push_back({from.x + t * (to.x - from.x), from.y + t * (to.y - from.y)});
        }
    }
    return kept;
}

// Widths may be negative or far beyond the picture; cairo's fixed-point coordinates cannot hold
// such points, so each shape is cut to just around the surface first (the part that shows is
// unchanged).
Polygon ClipToSurface(Polygon shape, int width, int height) {
    shape = ClipToSide(shape, true, -1.0, true);
    shape = ClipToSide(shape, true, width + 1.0, false);
    shape = ClipToSide(shape, false, -1.0, true);
    return ClipToSide(shape, false, height + 1.0, false);
}

void FillShape(cairo_t* cr, const Polygon& shape, const std::string& colour, int width, int height) {
    Polygon clipped = ClipToSurface(shape, width, height);
    if (clipped.size() < 3) return;
    SetOverlayColour(cr, colour, 255);
    cairo_move_to(cr, clipped[0].x, clipped[0].y);
    for (size_t i = 1; i < clipped.size(); ++i) cairo_line_to(cr, clipped[i].x, clipped[i].y);
    cairo_close_path(cr);
    cairo_fill(cr);
}

Polygon Box(double x, double y, double w, double h) { return {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}; }

void DrawBands(cairo_t* cr, int width, int height) {
    const auto& frame = Settings.Frame;
    const double W = width, H = height;
    const double L = frame.SolidLeft, R = frame.SolidRight, T = frame.SolidTop, B = frame.SolidBottom;
    struct Shape {
        const std::string& colour;
        Polygon points;
    };
    // Corner boxes first, then each band as a trapezoid whose inner corners meet on the diagonals.
    const Shape shapes[] = {
        {frame.SolidTopColor, Box(0, 0, L, T)},
        {frame.SolidRightColor, Box(W - R, 0, R, T)},
        {frame.SolidBottomColor, Box(W - R, H - B, R, B)},
        {frame.SolidLeftColor, Box(0, H - B, L, B)},
        {frame.SolidTopColor, {{0, 0}, {W, 0}, {W - R, T}, {L, T}}},
        {frame.SolidRightColor, {{W, 0}, {W, H}, {W - R, H - B}, {W - R, T}}},
        {frame.SolidBottomColor, {{W, H}, {0, H}, {L, H - B}, {W - R, H - B}}},
        {frame.SolidLeftColor, {{0, H}, {0, 0}, {L, T}, {L, H - B}}},
    };
    for (const Shape& shape : shapes) FillShape(cr, shape.points, shape.colour, width, height);
}

int ClampSide(int32_t value, int size) { return value < 0 ? 0 : value > size ? size : value; }

struct Strip {
    int x, y, width, height;
};

// Every shape lies within its side's strip (a band never reaches past its own width), so the
// four strips along the edges hold all of the frame and the inside is never drawn or blended.
std::vector<Strip> BorderStrips(int width, int height) {
    const auto& f = Settings.Frame;
    const int top = ClampSide(f.SolidTop, height), left = ClampSide(f.SolidLeft, width);
    const int bottomStart = std::max(top, height - ClampSide(f.SolidBottom, height));
    const int rightStart = std::max(left, width - ClampSide(f.SolidRight, width));
    const Strip strips[] = {{0, 0, width, top},
                            {0, bottomStart, width, height - bottomStart},
                            {0, top, left, bottomStart - top},
                            {rightStart, top, width - rightStart, bottomStart - top}};
    std::vector<Strip> kept;
    for (const Strip& strip : strips)
        if (strip.width > 0 && strip.height > 0) kept.push_back(strip);
    return kept;
}

// The bands as they fall on one strip, at the frame's opacity, as a FreeImage overlay.
FIBITMAP* DrawStrip(const Strip& strip, int width, int height) {
    cairo_surface_t* bands = CreateOverlaySurface(strip.width, strip.height);
    if (!bands) return nullptr;
    cairo_t* cr = cairo_create(bands);
    cairo_translate(cr, -strip.x, -strip.y);
    DrawBands(cr, width, height);
    cairo_destroy(cr);

    const int opacity = OpacityByte(Settings.Frame.SolidOpacity);
    cairo_surface_t* faded = opacity < 255 ? CreateOverlaySurface(strip.width, strip.height) : bands;
    if (faded && faded != bands) {
        cr = cairo_create(faded);
        cairo_set_source_surface(cr, bands, 0, 0);
        cairo_paint_with_alpha(cr, opacity / 255.0);
        cairo_destroy(cr);
    }
    FIBITMAP* overlay = SurfaceToBitmap(faded);
    if (faded && faded != bands) cairo_surface_destroy(faded);
    cairo_surface_destroy(bands);
    return overlay;
}

}  // namespace

FIBITMAP* DrawFrame(FIBITMAP* image, int width, int height) {
    if (Settings.Frame.DoFrame == 0) return image;
    image = ReplaceWith24Bits(image);
    if (!image || Settings.Frame.DoFrame != 1 || width <= 0 || height <= 0) return image;
    if (static_cast<int>(FreeImage_GetWidth(image)) != width || static_cast<int>(FreeImage_GetHeight(image)) != height)
        return image;
    for (const Strip& strip : BorderStrips(width, height)) {
        FIBITMAP* overlay = DrawStrip(strip, width, height);
        const bool blended = overlay && CompositeAt(image, overlay, strip.x, strip.y);
        if (overlay) FreeImage_Unload(overlay);
        // A picture without the frame it was asked for is no success: the file fails.
        if (!blended) {
            FreeImage_Unload(image);
            return nullptr;
        }
    }
    return image;
}
