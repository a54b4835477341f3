// The main window's controls and the steps that build and run it, shared by its own files only.
#pragma once
#include <wx/bmpcbox.h>
#include <wx/bmpbuttn.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

#include <string>
#include <vector>

#include "ui/main_layout.h"

struct MainWindowPartsRecord {
    wxFrame* frame = nullptr;
    wxPanel* container = nullptr;
    wxStaticText* inputLabel = nullptr;
    wxStaticText* outputFolderLabel = nullptr;
    wxStaticText* outputFormatLabel = nullptr;
    wxTextCtrl* inputField = nullptr;
    wxBitmapComboBox* outputFolderCombo = nullptr;
    wxBitmapComboBox* outputFormatCombo = nullptr;
    wxBitmapButton* convertButton = nullptr;
    wxToolBar* fieldButtons[3] = {nullptr, nullptr, nullptr};
    wxStaticText* notice = nullptr;
    // Taken right after each bar is (re)built; a bar that failed keeps the height it had.
    MainBarHeights bars;
};
extern MainWindowPartsRecord MainWindowParts;

// Command numbers as menu items, buttons and shortcuts deliver them.
enum MainCommand {
    kCommandNew = 0,
    kCommandExit = 3,
    kCommandAddInputFile = 5,
    kCommandSelectOutputFolder = 7,
    kCommandOutputFormatOptions = 8,
    kCommandConvert = 14,
    kCommandFindConverter = 16,
    kCommandPreferences = 17,
    kCommandManual = 18,
    kCommandFeedback = 21,
    kCommandHomepage = 22,
    kCommandCheckForUpdate = 23,
    kCommandAbout = 24,
};
// In the menu and toolbar layouts: a separator where a command number would be.
constexpr int kSeparator = -1;
// wx ids stay clear of the ids wx reserves; the command number is the offset.
constexpr int kCommandIdBase = wxID_HIGHEST + 1;
inline int CommandId(int command) { return kCommandIdBase + command; }

struct MainCommandInfo {
    int number;
    const char* textKey;   // `Menu` group
    const char* iconKey;   // MenuIcons / ToolbarIcons
    const char* shortcut;  // appended to the menu text after a tab, or nullptr
};
// Every command the window offers, by number; nullptr for a number no control raises.
const MainCommandInfo* FindMainCommand(int number);
// Carries out command `number`; numbers no table names do nothing.
void RunMainCommand(int number);

// GTK's default theme is far taller than the fixed layout; the stylesheet brings controls back to it.
void ApplyApplicationStyle();
void BuildMenuBar();
void BuildToolbar();
void BuildFieldButtons();
void LayoutMainWindow();
// A bar's height as GTK has it now: its size once allocated, else its best size, else `known`.
int BarHeight(wxWindow* bar, int known);
// Holds the inner height fixed and the width at least the minimum, for the bars as they are now.
void ApplyMainWindowSizeLimits();
void BindMainWindowEvents();
void AcceptDroppedFiles();

void RunNewCommand();
void RunAddInputFileCommand();
// The part of Add Input File that acts on the dialog's answer ("" when cancelled).
void TakeChosenInputFile(const std::string& path);
void RunSelectOutputFolderCommand();
// The part of Select Output Folder that acts on the dialog's answer ("" when cancelled).
void TakeChosenOutputFolder(const std::string& folder);
// A drop: the first path of the list goes to the job, the others are ignored.
void TakeDroppedFiles(const std::vector<std::string>& paths);

// Paths and texts between std::string and the controls. Bytes that are not UTF-8 survive the trip
// (as private-use characters on screen) instead of turning the whole text empty.
wxString ToWx(const std::string& text);
std::string FromWx(const wxString& text);
