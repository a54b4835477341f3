// The bit depth the output format is written with, and the conversion to it.
#include <FreeImage.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/job.h"
#include "engine/pipeline.h"
#include "ui/catalogues.h"

int DepthForSource(const std::string& outputFormat, int sourceBitDepth) {
    std::vector<int> depths = OutputFormatDepthList(outputFormat);
    if (depths.empty()) return 0;
    for (int depth : depths)
        if (depth >= sourceBitDepth) return depth;
    return depths.back();
}

void ChooseOutputDepth() {
    if (Job.AutomaticDepth) Job.OutputBitDepth = DepthForSource(Job.OutputFormat, Job.SourceBitDepth);
}

namespace {

bool IsOneOf(const std::string& format, std::initializer_list<const char*> formats) {
    for (const char* each : formats)
        if (format == each) return true;
    return false;
}

// The 24-bit stage some conversions pass through; the image itself is kept for the caller.
FIBITMAP* Copy24Bits(FIBITMAP* image) {
    return FreeImage_GetBPP(image) == 24 ? image : FreeImage_ConvertTo24Bits(image);
}

FIBITMAP* ConvertTo8Bits(FIBITMAP* image, const std::string& format) {
    if (IsOneOf(format, {"j2k", "jp2", "jpg", "jxr"})) return FreeImage_ConvertTo8Bits(image);
    FIBITMAP* stage = Copy24Bits(image);
    if (!stage) return nullptr;
    FIBITMAP* result = FreeImage_ColorQuantizeEx(stage, FIQ_WUQUANT, 256, 0, nullptr);
    if (stage != image) FreeImage_Unload(stage);
    return result;
}

FIBITMAP* ConvertTo16Bits(FIBITMAP* image, const std::string& format) {
    FIBITMAP* stage = FreeImage_GetBPP(image) > 32 ? FreeImage_ConvertTo24Bits(image) : image;
    if (!stage) return nullptr;
    FIBITMAP* result = IsOneOf(format, {"ico", "tga"}) ? FreeImage_ConvertTo16Bits555(stage)
                                                      : FreeImage_ConvertTo16Bits565(stage);
    if (stage != image) FreeImage_Unload(stage);
    return result;
}

}  // namespace

FIBITMAP* ConvertToOutputDepth(FIBITMAP* image) {
    ChooseOutputDepth();
    if (!image) return nullptr;
    if (static_cast<int>(FreeImage_GetBPP(image)) == Job.OutputBitDepth) return image;
    FIBITMAP* converted = nullptr;
    switch (Job.OutputBitDepth) {
        case 1: converted = FreeImage_Dither(image, FID_FS); break;
        case 4: converted = FreeImage_ConvertTo4Bits(image); break;
        case 8: converted = ConvertTo8Bits(image, Job.OutputFormat); break;
        case 16: converted = ConvertTo16Bits(image, Job.OutputFormat); break;
        case 24: converted = FreeImage_ConvertTo24Bits(image); break;
        case 32: converted = FreeImage_ConvertTo32Bits(image); break;
        case 48: converted = FreeImage_ConvertToRGB16(image); break;
        case 96: converted = FreeImage_ConvertToRGBF(image); break;
        default: break;  // no such depth: the file fails
    }
    FreeImage_Unload(image);
    return converted;
}
