#include <condition_variable>
#include <mutex>

#include "engine/conversion_run.h"

namespace {
std::mutex gateLock;
std::condition_variable gateOpened;
bool gateClosed = false;
}  // namespace

void ClosePauseGate() {
    std::lock_guard<std::mutex> guard(gateLock);
    gateClosed = true;
}

void OpenPauseGate() {
    {
        std::lock_guard<std::mutex> guard(gateLock);
        gateClosed = false;
    }
    gateOpened.notify_all();
}

void PassPauseGate() {
    std::unique_lock<std::mutex> guard(gateLock);
    gateOpened.wait(guard, [] { return !gateClosed; });
}
