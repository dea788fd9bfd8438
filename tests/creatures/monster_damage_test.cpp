// Monster damage and death: waking, blood, the kill line, experience, statistics, drops,
// the horde's fear, the corpse square, the zoo reward and the final boss.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "core/event_log.h"
#include "core/input_log.h"
#include "creatures/monster.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/splat.h"
#include "media/music.h"
#include "media/sprite.h"
#include "store_platform/store.h"
#include "store_platform/stats.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"
#include "tests/creatures/fight_fixture.h"

namespace {

class MonsterDamageTest : public FightTest {
protected:
    void SetUp() override {
        FightTest::SetUp();
        savedIchors_ = GetTextDB().ichors;
        GetTextDB().ichors = {"goo"};
        PlaceHero(1, 1);
    }
    void TearDown() override {
        GetTextDB().ichors = savedIchors_;
        FightTest::TearDown();
    }
    // Counts the objects of a class on a square after the queued moves are carried out.
    int32_t CountOn(int32_t x, int32_t y, const std::string& className) {
        ApplyDeferredObjectMoves();
        int32_t count = 0;
        for (GameObj* obj : level_->GetCell(x, y)->contents) {
            count += obj->GetClassHash() == GetRegisteredClassHash(className) ? 1 : 0;
        }
        return count;
    }
    std::vector<std::string> savedIchors_;
};

TEST_F(MonsterDamageTest, ExperienceOfAKill) {
    SetTweaks(Tweak("boss mob XP scaler", 0, 2.5f));
    struct Case {
        int32_t xpValue;
        bool named, tame;
        int32_t gained;
    };
    const Case cases[] = {{20, false, false, 20}, {30, true, false, 75}, {30, false, true, 0}};
    for (const Case& c : cases) {
        Monster* monster = AddMonster("Diggle", 6, 6);
        EXPECT_EQ(monster->xpValue, 20) << "a record without experience gives 20";
        monster->xpValue = c.xpValue;
        monster->isNamed = c.named;
        monster->customName = "Grub";
        monster->tame = c.tame;
        monster->health = 5;
        const int32_t before = hero_.experience;
        monster->TakeDamage(5, &hero_, "by the player", 0, 0);
        EXPECT_NE(monster->dead, 0);
        EXPECT_EQ(hero_.experience - before, c.gained) << c.xpValue << (c.named ? " named" : "");
        QueueObjectDeletion(monster);
        DeleteQueuedObjects();
    }
}

TEST_F(MonsterDamageTest, KillsCountInTheStoreStatistics) {
    TempDir user;
    ScopedEnv env("VAULTMERE_USER_DIR", user.path().c_str());
    ASSERT_TRUE(SteamAPI_Init());
    SteamUserStats()->SetStat("STAT_DIGGLES_KILLED", 9);
    SteamUserStats()->SetStat("STAT_MONSTERS_KILLED", 41);
    // Kills count once the holder has received the stored values.
    InitSteamStats();
    SteamAPI_RunCallbacks();
    Monster* diggle = AddMonster("Diggle", 6, 6);
    diggle->TakeDamage(2000, &hero_, "by the player", 0, 0);
    int32_t killed = 0;
    ASSERT_TRUE(SteamUserStats()->GetStat("STAT_MONSTERS_KILLED", &killed));
    EXPECT_EQ(killed, 42);
    const std::string stats = ReadWholeFile(user.file("store/stats.txt"));
    EXPECT_NE(stats.find("ACHIEVEMENT_ORNITHOLOGIST"), std::string::npos) << stats;
    EXPECT_NE(stats.find("STAT_DIGGLES_KILLED 10"), std::string::npos) << stats;
    Monster* sneak = AddMonster("Sneak", 8, 8);
    sneak->TakeDamage(2000, &hero_, "by the player", 0, 0);
    ASSERT_TRUE(SteamUserStats()->GetStat("STAT_DIGGLES_KILLED", &killed));
    EXPECT_EQ(killed, 10) << "only the Diggle kinds count";
    SteamAPI_Shutdown();
}

TEST_F(MonsterDamageTest, TheKillLineEndsByTheGameGeneratorsCoin) {
    // Seeds whose first coin falls each way.
    uint32_t tails = 0;
    uint32_t heads = 0;
    for (uint32_t seed = 1; tails == 0 || heads == 0; ++seed) {
        MTSeed(seed);
        (MTOneChanceIn(2) ? heads : tails) = seed;
    }
    struct Case {
        uint32_t seed;
        const char* line;
    };
    const Case cases[] = {{tails, "The Diggle collapses in a pile of goo."},
                          {heads, "The Diggle collapses in a pile of goo and goo!"}};
    for (const Case& c : cases) {
        ClearTickerLog();
        Monster* diggle = AddMonster("Diggle", 6, 6);
        MTSeed(c.seed);
        diggle->TakeDamage(1000, &hero_, "by the player", 0, 0);
        EXPECT_TRUE(Logged(c.line)) << Log();
        QueueObjectDeletion(diggle);
        DeleteQueuedObjects();
    }
}

TEST_F(MonsterDamageTest, AKillIsWrittenToTheEventLogOnce) {
    const std::string path = testing::TempDir() + "monster_kill_events.log";
    ASSERT_TRUE(OpenEventLog(path));
    Monster* diggle = AddMonster("Diggle", 6, 6);
    diggle->TakeDamage(1, &hero_, "by the player", 0, 0);  // a wound is not logged
    diggle->TakeDamage(1000, &hero_, "by the player", 0, 0);
    diggle->TakeDamage(5, &hero_, "by the player", 0, 0);  // the corpse dies no second time
    CloseEventLog();
    QueueObjectDeletion(diggle);
    DeleteQueuedObjects();
    std::ifstream in(path);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "EVENT: Player killed a Diggle\n");
}

TEST_F(MonsterDamageTest, WakingAndAngeringBeforeTheBlow) {
    Monster* diggle = AddMonster("Diggle", 6, 6);
    diggle->statusFlags = Monster::kStatusAsleep;
    diggle->TakeDamage(1, nullptr, "by fire", 4, 0);
    const std::string log = Log();
    const size_t wakes = log.find("The Diggle wakes up!");
    const size_t hostile = log.find("The Diggle becomes hostile!");
    ASSERT_NE(wakes, std::string::npos);
    ASSERT_NE(hostile, std::string::npos);
    EXPECT_LT(wakes, hostile);
    EXPECT_TRUE(diggle->noticed);
    EXPECT_EQ(diggle->health, 999);
}

TEST_F(MonsterDamageTest, GoldDropsByTheLootChance) {
    struct Case {
        int32_t chance;
        double low, high;
    };
    const Case cases[] = {{3, 1.0 / 3 - 0.05, 1.0 / 3 + 0.05}, {1, 1.0, 1.0}, {0, 1.0, 1.0}};
    for (const Case& c : cases) {
        SetTweaks(Tweak("monster loot drop chance", c.chance) + Tweak("gold drop per level", 4));
        MTSeed(7);
        Monster* diggle = AddMonster("Diggle", 6, 6);
        const int32_t kills = 3000;
        int32_t drops = 0;
        for (int32_t i = 0; i < kills; ++i) {
            diggle->dead = 0;
            diggle->health = 1;
            Sounds().clear();
            diggle->TakeDamage(1, &hero_, "by the player", 0, 0);
            drops += CountSound("money_get");
            ApplyDeferredObjectMoves();
        }
        const double share = static_cast<double>(drops) / kills;
        EXPECT_GE(share, c.low) << c.chance;
        EXPECT_LE(share, c.high) << c.chance;
        QueueObjectDeletion(diggle);
        DeleteQueuedObjects();
    }
}

TEST_F(MonsterDamageTest, ACommandersHordeFleesAndStaysAfraidWhileSleepersWake) {
    Monster* commander = AddMonster("Diggle", 6, 6);
    commander->hordeName = "the Grubs";
    std::vector<Monster*> members;
    for (int32_t i = 0; i < 3; ++i) {
        Monster* member = AddMonster("Diggle", 5 + i, 7);
        member->commander = commander;
        commander->hordeMembers.push_back(member);
        members.push_back(member);
    }
    Monster* sleeper = AddMonster("Diggle", 8, 6);
    sleeper->statusFlags = Monster::kStatusAsleep | Monster::kStatusConfused;
    commander->TakeDamage(2000, &hero_, "by the player", 0, 0);
    EXPECT_TRUE(Logged("You have defeated the Commander of the Grubs!"));
    EXPECT_TRUE(Logged("The remaining members of the Grubs flee in fear!"));
    for (Monster* member : members) {
        EXPECT_TRUE(member->HasStatus(Monster::kStatusAfraid));
        EXPECT_GE(member->fearTurns, 20);
        EXPECT_LE(member->fearTurns, 49);
    }
    EXPECT_FALSE(sleeper->HasStatus(Monster::kStatusAsleep));
    EXPECT_TRUE(sleeper->HasStatus(Monster::kStatusConfused));
    EXPECT_TRUE(Logged("A nearby monster has woken up as a result of the fighting!"));
}

TEST_F(MonsterDamageTest, SneakyHeroesWakeNobody) {
    hero_.stat[kStatSneakiness] = 100;
    Monster* target = AddMonster("Diggle", 6, 6);
    Monster* sleeper = AddMonster("Diggle", 7, 6);
    sleeper->statusFlags = Monster::kStatusAsleep;
    target->TakeDamage(3, &hero_, "by the player", 0, 0);
    EXPECT_TRUE(sleeper->HasStatus(Monster::kStatusAsleep));
}

TEST_F(MonsterDamageTest, OneSplatPerSquareWhereTheMonsterWasHit) {
    struct Case {
        int32_t x, y;
    };
    const Case cases[] = {{4, 4}, {0, 0}, {11, 11}};
    for (const Case& c : cases) {
        Monster* monster = AddMonster("Diggle", c.x, c.y);
        monster->TakeDamage(1, &hero_, "by the player", 0, 0);
        EXPECT_EQ(CountOn(c.x, c.y, "Splat"), 1);
        monster->TakeDamage(1, &hero_, "by the player", 0, 0);
        monster->TakeDamage(0, &hero_, "by the player", 0, 0);
        EXPECT_EQ(CountOn(c.x, c.y, "Splat"), 1);
    }
}

TEST_F(MonsterDamageTest, ACorpseOnAWallSquareMovesToAFloorNeighbourOrStays) {
    ScopedTestLevel walls({"###", "#.#", "###", "####"});
    // Surrounded by walls on every side it stays where it fell.
    Monster* boxed = new Monster(monDBFindByName("Diggle"));
    boxed->PlaceOnLevel(0, 3, walls.get(), 1);
    boxed->health = 1;
    boxed->TakeDamage(1, &hero_, "by the player", 0, 0);
    ApplyDeferredObjectMoves();
    EXPECT_EQ(boxed->x, 0);
    EXPECT_EQ(boxed->y, 3);
    // Next to floor it is moved onto it.
    Monster* beside = new Monster(monDBFindByName("Diggle"));
    beside->PlaceOnLevel(1, 0, walls.get(), 1);
    beside->health = 1;
    beside->TakeDamage(1, &hero_, "by the player", 0, 0);
    ApplyDeferredObjectMoves();
    EXPECT_EQ(beside->x, 1);
    EXPECT_EQ(beside->y, 1);
    EXPECT_EQ(beside->blocksMovement, 0);
}

TEST_F(MonsterDamageTest, TheLastZooMonsterWithNoSuitableArmourGivesNoReward) {
    // No armour definitions at all, whatever an earlier test of this process loaded: the reward
    // draw finds nothing and no notice waits for an answer.
    ClearItemDB();
    Monster* keeper = AddMonster("Diggle", 6, 6);
    keeper->zooMonster = true;
    hero_.zooMonsterCount = 1;
    PlayMusic("tunes/shop-open.ogg", "tunes/shop-repeat.ogg");
    testing::internal::CaptureStdout();
    keeper->TakeDamage(2000, &hero_, "by the player", 0, 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(hero_.zooMonsterCount, 0);
    EXPECT_NE(out.find("no reward"), std::string::npos);
    // The cleared zoo hands the music back to the dungeon at once.
    EXPECT_NE(CurrentMusicIntro(), "tunes/shop-open.ogg");
    EXPECT_EQ(CurrentMusicIntro().rfind("tunes/", 0), 0u) << CurrentMusicIntro();
}

TEST_F(MonsterDamageTest, KillingTheFinalBossWinsAfterOneMouseRelease) {
    // A two-frame vanish for the hero, whose last frame stays while the game waits.
    Sprite vanish;
    vanish.frames = new SDL_Surface*[2];
    for (int32_t i = 0; i < 2; ++i) {
        vanish.frames[i] = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    }
    vanish.delays = new uint16_t[2]{40, 40};
    vanish.frameCount = 2;
    hero_.heroAnimations[kHeroVanishR] = &vanish;
    // The wait ends at a mouse release or at the window's close request.
    const std::pair<const char*, const char*> cases[] = {
        {"Lord Zarnoch", "buttonup 1 10 10\n"},
        {"Tougher Lord Zarnoch", "buttonup 1 10 10\n"},
        {"Lord Zarnoch", "quit\n"},
    };
    for (const auto& c : cases) {
        const char* name = c.first;
        SCOPED_TRACE(std::string(name) + " " + c.second);
        hero_.bob.sprite = nullptr;
        if (monDBFindByName(name) == nullptr) LoadMonsters(std::string("<monDB><monster name=\"") + name + "\"/></monDB>");
        VictoryFlag = false;
        Monster* boss = AddMonster(name, 6, 6);
        ASSERT_TRUE(OpenInputScriptText(c.second));
        boss->TakeDamage(5000, &hero_, "by the player", 0, 0);
        EXPECT_TRUE(VictoryFlag);
        EXPECT_EQ(CurrentMusicIntro(), "tunes/orb-unlooped.ogg");
        EXPECT_EQ(CurrentMusicLoop(), "");
        EXPECT_FALSE(InputScriptActive());
        EXPECT_EQ(hero_.bob.sprite, &vanish);
        EXPECT_EQ(hero_.bob.frame, 1);
        EXPECT_TRUE(hero_.bob.finished);
        ResetInputLog();
    }
    VictoryFlag = false;
    hero_.heroAnimations[kHeroVanishR] = nullptr;
    hero_.bob.sprite = nullptr;
}

}  // namespace
