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
        EXPECT_NE(spellDBFindByName(spell.c_str()), nullptr) << "monDB casts " << spell;
    }
    for (const MonsterRecord* record : MonsterTable) {
        for (const OnHitSpell& hit : record->onHitSpells) {
            EXPECT_NE(spellDBFindByName(hit.spell.c_str()), nullptr) << record->name << " strikes with " << hit.spell;
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

// The rooms of rooms.xml as text blocks with the flags generation reads.
struct RoomText {
    std::string body;
    int32_t minLevel = 0;
    int32_t maxLevel = 0;
    bool byName = false;
};

std::vector<RoomText> Rooms(const std::string& xml) {
    std::vector<RoomText> rooms;
    for (size_t at = xml.find("<room "); at != std::string::npos; at = xml.find("<room ", at + 1)) {
        const size_t end = xml.find("</room>", at);
        if (end == std::string::npos) break;
        RoomText room;
        room.body = xml.substr(at, end - at);
        const std::string& body = room.body;
        const std::vector<std::string> low = All(body, "minLevel=\"(-?[0-9]+)\"");
        const std::vector<std::string> high = All(body, "maxLevel=\"(-?[0-9]+)\"");
        room.minLevel = low.empty() ? 0 : std::stoi(low[0]);
        room.maxLevel = high.empty() ? 0 : std::stoi(high[0]);
        room.byName = body.find("byname=\"1\"") != std::string::npos;
        rooms.push_back(room);
    }
    return rooms;
}

TEST_F(ShippedContentTest, ThereIsEnoughToFillFifteenLevels) {
    // Monsters: sixty or more, in thirty or more body plans, four or more kinds on each level.
    EXPECT_GE(MonsterTable.size(), 60u);
    std::map<std::string, std::string> planOfStem;
    const std::string manifest = Source("data/art_manifest_monsters.txt");
    const std::regex entry("sprites/monsters/([a-z]+)/[a-z]+_idle_\\$\\.spr [0-9 ]+ creature ([a-z]+) ");
    for (auto it = std::sregex_iterator(manifest.begin(), manifest.end(), entry); it != std::sregex_iterator(); ++it) {
        planOfStem[(*it)[1].str()] = (*it)[2].str();
    }
    std::set<std::string> plans;
    std::map<int32_t, int32_t> kindsOnLevel;
    for (const MonsterRecord* record : MonsterTable) {
        const std::string& idle = record->idleSprite[0];
        const std::string stem = idle.size() > 17 ? idle.substr(17, idle.find('/', 17) - 17) : "";
        ASSERT_TRUE(planOfStem.count(stem)) << record->name << " has no creature art (" << idle << ")";
        plans.insert(planOfStem[stem]);
        if (record->special == 0) ++kindsOnLevel[record->level];
    }
    EXPECT_GE(plans.size(), 30u);
    for (int32_t level = 0; level <= 14; ++level) EXPECT_GE(kindsOnLevel[level], 4) << "monster level " << level;

    // A boss per branch: a lair room within the branch's depths places a monster kept out of
    // random placement.
    const std::vector<RoomText> rooms = Rooms(rooms_);
    std::vector<int32_t> branchTops;
    for (const std::string& depth : All(Source("data/game/branchDB.xml"), "<branch [^>]*depth=\"([0-9]+)\"")) {
        branchTops.push_back(std::stoi(depth));
    }
    ASSERT_GE(branchTops.size(), 5u);
    for (size_t b = 0; b < branchTops.size(); ++b) {
        const int32_t top = branchTops[b];
        const int32_t bottom = b + 1 < branchTops.size() ? branchTops[b + 1] - 1 : 14;
        bool boss = false;
        for (const RoomText& room : rooms) {
            if (room.byName || room.maxLevel < top || room.minLevel > bottom) continue;
            for (const std::string& name : All(room.body, "<monster [^>]*name=\"([^\"]*)\"")) {
                const MonsterRecord* record = monDBFindByDisplayName(name.c_str());
                boss = boss || (record != nullptr && record->special != 0);
            }
        }
        EXPECT_TRUE(boss) << "no boss lair in the branch of depths " << top << ".." << bottom;
    }

    // Recipes: thirty or more, every toolkit with a recipe.
    EXPECT_GE(Recipes.size(), 30u);
    std::set<std::string> tools;
    for (const Recipe& recipe : Recipes) tools.insert(recipe.toolTag);
    for (int32_t type = 0; *ToolTagOfType(type) != '\0'; ++type) {
        EXPECT_TRUE(tools.count(ToolTagOfType(type))) << ToolTagOfType(type) << " has no recipe";
    }

    // Quest shrines: six or more kinds.
    EXPECT_GE(All(quests_, "<blocker name=\"([^\"]+)\"").size(), 6u);

    // Rooms: sixty or more templates; every fixture kind stands in a room generation draws.
    EXPECT_GE(rooms.size(), 60u);
    std::set<std::string> placed;
    for (const RoomText& room : rooms) {
        if (room.byName || room.minLevel > 14) continue;
        for (const std::string& kind : All(room.body, "<element [^>]*type=\"([^\"]*)\"")) placed.insert(kind);
    }
    for (const std::string& kind : kElementKinds) EXPECT_TRUE(placed.count(kind)) << kind << " is never placed";
}

}  // namespace
