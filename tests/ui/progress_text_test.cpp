#include "ui/progress_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {
TEST(FormatDurationTest, SplitsIntoDaysHoursMinutesSeconds) {
    const struct {
        int64_t milliseconds;
        const char* text;
    } cases[] = {
        {-5000, "00:00:00"},
        {0, "00:00:00"},
        {999, "00:00:00"},
        {1000, "00:00:01"},
        {59999, "00:00:59"},
        {61000, "00:01:01"},
        {3599999, "00:59:59"},
        {3600000, "01:00:00"},
        {86399999, "23:59:59"},
        {86400000, "1d:00:00:00"},
        {90061000, "1d:01:01:01"},
        {int64_t{100} * 86400000 + 5000, "100d:00:00:05"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDuration(c.milliseconds), c.text) << c.milliseconds;
}

TEST(ShortenMiddleTest, KeepsBothEndsAroundThreeDots) {
    const std::string fifty = "/home/someone/pictures/holiday/2019/beach-0001.bmp";
    ASSERT_EQ(fifty.size(), 50u);
    const struct {
        std::string text;
        int budget;
        std::string result;
    } cases[] = {
        {fifty, 40, fifty.substr(0, 18) + "..." + fifty.substr(32)},
        {fifty, 50, fifty},
        {fifty, 49, fifty.substr(0, 23) + "..." + fifty.substr(27)},
        {fifty, 3, "..."},
        {fifty, 0, "..."},
        {"", 0, ""},
        {"short", 40, "short"},
    };
    for (const auto& c : cases) EXPECT_EQ(ShortenMiddle(c.text, c.budget), c.result) << c.text << " / " << c.budget;
}

TEST(ShortenMiddleTest, CountsCharactersNotBytes) {
    // Ten two-byte letters: a byte count would shorten a text that fits, and a byte cut would split a letter.
    const std::string letters = "äöüßéèêàçñ";
    EXPECT_EQ(ShortenMiddle(letters, 10), letters);
    EXPECT_EQ(ShortenMiddle(letters, 7), "äö...çñ");
}
}  // namespace
