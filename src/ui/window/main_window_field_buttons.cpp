#include "ui/texts.h"
#include "ui/window/image_sets.h"
#include "ui/window/main_window_parts.h"

namespace {
// Picture and tip come from the command table, as the menus' and the toolbar's do.
struct FieldButton {
    int command;
    wxPoint position;
};
const FieldButton kFieldButtons[3] = {
    {kCommandAddInputFile, {364, 19}},
    {kCommandSelectOutputFolder, {364, 59}},
    {kCommandOutputFormatOptions, {396, 99}},
};
}  // namespace

void BuildFieldButtons() {
    for (int i = 0; i < 3; ++i) {
        wxToolBar*& bar = MainWindowParts.fieldButtons[i];
        if (bar) bar->Destroy();
        const FieldButton& button = kFieldButtons[i];
        const MainCommandInfo* command = FindMainCommand(button.command);
        bar = new wxToolBar(MainWindowParts.container, wxID_ANY, button.position, wxSize(24, 24),
                            wxTB_HORIZONTAL | wxTB_FLAT | wxTB_NODIVIDER);
        bar->SetToolBitmapSize(wxSize(16, 16));
        bar->AddTool(CommandId(button.command), wxEmptyString, MenuIcon(command->iconKey),
                     wxString::FromUTF8(GetUiText("Menu", command->textKey)));
        bar->Realize();
        bar->SetSize(button.position.x, button.position.y, 24, 24);
    }
}
