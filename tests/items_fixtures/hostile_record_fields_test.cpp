// Words of a saved record that only mean something within a range (a splat's picture, a
// clock's step, the growing turns of a patch of dirt, a stack's count, a pile's zorkmids, a
// wand's charges, the hero's skill levels, purse and health): a hostile value fails the load
// with a message that names the field, and the values at the edges of the range load as they
// were saved.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/class_registry.h"
#include "core/save_stream.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "items_fixtures/blockers.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/dirt.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/splat.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/level.h"
#include "tests/items_fixtures/record_bytes.h"

namespace {

using namespace record_bytes;

// Stands in the field under test while the record is written, so that its word can be found.
constexpr int32_t kMark = 0x5EED1234;

// The record's block with the word that holds kMark replaced by `value`.
Bytes WithField(GameObj& obj, int32_t value) {
    Bytes bytes = SaveBytes(obj);
    const Bytes mark = Word(kMark);
    const auto at = std::search(bytes.begin(), bytes.end(), mark.begin(), mark.end());
    EXPECT_NE(at, bytes.end()) << "the field's word was not written";
    if (at == bytes.end()) return bytes;
    EXPECT_EQ(std::search(at + 4, bytes.end(), mark.begin(), mark.end()), bytes.end()) << "the mark is not unique";
    const Bytes word = Word(value);
    std::copy(word.begin(), word.end(), at);
    return bytes;
}

struct Field {
    const char* label;
    const char* record;  // registered class name
    std::function<std::unique_ptr<GameObj>()> withMark;
    std::vector<int32_t> hostile;
    std::vector<int32_t> sound;
    const char* message;  // what the reader's error names
    std::function<int32_t(GameObj&)> read;
};

template <typename T>
std::function<int32_t(GameObj&)> Get(int32_t T::*member) {
    return [member](GameObj& obj) { return dynamic_cast<T&>(obj).*member; };
}

class HostileRecordFields : public testing::Test {
protected:
    void SetUp() override {
        savedHero_ = CurrentPlayer;
        savedWindows_.swap(ToolkitWindows);
        savedRecipes_.swap(Recipes);
        ResetSkillDB();
    }
    void TearDown() override {
        ClearCursorItem();
        CurrentPlayer = savedHero_;
        ToolkitWindows.swap(savedWindows_);
        Recipes.swap(savedRecipes_);
        ResetSkillDB();
    }

    // Loads each value into the record and checks what the load makes of it.
    void Check(const Field& f) {
        SCOPED_TRACE(f.label);
        for (int32_t value : f.hostile) {
            SCOPED_TRACE("hostile " + std::to_string(value));
            std::unique_ptr<GameObj> made = f.withMark();
            SaveReader in(WithField(*made, value));
            testing::internal::CaptureStdout();
            std::unique_ptr<Serializable> loaded(
                SerializableRegistry::Instance().CreateFromSave(GetRegisteredClassHash(f.record), in));
            const std::string printed = testing::internal::GetCapturedStdout();
            CurrentPlayer = savedHero_;
            EXPECT_TRUE(in.Failed());
            EXPECT_EQ(loaded, nullptr);
            EXPECT_NE(in.Error().find(f.message), std::string::npos) << in.Error();
            EXPECT_NE(printed.find(std::to_string(value)), std::string::npos) << printed;
        }
        for (int32_t value : f.sound) {
            SCOPED_TRACE("sound " + std::to_string(value));
            std::unique_ptr<GameObj> made = f.withMark();
            SaveReader in(WithField(*made, value));
            testing::internal::CaptureStdout();
            std::unique_ptr<Serializable> loaded(
                SerializableRegistry::Instance().CreateFromSave(GetRegisteredClassHash(f.record), in));
            testing::internal::GetCapturedStdout();
            CurrentPlayer = savedHero_;
            ASSERT_FALSE(in.Failed()) << in.Error();
            GameObj* obj = dynamic_cast<GameObj*>(loaded.get());
            ASSERT_NE(obj, nullptr);
            EXPECT_EQ(f.read(*obj), value);
        }
    }

    Player* savedHero_ = nullptr;
    std::vector<ToolkitWindow> savedWindows_;
    std::vector<Recipe> savedRecipes_;
};

TEST_F(HostileRecordFields, EachRangedWordOfARecordFailsTheLoadOutsideItsRange) {
    const Field fields[] = {
        {"splat kind", "Splat",
         [] {
             auto splat = std::make_unique<Splat>(nullptr, "goo", 2);
             splat->kind = kMark;
             return std::unique_ptr<GameObj>(std::move(splat));
         },
         {-1, 5, INT_MAX, INT_MIN}, {0, 4}, "a splat's kind", Get(&Splat::kind)},
        {"splat variant", "Splat",
         [] {
             auto splat = std::make_unique<Splat>(nullptr, "blood", 0);
             splat->variant = kMark;
             return std::unique_ptr<GameObj>(std::move(splat));
         },
         {0x7FFFFFFF, 50, 6, -5, INT_MIN}, {0, 5}, "a splat's variant", Get(&Splat::variant)},
        {"clock step", "Clock",
         [] {
             auto clock = std::make_unique<Clock>(nullptr, -1, "props/clock.png", 9, -1, 0);
             clock->step = kMark;
             return std::unique_ptr<GameObj>(std::move(clock));
         },
         {5, 1, -2, INT_MIN, INT_MAX}, {-1, 0}, "a clock's step", Get(&Clock::step)},
        {"value of a running clock", "Clock",
         [] {
             auto clock = std::make_unique<Clock>(nullptr, -1, "props/clock.png", 9, -1, 1);
             clock->value = kMark;
             return std::unique_ptr<GameObj>(std::move(clock));
         },
         {0, -7, INT_MIN}, {1, INT_MAX}, "a running clock reads", Get(&Clock::value)},
        {"growing turns of dirt", "Dirt",
         [] {
             auto dirt = std::make_unique<Dirt>();
             dirt->planted = 1;
             dirt->growTurns = kMark;
             return std::unique_ptr<GameObj>(std::move(dirt));
         },
         {INT_MIN, -1, 6, INT_MAX}, {0, 5}, "a patch of dirt's growing turns", Get(&Dirt::growTurns)},
        {"count of a stack", "Zorkmids",
         [] {
             auto gold = std::make_unique<Zorkmids>(40);
             gold->count = kMark;
             return std::unique_ptr<GameObj>(std::move(gold));
         },
         {-5, -1, kMaxSavedItemCount + 1, INT_MAX}, {0, 1, kMaxSavedItemCount}, "an item's count",
         Get(&Item::count)},
        {"zorkmids of a pile", "Zorkmids",
         [] {
             auto gold = std::make_unique<Zorkmids>(40);
             gold->amount = kMark;
             return std::unique_ptr<GameObj>(std::move(gold));
         },
         {-1, -40, INT_MIN, kMaxSavedZorkmids + 1, INT_MAX}, {0, 1, kMaxSavedZorkmids}, "a pile's zorkmids",
         Get(&Zorkmids::amount)},
    };
    for (const Field& f : fields) Check(f);
}

TEST_F(HostileRecordFields, AWandsChargesAreCheckedOnLoadByWhetherItRunsOut) {
    ClearItemDB();
    ASSERT_TRUE(itemDBLoadText("<itemdb><item name='Zap'><wand mincharge='2' maxcharge='5'/></item>"
                               "<item name='Staff'><wand mincharge='-1' maxcharge='-1'/></item></itemdb>",
                               "test wands"));
    const auto wandOf = [](const char* name) {
        return [name] {
            auto wand = std::make_unique<Wand>(FindItemDefByName(name));
            wand->charges = kMark;
            return std::unique_ptr<GameObj>(std::move(wand));
        };
    };
    const Field fields[] = {
        {"charges of a wand that runs out", "Wand", wandOf("Zap"), {-1, -3, INT_MIN, kMaxSavedWandCharges + 1, INT_MAX},
         {0, 1, kMaxSavedWandCharges}, "a wand's charges", Get(&Wand::charges)},
        {"charges of a wand that never runs out", "Wand", wandOf("Staff"),
         {INT_MIN, -kMaxSavedWandCharges - 1, kMaxSavedWandCharges + 1, INT_MAX},
         {-kMaxSavedWandCharges, -1, 0, kMaxSavedWandCharges}, "a wand's charges", Get(&Wand::charges)},
    };
    for (const Field& f : fields) Check(f);
    ClearItemDB();
}

TEST_F(HostileRecordFields, TheHerosSkillLevelsAreCheckedOnLoad) {
    const Field field = {
        "skill level", "Player",
        [] {
            auto hero = std::make_unique<Player>();
            hero->name = "Orla";
            hero->skillIds[2] = 5;
            hero->skillLevels[2] = kMark;
            return std::unique_ptr<GameObj>(std::move(hero));
        },
        {-1, kMaxSavedSkillLevel + 1, INT_MAX, INT_MIN}, {0, 1, kMaxSavedSkillLevel}, "a skill level",
        [](GameObj& obj) { return dynamic_cast<Player&>(obj).skillLevels[2]; }};
    Check(field);
}

TEST_F(HostileRecordFields, TheHerosPurseAndHealthAreCheckedOnLoad) {
    const auto heroWith = [](int32_t Player::*member) {
        return [member] {
            auto hero = std::make_unique<Player>();
            hero->name = "Orla";
            (*hero).*member = kMark;
            return std::unique_ptr<GameObj>(std::move(hero));
        };
    };
    Check({"zorkmids in the purse", "Player", heroWith(&Player::zorkmids),
           {-1, INT_MIN, kMaxSavedZorkmids + 1, INT_MAX}, {0, 7, kMaxSavedZorkmids}, "the hero's zorkmids",
           [](GameObj& obj) { return dynamic_cast<Player&>(obj).zorkmids; }});

    // A hero is saved alive (a dead one is never saved): health at 0 or below is a damaged save,
    // never a death on load. Saving clamps the health word, so it is found as the third word
    // before the lutefisk tithe, which holds the mark.
    const auto withHealth = [](int32_t health) {
        Player hero;
        hero.name = "Orla";
        hero.lutefiskTithe = kMark;
        Bytes bytes = SaveBytes(hero);
        CurrentPlayer = nullptr;
        const Bytes tithe = Word(kMark);
        const auto at = std::search(bytes.begin(), bytes.end(), tithe.begin(), tithe.end());
        EXPECT_NE(at, bytes.end());
        if (at == bytes.end() || at - bytes.begin() < 12) return bytes;
        const Bytes word = Word(health);
        const Bytes zero = Word(0);
        std::copy(word.begin(), word.end(), at - 12);
        std::copy(zero.begin(), zero.end(), at);
        return bytes;
    };
    for (const int32_t health : {0, -1, -17, INT_MIN, 1, 5}) {
        SCOPED_TRACE("health " + std::to_string(health));
        SaveReader in(withHealth(health));
        testing::internal::CaptureStdout();
        std::unique_ptr<Serializable> loaded(
            SerializableRegistry::Instance().CreateFromSave(GetRegisteredClassHash("Player"), in));
        const std::string printed = testing::internal::GetCapturedStdout();
        CurrentPlayer = savedHero_;
        if (health <= 0) {
            EXPECT_TRUE(in.Failed());
            EXPECT_EQ(loaded, nullptr);
            EXPECT_NE(in.Error().find("the hero was saved with health " + std::to_string(health)), std::string::npos)
                << in.Error();
            EXPECT_EQ(printed.find("damage"), std::string::npos) << printed;
        } else {
            ASSERT_FALSE(in.Failed()) << in.Error();
            Player* hero = dynamic_cast<Player*>(loaded.get());
            ASSERT_NE(hero, nullptr);
            EXPECT_EQ(hero->health, health);
            EXPECT_EQ(hero->dead, 0);
        }
    }
}

}  // namespace
