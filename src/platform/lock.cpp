#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/platform.h"

int AcquireInstanceLock(const std::string& name) {
    const char* runtime = getenv("XDG_RUNTIME_DIR");
    // /tmp is shared by every user: the user's id keeps another user's lock file from shutting
    // this user out, and a planted link is never followed.
    std::string path = (runtime && *runtime == '/') ? std::string(runtime) + "/" + name + ".lock"
                                                    : "/tmp/" + name + "-" + std::to_string(getuid()) + ".lock";
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return -1;
    // The kernel drops an flock when its holder dies, so no stale lock survives a crash.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

void ReleaseInstanceLock(int handle) {
    if (handle < 0) return;
    flock(handle, LOCK_UN);
    close(handle);
}
