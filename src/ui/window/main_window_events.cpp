#include "app/job.h"
#include "app/settings.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_parts.h"

void BindMainWindowEvents() {
    MainWindowPartsRecord& parts = MainWindowParts;
    auto onCommand = [](wxCommandEvent& event) { RunMainCommand(event.GetId() - kCommandIdBase); };
    // Menu items, toolbar buttons, field buttons and shortcuts all arrive as menu/tool events.
    parts.frame->Bind(wxEVT_MENU, onCommand, CommandId(0), CommandId(99));
    parts.frame->Bind(wxEVT_BUTTON, onCommand, CommandId(kCommandConvert));
    // Nothing may reach the controls once the frame is gone.
    parts.frame->Bind(wxEVT_DESTROY, [](wxWindowDestroyEvent& event) {
        event.Skip();
        if (event.GetEventObject() == MainWindowParts.frame) MainWindowParts = MainWindowPartsRecord{};
    });
    parts.frame->Bind(wxEVT_SIZE, [](wxSizeEvent& event) {
        event.Skip();
        LayoutMainWindow();
    });
    parts.outputFolderCombo->Bind(wxEVT_COMBOBOX, [](wxCommandEvent&) { Job.OutputFolder = OutputFolderText(); });
    parts.outputFormatCombo->Bind(wxEVT_COMBOBOX, [](wxCommandEvent&) {
        int index = SelectedOutputFormatData();
        if (index >= 0 && index < static_cast<int>(OfferedOutputFormats.size()))
            Settings.Output.Format = OfferedOutputFormats[index];
    });
}
