#include <wx/colordlg.h>
#include <wx/filedlg.h>
#include <wx/fontdlg.h>

#include "prefs/window/prefs_window_parts.h"
#include "platform/platform.h"
#include "ui/texts.h"
#include "ui/window/main_window_parts.h"

namespace {
uint32_t FieldColour(const PrefsRowControls& row) { return ColourTextToRgb(FromWx(row.text->GetValue())); }

// The colour chooser's answer: false when it was cancelled.
bool ChooseColour(uint32_t start, uint32_t* chosen) {
    wxColourData data;
    data.SetColour(wxColour(static_cast<unsigned long>(start)));
    wxColourDialog dialog(PrefsWindow.window, &data);
    if (dialog.ShowModal() != wxID_OK) return false;
    *chosen = static_cast<uint32_t>(dialog.GetColourData().GetColour().GetRGB());
    return true;
}

std::string* ListSetting(const PrefsRowControls& row) {
    const SettingInfo* list = row.row->ListSetting();
    return list ? static_cast<std::string*>(list->field) : nullptr;
}
}  // namespace

void RunColourButtonPicker(PrefsRowControls& row) {
    uint32_t chosen = 0;
    const bool picked = ChooseColour(FieldColour(row), &chosen);
    TakeChosenButtonColour(row, picked, chosen);
}

void TakeChosenButtonColour(PrefsRowControls& row, bool chosen, uint32_t rgb) {
    if (!chosen || !row.colourButton || rgb == FieldColour(row)) return;
    row.colourButton->SetBitmap(ColourSwatch(rgb, 34, 12));
    row.text->ChangeValue(ToWx(RgbToColourText(rgb)));
}

void RunColourListPicker(PrefsRowControls& row) {
    const int selection = row.iconList->GetSelection();
    const uint32_t start = selection >= 0 && selection < static_cast<int>(row.entries.size())
                               ? ColourTextToRgb(row.entries[static_cast<size_t>(selection)].value)
                               : 0;
    uint32_t chosen = 0;
    const bool picked = ChooseColour(start, &chosen);
    TakeChosenListColour(row, picked, chosen);
}

void TakeChosenListColour(PrefsRowControls& row, bool chosen, uint32_t rgb) {
    std::string* list = ListSetting(row);
    if (!chosen || !row.iconList || !list) return;
    AppendColourIfMissing(*list, rgb);
    // A colour the setting holds beyond the shown entries gets an item too.
    int selection = ColourSelection(row.entries, RgbToColourText(rgb));
    if (selection < 0 || ColourTextToRgb(row.entries[static_cast<size_t>(selection)].value) != rgb) {
        const std::string colour = RgbToColourText(rgb);
        row.entries.push_back({ColorLabel(colour), colour});
        row.iconList->Append(ToWx(row.entries.back().text), ColourSwatch(rgb, 16, 16));
        selection = static_cast<int>(row.entries.size()) - 1;
    }
    row.iconList->SetSelection(selection);
}

void RunFontPicker() {
    PrefsRowControls* font = FindPrefsRow("Watermark", "Font");
    PrefsRowControls* size = FindPrefsRow("Watermark", "Font Size");
    if (!font || !size) return;
    wxFontData data;
    wxFontInfo start(ParseIntLikeAtoi(FromWx(size->text->GetValue())));
    const int selection = font->choice->GetSelection();
    if (selection >= 0) start.FaceName(font->choice->GetString(static_cast<unsigned int>(selection)));
    data.SetInitialFont(wxFont(start));
    data.EnableEffects(false);
    wxFontDialog dialog(PrefsWindow.window, data);
    if (dialog.ShowModal() != wxID_OK) return TakeChosenFont(false, "", 0, 0, false);
    const wxFont chosen = dialog.GetFontData().GetChosenFont();
    TakeChosenFont(chosen.IsOk(), FromWx(chosen.GetFaceName()), chosen.GetPointSize(), chosen.GetNumericWeight(),
                   chosen.GetStyle() == wxFONTSTYLE_ITALIC);
}

void TakeChosenFont(bool chosen, const std::string& face, int points, int weight, bool italic) {
    PrefsRowControls* font = FindPrefsRow("Watermark", "Font");
    PrefsRowControls* size = FindPrefsRow("Watermark", "Font Size");
    PrefsRowControls* style = FindPrefsRow("Watermark", "Font Style");
    const std::string name = FontNameFromFace(face);
    if (!chosen || name.empty() || !font || !size || !style) return;
    const bool appended = AppendFontIfMissing(Settings.Watermark.Fonts, name);
    int selection = FontSelection(font->entries, name);
    if (appended || selection < 0 || !EqualsIgnoringAsciiCase(font->entries[static_cast<size_t>(selection)].value, name)) {
        font->entries.push_back({name, name});
        font->choice->Append(ToWx(name));
        selection = FontSelection(font->entries, name);
    }
    font->choice->SetSelection(selection);
    size->text->ChangeValue(ToWx(std::to_string(points)));
    style->choice->SetSelection(SelectionForCode(style->row->items, FontStyleCode(weight, italic)));
}

std::string WatermarkImageFilters() {
    struct Filter {
        std::string name;
        std::string pattern;
    };
    const std::vector<Filter> types = {
        {"JPEG File", "*.jpg;*.jpeg;*.jpe;*.jif"},
        {"Portable Network Graphics", "*.png"},
        {"Windows or OS/2 Bitmap", "*.bmp;*.rle;*.dib"},
    };
    std::string all;
    for (const Filter& type : types) all += (all.empty() ? "" : ";") + type.pattern;
    std::string filters = GetUiText("Dialog", "All Supported Files") + "|" + all;
    for (const Filter& type : types) filters += "|" + type.name + "|" + type.pattern;
    return filters + "|" + GetUiText("Dialog", "All Files") + " (*.*)|*.*";
}

void RunImagePicker() {
    PrefsRowControls* image = FindPrefsRow("Watermark", "Image");
    if (!image) return;
    const std::string proposed = TrimBlanks(FromWx(image->text->GetValue()), " ");
    wxFileDialog dialog(PrefsWindow.window, ToWx(GetUiText("Dialog", "Select Watermark Image")),
                        ToWx(FolderPart(proposed)), ToWx(FileNamePart(proposed)), ToWx(WatermarkImageFilters()),
                        wxFD_OPEN);
    dialog.SetFilterIndex(0);
    TakeChosenImage(dialog.ShowModal() == wxID_OK ? FromWx(dialog.GetPath()) : "");
}

void TakeChosenImage(const std::string& path) {
    PrefsRowControls* image = FindPrefsRow("Watermark", "Image");
    if (path.empty() || !image) return;
    image->text->ChangeValue(ToWx(path));
}
