// A window module of another build. The program must refuse it from its stamp alone: any of its
// code that runs ends the process, which the test sees as a crash.
#include <cstdlib>

#include "app/window_face.h"

extern "C" __attribute__((section(KESTRIX_WINDOW_STAMP_SECTION), used)) const char KestrixWindowStamp[] =
    "kestrix window module 2.8 another build";

namespace {
struct EndsTheProcess {
    EndsTheProcess() { abort(); }
} endsTheProcess;
}  // namespace

extern "C" __attribute__((visibility("default"))) int KESTRIX_WINDOW_ENTRY(const WindowFaceRequest*) { abort(); }
