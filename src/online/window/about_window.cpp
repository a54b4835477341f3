#include <wx/button.h>
#include <wx/hyperlink.h>
#include <wx/generic/hyperlink.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "app/identity.h"
#include "online/online.h"
#include "online/window/online_windows.h"
#include "online/window/secondary_window.h"
#include "platform/platform.h"
#include "ui/window/image_sets.h"

namespace {
const wxColour kLinkBlue(0, 0, 255);

// The generic control draws its own text, so the blue holds whatever the GTK theme says about links.
void AddLink(wxDialog* window, const std::string& shown, const std::string& target, int y, const char* name) {
    auto* link = new wxGenericHyperlinkCtrl(window, wxID_ANY, wxString::FromUTF8(shown), wxString::FromUTF8(target),
                                            wxPoint(140, y), wxSize(215, 20), wxHL_ALIGN_LEFT | wxNO_BORDER, name);
    link->SetNormalColour(kLinkBlue);
    link->SetHoverColour(kLinkBlue);
    link->SetVisitedColour(kLinkBlue);
    // Handled here, not by wx's own browser launch: every page goes through the system's open action.
    link->Bind(wxEVT_HYPERLINK, [target](wxHyperlinkEvent&) { OpenDocument(target); });
}

wxStaticText* AddCentredLine(wxDialog* window, const std::string& text, int y) {
    return new wxStaticText(window, wxID_ANY, wxString::FromUTF8(text), wxPoint(20, y), wxSize(320, 20),
                            wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
}
}  // namespace

void OpenAboutWindow() {
    wxDialog* window = CreateSecondaryWindow("About", "AboutWindow", 360, 240);
    if (!window) return;
    new wxStaticBitmap(window, wxID_ANY, BannerPicture(), wxPoint(0, 0), wxSize(360, 40));
    new wxStaticBox(window, wxID_ANY, "", wxPoint(0, 40), wxSize(360, 150));
    AddCentredLine(window, TitleText(kProductName, kVersionNumber, true), 50);
    AddCentredLine(window, MakerNotice(), 70);
    new wxStaticText(window, wxID_ANY, UiLabel("About", "Website"), wxPoint(80, 100), wxSize(60, 20), wxST_NO_AUTORESIZE);
    new wxStaticText(window, wxID_ANY, UiLabel("About", "Email"), wxPoint(80, 120), wxSize(50, 20), wxST_NO_AUTORESIZE);
    AddLink(window, SiteAddress(), SiteAddress(), 100, "WebsiteLink");
    AddLink(window, SupportAddress(), "mailto:" + SupportAddress(), 120, "EmailLink");
    auto* ok = new wxButton(window, wxID_OK, UiLabel("Dialog", "OK"), wxPoint(140, 200), wxSize(80, 25));
    ok->SetDefault();
    ok->Bind(wxEVT_BUTTON, [window](wxCommandEvent&) { CloseSecondaryWindow(window); });
    window->Bind(wxEVT_CHAR_HOOK, [window](wxKeyEvent& event) {
        int key = event.GetKeyCode();
        if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER || key == WXK_ESCAPE)
            CloseSecondaryWindow(window);
        else
            event.Skip();
    });
    ShowSecondaryWindow(window);
    ok->SetFocus();
}
