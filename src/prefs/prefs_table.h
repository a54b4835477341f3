// The preferences window as data: pages, sub-pages and rows. Building, loading, storing and the
// show/enable rules all read this table. No window code here.
#pragma once
#include <string>
#include <vector>

#include "app/settings.h"

enum class RowKind {
    List,          // fixed items, stores the code of the selected item (-1 for none)
    Language,      // one fixed item, stores "en"
    Theme,         // the theme catalogue, stores the theme key
    InputFormat,   // icon list of OfferedInputFormats
    OutputFormat,  // icon list of OfferedOutputFormats
    Bpp,           // "Auto" plus the output catalogue's depths
    Check,
    Text,          // stored through CleanText
    Digits,        // number field plus a unit list
    SliderSpin,
    ColourButton,
    ColourList,    // icon list of the colours of `listKey`, then "..."
    FontList,      // list of the names of `listKey`, then "..."
    Date,
};

struct RowItem {
    const char* textKey;  // `Preferences` text key; nullptr when `literal` is shown as it stands
    int code;
    const char* literal = nullptr;
};

// A row is enabled (or shown) only while the row editing `[group] key` holds one of `codes`
// (a check box holds 1 when checked). A row with `never` set is never shown.
struct RowCondition {
    const char* group = nullptr;
    const char* key = nullptr;
    std::vector<int> codes;
    bool hides = false;  // hides the row instead of disabling it
    bool never = false;
    bool Active() const { return never || group != nullptr; }
};

enum class SpinScale { Plain, Offset100, Gamma };

struct PrefsRow {
    RowKind kind;
    const char* labelKey;                // `Preferences` text key
    const char* group = nullptr;         // the setting; nullptr for a row that stores nothing
    const char* key = nullptr;
    std::vector<RowItem> items = {};     // List items, or a Digits row's unit list
    int min = 0;                         // SliderSpin range (of the spin)
    int max = 0;
    SpinScale scale = SpinScale::Plain;
    const char* unitKey = nullptr;       // Digits: the setting the unit list stores, if any
    const char* listKey = nullptr;       // ColourList and FontList: the `[Watermark]` list setting
    const char* formatOwner = nullptr;   // Bpp: the output format extension
    bool picker = false;                 // a "..." button follows the field
    int fieldWidth = 240;
    RowCondition condition = {};

    const SettingInfo* Setting() const { return group ? FindSetting(group, key) : nullptr; }
    const SettingInfo* UnitSetting() const { return unitKey ? FindSetting(group, unitKey) : nullptr; }
    const SettingInfo* ListSetting() const { return listKey ? FindSetting(group, listKey) : nullptr; }
};

// Format sub-pages are shown for the selected format whose extension is `name`; type sub-pages
// (frame, watermark) for the selector code `code`.
struct PrefsSubPage {
    const char* name;
    int code;              // -1 for a format sub-page
    int contentHeight;     // 0: does not scroll
    std::vector<PrefsRow> rows;
};

struct PrefsPage {
    const char* key;       // category key and banner text, `Preferences` group
    int contentHeight;     // 0: does not scroll
    std::vector<PrefsRow> rows;  // on pages with sub-pages, row 1 selects the sub-page
    std::vector<PrefsSubPage> subPages;
};

// The nine pages in category order.
const std::vector<PrefsPage>& PreferencesTable();

// Fixed geometry of the window (client coordinates).
constexpr int kPrefsWidth = 600;
constexpr int kPrefsHeight = 350;
constexpr int kPrefsRowPitch = 30;
constexpr int kPrefsFirstRowY = 10;
constexpr int kPrefsSubPageY = 40;
constexpr int kPrefsPageWidth = 450;
constexpr int kPrefsPageHeight = 255;
constexpr int kPrefsSubPageHeight = 215;
constexpr int kPrefsScrollStep = 10;
