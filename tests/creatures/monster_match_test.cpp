// Our own monDB.xml against the heroes who meet its monsters first: every monster's plain
// blow gets through the armour and resistances a starting hero may wear, and a starting
// hero's plain blow, with the weakest weapon a kit hands out, gets through the monster's.
#include <gtest/gtest.h>

#include <physfs.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "creatures/combat.h"
#include "creatures/combat_feedback.h"
#include "creatures/skill_db.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/weapon.h"
#include "platform/vfs.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"
#include "tests/creatures/fight_fixture.h"

namespace {

// The torso garments a new hero is given, one per leaning.
const char* const kStartingGarments[] = {"Leather Cuirass", "Fine Linen Shirt", "Robe"};

class MonsterMatchTest : public FightTest {
protected:
    void SetUp() override {
        FightTest::SetUp();
        wasInit_ = PHYSFS_isInit() != 0;
        if (wasInit_) PHYSFS_deinit();
        cwd_.reset(new ScopedWorkingDir(VAULTMERE_GAME_ROOT));
        ASSERT_TRUE(cwd_->ok());
        MountDataTree();
        ClearMonsterDB();
        ClearSpellTable();
        ResetSkillDB();
        ClearItemDB();
        testing::internal::CaptureStdout();
        LoadTweakVals();
        spellDBLoad("game//spellDB.xml");
        SkillDBLoad("game//skillDB.xml");
        itemDBLoad("game//itemDB.xml");
        monDBLoad("game//monDB.xml");
        testing::internal::GetCapturedStdout();
        LightEverything();
        PlaceHero(5, 5);
        for (int32_t& value : hero_.stat) value = 0;
        std::fill(std::begin(hero_.resistance), std::end(hero_.resistance), 0);
    }
    void TearDown() override {
        hero_.EquippedAt(kSlotFirstHand) = nullptr;
        FightTest::TearDown();
        ClearItemDB();
        ResetSkillDB();
        ClearSpellTable();
        ClearTweakVals();
        if (PHYSFS_isInit()) PHYSFS_deinit();
        cwd_.reset();
        if (wasInit_) PHYSFS_init(nullptr);
    }

    // The melee weapons the skills' loadouts hand out.
    static std::vector<std::string> StartingMeleeWeapons() {
        std::set<std::string> names;
        for (const SkillRecord& skill : SkillDB) {
            for (const LoadoutEntry& entry : skill.loadout) {
                if (entry.type != "weapon") continue;
                std::unique_ptr<Item> item(CreateItemByName(entry.subtype));
                const Weapon* weapon = dynamic_cast<const Weapon*>(item.get());
                if (weapon != nullptr && GetWeaponClass(weapon->Kind()) < 4) names.insert(entry.subtype);
            }
        }
        return {names.begin(), names.end()};
    }

    // Each new monster of the record, with no avoidance, so each strike is a plain one.
    Monster* Plain(MonsterRecord* record) {
        Monster* monster = new Monster(record);
        monster->PlaceOnLevel(6, 5, level_.get(), 1);
        for (int32_t index : {kStatCrit, kStatDodge, kStatBlock, kStatCounter}) monster->stat[index] = 0;
        monster->stat[kStatLife] = monster->health = 1000;
        return monster;
    }

    bool wasInit_ = false;
    std::unique_ptr<ScopedWorkingDir> cwd_;
};

TEST_F(MonsterMatchTest, EveryMonsterHurtsAStartingHeroInAnyGarment) {
    ASSERT_GE(MonsterTable.size(), 20u);
    for (const char* garmentName : kStartingGarments) {
        SCOPED_TRACE(garmentName);
        std::unique_ptr<Item> item(CreateItemByName(garmentName));
        const Armour* garment = dynamic_cast<const Armour*>(item.get());
        ASSERT_NE(garment, nullptr);
        hero_.stat[kStatArmourAbsorption] = garment->armourValue;
        std::copy(std::begin(garment->resistance), std::end(garment->resistance), std::begin(hero_.resistance));
        for (MonsterRecord* record : MonsterTable) {
            SCOPED_TRACE(record->name);
            Monster* monster = Plain(record);
            hero_.health = hero_.stat[kStatLife] = 1000;
            ClearTickerLog();
            ResolveMeleeAttack(monster, &hero_);
            EXPECT_LT(hero_.health, 1000) << Log();
        }
    }
}

TEST_F(MonsterMatchTest, AStartingHeroWithAnyKitWeaponHurtsEveryMonster) {
    const std::vector<std::string> weapons = StartingMeleeWeapons();
    ASSERT_GE(weapons.size(), 2u);
    for (const std::string& name : weapons) {
        SCOPED_TRACE(name);
        std::unique_ptr<Item> weapon(CreateItemByName(name));
        hero_.EquippedAt(kSlotFirstHand) = weapon.get();
        for (MonsterRecord* record : MonsterTable) {
            SCOPED_TRACE(record->name);
            Monster* monster = Plain(record);
            ClearTickerLog();
            ResolveMeleeAttack(&hero_, monster);
            EXPECT_LT(monster->health, 1000) << Log();
        }
        hero_.EquippedAt(kSlotFirstHand) = nullptr;
    }
}

}  // namespace
