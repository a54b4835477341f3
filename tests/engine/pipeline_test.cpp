// One BMP through the whole conversion: pictures, depths, header variants, mip levels and the
// rules that keep the user's files safe.
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/job.h"
#include "app/settings.h"
#include "app/settings_file.h"
#include "cli/options.h"
#include "engine/dds_check.h"
#include "engine/pipeline.h"
#include "platform/platform.h"
#include "support/test_support.h"
#include "ui/catalogues.h"

namespace {

class Pipeline : public testing::Test {
protected:
    void SetUp() override {
        InitialiseDevil();
        ApplyDefaults(true);
        BuildFormatCatalogues();
        ResetJob();
        folder = ScratchFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
        Job.ConsoleMode = true;
        Job.OutputFolder = folder + "out/";
        CreateFolder(Job.OutputFolder);
        Job.OutputFormat = "dds";
        Job.OutputBitDepth = 0;
        Job.AutomaticDepth = true;
    }
    bool Convert(const std::string& input) {
        Job.InputPath = input;
        return ConvertCurrentFile();
    }
    std::vector<std::string> OutputFolderEntries() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Job.OutputFolder))
            names.push_back(entry.path().filename().string());
        return names;
    }
    std::string folder;
};

// A colourful picture with flat areas, edges and a gradient, top-down RGBA.
Picture MakePicture(int width, int height, bool withAlpha = false) {
    Picture picture{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &picture.rgba[(static_cast<size_t>(y) * width + x) * 4];
            bool box = x > width / 4 && x < width / 2 && y > height / 3;
            p[0] = box ? 220 : static_cast<uint8_t>(x * 255 / std::max(1, width - 1));
            p[1] = box ? 40 : static_cast<uint8_t>(y * 255 / std::max(1, height - 1));
            p[2] = (x / 8 + y / 8) % 2 ? 200 : 30;
            p[3] = withAlpha && x >= width / 2 ? 0 : 255;
        }
    return picture;
}

FIBITMAP* PictureToBitmap(const Picture& picture) {
    FIBITMAP* image = FreeImage_Allocate(picture.width, picture.height, 32);
    for (int y = 0; y < picture.height; ++y) {
        BYTE* line = FreeImage_GetScanLine(image, picture.height - 1 - y);
        for (int x = 0; x < picture.width; ++x) {
            line[4 * x + FI_RGBA_RED] = picture.At(x, y, 0);
            line[4 * x + FI_RGBA_GREEN] = picture.At(x, y, 1);
            line[4 * x + FI_RGBA_BLUE] = picture.At(x, y, 2);
            line[4 * x + FI_RGBA_ALPHA] = picture.At(x, y, 3);
        }
    }
    return image;
}

// The converted file's top level is as close to the picture as DevIL's own encoding of it.
void ExpectMatchesReference(const std::string& dds, const Picture& reference, const std::string& scratch) {
    std::vector<Picture> levels = ReadDdsLevels(dds);
    ASSERT_FALSE(levels.empty()) << dds;
    double bound = Psnr(EncodeThroughDevil(reference, scratch), reference);
    double got = Psnr(levels.front(), reference);
    EXPECT_GE(bound, 25) << "reference encoding itself is poor";
    EXPECT_GE(got, bound - 1) << dds;
}

// --- hand-written BMP files ---

void Put16(std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}
void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

struct BmpParts {
    uint32_t headerSize = 40;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    std::vector<uint32_t> masks;  // red, green, blue[, alpha]
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    std::string pixels;
};

std::string BuildBmp(const BmpParts& parts) {
    std::string info;
    Put32(info, parts.headerSize);
    Put32(info, static_cast<uint32_t>(parts.width));
    Put32(info, static_cast<uint32_t>(parts.height));
    Put16(info, 1);
    Put16(info, parts.bitCount);
    Put32(info, parts.compression);
    Put32(info, static_cast<uint32_t>(parts.pixels.size()));
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, static_cast<uint32_t>(parts.palette.size()));
    Put32(info, 0);
    for (uint32_t mask : parts.masks) Put32(info, mask);  // inside the longer headers, after a 40-byte one
    if (parts.headerSize >= 108 && info.size() < 56) info.resize(56, '\0');
    if (parts.headerSize >= 108) Put32(info, 0x57696E20);  // "Win " colour space
    if (info.size() < parts.headerSize) info.resize(parts.headerSize, '\0');
    std::string palette;
    for (uint32_t colour : parts.palette) Put32(palette, colour);
    uint32_t offset = static_cast<uint32_t>(14 + info.size() + palette.size());
    std::string file = "BM";
    Put32(file, static_cast<uint32_t>(offset + parts.pixels.size()));
    Put32(file, 0);
    Put32(file, offset);
    return file + info + palette + parts.pixels;
}

std::string PadRow(std::string row) {
    row.resize((row.size() + 3) / 4 * 4, '\0');
    return row;
}

// Rows bottom-up: the picture's pixels in the given layout.
std::string Rows(const Picture& picture, const std::function<std::string(const uint8_t* rgba)>& pixel) {
    std::string data;
    for (int y = picture.height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < picture.width; ++x) row += pixel(&picture.rgba[(static_cast<size_t>(y) * picture.width + x) * 4]);
        data += PadRow(row);
    }
    return data;
}

std::string Bgr(const uint8_t* p) { return {static_cast<char>(p[2]), static_cast<char>(p[1]), static_cast<char>(p[0])}; }

// Palette pictures: index = (x / 4 + y) % colours over a palette of distinct colours.
std::vector<uint32_t> MakePalette(int colours) {
    std::vector<uint32_t> palette;
    for (int i = 0; i < colours; ++i)
        palette.push_back(static_cast<uint32_t>((i * 37 % 256) << 16 | (255 - i * 16 % 256) << 8 | (i * 90 % 256)));
    return palette;
}
int IndexAt(int x, int y, int colours) { return (x / 2 + y / 4) % colours; }
Picture PalettePicture(int width, int height, const std::vector<uint32_t>& palette) {
    Picture picture{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t colour = palette[IndexAt(x, y, static_cast<int>(palette.size()))];
            uint8_t* p = &picture.rgba[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = colour >> 16 & 0xFF;
            p[1] = colour >> 8 & 0xFF;
            p[2] = colour & 0xFF;
            p[3] = 255;
        }
    return picture;
}

// RLE streams the way common writers make them: even rows as runs, odd rows in absolute mode,
// every row closed by an end-of-line code, including the last one before end-of-bitmap.
std::string EncodeRle(int width, int height, int colours, bool four) {
    std::string data;
    for (int picture_y = height - 1; picture_y >= 0; --picture_y) {
        std::vector<int> indices;
        for (int x = 0; x < width; ++x) indices.push_back(IndexAt(x, picture_y, colours));
        bool absolute = picture_y % 2 == 1;
        for (size_t at = 0; at < indices.size();) {
            if (absolute && indices.size() - at >= 3) {
                size_t count = std::min<size_t>(indices.size() - at, 254);
                std::string bytes;
                if (four) {
                    for (size_t i = 0; i < count; i += 2)
                        bytes += static_cast<char>(indices[at + i] << 4 | (i + 1 < count ? indices[at + i + 1] : 0));
                } else {
                    for (size_t i = 0; i < count; ++i) bytes += static_cast<char>(indices[at + i]);
                }
                if (bytes.size() % 2) bytes += '\0';
                data += '\0';
                data += static_cast<char>(count);
                data += bytes;
                at += count;
            } else {
                size_t count = 1;
                while (at + count < indices.size() && indices[at + count] == indices[at] && count < 255) ++count;
                data += static_cast<char>(count);
                data += static_cast<char>(four ? indices[at] << 4 | indices[at] : indices[at]);
                at += count;
            }
        }
        data += std::string("\0\0", 2);
    }
    return data + std::string("\0\1", 2);
}

// The rows of a picture put into 32-bit pixels by masks: red, green, blue, alpha.
std::string MaskedRows32(const Picture& picture, const uint32_t masks[4]) {
    return Rows(picture, [&](const uint8_t* p) {
        uint32_t value = 0;
        for (int c = 0; c < 4; ++c)
            if (masks[c]) value |= static_cast<uint32_t>(p[c]) << std::countr_zero(masks[c]);
        std::string out;
        Put32(out, value);
        return out;
    });
}

}  // namespace

TEST_F(Pipeline, EveryDepthFreeImageWritesConvertsToItsPicture) {
    struct Case {
        const char* name;
        int sourceDepth;
        std::function<FIBITMAP*(FIBITMAP*)> convert;
        int flags;
    };
    const Case cases[] = {
        {"1bit", 1, [](FIBITMAP* i) { return FreeImage_Threshold(i, 128); }, 0},
        {"4bit", 4, [](FIBITMAP* i) { return FreeImage_ConvertTo4Bits(i); }, 0},
        {"8bit", 8, [](FIBITMAP* i) {
             FIBITMAP* rgb = FreeImage_ConvertTo24Bits(i);
             FIBITMAP* result = FreeImage_ColorQuantizeEx(rgb, FIQ_WUQUANT, 256, 0, nullptr);
             FreeImage_Unload(rgb);
             return result;
         }, 0},
        {"8bitrle", 8, [](FIBITMAP* i) { return FreeImage_ConvertToGreyscale(i); }, BMP_SAVE_RLE},
        {"grey", 8, [](FIBITMAP* i) { return FreeImage_ConvertToGreyscale(i); }, 0},
        {"16bit", 16, [](FIBITMAP* i) { return FreeImage_ConvertTo16Bits565(i); }, 0},
        {"24bit", 24, [](FIBITMAP* i) { return FreeImage_ConvertTo24Bits(i); }, 0},
        {"32bit", 32, [](FIBITMAP* i) { return FreeImage_Clone(i); }, 0},
    };
    const Picture picture = MakePicture(61, 37);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FIBITMAP* source = PictureToBitmap(picture);
        FIBITMAP* written = c.convert(source);
        FreeImage_Unload(source);
        ASSERT_NE(written, nullptr);
        std::string input = folder + c.name + ".bmp", reference = folder + "reference.bmp";
        ASSERT_TRUE(FreeImage_Save(FIF_BMP, written, input.c_str(), c.flags));
        ASSERT_TRUE(FreeImage_Save(FIF_BMP, written, reference.c_str(), 0));
        FreeImage_Unload(written);

        ASSERT_TRUE(Convert(input));
        EXPECT_EQ(Job.SourceBitDepth, c.sourceDepth);
        EXPECT_EQ(Job.OutputBitDepth, 32);
        EXPECT_EQ(Job.OutputPath, Job.OutputFolder + c.name + ".dds");
        EXPECT_EQ(Job.OutputWidth, 61);
        EXPECT_EQ(Job.OutputHeight, 37);
        ExpectMatchesReference(Job.OutputPath, ReadPicture(reference), folder + "bound.dds");
    }
}

TEST_F(Pipeline, HeaderVariantsOtherToolsWriteConvert) {
    const Picture picture = MakePicture(40, 24);
    const Picture alphaPicture = MakePicture(40, 24, true);
    Picture opaque = picture;
    const std::vector<uint32_t> palette256 = MakePalette(256), palette16 = MakePalette(16);
    const uint32_t argb[4] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    const uint32_t xrgb[4] = {0xFF0000, 0xFF00, 0xFF, 0};

    std::string indices8;
    for (int y = 23; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < 40; ++x) row += static_cast<char>(IndexAt(x, y, 256));
        indices8 += PadRow(row);
    }
    struct Case {
        const char* name;
        BmpParts parts;
        Picture expected;
    };
    std::vector<Case> cases = {
        {"v4-24bit", {108, 40, 24, 24, 0, {}, {}, Rows(picture, Bgr)}, picture},
        {"v5-8bit", {124, 40, 24, 8, 0, {}, palette256, indices8}, PalettePicture(40, 24, palette256)},
        {"v5-32bit-alpha", {124, 40, 24, 32, 3, {argb, argb + 4}, {}, MaskedRows32(alphaPicture, argb)}, alphaPicture},
        {"v5-16bit-565", {124, 40, 24, 16, 3, {0xF800, 0x7E0, 0x1F, 0}, {},
                          Rows(picture, [](const uint8_t* p) {
                              std::string out;
                              Put16(out, static_cast<uint32_t>((p[0] >> 3) << 11 | (p[1] >> 2) << 5 | p[2] >> 3));
                              return out;
                          })},
         [&] {
             Picture reduced = picture;
             for (size_t i = 0; i < reduced.rgba.size(); i += 4) {
                 reduced.rgba[i] = static_cast<uint8_t>((reduced.rgba[i] >> 3) * 255 / 31);
                 reduced.rgba[i + 1] = static_cast<uint8_t>((reduced.rgba[i + 1] >> 2) * 255 / 63);
                 reduced.rgba[i + 2] = static_cast<uint8_t>((reduced.rgba[i + 2] >> 3) * 255 / 31);
             }
             return reduced;
         }()},
        // 16-bit masks other than 5-6-5 and 5-5-5 are valid too; the library reads every
        // 16-bit file as one of those two.
        {"16bit-444", {40, 40, 24, 16, 3, {0xF00, 0xF0, 0xF}, {},
                       Rows(picture, [](const uint8_t* p) {
                           std::string out;
                           Put16(out, static_cast<uint32_t>((p[0] >> 4) << 8 | (p[1] >> 4) << 4 | p[2] >> 4));
                           return out;
                       })},
         [&] {
             Picture reduced = picture;
             for (size_t i = 0; i < reduced.rgba.size(); i += 4)
                 for (size_t c = 0; c < 3; ++c) reduced.rgba[i + c] = static_cast<uint8_t>((reduced.rgba[i + c] >> 4) * 17);
             return reduced;
         }()},
        {"h56-32bit-alpha", {56, 40, 24, 32, 3, {argb, argb + 4}, {}, MaskedRows32(alphaPicture, argb)}, alphaPicture},
        // The fourth byte is 0 everywhere and no mask calls it alpha: the picture is opaque.
        {"h52-32bit-unused", {52, 40, 24, 32, 3, {xrgb, xrgb + 3}, {}, MaskedRows32(picture, xrgb)}, opaque},
        {"rgb32-unused", {40, 40, 24, 32, 0, {}, {}, MaskedRows32(picture, xrgb)}, opaque},
        {"rle8", {40, 40, 24, 8, 1, {}, palette256, EncodeRle(40, 24, 256, false)}, PalettePicture(40, 24, palette256)},
        {"rle4", {40, 40, 24, 4, 2, {}, palette16, EncodeRle(40, 24, 16, true)}, PalettePicture(40, 24, palette16)},
        {"v5-rle8", {124, 40, 24, 8, 1, {}, palette256, EncodeRle(40, 24, 256, false)},
         PalettePicture(40, 24, palette256)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string input = folder + c.name + ".bmp";
        WriteFileText(input, BuildBmp(c.parts));
        ASSERT_TRUE(Convert(input));
        ExpectMatchesReference(Job.OutputPath, c.expected, folder + "bound.dds");
        std::vector<Picture> levels = ReadDdsLevels(Job.OutputPath);
        ASSERT_FALSE(levels.empty());
        // DXT1 keeps one bit of alpha: the transparent half stays transparent, the rest opaque.
        EXPECT_EQ(levels[0].At(2, 2, 3), 255);
        EXPECT_EQ(levels[0].At(38, 2, 3), c.expected.At(38, 2, 3));
    }
}

TEST_F(Pipeline, EveryLevelOfTheChainHasItsSize) {
    const int sizes[][2] = {{1, 1}, {127, 64}, {3, 5}, {256, 64}, {64, 256}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size[0]) + "x" + std::to_string(size[1]));
        std::string input = folder + "size.bmp";
        FIBITMAP* image = PictureToBitmap(MakePicture(size[0], size[1]));
        ASSERT_TRUE(FreeImage_Save(FIF_BMP, image, input.c_str(), 0));
        FreeImage_Unload(image);
        ASSERT_TRUE(Convert(input));
        const int expected = ExpectedLevelCount(size[0], size[1]);
        EXPECT_EQ(DdsHeaderLevelCount(Job.OutputPath), expected);
        std::vector<Picture> levels = ReadDdsLevels(Job.OutputPath);
        ASSERT_EQ(static_cast<int>(levels.size()), expected);
        for (int i = 0; i < expected; ++i) {
            EXPECT_EQ(levels[i].width, std::max(1, size[0] >> i)) << "level " << i;
            EXPECT_EQ(levels[i].height, std::max(1, size[1] >> i)) << "level " << i;
        }
    }
}

TEST_F(Pipeline, LowerLevelsAverageTheLevelAbove) {
    // A one-pixel checkerboard averages to mid-grey; a 3 x 3 picture with a white right column
    // keeps that column in its 1 x 1 level (a third white), as odd edges are folded in.
    struct Case {
        const char* name;
        int width, height;
        std::function<bool(int x, int y)> white;
        int level;
        int grey;
    };
    const Case cases[] = {
        {"checkerboard", 16, 16, [](int x, int y) { return (x + y) % 2 == 1; }, 1, 128},
        {"checkerboard-deeper", 16, 16, [](int x, int y) { return (x + y) % 2 == 1; }, 3, 128},
        {"odd-edge", 3, 3, [](int x, int) { return x == 2; }, 1, 85},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Picture picture{c.width, c.height, std::vector<uint8_t>(static_cast<size_t>(c.width) * c.height * 4, 255)};
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                for (int channel = 0; channel < 3; ++channel)
                    picture.rgba[(static_cast<size_t>(y) * c.width + x) * 4 + channel] = c.white(x, y) ? 255 : 0;
        std::string input = folder + c.name + ".bmp";
        FIBITMAP* image = PictureToBitmap(picture);
        FIBITMAP* rgb = FreeImage_ConvertTo24Bits(image);
        ASSERT_TRUE(FreeImage_Save(FIF_BMP, rgb, input.c_str(), 0));
        FreeImage_Unload(rgb);
        FreeImage_Unload(image);
        ASSERT_TRUE(Convert(input));
        std::vector<Picture> levels = ReadDdsLevels(Job.OutputPath);
        ASSERT_GT(static_cast<int>(levels.size()), c.level);
        const Picture& level = levels[c.level];
        for (int y = 0; y < level.height; ++y)
            for (int x = 0; x < level.width; ++x)
                for (int channel = 0; channel < 3; ++channel)
                    EXPECT_NEAR(level.At(x, y, channel), c.grey, 8) << x << "," << y;
    }
}

TEST_F(Pipeline, HostileHeadersFailBeforeTheLoader) {
    auto parts = [](int32_t width, int32_t height, uint16_t bits, uint32_t compression, size_t pixelBytes) {
        return BmpParts{40, width, height, bits, compression, {}, {}, std::string(pixelBytes, '\x55')};
    };
    struct Case {
        const char* name;
        std::string file;
    };
    std::string offsetBeyond = BuildBmp(parts(4, 4, 24, 0, 48));
    offsetBeyond[10] = '\xF0';
    offsetBeyond[11] = '\xFF';
    const Case cases[] = {
        {"zero-width", BuildBmp(parts(0, 4, 24, 0, 48))},
        {"negative-width", BuildBmp(parts(-4, 4, 24, 0, 48))},
        {"zero-height", BuildBmp(parts(4, 0, 24, 0, 48))},
        {"rows-beyond-file", BuildBmp(parts(4, 400, 24, 0, 48))},
        {"offset-beyond-file", offsetBeyond},
        {"pitch-overflow", BuildBmp(parts(0x7FFFFFFF, 2, 32, 0, 64))},
        {"really-big", BuildBmp(parts(3000000, 2000000, 24, 0, 64))},
        {"above-side-limit-rle", BuildBmp(parts(kMaxPictureSide + 1, 1, 8, 1, 4))},
        {"bad-bit-count", BuildBmp(parts(4, 4, 3, 0, 64))},
        {"top-down-rle", BuildBmp(parts(4, -4, 8, 1, 8))},
        {"jpeg-stream", BuildBmp(parts(4, 4, 0, 4, 64))},
        {"not-a-bmp", "GIF89a not a bitmap at all, long enough to hold a header........."},
        {"empty", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = folder + c.name + ".bmp";
        WriteFileText(path, c.file);
        EXPECT_EQ(LoadBmpImage(path), nullptr);
        EXPECT_FALSE(Convert(path));
    }
    EXPECT_TRUE(OutputFolderEntries().empty());
}

TEST_F(Pipeline, ExistingReadOnlyOutputIsReplaced) {
    std::string input = folder + "photo.bmp";
    WriteFileText(input, BuildBmp({40, 8, 8, 24, 0, {}, {}, Rows(MakePicture(8, 8), Bgr)}));
    std::string output = Job.OutputFolder + "photo.dds";
    WriteFileText(output, "old");
    chmod(output.c_str(), 0444);
    ASSERT_TRUE(Convert(input));
    EXPECT_EQ(ReadFileText(output).substr(0, 4), "DDS ");
    EXPECT_EQ(OutputFolderEntries(), std::vector<std::string>{"photo.dds"});
}

TEST_F(Pipeline, FolderAtTheOutputPathIsLeftAlone) {
    std::string input = folder + "photo.bmp";
    WriteFileText(input, BuildBmp({40, 8, 8, 24, 0, {}, {}, Rows(MakePicture(8, 8), Bgr)}));
    CreateFolder(Job.OutputFolder + "photo.dds");
    WriteFileText(Job.OutputFolder + "photo.dds/keep.txt", "mine");
    EXPECT_FALSE(Convert(input));
    EXPECT_EQ(ReadFileText(Job.OutputFolder + "photo.dds/keep.txt"), "mine");
    EXPECT_EQ(OutputFolderEntries(), std::vector<std::string>{"photo.dds"});
}

TEST_F(Pipeline, OutputThatIsTheInputFailsAndKeepsTheInput) {
    Job.OutputFolder = folder;
    Settings.Advanced.FilenameMask = "%filename%.bmp";
    std::string input = folder + "same.bmp";
    std::string original = BuildBmp({40, 8, 8, 24, 0, {}, {}, Rows(MakePicture(8, 8), Bgr)});
    WriteFileText(input, original);
    EXPECT_FALSE(Convert(input));
    EXPECT_EQ(ReadFileText(input), original);
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        EXPECT_NE(entry.path().filename().string().rfind("kestrix", 0), 0u) << entry.path();
}

TEST_F(Pipeline, FailedWriteKeepsTheOldOutput) {
    std::string output = Job.OutputFolder + "photo.dds";
    WriteFileText(output, "old");
    // A picture in DevIL, but a temporary path the writer cannot create.
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    std::vector<uint8_t> pixels(16 * 16 * 4, 200);
    ASSERT_TRUE(ilTexImage(16, 16, 1, 4, IL_BGRA, IL_UNSIGNED_BYTE, pixels.data()));
    ASSERT_TRUE(BuildFilteredMipmaps());
    EXPECT_FALSE(WriteDdsFile(Job.OutputFolder + "missing/kestrixtemp.dds", output, folder + "photo.bmp"));
    EXPECT_TRUE(WriteDdsFile(Job.OutputFolder + "kestrixtemp.dds", Job.OutputFolder + "new.dds", folder + "photo.bmp"));
    ilDeleteImages(1, &name);
    EXPECT_EQ(ReadFileText(output), "old");
    EXPECT_EQ(ReadFileText(Job.OutputFolder + "new.dds").substr(0, 4), "DDS ");
    EXPECT_EQ(OutputFolderEntries().size(), 2u);
}

TEST_F(Pipeline, UnreadableInputLeavesTheOutputFolderAsItWas) {
    std::string output = Job.OutputFolder + "photo.dds";
    WriteFileText(output, "old");
    WriteFileText(folder + "photo.bmp", "BM this is no bitmap");
    EXPECT_FALSE(Convert(folder + "photo.bmp"));
    EXPECT_FALSE(Convert(folder + "missing.bmp"));
    EXPECT_EQ(ReadFileText(output), "old");
    EXPECT_EQ(OutputFolderEntries(), std::vector<std::string>{"photo.dds"});
}

TEST(OutputDepth, DepthForSourcePicksTheFirstDepthThatHoldsTheSource) {
    BuildFormatCatalogues();
    struct Case {
        const char* format;
        int source;
        int expected;
    };
    const Case cases[] = {
        {"jpg", 16, 24}, {"jpg", 32, 24}, {"jpg", 8, 8}, {"bmp", 16, 16}, {"bmp", 2, 4},
        {"dds", 1, 32},  {"dds", 64, 32}, {"exr", 8, 96}, {"nosuch", 8, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(DepthForSource(c.format, c.source), c.expected) << c.format << " " << c.source;
}

TEST(OutputDepth, EveryRowOfTheTableGivesItsDepth) {
    BuildFormatCatalogues();
    struct Case {
        int depth;
        const char* format;
        int bpp;  // 0: no image
        FREE_IMAGE_TYPE type;
    };
    const Case cases[] = {
        {1, "dds", 1, FIT_BITMAP},    {4, "dds", 4, FIT_BITMAP},   {8, "dds", 8, FIT_BITMAP},
        {8, "jpg", 8, FIT_BITMAP},    {16, "dds", 16, FIT_BITMAP}, {16, "tga", 16, FIT_BITMAP},
        {24, "dds", 24, FIT_BITMAP},  {32, "dds", 32, FIT_BITMAP}, {48, "dds", 48, FIT_RGB16},
        {96, "dds", 96, FIT_RGBF},    {12, "dds", 0, FIT_UNKNOWN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.depth) + " " + c.format);
        Job.OutputFormat = c.format;
        Job.AutomaticDepth = false;
        Job.OutputBitDepth = c.depth;
        FIBITMAP* image = PictureToBitmap(MakePicture(9, 7));
        FIBITMAP* rgb = FreeImage_ConvertTo24Bits(image);
        FreeImage_Unload(image);
        FIBITMAP* result = ConvertToOutputDepth(rgb);
        if (c.bpp == 0) {
            EXPECT_EQ(result, nullptr);
            continue;
        }
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(static_cast<int>(FreeImage_GetBPP(result)), c.bpp);
        EXPECT_EQ(FreeImage_GetImageType(result), c.type);
        if (c.depth == 16) {
            EXPECT_EQ(FreeImage_GetGreenMask(result), std::string(c.format) == "tga" ? FI16_555_GREEN_MASK : FI16_565_GREEN_MASK);
        }
        FreeImage_Unload(result);
    }
    Job.OutputFormat = "dds";
    Job.AutomaticDepth = true;
    Job.SourceBitDepth = 8;
    FIBITMAP* result = ConvertToOutputDepth(FreeImage_Allocate(4, 4, 8));
    EXPECT_EQ(Job.OutputBitDepth, 32);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(result), 32u);
    FreeImage_Unload(result);
}

TEST_F(Pipeline, ReducedDepthsStillWriteBgraAndAnUnknownDepthFails) {
    std::string input = folder + "photo.bmp";
    WriteFileText(input, BuildBmp({40, 16, 16, 24, 0, {}, {}, Rows(MakePicture(16, 16), Bgr)}));
    Job.AutomaticDepth = false;
    for (int depth : {1, 8, 48, 96}) {
        Job.OutputBitDepth = depth;
        EXPECT_TRUE(Convert(input)) << depth;
        EXPECT_EQ(ReadDdsLevels(Job.OutputPath).size(), 5u) << depth;
    }
    // Depths that keep the colours must still show the picture: the 16-bit layout is one the raw
    // copy cannot widen by itself.
    const Picture picture = MakePicture(16, 16);
    for (int depth : {16, 24, 48, 96}) {
        SCOPED_TRACE(depth);
        Job.OutputBitDepth = depth;
        ASSERT_TRUE(Convert(input));
        std::vector<Picture> levels = ReadDdsLevels(Job.OutputPath);
        ASSERT_FALSE(levels.empty());
        EXPECT_GE(Psnr(levels.front(), picture), Psnr(EncodeThroughDevil(picture, folder + "bound.dds"), picture) - 1);
    }
    std::filesystem::remove(Job.OutputFolder + "photo.dds");
    Job.OutputBitDepth = 12;
    EXPECT_FALSE(Convert(input));
    EXPECT_TRUE(OutputFolderEntries().empty());
}

TEST_F(Pipeline, SimpleRotationOfA32BitPictureHasOpaqueBackgroundCorners) {
    const Picture picture = MakePicture(24, 16);
    const Picture alphaPicture = MakePicture(24, 16, true);
    const uint32_t argb[4] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    const uint32_t xrgb[4] = {0xFF0000, 0xFF00, 0xFF, 0};
    struct Case {
        const char* name;
        BmpParts parts;
    };
    const Case cases[] = {
        {"rgb32", {40, 24, 16, 32, 0, {}, {}, MaskedRows32(picture, xrgb)}},
        {"v5-32bit-alpha", {124, 24, 16, 32, 3, {argb, argb + 4}, {}, MaskedRows32(alphaPicture, argb)}},
        {"24bit", {40, 24, 16, 24, 0, {}, {}, Rows(picture, Bgr)}},
    };
    Settings.Transform.DoImageRotation = 1;
    Settings.Transform.ImageRotation = 45;
    Settings.Transform.ImageRotationBackColor = "FF8000";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string input = folder + c.name + ".bmp";
        WriteFileText(input, BuildBmp(c.parts));
        ASSERT_TRUE(Convert(input));
        std::vector<Picture> levels = ReadDdsLevels(Job.OutputPath);
        ASSERT_FALSE(levels.empty());
        const Picture& top = levels.front();
        for (auto [x, y] : {std::pair{0, 0}, {top.width - 1, 0}, {0, top.height - 1}, {top.width - 1, top.height - 1}}) {
            EXPECT_NEAR(top.At(x, y, 0), 255, 8) << x << "," << y;
            EXPECT_NEAR(top.At(x, y, 1), 128, 8) << x << "," << y;
            EXPECT_NEAR(top.At(x, y, 2), 0, 8) << x << "," << y;
            EXPECT_EQ(top.At(x, y, 3), 255) << x << "," << y;
        }
    }
}

TEST_F(Pipeline, NameThatLeavesTheOutputFolderWritesNothing) {
    // Two folders deep, so that "../.." still lands inside the scratch folder.
    Job.OutputFolder = folder + "out/deep/";
    CreateFolder(Job.OutputFolder);
    CreateFolder(Job.OutputFolder + "sub");
    std::string input = folder + "photo.bmp";
    WriteFileText(input, BuildBmp({40, 8, 8, 24, 0, {}, {}, Rows(MakePicture(8, 8), Bgr)}));
    const std::string victim = folder + "out/victim.txt";
    WriteFileText(victim, "mine");
    WriteFileText(folder + "config.ini", "");
    WriteFileText(folder + "profile.ini", "");
    auto entries = [](const std::string& path) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
            names.push_back(entry.path().lexically_relative(path).string());
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::string> before = entries(folder);

    // The mask reaches the settings from the settings file, a profile or an option alike.
    auto fromSettingsFile = [&](const std::string& mask) {
        Settings.Advanced.FilenameMask = mask;
        const std::string text = SettingsFileText();
        ApplyDefaults(true);
        Settings.SettingsPath = folder + "config.ini";
        WriteFileText(Settings.SettingsPath, text);
        LoadSettings();
    };
    auto fromProfile = [&](const std::string& mask) {
        WriteFileText(folder + "profile.ini", "[CLI]\n--filename-mask=" + mask + "\n");
        ASSERT_TRUE(LoadProfile(folder + "profile.ini"));
    };
    auto fromOption = [&](const std::string& mask) {
        ASSERT_EQ(ApplyOption(*FindOption("--FILENAME-MASK"), mask), "");
    };
    const std::vector<std::function<void(const std::string&)>> sources = {fromSettingsFile, fromProfile, fromOption};
    for (const auto& setMask : sources) {
        for (const char* mask : {"../victim.txt", "../../x_%filename%.%ext%", "sub/../../victim.txt", "/tmp/%filename%.%ext%"}) {
            SCOPED_TRACE(mask);
            ApplyDefaults(true);
            setMask(mask);
            ASSERT_EQ(Settings.Advanced.FilenameMask, mask);
            EXPECT_FALSE(Convert(input));
            EXPECT_EQ(entries(folder), before);
            EXPECT_EQ(ReadFileText(victim), "mine");
        }
        ApplyDefaults(true);
        setMask("sub/%filename%.%ext%");
        EXPECT_TRUE(Convert(input));
        EXPECT_EQ(ReadFileText(Job.OutputFolder + "sub/photo.dds").substr(0, 4), "DDS ");
        std::filesystem::remove(Job.OutputFolder + "sub/photo.dds");
    }
}
