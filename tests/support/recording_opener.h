// A recording `xdg-open` first on PATH: what the program hands to the system's open action is
// appended, one line each, to a file the test reads.
#pragma once
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "support/test_support.h"

class RecordingOpener {
public:
    RecordingOpener() {
        std::string bin = ScratchFolder("opener");
        record_ = bin + "opened.txt";
        WriteFileText(bin + "xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + record_ + "'\n");
        chmod((bin + "xdg-open").c_str(), 0755);
        std::string path = bin + ":" + (getenv("PATH") ? getenv("PATH") : "");
        setenv("PATH", path.c_str(), 1);
    }
    // The lines recorded so far, once they equal `expected` or after about two seconds (the opener
    // runs detached).
    std::string Opened(const std::string& expected) const {
        for (int i = 0; i < 100 && ReadFileText(record_) != expected; ++i) usleep(20000);
        return ReadFileText(record_);
    }
    void Clear() const { WriteFileText(record_, ""); }

private:
    std::string record_;
};
