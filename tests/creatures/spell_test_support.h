#pragma once
// A small world for the spell tests: a floor level made current, a monster table, the
// spell table, a recorder of CastSpell and ApplySpellEffects calls, a fixed frame clock and a
// turn engine whose calls do nothing but count the turns.
#include <gtest/gtest.h>

#include <string>

#include "core/input_log.h"
#include "core/random.h"
#include "core/shell/turn_engine.h"
#include "creatures/maneuver.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "levels/level_test_map.h"
#include "media/effect_animation.h"
#include "media/ticker.h"

inline int32_t& CountedTurns() {
    static int32_t turns = 0;
    return turns;
}

class SpellWorldTest : public testing::Test {
protected:
    void SetUp() override {
        ClearSpellTable();
        ClearMonsterDB();
        ClearManeuverTemplates();
        const std::string monsters =
            "<monDB><monster name=\"Gloomwing\" taxa=\"Beast\"/>"
            "<monster name=\"Stubborn Toad\" taxa=\"Beast\"><ai cancharm=\"0\"/></monster>"
            "<monster name=\"Rattlebones\" taxa=\"Undead\"/></monDB>";
        monDBLoadFromText(monsters.data(), monsters.size(), "monDB.xml");
        savedCalls = TurnCalls;
        TurnCalls.updateFieldOfView = [](Level*, int32_t, int32_t, int32_t) {};
        TurnCalls.tickSpellTriggers = [](Player*) {};
        TurnCalls.roomTriggers = [] {};
        TurnCalls.monsterSpawning = [] {};
        TurnCalls.spawnWanderingMonster = [](Level*) {};
        TurnCalls.startQueuedAnimations = [] {};
        TurnCalls.clearQueuedAnimations = [] {};
        TurnCalls.tutorialStep = [] {};
        TurnCalls.storeCallbacks = [] { ++CountedTurns(); };
        CountedTurns() = 0;
        SpellCallRecorder = &log;
        SetFixedFrameTime(10);
        ClearTicker();
        ClearTickerLog();
        ClearQueuedAnimations();
        CSRand(1);
        MTSeed(1);
    }
    void TearDown() override {
        ClearQueuedMoves();  // what the effects queued for a level that is going away
        CurrentPlayer = nullptr;
        SpellCallRecorder = nullptr;
        SelectedSpell = nullptr;
        TurnCalls = savedCalls;
        SetFixedFrameTime(0);
        ClearQueuedAnimations();
        ClearTicker();
        ClearTickerLog();
        ClearManeuverTemplates();
        ClearMonsterDB();
        ClearSpellTable();
    }

    Spell* AddSpell(const char* name, int32_t targetType) {
        Spell* spell = new Spell();
        spell->name = name;
        spell->targetType = targetType;
        SpellList.push_back(spell);
        return spell;
    }
    // A hero standing on the test level (the level owns it).
    Player* PlaceHero(int32_t x, int32_t y) {
        Player* hero = new Player();
        hero->PlaceOnLevel(x, y, CurrentLevel, 0);
        CurrentPlayer = hero;
        return hero;
    }
    Monster* PlaceMonster(const char* name, int32_t x, int32_t y) {
        Monster* monster = new Monster(monDBFindByName(name));
        monster->PlaceOnLevel(x, y, CurrentLevel, 0);
        return monster;
    }
    // The squares ApplySpellEffects was called on, in order.
    SquareList EffectSquares() const {
        SquareList squares;
        for (const SpellEffectsCall& call : log.effects) squares.emplace_back(call.x, call.y);
        return squares;
    }
    static std::string LastTicker() {
        const std::vector<std::string> lines = TickerLog();
        return lines.empty() ? std::string() : lines.back();
    }

    SpellCallLog log;
    TurnEngineCalls savedCalls;
};
