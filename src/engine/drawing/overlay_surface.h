// Drawing surfaces the frame and watermark overlays are painted on.
#pragma once
#include <FreeImage.h>
#include <cairo.h>

#include <string>

// An ARGB surface of this size; nullptr when cairo cannot make one.
cairo_surface_t* CreateOverlaySurface(int width, int height);
// A colour setting with an alpha from 0 to 255 as the source drawn with.
void SetOverlayColour(cairo_t* cr, const std::string& colour, int alpha);
// The in-memory PNG hand-over of a drawing surface to FreeImage: a 32-bit bitmap with alpha,
// or nullptr. The PNG buffer and the memory stream are released before it returns.
FIBITMAP* SurfaceToBitmap(cairo_surface_t* surface);
