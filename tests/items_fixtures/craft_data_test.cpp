// Our shipped craftDB.xml against our itemDB.xml and spellDB.xml: every name resolves, each
// tool has a recipe, and the records crafting and cooking rely on are there; a saved hero's
// known recipes are checked against the shipped list when it loads.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "core/save_stream.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/toolkit_windows.h"

namespace {

std::string ReadSource(const char* path) {
    std::ifstream in(std::string(VAULTMERE_SOURCE_DIR "/") + path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class CraftDataTest : public testing::Test {
protected:
    void SetUp() override {
        ClearSpellTable();
        ClearItemDB();
        ClearRecipes();
        ToolkitWindows.clear();
        testing::internal::CaptureStderr();
        const std::string spells = ReadSource("data/game/spellDB.xml");
        ASSERT_TRUE(spellDBLoadFromText(spells.data(), spells.size(), "spellDB.xml"));
        ASSERT_TRUE(itemDBLoadText(ReadSource("data/game/itemDB.xml"), "itemDB.xml"));
        ASSERT_TRUE(craftDBLoadText(ReadSource("data/game/craftDB.xml"), "craftDB.xml"));
        errors_ = testing::internal::GetCapturedStderr();
    }
    void TearDown() override {
        ToolkitWindows.clear();
        ClearRecipes();
        ClearItemDB();
        ClearSpellTable();
    }
    std::string errors_;
};

TEST_F(CraftDataTest, EveryRecipeNameResolvesAndEveryToolHasARecipe) {
    // (The spell and item art is not mounted here; only the recipe reader's words count.)
    EXPECT_EQ(errors_.find("craftDB"), std::string::npos) << errors_;
    std::set<std::string> tools;
    int32_t hidden = 0;
    bool threeTiers = false;
    bool repeatedInput = false;
    bool fourInputs = false;
    for (const Recipe& recipe : Recipes) {
        for (int32_t i = 0; i < recipe.inputCount; ++i) {
            EXPECT_NE(recipe.inputDefs[i], nullptr) << recipe.inputNames[i];
            for (int32_t j = 0; j < i; ++j) repeatedInput = repeatedInput || recipe.inputNames[i] == recipe.inputNames[j];
        }
        for (const RecipeOutput& out : recipe.outputs) EXPECT_NE(out.def, nullptr) << out.name;
        EXPECT_GE(ToolTypeOfTag(recipe.toolTag), 0) << recipe.toolTag;
        tools.insert(recipe.toolTag);
        hidden += recipe.hidden ? 1 : 0;
        std::set<int32_t> skills;
        for (const RecipeOutput& out : recipe.outputs) skills.insert(out.skill);
        threeTiers = threeTiers || skills == std::set<int32_t>{0, 2, 5};
        fourInputs = fourInputs || recipe.inputCount == 4;
    }
    EXPECT_EQ(tools.size(), 7u);
    EXPECT_GE(hidden, 2);
    EXPECT_TRUE(threeTiers);
    EXPECT_TRUE(repeatedInput);
    EXPECT_TRUE(fourInputs);
}

TEST_F(CraftDataTest, ToolkitsFoodsAndSpellsTheRulesName) {
    std::set<std::string> tags;
    for (const ToolkitWindow& window : ToolkitWindows) tags.insert(window.kind);
    EXPECT_EQ(tags, (std::set<std::string>{"alchemy", "still", "grinder", "ingot", "tinkerer", "smithing", "lathe",
                                           "lutefisk"}));
    const ItemDef* cube = FindItemDefByName("Horadric Lutefisk Cube");
    ASSERT_NE(cube, nullptr);
    ASSERT_NE(cube->toolkitLayout, nullptr);
    EXPECT_EQ(cube->toolkitLayout->numSlots, 4);
    for (const char* name : {"Steak", "Fresh Steak", "Aged Steak", "Grilled Steak", "Lutefisk", "Diggle Egg",
                             "Deep Omelette", "Root of T'Char", "Diggle Nog"}) {
        const ItemDef* def = FindItemDefByName(name);
        ASSERT_NE(def, nullptr) << name;
        EXPECT_EQ(def->category, kItemFood) << name;
    }
    ASSERT_NE(FindItemDefByName("Burnt Out Wand"), nullptr);
    ASSERT_NE(FindItemDefByName("Omnipotent Pork Sword"), nullptr);
    for (const char* spell : {"Fallen Vegan", "Lutefisk Paradox"}) EXPECT_NE(spellDBFindByName(spell), nullptr) << spell;
    for (const ItemDef* def : ItemDefLists.all) {
        // Every mushroom does something when eaten.
        if (def->category == kItemMushroom) {
            EXPECT_FALSE(def->spellName.empty()) << def->name;
        }
        if (def->category == kItemPotion || def->category == kItemWand || !def->spellName.empty()) {
            EXPECT_NE(def->spell, nullptr) << def->name << " names " << def->spellName;
        }
    }
}

// A saved hero that knows a recipe the shipped list no longer reaches (a save from a game with
// more recipes) loads with that recipe dropped, says so, and keeps the others.
TEST_F(CraftDataTest, AKnownRecipePastTheShippedListIsDroppedWhenTheHeroLoads) {
    ASSERT_GE(Recipes.size(), 2u);
    const int32_t past = static_cast<int32_t>(Recipes.size());
    Player* before = CurrentPlayer;
    Player hero;
    hero.name = "Reader";
    CurrentPlayer = &hero;
    hero.knownRecipes[0] = {0, past, 1};
    SaveWriter out;
    ASSERT_TRUE(hero.Save(out));
    SaveReader in(out.Buffer());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    std::unique_ptr<Player> back(new Player(in));
    const std::string printed = testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    CurrentPlayer = before;
    ASSERT_FALSE(in.Failed()) << in.Error();
    EXPECT_EQ(back->knownRecipes[0], (std::vector<int32_t>{0, 1}));
    EXPECT_NE((in.Error() + printed).find("known recipe " + std::to_string(past)), std::string::npos)
        << in.Error() << printed;
}

// The item database is dropped and read again (a mod is switched on, a new game starts): the
// toolkit windows never keep a layout of the dropped database, and after the reload each
// window takes the new layout of its tag instead of a second window being made beside it.
TEST_F(CraftDataTest, AReloadedItemDatabaseHandsEachToolkitWindowItsNewLayout) {
    const size_t windows = ToolkitWindows.size();
    ASSERT_GT(windows, 0u);
    ClearItemDB();
    for (const ToolkitWindow& window : ToolkitWindows) EXPECT_EQ(window.layout, nullptr) << window.kind;

    testing::internal::CaptureStderr();
    ASSERT_TRUE(itemDBLoadText(ReadSource("data/game/itemDB.xml"), "itemDB.xml"));
    testing::internal::GetCapturedStderr();
    SyncToolkitWindows();
    ASSERT_EQ(ToolkitWindows.size(), windows);
    for (const ToolkitWindow& window : ToolkitWindows) {
        ASSERT_NE(window.layout, nullptr) << window.kind;
        EXPECT_EQ(window.layout->tag, window.kind);
        EXPECT_NE(std::find(ItemDefLists.toolkitLayouts.begin(), ItemDefLists.toolkitLayouts.end(), window.layout),
                  ItemDefLists.toolkitLayouts.end())
            << window.kind;
    }
    // A click on the cube's close box, found through its layout, closes it.
    ToolkitWindow* cube = FindToolkitWindow("lutefisk");
    ASSERT_NE(cube, nullptr);
    cube->open = true;
    EXPECT_TRUE(ClickToolkitWindow(*cube, cube->layout->closePos[0] + 1, cube->layout->closePos[1] + 1));
    EXPECT_FALSE(cube->open);
}

}  // namespace
