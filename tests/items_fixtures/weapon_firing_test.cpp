// Firing bolts and throwing weapons at creatures and at squares.
#include <gtest/gtest.h>

#include <string>

#include "creatures/combat.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/weapon.h"
#include "levels/object_queue.h"
#include "tests/creatures/fight_fixture.h"

namespace {

class WeaponFiringTest : public FightTest {
protected:
    void SetUp() override {
        FightTest::SetUp();
        LightEverything();
        boltDef_.name = "Bolt";
        boltDef_.category = kItemWeapon;
        boltDef_.itemClass = kWeaponAmmunition;
        boltDef_.damage[kDamagePiercing] = 3;
        bowDef_.name = "Bow";
        bowDef_.category = kItemWeapon;
        bowDef_.itemClass = kWeaponCrossbow;
        swordDef_.name = "Sword";
        swordDef_.category = kItemWeapon;
        swordDef_.itemClass = kWeaponSword;
        dartDef_.name = "Dart";
        dartDef_.category = kItemWeapon;
        dartDef_.itemClass = kWeaponThrowing;
        dartDef_.thrown = "sprites/sfx/arrow_e.spr";
        dartDef_.damage[kDamagePiercing] = 4;
        SetTweaks(Tweak("hit ammo drop percent", 0));
    }
    void TearDown() override {
        hero_.crossbow = nullptr;
        hero_.EquippedAt(kSlotAmmunition) = nullptr;
        ActiveItem = nullptr;
        FightTest::TearDown();
    }
    Weapon* Stack(ItemDef* def, int32_t count) {
        Weapon* stack = new Weapon(def);
        stack->stackable = 1;
        stack->count = count;
        return stack;
    }
    ItemDef boltDef_;
    ItemDef bowDef_;
    ItemDef swordDef_;
    ItemDef dartDef_;
};

TEST_F(WeaponFiringTest, BoltsNeedACrossbowAndOnlyCreaturesAreTargets) {
    PlaceHero(2, 4);
    Monster* diggle = AddMonster("Diggle", 6, 4);
    Weapon* bolts = Stack(&boltDef_, 5);
    EXPECT_EQ(bolts->UseOn(diggle, &hero_), 0);
    EXPECT_TRUE(Logged("You have no crossbow!"));
    EXPECT_EQ(bolts->count, 5);
    Weapon bow(&bowDef_);
    hero_.crossbow = &bow;
    EXPECT_EQ(bolts->UseOn(&hero_, &hero_), 0) << "the hero is no target";
    EXPECT_EQ(bolts->UseOn(diggle, diggle), 0) << "only the hero fires";
    Weapon sword(&swordDef_);
    EXPECT_EQ(sword.UseOn(diggle, &hero_), 1) << "a hand weapon answers and does nothing";
    EXPECT_EQ(diggle->health, 1000);
    delete bolts;
}

TEST_F(WeaponFiringTest, AFiredBoltStrikesTheCreatureAndTheLastOneEndsTheStack) {
    PlaceHero(2, 4);
    Monster* diggle = AddMonster("Diggle", 6, 4);
    Weapon bow(&bowDef_);
    hero_.crossbow = &bow;
    Weapon* bolts = Stack(&boltDef_, 2);
    EXPECT_EQ(bolts->UseOn(diggle, &hero_), 1);
    EXPECT_EQ(bolts->count, 1);
    EXPECT_EQ(hero_.facing, 3) << "the creature lies east";
    EXPECT_EQ(CountSound("bow"), 1);
    EXPECT_EQ(bolts->UseOn(diggle, &hero_), 1);
    EXPECT_TRUE(Logged("You have run out of ammunition!"));
    EXPECT_EQ(QueuedDeletionCount(), 1u);
    EXPECT_LT(diggle->health, 1000) << "the bolts struck";
    DeleteQueuedObjects();
}

TEST_F(WeaponFiringTest, AThrowAtASquareStrikesWhatStandsWhereTheMissileStops) {
    PlaceHero(2, 4);
    Monster* diggle = AddMonster("Diggle", 5, 4);
    Weapon* darts = Stack(&dartDef_, 3);
    hero_.stat[kStatMeleePower] = 2;
    EXPECT_EQ(darts->UseAtSquare(8, 4, &hero_), 1);
    EXPECT_EQ(darts->count, 2);
    EXPECT_EQ(CountSound("bow"), 1);
    EXPECT_LT(diggle->health, 1000) << "the dart stopped on the creature's square and struck it";
    // Bolts at a square without a crossbow, and a hand weapon at a square, do nothing.
    Weapon* bolts = Stack(&boltDef_, 4);
    EXPECT_EQ(bolts->UseAtSquare(5, 4, &hero_), 0);
    EXPECT_EQ(bolts->count, 4);
    Weapon sword(&swordDef_);
    EXPECT_EQ(sword.UseAtSquare(5, 4, &hero_), 0);
    delete darts;
    delete bolts;
}

TEST_F(WeaponFiringTest, APieceFoundAgainKeepsItsStacksShopMark) {
    // A bolt fired or a dart thrown from shop goods lies where it landed, and what is found
    // again is still the shop's until paid for: it never turns into the hero's own.
    SetTweaks(Tweak("hit ammo drop percent", 100));
    Weapon bow(&bowDef_);
    hero_.crossbow = &bow;
    struct Case {
        const char* name;
        ItemDef* def;
        int32_t unpaid;
    };
    const Case cases[] = {{"fired bolt, unpaid", &boltDef_, 1},
                          {"fired bolt, paid", &boltDef_, 0},
                          {"thrown dart, unpaid", &dartDef_, 1},
                          {"thrown dart, paid", &dartDef_, 0}};
    for (const Case& c : cases) {
        PlaceHero(2, 4);
        Monster* diggle = AddMonster("Diggle", 6, 4);
        Weapon* stack = Stack(c.def, 3);
        stack->unpaid = c.unpaid;
        EXPECT_EQ(stack->UseOn(diggle, &hero_), 1) << c.name;
        EXPECT_EQ(stack->count, 2) << c.name;
        ApplyDeferredObjectMoves();
        Weapon* piece = nullptr;
        for (GameObj* obj : level_->GetCell(6, 4)->contents) {
            Weapon* weapon = dynamic_cast<Weapon*>(obj);
            if (weapon != nullptr && weapon != stack && weapon->def == c.def) piece = weapon;
        }
        ASSERT_NE(piece, nullptr) << c.name << ": the piece is found again";
        EXPECT_EQ(piece->count, 1) << c.name;
        EXPECT_EQ(piece->unpaid, c.unpaid) << c.name;
        QueueObjectDeletion(piece);
        QueueObjectDeletion(diggle);
        DeleteQueuedObjects();
        delete stack;
    }
}

}  // namespace
