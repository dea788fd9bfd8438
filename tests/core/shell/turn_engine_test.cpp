// The turn engine: the order of a turn's steps, deferred deletion and deferred moves.
#include <gtest/gtest.h>

#include "interface/dialogs.h"
#include "core/input_log.h"
#include "core/random.h"
#include "core/shell/turn_engine.h"
#include "creatures/experience.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "interface/play_screen.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "levels/game_obj.h"
#include "levels/level.h"
#include "media/ticker.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Log;

// What a turn changes without calling out of the engine: the inventory flag, the hero's
// level, the spell mines, the wandering-monster counter, the ambient pool and the cooldowns.
struct TurnState {
    bool inventoryChanged = false;
    int32_t heroLevel = 0;
    size_t mines = 0;
    int32_t wanderingTurns = 0;
    size_t ambientLines = 0;
    int32_t cooldowns = 0;
};

TurnState CaptureTurnState() {
    TurnState state;
    state.inventoryChanged = InventoryChanged;
    if (CurrentPlayer) {
        state.heroLevel = CurrentPlayer->level;
        state.wanderingTurns = CurrentPlayer->wanderingMonsterTurns;
    }
    if (CurrentLevel) state.mines = CurrentLevel->spellMines.size();
    state.ambientLines = AmbientMessages().size();
    for (Spell* spell : SpellList) state.cooldowns += spell->cooldownCounter;
    return state;
}

// While set, every note is preceded by the changes of the turn state since the last note, so
// that the steps working on that state show up between the calls around them.
bool WatchingTurnState = false;
TurnState LastTurnState;

void Note(const std::string& event) {
    if (WatchingTurnState) {
        const TurnState now = CaptureTurnState();
        if (now.inventoryChanged != LastTurnState.inventoryChanged) Log.push_back("inventory flag");
        if (now.heroLevel != LastTurnState.heroLevel) Log.push_back("hero level");
        if (now.mines != LastTurnState.mines) Log.push_back("spell mines");
        if (now.wanderingTurns != LastTurnState.wanderingTurns) Log.push_back("wandering counter");
        if (now.ambientLines != LastTurnState.ambientLines) Log.push_back("ambient pool");
        if (now.cooldowns != LastTurnState.cooldowns) Log.push_back("cooldowns");
        LastTurnState = now;
    }
    Log.push_back(event);
}

// An object that writes what the engine asks of it into the log.
class Recorder : public GameObj {
public:
    explicit Recorder(std::string label) : name_(std::move(label)) {}
    ~Recorder() override {
        Note(name_ + ":deleted");
        if (onDestroy) onDestroy();
    }
    void Update() override {
        Note(name_ + ":update");
        if (onUpdate) onUpdate();
    }
    void ReturnToIdle() override { Note(name_ + ":idle"); }
    void PlaceOnLevel(int32_t newX, int32_t newY, Level* newLevel, int32_t flag) override {
        if (recordPlacing) Note(name_ + ":placed " + std::to_string(newX) + " " + std::to_string(newY));
        GameObj::PlaceOnLevel(newX, newY, newLevel, flag);
    }
    std::function<void()> onUpdate;
    std::function<void()> onDestroy;
    bool recordPlacing = false;

private:
    std::string name_;
};

// The hero, writing its update, its buffs and its return to idle into the log.
class RecordingHero : public Player {
public:
    void Update() override {
        Note("hero update");
        Player::Update();
    }
    void UpdateBuffs() override {
        Note("hero buffs");
        Player::UpdateBuffs();
    }
    void ReturnToIdle() override {
        Note("hero idle");
        Player::ReturnToIdle();
    }
};

// Stand-ins for the calls a turn makes out of the engine.
TurnEngineCalls RecordingTurnCalls() {
    TurnEngineCalls calls;
    calls.updateFieldOfView = [](Level*, int32_t, int32_t, int32_t) { Note("field of view"); };
    calls.tickSpellTriggers = [](Player*) { Note("spell triggers"); };
    calls.roomTriggers = [] { Note("room triggers"); };
    calls.monsterSpawning = [] { Note("monster spawning"); };
    calls.spawnWanderingMonster = [](Level*) { Note("wandering monster"); };
    calls.startQueuedAnimations = [] { Note("start animations"); };
    calls.clearQueuedAnimations = [] { Note("clear animations"); };
    calls.tutorialStep = [] { Note("tutorial step"); };
    calls.storeCallbacks = [] { Note("store callbacks"); };
    return calls;
}

// The play-screen windows do not run in these tests: the settings window answers "leave the
// game", the others close at once.
inline int32_t LeaveFromEveryWindow(PlayWindow window) { return window == PlayWindow::Settings ? 1 : 0; }

class TurnEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetPlayWindowReplacement(&LeaveFromEveryWindow);
        InstallTurnEngineHooks();
        Log.clear();
        ClearTicker();
        TutorialFlag = false;
        level = new Level(0, 0);
        level->SetSize(20, 20);
        for (int y = 1; y < 19; ++y)
            for (int x = 1; x < 19; ++x) level->GetCell(x, y)->type = SquareType::Floor;
        CurrentLevel = level;
        hero = new RecordingHero();
        CurrentPlayer = hero;
        hero->PlaceOnLevel(5, 5, level, 0);
    }
    void TearDown() override {
        SetPlayWindowReplacement(nullptr);
        ExperienceTable.clear();  // the level-up test fills it
        WatchingTurnState = false;
        TurnCalls = DefaultTurnEngineCalls();
        InventoryChanged = false;
        TooltipItem = nullptr;
        DeleteQueuedObjects();
        ClearQueuedMoves();
        CurrentPlayer = nullptr;
        delete hero;
        CurrentLevel = nullptr;
        delete level;
        for (Spell* s : SpellList) delete s;
        SpellList.clear();
        TutorialFlag = false;
        ResetInputLog();
        SetFixedFrameTime(0);
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

// The twenty steps of a turn, in order: the calls out of the engine, the objects' updates,
// deletions, moves and returns to idle, and between them the changes of the engine's own
// state. In a tutorial there is no wandering-monster count and the tutorial step runs.
TEST_F(TurnEngineTest, ATurnRunsItsStepsInOrder) {
    struct Case {
        bool tutorial;
        std::vector<std::string> steps;
    };
    const std::vector<std::string> head = {
        "inventory flag", "gone:deleted", "early:placed 7 7",  // queues of the last turn
        "hero level", "field of view",                        // level-up check, sight
        "hero update", "walker:update", "doomed:update", "early:update",
        "hero buffs", "spell triggers", "room triggers", "doomed:deleted", "monster spawning"};
    const std::vector<std::string> tail = {
        "field of view", "ambient pool", "start animations", "clear animations",
        "hero idle", "walker:idle", "early:idle", "cooldowns", "walker:placed 9 9"};
    Case cases[2];
    cases[0].tutorial = false;
    cases[0].steps = head;
    for (const char* step : {"spell mines", "wandering counter", "wandering monster"}) cases[0].steps.push_back(step);
    cases[0].steps.insert(cases[0].steps.end(), tail.begin(), tail.end());
    cases[0].steps.push_back("store callbacks");
    cases[1].tutorial = true;
    cases[1].steps = head;
    cases[1].steps.push_back("spell mines");
    cases[1].steps.insert(cases[1].steps.end(), tail.begin(), tail.end());
    for (const char* step : {"tutorial step", "store callbacks"}) cases[1].steps.push_back(step);

    InitExperienceTable();
    Spell* spell = new Spell();
    SpellList.push_back(spell);
    TurnCalls = RecordingTurnCalls();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tutorial ? "tutorial" : "game");
        TutorialFlag = c.tutorial;
        Recorder* walker = Add("walker", 2, 2);
        Recorder* doomed = Add("doomed", 3, 3);
        Recorder* gone = Add("gone", 4, 4);
        Recorder* early = Add("early", 6, 6);
        walker->recordPlacing = true;
        early->recordPlacing = true;
        walker->onUpdate = [this, walker, doomed]() {
            QueueObjectDeletion(doomed);
            QueueObjectMove(walker, 9, 9, level);
        };
        QueueObjectDeletion(gone);
        QueueObjectMove(early, 7, 7, level);
        InventoryChanged = true;
        hero->experience = ExperienceForLevel(hero->level) + 1;
        level->AddSpellMine(8, 8, nullptr, 0, nullptr, 0)->turnsLeft = 1;
        hero->wanderingMonsterTurns = 100;
        AddAmbientMessage("Water drips.");
        spell->cooldownCounter = 1;

        // The level-up notice waits for its Enter.
        ResetInputLog();
        SetFixedFrameTime(16);
        ASSERT_TRUE(OpenInputScriptText("wait 40\nkey return"));
        Log.clear();
        LastTurnState = CaptureTurnState();
        WatchingTurnState = true;
        AdvanceTurn();
        Note("end");
        WatchingTurnState = false;
        std::vector<std::string> want = c.steps;
        want.push_back("end");
        EXPECT_EQ(Log, want);
        delete walker;
        delete early;
    }
}

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
    hero->quickSlots[3] = item;
    hero->abilitySlots[1] = item;
    InventoryGrid.cells[10] = item;
    SelectedSkillItem = item;
    TooltipItem = item;
    SetCursorItem(item);
    QueueObjectDeletion(item);
    EXPECT_EQ(GetCursorItem(), nullptr);  // emptied at queue time
    SetCursorItem(item);
    DeleteQueuedObjects();
    EXPECT_EQ(hero->quickSlots[3], nullptr);
    EXPECT_EQ(hero->abilitySlots[1], nullptr);
    EXPECT_EQ(InventoryGrid.cells[10], nullptr);
    EXPECT_EQ(SelectedSkillItem, nullptr);
    EXPECT_EQ(TooltipItem, nullptr);
    EXPECT_EQ(GetCursorItem(), nullptr);
}

TEST_F(TurnEngineTest, AMoveOutsideTheLevelDropsTheObjectAtTheNextDeletionPoint) {
    // The object's later moves, the one right after it in the same batch included, go with it.
    Recorder* r = Add("r", 2, 2);
    r->recordPlacing = true;
    QueueObjectMove(r, 25, 4, level);
    QueueObjectMove(r, 3, 3, level);
    Log.clear();
    ApplyDeferredObjectMoves();
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(QueuedMoveCount(), 0u);
    EXPECT_EQ(QueuedDeletionCount(), 1u);
    EXPECT_EQ(r->x, 2);
    EXPECT_EQ(r->cell, level->GetCell(2, 2));

    // Moved out during a turn: gone at the start of the next one.
    Recorder* s2 = Add("s", 4, 4);
    s2->onUpdate = [s2, this]() { QueueObjectMove(s2, 4, -1, level); };
    AdvanceTurn();
    EXPECT_EQ(Only(":deleted"), (std::vector<std::string>{"r:deleted"}));
    Log.clear();
    AdvanceTurn();
    EXPECT_EQ(Only(":deleted"), (std::vector<std::string>{"s:deleted"}));
    EXPECT_EQ(Only(":update"), std::vector<std::string>{});
    EXPECT_EQ(QueuedDeletionCount(), 0u);
}

TEST_F(TurnEngineTest, TheHeroIsNeverMovedOutsideTheLevel) {
    testing::internal::CaptureStdout();
    QueueObjectMove(hero, -3, 4, level);
    QueueObjectMove(hero, 4, 20, level);
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_NE(said.find("Refused to move the hero to square -3 4 outside the level"), std::string::npos) << said;
    EXPECT_NE(said.find("Refused to move the hero to square 4 20 outside the level"), std::string::npos) << said;
    EXPECT_EQ(QueuedMoveCount(), 0u);
    ApplyDeferredObjectMoves();
    AdvanceTurn();
    EXPECT_EQ(CurrentPlayer, hero);
    EXPECT_EQ(hero->x, 5);
    EXPECT_EQ(hero->y, 5);
    EXPECT_EQ(QueuedDeletionCount(), 0u);
    // A square inside is still fine.
    QueueObjectMove(hero, 6, 5, level);
    ApplyDeferredObjectMoves();
    EXPECT_EQ(hero->x, 6);
}

TEST_F(TurnEngineTest, AnObjectDestroyedByAnotherOfItsBatchIsDeletedOnce) {
    // a's destructor queues b again, c's destructor destroys d outright: both b and d are
    // freed once, and nothing of them is left queued.
    Recorder* a = Add("a", 2, 2);
    Recorder* b = Add("b", 3, 3);
    Recorder* c = Add("c", 4, 4);
    Recorder* d = Add("d", 6, 6);
    a->onDestroy = [b]() { QueueObjectDeletion(b); };
    c->onDestroy = [d]() { delete d; };
    for (Recorder* r : {a, b, c, d}) QueueObjectDeletion(r);
    DeleteQueuedObjects();
    EXPECT_EQ(Only(":deleted"), (std::vector<std::string>{"a:deleted", "b:deleted", "c:deleted", "d:deleted"}));
    EXPECT_EQ(QueuedDeletionCount(), 0u);
    Log.clear();
    AdvanceTurn();
    EXPECT_TRUE(Only(":deleted").empty());
}

// A fresh process, where no test has installed anything: the engine's hook is there from the
// start, so a destroyed object never stays queued.
TEST(TurnEngineStartDeathTest, DestroyedObjectsLeaveTheQueuesFromTheStart) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            GameObj* obj = new GameObj();
            QueueObjectDeletion(obj);
            QueueObjectMove(obj, 1, 1, nullptr);
            delete obj;
            std::exit(QueuedDeletionCount() == 0 && QueuedMoveCount() == 0 ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
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
    hero->quickSlots[0] = item;
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

// Mines laid in any order, several to a square: each counts down once a turn, and what is
// left of the level's list keeps its order.
TEST_F(TurnEngineTest, EveryMineCountsDownOnceATurnWhateverTheOrderItWasLaidIn) {
    struct Laid {
        int x, y, turns;
    };
    const Laid laid[] = {{17, 17, 2}, {2, 9, 4}, {17, 17, -1}, {2, 9, 1}, {17, 17, 3}, {1, 1, 5}, {2, 9, 2}};
    std::vector<SpellMine*> mines;
    for (const Laid& l : laid) {
        mines.push_back(level->AddSpellMine(l.x, l.y, nullptr, 0, nullptr, 0));
        mines.back()->turnsLeft = l.turns;
    }
    AdvanceTurn();
    AdvanceTurn();
    // Left after two turns: those laid with -1, 3, 4 and 5 turns, in the order they were laid.
    ASSERT_EQ(level->spellMines.size(), 4u);
    EXPECT_EQ(level->spellMines[0], mines[1]);
    EXPECT_EQ(level->spellMines[1], mines[2]);
    EXPECT_EQ(level->spellMines[2], mines[4]);
    EXPECT_EQ(level->spellMines[3], mines[5]);
    EXPECT_EQ(mines[1]->turnsLeft, 2);
    EXPECT_EQ(mines[2]->turnsLeft, -1);
    EXPECT_EQ(mines[4]->turnsLeft, 1);
    EXPECT_EQ(mines[5]->turnsLeft, 3);
    EXPECT_EQ(level->GetCell(17, 17)->mines.size(), 2u);
    EXPECT_EQ(level->GetCell(2, 9)->mines.size(), 1u);
    for (int turn = 0; turn < 3; ++turn) AdvanceTurn();
    ASSERT_EQ(level->spellMines.size(), 1u);
    EXPECT_EQ(level->spellMines[0], mines[2]);
    EXPECT_TRUE(level->GetCell(1, 1)->mines.empty());
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

TEST_F(TurnEngineTest, EveryTurnAllowsTheFullPackReportAgain) {
    InventoryFullReported = true;
    InventoryChanged = true;
    AdvanceTurn();
    EXPECT_FALSE(InventoryFullReported);
    EXPECT_FALSE(InventoryChanged);
}

}  // namespace
