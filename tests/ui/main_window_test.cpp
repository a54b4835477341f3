#include "ui/window/main_window.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bmpcbox.h>
#include <wx/filedlg.h>
#include <wx/frame.h>
#include <wx/menu.h>

#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#include "app/job.h"
#include "app/settings.h"
#include "platform/platform.h"
#include "support/test_support.h"
#include "support/wx_test_app.h"
#include "ui/texts.h"
#include "ui/themes.h"
#include "ui/window/image_sets.h"
#include "ui/window/main_window_parts.h"

// After the wx headers, which must see their own GTK declarations first.
#include <gtk/gtk.h>

namespace {
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new WxTestApp);

using ListedNames = std::map<std::string, std::vector<std::string>>;  // by filter label

// Asks the GTK file chooser behind the dialog which of `names` each of its filters lists, then
// cancels the dialog.
class ExpectInputFileDialog : public wxExpectModalBase<wxFileDialog, ExpectInputFileDialog> {
public:
    ExpectInputFileDialog(std::vector<std::string> names, ListedNames* listed)
        : names_(std::move(names)), listed_(listed) {}

protected:
    int OnInvoked(wxFileDialog* dialog) const override {
        EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(dialog->GetHandle())), "Select Input Files");
        GSList* filters = gtk_file_chooser_list_filters(GTK_FILE_CHOOSER(dialog->GetHandle()));
        for (GSList* node = filters; node; node = node->next) {
            GtkFileFilter* filter = GTK_FILE_FILTER(node->data);
            std::vector<std::string>& listed = (*listed_)[gtk_file_filter_get_name(filter)];
            for (const std::string& name : names_) {
                GtkFileFilterInfo info{};
                info.contains =
                    static_cast<GtkFileFilterFlags>(GTK_FILE_FILTER_FILENAME | GTK_FILE_FILTER_DISPLAY_NAME);
                const std::string path = "/tmp/" + name;
                info.filename = path.c_str();
                info.display_name = name.c_str();
                if (gtk_file_filter_filter(filter, &info)) listed.push_back(name);
            }
        }
        g_slist_free(filters);
        return wxID_CANCEL;
    }

private:
    std::vector<std::string> names_;
    ListedNames* listed_;
};
}  // namespace

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WxTestApp::started) << "needs a display: run under xvfb-run";
        ApplyDefaults(false);
        BuildUiText();
        ResetJob();
        SetInputFileTakeUp(TakeUpInputFile);
        LoadBuiltInImages();
        ScanThemes();
        ApplyTheme(true, true, true);
    }
    void TearDown() override {
        if (wxFrame* frame = MainWindowFrame()) frame->Destroy();
        LetWindowsSettle();
        SetInputFileTakeUp(nullptr);
    }
    wxFrame* Open() {
        wxFrame* frame = CreateMainWindow();
        EXPECT_NE(frame, nullptr);
        LetWindowsSettle();
        return frame;
    }
};

// Where a control sits inside the container, and how wide it is.
struct Placement {
    wxWindow* window;
    int x;
    int width;
};

TEST_F(MainWindowTest, LayoutFollowsTheWidthAndHoldsTheHeight) {
    wxFrame* frame = Open();
    ASSERT_NE(frame, nullptr);
    struct Case {
        int width;
        int field;
        int button;
        int convert;
    };
    const Case cases[] = {{510, 350, 364, 400}, {800, 640, 654, 690}};
    MainWindowPartsRecord& parts = MainWindowParts;
    int fixedHeight = frame->GetClientSize().GetHeight();
    for (const Case& c : cases) {
        frame->SetClientSize(c.width, fixedHeight + 100);
        LetWindowsSettle();
        ASSERT_EQ(frame->GetClientSize().GetWidth(), c.width);
        EXPECT_EQ(frame->GetClientSize().GetHeight(), fixedHeight) << "the height cannot change";
        for (const Placement& p : std::vector<Placement>{{parts.inputField, 10, c.field},
                                                         {parts.outputFolderCombo, 10, c.field},
                                                         {parts.outputFormatCombo, 10, c.field},
                                                         {parts.fieldButtons[0], c.button, 24},
                                                         {parts.fieldButtons[1], c.button, 24},
                                                         {parts.fieldButtons[2], c.button, 24},
                                                         {parts.convertButton, c.convert, 100}}) {
            EXPECT_EQ(p.window->GetPosition().x, p.x) << c.width;
            EXPECT_EQ(p.window->GetSize().GetWidth(), p.width) << c.width;
        }
        EXPECT_EQ(parts.fieldButtons[2]->GetPosition().y, 99);
        // The whole Convert button and the notice line stay inside the window.
        EXPECT_LE(parts.convertButton->GetRect().GetBottom(), parts.container->GetSize().GetHeight());
        EXPECT_LE(parts.notice->GetRect().GetBottom(), fixedHeight);
    }
    frame->SetClientSize(300, fixedHeight - 50);
    LetWindowsSettle();
    EXPECT_EQ(frame->GetClientSize().GetWidth(), 510) << "no narrower than 510";
    EXPECT_EQ(frame->GetClientSize().GetHeight(), fixedHeight);
    const MainBarHeights& bars = MainWindowParts.bars;
    EXPECT_EQ(bars.menuBar + bars.toolbar + fixedHeight + bars.statusBar, MainInnerHeight(bars));
}

TEST_F(MainWindowTest, StartsReadyWithOneFormatAndAnEmptyFolder) {
    Settings.Output.Format = "png";  // not offered: the first item is still selected
    ASSERT_NE(Open(), nullptr);
    wxBitmapComboBox* formats = MainWindowParts.outputFormatCombo;
    ASSERT_EQ(formats->GetCount(), 1u);
    EXPECT_EQ(formats->GetString(0).utf8_string(), "DDS (DirectDraw Surface)");
    EXPECT_EQ(SelectedOutputFormatData(), 0);
    EXPECT_EQ(MainWindowParts.outputFolderCombo->GetCount(), 1u) << "an empty history shows one empty item";
    EXPECT_EQ(OutputFolderText(), "");
    EXPECT_EQ(MainWindowFrame()->GetStatusBar()->GetStatusText().utf8_string(), "Ready");
    EXPECT_EQ(MainWindowFrame()->GetTitle().utf8_string(), "Quarvel 2.9 - FREEWARE");
}

TEST_F(MainWindowTest, DroppingFilesTakesTheFirstAndItsFolder) {
    std::string folder = ScratchFolder("drop");
    for (const char* name : {"one.bmp", "two.bmp", "three.dib", "notes.png"}) WriteFileText(folder + name, "BM");
    ASSERT_NE(Open(), nullptr);

    TakeDroppedFiles({folder + "one.bmp", folder + "two.bmp", folder + "three.dib"});
    EXPECT_EQ(InputFieldText(), folder + "one.bmp");
    EXPECT_EQ(InputList.size(), 1u);
    EXPECT_EQ(InputList.count(folder + "one.bmp"), 1u);
    EXPECT_EQ(OutputFolderText(), folder) << "the first file's folder becomes the output folder";
    EXPECT_EQ(Job.OutputFolder, folder);
    EXPECT_EQ(Settings.File.RecentOutFolders, folder);

    // Replaced by a later accepted file; the chosen output folder stays.
    std::string other = ScratchFolder("drop-other");
    WriteFileText(other + "four.dib", "BM");
    TakeDroppedFiles({other + "four.dib"});
    EXPECT_EQ(InputFieldText(), other + "four.dib");
    EXPECT_EQ(OutputFolderText(), folder);

    // Nothing accepted, nothing changes: wrong type, empty file, empty list.
    WriteFileText(other + "empty.bmp", "");
    for (const std::vector<std::string>& drop : std::vector<std::vector<std::string>>{
             {folder + "notes.png"}, {other + "empty.bmp"}, {}, {""}}) {
        TakeDroppedFiles(drop);
        EXPECT_EQ(InputFieldText(), other + "four.dib");
    }
}

TEST_F(MainWindowTest, AwkwardDropsNeitherCrashNorHang) {
    ASSERT_NE(Open(), nullptr);
    std::string folder = ScratchFolder("awkward");
    std::string spaced = folder + "with  blanks\nand a line feed.bmp";
    WriteFileText(spaced, "BM");
    std::vector<std::string> many;
    many.push_back(spaced);
    for (int i = 0; i < 500; ++i) many.push_back(folder + "missing" + std::to_string(i) + ".bmp");
    TakeDroppedFiles(many);
    EXPECT_EQ(InputFieldText(), spaced) << "a path is taken whole, line feed and all";

    // Bytes that are not UTF-8 come back out of the field unchanged.
    std::string latin = folder + "caf\xe9.bmp";
    TakeDroppedFiles({latin});
    EXPECT_EQ(InputFieldText(), latin);

    // A folder named like a picture is accepted as the path says; the Convert checks refuse it later.
    std::string named = folder + "album.bmp";
    ASSERT_EQ(mkdir(named.c_str(), 0700), 0);
    TakeDroppedFiles({named});
    EXPECT_EQ(InputFieldText(), named);
}

TEST_F(MainWindowTest, NewKeepsTheHistory) {
    Settings.File.RecentOutFolders = "/a/\t/b/\t/c/";
    ASSERT_NE(Open(), nullptr);
    wxBitmapComboBox* folders = MainWindowParts.outputFolderCombo;
    ASSERT_EQ(folders->GetCount(), 3u);
    EXPECT_EQ(OutputFolderText(), "") << "start-up runs New, which empties the shown folder";
    SetInputFieldText("/x/picture.bmp");
    folders->SetSelection(1);
    RunMainCommand(kCommandNew);
    EXPECT_EQ(InputFieldText(), "");
    EXPECT_EQ(OutputFolderText(), "");
    ASSERT_EQ(folders->GetCount(), 3u);
    EXPECT_EQ(folders->GetString(2).utf8_string(), "/c/");
    EXPECT_EQ(Settings.File.RecentOutFolders, "/a/\t/b/\t/c/");
}

TEST_F(MainWindowTest, ChosenOutputFolderLeadsTheHistory) {
    Settings.File.RecentOutFolders = "/a/\t/b/";
    ASSERT_NE(Open(), nullptr);
    std::string chosen = ScratchFolder("chosen");
    std::string file = chosen + "file.txt";
    WriteFileText(file, "x");
    for (const std::string& refused : {std::string(""), file, chosen + "missing"}) {
        TakeChosenOutputFolder(refused);
        EXPECT_EQ(Settings.File.RecentOutFolders, "/a/\t/b/") << refused;
    }
    std::string bare = chosen.substr(0, chosen.size() - 1);  // as folder dialogs answer
    TakeChosenOutputFolder(bare);
    EXPECT_EQ(Settings.File.RecentOutFolders, chosen + "\t/a/\t/b/");
    EXPECT_EQ(Job.OutputFolder, chosen);
    EXPECT_EQ(OutputFolderText(), chosen);
    EXPECT_EQ(MainWindowParts.outputFolderCombo->GetCount(), 3u);
}

TEST_F(MainWindowTest, HistoryOfOnlyTabsShowsNoFolder) {
    Settings.File.RecentOutFolders = std::string(10000, '\t');
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(MainWindowParts.outputFolderCombo->GetCount(), 0u);
    EXPECT_EQ(OutputFolderText(), "");
    std::string folder = ScratchFolder("tabs");
    WriteFileText(folder + "a.bmp", "BM");
    TakeDroppedFiles({folder + "a.bmp"});
    EXPECT_EQ(Settings.File.RecentOutFolders, folder);
    EXPECT_EQ(OutputFolderText(), folder);
}

TEST_F(MainWindowTest, ShutdownRecordsGeometry) {
    Settings.Window.Width = 640;
    Settings.Window.Height = 300;
    Settings.Window.X = 40;
    Settings.Window.Y = 30;
    wxFrame* frame = Open();
    ASSERT_NE(frame, nullptr);
    frame->SetClientSize(720, frame->GetClientSize().GetHeight());
    frame->Move(70, 50);
    LetWindowsSettle();
    RecordMainWindowGeometry();
    EXPECT_EQ(Settings.Window.IsMaximized, 0);
    EXPECT_EQ(Settings.Window.Width, 720);
    EXPECT_EQ(Settings.Window.Height, 260) << "the stored height is the whole inner height, bars included";
    EXPECT_EQ(Settings.Window.X, 70);
    EXPECT_EQ(Settings.Window.Y, 50);
}

TEST_F(MainWindowTest, HelpCommandsHandTheirTargetToTheOpenAction) {
    std::string bin = ScratchFolder("opener");
    std::string record = bin + "opened.txt";
    WriteFileText(bin + "xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + record + "'\n");
    ASSERT_EQ(chmod((bin + "xdg-open").c_str(), 0755), 0);
    std::string path = bin + ":" + (getenv("PATH") ? getenv("PATH") : "");
    setenv("PATH", path.c_str(), 1);
    ASSERT_NE(Open(), nullptr);
    const struct {
        int command;
        std::string target;
    } cases[] = {
        {kCommandManual, ProgramFolder() + "kestrix.html"},
        {kCommandFeedback, "mailto:support@marrowfen.example?subject=Quarvel%202.9%20Feedback"},
        {kCommandHomepage, "https://www.marrowfen.example/kestrix/"},
    };
    std::string expected;
    for (const auto& c : cases) {
        RunMainCommand(c.command);
        expected += c.target + "\n";
        // The opener runs detached; wait for its line.
        for (int i = 0; i < 100 && ReadFileText(record) != expected; ++i) usleep(20000);
        EXPECT_EQ(ReadFileText(record), expected);
    }
}

TEST_F(MainWindowTest, LargerToolbarPicturesKeepConvertWhole) {
    wxFrame* frame = Open();
    ASSERT_NE(frame, nullptr);
    Settings.Interface.UISize = 4;  // 64 pixels
    InterfaceReload = 2;
    ApplyPreferencesToMainWindow();
    LetWindowsSettle();
    EXPECT_EQ(InterfaceReload, 0);
    EXPECT_EQ(frame->GetToolBar()->GetToolBitmapSize(), wxSize(64, 64));
    EXPECT_GE(MainWindowParts.bars.toolbar, 64);
    EXPECT_EQ(MainWindowParts.bars.toolbar, frame->GetToolBar()->GetSize().GetHeight());
    EXPECT_LE(MainWindowParts.convertButton->GetRect().GetBottom(), MainWindowParts.container->GetSize().GetHeight());
    EXPECT_LE(MainWindowParts.notice->GetRect().GetBottom(), frame->GetClientSize().GetHeight());
}

// Menus, toolbar and field buttons carry the command numbers, texts and shortcuts of the command
// table, at start-up and again after a theme change rebuilt them.
TEST_F(MainWindowTest, MenusToolbarAndFieldButtonsFollowTheCommandTable) {
    wxFrame* frame = Open();
    ASSERT_NE(frame, nullptr);
    constexpr int kGap = -1;  // separator
    const struct {
        const char* title;
        std::vector<std::pair<int, std::string>> items;
    } menus[] = {
        {"File",
         {{kCommandNew, "New\tCtrl+N"}, {kGap, ""}, {kCommandAddInputFile, "Add Input File..."},
          {kCommandSelectOutputFolder, "Select Output Folder..."}, {kGap, ""}, {kCommandExit, "Exit\tAlt+X"}}},
        {"Converter",
         {{kCommandConvert, "Convert\tF5"}, {kGap, ""}, {kCommandFindConverter, "Find a File Converter..."}, {kGap, ""},
          {kCommandPreferences, "Preferences..."}}},
        {"Help",
         {{kCommandManual, "User Manual...\tF1"}, {kGap, ""}, {kCommandFeedback, "Send Feedback"},
          {kCommandHomepage, "Visit the Program's Homepage"}, {kCommandCheckForUpdate, "Check For a New Version"},
          {kGap, ""}, {kCommandAbout, "About..."}}},
    };
    const std::vector<std::pair<int, std::string>> tools = {
        {kCommandNew, "New"}, {kCommandAddInputFile, "Add Input File..."},
        {kCommandSelectOutputFolder, "Select Output Folder..."}, {kGap, ""}, {kCommandPreferences, "Preferences..."},
        {kGap, ""}, {kCommandConvert, "Convert"}, {kGap, ""}, {kCommandManual, "User Manual..."},
        {kCommandFeedback, "Send Feedback"}, {kCommandHomepage, "Visit the Program's Homepage"},
        {kCommandCheckForUpdate, "Check For a New Version"}};
    const std::pair<int, std::string> fieldButtons[3] = {{kCommandAddInputFile, "Add Input File..."},
                                                         {kCommandSelectOutputFolder, "Select Output Folder..."},
                                                         {kCommandOutputFormatOptions, "Options..."}};

    for (const char* stage : {"start-up", "theme change"}) {
        SCOPED_TRACE(stage);
        if (std::string(stage) == "theme change") {
            InterfaceReload = 1;
            ApplyPreferencesToMainWindow();
            LetWindowsSettle();
            EXPECT_EQ(InterfaceReload, 0);
        }
        wxMenuBar* bar = frame->GetMenuBar();
        ASSERT_NE(bar, nullptr);
        ASSERT_EQ(bar->GetMenuCount(), std::size(menus));
        for (size_t m = 0; m < std::size(menus); ++m) {
            EXPECT_EQ(bar->GetMenuLabelText(m).utf8_string(), menus[m].title);
            const wxMenuItemList& items = bar->GetMenu(m)->GetMenuItems();
            ASSERT_EQ(items.size(), menus[m].items.size()) << menus[m].title;
            size_t i = 0;
            for (const wxMenuItem* item : items) {
                const auto& [number, text] = menus[m].items[i++];
                if (number == kGap) {
                    EXPECT_TRUE(item->IsSeparator()) << menus[m].title << " " << i;
                    continue;
                }
                EXPECT_EQ(item->GetId(), CommandId(number)) << text;
                EXPECT_EQ(item->GetItemLabel().utf8_string(), text);
                EXPECT_TRUE(item->GetBitmap().IsOk()) << text;
            }
        }

        wxToolBar* toolbar = frame->GetToolBar();
        ASSERT_NE(toolbar, nullptr);
        ASSERT_EQ(static_cast<size_t>(toolbar->GetToolsCount()), tools.size());
        for (size_t i = 0; i < tools.size(); ++i) {
            const wxToolBarToolBase* tool = toolbar->GetToolByPos(static_cast<int>(i));
            if (tools[i].first == kGap) {
                EXPECT_TRUE(tool->IsSeparator()) << i;
                continue;
            }
            EXPECT_EQ(tool->GetId(), CommandId(tools[i].first)) << i;
            EXPECT_EQ(tool->GetShortHelp().utf8_string(), tools[i].second);
        }

        for (int i = 0; i < 3; ++i) {
            wxToolBar* button = MainWindowParts.fieldButtons[i];
            ASSERT_NE(button, nullptr);
            ASSERT_EQ(button->GetToolsCount(), 1u);
            EXPECT_EQ(button->GetToolByPos(0)->GetId(), CommandId(fieldButtons[i].first));
            EXPECT_EQ(button->GetToolByPos(0)->GetShortHelp().utf8_string(), fieldButtons[i].second);
            EXPECT_EQ(button->GetPosition(), wxPoint(364, 19 + 40 * i));
        }
    }
}

// GTK matches the dialog's patterns itself, letter case included: every spelling of a bitmap's
// extension must be listed, under the same labels, and "All Files" must mean every file.
TEST_F(MainWindowTest, AddInputFileDialogListsExtensionsInAnyCase) {
    ASSERT_NE(Open(), nullptr);
    const std::vector<std::string> bitmaps = {"lower.bmp", "CAPS.BMP", "Mixed.Dib", "run.RLE", "odd.bMp"};
    std::vector<std::string> names = bitmaps;
    for (const char* other : {"photo.png", "bmp", "notes.bmp.txt", "README"}) names.push_back(other);
    ListedNames listed;
    wxTEST_DIALOG(RunMainCommand(kCommandAddInputFile), ExpectInputFileDialog(names, &listed));

    const ListedNames expected = {
        {"All Supported Files", bitmaps},
        {"Windows or OS/2 Bitmap", bitmaps},
        {"All Files (*.*)", names},
    };
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(InputFieldText(), "") << "a cancelled dialog adds nothing";
}
