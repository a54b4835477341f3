// The watermark's text: name tokens expanded, lines split, lines aligned in the box.
#include <cmath>
#include <cstddef>
#include <string_view>

#include "app/settings.h"
#include "engine/frame_watermark.h"
#include "engine/naming.h"

namespace {

bool MatchesAt(const std::string& text, size_t at, const std::string& part) {
    return at <= text.size() && EqualsIgnoringAsciiCase(std::string_view(text).substr(at, part.size()), part);
}

}  // namespace

std::string WatermarkText() {
    const std::string& source = Settings.Watermark.Text;
    size_t percents = 0;
    for (char c : source) percents += c == '%';
    if (percents < 2) return source;

    std::string text = source;
    // Marks the characters that came from a value: token text inside a value is never expanded.
    std::string fromValue(text.size(), '\0');
    for (const NameToken& token : NameTokens()) {
        const std::string name = token.text;
        if (FindIgnoringAsciiCase(source, name, 0) == std::string::npos) continue;
        const std::string value = token.value();
        for (size_t at = 0; at + name.size() <= text.size();) {
            if (MatchesAt(text, at, name) && fromValue.find('\1', at) >= at + name.size()) {
                text.replace(at, name.size(), value);
                fromValue.replace(at, name.size(), std::string(value.size(), '\1'));
                at += value.size();
            } else {
                ++at;
            }
        }
    }
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
