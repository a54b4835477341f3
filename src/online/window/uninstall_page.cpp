#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>

#include <algorithm>

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
    // GTK's check mark and font need more than the 250 pixels the label was measured for; the box
    // (and, only if need be, the window) grows so that the text is never cut.
    const int labelWidth = std::max(250, visit->GetBestSize().GetWidth());
    visit->SetSize(wxRect(30, 20, labelWidth, 20));
    if (30 + labelWidth > 300) window.SetClientSize(30 + labelWidth + 4, 100);
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
