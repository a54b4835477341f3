#include <termios.h>
#include <unistd.h>

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

void WaitForKey() {
    if (isatty(STDIN_FILENO) != 1) return;
    struct termios saved;
    if (tcgetattr(STDIN_FILENO, &saved) != 0) return;
    struct termios raw = saved;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    char key;
    ssize_t ignored = read(STDIN_FILENO, &key, 1);
    (void)ignored;
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}
