// Mounting the data tree and reading through the virtual file system.
#include "platform/vfs.h"
#include "platform/vfs_listing.h"

#include <gtest/gtest.h>
#include <physfs.h>

#include <sys/stat.h>
#include <unistd.h>

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

bool IsFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

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

// A game folder made of links (as the tests' LinkGameFolder makes them, or a player keeping the
// data elsewhere) keeps every file: links to folders and to files are followed.
TEST_F(DataTreeTest, LinkedFoldersAndFilesAreFollowed) {
    TempDir elsewhere;
    ASSERT_TRUE(MakeFileWithParents(elsewhere.file("dungeon/wall.txt"), "linked wall"));
    ASSERT_TRUE(MakeFileWithParents(elsewhere.file("game/spellDB.xml"), "<spells linked/>"));
    ASSERT_TRUE(MakeFileWithParents(elsewhere.file("expansion/dungeon/pit.txt"), "linked expansion pit"));
    ASSERT_TRUE(MakeFileWithParents(elsewhere.file("button.png"), "linked button"));
    Put("ui/frame.png", "loose frame");
    for (const char* folder : {"dungeon", "game", "expansion"}) {
        ASSERT_EQ(symlink(elsewhere.file(folder).c_str(), folder), 0) << folder;
    }
    ASSERT_EQ(symlink(elsewhere.file("button.png").c_str(), "ui/button.png"), 0);
    MountDataTree();
    EXPECT_EQ(Read("dungeon/wall.txt"), "linked wall");
    EXPECT_EQ(Read("game//spellDB.xml"), "<spells linked/>");
    EXPECT_EQ(Read("dungeon/pit.txt"), "linked expansion pit");
    EXPECT_EQ(Read("ui/button.png"), "linked button");
    EXPECT_EQ(Read("UI/Button.PNG"), "linked button");
    EXPECT_EQ(Read("ui/frame.png"), "loose frame");
    EXPECT_TRUE(VfsExists("dungeon"));
    // The same answers from folder listings (a linked folder is not always listed whole).
    const char* const names[] = {"dungeon/wall.txt", "game//spellDB.xml", "dungeon/pit.txt", "ui/button.png",
                                 "UI/Button.PNG", "ui/frame.png", "dungeon", "Dungeon/WALL.txt", "dungeon/none.txt"};
    std::vector<std::string> direct;
    for (const char* name : names) direct.push_back(VfsResolveName(name));
    VfsListingScope listings;
    for (size_t i = 0; i < direct.size(); ++i) EXPECT_EQ(VfsResolveName(names[i]), direct[i]) << names[i];
    EXPECT_TRUE(VfsExists("dungeon/wall.txt"));
}

// The game folder the build assembles has every folder the data tree mounts and the core
// archive, which holds the base game's databases ahead of their loose copies.
TEST_F(DataTreeTest, TheAssembledGameFolderMountsEverything) {
    const std::string root = VAULTMERE_GAME_ROOT;
    for (const char* folder : {"game", "dungeon", "items", "skills", "sprites", "sfx", "tilesets", "ui"}) {
        EXPECT_TRUE(IsFolder(root + "/" + folder)) << folder;
        for (const char* expansion : {"expansion", "expansion2", "expansion3"}) {
            EXPECT_TRUE(IsFolder(root + "/" + expansion + "/" + folder)) << expansion << "/" << folder;
        }
    }
    ScopedWorkingDir cwd(root);
    ASSERT_TRUE(cwd.ok());
    MountDataTree();
    const std::vector<std::string> path = SearchPath();
    ASSERT_EQ(path.size(), 26u);  // no mount was skipped
    EXPECT_EQ(path.front(), "zarnochcore.zip @ /");
    for (const char* database : {"tweakDB.xml", "branchDB.xml", "rooms.xml", "soundfx.xml", "text.xml"}) {
        const std::string name = std::string("game/") + database;
        const char* from = PHYSFS_getRealDir(name.c_str());
        ASSERT_NE(from, nullptr) << name;
        EXPECT_EQ(std::string(from), "zarnochcore.zip") << name;
        EXPECT_EQ(Read("game//" + std::string(database)),
                  ReadWholeFile(std::string(VAULTMERE_SOURCE_DIR) + "/data/game/" + database))
            << name;
    }
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

// Answers from folder listings are the answers the file system gives name by name: exact and
// case-differing names, folders, names inside the archive and the expansions, names under a
// file, missing ones. Once the listings go, the tree is asked again.
TEST_F(DataTreeTest, ListingsAnswerAsTheFileSystemDoes) {
    Put("zarnochcore.zip", BuildStoredZip({{"ui/core_only.png", "archived"}, {"dungeon/floor.txt", "archived floor"}}));
    Put("ui/Icon.png", "loose icon");
    Put("ui/icon.PNG", "second spelling");
    Put("ui/deep/er/leaf.txt", "leaf");
    Put("items/sword.png", "sword");
    Put("expansion/items/axe.png", "axe");
    Put("expansion2/game/spellDB.xml", "<spells second/>");
    Put("game/spellDB.xml", "<spells base/>");
    MountDataTree();
    const char* const names[] = {
        "ui/Icon.png",          "ui/icon.png",        "UI/ICON.PNG",         "ui/icon.PNG",
        "ui/deep/er/leaf.txt",  "UI/Deep/ER/Leaf.TXT", "ui/deep",             "ui/deep/",
        "ui//deep\\er/leaf.txt", "ui/core_only.png",  "Ui/Core_Only.png",    "dungeon/floor.txt",
        "items/sword.png",      "items/axe.png",      "ITEMS/AXE.PNG",       "expansion2//spellDB.xml",
        "Expansion2/SPELLDB.xml", "expansion//spellDB.xml", "expansion3//spellDB.xml", "game//spellDB.xml",
        "items/sword.png/x",    "ui/nothing.png",     "nothing/at/all.png",  "ui",
        "",                     "/",                  "ui/deep/er/leaf.txt/", "..",
    };
    std::vector<std::string> direct;
    for (const char* name : names) direct.push_back(VfsResolveName(name));
    EXPECT_EQ(direct[0], "ui/Icon.png");
    EXPECT_EQ(direct[2], "ui/Icon.png");  // of two spellings, the one that sorts first
    EXPECT_EQ(direct[13], "items/axe.png");
    EXPECT_EQ(direct[21], "");
    {
        VfsListingScope listings;
        {
            VfsListingScope inner;  // does nothing of its own
        }
        for (size_t i = 0; i < direct.size(); ++i) {
            EXPECT_EQ(VfsResolveName(names[i]), direct[i]) << names[i];
            EXPECT_EQ(VfsExists(names[i]), !direct[i].empty()) << names[i];
        }
        std::vector<char> data;
        EXPECT_TRUE(VfsReadFile("ITEMS/AXE.PNG", data));
        EXPECT_EQ(std::string(data.begin(), data.end()), "axe");
    }
    Put("ui/later.png", "later");
    EXPECT_EQ(VfsResolveName("UI/LATER.PNG"), "ui/later.png");
}
