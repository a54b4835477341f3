#include "app/identity.h"
#include "app/job.h"
#include "online/online.h"
#include "online/window/online_windows.h"
#include "platform/platform.h"
#include "prefs/window/preferences_window.h"
#include "ui/window/main_window_parts.h"
#include "ui/window/window_conversion.h"

namespace {
const MainCommandInfo kCommands[] = {
    {kCommandNew, "New", "New", "Ctrl+N"},
    {kCommandAddInputFile, "Select Input File", "Add", nullptr},
    {kCommandSelectOutputFolder, "Select Output Folder", "OutFolder", nullptr},
    {kCommandExit, "Exit", "Exit", "Alt+X"},
    {kCommandConvert, "Convert", "Convert", "F5"},
    {kCommandFindConverter, "Custom Converter", "CustomConverter", nullptr},
    {kCommandPreferences, "Preferences", "Preferences", nullptr},
    {kCommandOutputFormatOptions, "Output Format Options", "OutFormat", nullptr},
    {kCommandManual, "Manual", "Help", "F1"},
    {kCommandFeedback, "Send Feedback", "Email", nullptr},
    {kCommandHomepage, "Visit Homepage", "Web", nullptr},
    {kCommandCheckForUpdate, "Check For New Version", "Updates", nullptr},
    {kCommandAbout, "About", "About", nullptr},
};

// A mail address with a raw blank is no valid URI, and some mail programs cut the subject there.
std::string EncodeBlanks(const std::string& text) {
    std::string encoded;
    for (char c : text) encoded += c == ' ' ? std::string("%20") : std::string(1, c);
    return encoded;
}
}  // namespace

const MainCommandInfo* FindMainCommand(int number) {
    for (const MainCommandInfo& command : kCommands)
        if (command.number == number) return &command;
    return nullptr;
}

void RunMainCommand(int number) {
    switch (number) {
    case kCommandNew: RunNewCommand(); break;
    case kCommandAddInputFile: RunAddInputFileCommand(); break;
    case kCommandSelectOutputFolder: RunSelectOutputFolderCommand(); break;
    case kCommandExit:
        if (MainWindowParts.frame) MainWindowParts.frame->Close();
        break;
    case kCommandConvert: StartWindowConversion(); break;
    case kCommandPreferences: OpenPreferences(); break;
    case kCommandOutputFormatOptions:
        PreferencesPage = 3;  // the Output page
        OpenPreferences();
        break;
    case kCommandManual: OpenDocument(ProgramFolder() + kProgramName + ".html"); break;
    case kCommandFeedback:
        OpenDocument("mailto:" + SupportAddress() + "?subject=" +
                     EncodeBlanks(TitleText(kProductName, kVersionNumber, false) + " Feedback"));
        break;
    case kCommandHomepage: OpenDocument(HomePageAddress()); break;
    case kCommandFindConverter: OpenConverterSearchWindow(); break;
    case kCommandCheckForUpdate: CheckForUpdate(); break;
    case kCommandAbout: OpenAboutWindow(); break;
    default: break;
    }
}
