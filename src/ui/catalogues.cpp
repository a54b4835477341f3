#include "ui/catalogues.h"

#include <charconv>

#include "app/settings.h"
#include "ui/texts.h"

std::map<std::string, InputFormatEntry, std::greater<>> InputFormatCatalogue;
std::map<std::string, OutputFormatEntry> OutputFormatCatalogue;
std::vector<std::string> AcceptedInputExtensions;

namespace {
struct InputFormatRow {
    const char* canonical;
    const char* extensions;  // separated by " "
    const char* description;
};

const InputFormatRow kInputFormats[] = {
    {"bmp", "bmp rle dib", "Windows or OS/2 Bitmap"},
    {"dds", "dds", "DirectDraw Surface File"},
    {"emf", "emf emz", "Enhanced Metafile Format"},
    {"gif", "gif", "GIF File"},
    {"hdr", "hdr hdri", "High Dynamic Range File"},
    {"ico", "ico", "Windows Icon"},
    {"jpg", "jpg jpeg jpe jif", "JPEG File"},
    {"pcd", "pcd pcd1 pcds ppcd", "Kodak PhotoCD File"},
    {"pcx", "pcx", "ZSoft Paintbrush File"},
    {"pic", "pic pict pct", "Macintosh PICT"},
    {"png", "png", "Portable Network Graphics"},
    {"psd", "psd", "Adobe Photoshop File"},
    {"tga", "tga targa", "Truevision Targa"},
    {"tiff", "tiff tif", "Tagged Image File Format"},
    {"wmf", "wmf wmz", "Windows Metafile Format"},
    {"wmf", "apm", "Aldus Placeable Metafile"},
    {"raw", "raw raw1 raw2", "Camera RAW Image"},
    {"raw", "3fr", "Hasselblad Camera RAW Image"},
    {"raw", "arw sr2 srf", "Sony Camera RAW Image"},
    {"raw", "bay", "Casio Camera RAW Image"},
    {"raw", "bmq", "NuCore RAW Image"},
    {"raw", "cap iiq eip", "Phase One Camera RAW Image"},
    {"raw", "cine", "Phantom RAW Image"},
    {"raw", "cr2 crw", "Canon Camera RAW Image"},
    {"raw", "cs1", "Capture Shop RAW Image"},
    {"raw", "dc2 dcr drf dsc k25 kc2 kdc dcs", "Kodak Camera RAW Image"},
    {"raw", "dng", "Adobe Digital Negative Image"},
    {"raw", "erf", "Epson Camera RAW Image"},
    {"raw", "fff", "Imacon Camera RAW Image"},
    {"raw", "ia sti", "Sinar RAW Image"},
    {"raw", "mdc mrw", "Minolta Camera RAW Image"},
    {"raw", "mef mos", "Mamiya Camera RAW Image"},
    {"raw", "nef nrw", "Nikon Camera RAW Image"},
    {"raw", "orf", "Olympus Camera RAW Image"},
    {"raw", "pef ptx", "Pentax Camera RAW Image"},
    {"raw", "pxn", "Logitech Camera RAW Image"},
    {"raw", "qtk", "Apple Quicktake Camera RAW Image"},
    {"raw", "raf", "Fuji Camera RAW Image"},
    {"raw", "rdc", "Digital Foto Maker RAW Image"},
    {"raw", "rw2", "Panasonic Camera RAW Image"},
    {"raw", "rwz", "Rawzor Camera RAW Image"},
    {"raw", "x3f", "Sigma Camera RAW Image"},
    {"raw", "ari", "ARRI RAW Image"},
    {"raw", "r3d", "RED RAW Image"},
    {"raw", "rwl", "Leica Camera RAW Image"},
};

struct OutputFormatRow {
    const char* extension;
    const char* description;
    const char* depths;
};

const OutputFormatRow kOutputFormats[] = {
    {"bmp", "Windows or OS/2 Bitmap", "1,4,8,16,24,32"},
    {"exr", "ILM OpenEXR", "96"},
    {"gif", "Graphics Interchange Format", "8"},
    {"hdr", "High Dynamic Range Image", "96"},
    {"ico", "Windows Icon", "1,4,8,16,24,32"},
    {"j2k", "JPEG-2000 Codestream", "8,24,32,48"},
    {"jng", "JPEG Network Graphics", "24,32"},
    {"jp2", "JPEG-2000 File Format", "8,24,32,48"},
    {"jpg", "JPEG File Format", "8,24"},
    {"jxr", "JPEG XR Image Format", "1,8,16,24,32,48,96"},
    {"pbm", "Portable Bitmap", "1"},
    {"pfm", "Portable Floatmap", "96"},
    {"pgm", "Portable Greymap", "8"},
    {"png", "Portable Network Graphics", "1,4,8,24,32,48"},
    {"ppm", "Portable Pixelmap", "24,48"},
    {"tga", "Truevision Targa", "8,16,24,32"},
    {"tiff", "Tagged Image File Format", "1,4,8,24,32,48,96"},
    {"wbmp", "Wireless Bitmap", "1"},
    {"webp", "Google WebP Image Format", "24,32"},
    {"xpm", "X11 Pixmap Format", "24"},
    {"psd", "Adobe Photoshop", "32"},
    {"dds", "DirectDraw Surface", "32"},
    {"pcx", "ZSoft Paintbrush", "24"},
};

std::vector<std::string> SplitText(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, start)) {
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}
}  // namespace

void BuildFormatCatalogues() {
    InputFormatCatalogue.clear();
    for (const InputFormatRow& row : kInputFormats)
        for (const std::string& extension : SplitText(row.extensions, ' '))
            InputFormatCatalogue[extension] = {row.canonical, row.description};
    OutputFormatCatalogue.clear();
    for (const OutputFormatRow& row : kOutputFormats)
        OutputFormatCatalogue[row.extension] = {row.description, row.depths};
}

void BuildAcceptedInputExtensions() {
    // The accepted types never depend on whether the caller built the catalogues first.
    if (InputFormatCatalogue.empty()) BuildFormatCatalogues();
    AcceptedInputExtensions.clear();
    for (const std::string& format : OfferedInputFormats)
        for (const auto& [extension, entry] : InputFormatCatalogue)
            if (entry.canonical == format) AcceptedInputExtensions.push_back(extension);
}

std::string BuildInputFilePattern() {
    std::string allTypes;
    std::map<std::string, std::string> byDescription;
    for (const std::string& extension : AcceptedInputExtensions) {
        std::string pattern = "*." + extension;
        allTypes += pattern + ";";
        std::string& held = byDescription[InputFormatDescription(extension)];
        held = held.empty() ? pattern : pattern + ";" + held;
    }
    if (!allTypes.empty()) allTypes.pop_back();
    std::string result = GetUiText("Dialog", "All Supported Files") + "|" + allTypes + "|";
    for (const auto& [description, pattern] : byDescription) result += description + "|" + pattern + "|";
    return result + GetUiText("Dialog", "All Files") + " (*.*)|*.*";
}

std::string FileChooserPattern(const std::string& dialogPattern) {
    const std::vector<std::string> parts = SplitText(dialogPattern, '|');
    std::string result;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) result += '|';
        if (i % 2 == 0) {  // a label
            result += parts[i];
            continue;
        }
        const std::vector<std::string> patterns = SplitText(parts[i], ';');
        for (size_t j = 0; j < patterns.size(); ++j) {
            if (j > 0) result += ';';
            if (patterns[j] == "*.*") {
                result += '*';  // GTK would list only names with a dot
                continue;
            }
            for (char c : patterns[j]) {
                const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
                if (lower >= 'a' && lower <= 'z')
                    result += std::string("[") + lower + static_cast<char>(lower - 'a' + 'A') + "]";
                else
                    result += c;
            }
        }
    }
    return result;
}

std::string InputFormatDescription(const std::string& extension) {
    auto found = InputFormatCatalogue.find(extension);
    return found == InputFormatCatalogue.end() ? "" : found->second.description;
}

std::string OutputFormatDescription(const std::string& extension) {
    auto found = OutputFormatCatalogue.find(extension);
    return found == OutputFormatCatalogue.end() ? "" : found->second.description;
}

std::string OutputFormatDepths(const std::string& extension) {
    auto found = OutputFormatCatalogue.find(extension);
    return found == OutputFormatCatalogue.end() ? "" : found->second.depths;
}

std::vector<int> OutputFormatDepthList(const std::string& extension) {
    std::vector<int> depths;
    std::string text = OutputFormatDepths(extension);
    if (text.empty()) return depths;
    for (const std::string& part : SplitText(text, ',')) {
        int depth = 0;
        auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), depth);
        if (error == std::errc() && end == part.data() + part.size()) depths.push_back(depth);
    }
    return depths;
}
