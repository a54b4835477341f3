// Frame and watermark: two late pipeline steps that draw an overlay and blend it over the picture.
// Each step takes the current image and returns the one that follows, releasing the old one;
// nullptr (the image released) when a frame strip cannot be drawn or an overlay cannot be turned
// or blended.
#pragma once
#include <FreeImage.h>

#include <cstdint>
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
// there is nothing to draw (no font, an unreadable image, an empty box, a text box above
// kMaxWholeTextBoxPixels).
FIBITMAP* BuildTextOverlay();
FIBITMAP* BuildImageOverlay();
// Only the part of the unturned text box that lands on a width x height picture once fitted and
// placed, and where it lands; nullptr when no part does. Its pixels are those the whole box has there.
FIBITMAP* BuildVisibleTextOverlay(int width, int height, int* x, int* y);
// A turned text box must be drawn whole: bigger ones are skipped (64 Mpixel, 256 MB a surface).
constexpr int64_t kMaxWholeTextBoxPixels = int64_t{64} << 20;

// True when the watermark kind being drawn is turned (an angle from 1 to 359).
bool WatermarkRotates();
// The overlay turned by the watermark's angle; nullptr (the overlay released) when it cannot be.
FIBITMAP* RotateWatermark(FIBITMAP* overlay);
// Cuts the overlay from its top-left corner to the room; nullptr (the overlay released) when
// the room leaves no width or height for it.
FIBITMAP* FitWatermark(FIBITMAP* overlay, int width, int height);
void PlaceWatermark(int width, int height, int overlayWidth, int overlayHeight, int* x, int* y);
// Fit, place and cut to the picture in one, from the overlay's size alone.
struct WatermarkSpot {
    int x, y;             // on the picture
    int64_t left, top;    // of the shown part, inside the whole overlay
    int width, height;    // of the shown part
};
// False when no part of the overlay lands on the picture.
bool LocateWatermark(int width, int height, int64_t overlayWidth, int64_t overlayHeight, WatermarkSpot* spot);

// Blends a 32-bit overlay over the 24-bit image in place, its top-left corner at (x, y); the
// overlay must lie wholly on the image. False (the image unchanged) when it cannot.
bool CompositeAt(FIBITMAP* image, FIBITMAP* overlay, int x, int y);
// An opacity setting as an alpha value from 0 to 255.
int OpacityByte(int value);
