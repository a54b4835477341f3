#include "ui/main_layout.h"

#include <algorithm>

#include "app/settings.h"

int MainInnerHeight(const MainBarHeights& bars) {
    int needed = bars.menuBar + bars.toolbar + bars.statusBar + kMainContainerMinHeight + kMainNoticeBand;
    return std::max(kMainInnerHeight, needed);
}

MainLayout ComputeMainLayout(int innerWidth, const MainBarHeights& bars) {
    int width = std::max(kMainMinInnerWidth, innerWidth);
    int height = MainInnerHeight(bars);
    MainLayout layout;
    // The toolbar belongs to the frame on GTK, so the container starts at the client area's top.
    layout.containerY = 0;
    layout.containerWidth = width;
    layout.containerHeight = height - bars.menuBar - bars.toolbar - bars.statusBar - kMainNoticeBand;
    layout.fieldWidth = width - 160;
    layout.fieldButtonX = width - 146;
    layout.convertX = width - 110;
    layout.noticeY = layout.containerHeight + 10;
    return layout;
}

void RecordMainWindowState(const MainWindowState& state) {
    if (state.maximized) {
        Settings.Window.IsMaximized = 1;
        return;
    }
    if (state.minimized) return;
    Settings.Window.IsMaximized = 0;
    Settings.Window.Width = state.innerWidth;
    Settings.Window.Height = state.innerHeight;
    Settings.Window.X = state.x;
    Settings.Window.Y = state.y;
}
