// Using weapons and armour from the pack or the belt (with swapping), the level badges, the
// known item kinds, and the pictures of items: icons with their cursor variants, money piles
// by amount, drawing on a level and on the minimap.
#include <gtest/gtest.h>

#include <physfs.h>

#include <memory>
#include <string>

#include "core/shell/shell_services.h"
#include "creatures/player.h"
#include "interface/ui_services.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/weapon.h"
#include "levels/map_view.h"
#include "levels/object_queue.h"
#include "media/eye_candy.h"
#include "media/sprite.h"
#include "platform/vfs.h"
#include "media/text_fixture.h"
#include "support/platform_fixtures.h"

namespace {

const char kItems[] = R"(<itemdb>
  <item name="Sword" type="0"><weapon level="14"/></item>
  <item name="Axe" type="1"><weapon level="-2"/></item>
  <item name="Bow" type="4"><weapon level="3"/></item>
  <item name="Bow Two" type="4"><weapon level="3"/></item>
  <item name="Dart" type="5"><weapon level="1"/></item>
  <item name="Shield"><armour type="shield" ac="3"/></item>
  <item name="Cap"><armour type="head" ac="1" level="7"/></item>
  <item name="Helm"><armour type="head" ac="2" level="30"/></item>
  <item name="Vest"><armour type="chest" ac="2"/></item>
  <item name="Cuff"><armour type="sleeve" ac="2"/></item>
</itemdb>)";

class UseFromPackTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearItemDB();
        ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
        savedHero_ = CurrentPlayer;
        CurrentPlayer = &hero_;
        InventoryGrid.Clear();
        ActiveItem = nullptr;
        testing::internal::CaptureStderr();  // the penalty buff's icon is not mounted here
    }
    void TearDown() override {
        testing::internal::GetCapturedStderr();
        for (int32_t slot = 0; slot < kEquipSlotCount; ++slot) hero_.EquippedAt(slot) = nullptr;
        for (Item*& slot : hero_.quickSlots) slot = nullptr;
        InventoryGrid.Clear();
        ActiveItem = nullptr;
        CurrentPlayer = savedHero_;
        ClearItemDB();
    }
    Player hero_;
    Player* savedHero_ = nullptr;
};

TEST_F(UseFromPackTest, HandWeaponsFillTheHandsThenSwapAndTheOldOneTakesTheNewOnesCell) {
    Weapon first(FindItemDefByName("Sword"));
    Weapon second(FindItemDefByName("Axe"));
    Weapon third(FindItemDefByName("Sword"));
    EXPECT_EQ(first.Use(), 0);
    EXPECT_EQ(hero_.EquippedAt(1), &first);
    ASSERT_TRUE(PlaceItemInGridCell(3, 2, &second));
    second.Use();
    EXPECT_EQ(hero_.EquippedAt(2), &second);
    EXPECT_FALSE(second.inBackpack);
    EXPECT_EQ(InventoryGrid.At(3, 2), nullptr);
    // Both hands hold weapons: the third swaps with the weapon of slot 1, which takes its cell.
    ASSERT_TRUE(PlaceItemInGridCell(5, 4, &third));
    third.Use();
    EXPECT_EQ(hero_.EquippedAt(1), &third);
    EXPECT_EQ(InventoryGrid.At(5, 4), &first);
    EXPECT_TRUE(first.inBackpack);
    EXPECT_EQ(hero_.firstHandWeapon == &first || hero_.secondHandWeapon == &first, false);
}

TEST_F(UseFromPackTest, AWeaponBesideAShieldSwapsWithTheOtherHandOnlyWhenItHoldsAWeapon) {
    Armour shield(FindItemDefByName("Shield"));
    Weapon held(FindItemDefByName("Sword"));
    Weapon fresh(FindItemDefByName("Axe"));
    // The shield in slot 1 and a weapon in slot 2: the new weapon swaps with slot 2.
    hero_.EquippedAt(1) = &shield;
    hero_.EquippedAt(2) = &held;
    held.OnEquip(2);
    hero_.quickSlots[4] = &fresh;
    fresh.Use();
    EXPECT_EQ(hero_.EquippedAt(2), &fresh);
    EXPECT_EQ(hero_.EquippedAt(1), &shield);
    EXPECT_EQ(hero_.quickSlots[4], &held);  // the old weapon takes the belt slot
    // Two shields: nothing happens.
    Armour other(FindItemDefByName("Shield"));
    fresh.OnUnequip(2);
    hero_.EquippedAt(2) = &other;
    Weapon last(FindItemDefByName("Sword"));
    last.Use();
    EXPECT_EQ(hero_.EquippedAt(1), &shield);
    EXPECT_EQ(hero_.EquippedAt(2), &other);
}

TEST_F(UseFromPackTest, ACrossbowGoesToSlotEightAndSwapsWithTheHeldOne) {
    Weapon a(FindItemDefByName("Bow"));
    Weapon b(FindItemDefByName("Bow Two"));
    ASSERT_TRUE(PlaceItemInGridCell(0, 0, &a));
    a.Use();
    EXPECT_EQ(hero_.EquippedAt(kSlotAmmunition), &a);
    EXPECT_EQ(hero_.crossbow, &a);
    EXPECT_FALSE(a.inBackpack);
    ASSERT_TRUE(PlaceItemInGridCell(7, 5, &b));
    b.Use();
    EXPECT_EQ(hero_.crossbow, &b);
    EXPECT_EQ(hero_.EquippedAt(kSlotAmmunition), &b);
    EXPECT_EQ(InventoryGrid.At(7, 5), &a);
}

TEST_F(UseFromPackTest, ThrowingWeaponsBecomeTheActiveItemAndClearTheSelectedAbility) {
    Weapon darts(FindItemDefByName("Dart"));
    AbilityRecord* selected = reinterpret_cast<AbilityRecord*>(&hero_);  // any non-null mark
    SelectedAbility = selected;
    EXPECT_EQ(darts.Use(), 0);
    EXPECT_EQ(ActiveItem, &darts);
    EXPECT_EQ(SelectedAbility, nullptr);
    for (int32_t slot = 0; slot < kEquipSlotCount; ++slot) EXPECT_EQ(hero_.EquippedAt(slot), nullptr);
}

TEST_F(UseFromPackTest, ASinglePlacePieceReplacesTheWornOneWhichGoesToThePackOrTheBelt) {
    Armour cap(FindItemDefByName("Cap"));
    Armour helm(FindItemDefByName("Helm"));
    EXPECT_EQ(cap.Use(), 1);
    EXPECT_EQ(hero_.Head(), &cap);
    EXPECT_EQ(hero_.headArmour, &cap);
    // From the grid: the old cap goes into the pack, the helm out of it.
    ASSERT_TRUE(PlaceItemInGridCell(2, 1, &helm));
    EXPECT_EQ(helm.Use(), 1);
    EXPECT_EQ(hero_.Head(), &helm);
    EXPECT_EQ(hero_.headArmour, &helm);
    EXPECT_FALSE(helm.inBackpack);
    EXPECT_TRUE(cap.inBackpack);
    // From the belt: the belt slot holds the replaced piece.
    RemoveItemFromGrid(&cap);
    hero_.quickSlots[2] = &cap;
    EXPECT_EQ(cap.Use(), 1);
    EXPECT_EQ(hero_.quickSlots[2], &helm);
    EXPECT_EQ(hero_.Head(), &cap);
    // Torso pieces go the same way; a piece for no slot is refused.
    Armour vest(FindItemDefByName("Vest"));
    EXPECT_EQ(vest.Use(), 1);
    EXPECT_EQ(hero_.Torso(), &vest);
    Armour cuff(FindItemDefByName("Cuff"));
    EXPECT_EQ(cuff.Use(), 0);
}

TEST_F(UseFromPackTest, LevelBadgesAreClampedAndArtifactsShowTheirMark) {
    Sprite levels[11];
    Sprite artifact;
    const ItemBadgeSprites saved = ItemBadges;
    for (int32_t i = 0; i <= 10; ++i) ItemBadges.level[i] = &levels[i];
    ItemBadges.artifact = &artifact;
    struct Case {
        const char* name;
        bool artifact;
        Sprite* badge;
    };
    const Case cases[] = {
        {"Sword", false, &levels[10]},  // level 14
        {"Axe", false, &levels[0]},     // level -2
        {"Bow", false, &levels[3]},
        {"Sword", true, &artifact},
        {"Cap", false, &levels[3]},    // armour shows half its level
        {"Helm", false, &levels[10]},  // 30 / 2 clamped
        {"Cap", true, &artifact},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ItemDef* def = FindItemDefByName(c.name);
        std::unique_ptr<Item> item;
        if (def->category == kItemWeapon) {
            Weapon* weapon = new Weapon(def);
            weapon->isArtifact = c.artifact;
            item.reset(weapon);
            EXPECT_EQ(weapon->LevelBadge(), c.badge);
        } else {
            Armour* armour = new Armour(def);
            armour->isArtifact = c.artifact;
            item.reset(armour);
            EXPECT_EQ(armour->LevelBadge(), c.badge);
        }
    }
    ItemBadges = saved;
}

TEST_F(UseFromPackTest, KnownKindsGoByTypeAndSubtypeAndAreForgottenOnReset) {
    Weapon sword(FindItemDefByName("Sword"));
    Weapon axe(FindItemDefByName("Axe"));
    Misc picks(0);
    ResetKnownItemTypes();
    EXPECT_FALSE(IsItemTypeKnown(&sword));
    SetItemTypeKnown(&sword);
    EXPECT_TRUE(IsItemTypeKnown(&sword));
    EXPECT_FALSE(IsItemTypeKnown(&axe));    // same type, other subtype
    EXPECT_FALSE(IsItemTypeKnown(&picks));  // other type
    Item odd;
    odd.type = 40;  // outside the thirteen tables: never known, never stored
    SetItemTypeKnown(&odd);
    EXPECT_FALSE(IsItemTypeKnown(&odd));
    ResetKnownItemTypes();
    EXPECT_FALSE(IsItemTypeKnown(&sword));
}

// Pictures need the game's art and font; the test runs in the assembled game folder.
class ItemPictureTest : public GameFontTest {
protected:
    void SetUp() override {
        GameFontTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        wasInit_ = PHYSFS_isInit() != 0;
        if (wasInit_) PHYSFS_deinit();
        cwd_.reset(new ScopedWorkingDir(VAULTMERE_GAME_ROOT));
        ASSERT_TRUE(cwd_->ok());
        MountDataTree();
        ClearItemDB();
        savedHero_ = CurrentPlayer;
        CurrentPlayer = &hero_;
    }
    void TearDown() override {
        CurrentPlayer = savedHero_;
        ClearItemDB();
        ClearEyeCandy();
        SpriteMgr_FreeAll();
        if (PHYSFS_isInit()) PHYSFS_deinit();
        cwd_.reset();
        if (wasInit_) PHYSFS_init(nullptr);
        GameFontTest::TearDown();
    }
    bool wasInit_ = false;
    std::unique_ptr<ScopedWorkingDir> cwd_;
    Player hero_;
    Player* savedHero_ = nullptr;
};

TEST_F(ItemPictureTest, AnIconAndItsCursorVariantComeFromOneFileAndAreShared) {
    Misc first(0);
    Misc second(0);
    ASSERT_NE(first.iconSprite, nullptr);
    ASSERT_NE(first.cursorSprite, nullptr);
    EXPECT_NE(first.iconSprite, first.cursorSprite);
    EXPECT_EQ(SpriteMgr_Find("items/lockpick.png"), first.iconSprite);
    EXPECT_EQ(SpriteMgr_Find("items/lockpick.png_cursor"), first.cursorSprite);
    EXPECT_EQ(second.iconSprite, first.iconSprite);
    EXPECT_EQ(first.bob.sprite, first.iconSprite);
    EXPECT_GT(first.iconSprite->width, 0);
    // A missing file shows the placeholder and does not stop anything.
    Item lost;
    lost.SetIcon("items/no_such_icon.png");
    EXPECT_NE(lost.iconSprite, nullptr);
    EXPECT_EQ(lost.bob.sprite, lost.iconSprite);
}

TEST_F(ItemPictureTest, MoneyPilesShowTheirSizeAndCollectingShowsTheFloater) {
    struct Case {
        int32_t amount;
        const char* sprite;
    };
    const Case cases[] = {{1, "cash1"}, {9, "cash1"}, {10, "cash2"}, {249, "cash3"},
                          {250, "cash4"}, {3999, "cash5"}, {4000, "cash6"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.amount);
        Zorkmids pile(c.amount);
        EXPECT_EQ(pile.iconSprite, SpriteMgr_Find(c.sprite));
        EXPECT_NE(pile.iconSprite, nullptr);
    }
    Zorkmids* pile = new Zorkmids(25);
    const size_t before = EyeCandyCount();
    const int32_t gold = hero_.zorkmids;
    pile->PlayerEntered();
    EXPECT_EQ(hero_.zorkmids, gold + 25);
    EXPECT_EQ(EyeCandyCount(), before + 2);  // the number and its shadow
    EXPECT_EQ(QueuedDeletionCount(), 1u);
    DeleteQueuedObjects();
}

}  // namespace
