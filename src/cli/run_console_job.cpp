#include <cstdio>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "app/job.h"
#include "app/settings.h"
#include "cli/console.h"
#include "cli/console_job.h"
#include "cli/keywords.h"
#include "engine/conversion_run.h"
#include "engine/watermark_font.h"
#include "platform/platform.h"
#include "ui/texts.h"

namespace {
bool Debugging() { return Job.RunModeText == "DEBUG"; }

void Debug(const std::string& label, const std::string& value) {
    if (Debugging()) ConsoleLine(label + value);
}
void Debug(const std::string& label, int value) { Debug(label, std::to_string(value)); }
void DebugWord(const std::string& label, int list, int code) {
    Debug(label, CodeToKeyword(list, code, Job.OutputFormat));
}

void Status(bool quiet, const std::string& group, const std::string& key, const std::string& s1 = "",
            const std::string& s2 = "") {
    if (!quiet) ConsoleLine(FillPlaceholders(GetUiText(group, key), s1, s2));
}

bool IsAbsoluteFolder(const std::string& folder) { return !folder.empty() && folder[0] == '/'; }

// Input file and output folder: returns the error line, or "".
std::string CheckFiles() {
    Debug("Input: ", Job.InputFolder);
    if (ExtensionPart(Job.InputFolder).empty()) {
        Job.InputFolder.clear();
        return "Error: Invalid input file";
    }
    Job.InputPath = Job.InputFolder;
    Job.InputFolder.clear();
    // FileSize only stats, so a fifo or a device is refused without ever being opened.
    if (FileSize(Job.InputPath) <= 0) return "Error: Invalid input file";

    if (Job.OutputFolder.empty()) Job.OutputFolder = FolderPart(Job.InputPath);
    Debug("Output: ", Job.OutputFolder);
    if (Job.OutputFolder.rfind("..", 0) == 0) return "Error: Incorrect output folder";
    if (!IsAbsoluteFolder(Job.OutputFolder)) {
        if (Job.OutputFolder.rfind("./", 0) == 0) Job.OutputFolder.erase(0, 2);
        Job.OutputFolder = Job.ProgramFolder + Job.OutputFolder;
    }
    if (Job.OutputFolder.empty() || Job.OutputFolder.back() != '/') Job.OutputFolder += '/';
    if (!IsFolder(Job.OutputFolder)) return "Error: Invalid output folder";
    return std::string();
}

std::string CheckFormats() {
    if (Job.InputFormat.empty() && !OfferedInputFormats.empty()) Job.InputFormat = OfferedInputFormats.front();
    if (Job.OutputFormat.empty() && !OfferedOutputFormats.empty()) Job.OutputFormat = OfferedOutputFormats.front();
    Debug("Conversion: ", Job.OutputFormat);
    if (!IsOutputFormat(Job.OutputFormat)) return "Error: Invalid conversion type";
    PrintInputFormatLines(Job.InputFormat, Debugging());
    int bitDepth = 0;
    std::string error = CheckOutputFormatSettings(Job.OutputFormat, Debugging(), &bitDepth);
    if (!error.empty()) return error;
    Job.OutputBitDepth = bitDepth;
    Job.AutomaticDepth = bitDepth == 0;
    return std::string();
}

std::string CheckTransforms() {
    const auto& t = Settings.Transform;
    if (t.DoImageRotation) {
        DebugWord("Image Rotation Type: ", 9, t.ImageRotationType);
        Debug("Image Rotation: ", t.ImageRotation);
        Debug("Image Rotation Back Color: ", t.ImageRotationBackColor);
    }
    if (t.DoImageResize) {
        Debug("Width: ", std::to_string(t.ImageWidth) + " " + CodeToKeyword(10, t.ImageWidthUnit, Job.OutputFormat));
        if (t.ImageWidth == 0) return "Error: Invalid width value";
        Debug("Height: ",
              std::to_string(t.ImageHeight) + " " + CodeToKeyword(10, t.ImageHeightUnit, Job.OutputFormat));
        if (t.ImageHeight == 0) return "Error: Invalid height value";
        Debug("Keep Aspect Ratio: ", t.KeepAspectRatio);
        DebugWord("Image Resize Type: ", 11, t.ImageResizeType);
        DebugWord("Image Resize Algorithm: ", 12, t.ImageResizeAlgorithm);
    }
    Debug("Flip Horizontal: ", t.DoImageFlipHorizontal);
    Debug("Flip Vertical: ", t.DoImageFlipVertical);
    return std::string();
}

std::string CheckAdjustments() {
    const auto& a = Settings.Adjustment;
    if (a.DoImageColorCorrection) {
        Debug("Brightness: ", a.ImageBrightness);
        if (a.ImageBrightness < -100 || a.ImageBrightness > 100) return "Error: Invalid brightness value";
        Debug("Contrast: ", a.ImageContrast);
        if (a.ImageContrast < -100 || a.ImageContrast > 100) return "Error: Invalid contrast value";
        char gamma[64];
        snprintf(gamma, sizeof gamma, "%.2f", static_cast<double>(a.ImageGamma));
        Debug("Gamma: ", gamma);
        // Written so that not-a-number fails too.
        if (!(a.ImageGamma >= 0.01f && a.ImageGamma <= 9.99f)) return "Error: Invalid gamma value";
        Debug("Invert: ", a.ImageInvert);
    }
    Debug("Greyscale: ", a.DoImageGreyscale);
    if (a.DoImageThreshold) Debug("Image Threshold: ", a.ImageThreshold);
    if (a.DoImageDither) DebugWord("Image Dithering Algorithm: ", 13, a.ImageDitherAlgorithm);
    return std::string();
}

std::string CheckFrame() {
    const auto& f = Settings.Frame;
    DebugWord("Frame: ", 14, f.DoFrame);
    if (f.DoFrame == 1) {
        Debug("Frame left: ", f.SolidLeft);
        Debug("Frame right: ", f.SolidRight);
        Debug("Frame top: ", f.SolidTop);
        Debug("Frame bottom: ", f.SolidBottom);
        Debug("Frame left color: ", f.SolidLeftColor);
        Debug("Frame right color: ", f.SolidRightColor);
        Debug("Frame top color: ", f.SolidTopColor);
        Debug("Frame bottom color: ", f.SolidBottomColor);
        Debug("Frame opacity: ", f.SolidOpacity);
    }
    return std::string();
}

std::string CheckWatermark() {
    const auto& w = Settings.Watermark;
    DebugWord("Watermark: ", 15, w.DoWatermark);
    if (w.DoWatermark == 1) {
        Debug("Watermark text: ", w.Text);
        Debug("Watermark font: ", w.Font);
        Debug("Watermark font size: ", w.FontSize);
        Debug("Watermark font leading: ", w.FontLeading);
        Debug("Watermark font color: ", w.FontColor);
        DebugWord("Watermark font style: ", 16, w.FontStyle);
        DebugWord("Watermark font effect: ", 17, w.FontEffect);
        Debug("Watermark text antialiasing: ", w.TextAntialiasing);
        DebugWord("Watermark text alignment: ", 18, w.TextAlignment);
        Debug("Watermark text padding: ", w.TextPadding);
        Debug("Watermark text opacity: ", w.TextOpacity);
        Debug("Watermark background color: ", w.BackColor);
        Debug("Watermark background opacity: ", w.BackOpacity);
        DebugWord("Watermark boundary: ", 19, w.TextBoundary);
        DebugWord("Watermark position: ", 20, w.TextPosition);
        Debug("Watermark offset (x/y): ", std::to_string(w.TextXOffset) + "/" + std::to_string(w.TextYOffset));
        Debug("Watermark rotation: ", w.TextRotation);
        DebugWord("Watermark size/mode: ", 21, w.TextSize);
        bool bold = w.FontStyle == 1 || w.FontStyle == 3;
        bool italic = w.FontStyle == 2 || w.FontStyle == 3;
        if (!LoadWatermarkFont(w.Font, w.FontSize, bold, italic, w.FontEffect == 1, w.FontEffect == 2))
            return "Error: Invalid watermark font";
    } else if (w.DoWatermark == 2) {
        Debug("Watermark image: ", w.Image);
        Debug("Watermark greyscale: ", w.ImageGreyscale);
        Debug("Watermark opacity: ", w.ImageOpacity);
        DebugWord("Watermark boundary: ", 19, w.ImageBoundary);
        DebugWord("Watermark position: ", 20, w.ImagePosition);
        Debug("Watermark offset (x/y): ", std::to_string(w.ImageXOffset) + "/" + std::to_string(w.ImageYOffset));
        Debug("Watermark rotation: ", w.ImageRotation);
        DebugWord("Watermark size/mode: ", 21, w.ImageSize);
        if (FileSize(w.Image) <= 0) return "Error: Invalid watermark image";
    }
    return std::string();
}

std::string CheckNaming() {
    const auto& n = Settings.Advanced;
    Debug("Filename Mask: ", n.FilenameMask);
    DebugWord("File Timestamp: ", 22, n.FileTimestamp);
    if (n.FileTimestamp == 2) Debug("Custom Timestamp: ", n.CustomTimestamp);
    Debug("Keep Subfolders: ", n.KeepSubfolders);
    return std::string();
}

// Starts the worker on its own thread and waits for it; returns the converted count.
int ConvertInputList() {
    // A signal ends the process; the DDS being written must not outlive it.
    SetStopCleanup(AbandonOutputWrites);
    ResetConversionRun();  // also sets the running flag
    try {
        std::thread worker(RunConversion);
        worker.join();
    } catch (const std::system_error&) {
        // No thread could be started: nothing was converted, which the caller reports.
    }
    ConversionRun.Running = false;
    std::lock_guard<std::mutex> hold(ConversionRun.Lock);
    return ConversionRun.ConvertedCount;
}

int ImportAndConvert(bool quiet) {
    Status(quiet, "General", "Importing");
    const std::string extension = LowerAscii(ExtensionPart(Job.InputPath));
    int imported = 0;
    if (extension != "txt" && extension != "lst") imported = AddInputFile(Job.InputPath) ? 1 : 0;
    Status(quiet, "Msg", "Import complete", std::to_string(imported));
    if (imported == 0) {
        ConsoleLine(GetUiText("Msg", "Conversion is not complete"));
        ConsoleLine(GetUiText("Msg", "Empty input files"));
        return kExitFailure;
    }
    Status(quiet, "General", "Converting");
    int converted = ConvertInputList();
    if (converted == 0) {
        ConsoleLine(GetUiText("Msg", "Conversion is not complete"));
        return kExitFailure;
    }
    Status(quiet, "Msg", "Conversion complete");
    Status(quiet, "Msg", "Files converted", std::to_string(converted), std::to_string(imported));
    return kExitSuccess;
}

int ValidateAndRun(bool quiet) {
    Status(quiet, "General", "Preparing");
    using Check = std::string (*)();
    for (Check check : {CheckFiles, CheckFormats, CheckTransforms, CheckAdjustments, CheckFrame, CheckWatermark,
                        CheckNaming}) {
        std::string error = check();
        if (!error.empty()) {
            ConsoleErrorLine(error);
            return kExitFailure;
        }
    }
    return ImportAndConvert(quiet);
}
}  // namespace

int RunConsoleJob(bool quiet) {
    int status = ValidateAndRun(quiet);
    // The font is only needed while the worker draws; release it on every way out.
    FreeWatermarkFont();
    return status;
}
