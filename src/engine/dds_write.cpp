// Writing the DDS file so that the user never loses a file: the old output stays until the new
// one is complete, a folder is never touched, and the input can never be overwritten.
#include <IL/il.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "engine/pipeline.h"
#include "platform/platform.h"

namespace {

bool IsSameFile(const std::string& first, const std::string& second) {
    if (first == second) return true;
    std::error_code error;
    return std::filesystem::equivalent(first, second, error) && !error;
}

}  // namespace

bool WriteDdsFile(const std::string& temporaryPath, const std::string& outputPath, const std::string& inputPath) {
    if (temporaryPath.empty() || outputPath.empty() || IsSameFile(outputPath, inputPath)) return false;
    int64_t existing = FileSize(outputPath);
    if (existing == kFileIsFolder || existing == kFileIsOther) return false;

    ilEnable(IL_FILE_OVERWRITE);
    bool written = ilSave(IL_DDS, temporaryPath.c_str()) == IL_TRUE;
    if (written && ReplaceFile(temporaryPath, outputPath)) return true;
    // A failed write may have left part of a file behind.
    if (FileSize(temporaryPath) != kFileMissing) DeleteFile(temporaryPath);
    return false;
}
