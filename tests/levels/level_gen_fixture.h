#pragma once
// Shared set-up of the level generation tests: our data files (or a document made in the test),
// the sample records, a hero with the game flags, and clean tables afterwards.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/random.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "items_fixtures/item_db.h"
#include "levels/branch_db.h"
#include "levels/level.h"
#include "levels/gen/level_gen_check.h"
#include "levels/gen/level_layout.h"
#include "levels/room_templates.h"
#include "media/sprite.h"

class LevelGenTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedHero_ = CurrentPlayer;
        savedLevel_ = CurrentLevel;
        CurrentPlayer = &hero_;
        ClearLayoutState();
        ResetGenerationReport();
    }
    void TearDown() override {
        CurrentPlayer = savedHero_;
        CurrentLevel = savedLevel_;
        RemoveSampleGenerationRecords();
        ClearBranches();
        ClearRoomTemplates();
        ClearTweakVals();
        ClearTextDB();
        ClearItemDB();
        ClearSpellTable();
        SpriteMgr_FreeAll();
        ResetGenerationReport();
    }

    // Our shipped data and the sample records.
    void LoadOurData() {
        ASSERT_TRUE(LoadGenerationData(std::string(VAULTMERE_SOURCE_DIR) + "/data/game"));
        InstallSampleGenerationRecords();
    }
    // Replaces the room templates with a document made in the test.
    static void UseRooms(const std::string& xml) {
        ClearRoomTemplates();
        ASSERT_TRUE(LoadRoomTemplatesFromBuffer(xml.data(), xml.size(), "test rooms"));
        BuildRoomTemplateMap();
    }
    static void UseBranches(const std::string& xml) {
        ClearBranches();
        ASSERT_TRUE(branchDBLoadFromBuffer(xml.data(), xml.size(), "test branches"));
    }
    static void SetTweak(const std::string& name, int32_t value) {
        const std::string xml = "<tweakDB><tweak name=\"" + name + "\" ival=\"" + std::to_string(value) +
                                "\" fval=\"" + std::to_string(value) + "\"/></tweakDB>";
        LoadTweakValsFromBuffer(xml.data(), xml.size());
    }
    // An empty level of that size and depth, current for the test.
    std::unique_ptr<Level> MakeLevel(int32_t depth, int32_t side = 30) {
        std::unique_ptr<Level> level(new Level(0, depth));
        level->SetSize(side, side);
        CurrentLevel = level.get();
        return level;
    }

    Player hero_;
    Player* savedHero_ = nullptr;
    Level* savedLevel_ = nullptr;
};
