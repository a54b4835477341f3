#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "prefs/prefs_rules.h"

namespace {
constexpr int kGammaMin = 1;
constexpr int kGammaMax = 999;

// Rounded and clamped in floating point first, so huge, infinite or NaN values never reach an int.
int GammaPosition(double hundredths) {
    if (std::isnan(hundredths)) return kGammaMin;
    return static_cast<int>(std::clamp(std::round(hundredths), double{kGammaMin}, double{kGammaMax}));
}

// The leading decimal number of a text read as a double, so that "1.015" is 1.015 and not the float
// below it; 0 without one.
double LeadingDecimal(const std::string& text) {
    const size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return 0;
    const char* begin = text.data() + start;
    const char* end = text.data() + text.size();
    if (*begin == '+') ++begin;
    double value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error == std::errc::result_out_of_range) {
        const std::string_view number(begin, static_cast<size_t>(stop - begin));
        if (number.find("e-") != std::string_view::npos || number.find("E-") != std::string_view::npos) return 0;
        return number.front() == '-' ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    }
    return error == std::errc() ? value : 0;
}
}  // namespace

int SpinValueFromText(const std::string& text, int min, int max) {
    return std::clamp(ParseIntLikeAtoi(text), min, max);
}

int SliderValueForSpin(int spinValue, SpinScale scale) { return scale == SpinScale::Offset100 ? spinValue + 100 : spinValue; }

int SpinValueForSlider(int sliderValue, SpinScale scale) {
    return scale == SpinScale::Offset100 ? sliderValue - 100 : sliderValue;
}

int GammaPositionFromText(const std::string& text) { return GammaPosition(LeadingDecimal(text) * 100.0); }

int GammaPositionFromValue(float gamma) { return GammaPosition(static_cast<double>(gamma) * 100.0); }

std::string GammaText(int position) {
    std::string hundredths = std::to_string(position % 100);
    return std::to_string(position / 100) + "." + (hundredths.size() < 2 ? "0" : "") + hundredths;
}
