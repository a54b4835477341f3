#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "app/module_file.h"
#include "app/window_face.h"

namespace {
bool ReadAt(int fd, uint64_t offset, void* buffer, size_t size) {
    char* to = static_cast<char*>(buffer);
    while (size > 0) {
        ssize_t n = pread(fd, to, size, static_cast<off_t>(offset));
        if (n <= 0) return false;
        to += n;
        offset += static_cast<uint64_t>(n);
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Reads only the ELF and section headers and the stamp: nothing of the module runs before it passes.
std::string CheckOpenModule(int fd, uint64_t fileSize, const std::string& expected, const std::string& notModule) {
    ElfW(Ehdr) header;
    if (fileSize < sizeof header || !ReadAt(fd, 0, &header, sizeof header) ||
        memcmp(header.e_ident, ELFMAG, SELFMAG) != 0)
        return notModule;
    if (header.e_ident[EI_CLASS] != (sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32) || header.e_type != ET_DYN ||
        header.e_shentsize != sizeof(ElfW(Shdr)) || header.e_shnum == 0 || header.e_shstrndx >= header.e_shnum)
        return notModule;
    // Section headers come last, so a file cut short anywhere loses them or a section's end.
    const uint64_t tableSize = uint64_t(header.e_shnum) * sizeof(ElfW(Shdr));
    if (header.e_shoff > fileSize || tableSize > fileSize - header.e_shoff) return "is truncated";
    std::vector<ElfW(Shdr)> sections(header.e_shnum);
    if (!ReadAt(fd, header.e_shoff, sections.data(), tableSize)) return "is truncated";
    for (const ElfW(Shdr)& section : sections)
        if (section.sh_type != SHT_NOBITS && (section.sh_offset > fileSize || section.sh_size > fileSize - section.sh_offset))
            return "is truncated";

    const ElfW(Shdr)& namesSection = sections[header.e_shstrndx];
    std::string names(namesSection.sh_size, '\0');
    if (!ReadAt(fd, namesSection.sh_offset, names.data(), names.size())) return "is truncated";
    for (const ElfW(Shdr)& section : sections) {
        if (section.sh_name >= names.size() || strcmp(names.c_str() + section.sh_name, KESTRIX_WINDOW_STAMP_SECTION) != 0)
            continue;
        if (section.sh_type == SHT_NOBITS || section.sh_size > 4096) return notModule;
        std::string stamp(section.sh_size, '\0');
        if (!ReadAt(fd, section.sh_offset, stamp.data(), stamp.size())) return "is truncated";
        stamp.resize(strnlen(stamp.c_str(), stamp.size()));
        return stamp == expected ? std::string() : "belongs to another build of this program";
    }
    return notModule;
}
}  // namespace

std::string CheckModuleFile(const std::string& path, const std::string& kind, const std::string& stamp) {
    const std::string notModule = "is not a " + kind + " module of this program";
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);  // a fifo is never waited on
    if (fd < 0) {
        if (errno == ENOENT) return "is missing";
        return std::string("cannot be read (") + strerror(errno) + ")";
    }
    struct stat st;
    std::string problem;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        problem = notModule;
    else
        problem = CheckOpenModule(fd, static_cast<uint64_t>(st.st_size), stamp, notModule);
    close(fd);
    return problem;
}

std::string CheckWindowModule(const std::string& path) { return CheckModuleFile(path, "window", WindowModuleStamp()); }
