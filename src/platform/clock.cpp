#include <chrono>
#include <ctime>
#include <mutex>
#include <random>

#include "platform/platform.h"

namespace {
const auto kStart = std::chrono::steady_clock::now();
std::mutex randomLock;
std::mt19937 randomEngine{std::random_device{}()};

int64_t LocalOffset(time_t t) {
    struct tm local;
    localtime_r(&t, &local);
    return local.tm_gmtoff;
}
}  // namespace

int64_t MillisecondsSinceStart() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - kStart).count();
}

int32_t SystemTimeToLocalDate(int64_t systemTime) {
    return static_cast<int32_t>(systemTime + LocalOffset(static_cast<time_t>(systemTime)));
}

int32_t NowLocalDate() { return SystemTimeToLocalDate(static_cast<int64_t>(time(nullptr))); }

int64_t LocalDateToSystemTime(int32_t localDate) {
    // Let mktime resolve the zone offset in force at that local moment.
    time_t asUtc = static_cast<time_t>(localDate);
    struct tm fields;
    gmtime_r(&asUtc, &fields);
    fields.tm_isdst = -1;
    return static_cast<int64_t>(mktime(&fields));
}

int RandomInt(int low, int high) {
    std::lock_guard<std::mutex> guard(randomLock);
    return std::uniform_int_distribution<int>(low, high)(randomEngine);
}
