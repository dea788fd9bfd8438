// Folder scans: matching, order, separators, name length and the end of a scan.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

// Every name a scan over `pattern` hands out; -1 in `firstResult` style is not used.
std::vector<std::string> ScanAll(const std::string& pattern, DirScan* scan) {
    std::vector<std::string> names;
    if (FindFirstEntry(pattern.c_str(), scan) != 0) return names;
    do {
        names.push_back(scan->name);
    } while (FindNextEntry(scan) == 0 && names.size() < 100);
    return names;
}

class DirScanTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"b.sav", "a.sav", "C.SAV", "notes.txt", "loadsave.dat"})
            ASSERT_TRUE(MakeFileWithParents(tmp.file(std::string("saves/") + name), name));
        ASSERT_TRUE(MakeFileWithParents(tmp.file("saves/sub/inner.sav"), "x"));
        ASSERT_TRUE(MakeFileWithParents(tmp.file("mods/mymod/mod/mod.xml"), "<zarnochmod/>"));
    }
    TempDir tmp;
};

}  // namespace

TEST_F(DirScanTest, PatternsMatchIgnoringCaseInNameOrderWithEitherSeparator) {
    const std::vector<std::string> sav = {"C.SAV", "a.sav", "b.sav"};
    const std::string base = tmp.path();
    const struct {
        std::string pattern;
        std::vector<std::string> expected;
    } cases[] = {
        {base + "/saves/*.sav", sav},
        {base + "\\saves\\*.sav", sav},
        {base + "/\\saves//*.SAV", sav},
        {base + "/saves/*.dat", {"loadsave.dat"}},
        {base + "/saves/*", {".", "..", "C.SAV", "a.sav", "b.sav", "loadsave.dat", "notes.txt", "sub"}},
        {base + "/saves/*.*", {".", "..", "C.SAV", "a.sav", "b.sav", "loadsave.dat", "notes.txt", "sub"}},
        {base + "/SAVES/n*", {"notes.txt"}},
        {base + "/saves/*.png", {}},
        {base + "/nosuchfolder/*", {}},
    };
    for (const auto& c : cases) {
        DirScan scan;
        EXPECT_EQ(ScanAll(c.pattern, &scan), c.expected) << c.pattern;
        EXPECT_EQ(scan.handle, -1) << c.pattern;
    }
}

TEST_F(DirScanTest, RelativePatternAndEntryKinds) {
    ScopedWorkingDir cwd(tmp.path());
    ASSERT_TRUE(cwd.ok());
    DirScan scan;
    ASSERT_EQ(FindFirstEntry("mods\\*", &scan), 0);
    EXPECT_STREQ(scan.name, ".");
    EXPECT_NE(scan.handle, -1);
    ASSERT_EQ(FindNextEntry(&scan), 0);
    EXPECT_STREQ(scan.name, "..");
    ASSERT_EQ(FindNextEntry(&scan), 0);
    EXPECT_STREQ(scan.name, "mymod");
    EXPECT_TRUE(scan.isDirectory);
    EXPECT_EQ(FindNextEntry(&scan), 1);

    ASSERT_EQ(FindFirstEntry("saves/notes.txt", &scan), 0);
    EXPECT_FALSE(scan.isDirectory);
    EXPECT_EQ(scan.size, strlen("notes.txt"));
}

TEST_F(DirScanTest, AfterTheEndEveryCallReturnsOneAndTheScanIsClosed) {
    DirScan scan;
    ASSERT_EQ(FindFirstEntry((tmp.path() + "/saves/*.dat").c_str(), &scan), 0);
    EXPECT_STREQ(scan.name, "loadsave.dat");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(FindNextEntry(&scan), 1) << "call " << i;
        EXPECT_EQ(scan.handle, -1);
    }
    // Nothing matching: 1 at once, closed record, later calls stay at 1.
    EXPECT_EQ(FindFirstEntry((tmp.path() + "/saves/*.none").c_str(), &scan), 1);
    EXPECT_EQ(scan.handle, -1);
    EXPECT_EQ(FindNextEntry(&scan), 1);
    DirScan fresh;
    EXPECT_EQ(FindNextEntry(&fresh), 1);
}

TEST(DirScanNames, LongNamesAreCutTo1023Characters) {
    DirScan scan;
    for (size_t length : {0u, 1u, 1022u, 1023u, 1024u, 5000u}) {
        std::string name(length, 'n');
        if (length) name[length - 1] = 'Z';
        StoreEntryName(&scan, name.c_str());
        size_t kept = length < 1023 ? length : 1023;
        EXPECT_EQ(strlen(scan.name), kept) << length;
        EXPECT_EQ(std::string(scan.name), name.substr(0, kept)) << length;
    }
}
