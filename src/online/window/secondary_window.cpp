#include "online/window/secondary_window.h"

#include <wx/frame.h>

#include "ui/texts.h"
#include "ui/window/main_window.h"

wxString UiLabel(const char* group, const char* key) { return wxString::FromUTF8(GetUiText(group, key)); }

wxDialog* CreateSecondaryWindow(const char* titleGroup, const char* name, int width, int height) {
    auto* window = new wxDialog;
    if (!window->Create(MainWindowFrame(), wxID_ANY, UiLabel(titleGroup, "Title"), wxDefaultPosition, wxDefaultSize,
                        wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU, name)) {
        delete window;
        return nullptr;
    }
    window->SetClientSize(width, height);
    window->CentreOnParent();
    window->Bind(wxEVT_CLOSE_WINDOW, [window](wxCloseEvent&) { CloseSecondaryWindow(window); });
    return window;
}

void ShowSecondaryWindow(wxDialog* window) {
    window->Show();
    EnableMainWindowCommands(false);
    window->SetFocus();
}

void CloseSecondaryWindow(wxDialog* window) {
    EnableMainWindowCommands(true);
    window->Destroy();
    if (wxFrame* main = MainWindowFrame()) main->SetFocus();
}
