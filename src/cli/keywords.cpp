#include "cli/keywords.h"

#include "app/settings.h"

namespace {
const std::vector<std::vector<Keyword>>& Lists() {
    static const std::vector<std::vector<Keyword>> lists = {
        /* 0 */ {{"AUTO", 0}, {"BGRA", 1}, {"RGBA", 2}},
        /* 1 */ {{"AUTO", 0}, {"8", 1}, {"16", 2}, {"24", 3}, {"48HS", 4}, {"48", 5}},
        /* 2 */ {{"ALL", 0}, {"FIRST", 1}, {"MIDDLE", 2}, {"LAST", 3}, {"RANDOM", 4}},
        /* 3 */ {{"NONE", 0}, {"LINEAR", 1}, {"AL", 2}, {"DRR", 3}, {"GD", 4}},
        /* 4 */
        {{"NONE", 0}, {"RLE", 1}, {"ZIP", 1}, {"PIZ", 2}, {"PXR24", 3}, {"B44", 4}, {"ZLIB1", 1}, {"ZLIB6", 2},
         {"ZLIB9", 3}, {"CCITTFAX3", 1}, {"CCITTFAX4", 2}, {"PACKBITS", 3}, {"DEFLATE", 4}, {"ADOBEDEFLATE", 5},
         {"LZW", 6}, {"JPEG", 7}, {"LOGLUV", 8}},
        /* 5 */ {{"AUTO", 0}, {"EXACT", 1}},
        /* 6 */ {{"RGB", 0}, {"CMYK", 1}, {"LAB", 2}},
        /* 7 */ {{"NONE", 0}, {"LOW", 1}, {"MEDIUM", 2}, {"HIGH", 3}},
        /* 8 */ {{"STANDARD", 0}, {"SIMPLE", 1}, {"OPTIMIZED", 2}, {"PROGRESSIVE", 3}},
        /* 9 */ {{"SIMPLE", 0}, {"ADVANCED", 1}},
        /* 10 */ {{"PIXELS", 0}, {"PERCENT", 1}},
        /* 11 */ {{"ALLIMAGES", 0}, {"LARGEIMAGES", 1}},
        /* 12 */ {{"BOX", 0}, {"BILINEAR", 1}, {"BSPLINE", 2}, {"BICUBIC", 3}, {"CATMULLROM", 4}, {"LANCZOS", 5}},
        /* 13 */
        {{"FS", 0}, {"BAYER4", 1}, {"BAYER8", 2}, {"BAYER16", 3}, {"CLUSTER6", 4}, {"CLUSTER8", 5}, {"CLUSTER16", 6}},
        /* 14 */ {{"NONE", 0}, {"SOLID", 1}},
        /* 15 */ {{"NONE", 0}, {"TEXT", 1}, {"IMAGE", 2}},
        /* 16 */ {{"REGULAR", 0}, {"BOLD", 1}, {"ITALIC", 2}, {"BOLDITALIC", 3}},
        /* 17 */ {{"NONE", 0}, {"UNDERLINE", 1}, {"STRIKETHROUGHT", 2}},
        /* 18 */ {{"LEFT", 0}, {"CENTER", 1}, {"RIGHT", 2}},
        /* 19 */ {{"IMAGE", 0}, {"FRAME", 1}},
        /* 20 */
        {{"TOPLEFT", 0}, {"TOPCENTER", 1}, {"TOPRIGHT", 2}, {"MIDDLELEFT", 3}, {"MIDDLECENTER", 4}, {"MIDDLERIGHT", 5},
         {"BOTTOMLEFT", 6}, {"BOTTOMCENTER", 7}, {"BOTTOMRIGHT", 8}},
        /* 21 */ {{"FIXED", 0}},
        /* 22 */ {{"CURRENT", 0}, {"ORIGINAL", 1}, {"CUSTOM", 2}},
    };
    return lists;
}

// The words of the compression list that each output format understands, in list order.
struct CompressionGroup {
    const char* format;
    std::vector<const char*> words;
};

const std::vector<CompressionGroup>& CompressionGroups() {
    static const std::vector<CompressionGroup> groups = {
        {"bmp", {"NONE", "RLE"}},
        {"tga", {"NONE", "RLE"}},
        {"exr", {"NONE", "ZIP", "PIZ", "PXR24", "B44"}},
        {"png", {"NONE", "ZLIB1", "ZLIB6", "ZLIB9"}},
        {"tiff",
         {"NONE", "CCITTFAX3", "CCITTFAX4", "PACKBITS", "DEFLATE", "ADOBEDEFLATE", "LZW", "JPEG", "LOGLUV"}},
    };
    return groups;
}

// Lists 14 and 15 only name codes in status lines; no option reads them.
bool TakesWords(int list) { return (list >= 0 && list <= 13) || (list >= 16 && list < kKeywordListCount); }

}  // namespace

const std::vector<Keyword>& KeywordList(int list) {
    static const std::vector<Keyword> none;
    if (list < 0 || list >= kKeywordListCount) return none;
    return Lists()[static_cast<size_t>(list)];
}

int KeywordToCode(int list, const std::string& word) {
    if (!TakesWords(list)) return 0;
    for (const Keyword& entry : KeywordList(list))
        if (EqualsIgnoringAsciiCase(entry.word, word)) return entry.code;
    return 0;
}

std::string CodeToKeyword(int list, int code, const std::string& outputFormat) {
    if (list == kCompressionList) {
        for (const CompressionGroup& group : CompressionGroups()) {
            if (!EqualsIgnoringAsciiCase(group.format, outputFormat)) continue;
            for (const char* word : group.words)
                if (KeywordToCode(list, word) == code) return LowerAscii(word);
            return std::string();
        }
        return std::string();
    }
    for (const Keyword& entry : KeywordList(list))
        if (entry.code == code) return LowerAscii(entry.word);
    return std::string();
}
