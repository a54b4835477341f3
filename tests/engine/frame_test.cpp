// The solid frame drawn over real FreeImage pictures, checked pixel by pixel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/settings.h"
#include "engine/dds_check.h"
#include "engine/frame_watermark.h"
#include "engine/image_fixture.h"
#include "support/test_support.h"

namespace {

const Rgb kPicture{128, 128, 128};
const Rgb kTop{255, 0, 0}, kRight{0, 255, 0}, kBottom{0, 0, 255}, kLeft{255, 255, 0};

// Top-down coordinates, as the frame is described.
Rgb At(FIBITMAP* image, int x, int y) { return PixelAt(image, x, static_cast<int>(FreeImage_GetHeight(image)) - 1 - y); }

bool Near(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
           std::abs(a.blue - b.blue) <= tolerance;
}

std::string Show(Rgb c) {
    return std::string("(") + std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue) + ")";
}

void SetFrame(int doFrame, int left, int right, int top, int bottom, int opacity) {
    Settings.Frame.DoFrame = static_cast<int8_t>(doFrame);
    Settings.Frame.SolidLeft = left;
    Settings.Frame.SolidRight = right;
    Settings.Frame.SolidTop = top;
    Settings.Frame.SolidBottom = bottom;
    Settings.Frame.SolidOpacity = opacity;
    Settings.Frame.SolidLeftColor = "FFFF00";
    Settings.Frame.SolidRightColor = "00FF00";
    Settings.Frame.SolidTopColor = "FF0000";
    Settings.Frame.SolidBottomColor = "0000FF";
}

ImagePtr Framed(int width, int height, int bpp) {
    ImagePtr source = MakeImage(width, height, bpp, kPicture);
    return ImagePtr(DrawFrame(source.release(), width, height));
}

class FrameTest : public testing::Test {
protected:
    void SetUp() override { ApplyDefaults(true); }
};

struct Probe {
    int x, y;
    Rgb expected;
};

struct FrameCase {
    const char* name;
    int left, right, top, bottom, opacity;
    std::vector<Probe> probes;
};

TEST_F(FrameTest, BandsCornersAndOpacity) {
    const Rgb halfTop{191, 64, 64}, halfLeft{191, 191, 64};
    const FrameCase cases[] = {
        {"widths 10 20 30 40",
         10, 20, 30, 40, 255,
         {// just inside and just outside each band's inner edge
          {100, 29, kTop}, {100, 30, kPicture},
          {180, 50, kRight}, {179, 50, kPicture},
          {100, 60, kBottom}, {100, 59, kPicture},
          {9, 50, kLeft}, {10, 50, kPicture},
          // mitred corners: each side of the top-left diagonal, and the far corners
          {8, 5, kTop}, {1, 20, kLeft}, {190, 1, kTop}, {198, 20, kRight},
          {199, 70, kRight}, {150, 98, kBottom}, {20, 98, kBottom}, {1, 70, kLeft}}},
        {"opacity 128 blends half-way", 10, 20, 30, 40, 128,
         {{100, 15, halfTop}, {5, 50, halfLeft}, {100, 45, kPicture}}},
        {"negative widths draw nothing", -10, -20, -30, -40, 255,
         {{0, 0, kPicture}, {199, 99, kPicture}, {100, 50, kPicture}}},
        {"one side only", 0, 0, 25, 0, 255,
         {{0, 0, kTop}, {199, 24, kTop}, {0, 25, kPicture}, {199, 99, kPicture}}},
    };
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetFrame(1, c.left, c.right, c.top, c.bottom, c.opacity);
        ImagePtr image = Framed(200, 100, 24);
        ASSERT_TRUE(image);
        EXPECT_EQ(FreeImage_GetBPP(image.get()), 24u);
        ASSERT_EQ(FreeImage_GetWidth(image.get()), 200u);
        for (const Probe& p : c.probes) {
            Rgb seen = At(image.get(), p.x, p.y);
            EXPECT_TRUE(Near(seen, p.expected, 2))
                << "at " << p.x << "," << p.y << " saw " << Show(seen) << " wanted " << Show(p.expected);
        }
    }
}

// A pixel the corner's diagonal halves shows the drawing order: the corner box under both bands,
// then the band drawn later over the earlier one (top, right, bottom, left).
TEST_F(FrameTest, CornerDiagonalsShowTheBandOrder) {
    SetFrame(1, 20, 20, 20, 20, 255);
    Settings.Frame.SolidLeftColor = "FFFFFF";
    ImagePtr image = Framed(100, 60, 24);
    ASSERT_TRUE(image);
    const Probe probes[] = {
        {5, 5, {255, 128, 128}},   // top box, top band, then left over it
        {94, 5, {64, 191, 0}},     // right box, top band, then right over it
        {94, 54, {0, 64, 191}},    // bottom box, right band, then bottom over it
        {5, 54, {191, 191, 255}},  // left box, bottom band, then left over it
    };
    for (const Probe& p : probes) {
        Rgb seen = At(image.get(), p.x, p.y);
        EXPECT_TRUE(Near(seen, p.expected, 12))
            << "at " << p.x << "," << p.y << " saw " << Show(seen) << " wanted " << Show(p.expected);
    }
}

// Every pixel whose square lies wholly inside the top trapezoid has the top colour, and every
// pixel wholly inside the inner rectangle keeps the picture.
TEST_F(FrameTest, TopBandFillsItsTrapezoid) {
    SetFrame(1, 10, 20, 30, 40, 255);
    ImagePtr image = Framed(200, 100, 24);
    ASSERT_TRUE(image);
    auto insideTop = [](double x, double y) {
        // (0,0) (200,0) (180,30) (10,30): left edge x = y/3, right edge x = 200 - 2y/3
        return y >= 0 && y <= 30 && x >= y / 3.0 && x <= 200 - 2.0 * y / 3.0;
    };
    int checked = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            Rgb seen = At(image.get(), x, y);
            if (insideTop(x, y) && insideTop(x + 1, y) && insideTop(x, y + 1) && insideTop(x + 1, y + 1)) {
                ++checked;
                ASSERT_TRUE(Near(seen, kTop, 0)) << x << "," << y << " " << Show(seen);
            }
            if (x >= 10 && x < 180 && y >= 30 && y < 60) {
                ASSERT_EQ(seen, kPicture) << x << "," << y;
            }
        }
    EXPECT_GT(checked, 4000);
}

TEST_F(FrameTest, WidthsZeroOrFrameOffOnlyChangeDepth) {
    struct {
        int doFrame, bpp;
        unsigned expectedBpp;
    } cases[] = {{1, 32, 24}, {1, 8, 24}, {2, 32, 24}, {0, 32, 32}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "do frame " << c.doFrame << ", " << c.bpp << " bits");
        SetFrame(c.doFrame, 0, 0, 0, 0, 255);
        ImagePtr original = c.bpp == 8 ? MakePattern(31, 17) : MakeImage(31, 17, c.bpp, {10, 200, 30});
        if (c.bpp == 8) original.reset(FreeImage_ConvertTo8Bits(original.get()));
        ImagePtr copy(FreeImage_Clone(original.get()));
        ImagePtr image(DrawFrame(copy.release(), 31, 17));
        ASSERT_TRUE(image);
        EXPECT_EQ(FreeImage_GetBPP(image.get()), c.expectedBpp);
        EXPECT_TRUE(SamePixels(image.get(), original.get()));
    }
}

TEST_F(FrameTest, WidthsBeyondThePictureCoverIt) {
    const int mixed[][4] = {{-2147483647, 2147483647, 300, -5}, {-2147483647, -2147483647, 2147483647, 7}};
    for (const auto& w : mixed) {
        SCOPED_TRACE(testing::Message() << w[0] << " " << w[1] << " " << w[2] << " " << w[3]);
        SetFrame(1, w[0], w[1], w[2], w[3], 255);
        ImagePtr image = Framed(40, 30, 24);
        ASSERT_TRUE(image);
        EXPECT_EQ(FreeImage_GetWidth(image.get()), 40u);
    }
    // Each side at least as wide as the picture: no pixel of the black picture shows, not even
    // on the antialiased diagonals where two bands meet.
    for (int width : {500, 2147483647}) {
        SCOPED_TRACE(width);
        SetFrame(1, width, width, width, width, 255);
        ImagePtr covered(DrawFrame(MakeImage(40, 30, 24, {0, 0, 0}).release(), 40, 30));
        ASSERT_TRUE(covered);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                Rgb seen = At(covered.get(), x, y);
                ASSERT_GE(seen.red + seen.green + seen.blue, 250) << x << "," << y << " " << Show(seen);
            }
    }
}

// Drawing surfaces stop at 32767 pixels a side, so a strip along this picture cannot be drawn:
// the step fails rather than passing the picture on without its frame.
TEST_F(FrameTest, FrameThatCannotBeDrawnFailsTheStep) {
    SetFrame(1, 0, 0, 1, 0, 255);
    EXPECT_EQ(Framed(40000, 2, 24), nullptr);
    SetFrame(1, 1, 0, 0, 0, 255);
    EXPECT_TRUE(Framed(40000, 2, 24)) << "a strip the surfaces can hold is drawn";
}

// The console converts with a frame; the decoded texture shows it (DXT1 leaves a little error).
TEST(FrameConsole, FrameReachesTheTexture) {
    const std::string folder = ScratchFolder("console-frame");
    ImagePtr picture = MakeImage(64, 48, 24, {90, 140, 60});
    ASSERT_TRUE(FreeImage_Save(FIF_BMP, picture.get(), (folder + "in.bmp").c_str(), 0));
    CommandResult run = RunCommand("timeout 60 '" + std::string(QUARVEL_KESTRIX) + "' -q -i '" + folder +
                                   "in.bmp' -o '" + folder + "' --fr-solid-left=8 --fr-solid-left-color=FF0000" +
                                   " --fr-solid-top=12 --fr-solid-top-color=00FFFF");
    ASSERT_EQ(run.exitStatus, 0) << run.out << run.err;
    std::vector<Picture> levels = ReadDdsLevels(folder + "in.dds");
    ASSERT_FALSE(levels.empty());
    const Picture& top = levels.front();
    ASSERT_EQ(top.width, 64);
    auto near = [&](int x, int y, Rgb colour) {
        return std::abs(top.At(x, y, 0) - colour.red) <= 12 && std::abs(top.At(x, y, 1) - colour.green) <= 12 &&
               std::abs(top.At(x, y, 2) - colour.blue) <= 12;
    };
    EXPECT_TRUE(near(2, 30, {255, 0, 0}));
    EXPECT_TRUE(near(30, 4, {0, 255, 255}));
    EXPECT_TRUE(near(30, 30, {90, 140, 60}));
    EXPECT_TRUE(near(62, 46, {90, 140, 60}));
}

}  // namespace
