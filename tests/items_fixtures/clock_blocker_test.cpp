// Clocks counting down with their room events and ticker lines, timed blockers leaving the
// level and its custom-blocker list, and tileset blockers with indices that do not fit.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "creatures/player.h"
#include "items_fixtures/blockers.h"
#include "levels/branch_db.h"
#include "levels/level_test_map.h"
#include "levels/object_queue.h"
#include "media/ticker.h"

namespace {

using Events = std::set<std::string>;

class ClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = CurrentPlayer;
        hero_ = new Player();
        hero_->PlaceOnLevel(1, 1, level_.get(), 0);
        CurrentPlayer = hero_;
        ClearTickerLog();
    }
    void TearDown() override {
        DeleteQueuedObjects();
        CurrentPlayer = saved_;
    }
    Events EventsOf(Clock* clock) {
        auto it = level_->roomEvents.find({clock->roomNumber, clock->roomID});
        Events got = it == level_->roomEvents.end() ? Events() : it->second;
        level_->ClearRoomEvents();
        return got;
    }
    Clock* PlaceClock(int32_t initial, int32_t start, int32_t running) {
        Clock* clock = new Clock(level_.get(), -1, "props/clock.png", initial, start, running);
        clock->PlaceOnLevel(3, 3, level_.get(), 0);
        clock->SetRoomID("timer");
        level_->customBlockers.push_back(clock);
        return clock;
    }

    ScopedTestLevel level_{8, 8, SquareType::Floor};
    Player* hero_ = nullptr;
    Player* saved_ = nullptr;
};

TEST_F(ClockTest, AClockStartedAtThreeTicksDownInTheHerosRoomThenFallsSilent) {
    Clock* clock = PlaceClock(3, -1, 0);
    EXPECT_EQ(EventsOf(clock), Events());  // construction posts nothing
    clock->Start();
    EXPECT_EQ(EventsOf(clock), Events({"started"}));
    struct Turn {
        const char* line;
        Events events;
    };
    const Turn turns[] = {
        {"The timer ticks down to 2...", {"updated"}},
        {"The timer ticks down to 1...", {"updated"}},
        {"The timer ticks down to 0!", {"updated", "stopped", "expired"}},
    };
    for (const Turn& t : turns) {
        ClearTickerLog();
        clock->Update();
        const std::vector<std::string> log = TickerLog();
        ASSERT_EQ(log.size(), 1u) << t.line;
        EXPECT_EQ(log[0], t.line);
        EXPECT_EQ(EventsOf(clock), t.events) << t.line;
    }
    EXPECT_TRUE(clock->IsStopped());
    ClearTickerLog();
    for (int i = 0; i < 3; ++i) clock->Update();
    EXPECT_TRUE(TickerLog().empty());
    EXPECT_EQ(EventsOf(clock), Events());
    EXPECT_EQ(clock->value, 0);
    EXPECT_EQ(clock->GetDescription(), " It currently is stopped and reads 0.");
}

TEST_F(ClockTest, ARunningClockAtZeroExpiresOnceAtItsFirstUpdateInsteadOfCountingBelowZero) {
    Clock* clock = PlaceClock(5, 0, 1);
    EXPECT_EQ(EventsOf(clock), Events());
    EXPECT_TRUE(clock->IsRunning());
    clock->Update();
    EXPECT_EQ(EventsOf(clock), Events({"updated", "stopped", "expired"}));
    EXPECT_EQ(TickerLog(), std::vector<std::string>({"The timer ticks down to 0!"}));
    for (int i = 0; i < 3; ++i) clock->Update();
    EXPECT_EQ(EventsOf(clock), Events());
    EXPECT_EQ(TickerLog().size(), 1u);
}

TEST_F(ClockTest, AHeroInAnotherRoomSeesNoLineAndResetRestoresTheValueWithoutStarting) {
    level_->GetCell(1, 1)->room = 4;
    Clock* clock = PlaceClock(4, -1, 1);
    clock->Update();
    EXPECT_TRUE(TickerLog().empty());
    EXPECT_EQ(clock->value, 3);
    clock->Stop();
    clock->Reset();
    EXPECT_EQ(clock->value, 4);
    EXPECT_TRUE(clock->IsStopped());
    EXPECT_EQ(EventsOf(clock), Events({"updated", "stopped"}));
}

TEST_F(ClockTest, ATimedBlockerGoesAfterItsLastTurnAndLeavesTheBlockerList) {
    Blocker* wall = new Blocker(level_.get(), 2, "props/wall.png");
    wall->PlaceOnLevel(4, 4, level_.get(), 0);
    level_->customBlockers.push_back(wall);
    Blocker* pillar = new Blocker(level_.get(), 0, "props/pillar.png");
    pillar->PlaceOnLevel(5, 5, level_.get(), 0);
    level_->customBlockers.push_back(pillar);

    wall->Update();
    pillar->Update();
    EXPECT_EQ(QueuedDeletionCount(), 0u);
    wall->Update();
    EXPECT_EQ(QueuedDeletionCount(), 1u);
    DeleteQueuedObjects();
    EXPECT_FALSE(level_->HasObjectAt(4, 4));
    EXPECT_EQ(level_->customBlockers, std::vector<GameObj*>({pillar}));

    // Destroy takes it off the list at once, before the deletion point.
    pillar->Destroy();
    EXPECT_TRUE(level_->customBlockers.empty());
    DeleteQueuedObjects();
    EXPECT_FALSE(level_->HasObjectAt(5, 5));
}

TEST(TilesetBlocker, AnIndexOutsideTheBranchListGivesADiagnosticAndNoPicture) {
    ClearBranches();
    const std::string xml =
        "<branchDB><branch id='0' name='Test' depth='0'><leveldata min='0' max='99'/>"
        "<blocker png='props/a.png' passable='1'/></branch></branchDB>";
    ASSERT_TRUE(branchDBLoadFromBuffer(xml.data(), xml.size(), "test branches"));
    ScopedTestLevel level(4, 4, SquareType::Floor);
    ASSERT_NE(level->GetBranchRecord(), nullptr);
    ASSERT_EQ(level->GetBranchRecord()->blockers.size(), 1u);

    Blocker fits(level.get(), 0);
    EXPECT_EQ(fits.blocksMovement, 0);  // the entry is passable
    EXPECT_EQ(fits.blocksSight, 0);
    EXPECT_EQ(fits.coversSquareAbove, 1);

    for (int32_t index : {1, -5, 1000}) {
        testing::internal::CaptureStdout();
        Blocker outside(level.get(), index);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("outside the 1 blockers"), std::string::npos) << index;
        EXPECT_EQ(outside.bob.sprite, nullptr) << index;
        EXPECT_EQ(outside.blocksMovement, 1) << index;
    }
    ClearBranches();
}

}  // namespace
