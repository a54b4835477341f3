#include "ui/window/message_boxes.h"

#include <wx/msgdlg.h>

#include "ui/texts.h"

namespace {
// A null parent lets wx pick the active window, so the box is modal to whatever the user is in.
int ShowMessageBox(const std::string& title, const std::string& text, long style) {
    wxMessageDialog dialog(nullptr, wxString::FromUTF8(MessageBoxText(text)), wxString::FromUTF8(title), style);
    return dialog.ShowModal();
}
}  // namespace

std::string MessageBoxText(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        result += text[i];
    }
    return result;
}

void ShowWarning(const std::string& text) { ShowMessageBox(GetUiText("Msg", "Warning"), text, wxOK | wxICON_WARNING); }

void ShowError(const std::string& text) { ShowMessageBox(GetUiText("Msg", "Error"), text, wxOK | wxICON_ERROR); }

void ShowInfo(const std::string& title, const std::string& text) {
    ShowMessageBox(title, text, wxOK | wxICON_INFORMATION);
}

bool AskYesNo(const std::string& title, const std::string& text, AskIcon icon) {
    long style = wxYES_NO | (icon == AskIcon::Warning ? wxICON_WARNING : wxICON_QUESTION);
    return ShowMessageBox(title, text, style) == wxID_YES;
}
