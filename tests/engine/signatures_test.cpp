#include <gtest/gtest.h>
#include <sys/stat.h>

#include "engine/signatures.h"
#include "support/test_support.h"

TEST(DetectFileType, NamesTheTypeFromTheFirstBytes) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* expected;
    } cases[] = {
        {"picture.dds", std::string("BM\x36\x00\x00\x00", 6), "BMP"},
        {"canon.tif", std::string("II*\0\x10\0\0\0CR\x02\0", 12), "CR2"},
        {"plain.tif", std::string("II*\0\x08\0\0\0", 8), "TIFF (LE)"},
        {"three.bin", "BZh", "BZ2"},
        {"two.bin", "BZ", "[ERROR] UNRECOGNIZED"},
        {"riff.webp", std::string("RIFF\x10\0\0\0WEBPVP8 ", 16), "WEBP"},
        {"sqlite.db", std::string("SQLite format 3\0", 16), "SQLITE/DB"},
        {"exif.jpg", std::string("\xFF\xD8\xFF\xE1\x12\x34" "Exif\0\0", 12), "JPEG/EXIF"},
        {"mp3.mp3", "\xFF\xFB\x90", "MP3"},
        {"rar5.rar", std::string("Rar!\x1A\x07\x01\0", 8), "RAR (5.0+)"},
        {"text.txt", "Hello, world\n", "[ERROR] UNRECOGNIZED"},
        {"empty.bmp", "", "[ERROR] UNRECOGNIZED"},
    };
    std::string folder = ScratchFolder("signatures");
    for (const Case& c : cases) {
        WriteFileText(folder + c.name, c.bytes);
        EXPECT_EQ(DetectFileType(folder + c.name), c.expected) << c.name;
    }
}

TEST(DetectFileType, MissingFolderAndFifoAreUnrecognized) {
    std::string folder = ScratchFolder("signature-places");
    ASSERT_EQ(mkfifo((folder + "pipe.bmp").c_str(), 0600), 0);
    // A fifo without a writer would block a plain open; the answer must come at once.
    EXPECT_EQ(DetectFileType(folder + "pipe.bmp"), "[ERROR] UNRECOGNIZED");
    EXPECT_EQ(DetectFileType(folder + "missing.bmp"), "[ERROR] UNRECOGNIZED");
    EXPECT_EQ(DetectFileType(folder), "[ERROR] UNRECOGNIZED");
    EXPECT_EQ(DetectFileType(""), "[ERROR] UNRECOGNIZED");
}

TEST(DetectFileType, RecognizesTheBmpCorpus) {
    std::string data = SharedTestData();
    if (data.empty()) GTEST_SKIP() << "shared test data absent";
    for (const char* name : {"g/pal8.bmp", "g/rgb24.bmp", "g/rgb32bf.bmp"})
        EXPECT_EQ(DetectFileType(data + "/bmpsuite/" + name), "BMP") << name;
}
