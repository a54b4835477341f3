// One input file becomes one DDS file.
#pragma once
#include <FreeImage.h>

#include <string>

bool ConvertCurrentFile();
int DepthForSource(const std::string& outputFormat, int sourceBitDepth);
FIBITMAP* ConvertToOutputDepth(FIBITMAP* image);
