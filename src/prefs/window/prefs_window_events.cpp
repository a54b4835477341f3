#include <wx/frame.h>

#include "app/job.h"
#include "prefs/window/preferences_window.h"
#include "prefs/window/prefs_window_parts.h"
#include "ui/texts.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_parts.h"

namespace {
PrefsRowControls* RowOf(wxObject* object) {
    for (PrefsRowControls& c : PrefsWindow.rows)
        for (wxWindow* window : c.Windows())
            if (window == object) return &c;
    return nullptr;
}

// Mirroring writes into the controls; the events that writing may raise must not echo back.
struct MirrorGuard {
    bool entered;
    MirrorGuard() : entered(!PrefsWindow.mirroring) { PrefsWindow.mirroring = true; }
    ~MirrorGuard() {
        if (entered) PrefsWindow.mirroring = false;
    }
};

// While the user types into a spin its field is rewritten once focus leaves it, so "2." can still become "2.5"; any other change is rewritten at once.
bool RewriteLater(const wxWindow* spin) { return spin->HasFocus(); }

void RewriteSpinField(PrefsRowControls& row) {
    MirrorGuard guard;
    if (row.gammaSpin) row.gammaSpin->SetValue(row.value / 100.0);
    if (row.spin) row.spin->SetValue(row.value);
}

void OnControlCommand(wxCommandEvent& event) {
    PrefsWindowRecord& w = PrefsWindow;
    if (w.mirroring) return;
    wxObject* object = event.GetEventObject();
    if (object == w.ok) return ConfirmPreferences();
    if (object == w.cancel) return ClosePreferences();
    if (object == w.defaults) return ResetPreferencesToDefaults();
    PrefsRowControls* row = RowOf(object);
    if (!row) return;
    const wxEventType type = event.GetEventType();
    if (object == row->slider) return MirrorSliderIntoSpin(*row);
    if (object == row->spin || object == row->gammaSpin) {
        if (type == wxEVT_TEXT) return MirrorSpinText(*row);
        if (type == wxEVT_SPINCTRLDOUBLE) return MirrorGammaArrow(*row);
        if (type == wxEVT_SPINCTRL) return MirrorSpinText(*row);
        return;
    }
    if (object == row->colourButton) return RunColourButtonPicker(*row);
    if (object == row->more) {
        if (row->row->kind == RowKind::FontList) return RunFontPicker();
        if (row->row->kind == RowKind::ColourList) return RunColourListPicker(*row);
        if (row->row->kind == RowKind::Text) return RunImagePicker();
        return;
    }
    if (type == wxEVT_CHOICE || type == wxEVT_COMBOBOX || type == wxEVT_CHECKBOX) ApplyPreferencesRules();
}
}  // namespace

wxDialog* PreferencesWindow() { return PrefsWindow.window; }

void PreferencesEvent(wxEvent& event) {
    PrefsWindowRecord& w = PrefsWindow;
    if (!w.window) return;
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_CLOSE_WINDOW) return ClosePreferences();
    if (type == wxEVT_TREE_SEL_CHANGED) {
        if (w.mirroring) return;
        const wxTreeItemId item = static_cast<wxTreeEvent&>(event).GetItem();
        for (size_t p = 0; p < w.categoryItems.size(); ++p)
            if (w.categoryItems[p] == item) ShowPreferencesPage(static_cast<int>(p));
        return;
    }
    if (type == wxEVT_KILL_FOCUS) {
        event.Skip();
        if (PrefsRowControls* row = RowOf(event.GetEventObject())) {
            wxWindow* spin = row->spin ? static_cast<wxWindow*>(row->spin) : row->gammaSpin;
            if (spin && event.GetEventObject() == spin)
                spin->CallAfter([spin] {
                    if (PrefsRowControls* again = RowOf(spin)) RewriteSpinField(*again);
                });
        }
        return;
    }
    if (auto* command = dynamic_cast<wxCommandEvent*>(&event)) OnControlCommand(*command);
}

void MirrorSliderIntoSpin(PrefsRowControls& row) {
    MirrorGuard guard;
    row.value = SpinValueForSlider(row.slider->GetValue(), row.row->scale);
    RewriteSpinField(row);
}

void MirrorSpinText(PrefsRowControls& row) {
    MirrorGuard guard;
    const PrefsRow& table = *row.row;
    if (row.gammaSpin) {
        row.value = GammaPositionFromText(FromWx(row.gammaSpin->GetTextValue()));
        row.slider->SetValue(row.value);
        if (!RewriteLater(row.gammaSpin)) RewriteSpinField(row);
        return;
    }
    row.value = SpinValueFromText(FromWx(row.spin->GetTextValue()), table.min, table.max);
    row.slider->SetValue(SliderValueForSpin(row.value, table.scale));
    if (!RewriteLater(row.spin) && FromWx(row.spin->GetTextValue()) != std::to_string(row.value))
        RewriteSpinField(row);
}

void MirrorGammaArrow(PrefsRowControls& row) {
    MirrorGuard guard;
    // The arrows already moved the value by one step; clamp it and show it with two decimals.
    row.value = GammaPositionFromValue(static_cast<float>(row.gammaSpin->GetValue()));
    row.slider->SetValue(row.value);
    RewriteSpinField(row);
}

void OpenPreferences() {
    if (PrefsWindow.window) return;
    wxFrame* main = MainWindowFrame();
    auto* window = new wxDialog();
    if (!window->Create(main, wxID_ANY, ToWx(GetUiText("Preferences", "Title")), wxDefaultPosition, wxDefaultSize,
                        wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU, "PreferencesWindow")) {
        delete window;
        return;
    }
    ApplyApplicationStyle();
    PrefsWindow = PrefsWindowRecord{};
    PrefsWindow.window = window;
    window->SetClientSize(kPrefsWidth, kPrefsHeight);
    BuildPreferencesControls();
    LoadPreferencesControls();
    auto forward = [](wxCommandEvent& event) { PreferencesEvent(event); };
    window->Bind(wxEVT_BUTTON, forward);
    window->Bind(wxEVT_CHOICE, forward);
    window->Bind(wxEVT_COMBOBOX, forward);
    window->Bind(wxEVT_CHECKBOX, forward);
    window->Bind(wxEVT_SLIDER, forward);
    window->Bind(wxEVT_SPINCTRL, forward);
    window->Bind(wxEVT_SPINCTRLDOUBLE, forward);
    window->Bind(wxEVT_TEXT, forward);
    window->Bind(wxEVT_TREE_SEL_CHANGED, [](wxTreeEvent& event) { PreferencesEvent(event); });
    window->Bind(wxEVT_CLOSE_WINDOW, [](wxCloseEvent& event) { PreferencesEvent(event); });
    for (PrefsRowControls& row : PrefsWindow.rows) {
        wxWindow* spin = row.spin ? static_cast<wxWindow*>(row.spin) : row.gammaSpin;
        if (spin) spin->Bind(wxEVT_KILL_FOCUS, [](wxFocusEvent& event) { PreferencesEvent(event); });
    }
    // Whoever destroys the window (the main window's end among them), nothing may reach it afterwards.
    window->Bind(wxEVT_DESTROY, [window](wxWindowDestroyEvent& event) {
        event.Skip();
        if (event.GetEventObject() == window && PrefsWindow.window == window) PrefsWindow = PrefsWindowRecord{};
    });
    if (main) window->CentreOnParent();
    window->Show();
    EnableMainWindowCommands(false);
    window->Raise();
    PrefsWindow.categories->SetFocus();
}

void ClosePreferences() {
    PrefsWindowRecord& w = PrefsWindow;
    if (!w.window) return;
    wxDialog* window = w.window;
    w = PrefsWindowRecord{};  // releases the banner font
    EnableMainWindowCommands(true);
    window->Destroy();
    if (wxFrame* main = MainWindowFrame()) main->SetFocus();
}
