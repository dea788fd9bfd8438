#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/save_stream.h"
#include "core/text_db.h"
#include "creatures/ability.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/weapon.h"
#include "media/sprite.h"

namespace {

const char kItems[] = R"(<itemdb>
  <item name="Sword" type="0"><weapon level="0" slashing="4"/><secondarybuff id="5" amount="2"/>
    <primarybuff id="1" amount="1"/></item>
  <item name="Shield"><armour type="shield" ac="3"/><resistbuff toxic="4"/></item>
  <item name="Glaive" type="0" iconFile="items/test_glaive.png"><weapon level="1" slashing="2"/></item>
  <item name="Ring"><armour type="ring" randoms="0"/><resistbuff voltaic="5"/><secondarybuff id="8" amount="3"/></item>
</itemdb>)";

class EquipmentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearItemDB();
        ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
        savedHero_ = CurrentPlayer;
        CurrentPlayer = &hero_;
        InventoryGrid.Clear();
        testing::internal::CaptureStdout();  // the icon of the penalty buff is not loaded here
    }
    void TearDown() override {
        testing::internal::GetCapturedStdout();
        for (AbilityRecord* ability : abilities_) {
            AbilityList.erase(std::remove(AbilityList.begin(), AbilityList.end(), ability), AbilityList.end());
            delete ability;
        }
        CurrentPlayer = savedHero_;
        ClearItemDB();
        SpriteMgr_FreeAll();
    }
    int32_t Named(const char* name) {
        return static_cast<int32_t>(std::count_if(hero_.buffs.begin(), hero_.buffs.end(),
                                                  [name](const Buff* b) { return b->name == name; }));
    }
    void AddMastery(int32_t skill, int32_t level, int32_t stat, int32_t amount) {
        AbilityRecord* ability = new AbilityRecord();
        ability->skillId = skill;
        ability->level = level;
        ability->secondaryMods[stat] = amount;
        AbilityList.push_back(ability);
        abilities_.push_back(ability);
    }
    Player hero_;
    Player* savedHero_ = nullptr;
    std::vector<AbilityRecord*> abilities_;
};

TEST_F(EquipmentTest, ShieldsFillTheFirstHandThenTheSecondAndRingsSlotFourThenThree) {
    Armour a(FindItemDefByName("Shield"));
    Armour b(FindItemDefByName("Shield"));
    Armour c(FindItemDefByName("Shield"));
    EXPECT_EQ(a.Use(), 1);
    EXPECT_EQ(b.Use(), 1);
    EXPECT_EQ(c.Use(), 0);
    EXPECT_EQ(hero_.FirstHand(), &a);
    EXPECT_EQ(hero_.SecondHand(), &b);
    EXPECT_EQ(hero_.firstHandShield, &a);
    EXPECT_EQ(hero_.secondHandShield, &b);
    Armour r1(FindItemDefByName("Ring"));
    Armour r2(FindItemDefByName("Ring"));
    Armour r3(FindItemDefByName("Ring"));
    EXPECT_EQ(r1.Use(), 1);
    EXPECT_EQ(r2.Use(), 1);
    EXPECT_EQ(r3.Use(), 0);
    EXPECT_EQ(hero_.EquippedAt(kSlotSecondRing), &r1);
    EXPECT_EQ(hero_.EquippedAt(kSlotFirstRing), &r2);
    EXPECT_EQ(hero_.equipSlots[3], &r1);  // the second ring's place in the array
    hero_.ForgetEquipped(&a);
    hero_.ForgetEquipped(&b);
    hero_.ForgetEquipped(&r1);
    hero_.ForgetEquipped(&r2);
}

TEST_F(EquipmentTest, TwoSwordsWithoutDualWieldingGiveOneHandsFull) {
    for (int32_t offHand : {kSlotFirstHand, kSlotSecondHand}) {
        Weapon first(FindItemDefByName("Sword"));
        Weapon second(FindItemDefByName("Sword"));
        hero_.EquippedAt(kSlotFirstHand) = &first;
        first.OnEquip(kSlotFirstHand);
        EXPECT_EQ(Named("Hands Full!"), 0);
        hero_.EquippedAt(kSlotSecondHand) = &second;
        second.OnEquip(kSlotSecondHand);
        Weapon::CheckDualWield();  // a second check adds nothing
        EXPECT_EQ(Named("Hands Full!"), 1);
        Weapon& leaving = offHand == kSlotFirstHand ? first : second;
        leaving.OnUnequip(offHand);
        hero_.EquippedAt(offHand) = nullptr;
        EXPECT_EQ(Named("Hands Full!"), 0);
        Weapon& staying = offHand == kSlotFirstHand ? second : first;
        const int32_t other = offHand == kSlotFirstHand ? kSlotSecondHand : kSlotFirstHand;
        staying.OnUnequip(other);
        hero_.EquippedAt(other) = nullptr;
    }
}

TEST_F(EquipmentTest, UnequippingRestoresEveryStatisticEvenAfterALevelUp) {
    AddMastery(0, 0, 3, 2);  // sword mastery at skill level 1
    AddMastery(0, 1, 4, 5);  // at skill level 2
    hero_.skillIds[0] = 0;
    hero_.skillLevels[0] = 1;
    const std::vector<int32_t> statBefore(std::begin(hero_.statBonus), std::end(hero_.statBonus));
    const std::vector<int32_t> primaryBefore(std::begin(hero_.primaryBonus), std::end(hero_.primaryBonus));
    const std::vector<int32_t> resistBefore(std::begin(hero_.resistance), std::end(hero_.resistance));
    Weapon sword(FindItemDefByName("Sword"));
    hero_.EquippedAt(kSlotFirstHand) = &sword;
    sword.OnEquip(kSlotFirstHand);
    EXPECT_EQ(hero_.statBonus[3], 2);
    EXPECT_EQ(hero_.statBonus[4], 0);
    EXPECT_EQ(hero_.statBonus[5], 2);
    EXPECT_EQ(hero_.primaryBonus[1], 1);
    EXPECT_EQ(hero_.firstHandWeapon, &sword);
    hero_.skillLevels[0] = 2;  // a level-up while the sword is held
    sword.OnUnequip(kSlotFirstHand);
    hero_.EquippedAt(kSlotFirstHand) = nullptr;
    EXPECT_EQ(std::vector<int32_t>(std::begin(hero_.statBonus), std::end(hero_.statBonus)), statBefore);
    EXPECT_EQ(std::vector<int32_t>(std::begin(hero_.primaryBonus), std::end(hero_.primaryBonus)), primaryBefore);
    EXPECT_EQ(std::vector<int32_t>(std::begin(hero_.resistance), std::end(hero_.resistance)), resistBefore);
    EXPECT_EQ(hero_.firstHandWeapon, nullptr);
}

TEST_F(EquipmentTest, ARingThatComesOffStopsCountingAtOnce) {
    Armour ring(FindItemDefByName("Ring"));
    ASSERT_EQ(ring.Use(), 1);
    EXPECT_EQ(hero_.resistance[6], 5);
    EXPECT_EQ(hero_.statBonus[8], 3);
    ring.OnUnequip(kSlotSecondRing);
    EXPECT_EQ(hero_.EquippedAt(kSlotSecondRing), nullptr);
    EXPECT_EQ(hero_.resistance[6], 0);
    EXPECT_EQ(hero_.statBonus[8], 0);
}

TEST_F(EquipmentTest, AnArtifactBuffGoesOnAndOffWithItsWeapon) {
    ClearTextDB();
    Weapon sword(FindItemDefByName("Sword"));
    GenerateArtifact(&sword.artifactRecord, 2, &sword);
    sword.isArtifact = true;
    hero_.EquippedAt(kSlotFirstHand) = &sword;
    sword.OnEquip(kSlotFirstHand);
    EXPECT_EQ(std::count(hero_.buffs.begin(), hero_.buffs.end(), sword.artifactRecord.grantedBuff.get()), 1);
    sword.OnUnequip(kSlotFirstHand);
    hero_.EquippedAt(kSlotFirstHand) = nullptr;
    EXPECT_EQ(std::count(hero_.buffs.begin(), hero_.buffs.end(), sword.artifactRecord.grantedBuff.get()), 0);
    ASSERT_NE(sword.artifactRecord.grantedBuff, nullptr);  // the weapon still owns it
}

TEST_F(EquipmentTest, AnArtifactWeaponsBuffShowsTheWeaponsIcon) {
    ClearTextDB();
    Weapon glaive(FindItemDefByName("Glaive"));
    ASSERT_NE(glaive.iconSprite, nullptr);
    GenerateArtifact(&glaive.artifactRecord, 2, &glaive);
    glaive.isArtifact = true;
    hero_.EquippedAt(kSlotFirstHand) = &glaive;
    glaive.OnEquip(kSlotFirstHand);
    Buff* granted = glaive.artifactRecord.grantedBuff.get();
    ASSERT_NE(granted, nullptr);
    EXPECT_EQ(granted->iconSprite, glaive.iconSprite) << "the buff column draws it";
    glaive.OnUnequip(kSlotFirstHand);
    hero_.EquippedAt(kSlotFirstHand) = nullptr;
    // A weapon read back from a save lends its icon as well.
    SaveWriter out;
    ASSERT_TRUE(glaive.Save(out));
    SaveReader in(out.Buffer());
    Weapon back(in);
    ASSERT_FALSE(in.Failed());
    ASSERT_NE(back.artifactRecord.grantedBuff, nullptr);
    EXPECT_EQ(back.artifactRecord.grantedBuff->iconSprite, back.iconSprite);
    EXPECT_NE(back.iconSprite, nullptr);
}

}  // namespace
