// A save whose objects cannot all be put back (one stands off the grid, or on a floor the save
// does not hold, or an item of the hero's pack names a floor) is refused by the real
// executable: exit code 3, and every file of the user folder stays byte for byte as it was, the
// save among them. The store's cloud files too: the damaged save is never copied over the
// cloud's good copy, nor is anything else copied to an empty cloud before the load failed.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/class_registry.h"
#include "support/run_game.h"

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Every file below the folder, by its path relative to it, with its content.
void CollectFiles(const std::string& root, const std::string& relative, std::map<std::string, std::string>* files) {
    DIR* dir = opendir((root + "/" + relative).c_str());
    if (dir == nullptr) return;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = relative.empty() ? name : relative + "/" + name;
        struct stat st;
        if (stat((root + "/" + path).c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            CollectFiles(root, path, files);
        } else {
            (*files)[path] = ReadWholeFile(root + "/" + path);
        }
    }
    closedir(dir);
}

std::map<std::string, std::string> FilesOf(const std::string& root) {
    std::map<std::string, std::string> files;
    CollectFiles(root, "", &files);
    return files;
}

int32_t WordAt(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
    return static_cast<int32_t>(v);
}

void PutWord(std::string* bytes, size_t at, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) (*bytes)[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
}

// Where the first object of the class on floor 0 starts in the save: its class key, followed by
// the object block (anchor, two offsets, branch, depth 0, then x and y on the 100 x 100 grid).
size_t FindObject(const std::string& save, const char* className) {
    const int32_t key = static_cast<int32_t>(GetRegisteredClassHash(className));
    for (size_t at = 0; at + 32 <= save.size(); ++at) {
        if (WordAt(save, at) != key || WordAt(save, at + 20) != 0) continue;
        const int32_t x = WordAt(save, at + 24);
        const int32_t y = WordAt(save, at + 28);
        if (x >= 0 && x < 100 && y >= 0 && y < 100) return at;
    }
    return std::string::npos;
}

// Where the first item of the hero's pack or belts starts: its presence byte 1, then its class
// key and the object block (anchor, two offsets, then branch and depth -1: on no floor).
size_t FindContainedItem(const std::string& save) {
    const char* const kinds[] = {"Food", "Potion", "Weapon", "Armour", "Misc", "Gem", "Mushroom", "Reagent", "Wand"};
    size_t first = std::string::npos;
    for (const char* kind : kinds) {
        const int32_t key = static_cast<int32_t>(GetRegisteredClassHash(kind));
        for (size_t at = 1; at + 32 <= save.size() && at < first; ++at) {
            if (save[at - 1] == 1 && WordAt(save, at) == key && WordAt(save, at + 16) == -1 &&
                WordAt(save, at + 20) == -1) {
                first = at;
            }
        }
    }
    return first;
}

TEST(DamagedSaveSession, AnObjectThatCannotBePutBackFailsTheLoadAndTouchesNoUserOrCloudFile) {
    // A hero made and saved by the game itself; the cloud holds a good copy of the save.
    TempDir made;
    WriteWholeFile(made.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    WriteWholeFile(made.file("script.txt"), std::string("seed 5\n") + kLeaveGameScript);
    GameRun first = RunGame({"-no-initial-config", "-player-random-build", "-player-name=Tess"}, made.path(),
                            {{"VAULTMERE_INPUT_SCRIPT", made.file("script.txt")}});
    ASSERT_EQ(first.exitCode, 0) << first.output;
    const std::string good = ReadWholeFile(made.file("Tess.sav"));
    const size_t stairs = FindObject(good, "Stairs");
    ASSERT_NE(stairs, std::string::npos);
    const size_t packed = FindContainedItem(good);
    ASSERT_NE(packed, std::string::npos);
    bool cloudHoldsTheSave = false;
    for (const auto& file : FilesOf(made.path())) cloudHoldsTheSave |= file.first == "store/cloud/Tess.sav";
    ASSERT_TRUE(cloudHoldsTheSave) << "the cloud's good copy of the save";

    struct Case {
        const char* label;
        size_t object;                                  // where the damaged object starts
        std::vector<std::pair<size_t, int32_t>> words;  // offsets from its class key, new values
        std::vector<const char*> messages;
    };
    const Case cases[] = {
        {"x far off the grid", stairs, {{24, 100000}}, {"a saved Stairs at (", "is outside the 100 x 100 grid of floor 0"}},
        {"x before and y after the grid", stairs, {{24, -3}, {28, 100000}},
         {"a saved Stairs at (", "is outside the 100 x 100 grid of floor 0"}},
        {"a floor the save does not hold", stairs, {{20, 77}}, {"a saved Stairs at (", "belongs to no level"}},
        {"an item of the pack on a real floor and square", packed, {{16, 0}, {20, 0}, {24, 5}, {28, 5}},
         {"names floor 0 of branch 0; a contained object belongs to no floor"}},
    };
    for (const Case& c : cases) {
        for (const bool emptyCloud : {false, true}) {
            SCOPED_TRACE(std::string(c.label) + (emptyCloud ? ", empty cloud" : ", good copy in the cloud"));
            // The user folder as the first run left it (or with an empty cloud), with the save damaged.
            TempDir user;
            for (const auto& file : FilesOf(made.path())) {
                if (emptyCloud && file.first.rfind("store/cloud/", 0) == 0) continue;
                if (file.first.find('/') != std::string::npos) {
                    ASSERT_EQ(system(("mkdir -p '" + user.file(file.first.substr(0, file.first.rfind('/'))) + "'").c_str()), 0);
                }
                WriteWholeFile(user.file(file.first), file.second);
            }
            std::string damaged = good;
            for (const auto& word : c.words) PutWord(&damaged, c.object + word.first, word.second);
            WriteWholeFile(user.file("Tess.sav"), damaged);
            // Should the load pass, the script leaves the game, which saves it again.
            WriteWholeFile(user.file("script.txt"), kLeaveGameScript);
            const std::map<std::string, std::string> before = FilesOf(user.path());

            GameRun run = RunGame({"-no-initial-config", "-load-filename=Tess.sav"}, user.path(),
                                  {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}});
            EXPECT_EQ(run.exitCode, 3) << run.output;
            for (const char* message : c.messages) EXPECT_TRUE(Contains(run.output, message)) << run.output;
            EXPECT_TRUE(Contains(run.output, "Could not load the saved game \"Tess.sav\"")) << run.output;
            // Every file of the user folder, the store's cloud files and the sync record among
            // them, is as it was, and none is new.
            const std::map<std::string, std::string> after = FilesOf(user.path());
            for (const auto& file : after) EXPECT_EQ(before.count(file.first), 1u) << file.first << " is new";
            for (const auto& file : before) {
                const auto found = after.find(file.first);
                ASSERT_NE(found, after.end()) << file.first << " is gone";
                EXPECT_TRUE(found->second == file.second) << file.first << " changed";
            }
        }
    }
}

TEST(DamagedSaveSession, ASaveThatFailsToLoadLeavesTheConfigurationFileAsItWas) {
    // A configuration the player wrote by hand (valid, but not laid out as the game writes
    // it, and missing most settings): a run that ends because its save does not load changes
    // nothing, so it does not rewrite the file either.
    TempDir user;
    const std::string config = "<config>\n  <setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n";
    WriteWholeFile(user.file("config.xml"), config);
    WriteWholeFile(user.file("junk.sav"), "JUNKJUNKJUNKJUNKJUNK");
    const std::map<std::string, std::string> before = FilesOf(user.path());

    GameRun run = RunGame({"-no-initial-config", "-load-filename=junk.sav"}, user.path(), {});
    EXPECT_EQ(run.exitCode, 3) << run.output;
    EXPECT_TRUE(Contains(run.output, "Could not load the saved game \"junk.sav\"")) << run.output;
    EXPECT_EQ(ReadWholeFile(user.file("config.xml")), config);
    EXPECT_TRUE(FilesOf(user.path()) == before) << "a user file changed, came or went";
}

}  // namespace
