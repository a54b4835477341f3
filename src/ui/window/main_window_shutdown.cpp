#include "ui/main_layout.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_parts.h"

void RecordMainWindowGeometry() {
    wxFrame* frame = MainWindowParts.frame;
    if (!frame) return;
    MainWindowState state;
    state.maximized = frame->IsMaximized();
    state.minimized = frame->IsIconized();
    // GTK's client area excludes all three bars; the stored height counts them, as the layout does.
    const MainBarHeights& bars = MainWindowParts.bars;
    state.innerWidth = frame->GetClientSize().GetWidth();
    state.innerHeight = frame->GetClientSize().GetHeight() + bars.menuBar + bars.toolbar + bars.statusBar;
    state.x = frame->GetPosition().x;
    state.y = frame->GetPosition().y;
    RecordMainWindowState(state);
}
