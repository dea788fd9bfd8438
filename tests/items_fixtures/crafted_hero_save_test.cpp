// A hero after crafting: the pack with the crafted item, the learned recipes and a wand with
// charges left come back the same through the save stream.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/save_stream.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/level.h"

namespace {

const char kItems[] = R"(<itemdb>
  <item name="Alchemy Kit"><toolkit tag="alchemy" numslots="2"/></item>
  <item name="Newt Eye"><price amount="1"/></item>
  <item name="Mending Brew"><potion/></item>
  <item name="Wand of Glow"><wand mincharge="5" maxcharge="5"/></item>
</itemdb>)";

const char kRecipes[] = R"(<craftdb>
  <craft><input name="Newt Eye"/><tool tag="alchemy"/><output name="Mending Brew" amount="2"/></craft>
  <craft hidden="1"><input name="Newt Eye"/><input name="Newt Eye"/><tool tag="alchemy"/><output name="Wand of Glow"/></craft>
</craftdb>)";

TEST(CraftedHeroSave, PackRecipesAndWandChargesSurviveTheSaveStream) {
    Player* savedHero = CurrentPlayer;
    testing::internal::CaptureStderr();  // the hero's art is not mounted here
    ClearItemDB();
    ClearRecipes();
    ToolkitWindows.clear();
    ResetSkillDB();
    ASSERT_TRUE(itemDBLoadText(kItems, "items"));
    ASSERT_TRUE(craftDBLoadText(kRecipes, "recipes"));
    InventoryGrid.Clear();
    auto hero = std::make_unique<Player>();
    CurrentPlayer = hero.get();
    LearnDefaultRecipes();
    hero->knownRecipes[0].push_back(1);  // learned from a shelf
    hero->quickSlots[0] = CreateItemByName("Alchemy Kit");
    ASSERT_TRUE(PlaceItemInGridCell(0, 0, CreateItemByName("Newt Eye")));
    InventoryGrid.cells[0]->count = 3;
    InventoryGrid.cells[0]->stackable = 1;
    ToolkitWindow* window = FindToolkitWindow("alchemy");
    ASSERT_NE(window, nullptr);
    CraftRecipeFromPanel(0);
    Item* brew = nullptr;
    for (Item** place : CarriedPlaces()) {
        if (*place != nullptr && (*place)->def == FindItemDefByName("Mending Brew")) brew = *place;
    }
    ASSERT_NE(brew, nullptr);
    EXPECT_TRUE(brew->crafted);
    EXPECT_EQ(brew->count, 2);
    Wand* wand = new Wand(FindItemDefByName("Wand of Glow"));
    wand->charges = 3;
    ASSERT_TRUE(PlaceItemInGridCell(5, 5, wand));

    SaveWriter out;
    ASSERT_TRUE(hero->Save(out));
    // What the hero carried, by place.
    auto describe = [](Player& who) {
        std::vector<std::string> lines;
        for (Item* item : InventoryGrid.cells) {
            lines.push_back(item == nullptr ? "-"
                                            : item->GetItemName() + (item->crafted ? " crafted" : "") + " x" +
                                                  std::to_string(item->count));
        }
        for (Item* item : who.quickSlots) lines.push_back(item == nullptr ? "-" : item->GetItemName());
        return lines;
    };
    const std::vector<std::string> before = describe(*hero);
    const std::vector<int32_t> known = hero->knownRecipes[0];
    // The loaded hero fills the one backpack anew; the first hero's items stay its own.
    std::vector<Item*> firstCells(std::begin(InventoryGrid.cells), std::end(InventoryGrid.cells));
    InventoryGrid.Clear();
    SaveReader in(out.Buffer());
    testing::internal::CaptureStdout();
    auto back = std::make_unique<Player>(in);
    testing::internal::GetCapturedStdout();
    ASSERT_FALSE(in.Failed()) << in.Error();
    EXPECT_EQ(describe(*back), before);
    EXPECT_EQ(back->knownRecipes[0], known);
    EXPECT_EQ(known, (std::vector<int32_t>{0, 1}));
    Wand* loadedWand = dynamic_cast<Wand*>(InventoryGrid.cells[5 + 8 * 5]);
    ASSERT_NE(loadedWand, nullptr);
    EXPECT_EQ(loadedWand->charges, 3);
    SaveWriter again;
    ASSERT_TRUE(back->Save(again));
    EXPECT_EQ(again.Buffer(), out.Buffer());

    back.reset();
    std::copy(firstCells.begin(), firstCells.end(), std::begin(InventoryGrid.cells));
    CurrentPlayer = hero.get();
    hero.reset();
    CurrentPlayer = savedHero;
    testing::internal::GetCapturedStderr();
    ToolkitWindows.clear();
    ClearRecipes();
    ClearItemDB();
}

}  // namespace
