// The turn engine: the order of a turn's steps, deferred deletion and deferred moves.
#include <gtest/gtest.h>

#include "levels/game_obj.h"
#include "core/random.h"
#include "core/shell/turn_engine.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "levels/level.h"
#include "media/ticker.h"

#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Log;

// An object that writes what the engine asks of it into the log.
class Recorder : public GameObj {
public:
    explicit Recorder(std::string label) : name_(std::move(label)) {}
    ~Recorder() override { Log.push_back(name_ + ":deleted"); }
    void Update() override {
        Log.push_back(name_ + ":update");
        if (onUpdate) onUpdate();
    }
    void ReturnToIdle() override { Log.push_back(name_ + ":idle"); }
    std::function<void()> onUpdate;

private:
    std::string name_;
};

class TurnEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallTurnEngineHooks();
        Log.clear();
        ClearTicker();
        TutorialFlag = false;
        level = new Level(0, 0);
        level->SetSize(20, 20);
        for (int y = 1; y < 19; ++y)
            for (int x = 1; x < 19; ++x) level->GetCell(x, y)->type = SquareType::Floor;
        CurrentLevel = level;
        hero = new Player();
        CurrentPlayer = hero;
        hero->PlaceOnLevel(5, 5, level, 0);
    }
    void TearDown() override {
        DeleteQueuedObjects();
        ClearQueuedMoves();
        CurrentPlayer = nullptr;
        delete hero;
        CurrentLevel = nullptr;
        delete level;
        for (Spell* s : SpellList) delete s;
        SpellList.clear();
        TutorialFlag = false;
    }
    Recorder* Add(const std::string& name, int x, int y) {
        Recorder* r = new Recorder(name);
        r->PlaceOnLevel(x, y, level, 0);
        return r;
    }
    std::vector<std::string> Only(const std::string& suffix) {
        std::vector<std::string> out;
        for (const auto& line : Log)
            if (line.size() > suffix.size() && line.compare(line.size() - suffix.size(), suffix.size(), suffix) == 0)
                out.push_back(line);
        return out;
    }

    Level* level = nullptr;
    Player* hero = nullptr;
};

TEST_F(TurnEngineTest, ObjectsUpdateInListOrderIncludingOnesAddedDuringTheWalk) {
    Recorder* a = Add("a", 2, 2);
    Add("b", 3, 3);
    a->onUpdate = [this]() {
        if (level->objects.size() < 5) Add("late", 4, 4);
    };
    AdvanceTurn();
    EXPECT_EQ(Only(":update"), (std::vector<std::string>{"a:update", "b:update", "late:update"}));
    // Every object goes back to idle after the updates, in list order.
    EXPECT_EQ(Only(":idle"), (std::vector<std::string>{"a:idle", "b:idle", "late:idle"}));
    const auto firstIdle = std::find(Log.begin(), Log.end(), "a:idle");
    const auto lastUpdate = std::find(Log.begin(), Log.end(), "late:update");
    EXPECT_LT(lastUpdate, firstIdle);
}

TEST_F(TurnEngineTest, AHeroWhoDiesStopsTheWalkButTheTurnGoesOn) {
    Recorder* killer = Add("killer", 2, 2);
    Recorder* doomed = Add("doomed", 6, 6);
    Add("after", 3, 3);
    killer->onUpdate = [this, doomed]() {
        hero->dead = 1;
        QueueObjectDeletion(doomed);
    };
    AdvanceTurn();
    EXPECT_EQ(Only(":update"), (std::vector<std::string>{"killer:update"}));
    // The deletions of the turn still happen, and every remaining object returns to idle.
    EXPECT_EQ(Only(":deleted"), (std::vector<std::string>{"doomed:deleted"}));
    EXPECT_EQ(Only(":idle"), (std::vector<std::string>{"killer:idle", "after:idle"}));
    Log.clear();
    AdvanceTurn();
    EXPECT_TRUE(Only(":update").empty());
}

TEST_F(TurnEngineTest, AnObjectQueuedTwiceIsDeletedOnceAndItsMovesAreDropped) {
    Recorder* r = Add("r", 2, 2);
    QueueObjectDeletion(r);
    QueueObjectDeletion(r);
    QueueObjectMove(r, 7, 7, level);
    QueueObjectMove(r, 8, 8, level);
    EXPECT_EQ(QueuedDeletionCount(), 1u);
    EXPECT_EQ(QueuedMoveCount(), 2u);
    ApplyDeferredObjectMoves();
    EXPECT_EQ(Only(":deleted"), (std::vector<std::string>{"r:deleted"}));
    EXPECT_EQ(QueuedMoveCount(), 0u);
    EXPECT_TRUE(level->GetCell(2, 2)->contents.empty());
    EXPECT_TRUE(level->GetCell(7, 7)->contents.empty());
    for (GameObj* obj : level->objects) EXPECT_NE(obj, static_cast<GameObj*>(r));
}

TEST_F(TurnEngineTest, MovesQueuedDuringTheTurnAreAppliedAtItsEnd) {
    Recorder* mover = Add("mover", 2, 2);
    Recorder* watcher = Add("watcher", 3, 3);
    mover->onUpdate = [mover, this]() { QueueObjectMove(mover, 9, 9, level); };
    // Later in the same walk the object still stands where it was.
    watcher->onUpdate = [mover]() { Log.push_back("seen at " + std::to_string(mover->x)); };
    AdvanceTurn();
    EXPECT_NE(std::find(Log.begin(), Log.end(), "seen at 2"), Log.end());
    EXPECT_EQ(mover->x, 9);
    EXPECT_EQ(mover->cell, level->GetCell(9, 9));
    EXPECT_EQ(QueuedMoveCount(), 0u);

    // A move with no level takes the object off its level.
    QueueObjectMove(mover, -1, -1, nullptr);
    ApplyDeferredObjectMoves();
    EXPECT_EQ(mover->level, nullptr);
    EXPECT_EQ(mover->cell, nullptr);
    delete mover;
}

TEST_F(TurnEngineTest, DeletingAnObjectClearsEveryReferenceToIt) {
    Item* item = new Item();
    item->PlaceOnLevel(4, 4, level, 0);
    hero->beltSlots[3] = item;
    hero->skillBarSlots[1] = item;
    InventoryGrid.cells[10] = item;
    SelectedSkillItem = item;
    SetCursorItem(item);
    QueueObjectDeletion(item);
    EXPECT_EQ(GetCursorItem(), nullptr);  // emptied at queue time
    SetCursorItem(item);
    DeleteQueuedObjects();
    EXPECT_EQ(hero->beltSlots[3], nullptr);
    EXPECT_EQ(hero->skillBarSlots[1], nullptr);
    EXPECT_EQ(InventoryGrid.cells[10], nullptr);
    EXPECT_EQ(SelectedSkillItem, nullptr);
    EXPECT_EQ(GetCursorItem(), nullptr);
}

TEST_F(TurnEngineTest, ADeletedObjectLeavesNoPendingWorkBehind) {
    // An object destroyed outside the queue (its level torn down, say) leaves the queues too.
    Recorder* r = Add("r", 2, 2);
    QueueObjectDeletion(r);
    QueueObjectMove(r, 3, 3, level);
    delete r;
    EXPECT_EQ(QueuedDeletionCount(), 0u);
    EXPECT_EQ(QueuedMoveCount(), 0u);
    DeleteQueuedObjects();
    EXPECT_EQ(Only(":deleted").size(), 1u);
}

TEST_F(TurnEngineTest, AHeroDestroyedWithItsLevelLeavesNoDanglingHero) {
    Item* item = new Item();
    item->PlaceOnLevel(4, 4, level, 0);
    hero->beltSlots[0] = item;
    // The level owns everything on it, the hero included; the objects after the hero are
    // destroyed after it and must not reach it through CurrentPlayer.
    delete level;
    level = nullptr;
    hero = nullptr;
    EXPECT_EQ(CurrentPlayer, nullptr);
    EXPECT_EQ(CurrentLevel, nullptr);
}

TEST_F(TurnEngineTest, SpellMinesCountDownAndNeverExpiringOnesStay) {
    SpellMine* shortMine = level->AddSpellMine(3, 3, nullptr, 0, nullptr, 0);
    shortMine->turnsLeft = 3;
    SpellMine* lasting = level->AddSpellMine(4, 4, nullptr, 0, nullptr, 0);
    lasting->turnsLeft = -1;
    AdvanceTurn();
    AdvanceTurn();
    EXPECT_EQ(level->GetCell(3, 3)->mines.size(), 1u);
    AdvanceTurn();
    EXPECT_TRUE(level->GetCell(3, 3)->mines.empty());
    EXPECT_EQ(level->GetCell(4, 4)->mines.size(), 1u);
    EXPECT_EQ(level->spellMines.size(), 1u);
}

TEST_F(TurnEngineTest, CooldownsFallByOneDownToZero) {
    Spell* spell = new Spell();
    spell->cooldownCounter = 2;
    SpellList.push_back(spell);
    AdvanceTurn();
    EXPECT_EQ(spell->cooldownCounter, 1);
    AdvanceTurn();
    AdvanceTurn();
    EXPECT_EQ(spell->cooldownCounter, 0);
}

TEST_F(TurnEngineTest, WanderingMonsterCounterFiresEveryHundredTurnsOutsideTutorials) {
    std::vector<int> fired;
    for (int turn = 1; turn <= 201; ++turn) {
        const int before = hero->wanderingMonsterTurns;
        AdvanceTurn();
        if (hero->wanderingMonsterTurns < before) fired.push_back(turn);
    }
    EXPECT_EQ(fired, (std::vector<int>{101, 201}));

    TutorialFlag = true;
    hero->wanderingMonsterTurns = 100;
    AdvanceTurn();
    EXPECT_EQ(hero->wanderingMonsterTurns, 100);
}

TEST_F(TurnEngineTest, AmbientLinesAreDrawnRarelyAndThePoolEmptiesEveryTurn) {
    MTSeed(12345);
    CSRand(1);
    int shown = 0;
    for (int turn = 0; turn < 5000; ++turn) {
        AddAmbientMessage("A drip echoes somewhere.");
        AdvanceTurn();
        EXPECT_TRUE(AmbientMessages().empty());
        shown = static_cast<int>(TickerLog().size());
    }
    // One chance in 500 a turn: around ten lines in 5000 turns.
    EXPECT_GT(shown, 2);
    EXPECT_LT(shown, 30);

    // Never in a tutorial.
    ClearTickerLog();
    TutorialFlag = true;
    for (int turn = 0; turn < 5000; ++turn) {
        AddAmbientMessage("A drip echoes somewhere.");
        AdvanceTurn();
    }
    EXPECT_TRUE(TickerLog().empty());
}

TEST_F(TurnEngineTest, NoLevelMeansOnlyTheQueuesRun) {
    Recorder* r = Add("r", 2, 2);
    QueueObjectDeletion(r);
    CurrentLevel = nullptr;
    AdvanceTurn();
    EXPECT_EQ(Only(":deleted").size(), 1u);
    EXPECT_EQ(hero->wanderingMonsterTurns, 0);
    CurrentLevel = level;
}

}  // namespace
