#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/image.h>
#include <wx/timer.h>
#include <wx/utils.h>
#include <wx/weakref.h>

#include <algorithm>
#include <cmath>

#include "app/job.h"
#include "app/settings.h"
#include "online/online.h"
#include "online/window/online_windows.h"
#include "online/window/toolkit_session.h"
#include "platform/platform.h"
#include "ui/themes.h"
#include "ui/window/image_sets.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_parts.h"

namespace {
constexpr int kShotX = 400;
constexpr int kShotY = 400;
constexpr int kShotWidth = 510;
constexpr int kShotHeight = 260;
constexpr int kSmallWidth = 180;
constexpr int kJpegQuality = 90;

// The example job of the picture.
void FillExampleValues() {
    MainWindowPartsRecord& parts = MainWindowParts;
    const std::string format = OfferedInputFormats[RandomInt(0, static_cast<int>(OfferedInputFormats.size()) - 1)];
    SetInputFieldText("~/images/marrowfen." + format);
    parts.outputFolderCombo->Append(wxString::FromUTF8("~/converted/"), MenuIcon("FavFolder"));
    parts.outputFolderCombo->SetSelection(static_cast<int>(parts.outputFolderCombo->GetCount()) - 1);
    parts.outputFormatCombo->SetFocus();
    parts.outputFolderCombo->SetFocus();
    parts.convertButton->SetFocus();
}

// Where the window goes: (400, 400), unless that would cut part of it off a smaller screen.
wxPoint ShotPosition() {
    wxRect screen = wxDisplay().GetGeometry();
    int x = std::max(0, std::min(kShotX, screen.GetWidth() - kShotWidth));
    int y = std::max(0, std::min(kShotY, screen.GetHeight() - kShotHeight));
    return wxPoint(x, y);
}

// Lets the window paint for half a second; false when it was closed meanwhile.
bool WaitForPaint(wxFrame* frame) {
    wxWeakRef<wxFrame> alive(frame);
    bool fired = false;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&fired](wxTimerEvent&) { fired = true; });
    timer.StartOnce(500);
    while (!fired && alive) {
        wxYield();
        wxMilliSleep(10);
    }
    return alive;
}

void StampWebAddress(wxImage& picture) {
    wxBitmap bitmap(picture);
    {
        wxMemoryDC dc(bitmap);
        dc.SetFont(wxFont(wxFontInfo(8).FaceName("Tahoma").AntiAliased()));
        dc.SetTextForeground(*wxBLACK);
        dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
        const wxString address = wxString::FromUTF8(SiteAddress());
        const wxSize extent = dc.GetTextExtent(address);
        dc.DrawText(address, picture.GetWidth() - extent.GetWidth() - 35, picture.GetHeight() - 26);
    }
    picture = bitmap.ConvertToImage();
}

bool SaveJpeg(const wxImage& picture, const std::string& path) {
    if (WriteJpegFile(path, picture.GetData(), picture.GetWidth(), picture.GetHeight(), kJpegQuality)) return true;
    ConsoleErrorLine("Error: Unable to save " + path);
    return false;
}

int TakeScreenshots(const std::string& folder) {
    LoadBuiltInImages();
    ScanThemes();
    ApplyTheme(true, true, true);
    wxFrame* frame = CreateMainWindow();
    if (!frame) {
        ConsoleErrorLine("Error: Unable to open the main window (no display?)");
        return 1;
    }
    frame->SetSize(wxRect(ShotPosition(), wxSize(kShotWidth, kShotHeight)));
    frame->Raise();
    FillExampleValues();
    if (!WaitForPaint(frame)) {
        ConsoleErrorLine("Error: The main window was closed before its picture was taken");
        return 1;
    }

    wxImage picture = CaptureWindowPicture(frame);
    frame->Destroy();
    wxYield();
    if (!picture.IsOk()) {
        ConsoleErrorLine("Error: Unable to capture the main window");
        return 1;
    }
    StampWebAddress(picture);
    const int width = picture.GetWidth();
    const int height = picture.GetHeight();
    const int smallHeight = std::max(1, static_cast<int>(std::lround(double{kSmallWidth} * height / width)));
    bool saved = SaveJpeg(picture, folder + "kestrix1.jpg");
    saved = SaveJpeg(picture.Scale(kSmallWidth, smallHeight, wxIMAGE_QUALITY_HIGH), folder + "kestrix1x.jpg") && saved;
    return saved ? 0 : 1;
}
}  // namespace

int RunScreenshotMode(const std::string& targetFolder) {
    std::string folder = targetFolder.empty() ? Job.ProgramFolder : targetFolder;
    if (folder.back() != '/') folder += '/';
    // Nothing is written where there is no folder; a script learns it from the status.
    if (!IsFolder(folder)) {
        ConsoleErrorLine("Error: " + folder + " is not an existing folder");
        return 1;
    }
    // The main window's start-up skips the scheduled update check in this mode.
    Job.RunModeText.assign(1, 'T');
    return RunWithToolkit([&folder] { return TakeScreenshots(folder); });
}
