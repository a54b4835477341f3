// Rotation, resize and flip. Each takes the current image and returns the one that follows,
// releasing the one it received when it builds a new one.
#pragma once
#include <FreeImage.h>

#include <string>

// nullptr (the image released) when a simple rotation would be wider or taller than kMaxPictureSide.
FIBITMAP* RotateImage(FIBITMAP* image);
// Size of the picture a simple rotation by a whole number of degrees gives.
void SimpleRotationSize(int width, int height, int angle, int* rotatedWidth, int* rotatedHeight);
FIBITMAP* ResizeImage(FIBITMAP* image, int width, int height);
void FlipImage(FIBITMAP* image);
void ParseColour(const std::string& text, int* red, int* green, int* blue);
