#include <algorithm>
#include <string>

#include "app/job.h"
#include "app/settings.h"
#include "engine/watermark_font.h"
#include "platform/platform.h"
#include "ui/catalogues.h"
#include "ui/output_history.h"
#include "ui/texts.h"
#include "ui/window/main_window.h"
#include "ui/window/message_boxes.h"
#include "ui/window/window_conversion.h"

namespace {
// A missing file passes here and fails in the worker, where the run reports it as not converted.
bool IsAcceptedInput(const std::string& path) {
    if (FileSize(path) == 0) return false;
    const std::string extension = ExtensionPart(path);
    return std::any_of(AcceptedInputExtensions.begin(), AcceptedInputExtensions.end(),
                       [&](const std::string& accepted) { return EqualsIgnoringAsciiCase(accepted, extension); });
}

// An index beyond the offered formats (nothing selected) falls back to the first one.
std::string SelectedOutputFormat() {
    const int index = SelectedOutputFormatData();
    if (index >= 0 && index < static_cast<int>(OfferedOutputFormats.size())) return OfferedOutputFormats[index];
    return OfferedOutputFormats.empty() ? std::string() : OfferedOutputFormats.front();
}

// Each output format has its own "<FORMAT> BPP" setting in [Output].
int OutputDepthSetting(const std::string& format) {
    const SettingInfo* info = FindSetting("Output", format + " BPP");
    if (!info || info->type != SettingType::Int32) return 0;
    return *static_cast<const int32_t*>(info->field);
}

void RefuseJob(const std::string& message) {
    SetStatusLine(GetUiText("Msg", "Conversion is not complete"));
    ShowWarning(message);
}

// Checks in their fixed order; false at the first failure, after telling the user.
bool CheckWindowJob() {
    const auto& transform = Settings.Transform;
    const auto& watermark = Settings.Watermark;
    if (InputList.empty()) {
        RefuseJob(GetUiText("Msg", "Empty input files"));
        return false;
    }
    if (Job.OutputFolder.empty()) {
        RefuseJob(GetUiText("Msg", "Empty output folder"));
        return false;
    }
    if (Job.OutputFolder.back() != '/') Job.OutputFolder += '/';
    if (!IsFolder(Job.OutputFolder)) {
        RefuseJob(FillPlaceholders(GetUiText("Msg", "Invalid output folder"), Job.OutputFolder));
        return false;
    }
    if (transform.DoImageResize && transform.ImageWidth == 0) {
        RefuseJob(GetUiText("Msg", "Invalid width"));
        return false;
    }
    if (transform.DoImageResize && transform.ImageHeight == 0) {
        RefuseJob(GetUiText("Msg", "Invalid height"));
        return false;
    }
    // The watermark checks leave the status bar at "Preparing...".
    if (watermark.DoWatermark == 1) {
        const bool bold = watermark.FontStyle == 1 || watermark.FontStyle == 3;
        const bool italic = watermark.FontStyle == 2 || watermark.FontStyle == 3;
        if (!LoadWatermarkFont(watermark.Font, watermark.FontSize, bold, italic, watermark.FontEffect == 1,
                               watermark.FontEffect == 2)) {
            ShowWarning(FillPlaceholders(GetUiText("Msg", "Invalid watermark font"), watermark.Font));
            return false;
        }
    } else if (watermark.DoWatermark == 2) {
        if (watermark.Image.empty()) {
            ShowWarning(GetUiText("Msg", "Empty watermark image"));
            return false;
        }
        if (FileSize(watermark.Image) <= 0) {
            ShowWarning(FillPlaceholders(GetUiText("Msg", "Invalid watermark image"), watermark.Image));
            return false;
        }
    }
    return true;
}
}  // namespace

void StartWindowConversion() {
    Job.InputPath = TrimBlanks(InputFieldText());
    InputList.clear();
    if (IsAcceptedInput(Job.InputPath)) InputList[Job.InputPath] = "";
    Job.OutputFolder = TrimBlanks(OutputFolderText());
    Job.OutputFormat = SelectedOutputFormat();
    SetStatusLine(GetUiText("General", "Preparing"));
    if (CheckWindowJob()) {
        Job.OutputBitDepth = OutputDepthSetting(Job.OutputFormat);
        Job.AutomaticDepth = Job.OutputBitDepth == 0;
        if (PushOutputFolder(Job.OutputFolder)) RefillOutputFolderCombo();
        SetStatusLine(GetUiText("General", "Converting"));
        RunProgressWindow();
    }
    // Loaded only for a text watermark; freeing is harmless when it was not loaded.
    FreeWatermarkFont();
}
