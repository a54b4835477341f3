#include <wx/dcmemory.h>
#include <wx/scrolwin.h>
#include <wx/valtext.h>

#include "prefs/window/prefs_window_parts.h"
#include "ui/texts.h"
#include "ui/window/image_sets.h"
#include "ui/window/main_window_parts.h"

PrefsWindowRecord PrefsWindow;

namespace {
constexpr int kLabelX = 10;
constexpr int kFieldX = 170;
constexpr int kUnitX = 340;
constexpr int kMoreX = 389;

wxString Text(const char* key) { return ToWx(GetUiText("Preferences", key)); }

// A page or sub-page: a plain panel, or a scrolling one over `contentHeight`.
wxWindow* MakePanel(wxWindow* parent, wxPoint at, wxSize size, int contentHeight) {
    if (contentHeight == 0) return new wxPanel(parent, wxID_ANY, at, size, wxBORDER_NONE | wxTAB_TRAVERSAL);
    auto* panel = new wxScrolledWindow(parent, wxID_ANY, at, size, wxBORDER_NONE | wxVSCROLL | wxTAB_TRAVERSAL);
    panel->SetScrollRate(0, kPrefsScrollStep);
    panel->SetVirtualSize(420, contentHeight);
    return panel;
}

void BuildRow(wxWindow* parent, int y, PrefsRowControls& c) {
    const PrefsRow& row = *c.row;
    c.label = new wxStaticText(parent, wxID_ANY, Text(row.labelKey), wxPoint(kLabelX, y + 3), wxSize(160, 20),
                               wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
    const wxPoint field(kFieldX, y);
    switch (row.kind) {
    case RowKind::List:
    case RowKind::Language:
    case RowKind::Theme:
    case RowKind::Bpp:
    case RowKind::FontList:
        c.choice = new wxChoice(parent, wxID_ANY, field, wxSize(row.fieldWidth, 21));
        break;
    case RowKind::InputFormat:
    case RowKind::OutputFormat:
    case RowKind::ColourList:
        c.iconList = new wxBitmapComboBox(parent, wxID_ANY, wxEmptyString, field, wxSize(row.fieldWidth, 21), 0,
                                          nullptr, wxCB_READONLY);
        break;
    case RowKind::Check:
        c.check = new wxCheckBox(parent, wxID_ANY, wxEmptyString, field, wxSize(240, 20));
        break;
    case RowKind::Text:
        c.text = new wxTextCtrl(parent, wxID_ANY, wxEmptyString, field, wxSize(row.fieldWidth, 20));
        break;
    case RowKind::Digits:
        c.text = new wxTextCtrl(parent, wxID_ANY, wxEmptyString, field, wxSize(160, 20), 0,
                                wxTextValidator(wxFILTER_DIGITS));
        c.choice = new wxChoice(parent, wxID_ANY, wxPoint(kUnitX, y), wxSize(70, 21));
        break;
    case RowKind::SliderSpin: {
        const bool gamma = row.scale == SpinScale::Gamma;
        const int sliderMin = SliderValueForSpin(row.min, row.scale);
        const int sliderMax = SliderValueForSpin(row.max, row.scale);
        c.slider = new wxSlider(parent, wxID_ANY, sliderMin, sliderMin, sliderMax, field, wxSize(170, 20));
        if (gamma)
            c.gammaSpin = new wxSpinCtrlDouble(parent, wxID_ANY, wxEmptyString, wxPoint(kUnitX, y), wxSize(70, 20),
                                               wxSP_ARROW_KEYS, row.min / 100.0, row.max / 100.0, 1.0, 0.01);
        else
            c.spin = new wxSpinCtrl(parent, wxID_ANY, wxEmptyString, wxPoint(kUnitX, y), wxSize(70, 20),
                                    wxSP_ARROW_KEYS, row.min, row.max, row.min);
        if (c.gammaSpin) c.gammaSpin->SetDigits(2);
        break;
    }
    case RowKind::ColourButton:
        c.colourButton = new wxBitmapButton(parent, wxID_ANY, ColourSwatch(0, 34, 12), field, wxSize(44, 22));
        c.text = new wxTextCtrl(parent, wxID_ANY, wxEmptyString, wxPoint(220, y), wxSize(190, 20), wxTE_READONLY);
        break;
    case RowKind::Date:
        // Side by side within the row's 240 pixels; the time part needs the room for its arrows.
        c.time = new wxTimePickerCtrl(parent, wxID_ANY, wxDefaultDateTime, wxPoint(kFieldX + 114, y));
        c.time->SetSize(kFieldX + 240 - c.time->GetBestSize().GetWidth(), y, c.time->GetBestSize().GetWidth(), 21);
        c.date = new wxDatePickerCtrl(parent, wxID_ANY, wxDefaultDateTime, field,
                                      wxSize(c.time->GetPosition().x - 2 - kFieldX, 21), wxDP_DROPDOWN | wxDP_SHOWCENTURY);
        break;
    }
    if (row.picker) c.more = new wxButton(parent, wxID_ANY, "...", wxPoint(kMoreX, y), wxSize(22, 22), wxBU_EXACTFIT);
}

void BuildRows(wxWindow* parent, const std::vector<PrefsRow>& rows, int page, int subPage) {
    int y = kPrefsFirstRowY;
    for (const PrefsRow& row : rows) {
        PrefsRowControls& controls = PrefsWindow.rows.emplace_back();
        controls.row = &row;
        controls.page = page;
        controls.subPage = subPage;
        BuildRow(parent, y, controls);
        y += kPrefsRowPitch;
    }
}
}  // namespace

wxBitmap ColourSwatch(uint32_t rgb, int width, int height) {
    wxBitmap swatch(width, height, 24);
    wxMemoryDC dc(swatch);
    dc.SetBackground(wxBrush(wxColour(static_cast<unsigned long>(rgb))));
    dc.Clear();
    dc.SetPen(*wxGREY_PEN);
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(0, 0, width, height);
    dc.SelectObject(wxNullBitmap);
    return swatch;
}

std::vector<wxWindow*> PrefsRowControls::Windows() const {
    std::vector<wxWindow*> all;
    for (wxWindow* window : std::initializer_list<wxWindow*>{label, choice, iconList, check, text, slider, spin,
                                                              gammaSpin, colourButton, more, date, time})
        if (window) all.push_back(window);
    return all;
}

int PrefsRowControls::Code() const {
    if (check) return check->GetValue() ? 1 : 0;
    if (choice) return CodeOfSelection(row->items, choice->GetSelection());
    return -1;
}

void BuildPreferencesControls() {
    PrefsWindowRecord& w = PrefsWindow;
    w.categories = new wxTreeCtrl(w.window, wxID_ANY, wxPoint(10, 10), wxSize(120, 295),
                                  wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT | wxTR_SINGLE |
                                      wxBORDER_THEME);
    const wxTreeItemId root = w.categories->AddRoot("");
    for (const PrefsPage& page : PreferencesTable()) w.categoryItems.push_back(w.categories->AppendItem(root, Text(page.key)));

    w.banner = new wxPanel(w.window, wxID_ANY, wxPoint(140, 10), wxSize(450, 30), wxBORDER_SUNKEN);
    w.banner->SetBackgroundColour(*wxWHITE);
    w.bannerLabel = new wxStaticText(w.banner, wxID_ANY, wxEmptyString, wxPoint(9, 5), wxSize(330, 20),
                                     wxST_NO_AUTORESIZE);
    w.bannerLabel->SetBackgroundColour(*wxWHITE);

    const auto& table = PreferencesTable();
    for (size_t p = 0; p < table.size(); ++p) {
        const PrefsPage& page = table[p];
        wxWindow* panel = MakePanel(w.window, wxPoint(140, 50), wxSize(kPrefsPageWidth, kPrefsPageHeight),
                                    page.contentHeight);
        panel->Hide();
        w.pages.push_back(panel);
        BuildRows(panel, page.rows, static_cast<int>(p), -1);
        std::vector<wxWindow*>& subPanels = w.subPages.emplace_back();
        for (size_t s = 0; s < page.subPages.size(); ++s) {
            const PrefsSubPage& sub = page.subPages[s];
            wxWindow* subPanel = MakePanel(panel, wxPoint(0, kPrefsSubPageY),
                                           wxSize(kPrefsPageWidth, kPrefsSubPageHeight), sub.contentHeight);
            subPanel->Hide();
            subPanels.push_back(subPanel);
            BuildRows(subPanel, sub.rows, static_cast<int>(p), static_cast<int>(s));
        }
    }

    w.defaults = new wxButton(w.window, wxID_ANY, ToWx(GetUiText("Dialog", "Defaults")), wxPoint(10, 315), wxSize(80, 25));
    w.ok = new wxButton(w.window, wxID_OK, ToWx(GetUiText("Dialog", "OK")), wxPoint(420, 315), wxSize(80, 25));
    w.cancel = new wxButton(w.window, wxID_CANCEL, ToWx(GetUiText("Dialog", "Cancel")), wxPoint(510, 315), wxSize(80, 25));
    w.window->SetEscapeId(wxID_CANCEL);
}

PrefsRowControls* FindPrefsRow(const std::string& group, const std::string& key) {
    for (PrefsRowControls& c : PrefsWindow.rows)
        if (c.row->group && EqualsIgnoringAsciiCase(c.row->group, group) &&
            (EqualsIgnoringAsciiCase(c.row->key, key) || (c.row->unitKey && EqualsIgnoringAsciiCase(c.row->unitKey, key))))
            return &c;
    return nullptr;
}

PrefsRowControls* PageSelectorRow(int page) {
    for (PrefsRowControls& c : PrefsWindow.rows)
        if (c.page == page && c.subPage == -1) return &c;
    return nullptr;
}
