// The window module's entry: the program loads this file's module for window mode, "-U" and "-T".
#include "app/window_face.h"
#include "online/window/online_windows.h"
#include "ui/window/window_mode.h"
#include "window_stamp.h"

// Read by the program from the file, before the module is loaded.
extern "C" __attribute__((section(KESTRIX_WINDOW_STAMP_SECTION), used)) const char KestrixWindowStamp[] =
    QUARVEL_WINDOW_STAMP;

extern "C" __attribute__((visibility("default"))) int KESTRIX_WINDOW_ENTRY(const WindowFaceRequest* request) {
    switch (static_cast<WindowFace>(request->face)) {
    case WindowFace::MainWindow: return RunWindowMode(request->argc, request->argv);
    case WindowFace::UninstallPage: return RunUninstallPage();
    case WindowFace::ScreenshotMode: return RunScreenshotMode(request->folder ? request->folder : "");
    }
    return kWindowFaceUnavailable;
}
