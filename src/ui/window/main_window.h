// The main window: one frame per process, built once at start-up and reached through these procedures.
#pragma once
#include <string>

class wxFrame;
class wxBitmapComboBox;

// Builds and shows the main window from Settings (title, geometry, menus, toolbar, controls).
// Returns the frame, or nullptr when it could not be created.
wxFrame* CreateMainWindow();
// The main window frame, or nullptr before it is built and after it is destroyed.
wxFrame* MainWindowFrame();

// The status bar's text.
void SetStatusLine(const std::string& text);
// The input field's text, UTF-8.
std::string InputFieldText();
void SetInputFieldText(const std::string& text);
// The output folder drop-down's text, UTF-8.
std::string OutputFolderText();
// The client data of the selected output format (an index into the output formats), -1 when none.
int SelectedOutputFormatData();
// Rebuilds the output folder drop-down from [File] Recent Out Folders (unchanged while that is empty),
// selecting the Job output folder, else the first item.
void RefillOutputFolderCombo();
// Fills a drop-down with the offered output formats, each item holding its index in
// OfferedOutputFormats; "DDS (DirectDraw Surface)" with descriptions, "DDS" without. Selects
// [Output] Format, or the first item when that is not offered.
void FillOutputFormatCombo(wxBitmapComboBox* combo, bool withDescription);
// After the preferences window applied its changes: reloads what InterfaceReload asks for (and resets
// it), selects [Output] Format and refills the history drop-down when its length changed.
void ApplyPreferencesToMainWindow();
// Reloads every picture the main window shows from the image sets (after a theme change).
void RefreshControlImages();
// Enables or disables the whole main window while one of its child windows is open.
void EnableMainWindowCommands(bool enable);

// Takes up a file the user added or dropped: it becomes the input field's text.
void TakeUpInputFile(const std::string& path);
// Records the window's geometry into [Window] as shutdown does.
void RecordMainWindowGeometry();
