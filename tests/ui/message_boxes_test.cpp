#include "ui/window/message_boxes.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/msgdlg.h>

#include <string>
#include <utility>

#include "support/expect_message_box.h"
#include "support/wx_test_app.h"
#include "ui/texts.h"

namespace {
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new WxTestApp);

class MessageBoxTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WxTestApp::started) << "needs a display: run under xvfb-run";
        BuildUiText();
    }
};

TEST_F(MessageBoxTest, AskYesNoIsTrueOnlyForYes) {
    const std::string title = GetUiText("Msg", "Reset to Defaults");
    const std::string text = GetUiText("Msg", "Ask reset to defaults");
    bool answer = false;
    wxTEST_DIALOG(answer = AskYesNo(title, text, AskIcon::Question),
                  ExpectMessageBox(title, text, wxICON_QUESTION, wxYES_NO, wxID_YES));
    EXPECT_TRUE(answer);
    wxTEST_DIALOG(answer = AskYesNo(title, text, AskIcon::Warning),
                  ExpectMessageBox(title, text, wxICON_WARNING, wxYES_NO, wxID_NO));
    EXPECT_FALSE(answer);
    // Closing the box any other way is not a yes.
    answer = true;
    wxTEST_DIALOG(answer = AskYesNo(title, text, AskIcon::Question),
                  ExpectMessageBox(title, text, wxICON_QUESTION, wxYES_NO, wxID_CANCEL));
    EXPECT_FALSE(answer);
}

TEST_F(MessageBoxTest, BoxesTakeTheirTitlesFromTheTextTableAndBreakLines) {
    std::string text = FillPlaceholders(GetUiText("Msg", "Invalid output folder"), "/tmp/nowhere");
    std::string shown =
        "The following output folder is invalid or doesn't exist:\n/tmp/nowhere\n\nPlease, correct the output path "
        "and try again!";
    wxTEST_DIALOG(ShowWarning(text), ExpectMessageBox("Warning", shown, wxICON_WARNING, wxOK, wxID_OK));
    wxTEST_DIALOG(ShowError(text), ExpectMessageBox("Error", shown, wxICON_ERROR, wxOK, wxID_OK));
    wxTEST_DIALOG(ShowInfo("No Update", "Größe\r\nok"),
                  ExpectMessageBox("No Update", "Größe\nok", wxICON_INFORMATION, wxOK, wxID_OK));
}

TEST(MessageBoxTextTest, TurnsEachLineBreakPairIntoOne) {
    const std::pair<std::string, std::string> cases[] = {
        {"a\r\nb", "a\nb"}, {"a\r\n\r\nb", "a\n\nb"}, {"a\nb", "a\nb"}, {"a\rb", "a\rb"}, {"end\r", "end\r"}, {"", ""}};
    for (const auto& [text, shown] : cases) EXPECT_EQ(MessageBoxText(text), shown) << text;
}
}  // namespace
