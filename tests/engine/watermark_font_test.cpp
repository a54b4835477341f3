#include "engine/watermark_font.h"

#include <gtest/gtest.h>

TEST(WatermarkFont, FamiliesResolveToThemselvesOrConfiguredSubstitutes) {
    struct Case {
        const char* family;
        bool loads;
    };
    const Case cases[] = {
        {"Liberation Sans", true}, {"liberation serif", true}, {"DejaVu Sans", true},
        {"Arial", true},  // metric twin Liberation Sans
        {"Courier New", true}, {"NoSuchFont", false}, {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(CanLoadFontFamily(c.family), c.loads) << c.family;
}

TEST(WatermarkFont, LoadFillsTheRecordAndFreeClearsIt) {
    ASSERT_TRUE(LoadWatermarkFont("Arial", 14, true, false, false, true));
    EXPECT_TRUE(WatermarkFont.Loaded);
    EXPECT_EQ(WatermarkFont.Family, "Arial");
    EXPECT_EQ(WatermarkFont.Points, 14);
    EXPECT_TRUE(WatermarkFont.Bold);
    EXPECT_FALSE(WatermarkFont.Italic);
    EXPECT_TRUE(WatermarkFont.StrikeOut);

    EXPECT_FALSE(LoadWatermarkFont("NoSuchFont", 14, false, false, false, false));
    EXPECT_FALSE(WatermarkFont.Loaded);  // a failed load never leaves the previous font behind
    EXPECT_EQ(WatermarkFont.Family, "");

    ASSERT_TRUE(LoadWatermarkFont("DejaVu Sans", 9, false, true, true, false));
    FreeWatermarkFont();
    EXPECT_FALSE(WatermarkFont.Loaded);
}

// A size the font engine cannot scale to would silently draw nothing, so it fails to load.
TEST(WatermarkFont, SizesTheFontEngineCannotScaleFailToLoad) {
    struct Case {
        int points;
        bool loads;
    };
    const Case cases[] = {{14, true}, {0, true}, {-5, true}, {49151, true}, {49152, false}, {2097152, false},
                          {2147483647, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(LoadWatermarkFont("Liberation Sans", c.points, false, false, false, false), c.loads) << c.points;
        EXPECT_EQ(WatermarkFont.Loaded, c.loads) << c.points;
    }
    FreeWatermarkFont();
}
