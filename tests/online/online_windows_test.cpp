#include "online/window/online_windows.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/hyperlink.h>
#include <wx/image.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "app/job.h"
#include "app/settings.h"
#include "online/online.h"
#include "platform/platform.h"
#include "support/expect_message_box.h"
#include "support/loopback_server.h"
#include "support/recording_opener.h"
#include "support/test_support.h"
#include "support/wx_test_app.h"
#include "ui/texts.h"
#include "ui/themes.h"
#include "ui/window/image_sets.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_parts.h"

namespace {
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new WxTestApp);

std::string Text(const char* group, const char* key) { return GetUiText(group, key); }

// scripts/screenshots asks for the windows' pictures through the environment.
void SaveScreenshot(wxWindow* window, const char* name) {
    const char* folder = getenv("QUARVEL_SCREENSHOT_DIR");
    if (!folder) return;
    window->Show();
    LetWindowsSettle();
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
    EXPECT_TRUE(CaptureWindowPicture(window).SaveFile(std::string(folder) + "/" + name, wxBITMAP_TYPE_PNG)) << name;
}

void PressKey(wxWindow* window, int key) {
    wxKeyEvent event(wxEVT_CHAR_HOOK);
    event.m_keyCode = key;
    event.SetEventObject(window);
    window->ProcessWindowEvent(event);
}

template <typename T>
T* Find(const char* name, wxWindow* parent = nullptr) {
    return dynamic_cast<T*>(wxWindow::FindWindowByName(name, parent));
}

class OnlineWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WxTestApp::started) << "needs a display: run under xvfb-run";
        ApplyDefaults(false);
        BuildUiText();
        ResetJob();
        LoadBuiltInImages();
        ScanThemes();
        ApplyTheme(true, true, true);
        unsetenv("KESTRIX_SITE");
        ASSERT_NE(CreateMainWindow(), nullptr);
        LetWindowsSettle();
    }
    void TearDown() override {
        unsetenv("KESTRIX_SITE");
        if (wxFrame* frame = MainWindowFrame()) frame->Destroy();
        LetWindowsSettle();
    }
    RecordingOpener opener_;
};
}  // namespace

// Each answer of the server ends in its own box; a new version's Yes opens the home page.
TEST_F(OnlineWindowTest, CheckForUpdateReportsWhatTheServerSaid) {
    const long kError = wxICON_ERROR, kInfo = wxICON_INFORMATION;
    const struct {
        std::string reply;
        std::string title;
        std::string message;
        long icon;
    } cases[] = {
        {OkReply("290"), Text("Msg", "No Update"), Text("Msg", "No Update Text"), kInfo},
        {OkReply("$FF"), Text("Msg", "No Update"), Text("Msg", "No Update Text"), kInfo},
        {OkReply("letters"), Text("Msg", "Error"), Text("Msg", "Internet connection problems"), kError},
        {"HTTP/1.0 404 Not Found\r\n\r\n404 Not Found", Text("Msg", "Error"), Text("Msg", "Internet connection problems"),
         kError},
    };
    for (const auto& c : cases) {
        LoopbackServer server(c.reply);
        setenv("KESTRIX_SITE", ("http://127.0.0.1:" + std::to_string(server.port())).c_str(), 1);
        wxTEST_DIALOG(CheckForUpdate(), ExpectMessageBox(c.title, c.message, c.icon, wxOK, wxID_OK));
        EXPECT_EQ(server.connections(), 1);
    }
    setenv("KESTRIX_SITE", ("http://127.0.0.1:" + std::to_string(LoopbackServer::RefusingPort())).c_str(), 1);
    wxTEST_DIALOG(CheckForUpdate(), ExpectMessageBox(Text("Msg", "Error"), Text("Msg", "Internet connection problems"),
                                                     kError, wxOK, wxID_OK));

    LoopbackServer newer(OkReply("291"));
    setenv("KESTRIX_SITE", ("http://127.0.0.1:" + std::to_string(newer.port())).c_str(), 1);
    for (int answer : {wxID_NO, wxID_YES})
        wxTEST_DIALOG(CheckForUpdate(), ExpectMessageBox(Text("Msg", "New Update"), Text("Msg", "New Update Text"),
                                                         wxICON_QUESTION, wxYES_NO, answer));
    EXPECT_NE(newer.request().find("User-Agent: Quarvel 2.9\r\n"), std::string::npos);
    EXPECT_EQ(opener_.Opened(HomePageAddress() + "\n"), HomePageAddress() + "\n") << "only Yes opens the page";
    EXPECT_TRUE(MainWindowFrame()->IsEnabled());
}

TEST_F(OnlineWindowTest, ScheduledCheckAsksWhenDueAndMovesTheDate) {
    Settings.General.UpdateRange = 0;
    Settings.General.UpdateDate = NowLocalDate() - 2 * 86400;
    wxTEST_DIALOG(ScheduledUpdateCheck(), ExpectMessageBox(Text("Msg", "Check for Updates"),
                                                           "Do you want to check for updates?", wxICON_QUESTION,
                                                           wxYES_NO, wxID_NO));
    EXPECT_GE(Settings.General.UpdateDate, NowLocalDate() - 1);
    {
        // The same day again, and a range of "never" with a date long past: no question at all.
        CancellingModalHook noDialog;
        ScheduledUpdateCheck();
        Settings.General.UpdateRange = 5;
        Settings.General.UpdateDate = 0;
        ScheduledUpdateCheck();
        EXPECT_EQ(Settings.General.UpdateDate, 0);
    }
    // Yes runs the check itself.
    LoopbackServer server(OkReply("100"));
    setenv("KESTRIX_SITE", ("http://127.0.0.1:" + std::to_string(server.port())).c_str(), 1);
    Settings.General.UpdateRange = 1;
    Settings.General.UpdateDate = NowLocalDate() - 8 * 86400;
    wxTEST_DIALOG(ScheduledUpdateCheck(),
                  ExpectMessageBox(Text("Msg", "Check for Updates"), Text("Msg", "Ask check for updates"),
                                   wxICON_QUESTION, wxYES_NO, wxID_YES),
                  ExpectMessageBox(Text("Msg", "No Update"), Text("Msg", "No Update Text"), wxICON_INFORMATION, wxOK,
                                   wxID_OK));
    EXPECT_GE(Settings.General.UpdateDate, NowLocalDate() - 1);
}

TEST_F(OnlineWindowTest, ConverterSearchOpensTheFinderForCleanedExtensions) {
    const struct {
        std::string from;
        std::string to;
        std::string path;  // "" when the fields are unusable
    } cases[] = {
        {".BMP", "DDS files", "/find/bmp-ddsfiles/"},
        {"jpeg-2000 image", "png", "/find/jpeg2000im-png/"},
        {std::string(10000, 'x'), "dds", "/find/xxxxxxxxxxxx-dds/"},
        {"...", "dds", ""},
        {"bmp", "", ""},
    };
    std::string opened;
    bool shot = false;
    for (const auto& c : cases) {
        RunMainCommand(kCommandFindConverter);
        auto* window = Find<wxDialog>("ConverterSearchWindow");
        ASSERT_NE(window, nullptr);
        EXPECT_FALSE(MainWindowFrame()->IsEnabled());
        EXPECT_EQ(window->GetClientSize(), wxSize(370, 60));
        EXPECT_EQ(window->GetTitle(), "Find a File Converter");
        auto* from = Find<wxTextCtrl>("From", window);
        auto* to = Find<wxTextCtrl>("To", window);
        ASSERT_TRUE(from && to);
        EXPECT_EQ(from->GetPosition(), wxPoint(50, 20));
        EXPECT_EQ(to->GetPosition(), wxPoint(180, 20));
        EXPECT_EQ(Find<wxButton>("Search", window)->GetPosition(), wxPoint(280, 18));
        from->ChangeValue(wxString::FromUTF8(c.from));
        to->ChangeValue(wxString::FromUTF8(c.to));
        if (!shot) {
            SaveScreenshot(window, "converter-search.png");
            shot = true;
        }
        if (c.path.empty()) {
            wxTEST_DIALOG(PressKey(window, WXK_RETURN),
                          ExpectMessageBox(Text("Msg", "Warning"), "Please, fill all required fields and try again!",
                                           wxICON_WARNING, wxOK, wxID_OK));
            LetWindowsSettle();
            ASSERT_EQ(Find<wxDialog>("ConverterSearchWindow"), window) << "the dialog stays open with its text";
            EXPECT_EQ(from->GetValue().utf8_string(), c.from);
            PressKey(window, WXK_ESCAPE);
        } else {
            wxCommandEvent click(wxEVT_BUTTON, Find<wxButton>("Search", window)->GetId());
            Find<wxButton>("Search", window)->ProcessWindowEvent(click);
            opened += SiteAddress() + c.path + "\n";
        }
        LetWindowsSettle();
        EXPECT_EQ(Find<wxDialog>("ConverterSearchWindow"), nullptr) << c.from;
        EXPECT_TRUE(MainWindowFrame()->IsEnabled()) << c.from;
        EXPECT_EQ(opener_.Opened(opened), opened);
    }
    // Enter searches as the button does.
    RunMainCommand(kCommandFindConverter);
    auto* window = Find<wxDialog>("ConverterSearchWindow");
    ASSERT_NE(window, nullptr);
    Find<wxTextCtrl>("From", window)->ChangeValue("tga");
    Find<wxTextCtrl>("To", window)->ChangeValue("DDS");
    PressKey(window, WXK_RETURN);
    LetWindowsSettle();
    opened += SiteAddress() + "/find/tga-dds/\n";
    EXPECT_EQ(opener_.Opened(opened), opened);
    EXPECT_TRUE(MainWindowFrame()->IsEnabled());
}

TEST_F(OnlineWindowTest, AboutShowsBlueLinksThatOpenAndClosesOnEscape) {
    RunMainCommand(kCommandAbout);
    auto* window = Find<wxDialog>("AboutWindow");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetClientSize(), wxSize(360, 240));
    EXPECT_FALSE(MainWindowFrame()->IsEnabled());
    SaveScreenshot(window, "about.png");
    const struct {
        const char* name;
        std::string shown;
        std::string target;
        int y;
    } links[] = {
        {"WebsiteLink", SiteAddress(), SiteAddress(), 100},
        {"EmailLink", SupportAddress(), "mailto:" + SupportAddress(), 120},
    };
    std::string opened;
    for (const auto& link : links) {
        auto* control = Find<wxHyperlinkCtrlBase>(link.name, window);
        ASSERT_NE(control, nullptr) << link.name;
        EXPECT_EQ(control->GetLabel().utf8_string(), link.shown);
        EXPECT_EQ(control->GetNormalColour(), wxColour(0, 0, 255));
        EXPECT_EQ(control->GetPosition(), wxPoint(140, link.y));
        wxHyperlinkEvent click(control, control->GetId(), control->GetURL());
        control->ProcessWindowEvent(click);
        opened += link.target + "\n";
        EXPECT_EQ(opener_.Opened(opened), opened);
        EXPECT_EQ(Find<wxDialog>("AboutWindow"), window) << "a link leaves the window open";
    }
    PressKey(window, WXK_ESCAPE);
    LetWindowsSettle();
    EXPECT_EQ(Find<wxDialog>("AboutWindow"), nullptr);
    EXPECT_TRUE(MainWindowFrame()->IsEnabled());
    // OK and Enter close it the same way.
    for (bool enter : {false, true}) {
        RunMainCommand(kCommandAbout);
        window = Find<wxDialog>("AboutWindow");
        ASSERT_NE(window, nullptr);
        if (enter) {
            PressKey(window, WXK_RETURN);
        } else {
            wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
            window->FindWindow(wxID_OK)->ProcessWindowEvent(click);
        }
        LetWindowsSettle();
        EXPECT_EQ(Find<wxDialog>("AboutWindow"), nullptr);
        EXPECT_TRUE(MainWindowFrame()->IsEnabled());
    }
}

namespace {
// Answers the uninstall page: sets its check box, then presses Next or the close box.
class AnswerUninstallPage : public wxExpectModalBase<wxDialog, AnswerUninstallPage> {
public:
    AnswerUninstallPage(bool checked, bool next) : checked_(checked), next_(next) {}

protected:
    int OnInvoked(wxDialog* dialog) const override {
        EXPECT_EQ(dialog->GetName(), "UninstallPage");
        EXPECT_EQ(dialog->GetClientSize(), wxSize(300, 100));
        auto* box = Find<wxCheckBox>("VisitUninstallPage", dialog);
        EXPECT_NE(box, nullptr);
        if (!box) return wxID_CANCEL;
        EXPECT_TRUE(box->GetValue()) << "checked when it opens";
        EXPECT_EQ(box->GetPosition(), wxPoint(30, 20));
        EXPECT_EQ(Find<wxButton>("Next", dialog)->GetPosition(), wxPoint(200, 60));
        SaveScreenshot(dialog, "uninstall-page.png");
        dialog->Hide();
        box->SetValue(checked_);
        return next_ ? wxID_OK : wxID_CANCEL;
    }

private:
    bool checked_;
    bool next_;
};
}  // namespace

TEST_F(OnlineWindowTest, UninstallPageOpensTheAddressOnlyWhenChecked) {
    const struct {
        bool checked;
        bool next;
        bool opens;
    } cases[] = {{false, true, false}, {true, false, false}, {true, true, true}};
    for (const auto& c : cases) {
        opener_.Clear();
        wxTEST_DIALOG(ShowUninstallPage(), AnswerUninstallPage(c.checked, c.next));
        std::string expected = c.opens ? UninstallPageAddress() + "\n" : "";
        if (!c.opens) wxMilliSleep(300);  // time for an opener that should not run
        EXPECT_EQ(opener_.Opened(expected), expected) << c.checked << c.next;
    }
}

// "-U" as a user meets it: the real program's window, its Next button clicked through the X server.
TEST(UninstallPageProcess, NextOpensThePageAndEndsWithoutSettings) {
    ASSERT_TRUE(WxTestApp::started) << "needs a display: run under xvfb-run";
    RecordingOpener opener;
    pid_t child = fork();
    if (child == 0) {
        execl(QUARVEL_KESTRIX, QUARVEL_KESTRIX, "-U", static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(child, 0);
    // Where the window is on the screen, once it is mapped at its size.
    auto locate = [](int* x, int* y) {
        CommandResult info = RunCommand("xwininfo -name Uninstall");
        auto field = [&info](const char* name) {
            size_t at = info.out.find(name);
            return at == std::string::npos ? -1 : std::atoi(info.out.c_str() + at + std::string(name).size());
        };
        *x = field("Absolute upper-left X:");
        *y = field("Absolute upper-left Y:");
        return *x >= 0 && field("Width:") == 300 && info.out.find("IsViewable") != std::string::npos;
    };
    int x = -1, y = -1;
    bool shown = false;
    for (int i = 0; i < 100 && !shown; ++i) {
        shown = locate(&x, &y);
        if (!shown) wxMilliSleep(100);
    }
    ASSERT_TRUE(shown) << "the uninstall page did not appear";
    // A click that comes before GTK is ready for it is lost; Next is clicked until the page ends.
    int status = -1;
    bool ended = false;
    for (int click = 0; click < 5 && !ended; ++click) {
        wxMilliSleep(500);
        if (!locate(&x, &y)) continue;
        wxUIActionSimulator mouse;
        mouse.MouseMove(x + 240, y + 72);  // the middle of Next
        wxYield();
        mouse.MouseClick();
        wxYield();
        for (int i = 0; i < 20 && !ended; ++i) {
            ended = waitpid(child, &status, WNOHANG) == child;
            if (!ended) wxMilliSleep(100);
        }
    }
    if (!ended) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    ASSERT_TRUE(ended) << "Next did not end the page";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(opener.Opened(UninstallPageAddress() + "\n"), UninstallPageAddress() + "\n");
    EXPECT_NE(access((std::string(getenv("XDG_CONFIG_HOME")) + "/Marrowfen/kestrix/config.ini").c_str(), F_OK), 0)
        << "the page never writes settings";
}
