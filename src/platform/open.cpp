#include <sys/wait.h>
#include <unistd.h>

#include "platform/platform.h"

void OpenDocument(const std::string& target) {
    // Double fork: the opener is reparented at once and never becomes our zombie.
    pid_t child = fork();
    if (child < 0) return;
    if (child == 0) {
        setsid();
        pid_t grandchild = fork();
        if (grandchild == 0) {
            char* argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(target.c_str()), nullptr};
            execvp("xdg-open", argv);
            _exit(127);
        }
        _exit(0);
    }
    int status;
    waitpid(child, &status, 0);
}
