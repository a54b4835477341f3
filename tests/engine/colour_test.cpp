#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings.h"
#include "engine/colour.h"
#include "engine/image_fixture.h"
#include "support/test_support.h"

namespace {
class ColourTest : public testing::Test {
protected:
    void SetUp() override { ApplyDefaults(true); }
};

unsigned Bpp(FIBITMAP* image) { return FreeImage_GetBPP(image); }

// An 8-bit grey image, one pixel per given level, left to right.
ImagePtr MakeGreyRow(const std::vector<int>& levels) {
    ImagePtr image = MakeImage(static_cast<int>(levels.size()), 1, 8);
    for (size_t x = 0; x < levels.size(); ++x) SetPaletteIndex(image.get(), static_cast<int>(x), 0, static_cast<BYTE>(levels[x]));
    return image;
}

bool IsWhite(FIBITMAP* image, int x, int y) { return PixelAt(image, x, y) == (Rgb{255, 255, 255}); }

ImagePtr MakeGradient(int width, int height) {
    ImagePtr image = MakeImage(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int level = (x + y) * 255 / (width + height - 2);
            SetPixel(image.get(), x, y, {level, level, level});
        }
    return image;
}

int Sign(int value) { return (value > 0) - (value < 0); }
}  // namespace

TEST_F(ColourTest, EmptyImageAndSwitchesOffReturnTheImageUnchanged) {
    using Step = FIBITMAP* (*)(FIBITMAP*);
    const Step steps[] = {AdjustColours, ConvertToGreyscale, ApplyThreshold, ApplyDither};

    ImagePtr image = MakeImage(5, 4, 4);
    for (Step step : steps) EXPECT_EQ(step(image.get()), image.get());

    Settings.Adjustment.DoImageColorCorrection = Settings.Adjustment.DoImageGreyscale = 1;
    Settings.Adjustment.DoImageThreshold = Settings.Adjustment.DoImageDither = 1;
    Settings.Adjustment.ImageBrightness = 20;
    for (Step step : steps) EXPECT_EQ(step(nullptr), nullptr);
}

TEST_F(ColourTest, AdjustmentsMovePixelsTheRightWay) {
    struct Case {
        const char* what;
        int brightness, contrast;
        float gamma;
        int red, green, blue;  // expected direction of change per channel: -1, 0, +1
    };
    const std::vector<Case> cases = {
        {"brighter", 50, 0, 1.0f, +1, +1, +1},
        {"darker", -50, 0, 1.0f, -1, -1, -1},
        {"more contrast", 0, 60, 1.0f, -1, +1, +1},
        {"less contrast", 0, -60, 1.0f, +1, -1, -1},
        {"gamma above 1 lightens", 0, 0, 2.0f, +1, +1, +1},
        {"gamma below 1 darkens", 0, 0, 0.5f, -1, -1, -1},
    };
    const Rgb source{60, 150, 200};
    for (int bpp : {24, 32}) {
        for (const Case& c : cases) {
            Settings.Adjustment.DoImageColorCorrection = 1;
            Settings.Adjustment.ImageBrightness = c.brightness;
            Settings.Adjustment.ImageContrast = c.contrast;
            Settings.Adjustment.ImageGamma = c.gamma;
            ImagePtr image = MakeImage(3, 2, bpp, source);
            FIBITMAP* original = image.get();
            image.reset(AdjustColours(image.release()));
            ASSERT_EQ(image.get(), original) << c.what << ": adjusted in place";
            const Rgb got = PixelAt(image.get(), 1, 1);
            EXPECT_EQ(Sign(got.red - source.red), c.red) << c.what << " " << bpp;
            EXPECT_EQ(Sign(got.green - source.green), c.green) << c.what << " " << bpp;
            EXPECT_EQ(Sign(got.blue - source.blue), c.blue) << c.what << " " << bpp;
        }
    }

    ApplyDefaults(true);
    Settings.Adjustment.DoImageColorCorrection = 1;
    Settings.Adjustment.ImageInvert = 1;
    ImagePtr image = MakeImage(3, 2, 24, source);
    image.reset(AdjustColours(image.release()));
    EXPECT_EQ(PixelAt(image.get(), 2, 0), (Rgb{195, 105, 55}));
}

TEST_F(ColourTest, AdjustmentWidensDepthsTheLibraryCannotAdjust) {
    struct Case {
        int bpp;
        unsigned expectedBpp;
    };
    // Neutral values: depths change, colours do not.
    Settings.Adjustment.DoImageColorCorrection = 1;
    for (Case c : std::vector<Case>{{1, 24}, {4, 24}, {8, 8}, {16, 24}, {24, 24}, {32, 32}}) {
        ImagePtr image = MakeImage(4, 3, c.bpp, {64, 128, 192});
        if (c.bpp <= 8) SetPaletteIndex(image.get(), 2, 1, 1);
        const Rgb before = PixelAt(image.get(), 2, 1);
        image.reset(AdjustColours(image.release()));
        ASSERT_TRUE(image) << c.bpp;
        EXPECT_EQ(Bpp(image.get()), c.expectedBpp) << c.bpp;
        EXPECT_EQ(PixelAt(image.get(), 2, 1), before) << c.bpp;
    }

    // A 16-bit image is really adjusted, not passed on unchanged.
    Settings.Adjustment.ImageBrightness = 50;
    ImagePtr image = MakeImage(4, 3, 24, {64, 128, 192});
    image.reset(FreeImage_ConvertTo16Bits565(image.get()));
    ASSERT_EQ(Bpp(image.get()), 16u);
    const Rgb before = PixelAt(image.get(), 0, 0);
    image.reset(AdjustColours(image.release()));
    ASSERT_TRUE(image);
    EXPECT_EQ(Bpp(image.get()), 24u);
    const Rgb after = PixelAt(image.get(), 0, 0);
    EXPECT_GT(after.red, before.red);
    EXPECT_GT(after.green, before.green);
    EXPECT_GT(after.blue, before.blue);
}

TEST_F(ColourTest, GreyscaleGivesEightBitGrey) {
    Settings.Adjustment.DoImageGreyscale = 1;
    for (FREE_IMAGE_TYPE type : {FIT_BITMAP, FIT_RGB16}) {
        ImagePtr image(FreeImage_AllocateT(type, 3, 2, type == FIT_BITMAP ? 24 : 48));
        if (type == FIT_BITMAP) {
            SetPixel(image.get(), 0, 0, {255, 0, 0});
            SetPixel(image.get(), 1, 0, {0, 255, 0});
        }
        image.reset(ConvertToGreyscale(image.release()));
        ASSERT_TRUE(image);
        EXPECT_EQ(Bpp(image.get()), 8u);
        EXPECT_EQ(FreeImage_GetColorType(image.get()), FIC_MINISBLACK);
        if (type == FIT_BITMAP) {
            const Rgb red = PixelAt(image.get(), 0, 0), green = PixelAt(image.get(), 1, 0);
            EXPECT_EQ(red.red, red.blue);
            EXPECT_GT(green.green, red.green) << "green weighs more than red";
            EXPECT_GT(red.green, 0);
        }
    }
}

TEST_F(ColourTest, ThresholdUsesTheLowByteOfTheLevel) {
    struct Case {
        const char* stored;
        int below, atLevel;  // grey levels just below and at the effective level
    };
    const std::vector<Case> cases = {
        {"300", 43, 44},   // 300 keeps its low byte, 44
        {"44", 43, 44},
        {"-1", 254, 255},  // low byte 255
        {"128", 127, 128},
    };
    for (const Case& c : cases) {
        Settings.Adjustment.DoImageThreshold = 1;
        StoreSetting("Adjustment", "Image Threshold", c.stored);
        ImagePtr image = MakeGreyRow({c.below, c.atLevel});
        image.reset(ApplyThreshold(image.release()));
        ASSERT_TRUE(image) << c.stored;
        EXPECT_EQ(Bpp(image.get()), 1u) << c.stored;
        EXPECT_FALSE(IsWhite(image.get(), 0, 0)) << c.stored;
        EXPECT_TRUE(IsWhite(image.get(), 1, 0)) << c.stored;
    }
}

TEST_F(ColourTest, ThresholdAndDitherTakeOneBitImagesThroughTwentyFourBits) {
    Settings.Adjustment.DoImageThreshold = 1;
    Settings.Adjustment.ImageThreshold = 128;
    ImagePtr image = MakeImage(9, 2, 1);
    SetPaletteIndex(image.get(), 4, 1, 1);
    image.reset(ApplyThreshold(image.release()));
    ASSERT_TRUE(image);
    EXPECT_EQ(Bpp(image.get()), 1u);
    EXPECT_TRUE(IsWhite(image.get(), 4, 1));
    EXPECT_FALSE(IsWhite(image.get(), 3, 1));

    ApplyDefaults(true);
    Settings.Adjustment.DoImageDither = 1;
    Settings.Adjustment.ImageDitherAlgorithm = 1;
    image.reset(ApplyDither(image.release()));
    ASSERT_TRUE(image);
    EXPECT_EQ(Bpp(image.get()), 1u);
    EXPECT_TRUE(IsWhite(image.get(), 4, 1));
    EXPECT_FALSE(IsWhite(image.get(), 3, 1));
}

TEST_F(ColourTest, GreyscaleThenThresholdEndsInOneBit) {
    Settings.Adjustment.DoImageGreyscale = 1;
    Settings.Adjustment.DoImageThreshold = 1;
    Settings.Adjustment.ImageThreshold = 100;
    ImagePtr image = MakeImage(2, 1, 24);
    SetPixel(image.get(), 0, 0, {40, 40, 200});    // dark blue: luminance well below 100
    SetPixel(image.get(), 1, 0, {250, 250, 120});  // pale yellow: well above
    image.reset(ConvertToGreyscale(image.release()));
    ASSERT_TRUE(image);
    EXPECT_EQ(Bpp(image.get()), 8u);
    image.reset(ApplyThreshold(image.release()));
    ASSERT_TRUE(image);
    EXPECT_EQ(Bpp(image.get()), 1u);
    EXPECT_FALSE(IsWhite(image.get(), 0, 0));
    EXPECT_TRUE(IsWhite(image.get(), 1, 0));
}

TEST_F(ColourTest, DitherAlgorithmPicksTheMethod) {
    struct Case {
        int code;
        FREE_IMAGE_DITHER method;
    };
    const std::vector<Case> cases = {
        {0, FID_FS},         {1, FID_BAYER4x4},   {2, FID_BAYER8x8},       {3, FID_BAYER16x16},
        {4, FID_CLUSTER6x6}, {5, FID_CLUSTER8x8}, {6, FID_CLUSTER16x16}, {7, FID_FS},
        {-3, FID_FS},
    };
    ImagePtr source = MakeGradient(48, 48);
    // Every method must draw its own pattern here, or the comparison below proves nothing.
    std::vector<ImagePtr> patterns;
    for (FREE_IMAGE_DITHER method : {FID_FS, FID_BAYER4x4, FID_BAYER8x8, FID_BAYER16x16, FID_CLUSTER6x6,
                                     FID_CLUSTER8x8, FID_CLUSTER16x16}) {
        patterns.emplace_back(FreeImage_Dither(source.get(), method));
        for (size_t i = 0; i + 1 < patterns.size(); ++i)
            ASSERT_FALSE(SamePixels(patterns[i].get(), patterns.back().get())) << "methods " << i << " and " << method;
    }

    for (const Case& c : cases) {
        Settings.Adjustment.DoImageDither = 1;
        Settings.Adjustment.ImageDitherAlgorithm = static_cast<int8_t>(c.code);
        ImagePtr image(FreeImage_Clone(source.get()));
        image.reset(ApplyDither(image.release()));
        ASSERT_TRUE(image) << c.code;
        EXPECT_EQ(Bpp(image.get()), 1u) << c.code;
        ImagePtr expected(FreeImage_Dither(source.get(), c.method));
        EXPECT_TRUE(SamePixels(image.get(), expected.get())) << "algorithm " << c.code;
    }
}
