// Turn benchmark: one world turn (AdvanceTurn) on a 100 x 100 level where 100 awake monsters
// hunt the hero: stepping, searching paths round each other and striking.
// Times are reported in microseconds per turn.
//
// The monsters start spread over the level and close in on the hero; every 60 turns (outside
// the timing) they go back to their starting squares, so the closing in and the crowding
// round the hero are both measured. The hero dodges every blow, so no splats pile up; what
// the turn prints while it is timed goes to /dev/null.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "core/random.h"
#include "core/shell/turn_engine.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "levels/level.h"
#include "levels/path_finding.h"
#include "media/ticker.h"

namespace {

constexpr int32_t kSide = 100;
constexpr int32_t kMonsters = 100;
constexpr int32_t kTurnsPerRound = 60;

void Nothing() {}
void NothingOnLevel(Level*) {}

// Standard output goes to /dev/null while the object lives.
class QuietStdout {
public:
    QuietStdout() {
        std::fflush(stdout);
        saved_ = dup(1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        close(null);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        dup2(saved_, 1);
        close(saved_);
    }

private:
    int saved_ = -1;
};

void BM_TurnWithAHundredHuntingMonsters(benchmark::State& state) {
    const std::string records = "<monDB><monster name=\"Hunter\"><stats numFig=\"3\" numWiz=\"1\" numRog=\"1\"/></monster></monDB>";
    monDBLoadFromText(records.data(), records.size(), "monDB.xml");
    CSRand(1);
    MTSeed(1);

    std::unique_ptr<Level> level(new Level(0, 1));
    level->SetSize(kSide, kSide);
    for (int32_t y = 0; y < kSide; ++y) {
        for (int32_t x = 0; x < kSide; ++x) {
            const bool border = x == 0 || y == 0 || x == kSide - 1 || y == kSide - 1;
            level->GetCell(x, y)->type = border ? SquareType::Wall : SquareType::Floor;
        }
    }
    Level* savedLevel = CurrentLevel;
    Player* savedHero = CurrentPlayer;
    const TurnEngineCalls savedCalls = TurnCalls;
    CurrentLevel = level.get();
    BuildAStarForLevel();
    TurnCalls.monsterSpawning = Nothing;
    TurnCalls.spawnWanderingMonster = NothingOnLevel;
    TurnCalls.storeCallbacks = Nothing;

    Player* hero = new Player();
    hero->stat[kStatLife] = 1000000;
    hero->health = 1000000;
    hero->stat[kStatDodge] = 100;
    hero->PlaceOnLevel(kSide / 2, kSide / 2, level.get(), 1);
    CurrentPlayer = hero;
    MonsterRecord* record = monDBFindByName("Hunter");
    std::vector<Monster*> monsters;
    for (int32_t i = 0; i < kMonsters; ++i) {
        Monster* monster = new Monster(record);
        monster->noticed = true;
        monster->relentless = true;
        monsters.push_back(monster);
    }
    // Ten rows of ten, spread over the level around the hero.
    auto spread = [&]() {
        for (int32_t i = 0; i < kMonsters; ++i) {
            monsters[static_cast<size_t>(i)]->PlaceOnLevel(5 + (i % 10) * 9, 5 + (i / 10) * 9, level.get(), 1);
        }
    };
    spread();

    {
        QuietStdout quiet;
        int32_t turn = 0;
        for (auto _ : state) {
            if (++turn % kTurnsPerRound == 0) {
                state.PauseTiming();
                spread();
                state.ResumeTiming();
            }
            AdvanceTurn();
        }
    }
    state.counters["objects"] = static_cast<double>(level->objects.size());
    int32_t beside = 0;
    for (Monster* monster : monsters) beside += monster->IsAdjacentTo(hero) ? 1 : 0;
    state.counters["beside"] = beside;

    hero->PlaceOnLevel(0, 0, nullptr, 0);
    CurrentPlayer = savedHero;
    delete hero;
    level.reset();
    CurrentLevel = savedLevel;
    TurnCalls = savedCalls;
    ClearMonsterDB();
    ClearTicker();
    ClearTickerLog();
}
BENCHMARK(BM_TurnWithAHundredHuntingMonsters)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
