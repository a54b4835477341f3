#include "prefs/prefs_table.h"

namespace {
using Items = std::vector<RowItem>;

// Items whose codes are their positions.
Items Numbered(std::initializer_list<const char*> keys) {
    Items items;
    for (const char* key : keys) items.push_back({key, static_cast<int>(items.size())});
    return items;
}

const Items kFrameLoading = Numbered({"All Frames", "First Frame", "Middle Frame", "Last Frame", "Random Frame"});
const Items kPixels = Numbered({"Pixels"});
const Items kPixelsPercent = Numbered({"Pixels", "Percent"});
const Items kBoundary = Numbered({"Bound Image", "Bound Frame"});
const Items kPositions = Numbered({"Top-Left", "Top-Center", "Top-Right", "Middle-Left", "Middle-Center",
                                   "Middle-Right", "Bottom-Left", "Bottom-Center", "Bottom-Right"});
const Items kFixedSize = Numbered({"Fixed"});

PrefsRow ListRow(const char* label, const char* group, const char* key, Items items) {
    return {.kind = RowKind::List, .labelKey = label, .group = group, .key = key, .items = std::move(items)};
}
PrefsRow CheckRow(const char* label, const char* group, const char* key) {
    return {.kind = RowKind::Check, .labelKey = label, .group = group, .key = key};
}
PrefsRow DigitsRow(const char* label, const char* group, const char* key, Items units = kPixels,
                   const char* unitKey = nullptr) {
    return {.kind = RowKind::Digits, .labelKey = label, .group = group, .key = key, .items = std::move(units),
            .unitKey = unitKey};
}
PrefsRow SpinRow(const char* label, const char* group, const char* key, int min, int max,
                 SpinScale scale = SpinScale::Plain) {
    return {.kind = RowKind::SliderSpin, .labelKey = label, .group = group, .key = key, .min = min, .max = max,
            .scale = scale};
}
PrefsRow ColourRow(const char* label, const char* group, const char* key) {
    return {.kind = RowKind::ColourButton, .labelKey = label, .group = group, .key = key};
}
PrefsRow TextRow(const char* label, const char* group, const char* key, bool picker = false) {
    return {.kind = RowKind::Text, .labelKey = label, .group = group, .key = key, .picker = picker,
            .fieldWidth = picker ? 214 : 240};
}
PrefsRow ColourListRow(const char* label, const char* key, const char* listKey) {
    return {.kind = RowKind::ColourList, .labelKey = label, .group = "Watermark", .key = key, .listKey = listKey,
            .picker = true, .fieldWidth = 214};
}

PrefsRow When(PrefsRow row, const char* group, const char* key, std::vector<int> codes, bool hides = false) {
    row.condition = {.group = group, .key = key, .codes = std::move(codes), .hides = hides};
    return row;
}

std::vector<PrefsSubPage> InputSubPages() {
    auto raw = [](PrefsRow row, std::vector<int> codes) { return When(std::move(row), "Input", "RAW Load As", codes); };
    return {
        {"dds", -1, 0, {ListRow("Load As", "Input", "DDS Load As", Numbered({"Auto", "BGRA", "RGBA"}))}},
        {"gif", -1, 0, {ListRow("Frame Loading", "Input", "GIF Frame Loading", kFrameLoading)}},
        {"ico", -1, 0, {ListRow("Frame Loading", "Input", "ICO Frame Loading", kFrameLoading)}},
        {"psd", -1, 0, {ListRow("Color Mode", "Input", "PSD Color Mode", Numbered({"RGB", "CMYK", "LAB"}))}},
        {"raw", -1, 0,
         {ListRow("Load As", "Input", "RAW Load As",
                  Numbered({"Auto", "RGB8", "RGB16", "RGB24", "RGB48HS", "RGB48"})),
          raw(DigitsRow("Header Size", "Input", "RAW Header Size", Numbered({"Bytes"})), {1, 2}),
          raw(DigitsRow("Image Width", "Input", "RAW Image Width"), {1, 2}),
          raw(DigitsRow("Image Height", "Input", "RAW Image Height"), {1, 2}),
          raw(ListRow("Tone Mapping", "Input", "RAW Tone Mapping",
                      Numbered({"None", "Linear", "Adaptive Logarithmic", "DR Reduction", "Gradient Domain"})),
              {4, 5})}},
        {"tiff", -1, 0, {ListRow("Frame Loading", "Input", "TIFF Frame Loading", kFrameLoading)}},
    };
}

// Rows after "Bits Per Pixel:" for the formats that have more.
std::vector<PrefsRow> OutputExtraRows(const std::string& extension) {
    const Items noneRle = Numbered({"None", "RLE"});
    if (extension == "bmp")
        return {ListRow("Compression", "Output", "BMP Compression", noneRle),
                ListRow("Color Table", "Output", "BMP Color Table", Numbered({"Auto", "Exact"}))};
    if (extension == "exr")
        return {ListRow("Compression", "Output", "EXR Compression", Numbered({"None", "ZIP", "PIZ", "PXR24", "B44"}))};
    if (extension == "jpg")
        return {SpinRow("Image Quality", "Output", "JPG Quality", 1, 100),
                ListRow("Chroma Subsampling", "Output", "JPG Chroma", Numbered({"None", "Low", "Medium", "High"})),
                ListRow("Save As", "Output", "JPG Save As",
                        Numbered({"Baseline Standard", "Baseline Simple", "Baseline Optimized", "Progressive"}))};
    if (extension == "pcx") return {ListRow("Compression", nullptr, nullptr, Numbered({"RLE"}))};
    if (extension == "png")
        return {ListRow("Compression", "Output", "PNG Compression", Numbered({"None", "ZLIB1", "ZLIB6", "ZLIB9"})),
                CheckRow("Interlaced", "Output", "PNG Interlaced")};
    if (extension == "tga") return {ListRow("Compression", "Output", "TGA Compression", noneRle)};
    if (extension == "tiff")
        return {ListRow("Compression", "Output", "TIFF Compression",
                        Numbered({"None", "CCITTFAX3", "CCITTFAX4", "PACKBITS", "DEFLATE", "ADOBEDEFLATE", "LZW",
                                  "JPEG", "LOGLUV"})),
                ListRow("Color Mode", "Output", "TIFF Color Mode", Numbered({"RGB", "CMYK"}))};
    if (extension == "webp") return {SpinRow("Image Quality", "Output", "WEBP Quality", 1, 100)};
    return {};
}

std::vector<PrefsSubPage> OutputSubPages() {
    static const char* const kExtensions[] = {"bmp", "dds", "exr", "gif", "hdr", "ico", "j2k", "jng",
                                              "jp2", "jpg", "jxr", "pbm", "pcx", "pfm", "pgm", "png",
                                              "ppm", "psd", "tga", "tiff", "wbmp", "webp", "xpm"};
    std::vector<PrefsSubPage> pages;
    for (const char* extension : kExtensions) {
        // The key of the depth setting is the upper-case extension followed by " BPP".
        const SettingInfo* bpp = FindSetting("Output", UpperAscii(extension) + " BPP");
        PrefsSubPage page{extension, -1, 0, {}};
        page.rows.push_back({.kind = RowKind::Bpp, .labelKey = "Bits Per Pixel", .group = "Output",
                             .key = bpp ? bpp->key : nullptr, .formatOwner = extension});
        for (PrefsRow& row : OutputExtraRows(extension)) page.rows.push_back(std::move(row));
        pages.push_back(std::move(page));
    }
    return pages;
}

std::vector<PrefsPage> BuildTable() {
    auto rotation = [](PrefsRow row) { return When(std::move(row), "Transform", "Do Image Rotation", {1}); };
    auto resize = [](PrefsRow row) { return When(std::move(row), "Transform", "Do Image Resize", {1}); };
    auto textScale = [](PrefsRow row) { return When(std::move(row), "Watermark", "Text Size", {1}, true); };
    auto imageScale = [](PrefsRow row) { return When(std::move(row), "Watermark", "Image Size", {1}, true); };
    PrefsRow keepSubfolders = CheckRow("Keep Subfolders", "Advanced", "Keep Subfolders");
    keepSubfolders.condition.never = true;
    PrefsRow font{.kind = RowKind::FontList, .labelKey = "Font", .group = "Watermark", .key = "Font",
                  .listKey = "Fonts", .picker = true, .fieldWidth = 214};

    return {
        {"General", 0,
         {{.kind = RowKind::Language, .labelKey = "Language", .group = "General", .key = "Language",
           .items = {{nullptr, 0, "English"}}},
          ListRow("Check for Updates", "General", "Update Range",
                  Numbered({"Every day", "Every week", "Every month", "Every 3 months", "Every 6 months", "Never"})),
          CheckRow("Save window position", "General", "Save Window Position")},
         {}},
        {"Interface", 0,
         {{.kind = RowKind::Theme, .labelKey = "UI Theme", .group = "Interface", .key = "UI Theme"},
          ListRow("UI Size", "Interface", "UI Size", Numbered({"Small", "Medium", "Large"}))},
         {}},
        {"Input", 0,
         {{.kind = RowKind::InputFormat, .labelKey = "Input Format", .group = "Input", .key = "Format"}},
         InputSubPages()},
        {"Output", 0,
         {{.kind = RowKind::OutputFormat, .labelKey = "Output Format", .group = "Output", .key = "Format"}},
         OutputSubPages()},
        {"Transform", 375,
         {CheckRow("Image Rotation", "Transform", "Do Image Rotation"),
          rotation(ListRow("Rotation Type", "Transform", "Image Rotation Type",
                           Numbered({"Simple Rotation", "Advanced Rotation"}))),
          rotation(SpinRow("Rotation Angle", "Transform", "Image Rotation", 0, 360)),
          rotation(ColourRow("Background Color", "Transform", "Image Rotation Back Color")),
          CheckRow("Image Resize", "Transform", "Do Image Resize"),
          resize(DigitsRow("Image Width", "Transform", "Image Width", kPixelsPercent, "Image Width Unit")),
          resize(DigitsRow("Image Height", "Transform", "Image Height", kPixelsPercent, "Image Height Unit")),
          resize(CheckRow("Keep Aspect Ratio", "Transform", "Keep Aspect Ratio")),
          resize(ListRow("Resize Type", "Transform", "Image Resize Type", Numbered({"All Images", "Large Images"}))),
          resize(ListRow("Resize Algorithm", "Transform", "Image Resize Algorithm",
                         Numbered({"Box", "Bilinear", "Bspline", "Bicubic", "Catmullrom", "Lanczos"}))),
          CheckRow("Image Flip Horizontal", "Transform", "Do Image Flip Horizontal"),
          CheckRow("Image Flip Vertical", "Transform", "Do Image Flip Vertical")},
         {}},
        {"Adjustment", 285,
         {SpinRow("Image Brightness", "Adjustment", "Image Brightness", -100, 100, SpinScale::Offset100),
          SpinRow("Image Contrast", "Adjustment", "Image Contrast", -100, 100, SpinScale::Offset100),
          SpinRow("Image Gamma", "Adjustment", "Image Gamma", 1, 999, SpinScale::Gamma),
          CheckRow("Image Invert", "Adjustment", "Image Invert"),
          CheckRow("Image Greyscale", "Adjustment", "Do Image Greyscale"),
          CheckRow("Image Threshold", "Adjustment", "Do Image Threshold"),
          When(SpinRow("Threshold Level", "Adjustment", "Image Threshold", 0, 255), "Adjustment",
               "Do Image Threshold", {1}),
          CheckRow("Image Dither", "Adjustment", "Do Image Dither"),
          When(ListRow("Dither Algorithm", "Adjustment", "Image Dither Algorithm",
                       Numbered({"FS", "Bayer4", "Bayer8", "Bayer16", "Cluster6", "Cluster8", "Cluster16"})),
               "Adjustment", "Do Image Dither", {1})},
         {}},
        {"Frame", 0,
         {ListRow("Frame Type", "Frame", "Do Frame", Numbered({"None", "Frame Solid"}))},
         {{"solid", 1, 310,
           {DigitsRow("Left", "Frame", "Solid Left"), DigitsRow("Right", "Frame", "Solid Right"),
            DigitsRow("Top", "Frame", "Solid Top"), DigitsRow("Bottom", "Frame", "Solid Bottom"),
            ColourRow("Left Color", "Frame", "Solid Left Color"), ColourRow("Right Color", "Frame", "Solid Right Color"),
            ColourRow("Top Color", "Frame", "Solid Top Color"), ColourRow("Bottom Color", "Frame", "Solid Bottom Color"),
            SpinRow("Opacity", "Frame", "Solid Opacity", 1, 255)}}}},
        {"Watermark", 0,
         {ListRow("Watermark Type", "Watermark", "Do Watermark", Numbered({"None", "Watermark Text", "Watermark Image"}))},
         {{"text", 1, 610,
           {TextRow("Text", "Watermark", "Text"), font,
            DigitsRow("Font Size", "Watermark", "Font Size", Numbered({"Points"})),
            DigitsRow("Font Leading", "Watermark", "Font Leading"),
            ColourListRow("Font Color", "Font Color", "Font Colors"),
            ListRow("Font Style", "Watermark", "Font Style", Numbered({"Regular", "Bold", "Italic", "Bold Italic"})),
            ListRow("Font Effect", "Watermark", "Font Effect", Numbered({"None", "Underline", "Strikeout"})),
            CheckRow("Antialiasing", "Watermark", "Text Antialiasing"),
            ListRow("Text Alignment", "Watermark", "Text Alignment",
                    Numbered({"Align Left", "Align Center", "Align Right"})),
            DigitsRow("Text Padding", "Watermark", "Text Padding"),
            SpinRow("Text Opacity", "Watermark", "Text Opacity", 1, 255),
            ColourListRow("Background Color", "Back Color", "Back Colors"),
            SpinRow("Background Opacity", "Watermark", "Back Opacity", 1, 255),
            ListRow("Boundary", "Watermark", "Text Boundary", kBoundary),
            ListRow("Position", "Watermark", "Text Position", kPositions),
            DigitsRow("X-Offset", "Watermark", "Text X Offset"), DigitsRow("Y-Offset", "Watermark", "Text Y Offset"),
            SpinRow("Rotation Angle", "Watermark", "Text Rotation", 0, 360),
            ListRow("Size", "Watermark", "Text Size", kFixedSize),
            textScale(SpinRow("Scale", "Watermark", "Text Scale", 1, 200))}},
          {"image", 2, 310,
           {TextRow("Image", "Watermark", "Image", true), CheckRow("Image Greyscale", "Watermark", "Image Greyscale"),
            SpinRow("Opacity", "Watermark", "Image Opacity", 1, 255),
            ListRow("Boundary", "Watermark", "Image Boundary", kBoundary),
            ListRow("Position", "Watermark", "Image Position", kPositions),
            DigitsRow("X-Offset", "Watermark", "Image X Offset"), DigitsRow("Y-Offset", "Watermark", "Image Y Offset"),
            SpinRow("Rotation Angle", "Watermark", "Image Rotation", 0, 360),
            ListRow("Size", "Watermark", "Image Size", kFixedSize),
            imageScale(SpinRow("Scale", "Watermark", "Image Scale", 1, 200))}}}},
        {"Advanced", 0,
         {TextRow("Filename Mask", "Advanced", "Filename Mask"),
          ListRow("File Timestamp", "Advanced", "File Timestamp", Numbered({"Current", "Original", "Custom"})),
          When({.kind = RowKind::Date, .labelKey = "Custom Timestamp", .group = "Advanced", .key = "Custom Timestamp"},
               "Advanced", "File Timestamp", {2}),
          ListRow("Out Folders History", "Advanced", "Out Folders History", Numbered({"Clean On Exit", "Keep Folders"})),
          SpinRow("Out Folders Number", "Advanced", "Out Folders Number", 1, 50), keepSubfolders},
         {}},
    };
}
}  // namespace

const std::vector<PrefsPage>& PreferencesTable() {
    static const std::vector<PrefsPage> table = BuildTable();
    return table;
}
