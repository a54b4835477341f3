#include "ui/texts.h"
#include "ui/window/image_sets.h"
#include "ui/window/main_window_parts.h"

namespace {
struct FieldButton {
    int command;
    const char* iconKey;
    const char* tipKey;
    wxPoint position;
};
const FieldButton kFieldButtons[3] = {
    {kCommandAddInputFile, "Add", "Select Input File", {364, 19}},
    {kCommandSelectOutputFolder, "OutFolder", "Select Output Folder", {364, 59}},
    {kCommandOutputFormatOptions, "OutFormat", "Output Format Options", {396, 99}},
};
}  // namespace

void BuildFieldButtons() {
    for (int i = 0; i < 3; ++i) {
        wxToolBar*& bar = MainWindowParts.fieldButtons[i];
        if (bar) bar->Destroy();
        const FieldButton& button = kFieldButtons[i];
        bar = new wxToolBar(MainWindowParts.container, wxID_ANY, button.position, wxSize(24, 24),
                            wxTB_HORIZONTAL | wxTB_FLAT | wxTB_NODIVIDER);
        bar->SetToolBitmapSize(wxSize(16, 16));
        bar->AddTool(CommandId(button.command), wxEmptyString, MenuIcon(button.iconKey),
                     wxString::FromUTF8(GetUiText("Menu", button.tipKey)));
        bar->Realize();
        bar->SetSize(button.position.x, button.position.y, 24, 24);
    }
}
