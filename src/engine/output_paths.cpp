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

// The name may reach into subfolders of the output folder but never out of it: a mask from
// a shared profile must not be able to replace files elsewhere.
bool StaysInsideFolder(const std::string& name) {
    if (name.empty() || name.front() == '/') return false;
    for (size_t start = 0; start <= name.size();) {
        size_t end = name.find('/', start);
        if (end == std::string::npos) end = name.size();
        if (name.compare(start, end - start, "..") == 0) return false;
        start = end + 1;
    }
    return true;
}
}  // namespace

std::string UniqueTemporaryName(const std::string& prefix, const std::string& suffix) {
    std::string letters;
    for (char digit : std::to_string(NowLocalDate()))
        if (digit >= '0' && digit <= '9') letters.push_back(static_cast<char>('a' + (digit - '0')));
    for (int i = 0; i < 5; ++i) letters.push_back(static_cast<char>('a' + RandomInt(0, 25)));
    return prefix + letters + suffix;
}

std::string BuildOutputPath() {
    const std::string name = ExpandFilenameMask();
    if (!StaysInsideFolder(name)) return std::string();
    return OutputFolderWithSubfolder() + name;
}

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
