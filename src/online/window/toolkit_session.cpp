#include "online/window/toolkit_session.h"

#include <wx/app.h>
#include <wx/init.h>

#include "platform/platform.h"

int RunWithToolkit(const std::function<int()>& work) {
    static char name[] = "kestrix";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
        ConsoleErrorLine("Error: Unable to open a window (no display?)");
        return 1;
    }
    int status = 1;
    if (wxTheApp->CallOnInit()) {
        status = work();
        wxTheApp->OnExit();
    } else {
        ConsoleErrorLine("Error: Unable to open a window (no display?)");
    }
    wxEntryCleanup();
    return status;
}
