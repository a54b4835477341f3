#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>

#include "online/online.h"
#include "online/window/online_windows.h"
#include "online/window/secondary_window.h"
#include "online/window/toolkit_session.h"
#include "platform/platform.h"

void ShowUninstallPage() {
    wxDialog window;
    if (!window.Create(nullptr, wxID_ANY, UiLabel("Uninstall", "Title"), wxDefaultPosition, wxDefaultSize,
                       wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU, "UninstallPage"))
        return;
    window.SetClientSize(300, 100);
    window.CentreOnScreen();
    auto* visit = new wxCheckBox(&window, wxID_ANY, UiLabel("Uninstall", "Uninstall Text"),
                                 wxPoint(30, 20), wxSize(250, 20), 0, wxDefaultValidator, "VisitUninstallPage");
    visit->SetValue(true);
    auto* next = new wxButton(&window, wxID_OK, UiLabel("Uninstall", "Next"), wxPoint(200, 60), wxSize(80, 25), 0,
                              wxDefaultValidator, "Next");
    next->SetDefault();
    next->SetFocus();
    // Next ends the page with wxID_OK; the close box (and Escape) with wxID_CANCEL.
    if (window.ShowModal() == wxID_OK && visit->GetValue()) OpenDocument(UninstallPageAddress());
}

int RunUninstallPage() {
    // The page never reads or writes the settings file: it only offers the vendor's page.
    return RunWithToolkit([] {
        ShowUninstallPage();
        return 0;
    });
}
