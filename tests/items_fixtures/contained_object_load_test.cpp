// An object kept inside another (a chest's content, a pedestal's stock, the hero's pack, an
// equipped weapon, the item on the cursor, a monster's loot) stands on no floor: its record names branch and depth -1. A hostile save
// that names a real floor and square for it would put it on that floor and leave it in its
// container too, owned twice and saved twice; such a record fails the load with a message, and
// nothing of it stays on the floor.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/class_registry.h"
#include "core/save_stream.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "items_fixtures/chest.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/shop_pedestal.h"
#include "items_fixtures/toolkit_windows.h"
#include "items_fixtures/weapon.h"
#include "levels/level.h"
#include "tests/items_fixtures/record_bytes.h"

namespace {

using namespace record_bytes;

struct Container {
    const char* label;
    const char* record;  // registered class name
    bool weapon;         // it holds a weapon rather than a pile of zorkmids
    // A container holding `inside`; it owns it from then on.
    std::function<std::unique_ptr<GameObj>(Item* inside)> make;
    // What the loaded container holds.
    std::function<Item*(GameObj&)> held;
};

class ContainedObjectLoad : public testing::Test {
protected:
    void SetUp() override {
        savedHero_ = CurrentPlayer;
        savedLevels_.swap(GameLevels);
        savedWindows_.swap(ToolkitWindows);
        savedRecipes_.swap(Recipes);
        ResetSkillDB();
        ClearItemDB();
        ASSERT_TRUE(itemDBLoadText("<itemdb><item name='Blade' type='0'><weapon level='0' slashing='4'/></item></itemdb>",
                                   "test items"));
        ClearMonsterDB();
        const std::string monsters = "<monDB><monster name=\"Diggle\"/></monDB>";
        monDBLoadFromText(monsters.data(), monsters.size(), "monDB.xml");
        floor_ = new Level(0, 0);
        floor_->SetSize(8, 8);
        GameLevels.push_back(floor_);
    }
    void TearDown() override {
        DropCursorItem();
        InventoryGrid.Clear();
        for (Level* level : GameLevels) delete level;
        GameLevels.clear();
        GameLevels.swap(savedLevels_);
        CurrentPlayer = savedHero_;
        ToolkitWindows.swap(savedWindows_);
        Recipes.swap(savedRecipes_);
        ResetSkillDB();
        ClearItemDB();
        ClearMonsterDB();
    }

    // The container's record, its item written as standing on square (2, 3) of the floor when
    // `onFloor`, as the game writes it (on no floor) otherwise.
    Bytes Record(const Container& c, bool onFloor) {
        Item* inside = c.weapon ? static_cast<Item*>(new Weapon(FindItemDefByName("Blade"))) : new Zorkmids(40);
        std::unique_ptr<GameObj> container = c.make(inside);
        if (onFloor) inside->PlaceOnLevel(2, 3, floor_, 0);
        Bytes bytes = SaveBytes(*container);
        inside->PlaceOnLevel(0, 0, nullptr, 0);  // off the floor again
        container.reset();
        DropCursorItem();
        CurrentPlayer = savedHero_;
        return bytes;
    }

    // The hero does not own the item on the cursor.
    static void DropCursorItem() {
        Item* held = GetCursorItem();
        ClearCursorItem();
        delete held;
    }

    std::unique_ptr<Serializable> Load(const Container& c, SaveReader& in, std::string* printed) {
        testing::internal::CaptureStdout();
        std::unique_ptr<Serializable> loaded(
            SerializableRegistry::Instance().CreateFromSave(GetRegisteredClassHash(c.record), in));
        *printed = testing::internal::GetCapturedStdout();
        return loaded;
    }

    Level* floor_ = nullptr;
    Player* savedHero_ = nullptr;
    std::vector<Level*> savedLevels_;
    std::vector<ToolkitWindow> savedWindows_;
    std::vector<Recipe> savedRecipes_;
};

TEST_F(ContainedObjectLoad, AContainedObjectThatNamesAFloorFailsTheLoadAndStaysOffTheFloor) {
    const Container containers[] = {
        {"chest", "Chest", false,
         [](Item* inside) {
             auto chest = std::make_unique<Chest>(nullptr);
             chest->content = inside;
             return std::unique_ptr<GameObj>(std::move(chest));
         },
         [](GameObj& obj) { return static_cast<Item*>(dynamic_cast<Chest&>(obj).content); }},
        {"artifact chest", "UberChest", false,
         [](Item* inside) {
             auto chest = std::make_unique<UberChest>();
             chest->content = inside;
             return std::unique_ptr<GameObj>(std::move(chest));
         },
         [](GameObj& obj) { return static_cast<Item*>(dynamic_cast<UberChest&>(obj).content); }},
        {"shop pedestal", "ShopPedestal", false,
         [](Item* inside) {
             auto pedestal = std::make_unique<ShopPedestal>();
             pedestal->stock = inside;
             return std::unique_ptr<GameObj>(std::move(pedestal));
         },
         [](GameObj& obj) { return static_cast<Item*>(dynamic_cast<ShopPedestal&>(obj).stock); }},
        {"hero's pack", "Player", false,
         [](Item* inside) {
             auto hero = std::make_unique<Player>();
             hero->name = "Orla";
             InventoryGrid.cells[5] = inside;
             return std::unique_ptr<GameObj>(std::move(hero));
         },
         [](GameObj&) { return InventoryGrid.cells[5]; }},
        {"item on the cursor", "Player", false,
         [](Item* inside) {
             auto hero = std::make_unique<Player>();
             hero->name = "Orla";
             SetCursorItem(inside);
             return std::unique_ptr<GameObj>(std::move(hero));
         },
         [](GameObj&) { return GetCursorItem(); }},
        {"equipped weapon", "Player", true,
         [](Item* inside) {
             auto hero = std::make_unique<Player>();
             hero->name = "Orla";
             hero->firstHandWeapon = dynamic_cast<Weapon*>(inside);
             hero->EquippedAt(kSlotFirstHand) = inside;
             return std::unique_ptr<GameObj>(std::move(hero));
         },
         [](GameObj& obj) { return dynamic_cast<Player&>(obj).EquippedAt(kSlotFirstHand); }},
        {"monster's loot", "Monster", false,
         [](Item* inside) {
             auto monster = std::make_unique<Monster>(monDBFindByName("Diggle"));
             monster->carriedItems.push_back(inside);
             return std::unique_ptr<GameObj>(std::move(monster));
         },
         [](GameObj& obj) {
             Monster& monster = dynamic_cast<Monster&>(obj);
             return monster.carriedItems.empty() ? nullptr : dynamic_cast<Item*>(monster.carriedItems.front());
         }},
    };
    for (const Container& c : containers) {
        SCOPED_TRACE(c.label);
        {
            // As the game writes it: the item comes back inside, on no floor.
            const Bytes bytes = Record(c, false);
            SaveReader in(bytes);
            std::string printed;
            std::unique_ptr<Serializable> loaded = Load(c, in, &printed);
            CurrentPlayer = savedHero_;
            ASSERT_FALSE(in.Failed()) << in.Error();
            GameObj* container = dynamic_cast<GameObj*>(loaded.get());
            ASSERT_NE(container, nullptr);
            Item* inside = c.held(*container);
            ASSERT_NE(inside, nullptr);
            if (c.weapon) {
                EXPECT_EQ(inside->def, FindItemDefByName("Blade"));
            } else {
                EXPECT_EQ(dynamic_cast<Zorkmids&>(*inside).amount, 40);
            }
            EXPECT_EQ(inside->level, nullptr);
            EXPECT_TRUE(floor_->objects.empty());
            loaded.reset();
            DropCursorItem();
        }
        {
            // The same item written as standing on a real square of a real floor.
            const Bytes bytes = Record(c, true);
            SaveReader in(bytes);
            std::string printed;
            std::unique_ptr<Serializable> loaded = Load(c, in, &printed);
            CurrentPlayer = savedHero_;
            EXPECT_TRUE(in.Failed());
            EXPECT_EQ(loaded, nullptr);
            const std::string kind = c.weapon ? "Weapon" : "Zorkmids";
            EXPECT_NE(in.Error().find("a contained " + kind + " names floor 0 of branch 0"), std::string::npos)
                << in.Error();
            EXPECT_NE(printed.find("belongs to no floor"), std::string::npos) << printed;
            EXPECT_TRUE(floor_->objects.empty());
            EXPECT_TRUE(floor_->GetCell(2, 3)->contents.empty());
            loaded.reset();
            DropCursorItem();
        }
    }
}

}  // namespace
