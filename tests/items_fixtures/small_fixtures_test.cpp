// The small fixtures with forced rolls: fountains, fridges, chests of evil, dirt, rifts,
// teleporters, stairs and portals.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/event_log.h"
#include "core/random.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "items_fixtures/furniture.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/passages.h"
#include "items_fixtures/spell_clouds.h"
#include "items_fixtures/weapon.h"
#include "levels/level_test_map.h"
#include "levels/object_queue.h"
#include "media/ticker.h"

namespace {

int32_t gDrinkAnswer = 1;
std::vector<std::string> gShownTexts;
int32_t AnswerDrink() { return gDrinkAnswer; }
void RecordText(const char* text) { gShownTexts.push_back(text != nullptr ? text : ""); }

class SmallFixtures : public ::testing::Test {
protected:
    void SetUp() override {
        savedHero_ = CurrentPlayer;
        savedDialogs_ = FountainDialogs;
        FountainDialogs = {AnswerDrink, RecordText};
        gDrinkAnswer = 1;
        gShownTexts.clear();
        hero_ = new Player();
        hero_->PlaceOnLevel(3, 2, level_.get(), 0);
        CurrentPlayer = hero_;
        ClearTickerLog();
        ClearCursorItem();
    }
    void TearDown() override {
        DeleteQueuedObjects();
        ApplyDeferredObjectMoves();
        for (Item*& cell : InventoryGrid.cells) {
            if (cell == nullptr) continue;
            RemoveItemFromGrid(cell);
            delete cell;
        }
        ClearCursorItem();
        FountainDialogs = savedDialogs_;
        ClearSpellTable();
        ClearItemDB();
        CurrentPlayer = savedHero_;
    }
    static void LoadSpells(const std::string& xml) {
        ClearSpellTable();
        ASSERT_TRUE(spellDBLoadFromText(xml.data(), xml.size(), "test spells"));
    }
    static void LoadOurItems() {
        std::ifstream file(std::string(VAULTMERE_SOURCE_DIR) + "/data/game/itemDB.xml");
        std::stringstream text;
        text << file.rdbuf();
        ASSERT_TRUE(itemDBLoadText(text.str(), "itemDB.xml"));
    }
    template <class T>
    T* Place(T* obj, int32_t x, int32_t y) {
        obj->PlaceOnLevel(x, y, level_.get(), 0);
        return obj;
    }

    ScopedTestLevel level_{{"#######", "#.....#", "#.....#", "#.....#", "#>....#", "#######"}};
    Player* hero_ = nullptr;
    Player* savedHero_ = nullptr;
    FountainDialogSet savedDialogs_{};
};

TEST_F(SmallFixtures, FountainsGiveOneDrinkToAnOrthogonalNeighbourWhoAccepts) {
    LoadSpells(
        "<spellDB><spell name=\"Sip\"/><fountain name=\"Sip\" text=\"Cold water.\"/></spellDB>");
    struct Case {
        const char* what;
        int32_t heroX, heroY;
        int32_t dry;
        int32_t answer;
        int32_t result;
        int32_t dryAfter;
        size_t casts;
    };
    const Case cases[] = {
        {"dry", 3, 2, 1, 1, 0, 1, 0},
        {"diagonal", 4, 1, 0, 1, 0, 0, 0},
        {"declined", 3, 2, 0, 0, 1, 0, 0},
        {"drunk", 3, 2, 0, 1, 1, 1, 1},
    };
    for (const Case& c : cases) {
        Fountain* fountain = Place(new Fountain(), 3, 3);
        fountain->dry = c.dry;
        hero_->PlaceOnLevel(c.heroX, c.heroY, level_.get(), 0);
        gDrinkAnswer = c.answer;
        gShownTexts.clear();
        SpellCallLog calls;
        SpellCallRecorder = &calls;
        EXPECT_EQ(fountain->Activate(), c.result) << c.what;
        SpellCallRecorder = nullptr;
        EXPECT_EQ(fountain->dry, c.dryAfter) << c.what;
        ASSERT_EQ(calls.casts.size(), c.casts) << c.what;
        if (c.casts == 1) {
            EXPECT_EQ(gShownTexts, std::vector<std::string>({"Cold water."}));
            EXPECT_EQ(calls.casts[0].spell, spellDBFindByName("Sip"));
            EXPECT_EQ(calls.casts[0].casterX, 3);
            EXPECT_EQ(calls.casts[0].casterY, 3);
            EXPECT_EQ(calls.casts[0].targetX, c.heroX);
            EXPECT_EQ(calls.casts[0].targetY, c.heroY);
            EXPECT_EQ(calls.casts[0].caster, hero_);
            for (const SpellEffectsCall& e : calls.effects) EXPECT_EQ(e.cause, "by ignoring the boil water advisory");
            EXPECT_EQ(fountain->GetName(), "Empty Fountain");
        }
        fountain->Destroy();
        DeleteQueuedObjects();
    }
}

TEST_F(SmallFixtures, AFountainWithAnEmptyListGoesDryShowingAndCastingNothing) {
    ClearSpellTable();
    Fountain* fountain = Place(new Fountain(), 3, 3);
    SpellCallLog calls;
    SpellCallRecorder = &calls;
    testing::internal::CaptureStdout();
    EXPECT_EQ(fountain->Activate(), 1);
    testing::internal::GetCapturedStdout();
    SpellCallRecorder = nullptr;
    EXPECT_EQ(fountain->dry, 1);
    EXPECT_TRUE(gShownTexts.empty());
    EXPECT_TRUE(calls.casts.empty());
}

TEST_F(SmallFixtures, TheFridgeFindsAPotionOnlyOnALuckyFirstRaid) {
    LoadOurItems();
    Freezer* fridge = Place(new Freezer(), 3, 3);
    // Find a seed whose first one-in-two roll succeeds, and one where it fails.
    uint32_t lucky = 0, unlucky = 0;
    for (uint32_t seed = 1; seed < 50 && (lucky == 0 || unlucky == 0); ++seed) {
        MTSeed(seed);
        (MTOneChanceIn(2) ? lucky : unlucky) = seed;
    }
    ASSERT_NE(lucky, 0u);
    ASSERT_NE(unlucky, 0u);

    EXPECT_EQ(fridge->BumpedByPlayer(), 0);  // an empty pointer does not raid it
    EXPECT_EQ(fridge->raided, 0);

    MTSeed(unlucky);
    EXPECT_EQ(fridge->Activate(), 1);
    MTSeed(lucky);
    EXPECT_EQ(fridge->Activate(), 1);  // raided already: nothing even on a lucky roll
    Freezer* fresh = Place(new Freezer(), 2, 3);
    hero_->PlaceOnLevel(2, 2, level_.get(), 0);
    MTSeed(lucky);
    EXPECT_EQ(fresh->Activate(), 1);
    const std::vector<std::string> log = TickerLog();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "You find nothing in the mini-fridge.");
    EXPECT_EQ(log[1], "You find nothing in the mini-fridge.");
    EXPECT_EQ(log[2], "You find a potion in the mini-fridge.");
    EXPECT_EQ(fresh->raided, 1);
    EXPECT_EQ(fresh->bob.frame, 1);
    // The potion goes to the hero's bag.
    int32_t given = 0;
    for (const std::string& line : log) given += line.rfind("You put ", 0) == 0 ? 1 : 0;
    EXPECT_EQ(given, 1);

    hero_->PlaceOnLevel(4, 4, level_.get(), 0);  // diagonal
    EXPECT_EQ(fresh->Activate(), 0);
}

TEST_F(SmallFixtures, TheChestOfEvilOpensOnceWhetherOrNotItCouldMakeAnything) {
    // No monster tables and no weapon to pick: nothing can be made, and the chest still opens.
    bool noMonster = false, noWeapon = false;
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        EvilChest* chest = Place(new EvilChest(), 1 + static_cast<int32_t>(seed % 5), 3);
        MTSeed(seed);
        testing::internal::CaptureStdout();
        EXPECT_EQ(chest->Activate(), 1);
        const std::string out = testing::internal::GetCapturedStdout();
        noMonster = noMonster || out.find("chest of evil: no monster could be made") != std::string::npos;
        noWeapon = noWeapon || out.find("chest of evil: no weapon definition to be had") != std::string::npos;
        EXPECT_EQ(chest->opened, 1);
        EXPECT_EQ(chest->blocksMovement, 0);
        EXPECT_EQ(chest->blocksSight, 0);
        EXPECT_EQ(chest->Activate(), 0);
        chest->Destroy();
        DeleteQueuedObjects();
    }
    EXPECT_TRUE(noMonster);
    EXPECT_TRUE(noWeapon);
    EXPECT_TRUE(TickerLog().empty());
}

TEST_F(SmallFixtures, SporesInDirtGrowAMushroomAfterFiveTurns) {
    LoadOurItems();
    Dirt* dirt = Place(new Dirt(), 3, 3);
    Misc* spores = new Misc(1);
    spores->count = 1;
    Misc* picks = new Misc(0);
    EXPECT_EQ(dirt->AcceptsItem(picks), 0);
    EXPECT_EQ(dirt->UseItemOn(picks), 0);
    EXPECT_EQ(dirt->UseItemOn(spores), 1);
    EXPECT_EQ(QueuedDeletionCount(), 1u);  // a stack of one is used up
    Misc more(1);
    EXPECT_EQ(dirt->UseItemOn(&more), 0);  // already planted
    EXPECT_EQ(more.count, 1);
    EXPECT_EQ(dirt->Activate(), 0);
    EXPECT_EQ(TickerLog().back(), "The dirt looks at you, dirtily.");
    DeleteQueuedObjects();
    delete picks;
    for (int turn = 1; turn <= 4; ++turn) {
        dirt->Update();
        EXPECT_EQ(QueuedMoveCount(), 0u) << turn;
    }
    dirt->Update();
    EXPECT_EQ(dirt->planted, 0);
    EXPECT_EQ(QueuedMoveCount(), 1u);
    EXPECT_EQ(QueuedDeletionCount(), 1u);  // no skill: the dirt is used up
    ApplyDeferredObjectMoves();
    bool mushroom = false;
    for (GameObj* obj : level_->GetCell(3, 3)->contents) mushroom = mushroom || dynamic_cast<Mushroom*>(obj) != nullptr;
    EXPECT_TRUE(mushroom);
}

TEST_F(SmallFixtures, ARiftGoesWhenItsLifetimeFallsBelowZero) {
    Rift* rift = Place(new Rift(2), 2, 2);
    for (int turn = 1; turn <= 2; ++turn) {
        rift->Update();
        EXPECT_EQ(QueuedDeletionCount(), 0u) << turn;
    }
    rift->Update();
    EXPECT_EQ(QueuedDeletionCount(), 1u);
}

TEST_F(SmallFixtures, TeleportersMoveTheHeroOnlyOntoPlainFloor) {
    struct Case {
        int32_t partnerX, partnerY;
        int32_t heroX, heroY;
    };
    const Case cases[] = {{0, 0, 1, 1}, {5, 3, 5, 3}, {1, 4, 1, 1}, {-3, 2, 1, 1}};
    for (const Case& c : cases) {
        Teleporter* glyph = Place(new Teleporter(c.partnerX, c.partnerY), 1, 1);
        hero_->PlaceOnLevel(1, 1, level_.get(), 0);
        hero_->walkInterrupted = 0;
        glyph->PlayerEntered();
        EXPECT_EQ(hero_->x, c.heroX) << c.partnerX << "," << c.partnerY;
        EXPECT_EQ(hero_->y, c.heroY) << c.partnerX << "," << c.partnerY;
        glyph->Destroy();
        DeleteQueuedObjects();
    }
}

// The level changes the passages asked for, recorded instead of carried out.
struct TravelCall {
    enum Kind { kNone, kDescend, kAscend, kPortal } kind = kNone;
    int32_t stairIndex = 0;
    int32_t branchId = 0;
    int32_t depth = 0;
};
std::vector<TravelCall> TravelCalls;
void RecordDescend(int32_t stair, int32_t branch, int32_t depth) {
    TravelCalls.push_back({TravelCall::kDescend, stair, branch, depth});
}
void RecordAscend(int32_t stair, int32_t branch, int32_t depth) {
    TravelCalls.push_back({TravelCall::kAscend, stair, branch, depth});
}
void RecordPortal() { TravelCalls.push_back({TravelCall::kPortal, 0, 0, 0}); }

TEST_F(SmallFixtures, StairsAndPortalsAskForTheirLevelChanges) {
    ASSERT_TRUE(OpenEventLog(testing::TempDir() + "fixture_events.log"));
    level_->depth = 4;
    level_->branchId = 2;
    level_->GetCell(1, 4)->stairIndex = 3;
    Stairs* down = Place(new Stairs(0), 1, 4);
    hero_->PlaceOnLevel(1, 4, level_.get(), 0);
    const PassageTravel saved = PassageTravelActions;
    PassageTravelActions = {RecordDescend, RecordAscend, RecordPortal};
    TravelCalls.clear();
    down->PlayerEntered();
    ASSERT_EQ(TravelCalls.size(), 1u);
    EXPECT_EQ(TravelCalls.back().kind, TravelCall::kDescend);
    EXPECT_EQ(TravelCalls.back().stairIndex, 3);
    EXPECT_EQ(TravelCalls.back().branchId, 2);
    EXPECT_EQ(TravelCalls.back().depth, 5);
    Stairs* up = Place(new Stairs(1), 1, 4);
    up->PlayerEntered();
    EXPECT_EQ(TravelCalls.back().kind, TravelCall::kAscend);
    EXPECT_EQ(TravelCalls.back().depth, 3);
    Portal* portal = Place(new Portal(), 2, 2);
    portal->PlayerEntered();
    EXPECT_EQ(TravelCalls.back().kind, TravelCall::kPortal);
    EXPECT_EQ(TravelCalls.size(), 3u);
    PassageTravelActions = saved;
    EXPECT_EQ(QueuedDeletionCount(), 1u);
    DeleteQueuedObjects();
    EXPECT_FALSE(level_->HasObjectAt(2, 2));
    CloseEventLog();
    std::ifstream log(testing::TempDir() + "fixture_events.log");
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_EQ(text.str(), "EVENT: Player descended a staircase\nEVENT: Player ascended a staircase\n");
}

}  // namespace
