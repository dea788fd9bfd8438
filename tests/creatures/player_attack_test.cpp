// The hero's melee strikes (combos, the Fruitful Staff) and throws (walls, the last piece).
#include <gtest/gtest.h>

#include <string>

#include "creatures/combat.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/weapon.h"
#include "levels/tile_effects.h"
#include "store_platform/store.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"
#include "tests/creatures/fight_fixture.h"

namespace {

class PlayerAttackTest : public FightTest {
protected:
    void SetUp() override {
        FightTest::SetUp();
        // A wall at (5, 3..5) of the otherwise open level.
        for (int32_t y = 3; y <= 5; ++y) level_->GetCell(5, y)->type = SquareType::Wall;
        LightEverything();
        ClearItemDB();
        ASSERT_TRUE(itemDBLoadText("<itemdb><item name='Apple'><food/></item><item name='Plum'><food/></item>"
                                   "<item name='Pear'><food/></item></itemdb>",
                                   "test items"));
        staffDef_.name = "Fruitful Staff";
        staffDef_.category = kItemWeapon;
        staffDef_.itemClass = kWeaponStaff;
        dartDef_.name = "Dart";
        dartDef_.category = kItemWeapon;
        dartDef_.itemClass = kWeaponThrowing;
        dartDef_.thrown = "sprites/missiles/dart.spr";
        dartDef_.damage[kDamagePiercing] = 4;
    }
    void TearDown() override {
        hero_.EquippedAt(kSlotFirstHand) = nullptr;
        FightTest::TearDown();
        ClearItemDB();
    }
    void AddComboBuff(int32_t strikes) {
        Buff* buff = new Buff("combo");
        buff->multiBuff = strikes;
        hero_.buffs.push_back(buff);
    }
    // The hero's empty-handed blows sound as "unarmed1".."unarmed3" (or the female set).
    static int32_t CountUnarmedSounds() {
        int32_t n = 0;
        for (const char* stem : {"unarmed", "unarmed_female"}) {
            for (int32_t i = 1; i <= 3; ++i) n += CountSound(stem + std::to_string(i));
        }
        return n;
    }
    ItemDef staffDef_;
    ItemDef dartDef_;
};

TEST_F(PlayerAttackTest, OnlyAnOrthogonalNeighbourIsStruck) {
    PlaceHero(3, 3);
    hero_.stat[kStatMeleePower] = 2;
    struct Case {
        int32_t x, y;
        int32_t result;
    };
    const Case cases[] = {{4, 4, 0}, {2, 2, 0}, {3, 5, 0}, {4, 3, 1}, {3, 2, 1}};
    for (const Case& c : cases) {
        Monster* monster = AddMonster("Diggle", c.x, c.y);
        Sounds().clear();
        EXPECT_EQ(monster->Activate(), c.result) << c.x << "," << c.y;
        EXPECT_EQ(1000 - monster->health, c.result != 0 ? 2 : 0);
        EXPECT_EQ(CountUnarmedSounds(), c.result) << "empty hands: the hero's own blow sound";
        EXPECT_EQ(CountSound("swing"), 0);
        EXPECT_EQ(monster->noticed, c.result != 0);
        QueueObjectDeletion(monster);
        DeleteQueuedObjects();
    }
}

TEST_F(PlayerAttackTest, CombosAddUpAndSoundOnce) {
    PlaceHero(3, 3);
    hero_.stat[kStatMeleePower] = 2;
    AddComboBuff(2);
    AddComboBuff(1);
    Monster* monster = AddMonster("Diggle", 3, 4);
    monster->Activate();
    EXPECT_EQ(1000 - monster->health, 6);
    EXPECT_EQ(CountUnarmedSounds(), 3);
    EXPECT_EQ(CountSound("combo"), 1);
    EXPECT_EQ(hero_.facing, 0) << "the monster below: the hero faces down";
}

TEST_F(PlayerAttackTest, TheFruitfulStaffDropsAFruitForEveryStrikeOnTheSlain) {
    TempDir user;
    ScopedEnv env("VAULTMERE_USER_DIR", user.path().c_str());
    ASSERT_TRUE(SteamAPI_Init());
    PlaceHero(3, 3);
    Weapon staff(&staffDef_);
    hero_.EquippedAt(kSlotFirstHand) = &staff;
    hero_.stat[kStatMeleePower] = 5;
    AddComboBuff(3);
    Monster* monster = AddMonster("Diggle", 2, 3);
    monster->health = 1;
    monster->Activate();
    EXPECT_NE(monster->dead, 0);
    int32_t fruits = 0;
    for (GameObj* obj : level_->GetCell(2, 3)->contents) {
        Food* food = dynamic_cast<Food*>(obj);
        if (food == nullptr) continue;
        ++fruits;
        const std::string name = food->def->name;
        EXPECT_TRUE(name == "Apple" || name == "Plum" || name == "Pear") << name;
    }
    EXPECT_EQ(fruits, 3);
    EXPECT_NE(ReadWholeFile(user.file("store/stats.txt")).find("ACHIEVEMENT_FRUIT"), std::string::npos);
    SteamAPI_Shutdown();
}

TEST_F(PlayerAttackTest, AThrowHitsOnlyWhenTheMissileStopsOnTheMonstersSquare) {
    SetTweaks(Tweak("hit ammo drop percent", 100));
    struct Case {
        int32_t heroX, monsterX;
        int32_t stopX;
        bool hits;
    };
    const Case cases[] = {{3, 7, 5, false}, {6, 9, 9, true}};
    for (const Case& c : cases) {
        PlaceHero(c.heroX, 4);
        Monster* monster = AddMonster("Diggle", c.monsterX, 4);
        int32_t stopX = -1;
        int32_t stopY = -1;
        AnimateMissile(c.heroX, 4, c.monsterX, 4, &stopX, &stopY, nullptr);
        EXPECT_EQ(stopX, c.stopX);
        EXPECT_EQ(stopY, 4);
        Weapon* darts = new Weapon(&dartDef_);
        darts->count = 5;
        hero_.ThrowWeaponAt(monster, darts);
        EXPECT_EQ(darts->count, 4);
        EXPECT_EQ(monster->health < 1000, c.hits);
        // A piece lands only on floor: never on the wall that stopped it.
        EXPECT_EQ(IsQueuedMoveTarget(level_.get(), c.stopX, 4), c.hits);
        EXPECT_EQ(hero_.facing, 3);
        delete darts;
        ApplyDeferredObjectMoves();
        QueueObjectDeletion(monster);
        DeleteQueuedObjects();
    }
}

TEST_F(PlayerAttackTest, TheLastPieceThrownEndsTheStack) {
    PlaceHero(6, 4);
    Monster* monster = AddMonster("Diggle", 6, 7);
    Weapon* darts = new Weapon(&dartDef_);
    darts->count = 1;
    hero_.ThrowWeaponAt(monster, darts);
    EXPECT_TRUE(Logged("You have run out of throwing weaponry!"));
    EXPECT_EQ(QueuedDeletionCount(), 1u);
    EXPECT_EQ(hero_.facing, 0);
    DeleteQueuedObjects();
}

}  // namespace
