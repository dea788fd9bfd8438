// The Diggle-god statues and the lutefisk statue with forced draws.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/random.h"
#include "creatures/buff.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "items_fixtures/furniture.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_pickers.h"
#include "items_fixtures/weapon.h"
#include "levels/level_test_map.h"
#include "levels/object_queue.h"

namespace {

int32_t gAnswer = 0;
std::vector<std::string> gAsked;
std::vector<int32_t> gTithes;
std::vector<Item*> gGifts;
int32_t RecordAsk(const char* text, const char*, const char*) {
    gAsked.push_back(text != nullptr ? text : "");
    return gAnswer;
}
void RecordTithe(int32_t count) { gTithes.push_back(count); }
void RecordGift(Item* item) { gGifts.push_back(item); }

class ShrinesTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedHero_ = CurrentPlayer;
        savedDialogs_ = ShrineDialogs;
        ShrineDialogs = {RecordAsk, RecordTithe, RecordGift};
        gAnswer = 0;
        gAsked.clear();
        gTithes.clear();
        gGifts.clear();
        std::ifstream file(std::string(VAULTMERE_SOURCE_DIR) + "/data/game/itemDB.xml");
        std::stringstream text;
        text << file.rdbuf();
        ASSERT_TRUE(itemDBLoadText(text.str(), "itemDB.xml"));
        BuildItemLevelTables();
        hero_ = new Player();
        hero_->PlaceOnLevel(3, 2, level_.get(), 0);
        CurrentPlayer = hero_;
    }
    void TearDown() override {
        DeleteQueuedObjects();
        ApplyDeferredObjectMoves();
        for (Item*& cell : InventoryGrid.cells) {
            if (cell == nullptr) continue;
            Item* item = cell;
            RemoveItemFromGrid(item);
            delete item;
        }
        ShrineDialogs = savedDialogs_;
        ClearSpellTable();
        ClearItemDB();
        CurrentPlayer = savedHero_;
    }
    int32_t DiggleBlessings() const {
        int32_t n = 0;
        for (const Buff* buff : hero_->buffs) n += buff != nullptr && buff->digglegod ? 1 : 0;
        return n;
    }

    ScopedTestLevel level_{{"#######", "#.....#", "#.....#", "#.....#", "#.....#", "#######"}};
    Player* hero_ = nullptr;
    Player* savedHero_ = nullptr;
    ShrineDialogSet savedDialogs_{};
};

TEST_F(ShrinesTest, PrayingReplacesTheDiggleBlessingAndAGodWithoutASpellCastsNothing) {
    ClearSpellTable();
    const std::string xml =
        "<spellDB><spell name=\"Burrow Grace\" type=\"self\"><buff time=\"50\" digglegod=\"1\">"
        "<secondarybuff id=\"10\" amount=\"2\"/></buff></spell>"
        "<spell name=\"Plain Grace\" type=\"self\"><buff time=\"50\"><secondarybuff id=\"11\" amount=\"1\"/></buff>"
        "</spell>"
        "<digglegod name=\"Diggle God of Burrows\" art=\"\" spell=\"Burrow Grace\"/>"
        "<digglegod name=\"Diggle God of Nothing\" art=\"\" spell=\"No Such Spell\"/></spellDB>";
    ASSERT_TRUE(spellDBLoadFromText(xml.data(), xml.size(), "test spells"));
    DiggleGod* god = new DiggleGod("Diggle God of Burrows");
    god->PlaceOnLevel(4, 2, level_.get(), 0);
    EXPECT_EQ(god->GetName(), "Statue of the Diggle God of Burrows");
    // An unrelated buff stays through every prayer.
    CastSpellWithCause(spellDBFindByName("Plain Grace"), 3, 2, 3, 2, hero_, "test");
    const size_t plain = hero_->buffs.size();
    ASSERT_EQ(plain, 1u);

    gAnswer = 1;  // nay
    EXPECT_EQ(god->Activate(), 1);
    ASSERT_EQ(gAsked.size(), 1u);
    EXPECT_EQ(gAsked[0], "Pray to the Diggle God of Burrows?");
    EXPECT_EQ(DiggleBlessings(), 0);
    gAnswer = 0;
    EXPECT_EQ(god->Activate(), 1);
    EXPECT_EQ(DiggleBlessings(), 1);
    EXPECT_EQ(god->Activate(), 1);  // again: still one blessing
    EXPECT_EQ(DiggleBlessings(), 1);
    EXPECT_EQ(hero_->buffs.size(), plain + 1);

    DiggleGod* silent = new DiggleGod("Diggle God of Nothing");
    silent->PlaceOnLevel(2, 2, level_.get(), 0);
    EXPECT_EQ(silent->Activate(), 1);
    EXPECT_EQ(DiggleBlessings(), 0);
    EXPECT_EQ(hero_->buffs.size(), plain);
}

TEST_F(ShrinesTest, LutefiskGoesIntoTheTitheAndAnythingElseGetsARefusalLine) {
    LutefiskStatue* statue = new LutefiskStatue();
    statue->PlaceOnLevel(4, 2, level_.get(), 0);
    Item* fish = CreateItemByName("Lutefisk");
    ASSERT_NE(fish, nullptr);
    fish->count = 5;
    hero_->lutefiskTithe = 0;
    // A draw of 499 (no gift): seed the C generator so RandomInt(500) is high.
    uint32_t seed = 1;
    for (;; ++seed) {
        CSRand(seed);
        if (RandomInt(500) >= 5) break;
    }
    CSRand(seed);
    const size_t queued = QueuedDeletionCount();
    EXPECT_EQ(statue->UseItemOn(fish), 1);
    EXPECT_EQ(hero_->lutefiskTithe, 5);
    EXPECT_EQ(QueuedDeletionCount(), queued + 1);  // the whole stack is taken
    ASSERT_EQ(gTithes.size(), 1u);
    EXPECT_EQ(gTithes[0], 5);
    EXPECT_TRUE(gGifts.empty());
    DeleteQueuedObjects();

    for (int32_t line = 0; line < kLutefiskRefusalCount; ++line) {
        for (seed = 1;; ++seed) {
            CSRand(seed);
            if (CRand() / 4682 == line) break;
        }
        CSRand(seed);
        gAsked.clear();
        std::unique_ptr<Item> apple(CreateItemByName("Apple"));
        EXPECT_EQ(statue->UseItemOn(apple.get()), 1);
        ASSERT_EQ(gAsked.size(), 1u);
        EXPECT_EQ(gAsked[0], kLutefiskRefusals[line]);
        EXPECT_EQ(QueuedDeletionCount(), 0u) << "refused items stay with the hero";
        EXPECT_EQ(hero_->lutefiskTithe, 5);
    }
    EXPECT_EQ(std::string(kLutefiskRefusals[0]), "The Vededuve Rez is silent.");
    EXPECT_EQ(std::string(kLutefiskRefusals[6]), "The Vededuve Rez pouts.");
}

TEST_F(ShrinesTest, AGiftComesBelowTheTitheAndAsksTheWeaponTableByTheTithe) {
    // Seeds for a gift draw below 250 and a weapon on the one-in-two roll.
    uint32_t cSeed = 1;
    for (;; ++cSeed) {
        CSRand(cSeed);
        if (RandomInt(500) < 249) break;
    }
    uint32_t mtSeed = 1;
    for (;; ++mtSeed) {
        MTSeed(mtSeed);
        if (MTOneChanceIn(2)) break;
    }
    const struct {
        int32_t tithe;
        int32_t offset;
    } cases[] = {{249, 1}, {250, 2}};  // the offering of 1 makes 250 and 251
    for (const auto& c : cases) {
        // The expected definition: the same draws, made by hand.
        CSRand(cSeed);
        MTSeed(mtSeed);
        RandomInt(500);
        MTOneChanceIn(2);
        const ItemDef* expected = RandomWeaponDefByLevel(0, c.offset);
        ASSERT_NE(expected, nullptr);

        LutefiskStatue* statue = new LutefiskStatue();
        statue->PlaceOnLevel(4, 2, level_.get(), 0);
        hero_->lutefiskTithe = c.tithe;
        gGifts.clear();
        CSRand(cSeed);
        MTSeed(mtSeed);
        EXPECT_EQ(statue->UseItemOn(CreateItemByName("Lutefisk")), 1);
        ASSERT_EQ(gGifts.size(), 1u) << c.tithe;
        Weapon* weapon = dynamic_cast<Weapon*>(gGifts[0]);
        ASSERT_NE(weapon, nullptr);
        EXPECT_EQ(weapon->def, expected) << c.tithe;
        EXPECT_TRUE(weapon->IsArtifact());
        EXPECT_EQ(weapon->artifactRecord.text, "It smells mildly of fish.");
        EXPECT_EQ(hero_->lutefiskTithe, 0);
        EXPECT_EQ(statue->spent, 1);
        // Spent: it neither takes items nor shows the tithe.
        gTithes.clear();
        std::unique_ptr<Item> more(CreateItemByName("Lutefisk"));
        EXPECT_EQ(statue->UseItemOn(more.get()), 0);
        EXPECT_EQ(statue->Activate(), 0);
        EXPECT_TRUE(gTithes.empty());
        DeleteQueuedObjects();
    }
}

}  // namespace
