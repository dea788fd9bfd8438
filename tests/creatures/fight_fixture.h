#pragma once
// A small lit floor level with the hero and monsters on it, tuning values, a ticker and a
// record of the sounds requested, for the fighting tests.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "creatures/experience.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "levels/level_test_map.h"
#include "levels/object_queue.h"
#include "media/sound.h"
#include "media/ticker.h"

class FightTest : public ::testing::Test {
public:
    static std::vector<std::string>& Sounds() {
        static std::vector<std::string> sounds;
        return sounds;
    }

protected:
    void SetUp() override {
        // No level-up notice may wait for a click here: kills give experience but no level.
        savedExperience_.swap(ExperienceTable);
        ExperienceTable.clear();
        ClearMonsterDB();
        LoadMonsters(
            "<monDB><monster name=\"Diggle\"><stats numFig=\"3\" numWiz=\"1\" numRog=\"1\"/></monster>"
            "<monster name=\"Lord Zarnoch\" displayName=\"Lord Zarnoch\"/>"
            "<monster name=\"Sneak\" displayName=\"Sneak\"/></monDB>");
        SetTweaks("");
        savedSound_ = SoundEnabled;
        SoundEnabled = 1;
        Sounds().clear();
        SetSFXRequestObserver([](const char* name) { FightTest::Sounds().push_back(name); });
        savedHero_ = CurrentPlayer;
        CurrentPlayer = &hero_;
        hero_.stat[kStatLife] = 40;
        hero_.health = 40;
        spellCalls_ = SpellCallLog();
        SpellCallRecorder = &spellCalls_;
        ClearTicker();
        ClearTickerLog();
        CSRand(1);
        MTSeed(1);
    }

    void TearDown() override {
        ApplyDeferredObjectMoves();
        DeleteQueuedObjects();
        hero_.PlaceOnLevel(0, 0, nullptr, 0);
        CurrentPlayer = savedHero_;
        SetSFXRequestObserver(nullptr);
        SoundEnabled = savedSound_;
        ClearMonsterDB();
        ClearTweakVals();
        ClearTicker();
        ClearTickerLog();
        SpellCallRecorder = nullptr;
        ExperienceTable.swap(savedExperience_);
    }

    static void LoadMonsters(const std::string& xml) { monDBLoadFromText(xml.data(), xml.size(), "monDB.xml"); }

    // Tuning values as <tweak> elements (name, integer, float).
    static void SetTweaks(const std::string& tweaks) {
        ClearTweakVals();
        const std::string xml = "<tweakDB>" + tweaks + "</tweakDB>";
        LoadTweakValsFromBuffer(xml.data(), xml.size());
    }
    static std::string Tweak(const std::string& name, int32_t i, float f = 0.0f) {
        return "<tweak name=\"" + name + "\" ival=\"" + std::to_string(i) + "\" fval=\"" + std::to_string(f) + "\"/>";
    }

    // Every square visible.
    void LightEverything() {
        for (LevelCell& cell : level_->squares) cell.flags |= SquareFlag::Visible;
    }

    void PlaceHero(int32_t x, int32_t y) { hero_.PlaceOnLevel(x, y, level_.get(), 1); }

    // A monster of the record on the level (the level owns it), with every avoidance
    // statistic 0 and plenty of health.
    Monster* AddMonster(const char* name, int32_t x, int32_t y) {
        Monster* monster = new Monster(monDBFindByName(name));
        monster->PlaceOnLevel(x, y, level_.get(), 1);
        for (int32_t& value : monster->stat) value = 0;
        monster->stat[kStatLife] = 1000;
        monster->health = 1000;
        std::fill(std::begin(monster->damageBonus), std::end(monster->damageBonus), 0);
        std::fill(std::begin(monster->resistance), std::end(monster->resistance), 0);
        return monster;
    }

    static int32_t CountSound(const std::string& name) {
        int32_t count = 0;
        for (const std::string& sound : Sounds()) count += sound == name ? 1 : 0;
        return count;
    }
    static bool SoundStartingWith(const std::string& stem) {
        for (const std::string& sound : Sounds()) {
            if (sound.compare(0, stem.size(), stem) == 0) return true;
        }
        return false;
    }
    static std::string Log() {
        std::string all;
        for (const std::string& line : TickerLog()) all += line + "\n";
        return all;
    }
    static bool Logged(const std::string& text) { return Log().find(text) != std::string::npos; }

    ScopedTestLevel level_{12, 12, SquareType::Floor};
    Player hero_;
    SpellCallLog spellCalls_;
    std::vector<int32_t> savedExperience_;  // every cast and effect while the test runs

private:
    Player* savedHero_ = nullptr;
    int32_t savedSound_ = 0;
};
