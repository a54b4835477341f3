#include "ui/main_layout.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_parts.h"

void RecordMainWindowGeometry() {
    wxFrame* frame = MainWindowParts.frame;
    if (!frame) return;
    MainWindowState state;
    state.maximized = frame->IsMaximized();
    state.minimized = frame->IsIconized();
    state.innerWidth = frame->GetClientSize().GetWidth();
    state.x = frame->GetPosition().x;
    state.y = frame->GetPosition().y;
    RecordMainWindowState(state);
}
