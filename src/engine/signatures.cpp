#include "engine/signatures.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace {
struct BytePattern {
    size_t offset;
    const char* hex;  // e.g. "4D 5A"
};

struct Signature {
    const char* label;
    std::vector<BytePattern> patterns;
};

// Table order matters: when several rows match, the last one wins.
const std::vector<Signature> kSignatures = {
    {"ICO", {{0, "00 00 01 00"}}},
    {"MPEG", {{0, "00 00 01 B3"}}},
    {"MPG/VOB", {{0, "00 00 01 BA"}}},
    {"MKV/MKA/WEBM", {{0, "1A 45 DF A3"}}},
    {"LUAC", {{0, "1B 4C 75 61"}}},
    {"GZ", {{0, "1F 8B"}}},
    {"PS", {{0, "25 21 50 53"}}},
    {"PDF", {{0, "25 50 44 46"}, {4, "2D"}}},
    {"ACE", {{0, "2A 2A 41 43"}, {4, "45 2A"}, {6, "2A"}}},
    {"XPM", {{0, "2F 2A 20 58"}, {4, "50 4D 20 2A"}, {8, "2F"}}},
    {"ASF/WMA/WMV", {{0, "30 26 B2 75"}, {4, "8E 66 CF 11"}, {8, "A6 D9 00 AA"}, {12, "00 62 CE 6C"}}},
    {"SRT", {{0, "31 0A 30 30"}}},
    {"7Z", {{0, "37 7A BC AF"}, {4, "27 1C"}}},
    {"PSD", {{0, "38 42 50 53"}}},
    {"FH8", {{0, "41 47 44 33"}}},
    {"DJVU", {{0, "41 54 26 54"}, {4, "46 4F 52 4D"}, {12, "44 4A"}, {14, "56"}}},
    {"BLEND", {{0, "42 4C 45 4E"}, {4, "44 45"}, {6, "52"}}},
    {"BMP", {{0, "42 4D"}}},
    {"BPG", {{0, "42 50 47 FB"}}},
    {"BZ2", {{0, "42 5A"}, {2, "68"}}},
    {"SWF", {{0, "43 57"}, {2, "53"}}},
    {"DRC", {{0, "44 52 41 43"}, {4, "4F"}}},
    {"FLIF", {{0, "46 4C 49 46"}}},
    {"SWF", {{0, "46 57"}, {2, "53"}}},
    {"FLV", {{0, "46 4C"}, {2, "56"}}},
    {"GIF87A", {{0, "47 49 46 38"}, {4, "37 61"}}},
    {"GIF89A", {{0, "47 49 46 38"}, {4, "39 61"}}},
    {"TIFF (LE)", {{0, "49 49 2A 00"}}},
    {"CR2", {{0, "49 49 2A 00"}, {4, "10 00 00 00"}, {8, "43 52"}}},
    {"CHM", {{0, "49 54 53 46"}, {4, "03 00 00 00"}, {8, "60 00 00 00"}}},
    {"MP3/ID3V2", {{0, "49 44"}, {2, "33"}}},
    {"CAB (IS)", {{0, "49 53 63 28"}}},
    {"LZ", {{0, "4C 5A 49 50"}}},
    {"MLV", {{0, "4D 4C 56 49"}}},
    {"TIFF (BE)", {{0, "4D 4D 00 2A"}}},
    {"CAB", {{0, "4D 53 43 46"}}},
    {"MID/MIDI", {{0, "4D 54 68 64"}}},
    {"EXE/DLL (MZ/PE/NE)", {{0, "4D 5A"}}},
    {"NUI", {{0, "4E 55 52 55"}, {4, "49 4D"}, {6, "47"}}},
    {"NUP", {{0, "4E 55 52 55"}, {4, "50 41"}, {6, "4C"}}},
    {"OGG/OGA/OGV", {{0, "4F 67 67 53"}}},
    {"PBM", {{0, "50 31"}, {2, "0A"}}},
    {"PGM", {{0, "50 32"}, {2, "0A"}}},
    {"PPM", {{0, "50 33"}, {2, "0A"}}},
    {"ZIP", {{0, "50 4B 03 04"}}},
    {"ZIP (E)", {{0, "50 4B 05 06"}}},
    {"ZIP (S)", {{0, "50 4B 07 08"}}},
    {"ANI", {{0, "52 49 46 46"}, {8, "41 43 4F 4E"}}},
    {"AVI", {{0, "52 49 46 46"}, {8, "41 56 49 20"}}},
    {"WAV", {{0, "52 49 46 46"}, {8, "57 41 56 45"}}},
    {"WEBP", {{0, "52 49 46 46"}, {8, "57 45 42 50"}}},
    {"RAR (1.5+)", {{0, "52 61 72 21"}, {4, "1A 07"}, {6, "00"}}},
    {"RAR (5.0+)", {{0, "52 61 72 21"}, {4, "1A 07"}, {6, "01 00"}}},
    {"DPX (BE)", {{0, "53 44 50 58"}}},
    {"SQLITE/DB", {{0, "53 51 4C 69"}, {4, "74 65 20 66"}, {8, "6F 72 6D 61"}, {12, "74 20 33 00"}}},
    {"DPX (LE)", {{0, "58 50 44 53"}}},
    {"EXE (ZM)", {{0, "5A 4D"}}},
    {"ARJ", {{0, "60 EA"}}},
    {"FLAC", {{0, "66 4C 61 43"}}},
    {"3GP", {{0, "66 74 79 70"}, {4, "33 67"}}},
    {"XCF", {{0, "67 69 6D 70"}, {4, "20 78 63 66"}}},
    {"TOX", {{0, "74 6F 78 33"}}},
    {"EXR", {{0, "76 2F 31 01"}}},
    {"XAR", {{0, "78 61 72 21"}}},
    {"RTF", {{0, "7B 5C 72 74"}, {4, "66 31"}}},
    {"CIN", {{0, "80 2A 5F D7"}}},
    {"PNG", {{0, "89 50 4E 47"}, {4, "0D 0A 1A 0A"}}},
    {"CLASS", {{0, "CA FE BA BE"}}},
    {"LEP", {{0, "CF 84"}, {2, "01"}}},
    {"DOC/XLS/PPT", {{0, "D0 CF 11 E0"}, {4, "A1 B1 1A E1"}}},
    {"WMF", {{0, "D7 CD C6 9A"}}},
    {"XZ", {{0, "FD 37 7A 58"}, {4, "5A 00"}}},
    {"JPG", {{0, "FF D8 FF DB"}}},
    {"JPEG/JFIF", {{0, "FF D8 FF E0"}, {4, "00 10 4A 46"}, {8, "49 46 00 01"}}},
    {"JPEG", {{0, "FF D8 FF EE"}}},
    {"JPEG/EXIF", {{0, "FF D8 FF E1"}, {6, "45 78 69 66"}, {10, "00 00"}}},
    {"MP3", {{0, "FF F2"}}},
    {"MP3", {{0, "FF F3"}}},
    {"MP3", {{0, "FF FB"}}},
};

// No pattern reaches past byte 15.
constexpr size_t kHeadSize = 16;

int HexDigit(char c) { return c <= '9' ? c - '0' : c - 'A' + 10; }

bool PatternMatches(const unsigned char* head, const BytePattern& pattern) {
    size_t at = pattern.offset;
    for (const char* hex = pattern.hex; hex[0] && hex[1]; hex += hex[2] ? 3 : 2, ++at) {
        if (at >= kHeadSize) return false;
        if (head[at] != HexDigit(hex[0]) * 16 + HexDigit(hex[1])) return false;
    }
    return true;
}

// The first bytes of a regular file, zeros past its end; false when there is no such file.
bool ReadHead(const std::string& path, unsigned char* head) {
    // O_NONBLOCK: opening a fifo without a writer must not hang the run.
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    for (size_t filled = 0; ok && filled < kHeadSize;) {
        ssize_t n = read(fd, head + filled, kHeadSize - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        filled += static_cast<size_t>(n);
    }
    close(fd);
    return ok;
}
}  // namespace

std::string DetectFileType(const std::string& path) {
    std::string result = "[ERROR] UNRECOGNIZED";
    unsigned char head[kHeadSize] = {};
    if (!ReadHead(path, head)) return result;
    for (const Signature& row : kSignatures) {
        bool all = true;
        for (const BytePattern& pattern : row.patterns) all = all && PatternMatches(head, pattern);
        if (all) result = row.label;
    }
    return result;
}
