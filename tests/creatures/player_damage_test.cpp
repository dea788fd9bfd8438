// The hero's damage intake: warning sounds, the diagnostic, splats, the cause of death, brittle
// buffs and death with its achievements and animation.
#include <gtest/gtest.h>

#include <string>

#include "items_fixtures/splat.h"
#include "media/music.h"
#include "media/sprite.h"
#include "store_platform/store.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"
#include "tests/creatures/fight_fixture.h"

namespace {

class PlayerDamageTest : public FightTest {
protected:
    void SetUp() override {
        FightTest::SetUp();
        PlaceHero(3, 3);
    }
    void GiveSkill13(int32_t level) {
        hero_.skillIds[0] = 13;
        hero_.skillLevels[0] = level;
    }
    // The warning sounds the blow from `from` to `to` requested.
    std::vector<std::string> WarningsOf(int32_t from, int32_t to) {
        hero_.health = from;
        Sounds().clear();
        hero_.ApplyDamage(from - to, "by a test", 0, 0);
        std::vector<std::string> warnings;
        for (const std::string& sound : Sounds()) warnings.push_back(sound.substr(0, sound.size() - 1));
        return warnings;
    }
};

TEST_F(PlayerDamageTest, WarningSoundsWhenHealthCrossesAQuarterOrAHalf) {
    struct Case {
        int32_t skill13;
        int32_t from, to;
        std::vector<std::string> warnings;
    };
    const std::vector<std::string> none;
    const Case cases[] = {
        {0, 10, 9, {"healthcritical"}},
        {0, 9, 8, none},
        {0, 21, 9, {"healthcritical"}},
        {0, 21, 15, {"healthlow"}},
        {0, 30, 25, none},
        {1, 21, 13, none},
        {1, 21, 12, {"blood"}},
        {1, 21, 9, {"healthcritical"}},
    };
    for (const Case& c : cases) {
        GiveSkill13(c.skill13);
        EXPECT_EQ(WarningsOf(c.from, c.to), c.warnings) << c.from << " -> " << c.to << " skill " << c.skill13;
    }
}

TEST_F(PlayerDamageTest, EveryBlowPrintsLeavesASplatAndKeepsTheCause) {
    struct Case {
        int32_t skill13;
        int32_t amount;
        const char* cause;
        const char* kindWord;
    };
    const Case cases[] = {{0, 5, "by a Diggle", "blood"}, {1, 0, "by fire", "ichor"}};
    for (const Case& c : cases) {
        GiveSkill13(c.skill13);
        hero_.health = 40;
        testing::internal::CaptureStdout();
        EXPECT_EQ(hero_.ApplyDamage(c.amount, c.cause, 0, 0), 1);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("Player takes " + std::to_string(c.amount) + " damage! Remaining HP: " +
                           std::to_string(40 - c.amount) + "/40\n"),
                  std::string::npos)
            << out;
        EXPECT_EQ(hero_.deathCause, c.cause);
        ApplyDeferredObjectMoves();
        Splat* splat = nullptr;
        for (GameObj* obj : level_->GetCell(3, 3)->contents) {
            if (obj->GetClassHash() == SplatClassHash()) splat = static_cast<Splat*>(obj);
        }
        ASSERT_NE(splat, nullptr);
        EXPECT_EQ(splat->kind, SplatKindIndex(c.kindWord));
        EXPECT_GE(splat->variant, 0);
        EXPECT_LE(splat->variant, 5);
        QueueObjectDeletion(splat);
        DeleteQueuedObjects();
    }
}

// However often the hero is hit, in one turn or over many, its square holds one splat.
TEST_F(PlayerDamageTest, OneSplatPerSquareWhereTheHeroWasHit) {
    struct Case {
        int32_t turns;
        int32_t blowsPerTurn;
    };
    const Case cases[] = {{11, 1}, {1, 11}, {3, 3}};
    const auto splatsAt = [this](int32_t x, int32_t y) {
        std::vector<GameObj*> found;
        for (GameObj* obj : level_->GetCell(x, y)->contents) {
            if (obj->GetClassHash() == SplatClassHash()) found.push_back(obj);
        }
        return found;
    };
    testing::internal::CaptureStdout();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.turns) + " turns of " + std::to_string(c.blowsPerTurn) + " blows");
        for (int32_t turn = 0; turn < c.turns; ++turn) {
            for (int32_t blow = 0; blow < c.blowsPerTurn; ++blow) {
                hero_.health = 40;
                hero_.ApplyDamage(1, "by a test", 0, 0);
            }
            ApplyDeferredObjectMoves();
        }
        EXPECT_EQ(splatsAt(3, 3).size(), 1u);
        for (GameObj* splat : splatsAt(3, 3)) QueueObjectDeletion(splat);
        DeleteQueuedObjects();
    }
    // A blow on another square marks that square too.
    hero_.health = 40;
    hero_.ApplyDamage(1, "by a test", 0, 0);
    ApplyDeferredObjectMoves();
    PlaceHero(4, 3);
    hero_.health = 40;
    hero_.ApplyDamage(1, "by a test", 0, 0);
    hero_.ApplyDamage(1, "by a test", 0, 0);
    ApplyDeferredObjectMoves();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(splatsAt(3, 3).size(), 1u);
    EXPECT_EQ(splatsAt(4, 3).size(), 1u);
}

TEST_F(PlayerDamageTest, BrittleBuffsWearOutBlowByBlow) {
    Buff* buff = new Buff("glass");
    buff->brittle = 2;
    buff->turnsLeft = 30;
    hero_.buffs.push_back(buff);
    hero_.ApplyDamage(1, "by a test", 0, 0);
    EXPECT_EQ(buff->brittle, 1);
    EXPECT_FALSE(buff->expired);
    hero_.ApplyDamage(1, "by a test", 0, 0);
    EXPECT_TRUE(buff->expired);
    EXPECT_EQ(buff->turnsLeft, 0);
}

TEST_F(PlayerDamageTest, ADeadHeroTakesNoMoreDamage) {
    hero_.health = 5;
    EXPECT_EQ(hero_.TakeDamage(9, nullptr, "by a Diggle", 0, 0), 1);
    EXPECT_NE(hero_.dead, 0);
    EXPECT_EQ(hero_.health, 0);
    EXPECT_EQ(hero_.TakeDamage(9, nullptr, "by fire", 0, 0), 0);
    EXPECT_EQ(hero_.deathCause, "by a Diggle");
}

TEST_F(PlayerDamageTest, EachCauseOfDeathSetsItsAchievement) {
    const std::pair<const char*, const char*> causes[] = {
        {"by ignoring the boil water advisory", "ACHIEVEMENT_DONT_DRINK_THE_WATER"},
        {"in an accident of podiatry", "ACHIEVEMENT_DEATH_BY_DOOR"},
        {"by sticking his foot through Death's door", "ACHIEVEMENT_DEATH_BY_DOOR"},
        {"by sticking her foot through Death's door", "ACHIEVEMENT_DEATH_BY_DOOR"},
        {"by a Diggle", "ACHIEVEMENT_DEATH_BY_DIGGLE"},
        {"by a Sickly Diggle", "ACHIEVEMENT_DEATH_BY_SICKLY_DIGGLE"},
        {"by Brax", "ACHIEVEMENT_DEATH_BY_BRAX"},
        {"by a Dread Collector", "ACHIEVEMENT_DEATH_BY_DREAD_COLLECTOR"},
        {"by a Enraged Diggle", "ACHIEVEMENT_DEATH_BY_ENRAGED_DIGGLE"},
        {"by a Thrusty", "ACHIEVEMENT_DEATH_BY_THRUSTY"},
        {"by Lord Zarnoch", "ACHIEVEMENT_ITS_MY_DUNGEON"},
        {"by a Diggle Commando", "ACHIEVEMENT_DEATH_BY_DIGGLE_COMMANDO"},
        {"by a Arch Diggle", "ACHIEVEMENT_DEATH_BY_ARCH_DIGGLE"},
        {"by a Muscle Diggle", "ACHIEVEMENT_DEATH_BY_MUSCLE_DIGGLE"},
    };
    for (const auto& cause : causes) {
        SCOPED_TRACE(cause.first);
        TempDir user;
        ScopedEnv env("VAULTMERE_USER_DIR", user.path().c_str());
        ASSERT_TRUE(SteamAPI_Init());
        hero_.dead = 0;
        hero_.health = 3;
        hero_.ApplyDamage(3, cause.first, 0, 0);
        const std::string stats = ReadWholeFile(user.file("store/stats.txt"));
        size_t achievements = 0;
        for (size_t at = stats.find("achievement "); at != std::string::npos; at = stats.find("achievement ", at + 1)) {
            ++achievements;
        }
        EXPECT_EQ(achievements, 1u) << stats;
        EXPECT_NE(stats.find(cause.second), std::string::npos) << stats;
        SteamAPI_Shutdown();
    }
}

TEST_F(PlayerDamageTest, ABlowRestartsRegenerationAndEveryDeathAsksForNewMusic) {
    PendingMusicChange = false;
    hero_.health = 10;
    hero_.healthRegenCounter = 7;
    hero_.ApplyDamage(0, "by a test", 0, 0);
    EXPECT_EQ(hero_.healthRegenCounter, 0);
    EXPECT_FALSE(PendingMusicChange);
    hero_.ApplyDamage(10, "by a test", 0, 0);
    EXPECT_TRUE(PendingMusicChange);
    EXPECT_EQ(CurrentMusicIntro(), "tunes/death-open.ogg");

    PendingMusicChange = false;
    hero_.dead = 0;
    hero_.health = 10;
    hero_.Drown();
    EXPECT_NE(hero_.dead, 0);
    EXPECT_TRUE(PendingMusicChange);
    PendingMusicChange = false;
}

// A hero of the last build who dies on the first floor again, right after a death there.
TEST_F(PlayerDamageTest, ASecondFirstFloorDeathOfTheLastBuildHasItsAchievement) {
    struct Case {
        int32_t firstDepth, secondDepth;
        int32_t lastBuild;
        bool granted;
    };
    const Case cases[] = {{0, 0, 1, true}, {1, 0, 1, false}, {0, 1, 1, false}, {0, 0, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.firstDepth) + " " + std::to_string(c.secondDepth) + " " +
                     std::to_string(c.lastBuild));
        TempDir user;
        ScopedEnv env("VAULTMERE_USER_DIR", user.path().c_str());
        ASSERT_TRUE(SteamAPI_Init());
        hero_.lastBuild = 0;
        for (int32_t depth : {c.firstDepth, c.secondDepth}) {
            level_->depth = depth;
            hero_.dead = 0;
            hero_.health = 2;
            hero_.ApplyDamage(2, "by a test", 0, 0);
            hero_.lastBuild = c.lastBuild;
        }
        const std::string stats = ReadWholeFile(user.file("store/stats.txt"));
        EXPECT_EQ(stats.find("ACHIEVEMENT_NORMANDY") != std::string::npos, c.granted) << stats;
        SteamAPI_Shutdown();
    }
    level_->depth = 0;
}

TEST_F(PlayerDamageTest, ThePoisonedDieTheirOwnDeath) {
    Sprite death;
    Sprite poisonedRight;
    Sprite poisonedLeft;
    hero_.heroAnimations[kHeroDieR] = &death;
    hero_.heroAnimations[kHeroPoisonR] = &poisonedRight;
    hero_.heroAnimations[kHeroPoisonL] = &poisonedLeft;
    struct Case {
        int32_t damageType;
        int32_t facing;
        Sprite* shown;
    };
    const Case cases[] = {{kDamageToxic, 3, &poisonedRight}, {kDamageToxic, 1, &poisonedLeft}, {kDamageCrushing, 1, &death}};
    for (const Case& c : cases) {
        hero_.dead = 0;
        hero_.health = 1;
        hero_.facing = c.facing;
        hero_.bob.sprite = nullptr;
        hero_.ApplyDamage(4, "by a test", c.damageType, 0);
        EXPECT_EQ(hero_.bob.sprite, c.shown) << c.damageType << " facing " << c.facing;
        EXPECT_TRUE(hero_.bob.finished);
    }
    for (Sprite*& anim : hero_.heroAnimations) anim = nullptr;
    hero_.bob.sprite = nullptr;
}

}  // namespace
