#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "engine/image_fixture.h"
#include "support/test_support.h"
#include "engine/pipeline.h"
#include "engine/transforms.h"

namespace {
class TransformsTest : public testing::Test {
protected:
    void SetUp() override { ApplyDefaults(true); }
};

unsigned Width(FIBITMAP* image) { return FreeImage_GetWidth(image); }
unsigned Height(FIBITMAP* image) { return FreeImage_GetHeight(image); }

void EnableRotation(int angle, int type) {
    Settings.Transform.DoImageRotation = 1;
    Settings.Transform.ImageRotation = angle;
    Settings.Transform.ImageRotationType = static_cast<int8_t>(type);
}

void EnableResize(int width, int widthUnit, int height, int heightUnit, bool keepAspect) {
    Settings.Transform.DoImageResize = 1;
    Settings.Transform.ImageWidth = width;
    Settings.Transform.ImageWidthUnit = static_cast<int8_t>(widthUnit);
    Settings.Transform.ImageHeight = height;
    Settings.Transform.ImageHeightUnit = static_cast<int8_t>(heightUnit);
    Settings.Transform.KeepAspectRatio = keepAspect ? 1 : 0;
}
}  // namespace

TEST(ParseColourTest, SixCharactersReadAsHexPairsAnythingElseIsBlack) {
    struct Case {
        const char* text;
        Rgb expected;
    };
    const std::vector<Case> cases = {
        {"FF8000", {255, 128, 0}}, {"ff8000", {255, 128, 0}}, {"0A0b0C", {10, 11, 12}},
        {"12345", {0, 0, 0}},      {"1234567", {0, 0, 0}},    {"", {0, 0, 0}},
        {"#FF8000", {0, 0, 0}},     {"1G2H3I", {1, 2, 3}},     {"ZZZZZZ", {0, 0, 0}},
    };
    for (const Case& c : cases) {
        Rgb got{-1, -1, -1};
        ParseColour(c.text, &got.red, &got.green, &got.blue);
        EXPECT_EQ(got, c.expected) << '"' << c.text << '"';
    }
}

TEST_F(TransformsTest, EmptyImageAndSwitchesOffReturnTheImageUnchanged) {
    EnableRotation(90, 0);
    EnableResize(10, 0, 10, 0, false);
    Settings.Transform.DoImageFlipHorizontal = Settings.Transform.DoImageFlipVertical = 1;
    EXPECT_EQ(RotateImage(nullptr), nullptr);
    EXPECT_EQ(ResizeImage(nullptr, 4, 4), nullptr);
    FlipImage(nullptr);

    ApplyDefaults(true);
    ImagePtr image = MakePattern(4, 3);
    ImagePtr reference = MakePattern(4, 3);
    FIBITMAP* original = image.get();
    EXPECT_EQ(RotateImage(original), original);
    EXPECT_EQ(ResizeImage(original, 4, 3), original);
    FlipImage(original);
    EXPECT_TRUE(SamePixels(original, reference.get()));
}

TEST_F(TransformsTest, AnglesOutsideOneTo359LeaveTheImageUntouched) {
    for (int angle : {0, 360, -90, 720}) {
        EnableRotation(angle, 0);
        ImagePtr image = MakeImage(4, 2, 8);
        FIBITMAP* original = image.get();
        FIBITMAP* result = RotateImage(image.release());
        image.reset(result);
        EXPECT_EQ(result, original) << angle;
        EXPECT_EQ(FreeImage_GetBPP(result), 8u) << angle;
        EXPECT_EQ(Width(result), 4u) << angle;
    }
}

TEST_F(TransformsTest, QuarterTurnSwapsSidesAndTurnsCounterClockwise) {
    EnableRotation(90, 0);
    ImagePtr image = MakeImage(6, 6, 24, {0, 0, 255});
    SetPixel(image.get(), 5, 5, {255, 0, 0});  // top right
    image.reset(RotateImage(image.release()));
    ASSERT_TRUE(image);
    EXPECT_EQ(PixelAt(image.get(), 0, 5), (Rgb{255, 0, 0})) << "top right moves to top left";

    // The advanced turn pivots on half the size, which lies half a pixel off the middle of the
    // pixel grid, so the corner lands within a pixel of the top left.
    EnableRotation(90, 1);
    ImagePtr centred = MakeImage(6, 6, 24, {0, 0, 255});
    SetPixel(centred.get(), 5, 5, {255, 0, 0});
    centred.reset(RotateImage(centred.release()));
    ASSERT_TRUE(centred);
    EXPECT_EQ(Width(centred.get()), 6u);
    int redCount = 0;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            if (PixelAt(centred.get(), x, y) == (Rgb{255, 0, 0})) {
                ++redCount;
                EXPECT_LE(x, 1);
                EXPECT_GE(y, 4);
            }
    EXPECT_EQ(redCount, 1);

    EnableRotation(90, 0);
    ImagePtr wide = MakeImage(40, 10, 24);
    wide.reset(RotateImage(wide.release()));
    ASSERT_TRUE(wide);
    EXPECT_EQ(Width(wide.get()), 10u);
    EXPECT_EQ(Height(wide.get()), 40u);
}

TEST_F(TransformsTest, SimpleRotationGrowsAndFillsOpaqueCornersWithTheBackground) {
    struct Case {
        int bpp;
        BYTE sourceAlpha;  // of a 32-bit source
    };
    // Palette and 16-bit pictures are widened to 24 bits; a 32-bit one keeps its alpha, and its
    // corners are the background colour, opaque, whatever the picture's own alpha.
    const std::vector<Case> cases = {{8, 0}, {16, 0}, {24, 0}, {32, 255}, {32, 0}, {32, 90}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bpp << " bits, alpha " << int(c.sourceAlpha));
        EnableRotation(45, 0);
        StoreSetting("Transform", "Image Rotation Back Color", "FF8000");
        ImagePtr image = MakeImage(40, 20, 24, {0, 0, 255});
        if (c.bpp == 8) image.reset(FreeImage_ColorQuantize(image.get(), FIQ_WUQUANT));
        if (c.bpp == 16) image.reset(FreeImage_ConvertTo16Bits565(image.get()));
        if (c.bpp == 32) {
            image.reset(FreeImage_ConvertTo32Bits(image.get()));
            for (unsigned y = 0; y < 20; ++y)
                for (unsigned x = 0; x < 40; ++x) FreeImage_GetScanLine(image.get(), y)[4 * x + FI_RGBA_ALPHA] = c.sourceAlpha;
        }
        ASSERT_EQ(FreeImage_GetBPP(image.get()), unsigned(c.bpp));
        image.reset(RotateImage(image.release()));
        ASSERT_TRUE(image);
        EXPECT_EQ(FreeImage_GetBPP(image.get()), c.bpp == 32 ? 32u : 24u);
        EXPECT_GT(Width(image.get()), 40u);
        EXPECT_GT(Height(image.get()), 20u);
        const int right = static_cast<int>(Width(image.get())) - 1;
        const int top = static_cast<int>(Height(image.get())) - 1;
        for (auto [x, y] : {std::pair{0, 0}, {right, 0}, {0, top}, {right, top}}) {
            RGBQUAD corner{};
            FreeImage_GetPixelColor(image.get(), x, y, &corner);
            EXPECT_EQ(PixelAt(image.get(), x, y), (Rgb{255, 128, 0})) << x << "," << y;
            if (c.bpp == 32) {
                EXPECT_EQ(corner.rgbReserved, 255) << x << "," << y;
            }
        }
        RGBQUAD middle{};
        FreeImage_GetPixelColor(image.get(), right / 2, top / 2, &middle);
        EXPECT_EQ(PixelAt(image.get(), right / 2, top / 2), (Rgb{0, 0, 255}));
        if (c.bpp == 32) {
            EXPECT_EQ(middle.rgbReserved, c.sourceAlpha);
        }
    }
}

TEST_F(TransformsTest, SimpleRotationSizeIsTheLibrarysOwn) {
    const std::pair<int, int> sizes[] = {{1, 1}, {2, 3}, {17, 5}, {40, 30}, {64, 64}, {101, 7}, {3, 200}};
    for (auto [width, height] : sizes) {
        ImagePtr image = MakeImage(width, height, 24);
        for (int angle = 1; angle < 360; ++angle) {
            ImagePtr rotated(FreeImage_Rotate(image.get(), angle, nullptr));
            ASSERT_TRUE(rotated);
            int rotatedWidth = 0, rotatedHeight = 0;
            SimpleRotationSize(width, height, angle, &rotatedWidth, &rotatedHeight);
            EXPECT_EQ(rotatedWidth, int(Width(rotated.get()))) << width << "x" << height << " by " << angle;
            EXPECT_EQ(rotatedHeight, int(Height(rotated.get()))) << width << "x" << height << " by " << angle;
        }
    }
}

TEST_F(TransformsTest, RotationBeyondTheLargestTextureSideYieldsNoImage) {
    struct Case {
        int width, height, angle;
        bool fits;
    };
    const int side = kMaxPictureSide;
    const std::vector<Case> cases = {
        {side + 1, 1, 1, true},  // turns into exactly the largest side
        {side + 2, 1, 1, false},
        {side, 300, 1, false},  // 16388 wide
        {300, side, 359, false},
        {side, 300, 90, true},
    };
    for (const Case& c : cases) {
        EnableRotation(c.angle, 0);
        ImagePtr image(FreeImage_Allocate(c.width, c.height, 24));
        image.reset(RotateImage(image.release()));
        EXPECT_EQ(image != nullptr, c.fits) << c.width << "x" << c.height << " by " << c.angle;
        if (image) {
            EXPECT_LE(std::max(Width(image.get()), Height(image.get())), unsigned(side));
        }
    }
}

TEST_F(TransformsTest, AdvancedRotationKeepsTheSize) {
    EnableRotation(30, 1);
    ImagePtr image = MakePattern(40, 20);
    image.reset(RotateImage(image.release()));
    ASSERT_TRUE(image);
    EXPECT_EQ(Width(image.get()), 40u);
    EXPECT_EQ(Height(image.get()), 20u);
}

TEST_F(TransformsTest, RotationWidensImagesOf16BitsOrLessAndAbove32) {
    struct Case {
        int type;
        FREE_IMAGE_TYPE imageType;
        int bpp;
        unsigned expected;
    };
    const std::vector<Case> cases = {
        {0, FIT_BITMAP, 1, 24},  {0, FIT_BITMAP, 4, 24},  {0, FIT_BITMAP, 8, 24}, {0, FIT_BITMAP, 16, 24},
        {0, FIT_BITMAP, 24, 24}, {0, FIT_BITMAP, 32, 32}, {0, FIT_RGB16, 48, 24}, {1, FIT_BITMAP, 8, 24},
        {1, FIT_BITMAP, 32, 32},
        // An unknown rotation type rotates nothing but the image is still widened.
        {7, FIT_BITMAP, 8, 24},
    };
    for (const Case& c : cases) {
        EnableRotation(90, c.type);
        ImagePtr image(FreeImage_AllocateT(c.imageType, 8, 4, c.bpp));
        ASSERT_TRUE(image);
        image.reset(RotateImage(image.release()));
        ASSERT_TRUE(image) << c.bpp;
        EXPECT_EQ(FreeImage_GetBPP(image.get()), c.expected) << "type " << c.type << " bpp " << c.bpp;
        EXPECT_EQ(Width(image.get()), c.type == 0 ? 4u : 8u) << "type " << c.type << " bpp " << c.bpp;
    }
}

TEST_F(TransformsTest, ResizeTargets) {
    struct Case {
        const char* what;
        int width, widthUnit, height, heightUnit;
        bool keepAspect;
        int resizeType;
        unsigned sourceWidth, sourceHeight;
        unsigned expectedWidth, expectedHeight;
    };
    const std::vector<Case> cases = {
        {"percent rounds halves to even", 50, 1, 50, 1, false, 0, 101, 11, 50, 6},
        {"percent up", 150, 1, 200, 1, false, 0, 10, 3, 15, 6},
        {"pixels", 30, 0, 7, 0, false, 0, 10, 10, 30, 7},
        {"aspect, landscape", 200, 0, 200, 0, true, 0, 400, 300, 200, 150},
        {"aspect, portrait", 200, 0, 200, 0, true, 0, 300, 400, 150, 200},
        {"aspect rounds halves up", 3, 0, 9, 0, true, 0, 4, 2, 3, 2},
        {"large only, smaller both ways", 800, 0, 600, 0, false, 1, 640, 480, 640, 480},
        {"large only, wider", 800, 0, 600, 0, false, 1, 1024, 480, 800, 600},
        {"no height, aspect off", 300, 0, 0, 0, false, 0, 20, 10, 20, 10},
        {"no height, aspect on", 300, 0, 0, 0, true, 0, 20, 10, 20, 10},
        {"negative width", -5, 0, 8, 0, false, 0, 20, 10, 20, 10},
        {"unknown unit", 30, 2, 30, 0, false, 0, 20, 10, 20, 10},
        {"percent rounding to 0", 1, 1, 50, 1, false, 0, 20, 10, 20, 10},
    };
    for (const Case& c : cases) {
        EnableResize(c.width, c.widthUnit, c.height, c.heightUnit, c.keepAspect);
        Settings.Transform.ImageResizeType = static_cast<int8_t>(c.resizeType);
        ImagePtr image = MakeImage(c.sourceWidth, c.sourceHeight, 24, {10, 20, 30});
        FIBITMAP* original = image.get();
        image.reset(ResizeImage(image.release(), c.sourceWidth, c.sourceHeight));
        ASSERT_TRUE(image) << c.what;
        EXPECT_EQ(Width(image.get()), c.expectedWidth) << c.what;
        EXPECT_EQ(Height(image.get()), c.expectedHeight) << c.what;
        if (c.expectedWidth == c.sourceWidth && c.expectedHeight == c.sourceHeight) {
            EXPECT_EQ(image.get(), original) << c.what << ": an unchanged image is the same image";
        }
    }
}

TEST_F(TransformsTest, ResizeToTheCurrentSizeReturnsTheSameImage) {
    EnableResize(100, 1, 12, 0, false);
    ImagePtr image = MakePattern(9, 12);
    FIBITMAP* original = image.get();
    EXPECT_EQ(ResizeImage(original, 9, 12), original);
}

TEST_F(TransformsTest, AspectRoundingToZeroHeightYieldsNoImage) {
    EnableResize(1, 0, 1, 0, true);
    ImagePtr image = MakeImage(1000, 10, 24);
    EXPECT_EQ(ResizeImage(image.release(), 1000, 10), nullptr);
}

TEST_F(TransformsTest, ResizeBeyondTheLargestTextureSideYieldsNoImage) {
    struct Case {
        int width, widthUnit, height, heightUnit;
        bool keepAspect;
        bool fits;
    };
    const std::vector<Case> cases = {
        {kMaxPictureSide, 0, 2, 0, false, true},
        {kMaxPictureSide + 1, 0, 2, 0, false, false},
        {100000, 0, 100000, 0, false, false},
        {20000, 1, 50, 1, false, false},      // 200 times 100 pixels
        {kMaxPictureSide * 2, 0, 1, 0, true, false},
        {40, 0, kMaxPictureSide * 4, 0, true, true},  // the aspect rule drops the height to 2
    };
    for (const Case& c : cases) {
        EnableResize(c.width, c.widthUnit, c.height, c.heightUnit, c.keepAspect);
        ImagePtr image = MakeImage(100, 4, 24);
        image.reset(ResizeImage(image.release(), 100, 4));
        EXPECT_EQ(image != nullptr, c.fits) << c.width << " x " << c.height;
    }
}

TEST_F(TransformsTest, ResizeAlgorithmPicksTheFilter) {
    struct Case {
        int code;
        FREE_IMAGE_FILTER filter;
    };
    const std::vector<Case> cases = {
        {0, FILTER_BOX},        {1, FILTER_BILINEAR}, {2, FILTER_BSPLINE}, {3, FILTER_BICUBIC},
        {4, FILTER_CATMULLROM}, {5, FILTER_LANCZOS3}, {6, FILTER_BICUBIC}, {-1, FILTER_BICUBIC},
    };
    ImagePtr source = MakePattern(23, 17);
    // The check below only means something if the filters give different pictures here.
    ImagePtr box(FreeImage_Rescale(source.get(), 10, 7, FILTER_BOX));
    ImagePtr bspline(FreeImage_Rescale(source.get(), 10, 7, FILTER_BSPLINE));
    ASSERT_FALSE(SamePixels(box.get(), bspline.get()));

    for (const Case& c : cases) {
        EnableResize(10, 0, 7, 0, false);
        Settings.Transform.ImageResizeAlgorithm = static_cast<int8_t>(c.code);
        ImagePtr expected(FreeImage_Rescale(source.get(), 10, 7, c.filter));
        ImagePtr image(FreeImage_Clone(source.get()));
        image.reset(ResizeImage(image.release(), 23, 17));
        ASSERT_TRUE(image);
        EXPECT_TRUE(SamePixels(image.get(), expected.get())) << "algorithm " << c.code;
    }
}

TEST_F(TransformsTest, FlipsMirrorAndBothTogetherTurnHalfway) {
    ImagePtr source = MakePattern(7, 5);
    const int right = 6, top = 4;

    Settings.Transform.DoImageFlipHorizontal = 1;
    ImagePtr horizontal(FreeImage_Clone(source.get()));
    FlipImage(horizontal.get());
    EXPECT_EQ(PixelAt(horizontal.get(), 0, 1), PixelAt(source.get(), right, 1));
    EXPECT_EQ(PixelAt(horizontal.get(), 2, 3), PixelAt(source.get(), right - 2, 3));

    ApplyDefaults(true);
    Settings.Transform.DoImageFlipVertical = 1;
    ImagePtr vertical(FreeImage_Clone(source.get()));
    FlipImage(vertical.get());
    EXPECT_EQ(PixelAt(vertical.get(), 1, 0), PixelAt(source.get(), 1, top));
    EXPECT_EQ(PixelAt(vertical.get(), 3, 2), PixelAt(source.get(), 3, top - 2));

    Settings.Transform.DoImageFlipHorizontal = 1;
    ImagePtr both(FreeImage_Clone(source.get()));
    FlipImage(both.get());
    ImagePtr halfTurn(FreeImage_Rotate(source.get(), 180, nullptr));
    EXPECT_TRUE(SamePixels(both.get(), halfTurn.get()));
    EXPECT_FALSE(SamePixels(both.get(), source.get()));
}
