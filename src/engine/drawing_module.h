// Drawing (the frame, both watermarks, the watermark font) is a module beside the program, so only
// runs that draw map cairo, pango and fontconfig. This is the one seam between the two: the
// program's DrawFrame, DrawWatermark and LoadWatermarkFont load the module on first use.
#pragma once
#include <FreeImage.h>

#include <string>

// What the module hands the program; both sides agree on it by the build stamp.
struct DrawingFunctions {
    FIBITMAP* (*drawFrame)(FIBITMAP* image, int width, int height);
    FIBITMAP* (*drawWatermark)(FIBITMAP* image, int width, int height);
    bool (*loadWatermarkFont)(const std::string& family, int points, bool bold, bool italic, bool underline,
                              bool strikeOut);
};

constexpr const char* kDrawingModuleFile = "kestrix-drawing.so";
#define KESTRIX_DRAWING_ENTRY KestrixDrawingEntry
#define KESTRIX_DRAWING_ENTRY_NAME "KestrixDrawingEntry"
using DrawingModuleEntry = const DrawingFunctions* (*)();
