#include "app/job.h"
#include "app/settings.h"
#include "engine/naming.h"
#include "platform/platform.h"

namespace {
std::string OutputFolderWithSubfolder() {
    std::string folder = Job.OutputFolder;
    if (Settings.Advanced.KeepSubfolders != 0) folder += Job.RelativeSubfolder;
    return folder;
}
}  // namespace

std::string UniqueTemporaryName(const std::string& prefix, const std::string& suffix) {
    std::string letters;
    for (char digit : std::to_string(NowLocalDate()))
        if (digit >= '0' && digit <= '9') letters.push_back(static_cast<char>('a' + (digit - '0')));
    for (int i = 0; i < 5; ++i) letters.push_back(static_cast<char>('a' + RandomInt(0, 25)));
    return prefix + letters + suffix;
}

std::string BuildOutputPath() { return OutputFolderWithSubfolder() + ExpandFilenameMask(); }

std::string BuildTemporaryPath() {
    std::string folder = OutputFolderWithSubfolder();
    std::string path;
    // The writer overwrites whatever is at the temporary path, so never pick a name that is taken.
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = folder + UniqueTemporaryName("kestrix", "") + "." + Job.OutputFormat;
        if (FileSize(path) == kFileMissing) break;
    }
    return path;
}
