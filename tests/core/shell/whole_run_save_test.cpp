// A whole run of ten generated levels (depths 0 to 9) with the hero, monsters and items saves,
// loads and saves again to the same bytes. Generated objects whose classes have no save
// record yet are taken off the levels first (the coverage test lists those classes).
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "core/shell/game_lifecycle.h"
#include "core/shell/saved_games.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "creatures/player.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/quest.h"
#include "levels/branch_db.h"
#include "levels/gen/level_gen_check.h"
#include "levels/gen/level_gfx.h"
#include "levels/level.h"
#include "levels/level_save.h"
#include "levels/object_queue.h"
#include "levels/room_templates.h"
#include "media/sprite.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

// Takes every object whose class cannot be saved yet off the level (doors stay: they are
// never saved). Returns how many objects are left.
size_t KeepSavableObjects(Level* level) {
    const std::vector<GameObj*> objects = level->objects;
    for (GameObj* obj : objects) {
        if (!IsDoorObject(obj) && !MissingSaveRecordClass(obj).empty()) delete obj;
    }
    return level->objects.size();
}

// Wakes a few monsters on open squares spread over the level.
void AddMonsters(Level* level, int32_t count) {
    Level* previous = CurrentLevel;
    CurrentLevel = level;
    int32_t added = 0;
    for (int32_t x = 5; x < level->width && added < count; x += 7) {
        for (int32_t y = 5; y < level->height && added < count; y += 3) {
            if (level->SquareKind(x, y) != SquareType::Floor || level->HasObjectAt(x, y)) continue;
            if (level->SpawnMonster(x, y, false, false, false) != nullptr) ++added;
            break;
        }
    }
    ApplyDeferredObjectMoves();
    CurrentLevel = previous;
}

TEST(WholeRunSave, TenGeneratedLevelsSaveLoadAndSaveAgainToTheSameBytes) {
    TempDir user;
    ScopedEnv env("VAULTMERE_USER_DIR", user.path().c_str());
    ScopedWorkingDir cwd(VAULTMERE_GAME_ROOT);
    ASSERT_TRUE(LoadGenerationData(std::string(VAULTMERE_SOURCE_DIR) + "/data/game"));
    InstallSampleGenerationRecords();

    size_t monsters = 0;
    size_t items = 0;
    testing::internal::CaptureStdout();
    for (int32_t depth = 0; depth < 10; ++depth) {
        LevelGenCase genCase;
        genCase.seed = 100 + static_cast<uint32_t>(depth);
        genCase.depth = depth;
        Level* level = GenerateLevelForCase(genCase, nullptr).release();
        GenLevelGFXRep(level, 0, 0, level->width, level->height);
        KeepSavableObjects(level);
        AddMonsters(level, 4);
        for (GameObj* obj : level->objects) {
            monsters += obj->IsMonster() != 0 ? 1 : 0;
            items += obj->IsItem() ? 1 : 0;
        }
        GameLevels.push_back(level);
    }
    Player* hero = new Player();
    hero->name = "Runner";
    CurrentPlayer = hero;
    CurrentLevel = GameLevels[0];
    hero->PlaceOnLevel(GameLevels[0]->startX, GameLevels[0]->startY, GameLevels[0], 0);
    const bool saved = SaveGame("run.sav");
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(saved);
    EXPECT_GT(monsters, 10u);
    EXPECT_GT(items, 10u);
    const std::string first = ReadWholeFile(user.file("run.sav"));
    EndCurrentGame();

    testing::internal::CaptureStdout();
    const bool loaded = LoadGame("run.sav");
    const std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(loaded) << printed.substr(printed.size() > 2000 ? printed.size() - 2000 : 0);
    ASSERT_EQ(GameLevels.size(), 10u);
    for (int32_t depth = 0; depth < 10; ++depth) EXPECT_EQ(GameLevels[depth]->depth, depth);
    EXPECT_EQ(CurrentLevel, GameLevels[0]);
    testing::internal::CaptureStdout();
    ASSERT_TRUE(SaveGame("again.sav"));
    testing::internal::GetCapturedStdout();
    const std::string second = ReadWholeFile(user.file("again.sav"));
    EXPECT_EQ(second.size(), first.size());
    EXPECT_TRUE(second == first) << "the second save differs";

    EndCurrentGame();
    ClearActiveQuests();
    RemoveSampleGenerationRecords();
    ClearBranches();
    ClearRoomTemplates();
    ClearTweakVals();
    ClearTextDB();
    ClearItemDB();
    SpriteMgr_FreeAll();
}

}  // namespace
