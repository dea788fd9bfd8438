// Mounting the data tree and reading through the virtual file system.
#include "platform/vfs.h"

#include <gtest/gtest.h>
#include <physfs.h>

#include <string>
#include <vector>

#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

class DataTreeTest : public FreshDataTreeTest {
protected:
    static void Put(const std::string& name, const std::string& content) {
        ASSERT_TRUE(MakeFileWithParents(name, content)) << name;
    }
    static std::string Read(const std::string& name) {
        std::vector<char> data;
        if (!VfsReadFile(name, data)) return "<missing>";
        return std::string(data.begin(), data.end());
    }
    static std::vector<std::string> SearchPath() {
        std::vector<std::string> out;
        char** list = PHYSFS_getSearchPath();
        for (char** i = list; i && *i; ++i) out.push_back(std::string(*i) + " @ " + PHYSFS_getMountPoint(*i));
        PHYSFS_freeList(list);
        return out;
    }

};

const char* const kFolders[] = {"game", "dungeon", "items", "skills", "sprites", "sfx", "tilesets", "ui"};

}  // namespace

TEST_F(DataTreeTest, AllTwentySixMountsInTableOrder) {
    std::vector<std::string> expected;
    expected.push_back("zarnochcore.zip @ /");
    for (const char* expansion : {"expansion", "expansion2", "expansion3"}) {
        for (const char* folder : kFolders) {
            std::string dir = std::string(expansion) + "/" + folder;
            Put(dir + "/keep.txt", dir);
            std::string point = std::string(folder) == "game" ? expansion : folder;
            expected.push_back(dir + " @ " + point + "/");  // the file system drops the leading '/' 
        }
    }
    expected.push_back(". @ /");
    Put("zarnochcore.zip", BuildStoredZip({{"readme.txt", "core"}}));

    ASSERT_FALSE(PHYSFS_isInit());
    MountDataTree();  // initialises the file system itself
    ASSERT_TRUE(PHYSFS_isInit());
    EXPECT_EQ(SearchPath(), expected);
}

TEST_F(DataTreeTest, ArchiveFirstExpansionsInOrderWorkingFolderLast) {
    Put("zarnochcore.zip", BuildStoredZip({{"dungeon/floor.txt", "from archive"},
                                           {"ui/dialog_but_yea.png", "archived button"}}));
    Put("dungeon/floor.txt", "loose floor");
    Put("dungeon/wall.txt", "loose wall");
    Put("expansion/dungeon/wall.txt", "expansion wall");
    Put("expansion3/dungeon/wall.txt", "third expansion wall");
    Put("expansion3/dungeon/pit.txt", "third expansion pit");
    Put("expansion/game/spellDB.xml", "<spells first/>");
    Put("expansion3/game/spellDB.xml", "<spells third/>");
    Put("game/spellDB.xml", "<spells base/>");
    // No "expansion2" folder at all: its eight mounts are skipped without a word.

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    MountDataTree();
    std::string printed = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed, "");

    const struct {
        const char* name;
        const char* expected;
    } cases[] = {
        {"dungeon/floor.txt", "from archive"},      // archive ahead of the loose file
        {"dungeon/wall.txt", "expansion wall"},     // first expansion ahead of the third and loose
        {"dungeon/pit.txt", "third expansion pit"},  // mounts after the missing expansion2 still work
        {"expansion//spellDB.xml", "<spells first/>"},
        {"expansion3//spellDB.xml", "<spells third/>"},
        {"expansion2//spellDB.xml", "<missing>"},
        {"game//spellDB.xml", "<spells base/>"},     // base game through the working folder
        {"game\\spellDB.xml", "<spells base/>"},
        {"Dungeon\\FLOOR.TXT", "from archive"},      // case-insensitive retry
        {"ui/dialog_but_Yea.png", "archived button"},
        {"GAME//SPELLDB.XML", "<spells base/>"},
        {"dungeon/nothing.txt", "<missing>"},
        {"", "<missing>"},
    };
    for (const auto& c : cases) EXPECT_EQ(Read(c.name), c.expected) << c.name;

    EXPECT_TRUE(VfsExists("expansion//spellDB.xml"));
    EXPECT_TRUE(VfsExists("DUNGEON/Pit.txt"));
    EXPECT_FALSE(VfsExists("expansion2//spellDB.xml"));
    EXPECT_EQ(VfsResolveName("Dungeon//FLOOR.txt"), "dungeon/floor.txt");
}

TEST_F(DataTreeTest, EmptyFilesReadAsEmptyAndAFailedReadLeavesNothingBehind) {
    Put("game/empty.xml", "");
    MountDataTree();
    std::vector<char> data = {'o', 'l', 'd'};
    EXPECT_TRUE(VfsReadFile("game//empty.xml", data));
    EXPECT_TRUE(data.empty());
    data = {'o', 'l', 'd'};
    EXPECT_FALSE(VfsReadFile("game//absent.xml", data));
    EXPECT_TRUE(data.empty());
    // A folder is not a readable file.
    EXPECT_FALSE(VfsReadFile("game", data));
}

TEST(VfsWithoutMounts, NotInitialisedMeansMissing) {
    bool wasInit = PHYSFS_isInit() != 0;
    if (wasInit) PHYSFS_deinit();
    std::vector<char> data;
    EXPECT_FALSE(VfsReadFile("game//anything.xml", data));
    EXPECT_FALSE(VfsExists("game"));
    if (wasInit) PHYSFS_init(nullptr);
}
