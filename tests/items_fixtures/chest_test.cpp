// Chests: picking, bashing and opening with forced draws, lockpicks dropped on them, and the
// uber chest's lock and old streams.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "items_fixtures/chest.h"
#include "items_fixtures/lockpick.h"
#include "items_fixtures/record_bytes.h"
#include "tests/items_fixtures/lock_fixture.h"

namespace {

using namespace record_bytes;

class ChestTest : public LockTest {
protected:
    void SetUp() override {
        LockTest::SetUp();
        SetTweaks(Tweak("lockpick exp", 5));
    }
    // A chest on (4, 3), beside the hero, holding money (amount) or spores.
    Chest* MakeChest(bool locked, bool money) {
        Chest* chest = new Chest(level_.get());
        chest->content = money ? static_cast<Item*>(new Zorkmids(40)) : new Misc(1);
        chest->locked = locked ? 1 : 0;
        chest->RefreshPicture();
        chest->blocksMovement = 1;
        chest->PlaceOnLevel(4, 3, level_.get(), 0);
        return chest;
    }
    // The spores on the chest's square, once the queued moves have run.
    bool SporesOnChestSquare() {
        ApplyDeferredObjectMoves();
        for (GameObj* obj : level_->GetCell(4, 3)->contents) {
            Misc* misc = dynamic_cast<Misc*>(obj);
            if (misc != nullptr && misc->Kind() == 1) return true;
        }
        return false;
    }
};

TEST_F(ChestTest, ActivationTable) {
    enum Pick { kNoPick, kBelt, kBackpack };
    enum Went { kStaysInside, kPurse, kOnSquare, kDestroyed };
    struct Case {
        const char* name;
        Pick pick;
        int32_t skill;
        bool locked;
        bool pickBreaks;   // forced: the pick draw is 90 or more
        int32_t answer;    // dialog: 0 Yea, 1 Nay
        bool bashOpens;    // forced: the one-in-two of the bash
        bool money;
        std::vector<std::string> sounds;
        std::vector<std::string> lines;
        int32_t picksLeft;
        bool locked_after, smashed, blocking;
        int32_t experience;  // "lockpick exp" 5 x (depth 1 + 1)
        Went went;
    };
    const std::vector<std::string> none;
    const Case cases[] = {
        {"unlocked chest opens", kNoPick, 0, false, false, 0, false, false, {}, {}, 0, false, false, false, 0,
         kOnSquare},
        {"unlocked chest pays money into the purse", kNoPick, 0, false, false, 0, false, true, {}, {}, 0, false, false,
         false, 0, kPurse},
        {"belt pick unlocks without experience", kBelt, 0, true, false, 0, false, false, {"chest", "key"},
         {"The chest unlocks!"}, 1, false, false, false, 0, kOnSquare},
        {"backpack pick unlocks with experience", kBackpack, 0, true, false, 0, false, false, {"chest", "key"},
         {"The chest unlocks!"}, 1, false, false, false, 10, kOnSquare},
        {"belt pick breaks", kBelt, 0, true, true, 0, false, false, {"key"},
         {"The lockpick breaks when you attempt to use it!"}, 1, true, false, true, 0, kStaysInside},
        {"backpack pick breaks", kBackpack, 0, true, true, 0, false, true, {"key"},
         {"The lockpick breaks when you attempt to use it!"}, 1, true, false, true, 0, kStaysInside},
        {"the skill never breaks a pick", kBackpack, 1, true, true, 0, false, false, {"chest", "key"},
         {"The chest unlocks!"}, 1, false, false, false, 10, kOnSquare},
        {"no pick, Nay", kNoPick, 0, true, false, 1, false, false, {"key"}, {}, 2, true, false, true, 0,
         kStaysInside},
        {"no pick, Yea, it flies open", kNoPick, 0, true, false, 0, true, false,
         {"key", "swing", "breakable", "chest"}, {"The chest flies open!"}, 2, true, false, false, 0, kOnSquare},
        {"no pick, Yea, it shatters", kNoPick, 0, true, false, 0, false, true, {"key", "swing", "breakable"},
         {"The chest shatters into a million pieces!"}, 2, true, true, false, 0, kDestroyed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sounds().clear();
        ClearTickerLog();
        DialogTexts().clear();
        DialogAnswer() = c.answer;
        GiveLockSkill(c.skill);
        hero_.experience = 0;
        hero_.zorkmids = 0;
        // Two picks: the stack loses exactly one; a bash case keeps both.
        if (c.pick == kBelt) PickOnBelt(4, 2);
        if (c.pick == kBackpack) PickInBackpack(2, 1, 2);
        Chest* chest = MakeChest(c.locked, c.money);
        Item* inside = chest->content;
        if (c.pick != kNoPick) {
            SeedGameGeneratorFor([&] { return (MTRandomInt(100) >= 90) == c.pickBreaks; });
        } else if (c.pick == kNoPick && c.locked) {
            SeedGameGeneratorFor([&] { return MTOneChanceIn(2) == c.bashOpens; });
        }
        EXPECT_EQ(chest->Activate(), 1);
        EXPECT_EQ(Sounds(), c.sounds);
        EXPECT_EQ(TickerLog(), c.lines);
        const bool asked = c.pick == kNoPick && c.locked;
        EXPECT_EQ(DialogTexts(), asked ? std::vector<std::string>{"The chest is locked! Bash it open?"} : none);
        if (c.pick != kNoPick) {
            EXPECT_EQ(CarriedPicks(), c.picksLeft);
        }
        EXPECT_EQ(chest->locked != 0, c.locked_after);
        EXPECT_EQ(chest->smashed != 0, c.smashed);
        EXPECT_EQ(chest->blocksMovement != 0, c.blocking);
        EXPECT_EQ(hero_.experience, c.experience);
        switch (c.went) {
            case kStaysInside:
                EXPECT_EQ(chest->content, inside);
                EXPECT_STREQ(chest->GetActionVerb(), "Open");
                break;
            case kPurse:
                EXPECT_EQ(chest->content, nullptr);
                EXPECT_EQ(hero_.zorkmids, 40);
                EXPECT_EQ(QueuedDeletionCount(), 1u);
                break;
            case kOnSquare:
                EXPECT_EQ(chest->content, nullptr);
                EXPECT_TRUE(SporesOnChestSquare());
                EXPECT_EQ(chest->GetActionVerb(), nullptr);
                EXPECT_EQ(chest->blocksSight, 0);
                break;
            case kDestroyed:
                EXPECT_EQ(chest->content, nullptr);
                EXPECT_EQ(hero_.zorkmids, 0);
                EXPECT_STREQ(chest->GetActionVerb(), "(You Smashed It Up Good)");
                break;
        }
        // An empty chest ignores further use.
        if (chest->content == nullptr) {
            EXPECT_EQ(chest->Activate(), 0);
        }
        ApplyDeferredObjectMoves();
        for (Item*& slot : hero_.quickSlots) {
            delete slot;
            slot = nullptr;
        }
        for (Item* cell : InventoryGrid.cells) {
            if (cell != nullptr) {
                InventoryGrid.Remove(cell);
                delete cell;
            }
        }
        QueueObjectDeletion(chest);
        ApplyDeferredObjectMoves();
    }
}

TEST_F(ChestTest, TheBeltIsSearchedBeforeTheBackpackAndAUsedUpPickLeavesNoReference) {
    GiveLockSkill(1);
    Misc* belt = PickOnBelt(6);
    Misc* pack = PickInBackpack(0, 0);
    Chest* chest = MakeChest(true, false);
    EXPECT_EQ(chest->Activate(), 1);
    EXPECT_EQ(hero_.quickSlots[6], nullptr) << "the single belt pick is used up and its slot emptied";
    EXPECT_EQ(InventoryGrid.At(0, 0), pack);
    EXPECT_EQ(QueuedDeletionCount(), 1u);
    (void)belt;
    Chest* second = MakeChest(true, false);
    second->PlaceOnLevel(5, 4, level_.get(), 0);
    hero_.PlaceOnLevel(5, 3, level_.get(), 1);
    EXPECT_EQ(second->Activate(), 1);
    EXPECT_EQ(InventoryGrid.At(0, 0), nullptr) << "the backpack cell is emptied";
}

TEST_F(ChestTest, ADroppedLockpick) {
    struct Case {
        const char* name;
        bool locked;
        bool breaks;
        int32_t result;
        int32_t countAfter;  // of a stack of 3 on the cursor
        std::vector<std::string> lines;
        int32_t experience;
        bool unpaid = false;  // shop goods are not the hero's to spend
    };
    const Case cases[] = {
        {"an unlocked chest refuses it", false, false, 0, 3, {}, 0},
        {"it unlocks the chest", true, false, 1, 2, {"The chest unlocks!"}, 10},
        {"it breaks", true, true, 1, 2, {"The lockpick breaks when you attempt to use it!"}, 0},
        {"an unpaid pick is refused", true, false, 0, 3, {}, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearTickerLog();
        hero_.experience = 0;
        Misc* pick = new Misc(0);
        pick->count = 3;
        pick->unpaid = c.unpaid ? 1 : 0;
        SetCursorItem(pick);
        Chest* chest = MakeChest(c.locked, false);
        Item* inside = chest->content;
        SeedGameGeneratorFor([&] { return (MTRandomInt(100) >= 90) == c.breaks; });
        EXPECT_EQ(chest->UseItemOn(pick), c.result);
        EXPECT_EQ(pick->count, c.countAfter);
        EXPECT_EQ(TickerLog(), c.lines);
        EXPECT_EQ(hero_.experience, c.experience);
        EXPECT_EQ(chest->content, inside) << "the contents stay inside until the chest is used";
        EXPECT_EQ(chest->locked, c.locked && c.result == 0 ? 1 : chest->locked);
        if (c.result == 1 && !c.breaks) {
            EXPECT_EQ(chest->locked, 0);
            DialogTexts().clear();
            EXPECT_EQ(chest->Activate(), 1);
            EXPECT_TRUE(DialogTexts().empty()) << "no lock question once unlocked";
            EXPECT_TRUE(SporesOnChestSquare());
        }
        Misc spores(1);
        EXPECT_EQ(chest->UseItemOn(&spores), 0) << "anything but a lockpick is refused";
        ClearCursorItem();
        delete pick;
        QueueObjectDeletion(chest);
        ApplyDeferredObjectMoves();
    }
}

TEST_F(ChestTest, ASingleDroppedLockpickLeavesTheCursor) {
    GiveLockSkill(1);
    Misc* pick = new Misc(0);
    SetCursorItem(pick);
    Chest* chest = MakeChest(true, false);
    EXPECT_EQ(chest->UseItemOn(pick), 1);
    EXPECT_EQ(GetCursorItem(), nullptr);
    EXPECT_EQ(QueuedDeletionCount(), 1u);
}

TEST_F(ChestTest, NewChestsAreLockedOnOneChanceInTwo) {
    for (bool expectLocked : {true, false}) {
        SeedGameGeneratorFor([&] { return MTOneChanceIn(2) == expectLocked; });
        Chest chest(level_.get());
        EXPECT_EQ(chest.locked != 0, expectLocked);
    }
}

TEST_F(ChestTest, UberChestOpensOnlyOnceUnlocked) {
    FramesSprite("UberChest", 3);
    UberChest* chest = new UberChest();
    chest->content = new Misc(1);
    chest->RefreshPicture();
    chest->PlaceOnLevel(4, 3, level_.get(), 0);
    EXPECT_EQ(chest->Activate(), 1);
    EXPECT_EQ(TickerLog(), std::vector<std::string>{"The UberChest is locked!"});
    EXPECT_EQ(Sounds(), std::vector<std::string>{"key"});
    EXPECT_EQ(chest->bob.frame, 0);
    EXPECT_NE(chest->content, nullptr);
    chest->locked = 0;
    chest->RefreshPicture();
    EXPECT_EQ(chest->bob.frame, 1);
    EXPECT_EQ(chest->Activate(), 1);
    EXPECT_EQ(chest->bob.frame, 2);
    EXPECT_EQ(chest->content, nullptr);
    EXPECT_EQ(chest->blocksMovement, 0);
    EXPECT_EQ(chest->blocksSight, 0);
    EXPECT_TRUE(SporesOnChestSquare());
    EXPECT_EQ(chest->Activate(), 0) << "an empty uber chest does nothing";
}

TEST_F(ChestTest, BumpingUsesAChestOnlyWithAnItemOnTheCursor) {
    Chest* chest = MakeChest(false, false);
    EXPECT_EQ(chest->BumpedByPlayer(), 0);
    EXPECT_NE(chest->content, nullptr);
    Misc* held = new Misc(1);
    SetCursorItem(held);
    EXPECT_EQ(chest->BumpedByPlayer(), 1);
    EXPECT_EQ(chest->content, nullptr);
    ClearCursorItem();
    delete held;
}

// The class key of a stream of this version: the name's hash from 1.0.7, before that the
// position in the legacy table.
uint32_t KeyFor(const std::string& name, SaveVersion version) {
    if (version.AtLeast(kSaveHashedClassKeys)) return GetRegisteredClassHash(name);
    for (uint32_t i = 0; i < kLegacyClassCount; ++i) {
        if (name == LegacyClassName(i)) return i;
    }
    ADD_FAILURE() << name << " is not in the legacy table";
    return 0xFFFFFFFFu;
}

TEST_F(ChestTest, UberChestStreamsOfOldVersions) {
    GameObj plain;
    struct Case {
        SaveVersion version;
        Bytes own;
        int32_t locked, furtherA, furtherB;
    };
    const Case cases[] = {
        {SaveVersion{1, 0, 5}, Bytes{0}, 1, 0, 0},
        {SaveVersion{1, 0, 9}, Cat({Bytes{0}, Word(0)}), 0, 0, 0},
        {SaveVersion{1, 0, 10}, Cat({Bytes{0}, Word(1), Word(4), Word(-3)}), 1, 4, -3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.version.patch));
        const Bytes stream = Cat({SaveBytes(plain, c.version), c.own});
        uint64_t left = 1;
        std::unique_ptr<GameObj> loaded = Reload(KeyFor("UberChest", c.version), stream, c.version, &left);
        UberChest* chest = dynamic_cast<UberChest*>(loaded.get());
        ASSERT_NE(chest, nullptr);
        EXPECT_EQ(left, 0u);
        EXPECT_EQ(chest->locked, c.locked);
        EXPECT_EQ(chest->furtherA, c.furtherA);
        EXPECT_EQ(chest->furtherB, c.furtherB);
    }
}

TEST_F(ChestTest, UnpaidLockpicksAreNeverTheOnesFound) {
    // A locked chest or door looks for the hero's lockpicks: unpaid shop picks are passed over.
    Misc* unpaidOnBelt = new Misc(0);
    unpaidOnBelt->unpaid = 1;
    hero_.quickSlots[0] = unpaidOnBelt;
    EXPECT_EQ(FindCarriedLockpick().item, nullptr) << "only an unpaid pick is carried";
    Misc* paidPacked = new Misc(0);
    ASSERT_TRUE(PlaceItemInGridCell(2, 1, paidPacked));
    const LockpickPlace place = FindCarriedLockpick();
    EXPECT_EQ(place.item, paidPacked);
    EXPECT_FALSE(place.onBelt);
    hero_.quickSlots[0] = nullptr;
    InventoryGrid.Remove(paidPacked);
    delete unpaidOnBelt;
    delete paidPacked;
}

}  // namespace
