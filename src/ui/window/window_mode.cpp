#include "ui/window/window_mode.h"

#include <glib.h>
#include <wx/app.h>
#include <wx/display.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/timer.h>

#include <csignal>

#include "app/identity.h"
#include "app/job.h"
#include "app/settings.h"
#include "app/settings_file.h"
#include "platform/platform.h"
#include "ui/texts.h"
#include "ui/themes.h"
#include "ui/window/image_sets.h"
#include "ui/window/main_window.h"

namespace {
volatile std::sig_atomic_t closeRequested = 0;

void RequestClose(int) { closeRequested = 1; }

// Counts the modal dialogs on screen. A requested close waits until they are gone, as the close box
// does: their callers go on using the main window when they return.
class ModalDialogCounter : public wxModalDialogHook {
public:
    ModalDialogCounter() { Register(); }
    ~ModalDialogCounter() override { Unregister(); }
    int open = 0;

protected:
    int Enter(wxDialog*) override {
        ++open;
        return wxID_NONE;
    }
    void Exit(wxDialog*) override { --open; }
};

void BuildSettingsPath() {
    std::string folder = AppDataFolder();
    if (folder.empty() || folder.back() != '/') folder += '/';
    folder += std::string(kVendorFolder) + "/" + kProgramName + "/";
    // The whole chain: a new account may not have ~/.config yet.
    CreateFolder(folder);
    Settings.SettingsPath = folder + "config.ini";
}

class KestrixApp : public wxApp {
public:
    bool OnInit() override {
        wxDisplay primary;
        wxRect screen = primary.GetGeometry();
        SetPrimaryDisplaySize(screen.GetWidth(), screen.GetHeight());
        BuildSettingsPath();
        LoadSettings();
        BuildUiText();
        ResetJob();
        SetInputFileTakeUp(TakeUpInputFile);
        LoadBuiltInImages();
        ScanThemes();
        ApplyTheme(true, true, true);

        frame_ = CreateMainWindow();
        if (!frame_) return false;
        frame_->Bind(wxEVT_CLOSE_WINDOW, &KestrixApp::OnClose, this);
        Bind(wxEVT_END_SESSION, [](wxCloseEvent&) { closeRequested = 1; });

        // Signals only set a flag; the close happens on the main thread like a click on the close box.
        timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
            if (closeRequested && frame_ && modalDialogs_.open == 0) frame_->Close(true);
            // wx ends the main loop when the last window goes, but not while the progress window's
            // own loop runs (a signal during a run): ask again once that loop has returned.
            if (!frame_ && wxEventLoopBase::GetActive() == GetMainLoop()) ExitMainLoop();
        });
        timer_.Start(100);
        return true;
    }

private:
    void OnClose(wxCloseEvent&) {
        RecordMainWindowGeometry();
        if (Settings.Advanced.OutFoldersHistory == 0) Settings.File.RecentOutFolders.clear();
        SaveSettings();
        frame_->Destroy();
        frame_ = nullptr;
    }

    wxFrame* frame_ = nullptr;
    wxTimer timer_;
    ModalDialogCounter modalDialogs_;
};
}  // namespace

int RunWindowMode(int argc, char** argv) {
    // The lock guards window mode only: two windows would overwrite each other's settings file.
    std::string lockError;
    Settings.InstanceLock = AcquireInstanceLock(TitleText(kProductName, kVersionNumber, false), &lockError);
    // Ending silently is only for a second copy; any other failure would look like one.
    if (Settings.InstanceLock == kLockHeld) return 0;
    if (Settings.InstanceLock < 0) {
        ConsoleErrorLine("Error: Unable to create the single-instance lock: " + lockError);
        return 1;
    }
    std::signal(SIGTERM, RequestClose);
    std::signal(SIGINT, RequestClose);
    std::signal(SIGHUP, RequestClose);

    wxApp::SetInstance(new KestrixApp());
    // The window's class (WM_CLASS) would follow argv[0]; a link of another name must not change it,
    // or the desktop could no longer match the window to its menu entry and icon. wxGTK takes the
    // class from the application name, GTK the instance name from the program name.
    g_set_prgname(kProgramName);
    wxTheApp->SetAppName(kProgramName);
    // Without a display (or a main window) nothing was shown: say so rather than end as a success.
    bool opened = false;
    if (wxEntryStart(argc, argv)) {
        opened = wxTheApp->CallOnInit();
        if (opened) wxTheApp->OnRun();
        wxTheApp->OnExit();
        wxEntryCleanup();
    }
    const int status = opened ? 0 : 1;
    if (!opened) ConsoleErrorLine("Error: Unable to open the main window (no display?)");
    ReleaseInstanceLock(Settings.InstanceLock);
    Settings.InstanceLock = -1;
    return status;
}
