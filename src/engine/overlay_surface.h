// Drawing surfaces the frame and watermark overlays are painted on.
#pragma once
#include <cairo.h>

#include <string>

// An ARGB surface of this size; nullptr when cairo cannot make one.
cairo_surface_t* CreateOverlaySurface(int width, int height);
// A colour setting with an alpha from 0 to 255 as the source drawn with.
void SetOverlayColour(cairo_t* cr, const std::string& colour, int alpha);
