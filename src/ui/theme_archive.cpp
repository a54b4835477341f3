#include "ui/theme_archive.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>

namespace {
// The seekable reader takes names and sizes from the central directory, which also holds the true
// sizes of entries written with trailing data descriptors.
archive* OpenZip(const std::string& path) {
    archive* zip = archive_read_new();
    if (!zip) return nullptr;
    if (archive_read_support_format_zip_seekable(zip) != ARCHIVE_OK ||
        archive_read_open_filename(zip, path.c_str(), 16384) != ARCHIVE_OK) {
        archive_read_free(zip);
        return nullptr;
    }
    return zip;
}

bool ReadEntryData(archive* zip, size_t limit, std::string* data) {
    data->clear();
    char buffer[16384];
    while (data->size() < limit) {
        size_t want = std::min(sizeof buffer, limit - data->size());
        la_ssize_t got = archive_read_data(zip, buffer, want);
        if (got < 0) return false;
        if (got == 0) break;
        data->append(buffer, static_cast<size_t>(got));
    }
    return true;
}
}  // namespace

bool ListArchiveEntries(const std::string& path, std::map<std::string, int64_t>* sizes) {
    archive* zip = OpenZip(path);
    if (!zip) return false;
    sizes->clear();
    archive_entry* entry = nullptr;
    int status;
    while ((status = archive_read_next_header(zip, &entry)) == ARCHIVE_OK || status == ARCHIVE_WARN) {
        const char* name = archive_entry_pathname(entry);
        if (name && archive_entry_size_is_set(entry) && archive_entry_size(entry) > 0)
            (*sizes)[name] = archive_entry_size(entry);
    }
    archive_read_free(zip);
    // a damaged directory ends the listing with an error: then it is not a usable archive
    return status == ARCHIVE_EOF;
}

bool ReadArchiveEntries(const std::string& path, const std::map<std::string, size_t>& wanted,
                        std::map<std::string, std::string>* contents) {
    archive* zip = OpenZip(path);
    if (!zip) return false;
    archive_entry* entry = nullptr;
    int status;
    while ((status = archive_read_next_header(zip, &entry)) == ARCHIVE_OK || status == ARCHIVE_WARN) {
        const char* name = archive_entry_pathname(entry);
        auto found = name ? wanted.find(name) : wanted.end();
        if (found == wanted.end() || contents->count(found->first)) continue;
        std::string data;
        if (ReadEntryData(zip, found->second, &data)) (*contents)[found->first] = std::move(data);
    }
    archive_read_free(zip);
    return status == ARCHIVE_EOF;
}
