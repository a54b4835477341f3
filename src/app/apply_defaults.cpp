#include "app/settings.h"
#include "platform/platform.h"

namespace {
int displayWidth = 0;
int displayHeight = 0;

// Centred on the display, or 100 when the display is not larger than the window.
int CentredPosition(int displaySize, int windowSize) {
    return displaySize > windowSize ? (displaySize - windowSize) / 2 : 100;
}
}  // namespace

void SetPrimaryDisplaySize(int width, int height) {
    displayWidth = width;
    displayHeight = height;
}

void ApplySettingDefault(const SettingInfo& info, bool consoleMode) {
    switch (info.rule) {
        case DefaultRule::Plain: StoreSettingText(info, info.defaultText); break;
        case DefaultRule::Now: *static_cast<int32_t*>(info.field) = NowLocalDate(); break;
        case DefaultRule::CentreX: *static_cast<int32_t*>(info.field) = CentredPosition(displayWidth, 510); break;
        case DefaultRule::CentreY: *static_cast<int32_t*>(info.field) = CentredPosition(displayHeight, 260); break;
        case DefaultRule::AspectByMode: *static_cast<int8_t*>(info.field) = consoleMode ? 0 : 1; break;
        case DefaultRule::FirstOfferedInput: *static_cast<std::string*>(info.field) = OfferedInputFormats.front(); break;
        case DefaultRule::FirstOfferedOutput: *static_cast<std::string*>(info.field) = OfferedOutputFormats.front(); break;
    }
}

void ApplyDefaults(bool consoleMode) {
    for (const SettingInfo& info : SettingsTable()) ApplySettingDefault(info, consoleMode);
}
