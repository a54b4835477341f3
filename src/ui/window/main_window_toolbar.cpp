#include "app/settings.h"
#include "ui/texts.h"
#include "ui/themes.h"
#include "ui/window/image_sets.h"
#include "ui/window/main_window_parts.h"

namespace {
const int kToolbarCommands[] = {kCommandNew,     kCommandAddInputFile, kCommandSelectOutputFolder, kSeparator,
                                kCommandPreferences, kSeparator,       kCommandConvert,            kSeparator,
                                kCommandManual,  kCommandFeedback,     kCommandHomepage,           kCommandCheckForUpdate};
}  // namespace

void BuildToolbar() {
    wxFrame* frame = MainWindowParts.frame;
    if (wxToolBar* old = frame->GetToolBar()) {
        frame->SetToolBar(nullptr);
        old->Destroy();
    }
    wxToolBar* bar = frame->CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT);
    if (!bar) return;
    // GTK sizes the buttons after the bitmaps, so the pictures come at the configured size.
    int side = IconPixelSize(Settings.Interface.UISize);
    bar->SetToolBitmapSize(wxSize(side, side));
    for (int number : kToolbarCommands) {
        const MainCommandInfo* command = FindMainCommand(number);
        if (!command) {
            bar->AddSeparator();
            continue;
        }
        wxString tip = wxString::FromUTF8(GetUiText("Menu", command->textKey));
        bar->AddTool(CommandId(number), wxEmptyString, ToolbarIcon(command->iconKey), tip);
    }
    bar->Realize();
    frame->SendSizeEvent();
    MainWindowParts.bars.toolbar = BarHeight(bar, MainWindowParts.bars.toolbar);
}
