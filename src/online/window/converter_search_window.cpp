#include <wx/button.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "online/online.h"
#include "online/window/online_windows.h"
#include "online/window/secondary_window.h"
#include "platform/platform.h"
#include "ui/texts.h"
#include "ui/window/message_boxes.h"

namespace {
void Search(wxDialog* window, wxTextCtrl* fromField, wxTextCtrl* toField) {
    std::string from = SearchExtension(fromField->GetValue().utf8_string());
    std::string to = SearchExtension(toField->GetValue().utf8_string());
    if (from.empty() || to.empty()) {
        ShowWarning(GetUiText("Msg", "Empty extensions"));
        return;
    }
    window->Hide();
    OpenDocument(ConverterFinderAddress(from, to));
    CloseSecondaryWindow(window);
}
}  // namespace

void OpenConverterSearchWindow() {
    wxDialog* window = CreateSecondaryWindow("Custom-Converter", "ConverterSearchWindow", 370, 60);
    if (!window) return;
    new wxStaticText(window, wxID_ANY, UiLabel("Custom-Converter", "From"), wxPoint(10, 23), wxSize(40, 20),
                     wxST_NO_AUTORESIZE);
    auto* from = new wxTextCtrl(window, wxID_ANY, "", wxPoint(50, 20), wxSize(80, 20), 0, wxDefaultValidator, "From");
    new wxStaticText(window, wxID_ANY, UiLabel("Custom-Converter", "To"), wxPoint(150, 23), wxSize(30, 20),
                     wxST_NO_AUTORESIZE);
    auto* to = new wxTextCtrl(window, wxID_ANY, "", wxPoint(180, 20), wxSize(80, 20), 0, wxDefaultValidator, "To");
    auto* search = new wxButton(window, wxID_ANY, UiLabel("Custom-Converter", "Search"), wxPoint(280, 18),
                                wxSize(80, 25), 0, wxDefaultValidator, "Search");
    search->SetDefault();
    search->Bind(wxEVT_BUTTON, [=](wxCommandEvent&) { Search(window, from, to); });
    // Enter searches and Escape closes from whichever control has the focus.
    window->Bind(wxEVT_CHAR_HOOK, [=](wxKeyEvent& event) {
        switch (event.GetKeyCode()) {
            case WXK_RETURN:
            case WXK_NUMPAD_ENTER: Search(window, from, to); break;
            case WXK_ESCAPE: CloseSecondaryWindow(window); break;
            default: event.Skip();
        }
    });
    ShowSecondaryWindow(window);
    from->SetFocus();
}
