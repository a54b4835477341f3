// What the converter search and About windows share: they stand in for a modal dialog by
// disabling the main window while they are open.
#pragma once
#include <wx/dialog.h>

#include <string>

// A dialog over the main window, with a close box only and the given inner size; `name` lets tests
// and scripts find it.
wxDialog* CreateSecondaryWindow(const char* titleGroup, const char* name, int width, int height);
// Shows it and disables the main window.
void ShowSecondaryWindow(wxDialog* window);
// Enables the main window, closes the dialog and gives the main window the focus.
void CloseSecondaryWindow(wxDialog* window);
wxString UiLabel(const char* group, const char* key);
