#include "ui/output_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings.h"

namespace {
void StartHistory(int limit, const std::string& history) {
    Settings.Advanced.OutFoldersNumber = static_cast<int8_t>(limit);
    Settings.File.RecentOutFolders = history;
}
}  // namespace

TEST(OutputHistory, PushRewritesTheHistory) {
    struct Case {
        const char* name;
        int limit;
        const char* before;
        const char* pushed;
        const char* after;
    };
    const Case cases[] = {
        {"first folder", 5, "", "/a/", "/a/"},
        {"sixth folder drops the oldest", 5, "/1/\t/2/\t/3/\t/4/\t/5/", "/6/", "/6/\t/1/\t/2/\t/3/\t/4/"},
        {"case-only difference moves to the head as just written", 5, "/a/\t/out/\t/b/", "/OUT/",
         "/OUT/\t/a/\t/b/"},
        {"same folder again", 5, "/a/\t/b/", "/b/", "/b/\t/a/"},
        {"limit 1 keeps only the last", 1, "/a/\t/b/", "/c/", "/c/"},
        {"limit 0 still keeps the chosen folder", 0, "/a/", "/c/", "/c/"},
        {"blank and empty entries are dropped, others trimmed", 5, "\t /a/ \t  \t/b/", "/c/", "/c/\t/a/\t/b/"},
        {"entries beyond the limit are forgotten", 2, "/a/\t/b/\t/c/", "/d/", "/d/\t/a/"},
        {"a shared checksum is not the same folder", 5, "/plumless/", "/buckeroo/", "/buckeroo/\t/plumless/"},
        {"non-ASCII letters are compared as bytes", 5, "/caf\xc3\xa9/", "/CAF\xc3\x89/",
         "/CAF\xc3\x89/\t/caf\xc3\xa9/"},
    };
    for (const Case& c : cases) {
        StartHistory(c.limit, c.before);
        EXPECT_TRUE(PushOutputFolder(c.pushed)) << c.name;
        EXPECT_EQ(Settings.File.RecentOutFolders, c.after) << c.name;
    }
}

TEST(OutputHistory, EmptyFolderLeavesTheHistory) {
    StartHistory(5, "/a/\t/b/");
    EXPECT_FALSE(PushOutputFolder(""));
    EXPECT_EQ(Settings.File.RecentOutFolders, "/a/\t/b/");
}

TEST(OutputHistory, EntriesAreTrimmedAndLimited) {
    StartHistory(3, " /a/ \t\t/b/\t/c/\t/d/");
    EXPECT_EQ(OutputHistoryEntry(0), "/a/");
    EXPECT_EQ(OutputHistoryEntry(1), "");
    EXPECT_EQ(OutputHistoryEntry(4), "/d/");
    EXPECT_EQ(OutputHistoryEntry(9), "");
    EXPECT_EQ(OutputHistoryEntries(), (std::vector<std::string>{"/a/", "/b/"}));
}

TEST(OutputHistory, ThousandsOfTabsHoldNoEntries) {
    StartHistory(5, std::string(10000, '\t'));
    EXPECT_TRUE(OutputHistoryEntries().empty());
    EXPECT_TRUE(PushOutputFolder("/x/"));
    EXPECT_EQ(Settings.File.RecentOutFolders, "/x/");
}

TEST(OutputHistory, FolderCheckIgnoresAsciiCaseOnly) {
    EXPECT_TRUE(SameOutputFolder("/Out/Dir/", "/oUT/dIR/"));
    EXPECT_FALSE(SameOutputFolder("/out/", "/out"));
    EXPECT_FALSE(SameOutputFolder("/plumless/", "/buckeroo/"));
}
