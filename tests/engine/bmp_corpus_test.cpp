// The public BMP corpus: good files convert to what an independent reader sees, questionable
// ones convert correctly or fail cleanly, bad ones never crash, hang, eat memory or leave files.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/job.h"
#include "app/settings.h"
#include "engine/dds_check.h"
#include "engine/pipeline.h"
#include "platform/platform.h"
#include "support/test_support.h"
#include "ui/catalogues.h"

namespace {

// Files whose reference decode is wrong, checked against their uncompressed twin instead (the
// RLE pixels proved equal to it): the reference reader drops a pixel of every odd-length RLE4
// literal run and stops at the first delta code. It also ignores a V5 alpha mask, and here a
// 32-bit file's fourth byte stays alpha once any pixel uses it.
// Pixels an RLE stream leaves unset are handed over as transparent black.
enum class Alpha { FromReference, FromFile, FromFileUnsetBlack };
struct ReferenceFault {
    const char* file;
    const char* reference;
    Alpha alpha;
};
const ReferenceFault kReferenceFaults[] = {
    {"g-pal4rle", "g-pal4", Alpha::FromReference},
    {"q-pal4rlecut", "g-pal4", Alpha::FromFileUnsetBlack},
    {"q-pal4rletrns", "g-pal4", Alpha::FromFileUnsetBlack},
    {"q-pal8rlecut", "g-pal8", Alpha::FromFileUnsetBlack},
    {"q-pal8rletrns", "g-pal8", Alpha::FromFileUnsetBlack},
    {"q-rgba16-5551", "q-rgba16-5551", Alpha::FromFile},
    {"q-rgb32fakealpha", "q-rgb32fakealpha", Alpha::FromFile},
};

class BmpCorpus : public testing::Test {
protected:
    void SetUp() override {
        corpus = SharedTestData();
        if (corpus.empty()) GTEST_SKIP() << "shared test data is absent";
        corpus += "/bmpsuite/";
        InitialiseDevil();
        ApplyDefaults(true);
        BuildFormatCatalogues();
        ResetJob();
        scratch = ScratchFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
        Job.ConsoleMode = true;
        Job.OutputFormat = "dds";
        Job.AutomaticDepth = true;
    }

    std::vector<std::string> Files(const std::string& set) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(corpus + set))
            if (entry.path().extension() == ".bmp") names.push_back(entry.path().stem().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Converts into a folder of its own; the folder then holds the DDS file or nothing at all.
    bool Convert(const std::string& set, const std::string& name) {
        Job.OutputFolder = scratch + set + "-" + name + "/";
        CreateFolder(Job.OutputFolder);
        Job.InputPath = corpus + set + "/" + name + ".bmp";
        bool converted = ConvertCurrentFile();
        std::vector<std::string> left;
        for (const auto& entry : std::filesystem::directory_iterator(Job.OutputFolder))
            left.push_back(entry.path().filename().string());
        if (converted) {
            EXPECT_EQ(left, std::vector<std::string>{name + ".dds"}) << name;
            std::vector<Picture> levels = ReadDdsLevels(Job.OutputPath);
            EXPECT_FALSE(levels.empty()) << name;
            if (!levels.empty()) {
                EXPECT_EQ(static_cast<int>(levels.size()), ExpectedLevelCount(levels[0].width, levels[0].height)) << name;
            }
        } else {
            EXPECT_TRUE(left.empty()) << name << " left " << (left.empty() ? "" : left.front());
        }
        return converted;
    }

    // Top level within 1 dB of DevIL's own DXT1 encoding of the reference decode. With the
    // alpha from the file the reference takes the converted file's alpha and only the pixels it shows
    // are compared: for files whose alpha the reference reader ignores.
    void ExpectMatchesReference(const std::string& referenceName, Alpha alpha = Alpha::FromReference) {
        const bool alphaFromFile = alpha != Alpha::FromReference;
        Picture reference = ReadPicture(corpus + "ref/" + referenceName + ".png");
        ASSERT_GT(reference.width, 0) << referenceName;
        std::vector<Picture> levels = ReadDdsLevels(Job.OutputPath);
        ASSERT_FALSE(levels.empty()) << referenceName;
        if (alphaFromFile && levels.front().rgba.size() == reference.rgba.size()) {
            for (size_t i = 0; i < reference.rgba.size(); i += 4) {
                reference.rgba[i + 3] = levels.front().rgba[i + 3];
                if (alpha == Alpha::FromFileUnsetBlack && reference.rgba[i + 3] == 0) std::fill_n(&reference.rgba[i], 3, 0);
            }
        }
        double bound = Psnr(EncodeThroughDevil(reference, scratch + "bound.dds"), reference, alphaFromFile);
        double got = Psnr(levels.front(), reference, alphaFromFile);
        EXPECT_GE(got, bound - 1) << referenceName << ": " << got << " dB against " << bound << " dB";
    }

    bool HasReference(const std::string& referenceName) {
        return FileSize(corpus + "ref/" + referenceName + ".png") > 0;
    }

    void CheckAgainstReference(const std::string& referenceName) {
        for (const ReferenceFault& fault : kReferenceFaults)
            if (referenceName == fault.file) return ExpectMatchesReference(fault.reference, fault.alpha);
        if (HasReference(referenceName)) ExpectMatchesReference(referenceName);
    }

    std::string corpus;
    std::string scratch;
};

TEST_F(BmpCorpus, EveryGoodFileConvertsToItsReference) {
    std::vector<std::string> names = Files("g");
    ASSERT_FALSE(names.empty());
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(Convert("g", name));
        CheckAgainstReference("g-" + name);
    }
}

TEST_F(BmpCorpus, BitfieldsWithoutReferenceLookLikeTheirDefaultMaskTwin) {
    ASSERT_TRUE(Convert("g", "rgb32bf"));
    std::vector<Picture> odd = ReadDdsLevels(Job.OutputPath);
    ASSERT_TRUE(Convert("g", "rgb32bfdef"));
    std::vector<Picture> plain = ReadDdsLevels(Job.OutputPath);
    ASSERT_FALSE(odd.empty());
    ASSERT_FALSE(plain.empty());
    EXPECT_GE(Psnr(odd.front(), plain.front()), 40);
    EXPECT_EQ(odd.front().At(0, 0, 3), 255);
}

TEST_F(BmpCorpus, QuestionableFilesConvertCorrectlyOrFailCleanly) {
    int converted = 0;
    for (const std::string& name : Files("q")) {
        SCOPED_TRACE(name);
        if (!Convert("q", name)) continue;
        ++converted;
        CheckAgainstReference("q-" + name);
    }
    EXPECT_GT(converted, 0);
}

TEST_F(BmpCorpus, BadFilesNeverCrashHangOrEatMemory) {
    for (const std::string& name : Files("b")) {
        SCOPED_TRACE(name);
        Convert("b", name);
    }
    Job.OutputFolder = scratch + "reallybig/";
    CreateFolder(Job.OutputFolder);
    Job.InputPath = corpus + "b/reallybig.bmp";
    EXPECT_FALSE(ConvertCurrentFile());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    EXPECT_LT(usage.ru_maxrss, 256 * 1024) << "peak resident kilobytes";
}

}  // namespace
