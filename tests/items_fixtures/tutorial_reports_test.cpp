// The hero's deeds that a tutorial waits for: each reports its own trigger code exactly once
// while a tutorial runs, and nothing at all outside one.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/shell/shell_services.h"
#include "creatures/ability.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/passages.h"
#include "items_fixtures/weapon.h"
#include "levels/tutorial.h"
#include "media/sprite.h"
#include "tests/creatures/fight_fixture.h"

namespace {

const char kItems[] = R"(<itemdb>
  <item name="Wand of Test Sparks"><wand spell="Test Spark" mincharge="3" maxcharge="4"/></item>
  <item name="Ration"><food hp="6"/></item>
  <item name="Healing Draught"><potion spell="Test Heal"/></item>
  <item name="Pebble"><price amount="1"/></item>
  <item name="Shield"><armour type="shield" ac="3"/></item>
  <item name="Throwing Knife" type="5"><weapon level="0" piercing="2"/></item>
  <item name="Short Sword" type="0"><weapon level="0" slashing="3"/></item>
</itemdb>)";

std::vector<int32_t>* Reports = nullptr;
void RecordReport(int32_t code) {
    if (Reports != nullptr) Reports->push_back(code);
}
int32_t NoDialog() { return 0; }
void NoText(const char*) {}
void NoTune(const char*) {}

class TutorialReportsTest : public FightTest {
protected:
    void SetUp() override {
        FightTest::SetUp();
        ClearSpellTable();
        AddSpell("Test Spark");
        AddSpell("Test Heal");
        ClearItemDB();
        ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
        InventoryGrid.Clear();
        PlaceHero(3, 3);
        savedCalls_ = TutorialActions;
        TutorialActions = {NoText, NoTune, NoDialog};
        Reports = &reports_;
        TutorialReportObserver = RecordReport;
        testing::internal::CaptureStdout();  // pictures this test does not load
    }
    void TearDown() override {
        testing::internal::GetCapturedStdout();
        TutorialReportObserver = nullptr;
        Reports = nullptr;
        TutorialActions = savedCalls_;
        CurrentTutorial = nullptr;
        TutorialFlag = false;
        PendingTutorialNotices.clear();
        ActiveItem = nullptr;
        ClearCursorItem();
        for (Item*& cell : InventoryGrid.cells) {
            if (cell != nullptr && cell->level == nullptr) delete cell;
            cell = nullptr;
        }
        FightTest::TearDown();
        ClearItemDB();
        ClearSpellTable();
        SpriteMgr_FreeAll();
    }
    static void AddSpell(const char* name) {
        Spell* spell = new Spell();
        spell->name = name;
        spell->targetType = SpellTarget::Self;
        SpellList.push_back(spell);
    }
    // A tutorial waiting for the code, then for it once more, then for nothing reported.
    void RunTutorialWaitingFor(int32_t code) {
        tutorial_.steps.assign(3, TutorialStep());
        tutorial_.steps[0].trigger = code;
        tutorial_.steps[1].trigger = code;
        tutorial_.steps[2].trigger = 99;
        BeginTutorial(&tutorial_);
        TutorialFlag = true;
        RunTutorialStep();
    }

    std::vector<int32_t> reports_;
    Tutorial tutorial_;
    TutorialCalls savedCalls_{};
};

TEST_F(TutorialReportsTest, EachDeedReportsItsCodeOnce) {
    struct Deed {
        const char* name;
        int32_t code;
        std::function<void()> act;
    };
    const std::vector<Deed> deeds = {
        {"a monster is killed", 1,
         [this] { AddMonster("Diggle", 4, 3)->TakeDamage(5000, &hero_, "by the player", 0, 0); }},
        {"a lever is pulled", 2,
         [this] {
             Lever* lever = new Lever();
             lever->PlaceOnLevel(4, 3, level_.get(), 0);
             lever->Activate();
         }},
        {"food is eaten", 3,
         [] {
             Item* food = CreateItemByName("Ration");
             ASSERT_NE(food, nullptr);
             ASSERT_TRUE(AddItemToInventory(food, 0));
             food->UseOn(CurrentPlayer, CurrentPlayer);
         }},
        {"a wand is taken up to zap", 4,
         [] {
             Item* wand = CreateItemByName("Wand of Test Sparks");
             ASSERT_NE(wand, nullptr);
             ASSERT_TRUE(AddItemToInventory(wand, 0));
             wand->Use();
         }},
        {"a throwing weapon is taken up to throw", 4,
         [] {
             Item* knife = CreateItemByName("Throwing Knife");
             ASSERT_NE(knife, nullptr);
             ASSERT_TRUE(AddItemToInventory(knife, 0));
             knife->Use();
         }},
        {"an item is picked up", 8,
         [this] {
             Item* pebble = CreateItemByName("Pebble");
             ASSERT_NE(pebble, nullptr);
             pebble->PlaceOnLevel(3, 3, level_.get(), 0);
             EXPECT_EQ(pebble->Activate(), 1);
             // A plain click takes it onto the pointer, off the level.
             EXPECT_EQ(GetCursorItem(), pebble);
             ClearCursorItem();
             delete pebble;
         }},
        {"armour is put on", 9,
         [this] {
             Item* shield = CreateItemByName("Shield");
             ASSERT_NE(shield, nullptr);
             hero_.EquippedAt(kSlotSecondHand) = shield;
             static_cast<Armour*>(shield)->OnEquip(kSlotSecondHand);
         }},
        {"armour is taken off", 10,
         [this] {
             Item* shield = hero_.EquippedAt(kSlotSecondHand);  // the one the row before put on
             ASSERT_NE(shield, nullptr);
             static_cast<Armour*>(shield)->OnUnequip(kSlotSecondHand);
             hero_.EquippedAt(kSlotSecondHand) = nullptr;
             delete shield;
         }},
        {"a potion is drunk", 13,
         [] {
             Item* potion = CreateItemByName("Healing Draught");
             ASSERT_NE(potion, nullptr);
             ASSERT_TRUE(AddItemToInventory(potion, 0));
             potion->UseOn(CurrentPlayer, CurrentPlayer);
         }},
    };
    for (const Deed& deed : deeds) {
        SCOPED_TRACE(deed.name);
        reports_.clear();
        RunTutorialWaitingFor(deed.code);
        deed.act();
        EXPECT_EQ(reports_, std::vector<int32_t>{deed.code});
        EXPECT_EQ(TutorialStepIndex, 1) << "one report advances one step";
        ActiveItem = nullptr;
        ClearCursorItem();
        ApplyDeferredObjectMoves();
        DeleteQueuedObjects();
    }
}

// The kill and the cast tell the tutorial whom and what: the monster's own name and the
// spell's name go with their codes.
TEST_F(TutorialReportsTest, TheKillAndTheCastReportTheirNames) {
    RunTutorialWaitingFor(1);
    Monster* grub = AddMonster("Diggle", 4, 3);
    grub->customName = "Grubnose";
    grub->TakeDamage(5000, &hero_, "by the player", 0, 0);
    ASSERT_FALSE(PendingTutorialNotices.empty());
    EXPECT_EQ(PendingTutorialNotices.back().code, 1);
    EXPECT_EQ(PendingTutorialNotices.back().name, "Grubnose");

    RunTutorialWaitingFor(5);
    SelectedSpell = spellDBFindByName("Test Spark");
    ASSERT_NE(SelectedSpell, nullptr);
    hero_.mana = 100;
    PlayerCastSelectedSpell();
    SelectedSpell = nullptr;
    ASSERT_FALSE(PendingTutorialNotices.empty());
    EXPECT_EQ(PendingTutorialNotices.back().code, 5);
    EXPECT_EQ(PendingTutorialNotices.back().name, "Test Spark");
}

TEST_F(TutorialReportsTest, WeaponDeedsReportTheDefinitionName) {
    RunTutorialWaitingFor(99);
    PendingTutorialNotices.clear();
    Item* knife = CreateItemByName("Throwing Knife");
    ASSERT_NE(knife, nullptr);
    ASSERT_TRUE(AddItemToInventory(knife, 0));
    knife->Use();
    Weapon* sword = static_cast<Weapon*>(CreateItemByName("Short Sword"));
    ASSERT_NE(sword, nullptr);
    hero_.EquippedAt(kSlotFirstHand) = sword;
    sword->OnEquip(kSlotFirstHand);
    sword->OnUnequip(kSlotFirstHand);
    hero_.EquippedAt(kSlotFirstHand) = nullptr;
    delete sword;
    std::vector<std::string> named;
    for (const TutorialNotice& notice : PendingTutorialNotices) {
        named.push_back(std::to_string(notice.code) + " " + notice.name);
    }
    EXPECT_EQ(named, (std::vector<std::string>{"4 Throwing Knife", "10 Short Sword", "10 Short Sword"}));
}

}  // namespace
