// The hero walking a found path on small text levels with the fixed frame clock, the
// footsteps, and drowning.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/input_log.h"
#include "core/shell/game_input.h"
#include "core/shell/turn_engine.h"
#include "creatures/player.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/trap.h"
#include "levels/level_test_map.h"
#include "levels/object_queue.h"
#include "media/effect_animation.h"
#include "media/music.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "store_platform/store.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

int32_t TurnsRun = 0;

// A creature of the monster list that answers an activation with a set value.
class Answering : public GameObj {
public:
    explicit Answering(int32_t reply) : reply_(reply) {}
    int32_t IsMonster() override { return 1; }
    int32_t Activate() override {
        ++asked;
        return reply_;
    }
    int32_t asked = 0;

private:
    int32_t reply_;
};

void NoFieldOfView(Level*, int32_t, int32_t, int32_t) {}
void NoHeroTriggers(Player*) {}
void Nothing() {}
void NoWanderer(Level*) {}
void CountTurn() { ++TurnsRun; }

// The footstep heard before each turn of a walk ("-" for none).
std::vector<std::string> FootstepsByTurn;
void HearFootstep(const char* name) {
    const std::string sound = name;
    if (sound.compare(0, 4, "foot") != 0) return;
    if (FootstepsByTurn.size() <= static_cast<size_t>(TurnsRun)) FootstepsByTurn.resize(TurnsRun + 1, "-");
    FootstepsByTurn[static_cast<size_t>(TurnsRun)] = sound;
}

class PlayerWalkTest : public testing::Test {
protected:
    void SetUp() override {
        savedCalls_ = TurnCalls;
        TurnCalls = TurnEngineCalls{NoFieldOfView, NoHeroTriggers, Nothing, Nothing, NoWanderer,
                                    Nothing,       Nothing,        Nothing, CountTurn};
        savedHero_ = CurrentPlayer;
        TurnsRun = 0;
        ResetInputLog();
        SetFixedFrameTime(16);
    }
    void TearDown() override {
        TurnCalls = savedCalls_;
        CurrentPlayer = savedHero_;
        ResetInputLog();
        SetFixedFrameTime(0);
    }
    // A hero on the level (the level owns it).
    Player* PlaceHero(Level* level, int32_t x, int32_t y) {
        Player* hero = new Player();
        hero->PlaceOnLevel(x, y, level, 0);
        CurrentPlayer = hero;
        return hero;
    }
    TurnEngineCalls savedCalls_{};
    Player* savedHero_ = nullptr;
};

TEST(Footsteps, EveryFourSquaresSoundFoot1NothingFoot2Nothing) {
    // The counter is shared by every walk: find where it stands first.
    std::string sound;
    for (int32_t i = 0; i < 4 && sound != "foot1"; ++i) {
        const char* next = TakeFootstepSound();
        sound = next != nullptr ? next : "";
    }
    ASSERT_EQ(sound, "foot1");
    std::vector<std::string> heard;
    for (int32_t i = 0; i < 7; ++i) {
        const char* next = TakeFootstepSound();
        heard.push_back(next != nullptr ? next : "-");
    }
    EXPECT_EQ(heard, (std::vector<std::string>{"-", "foot2", "-", "foot1", "-", "foot2", "-"}));
}

TEST_F(PlayerWalkTest, FourStepsSoundFoot1NothingFoot2Nothing) {
    // Bring the shared counter to the start of its round: the step after "foot2" is silent.
    for (int32_t i = 0; i < 4; ++i) {
        const char* sound = TakeFootstepSound();
        if (sound != nullptr && std::string(sound) == "foot2") break;
    }
    EXPECT_EQ(TakeFootstepSound(), nullptr);
    ScopedTestLevel level({"#######", "#.....#", "#######"});
    Player* hero = PlaceHero(level.get(), 1, 1);
    const int32_t savedSound = SoundEnabled;
    SoundEnabled = 1;
    FootstepsByTurn.clear();
    SetSFXRequestObserver(HearFootstep);
    EXPECT_EQ(hero->WalkPathTo(5, 1), 0);
    SetSFXRequestObserver(nullptr);
    SoundEnabled = savedSound;
    EXPECT_EQ(TurnsRun, 4);
    FootstepsByTurn.resize(4, "-");
    EXPECT_EQ(FootstepsByTurn, (std::vector<std::string>{"foot1", "-", "foot2", "-"}));
    CurrentPlayer = nullptr;
}

TEST_F(PlayerWalkTest, WalksStopsAndRefusesAsTheSquaresOnTheWayDecide) {
    struct Case {
        const char* name;
        int32_t targetX, targetY;
        bool spottedTrap;   // a visible trap on the first square of the way
        const char* input;  // scripted input during the walk
        int32_t result, endX, endY, turns;
    };
    const Case cases[] = {
        {"to the end of the corridor", 5, 1, false, "", 0, 5, 1, 4},
        {"back along it", 1, 1, false, "", 0, 1, 1, 4},
        {"a wall top above a floor square means the floor", 4, 0, false, "", 0, 4, 1, 3},
        {"a visible trap stops the hero in front, one turn", 5, 1, true, "", 1, 1, 1, 1},
        {"no way to the square: no turn", 1, 3, false, "", 1, 1, 1, 0},
        {"already there", 1, 1, false, "", 0, 1, 1, 0},
        {"a key pressed during the slide interrupts", 5, 1, false, "wait 40\nkey a", 1, 2, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedTestLevel level({"#######",
                               "#.....#",
                               "#######",
                               "#.#####"});
        const int32_t startX = std::string(c.name) == "back along it" ? 5 : 1;
        Player* hero = PlaceHero(level.get(), startX, 1);
        if (c.spottedTrap) {
            Trap* trap = new Trap(nullptr);
            trap->discovered = 1;
            trap->PlaceOnLevel(2, 1, level.get(), 0);
        }
        ResetInputLog();
        if (c.input[0] != '\0') {
            ASSERT_TRUE(OpenInputScriptText(c.input));
        }
        TurnsRun = 0;
        HeroInputTurns = 0;
        EXPECT_EQ(hero->WalkPathTo(c.targetX, c.targetY), c.result);
        EXPECT_EQ(HeroInputTurns, c.turns) << "the hero's turns are the turns that passed";
        EXPECT_EQ(hero->x, c.endX);
        EXPECT_EQ(hero->y, c.endY);
        EXPECT_EQ(TurnsRun, c.turns);
        EXPECT_EQ(hero->walkInterrupted, 0) << "every walk clears the flag when it stops";
        EXPECT_EQ(hero->offsetX, 0.0f);
        CurrentPlayer = nullptr;
    }
}

TEST_F(PlayerWalkTest, DrowningKillsTheHeroWithTheDeathMusicAndItsAchievement) {
    TempDir user;
    ScopedEnv env("VAULTMERE_USER_DIR", user.path().c_str());
    ASSERT_TRUE(SteamAPI_Init());
    ScopedTestLevel level({"#~~#"});
    Player* hero = PlaceHero(level.get(), 1, 0);
    hero->health = 9;
    hero->Drown();
    EXPECT_EQ(hero->health, 0);
    EXPECT_EQ(hero->dead, 1);
    EXPECT_EQ(CurrentMusicIntro(), "tunes/death-open.ogg");
    EXPECT_EQ(CurrentMusicLoop(), "tunes/death-repeat.ogg");
    EXPECT_NE(ReadWholeFile(user.file("store/stats.txt")).find("ACHIEVEMENT_DROWNING"), std::string::npos);
    SteamAPI_Shutdown();
    StopMusic();
}

TEST_F(PlayerWalkTest, PlacingTheHeroEndsMoveBuffsAndPicksUpMoneyBesideIt) {
    ScopedTestLevel level({"#....#"});
    Player* hero = PlaceHero(level.get(), 1, 0);
    (new Zorkmids(25))->PlaceOnLevel(4, 0, level.get(), 0);
    Buff* still = new Buff("Camouflage");
    still->destroyOnMove = 1;
    still->frozenTimer = true;
    hero->AddBuff(still);
    hero->PlaceOnLevel(2, 0, level.get(), 1);
    EXPECT_EQ(hero->buffs.size(), 1u) << "kept with the keep flag";
    EXPECT_EQ(hero->zorkmids, 0);
    hero->PlaceOnLevel(3, 0, level.get(), 0);
    EXPECT_TRUE(hero->buffs.empty());
    EXPECT_EQ(hero->zorkmids, 25) << "the money beside the new square";
    DeleteQueuedObjects();
}

TEST_F(PlayerWalkTest, APurseNeverGrowsBeyondWhatASaveMayHold) {
    // A full purse and a full pile are each a sound save; picking the pile up keeps the purse
    // at the most a save holds, so the next save loads again (and the sum never overflows).
    ScopedTestLevel level({"#....#"});
    Player* hero = PlaceHero(level.get(), 1, 0);
    hero->zorkmids = kMaxSavedZorkmids - 3;
    (new Zorkmids(kMaxSavedZorkmids))->PlaceOnLevel(3, 0, level.get(), 0);
    (new Zorkmids(kMaxSavedZorkmids))->PlaceOnLevel(4, 0, level.get(), 0);
    hero->PlaceOnLevel(2, 0, level.get(), 0);
    EXPECT_EQ(hero->zorkmids, kMaxSavedZorkmids);
    hero->PlaceOnLevel(3, 0, level.get(), 0);
    EXPECT_EQ(hero->zorkmids, kMaxSavedZorkmids);
    DeleteQueuedObjects();
}

TEST_F(PlayerWalkTest, ActingOnASquareAsksItsCreaturesInOrderThenSwings) {
    ScopedTestLevel level({"#....#",
                           "#....#"});
    Player* hero = PlaceHero(level.get(), 2, 0);
    hero->facing = 0;
    Answering* silent = new Answering(0);
    silent->PlaceOnLevel(3, 0, level.get(), 0);
    Answering* taker = new Answering(1);
    taker->PlaceOnLevel(3, 0, level.get(), 0);
    Answering* behind = new Answering(1);
    behind->PlaceOnLevel(3, 0, level.get(), 0);
    hero->ActOnSquare(3, 0);
    EXPECT_EQ(silent->asked, 1);
    EXPECT_EQ(taker->asked, 1);
    EXPECT_EQ(behind->asked, 0) << "the first answer ends the action";
    EXPECT_EQ(hero->facing, 0) << "no swing";

    // Nobody answers: the hero swings and faces the square; a diagonal one is not swung at.
    struct Case {
        int32_t x, y, facing;
    };
    const Case cases[] = {{1, 0, 1}, {2, 1, 0}};
    hero->facing = 2;
    for (const Case& c : cases) {
        hero->ActOnSquare(c.x, c.y);
        EXPECT_EQ(hero->facing, c.facing) << c.x << "," << c.y;
    }
    hero->facing = 2;
    hero->ActOnSquare(3, 1);
    EXPECT_EQ(hero->facing, 2) << "diagonal";
}

TEST_F(PlayerWalkTest, TheHitAnimationFollowsTheFacingUnlessDeadOrPolymorphed) {
    Player hero;
    Sprite hits[4];
    hero.heroAnimations[kHeroHitDown] = &hits[0];
    hero.heroAnimations[kHeroHitLeft] = &hits[1];
    hero.heroAnimations[kHeroHitUp] = &hits[2];
    hero.heroAnimations[kHeroHitRight] = &hits[3];
    ClearQueuedAnimations();
    for (int32_t facing = 0; facing < 4; ++facing) {
        hero.facing = facing;
        hero.PlayHitAnimation();
        EXPECT_EQ(QueuedAnimationCount(), 1) << "queued behind what runs now";
        StartQueuedAnimations();
        EXPECT_EQ(hero.bob.sprite, &hits[facing]) << facing;
        EXPECT_FALSE(hero.bob.loop);
    }
    hero.bob.SetSprite(nullptr);
    hero.isPolymorphed = 1;
    hero.PlayHitAnimation();
    hero.isPolymorphed = 0;
    hero.dead = 1;
    hero.PlayHitAnimation();
    EXPECT_EQ(QueuedAnimationCount(), 0);
    EXPECT_EQ(hero.bob.sprite, nullptr);
}

TEST_F(PlayerWalkTest, DigestingRunsTurnsUntilTheMealIsGoneAndNotWithout) {
    ScopedTestLevel level({"#...#"});
    Player* hero = PlaceHero(level.get(), 1, 0);
    hero->Digest();
    EXPECT_EQ(TurnsRun, 0);
    hero->foodRegenLeft = 3;
    hero->stat[kStatLife] = 10;
    hero->health = 2;
    hero->Digest();
    EXPECT_EQ(TurnsRun, 3);
    EXPECT_EQ(hero->foodRegenLeft, 0);
    EXPECT_EQ(hero->health, 5);
}

}  // namespace
