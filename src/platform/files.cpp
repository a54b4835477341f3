#include "platform/platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

int64_t FileSize(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return kFileMissing;
    if (S_ISDIR(st.st_mode)) return kFileIsFolder;
    if (!S_ISREG(st.st_mode)) return kFileIsOther;
    return static_cast<int64_t>(st.st_size);
}

bool IsFolder(const std::string& path) { return FileSize(path) == kFileIsFolder; }

bool DeleteFile(const std::string& path) {
    // On POSIX the write bit of the file does not guard its removal; the folder's does.
    return unlink(path.c_str()) == 0;
}

bool ReplaceFile(const std::string& from, const std::string& to) {
    struct stat st;
    if (lstat(to.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return false;
    return rename(from.c_str(), to.c_str()) == 0;
}

bool FileModifiedTime(const std::string& path, int64_t* secondsSince1970) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return false;
    *secondsSince1970 = static_cast<int64_t>(st.st_mtim.tv_sec);
    return true;
}

bool SetFileModifiedTime(const std::string& path, int64_t secondsSince1970) {
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(secondsSince1970);
    times[1].tv_nsec = 0;
    return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

bool ReadFileStart(const std::string& path, std::string* data, size_t limit) {
    data->clear();
    // O_NONBLOCK so a fifo never blocks the caller; regular files ignore it.
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    char buffer[65536];
    while (ok && data->size() < limit) {
        ssize_t n = read(fd, buffer, std::min(sizeof buffer, limit - data->size()));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        data->append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    if (!ok) data->clear();
    return ok;
}

bool ReadWholeFile(const std::string& path, std::string* data, size_t limit) {
    data->clear();
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    char buffer[65536];
    // One byte past the limit tells a file that fits from one that would have to be cut.
    while (ok) {
        ssize_t n = read(fd, buffer, std::min(sizeof buffer, limit + 1 - data->size()));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        data->append(buffer, static_cast<size_t>(n));
        ok = data->size() <= limit;
    }
    close(fd);
    if (!ok) data->clear();
    return ok;
}

bool WriteNewFile(const std::string& path, const std::string& data, const std::atomic<bool>* cancel) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    // In slices, so a cancel is noticed soon even on a slow disk.
    constexpr size_t kSlice = 1 << 20;
    bool ok = true;
    for (size_t done = 0; ok && done < data.size();) {
        if (cancel && *cancel) ok = false;
        ssize_t n = ok ? write(fd, data.data() + done, std::min(kSlice, data.size() - done)) : -1;
        if (n < 0 && ok && errno == EINTR) continue;
        if (n <= 0) ok = false;
        else done += static_cast<size_t>(n);
    }
    if (ok && fsync(fd) != 0) ok = false;
    if (close(fd) != 0) ok = false;
    if (ok && cancel && *cancel) ok = false;
    if (!ok) unlink(path.c_str());
    return ok;
}

bool WriteFileAtomically(const std::string& path, const std::string& data) {
    std::string temporary = path + ".tmp-" + std::to_string(getpid());
    // The replacement keeps the permissions the user gave the file it replaces; until they are
    // set it is private, so no one can open a file the user had closed to them.
    struct stat old;
    const bool replacing = stat(path.c_str(), &old) == 0;
    // Only a regular file is replaced: the rename would turn a fifo or a device node into a plain file.
    if (replacing && !S_ISREG(old.st_mode)) return false;
    unlink(temporary.c_str());  // a leftover of a crash would keep its own mode
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0644);
    if (fd < 0) return false;
    size_t done = 0;
    bool ok = !replacing || fchmod(fd, old.st_mode & 07777) == 0;
    while (ok && done < data.size()) {
        ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (ok && fsync(fd) != 0) ok = false;
    if (close(fd) != 0) ok = false;
    if (ok && rename(temporary.c_str(), path.c_str()) != 0) ok = false;
    if (!ok) unlink(temporary.c_str());
    return ok;
}
