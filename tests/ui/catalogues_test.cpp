#include "ui/catalogues.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/job.h"
#include "support/test_support.h"
#include "ui/texts.h"

namespace {
using Strings = std::vector<std::string>;

class CatalogueTest : public testing::Test {
protected:
    void SetUp() override {
        BuildUiText();
        BuildFormatCatalogues();
        ResetJob();
    }
};

TEST_F(CatalogueTest, InputCatalogueMapsEveryExtensionToItsMainType) {
    EXPECT_EQ(InputFormatCatalogue.size(), 79u);
    std::set<std::string> mainTypes;
    for (const auto& [extension, entry] : InputFormatCatalogue) {
        // Every alias points at a main entry that names itself.
        ASSERT_EQ(InputFormatCatalogue.count(entry.canonical), 1u) << extension;
        EXPECT_EQ(InputFormatCatalogue.at(entry.canonical).canonical, entry.canonical) << extension;
        EXPECT_FALSE(entry.description.empty()) << extension;
        mainTypes.insert(entry.canonical);
    }
    EXPECT_EQ(mainTypes.size(), 16u);

    struct Case {
        const char* extension;
        const char* canonical;
        const char* description;
    } cases[] = {
        {"bmp", "bmp", "Windows or OS/2 Bitmap"},   {"rle", "bmp", "Windows or OS/2 Bitmap"},
        {"dib", "bmp", "Windows or OS/2 Bitmap"},   {"jif", "jpg", "JPEG File"},
        {"apm", "wmf", "Aldus Placeable Metafile"}, {"wmz", "wmf", "Windows Metafile Format"},
        {"3fr", "raw", "Hasselblad Camera RAW Image"}, {"dcs", "raw", "Kodak Camera RAW Image"},
        {"rwl", "raw", "Leica Camera RAW Image"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(InputFormatCatalogue.count(c.extension), 1u) << c.extension;
        EXPECT_EQ(InputFormatCatalogue.at(c.extension).canonical, c.canonical) << c.extension;
        EXPECT_EQ(InputFormatDescription(c.extension), c.description) << c.extension;
    }
    EXPECT_EQ(InputFormatDescription("xyz"), "");
}

TEST_F(CatalogueTest, OutputCatalogueGivesDescriptionsAndDepths) {
    EXPECT_EQ(OutputFormatCatalogue.size(), 23u);
    for (const auto& [extension, entry] : OutputFormatCatalogue) {
        std::vector<int> depths = OutputFormatDepthList(extension);
        ASSERT_FALSE(depths.empty()) << extension;
        for (size_t i = 1; i < depths.size(); ++i) EXPECT_LT(depths[i - 1], depths[i]) << extension;
        EXPECT_FALSE(entry.description.empty()) << extension;
    }
    struct Case {
        const char* extension;
        const char* description;
        const char* depths;
        std::vector<int> depthList;
    } cases[] = {
        {"dds", "DirectDraw Surface", "32", {32}},
        {"bmp", "Windows or OS/2 Bitmap", "1,4,8,16,24,32", {1, 4, 8, 16, 24, 32}},
        {"jxr", "JPEG XR Image Format", "1,8,16,24,32,48,96", {1, 8, 16, 24, 32, 48, 96}},
        {"pcx", "ZSoft Paintbrush", "24", {24}},
        {"xyz", "", "", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OutputFormatDescription(c.extension), c.description) << c.extension;
        EXPECT_EQ(OutputFormatDepths(c.extension), c.depths) << c.extension;
        EXPECT_EQ(OutputFormatDepthList(c.extension), c.depthList) << c.extension;
    }
}

TEST_F(CatalogueTest, AcceptsTheBitmapExtensionsInCatalogueOrder) {
    EXPECT_EQ(AcceptedInputExtensions, (Strings{"rle", "dib", "bmp"}));
    AcceptedInputExtensions.clear();
    BuildAcceptedInputExtensions();
    EXPECT_EQ(AcceptedInputExtensions, (Strings{"rle", "dib", "bmp"}));
}

TEST_F(CatalogueTest, FilePatternListsAllTypesThenEachDescriptionNewestFirst) {
    EXPECT_EQ(BuildInputFilePattern(),
              "All Supported Files|*.rle;*.dib;*.bmp|Windows or OS/2 Bitmap|*.bmp;*.dib;*.rle|All Files (*.*)|*.*");
}

TEST_F(CatalogueTest, AddInputFileTakesOnlyAcceptedNonEmptyFiles) {
    std::string folder = ScratchFolder("add-input");
    for (const char* name : {"a.bmp", "b.dib", "c.BMP", "d.png", "f.rle", "noextension", "g.jpg"})
        WriteFileText(folder + name, "BM data");
    WriteFileText(folder + "e.bmp", "");

    struct Step {
        const char* name;
        bool accepted;
        const char* heldAfter;
    } steps[] = {
        {"a.bmp", true, "a.bmp"},
        {"d.png", false, "a.bmp"},
        {"b.dib", true, "b.dib"},
        {"g.jpg", false, "b.dib"},  // a known type, but not one this product reads
        {"c.BMP", true, "c.BMP"},
        {"e.bmp", false, "c.BMP"},  // empty file
        {"noextension", false, "c.BMP"},
        {"f.rle", true, "f.rle"},
        {"missing.bmp", true, "missing.bmp"},  // only an empty file fails the size test
    };
    for (const Step& step : steps) {
        EXPECT_EQ(AddInputFile(folder + step.name), step.accepted) << step.name;
        ASSERT_EQ(InputList.size(), 1u) << step.name;
        EXPECT_EQ(InputList.begin()->first, folder + step.heldAfter) << step.name;
        EXPECT_EQ(InputList.begin()->second, "") << step.name;
    }
}

TEST_F(CatalogueTest, AddInputFileKeepsTheSubfolderBelowTheInputFolder) {
    std::string folder = ScratchFolder("add-input-sub");
    WriteFileText(folder + "x.bmp", "BM");
    Job.InputFolder = folder;
    ASSERT_TRUE(AddInputFile(folder + "sub/deeper/x.bmp"));
    EXPECT_EQ(InputList.begin()->second, "sub/deeper/");
    ASSERT_TRUE(AddInputFile(folder + "x.bmp"));
    EXPECT_EQ(InputList.begin()->second, "");
}

TEST_F(CatalogueTest, ResetJobStartsCountersAndForgetsTheInput) {
    std::string folder = ScratchFolder("reset-job");
    WriteFileText(folder + "a.bmp", "BM");
    ASSERT_TRUE(AddInputFile(folder + "a.bmp"));
    Job.NameCounter = 7;
    Job.RandomNumber = 0;
    Job.InputPath = folder + "a.bmp";
    Job.OutputFolder = folder;
    Job.OutputBitDepth = 32;
    std::set<int> randoms;
    for (int i = 0; i < 200; ++i) {
        ResetJob();
        EXPECT_GE(Job.RandomNumber, 1);
        EXPECT_LE(Job.RandomNumber, 99999);
        randoms.insert(Job.RandomNumber);
    }
    EXPECT_GT(randoms.size(), 1u);
    EXPECT_EQ(Job.NameCounter, 1);
    EXPECT_TRUE(InputList.empty());
    EXPECT_EQ(Job.InputPath, "");
    EXPECT_EQ(Job.OutputFolder, "");
    EXPECT_EQ(Job.OutputBitDepth, 0);
    EXPECT_FALSE(Job.ConsoleMode);
    ASSERT_FALSE(Job.ProgramFolder.empty());
    EXPECT_EQ(Job.ProgramFolder.back(), '/');
    EXPECT_EQ(AcceptedInputExtensions, (Strings{"rle", "dib", "bmp"}));
}
}  // namespace
