#include "app/settings.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_parts.h"

void RecordMainWindowGeometry() {
    wxFrame* frame = MainWindowParts.frame;
    if (!frame) return;
    if (frame->IsMaximized()) {
        Settings.Window.IsMaximized = 1;
        return;
    }
    // A minimised window keeps the geometry it had before.
    if (frame->IsIconized()) return;
    Settings.Window.IsMaximized = 0;
    Settings.Window.Width = frame->GetClientSize().GetWidth();
    // The height is fixed by the layout, so [Window] Height keeps what the file held.
    wxPoint corner = frame->GetPosition();
    Settings.Window.X = corner.x;
    Settings.Window.Y = corner.y;
}
