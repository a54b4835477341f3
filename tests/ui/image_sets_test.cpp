#include "ui/window/image_sets.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>

#include <string>

#include "app/identity.h"
#include "app/job.h"
#include "app/settings.h"
#include "platform/platform.h"
#include "support/test_support.h"
#include "support/wx_test_app.h"
#include "theme_fixtures.h"
#include "ui/themes.h"

namespace {
testing::Environment* const environment = testing::AddGlobalTestEnvironment(new WxTestApp);

class ImageSetsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WxTestApp::started) << "needs a display: run under xvfb-run";
        ApplyDefaults(false);
        ThemeCatalogue.clear();
        LoadBuiltInImages();
    }
};

int OpaquePixels(const wxBitmap& bitmap) {
    wxImage image = bitmap.ConvertToImage();
    if (!image.HasAlpha()) return image.GetWidth() * image.GetHeight();
    int count = 0;
    for (int i = 0; i < image.GetWidth() * image.GetHeight(); ++i) count += image.GetAlpha()[i] > 128;
    return count;
}
}  // namespace

TEST_F(ImageSetsTest, BuiltInBitmapsHaveTheirSizesAndShowSomething) {
    struct Case {
        std::string what;
        wxBitmap bitmap;
        int width, height;
    };
    std::vector<Case> cases = {{"Convert", MainImage("Convert"), 64, 64},
                               {"InFiles", MainImage("InFiles"), 48, 48},
                               {"InFolder", MainImage("InFolder"), 48, 48},
                               {"banner", BannerPicture(), 360, 40},
                               {"spare", SparePicture(), 270, 75}};
    for (const auto& [key, number] : MenuIcons()) cases.push_back({key, MenuIcon(key), 16, 16});
    for (const Case& c : cases) {
        ASSERT_TRUE(c.bitmap.IsOk()) << c.what;
        EXPECT_EQ(c.bitmap.GetWidth(), c.width) << c.what;
        EXPECT_EQ(c.bitmap.GetHeight(), c.height) << c.what;
        EXPECT_GT(OpaquePixels(c.bitmap), 40) << c.what;
    }
}

// The window manager picks from these for the title bar, the task bar and the window list.
TEST_F(ImageSetsTest, ProgramIconComesAtEveryDesktopSize) {
    wxIconBundle icons = ProgramIcons();
    ASSERT_EQ(icons.GetIconCount(), 6u);
    for (int side : {16, 32, 48, 64, 128, 256}) {
        wxIcon icon = icons.GetIcon(wxSize(side, side), wxIconBundle::FALLBACK_NONE);
        ASSERT_TRUE(icon.IsOk()) << side;
        EXPECT_EQ(icon.GetWidth(), side);
        wxBitmap bitmap;
        bitmap.CopyFromIcon(icon);
        EXPECT_GT(OpaquePixels(bitmap), side * side / 3) << side;
        EXPECT_LT(OpaquePixels(bitmap), side * side) << side;
    }
}

TEST_F(ImageSetsTest, ToolbarIconsFollowTheIconSize) {
    for (int code : {0, 1, 2, 3, 4, 9}) {
        Settings.Interface.UISize = code;
        int side = IconPixelSize(code);
        for (const auto& [key, number] : ToolbarIcons()) {
            wxBitmap icon = ToolbarIcon(key);
            ASSERT_TRUE(icon.IsOk()) << key;
            EXPECT_EQ(icon.GetWidth(), side) << key << " " << code;
            EXPECT_EQ(icon.GetHeight(), side) << key << " " << code;
        }
    }
}

TEST_F(ImageSetsTest, ThemePicturesReachTheBitmapsAndOddSizesAreFitted) {
    std::string program = ScratchFolder("program");
    ASSERT_TRUE(CreateFolder(program + "gfx"));
    ASSERT_TRUE(ZipTheme(program + "gfx/red.zip", {{"theme.cfg", "[Icons]\r\nNew=new\r\nAdd=add.png\r\n"},
                                                   {"new_16.png", SolidPng(16, 16, 255, 0, 0)},
                                                   {"add.png", SolidPng(40, 40, 0, 0, 255)}}));
    Job.ProgramFolder = program;
    Settings.Interface.UITheme = "red";
    Settings.Interface.UISize = 1;
    ScanThemes();
    ApplyTheme(true, true, true);

    wxImage newIcon = MenuIcon("New").ConvertToImage();
    EXPECT_EQ(newIcon.GetRed(8, 8), 255);
    EXPECT_EQ(newIcon.GetBlue(8, 8), 0);
    wxImage addIcon = MenuIcon("Add").ConvertToImage();  // a 40-pixel picture in a 16-pixel menu
    EXPECT_EQ(addIcon.GetWidth(), 16);
    EXPECT_EQ(addIcon.GetBlue(8, 8), 255);
    wxImage toolbarAdd = ToolbarIcon("Add").ConvertToImage();
    EXPECT_EQ(toolbarAdd.GetWidth(), 24);
    EXPECT_EQ(toolbarAdd.GetBlue(12, 12), 255);
}

TEST_F(ImageSetsTest, UnknownKeyGivesATransparentBitmapOfTheSetsSize) {
    wxBitmap menu = MenuIcon("NoSuchKey");
    ASSERT_TRUE(menu.IsOk());
    EXPECT_EQ(menu.GetWidth(), 16);
    EXPECT_EQ(OpaquePixels(menu), 0);
    Settings.Interface.UISize = 4;
    EXPECT_EQ(ToolbarIcon("NoSuchKey").GetWidth(), 64);
    EXPECT_EQ(MainImage("NoSuchKey").GetWidth(), 48);
}
