#include <wx/menu.h>

#include "ui/texts.h"
#include "ui/window/image_sets.h"
#include "ui/window/main_window_parts.h"

namespace {
struct MenuLayout {
    const char* titleKey;
    std::vector<int> commands;
};

const MenuLayout kMenus[] = {
    {"File", {kCommandNew, kSeparator, kCommandAddInputFile, kCommandSelectOutputFolder, kSeparator, kCommandExit}},
    {"Converter", {kCommandConvert, kSeparator, kCommandFindConverter, kSeparator, kCommandPreferences}},
    {"Help",
     {kCommandManual, kSeparator, kCommandFeedback, kCommandHomepage, kCommandCheckForUpdate, kSeparator,
      kCommandAbout}},
};

wxMenu* BuildMenu(const MenuLayout& layout) {
    auto* menu = new wxMenu;
    for (int number : layout.commands) {
        const MainCommandInfo* command = FindMainCommand(number);
        if (!command) {
            menu->AppendSeparator();
            continue;
        }
        std::string text = GetUiText("Menu", command->textKey);
        if (command->shortcut) text += std::string("\t") + command->shortcut;
        auto* item = new wxMenuItem(menu, CommandId(number), wxString::FromUTF8(text));
        // GTK only shows a picture given before the item is appended.
        item->SetBitmap(MenuIcon(command->iconKey));
        menu->Append(item);
    }
    return menu;
}
}  // namespace

void BuildMenuBar() {
    wxFrame* frame = MainWindowParts.frame;
    auto* bar = new wxMenuBar;
    for (const MenuLayout& layout : kMenus)
        bar->Append(BuildMenu(layout), wxString::FromUTF8(GetUiText("Menu", layout.titleKey)));
    // SetMenuBar only detaches the bar it replaces; deleting it is ours.
    wxMenuBar* old = frame->GetMenuBar();
    frame->SetMenuBar(bar);
    delete old;
    frame->SendSizeEvent();
    MainWindowParts.bars.menuBar = BarHeight(bar, MainWindowParts.bars.menuBar);
}
