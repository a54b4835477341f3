#include "app/identity.h"
#include "app/settings.h"
#include "online/online.h"

UpdateVerdict JudgeUpdateAnswer(const std::string& answer) {
    int32_t version = ParseOptionInteger(answer);
    if (version == 0) return UpdateVerdict::ConnectionProblem;
    return version > kVersionNumber ? UpdateVerdict::NewVersion : UpdateVerdict::NoUpdate;
}

int UpdateIntervalDays(int32_t range) {
    static const int kDays[] = {1, 7, 30, 90, 180};
    if (range == 5) return -1;
    return range >= 0 && range < 5 ? kDays[range] : 30;
}

bool UpdateCheckIsDue(int32_t range, int64_t lastCheck, int64_t now) {
    int days = UpdateIntervalDays(range);
    // Dates count seconds in local time, so whole days of seconds are calendar days.
    return days >= 0 && now > lastCheck + int64_t{days} * 86400;
}
