// The watermark's text: name tokens expanded, lines split, lines aligned in the box.
#include <cmath>
#include <cstddef>
#include <string_view>

#include "app/settings.h"
#include "engine/frame_watermark.h"
#include "engine/naming.h"

std::string WatermarkText() {
    const std::string& source = Settings.Watermark.Text;
    size_t percents = 0;
    for (char c : source) percents += c == '%';
    if (percents < 2) return source;
    // Only the tokens written in the setting are expanded, but each of them everywhere, also
    // inside an earlier token's value, just as the output name does.
    std::string text = source;
    if (!ExpandNameTokens(&text, &source)) return source;
    return text;
}

std::vector<std::string> SplitWatermarkLines(const std::string& text) {
    static const std::string kEol = "%eol%";
    std::vector<std::string> lines;
    size_t start = 0, at = 0;
    while ((at = FindIgnoringAsciiCase(text, kEol, start)) != std::string::npos) {
        lines.push_back(text.substr(start, at - start));
        start = at + kEol.size();
    }
    lines.push_back(text.substr(start));
    return lines;
}

int AlignLine(int lineWidth, int boxWidth) {
    const int padding = Settings.Watermark.TextPadding;
    switch (Settings.Watermark.TextAlignment) {
        case 0:
            return padding;
        case 1:
            return static_cast<int>(std::floor(static_cast<float>(boxWidth - lineWidth) / 2.0f + 0.5f));
        case 2:
            return boxWidth - lineWidth - padding;
        default:
            return 0;
    }
}
