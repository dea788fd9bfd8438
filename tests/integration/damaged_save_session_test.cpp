// A save whose objects cannot all be put back (one stands off the grid, or on a floor the save
// does not hold) is refused by the real executable: exit code 3, and every file of the user
// folder stays byte for byte as it was, the save among them.
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

TEST(DamagedSaveSession, AnObjectThatCannotBePutBackFailsTheLoadAndTouchesNoUserFile) {
    // A hero made and saved by the game itself.
    TempDir made;
    WriteWholeFile(made.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    WriteWholeFile(made.file("script.txt"), std::string("seed 5\n") + kLeaveGameScript);
    GameRun first = RunGame({"-no-initial-config", "-player-random-build", "-player-name=Tess"}, made.path(),
                            {{"VAULTMERE_INPUT_SCRIPT", made.file("script.txt")}});
    ASSERT_EQ(first.exitCode, 0) << first.output;
    const std::string good = ReadWholeFile(made.file("Tess.sav"));
    const size_t stairs = FindObject(good, "Stairs");
    ASSERT_NE(stairs, std::string::npos);

    struct Case {
        const char* label;
        std::vector<std::pair<size_t, int32_t>> words;  // offsets from the class key, new values
        const char* message;
    };
    const Case cases[] = {
        {"x far off the grid", {{24, 100000}}, "is outside the 100 x 100 grid of floor 0"},
        {"x before and y after the grid", {{24, -3}, {28, 100000}}, "is outside the 100 x 100 grid of floor 0"},
        {"a floor the save does not hold", {{20, 77}}, "belongs to no level"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempDir user;
        // The user folder as the first run left it, with the save damaged. The start-up would
        // put the cloud's copy of the save back over the damaged one: the cloud starts empty.
        for (const auto& file : FilesOf(made.path())) {
            if (file.first.rfind("store/cloud/", 0) == 0) continue;
            if (file.first.find('/') != std::string::npos) {
                ASSERT_EQ(system(("mkdir -p '" + user.file(file.first.substr(0, file.first.rfind('/'))) + "'").c_str()), 0);
            }
            WriteWholeFile(user.file(file.first), file.second);
        }
        std::string damaged = good;
        for (const auto& word : c.words) PutWord(&damaged, stairs + word.first, word.second);
        WriteWholeFile(user.file("Tess.sav"), damaged);
        // Should the load pass, the script leaves the game, which saves it again.
        WriteWholeFile(user.file("script.txt"), kLeaveGameScript);
        const std::map<std::string, std::string> before = FilesOf(user.path());

        GameRun run = RunGame({"-no-initial-config", "-load-filename=Tess.sav"}, user.path(),
                              {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}});
        EXPECT_EQ(run.exitCode, 3) << run.output;
        EXPECT_TRUE(Contains(run.output, "a saved Stairs at (")) << run.output;
        EXPECT_TRUE(Contains(run.output, c.message)) << run.output;
        EXPECT_TRUE(Contains(run.output, "Could not load the saved game \"Tess.sav\"")) << run.output;
        // Only the cloud has gained the local files it lacked.
        const std::map<std::string, std::string> after = FilesOf(user.path());
        for (const auto& file : after) {
            EXPECT_TRUE(before.count(file.first) == 1 || file.first.rfind("store/cloud/", 0) == 0) << file.first;
        }
        // The sync's own record of what the cloud holds follows those uploads.
        for (const auto& file : before) {
            const auto found = after.find(file.first);
            ASSERT_NE(found, after.end()) << file.first << " is gone";
            if (file.first == "cloud_sync.txt") continue;
            EXPECT_TRUE(found->second == file.second) << file.first << " changed";
        }
    }
}

}  // namespace
