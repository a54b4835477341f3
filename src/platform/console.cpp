#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "platform/platform.h"

void ConsoleLine(const std::string& line) {
    fwrite(line.data(), 1, line.size(), stdout);
    fputc('\n', stdout);
    fflush(stdout);
}

void ConsoleErrorLine(const std::string& line) {
    fflush(stdout);  // keep the two streams in the order they were written
    fwrite(line.data(), 1, line.size(), stderr);
    fputc('\n', stderr);
    fflush(stderr);
}

bool ConsoleIsTerminal() { return isatty(STDOUT_FILENO) == 1; }

void SetConsoleTitle(const std::string& title) {
    if (!ConsoleIsTerminal()) return;
    printf("\033]0;%s\007", title.c_str());
    fflush(stdout);
}

namespace {
struct termios savedTerminal;
std::atomic<bool> terminalChanged{false};

// True once the bytes read hold a whole key: one character (UTF-8 included), an escape sequence
// (CSI "ESC [ ... final", SS3 "ESC O x", the Linux console's "ESC [ [ x"), or Alt with a key.
bool IsWholeKey(const std::string& keys) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(keys[i]); };
    if (keys.empty()) return false;
    if (byte(0) != 0x1B) {
        size_t length = byte(0) >= 0xF0 ? 4 : byte(0) >= 0xE0 ? 3 : byte(0) >= 0xC0 ? 2 : 1;
        return keys.size() >= length;
    }
    if (keys.size() == 1) return false;
    if (byte(1) == 0x1B) return IsWholeKey(keys.substr(1));  // Alt with an arrow on some terminals
    if (keys[1] == 'O') return keys.size() >= 3;
    if (keys[1] != '[') return IsWholeKey(keys.substr(1));
    if (keys.size() >= 3 && keys[2] == '[') return keys.size() >= 4;
    for (size_t i = 2; i < keys.size(); ++i)
        if (byte(i) >= 0x40 && byte(i) <= 0x7E) return true;
    return false;
}
}  // namespace

void RestoreTerminal() {
    if (terminalChanged.exchange(false)) tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
}

void WaitForKey() {
    if (isatty(STDIN_FILENO) != 1) return;
    struct termios raw;
    if (tcgetattr(STDIN_FILENO, &raw) != 0) return;
    savedTerminal = raw;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    terminalChanged = true;  // before the change, so a signal in between still restores it
    if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) != 0) {
        terminalChanged = false;
        return;
    }
    // The whole key is taken, or the rest of an arrow's sequence would reach the shell. A lone
    // Escape is told from a sequence by the pause after it.
    std::string keys;
    char buffer[64];
    for (;;) {
        ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        keys.append(buffer, static_cast<size_t>(n));
        if (IsWholeKey(keys) || keys.size() > 256) break;
        struct pollfd more = {STDIN_FILENO, POLLIN, 0};
        if (poll(&more, 1, 100) <= 0) break;
    }
    RestoreTerminal();
}
