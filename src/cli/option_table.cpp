#include "cli/options.h"

namespace {
using K = OptionKind;
using T = OptionTarget;

// The bits-per-pixel option of a format: "--BMP-BPP" writes [Output] BMP BPP.
constexpr OptionInfo Bpp(const char* name, const char* key) {
    return {.name = name, .kind = K::Integer, .group = "Output", .key = key};
}
}  // namespace

const std::vector<OptionInfo>& OptionTable() {
    static const std::vector<OptionInfo> table = {
        {.name = "--INPUT", .shortName = "-I", .kind = K::Text, .target = T::InputFile, .inProfile = false},
        {.name = "--OUTPUT", .shortName = "-O", .kind = K::Text, .target = T::OutputFolder, .inProfile = false},
        {.name = "--CONVERSION", .shortName = "-C", .kind = K::Text, .target = T::OutputFormat, .inProfile = false},
        {.name = "--PROFILE", .kind = K::Text, .target = T::Profile, .inProfile = false},
        {.name = "--DEBUG", .shortName = "-D", .target = T::Debug, .inProfile = false},
        {.name = "--QUIET", .shortName = "-Q", .target = T::Quiet, .inProfile = false},
        {.name = "--PAUSE", .shortName = "-P", .target = T::Pause, .inProfile = false},

        {.name = "--DDS-LOAD-AS", .kind = K::Keyword, .keywordList = 0, .group = "Input", .key = "DDS Load As"},
        {.name = "--GIF-FRAME-LOADING", .kind = K::Keyword, .keywordList = 2, .group = "Input", .key = "GIF Frame Loading"},
        {.name = "--ICO-FRAME-LOADING", .kind = K::Keyword, .keywordList = 2, .group = "Input", .key = "ICO Frame Loading"},
        {.name = "--TIFF-FRAME-LOADING", .kind = K::Keyword, .keywordList = 2, .group = "Input", .key = "TIFF Frame Loading"},
        {.name = "--PSD-COLOR-MODE", .kind = K::Keyword, .keywordList = 6, .group = "Input", .key = "PSD Color Mode"},
        {.name = "--RAW-LOAD-AS", .kind = K::Keyword, .keywordList = 1, .group = "Input", .key = "RAW Load As"},
        {.name = "--RAW-HEADER-SIZE", .kind = K::Integer, .group = "Input", .key = "RAW Header Size"},
        {.name = "--RAW-WIDTH", .kind = K::Integer, .group = "Input", .key = "RAW Image Width"},
        {.name = "--RAW-HEIGHT", .kind = K::Integer, .group = "Input", .key = "RAW Image Height"},
        {.name = "--RAW-TONE-MAPPING", .kind = K::Keyword, .keywordList = 3, .group = "Input", .key = "RAW Tone Mapping"},

        Bpp("--BMP-BPP", "BMP BPP"),
        Bpp("--DDS-BPP", "DDS BPP"),
        Bpp("--EXR-BPP", "EXR BPP"),
        Bpp("--GIF-BPP", "GIF BPP"),
        Bpp("--HDR-BPP", "HDR BPP"),
        Bpp("--ICO-BPP", "ICO BPP"),
        Bpp("--J2K-BPP", "J2K BPP"),
        Bpp("--JNG-BPP", "JNG BPP"),
        Bpp("--JP2-BPP", "JP2 BPP"),
        Bpp("--JPG-BPP", "JPG BPP"),
        Bpp("--JXR-BPP", "JXR BPP"),
        Bpp("--PBM-BPP", "PBM BPP"),
        Bpp("--PCX-BPP", "PCX BPP"),
        Bpp("--PFM-BPP", "PFM BPP"),
        Bpp("--PGM-BPP", "PGM BPP"),
        Bpp("--PNG-BPP", "PNG BPP"),
        Bpp("--PPM-BPP", "PPM BPP"),
        Bpp("--PSD-BPP", "PSD BPP"),
        Bpp("--TGA-BPP", "TGA BPP"),
        Bpp("--TIFF-BPP", "TIFF BPP"),
        Bpp("--WBMP-BPP", "WBMP BPP"),
        Bpp("--WEBP-BPP", "WEBP BPP"),
        Bpp("--XPM-BPP", "XPM BPP"),
        {.name = "--BMP-COMPRESSION", .kind = K::Keyword, .keywordList = 4, .group = "Output", .key = "BMP Compression"},
        {.name = "--EXR-COMPRESSION", .kind = K::Keyword, .keywordList = 4, .group = "Output", .key = "EXR Compression"},
        {.name = "--PNG-COMPRESSION", .kind = K::Keyword, .keywordList = 4, .group = "Output", .key = "PNG Compression"},
        {.name = "--TGA-COMPRESSION", .kind = K::Keyword, .keywordList = 4, .group = "Output", .key = "TGA Compression"},
        {.name = "--TIFF-COMPRESSION", .kind = K::Keyword, .keywordList = 4, .group = "Output", .key = "TIFF Compression"},
        {.name = "--BMP-COLOR-TABLE", .kind = K::Keyword, .keywordList = 5, .group = "Output", .key = "BMP Color Table"},
        {.name = "--TIFF-COLOR-MODE", .kind = K::Keyword, .keywordList = 6, .group = "Output", .key = "TIFF Color Mode"},
        {.name = "--JPG-QUALITY", .kind = K::Integer, .group = "Output", .key = "JPG Quality"},
        {.name = "--JPG-CHROMA", .kind = K::Keyword, .keywordList = 7, .group = "Output", .key = "JPG Chroma"},
        {.name = "--JPG-SAVE-AS", .kind = K::Keyword, .keywordList = 8, .group = "Output", .key = "JPG Save As"},
        {.name = "--PNG-INTERLACED", .group = "Output", .key = "PNG Interlaced"},
        {.name = "--WEBP-QUALITY", .kind = K::Integer, .group = "Output", .key = "WEBP Quality"},

        {.name = "--ROTATION", .kind = K::Integer, .group = "Transform", .key = "Image Rotation", .switchKey = "Do Image Rotation"},
        {.name = "--ROTATION-TYPE", .kind = K::Keyword, .keywordList = 9, .group = "Transform", .key = "Image Rotation Type"},
        {.name = "--ROTATION-BACK-COLOR", .kind = K::Text, .group = "Transform", .key = "Image Rotation Back Color"},
        {.name = "--WIDTH", .kind = K::Integer, .group = "Transform", .key = "Image Width", .switchKey = "Do Image Resize"},
        {.name = "--WIDTH-UNIT", .kind = K::Keyword, .keywordList = 10, .group = "Transform", .key = "Image Width Unit"},
        {.name = "--HEIGHT", .kind = K::Integer, .group = "Transform", .key = "Image Height", .switchKey = "Do Image Resize"},
        {.name = "--HEIGHT-UNIT", .kind = K::Keyword, .keywordList = 10, .group = "Transform", .key = "Image Height Unit"},
        {.name = "--KEEP-ASPECT-RATIO", .group = "Transform", .key = "Keep Aspect Ratio"},
        {.name = "--RESIZE-TYPE", .kind = K::Keyword, .keywordList = 11, .group = "Transform", .key = "Image Resize Type"},
        {.name = "--RESIZE-ALGORITHM", .kind = K::Keyword, .keywordList = 12, .group = "Transform", .key = "Image Resize Algorithm"},
        {.name = "--FLIP-HORIZONTAL", .group = "Transform", .key = "Do Image Flip Horizontal"},
        {.name = "--FLIP-VERTICAL", .group = "Transform", .key = "Do Image Flip Vertical"},

        {.name = "--BRIGHTNESS", .kind = K::Integer, .group = "Adjustment", .key = "Image Brightness", .switchKey = "Do Image Color Correction"},
        {.name = "--CONTRAST", .kind = K::Integer, .group = "Adjustment", .key = "Image Contrast", .switchKey = "Do Image Color Correction"},
        {.name = "--GAMMA", .kind = K::Decimal, .group = "Adjustment", .key = "Image Gamma", .switchKey = "Do Image Color Correction"},
        {.name = "--INVERT", .group = "Adjustment", .key = "Image Invert", .switchKey = "Do Image Color Correction"},
        {.name = "--GREYSCALE", .group = "Adjustment", .key = "Do Image Greyscale"},
        {.name = "--THRESHOLD", .kind = K::Integer, .group = "Adjustment", .key = "Image Threshold", .switchKey = "Do Image Threshold"},
        {.name = "--DITHER", .kind = K::Keyword, .keywordList = 13, .group = "Adjustment", .key = "Image Dither Algorithm", .switchKey = "Do Image Dither"},

        {.name = "--FR-SOLID-LEFT", .kind = K::Integer, .group = "Frame", .key = "Solid Left", .switchKey = "Do Frame"},
        {.name = "--FR-SOLID-RIGHT", .kind = K::Integer, .group = "Frame", .key = "Solid Right", .switchKey = "Do Frame"},
        {.name = "--FR-SOLID-TOP", .kind = K::Integer, .group = "Frame", .key = "Solid Top", .switchKey = "Do Frame"},
        {.name = "--FR-SOLID-BOTTOM", .kind = K::Integer, .group = "Frame", .key = "Solid Bottom", .switchKey = "Do Frame"},
        {.name = "--FR-SOLID-LEFT-COLOR", .kind = K::Text, .group = "Frame", .key = "Solid Left Color"},
        {.name = "--FR-SOLID-RIGHT-COLOR", .kind = K::Text, .group = "Frame", .key = "Solid Right Color"},
        {.name = "--FR-SOLID-TOP-COLOR", .kind = K::Text, .group = "Frame", .key = "Solid Top Color"},
        {.name = "--FR-SOLID-BOTTOM-COLOR", .kind = K::Text, .group = "Frame", .key = "Solid Bottom Color"},
        // Profiles have always stored the frame opacity under a watermark-style key.
        {.name = "--FR-SOLID-OPACITY", .kind = K::Integer, .group = "Frame", .key = "Solid Opacity", .profileKey = "--WM-SOLID-OPACITY"},

        {.name = "--WM-TEXT", .kind = K::Text, .group = "Watermark", .key = "Text", .switchKey = "Do Watermark", .switchValue = 1},
        {.name = "--WM-FONT", .kind = K::Text, .group = "Watermark", .key = "Font"},
        {.name = "--WM-FONT-SIZE", .kind = K::Integer, .group = "Watermark", .key = "Font Size"},
        {.name = "--WM-FONT-LEADING", .kind = K::Integer, .group = "Watermark", .key = "Font Leading"},
        {.name = "--WM-FONT-COLOR", .kind = K::Text, .group = "Watermark", .key = "Font Color"},
        {.name = "--WM-FONT-STYLE", .kind = K::Keyword, .keywordList = 16, .group = "Watermark", .key = "Font Style"},
        {.name = "--WM-FONT-EFFECT", .kind = K::Keyword, .keywordList = 17, .group = "Watermark", .key = "Font Effect"},
        {.name = "--WM-TEXT-ANTIALIASING", .group = "Watermark", .key = "Text Antialiasing"},
        {.name = "--WM-TEXT-ALIGNMENT", .kind = K::Keyword, .keywordList = 18, .group = "Watermark", .key = "Text Alignment"},
        {.name = "--WM-TEXT-PADDING", .kind = K::Integer, .group = "Watermark", .key = "Text Padding"},
        {.name = "--WM-TEXT-OPACITY", .kind = K::Integer, .group = "Watermark", .key = "Text Opacity"},
        {.name = "--WM-BACK-COLOR", .kind = K::Text, .group = "Watermark", .key = "Back Color"},
        {.name = "--WM-BACK-OPACITY", .kind = K::Integer, .group = "Watermark", .key = "Back Opacity"},
        {.name = "--WM-TEXT-BOUNDARY", .kind = K::Keyword, .keywordList = 19, .group = "Watermark", .key = "Text Boundary"},
        {.name = "--WM-TEXT-POSITION", .kind = K::Keyword, .keywordList = 20, .group = "Watermark", .key = "Text Position"},
        {.name = "--WM-TEXT-X-OFFSET", .kind = K::Integer, .group = "Watermark", .key = "Text X Offset"},
        {.name = "--WM-TEXT-Y-OFFSET", .kind = K::Integer, .group = "Watermark", .key = "Text Y Offset"},
        {.name = "--WM-TEXT-ROTATION", .kind = K::Integer, .group = "Watermark", .key = "Text Rotation"},
        {.name = "--WM-TEXT-SIZE", .kind = K::Keyword, .keywordList = 21, .group = "Watermark", .key = "Text Size"},
        {.name = "--WM-IMAGE", .kind = K::Text, .group = "Watermark", .key = "Image", .switchKey = "Do Watermark", .switchValue = 2},
        {.name = "--WM-IMAGE-GREYSCALE", .group = "Watermark", .key = "Image Greyscale"},
        {.name = "--WM-IMAGE-OPACITY", .kind = K::Integer, .group = "Watermark", .key = "Image Opacity"},
        {.name = "--WM-IMAGE-BOUNDARY", .kind = K::Keyword, .keywordList = 19, .group = "Watermark", .key = "Image Boundary"},
        {.name = "--WM-IMAGE-POSITION", .kind = K::Keyword, .keywordList = 20, .group = "Watermark", .key = "Image Position"},
        {.name = "--WM-IMAGE-X-OFFSET", .kind = K::Integer, .group = "Watermark", .key = "Image X Offset"},
        {.name = "--WM-IMAGE-Y-OFFSET", .kind = K::Integer, .group = "Watermark", .key = "Image Y Offset"},
        {.name = "--WM-IMAGE-ROTATION", .kind = K::Integer, .group = "Watermark", .key = "Image Rotation"},
        {.name = "--WM-IMAGE-SIZE", .kind = K::Keyword, .keywordList = 21, .group = "Watermark", .key = "Image Size"},

        {.name = "--FILENAME-MASK", .kind = K::Text, .group = "Advanced", .key = "Filename Mask"},
        {.name = "--FILE-TIMESTAMP", .kind = K::Keyword, .keywordList = 22, .group = "Advanced", .key = "File Timestamp"},
        {.name = "--FILE-TIMESTAMP-CUSTOM", .kind = K::Integer, .group = "Advanced", .key = "Custom Timestamp"},
        {.name = "--NO-SUBFOLDERS", .group = "Advanced", .key = "Keep Subfolders", .flagValue = 0},
    };
    return table;
}

const OptionInfo* FindOption(const std::string& name) {
    for (const OptionInfo& option : OptionTable())
        if (name == option.name || (option.shortName && name == option.shortName)) return &option;
    return nullptr;
}

std::string ProfileKey(const OptionInfo& option) {
    if (!option.inProfile) return std::string();
    return option.profileKey ? option.profileKey : option.name;
}

const OptionInfo* FindProfileKey(const std::string& key) {
    if (key.empty()) return nullptr;  // the key of every option profiles cannot set
    for (const OptionInfo& option : OptionTable())
        if (key == ProfileKey(option)) return &option;
    return nullptr;
}
