// Level content: money, treasures, closets, fixtures, the monster roll and the spawn primitives,
// with the data they need missing or out of range.
#include <gtest/gtest.h>

#include "core/shell/game_lifecycle.h"

#include "core/shell/turn_engine.h"

#include <algorithm>
#include <string>
#include <vector>

#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "items_fixtures/blockers.h"
#include "items_fixtures/furniture.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/weapon.h"
#include "items_fixtures/passages.h"
#include "items_fixtures/quest.h"
#include "levels/gen/level_content.h"
#include "levels/room_object_records.h"
#include "levels/object_queue.h"
#include "media/sprite.h"
#include "levels/gen/monster_tables.h"
#include "tests/levels/level_gen_fixture.h"

namespace {

template <class T>
std::vector<T*> ObjectsOf(const Level& level) {
    std::vector<T*> found;
    for (GameObj* obj : level.objects) {
        if (auto* t = dynamic_cast<T*>(obj)) found.push_back(t);
    }
    return found;
}

class LevelContentTest : public LevelGenTest {
protected:
    // A room of plain floor walled in, filling the level but for a border of rock.
    std::unique_ptr<Level> OpenLevel(int32_t depth, int32_t side = 40) {
        auto level = MakeLevel(depth, side);
        for (int32_t y = 1; y < side - 1; ++y) {
            for (int32_t x = 1; x < side - 1; ++x) {
                const bool edge = x == 1 || y == 1 || x == side - 2 || y == side - 2;
                level->GetCell(x, y)->type = edge ? SquareType::Wall : SquareType::Floor;
            }
        }
        return level;
    }
};

TEST_F(LevelContentTest, ZorkmidsGoIntoAQuarterOfThePilesInAQuickGame) {
    LoadOurData();
    struct Case {
        bool quick;
        int32_t total;
        int32_t piles;
        size_t expectedPiles;
    } cases[] = {{false, 300, 30, 30}, {true, 300, 30, 7}, {true, 3, 2, 1}, {false, 2, 5, 5}, {false, 10, 0, 1}};
    for (const Case& c : cases) {
        hero_.quickie = c.quick ? 1 : 0;
        CSRand(7);
        auto level = OpenLevel(1);
        level->PlaceZorkmids(c.total, c.piles);
        std::vector<Zorkmids*> piles = ObjectsOf<Zorkmids>(*level);
        EXPECT_EQ(piles.size(), c.expectedPiles) << c.total << " " << c.piles;
        int32_t sum = 0;
        int32_t empty = 0;
        for (Zorkmids* pile : piles) {
            sum += pile->amount;
            empty += pile->amount == 0 ? 1 : 0;
        }
        EXPECT_EQ(sum, c.total);
        if (c.total < c.piles) {
            EXPECT_GT(empty, 0);  // empty piles are placed too
        }
    }
}

TEST_F(LevelContentTest, TreasureNeverStandsAboveAWallAndChestsHoldTheirItem) {
    LoadOurData();
    MTSeed(3);
    CSRand(3);
    auto level = OpenLevel(2);
    for (int32_t i = 0; i < 200; ++i) level->PlaceTreasure(false);
    int32_t chests = 0;
    int32_t breakables = 0;
    for (GameObj* obj : level->objects) {
        EXPECT_NE(level->SquareKind(obj->x, obj->y + 1), SquareType::Wall);
        if (auto* chest = dynamic_cast<Chest*>(obj)) {
            ++chests;
            EXPECT_NE(chest->content, nullptr);
            // A full chest wears its branch's closed picture and blocks the square.
            ASSERT_NE(chest->bob.sprite, nullptr);
            EXPECT_EQ(chest->bob.sprite, SpriteMgr_Find(level->GetBranchRecord()->chestClosed.c_str()));
            EXPECT_EQ(chest->blocksMovement, 1);
        }
        if (auto* b = dynamic_cast<Breakable*>(obj)) {
            ++breakables;
            EXPECT_NE(b->contents, nullptr);
            EXPECT_NE(level->GetBranchRecord()->GetBreakable(b->branchIndex), nullptr);
        }
    }
    EXPECT_GT(chests, 0);
    EXPECT_GT(breakables, 0);
    // noChest: never a chest.
    auto other = OpenLevel(2);
    for (int32_t i = 0; i < 60; ++i) other->PlaceTreasure(true);
    EXPECT_TRUE(ObjectsOf<Chest>(*other).empty());
}

TEST_F(LevelContentTest, ABranchWithoutFixturesGetsNoneAndTreasureLiesLoose) {
    LoadOurData();
    UseBranches("<branchdb><branch id='3' name='Bare'><leveldata min='0' max='20'/></branch></branchdb>");
    MTSeed(9);
    CSRand(9);
    auto level = OpenLevel(1);
    for (int32_t i = 0; i < 40; ++i) RollRoomFurniture(level.get());
    EXPECT_TRUE(level->objects.empty());
    for (int32_t i = 0; i < 40; ++i) level->PlaceTreasure(true);
    EXPECT_TRUE(ObjectsOf<Breakable>(*level).empty());
    EXPECT_FALSE(level->objects.empty());
}

TEST_F(LevelContentTest, RollsWithoutItemDefinitionsGiveNothingOrLockpicks) {
    LoadOurData();
    ClearItemDB();  // the item lists are empty
    CSRand(1);
    MTSeed(1);
    int32_t lockpicks = 0;
    for (int32_t i = 0; i < 300; ++i) {
        Item* item = RollTreasure(false);
        if (item != nullptr) {
            EXPECT_NE(dynamic_cast<Misc*>(item), nullptr);  // lockpicks need no definition
            ++lockpicks;
        }
        delete item;
        EXPECT_EQ(RollTreasure(true), nullptr);
        EXPECT_EQ(RollConsumableLoot(), nullptr);
    }
    EXPECT_GT(lockpicks, 0);
}

TEST_F(LevelContentTest, ConsumableStacksAndRingsFollowTheirDefinitions) {
    LoadOurData();
    CSRand(4);
    MTSeed(4);
    for (int32_t i = 0; i < 300; ++i) {
        Item* item = RollConsumableLoot();
        ASSERT_NE(item, nullptr);
        if (auto* weapon = dynamic_cast<Weapon*>(item)) {
            EXPECT_GE(weapon->count, 1);
            EXPECT_LE(weapon->count, weapon->def->maxStack);
        }
        delete item;
        Item* treasure = RollTreasure(false);
        if (treasure != nullptr && treasure->def != nullptr) {
            EXPECT_EQ(treasure->def->special, 0);
        }
        delete treasure;
        Item* artifact = RollTreasure(true);
        ASSERT_NE(artifact, nullptr);
        EXPECT_TRUE(artifact->IsArtifact());
        EXPECT_EQ(artifact->def->special, 0);
        EXPECT_NE(artifact->def->itemClass, kWeaponThrowing);
        delete artifact;
    }
}

TEST_F(LevelContentTest, EveryDugClosetHasItsLeverAndEveryLeverWallItsCloset) {
    LoadOurData();
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        LevelGenCase genCase;
        genCase.seed = seed;
        genCase.depth = 3;
        testing::internal::CaptureStdout();
        std::unique_ptr<Level> level = GenerateLevelForCase(genCase, nullptr);
        testing::internal::GetCapturedStdout();
        std::vector<Lever*> closetLevers;
        for (Lever* lever : ObjectsOf<Lever>(*level)) {
            if (lever->kind == 1) closetLevers.push_back(lever);
            if (lever->kind == 3) {
                ASSERT_NE(lever->linked, nullptr);
                EXPECT_TRUE(lever->linked->IsUberChest());
                EXPECT_EQ(lever->linked->x, lever->targetX);
            }
        }
        EXPECT_EQ(closetLevers.size(), level->leverWalls.size());
        for (Lever* lever : closetLevers) {
            EXPECT_EQ(level->leverWalls.count({lever->targetX, lever->targetY}), 1u);
            EXPECT_EQ(level->SquareKind(lever->targetX, lever->targetY), SquareType::Wall);
        }
    }
}

TEST_F(LevelContentTest, MonsterLevelRollStaysInTheDungeon) {
    LoadOurData();
    auto level = OpenLevel(9);
    MTSeed(2);
    SetTweak("monster boost chance", 1);  // always boosted
    EXPECT_EQ(level->RollMonsterLevel(), 9);  // clamped to the last depth
    hero_.extendedContent = 1;
    EXPECT_EQ(level->RollMonsterLevel(), 10);
    level->isSideDimension = 1;
    level->depth = 500;  // ignored in a side dimension
    for (int32_t i = 0; i < 200; ++i) {
        const int32_t m = level->RollMonsterLevel();
        EXPECT_GE(m, 0);
        EXPECT_LT(m, 14);
    }
}

TEST_F(LevelContentTest, SpawnsWithEmptyMonsterTablesGiveNullAndPlaceNothing) {
    LoadOurData();
    RemoveSampleGenerationRecords();
    ClearMonsterDB();  // the data folder's monsters too
    InitMonsterTables();
    auto level = OpenLevel(4);
    QuestRecord quest;
    EXPECT_EQ(level->SpawnMonster(-1, -1, false, true, true), nullptr);
    EXPECT_EQ(level->CreateNamedMonster("Nobody", 1), nullptr);
    testing::internal::CaptureStdout();
    level->SpawnHorde(-1, -1, &quest, nullptr, -1, -1);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("SpawnHorde"), std::string::npos);
    EXPECT_TRUE(level->objects.empty());
    EXPECT_EQ(quest.membersLeft, 0);
}

TEST_F(LevelContentTest, NamedMonsterOffsetsOutsideTheTablesAreClamped) {
    LoadOurData();
    auto level = OpenLevel(2);
    MTSeed(8);
    CSRand(8);
    for (int32_t offset : {-50, -1, 0, 1, 2, 40}) {
        Monster* monster = level->CreateNamedMonster("Grimble", offset);
        ASSERT_NE(monster, nullptr) << offset;
        EXPECT_TRUE(monster->isNamed);
        EXPECT_EQ(monster->customName, "Grimble");
        EXPECT_EQ(monster->record->terrain, 0);
        for (int32_t stat : monster->primary) EXPECT_GE(stat, 2);  // the +2 of every named monster
        delete monster;
    }
    // Only swimmers in every table: no named monster, and no hang.
    for (MonsterRecord* record : MonsterTable) record->terrain = 1;
    InitMonsterTables();
    EXPECT_EQ(level->CreateNamedMonster("Grimble", 0), nullptr);
    EXPECT_EQ(level->SpawnMonster(5, 5, false, false, false), nullptr);
}

TEST_F(LevelContentTest, HordesLandOnFloorAndCountTheirQuest) {
    LoadOurData();
    MTSeed(12);
    CSRand(12);
    auto level = OpenLevel(3);
    QuestRecord quest;
    quest.hordeName = "The Ninth Cohort";
    level->SpawnHorde(-1, -1, &quest, nullptr, 3, 2);
    // The horde is queued onto the level like every move made during a turn.
    ApplyDeferredObjectMoves();
    std::vector<Monster*> members = ObjectsOf<Monster>(*level);
    ASSERT_FALSE(members.empty());
    EXPECT_EQ(quest.membersLeft, static_cast<int32_t>(members.size()));
    EXPECT_EQ(members[0]->hordeName, "The Ninth Cohort");
    for (Monster* m : members) {
        EXPECT_EQ(level->SquareKind(m->x, m->y), SquareType::Floor);
        EXPECT_TRUE(m->alwaysNotices);
        EXPECT_EQ(m->quest, &quest);
    }
    EXPECT_EQ(level->monsters.size(), members.size());
    // A square outside the grid that is not (-1, -1) spawns nothing.
    const size_t before = level->objects.size();
    level->SpawnHorde(-5, 3, nullptr, nullptr, 3, 2);
    level->SpawnHorde(3, 400, nullptr, nullptr, 3, 2);
    ApplyDeferredObjectMoves();
    EXPECT_EQ(level->objects.size(), before);
    // An unknown leader name falls back to a drawn leader with a diagnostic.
    testing::internal::CaptureStdout();
    level->SpawnHorde(10, 10, nullptr, "No Such Monster", 1, 1);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("No Such Monster"), std::string::npos);
    ApplyDeferredObjectMoves();
    EXPECT_GT(level->objects.size(), before);
}

TEST_F(LevelContentTest, AHordeRecordLeavesItsMonstersUnlabelledAndMovableWhereAMonsterRecordDoesNot) {
    LoadOurData();
    struct Case {
        const char* tag;
        const char* wantLabel;
        int32_t wantMovable;
    };
    // The same label and push flag given to both records.
    const Case cases[] = {{"monster", "army", 0}, {"horde", "", 1}};
    for (const Case& c : cases) {
        MTSeed(5);
        CSRand(5);
        auto level = OpenLevel(2);
        RoomReadContext ctx;
        std::unique_ptr<RoomObjectRecord> record(ReadRoomObjectRecord(
            c.tag, {{"x", "3"}, {"y", "4"}, {"id", "army"}, {"can_push", "0"}, {"min", "2"}, {"additional", "1"}}, ctx));
        ASSERT_NE(record, nullptr) << c.tag;
        testing::internal::CaptureStdout();
        EXPECT_TRUE(record->Spawn(10, 10, level.get())) << c.tag;
        testing::internal::GetCapturedStdout();
        ApplyDeferredObjectMoves();
        const std::vector<Monster*> members = ObjectsOf<Monster>(*level);
        ASSERT_FALSE(members.empty()) << c.tag;
        if (std::string(c.tag) == "horde") {
            EXPECT_GE(members.size(), 2u);
        }
        for (Monster* m : members) {
            EXPECT_EQ(m->roomID, c.wantLabel) << c.tag;
            EXPECT_EQ(m->movable, c.wantMovable) << c.tag;
        }
    }
}

TEST_F(LevelContentTest, SingleSpawnsPickTheirSquareByKind) {
    LoadOurData();
    MTSeed(21);
    CSRand(21);
    auto level = OpenLevel(3);
    // Swimmers need water: there is none.
    for (int32_t i = 0; i < 50; ++i) {
        Monster* m = level->SpawnMonster(-1, -1, true, false, true);
        if (m == nullptr) continue;
        EXPECT_EQ(m->record->terrain, 0);
        EXPECT_EQ(level->SquareKind(m->x, m->y), SquareType::Floor);
        EXPECT_NE(m->statusFlags & Monster::kStatusAsleep, 0u);  // asked to sleep
    }
    level->GetCell(20, 20)->type = SquareType::Water;
    level->waterSquares.emplace_back(20, 20);
    int32_t swimmers = 0;
    for (int32_t i = 0; i < 200; ++i) {
        Monster* m = level->SpawnMonster(-1, -1, false, false, true);
        if (m != nullptr && m->record->terrain == 1) {
            ++swimmers;
            EXPECT_EQ(m->x, 20);
            EXPECT_EQ(m->y, 20);
        }
    }
    EXPECT_GT(swimmers, 0);
    EXPECT_EQ(level->SpawnMonster(500, 3, false, false, false), nullptr);  // outside the grid
    for (GameObj* m : level->monsters) {
        EXPECT_NE(std::find(level->objects.begin(), level->objects.end(), m), level->objects.end());
    }
}

TEST_F(LevelContentTest, MissingQuestsAndFinalBossAreReportedNotFatal) {
    LoadOurData();
    RemoveSampleGenerationRecords();
    ClearMonsterDB();  // the data folder's monsters too
    InitMonsterTables();
    LevelGenCase genCase;
    genCase.seed = 2;
    genCase.depth = 9;
    testing::internal::CaptureStdout();
    bool accepted = false;
    std::unique_ptr<Level> level = GenerateLevelForCase(genCase, &accepted);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(accepted);
    EXPECT_NE(out.find("ZARNOCH ERROR: levelContent, line "), std::string::npos);
    EXPECT_NE(out.find("no quest shrine kinds"), std::string::npos);
    EXPECT_NE(out.find("no final boss"), std::string::npos);
    EXPECT_EQ(level->questBlocker, nullptr);
    EXPECT_TRUE(CheckGeneratedLevel(*level, genCase, accepted).empty());
}

TEST_F(LevelContentTest, ANewGameReportsTheEmptyQuestTableAgain) {
    LoadOurData();
    RemoveSampleGenerationRecords();
    auto reported = [](uint32_t seed) {
        LevelGenCase genCase;
        genCase.seed = seed;
        genCase.depth = 2;
        testing::internal::CaptureStdout();
        std::unique_ptr<Level> level = GenerateLevelForCase(genCase, nullptr);
        return testing::internal::GetCapturedStdout().find("no quest shrine kinds") != std::string::npos;
    };
    EXPECT_TRUE(reported(1));
    EXPECT_FALSE(reported(2));
    ResetGameState();  // the next game, in the same run
    EXPECT_TRUE(reported(3));
}

TEST_F(LevelContentTest, AnEmptyQuestTableIsReportedOnceNotWithEveryLevel) {
    LoadOurData();
    auto generate = [](uint32_t seed) {
        LevelGenCase genCase;
        genCase.seed = seed;
        genCase.depth = 2;
        testing::internal::CaptureStdout();
        std::unique_ptr<Level> level = GenerateLevelForCase(genCase, nullptr);
        return testing::internal::GetCapturedStdout().find("no quest shrine kinds") != std::string::npos;
    };
    EXPECT_FALSE(generate(1));  // the sample quest is there
    RemoveSampleGenerationRecords();
    EXPECT_TRUE(generate(2));
    EXPECT_FALSE(generate(3));
    EXPECT_FALSE(generate(4));
    // Quests come and go again: the next empty table is reported anew.
    InstallSampleGenerationRecords();
    EXPECT_FALSE(generate(5));
    RemoveSampleGenerationRecords();
    EXPECT_TRUE(generate(6));
}

TEST_F(LevelContentTest, QuickGamesGetATenthOfTheFixtures) {
    LoadOurData();
    SetTweak("fountain chance", 1);  // every fixture is a fountain
    SetTweak("minimum blockers", 25);
    SetTweak("blocker number a", 0);
    SetTweak("blocker number b", 0);
    for (bool quick : {false, true}) {
        LevelGenCase genCase;
        genCase.seed = 6;
        genCase.depth = 0;
        genCase.quick = quick;
        testing::internal::CaptureStdout();
        std::unique_ptr<Level> level = GenerateLevelForCase(genCase, nullptr);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(ObjectsOf<Fountain>(*level).size(), quick ? 2u : 25u);
    }
}

}  // namespace
