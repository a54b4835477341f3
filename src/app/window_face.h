// The window face is a module beside the program, loaded only when a window is needed, so console
// runs never map the window-system libraries. This is the one seam between the two.
#pragma once
#include <string>

enum class WindowFace { MainWindow = 0, UninstallPage = 1, ScreenshotMode = 2 };

// What the program hands the module's entry; plain data, so both sides agree on it by the stamp.
struct WindowFaceRequest {
    int face;            // a WindowFace
    int argc;            // the program's own arguments, for the window system's start
    char** argv;
    const char* folder;  // screenshot mode's target folder, "" otherwise
};

// Returned by the module for a face this build does not hold.
constexpr int kWindowFaceUnavailable = -2;

constexpr const char* kWindowModuleFile = "kestrix-window.so";
#define KESTRIX_WINDOW_ENTRY KestrixWindowEntry
#define KESTRIX_WINDOW_ENTRY_NAME "KestrixWindowEntry"
// The build stamp sits in a section of its own, so the program reads it from the file before it
// lets any code of the module run: a module of another build is refused, not called.
#define KESTRIX_WINDOW_STAMP_SECTION ".kestrix_stamp"
using WindowModuleEntry = int (*)(const WindowFaceRequest*);

// The stamp this build expects; both sides compile it from the same generated header.
std::string WindowModuleStamp();
std::string WindowModulePath();  // beside the running program
// Empty when the file at `path` is a loadable module of this build, else what is wrong with it.
std::string CheckWindowModule(const std::string& path);

// Loads the module and runs one face; on a missing or broken module it says so on standard error
// and returns 1. kWindowFaceUnavailable passes through.
int RunWindowFace(WindowFace face, int argc, char** argv, const std::string& folder);
