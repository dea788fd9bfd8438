// A save loaded by the game itself with -load-filename= plays on and its next autosave is the
// same file byte for byte; saves that cannot be loaded end the program with code 3 and a
// message, and leave the user folder as it was.
#include <gtest/gtest.h>
#include <dirent.h>

#include <map>
#include <string>

#include "core/shell/game_lifecycle.h"
#include "core/shell/saved_games.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "creatures/player.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/branch_db.h"
#include "levels/gen/level_gen_check.h"
#include "levels/level.h"
#include "levels/room_templates.h"
#include "media/sprite.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"
#include "tests/levels/save_bytes.h"

namespace {

const char* const kQuitScript = "wait 300\nkey escape\nwait 300\nclick 1 585 426\nwait 300\nkey escape\nwait 300\n";

std::map<std::string, std::string> FolderContents(const std::string& dir) {
    std::map<std::string, std::string> files;
    DIR* d = opendir(dir.c_str());
    if (d == nullptr) return files;
    while (dirent* entry = readdir(d)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && name != "script.txt") files[name] = ReadWholeFile(dir + "/" + name);
    }
    closedir(d);
    return files;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Saves a small game of our own (a hero on an open level of depth 0 with the branch of the
// game's data) into the user folder under that name.
void MakeSave(const std::string& userDir, const std::string& name) {
    ScopedEnv env("VAULTMERE_USER_DIR", userDir.c_str());
    ScopedWorkingDir cwd(VAULTMERE_GAME_ROOT);
    ASSERT_TRUE(LoadGenerationData(std::string(VAULTMERE_SOURCE_DIR) + "/data/game"));
    // The game keeps one window per toolkit of the item database, and the hero's record has an
    // entry for each: the save must be made with the same windows the game loads it with.
    SyncToolkitWindows();
    Level* level = new Level(0, 0);
    level->SetSize(20, 20);
    for (int y = 1; y < 19; ++y)
        for (int x = 1; x < 19; ++x) level->GetCell(x, y)->type = SquareType::Floor;
    GameLevels.push_back(level);
    CurrentLevel = level;
    Player* hero = new Player();
    hero->name = "Hero";
    for (int i = 0; i < 7; ++i) hero->skillIds[i] = i;
    CurrentPlayer = hero;
    hero->PlaceOnLevel(9, 9, level, 0);
    testing::internal::CaptureStdout();
    const bool saved = SaveGame(name.c_str());
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(saved);
    EndCurrentGame();
    SaveSlots.clear();
    ClearBranches();
    ClearRoomTemplates();
    ClearTweakVals();
    ClearTextDB();
    ToolkitWindows.clear();
    ClearItemDB();
    SpriteMgr_FreeAll();
}

// Loads the save under that name, waits past the autosave with no input and quits.
GameRun LoadAndWaitForTheAutosave(const TempDir& user, const std::string& name) {
    WriteWholeFile(user.file("script.txt"), std::string("wait 301000\n") + kQuitScript + kQuitFromMenuScript);
    return RunGame({"-no-initial-config", "-load-filename=" + name}, user.path(),
                   {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}, {"VAULTMERE_FRAME_MS", "500"}});
}

TEST(SaveRoundTrip, ALoadedGameAutosavesTheSameBytesItWasLoadedFrom) {
    TempDir user;
    MakeSave(user.path(), "Hero.sav");
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    // The game's own autosave of our save (with the game's spells), then a load of a copy of it.
    GameRun first = LoadAndWaitForTheAutosave(user, "Hero.sav");
    ASSERT_EQ(first.exitCode, 0) << first.output.substr(first.output.size() > 3000 ? first.output.size() - 3000 : 0);
    const std::string autosave = ReadWholeFile(user.file("autosave.sav"));
    ASSERT_GT(autosave.size(), 16u);
    EXPECT_EQ(autosave.substr(0, 16), std::string("ZNCH\x01\0\0\0\0\0\0\0\x0a\0\0\0", 16));
    WriteWholeFile(user.file("copy.sav"), autosave);
    GameRun second = LoadAndWaitForTheAutosave(user, "copy.sav");
    ASSERT_EQ(second.exitCode, 0) << second.output.substr(second.output.size() > 3000 ? second.output.size() - 3000 : 0);
    const std::string again = ReadWholeFile(user.file("autosave.sav"));
    EXPECT_EQ(FirstByteDifference(std::vector<uint8_t>(again.begin(), again.end()),
                                  std::vector<uint8_t>(autosave.begin(), autosave.end())),
              "");
}

TEST(SaveRoundTrip, SavesThatCannotBeLoadedEndTheProgramWithCodeThreeAndTouchNothing) {
    TempDir user;
    MakeSave(user.path(), "good.sav");
    const std::string good = ReadWholeFile(user.file("good.sav"));
    const std::map<std::string, std::string> cases = {
        {"magic.sav", "ZNCX" + good.substr(4)},
        {"short.sav", good.substr(0, 16)},
        {"legacy.sav", std::string("ZNRC\0\0\0\0", 8)},
        {"hostile.sav", good.substr(0, 16) + std::string("\xf0\xff\xff\x7f", 4) + good.substr(20)},
    };
    for (const auto& c : cases) WriteWholeFile(user.file(c.first), c.second);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        const std::map<std::string, std::string> before = FolderContents(user.path());
        GameRun run = RunGame({"-no-initial-config", "-load-filename=" + c.first}, user.path(), {}, 60);
        EXPECT_EQ(run.exitCode, 3) << run.output;
        EXPECT_TRUE(Contains(run.output, "Couldn't load filename " + c.first)) << run.output;
        EXPECT_TRUE(Contains(run.output, "LoadGame: ")) << run.output;
        std::map<std::string, std::string> after = FolderContents(user.path());
        // The program's own start-up files come and go; the saves and the index stay.
        for (const char* own : {"config.xml", "log.log", "lastlog.log", "cookie.txt", "hiscores.txt", "store"}) {
            after.erase(own);
        }
        for (const auto& file : after) {
            if (before.count(file.first) != 0) {
                EXPECT_EQ(file.second, before.at(file.first)) << file.first;
            }
        }
        for (const auto& file : before) {
            if (file.first.size() > 4 && file.first.substr(file.first.size() - 4) == ".sav") {
                EXPECT_EQ(after.count(file.first), 1u) << file.first;
            }
        }
    }
}

}  // namespace
