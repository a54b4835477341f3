// The preferences window: opened by the main window, edits Settings, stores them on OK.
#pragma once
#include <cstdint>
#include <string>

class wxDialog;
class wxEvent;

// Builds, loads and shows the window on the category PreferencesPage (then reset to 0), with the
// main window disabled. Does nothing more when the window cannot be created.
void OpenPreferences();
// The open preferences window, or nullptr.
wxDialog* PreferencesWindow();
// Every event of the window's controls, its close box and its Escape key.
void PreferencesEvent(wxEvent& event);
