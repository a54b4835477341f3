#include "ui/window/window_conversion.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dialog.h>
#include <wx/gauge.h>
#include <wx/image.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/timer.h>


#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/job.h"
#include "app/settings.h"
#include "engine/conversion_run.h"
#include "platform/platform.h"
#include "support/test_support.h"
#include "support/window_capture.h"
#include "support/wx_test_app.h"
#include "ui/catalogues.h"
#include "ui/output_history.h"
#include "ui/texts.h"
#include "ui/window/image_sets.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_parts.h"
#include "ui/window/message_boxes.h"

#include <IL/il.h>
#include <IL/ilu.h>

namespace {
// Answers one warning box after checking its text; `whileShown` runs before the answer.
class ExpectWarning : public wxExpectModalBase<wxMessageDialog, ExpectWarning> {
public:
    ExpectWarning(std::string message, int answer, std::function<void()> whileShown = nullptr)
        : message_(std::move(message)), answer_(answer), whileShown_(std::move(whileShown)) {}

protected:
    int OnInvoked(wxMessageDialog* dialog) const override {
        EXPECT_EQ(dialog->GetTitle().utf8_string(), "Warning");
        EXPECT_EQ(dialog->GetMessage().utf8_string(), message_);
        EXPECT_EQ(dialog->GetMessageDialogStyle() & wxICON_MASK, wxICON_WARNING);
        if (whileShown_) whileShown_();
        return answer_;
    }

private:
    std::string message_;
    int answer_;
    std::function<void()> whileShown_;
};

// The whole program shares one main window, as the real program does.
bool StartMainWindow() {
    ilInit();
    iluInit();
    ApplyDefaults(false);
    BuildUiText();
    BuildFormatCatalogues();
    ResetJob();
    SetInputFileTakeUp(TakeUpInputFile);
    LoadBuiltInImages();
    return CreateMainWindow() != nullptr;
}

void EndMainWindow() {
    if (MainWindowFrame()) MainWindowFrame()->Destroy();
    ilShutDown();
}

testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new WxTestApp(StartMainWindow, EndMainWindow));

std::string StatusLine() { return MainWindowFrame()->GetStatusBar()->GetStatusText().utf8_string(); }

uint32_t ReadLittle32(const std::string& data, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(data[at + i]);
    return value;
}

void ConvertFromWindow() {
    wxCommandEvent convert(wxEVT_MENU, CommandId(kCommandConvert));
    convert.SetEventObject(MainWindowFrame());
    MainWindowFrame()->ProcessWindowEvent(convert);
}

struct ProgressSnapshot {
    std::string title;
    std::string fileLine;
    bool timeLineShown = true;
    int barY = 0;
    int barValue = 0;
    int barRange = 0;
    bool mainWindowEnabled = true;
};

// Watches the progress window from inside its own loop: notes what it shows while the worker
// converts (and asks to close it once, when told to), then notes the outcome and presses OK.
// With a screenshot path it lets the outcome be painted and captures it first.
class ProgressWatcher {
public:
    explicit ProgressWatcher(bool closeWhileConverting, std::string screenshotPath = "")
        : closeWhileConverting_(closeWhileConverting), screenshotPath_(std::move(screenshotPath)) {
        timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Look(); });
        timer_.Start(5);
    }
    ~ProgressWatcher() { timer_.Stop(); }

    bool sawConverting = false;
    bool sawOutcome = false;
    ProgressSnapshot converting;
    ProgressSnapshot outcome;

private:
    static ProgressSnapshot Snap(wxDialog* window) {
        ProgressSnapshot snap;
        snap.title = window->GetTitle().utf8_string();
        auto* fileLine = wxDynamicCast(wxWindow::FindWindowByName("FileLine", window), wxStaticText);
        auto* timeLine = wxDynamicCast(wxWindow::FindWindowByName("TimeLine", window), wxStaticText);
        auto* bar = wxDynamicCast(wxWindow::FindWindowByName("ProgressBar", window), wxGauge);
        if (fileLine) snap.fileLine = fileLine->GetLabelText().utf8_string();
        if (timeLine) snap.timeLineShown = timeLine->IsShown();
        if (bar) {
            snap.barY = bar->GetPosition().y;
            snap.barValue = bar->GetValue();
            snap.barRange = bar->GetRange();
        }
        snap.mainWindowEnabled = MainWindowFrame()->IsEnabled();
        return snap;
    }

    void Look() {
        auto* window = wxDynamicCast(wxWindow::FindWindowByName("ProgressWindow"), wxDialog);
        if (!window || !window->IsShown() || sawOutcome) return;
        auto* ok = window->FindWindow(wxID_OK);
        if (ok && ok->IsEnabled()) {
            if (!screenshotPath_.empty()) {
                // A few turns of the window's loop, so that the outcome is painted before it is captured.
                if (settleTicks_++ < 20) {
                    window->Update();
                    return;
                }
                EXPECT_TRUE(CaptureWindow(window, screenshotPath_)) << screenshotPath_;
            }
            outcome = Snap(window);
            sawOutcome = true;
            wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
            click.SetEventObject(ok);
            ok->ProcessWindowEvent(click);
            return;
        }
        if (sawConverting || window->GetTitle().utf8_string() == "Converting") return;
        converting = Snap(window);
        sawConverting = true;
        if (closeWhileConverting_) window->Close();
    }

    bool closeWhileConverting_;
    std::string screenshotPath_;
    int settleTicks_ = 0;
    wxTimer timer_;
};

class WindowConversionTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WxTestApp::started) << "needs a display: run under xvfb-run";
        ApplyDefaults(false);
        ResetJob();
        RunNewCommand();
        folder_ = ScratchFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    // A 4096 × 4096 picture keeps the worker busy long enough to be interrupted.
    static const std::string& LargeInput() {
        static std::string path;
        if (path.empty()) {
            std::string candidate = ScratchFolder("large") + "large.bmp";
            if (WriteTestBmp(candidate, 4096, 4096)) path = candidate;
        }
        return path;
    }

    std::string folder_;
};

TEST_F(WindowConversionTest, ConvertWritesTheTextureAndReportsItInTheProgressWindow) {
    const std::string input = folder_ + "small.bmp";
    ASSERT_TRUE(WriteTestBmp(input, 64, 48));
    TakeChosenInputFile(input);
    ASSERT_EQ(OutputFolderText(), folder_);
    Settings.Output.DDSBPP = 32;  // the format's own depth setting reaches the job

    // scripts/screenshot-progress asks for the window's picture through the environment.
    const char* shots = getenv("QUARVEL_SCREENSHOT_DIR");
    ProgressWatcher watcher(false, shots ? std::string(shots) + "/progress-window.png" : "");
    ConvertFromWindow();

    ASSERT_TRUE(watcher.sawOutcome);
    // A file this small is done before the first poll; the title still counts it.
    EXPECT_EQ(watcher.outcome.title, "Conversion complete (1/1)");
    EXPECT_EQ(watcher.outcome.fileLine, "Files converted: 1 of 1");
    EXPECT_FALSE(watcher.outcome.timeLineShown);
    EXPECT_EQ(watcher.outcome.barY, 50);
    EXPECT_EQ(watcher.outcome.barRange, 2);
    EXPECT_EQ(watcher.outcome.barValue, 2);
    EXPECT_FALSE(watcher.outcome.mainWindowEnabled);
    EXPECT_TRUE(MainWindowFrame()->IsEnabled());
    EXPECT_EQ(StatusLine(), "Conversion complete");
    EXPECT_EQ(wxWindow::FindWindowByName("ProgressWindow"), nullptr);
    EXPECT_EQ(OutputHistoryEntry(0), folder_);
    EXPECT_EQ(Job.OutputFormat, "dds");
    EXPECT_EQ(Job.OutputBitDepth, 32);
    EXPECT_FALSE(Job.AutomaticDepth);

    const std::string dds = ReadFileText(folder_ + "small.dds");
    ASSERT_GE(dds.size(), 128u);
    EXPECT_EQ(dds.substr(0, 4), "DDS ");
    EXPECT_EQ(ReadLittle32(dds, 12), 48u);  // height
    EXPECT_EQ(ReadLittle32(dds, 16), 64u);  // width
    EXPECT_EQ(ReadLittle32(dds, 28), 7u);   // levels: 64 down to 1
}

TEST_F(WindowConversionTest, ChecksStopTheRunWithTheirMessageInOrder) {
    const std::string input = folder_ + "in.bmp";
    ASSERT_TRUE(WriteTestBmp(input, 8, 8));
    const std::string png = folder_ + "in.png";
    WriteFileText(png, ReadFileText(input));
    const std::string missing = folder_ + "missing";
    const std::string stopped = "Conversion stopped";
    const std::string preparing = "Preparing...";

    const struct {
        const char* name;
        std::function<void()> arrange;
        std::string message;
        std::string status;
    } cases[] = {
        {"empty input", [] {}, GetUiText("Msg", "Empty input files"), stopped},
        {"not an accepted extension", [&] { SetInputFieldText(png); }, GetUiText("Msg", "Empty input files"), stopped},
        {"empty output folder", [&] { SetInputFieldText("  " + input + " "); }, GetUiText("Msg", "Empty output folder"),
         stopped},
        {"missing output folder",
         [&] {
             // A history entry without the trailing "/", for a folder that is not there.
             TakeChosenInputFile(input);
             Job.OutputFolder = missing;
             PushOutputFolder(missing);
             RefillOutputFolderCombo();
         },
         MessageBoxText(FillPlaceholders(GetUiText("Msg", "Invalid output folder"), missing + "/")), stopped},
        // The width is refused before the watermark font is even looked at.
        {"width 0",
         [&] {
             TakeChosenInputFile(input);
             Settings.Transform.DoImageResize = 1;
             Settings.Transform.ImageWidth = 0;
             Settings.Watermark.DoWatermark = 1;
             Settings.Watermark.Font = "NoSuchFont";
         },
         "Invalid resize width value!", stopped},
        {"height 0",
         [&] {
             TakeChosenInputFile(input);
             Settings.Transform.DoImageResize = 1;
             Settings.Transform.ImageWidth = 10;
             Settings.Transform.ImageHeight = 0;
         },
         "Invalid resize height value!", stopped},
        {"unknown watermark font",
         [&] {
             TakeChosenInputFile(input);
             Settings.Watermark.DoWatermark = 1;
             Settings.Watermark.Font = "NoSuchFont";
         },
         "Unable to load selected font for a watermark: NoSuchFont", preparing},
        {"empty watermark image",
         [&] {
             TakeChosenInputFile(input);
             Settings.Watermark.DoWatermark = 2;
             Settings.Watermark.Image = "";
         },
         GetUiText("Msg", "Empty watermark image"), preparing},
        {"missing watermark image",
         [&] {
             TakeChosenInputFile(input);
             Settings.Watermark.DoWatermark = 2;
             Settings.Watermark.Image = missing + ".png";
         },
         "Unable to load selected file as a watermark image: " + missing + ".png", preparing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ApplyDefaults(false);
        RunNewCommand();
        c.arrange();
        ProgressWatcher watcher(false);
        wxTEST_DIALOG(StartWindowConversion(), ExpectWarning(c.message, wxID_OK));
        EXPECT_EQ(StatusLine(), c.status);
        EXPECT_FALSE(watcher.sawConverting);
        EXPECT_FALSE(watcher.sawOutcome);
        EXPECT_TRUE(MainWindowFrame()->IsEnabled());
    }
}

// The temporary files of the writer in a folder ("kestrix" and 15 letters, ".dds").
std::vector<std::string> TemporaryFilesIn(const std::string& folder) {
    std::vector<std::string> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == 26 && name.starts_with("kestrix") && name.ends_with(".dds")) found.push_back(name);
    }
    return found;
}

// Closing the window while the worker converts asks whether to break. For as long as the question
// is open the worker is held: its file is written under the temporary name, but does not appear
// under its own.
TEST_F(WindowConversionTest, BreakQuestionHoldsTheWorkerAndYesStopsTheRun) {
    const std::string input = LargeInput();
    ASSERT_FALSE(input.empty());
    const std::string output = folder_ + "large.dds";
    const struct {
        int answer;
        std::string title;
        std::string fileLine;
        std::string status;
        int barValue;
    } cases[] = {
        {wxID_NO, "Conversion complete (1/1)", "Files converted: 1 of 1", "Conversion complete", 2},
        {wxID_YES, "Conversion stopped (1/1)", "Conversion stopped", "Conversion stopped", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer == wxID_YES ? "yes" : "no");
        DeleteFile(output);
        RunNewCommand();
        TakeChosenInputFile(input);
        TakeChosenOutputFolder(folder_);
        int64_t outputDuringQuestion = 0;
        std::vector<std::string> temporaryDuringQuestion;
        int64_t temporarySizeDuringQuestion = 0;
        bool workerEndedDuringQuestion = true;
        auto whileAsked = [&] {
            // Wait until the temporary file is whole (its size has stood still for a second) or
            // the output has appeared; then give the worker a while longer.
            int64_t lastSize = -1;
            int stillFor = 0;
            for (int waited = 0; waited < 120000 && stillFor < 1000 && FileSize(output) == kFileMissing; waited += 50) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                const std::vector<std::string> temporary = TemporaryFilesIn(folder_);
                const int64_t size = temporary.size() == 1 ? FileSize(folder_ + temporary[0]) : -1;
                stillFor = size > 0 && size == lastSize ? stillFor + 50 : 0;
                lastSize = size;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1000));
            outputDuringQuestion = FileSize(output);
            temporaryDuringQuestion = TemporaryFilesIn(folder_);
            if (temporaryDuringQuestion.size() == 1)
                temporarySizeDuringQuestion = FileSize(folder_ + temporaryDuringQuestion[0]);
            workerEndedDuringQuestion = ConversionRun.Ended;
        };
        ProgressWatcher watcher(true);
        wxTEST_DIALOG(StartWindowConversion(),
                      ExpectWarning(GetUiText("Msg", "Ask break conversion"), c.answer, whileAsked));

        EXPECT_EQ(outputDuringQuestion, kFileMissing) << "the output appeared while the question was open";
        EXPECT_EQ(temporaryDuringQuestion.size(), 1u);
        EXPECT_FALSE(workerEndedDuringQuestion);
        // Either answer lets the file in hand finish; it was whole, only held, during the question.
        EXPECT_GT(FileSize(output), 0);
        EXPECT_EQ(FileSize(output), temporarySizeDuringQuestion);
        EXPECT_TRUE(TemporaryFilesIn(folder_).empty());
        ASSERT_TRUE(watcher.sawConverting);
        EXPECT_EQ(watcher.converting.title, "Converting (1/1)");
        EXPECT_TRUE(watcher.converting.fileLine.ends_with("large.bmp")) << watcher.converting.fileLine;
        ASSERT_TRUE(watcher.sawOutcome);
        EXPECT_EQ(watcher.outcome.title, c.title);
        EXPECT_EQ(watcher.outcome.fileLine, c.fileLine);
        EXPECT_EQ(watcher.outcome.barValue, c.barValue);
        EXPECT_EQ(StatusLine(), c.status);
        EXPECT_TRUE(MainWindowFrame()->IsEnabled());
    }
}

// A run in which no file converted is not complete, even though nobody stopped it.
TEST_F(WindowConversionTest, ARunThatConvertedNothingIsNotComplete) {
    ASSERT_TRUE(CreateFolder(folder_ + "folder.bmp"));
    const struct {
        const char* name;
        std::string input;
    } cases[] = {
        {"missing file", folder_ + "missing.bmp"},
        {"folder with a bitmap's name", folder_ + "folder.bmp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunNewCommand();
        SetInputFieldText(c.input);
        TakeChosenOutputFolder(folder_);
        ProgressWatcher watcher(false);
        ConvertFromWindow();

        ASSERT_TRUE(watcher.sawOutcome);
        EXPECT_EQ(watcher.outcome.title, "Conversion stopped (1/1)");
        EXPECT_EQ(watcher.outcome.fileLine, "Files converted: 0 of 1");
        EXPECT_LT(watcher.outcome.barValue, watcher.outcome.barRange) << "a full bar would say it went through";
        EXPECT_EQ(StatusLine(), "Conversion stopped");
    }
}

// A shutdown signal closes the main window, and its children with it, while the worker converts:
// the run winds down without touching the gone windows.
TEST_F(WindowConversionTest, MainWindowClosingDuringARunEndsItCleanly) {
    const std::string input = LargeInput();
    ASSERT_FALSE(input.empty());
    TakeChosenInputFile(input);
    TakeChosenOutputFolder(folder_);
    bool destroyed = false;
    wxTimer closer;
    closer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (destroyed || !wxWindow::FindWindowByName("ProgressWindow")) return;
        destroyed = true;
        MainWindowFrame()->Destroy();
    });
    closer.Start(5);
    StartWindowConversion();
    closer.Stop();

    EXPECT_TRUE(destroyed);
    EXPECT_TRUE(ConversionRun.Ended);
    EXPECT_FALSE(ConversionRun.Running);
    EXPECT_EQ(wxWindow::FindWindowByName("ProgressWindow"), nullptr);
    EXPECT_EQ(MainWindowFrame(), nullptr);
    // The other tests need a main window again.
    ASSERT_NE(CreateMainWindow(), nullptr);
}
}  // namespace
