#include <wx/dirdlg.h>
#include <wx/filedlg.h>

#include "app/job.h"
#include "app/settings.h"
#include "platform/platform.h"
#include "ui/catalogues.h"
#include "ui/output_history.h"
#include "ui/texts.h"
#include "ui/window/image_sets.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_parts.h"

namespace {
const wxMBConvUTF8& PathConversion() {
    static const wxMBConvUTF8 conversion(wxMBConvUTF8::MAP_INVALID_UTF8_TO_PUA);
    return conversion;
}
}  // namespace

wxString ToWx(const std::string& text) { return wxString(text.c_str(), PathConversion(), text.size()); }

std::string FromWx(const wxString& text) {
    wxCharBuffer bytes = text.mb_str(PathConversion());
    return std::string(bytes.data(), bytes.length());
}

void RefillOutputFolderCombo() {
    wxBitmapComboBox* combo = MainWindowParts.outputFolderCombo;
    if (!combo || Settings.File.RecentOutFolders.empty()) return;
    combo->Clear();
    int selection = 0;
    for (const std::string& folder : OutputHistoryEntries()) {
        if (folder == Job.OutputFolder) selection = static_cast<int>(combo->GetCount());
        combo->Append(ToWx(folder), MenuIcon("FavFolder"));
    }
    if (combo->GetCount() > 0) combo->SetSelection(selection);
}

void RunNewCommand() {
    RefillOutputFolderCombo();
    ResetJob();
    SetInputFieldText("");
    if (MainWindowParts.outputFolderCombo) MainWindowParts.outputFolderCombo->SetSelection(wxNOT_FOUND);
    SetStatusLine(GetUiText("General", "Ready"));
    if (MainWindowParts.inputField) MainWindowParts.inputField->SetFocus();
}

void TakeUpInputFile(const std::string& path) {
    SetInputFieldText(path);
    if (!OutputFolderText().empty()) return;
    std::string folder = Job.InputFolder.empty() ? FolderPart(path) : Job.InputFolder;
    PushOutputFolder(folder);
    Job.OutputFolder = folder;
    RefillOutputFolderCombo();
}

void TakeChosenInputFile(const std::string& path) {
    if (!path.empty()) AddInputFile(path);
    // The Convert command takes the input path from the field again.
    Job.InputPath.clear();
    LayoutMainWindow();
}

void RunAddInputFileCommand() {
    const std::string pattern = FileChooserPattern(BuildInputFilePattern());
    wxFileDialog dialog(MainWindowParts.frame, ToWx(GetUiText("Dialog", "Select Input Files")), wxEmptyString,
                        ToWx(Job.InputPath), ToWx(pattern), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    dialog.SetFilterIndex(0);
    std::string chosen = dialog.ShowModal() == wxID_OK ? FromWx(dialog.GetPath()) : "";
    TakeChosenInputFile(chosen);
}

void TakeChosenOutputFolder(const std::string& chosen) {
    if (!chosen.empty() && FileSize(chosen) == kFileIsFolder) {
        // Written as a taken-up file's folder is, so the history holds one form of each folder.
        std::string folder = chosen.back() == '/' ? chosen : chosen + "/";
        PushOutputFolder(folder);
        Job.OutputFolder = folder;
        RefillOutputFolderCombo();
    }
    LayoutMainWindow();
}

void RunSelectOutputFolderCommand() {
    std::string start = OutputFolderText().empty() ? Job.OutputFolder : FolderPart(OutputFolderText());
    wxDirDialog dialog(MainWindowParts.frame, ToWx(GetUiText("Dialog", "Select Output Folder")), ToWx(start),
                       wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
    std::string chosen = dialog.ShowModal() == wxID_OK ? FromWx(dialog.GetPath()) : "";
    TakeChosenOutputFolder(chosen);
}
