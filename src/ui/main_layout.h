// Where the main window's controls go for a given size. No window code here.
#pragma once

constexpr int kMainMinInnerWidth = 510;
// The inner height (menu bar to status bar) the window is held at, unless its bars need more.
constexpr int kMainInnerHeight = 260;
// Room below the container for the notice line.
constexpr int kMainNoticeBand = 40;
// The container must show the whole Convert button: it spans y 20 to 120.
constexpr int kMainContainerMinHeight = 124;

// The field buttons beside the input field and the two drop-downs keep these heights at any width.
constexpr int kMainFieldButtonY[3] = {19, 59, 99};

struct MainBarHeights {
    int menuBar = 0;
    int toolbar = 0;
    int statusBar = 0;
};

struct MainLayout {
    int containerY = 0;  // in the frame's client area, which starts below the toolbar on GTK
    int containerWidth = 0;
    int containerHeight = 0;
    int fieldWidth = 0;    // input field and both drop-downs
    int fieldButtonX = 0;  // the three field buttons, at kMainFieldButtonY of the container
    int convertX = 0;
    int noticeY = 0;  // in the frame's client area
};

// The fixed inner height: 260, grown when tall bars would clip the Convert button.
int MainInnerHeight(const MainBarHeights& bars);
// Layout for an inner width and the fixed inner height; widths below the minimum count as the minimum.
MainLayout ComputeMainLayout(int innerWidth, const MainBarHeights& bars);

// The main window's state at shutdown, as the window reports it.
struct MainWindowState {
    bool maximized = false;
    bool minimized = false;
    int innerWidth = 0;
    int innerHeight = 0;  // counts the menu bar
    int x = 0;  // outer top-left corner, screen coordinates
    int y = 0;
};
// Writes [Window]: maximised sets the flag and keeps the stored geometry, minimised changes nothing,
// otherwise the flag is cleared and the inner size and the corner are taken.
void RecordMainWindowState(const MainWindowState& state);
