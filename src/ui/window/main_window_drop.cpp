#include <wx/dnd.h>

#include "app/job.h"
#include "ui/window/main_window_parts.h"

namespace {
class MainFileDropTarget : public wxFileDropTarget {
public:
    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& names) override {
        // Only the first path is taken, so a long list costs no more than one file.
        std::vector<std::string> paths;
        if (!names.empty()) paths.push_back(FromWx(names[0]));
        TakeDroppedFiles(paths);
        return true;
    }
};
}  // namespace

void TakeDroppedFiles(const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    // An unaccepted file is ignored without a message; the job keeps its file.
    AddInputFile(paths.front());
}

void AcceptDroppedFiles() {
    // Entries and drop-downs take drops for themselves on GTK, so each gets its own target.
    MainWindowPartsRecord& parts = MainWindowParts;
    wxWindow* windows[] = {parts.frame, parts.container, parts.inputField, parts.outputFolderCombo,
                           parts.outputFormatCombo, parts.convertButton, parts.notice};
    for (wxWindow* window : windows)
        if (window) window->SetDropTarget(new MainFileDropTarget);
}
