#include <wx/menu.h>
#include <wx/statusbr.h>

#include "ui/window/main_window_parts.h"

int BarHeight(wxWindow* bar, int known) {
    if (!bar) return known;
    if (bar->GetSize().GetHeight() > 1) return bar->GetSize().GetHeight();
    if (bar->GetBestSize().GetHeight() > 1) return bar->GetBestSize().GetHeight();
    return known;
}

namespace {
// The client area lies between the bars; the menu bar, toolbar and status bar belong to the frame on GTK.
int ClientHeightFor(const MainBarHeights& bars) {
    return MainInnerHeight(bars) - bars.menuBar - bars.toolbar - bars.statusBar;
}

// GTK gives a bar its height only when it allocates the window, which can come after the bar was
// built: each layout pass takes the heights again and refits the limits when they moved.
bool MeasureBars() {
    wxFrame* frame = MainWindowParts.frame;
    MainBarHeights measured = MainWindowParts.bars;
    measured.menuBar = BarHeight(frame->GetMenuBar(), measured.menuBar);
    measured.toolbar = BarHeight(frame->GetToolBar(), measured.toolbar);
    measured.statusBar = BarHeight(frame->GetStatusBar(), measured.statusBar);
    MainBarHeights& bars = MainWindowParts.bars;
    bool moved = measured.menuBar != bars.menuBar || measured.toolbar != bars.toolbar ||
                 measured.statusBar != bars.statusBar;
    bars = measured;
    return moved;
}
}  // namespace

void ApplyMainWindowSizeLimits() {
    wxFrame* frame = MainWindowParts.frame;
    if (!frame) return;
    int height = ClientHeightFor(MainWindowParts.bars);
    // Cleared first: the new minimum may lie above the old maximum.
    frame->SetSizeHints(wxDefaultSize, wxDefaultSize);
    frame->SetMinClientSize(wxSize(kMainMinInnerWidth, height));
    frame->SetMaxClientSize(wxSize(-1, height));
    wxSize client = frame->GetClientSize();
    if (client.GetHeight() != height) frame->SetClientSize(client.GetWidth(), height);
}

void LayoutMainWindow() {
    MainWindowPartsRecord& parts = MainWindowParts;
    if (!parts.frame || !parts.container) return;
    if (MeasureBars()) ApplyMainWindowSizeLimits();
    MainLayout layout = ComputeMainLayout(parts.frame->GetClientSize().GetWidth(), parts.bars);
    parts.container->SetSize(0, layout.containerY, layout.containerWidth, layout.containerHeight);
    parts.inputField->SetSize(wxSize(layout.fieldWidth, 20));
    parts.outputFolderCombo->SetSize(wxSize(layout.fieldWidth, 21));
    parts.outputFormatCombo->SetSize(wxSize(layout.fieldWidth, 21));
    for (int i = 0; i < 3; ++i)
        if (parts.fieldButtons[i]) parts.fieldButtons[i]->SetSize(layout.fieldButtonX, kMainFieldButtonY[i], 24, 24);
    parts.convertButton->Move(layout.convertX, 20);
    parts.notice->Move(10, layout.noticeY);
    parts.frame->Refresh();
}
