#include <string>
#include <vector>

#include "app/settings.h"
#include "cli/console_job.h"
#include "cli/keywords.h"
#include "platform/platform.h"
#include "ui/catalogues.h"

namespace {
constexpr int kNumber = -1;  // printed as a number rather than a keyword

struct SettingLine {
    const char* label;
    const int32_t* wide;
    const int8_t* narrow;
    int list;
    int Value() const { return wide ? *wide : *narrow; }
};

SettingLine Line(const char* label, const int32_t* field, int list = kNumber) { return {label, field, nullptr, list}; }
SettingLine Line(const char* label, const int8_t* field, int list = kNumber) { return {label, nullptr, field, list}; }

struct InputFormatRule {
    const char* format;
    std::vector<SettingLine> lines;
};

struct OutputFormatRule {
    const char* format;
    const int32_t* bitsPerPixel;
    std::vector<SettingLine> lines;     // printed after the "BPP" line
    const int32_t* quality = nullptr;   // checked to lie within 1 to 100 after the depth
};

const std::vector<InputFormatRule>& InputFormatRules() {
    auto& in = Settings.Input;
    static const std::vector<InputFormatRule> rules = {
        {"dds", {Line("DDS Load As: ", &in.DDSLoadAs, 0)}},
        {"gif", {Line("GIF Frame Loading: ", &in.GIFFrameLoading, 2)}},
        {"ico", {Line("ICO Frame Loading: ", &in.ICOFrameLoading, 2)}},
        {"psd", {Line("PSD Color Mode: ", &in.PSDColorMode, 6)}},
        {"raw",
         {Line("RAW Load As: ", &in.RAWLoadAs, 1), Line("RAW Header Size: ", &in.RAWHeaderSize),
          Line("RAW Image Width: ", &in.RAWImageWidth), Line("RAW Image Height: ", &in.RAWImageHeight),
          Line("RAW Tone Mapping: ", &in.RAWToneMapping, 3)}},
        {"tiff", {Line("TIFF Frame Loading: ", &in.TIFFFrameLoading, 2)}},
    };
    return rules;
}

const std::vector<OutputFormatRule>& OutputFormatRules() {
    auto& out = Settings.Output;
    static const std::vector<OutputFormatRule> rules = {
        {"bmp", &out.BMPBPP,
         {Line("BMP Compression: ", &out.BMPCompression, 4), Line("BMP Color Table: ", &out.BMPColorTable, 5)}},
        {"dds", &out.DDSBPP, {}},
        {"exr", &out.EXRBPP, {Line("EXR Compression: ", &out.EXRCompression, 4)}},
        {"gif", &out.GIFBPP, {}},
        {"hdr", &out.HDRBPP, {}},
        {"ico", &out.ICOBPP, {}},
        {"j2k", &out.J2KBPP, {}},
        {"jng", &out.JNGBPP, {}},
        {"jp2", &out.JP2BPP, {}},
        {"jpg", &out.JPGBPP,
         {Line("JPG Quality: ", &out.JPGQuality), Line("JPG Chroma Subsampling: ", &out.JPGChroma, 7),
          Line("JPG Save As: ", &out.JPGSaveAs, 8)},
         &out.JPGQuality},
        {"jxr", &out.JXRBPP, {}},
        {"pbm", &out.PBMBPP, {}},
        {"pcx", &out.PCXBPP, {}},
        {"pfm", &out.PFMBPP, {}},
        {"pgm", &out.PGMBPP, {}},
        {"png", &out.PNGBPP,
         {Line("PNG Compression: ", &out.PNGCompression, 4), Line("PNG Interlaced: ", &out.PNGInterlaced)}},
        {"ppm", &out.PPMBPP, {}},
        {"psd", &out.PSDBPP, {}},
        {"tga", &out.TGABPP, {Line("TGA Compression: ", &out.TGACompression, 4)}},
        {"tiff", &out.TIFFBPP,
         {Line("TIFF Compression: ", &out.TIFFCompression, 4), Line("TIFF Color Mode: ", &out.TIFFColorMode, 6)}},
        {"wbmp", &out.WBMPBPP, {}},
        {"webp", &out.WEBPBPP, {Line("WEBP Quality: ", &out.WEBPQuality)}, &out.WEBPQuality},
        {"xpm", &out.XPMBPP, {}},
    };
    return rules;
}

void PrintLines(const std::vector<SettingLine>& lines, const std::string& outputFormat) {
    for (const SettingLine& line : lines) {
        int value = line.Value();
        ConsoleLine(line.label +
                    (line.list == kNumber ? std::to_string(value) : CodeToKeyword(line.list, value, outputFormat)));
    }
}
}  // namespace

bool IsOutputFormat(const std::string& format) {
    for (const std::string& offered : OfferedOutputFormats)
        if (offered == format) return true;
    return false;
}

bool IsValidBpp(const std::string& format, int bitsPerPixel) {
    if (OutputFormatDepths(format).empty()) return false;
    if (bitsPerPixel == 0) return true;
    for (int depth : OutputFormatDepthList(format))
        if (depth == bitsPerPixel) return true;
    return false;
}

void PrintInputFormatLines(const std::string& format, bool debug) {
    if (!debug) return;
    for (const InputFormatRule& rule : InputFormatRules())
        if (format == rule.format) PrintLines(rule.lines, std::string());
}

std::string CheckOutputFormatSettings(const std::string& format, bool debug, int* bitDepth) {
    *bitDepth = 0;
    for (const OutputFormatRule& rule : OutputFormatRules()) {
        if (format != rule.format) continue;
        *bitDepth = *rule.bitsPerPixel;
        if (debug) {
            ConsoleLine(UpperAscii(format) + " BPP: " + std::to_string(*rule.bitsPerPixel));
            PrintLines(rule.lines, format);
        }
        if (!IsValidBpp(format, *rule.bitsPerPixel)) return "Error: Invalid " + format + "-bpp value";
        if (rule.quality && (*rule.quality < 1 || *rule.quality > 100))
            return "Error: Invalid " + format + "-quality value";
        return std::string();
    }
    return std::string();
}
