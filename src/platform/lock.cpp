#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace {
// A descriptor holding the lock at `path`, kLockHeld, or kLockFailed with the reason in *error.
int LockFile(const std::string& path, std::string* error) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        *error = path + ": " + strerror(errno);
        return kLockFailed;
    }
    // The kernel drops an flock when its holder dies, so no stale lock survives a crash.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int reason = errno;
        close(fd);
        if (reason == EWOULDBLOCK) return kLockHeld;
        *error = path + ": " + strerror(reason);
        return kLockFailed;
    }
    return fd;
}
}  // namespace

int AcquireInstanceLock(const std::string& name, std::string* error) {
    std::string reasons;
    const char* runtime = getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime == '/') {
        int result = LockFile(std::string(runtime) + "/" + name + ".lock", &reasons);
        if (result != kLockFailed) return result;
        // A stale runtime folder (a session that is gone, a lock path taken by a folder) must not
        // look like a running copy: the per-user lock below still keeps two windows apart.
        reasons += "; ";
    }
    // /tmp is shared by every user: the user's id keeps another user's lock file from shutting
    // this user out, and a planted link is never followed.
    std::string reason;
    int result = LockFile("/tmp/" + name + "-" + std::to_string(getuid()) + ".lock", &reason);
    if (result == kLockFailed && error) *error = reasons + reason;
    return result;
}

void ReleaseInstanceLock(int handle) {
    if (handle < 0) return;
    flock(handle, LOCK_UN);
    close(handle);
}
