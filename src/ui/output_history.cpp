#include "ui/output_history.h"

#include <zlib.h>

#include <algorithm>

#include "app/settings.h"

namespace {
uLong TextCrc(const std::string& text) {
    return crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size()));
}

// The first `count` fields only, so a history of thousands of tabs costs nothing beyond them.
std::vector<std::string> LeadingEntries(int count) {
    std::vector<std::string> entries;
    const std::string& history = Settings.File.RecentOutFolders;
    size_t start = 0;
    while (static_cast<int>(entries.size()) < count && start <= history.size()) {
        size_t tab = history.find('\t', start);
        if (tab == std::string::npos) tab = history.size();
        entries.push_back(TrimBlanks(history.substr(start, tab - start), " "));
        start = tab + 1;
    }
    entries.resize(count);
    return entries;
}
}  // namespace

int OutputHistoryLimit() { return std::max<int>(1, Settings.Advanced.OutFoldersNumber); }

std::string OutputHistoryEntry(int index) {
    if (index < 0) return "";
    return LeadingEntries(index + 1)[index];
}

std::vector<std::string> OutputHistoryEntries() {
    std::vector<std::string> shown;
    for (std::string& entry : LeadingEntries(OutputHistoryLimit()))
        if (!entry.empty()) shown.push_back(std::move(entry));
    return shown;
}

bool SameOutputFolder(const std::string& a, const std::string& b) {
    std::string upperA = UpperAscii(a);
    std::string upperB = UpperAscii(b);
    return TextCrc(upperA) == TextCrc(upperB) && upperA == upperB;
}

bool PushOutputFolder(const std::string& folder) {
    if (folder.empty()) return false;
    int limit = OutputHistoryLimit();
    std::string history = folder;
    int kept = 1;
    for (const std::string& entry : LeadingEntries(limit)) {
        if (entry.empty() || kept > limit - 1 || SameOutputFolder(entry, folder)) continue;
        history += "\t" + entry;
        ++kept;
    }
    Settings.File.RecentOutFolders = history;
    return true;
}
