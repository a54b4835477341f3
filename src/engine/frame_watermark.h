// Frame and watermark: two late pipeline steps that draw an overlay and blend it over the picture.
// Each step takes the current image and returns the one that follows, releasing the old one.
#pragma once
#include <FreeImage.h>
#include <cairo.h>

#include <string>
#include <vector>

FIBITMAP* DrawFrame(FIBITMAP* image, int width, int height);
FIBITMAP* DrawWatermark(FIBITMAP* image, int width, int height);

// [Watermark] Text with the name tokens expanded (only when it holds two or more "%").
std::string WatermarkText();
// The text split at "%eol%" in any letter case; a text without one is a single line.
std::vector<std::string> SplitWatermarkLines(const std::string& text);
// x of a text line inside a box whose width includes both paddings.
int AlignLine(int lineWidth, int boxWidth);

// Text overlay (mode 1) or image overlay (mode 2) as a 32-bit FreeImage bitmap; nullptr when
// there is nothing to draw (no font, an unreadable image, an empty box).
FIBITMAP* BuildTextOverlay();
FIBITMAP* BuildImageOverlay();

FIBITMAP* RotateWatermark(FIBITMAP* overlay);
// Cuts the overlay from its top-left corner to the room; nullptr (the overlay released) when
// the room leaves no width or height for it.
FIBITMAP* FitWatermark(FIBITMAP* overlay, int width, int height);
void PlaceWatermark(int width, int height, int overlayWidth, int overlayHeight, int* x, int* y);

// The in-memory PNG hand-over of a drawing surface to FreeImage: a 32-bit bitmap with alpha,
// or nullptr. The PNG buffer and the memory stream are released before it returns.
FIBITMAP* SurfaceToBitmap(cairo_surface_t* surface);
// Blends a 32-bit overlay over the 24-bit image in place, its top-left corner at (x, y); the
// overlay must lie wholly on the image. False (the image unchanged) when it cannot.
bool CompositeAt(FIBITMAP* image, FIBITMAP* overlay, int x, int y);
// An opacity setting as an alpha value from 0 to 255.
int OpacityByte(int value);
// The image at 24 bits per pixel; the old one is released when a new one is built.
FIBITMAP* ConvertTo24BitsInPlace(FIBITMAP* image);
