// The open preferences window's controls, shared by its own files and by tests.
#pragma once
#include <wx/bmpbuttn.h>
#include <wx/bmpcbox.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/datectrl.h>
#include <wx/dialog.h>
#include <wx/panel.h>
#include <wx/slider.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timectrl.h>
#include <wx/treectrl.h>

#include <string>
#include <vector>

#include "prefs/prefs_rules.h"
#include "prefs/prefs_table.h"

// One row of a page or sub-page and the controls made for it.
struct PrefsRowControls {
    const PrefsRow* row = nullptr;
    int page = 0;
    int subPage = -1;
    wxStaticText* label = nullptr;
    wxChoice* choice = nullptr;             // List, Language, Theme, Bpp, FontList; a Digits row's units
    wxBitmapComboBox* iconList = nullptr;   // InputFormat, OutputFormat, ColourList
    wxCheckBox* check = nullptr;
    wxTextCtrl* text = nullptr;             // Text, Digits, a colour button's read-only field
    wxSlider* slider = nullptr;
    wxSpinCtrl* spin = nullptr;
    wxSpinCtrlDouble* gammaSpin = nullptr;
    wxBitmapButton* colourButton = nullptr;
    wxButton* more = nullptr;               // "..."
    wxDatePickerCtrl* date = nullptr;
    wxTimePickerCtrl* time = nullptr;
    std::vector<ListEntry> entries;         // Theme, formats, colours, fonts
    std::vector<std::string> bppTexts;
    int value = 0;                          // SliderSpin: the spin's value as mirrored (gamma × 100)
    std::string loadedText;                 // a Text row: what the field showed after loading
    std::string settingText;                // ...and the setting it came from

    std::vector<wxWindow*> Windows() const;  // label and every control of the row
    int Code() const;                        // the selected code (List) or 1/0 (Check)
};

struct PrefsWindowRecord {
    wxDialog* window = nullptr;
    wxTreeCtrl* categories = nullptr;
    std::vector<wxTreeItemId> categoryItems;
    wxPanel* banner = nullptr;
    wxStaticText* bannerLabel = nullptr;
    wxFont bannerFont;
    std::vector<wxWindow*> pages;
    std::vector<std::vector<wxWindow*>> subPages;  // per page
    std::vector<PrefsRowControls> rows;            // in table order, page after page
    wxButton* defaults = nullptr;
    wxButton* ok = nullptr;
    wxButton* cancel = nullptr;
    int currentPage = 0;
    bool mirroring = false;  // set while the window writes into its own controls
};
extern PrefsWindowRecord PrefsWindow;

// The row editing [group] key (for a Digits row also its unit setting), or nullptr.
PrefsRowControls* FindPrefsRow(const std::string& group, const std::string& key);
// The page's selector row (row 1 of Input, Output, Frame, Watermark).
PrefsRowControls* PageSelectorRow(int page);

void BuildPreferencesControls();
void LoadPreferencesControls();
// Show, hide, enable and disable every row and sub-page as the controls now stand.
void ApplyPreferencesRules();
void ShowPreferencesPage(int page);  // outside 0 to 8 changes nothing
void StorePreferences();             // every row by its store rule, with the derived values
void ConfirmPreferences();           // OK
void ResetPreferencesToDefaults();   // Defaults
void ClosePreferences();             // Cancel, Escape, close box

// Slider and spin mirroring.
void MirrorSliderIntoSpin(PrefsRowControls& row);
void MirrorSpinText(PrefsRowControls& row);
void MirrorGammaArrow(PrefsRowControls& row);

// The pickers. Each Run* opens the platform dialog and hands its answer to the Take* step, which
// tests call with the answer directly.
void RunColourButtonPicker(PrefsRowControls& row);
void TakeChosenButtonColour(PrefsRowControls& row, bool chosen, uint32_t rgb);
void RunColourListPicker(PrefsRowControls& row);
void TakeChosenListColour(PrefsRowControls& row, bool chosen, uint32_t rgb);
void RunFontPicker();
void TakeChosenFont(bool chosen, const std::string& face, int points, int weight, bool italic);
void RunImagePicker();
void TakeChosenImage(const std::string& path);
// The image picker's "name|pattern|..." filter list.
std::string WatermarkImageFilters();
// A colour swatch bitmap.
wxBitmap ColourSwatch(uint32_t rgb, int width, int height);
