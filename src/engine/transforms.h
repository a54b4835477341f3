// Rotation, resize and flip. Each takes the current image and returns the one that follows,
// releasing the one it received when it builds a new one.
#pragma once
#include <FreeImage.h>

#include <string>

FIBITMAP* RotateImage(FIBITMAP* image);
FIBITMAP* ResizeImage(FIBITMAP* image, int width, int height);
void FlipImage(FIBITMAP* image);
void ParseColour(const std::string& text, int* red, int* green, int* blue);
