#include "support/test_support.h"

#include <gtest/gtest.h>
#include <FreeImage.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/settings.h"

std::string ScratchFolder(const std::string& name) {
    const char* home = getenv("QUARVEL_TEST_HOME");
    std::string folder = std::string(home ? home : "/tmp") + "/" + name + "/";
    std::string command = "rm -rf '" + folder + "' && mkdir -p '" + folder + "'";
    if (system(command.c_str()) != 0) return std::string();
    return folder;
}

std::string SharedTestData() {
    std::string path = std::string(QUARVEL_SOURCE_DIR) + "/../shared/testdata";
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? path : std::string();
}

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void WriteFileText(const std::string& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << data;
}

CommandResult RunCommand(const std::string& commandLine, const std::string& input) {
    CommandResult result;
    static std::atomic<int> next{0};
    std::string folder = ScratchFolder("command" + std::to_string(getpid()) + "-" + std::to_string(next++));
    std::string in = folder + "in", out = folder + "out", err = folder + "err";
    WriteFileText(in, input);
    std::string full = "( " + commandLine + " ) <'" + in + "' >'" + out + "' 2>'" + err + "'";
    int status = system(full.c_str());
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadFileText(out);
    result.err = ReadFileText(err);
    return result;
}

void StoreSetting(const char* group, const char* key, const std::string& value) {
    const SettingInfo* info = FindSetting(group, key);
    ASSERT_NE(info, nullptr) << group << " " << key;
    StoreSettingText(*info, value);
}

bool WriteTestBmp(const std::string& path, int width, int height) {
    FIBITMAP* image = FreeImage_Allocate(width, height, 24);
    if (!image) return false;
    for (int y = 0; y < height; ++y) {
        BYTE* line = FreeImage_GetScanLine(image, y);
        for (int x = 0; x < width; ++x) {
            line[3 * x + FI_RGBA_RED] = static_cast<BYTE>(x);
            line[3 * x + FI_RGBA_GREEN] = static_cast<BYTE>(y);
            line[3 * x + FI_RGBA_BLUE] = static_cast<BYTE>(x ^ y);
        }
    }
    const bool saved = FreeImage_Save(FIF_BMP, image, path.c_str(), BMP_DEFAULT) != 0;
    FreeImage_Unload(image);
    return saved;
}
