#include "prefs/window/preferences_window.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/colordlg.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/msgdlg.h>
#include <wx/scrolwin.h>
#include <wx/timer.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/job.h"
#include "app/settings.h"
#include "app/settings_file.h"
#include "platform/platform.h"
#include "prefs/window/prefs_window_parts.h"
#include "support/test_support.h"
#include "support/window_capture.h"
#include "support/wx_test_app.h"
#include "ui/catalogues.h"
#include "ui/texts.h"
#include "ui/themes.h"
#include "ui/window/image_sets.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_parts.h"

namespace {
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new WxTestApp);

// A program folder whose gfx/ holds the built theme twice, under two keys.
std::string ProgramWithThemes() {
    static std::string folder;
    if (folder.empty()) {
        folder = ScratchFolder("program");
        CreateFolder(folder + "gfx");
        const std::string built = FolderPart(QUARVEL_KESTRIX) + "gfx/handdrawn.zip";
        std::error_code ignored;
        std::filesystem::copy_file(built, folder + "gfx/handdrawn.zip", ignored);
        std::filesystem::copy_file(built, folder + "gfx/other.zip", ignored);
    }
    return folder;
}

void Send(wxWindow* control, wxEventType type, int value = 0) {
    wxCommandEvent event(type, control->GetId());
    event.SetEventObject(control);
    event.SetInt(value);
    control->ProcessWindowEvent(event);
}

PrefsRowControls& Row(const char* group, const char* key) {
    PrefsRowControls* row = FindPrefsRow(group, key);
    if (!row) throw std::runtime_error(std::string("no row for ") + group + " " + key);
    return *row;
}

void Choose(PrefsRowControls& row, int selection) {
    if (row.iconList) {
        row.iconList->SetSelection(selection);
        Send(row.iconList, wxEVT_COMBOBOX, selection);
    } else {
        row.choice->SetSelection(selection);
        Send(row.choice, wxEVT_CHOICE, selection);
    }
}

void Tick(PrefsRowControls& row, bool on) {
    row.check->SetValue(on);
    Send(row.check, wxEVT_CHECKBOX, on);
}

void TypeIntoSpin(PrefsRowControls& row, const std::string& text) {
    wxWindow* spin = row.spin ? static_cast<wxWindow*>(row.spin) : row.gammaSpin;
    if (row.spin) row.spin->SetValue(wxString::FromUTF8(text));
    if (row.gammaSpin) row.gammaSpin->SetValue(wxString::FromUTF8(text));
    Send(spin, wxEVT_TEXT);
}

std::string SpinText(PrefsRowControls& row) {
    return (row.spin ? row.spin->GetTextValue() : row.gammaSpin->GetTextValue()).utf8_string();
}

void Press(wxButton* button) { Send(button, wxEVT_BUTTON); }

// Every setting as the settings file would write it.
std::map<std::string, std::string> SettingsSnapshot() {
    std::map<std::string, std::string> values;
    for (const SettingInfo& info : SettingsTable())
        values[std::string("[") + info.group + "] " + info.key] = SettingValueText(info);
    return values;
}

class PreferencesWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WxTestApp::started) << "needs a display: run under xvfb-run";
        ApplyDefaults(false);
        BuildUiText();
        BuildFormatCatalogues();
        ResetJob();
        Job.ProgramFolder = ProgramWithThemes();
        Settings.SettingsPath = ScratchFolder(testing::UnitTest::GetInstance()->current_test_info()->name()) + "config.ini";
        LoadBuiltInImages();
        ScanThemes();
        ApplyTheme(true, true, true);
        ASSERT_NE(CreateMainWindow(), nullptr);
        Job.ProgramFolder = ProgramWithThemes();  // the main window's New command reset the job
        LetWindowsSettle();
    }
    void TearDown() override {
        ClosePreferences();
        if (wxFrame* frame = MainWindowFrame()) frame->Destroy();
        LetWindowsSettle();
    }
    wxDialog* Open() {
        RunMainCommand(kCommandPreferences);
        LetWindowsSettle();
        return PreferencesWindow();
    }
};

TEST_F(PreferencesWindowTest, OpensAtItsSizeWithTheMainWindowDisabled) {
    PreferencesPage = 5;
    wxDialog* window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetClientSize(), wxSize(600, 350));
    EXPECT_EQ(window->GetTitle().utf8_string(), "Preferences...");
    EXPECT_FALSE(MainWindowFrame()->IsEnabled());
    EXPECT_EQ(PreferencesPage, 0);
    EXPECT_EQ(PrefsWindow.currentPage, 5);
    EXPECT_EQ(PrefsWindow.bannerLabel->GetLabelText().utf8_string(), "Adjustment");
    EXPECT_TRUE(PrefsWindow.bannerLabel->GetFont().GetWeight() == wxFONTWEIGHT_BOLD);
    int shown = 0;
    for (wxWindow* page : PrefsWindow.pages) shown += page->IsShown();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(PrefsWindow.categories->GetCount(), 9u);
    EXPECT_EQ(PrefsWindow.ok->GetPosition(), wxPoint(420, 315));
    EXPECT_EQ(PrefsWindow.cancel->GetPosition(), wxPoint(510, 315));
    EXPECT_EQ(PrefsWindow.defaults->GetPosition(), wxPoint(10, 315));

    // Rows sit 30 pixels apart from y = 10, label at x = 10, field at x = 170.
    PrefsRowControls& threshold = Row("Adjustment", "Image Threshold");
    EXPECT_EQ(threshold.slider->GetPosition(), wxPoint(170, 190));
    EXPECT_EQ(threshold.spin->GetPosition(), wxPoint(340, 190));
    EXPECT_EQ(threshold.label->GetPosition(), wxPoint(10, 193));

    // The category list switches pages; an index outside the list changes nothing.
    ShowPreferencesPage(9);
    EXPECT_EQ(PrefsWindow.currentPage, 5);
    PrefsWindow.categories->SelectItem(PrefsWindow.categoryItems[7]);
    LetWindowsSettle();
    EXPECT_EQ(PrefsWindow.currentPage, 7);
    EXPECT_TRUE(PrefsWindow.pages[7]->IsShown());
    EXPECT_EQ(PrefsWindow.bannerLabel->GetLabelText().utf8_string(), "Watermark");

    // Escape acts as Cancel.
    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    escape.SetEventObject(window);
    window->ProcessWindowEvent(escape);
    EXPECT_EQ(PreferencesWindow(), nullptr);
    EXPECT_TRUE(MainWindowFrame()->IsEnabled());
}

TEST_F(PreferencesWindowTest, OptionsCommandOpensTheOutputPageOnce) {
    RunMainCommand(kCommandOutputFormatOptions);
    LetWindowsSettle();
    ASSERT_NE(PreferencesWindow(), nullptr);
    EXPECT_EQ(PrefsWindow.currentPage, 3);
    EXPECT_TRUE(PrefsWindow.subPages[3][1]->IsShown()) << "the DDS sub-page";
    EXPECT_FALSE(PrefsWindow.subPages[3][0]->IsShown());
    PrefsRowControls& bpp = Row("Output", "DDS BPP");
    ASSERT_EQ(bpp.choice->GetCount(), 2u);
    EXPECT_EQ(bpp.choice->GetString(1).utf8_string(), "32");
    Press(PrefsWindow.cancel);
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(PrefsWindow.currentPage, 0);
}

// Every setting the window edits, away from its default and inside what the window offers.
struct Value {
    const char* group;
    const char* key;
    const char* value;
};
const Value kNonDefaults[] = {
    {"General", "Language", "de"}, {"General", "Update Range", "4"}, {"General", "Save Window Position", "0"},
    {"Interface", "UI Theme", "other"}, {"Interface", "UI Size", "1"},
    {"Input", "DDS Load As", "2"}, {"Input", "GIF Frame Loading", "3"}, {"Input", "ICO Frame Loading", "4"},
    {"Input", "TIFF Frame Loading", "1"}, {"Input", "PSD Color Mode", "2"}, {"Input", "RAW Load As", "5"},
    {"Input", "RAW Header Size", "128"}, {"Input", "RAW Image Width", "640"}, {"Input", "RAW Image Height", "480"},
    {"Input", "RAW Tone Mapping", "4"},
    {"Output", "BMP Compression", "1"}, {"Output", "BMP Color Table", "1"}, {"Output", "DDS BPP", "32"},
    {"Output", "EXR Compression", "4"}, {"Output", "JPG Quality", "80"}, {"Output", "JPG Chroma", "2"},
    {"Output", "JPG Save As", "3"}, {"Output", "PNG Compression", "3"}, {"Output", "PNG Interlaced", "1"},
    {"Output", "TGA Compression", "1"}, {"Output", "TIFF Compression", "8"}, {"Output", "TIFF Color Mode", "1"},
    {"Output", "WEBP Quality", "50"},
    {"Transform", "Do Image Rotation", "1"}, {"Transform", "Image Rotation Type", "1"},
    {"Transform", "Image Rotation", "90"}, {"Transform", "Image Rotation Back Color", "1A2B3C"},
    {"Transform", "Do Image Resize", "1"}, {"Transform", "Image Width", "50"}, {"Transform", "Image Width Unit", "1"},
    {"Transform", "Image Height", "40"}, {"Transform", "Image Height Unit", "1"},
    {"Transform", "Keep Aspect Ratio", "0"}, {"Transform", "Image Resize Type", "1"},
    {"Transform", "Image Resize Algorithm", "5"}, {"Transform", "Do Image Flip Horizontal", "1"},
    {"Transform", "Do Image Flip Vertical", "1"},
    {"Adjustment", "Image Brightness", "-30"}, {"Adjustment", "Image Contrast", "20"},
    {"Adjustment", "Image Gamma", "1.500000"}, {"Adjustment", "Image Invert", "1"},
    {"Adjustment", "Do Image Greyscale", "1"}, {"Adjustment", "Do Image Threshold", "1"},
    {"Adjustment", "Image Threshold", "77"}, {"Adjustment", "Do Image Dither", "1"},
    {"Adjustment", "Image Dither Algorithm", "6"},
    {"Frame", "Do Frame", "1"}, {"Frame", "Solid Left", "3"}, {"Frame", "Solid Right", "4"}, {"Frame", "Solid Top", "5"},
    {"Frame", "Solid Bottom", "6"}, {"Frame", "Solid Left Color", "FF0000"}, {"Frame", "Solid Right Color", "00FF00"},
    {"Frame", "Solid Top Color", "0000FF"}, {"Frame", "Solid Bottom Color", "808080"},
    {"Frame", "Solid Opacity", "200"},
    {"Watermark", "Do Watermark", "2"}, {"Watermark", "Text", "Hello there"},
    {"Watermark", "Fonts", "Arial,Tahoma,DejaVu Sans"}, {"Watermark", "Font", "Tahoma"},
    {"Watermark", "Font Size", "20"}, {"Watermark", "Font Leading", "2"}, {"Watermark", "Font Colors", "000000,FF8000"},
    {"Watermark", "Font Color", "FF8000"}, {"Watermark", "Font Style", "3"}, {"Watermark", "Font Effect", "2"},
    {"Watermark", "Text Antialiasing", "1"}, {"Watermark", "Text Alignment", "2"}, {"Watermark", "Text Padding", "7"},
    {"Watermark", "Text Opacity", "100"}, {"Watermark", "Back Colors", "FFFF00,0000FF"},
    {"Watermark", "Back Color", "0000FF"}, {"Watermark", "Back Opacity", "50"}, {"Watermark", "Text Boundary", "1"},
    {"Watermark", "Text Position", "4"}, {"Watermark", "Text X Offset", "11"}, {"Watermark", "Text Y Offset", "12"},
    {"Watermark", "Text Rotation", "45"}, {"Watermark", "Text Scale", "50"}, {"Watermark", "Image", "/tmp/mark.png"},
    {"Watermark", "Image Greyscale", "1"}, {"Watermark", "Image Opacity", "120"},
    {"Watermark", "Image Boundary", "1"}, {"Watermark", "Image Position", "2"}, {"Watermark", "Image X Offset", "13"},
    {"Watermark", "Image Y Offset", "14"}, {"Watermark", "Image Rotation", "30"}, {"Watermark", "Image Scale", "70"},
    {"Advanced", "Filename Mask", "%filename%-x.%ext%"}, {"Advanced", "File Timestamp", "2"},
    {"Advanced", "Custom Timestamp", "1700000040"}, {"Advanced", "Out Folders History", "0"},
    {"Advanced", "Out Folders Number", "9"}, {"Advanced", "Keep Subfolders", "0"},
};

TEST_F(PreferencesWindowTest, OkStoresEveryRowBackUnchanged) {
    // The output depth lists offer what the catalogue has: take each format's largest depth.
    for (const PrefsSubPage& sub : PreferencesTable()[3].subPages) {
        std::vector<std::string> depths = BppListTexts(sub.name);
        StoreSetting("Output", (UpperAscii(sub.name) + " BPP").c_str(), depths.back() == "Auto" ? "0" : depths.back());
    }
    for (const Value& v : kNonDefaults) StoreSetting(v.group, v.key, v.value);
    for (const Value& v : kNonDefaults)
        ASSERT_EQ(SettingValueText(*FindSetting(v.group, v.key)), v.value) << v.key << ": a value the record cannot hold";
    const auto before = SettingsSnapshot();
    ASSERT_NE(Open(), nullptr);
    Press(PrefsWindow.ok);
    EXPECT_EQ(PreferencesWindow(), nullptr);
    const auto after = SettingsSnapshot();
    for (const auto& [name, value] : before) {
        if (name == "[General] Language") {
            EXPECT_EQ(after.at(name), "en");
        } else if (name == "[Adjustment] Do Image Color Correction") {
            EXPECT_EQ(after.at(name), "1") << "derived from brightness, contrast, gamma and invert";
        } else {
            EXPECT_EQ(after.at(name), value) << name;
        }
    }
    EXPECT_EQ(ReadFileText(Settings.SettingsPath), SettingsFileText()) << "OK writes the file at once";
}

TEST_F(PreferencesWindowTest, OutOfListValuesLoadAsThePartSaysAndStoreNormalised) {
    Settings.Interface.UISize = 3;
    Settings.General.UpdateRange = 99;
    Settings.Frame.DoFrame = -1;
    Settings.Output.DDSBPP = 24;
    Settings.Transform.ImageRotationBackColor = "12345";
    Settings.Watermark.FontColor = "123456";
    Settings.Watermark.FontColors = "00FF00,FFFFFF";
    Settings.Watermark.Fonts = "";
    Settings.Watermark.Font = "DejaVu Sans";
    Settings.Adjustment.ImageBrightness = -30;
    Settings.Watermark.Text = "  big" + std::string(1 << 20, 'x') + "\tend  ";
    ASSERT_NE(Open(), nullptr);

    EXPECT_EQ(Row("Interface", "UI Size").choice->GetSelection(), wxNOT_FOUND);
    EXPECT_EQ(Row("General", "Update Range").choice->GetSelection(), wxNOT_FOUND);
    EXPECT_EQ(Row("Output", "DDS BPP").choice->GetSelection(), wxNOT_FOUND);
    EXPECT_EQ(Row("Transform", "Image Rotation Back Color").text->GetValue(), "000000");
    EXPECT_EQ(Row("Watermark", "Font Color").iconList->GetSelection(), 0);
    EXPECT_EQ(Row("Watermark", "Font Color").iconList->GetString(0).utf8_string(), "Lime");
    EXPECT_EQ(Settings.Watermark.Fonts, "DejaVu Sans") << "filled from the font at opening";
    EXPECT_EQ(Row("Watermark", "Font").choice->GetCount(), 1u);
    EXPECT_EQ(Row("Adjustment", "Image Brightness").slider->GetValue(), 70);
    EXPECT_EQ(Row("Adjustment", "Image Brightness").spin->GetValue(), -30);
    EXPECT_EQ(Row("Adjustment", "Image Gamma").slider->GetValue(), 100);
    EXPECT_EQ(SpinText(Row("Adjustment", "Image Gamma")), "1.00");
    EXPECT_FALSE(PrefsWindow.subPages[6][0]->IsShown()) << "no frame type selected";
    EXPECT_FALSE(Row("Advanced", "Keep Subfolders").check->IsShown());

    Press(PrefsWindow.ok);
    EXPECT_EQ(Settings.Interface.UISize, -1);
    EXPECT_EQ(Settings.General.UpdateRange, -1);
    EXPECT_EQ(Settings.Frame.DoFrame, -1);
    EXPECT_EQ(Settings.Output.DDSBPP, 0);
    EXPECT_EQ(Settings.Transform.ImageRotationBackColor, "000000");
    EXPECT_EQ(Settings.Watermark.FontColor, "00FF00");
    EXPECT_EQ(Settings.Watermark.Font, "DejaVu Sans");
    EXPECT_EQ(Settings.Watermark.Text, "big" + std::string(1 << 20, 'x') + "end") << "the whole text, cleaned";
}

TEST_F(PreferencesWindowTest, HugeListsOpenAndStore) {
    std::string colours, fonts;
    for (int i = 0; i < 10000; ++i) {
        if (i) {
            colours += ',';
            fonts += ',';
        }
        colours.append(RgbToColourText(static_cast<uint32_t>(i * 97)));
        fonts.append("Font").append(std::to_string(i));
    }
    Settings.Watermark.FontColors = colours;
    Settings.Watermark.BackColors = colours;
    Settings.Watermark.Fonts = fonts;
    Settings.Watermark.Font = "font9999";
    Settings.Watermark.FontColor = RgbToColourText(9999 * 97);
    ASSERT_NE(Open(), nullptr);
    // The lists show their first entries and the selected one; the settings keep every entry.
    PrefsRowControls& fontColour = Row("Watermark", "Font Color");
    EXPECT_EQ(fontColour.iconList->GetCount(), kShownListEntries + 1);
    EXPECT_EQ(fontColour.iconList->GetSelection(), static_cast<int>(kShownListEntries));
    EXPECT_EQ(Row("Watermark", "Back Color").iconList->GetCount(), kShownListEntries);
    EXPECT_EQ(Row("Watermark", "Font").choice->GetStringSelection().utf8_string(), "Font9999");
    // A colour the setting holds beyond the shown ones is picked without growing the setting.
    TakeChosenListColour(fontColour, true, 5000 * 97);
    EXPECT_EQ(fontColour.iconList->GetCount(), kShownListEntries + 2);
    EXPECT_EQ(fontColour.iconList->GetSelection(), static_cast<int>(kShownListEntries + 1));
    TakeChosenFont(true, "Font5000", 14, 400, false);
    EXPECT_EQ(Row("Watermark", "Font").choice->GetStringSelection().utf8_string(), "Font5000");
    Press(PrefsWindow.ok);
    EXPECT_EQ(Settings.Watermark.Font, "Font5000");
    EXPECT_EQ(Settings.Watermark.FontColor, RgbToColourText(5000 * 97));
    EXPECT_EQ(Settings.Watermark.FontColors, colours);
    EXPECT_EQ(Settings.Watermark.Fonts, fonts);
}

TEST_F(PreferencesWindowTest, SpinsClampAndMirrorTheirSliders) {
    ASSERT_NE(Open(), nullptr);
    struct Case {
        const char* group;
        const char* key;
        const char* typed;
        int value;
        int slider;
        const char* shown;
    } cases[] = {
        {"Output", "JPG Quality", "150", 100, 100, "100"},
        {"Output", "JPG Quality", "", 1, 1, "1"},
        {"Output", "JPG Quality", "abc", 1, 1, "1"},
        {"Output", "JPG Quality", "99999999999999999999", 100, 100, "100"},
        {"Adjustment", "Image Brightness", "-150", -100, 0, "-100"},
        {"Adjustment", "Image Contrast", "-", 0, 100, "0"},
        {"Adjustment", "Image Gamma", "2.5", 250, 250, "2.50"},
        {"Adjustment", "Image Gamma", "0", 1, 1, "0.01"},
        {"Adjustment", "Image Gamma", "12", 999, 999, "9.99"},
        {"Advanced", "Out Folders Number", "75", 50, 50, "50"},
    };
    for (const Case& c : cases) {
        PrefsRowControls& row = Row(c.group, c.key);
        TypeIntoSpin(row, c.typed);
        EXPECT_EQ(row.value, c.value) << c.key << " " << c.typed;
        EXPECT_EQ(row.slider->GetValue(), c.slider) << c.key << " " << c.typed;
        EXPECT_EQ(SpinText(row), c.shown) << c.key << " " << c.typed;
    }
    // The gamma spin's up arrow at 1.00.
    PrefsRowControls& gamma = Row("Adjustment", "Image Gamma");
    TypeIntoSpin(gamma, "1.00");
    gamma.gammaSpin->SetValue(1.01);
    wxSpinDoubleEvent up(wxEVT_SPINCTRLDOUBLE, gamma.gammaSpin->GetId(), 1.01);
    up.SetEventObject(gamma.gammaSpin);
    gamma.gammaSpin->ProcessWindowEvent(up);
    EXPECT_EQ(gamma.value, 101);
    EXPECT_EQ(gamma.slider->GetValue(), 101);
    EXPECT_EQ(SpinText(gamma), "1.01");
    // A moved slider sets its spin.
    PrefsRowControls& brightness = Row("Adjustment", "Image Brightness");
    brightness.slider->SetValue(130);
    Send(brightness.slider, wxEVT_SLIDER, 130);
    EXPECT_EQ(brightness.spin->GetValue(), 30);
    Press(PrefsWindow.ok);
    EXPECT_EQ(Settings.Adjustment.ImageBrightness, 30);
    EXPECT_FLOAT_EQ(Settings.Adjustment.ImageGamma, 1.01f);
    EXPECT_EQ(Settings.Output.JPGQuality, 100);
    EXPECT_EQ(Settings.Adjustment.DoImageColorCorrection, 1);
}

TEST_F(PreferencesWindowTest, RowsFollowTheirSwitches) {
    Settings.Transform.DoImageResize = 1;
    ASSERT_NE(Open(), nullptr);
    // RAW "Load As:" code: which of header/width/height and tone mapping are enabled.
    struct RawCase {
        int code;
        bool sizes;
        bool tone;
    } raw[] = {{0, false, false}, {1, true, false}, {2, true, false}, {3, false, false}, {4, false, true},
               {5, false, true}, {-1, false, false}};
    for (const RawCase& c : raw) {
        Choose(Row("Input", "RAW Load As"), c.code);
        for (const char* key : {"RAW Header Size", "RAW Image Width", "RAW Image Height"}) {
            EXPECT_EQ(Row("Input", key).text->IsEnabled(), c.sizes) << key << " " << c.code;
            EXPECT_EQ(Row("Input", key).choice->IsEnabled(), c.sizes) << "the unit list goes with its row";
            EXPECT_EQ(Row("Input", key).label->IsEnabled(), c.sizes);
        }
        EXPECT_EQ(Row("Input", "RAW Tone Mapping").choice->IsEnabled(), c.tone) << c.code;
    }
    // Resize off disables rows 6 to 10, whose values OK still stores.
    Row("Transform", "Image Width").text->ChangeValue("123");
    Tick(Row("Transform", "Do Image Resize"), false);
    for (const char* key : {"Image Width", "Image Height", "Keep Aspect Ratio", "Image Resize Type",
                            "Image Resize Algorithm"})
        EXPECT_FALSE(Row("Transform", key).label->IsEnabled()) << key;
    EXPECT_TRUE(Row("Transform", "Do Image Flip Vertical").check->IsEnabled());
    for (const char* key : {"Do Image Rotation", "Do Image Threshold", "Do Image Dither"}) {
        PrefsRowControls& rule = Row(key == std::string("Do Image Rotation") ? "Transform" : "Adjustment", key);
        Tick(rule, true);
        Tick(rule, false);
    }
    EXPECT_FALSE(Row("Transform", "Image Rotation").slider->IsEnabled());
    EXPECT_FALSE(Row("Adjustment", "Image Threshold").spin->IsEnabled());
    EXPECT_FALSE(Row("Adjustment", "Image Dither Algorithm").choice->IsEnabled());
    Tick(Row("Adjustment", "Do Image Threshold"), true);
    EXPECT_TRUE(Row("Adjustment", "Image Threshold").spin->IsEnabled());

    // Watermark type: the sub-page for each code; the timestamp row follows "Custom".
    struct Shown {
        int code;
        bool text;
        bool image;
    } shown[] = {{0, false, false}, {1, true, false}, {2, false, true}};
    for (const Shown& c : shown) {
        Choose(Row("Watermark", "Do Watermark"), c.code);
        EXPECT_EQ(PrefsWindow.subPages[7][0]->IsShown(), c.text) << c.code;
        EXPECT_EQ(PrefsWindow.subPages[7][1]->IsShown(), c.image) << c.code;
    }
    EXPECT_FALSE(Row("Watermark", "Text Scale").slider->IsShown()) << "the size list offers only Fixed";
    Choose(Row("Frame", "Do Frame"), 1);
    EXPECT_TRUE(PrefsWindow.subPages[6][0]->IsShown());
    for (int code : {0, 1, 2}) {
        Choose(Row("Advanced", "File Timestamp"), code);
        EXPECT_EQ(Row("Advanced", "Custom Timestamp").date->IsEnabled(), code == 2);
    }
    Press(PrefsWindow.ok);
    EXPECT_EQ(Settings.Transform.DoImageResize, 0);
    EXPECT_EQ(Settings.Transform.ImageWidth, 123);
}

// Presses OK in a colour chooser, which then answers with its start colour.
class AcceptColour : public wxExpectModalBase<wxColourDialog, AcceptColour> {
protected:
    int OnInvoked(wxColourDialog*) const override { return wxID_OK; }
};

TEST_F(PreferencesWindowTest, PickersTakeTheirAnswers) {
    Settings.Watermark.FontColors = "000000,FFFFFF";
    Settings.Watermark.Fonts = "Arial,Tahoma";
    ASSERT_NE(Open(), nullptr);
    // Colour button: a new colour shows; the same colour or a cancel changes nothing.
    PrefsRowControls& back = Row("Transform", "Image Rotation Back Color");
    TakeChosenButtonColour(back, false, 0x0000FF);
    EXPECT_EQ(back.text->GetValue(), "000000");
    TakeChosenButtonColour(back, true, 0x3C2B1A);
    EXPECT_EQ(back.text->GetValue(), "1A2B3C");
    // Under the dialog hook the chooser answers with its start colour.
    wxTEST_DIALOG(RunColourButtonPicker(back), AcceptColour());
    EXPECT_EQ(back.text->GetValue(), "1A2B3C");

    // Colour list: a known colour is selected, a new one appended to the list and the setting.
    PrefsRowControls& fontColour = Row("Watermark", "Font Color");
    TakeChosenListColour(fontColour, true, 0xFFFFFF);
    EXPECT_EQ(fontColour.iconList->GetSelection(), 1);
    EXPECT_EQ(Settings.Watermark.FontColors, "000000,FFFFFF");
    TakeChosenListColour(fontColour, true, 0x0080FF);
    EXPECT_EQ(fontColour.iconList->GetCount(), 3u);
    EXPECT_EQ(fontColour.iconList->GetString(2).utf8_string(), "Orange");
    EXPECT_EQ(fontColour.iconList->GetSelection(), 2);
    EXPECT_EQ(Settings.Watermark.FontColors, "000000,FFFFFF,FF8000");
    TakeChosenListColour(fontColour, false, 0x123456);
    EXPECT_EQ(fontColour.iconList->GetCount(), 3u);

    // Font: commas leave the name, bold only at weight 700, the list grows once.
    TakeChosenFont(true, "Deja,Vu Sans", 18, 600, true);
    EXPECT_EQ(Settings.Watermark.Fonts, "Arial,Tahoma,DejaVu Sans");
    EXPECT_EQ(Row("Watermark", "Font").choice->GetStringSelection().utf8_string(), "DejaVu Sans");
    EXPECT_EQ(Row("Watermark", "Font Size").text->GetValue(), "18");
    EXPECT_EQ(Row("Watermark", "Font Style").Code(), 2);
    TakeChosenFont(true, "tahoma", 12, 700, false);
    EXPECT_EQ(Settings.Watermark.Fonts, "Arial,Tahoma,DejaVu Sans,tahoma") << "letter case counts for the list";
    EXPECT_EQ(Row("Watermark", "Font").choice->GetSelection(), 1) << "the first match, case ignored";
    EXPECT_EQ(Row("Watermark", "Font Style").Code(), 1);
    TakeChosenFont(false, "Other", 10, 400, false);
    EXPECT_EQ(Settings.Watermark.Fonts, "Arial,Tahoma,DejaVu Sans,tahoma");

    // Image: a chosen file replaces the text; a cancelled dialog leaves it.
    TakeChosenImage("/home/user/mark.png");
    TakeChosenImage("");
    EXPECT_EQ(Row("Watermark", "Image").text->GetValue(), "/home/user/mark.png");
    EXPECT_EQ(WatermarkImageFilters(),
              "All Supported Files|*.jpg;*.jpeg;*.jpe;*.jif;*.png;*.bmp;*.rle;*.dib|JPEG File|*.jpg;*.jpeg;*.jpe;*.jif|"
              "Portable Network Graphics|*.png|Windows or OS/2 Bitmap|*.bmp;*.rle;*.dib|All Files (*.*)|*.*");

    // Cancel stores nothing but keeps the grown lists.
    const std::string fontColorBefore = Settings.Watermark.FontColor;
    Press(PrefsWindow.cancel);
    EXPECT_EQ(Settings.Watermark.FontColor, fontColorBefore);
    EXPECT_EQ(Settings.Transform.ImageRotationBackColor, "000000");
    EXPECT_EQ(Settings.Watermark.FontColors, "000000,FFFFFF,FF8000");
    EXPECT_EQ(Settings.Watermark.Fonts, "Arial,Tahoma,DejaVu Sans,tahoma");
    EXPECT_EQ(FileSize(Settings.SettingsPath), kFileMissing) << "Cancel writes no file";
}

TEST_F(PreferencesWindowTest, InterfaceReloadFollowsThemeAndSize) {
    ASSERT_GE(ThemeCatalogue.size(), 2u);
    struct Case {
        int size;
        const char* theme;
        int expected;
    } cases[] = {{1, "handdrawn", 2}, {2, "other", 1}, {0, "other", 1}, {2, "handdrawn", 0}};
    for (const Case& c : cases) {
        Settings.Interface.UISize = 2;
        Settings.Interface.UITheme = "handdrawn";
        InterfaceReload = 0;
        ASSERT_NE(Open(), nullptr);
        PrefsRowControls& theme = Row("Interface", "UI Theme");
        Choose(Row("Interface", "UI Size"), c.size);
        Choose(theme, SelectionForValue(theme.entries, c.theme));
        StorePreferences();
        EXPECT_EQ(InterfaceReload, c.expected) << c.size << " " << c.theme;
        Press(PrefsWindow.ok);
        EXPECT_EQ(InterfaceReload, 0) << "the main window took it up";
        EXPECT_EQ(Settings.Interface.UITheme, c.theme) << c.size << " " << c.theme;
        LetWindowsSettle();
    }
}

TEST_F(PreferencesWindowTest, IconSizeTakesEffectInTheMainWindowAtOnce) {
    Settings.Interface.UISize = 0;
    ApplyTheme(true, true, true);
    BuildToolbar();
    LetWindowsSettle();
    ASSERT_NE(Open(), nullptr);
    Choose(Row("Interface", "UI Size"), 2);
    Press(PrefsWindow.ok);
    LetWindowsSettle();
    wxToolBar* toolbar = MainWindowFrame()->GetToolBar();
    ASSERT_NE(toolbar, nullptr);
    const wxToolBarToolBase* tool = toolbar->FindById(CommandId(kCommandConvert));
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->GetNormalBitmap().GetWidth(), 32);
}

// Answers the reset question after checking it.
class AnswerReset : public wxExpectModalBase<wxMessageDialog, AnswerReset> {
public:
    explicit AnswerReset(int answer) : answer_(answer) {}

protected:
    int OnInvoked(wxMessageDialog* dialog) const override {
        EXPECT_EQ(dialog->GetTitle().utf8_string(), "Reset to Defaults");
        EXPECT_EQ(dialog->GetMessage().utf8_string(),
                  "Are you sure you want to reset all your settings to the default values?");
        EXPECT_EQ(dialog->GetMessageDialogStyle() & wxICON_MASK, wxICON_QUESTION);
        return answer_;
    }

private:
    int answer_;
};

TEST_F(PreferencesWindowTest, DefaultsAskFirst) {
    Settings.Transform.ImageRotation = 90;
    Settings.Interface.UISize = 1;
    ASSERT_NE(Open(), nullptr);
    Choose(Row("General", "Update Range"), 5);
    const auto before = SettingsSnapshot();
    wxTEST_DIALOG(Press(PrefsWindow.defaults), AnswerReset(wxID_NO));
    EXPECT_NE(PreferencesWindow(), nullptr) << "No keeps the window open";
    EXPECT_EQ(SettingsSnapshot(), before);
    EXPECT_EQ(FileSize(Settings.SettingsPath), kFileMissing);

    wxTEST_DIALOG(Press(PrefsWindow.defaults), AnswerReset(wxID_YES));
    EXPECT_EQ(PreferencesWindow(), nullptr);
    EXPECT_EQ(Settings.Transform.ImageRotation, 0);
    EXPECT_EQ(Settings.General.UpdateRange, 2) << "no control is stored";
    EXPECT_EQ(Settings.Interface.UISize, 2);
    EXPECT_EQ(ReadFileText(Settings.SettingsPath), SettingsFileText());
}

TEST_F(PreferencesWindowTest, OkWritesTheFileEvenWithoutChanges) {
    ASSERT_NE(Open(), nullptr);
    Row("Watermark", "Text").text->ChangeValue("  one\ttwo  ");
    Row("Advanced", "Filename Mask").text->ChangeValue("\r\n%filename%.%ext%\n");
    Press(PrefsWindow.ok);
    EXPECT_EQ(Settings.Watermark.Text, "onetwo");
    EXPECT_EQ(Settings.Advanced.FilenameMask, "%filename%.%ext%");
    ASSERT_NE(FileSize(Settings.SettingsPath), kFileMissing);
    DeleteFile(Settings.SettingsPath);
    ASSERT_NE(Open(), nullptr);
    Press(PrefsWindow.ok);
    EXPECT_EQ(ReadFileText(Settings.SettingsPath), SettingsFileText());
    // The close box stores nothing.
    ASSERT_NE(Open(), nullptr);
    Tick(Row("Transform", "Do Image Rotation"), true);
    PreferencesWindow()->Close();
    EXPECT_EQ(PreferencesWindow(), nullptr);
    EXPECT_EQ(Settings.Transform.DoImageRotation, 0);
    EXPECT_TRUE(MainWindowFrame()->IsEnabled());
}
}  // namespace

namespace {
// scripts/screenshots asks for the pictures of every page through the environment.
TEST_F(PreferencesWindowTest, PicturesOfEveryPage) {
    const char* folder = getenv("QUARVEL_SCREENSHOT_DIR");
    if (!folder) GTEST_SKIP() << "pictures are taken by scripts/screenshots";
    Settings.Frame.DoFrame = 1;
    Settings.Watermark.DoWatermark = 1;
    Settings.Transform.DoImageRotation = 1;
    Settings.Transform.ImageRotationBackColor = "FF8000";
    Settings.Frame.SolidLeftColor = "0000FF";
    Settings.Frame.SolidTopColor = "FF0000";
    struct Shot {
        int page;
        const char* name;
        int watermark;      // Watermark type to select, -1 to leave
        bool scrollToEnd;
    } shots[] = {
        {0, "general", -1, false},   {1, "interface", -1, false}, {2, "input", -1, false},
        {3, "output-dds", -1, false}, {4, "transform", -1, false}, {4, "transform-end", -1, true},
        {5, "adjustment", -1, false}, {6, "frame-solid", -1, false}, {6, "frame-solid-end", -1, true},
        {7, "watermark-text", 1, false}, {7, "watermark-text-end", 1, true}, {7, "watermark-image", 2, false},
        {8, "advanced", -1, false},
    };
    for (const Shot& shot : shots) {
        PreferencesPage = static_cast<int8_t>(shot.page);
        wxDialog* window = Open();
        ASSERT_NE(window, nullptr);
        if (shot.watermark >= 0) Choose(Row("Watermark", "Do Watermark"), shot.watermark);
        if (shot.scrollToEnd) {
            wxWindow* page = PrefsWindow.pages[static_cast<size_t>(shot.page)];
            for (wxWindow* sub : PrefsWindow.subPages[static_cast<size_t>(shot.page)])
                if (sub->IsShown()) page = sub;
            if (auto* scrolled = dynamic_cast<wxScrolledWindow*>(page)) scrolled->Scroll(0, 1000);
            LetWindowsSettle();
            window->Refresh();
        }
        for (int i = 0; i < 10; ++i) {
            window->Update();
            LetWindowsSettle();
        }
        EXPECT_TRUE(CaptureWindow(window, std::string(folder) + "/prefs-" + shot.name + ".png")) << shot.name;
        Press(PrefsWindow.cancel);
        LetWindowsSettle();
    }
}
}  // namespace
