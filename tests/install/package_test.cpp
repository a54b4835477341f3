// The Debian package as CPack makes it from the build folder: its control data, its files and their
// modes, and what lintian says of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/test_support.h"

namespace {
std::string Quoted(const std::string& text) { return "'" + text + "'"; }

class DebianPackage : public testing::Test {
protected:
    static std::string deb_;
    static std::string failure_;

    static void SetUpTestSuite() {
        std::string out = ScratchFolder("package");
        CommandResult made = RunCommand("cd " + Quoted(out) + " && cpack -G DEB --config " +
                                        Quoted(FolderPart(QUARVEL_KESTRIX) + "CPackConfig.cmake"));
        deb_ = RunCommand("ls " + Quoted(out) + "quarvel_*.deb").out;
        if (!deb_.empty() && deb_.back() == '\n') deb_.pop_back();
        if (made.exitStatus != 0 || deb_.empty()) failure_ = made.out + made.err;
    }

    void SetUp() override {
#if defined(__SANITIZE_ADDRESS__)
        GTEST_SKIP() << "the package is made from the plain build";
#endif
        ASSERT_EQ(failure_, "");
        ASSERT_NE(deb_.find("/quarvel_2.9_amd64.deb"), std::string::npos) << deb_;
    }
};
std::string DebianPackage::deb_, DebianPackage::failure_;

TEST_F(DebianPackage, ControlNamesThePackageItsVersionAndTheLibrariesItNeeds) {
    CommandResult info = RunCommand("dpkg-deb --info " + Quoted(deb_));
    ASSERT_EQ(info.exitStatus, 0) << info.err;
    for (const char* line : {"\n Package: quarvel\n", "\n Version: 2.9\n", "\n Architecture: amd64\n",
                             "\n Section: graphics\n",
                             "\n Description: Convert BMP images into DDS textures with full mipmaps\n"})
        EXPECT_NE(info.out.find(line), std::string::npos) << line << info.out;
    // Dependencies come from the libraries the program links, not from a list of ours.
    size_t depends = info.out.find("\n Depends: ");
    ASSERT_NE(depends, std::string::npos) << info.out;
    std::string list = info.out.substr(depends, info.out.find('\n', depends + 1) - depends);
    for (const char* library : {"libfreeimage3", "libdevil1c2", "libwxgtk3.2", "libcairo2", "libarchive13", "libc6"})
        EXPECT_NE(list.find(library), std::string::npos) << library << list;
    // A long description below the summary.
    EXPECT_NE(info.out.find("  Quarvel turns a BMP image"), std::string::npos) << info.out;
}

TEST_F(DebianPackage, FilesHaveSaneModesAndOwners) {
    CommandResult contents = RunCommand("dpkg-deb --contents " + Quoted(deb_));
    ASSERT_EQ(contents.exitStatus, 0) << contents.err;
    std::istringstream lines(contents.out);
    std::string line;
    std::vector<std::string> paths;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string mode, owner, size, date, time, path;
        fields >> mode >> owner >> size >> date >> time >> path;
        paths.push_back(path);
        SCOPED_TRACE(line);
        EXPECT_EQ(owner, "root/root");
        if (mode[0] == 'l') continue;  // a link's own mode means nothing
        EXPECT_NE(mode[8], 'w') << "world-writable";
        if (mode[0] == 'd' || path == "./usr/lib/quarvel/kestrix")
            EXPECT_EQ(mode.substr(1), "rwxr-xr-x");
        else
            EXPECT_EQ(mode.substr(1), "rw-r--r--");
    }
    const std::string id = "example.marrowfen.kestrix";
    std::vector<std::string> expected = {"./usr/bin/kestrix",
                                         "./usr/lib/quarvel/kestrix",
                                         "./usr/lib/quarvel/kestrix-window.so",
                                         "./usr/lib/quarvel/kestrix-drawing.so",
                                         "./usr/lib/quarvel/kestrix.html",
                                         "./usr/lib/quarvel/gfx/handdrawn.zip",
                                         "./usr/share/man/man1/kestrix.1.gz",
                                         "./usr/share/applications/" + id + ".desktop",
                                         "./usr/share/metainfo/" + id + ".metainfo.xml",
                                         "./usr/share/doc/quarvel/copyright",
                                         "./usr/share/doc/quarvel/changelog.gz"};
    for (const char* size : {"16", "32", "48", "64", "128", "256"})
        expected.push_back("./usr/share/icons/hicolor/" + std::string(size) + "x" + size + "/apps/" + id + ".png");
    for (const std::string& path : expected)
        EXPECT_NE(std::find(paths.begin(), paths.end(), path), paths.end()) << path << "\n" << contents.out;
    EXPECT_NE(contents.out.find("./usr/bin/kestrix -> ../lib/quarvel/kestrix\n"), std::string::npos) << contents.out;
}

// lintian's errors must be none; its warnings are shown in the log.
TEST_F(DebianPackage, LintianFindsNoError) {
    if (RunCommand("command -v lintian").exitStatus != 0) FAIL() << "lintian is missing: scripts/install-deps";
    CommandResult lint = RunCommand("lintian --allow-root --tag-display-limit 0 " + Quoted(deb_));
    std::cout << lint.out << lint.err;
    std::istringstream lines(lint.out);
    std::string line;
    while (std::getline(lines, line)) EXPECT_NE(line.rfind("E: ", 0), 0u) << line;
    EXPECT_EQ(lint.err, "");
}
}  // namespace
