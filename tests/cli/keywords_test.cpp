#include <gtest/gtest.h>

#include <string>

#include "cli/keywords.h"

namespace {
struct WordCase {
    int list;
    std::string word;
    int code;
};

TEST(KeywordToCode, ReadsWordsOfEveryCaseAndFallsBackToZero) {
    const WordCase cases[] = {
        {12, "BICUBIC", 3},         {12, "bicubic", 3},        {12, "BiCuBiC", 3},
        {12, "BI-CUBIC", 0},        {17, "STRIKETHROUGHT", 2}, {17, "STRIKETHROUGH", 0},
        {21, "FIXED", 0},           {21, "fixed", 0},          {21, "proportional", 0},
        {1, "48", 5},               {1, "48hs", 4},            {1, "48 HS", 0},
        {13, "bayer8", 2},          {13, "CLUSTER16", 6},      {4, "PIZ", 2},
        {4, "zlib6", 2},            {4, "rle", 1},             {4, "LogLuv", 8},
        {20, "BottomRight", 8},     {20, "BOTTOM RIGHT", 0},   {22, "custom", 2},
        {0, "", 0},                 {0, std::string("RGBA\0", 5), 0},
        // Lists 14 and 15 only print; no option reads them, and no list exists past 22.
        {14, "SOLID", 0},           {15, "IMAGE", 0},          {23, "AUTO", 0},
        {-1, "AUTO", 0},            {16, "bolditalic", 3},     {6, "lab", 2},
    };
    for (const WordCase& c : cases)
        EXPECT_EQ(KeywordToCode(c.list, c.word), c.code) << "list " << c.list << " word '" << c.word << "'";
}

struct CodeCase {
    int list;
    int code;
    std::string format;
    std::string word;
};

TEST(CodeToKeyword, GivesTheFirstWordInLowerCaseAndCompressionPerFormat) {
    const CodeCase cases[] = {
        {4, 2, "exr", "piz"},      {4, 2, "png", "zlib6"},   {4, 2, "tiff", "ccittfax4"},
        {4, 1, "bmp", "rle"},      {4, 1, "tga", "rle"},     {4, 8, "tiff", "logluv"},
        {4, 0, "png", "none"},     {4, 3, "bmp", ""},        {4, 5, "exr", ""},
        {4, 0, "dds", ""},         {4, 0, "", ""},           {4, 2, "PNG", "zlib6"},
        {13, 2, "", "bayer8"},     {13, 9, "", ""},          {13, -1, "", ""},
        {1, 4, "", "48hs"},        {21, 0, "", "fixed"},     {21, 1, "", ""},
        {14, 1, "", "solid"},      {15, 2, "", "image"},     {17, 2, "", "strikethrought"},
        {22, 1, "png", "original"}, {23, 0, "", ""},         {-5, 0, "", ""},
    };
    for (const CodeCase& c : cases)
        EXPECT_EQ(CodeToKeyword(c.list, c.code, c.format), c.word)
            << "list " << c.list << " code " << c.code << " format " << c.format;
}

TEST(KeywordLists, EveryWordReadsBackToItsCode) {
    int lists = 0;
    for (int list = 0; list < kKeywordListCount; ++list) {
        const std::vector<Keyword>& words = KeywordList(list);
        ASSERT_FALSE(words.empty()) << list;
        ++lists;
        for (const Keyword& entry : words) {
            if (list == 14 || list == 15) {
                EXPECT_EQ(KeywordToCode(list, entry.word), 0);
                continue;
            }
            EXPECT_EQ(KeywordToCode(list, entry.word), entry.code) << list << " " << entry.word;
            if (list == kCompressionList) continue;
            // The printed word of a code is read as that code again.
            EXPECT_EQ(KeywordToCode(list, CodeToKeyword(list, entry.code, "")), entry.code) << list;
        }
    }
    EXPECT_EQ(lists, 23);
    EXPECT_TRUE(KeywordList(23).empty());
}

TEST(KeywordLists, CompressionWordsPrintBackUnderTheirFormat) {
    const std::pair<const char*, std::vector<const char*>> groups[] = {
        {"bmp", {"NONE", "RLE"}},
        {"tga", {"NONE", "RLE"}},
        {"exr", {"NONE", "ZIP", "PIZ", "PXR24", "B44"}},
        {"png", {"NONE", "ZLIB1", "ZLIB6", "ZLIB9"}},
        {"tiff", {"NONE", "CCITTFAX3", "CCITTFAX4", "PACKBITS", "DEFLATE", "ADOBEDEFLATE", "LZW", "JPEG", "LOGLUV"}},
    };
    for (const auto& [format, words] : groups) {
        for (const char* word : words) {
            std::string lower(word);
            for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
            EXPECT_EQ(CodeToKeyword(kCompressionList, KeywordToCode(kCompressionList, word), format), lower) << format;
        }
    }
}
}  // namespace
