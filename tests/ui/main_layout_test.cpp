#include "ui/main_layout.h"

#include <gtest/gtest.h>

#include "app/settings.h"

TEST(MainLayout, WidthMovesFieldsButtonsAndConvert) {
    MainBarHeights bars{25, 35, 22};
    struct Case {
        int width;
        int field;
        int button;
        int convert;
    };
    const Case cases[] = {{510, 350, 364, 400}, {800, 640, 654, 690}, {200, 350, 364, 400}};
    for (const Case& c : cases) {
        MainLayout layout = ComputeMainLayout(c.width, bars);
        EXPECT_EQ(layout.fieldWidth, c.field) << c.width;
        EXPECT_EQ(layout.fieldButtonX, c.button) << c.width;
        EXPECT_EQ(layout.convertX, c.convert) << c.width;
        EXPECT_EQ(layout.containerHeight, 260 - 25 - 35 - 22 - 40);
    }
}

TEST(MainLayout, TallBarsGrowTheHeightInsteadOfClippingConvert) {
    EXPECT_EQ(MainInnerHeight({25, 35, 22}), 260);
    MainBarHeights tall{25, 70, 22};  // 64-pixel toolbar pictures
    EXPECT_EQ(MainInnerHeight(tall), 25 + 70 + 22 + 124 + 40);
    EXPECT_EQ(ComputeMainLayout(510, tall).containerHeight, 124);
}

TEST(MainLayout, ShutdownStateRules) {
    struct Case {
        const char* name;
        MainWindowState state;
        int maximized, width, height, x, y;
    };
    const Case cases[] = {
        {"normal", {false, false, 720, 260, 70, 50}, 0, 720, 260, 70, 50},
        {"maximised keeps the normal geometry", {true, false, 1600, 1200, 0, 0}, 1, 640, 300, 40, 30},
        {"minimised changes nothing", {false, true, 160, 30, -32000, -32000}, 0, 640, 300, 40, 30},
    };
    for (const Case& c : cases) {
        Settings.Window = {};
        Settings.Window.Width = 640;
        Settings.Window.Height = 300;
        Settings.Window.X = 40;
        Settings.Window.Y = 30;
        RecordMainWindowState(c.state);
        EXPECT_EQ(Settings.Window.IsMaximized, c.maximized) << c.name;
        EXPECT_EQ(Settings.Window.Width, c.width) << c.name;
        EXPECT_EQ(Settings.Window.Height, c.height) << c.name;
        EXPECT_EQ(Settings.Window.X, c.x) << c.name;
        EXPECT_EQ(Settings.Window.Y, c.y) << c.name;
    }
}
