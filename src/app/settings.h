// The one process-wide record of every option, and the table that describes it.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Members are named after the settings-file group and key with blanks removed:
// "[Frame] Solid Left Color" is Settings.Frame.SolidLeftColor.
struct SettingsRecord {
    struct {
        int32_t CFG{};
        std::string Language{};
        int32_t UpdateRange{};
        int32_t UpdateDate{};
        int8_t SaveWindowPosition{};
    } General;
    struct {
        int8_t IsMaximized{};
        int32_t X{};
        int32_t Y{};
        int32_t Width{};
        int32_t Height{};
    } Window;
    struct {
        std::string UITheme{};
        int32_t UISize{};
    } Interface;
    struct {
        std::string Format{};
        int32_t DDSLoadAs{};
        int32_t GIFFrameLoading{};
        int32_t ICOFrameLoading{};
        int32_t TIFFFrameLoading{};
        int32_t PSDColorMode{};
        int32_t RAWLoadAs{};
        int32_t RAWHeaderSize{};
        int32_t RAWImageWidth{};
        int32_t RAWImageHeight{};
        int32_t RAWToneMapping{};
    } Input;
    struct {
        std::string Format{};
        int32_t BMPBPP{};
        int32_t BMPCompression{};
        int32_t BMPColorTable{};
        int32_t DDSBPP{};
        int32_t EXRBPP{};
        int32_t EXRCompression{};
        int32_t GIFBPP{};
        int32_t HDRBPP{};
        int32_t ICOBPP{};
        int32_t J2KBPP{};
        int32_t JNGBPP{};
        int32_t JP2BPP{};
        int32_t JPGBPP{};
        int32_t JPGQuality{};
        int32_t JPGChroma{};
        int32_t JPGSaveAs{};
        int32_t JXRBPP{};
        int32_t PBMBPP{};
        int32_t PCXBPP{};
        int32_t PFMBPP{};
        int32_t PGMBPP{};
        int32_t PNGBPP{};
        int32_t PNGCompression{};
        int8_t PNGInterlaced{};
        int32_t PPMBPP{};
        int32_t PSDBPP{};
        int32_t TGABPP{};
        int32_t TGACompression{};
        int32_t TIFFBPP{};
        int32_t TIFFCompression{};
        int32_t TIFFColorMode{};
        int32_t WBMPBPP{};
        int32_t WEBPBPP{};
        int32_t WEBPQuality{};
        int32_t XPMBPP{};
    } Output;
    struct {
        int8_t DoImageRotation{};
        int8_t ImageRotationType{};
        int32_t ImageRotation{};
        std::string ImageRotationBackColor{};
        int8_t DoImageResize{};
        int32_t ImageWidth{};
        int8_t ImageWidthUnit{};
        int32_t ImageHeight{};
        int8_t ImageHeightUnit{};
        int8_t KeepAspectRatio{};
        int8_t ImageResizeType{};
        int8_t ImageResizeAlgorithm{};
        int8_t DoImageFlipHorizontal{};
        int8_t DoImageFlipVertical{};
    } Transform;
    struct {
        int8_t DoImageColorCorrection{};
        int32_t ImageBrightness{};
        int32_t ImageContrast{};
        float ImageGamma{};
        int8_t ImageInvert{};
        int8_t DoImageGreyscale{};
        int8_t DoImageThreshold{};
        int32_t ImageThreshold{};
        int8_t DoImageDither{};
        int8_t ImageDitherAlgorithm{};
    } Adjustment;
    struct {
        int8_t DoFrame{};
        int32_t SolidLeft{};
        int32_t SolidRight{};
        int32_t SolidTop{};
        int32_t SolidBottom{};
        std::string SolidLeftColor{};
        std::string SolidRightColor{};
        std::string SolidTopColor{};
        std::string SolidBottomColor{};
        int32_t SolidOpacity{};
    } Frame;
    struct {
        int8_t DoWatermark{};
        std::string Text{};
        std::string Fonts{};
        std::string Font{};
        int32_t FontSize{};
        int32_t FontLeading{};
        std::string FontColors{};
        std::string FontColor{};
        int8_t FontStyle{};
        int8_t FontEffect{};
        int8_t TextAntialiasing{};
        int8_t TextAlignment{};
        int32_t TextPadding{};
        int32_t TextOpacity{};
        std::string BackColors{};
        std::string BackColor{};
        int32_t BackOpacity{};
        int8_t TextBoundary{};
        int8_t TextPosition{};
        int32_t TextXOffset{};
        int32_t TextYOffset{};
        int32_t TextRotation{};
        int8_t TextSize{};
        int32_t TextScale{};
        std::string Image{};
        int8_t ImageGreyscale{};
        int32_t ImageOpacity{};
        int8_t ImageBoundary{};
        int8_t ImagePosition{};
        int32_t ImageXOffset{};
        int32_t ImageYOffset{};
        int32_t ImageRotation{};
        int8_t ImageSize{};
        int32_t ImageScale{};
    } Watermark;
    struct {
        std::string FilenameMask{};
        int8_t FileTimestamp{};
        int32_t CustomTimestamp{};
        int8_t OutFoldersHistory{};
        int8_t OutFoldersNumber{};
        int8_t KeepSubfolders{};
    } Advanced;
    struct {
        std::string RecentOutFolders{};
        std::string RecentFiles{};
    } File;
    struct {
        int8_t CleanRecentFiles{};
    } Privacy;

    std::string SettingsPath;  // full path of config.ini; never written to the file
    int InstanceLock = -1;     // single-instance lock handle; never written to the file
};

extern SettingsRecord Settings;

// The formats this product reads and writes; fixed at start.
extern const std::vector<std::string> OfferedInputFormats;
extern const std::vector<std::string> OfferedOutputFormats;

enum class SettingType { Text, Int32, Int8, Float32, Colour, Date, Flag };

// Defaults that cannot be written as a constant text.
enum class DefaultRule { Plain, Now, CentreX, CentreY, AspectByMode, FirstOfferedInput, FirstOfferedOutput };

struct SettingInfo {
    const char* group;
    const char* key;
    SettingType type;
    void* field;               // the member of Settings
    const char* defaultText;   // for DefaultRule::Plain, in settings-file syntax
    DefaultRule rule;
    const char* fileFallback;  // value for a key missing from the settings file, when it differs from the default
    const char* formatOwner;   // per-format key: the format extension it belongs to, else nullptr
};

// Every setting, in settings-file order.
const std::vector<SettingInfo>& SettingsTable();
const SettingInfo* FindSetting(const std::string& group, const std::string& key);  // ASCII case-insensitive

// Stores a value given as settings-file text into the setting, with the reader's number rules
// (atoi/atof, int8 keeps its low 8 bits, text and colours trimmed).
void StoreSettingText(const SettingInfo& info, const std::string& value);
std::string SettingValueText(const SettingInfo& info);  // as the settings file writes it

// Text and number reading shared by the settings file, profiles and options.
std::string TrimBlanks(const std::string& text, const char* blanks = " \t");  // at either end
int32_t ParseIntLikeAtoi(const std::string& text);
// Integer option values and the update file's number: blanks and tabs, a sign, then "$" hex, "%"
// binary or decimal digits; keeps the low 32 bits.
int32_t ParseOptionInteger(const std::string& text);
float ParseFloatLikeAtof(const std::string& text);  // also +Infinity, -Infinity, NaN in any case
int8_t LowByte(int32_t value);
// Group, key, keyword and extension case: ASCII letters only, whatever the locale.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
// The text with its ASCII letters lower- or upper-cased; other bytes, UTF-8 sequences among them, stay.
std::string LowerAscii(std::string text);
std::string UpperAscii(std::string text);

// Primary display size used by the default window position; 0 × 0 without a display.
// The window front end sets it before defaults are applied.
void SetPrimaryDisplaySize(int width, int height);

void ApplyDefaults(bool consoleMode);
void ApplySettingDefault(const SettingInfo& info, bool consoleMode);  // one row of the table
