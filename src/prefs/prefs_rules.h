// The rules of the preferences window that need no window: colour texts, text cleaning, the
// slider/spin mapping, the growing font and colour lists, and what each kind of row loads and stores.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/settings.h"
#include "prefs/prefs_table.h"

// --- colours: RGB values hold red in the lowest byte, green in the next, blue in the third ---
uint32_t ColourTextToRgb(const std::string& text);  // black unless exactly six characters
std::string RgbToColourText(uint32_t rgb);          // "RRGGBB", upper case
// The name of one of the nineteen named colours, else "Color #" and the digits.
std::string ColorLabel(const std::string& colourText);

// Trimmed of spaces at either end, then without any tab, CR or LF.
std::string CleanText(const std::string& text);

// --- slider and spin ---
// A spin's text read as its leading signed integer (0 without one), clamped to the range.
int SpinValueFromText(const std::string& text, int min, int max);
int SliderValueForSpin(int spinValue, SpinScale scale);  // brightness and contrast: +100
int SpinValueForSlider(int sliderValue, SpinScale scale);
// Gamma: the spin holds the gamma × 100; its field shows that divided by 100 with two decimals.
int GammaPositionFromText(const std::string& text);  // leading decimal number × 100, rounded, 1 to 999
int GammaPositionFromValue(float gamma);             // as loaded from the setting, 1 to 999
std::string GammaText(int position);                 // 100 → "1.00"

// --- comma-separated lists of names and colours ---
// The entries, trimmed of spaces; empty entries are left out.
std::vector<std::string> SplitNameList(const std::string& list);
// Appends ",name" unless an entry equals the name exactly; true when it appended.
bool AppendFontIfMissing(std::string& fonts, const std::string& name);
// Appends ",RRGGBB" unless an entry, read as a colour, has that value; true when it appended.
bool AppendColourIfMissing(std::string& colours, uint32_t rgb);
// A face name as the font list holds it: without commas.
std::string FontNameFromFace(const std::string& face);
int FontStyleCode(int weight, bool italic);  // bold only at weight 700 exactly

// InterfaceReload after OK or Defaults: 2 when the icon size differs, then 1 when the theme does.
int32_t InterfaceReloadAfter(int32_t current, int selectedSize, int32_t sizeSetting, const std::string& selectedTheme,
                             const std::string& themeSetting);
// [Adjustment] Do Image Color Correction as OK derives it.
int8_t ColourCorrectionFlag(int32_t brightness, int32_t contrast, float gamma, int8_t invert);

// --- list contents and selections ---
struct ListEntry {
    std::string text;
    std::string value;  // theme key, format extension, colour text
    int data = 0;       // format lists: the index of the offered format
};
// The fixed item's text, from the text table unless it is a literal.
std::string RowItemText(const RowItem& item);
int SelectionForCode(const std::vector<RowItem>& items, int code);  // -1 when no item has it
int CodeOfSelection(const std::vector<RowItem>& items, int selection);  // -1 for none
// Themes by key, letter case ignored, without nameless ones, at most 128; "None" when there are none.
std::vector<ListEntry> ThemeListEntries(const std::map<std::string, std::string>& catalogue);
std::vector<ListEntry> FormatListEntries(const std::vector<std::string>& offered);  // upper case, at most 128
// The entry whose value equals `value` exactly, else 0 (the first).
int SelectionForValue(const std::vector<ListEntry>& entries, const std::string& value);
std::vector<std::string> BppListTexts(const std::string& extension);  // "Auto", then the depths
int BppSelection(const std::vector<std::string>& texts, int32_t value);  // -1 when none matches
int32_t BppValue(const std::vector<std::string>& texts, int selection);
std::vector<ListEntry> ColourListEntries(const std::string& list);
// The first entry with the colour's RGB value, else 0.
int ColourSelection(const std::vector<ListEntry>& entries, const std::string& colour);
std::vector<ListEntry> FontListEntries(const std::string& list);
int FontSelection(const std::vector<ListEntry>& entries, const std::string& font);  // case ignored, else 0
// GTK's drop-down lists fill in quadratic time, so a colour or font list shows at most this many
// entries, plus the selected one when it lies beyond them. The setting keeps all of them.
constexpr size_t kShownListEntries = 256;
void LimitListEntries(std::vector<ListEntry>& entries, int selection);

// A number into a setting by its type: int8 keeps its low 8 bits; a float takes the value as it is.
void StoreSettingNumber(const SettingInfo& info, int64_t value);
int64_t SettingNumber(const SettingInfo& info);  // int and flag settings; a float rounded
