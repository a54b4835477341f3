#include "ui/texts.h"
#include "ui/window/image_sets.h"
#include "ui/window/main_window_parts.h"

namespace {
// Picture and tip come from the command table, as the menus' and the toolbar's do.
struct FieldButton {
    int command;
    int x;  // until the first layout pass; the height is kMainFieldButtonY's
};
const FieldButton kFieldButtons[3] = {
    {kCommandAddInputFile, 364},
    {kCommandSelectOutputFolder, 364},
    {kCommandOutputFormatOptions, 396},
};
}  // namespace

void BuildFieldButtons() {
    for (int i = 0; i < 3; ++i) {
        wxToolBar*& bar = MainWindowParts.fieldButtons[i];
        if (bar) bar->Destroy();
        const FieldButton& button = kFieldButtons[i];
        const MainCommandInfo* command = FindMainCommand(button.command);
        const wxPoint position(button.x, kMainFieldButtonY[i]);
        bar = new wxToolBar(MainWindowParts.container, wxID_ANY, position, wxSize(24, 24),
                            wxTB_HORIZONTAL | wxTB_FLAT | wxTB_NODIVIDER);
        bar->SetToolBitmapSize(wxSize(16, 16));
        bar->AddTool(CommandId(button.command), wxEmptyString, MenuIcon(command->iconKey),
                     wxString::FromUTF8(GetUiText("Menu", command->textKey)));
        bar->Realize();
        bar->SetSize(position.x, position.y, 24, 24);
    }
}
