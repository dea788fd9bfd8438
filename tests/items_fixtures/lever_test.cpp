// Levers of the four kinds: switching, the one-shot kinds and their stuck second pull, the
// chest lever's link and record, and the traps a trap lever springs.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "items_fixtures/chest.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_pickers.h"
#include "items_fixtures/passages.h"
#include "items_fixtures/record_bytes.h"
#include "items_fixtures/trap.h"
#include "levels/tutorial.h"
#include "tests/items_fixtures/lock_fixture.h"

namespace {

using namespace record_bytes;

const char kTrapItems[] = R"(<itemdb>
  <item name="Pit of Tests"><trap level="1" casts="Test Dart" trigger="once"/></item>
</itemdb>)";

class LeverTest : public LockTest {
protected:
    void TearDown() override {
        CurrentTutorial = savedTutorial_;
        LockTest::TearDown();
        ClearItemDB();
    }
    Lever* MakeLever(int32_t kind, int32_t x = 4, int32_t y = 3) {
        Lever* lever = new Lever();
        lever->kind = kind;
        lever->PlaceOnLevel(x, y, level_.get(), 0);
        return lever;
    }
    int32_t TrapsOnLevel() {
        int32_t n = 0;
        for (LevelCell& cell : level_->squares) {
            for (GameObj* obj : cell.contents) n += dynamic_cast<Trap*>(obj) != nullptr ? 1 : 0;
        }
        return n;
    }
    Tutorial* savedTutorial_ = CurrentTutorial;
};

TEST_F(LeverTest, PullTable) {
    const std::vector<std::string> pulled = {"You pull the lever."};
    const std::vector<std::string> stuck = {"You pull the lever.", "The lever is stuck and refuses to move."};
    struct Case {
        const char* name;
        int32_t kind;
        bool diagonal, cursorItem, tutorial, activatedBefore;
        int32_t result;
        int32_t activatedAfter;
        std::vector<std::string> lines;
        std::vector<std::string> sounds;
    };
    const Case cases[] = {
        {"from a diagonal square", 0, true, false, false, false, 0, 0, {}, {}},
        {"with an item on the cursor", 0, false, true, false, false, 0, 0, {}, {}},
        {"a plain switch turns on", 0, false, false, false, false, 1, 1, pulled, {"lever"}},
        {"a plain switch turns off", 0, false, false, false, true, 1, 0, pulled, {"lever"}},
        {"any other kind is a plain switch", 7, false, false, false, false, 1, 1, pulled, {"lever"}},
        {"in a tutorial a plain switch that is off ends off", 0, false, false, true, false, 1, 0, pulled, {"lever"}},
        {"a chest lever loaded on its own unlocks nothing", 3, false, false, false, false, 1, 1,
         {"You pull the lever.", "You hear the sounds of machinery."}, {"lever"}},
        {"a chest lever pulled again", 3, false, false, false, true, 1, 1, stuck, {"lever"}},
        {"a passage lever pulled again", 1, false, false, false, true, 1, 1, stuck, {"lever"}},
        {"a trap lever pulled again", 2, false, false, false, true, 1, 1, stuck, {"lever"}},
    };
    Tutorial tutorial;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearTickerLog();
        Sounds().clear();
        Lever* lever = MakeLever(c.kind);
        lever->activated = c.activatedBefore ? 1 : 0;
        PlaceHero(c.diagonal ? 3 : 4, c.diagonal ? 2 : 2);
        Misc* held = nullptr;
        if (c.cursorItem) {
            held = new Misc(1);
            SetCursorItem(held);
        }
        CurrentTutorial = c.tutorial ? &tutorial : nullptr;
        const int32_t wall = level_->SquareKind(5, 5);
        EXPECT_EQ(lever->Activate(), c.result);
        CurrentTutorial = nullptr;
        EXPECT_EQ(lever->activated, c.activatedAfter);
        EXPECT_EQ(TickerLog(), c.lines);
        EXPECT_EQ(Sounds(), c.sounds);
        EXPECT_EQ(level_->SquareKind(5, 5), wall) << "no square changes";
        if (held != nullptr) {
            ClearCursorItem();
            delete held;
        }
        QueueObjectDeletion(lever);
        ApplyDeferredObjectMoves();
    }
}

TEST_F(LeverTest, AChestLeverUnlocksItsChestOnce) {
    UberChest* chest = new UberChest();
    chest->content = new Misc(1);
    chest->PlaceOnLevel(8, 8, level_.get(), 0);
    Lever* lever = MakeLever(3);
    lever->linked = chest;
    lever->targetX = 8;
    lever->targetY = 8;
    // The chest was moved since the link was made: the record holds where it stands now.
    chest->PlaceOnLevel(9, 7, level_.get(), 0);
    const Bytes bytes = SaveBytes(*lever);
    EXPECT_EQ(Tail(bytes, bytes.size() - 12), Cat({Word(3), Word(9), Word(7)}));
    uint64_t left = 1;
    std::unique_ptr<GameObj> loaded = Reload(lever->GetClassHash(), bytes, kCurrentSaveVersion, &left);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(static_cast<Lever*>(loaded.get())->linked, nullptr) << "a lever loaded on its own keeps no link";
    PlaceHero(4, 2);
    EXPECT_EQ(lever->Activate(), 1);
    EXPECT_EQ(chest->locked, 0);
    EXPECT_EQ(lever->linked, nullptr);
    EXPECT_EQ(lever->activated, 1);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"lever"});
}

TEST_F(LeverTest, AChestLeverWhoseChestIsDestroyedForgetsItAndKeepsItsLastSquare) {
    struct Case {
        const char* name;
        bool viaDeletionQueue;  // a spell destroys the chest; else the chest is deleted outright
    };
    const Case cases[] = {{"destroyed by a spell", true}, {"deleted", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearTickerLog();
        UberChest* chest = new UberChest();
        chest->PlaceOnLevel(8, 8, level_.get(), 0);
        Lever* lever = MakeLever(3);
        lever->linked = chest;
        lever->targetX = 8;
        lever->targetY = 8;
        chest->PlaceOnLevel(9, 7, level_.get(), 0);
        if (c.viaDeletionQueue) {
            chest->Destroy();
            ApplyDeferredObjectMoves();
        } else {
            delete chest;
        }
        EXPECT_EQ(lever->linked, nullptr);
        // The record still names the square the chest last stood on; pulling unlocks nothing.
        const Bytes bytes = SaveBytes(*lever);
        EXPECT_EQ(Tail(bytes, bytes.size() - 12), Cat({Word(3), Word(9), Word(7)}));
        PlaceHero(4, 2);
        EXPECT_EQ(lever->Activate(), 1);
        EXPECT_EQ(TickerLog(), (std::vector<std::string>{"You pull the lever.", "You hear the sounds of machinery."}));
        QueueObjectDeletion(lever);
        ApplyDeferredObjectMoves();
    }
}

TEST_F(LeverTest, APassageLeverOpensItsWallSquare) {
    level_->GetCell(6, 6)->type = SquareType::Wall;
    Lever* lever = MakeLever(1);
    lever->targetX = 6;
    lever->targetY = 6;
    PlaceHero(4, 4);
    EXPECT_EQ(lever->Activate(), 1);
    EXPECT_EQ(level_->SquareKind(6, 6), SquareType::Floor);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"lever3"});
    EXPECT_EQ(TickerLog(), (std::vector<std::string>{"You pull the lever.", "You hear the sounds of machinery."}));
    // The rebuilt square has its tile layers again.
    EXPECT_TRUE(level_->HasSquareMaps());
}

TEST_F(LeverTest, ATrapLeverSpringsTrapsByItsDraws) {
    ASSERT_TRUE(itemDBLoadText(kTrapItems, "test traps"));
    for (int32_t wanted : {0, 1, 3}) {
        SCOPED_TRACE(wanted);
        // The first draw is above 0 when any trap comes; then each pass (which picks a trap
        // definition with its own draws) is followed by a fresh draw that the count must stay
        // below. The game generator is seeded the same for the replay and the pull.
        SeedCGeneratorFor([&] {
            MTSeed(77);
            ResetGaussianCache();
            const int32_t first = RandomInt(10);
            if (wanted == 0) return first == 0;
            if (first == 0) return false;
            int32_t passes = 0;
            do {
                RandomTrapDef();
                ++passes;
            } while (passes < RandomInt(10) && passes < 20);
            return passes == wanted;
        });
        MTSeed(77);
        ResetGaussianCache();
        ClearTickerLog();
        Lever* lever = MakeLever(2);
        PlaceHero(4, 2);
        EXPECT_EQ(lever->Activate(), 1);
        EXPECT_EQ(TickerLog(), (std::vector<std::string>{"You pull the lever.", "Oh no! Traps have activated!"}));
        ApplyDeferredObjectMoves();
        EXPECT_EQ(TrapsOnLevel(), wanted);
        for (LevelCell& cell : level_->squares) {
            for (GameObj* obj : std::vector<GameObj*>(cell.contents)) {
                if (dynamic_cast<Trap*>(obj) != nullptr) QueueObjectDeletion(obj);
            }
        }
        QueueObjectDeletion(lever);
        ApplyDeferredObjectMoves();
    }
}

TEST_F(LeverTest, WithoutTrapDefinitionsATrapLeverPlacesNothing) {
    ClearItemDB();
    SeedCGeneratorFor([] { return RandomInt(10) == 9; });
    Lever* lever = MakeLever(2);
    PlaceHero(4, 2);
    EXPECT_EQ(lever->Activate(), 1);
    ApplyDeferredObjectMoves();
    EXPECT_EQ(TrapsOnLevel(), 0);
}

}  // namespace
