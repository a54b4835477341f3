// Texts of the progress window that need no window: durations and shortened paths.
#pragma once
#include <cstdint>
#include <string>

// "hh:mm:ss", with "Nd:" in front from one day on; below one second (or negative) "00:00:00".
std::string FormatDuration(int64_t milliseconds);
// Keeps the first and last (budget - 3) / 2 characters around "..." when the text is longer than
// the budget; otherwise the text unchanged. Counts characters, never splitting a UTF-8 sequence.
std::string ShortenMiddle(const std::string& text, int budget);
