// Answers one message box after checking what it shows. Use inside wxTEST_DIALOG.
#pragma once
#include <gtest/gtest.h>
#include <wx/msgdlg.h>

#include <string>
#include <utility>

#include "support/wx_test_app.h"

class ExpectMessageBox : public wxExpectModalBase<wxMessageDialog, ExpectMessageBox> {
public:
    ExpectMessageBox(std::string title, std::string message, long icon, long buttons, int answer)
        : title_(std::move(title)), message_(std::move(message)), icon_(icon), buttons_(buttons), answer_(answer) {}

protected:
    int OnInvoked(wxMessageDialog* dialog) const override {
        EXPECT_EQ(dialog->GetTitle().utf8_string(), title_);
        EXPECT_EQ(dialog->GetMessage().utf8_string(), message_);
        long style = dialog->GetMessageDialogStyle();
        EXPECT_EQ(style & wxICON_MASK, icon_);
        EXPECT_EQ(style & (wxOK | wxYES_NO | wxCANCEL), buttons_);
        return answer_;
    }

private:
    std::string title_;
    std::string message_;
    long icon_;
    long buttons_;
    int answer_;
};
