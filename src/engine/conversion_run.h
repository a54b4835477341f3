// The worker's progress record and thread procedure.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

struct ConversionRunRecord {
    std::mutex Lock;                 // guards the progress fields below
    std::atomic<bool> Running{false};  // also the stop request: clearing it stops the run before the next file
    int32_t CurrentIndex = 0;
    std::string CurrentFile;
    int64_t PreviousDuration = 0;    // milliseconds
    int32_t ConvertedCount = 0;
};

extern ConversionRunRecord ConversionRun;

void ResetConversionRun();
int RunConversion();  // thread procedure; returns 0

// The pause gate: while closed, no file starts or publishes its result.
void ClosePauseGate();
void OpenPauseGate();
void PassPauseGate();  // called by the worker
