// The data we ship, read as the game reads it: every monster, room, quest shrine and recipe
// names only art files, spells, items and monsters that exist, and there is enough of each to
// fill the fifteen levels of the long dungeon without meeting the same few things again and
// again.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "creatures/monster_db.h"
#include "creatures/spell.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/toolkit_windows.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Source(const char* path) { return ReadFile(std::string(VAULTMERE_SOURCE_DIR "/") + path); }

bool Built(const std::string& path) { return std::ifstream(std::string(VAULTMERE_GAME_ROOT "/") + path).good(); }

// Every first group of the pattern in the text.
std::vector<std::string> All(const std::string& text, const char* pattern) {
    std::vector<std::string> found;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it) {
        found.push_back((*it)[1].str());
    }
    return found;
}

// The element types the room reader turns into fixtures.
const std::set<std::string> kElementKinds = {
    "bookshelf", "lever", "lutefiskstatue", "portal", "anvil", "statue", "zarnochstatue", "evilchest", "freezer",
    "bbq", "fountain", "digglegod", "craftvending", "foodvending", "boltvending", "drinkvending", "thrownvending",
    "dirt"};

class ShippedContentTest : public testing::Test {
protected:
    void SetUp() override {
        ClearMonsterDB();
        ClearSpellTable();
        ClearItemDB();
        ClearRecipes();
        ToolkitWindows.clear();
        monsters_ = Source("data/game/monDB.xml");
        rooms_ = Source("data/game/rooms.xml");
        quests_ = Source("data/game/quests.xml");
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const std::string spells = Source("data/game/spellDB.xml");
        const bool spellsRead = spellDBLoadFromText(spells.data(), spells.size(), "spellDB.xml");
        const bool itemsRead = itemDBLoadText(Source("data/game/itemDB.xml"), "itemDB.xml");
        const bool recipesRead = craftDBLoadText(Source("data/game/craftDB.xml"), "craftDB.xml");
        const bool monstersRead = monDBLoadFromText(monsters_.data(), monsters_.size(), "monDB.xml");
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        ASSERT_TRUE(spellsRead && itemsRead && recipesRead && monstersRead);
    }
    void TearDown() override {
        ToolkitWindows.clear();
        ClearRecipes();
        ClearMonsterDB();
        ClearItemDB();
        ClearSpellTable();
    }
    std::string monsters_;
    std::string rooms_;
    std::string quests_;
};

TEST_F(ShippedContentTest, EveryRecordNamesOnlyThingsThatExist) {
    // Monsters: every picture is built, every spell they cast or strike with is in spellDB.
    for (const std::string& file : All(monsters_, "\"(sprites/[^\"]+)\"")) EXPECT_TRUE(Built(file)) << file;
    for (const std::string& spell : All(monsters_, "<spell name=\"([^\"]*)\"")) {
        EXPECT_NE(spellDBFindByName(spell), nullptr) << "monDB casts " << spell;
    }
    for (const MonsterRecord* record : MonsterTable) {
        for (const OnHitSpell& hit : record->onHitSpells) {
            EXPECT_NE(spellDBFindByName(hit.spell), nullptr) << record->name << " strikes with " << hit.spell;
        }
        EXPECT_FALSE(record->idleSprite[0].empty()) << record->name << " has no picture";
    }
    // Rooms: named monsters, fixture kinds, shelf contents and the pictures of custom fixtures.
    for (const std::string& name : All(rooms_, "<monster [^>]*name=\"([^\"]*)\"")) {
        EXPECT_NE(monDBFindByDisplayName(name.c_str()), nullptr) << "a room places " << name;
    }
    for (const std::string& kind : All(rooms_, "<element [^>]*type=\"([^\"]*)\"")) {
        EXPECT_TRUE(kElementKinds.count(kind)) << "a room places the unknown fixture " << kind;
    }
    for (const std::string& item : All(rooms_, "contents=\"([^\"]*)\"")) {
        EXPECT_NE(FindItemDefByName(item), nullptr) << "a shelf holds " << item;
    }
    for (const std::string& file : All(rooms_, " (?:png|broken|breaking)=\"([^\"]+)\"")) {
        EXPECT_TRUE(Built(file)) << file;
    }
    for (const std::string& stem : All(rooms_, "pngSprite=\"([^\"]+)\"")) EXPECT_TRUE(Built(stem + "0000.png")) << stem;
    // Quest shrines and quest items.
    for (const std::string& file : All(quests_, "sprite=\"([^\"]+)\"")) EXPECT_TRUE(Built(file)) << file;
    // Recipes: every ingredient and product is an item, every tool a toolkit.
    for (const Recipe& recipe : Recipes) {
        for (int32_t i = 0; i < recipe.inputCount; ++i) EXPECT_NE(recipe.inputDefs[i], nullptr) << recipe.inputNames[i];
        for (const RecipeOutput& out : recipe.outputs) EXPECT_NE(out.def, nullptr) << out.name;
        EXPECT_GE(ToolTypeOfTag(recipe.toolTag), 0) << recipe.toolTag;
    }
}

}  // namespace
