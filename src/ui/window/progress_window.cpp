#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/gauge.h>
#include <wx/stattext.h>
#include <wx/weakref.h>

#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "app/job.h"
#include "engine/conversion_run.h"
#include "platform/platform.h"
#include "ui/progress_text.h"
#include "ui/texts.h"
#include "ui/window/main_window.h"
#include "ui/window/message_boxes.h"
#include "ui/window/window_conversion.h"

namespace {
constexpr int kLineWidth = 280;
constexpr int kFallbackCharacterWidth = 7;
constexpr unsigned long kPollMilliseconds = 15;
// Once the worker has ended there is nothing to poll; wake up rarely.
constexpr unsigned long kIdleMilliseconds = 250;

// What the progress window keeps while it is open.
struct ProgressWindowState {
    wxDialog* window = nullptr;
    wxStaticText* fileLine = nullptr;
    wxStaticText* timeLine = nullptr;
    wxGauge* bar = nullptr;
    wxButton* ok = nullptr;
    int total = 0;
    int budget = kLineWidth / kFallbackCharacterWidth;  // characters the file line holds
    std::thread worker;
    int shownIndex = 0;
    bool stopped = false;
    bool leave = false;
    bool okClicked = false;
    bool closeRequested = false;
};

wxString Utf8(const std::string& text) { return wxString::FromUTF8(text); }

std::string ProgressText(int index, int total) {
    return FillPlaceholders(GetUiText("Msg", "Progress"), std::to_string(index), std::to_string(total));
}

bool OpenProgressWindow(ProgressWindowState& state) {
    wxFrame* main = MainWindowFrame();
    // Named so that the window and its lines can be found again, by tests among others.
    if (!state.window->Create(main, wxID_ANY, Utf8(GetUiText("Dialog", "Convert Progress")), wxDefaultPosition,
                              wxDefaultSize, wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU, "ProgressWindow"))
        return false;
    state.window->SetClientSize(300, 130);
    const long lineStyle = wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_MIDDLE;
    state.fileLine = new wxStaticText(state.window, wxID_ANY, "", wxPoint(10, 13), wxSize(kLineWidth, 20), lineStyle,
                                      "FileLine");
    const std::string unknown = FillPlaceholders(GetUiText("Dialog", "Time Remaining"), GetUiText("Dialog", "Time Unknown"));
    state.timeLine = new wxStaticText(state.window, wxID_ANY, "", wxPoint(10, 33), wxSize(kLineWidth, 20), lineStyle,
                                      "TimeLine");
    state.timeLine->SetLabelText(Utf8(unknown));
    state.bar = new wxGauge(state.window, wxID_ANY, state.total + 1, wxPoint(10, 60), wxSize(kLineWidth, 20),
                            wxGA_HORIZONTAL, wxDefaultValidator, "ProgressBar");
    state.ok = new wxButton(state.window, wxID_OK, Utf8(GetUiText("Dialog", "OK")), wxPoint(110, 95), wxSize(80, 25));
    state.ok->SetDefault();
    if (state.total <= 4) {
        state.timeLine->Hide();
        state.bar->Move(10, 50);
    }
    // Every way of closing only raises a request; the poll loop decides, as the worker may still run.
    state.window->Bind(wxEVT_CLOSE_WINDOW, [&state](wxCloseEvent& event) {
        if (event.CanVeto()) event.Veto();
        state.closeRequested = true;
    });
    state.window->Bind(wxEVT_BUTTON, [&state](wxCommandEvent&) { state.closeRequested = true; }, wxID_CANCEL);
    state.window->Bind(wxEVT_BUTTON, [&state](wxCommandEvent&) { state.okClicked = true; }, wxID_OK);
    if (main) state.window->CentreOnParent();
    else state.window->Centre();

    state.ok->Disable();
    state.window->Show();
    EnableMainWindowCommands(false);
    state.window->SetFocus();
    return true;
}

int MeasureCharacterWidth(wxWindow* window) {
    int width = kFallbackCharacterWidth;
    wxClientDC dc(window);
    if (dc.IsOk()) {
        dc.SetFont(window->GetFont());
        int measured = dc.GetTextExtent("abc123:\\-").GetWidth() / 9;
        if (measured > 0) width = measured;  // a zero width would divide the budget by zero
    }
    return width;
}

void StartWorker(ProgressWindowState& state) {
    ResetConversionRun();
    try {
        state.worker = std::thread(RunConversion);
    } catch (const std::system_error&) {
        // No thread: the run ends at once with nothing converted, and the window says so.
        ConversionRun.Running = false;
        ConversionRun.Ended = true;
    }
}

// The pause gate holds the worker while the user is asked, so no file starts or finishes meanwhile.
void AskBreakConversion(ProgressWindowState& state) {
    ClosePauseGate();
    const bool yes = AskYesNo(GetUiText("Msg", "Warning"), GetUiText("Msg", "Ask break conversion"), AskIcon::Warning);
    // A worker already past its last gate when the question came has converted everything: nothing to stop.
    const bool finished = ConversionRun.Ended;
    OpenPauseGate();
    if (!yes || finished) return;
    {
        std::lock_guard<std::mutex> guard(ConversionRun.Lock);
        ConversionRun.Running = false;
    }
    state.stopped = true;
}

void ShowProgress(ProgressWindowState& state) {
    int index = 0;
    std::string file;
    int64_t duration = 0;
    {
        std::lock_guard<std::mutex> guard(ConversionRun.Lock);
        index = ConversionRun.CurrentIndex;
        file = ConversionRun.CurrentFile;
        duration = ConversionRun.PreviousDuration;
    }
    if (index <= state.shownIndex) return;
    state.window->SetTitle(Utf8(GetUiText("Dialog", "Convert Progress") + " " + ProgressText(index, state.total)));
    state.fileLine->SetLabelText(Utf8(ShortenMiddle(file, state.budget)));
    if (state.total >= 5 && duration != 0) {
        const int64_t remaining = duration * (state.total - index + 1);
        state.timeLine->SetLabelText(Utf8(FillPlaceholders(GetUiText("Dialog", "Time Remaining"), FormatDuration(remaining))));
    }
    state.bar->SetValue(index);
    state.shownIndex = index;
}

void ShowOutcome(ProgressWindowState& state) {
    if (state.worker.joinable()) state.worker.join();
    int converted = 0;
    int index = 0;
    {
        std::lock_guard<std::mutex> guard(ConversionRun.Lock);
        converted = ConversionRun.ConvertedCount;
        // The final index, not only the last one a poll saw: a file converted between two polls
        // would otherwise end as "(0/1)".
        index = ConversionRun.CurrentIndex;
    }
    const std::string progress = ProgressText(index, state.total);
    const std::string filesConverted =
        FillPlaceholders(GetUiText("Msg", "Files converted"), std::to_string(converted), std::to_string(state.total));
    // A run that converted nothing is no more complete than a stopped one; its file line still
    // says how many files went through.
    if (state.stopped || converted == 0) {
        const std::string notComplete = GetUiText("Msg", "Conversion is not complete");
        SetStatusLine(notComplete);
        state.window->SetTitle(Utf8(notComplete + " " + progress));
        state.fileLine->SetLabelText(Utf8(state.stopped ? notComplete : filesConverted));
    } else {
        const std::string complete = GetUiText("Msg", "Conversion complete");
        SetStatusLine(complete);
        state.window->SetTitle(Utf8(complete + " " + progress));
        state.fileLine->SetLabelText(Utf8(filesConverted));
        state.timeLine->SetLabelText(Utf8(FillPlaceholders(GetUiText("Dialog", "Time Remaining"), "00:00:00")));
        state.bar->SetValue(state.total + 1);
    }
    state.ok->Enable();
    state.ok->SetFocus();
}

bool WorkerActive(const ProgressWindowState& state) { return state.worker.joinable() && !ConversionRun.Ended; }

void Poll(ProgressWindowState& state) {
    if (!state.worker.joinable() && !ConversionRun.Ended) return;
    if (!ConversionRun.Ended) ShowProgress(state);
    else if (!state.ok->IsEnabled()) ShowOutcome(state);
}

void HandleRequests(ProgressWindowState& state) {
    if (state.okClicked) {
        state.okClicked = false;
        if (state.ok->IsEnabled()) state.leave = true;
    }
    if (state.closeRequested) {
        state.closeRequested = false;
        if (WorkerActive(state)) {
            AskBreakConversion(state);
        } else {
            // The run may have ended since the last poll: report it before the window goes.
            if (!state.ok->IsEnabled()) ShowOutcome(state);
            state.leave = true;
        }
    }
}

// Stops and waits for a worker the window no longer watches; it finishes the file it holds.
void StopWorker(ProgressWindowState& state) {
    if (!state.worker.joinable()) return;
    {
        std::lock_guard<std::mutex> guard(ConversionRun.Lock);
        ConversionRun.Running = false;
    }
    OpenPauseGate();
    state.worker.join();
}

void CloseProgressWindow(ProgressWindowState& state) {
    wxWeakRef<wxFrame> main(MainWindowFrame());
    if (main) EnableMainWindowCommands(true);
    // Deleted here rather than at idle time: its handlers refer to this call's state.
    delete state.window;
    state.window = nullptr;
    if (main) main->SetFocus();
}
}  // namespace

void RunProgressWindow() {
    ProgressWindowState state;
    state.total = static_cast<int>(InputList.size());
    state.window = new wxDialog;
    // The main window takes its children along when it is destroyed (a shutdown signal during a run).
    wxWeakRef<wxDialog> window(state.window);
    if (!OpenProgressWindow(state)) {
        delete state.window;
        SetStatusLine(GetUiText("Msg", "Conversion is not complete"));
        return;
    }
    state.budget = kLineWidth / MeasureCharacterWidth(state.window);
    StartWorker(state);

    // Our own loop, so that the worker is watched every 15 ms even while events keep coming.
    wxGUIEventLoop loop;
    wxEventLoopActivator activate(&loop);
    int64_t lastPoll = MillisecondsSinceStart();
    while (!state.leave) {
        const bool watching = !state.ok->IsEnabled();
        const int dispatched = loop.DispatchTimeout(watching ? kPollMilliseconds : kIdleMilliseconds);
        if (!window) break;  // destroyed along with the main window
        HandleRequests(state);
        if (state.leave) break;
        const int64_t now = MillisecondsSinceStart();
        if (watching && (dispatched < 0 || now - lastPoll >= static_cast<int64_t>(kPollMilliseconds))) {
            Poll(state);
            lastPoll = now;
        }
    }
    StopWorker(state);
    if (window) CloseProgressWindow(state);
}
