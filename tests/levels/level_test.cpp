// Level squares: kinds, queries, objects, rooms, decorations, spell mines and shops.
#include "levels/level.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "levels/game_obj.h"
#include "creatures/player.h"
#include "creatures/shopkeeper.h"
#include "items_fixtures/item.h"
#include "levels/branch_db.h"
#include "levels/path_finding.h"
#include "levels/room_templates.h"
#include "media/bob.h"
#include "store_platform/stats.h"
#include "store_platform/store.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"
#include "tests/levels/level_test_map.h"

namespace {

class TestMonster : public GameObj {
public:
    int32_t IsMonster() override { return 1; }
};

// Puts a new object on the level (which owns it from then on).
template <class T>
T* PlaceNew(Level* level, int32_t x, int32_t y) {
    T* obj = new T();
    obj->PlaceOnLevel(x, y, level, 0);
    return obj;
}

// Sets the current hero for one test.
class ScopedHero {
public:
    explicit ScopedHero(Player* hero) : saved_(CurrentPlayer) { CurrentPlayer = hero; }
    ~ScopedHero() { CurrentPlayer = saved_; }

private:
    Player* saved_;
};

}  // namespace

TEST(LevelSquareKinds, WalkableAndLiquidKindsFollowTheKindTable) {
    struct Row {
        int32_t kind;
        bool walkable;
        bool liquid;
        bool plainFloor;
    };
    const Row rows[] = {
        {0, false, false, false},  {1, true, false, true},    {2, false, false, false},
        {3, true, false, false},   {4, true, false, false},   {5, true, false, false},
        {6, true, false, false},   {7, false, true, false},   {8, false, true, false},
        {9, false, true, false},   {10, false, true, false},  {11, false, false, false},
        {12, false, false, false}, {13, true, false, false},  {14, true, false, false},
        {15, false, false, false}, {-1, false, false, false}, {255, false, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.kind);
        EXPECT_EQ(IsWalkableSquareType(row.kind), row.walkable);
        EXPECT_EQ(IsLiquidSquareType(row.kind), row.liquid);
        EXPECT_EQ(IsPlainFloorType(row.kind), row.plainFloor);
    }
}

TEST(LevelQueries, AnswersForSquaresOutsideTheGridWithoutReadingThem) {
    ScopedTestLevel level({"~.", ".#"});
    struct Probe {
        int32_t x, y;
    };
    for (Probe p : {Probe{-1, 0}, Probe{2, 0}, Probe{0, -1}, Probe{0, 2}, Probe{-5, 99}}) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_FALSE(level->IsLiquidSquare(p.x, p.y));
        EXPECT_TRUE(level->IsNotLiquidSquare(p.x, p.y));
        EXPECT_FALSE(level->LacksWallTop(p.x, p.y));
        EXPECT_FALSE(level->IsClearFloor3x3(p.x, p.y));
        EXPECT_FALSE(level->IsOpenSquare(p.x, p.y));
        EXPECT_TRUE(level->IsSquareBlocked(p.x, p.y, true, true));
        EXPECT_TRUE(level->IsSquareObstructed(p.x, p.y, true));
        EXPECT_FALSE(level->HasSightBlocker(p.x, p.y));
        EXPECT_FALSE(level->IsSquarePassable(nullptr, p.x, p.y, true, true));
        EXPECT_FALSE(level->IsSquarePassableForMonster(nullptr, p.x, p.y, 2));
        EXPECT_EQ(level->GetCell(p.x, p.y), nullptr);
        level->HighlightSquare(p.x, p.y);  // ignored, no write outside
    }
    EXPECT_TRUE(level->IsLiquidSquare(0, 0));
    EXPECT_FALSE(level->IsNotLiquidSquare(0, 0));
    // Without tile maps no square has a wall top.
    EXPECT_TRUE(level->LacksWallTop(1, 1));
}

TEST(LevelQueries, ClearFloorBlockIgnoresNeighboursOutsideTheGrid) {
    ScopedTestLevel level({"...#",
                           "....",
                           "....",
                           "...."});
    EXPECT_TRUE(level->IsClearFloor3x3(0, 0));   // corner: four squares tested
    EXPECT_TRUE(level->IsClearFloor3x3(0, 3));
    EXPECT_FALSE(level->IsClearFloor3x3(2, 1));  // the wall at (3, 0) is a neighbour
    EXPECT_TRUE(level->IsClearFloor3x3(1, 2));
    level->GetCell(1, 2)->type = SquareType::FloorVariant;
    EXPECT_FALSE(level->IsClearFloor3x3(1, 2));  // only kind 1 counts
    EXPECT_FALSE(level->IsOpenSquare(1, 2));     // the floor variant is not open
    EXPECT_TRUE(level->IsOpenSquare(1, 1));
}

TEST(LevelQueries, BlockingObjectsCountByWhoTheyAre) {
    ScopedTestLevel level({"....", "B..."});
    Player* hero = PlaceNew<Player>(level.get(), 0, 0);
    PlaceNew<TestMonster>(level.get(), 1, 0);
    PlaceNew<GameObj>(level.get(), 2, 0);
    GameObj* passableBlocker = PlaceNew<GameObj>(level.get(), 3, 0);
    passableBlocker->passable = 1;
    GameObj* loose = PlaceNew<GameObj>(level.get(), 1, 1);
    loose->blocksMovement = 0;

    struct Row {
        int32_t x, y;
        bool heroMonsters, heroOnly, monstersOnly, neither;
    };
    const Row rows[] = {
        {0, 0, true, true, false, false},   // the hero
        {1, 0, true, false, true, false},   // a monster
        {2, 0, true, true, true, true},     // any other blocking object
        {3, 0, true, true, true, true},     // blocking though passable
        {1, 1, false, false, false, false}, // not blocking
        {0, 1, true, true, true, true},     // the blocked flag
        {2, 1, false, false, false, false}, // empty floor
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.x << "," << row.y);
        EXPECT_EQ(level->IsSquareBlocked(row.x, row.y, true, true), row.heroMonsters);
        EXPECT_EQ(level->IsSquareBlocked(row.x, row.y, true, false), row.heroOnly);
        EXPECT_EQ(level->IsSquareBlocked(row.x, row.y, false, true), row.monstersOnly);
        EXPECT_EQ(level->IsSquareBlocked(row.x, row.y, false, false), row.neither);
    }
    // Obstruction ignores passable blockers; the hero only when asked.
    EXPECT_FALSE(level->IsSquareObstructed(3, 0, true));
    EXPECT_TRUE(level->IsSquareObstructed(2, 0, false));
    EXPECT_FALSE(level->IsSquareObstructed(0, 0, false));
    EXPECT_TRUE(level->IsSquareObstructed(0, 0, true));
    // Blocked for one object means: by anything else.
    EXPECT_FALSE(level->IsSquareBlockedFor(0, 0, hero));
    EXPECT_TRUE(level->IsSquareBlockedFor(0, 0, nullptr));
    // Sight blockers: anything but the hero.
    EXPECT_FALSE(level->HasSightBlocker(0, 0));
    EXPECT_TRUE(level->HasSightBlocker(2, 0));
}

TEST(LevelQueries, PassabilityForTheHeroAndForOtherMovers) {
    ScopedTestLevel level({"..~.#", ".....", "B...."});
    Player* hero = PlaceNew<Player>(level.get(), 1, 1);
    GameObj* mover = PlaceNew<TestMonster>(level.get(), 4, 1);
    PlaceNew<GameObj>(level.get(), 0, 0);                          // blocks
    PlaceNew<GameObj>(level.get(), 1, 0)->passable = 1;            // passable blocker
    level->GetCell(2, 2)->flags |= SquareFlag::Blocked;

    // Liquids: only when allowed, or for a hero that may cross them.
    EXPECT_FALSE(level->IsSquarePassable(hero, 2, 0));
    EXPECT_TRUE(level->IsSquarePassable(nullptr, 2, 0, false, true));
    hero->waterWalkTurns = 1;
    EXPECT_TRUE(level->IsSquarePassable(hero, 2, 0));
    EXPECT_FALSE(level->IsSquarePassable(mover, 2, 0));
    // A liquid square passes before the blocked flag is looked at.
    level->GetCell(2, 0)->flags |= SquareFlag::Blocked;
    EXPECT_TRUE(level->IsSquarePassable(hero, 2, 0));
    EXPECT_FALSE(level->IsSquarePassable(hero, 2, 2));  // blocked floor
    EXPECT_FALSE(level->IsSquarePassable(hero, 0, 2));
    EXPECT_FALSE(level->IsSquarePassable(hero, 4, 0));  // wall

    // Objects stop other movers, never the hero, and never because of the hero or the
    // mover itself.
    EXPECT_TRUE(level->IsSquarePassable(hero, 0, 0));
    EXPECT_FALSE(level->IsSquarePassable(mover, 0, 0));
    EXPECT_TRUE(level->IsSquarePassable(mover, 0, 0, true));
    EXPECT_TRUE(level->IsSquarePassable(mover, 1, 0));
    EXPECT_TRUE(level->IsSquarePassable(mover, 1, 1));
    EXPECT_TRUE(level->IsSquarePassable(mover, 4, 1));
}

TEST(LevelQueries, MonsterMovementKindsPickTheirSquares) {
    ScopedTestLevel level({".~LGI#$z<"});
    struct Row {
        int32_t x;
        bool walker, swimmer, flier;
    };
    const Row rows[] = {
        {0, true, false, true},  {1, false, true, true},  {2, false, true, true},
        {3, false, true, true},  {4, false, false, true}, {5, false, false, false},
        {6, true, false, true},  {7, true, false, true},  {8, true, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.x);
        EXPECT_EQ(level->IsSquarePassableForMonster(nullptr, row.x, 0, 0), row.walker);
        EXPECT_EQ(level->IsSquarePassableForMonster(nullptr, row.x, 0, 1), row.swimmer);
        EXPECT_EQ(level->IsSquarePassableForMonster(nullptr, row.x, 0, 2), row.flier);
        EXPECT_EQ(level->IsSquarePassableForMonster(nullptr, row.x, 0, -7), row.flier);
    }
    // Any blocking object stops a monster, even a passable one.
    GameObj* post = PlaceNew<GameObj>(level.get(), 0, 0);
    post->passable = 1;
    EXPECT_FALSE(level->IsSquarePassableForMonster(nullptr, 0, 0, 0));
}

TEST(LevelObjects, RemoveTakesOnlyTheFirstOccurrence) {
    Level level(0, 0);
    GameObj a;
    TestMonster m;
    level.AddObject(&m);
    level.AddObject(&a);
    level.AddObject(&m);
    level.monsters = {&m, &m};
    level.RemoveObject(&m);
    EXPECT_EQ(level.objects, (std::vector<GameObj*>{&a, &m}));
    EXPECT_EQ(level.monsters, (std::vector<GameObj*>{&m}));
    level.RemoveObject(&m);
    level.RemoveObject(&a);
    EXPECT_TRUE(level.objects.empty());
    EXPECT_TRUE(level.monsters.empty());
}

TEST(LevelObjects, CellRemoveClearsTheObjectsSquare) {
    ScopedTestLevel level({"..."});
    GameObj* obj = PlaceNew<GameObj>(level.get(), 1, 0);
    LevelCell* cell = level->GetCell(1, 0);
    ASSERT_EQ(obj->cell, cell);
    cell->RemoveObject(obj);
    EXPECT_TRUE(cell->contents.empty());
    EXPECT_EQ(obj->cell, nullptr);
    cell->RemoveObject(obj);  // not listed: nothing happens
    cell->RemoveObject(nullptr);
}

TEST(LevelObjects, RoomEventsAreLookedUpWithoutCreatingKeys) {
    Level level(0, 0);
    EXPECT_FALSE(level.HasRoomEvent(2, "lever", "pulled"));
    EXPECT_TRUE(level.roomEvents.empty());
    level.AddRoomEvent(2, "lever", "pulled");
    level.AddRoomEvent(2, "lever", "pulled");
    level.AddRoomEvent(1, "door", "opened");
    EXPECT_TRUE(level.HasRoomEvent(2, "lever", "pulled"));
    EXPECT_FALSE(level.HasRoomEvent(2, "lever", "opened"));
    EXPECT_FALSE(level.HasRoomEvent(1, "lever", "pulled"));
    ASSERT_EQ(level.roomEvents.size(), 2u);
    EXPECT_EQ(level.roomEvents.begin()->first, std::make_pair(1, std::string("door")));
    level.ClearRoomEvents();
    EXPECT_TRUE(level.roomEvents.empty());
}

TEST(LevelRooms, RoomNumbersStopBeforeTheNoRoomValue) {
    Level level(0, 0);
    for (int32_t expected = 0; expected < 255; ++expected) {
        ASSERT_EQ(level.TakeRoomNumber(), expected);
    }
    // 255 means "no room": the counter neither hands it out nor wraps to 0.
    EXPECT_EQ(level.TakeRoomNumber(), -1);
    EXPECT_EQ(level.TakeRoomNumber(), -1);
    EXPECT_EQ(level.nextRoomNumber, 255);
    level.ClearRooms();
    EXPECT_EQ(level.TakeRoomNumber(), 0);
}

TEST(LevelRooms, LookupsThroughARoomIndexCheckTheIndexFirst) {
    ScopedTestLevel level({"....", "...."});
    Player hero;
    ScopedHero heroScope(&hero);

    // A level without room records: every index answers nothing.
    for (int32_t index : {0, 3, 254, 255, -1}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(level->GetRoomRecord(index), nullptr);
        EXPECT_EQ(level->GetRoomTemplate(index), nullptr);
        EXPECT_EQ(level->GetRoomName(index), "");
        hero.currentRoom = static_cast<uint8_t>(index);
        EXPECT_EQ(level->GetPlayerRoomRecord(), nullptr);
    }

    RoomTemplate tmpl("closet", 2, 2);
    level->rooms.push_back(new RoomRecord(0));
    level->rooms.push_back(new RoomRecord(1));
    level->rooms[1]->roomTemplate = &tmpl;
    level->roomNames = {"Hall", "Closet"};
    level->GetCell(3, 1)->room = 1;
    EXPECT_EQ(level->GetRoomRecordAt(3, 1), level->rooms[1]);
    EXPECT_EQ(level->GetRoomRecordAt(9, 9), nullptr);
    EXPECT_EQ(level->GetRoomTemplate(1), &tmpl);
    EXPECT_EQ(level->GetRoomName(1), "Closet");
    EXPECT_EQ(level->GetRoomName(2), "");
    hero.currentRoom = 1;
    EXPECT_EQ(level->GetPlayerRoomRecord(), level->rooms[1]);
    hero.currentRoom = kNoRoomIndex;  // back from a portal
    EXPECT_EQ(level->GetPlayerRoomRecord(), nullptr);
    hero.currentRoom = 2;
    EXPECT_EQ(level->GetPlayerRoomRecord(), nullptr);
}

TEST(LevelGrid, EveryPathNodeHoldsItsOwnSquare) {
    ScopedTestLevel level({"#~ .", "LG.<"});
    for (int32_t y = 0; y < level->height; ++y) {
        for (int32_t x = 0; x < level->width; ++x) {
            EXPECT_EQ(level->GetCell(x, y)->pathNode.x, x);
            EXPECT_EQ(level->GetCell(x, y)->pathNode.y, y);
        }
    }
    // Setting the nodes again keeps them, also on squares no walker could enter.
    for (LevelCell& cell : level->squares) cell.pathNode.x = cell.pathNode.y = 0;
    BuildAStarForLevel();
    EXPECT_EQ(level->GetCell(1, 0)->pathNode.x, 1);  // water
    EXPECT_EQ(level->GetCell(0, 1)->pathNode.y, 1);  // lava
    EXPECT_EQ(level->GetCell(2, 0)->pathNode.x, 2);  // rock
}

namespace {

// A Bob that counts its destructions, to see each owned Bob freed exactly once.
class CountedBob : public Bob {
public:
    ~CountedBob() override { ++destroyed; }
    static int32_t destroyed;
};
int32_t CountedBob::destroyed = 0;

}  // namespace

TEST(LevelDecorations, ASquareOwnsOnlyTheBobsHandedToIt) {
    ScopedTestLevel level({"...."});
    GameObj* statue = PlaceNew<GameObj>(level.get(), 0, 0);
    // An object's own Bob, linked to squares for drawing and flagged like a finished
    // effect: the squares draw it but never free it.
    statue->bob.deleteWhenDone = true;
    statue->bob.finished = true;
    LinkBobToTile(&statue->bob, 0, 0);
    LinkBobToTile(&statue->bob, 1, 0);

    Bob* effect = level->AdoptEffectBob(std::make_unique<Bob>(), 2, 0);
    ASSERT_NE(effect, nullptr);
    effect->deleteWhenDone = true;
    LinkBobToTile(effect, 3, 0);  // drawn over two squares, owned by one
    EXPECT_TRUE(level->GetCell(2, 0)->OwnsDecoration(effect));
    EXPECT_FALSE(level->GetCell(3, 0)->OwnsDecoration(effect));
    EXPECT_EQ(level->AdoptEffectBob(nullptr, 3, 0), nullptr);

    EXPECT_EQ(level->ReapFinishedEffects(), 0);  // the effect still plays
    effect->finished = true;
    EXPECT_EQ(level->ReapFinishedEffects(), 1);
    EXPECT_TRUE(level->GetCell(2, 0)->decorations.empty());
    EXPECT_TRUE(level->GetCell(3, 0)->bobs.empty());
    EXPECT_EQ(level->GetCell(0, 0)->bobs.size(), 1u);  // the statue's Bob stays, unfreed

    // An effect still owned when the level goes is deleted with its square; the leak
    // checker of the sanitizer build sees a leak or a double free otherwise.
    Bob* lingering = level->AdoptEffectBob(std::make_unique<Bob>(), 1, 0);
    ASSERT_NE(lingering, nullptr);
    LinkBobToTile(lingering, 0, 0);
}

TEST(LevelDecorations, EveryOwnedBobIsFreedOnceByItsSquare) {
    CountedBob::destroyed = 0;
    {
        ScopedTestLevel level({"...", "..."});
        // Outside the grid nobody can own it: it goes at once.
        EXPECT_EQ(level->AdoptEffectBob(std::make_unique<CountedBob>(), 3, 0), nullptr);
        EXPECT_EQ(CountedBob::destroyed, 1);

        Bob* reaped = level->AdoptEffectBob(std::make_unique<CountedBob>(), 0, 0);
        Bob* kept = level->AdoptEffectBob(std::make_unique<CountedBob>(), 1, 1);
        Bob* sameSquare = level->AdoptEffectBob(std::make_unique<CountedBob>(), 1, 1);
        ASSERT_NE(reaped, nullptr);
        ASSERT_NE(kept, nullptr);
        ASSERT_NE(sameSquare, nullptr);
        LinkBobToTile(reaped, 2, 1);
        LinkBobToTile(kept, 0, 0);  // linked where another owned Bob lives
        LinkBobToTile(kept, 0, 1);
        reaped->deleteWhenDone = true;
        reaped->finished = true;
        kept->finished = true;  // finished, but not to be deleted when done
        EXPECT_EQ(level->ReapFinishedEffects(), 1);
        EXPECT_EQ(CountedBob::destroyed, 2);
        EXPECT_TRUE(level->GetCell(2, 1)->bobs.empty());
        EXPECT_EQ(level->GetCell(1, 1)->decorations.size(), 2u);
        // A new Bob handed over after the first one was freed is owned like any other,
        // even where the allocator hands out the same address again.
        Bob* again = level->AdoptEffectBob(std::make_unique<CountedBob>(), 0, 0);
        ASSERT_NE(again, nullptr);
        EXPECT_TRUE(level->GetCell(0, 0)->OwnsDecoration(again));
    }
    // The level took the three it still owned with it, each once.
    EXPECT_EQ(CountedBob::destroyed, 5);
}

TEST(LevelDecorations, ObjectBobsOutliveTheLevelUnlinked) {
    Bob kept;
    {
        ScopedTestLevel level({".."});
        LinkBobToTile(&kept, 0, 0);
        LinkBobToTile(&kept, 1, 0);
        ASSERT_NE(level->AdoptEffectBob(std::make_unique<Bob>(), 1, 0), nullptr);
    }
    EXPECT_TRUE(kept.linkedLists.empty());
}

TEST(LevelSpellMines, MinesBelongToTheirSquares) {
    ScopedTestLevel level({"..."});
    SpellMine* first = level->AddSpellMine(1, 0, nullptr, 4, nullptr, 9);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->cell, level->GetCell(1, 0));
    EXPECT_EQ(first->spellIndex, 4);
    EXPECT_EQ(first->value, 9);
    EXPECT_EQ(level->AddSpellMine(3, 0, nullptr, 0, nullptr, 0), nullptr);
    SpellMine* second = level->AddSpellMine(1, 0, nullptr, 5, nullptr, 0);
    EXPECT_EQ(level->GetCell(1, 0)->mines.size(), 2u);
    EXPECT_TRUE(level->RemoveSpellMine(first));
    EXPECT_FALSE(level->RemoveSpellMine(first));
    EXPECT_EQ(level->spellMines, std::vector<SpellMine*>{second});
    EXPECT_EQ(level->GetCell(1, 0)->mines, std::vector<SpellMine*>{second});
    // The second one goes with its square (no leak in the sanitizer build).
}

TEST(LevelShops, ShopkeepersRunToTheAlertSquareAndBackHome) {
    ScopedTestLevel level({"$$$$", "$$$$", "...."});
    Player* hero = PlaceNew<Player>(level.get(), 0, 0);
    ScopedHero heroScope(hero);
    Shopkeeper* keeper = PlaceNew<Shopkeeper>(level.get(), 3, 0);
    level->monsters.push_back(keeper);
    level->shopkeepers.push_back(keeper);
    keeper->guardX = 1;
    keeper->guardY = 1;
    ASSERT_EQ(keeper->homeX, 3);

    Item goods;
    goods.unpaid = 1;
    hero->quickSlots[0] = &goods;

    level->UpdateShopkeeperPositions();
    EXPECT_EQ(keeper->atGuard, 1);
    EXPECT_EQ(keeper->x, 1);
    EXPECT_EQ(keeper->y, 1);
    EXPECT_EQ(keeper->cell, level->GetCell(1, 1));

    // Outside the shop the alarm ends and the keeper goes back to its own home.
    hero->PlaceOnLevel(0, 2, level.get(), 0);
    level->UpdateShopkeeperPositions();
    EXPECT_EQ(keeper->atGuard, 0);
    EXPECT_EQ(keeper->x, 3);
    EXPECT_EQ(keeper->y, 0);
    EXPECT_EQ(keeper->homeX, 3);
    hero->quickSlots[0] = nullptr;
}

TEST(LevelShops, AngryShopkeepersTurnHostileAndTheGoodsArePaid) {
    TempDir tmp;
    ScopedEnv user("VAULTMERE_USER_DIR", tmp.path().c_str());
    SteamAPI_Shutdown();
    ScopedTestLevel level({"$$"});
    Player* hero = PlaceNew<Player>(level.get(), 0, 0);
    ScopedHero heroScope(hero);
    Shopkeeper* keeper = PlaceNew<Shopkeeper>(level.get(), 1, 0);
    level->shopkeepers.push_back(keeper);
    Item goods;
    goods.unpaid = 1;
    hero->quickSlots[2] = &goods;

    AngerShopkeepers(nullptr);  // nothing to anger
    AngerShopkeepers(level.get());  // no store running: still angry, no crash
    EXPECT_EQ(level->shopkeepersAngry, 1);
    EXPECT_EQ(keeper->hostile, 1);
    EXPECT_EQ(goods.unpaid, 0);

    ASSERT_TRUE(SteamAPI_Init());
    InitSteamStats();
    AngerShopkeepers(level.get());
    bool achieved = false;
    ASSERT_TRUE(SteamUserStats()->GetAchievement("ACHIEVEMENT_ACCIDENTS_HAPPEN", &achieved));
    EXPECT_TRUE(achieved);
    SteamAPI_Shutdown();
    hero->quickSlots[2] = nullptr;
}

TEST(LevelObjects, SideListsForgetAnObjectThatLeaves) {
    ScopedTestLevel level({".."});
    Shopkeeper* keeper = PlaceNew<Shopkeeper>(level.get(), 1, 0);
    level->shopkeepers.push_back(keeper);
    GameObj* blocker = PlaceNew<GameObj>(level.get(), 0, 0);
    level->customBlockers.push_back(blocker);
    delete keeper;
    delete blocker;
    EXPECT_TRUE(level->shopkeepers.empty());
    EXPECT_TRUE(level->customBlockers.empty());
    EXPECT_TRUE(level->objects.empty());
}

TEST(LevelConstruction, TakesTheFirstBranchWhoseDepthRangeHoldsTheDepth) {
    std::vector<BranchRecord*> saved;
    saved.swap(Branches);
    auto addBranch = [](int32_t id, int32_t minDepth, int32_t maxDepth) {
        BranchRecord* branch = new BranchRecord();
        branch->id = id;
        branch->minDepth = minDepth;
        branch->maxDepth = maxDepth;
        Branches.push_back(branch);
    };
    addBranch(4, 0, 2);
    addBranch(7, 3, 5);
    addBranch(9, 3, 9);  // overlaps: the first in table order wins
    struct Row {
        int32_t depth;
        int32_t branch;
    };
    for (Row row : {Row{0, 4}, Row{2, 4}, Row{3, 7}, Row{5, 7}, Row{6, 9}, Row{10, 0}, Row{-1, 0}}) {
        SCOPED_TRACE(row.depth);
        Level level(123, row.depth);
        EXPECT_EQ(level.depth, row.depth);
        EXPECT_EQ(level.branchId, row.branch);
        EXPECT_EQ(level.previousRoom, -1);
        EXPECT_EQ(level.width, 0);
        EXPECT_TRUE(level.squares.empty());
        EXPECT_EQ(level.GetBranchRecord() != nullptr, row.branch != 0);
    }
    // A level made for loading looks nothing up.
    std::unique_ptr<Level> loading(Level::LevelForLoading());
    EXPECT_EQ(loading->branchId, 0);
    EXPECT_EQ(loading->tilesetImage, nullptr);
    EXPECT_TRUE(loading->squares.empty());
    EXPECT_EQ(loading->previousRoom, -1);
    ClearBranches();
    Branches.swap(saved);
}
