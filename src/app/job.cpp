#include "app/job.h"

#include <algorithm>

#include "app/settings.h"
#include "platform/platform.h"
#include "ui/catalogues.h"

JobRecord Job;
std::map<std::string, std::string> InputList;
int8_t PreferencesPage = 0;
int32_t InterfaceReload = 0;

namespace {
InputFileTakeUp takeUp = nullptr;

std::string RemoveAll(std::string text, const std::string& part) {
    if (part.empty()) return text;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) text.erase(at, part.size());
    return text;
}
}  // namespace

void SetInputFileTakeUp(InputFileTakeUp handler) { takeUp = handler; }

void ResetJob() {
    Job.ProgramFolder = ProgramFolder();
    Job.ConsoleMode = false;
    InterfaceReload = 0;
    Job.RandomNumber = RandomInt(1, 99999);
    Job.NameCounter = 1;
    Job.InputPath.clear();
    Job.InputFolder.clear();
    Job.RelativeSubfolder.clear();
    Job.OutputPath.clear();
    Job.TemporaryPath.clear();
    Job.OutputFolder.clear();
    Job.InputFormat.clear();
    Job.OutputFormat.clear();
    Job.SourceBitDepth = 0;
    Job.OutputBitDepth = 0;
    Job.AutomaticDepth = false;
    PreferencesPage = 0;
    InputList.clear();
    BuildAcceptedInputExtensions();
}

bool AddInputFile(const std::string& path) {
    if (FileSize(path) == 0) return false;
    const std::string extension = LowerAscii(ExtensionPart(path));
    if (std::find(AcceptedInputExtensions.begin(), AcceptedInputExtensions.end(), extension) ==
        AcceptedInputExtensions.end())
        return false;
    InputList.clear();
    std::string folder = FolderPart(path);
    std::string subfolder;
    if (!path.empty() && !Job.InputFolder.empty() && folder.find(Job.InputFolder) != std::string::npos)
        subfolder = RemoveAll(folder, Job.InputFolder);
    InputList[path] = subfolder;
    if (!Job.ConsoleMode && takeUp) takeUp(path);
    return true;
}
