// Reading theme archives (ZIP) with libarchive. No window code here.
#pragma once
#include <cstdint>
#include <map>
#include <string>

// Entry name (exact) to its listed uncompressed size, for entries whose size is above 0. Sizes come
// from the archive's central directory, so nothing is uncompressed. False when the file does not
// open as a ZIP archive.
bool ListArchiveEntries(const std::string& path, std::map<std::string, int64_t>* sizes);

// Uncompresses each wanted entry (name to the most bytes to keep) into `contents`; reading stops at
// that limit, whatever the data holds. An entry that fails to read is left out.
// False when the file does not open as a ZIP archive or its directory is damaged (as for the listing);
// the entries read before the damage are kept.
bool ReadArchiveEntries(const std::string& path, const std::map<std::string, size_t>& wanted,
                        std::map<std::string, std::string>* contents);
