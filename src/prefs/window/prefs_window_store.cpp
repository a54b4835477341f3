#include <wx/datetime.h>

#include "app/job.h"
#include "app/settings_file.h"
#include "platform/platform.h"
#include "prefs/window/prefs_window_parts.h"
#include "ui/window/main_window.h"
#include "ui/texts.h"
#include "ui/window/main_window_parts.h"
#include "ui/window/message_boxes.h"

namespace {
std::string SelectedEntryValue(const PrefsRowControls& c, int selection, const std::string& otherwise) {
    if (selection < 0 || selection >= static_cast<int>(c.entries.size())) return otherwise;
    return c.entries[static_cast<size_t>(selection)].value;
}

int32_t LocalDateOf(const PrefsRowControls& c) {
    wxDateTime day = c.date->GetValue();
    const wxDateTime clock = c.time->GetValue();
    if (!day.IsValid()) return static_cast<int32_t>(SettingNumber(*c.row->Setting()));
    if (clock.IsValid()) day.SetHour(clock.GetHour()).SetMinute(clock.GetMinute()).SetSecond(clock.GetSecond());
    return SystemTimeToLocalDate(static_cast<int64_t>(day.GetTicks()));
}

void StoreRow(PrefsRowControls& c) {
    const PrefsRow& row = *c.row;
    const SettingInfo* setting = row.Setting();
    if (!setting) return;
    switch (row.kind) {
    case RowKind::List:
        StoreSettingNumber(*setting, CodeOfSelection(row.items, c.choice->GetSelection()));
        break;
    case RowKind::Language:
        StoreSettingText(*setting, "en");
        break;
    case RowKind::Theme:
        StoreSettingText(*setting, SelectedEntryValue(c, c.choice->GetSelection(), ""));
        break;
    case RowKind::InputFormat:
    case RowKind::OutputFormat:
        StoreSettingText(*setting, SelectedEntryValue(c, c.iconList->GetSelection(), SettingValueText(*setting)));
        break;
    case RowKind::Bpp:
        StoreSettingNumber(*setting, BppValue(c.bppTexts, c.choice->GetSelection()));
        break;
    case RowKind::Check:
        StoreSettingNumber(*setting, c.check->GetValue() ? 1 : 0);
        break;
    case RowKind::Text: {
        // A field cut short by the toolkit's length limit must not cut the stored text: unless the
        // user edited it, the text it was loaded from is stored.
        std::string text = FromWx(c.text->GetValue());
        if (text == c.loadedText) text = c.settingText;
        *static_cast<std::string*>(setting->field) = CleanText(text);
        break;
    }
    case RowKind::Digits:
        StoreSettingNumber(*setting, ParseIntLikeAtoi(FromWx(c.text->GetValue())));
        if (const SettingInfo* unit = row.UnitSetting())
            StoreSettingNumber(*unit, CodeOfSelection(row.items, c.choice->GetSelection()));
        break;
    case RowKind::SliderSpin:
        if (row.scale == SpinScale::Gamma)
            *static_cast<float*>(setting->field) = static_cast<float>(c.value) / 100.0f;
        else
            StoreSettingNumber(*setting, c.value);
        break;
    case RowKind::ColourButton:
        StoreSettingText(*setting, RgbToColourText(ColourTextToRgb(FromWx(c.text->GetValue()))));
        break;
    case RowKind::ColourList: {
        // A list without entries keeps the colour it has.
        const std::string colour = SelectedEntryValue(c, c.iconList->GetSelection(), SettingValueText(*setting));
        StoreSettingText(*setting, RgbToColourText(ColourTextToRgb(colour)));
        break;
    }
    case RowKind::FontList:
        StoreSettingText(*setting, SelectedEntryValue(c, c.choice->GetSelection(), SettingValueText(*setting)));
        break;
    case RowKind::Date:
        StoreSettingNumber(*setting, LocalDateOf(c));
        break;
    }
}

// The Interface page's selections, for the reload request.
void NoteInterfaceReload() {
    const PrefsRowControls* size = FindPrefsRow("Interface", "UI Size");
    const PrefsRowControls* theme = FindPrefsRow("Interface", "UI Theme");
    if (!size || !theme) return;
    InterfaceReload = InterfaceReloadAfter(InterfaceReload, size->Code(), Settings.Interface.UISize,
                                           SelectedEntryValue(*theme, theme->choice->GetSelection(), ""),
                                           Settings.Interface.UITheme);
}
}  // namespace

void StorePreferences() {
    PrefsWindowRecord& w = PrefsWindow;
    Settings.General.Language = "en";
    const auto& table = PreferencesTable();
    for (size_t page = 0; page < table.size(); ++page) {
        if (std::string(table[page].key) == "Interface") NoteInterfaceReload();
        for (PrefsRowControls& c : w.rows)
            if (c.page == static_cast<int>(page)) StoreRow(c);
        if (std::string(table[page].key) == "Adjustment") {
            const auto& a = Settings.Adjustment;
            Settings.Adjustment.DoImageColorCorrection =
                ColourCorrectionFlag(a.ImageBrightness, a.ImageContrast, a.ImageGamma, a.ImageInvert);
        }
    }
}

void ConfirmPreferences() {
    StorePreferences();
    SaveSettings();
    ApplyPreferencesToMainWindow();
    ClosePreferences();
}

void ResetPreferencesToDefaults() {
    if (!AskYesNo(GetUiText("Msg", "Reset to Defaults"), GetUiText("Msg", "Ask reset to defaults"), AskIcon::Question))
        return;
    ApplyDefaults(false);
    NoteInterfaceReload();
    SaveSettings();
    ApplyPreferencesToMainWindow();
    ClosePreferences();
}
