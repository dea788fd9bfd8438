// The Anvil of Krong with forced draws: blessings, curses, refusals, the depleted answers, the
// pictures and the two-curses achievement.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/random.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/furniture.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/weapon.h"
#include "levels/level_cell.h"
#include "levels/level_test_map.h"
#include "media/sprite.h"
#include "store_platform/stats.h"
#include "store_platform/store.h"
#include "support/platform_fixtures.h"

namespace {

std::vector<std::string> gShown;
struct KrongCall {
    Item* item;
    bool pleased;
    std::string text;
};
std::vector<KrongCall> gKrong;
int32_t RecordShow(const char* text, const char*, const char*) {
    gShown.push_back(text != nullptr ? text : "");
    return 0;
}
void RecordKrong(Item* item, bool pleased, const char* text) { gKrong.push_back({item, pleased, text}); }

// An MT seed whose first MTRandomInt(7) is `roll`.
uint32_t SeedForRoll(uint32_t roll) {
    for (uint32_t seed = 1;; ++seed) {
        MTSeed(seed);
        if (MTRandomInt(7) == roll) return seed;
    }
}

const char* const kCurseText = "Woe unto you, for Krong has encrusted your artifact with potent runes of cursing!";
const char* const kBlessText = "Blessed be you, for Krong has added new powers to your artifact!";

class AnvilTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedHero_ = CurrentPlayer;
        savedDialogs_ = AnvilDialogs;
        AnvilDialogs = {RecordShow, RecordKrong};
        gShown.clear();
        gKrong.clear();
        ResetAnvilMemory();
        std::ifstream file(std::string(VAULTMERE_SOURCE_DIR) + "/data/game/itemDB.xml");
        std::stringstream text;
        text << file.rdbuf();
        ASSERT_TRUE(itemDBLoadText(text.str(), "itemDB.xml"));
        hero_ = new Player();
        hero_->PlaceOnLevel(3, 2, level_.get(), 0);
        CurrentPlayer = hero_;
        SteamAPI_Shutdown();
        testing::internal::CaptureStdout();
        SteamAPI_Init();
        InitSteamStats();
        SteamAPI_RunCallbacks();
        testing::internal::GetCapturedStdout();
    }
    void TearDown() override {
        SteamAPI_Shutdown();
        InitSteamStats();
        AnvilDialogs = savedDialogs_;
        ClearItemDB();
        CurrentPlayer = savedHero_;
    }
    Anvil* PlaceAnvil(int32_t x, int32_t y) {
        Anvil* anvil = new Anvil();
        anvil->PlaceOnLevel(x, y, level_.get(), 0);
        return anvil;
    }
    bool Achieved(const char* name) {
        bool achieved = false;
        StoreUserStats* stats = SteamUserStats();
        return stats != nullptr && stats->GetAchievement(name, &achieved) && achieved;
    }
    // Drops the item on a fresh anvil with the forced curse roll.
    void Drop(Item* item, uint32_t roll) {
        Anvil* anvil = PlaceAnvil(5, 4);
        MTSeed(SeedForRoll(roll));
        EXPECT_EQ(anvil->UseItemOn(item), 1);
        EXPECT_EQ(anvil->used, 1);
    }

    TempDir tmp_;
    ScopedEnv user_{"VAULTMERE_USER_DIR", tmp_.path().c_str()};
    ScopedEnv store_{"VAULTMERE_STORE_DIR", ""};
    ScopedTestLevel level_{{"#########", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#", "#########"}};
    Player* hero_ = nullptr;
    Player* savedHero_ = nullptr;
    AnvilDialogSet savedDialogs_{};
};

TEST_F(AnvilTest, WeaponsAndArmourAreBlessedOrCursedByTheRollAndTheUseCount) {
    const struct {
        const char* what;
        const char* item;
        int32_t usesBefore;
        uint32_t roll;
        bool cursed;
    } cases[] = {
        {"first use, curse roll: blessed", "Rusty Blade", 0, 6, false},
        {"second use, roll 5: cursed", "Rusty Blade", 1, 5, true},
        {"second use, roll 6: cursed", "Rusty Blade", 1, 6, true},
        {"second use, roll 4: blessed", "Rusty Blade", 1, 4, false},
        {"armour, first use: blessed", "Hide Hauberk", 0, 5, false},
        {"armour, third use, roll 5: cursed", "Hide Hauberk", 2, 5, true},
        {"armour, third use, roll 0: blessed", "Hide Hauberk", 2, 0, false},
    };
    for (const auto& c : cases) {
        gKrong.clear();
        hero_->anvilUses = c.usesBefore;
        std::unique_ptr<Item> item(CreateItemByName(c.item));
        ASSERT_NE(item, nullptr) << c.what;
        Drop(item.get(), c.roll);
        EXPECT_EQ(hero_->anvilUses, c.usesBefore + 1) << c.what;
        ASSERT_EQ(gKrong.size(), 1u) << c.what;
        EXPECT_EQ(gKrong[0].item, item.get()) << c.what;
        EXPECT_EQ(gKrong[0].pleased, !c.cursed) << c.what;
        EXPECT_EQ(gKrong[0].text, c.cursed ? kCurseText : kBlessText) << c.what;
        EXPECT_TRUE(item->IsArtifact()) << c.what;
        ArtifactRecord* record = nullptr;
        if (Weapon* w = dynamic_cast<Weapon*>(item.get())) record = &w->artifactRecord;
        if (Armour* a = dynamic_cast<Armour*>(item.get())) record = &a->artifactRecord;
        ASSERT_NE(record, nullptr);
        ASSERT_NE(record->grantedBuff, nullptr) << c.what;
        EXPECT_EQ(record->grantedBuff->item, item.get()) << c.what;
        EXPECT_EQ(record->grantedBuff->name, record->title) << c.what;
        for (int32_t value : record->grantedBuff->damage) EXPECT_GE(value, 0) << c.what;
        if (c.cursed) {
            EXPECT_EQ(record->text, "It is made of shame and disgrace.") << c.what;
            EXPECT_EQ(record->curseCount, 1) << c.what;
        } else {
            EXPECT_EQ(record->curseCount, 0) << c.what;
        }
    }
}

TEST_F(AnvilTest, AnArtifactAlreadyBlessedGainsPowersInItsOneBuff) {
    std::unique_ptr<Item> item(CreateItemByName("Rusty Blade"));
    Weapon* weapon = dynamic_cast<Weapon*>(item.get());
    ASSERT_NE(weapon, nullptr);
    Drop(item.get(), 0);
    const Buff* first = weapon->artifactRecord.grantedBuff.get();
    const int32_t power = weapon->artifactRecord.power;
    Drop(item.get(), 0);  // a second anvil, blessing again
    EXPECT_EQ(weapon->artifactRecord.grantedBuff.get(), first);
    EXPECT_GT(weapon->artifactRecord.power, power);
    // Cursed afterwards: the same buff, powers lowered, damage never below 0.
    Drop(item.get(), 5);
    EXPECT_EQ(weapon->artifactRecord.grantedBuff.get(), first);
    EXPECT_EQ(weapon->artifactRecord.curseCount, 1);
    for (int32_t value : first->damage) EXPECT_GE(value, 0);
}

TEST_F(AnvilTest, OtherItemsAreRefusedAndLeftAsTheyWere) {
    const struct {
        const char* item;
        const char* text;
    } cases[] = {
        {"Apple", "A glowing phantasmal hammer crashes down on your food, and it goes flying everywhere."},
        {nullptr, "The powers of the Anvil of Krong cannot work on this item. The anvil seems to decay before your eyes."},
    };
    for (const auto& c : cases) {
        gShown.clear();
        LastAnvilOutcome = 2;
        std::unique_ptr<Item> item(c.item != nullptr ? CreateItemByName(c.item) : new Misc(0));
        ASSERT_NE(item, nullptr);
        const int32_t count = item->count;
        const std::string name = item->GetItemName();
        Drop(item.get(), 5);
        ASSERT_EQ(gShown.size(), 1u);
        EXPECT_EQ(gShown[0], c.text);
        EXPECT_TRUE(gKrong.empty());
        EXPECT_EQ(LastAnvilOutcome, 0);  // a refused item resets the memory
        EXPECT_EQ(item->count, count);
        EXPECT_EQ(item->GetItemName(), name);
    }
}

TEST_F(AnvilTest, AUsedAnvilOnlyAnswersWithItsDepletedTexts) {
    Anvil* anvil = PlaceAnvil(4, 2);  // beside the hero at (3, 2)
    Anvil* far = PlaceAnvil(5, 5);
    EXPECT_EQ(anvil->Activate(), 1);
    ASSERT_EQ(gShown.size(), 1u);
    EXPECT_EQ(gShown[0], "Place your equipment on the Sacred Anvil of Krong...");
    EXPECT_EQ(far->Activate(), 0);
    EXPECT_EQ(gShown.size(), 1u);
    ASSERT_NE(anvil->bob.sprite, nullptr);
    EXPECT_EQ(anvil->bob.sprite->name, "dungeon/krong_anvil.png");

    std::unique_ptr<Item> apple(CreateItemByName("Apple"));
    anvil->UseItemOn(apple.get());
    EXPECT_EQ(anvil->bob.sprite->name, "dungeon/krong_anvil_used.png");
    gShown.clear();
    const int32_t uses = hero_->anvilUses;
    std::unique_ptr<Item> blade(CreateItemByName("Rusty Blade"));
    EXPECT_EQ(anvil->UseItemOn(blade.get()), 1);
    EXPECT_EQ(anvil->Activate(), 1);
    ASSERT_EQ(gShown.size(), 2u);
    EXPECT_EQ(gShown[0], "The Anvil of Krong sits, depleted, as a testament to your poor crafting ability.");
    EXPECT_EQ(gShown[1], "The Anvil of Krong sits depleted.  Perhaps if you continue adventuring you will find another.");
    EXPECT_EQ(hero_->anvilUses, uses);
    EXPECT_FALSE(blade->IsArtifact());

    // From a diagonal square the used anvil does nothing when clicked.
    far->used = 1;
    far->dead = 1;
    far->RefreshPicture();
    EXPECT_EQ(far->bob.sprite->name, "dungeon/krong_anvil_broken.png");
    hero_->PlaceOnLevel(4, 4, level_.get(), 0);
    gShown.clear();
    EXPECT_EQ(far->Activate(), 0);
    EXPECT_TRUE(gShown.empty());
}

TEST_F(AnvilTest, TwoCursesInARowAreCelebratedButABlessingBetweenResetsTheMemory) {
    hero_->anvilUses = 5;
    std::unique_ptr<Item> a(CreateItemByName("Rusty Blade"));
    std::unique_ptr<Item> b(CreateItemByName("Rusty Blade"));
    std::unique_ptr<Item> c(CreateItemByName("Rusty Blade"));
    Drop(a.get(), 5);
    Drop(b.get(), 0);  // blessed
    Drop(c.get(), 6);
    EXPECT_FALSE(Achieved("ACHIEVEMENT_TWO_KRONGS_DONT_MAKE_A_RIGHT"));
    std::unique_ptr<Item> d(CreateItemByName("Rusty Blade"));
    Drop(d.get(), 5);
    EXPECT_TRUE(Achieved("ACHIEVEMENT_TWO_KRONGS_DONT_MAKE_A_RIGHT"));
    EXPECT_EQ(GetStatInt("STAT_BAD_KRONGINGS"), 3);
    // A new game forgets the last outcome.
    ResetAnvilMemory();
    EXPECT_EQ(LastAnvilOutcome, 0);
}

TEST_F(AnvilTest, TheKronianRitualMakesASpentAnvilUsableOnceAndThenOnlyAnswers) {
    Anvil* anvil = PlaceAnvil(4, 2);
    Spell ritual;
    ritual.name = "Kronian Ritual";
    SpellEffect effect;
    effect.kind = SpellEffectKindFromWord("rechargeanvil");
    effect.resistable = false;
    ritual.effects.push_back(effect);
    ASSERT_EQ(effect.kind, 30);

    std::unique_ptr<Item> apple(CreateItemByName("Apple"));
    anvil->UseItemOn(apple.get());
    ASSERT_EQ(anvil->used, 1);
    ApplySpellEffects(&ritual, 4, 2, hero_, false, nullptr, "", true);
    EXPECT_EQ(anvil->used, 0);
    EXPECT_EQ(anvil->bob.sprite->name, "dungeon/krong_anvil.png");
    gShown.clear();
    std::unique_ptr<Item> blade(CreateItemByName("Rusty Blade"));
    MTSeed(SeedForRoll(0));
    anvil->UseItemOn(blade.get());
    EXPECT_TRUE(blade->IsArtifact());
    EXPECT_EQ(anvil->used, 1);
    ApplySpellEffects(&ritual, 4, 2, hero_, false, nullptr, "", true);
    EXPECT_EQ(anvil->used, 1);
    ASSERT_EQ(gShown.size(), 1u);
    EXPECT_EQ(gShown[0], "The Ancient Kronian Ritual has already been performed on this Anvil.");
}

}  // namespace
