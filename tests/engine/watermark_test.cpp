// Text and image watermarks: text expansion, layout, placement and blending on real pictures.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/job.h"
#include "app/settings.h"
#include "engine/dds_check.h"
#include "engine/frame_watermark.h"
#include "engine/image_fixture.h"
#include "engine/watermark_font.h"
#include "support/test_support.h"

extern char** environ;

namespace {

struct Rgba {
    int red, green, blue, alpha;
};

// Top-down coordinates.
Rgba OverlayAt(FIBITMAP* image, int x, int y) {
    RGBQUAD q{};
    FreeImage_GetPixelColor(image, x, FreeImage_GetHeight(image) - 1 - y, &q);
    return {q.rgbRed, q.rgbGreen, q.rgbBlue, FreeImage_GetBPP(image) == 32 ? q.rgbReserved : 255};
}
Rgb At(FIBITMAP* image, int x, int y) {
    Rgba p = OverlayAt(image, x, y);
    return {p.red, p.green, p.blue};
}
bool Near(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
           std::abs(a.blue - b.blue) <= tolerance;
}
int Width(FIBITMAP* image) { return static_cast<int>(FreeImage_GetWidth(image)); }
int Height(FIBITMAP* image) { return static_cast<int>(FreeImage_GetHeight(image)); }

// A text pixel of a white-on-black overlay: opaque enough and bright.
bool IsInk(Rgba p) { return p.alpha >= 128 && p.red >= 128; }

// Rows holding ink, grouped into bands separated by inkless rows.
std::vector<std::pair<int, int>> InkBands(FIBITMAP* overlay) {
    std::vector<std::pair<int, int>> bands;
    bool inBand = false;
    for (int y = 0; y < Height(overlay); ++y) {
        bool ink = false;
        for (int x = 0; x < Width(overlay) && !ink; ++x) ink = IsInk(OverlayAt(overlay, x, y));
        if (ink && !inBand) bands.push_back({y, y});
        if (ink) bands.back().second = y;
        inBand = ink;
    }
    return bands;
}

// First and last column with ink.
std::pair<int, int> InkColumns(FIBITMAP* overlay) {
    int first = -1, last = -1;
    for (int x = 0; x < Width(overlay); ++x)
        for (int y = 0; y < Height(overlay); ++y)
            if (IsInk(OverlayAt(overlay, x, y))) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

class WatermarkTest : public testing::Test {
protected:
    void SetUp() override {
        ApplyDefaults(true);
        ResetJob();
        Job.OutputFormat = "dds";
        Job.InputPath = "/tmp/Photo.bmp";
        Job.SourceBitDepth = 24;
        Job.AutomaticDepth = true;
        auto& w = Settings.Watermark;
        w.DoWatermark = 1;
        w.FontColor = "FFFFFF";
        w.BackColor = "000000";
        w.BackOpacity = 255;
        w.TextOpacity = 255;
        w.TextXOffset = 0;
        w.TextYOffset = 0;
        ASSERT_TRUE(LoadWatermarkFont("Liberation Sans", 14, false, false, false, false));
    }
    void TearDown() override { FreeWatermarkFont(); }

    ImagePtr TextOverlay(const std::string& text) {
        Settings.Watermark.Text = text;
        return ImagePtr(BuildTextOverlay());
    }
};

TEST_F(WatermarkTest, TextExpandsTokensOnlyWithTwoPercentSigns) {
    Job.OutputWidth = 200;
    Job.OutputHeight = 100;
    const struct {
        const char* input;
        const char* text;
        const char* expected;
    } cases[] = {
        {"/pictures/a%width%b.bmp", "%width%x%height%", "200x100"},
        // Only tokens written in the text expand: case kept outside them, %width% not in the text.
        {"/pictures/a%width%b.bmp", "Made by %FileName% Now", "Made by a%width%b Now"},
        // A token of the text expands everywhere, also in an earlier token's value, as in the file name.
        {"/pictures/a%width%b.bmp", "%filename%-%WIDTH%", "a200b-200"},
        {"/pictures/a%ext%b.bmp", "%ext% %filename%", "dds addsb"},
        {"/pictures/a%EXT%b.bmp", "%filename% %Ext%", "addsb dds"},
        // ... but never by its own token or an earlier one.
        {"/pictures/%filename%.bmp", "%filename%", "%filename%"},
        {"/pictures/%filename%.bmp", "%ext[u]%%filename%", "DDS%filename%"},
        {"/pictures/p.bmp", "50% off", "50% off"},
        {"/pictures/p.bmp", "%ext[u]% %Ext% %bpp%", "DDS dds 0"},
        {"/pictures/p.bmp", "Line 1%EOL%Line 2", "Line 1%EOL%Line 2"},
        {"/pictures/p.bmp", "100%% sure", "100%% sure"},
    };
    for (const auto& c : cases) {
        Job.InputPath = c.input;
        Settings.Watermark.Text = c.text;
        EXPECT_EQ(WatermarkText(), c.expected) << c.text << " for " << c.input;
    }
}

TEST_F(WatermarkTest, LinesSplitAtEolInAnyCase) {
    const struct {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"Line 1%EOL%Line 2", {"Line 1", "Line 2"}},
        {"a%eol%b%EoL%c", {"a", "b", "c"}},
        {"%eol%", {"", ""}},
        {"no break %eol here", {"no break %eol here"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitWatermarkLines(c.text), c.lines) << c.text;
}

TEST_F(WatermarkTest, AlignLineByAlignment) {
    Settings.Watermark.TextPadding = 5;
    const struct {
        int alignment, line, box, x;
    } cases[] = {{0, 40, 100, 5}, {1, 40, 100, 30}, {1, 40, 101, 31}, {1, 41, 100, 30}, {2, 40, 100, 55}, {7, 40, 100, 0}};
    for (const auto& c : cases) {
        Settings.Watermark.TextAlignment = static_cast<int8_t>(c.alignment);
        EXPECT_EQ(AlignLine(c.line, c.box), c.x) << c.alignment << " " << c.line << " " << c.box;
    }
}

TEST_F(WatermarkTest, PositionsOffsetsAndFrameBoundary) {
    // Picture 200 x 100, overlay 50 x 20, offsets 10, 10.
    const struct {
        int position, frame, boundary, x, y;
    } cases[] = {
        {0, 0, 0, 10, 10},  {1, 0, 0, 75, 10},  {2, 0, 0, 140, 10}, {3, 0, 0, 10, 40},  {4, 0, 0, 75, 40},
        {5, 0, 0, 140, 40}, {6, 0, 0, 10, 70},  {7, 0, 0, 75, 70},  {8, 0, 0, 140, 70}, {9, 0, 0, 0, 0},
        // a 10-pixel frame only counts with boundary 1
        {8, 10, 1, 130, 60}, {8, 10, 0, 140, 70}, {0, 10, 1, 20, 20}, {4, 10, 1, 75, 40}, {9, 10, 1, 10, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.position << " frame " << c.frame << " boundary " << c.boundary);
        Settings.Watermark.TextPosition = static_cast<int8_t>(c.position);
        Settings.Watermark.TextXOffset = 10;
        Settings.Watermark.TextYOffset = 10;
        Settings.Watermark.TextBoundary = static_cast<int8_t>(c.boundary);
        Settings.Frame.DoFrame = c.frame ? 1 : 0;
        Settings.Frame.SolidLeft = Settings.Frame.SolidRight = Settings.Frame.SolidTop = Settings.Frame.SolidBottom = c.frame;
        int x = -1, y = -1;
        PlaceWatermark(200, 100, 50, 20, &x, &y);
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
    }
}

TEST_F(WatermarkTest, FitCutsFromTheTopLeftOrSkips) {
    // Picture 200 x 100; the overlay is 150 x 40 with a marked top-left pixel.
    const struct {
        int xOffset, yOffset, frame, width, height;  // width 0: skipped
    } cases[] = {{10, 10, 0, 150, 40}, {60, 10, 0, 140, 40}, {10, 70, 0, 150, 30},
                 {60, 70, 10, 120, 10}, {200, 10, 0, 0, 0},  {10, 10, 100, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.xOffset << "," << c.yOffset << " frame " << c.frame);
        Settings.Watermark.TextXOffset = c.xOffset;
        Settings.Watermark.TextYOffset = c.yOffset;
        Settings.Watermark.TextBoundary = 1;
        Settings.Frame.DoFrame = c.frame ? 1 : 0;
        Settings.Frame.SolidLeft = Settings.Frame.SolidRight = Settings.Frame.SolidTop = Settings.Frame.SolidBottom = c.frame;
        ImagePtr overlay = MakeImage(150, 40, 32, {0, 0, 255});
        SetPixel(overlay.get(), 0, 39, {255, 0, 0});
        ImagePtr fitted(FitWatermark(overlay.release(), 200, 100));
        if (c.width == 0) {
            EXPECT_FALSE(fitted);
            continue;
        }
        ASSERT_TRUE(fitted);
        EXPECT_EQ(Width(fitted.get()), c.width);
        EXPECT_EQ(Height(fitted.get()), c.height);
        EXPECT_EQ(At(fitted.get(), 0, 0), (Rgb{255, 0, 0}));
    }
}

TEST_F(WatermarkTest, TextLayouts) {
    const struct {
        const char* text;
        int alignment, padding, leading;
        size_t lines;
    } cases[] = {
        {"Wide line here%EOL%l", 0, 4, 0, 2},
        {"Wide line here%eol%l", 1, 4, 0, 2},
        {"Wide line here%Eol%l", 2, 4, 0, 2},
        {"Wide line here%EOL%l%EOL%l", 0, 0, 12, 3},
        {"One line", 0, 7, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + std::string(" alignment ") + std::to_string(c.alignment));
        Settings.Watermark.TextAlignment = static_cast<int8_t>(c.alignment);
        Settings.Watermark.TextPadding = c.padding;
        Settings.Watermark.FontLeading = c.leading;
        ImagePtr overlay = TextOverlay(c.text);
        ASSERT_TRUE(overlay);
        ASSERT_EQ(FreeImage_GetBPP(overlay.get()), 32u);
        auto bands = InkBands(overlay.get());
        ASSERT_EQ(bands.size(), c.lines);
        // Padding stays free of ink on every side.
        auto columns = InkColumns(overlay.get());
        EXPECT_GE(columns.first, c.padding);
        EXPECT_LT(columns.second, Width(overlay.get()) - c.padding);
        EXPECT_GE(bands.front().first, c.padding);
        EXPECT_LT(bands.back().second, Height(overlay.get()) - c.padding);
        // 14 points at 96 dpi is about 19 pixels: a line is a little taller than that.
        const int lineHeight = (Height(overlay.get()) - 2 * c.padding - c.leading * int(c.lines - 1)) / int(c.lines);
        EXPECT_GE(lineHeight, 18);
        EXPECT_LE(lineHeight, 26);
        if (c.lines > 1) {
            // The short last line "l" sits left, centre or right in the box.
            const auto last = bands.back();
            int first = -1, end = -1;
            for (int x = 0; x < Width(overlay.get()); ++x)
                for (int y = last.first; y <= last.second; ++y)
                    if (IsInk(OverlayAt(overlay.get(), x, y))) {
                        if (first < 0) first = x;
                        end = x;
                    }
            const int centre = Width(overlay.get()) / 2;
            if (c.alignment == 0) {
                EXPECT_LT(first, c.padding + 5);
            } else if (c.alignment == 1) {
                EXPECT_NEAR((first + end) / 2, centre, 4);
            } else {
                EXPECT_GT(end, Width(overlay.get()) - c.padding - 6);
            }
        }
        if (c.leading > 0) {
            EXPECT_GE(bands[1].first - bands[0].first, lineHeight + c.leading - 3);
        }
    }
}

// The box from the sizes of single lines: widest line, tallest line, each at least 10 once the
// text breaks; each further line adds the line height plus the leading; padding on every side.
TEST_F(WatermarkTest, BoxSizeFollowsTheLineRules) {
    auto size = [&](const std::string& text, int padding, int leading) {
        Settings.Watermark.TextPadding = padding;
        Settings.Watermark.FontLeading = leading;
        ImagePtr overlay = TextOverlay(text);
        return overlay ? std::pair{Width(overlay.get()), Height(overlay.get())} : std::pair{0, 0};
    };
    const auto wide = size("Wide line here", 0, 0), narrow = size("i", 0, 0);
    ASSERT_GT(wide.first, 10);
    ASSERT_LT(narrow.first, 10);
    const int line = wide.second;
    ASSERT_EQ(narrow.second, line);
    const struct {
        const char* text;
        int padding, leading, width, height;
    } cases[] = {
        {"i", 3, 50, narrow.first + 6, line + 6},  // one line: no minimum, no leading
        {"Wide line here%eol%i", 4, 3, wide.first + 8, line + (line + 3) + 8},
        {"i%EOL%i%eol%i", 0, -2, 10, line + 2 * (line - 2)},
        {"%eol%", 2, 0, 10 + 4, 2 * line + 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(size(c.text, c.padding, c.leading), (std::pair{c.width, c.height}));
    }
}

// A text that is not UTF-8 is drawn whole, the stray byte shown as a replacement mark.
TEST_F(WatermarkTest, TextThatIsNotUtf8IsDrawnWhole) {
    ImagePtr latin1 = TextOverlay("Caf\xE9 in Latin-1");
    ImagePtr without = TextOverlay("Caf in Latin-1");
    ASSERT_TRUE(latin1);
    ASSERT_TRUE(without);
    EXPECT_GT(Width(latin1.get()), Width(without.get()));
}

TEST_F(WatermarkTest, PlainTextHasHardEdgesAndSmoothTextDoesNot) {
    Settings.Watermark.BackOpacity = 40;
    Settings.Watermark.BackColor = "0000FF";
    // Underline and strike-out are drawn as shapes, not glyphs: they must be hard-edged too.
    const struct {
        int antialias;
        bool bold, italic, underline, strike;
    } cases[] = {{0, false, false, false, false}, {0, false, false, true, false}, {0, true, true, false, true},
                 {1, false, false, false, false}, {1, false, false, true, false}};
    for (const auto& c : cases) {
        const int antialias = c.antialias;
        SCOPED_TRACE(testing::Message() << "antialias " << antialias << " bold/italic/underline/strike "
                                        << c.bold << "/" << c.italic << "/" << c.underline << "/" << c.strike);
        ASSERT_TRUE(LoadWatermarkFont("Liberation Sans", 14, c.bold, c.italic, c.underline, c.strike));
        Settings.Watermark.TextAntialiasing = static_cast<int8_t>(antialias);
        ImagePtr overlay = TextOverlay("Soft edges? %eol%Rounded O");
        ASSERT_TRUE(overlay);
        int partial = 0, ink = 0;
        for (int y = 0; y < Height(overlay.get()); ++y)
            for (int x = 0; x < Width(overlay.get()); ++x) {
                Rgba p = OverlayAt(overlay.get(), x, y);
                if (p.alpha == 255 && p.red == 255 && p.green == 255 && p.blue == 255) ++ink;
                else if (!(p.alpha == 40 && p.red == 0 && p.green == 0 && p.blue == 255)) ++partial;
            }
        EXPECT_GT(ink, 100);
        if (antialias) {
            EXPECT_GT(partial, 50);
        } else {
            EXPECT_EQ(partial, 0);
        }
    }
}

TEST_F(WatermarkTest, UnderlineAndStrikeOutDrawFullRuns) {
    // "mmmm" has gaps between its strokes on every row but the lines drawn across it.
    const struct {
        bool underline, strike;
        int runs;
    } cases[] = {{false, false, 0}, {true, false, 1}, {false, true, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.underline << c.strike);
        ASSERT_TRUE(LoadWatermarkFont("Liberation Sans", 14, false, false, c.underline, c.strike));
        ImagePtr overlay = TextOverlay("mmmm");
        ASSERT_TRUE(overlay);
        const auto columns = InkColumns(overlay.get());
        int runs = 0;
        bool previous = false;
        for (int y = 0; y < Height(overlay.get()); ++y) {
            int inked = 0;
            for (int x = columns.first; x <= columns.second; ++x) inked += IsInk(OverlayAt(overlay.get(), x, y));
            const bool full = inked >= (columns.second - columns.first + 1) * 9 / 10;
            runs += full && !previous;
            previous = full;
        }
        EXPECT_EQ(runs, c.runs);
    }
}

TEST_F(WatermarkTest, BackOpacityOneLeavesThePictureVisiblyUnchanged) {
    Settings.Watermark.BackOpacity = 1;
    Settings.Watermark.TextPosition = 0;
    Settings.Watermark.Text = "Box";
    Settings.Watermark.TextPadding = 10;
    ImagePtr image(DrawWatermark(MakeImage(120, 60, 24, {200, 150, 100}).release(), 120, 60));
    ASSERT_TRUE(image);
    // Inside the padding, where the box has no text.
    for (auto [x, y] : {std::pair{3, 3}, std::pair{5, 8}}) {
        Rgb seen = At(image.get(), x, y);
        // FreeImage blends in 256ths: two levels at most.
        EXPECT_TRUE(Near(seen, {200, 150, 100}, 2)) << seen.red << " " << seen.green << " " << seen.blue;
    }
    // With an opaque box the same pixel takes the back colour.
    Settings.Watermark.BackOpacity = 255;
    image.reset(DrawWatermark(MakeImage(120, 60, 24, {200, 150, 100}).release(), 120, 60));
    EXPECT_EQ(At(image.get(), 3, 3), (Rgb{0, 0, 0}));
}

TEST_F(WatermarkTest, DrawnTextShowsAtItsPlaceAndOpacity) {
    Settings.Watermark.TextPosition = 8;
    Settings.Watermark.TextXOffset = 10;
    Settings.Watermark.TextYOffset = 10;
    Settings.Watermark.BackColor = "FF0000";
    Settings.Watermark.TextPadding = 3;
    Settings.Watermark.Text = "%width%x%height%";
    Job.OutputWidth = 200;
    Job.OutputHeight = 100;
    ImagePtr overlay(BuildTextOverlay());
    ASSERT_TRUE(overlay);
    const int w = Width(overlay.get()), h = Height(overlay.get());
    for (int opacity : {255, 128}) {
        SCOPED_TRACE(opacity);
        Settings.Watermark.BackOpacity = opacity;
        ImagePtr image(DrawWatermark(MakeImage(200, 100, 32, {0, 0, 255}).release(), 200, 100));
        ASSERT_TRUE(image);
        EXPECT_EQ(FreeImage_GetBPP(image.get()), 24u);
        const Rgb box = opacity == 255 ? Rgb{255, 0, 0} : Rgb{128, 0, 127};
        // The box's corners end 10 pixels from the picture's bottom-right corner.
        EXPECT_TRUE(Near(At(image.get(), 189, 89), box, 2));
        EXPECT_TRUE(Near(At(image.get(), 190 - w, 90 - h), box, 2));
        EXPECT_EQ(At(image.get(), 190, 89), (Rgb{0, 0, 255}));
        EXPECT_EQ(At(image.get(), 189, 90), (Rgb{0, 0, 255}));
        EXPECT_EQ(At(image.get(), 189 - w, 89), (Rgb{0, 0, 255}));
    }
    EXPECT_EQ(Job.OutputWidth, 200);
}

TEST_F(WatermarkTest, RotationTurnsTheBox) {
    ImagePtr straight = TextOverlay("Turn me");
    ASSERT_TRUE(straight);
    for (int angle : {90, 270}) {
        Settings.Watermark.TextRotation = angle;
        ImagePtr turned(RotateWatermark(FreeImage_Clone(straight.get())));
        ASSERT_TRUE(turned);
        EXPECT_EQ(Width(turned.get()), Height(straight.get()));
        EXPECT_EQ(Height(turned.get()), Width(straight.get()));
    }
    // A turn by 45 degrees leaves the corners transparent; 0 and 360 leave the box as it is.
    Settings.Watermark.TextRotation = 45;
    ImagePtr slanted(RotateWatermark(FreeImage_Clone(straight.get())));
    ASSERT_TRUE(slanted);
    EXPECT_EQ(OverlayAt(slanted.get(), 0, 0).alpha, 0);
    for (int angle : {0, 360}) {
        Settings.Watermark.TextRotation = angle;
        FIBITMAP* same = FreeImage_Clone(straight.get());
        ImagePtr kept(RotateWatermark(same));
        EXPECT_EQ(kept.get(), same);
    }
}

// The unturned text box drawn whole, then fitted, placed and cut to the picture, as turned
// boxes still are: the reference for drawing only the visible part.
ImagePtr DrawWholeBoxOn(FIBITMAP* picture, int width, int height) {
    ImagePtr image(FreeImage_Clone(picture));
    FIBITMAP* overlay = FitWatermark(BuildTextOverlay(), width, height);
    if (!overlay) return image;
    int x = 0, y = 0;
    PlaceWatermark(width, height, Width(overlay), Height(overlay), &x, &y);
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = std::min(x + Width(overlay), width), bottom = std::min(y + Height(overlay), height);
    ImagePtr shown(right > left && bottom > top ? FreeImage_Copy(overlay, left - x, top - y, right - x, bottom - y) : nullptr);
    FreeImage_Unload(overlay);
    if (shown) CompositeAt(image.get(), shown.get(), left, top);
    return image;
}

TEST_F(WatermarkTest, VisiblePartGivesTheSamePixelsAsTheWholeBox) {
    // Picture 120 x 80. Negative offsets and large boxes make the shown part start inside the box.
    const struct {
        const char* text;
        int points;
        bool bold, italic, underline, strike;
        int antialias, position, xOffset, yOffset, padding, alignment, leading, frame;
    } cases[] = {
        {"Hi there", 14, false, false, false, false, 0, 8, 10, 10, 3, 0, 0, 0},       // wholly on the picture
        {"Wide watermark text", 40, false, false, false, false, 0, 0, 5, 5, 2, 0, 0, 0},  // cut on the right
        {"Line one%eol%Line two%eol%three", 20, false, false, false, false, 1, 4, 0, 0, 6, 1, 4, 0},
        {"Big", 90, false, false, false, false, 1, 0, -30, -20, 0, 0, 0, 0},
        {"Big", 90, true, true, false, false, 0, 8, -15, -10, 4, 0, 0, 0},           // past the bottom-right edge
        {"Framed%EOL%right", 24, false, false, true, true, 0, 2, 4, 4, 5, 2, -3, 10},  // inside a frame
        {"Tall%eol%box", 200, true, true, false, false, 1, 5, -50, 0, 7, 1, 20, 0},
        {"Anywhere", 30, false, false, false, true, 1, 9, -7, -9, 1, 0, 0, 0},       // unknown position: 0, 0
        {"Line one%eol%Line two", 60, false, false, false, false, 0, 0, -40, -70, 3, 2, 5, 0},  // the second line
        {"Shifted", 120, false, true, true, false, 0, 3, -25, 0, 2, 0, 0, 0},
    };
    const int width = 120, height = 80;
    ImagePtr original = MakePattern(width, height);
    auto& w = Settings.Watermark;
    w.BackColor = "3060C0";
    w.BackOpacity = 100;
    w.TextOpacity = 230;
    w.TextBoundary = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " " << c.points << " points, antialias " << c.antialias
                                        << ", position " << c.position << " at " << c.xOffset << "," << c.yOffset);
        ASSERT_TRUE(LoadWatermarkFont("Liberation Sans", c.points, c.bold, c.italic, c.underline, c.strike));
        w.Text = c.text;
        w.TextAntialiasing = static_cast<int8_t>(c.antialias);
        w.TextPosition = static_cast<int8_t>(c.position);
        w.TextXOffset = c.xOffset;
        w.TextYOffset = c.yOffset;
        w.TextPadding = c.padding;
        w.TextAlignment = static_cast<int8_t>(c.alignment);
        w.FontLeading = c.leading;
        Settings.Frame.DoFrame = c.frame ? 1 : 0;
        Settings.Frame.SolidLeft = Settings.Frame.SolidRight = Settings.Frame.SolidTop = Settings.Frame.SolidBottom = c.frame;
        ImagePtr expected = DrawWholeBoxOn(original.get(), width, height);
        ASSERT_FALSE(SamePixels(expected.get(), original.get()));
        ImagePtr seen(DrawWatermark(FreeImage_Clone(original.get()), width, height));
        ASSERT_TRUE(seen);
        EXPECT_TRUE(SamePixels(seen.get(), expected.get()));
    }
}

// A box far taller than any surface still shows the line that lands on the picture.
TEST_F(WatermarkTest, HugeLeadingShowsTheFirstLine) {
    auto& w = Settings.Watermark;
    w.BackOpacity = 0;
    w.TextPosition = 0;
    w.TextXOffset = 4;
    w.TextYOffset = 3;
    w.TextPadding = 2;
    ImagePtr original = MakePattern(80, 40);
    w.Text = "a";
    ImagePtr single(DrawWatermark(FreeImage_Clone(original.get()), 80, 40));
    w.Text = "a%eol%b";
    w.FontLeading = 2147483647;
    ImagePtr tall(DrawWatermark(FreeImage_Clone(original.get()), 80, 40));
    ASSERT_TRUE(single);
    ASSERT_TRUE(tall);
    EXPECT_FALSE(SamePixels(single.get(), original.get()));
    EXPECT_TRUE(SamePixels(tall.get(), single.get()));
}

TEST_F(WatermarkTest, NothingToDrawOnlyTurnsThePictureTo24Bits) {
    const std::string folder = ScratchFolder("nothing");
    WriteFileText(folder + "notes.txt", "not a picture");
    const struct {
        const char* name;
        int mode;
        bool font;
        std::string text, image;
        int frame, leading;
        int rotation = 0;
    } cases[] = {
        {"no font", 1, false, "Text", "", 0, 0},
        {"empty text", 1, true, "", "", 0, 0},
        {"no room inside the frame", 1, true, "Text", "", 40, 0},
        {"no room inside the frame for the turned box", 1, true, "Text", "", 40, 0, 90},
        // a turned box is drawn whole before it is turned
        {"turned box with a leading beyond any surface", 1, true, "a%eol%b", "", 0, 2147483647, 90},
        {"unreadable image", 2, true, "", folder + "notes.txt", 0, 0},
        {"missing image", 2, true, "", folder + "gone.png", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.font) ASSERT_TRUE(LoadWatermarkFont("Liberation Sans", 14, false, false, false, false));
        else FreeWatermarkFont();
        Settings.Watermark.DoWatermark = static_cast<int8_t>(c.mode);
        Settings.Watermark.Text = c.text;
        Settings.Watermark.Image = c.image;
        Settings.Watermark.FontLeading = c.leading;
        Settings.Watermark.TextRotation = c.rotation;
        Settings.Watermark.TextBoundary = 1;
        Settings.Frame.DoFrame = c.frame ? 1 : 0;
        Settings.Frame.SolidLeft = Settings.Frame.SolidRight = Settings.Frame.SolidTop = Settings.Frame.SolidBottom = c.frame;
        ImagePtr original = MakePattern(60, 40);
        ImagePtr image(DrawWatermark(FreeImage_ConvertTo32Bits(original.get()), 60, 40));
        ASSERT_TRUE(image);
        EXPECT_EQ(FreeImage_GetBPP(image.get()), 24u);
        EXPECT_TRUE(SamePixels(image.get(), original.get()));
    }
}

// A bitmap with its header only: FreeImage can measure it but not draw on, cut or turn it.
ImagePtr LoadHeaderOnly(const std::string& path, int width, int height, int bpp) {
    ImagePtr full = MakeImage(width, height, bpp);
    if (!FreeImage_Save(FIF_BMP, full.get(), path.c_str(), 0)) return nullptr;
    ImagePtr header(FreeImage_Load(FIF_BMP, path.c_str(), FIF_LOAD_NOPIXELS));
    if (header && FreeImage_HasPixels(header.get())) return nullptr;
    return header;
}

// A picture without pixels cannot take the blend: the step fails rather than passing the
// picture on without the watermark it was asked for.
TEST_F(WatermarkTest, WatermarkThatCannotBeBlendedFailsTheStep) {
    const std::string folder = ScratchFolder("unblended");
    ImagePtr mark = MakeImage(8, 6, 24, {200, 100, 50});
    ASSERT_TRUE(FreeImage_Save(FIF_BMP, mark.get(), (folder + "mark.bmp").c_str(), 0));
    Settings.Watermark.Text = "Mark";
    Settings.Watermark.Image = folder + "mark.bmp";
    const struct {
        int mode, rotation;
    } cases[] = {{1, 0}, {1, 90}, {2, 0}, {2, 45}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " rotation " << c.rotation);
        Settings.Watermark.DoWatermark = static_cast<int8_t>(c.mode);
        Settings.Watermark.TextRotation = Settings.Watermark.ImageRotation = c.rotation;
        ImagePtr picture = LoadHeaderOnly(folder + "picture.bmp", 60, 40, 24);
        ASSERT_TRUE(picture);
        ImagePtr image(DrawWatermark(picture.release(), 60, 40));
        EXPECT_FALSE(image);
    }
}

// FreeImage turns nothing without pixels; the overlay must not come back unturned.
TEST_F(WatermarkTest, TurnThatFailsGivesNoOverlay) {
    ImagePtr overlay = LoadHeaderOnly(ScratchFolder("unturned") + "overlay.bmp", 20, 10, 32);
    ASSERT_TRUE(overlay);
    Settings.Watermark.TextRotation = 30;
    ImagePtr turned(RotateWatermark(overlay.release()));
    EXPECT_FALSE(turned);
}

TEST_F(WatermarkTest, ImageWatermarkWithGreyscaleAndOpacity) {
    const std::string folder = ScratchFolder("image");
    // A 24-bit BMP and a PNG with alpha, both 8 x 6 in one colour.
    ImagePtr flat = MakeImage(8, 6, 24, {200, 100, 50});
    ASSERT_TRUE(FreeImage_Save(FIF_BMP, flat.get(), (folder + "mark.bmp").c_str(), 0));
    ImagePtr clear = MakeImage(8, 6, 32, {200, 100, 50});
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) FreeImage_GetScanLine(clear.get(), y)[x * 4 + FI_RGBA_ALPHA] = 128;
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, clear.get(), (folder + "mark.png").c_str(), 0));
    ASSERT_TRUE(FreeImage_Save(FIF_JPEG, flat.get(), (folder + "mark.jpg").c_str(), JPEG_QUALITYSUPERB));
    // A 16-bit grey PNG, 200 in 8 bits.
    ImagePtr deep(FreeImage_AllocateT(FIT_UINT16, 8, 6));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) reinterpret_cast<WORD*>(FreeImage_GetScanLine(deep.get(), y))[x] = 200 * 257;
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, deep.get(), (folder + "grey16.png").c_str(), 0));

    const int grey = (77 * 200 + 150 * 100 + 29 * 50) / 256;  // 124
    const Rgb black{0, 0, 0}, white{255, 255, 255};
    const struct {
        const char* file;
        bool greyscale;
        int opacity;
        Rgb picture, expected;
        int tolerance;
    } cases[] = {
        {"mark.bmp", false, 255, black, {200, 100, 50}, 0},
        {"mark.bmp", true, 255, black, {grey, grey, grey}, 0},
        {"mark.bmp", false, 128, black, {100, 50, 25}, 2},
        // opacity lets the picture through a watermark without alpha, rather than darkening it
        {"mark.bmp", false, 128, white, {227, 177, 152}, 2},
        {"mark.png", false, 255, black, {100, 50, 25}, 2},
        {"mark.png", true, 128, black, {grey / 4, grey / 4, grey / 4}, 2},
        {"mark.png", false, 255, white, {227, 177, 152}, 2},
        {"mark.jpg", true, 255, white, {grey, grey, grey}, 4},
        {"grey16.png", false, 255, black, {200, 200, 200}, 0},
        {"grey16.png", false, 128, white, {227, 227, 227}, 2},
    };
    Settings.Watermark.DoWatermark = 2;
    Settings.Watermark.ImagePosition = 0;
    Settings.Watermark.ImageXOffset = 5;
    Settings.Watermark.ImageYOffset = 4;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.file << " grey " << c.greyscale << " opacity " << c.opacity
                                        << " on " << c.picture.red);
        Settings.Watermark.Image = folder + c.file;
        Settings.Watermark.ImageGreyscale = c.greyscale;
        Settings.Watermark.ImageOpacity = c.opacity;
        ImagePtr image(DrawWatermark(MakeImage(40, 30, 24, c.picture).release(), 40, 30));
        ASSERT_TRUE(image);
        for (auto [x, y] : {std::pair{5, 4}, std::pair{12, 9}}) {
            Rgb seen = At(image.get(), x, y);
            EXPECT_TRUE(Near(seen, c.expected, c.tolerance))
                << x << "," << y << " saw " << seen.red << " " << seen.green << " " << seen.blue;
        }
        EXPECT_EQ(At(image.get(), 4, 4), c.picture);
        EXPECT_EQ(At(image.get(), 13, 10), c.picture);
    }
}

// Each mark pixel has its own colour, so the pixels that land on the picture show which part
// of an overlay pushed past the edges was kept.
TEST_F(WatermarkTest, ImagePastTheEdgesShowsThePartOnThePicture) {
    const std::string folder = ScratchFolder("edges");
    auto markColour = [](int x, int y) { return Rgb{20 * x, 40 * y, 77}; };
    ImagePtr mark = MakeImage(10, 6, 24);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) SetPixel(mark.get(), x, 5 - y, markColour(x, y));
    ASSERT_TRUE(FreeImage_Save(FIF_BMP, mark.get(), (folder + "mark.bmp").c_str(), 0));
    Settings.Watermark.DoWatermark = 2;
    Settings.Watermark.Image = folder + "mark.bmp";
    Settings.Watermark.ImageOpacity = 255;
    const Rgb picture{10, 10, 10};
    const struct {
        int position, xOffset, yOffset;
        int firstX, firstY, firstMarkX, firstMarkY;  // top-left shown pixel
        int lastX, lastY, lastMarkX, lastMarkY;      // bottom-right shown pixel
        int outsideX, outsideY;                      // diagonally beyond the shown part
    } cases[] = {
        {0, -3, -2, 0, 0, 3, 2, 6, 3, 9, 5, 7, 4},       // past the top-left corner
        {8, -4, -3, 34, 27, 0, 0, 39, 29, 5, 2, 33, 26},  // past the bottom-right corner
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.position);
        Settings.Watermark.ImagePosition = static_cast<int8_t>(c.position);
        Settings.Watermark.ImageXOffset = c.xOffset;
        Settings.Watermark.ImageYOffset = c.yOffset;
        ImagePtr image(DrawWatermark(MakeImage(40, 30, 24, picture).release(), 40, 30));
        ASSERT_TRUE(image);
        EXPECT_EQ(At(image.get(), c.firstX, c.firstY), markColour(c.firstMarkX, c.firstMarkY));
        EXPECT_EQ(At(image.get(), c.lastX, c.lastY), markColour(c.lastMarkX, c.lastMarkY));
        EXPECT_EQ(At(image.get(), c.outsideX, c.outsideY), picture);
    }
}

struct ConsoleRun {
    CommandResult result;
    std::vector<Picture> levels;
};

ConsoleRun ConvertOnConsole(const std::string& folder, const std::string& options) {
    ImagePtr picture = MakeImage(96, 64, 24, {90, 140, 60});
    FreeImage_Save(FIF_BMP, picture.get(), (folder + "in.bmp").c_str(), 0);
    ConsoleRun run;
    run.result = RunCommand("timeout 60 '" + std::string(QUARVEL_KESTRIX) + "' -q -i '" + folder + "in.bmp' -o '" +
                            folder + "' " + options);
    run.levels = ReadDdsLevels(folder + "in.dds");
    return run;
}

bool NearIn(const Picture& p, int x, int y, Rgb colour) {
    return std::abs(p.At(x, y, 0) - colour.red) <= 12 && std::abs(p.At(x, y, 1) - colour.green) <= 12 &&
           std::abs(p.At(x, y, 2) - colour.blue) <= 12;
}

// The box sits 10 pixels from the bottom-right corner; its padding is plain back colour.
TEST(WatermarkConsole, TextBoxReachesTheTexture) {
    const std::string folder = ScratchFolder("console-text");
    ConsoleRun run = ConvertOnConsole(folder, "--wm-text='Hi %width%' --wm-font=Arial --wm-text-padding=8"
                                              " --wm-back-color=0000FF --wm-back-opacity=255");
    ASSERT_EQ(run.result.exitStatus, 0) << run.result.out << run.result.err;
    ASSERT_FALSE(run.levels.empty());
    const Picture& top = run.levels.front();
    ASSERT_EQ(top.width, 96);
    EXPECT_TRUE(NearIn(top, 81, 49, {0, 0, 255}));
    EXPECT_TRUE(NearIn(top, 90, 58, {90, 140, 60}));
    EXPECT_TRUE(NearIn(top, 2, 2, {90, 140, 60}));
    // Some of the white text shows inside the box.
    int bright = 0;
    for (int y = 0; y < 54; ++y)
        for (int x = 0; x < 86; ++x) bright += top.At(x, y, 0) > 200 && top.At(x, y, 1) > 200;
    EXPECT_GT(bright, 10);
}

TEST(WatermarkConsole, UnknownFontStopsTheRun) {
    const std::string folder = ScratchFolder("console-font");
    ConsoleRun run = ConvertOnConsole(folder, "--wm-text=Hi --wm-font=NoSuchFont");
    EXPECT_NE(run.result.err.find("Error: Invalid watermark font"), std::string::npos) << run.result.err;
    EXPECT_EQ(run.result.exitStatus, 1);
    EXPECT_TRUE(run.levels.empty());
}

// Runs the console program without a shell, so wait4 reports the program's own peak memory.
struct MeasuredRun {
    int exitStatus = -1;
    long peakKilobytes = 0;
};

MeasuredRun RunMeasured(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), QUARVEL_KESTRIX);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    MeasuredRun run;
    pid_t pid = 0;
    if (posix_spawn(&pid, QUARVEL_KESTRIX, nullptr, nullptr, argv.data(), environ) != 0) return run;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return run;
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakKilobytes = usage.ru_maxrss;
    return run;
}

// A 20000-point letter on a 256 x 256 picture: only what lands on the picture is drawn. Offsets
// pull the box up and left so the picture shows the inside of the H's left stem, or the box's
// background above the letter; a turned box that big is skipped. Peak memory of the whole
// program stays small.
TEST(WatermarkConsole, HugeFontDrawsItsVisiblePartInBoundedMemory) {
    const std::string folder = ScratchFolder("console-huge");
    ImagePtr picture = MakeImage(256, 256, 24, {90, 140, 60});
    ASSERT_TRUE(FreeImage_Save(FIF_BMP, picture.get(), (folder + "in.bmp").c_str(), 0));
    // Below about 7700 points cairo renders whole glyphs rather than outlines: a long text must
    // not cost one mask per letter.
    const struct {
        const char* name;
        const char* text;
        int points, antialias, rotation, xOffset, yOffset;
        Rgb expected;
    } cases[] = {
        {"inside the stem", "H", 20000, 0, 0, -3000, -10000, {255, 255, 255}},
        {"inside the smooth stem", "H", 20000, 1, 0, -3000, -10000, {255, 255, 255}},
        {"above the letter", "H", 20000, 0, 0, -100, -100, {0, 0, 255}},
        {"turned", "H", 20000, 0, 45, 0, 0, {90, 140, 60}},
        {"inside the first of many smooth letters", "Hamburgefonstiv", 7000, 1, 0, -1000, -4000, {255, 255, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove((folder + "in.dds").c_str());
        std::vector<std::string> arguments{"-q", "-i", folder + "in.bmp", "-o", folder, "--wm-text=" + std::string(c.text),
                                           "--wm-font=Liberation Sans", "--wm-font-size=" + std::to_string(c.points),
                                           "--wm-back-color=0000FF", "--wm-back-opacity=255", "--wm-text-position=0",
                                           "--wm-text-rotation=" + std::to_string(c.rotation),
                                           "--wm-text-x-offset=" + std::to_string(c.xOffset),
                                           "--wm-text-y-offset=" + std::to_string(c.yOffset)};
        // The option is a switch: any value turns it on.
        if (c.antialias) arguments.push_back("--wm-text-antialiasing");
        MeasuredRun run = RunMeasured(arguments);
        ASSERT_EQ(run.exitStatus, 0);
        // Drawing the whole box took 5.9 GB; the bound leaves room for the sanitizer build's overhead.
        EXPECT_LT(run.peakKilobytes, 256 * 1024) << run.peakKilobytes << " KB";
        std::vector<Picture> levels = ReadDdsLevels(folder + "in.dds");
        ASSERT_FALSE(levels.empty());
        const Picture& top = levels.front();
        ASSERT_EQ(top.width, 256);
        int off = 0;
        for (int y = 0; y < top.height; ++y)
            for (int x = 0; x < top.width; ++x) off += !NearIn(top, x, y, c.expected);
        EXPECT_EQ(off, 0);
    }
}

}  // namespace
