// The drawing module's entry. Its code is built with hidden symbols, so the functions below are
// its own, never the program's same-named ones that load this module.
#include "app/window_face.h"
#include "engine/drawing_module.h"
#include "engine/frame_watermark.h"
#include "engine/watermark_font.h"
#include "window_stamp.h"

// Read by the program from the file, before the module is loaded.
extern "C" __attribute__((section(KESTRIX_WINDOW_STAMP_SECTION), used)) const char KestrixDrawingStamp[] =
    QUARVEL_DRAWING_STAMP;

extern "C" __attribute__((visibility("default"))) const DrawingFunctions* KESTRIX_DRAWING_ENTRY() {
    static const DrawingFunctions functions{DrawFrame, DrawWatermark, LoadWatermarkFont};
    return &functions;
}
