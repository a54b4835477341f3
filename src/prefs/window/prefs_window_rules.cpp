#include <algorithm>

#include "prefs/window/prefs_window_parts.h"
#include "ui/texts.h"
#include "ui/window/main_window_parts.h"

namespace {
bool ConditionHolds(const RowCondition& condition) {
    if (condition.never) return false;
    const PrefsRowControls* controlling = FindPrefsRow(condition.group, condition.key);
    if (!controlling) return false;
    const std::vector<int>& codes = condition.codes;
    return std::find(codes.begin(), codes.end(), controlling->Code()) != codes.end();
}

// Which sub-page of a page the selector row asks for; -1 for none.
int WantedSubPage(int page) {
    const PrefsPage& table = PreferencesTable()[static_cast<size_t>(page)];
    const PrefsRowControls* selector = PageSelectorRow(page);
    if (table.subPages.empty() || !selector) return -1;
    std::string extension;
    if (selector->iconList) {
        const int selection = selector->iconList->GetSelection();
        if (selection >= 0 && selection < static_cast<int>(selector->entries.size()))
            extension = selector->entries[static_cast<size_t>(selection)].value;
    }
    for (size_t s = 0; s < table.subPages.size(); ++s) {
        const PrefsSubPage& sub = table.subPages[s];
        if (sub.code < 0 ? !extension.empty() && extension == sub.name : selector->Code() == sub.code)
            return static_cast<int>(s);
    }
    return -1;
}
}  // namespace

void ApplyPreferencesRules() {
    PrefsWindowRecord& w = PrefsWindow;
    for (PrefsRowControls& c : w.rows) {
        const RowCondition& condition = c.row->condition;
        if (!condition.Active()) continue;
        const bool holds = ConditionHolds(condition);
        for (wxWindow* window : c.Windows()) {
            if (condition.hides || condition.never)
                window->Show(holds);
            else
                window->Enable(holds);
        }
    }
    for (size_t p = 0; p < w.subPages.size(); ++p) {
        const int wanted = WantedSubPage(static_cast<int>(p));
        for (size_t s = 0; s < w.subPages[p].size(); ++s) w.subPages[p][s]->Show(static_cast<int>(s) == wanted);
    }
}

void ShowPreferencesPage(int page) {
    PrefsWindowRecord& w = PrefsWindow;
    if (page < 0 || page >= static_cast<int>(w.pages.size())) return;
    for (size_t p = 0; p < w.pages.size(); ++p) w.pages[p]->Show(static_cast<int>(p) == page);
    w.currentPage = page;
    w.bannerLabel->SetLabelText(ToWx(GetUiText("Preferences", PreferencesTable()[static_cast<size_t>(page)].key)));
}
