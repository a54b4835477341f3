#include "app/job.h"
#include "app/settings.h"
#include "engine/conversion_run.h"
#include "engine/pipeline.h"
#include "engine/signatures.h"
#include "platform/platform.h"

ConversionRunRecord ConversionRun;

namespace {
constexpr int64_t kShortestDuration = 1000;

void ApplyFileTimestamp() {
    int64_t when = 0;
    switch (Settings.Advanced.FileTimestamp) {
        case 1:
            // Copied as system time: a detour through local time would shift it by an hour
            // when it falls in the repeated hour at the end of summer time.
            if (!FileModifiedTime(Job.InputPath, &when)) return;
            break;
        case 2:
            when = LocalDateToSystemTime(Settings.Advanced.CustomTimestamp);
            break;
        default:
            return;
    }
    SetFileModifiedTime(Job.OutputPath, when);  // failures stay silent
}
}  // namespace

void ResetConversionRun() {
    {
        std::lock_guard<std::mutex> guard(ConversionRun.Lock);
        ConversionRun.CurrentIndex = 0;
        ConversionRun.CurrentFile.clear();
        ConversionRun.PreviousDuration = 0;
        ConversionRun.ConvertedCount = 0;
    }
    ConversionRun.Ended = false;
    ConversionRun.Running = true;
    OpenPauseGate();
}

int RunConversion() {
    const bool printing = Job.ConsoleMode && Job.RunModeText == "DEBUG";
    int32_t index = 0;
    int32_t converted = 0;
    int64_t previousDuration = 0;
    for (auto entry = InputList.begin();; ++entry) {
        PassPauseGate();
        if (!ConversionRun.Running || entry == InputList.end()) break;
        Job.InputPath = entry->first;
        Job.RelativeSubfolder = entry->second;
        {
            std::lock_guard<std::mutex> guard(ConversionRun.Lock);
            ConversionRun.CurrentIndex = ++index;
            ConversionRun.CurrentFile = Job.InputPath;
            ConversionRun.PreviousDuration = previousDuration;
        }
        if (printing) {
            ConsoleLine("Processing: " + Job.InputPath);
            ConsoleLine("File Format: " + DetectFileType(Job.InputPath));
        }
        const int64_t started = MillisecondsSinceStart();
        const bool succeeded = ConvertCurrentFile();
        // Measured before the gate: time spent on a break question is not conversion time.
        const int64_t elapsed = MillisecondsSinceStart() - started;
        PassPauseGate();
        if (!succeeded) {
            previousDuration = 0;
            if (printing) ConsoleLine("[ERROR] Unable to convert the file!");
            continue;
        }
        if (printing) ConsoleLine("[OK] Saving As: " + Job.OutputPath);
        previousDuration = elapsed >= kShortestDuration ? elapsed : kShortestDuration;
        Job.RandomNumber = RandomInt(1, 99999);
        ++Job.NameCounter;
        ApplyFileTimestamp();
        ++converted;
    }
    {
        std::lock_guard<std::mutex> guard(ConversionRun.Lock);
        ConversionRun.ConvertedCount = converted;
    }
    ConversionRun.Ended = true;
    return 0;
}
