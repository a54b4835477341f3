// Window tests: wx brought up once per test program, and a dialog hook that fails and cancels any
// modal dialog a test did not expect, so no test waits for a user who never comes.
#pragma once
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/utils.h>

#include <functional>
#include <utility>

class CancellingModalHook;
#define wxTEST_DIALOG_HOOK_CLASS CancellingModalHook
#include <wx/testing.h>

class CancellingModalHook : public wxTestingModalHook {
public:
    using wxTestingModalHook::wxTestingModalHook;

protected:
    int Enter(wxDialog* dialog) override {
        int answer = wxTestingModalHook::Enter(dialog);
        return answer == wxID_NONE ? wxID_CANCEL : answer;
    }
    void ReportFailure(const wxString& message) override { ADD_FAILURE() << message.utf8_string(); }
};

// `afterStart` runs once the toolkit is up and may report that the program's own set-up failed;
// `beforeEnd` runs before the toolkit goes.
class WxTestApp : public testing::Environment {
public:
    explicit WxTestApp(std::function<bool()> afterStart = nullptr, std::function<void()> beforeEnd = nullptr)
        : afterStart_(std::move(afterStart)), beforeEnd_(std::move(beforeEnd)) {}

    void SetUp() override {
        wxApp::SetInstance(new wxApp);
        static char name[] = "kestrix-test";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        entered_ = wxEntryStart(argc, argv);
        started = entered_ && wxTheApp->CallOnInit() && (!afterStart_ || afterStart_());
    }
    void TearDown() override {
        if (!entered_) return;
        if (beforeEnd_) beforeEnd_();
        wxEntryCleanup();
    }

    static inline bool started = false;

private:
    std::function<bool()> afterStart_;
    std::function<void()> beforeEnd_;
    bool entered_ = false;
};

// GTK allocates sizes from its frame clock, a little after the calls that change them.
inline void LetWindowsSettle() {
    for (int i = 0; i < 20; ++i) {
        wxYield();
        wxMilliSleep(5);
    }
}
