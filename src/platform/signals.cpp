// Console mode's signals: output that cannot be written and signals that end the process.
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>
#include <thread>

#include "platform/platform.h"

namespace {
sigset_t held;
std::atomic<StopCleanup> cleanup{nullptr};

[[noreturn]] void EndBySignal(int signal) {
    RestoreTerminal();
    if (StopCleanup run = cleanup.load()) run();
    // The usual end of the signal, so a calling shell sees it (status 130 for SIGINT, 143 for SIGTERM).
    ::signal(signal, SIG_DFL);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, signal);
    pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    raise(signal);
    _exit(128 + signal);
}

void WatchStopSignals() {
    for (;;) {
        int signal = 0;
        if (sigwait(&held, &signal) == 0) EndBySignal(signal);
    }
}
}  // namespace

void PrepareConsoleStreams() {
    // A closed pipe or a size limit makes the write fail instead of ending the process.
    signal(SIGPIPE, SIG_IGN);
    signal(SIGXFSZ, SIG_IGN);
    // A closed standard stream would hand its number to the next file opened, and status lines
    // would land in it. /dev/null takes its place, opened so that writes still fail as before.
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        int opened = open("/dev/null", fd == 0 ? O_WRONLY : O_RDONLY);
        if (opened >= 0 && opened != fd) {
            dup2(opened, fd);
            close(opened);
        }
    }
}

void HoldStopSignals() {
    static bool holding = false;
    if (holding) return;
    holding = true;
    sigemptyset(&held);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        struct sigaction current;
        // One the process was started ignoring (nohup, a background job) stays ignored.
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) sigaddset(&held, signal);
    }
    // Blocked here, before any other thread exists, so every later thread inherits the block and
    // only the watcher ever receives them.
    pthread_sigmask(SIG_BLOCK, &held, nullptr);
    try {
        std::thread(WatchStopSignals).detach();
    } catch (const std::system_error&) {
        pthread_sigmask(SIG_UNBLOCK, &held, nullptr);  // no watcher: the signals act as they always did
    }
}

void SetStopCleanup(StopCleanup run) { cleanup = run; }
