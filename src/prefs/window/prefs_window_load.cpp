#include <wx/datetime.h>

#include "app/job.h"
#include "platform/platform.h"
#include "prefs/window/prefs_window_parts.h"
#include "ui/themes.h"
#include "ui/texts.h"
#include "ui/window/image_sets.h"
#include "ui/window/main_window_parts.h"

namespace {
std::string SettingText(const SettingInfo* info) { return info ? SettingValueText(*info) : std::string(); }

void FillChoice(wxChoice* choice, const std::vector<std::string>& texts, int selection) {
    wxArrayString items;
    for (const std::string& text : texts) items.Add(ToWx(text));
    choice->Set(items);
    choice->SetSelection(selection >= 0 && selection < static_cast<int>(texts.size()) ? selection : wxNOT_FOUND);
}

std::vector<std::string> FixedTexts(const std::vector<RowItem>& items) {
    std::vector<std::string> texts;
    for (const RowItem& item : items) texts.push_back(RowItemText(item));
    return texts;
}

std::vector<std::string> EntryTexts(const std::vector<ListEntry>& entries) {
    std::vector<std::string> texts;
    for (const ListEntry& entry : entries) texts.push_back(entry.text);
    return texts;
}

void FillIconList(wxBitmapComboBox* list, const std::vector<ListEntry>& entries, bool swatches, int selection) {
    list->Freeze();
    list->Clear();
    const wxBitmap format = swatches ? wxBitmap() : MenuIcon("New");
    for (const ListEntry& entry : entries)
        list->Append(ToWx(entry.text), swatches ? ColourSwatch(ColourTextToRgb(entry.value), 16, 16) : format);
    list->SetSelection(selection >= 0 && selection < static_cast<int>(entries.size()) ? selection : wxNOT_FOUND);
    list->Thaw();
}

void LoadRow(PrefsRowControls& c) {
    const PrefsRow& row = *c.row;
    const SettingInfo* setting = row.Setting();
    switch (row.kind) {
    case RowKind::List:
        FillChoice(c.choice, FixedTexts(row.items),
                   setting ? SelectionForCode(row.items, static_cast<int>(SettingNumber(*setting))) : 0);
        break;
    case RowKind::Language:
        FillChoice(c.choice, FixedTexts(row.items), 0);
        break;
    case RowKind::Theme:
        c.entries = ThemeListEntries(ThemeCatalogue);
        FillChoice(c.choice, EntryTexts(c.entries), SelectionForValue(c.entries, Settings.Interface.UITheme));
        break;
    case RowKind::InputFormat:
    case RowKind::OutputFormat:
        c.entries = FormatListEntries(row.kind == RowKind::InputFormat ? OfferedInputFormats : OfferedOutputFormats);
        FillIconList(c.iconList, c.entries, false, SelectionForValue(c.entries, SettingText(setting)));
        break;
    case RowKind::Bpp:
        c.bppTexts = BppListTexts(row.formatOwner);
        FillChoice(c.choice, c.bppTexts, setting ? BppSelection(c.bppTexts, static_cast<int32_t>(SettingNumber(*setting))) : 0);
        break;
    case RowKind::Check:
        c.check->SetValue(setting && SettingNumber(*setting) != 0);
        break;
    case RowKind::Text:
        c.settingText = SettingText(setting);
        c.text->ChangeValue(ToWx(c.settingText));
        // A single-line field holds a bounded number of characters; see the store rule.
        c.loadedText = FromWx(c.text->GetValue());
        break;
    case RowKind::Digits: {
        c.text->ChangeValue(ToWx(SettingText(setting)));
        // The unit lists that edit a setting show it; the others show their only unit.
        const SettingInfo* unit = row.UnitSetting();
        int selection = unit ? SelectionForCode(row.items, static_cast<int>(SettingNumber(*unit))) : 0;
        FillChoice(c.choice, FixedTexts(row.items), selection < 0 ? 0 : selection);
        break;
    }
    case RowKind::SliderSpin:
        if (row.scale == SpinScale::Gamma) {
            const int position = GammaPositionFromValue(Settings.Adjustment.ImageGamma);
            c.slider->SetValue(position);
            c.gammaSpin->SetValue(position / 100.0);
            c.value = position;
        } else {
            const int value = static_cast<int>(SettingNumber(*setting));
            c.slider->SetValue(SliderValueForSpin(value, row.scale));
            c.spin->SetValue(value);
            c.value = c.spin->GetValue();  // the spin's range bounds what it loads
        }
        break;
    case RowKind::ColourButton: {
        const uint32_t rgb = ColourTextToRgb(SettingText(setting));
        c.colourButton->SetBitmap(ColourSwatch(rgb, 34, 12));
        c.text->ChangeValue(ToWx(RgbToColourText(rgb)));
        break;
    }
    case RowKind::ColourList:
        c.entries = ColourListEntries(SettingText(row.ListSetting()));
        LimitListEntries(c.entries, ColourSelection(c.entries, SettingText(setting)));
        FillIconList(c.iconList, c.entries, true, ColourSelection(c.entries, SettingText(setting)));
        break;
    case RowKind::FontList:
        if (TrimBlanks(Settings.Watermark.Fonts, " ").empty()) Settings.Watermark.Fonts = Settings.Watermark.Font;
        c.entries = FontListEntries(Settings.Watermark.Fonts);
        LimitListEntries(c.entries, FontSelection(c.entries, Settings.Watermark.Font));
        FillChoice(c.choice, EntryTexts(c.entries), FontSelection(c.entries, Settings.Watermark.Font));
        break;
    case RowKind::Date: {
        const wxDateTime when(static_cast<time_t>(LocalDateToSystemTime(static_cast<int32_t>(SettingNumber(*setting)))));
        c.date->SetValue(when);
        c.time->SetValue(when);
        break;
    }
    }
}
}  // namespace

void LoadPreferencesControls() {
    PrefsWindowRecord& w = PrefsWindow;
    w.mirroring = true;
    const int page = PreferencesPage >= 0 && PreferencesPage < static_cast<int>(w.pages.size()) ? PreferencesPage : 0;
    w.categories->SelectItem(w.categoryItems[static_cast<size_t>(page)]);
    w.bannerFont = wxFont(wxFontInfo(10).Bold().FaceName("MS Shell Dlg"));
    if (!w.bannerFont.IsOk()) w.bannerFont = wxFont(wxFontInfo(10).Bold());
    if (w.bannerFont.IsOk()) w.bannerLabel->SetFont(w.bannerFont);
    for (PrefsRowControls& row : w.rows) LoadRow(row);
    ApplyPreferencesRules();
    ShowPreferencesPage(page);
    PreferencesPage = 0;
    w.mirroring = false;
}
