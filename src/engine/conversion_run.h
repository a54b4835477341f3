// The worker's progress record and thread procedure.
#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

struct ConversionRunRecord {
    std::mutex Lock;                 // guards the progress fields below
    std::atomic<bool> Running{false};  // also the stop request: clearing it stops the run before the next file
    std::atomic<bool> Ended{false};    // set by the worker as its last act; a starter that polls watches it
    int32_t CurrentIndex = 0;
    std::string CurrentFile;
    int64_t PreviousDuration = 0;    // milliseconds
    int32_t ConvertedCount = 0;
};

extern ConversionRunRecord ConversionRun;

// Before each run: index 0, no file, nothing converted, running on, not ended, pause gate open.
void ResetConversionRun();
int RunConversion();  // thread procedure; returns 0

// For a starter about to end the process (a signal): ends the run's disk writes for good. A DDS
// file being written is removed and no other is started; returns once none is left on disk.
void AbandonOutputWrites();

// The pause gate: while closed, no file starts or publishes its result.
void ClosePauseGate();
void OpenPauseGate();
void PassPauseGate();  // called by the worker
