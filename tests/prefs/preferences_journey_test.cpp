// A user's way through the window program: preferences set in the window reach the converted file
// and the settings file.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/timer.h>

#include <string>

#include "app/job.h"
#include "app/settings.h"
#include "app/settings_file.h"
#include "prefs/window/preferences_window.h"
#include "prefs/window/prefs_window_parts.h"
#include "support/test_support.h"
#include "support/wx_test_app.h"
#include "ui/catalogues.h"
#include "ui/texts.h"
#include "ui/window/image_sets.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_parts.h"

// After every wx header: FreeImage.h defines _WINDOWS_, which wx takes for a Windows build.
#include <FreeImage.h>
#include <IL/il.h>
#include <IL/ilu.h>

namespace {
bool Start() {
    ilInit();
    iluInit();
    return true;
}
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new WxTestApp(Start, [] { ilShutDown(); }));

void Send(wxWindow* control, wxEventType type, int value = 0) {
    wxCommandEvent event(type, control->GetId());
    event.SetEventObject(control);
    event.SetInt(value);
    control->ProcessWindowEvent(event);
}

// A grey ramp with no white pixel in it.
bool WriteBmp(const std::string& path, int width, int height) {
    FIBITMAP* image = FreeImage_Allocate(width, height, 24);
    if (!image) return false;
    for (int y = 0; y < height; ++y) {
        BYTE* line = FreeImage_GetScanLine(image, y);
        for (int x = 0; x < width; ++x)
            line[3 * x + FI_RGBA_RED] = line[3 * x + FI_RGBA_GREEN] = line[3 * x + FI_RGBA_BLUE] = static_cast<BYTE>(x % 200);
    }
    const bool saved = FreeImage_Save(FIF_BMP, image, path.c_str(), BMP_DEFAULT) != 0;
    FreeImage_Unload(image);
    return saved;
}

// Presses OK in the progress window once the run has ended.
class ProgressCloser {
public:
    ProgressCloser() {
        timer_.Bind(wxEVT_TIMER, [](wxTimerEvent&) {
            auto* window = wxDynamicCast(wxWindow::FindWindowByName("ProgressWindow"), wxDialog);
            wxWindow* ok = window ? window->FindWindow(wxID_OK) : nullptr;
            if (ok && ok->IsEnabled()) Send(ok, wxEVT_BUTTON);
        });
        timer_.Start(10);
    }

private:
    wxTimer timer_;
};

TEST(PreferencesJourney, RotationAndTextWatermarkSetInTheWindowReachTheTextureAndTheFile) {
    ASSERT_TRUE(WxTestApp::started) << "needs a display: run under xvfb-run";
    ApplyDefaults(false);
    BuildUiText();
    ResetJob();
    SetInputFileTakeUp(TakeUpInputFile);
    LoadBuiltInImages();
    const std::string folder = ScratchFolder("journey");
    Settings.SettingsPath = folder + "config.ini";
    ASSERT_NE(CreateMainWindow(), nullptr);
    LetWindowsSettle();
    const std::string input = folder + "photo.bmp";
    ASSERT_TRUE(WriteBmp(input, 160, 96));
    TakeChosenInputFile(input);

    // Preferences from the menu: rotation 90 and a white text watermark.
    RunMainCommand(kCommandPreferences);
    LetWindowsSettle();
    ASSERT_NE(PreferencesWindow(), nullptr);
    PrefsRowControls* rotate = FindPrefsRow("Transform", "Do Image Rotation");
    PrefsRowControls* angle = FindPrefsRow("Transform", "Image Rotation");
    PrefsRowControls* type = FindPrefsRow("Watermark", "Do Watermark");
    PrefsRowControls* text = FindPrefsRow("Watermark", "Text");
    PrefsRowControls* size = FindPrefsRow("Watermark", "Font Size");
    ASSERT_TRUE(rotate && angle && type && text && size);
    rotate->check->SetValue(true);
    Send(rotate->check, wxEVT_CHECKBOX, 1);
    angle->spin->SetValue("90");
    Send(angle->spin, wxEVT_TEXT);
    type->choice->SetSelection(1);
    Send(type->choice, wxEVT_CHOICE, 1);
    text->text->SetValue("QV QV");
    size->text->SetValue("30");
    Send(PrefsWindow.ok, wxEVT_BUTTON);
    ASSERT_EQ(PreferencesWindow(), nullptr);
    EXPECT_TRUE(MainWindowFrame()->IsEnabled());

    {
        ProgressCloser closer;
        RunMainCommand(kCommandConvert);
    }
    const std::string output = folder + "photo.dds";
    FIBITMAP* texture = FreeImage_Load(FIF_DDS, output.c_str(), 0);
    ASSERT_NE(texture, nullptr) << output;
    EXPECT_EQ(FreeImage_GetWidth(texture), 96u) << "turned by 90 degrees";
    EXPECT_EQ(FreeImage_GetHeight(texture), 160u);
    int white = 0;
    for (unsigned y = 0; y < FreeImage_GetHeight(texture); ++y)
        for (unsigned x = 0; x < FreeImage_GetWidth(texture); ++x) {
            RGBQUAD colour{};
            FreeImage_GetPixelColor(texture, x, y, &colour);
            white += colour.rgbRed > 240 && colour.rgbGreen > 240 && colour.rgbBlue > 240;
        }
    FreeImage_Unload(texture);
    EXPECT_GT(white, 20) << "the white text is drawn on a picture without white";

    // The program's end writes the settings again; the file keeps what the window set.
    RecordMainWindowGeometry();
    SaveSettings();
    MainWindowFrame()->Destroy();
    LetWindowsSettle();
    IniFile file;
    ASSERT_TRUE(ReadIniFile(Settings.SettingsPath, &file));
    std::string value;
    struct Expected {
        const char* group;
        const char* key;
        const char* value;
    } expected[] = {{"Transform", "Do Image Rotation", "1"}, {"Transform", "Image Rotation", "90"},
                    {"Watermark", "Do Watermark", "1"},     {"Watermark", "Text", "QV QV"},
                    {"Watermark", "Font Size", "30"},       {"General", "Language", "en"}};
    for (const Expected& e : expected) {
        ASSERT_TRUE(IniLookup(file, e.group, e.key, &value)) << e.key;
        EXPECT_EQ(value, e.value) << e.key;
    }
}
}  // namespace
