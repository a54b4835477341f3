#include <wx/statusbr.h>

#include <algorithm>

#include "app/identity.h"
#include "app/job.h"
#include "app/settings.h"
#include "online/window/online_windows.h"
#include "ui/catalogues.h"
#include "ui/texts.h"
#include "ui/window/image_sets.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_parts.h"

MainWindowPartsRecord MainWindowParts;

namespace {
wxString Ui(const char* group, const char* key) { return wxString::FromUTF8(GetUiText(group, key)); }

wxStaticText* AddLabel(const char* key, int y) {
    return new wxStaticText(MainWindowParts.container, wxID_ANY, Ui("General", key), wxPoint(10, y), wxSize(350, 20),
                            wxST_NO_AUTORESIZE);
}

wxBitmapComboBox* AddDropDown(int y) {
    return new wxBitmapComboBox(MainWindowParts.container, wxID_ANY, wxEmptyString, wxPoint(10, y), wxSize(350, 21),
                                0, nullptr, wxCB_READONLY);
}

// No narrower than the layout needs, no wider than X11 can draw.
int StartWidth() { return std::clamp(static_cast<int>(Settings.Window.Width), kMainMinInnerWidth, 32767); }

void BuildControls() {
    MainWindowPartsRecord& parts = MainWindowParts;
    wxFrame* frame = parts.frame;
    int width = StartWidth();
    parts.container = new wxPanel(frame, wxID_ANY, wxPoint(0, 0), wxSize(width, MainInnerHeight(parts.bars) - 130));
    parts.inputLabel = AddLabel("Input File", 5);
    parts.inputField = new wxTextCtrl(parts.container, wxID_ANY, wxEmptyString, wxPoint(10, 20), wxSize(350, 20));
    BuildFieldButtons();
    parts.outputFolderLabel = AddLabel("Output Folder", 45);
    parts.outputFolderCombo = AddDropDown(60);
    parts.outputFormatLabel = AddLabel("Output Format", 85);
    parts.outputFormatCombo = AddDropDown(100);
    parts.convertButton = new wxBitmapButton(parts.container, CommandId(kCommandConvert), MainImage("Convert"),
                                             wxPoint(400, 20), wxSize(100, 100));
    parts.convertButton->SetToolTip(Ui("Menu", "Convert"));
    parts.notice = new wxStaticText(frame, wxID_ANY, wxString::FromUTF8(MakerNotice()), wxPoint(10, 0), wxSize(350, 20),
                                    wxST_NO_AUTORESIZE);
}

void BuildShortcuts() {
    wxAcceleratorEntry entries[] = {
        {wxACCEL_CTRL, 'N', CommandId(kCommandNew)},
        {wxACCEL_ALT, 'X', CommandId(kCommandExit)},
        {wxACCEL_NORMAL, WXK_F5, CommandId(kCommandConvert)},
        {wxACCEL_NORMAL, WXK_F1, CommandId(kCommandManual)},
    };
    MainWindowParts.frame->SetAcceleratorTable(wxAcceleratorTable(std::size(entries), entries));
}
}  // namespace

wxFrame* MainWindowFrame() { return MainWindowParts.frame; }

wxFrame* CreateMainWindow() {
    ApplyApplicationStyle();
    MainWindowPartsRecord& parts = MainWindowParts;
    parts = MainWindowPartsRecord{};
    wxString title = wxString::FromUTF8(TitleText(kProductName, kVersionNumber, true));
    auto* frame = new wxFrame;
    if (!frame->Create(nullptr, wxID_ANY, title, wxPoint(Settings.Window.X, Settings.Window.Y),
                       wxSize(StartWidth(), kMainInnerHeight),
                       wxDEFAULT_FRAME_STYLE)) {
        delete frame;
        return nullptr;
    }
    parts.frame = frame;
    frame->SetIcons(ProgramIcons());
    BuildMenuBar();
    BuildToolbar();
    wxStatusBar* status = parts.frame->CreateStatusBar(1);
    parts.bars.statusBar = BarHeight(status, parts.bars.statusBar);
    BuildControls();
    AcceptDroppedFiles();
    BuildShortcuts();
    parts.frame->SetClientSize(StartWidth(), parts.frame->GetClientSize().GetHeight());
    ApplyMainWindowSizeLimits();

    // Finishing the start-up.
    BuildFormatCatalogues();
    BindMainWindowEvents();
    if (Settings.Window.IsMaximized) parts.frame->Maximize(true);
    if (Settings.File.RecentOutFolders.empty()) parts.outputFolderCombo->Append(wxEmptyString, MenuIcon("FavFolder"));
    FillOutputFormatCombo(parts.outputFormatCombo, true);
    RunNewCommand();
    parts.frame->Show();
    LayoutMainWindow();
    if (Job.RunModeText != "T") ScheduledUpdateCheck();
    return parts.frame;
}

void SetStatusLine(const std::string& text) {
    if (MainWindowParts.frame && MainWindowParts.frame->GetStatusBar())
        MainWindowParts.frame->SetStatusText(ToWx(text));
}

std::string InputFieldText() {
    return MainWindowParts.inputField ? FromWx(MainWindowParts.inputField->GetValue()) : "";
}

void SetInputFieldText(const std::string& text) {
    if (MainWindowParts.inputField) MainWindowParts.inputField->ChangeValue(ToWx(text));
}

std::string OutputFolderText() {
    return MainWindowParts.outputFolderCombo ? FromWx(MainWindowParts.outputFolderCombo->GetStringSelection()) : "";
}

int SelectedOutputFormatData() {
    wxBitmapComboBox* combo = MainWindowParts.outputFormatCombo;
    if (!combo || combo->GetSelection() == wxNOT_FOUND) return -1;
    return static_cast<int>(reinterpret_cast<intptr_t>(combo->GetClientData(combo->GetSelection())));
}

void EnableMainWindowCommands(bool enable) {
    if (MainWindowParts.frame) MainWindowParts.frame->Enable(enable);
}
