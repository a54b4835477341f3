#include <string>
#include <vector>

#include "app/identity.h"
#include "app/job.h"
#include "app/settings.h"
#include "app/window_face.h"
#include "cli/console.h"
#include "cli/console_job.h"
#include "cli/options.h"
#include "platform/platform.h"
#include "ui/catalogues.h"
#include "ui/texts.h"

namespace {
UninstallPageEntry uninstallPage = nullptr;
ScreenshotModeEntry screenshotMode = nullptr;

std::string ProgramFileName() {
    std::string name = FileNamePart(ProgramPath());
    std::string extension = ExtensionPart(name);
    if (!extension.empty()) name.resize(name.size() - extension.size() - 1);
    return name.empty() ? std::string(kProgramName) : name;
}

std::string PlainTitle() { return TitleText(kProductName, kVersionNumber, false); }

int ReportUnavailable(const std::string& what) {
    SetConsoleTitle(PlainTitle());
    ConsoleErrorLine("Error: " + what + " is not available in this build");
    return kExitFailure;
}

// Console work from here on: its lines never decide a conversion, and a signal never leaves a
// half-written file or a terminal without echo behind.
void StartConsoleWork() {
    PrepareConsoleStreams();
    HoldStopSignals();
}

int FinishConsole(const std::string& errorText) {
    if (!errorText.empty() || Job.ConsoleMode) StartConsoleWork();
    if (!errorText.empty()) {
        SetConsoleTitle(PlainTitle());
        ConsoleErrorLine("Error: " + errorText);
        if (ConsolePause) WaitForKey();
        return kExitOptionError;
    }
    if (!Job.ConsoleMode) return kNoConsoleWork;
    SetConsoleTitle(PlainTitle());
    if (!ConsoleQuiet)
        for (const std::string& line : BannerLines()) ConsoleLine(line);
    int status = RunConsoleJob(ConsoleQuiet);
    if (ConsolePause) {
        ConsoleLine("Press any key to exit.");
        WaitForKey();
    }
    return status;
}
}  // namespace

void SetUninstallPageEntry(UninstallPageEntry entry) { uninstallPage = entry; }
void SetScreenshotModeEntry(ScreenshotModeEntry entry) { screenshotMode = entry; }

int RunConsole(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return kNoConsoleWork;
    BuildFormatCatalogues();
    ResetJob();
    ApplyDefaults(true);
    BuildUiText();
    ConsoleArguments = arguments;
    ConsoleQuiet = false;
    ConsolePause = false;

    std::string first = OptionName(0);
    if (first == "-U") {
        const int status = uninstallPage ? uninstallPage() : kWindowFaceUnavailable;
        return status == kWindowFaceUnavailable ? ReportUnavailable("The uninstall page") : status;
    }
    if (first == "-T") {
        const int status = screenshotMode ? screenshotMode(OptionValue(1)) : kWindowFaceUnavailable;
        return status == kWindowFaceUnavailable ? ReportUnavailable("Screenshot mode") : status;
    }
    if (first == "-V" || first == "--VERSION") {
        PrepareConsoleStreams();
        SetConsoleTitle(PlainTitle());
        ConsoleLine(VersionText(kVersionNumber));
        return kExitSuccess;
    }
    if (first == "-H" || first == "-?" || first == "--HELP") {
        PrepareConsoleStreams();
        SetConsoleTitle(PlainTitle());
        for (const std::string& line : HelpLines(ProgramFileName())) ConsoleLine(line);
        return kExitSuccess;
    }
    return FinishConsole(ParseOptions());
}
