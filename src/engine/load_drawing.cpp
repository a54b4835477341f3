// The program's side of the drawing module. The engine calls DrawFrame, DrawWatermark and
// LoadWatermarkFont as always; the module is loaded the first time a run draws, so runs without a
// frame or watermark never map cairo, pango or fontconfig. The tests link the drawing code instead.
#include <dlfcn.h>

#include <string>

#include "app/module_file.h"
#include "app/settings.h"
#include "engine/drawing_module.h"
#include "engine/frame_watermark.h"
#include "engine/watermark_font.h"
#include "platform/platform.h"
#include "window_stamp.h"

namespace {
const DrawingFunctions* LoadDrawingModule() {
    const std::string path = ProgramFolder() + kDrawingModuleFile;
    std::string problem = CheckModuleFile(path, "drawing", QUARVEL_DRAWING_STAMP);
    const DrawingFunctions* functions = nullptr;
    if (problem.empty()) {
        // RTLD_NOW: a symbol the program lacks shows here as an error, not later as a crash.
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            const char* why = dlerror();
            problem = std::string("cannot be loaded: ") + (why ? why : "unknown error");
        } else if (auto entry = reinterpret_cast<DrawingModuleEntry>(dlsym(module, KESTRIX_DRAWING_ENTRY_NAME))) {
            functions = entry();
        } else {
            dlclose(module);
            problem = "is not a drawing module of this program";
        }
    }
    if (!functions) ConsoleErrorLine("Error: The drawing module " + path + " " + problem);
    return functions;
}

// Loaded once, by whichever thread draws first; a module that failed is reported once, not retried.
const DrawingFunctions* Drawing() {
    static const DrawingFunctions* const functions = LoadDrawingModule();
    return functions;
}

// Without the module the picture cannot get what was asked for: the file fails.
FIBITMAP* FailFile(FIBITMAP* image) {
    if (image) FreeImage_Unload(image);
    return nullptr;
}
}  // namespace

FIBITMAP* DrawFrame(FIBITMAP* image, int width, int height) {
    if (Settings.Frame.DoFrame == 0) return image;
    const DrawingFunctions* drawing = Drawing();
    return drawing ? drawing->drawFrame(image, width, height) : FailFile(image);
}

FIBITMAP* DrawWatermark(FIBITMAP* image, int width, int height) {
    if (Settings.Watermark.DoWatermark == 0) return image;
    const DrawingFunctions* drawing = Drawing();
    return drawing ? drawing->drawWatermark(image, width, height) : FailFile(image);
}

bool LoadWatermarkFont(const std::string& family, int points, bool bold, bool italic, bool underline,
                       bool strikeOut) {
    FreeWatermarkFont();
    const DrawingFunctions* drawing = Drawing();
    return drawing && drawing->loadWatermarkFont(family, points, bold, italic, underline, strikeOut);
}
