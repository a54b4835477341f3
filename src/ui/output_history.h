// The output folder history of [File] Recent Out Folders: tab-separated, most recent first.
#pragma once
#include <string>
#include <vector>

// [Advanced] Out Folders Number, at least 1 so the folder just chosen is always kept.
int OutputHistoryLimit();
// Entry `index` (from 0) with its blanks trimmed; "" beyond the stored entries.
std::string OutputHistoryEntry(int index);
// The entries the drop-down shows: positions 0 to limit - 1, empty ones left out.
std::vector<std::string> OutputHistoryEntries();
// Same folder: equal CRC-32 of the upper-cased UTF-8 texts, confirmed on the texts themselves so
// two folders that only share a checksum are never merged.
bool SameOutputFolder(const std::string& a, const std::string& b);
// Puts `folder` at the head, drops its earlier copy and keeps at most the limit; false for "".
bool PushOutputFolder(const std::string& folder);
