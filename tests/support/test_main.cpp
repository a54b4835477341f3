// Every test program gets its own HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR, so tests never
// touch the user's settings or each other's locks.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    char pattern[] = "/tmp/quarvel-test-XXXXXX";
    const char* home = mkdtemp(pattern);
    if (home) {
        std::string base = home;
        setenv("HOME", base.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (base + "/config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", base.c_str(), 1);
        setenv("QUARVEL_TEST_HOME", base.c_str(), 1);
    }
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    if (home) {
        std::error_code ignored;  // a leftover temporary folder must not change the verdict
        std::filesystem::remove_all(home, ignored);
    }
    return result;
}
