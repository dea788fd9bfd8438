// Crafting: reading recipes, the hero's crafting level, the ingredient search, the filters,
// the output roll with its records, crafting from the panel, the panel's drawing, scrolling,
// tabs and dragging, using toolkits and the lutefisk cube.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "interface/ui_services.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/tutorial.h"
#include "platform/atomic_file.h"
#include "store_platform/stats.h"
#include "store_platform/store.h"
#include "support/platform_fixtures.h"
#include "tests/creatures/fight_fixture.h"

namespace {

std::string Kit(const char* name, const char* tag) {
    return std::string("<item name=\"") + name + "\"><toolkit tag=\"" + tag +
           "\" numslots=\"4\" sound=\"craft\" slot1_x1=\"24\" slot1_y1=\"60\" slot1_x2=\"88\" slot1_y2=\"124\" "
           "slot2_x1=\"96\" slot2_y1=\"60\" slot2_x2=\"160\" slot2_y2=\"124\" "
           "output_x1=\"176\" output_y1=\"96\" output_x2=\"240\" output_y2=\"160\" closex=\"228\" closey=\"4\" "
           "craftbuttonposx=\"176\" craftbuttonposy=\"200\" recipebuttonposx=\"24\" recipebuttonposy=\"204\" "
           "autofillbuttonposx=\"96\" autofillbuttonposy=\"204\"/></item>";
}

const std::string kItems = "<itemdb>" + Kit("Alchemy Kit", "alchemy") + Kit("Distilling Kit", "still") +
                           Kit("Ingot Grinder", "grinder") + Kit("Horadric Lutefisk Cube", "lutefisk") + R"(
  <item name="Newt Eye"><price amount="1"/></item>
  <item name="Bat Wing"><price amount="1"/></item>
  <item name="Mending Brew"><potion spell="Nothing"/></item>
  <item name="Focus Brew"><potion spell="Nothing"/></item>
  <item name="Mighty Brew"><potion spell="Nothing"/></item>
  <item name="Steak"><food hp="5" meat="1"/></item>
  <item name="Lutefisk"><food hp="2"/></item>
  <item name="Omnipotent Pork Sword" type="0"><weapon level="3"/></item>
  <item name="Copper Nugget"><price amount="1"/></item>
  <item name="Iron Filings"><price amount="1"/></item>
</itemdb>)";

// Recipe 0 alchemy (two inputs, three skill tiers), 1 alchemy (repeated input), 2 still
// hidden, 3 grinder, 4 ingot (a reagent), 5 alchemy with an output no item makes.
const char kRecipes[] = R"(<craftdb>
  <craft><input name="Newt Eye"/><input name="Bat Wing"/><tool tag="alchemy"/>
    <output name="Mending Brew" skill="0" amount="1"/><output name="Focus Brew" skill="2" amount="1"/>
    <output name="Mighty Brew" skill="5" amount="1"/></craft>
  <craft><input name="Bat Wing"/><input name="Bat Wing"/><tool tag="alchemy"/>
    <output name="Mending Brew" skill="0" amount="0"/></craft>
  <craft hidden="1"><input name="Newt Eye"/><tool tag="still"/><output name="Omnipotent Pork Sword" skill="0"/></craft>
  <craft><input name="Bat Wing"/><tool tag="grinder"/><output name="Newt Eye" skill="21" amount="2"/></craft>
  <craft><input name="Copper Nugget"/><tool tag="ingot"/><output name="Iron Filings" skill="0" amount="3"/></craft>
  <craft><input name="Newt Eye"/><tool tag="alchemy"/><output name="Unmade Thing" skill="0"/></craft>
</craftdb>)";

class CraftingTest : public FightTest {
protected:
    void SetUp() override {
        FightTest::SetUp();
        ClearItemDB();
        ClearRecipes();
        ToolkitWindows.clear();
        ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
        ASSERT_TRUE(craftDBLoadText(kRecipes, "test recipes"));
        InventoryGrid.Clear();
        ClearCursorItem();
        CraftPanel = CraftPanelState();
        SteamAPI_Shutdown();
        ASSERT_TRUE(SteamAPI_Init());
        InitSteamStats();
        // Statistics count once the stored values have been received.
        SteamAPI_RunCallbacks();
        PlaceHero(3, 3);
        for (int32_t& value : hero_.stat) value = 0;
    }
    void TearDown() override {
        ClearCursorItem();
        for (Item*& slot : hero_.quickSlots) {
            if (slot != nullptr && slot->level == nullptr) delete slot;
            slot = nullptr;
        }
        for (Item*& cell : InventoryGrid.cells) {
            if (cell != nullptr && cell->level == nullptr) delete cell;
            cell = nullptr;
        }
        for (ToolkitWindow& window : ToolkitWindows) {
            delete window.output;
            window.output = nullptr;
            for (Item*& slot : window.slots) {
                delete slot;
                slot = nullptr;
            }
        }
        FightTest::TearDown();
        SteamAPI_Shutdown();
        ToolkitWindows.clear();
        ClearRecipes();
        ClearItemDB();
        CraftPanel = CraftPanelState();
    }
    Item* Make(const char* name, int32_t count = 1) {
        Item* item = CreateItemByName(name);
        EXPECT_NE(item, nullptr) << name;
        if (item != nullptr) {
            item->count = count;
            if (count > 1) item->stackable = 1;
        }
        return item;
    }
    void Pack(int32_t cell, const char* name, int32_t count = 1) {
        ASSERT_TRUE(PlaceItemInGridCell(cell % 8, cell / 8, Make(name, count)));
    }
    std::string Stats() const { return ReadWholeFile(tmp_.path() + "/store/stats.txt"); }

    TempDir tmp_;
    ScopedEnv user_{"VAULTMERE_USER_DIR", tmp_.path().c_str()};
};

TEST_F(CraftingTest, TheLoaderReadsRecipesWhateverTheCaseOfItsNames) {
    ClearRecipes();
    testing::internal::CaptureStderr();
    ASSERT_TRUE(craftDBLoadText(R"(<CraftDB>
      <output name="Stray" skill="1"/>
      <input name="Stray Input"/>
      <CRAFT HIDDEN="2"><Input NAME="Newt Eye"/><INPUT name="Bat Wing"/><input name="Newt Eye"/>
        <input name="Bat Wing"/><input name="Newt Eye"/><TOOL Tag="still"/>
        <Output NAME="Focus Brew" SKILL="3" AMOUNT="2"/></CRAFT>
      <craft><input name="No Such Thing"/><tool tag="whittling"/><output name="Nope" skill="x"/></craft>
    </CraftDB>)", "case recipes"));
    const std::string warnings = testing::internal::GetCapturedStderr();
    ASSERT_EQ(Recipes.size(), 2u);
    const Recipe& a = Recipes[0];
    EXPECT_TRUE(a.hidden);
    EXPECT_EQ(a.inputCount, 4) << "a fifth input is ignored";
    EXPECT_EQ(a.inputDefs[0], FindItemDefByName("Newt Eye"));
    EXPECT_EQ(a.inputDefs[3], FindItemDefByName("Bat Wing"));
    EXPECT_EQ(a.toolType, 1);
    ASSERT_EQ(a.outputs.size(), 1u) << "an output outside a craft is ignored";
    EXPECT_EQ(a.outputs[0].skill, 3);
    EXPECT_EQ(a.outputs[0].amount, 2);
    EXPECT_EQ(a.outputs[0].def, FindItemDefByName("Focus Brew"));
    EXPECT_NE(warnings.find("case recipes"), std::string::npos) << warnings;
    const Recipe& b = Recipes[1];
    EXPECT_EQ(b.toolType, 0) << "an unknown tag counts as alchemy";
    EXPECT_EQ(b.inputDefs[0], nullptr);
    EXPECT_EQ(b.outputs[0].def, nullptr);
    EXPECT_EQ(b.outputs[0].skill, 0);
    // A missing file adds nothing; a broken one keeps what came before it and names the place.
    craftDBLoad("no/such/craftDB.xml");
    EXPECT_EQ(Recipes.size(), 2u);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(craftDBLoadText("<craftdb><craft><input name=\"Newt Eye\"/><tool tag=\"alchemy\"/></craft>\n<craft>", "broken.xml"));
    const std::string error = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Recipes.size(), 3u);
    EXPECT_NE(error.find("broken.xml"), std::string::npos) << error;
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_NE(error.find("column"), std::string::npos) << error;
}

TEST_F(CraftingTest, InputsAndOutputsResolveToTheFirstDefinitionOfTheirName) {
    ClearItemDB();
    ClearRecipes();
    ASSERT_TRUE(itemDBLoadText("<itemdb><item name=\"Twin\"><price amount=\"1\"/></item>"
                               "<item name=\"Twin\"><price amount=\"2\"/></item></itemdb>", "twins"));
    ASSERT_TRUE(craftDBLoadText("<craftdb><craft><input name=\"Twin\"/><output name=\"Twin\"/></craft></craftdb>", "x"));
    EXPECT_EQ(Recipes[0].inputDefs[0], FindItemDefByName("Twin"));
    EXPECT_EQ(Recipes[0].outputs[0].def, FindItemDefByName("Twin"));
    EXPECT_EQ(Recipes[0].inputDefs[0]->price, 1);
}

TEST_F(CraftingTest, OneCraftingLevelPerToolTag) {
    hero_.stat[kStatSmithing] = 3;
    hero_.stat[kStatTinkerer] = 5;
    hero_.stat[kStatAlchemy] = 7;
    hero_.stat[kStatLathe] = 9;
    struct Case {
        const char* tag;
        int32_t level;
        int32_t stat;
    };
    const Case cases[] = {{"smithing", 3, kStatSmithing}, {"ingot", 5, kStatTinkerer}, {"lathe", 9, kStatLathe},
                          {"tinkerer", 5, kStatTinkerer}, {"alchemy", 7, kStatAlchemy}, {"still", 7, kStatAlchemy},
                          {"grinder", 7, kStatAlchemy}};
    for (const Case& c : cases) {
        EXPECT_EQ(CraftingLevel(&hero_, c.tag), c.level) << c.tag;
        EXPECT_EQ(CraftingStatOfTag(c.tag), c.stat) << c.tag;
    }
    // The grinder recipe needs 21: the alchemy level decides the filter and the roll alike.
    CraftPanel.filterSkill = true;
    EXPECT_FALSE(RecipePassesFilter(Recipes[3]));
    hero_.stat[kStatAlchemy] = 21;
    EXPECT_TRUE(RecipePassesFilter(Recipes[3]));
    ToolkitWindow* grinder = FindToolkitWindow("grinder");
    ASSERT_NE(grinder, nullptr);
    EXPECT_TRUE(RollRecipeOutput(*grinder, Recipes[3]));
}

TEST_F(CraftingTest, TheRollTakesOnlyTheBestTierTheLevelReaches) {
    struct Case {
        int32_t level;
        const char* only;  // null: nothing fits
    };
    const Case cases[] = {{1, "Mending Brew"}, {3, "Focus Brew"}, {6, "Mighty Brew"}};
    ToolkitWindow* window = FindToolkitWindow("alchemy");
    ASSERT_NE(window, nullptr);
    for (const Case& c : cases) {
        hero_.stat[kStatAlchemy] = c.level;
        for (uint32_t seed = 0; seed < 20; ++seed) {
            CSRand(seed);
            ASSERT_TRUE(RollRecipeOutput(*window, Recipes[0]));
            ASSERT_NE(window->output, nullptr);
            EXPECT_EQ(window->output->def->name, c.only) << "level " << c.level;
            EXPECT_TRUE(window->output->crafted);
            delete window->output;
            window->output = nullptr;
        }
    }
    // With only the 2 and 5 tiers, level 1 crafts nothing.
    Recipe picky = Recipes[0];
    picky.outputs.erase(picky.outputs.begin());
    hero_.stat[kStatAlchemy] = 1;
    EXPECT_FALSE(RollRecipeOutput(*window, picky));
    EXPECT_TRUE(Logged("You are not yet crafty enough to craft this craft!"));
    EXPECT_EQ(window->output, nullptr);
}

TEST_F(CraftingTest, TheRollAddsToASameOutputQuietlyAndMakesAtLeastOne) {
    ToolkitWindow* window = FindToolkitWindow("alchemy");
    ASSERT_TRUE(RollRecipeOutput(*window, Recipes[1]));
    EXPECT_EQ(window->output->count, 1) << "an amount of 0 makes one";
    EXPECT_EQ(CountSound("craft"), 1);
    ASSERT_TRUE(RollRecipeOutput(*window, Recipes[1]));
    EXPECT_EQ(window->output->count, 2);
    EXPECT_EQ(CountSound("craft"), 1) << "no sound when the stack grows";
}

TEST_F(CraftingTest, ThePotionStatisticSetsMasterBrewerAtExactlyOneThousand) {
    SteamUserStats()->SetStat("STAT_POTIONS_MIXED", 998);
    // The holder takes the stored value when it is received again.
    InitSteamStats();
    SteamAPI_RunCallbacks();
    ToolkitWindow* window = FindToolkitWindow("alchemy");
    for (int32_t made = 999; made <= 1001; ++made) {
        ASSERT_TRUE(RollRecipeOutput(*window, Recipes[1]));
        delete window->output;
        window->output = nullptr;
        const bool has = Stats().find("ACHIEVEMENT_MASTER_BREWER") != std::string::npos;
        EXPECT_EQ(has, made >= 1000) << made;
    }
    ToolkitWindow* still = FindToolkitWindow("still");
    ASSERT_TRUE(RollRecipeOutput(*still, Recipes[2]));
    EXPECT_NE(Stats().find("ACHIEVEMENT_PORK_SWORD"), std::string::npos);
    EXPECT_NE(Stats().find("ACHIEVEMENT_MAKE_THIS"), std::string::npos);
}

TEST_F(CraftingTest, EachKindOfOutputCountsTowardItsOwnAchievementTable) {
    ASSERT_TRUE(itemDBLoadText(R"(<itemdb>
  <item name="Wand of Mending"><wand spell="Nothing" mincharge="2" maxcharge="2"/></item>
  <item name="Diggle Nog"><food hp="1" mp="3"/></item>
  <item name="Tin Cap"><armour level="1"/></item>
</itemdb>)", "more items"));
    const size_t first = Recipes.size();
    ASSERT_TRUE(craftDBLoadText(R"(<craftdb>
  <craft><input name="Bat Wing"/><tool tag="tinkerer"/><output name="Wand of Mending" skill="0"/></craft>
  <craft><input name="Bat Wing"/><tool tag="still"/><output name="Diggle Nog" skill="0"/></craft>
  <craft><input name="Bat Wing"/><tool tag="smithing"/><output name="Tin Cap" skill="0"/></craft>
  <craft><input name="Bat Wing"/><tool tag="alchemy"/><output name="Copper Nugget" skill="0"/></craft>
</craftdb>)", "more recipes"));
    ASSERT_EQ(Recipes.size(), first + 4);
    SteamUserStats()->SetStat("STAT_WANDS_REPAIRED", 498);
    InitSteamStats();
    SteamAPI_RunCallbacks();
    struct Case {
        const char* what;
        size_t recipe;
        const char* achievement;
        int32_t rollsUntilAwarded;  // 0: never, within three rolls
    };
    const Case cases[] = {
        {"a wand, the five hundredth repair", first + 0, "ACHIEVEMENT_WAND_REPAIR", 2},
        {"the egg drink", first + 1, "ACHIEVEMENT_EGGNOG", 1},
        {"an armour", first + 2, "ACHIEVEMENT_PERSONAL_PROTECTION", 1},
        {"a reagent from another tool than the ingot press", first + 3, "ACHIEVEMENT_HE_WHO_SMELT_IT", 0},
        {"a reagent from the ingot press", 4, "ACHIEVEMENT_HE_WHO_SMELT_IT", 1},
    };
    ToolkitWindow* window = FindToolkitWindow("alchemy");
    ASSERT_NE(window, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string line = std::string("achievement ") + c.achievement + "\n";
        for (int32_t roll = 1; roll <= 3; ++roll) {
            ASSERT_TRUE(RollRecipeOutput(*window, Recipes[c.recipe]));
            ASSERT_NE(window->output, nullptr);
            EXPECT_TRUE(window->output->crafted);
            delete window->output;
            window->output = nullptr;
            const std::string stats = Stats();
            const size_t at = stats.find(line);
            EXPECT_EQ(at != std::string::npos, c.rollsUntilAwarded > 0 && roll >= c.rollsUntilAwarded) << roll;
            if (at != std::string::npos) {
                EXPECT_EQ(stats.find(line, at + 1), std::string::npos) << "set once";
            }
        }
    }
    EXPECT_EQ(GetStatInt("STAT_WANDS_REPAIRED"), 501);
}

TEST_F(CraftingTest, IngredientSearchTable) {
    struct Case {
        const char* name;
        int32_t recipe;
        std::vector<std::pair<const char*, int32_t>> pack;  // name, count (cells 0, 1, ...)
        const char* belt;                                   // one item on belt slot 0, or null
        bool found;
    };
    const Case cases[] = {
        {"A and A against one A", 1, {{"Bat Wing", 1}}, nullptr, false},
        {"A and A from a stack of two", 1, {{"Bat Wing", 2}}, nullptr, true},
        {"A and A from two cells", 1, {{"Bat Wing", 1}, {"Bat Wing", 1}}, nullptr, true},
        {"the belt after the backpack", 1, {{"Bat Wing", 1}}, "Bat Wing", true},
        {"two kinds", 0, {{"Bat Wing", 1}, {"Newt Eye", 1}}, nullptr, true},
        {"an input no item makes", 5, {{"Newt Eye", 1}}, nullptr, true},
        {"a missing kind", 0, {{"Bat Wing", 3}}, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int32_t cell = 0;
        for (const auto& entry : c.pack) Pack(cell++, entry.first, entry.second);
        if (c.belt != nullptr) hero_.quickSlots[0] = Make(c.belt);
        std::vector<Item*> found;
        EXPECT_EQ(FindRecipeIngredients(Recipes[static_cast<size_t>(c.recipe)], &found), c.found);
        if (c.found) {
            EXPECT_EQ(found.size(), static_cast<size_t>(Recipes[static_cast<size_t>(c.recipe)].inputCount));
        }
        if (c.belt != nullptr && c.found) {
            EXPECT_EQ(found.back(), hero_.quickSlots[0]);
        }
        for (Item*& slot : InventoryGrid.cells) {
            delete slot;
            slot = nullptr;
        }
        delete hero_.quickSlots[0];
        hero_.quickSlots[0] = nullptr;
    }
}

TEST_F(CraftingTest, FiltersAndDefaultRecipes) {
    LearnDefaultRecipes();
    EXPECT_EQ(hero_.knownRecipes[0], (std::vector<int32_t>{0, 1, 5}));
    EXPECT_TRUE(hero_.knownRecipes[1].empty()) << "the hidden still recipe is not learned";
    hero_.knownRecipes[1].push_back(2);
    Pack(0, "Bat Wing", 2);
    struct Case {
        bool ingredients, skill, secret;
        std::vector<int32_t> alchemy, still;
    };
    const Case cases[] = {
        {false, false, false, {0, 1, 5}, {2}},
        {true, false, false, {1}, {}},
        {false, true, false, {0, 1, 5}, {2}},
        {false, false, true, {}, {2}},
    };
    for (const Case& c : cases) {
        CraftPanel.filterIngredients = c.ingredients;
        CraftPanel.filterSkill = c.skill;
        CraftPanel.filterSecret = c.secret;
        CraftPanel.scroll = 4;
        hero_.RefreshCraftableRecipes();
        EXPECT_EQ(hero_.craftableRecipes[0], c.alchemy) << c.ingredients << c.skill << c.secret;
        EXPECT_EQ(hero_.craftableRecipes[1], c.still) << c.ingredients << c.skill << c.secret;
        EXPECT_EQ(CraftPanel.scroll, 0);
    }
}

TEST_F(CraftingTest, CraftingFromThePanelNeedsTheToolAndTheIngredientsAndUsesThemUp) {
    LearnDefaultRecipes();
    CraftPanel.open = true;
    CraftPanel.tool = 0;
    CraftPanel.scroll = -2;  // the first shown recipe in the middle row
    const int32_t craftX = 100 + 450;
    const int32_t craftY = 100 + 260;
    ClickCraftPanel(craftX, craftY);
    EXPECT_TRUE(Logged("You are missing a craft tool!"));
    EXPECT_EQ(CraftPanel.current, 0);
    hero_.quickSlots[3] = Make("Alchemy Kit");
    ClickCraftPanel(craftX, craftY);
    EXPECT_TRUE(Logged("You are missing craftables. Curses!"));
    Pack(0, "Newt Eye");
    Pack(1, "Bat Wing", 2);
    Item* newt = InventoryGrid.cells[0];
    ClickCraftPanel(craftX, craftY);
    EXPECT_EQ(InventoryGrid.cells[0] == newt, false) << "the used-up newt eye left its cell";
    ASSERT_NE(InventoryGrid.cells[1], nullptr);
    EXPECT_EQ(InventoryGrid.cells[1]->count, 1);
    bool made = false;
    for (Item** place : CarriedPlaces()) {
        made = made || (*place != nullptr && (*place)->def == FindItemDefByName("Mending Brew"));
    }
    EXPECT_TRUE(made);
    EXPECT_EQ(FindToolkitWindow("alchemy")->output, nullptr) << "the made item left the window";
    EXPECT_EQ(QueuedDeletionCount(), 0u) << "deletions are carried out at once";
}

TEST_F(CraftingTest, AnOutputNoItemMakesFailsAndUsesNothing) {
    hero_.knownRecipes[0] = {5};
    hero_.RefreshCraftableRecipes();
    hero_.quickSlots[3] = Make("Alchemy Kit");
    Pack(0, "Newt Eye");
    Item* newt = InventoryGrid.cells[0];
    testing::internal::CaptureStdout();
    CraftRecipeFromPanel(5);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(InventoryGrid.cells[0], newt);
    EXPECT_EQ(newt->count, 1);
}

TEST_F(CraftingTest, TheCraftButtonWithNoRecipeInTheMiddleRowDoesNothing) {
    CraftPanel.open = true;
    hero_.quickSlots[3] = Make("Alchemy Kit");
    ClickCraftPanel(100 + 450, 100 + 260);
    EXPECT_EQ(CraftPanel.current, -1);
    EXPECT_TRUE(TickerLog().empty());
}

TEST_F(CraftingTest, RowsDrawShownRecipesFromTheScrollPosition) {
    std::vector<CraftDrawCall> calls;
    CraftDrawRecorder = &calls;
    hero_.craftableRecipes[0] = {0, 1, 5};
    CraftPanel.open = true;
    CraftPanel.scroll = 0;
    DrawCraftPanel(0, 0);
    std::vector<int32_t> rowYs;
    std::vector<int32_t> firstRowInputs;
    int32_t outputX = -1;
    for (const CraftDrawCall& call : calls) {
        if (call.what.find("ingredient_widget") != std::string::npos) rowYs.push_back(call.y);
        if (call.what.rfind("input ", 0) == 0 && call.y == 167) firstRowInputs.push_back(call.x);
        if (call.what == "output Mending Brew" && call.y == 169) outputX = call.x;
    }
    EXPECT_EQ(rowYs, (std::vector<int32_t>{160, 248, 336}));
    EXPECT_EQ(firstRowInputs, (std::vector<int32_t>{364, 436}));
    EXPECT_EQ(outputX, 524);
    // At the top (-2) the first recipe sits in the middle row; a closed panel draws nothing.
    calls.clear();
    CraftPanel.scroll = -2;
    DrawCraftPanel(0, 0);
    rowYs.clear();
    for (const CraftDrawCall& call : calls) {
        if (call.what.find("ingredient_widget") != std::string::npos) rowYs.push_back(call.y);
    }
    EXPECT_EQ(rowYs, (std::vector<int32_t>{336, 424, 512}));
    calls.clear();
    CraftPanel.open = false;
    DrawCraftPanel(0, 0);
    EXPECT_TRUE(calls.empty());
    CraftDrawRecorder = nullptr;
}

TEST_F(CraftingTest, EachRowShowsTheGoverningSkillValueAndIconBesideTheNeededLevel) {
    hero_.stat[kStatSmithing] = 3;
    hero_.stat[kStatTinkerer] = 5;
    hero_.stat[kStatAlchemy] = 7;
    std::vector<CraftDrawCall> calls;
    CraftDrawRecorder = &calls;
    struct Case {
        int32_t tab;
        int32_t recipe;
        int32_t stat;
        int32_t value;
    };
    // Alchemy, the grinder (alchemy too) and the ingot (the better of smithing and
    // tinkering, with the tinkerer's icon).
    const Case cases[] = {{0, 0, kStatAlchemy, 7}, {2, 3, kStatAlchemy, 7}, {3, 4, kStatTinkerer, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.recipe);
        calls.clear();
        for (auto& list : hero_.craftableRecipes) list.clear();
        hero_.craftableRecipes[c.tab] = {c.recipe};
        CraftPanel.open = true;
        CraftPanel.tool = c.tab;
        CraftPanel.scroll = 0;
        DrawCraftPanel(0, 0);
        // Row 0 lies at (100 + 112, 100 + 60): the skill check at (+319, +65).
        const auto drawn = [&calls](const std::string& what, int32_t x, int32_t y) {
            return std::any_of(calls.begin(), calls.end(), [&](const CraftDrawCall& call) {
                return call.what == what && call.x == x && call.y == y;
            });
        };
        EXPECT_TRUE(drawn("skill icon " + std::to_string(c.stat), 212 + 319, 160 + 65));
        EXPECT_TRUE(drawn("skill value " + std::to_string(c.value), 212 + 319, 160 + 65));
    }
    CraftDrawRecorder = nullptr;
}

TEST_F(CraftingTest, RowTooltipsNameTheIngredientOrOutputUnderThePointer) {
    // Rows at scroll 0: recipe 0 (Newt Eye, Bat Wing -> Mending Brew), recipe 1 (Bat Wing,
    // Bat Wing), recipe 5 (Newt Eye -> an output no item makes).
    hero_.craftableRecipes[0] = {0, 1, 5};
    CraftPanel.open = true;
    CraftPanel.scroll = 0;
    struct Case {
        int32_t x, y;
        bool slotFree;
        std::string shown;  // empty: no tooltip
    };
    const Case cases[] = {
        {364, 167, true, "Newt Eye"},        // first input, top-left corner of its box
        {428, 231, true, "Newt Eye"},        // its bottom-right corner
        {450, 190, true, "Bat Wing"},        // second input
        {532, 190, true, "Mending Brew"},    // output box, left edge
        {596, 231, true, "Mending Brew"},    // output box, far corner
        {515, 190, true, ""},                // between the last input and the output box
        {597, 190, true, ""},                // right of the output box
        {380, 243, true, ""},                // between two rows
        {380, 300, true, "Bat Wing"},        // second row
        {450, 370, true, "Newt Eye"},        // third row: one input, right-aligned
        {380, 370, true, ""},                // ...so nothing sits where two-input rows start
        {560, 370, true, "Unmade Thing"},    // an output without an item keeps its name
        {560, 460, true, ""},                // fourth row position: no recipe there
        {380, 190, false, ""},               // another tooltip came first this frame
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        std::vector<CraftDrawCall> calls;
        CraftDrawRecorder = &calls;
        TooltipSlotFree = c.slotFree;
        DrawCraftPanel(c.x, c.y);
        CraftDrawRecorder = nullptr;
        std::vector<std::string> tooltips;
        for (const CraftDrawCall& call : calls) {
            if (call.what.rfind("tooltip ", 0) == 0) {
                tooltips.push_back(call.what.substr(8));
                EXPECT_EQ(call.x, c.x);
                EXPECT_EQ(call.y, c.y);
            }
        }
        if (c.shown.empty()) {
            EXPECT_TRUE(tooltips.empty());
            EXPECT_EQ(TooltipSlotFree, c.slotFree);
        } else {
            EXPECT_EQ(tooltips, std::vector<std::string>{c.shown});
            EXPECT_FALSE(TooltipSlotFree);
        }
    }
    TooltipSlotFree = true;
}

TEST_F(CraftingTest, FilterPicturesFollowTheirStateAndTheMouse) {
    std::vector<CraftDrawCall> calls;
    CraftDrawRecorder = &calls;
    CraftPanel.open = true;
    CraftPanel.filterSkill = true;
    DrawCraftPanel(100 + 300, 100 + 40);  // over the secret filter
    std::vector<std::string> filters;
    for (const CraftDrawCall& call : calls) {
        if (call.what.find("filter_") != std::string::npos) filters.push_back(call.what);
    }
    EXPECT_EQ(filters, (std::vector<std::string>{"ui/crafting/filter_ingredients0.png", "ui/crafting/filter_skill1.png",
                                                 "ui/crafting/filter_secret2.png"}));
    CraftDrawRecorder = nullptr;
}

TEST_F(CraftingTest, ScrollButtonsTable) {
    hero_.craftableRecipes[0] = {0, 1, 2, 3, 4, 5, 0, 1};
    CraftPanel.open = true;
    struct Case {
        const char* name;
        int32_t from;
        int32_t buttonY;
        int32_t scroll;
        int32_t current;
    };
    const Case cases[] = {
        {"top", 3, 150, -2, 0},  {"page up", 3, 190, -2, 0},  {"page up far", 8, 190, 2, 4},
        {"up", 0, 220, -1, 1},   {"up at the top", -2, 220, -2, 0}, {"down", 0, 320, 1, 3},
        {"down at the end", 5, 320, 5, 1}, {"page down", 0, 360, 5, 1}, {"bottom", 0, 390, 5, 1},
    };
    for (const Case& c : cases) {
        CraftPanel.scroll = c.from;
        CraftPanel.current = -1;
        ClickCraftPanel(100 + 540, 100 + c.buttonY);
        EXPECT_EQ(CraftPanel.scroll, c.scroll) << c.name;
        EXPECT_EQ(CraftPanel.current, c.current) << c.name;
    }
}

TEST_F(CraftingTest, TabsAnswerWhereTheyAreDrawnAndDragsStartOnTheTitleStrip) {
    CraftPanel.open = true;
    ClickCraftPanel(100 + 50, 100 + 64 + 72 + 10);  // the second tab: the still
    EXPECT_EQ(CraftPanel.tool, 1);
    EXPECT_EQ(CraftPanel.scroll, -2);
    ClickCraftPanel(100 + 120, 100 + 64 + 10);  // right of the tabs: no tab
    EXPECT_EQ(CraftPanel.tool, 1);
    EXPECT_EQ(BeginCraftPanelDrag(100 + 60, 100 + 10), 0) << "left of the strip";
    EXPECT_EQ(BeginCraftPanelDrag(100 + 200, 100 + 40), 0) << "below the strip";
    EXPECT_FALSE(CraftPanel.dragging);
    EXPECT_EQ(BeginCraftPanelDrag(100 + 200, 100 + 10), 1);
    DragCraftPanel(400, 300);
    EXPECT_EQ(CraftPanel.x, 200) << "the grab point stays under the pointer";
    EXPECT_EQ(CraftPanel.y, 290);
    ClickCraftPanel(200 + 520, 290 + 10);
    EXPECT_FALSE(CraftPanel.open) << "the close box";
}

TEST_F(CraftingTest, UsingToolkitsTable) {
    Toolkit* still = static_cast<Toolkit*>(Make("Distilling Kit"));
    Toolkit* cube = static_cast<Toolkit*>(Make("Horadric Lutefisk Cube"));
    ToolkitWindow* cubeWindow = FindToolkitWindow("lutefisk");
    ASSERT_NE(cubeWindow, nullptr);
    CraftPanel.open = true;
    CraftPanel.tool = 0;
    EXPECT_EQ(still->Use(), 0);
    EXPECT_FALSE(CraftPanel.open) << "the panel toggles";
    EXPECT_EQ(CraftPanel.tool, 1);
    EXPECT_EQ(CraftPanel.scroll, -2);
    Tutorial tutorial;
    CurrentTutorial = &tutorial;
    PendingTutorialNotices.clear();
    EXPECT_EQ(cube->Use(), 0);
    EXPECT_TRUE(cubeWindow->open);
    EXPECT_EQ(cube->Use(), 0);
    EXPECT_FALSE(cubeWindow->open);
    EXPECT_FALSE(CraftPanel.open) << "the cube leaves the panel alone";
    int32_t reports = 0;
    for (const TutorialNotice& notice : PendingTutorialNotices) reports += notice.code == 14 ? 1 : 0;
    EXPECT_EQ(reports, 1);
    CurrentTutorial = nullptr;
    PendingTutorialNotices.clear();
    // Dropping the cube from the cursor closes its window.
    cube->Use();
    SetCursorItem(cube);
    cube->PlaceOnLevel(4, 4, level_.get(), 0);
    EXPECT_FALSE(cubeWindow->open);
    ClearCursorItem();
    delete still;
}

TEST_F(CraftingTest, TheLutefiskCubeTable) {
    ToolkitWindow* window = FindToolkitWindow("lutefisk");
    window->open = true;
    window->x = 0;
    window->y = 0;
    // An empty output with an empty cursor does nothing.
    EXPECT_TRUE(ClickToolkitWindowsAt(200, 120));
    EXPECT_EQ(window->output, nullptr);
    SetCursorItem(Make("Steak", 5));
    EXPECT_TRUE(ClickToolkitWindowsAt(200, 120));
    ASSERT_NE(window->output, nullptr);
    EXPECT_EQ(window->output->def->name, "Lutefisk");
    EXPECT_EQ(window->output->count, 5);
    EXPECT_EQ(CountSound("lutefisk"), 1);
    EXPECT_EQ(GetCursorItem(), nullptr);
    SetCursorItem(Make("Newt Eye"));
    ClickToolkitWindowsAt(200, 120);
    EXPECT_EQ(window->output->count, 6) << "a single item gives one more";
    DeleteQueuedObjects();
    // Taking the stack out puts it in the bag.
    ClickToolkitWindowsAt(200, 120);
    EXPECT_EQ(window->output, nullptr);
    bool carried = false;
    for (Item** place : CarriedPlaces()) carried = carried || (*place != nullptr && (*place)->def == FindItemDefByName("Lutefisk"));
    EXPECT_TRUE(carried);
    // The cube fed to itself: the paradox on the hero and the achievement.
    ClearSpellTable();
    Spell* paradox = new Spell();
    paradox->name = "Lutefisk Paradox";
    paradox->targetType = SpellTarget::Self;
    SpellList.push_back(paradox);
    SetCursorItem(Make("Horadric Lutefisk Cube"));
    ClickToolkitWindowsAt(200, 120);
    EXPECT_FALSE(window->open);
    ASSERT_FALSE(spellCalls_.casts.empty());
    EXPECT_EQ(spellCalls_.casts.back().spell, paradox);
    EXPECT_EQ(spellCalls_.casts.back().targetX, 3);
    ASSERT_FALSE(spellCalls_.effects.empty());
    EXPECT_EQ(spellCalls_.effects.back().cause, "by the Lutefisk Paradox");
    EXPECT_NE(Stats().find("ACHIEVEMENT_TIME_CUBE"), std::string::npos);
    DeleteQueuedObjects();
    // The close box.
    window->open = true;
    EXPECT_TRUE(ClickToolkitWindowsAt(230, 8));
    EXPECT_FALSE(window->open);
    ClearSpellTable();
}

TEST_F(CraftingTest, AToolkitWindowFillsItsSlotsFromThePackAndCraftsWhatTheyHold) {
    ToolkitWindow* window = FindToolkitWindow("alchemy");
    ASSERT_NE(window, nullptr);
    Pack(0, "Newt Eye");
    Pack(1, "Bat Wing", 2);
    CraftPanel.current = 0;
    EXPECT_TRUE(ClickToolkitWindow(*window, 100, 210));  // fill
    ASSERT_NE(window->slots[0], nullptr);
    ASSERT_NE(window->slots[1], nullptr);
    EXPECT_EQ(window->slots[0]->def->name, "Newt Eye");
    EXPECT_EQ(InventoryGrid.cells[0], nullptr) << "a single item moves into the slot";
    EXPECT_EQ(InventoryGrid.cells[1]->count, 1) << "a stack gives one";
    EXPECT_TRUE(ClickToolkitWindow(*window, 180, 205));  // craft
    ASSERT_NE(window->output, nullptr);
    EXPECT_EQ(window->output->def->name, "Mending Brew");
    EXPECT_EQ(window->slots[0], nullptr);
    EXPECT_EQ(window->slots[1], nullptr);
    EXPECT_TRUE(ClickToolkitWindow(*window, 30, 210));  // the recipe book
    EXPECT_TRUE(CraftPanel.open);
    EXPECT_EQ(CraftPanel.tool, 0);
    EXPECT_FALSE(ClickToolkitWindow(*window, 300, 10)) << "outside the window";
}

}  // namespace

// Unpaid shop goods never go into a toolkit: neither laid by hand, nor by the fill button, nor
// fed to the lutefisk cube, nor used by a craft from the panel, so no craft turns them into
// goods the hero owns. Anything unpaid found in a toolkit (an older save) still counts as
// carried and is never an ingredient.
TEST_F(CraftingTest, UnpaidGoodsNeverEnterAToolkitAndCountAsCarriedWhereTheyLie) {
    ToolkitWindow* window = FindToolkitWindow("alchemy");
    ASSERT_NE(window, nullptr);
    struct Case {
        int32_t slotUnpaid;  // -1: the slot is empty
        int32_t heldUnpaid;
        bool joins;
    };
    const Case cases[] = {{0, 0, true}, {-1, 1, false}, {1, 1, false}, {0, 1, false}};
    for (const Case& c : cases) {
        const std::string label = "slot " + std::to_string(c.slotUnpaid) + ", held unpaid " +
                                  std::to_string(c.heldUnpaid);
        Item* laid = nullptr;
        if (c.slotUnpaid >= 0) {
            laid = Make("Newt Eye", 2);
            laid->unpaid = c.slotUnpaid;
        }
        Item* held = Make("Newt Eye", 3);
        held->unpaid = c.heldUnpaid;
        window->slots[0] = laid;
        SetCursorItem(held);
        EXPECT_TRUE(ClickToolkitWindow(*window, 50, 90)) << label;
        if (c.joins) {
            EXPECT_EQ(window->slots[0], laid) << label;
            EXPECT_EQ(laid->count, 5) << label;
            EXPECT_EQ(GetCursorItem(), nullptr) << label;
        } else {
            EXPECT_EQ(window->slots[0], laid) << label << ": the slot is untouched";
            if (laid != nullptr) {
                EXPECT_EQ(laid->count, 2) << label;
            }
            EXPECT_EQ(GetCursorItem(), held) << label << ": the unpaid goods stay held";
            EXPECT_EQ(held->count, 3) << label;
            EXPECT_TRUE(Logged("You have to pay for that before you can craft with it.")) << label;
        }
        Item* onCursor = GetCursorItem();
        ClearCursorItem();
        DeleteQueuedObjects();
        delete onCursor;
        delete window->slots[0];
        window->slots[0] = nullptr;
    }
    // The fill button passes over an unpaid pack stack.
    Pack(0, "Newt Eye");
    Pack(1, "Bat Wing", 2);
    InventoryGrid.cells[1]->unpaid = 1;
    CraftPanel.current = 0;
    EXPECT_TRUE(ClickToolkitWindow(*window, 100, 210));  // fill
    EXPECT_EQ(window->slots[1], nullptr);
    EXPECT_EQ(InventoryGrid.cells[1]->count, 2);
    // Nor does the panel craft with it: nothing is made and nothing used.
    hero_.quickSlots[3] = Make("Alchemy Kit");
    CraftRecipeFromPanel(0);
    EXPECT_TRUE(Logged("You are missing craftables. Curses!"));
    EXPECT_EQ(InventoryGrid.cells[1]->count, 2);
    EXPECT_EQ(InventoryGrid.cells[1]->unpaid, 1);
    for (Item** place : CarriedPlaces()) {
        EXPECT_FALSE(*place != nullptr && (*place)->def == FindItemDefByName("Mending Brew"));
    }
    // Unpaid goods left in a slot by an older save: carried, paid with the rest, never used.
    EXPECT_TRUE(PlayerHasUnpaidItem()) << "the pack stack";
    InventoryGrid.cells[1]->unpaid = 0;
    EXPECT_FALSE(PlayerHasUnpaidItem());
    Item* bat = Make("Bat Wing");
    bat->unpaid = 1;
    window->slots[1] = bat;
    EXPECT_TRUE(PlayerHasUnpaidItem()) << "an unpaid item in a toolkit slot";
    EXPECT_TRUE(ClickToolkitWindow(*window, 180, 205));  // craft
    EXPECT_EQ(window->output, nullptr) << "the unpaid wing is no ingredient";
    EXPECT_EQ(window->slots[1], bat);
    MarkAllItemsPaid();
    EXPECT_EQ(bat->unpaid, 0);
    Item* made = Make("Mending Brew");
    made->unpaid = 1;
    window->output = made;
    EXPECT_TRUE(PlayerHasUnpaidItem()) << "an unpaid item in a toolkit's output";
    made->unpaid = 0;
    EXPECT_FALSE(PlayerHasUnpaidItem());
    // The lutefisk cube refuses unpaid goods and keeps its stack.
    ToolkitWindow* cube = FindToolkitWindow("lutefisk");
    cube->open = true;
    cube->x = 0;
    cube->y = 0;
    Item* steak = Make("Steak", 4);
    steak->unpaid = 1;
    SetCursorItem(steak);
    EXPECT_TRUE(ClickToolkitWindowsAt(200, 120));
    EXPECT_EQ(cube->output, nullptr);
    EXPECT_EQ(GetCursorItem(), steak);
    EXPECT_EQ(steak->count, 4);
    EXPECT_EQ(CountSound("lutefisk"), 0);
    ClearCursorItem();
    DeleteQueuedObjects();
    delete steak;
}
