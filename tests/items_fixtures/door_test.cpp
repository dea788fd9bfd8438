// Doors on a level drawn as text: opening and closing all three parts, the blocked doorway,
// picking locks, kicking a door in, and the door flags of the square after every change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "items_fixtures/passages.h"
#include "levels/path_finding.h"
#include "tests/items_fixtures/lock_fixture.h"

namespace {

// A wall down column 3 with a door in its middle (3, 2): the parts stand at (3, 1), (3, 2)
// and (3, 3), and the hero passes from west to east.
const std::vector<std::string> kMap = {
    "############", "#..#.......#", "#..+.......#", "#..#.......#", "############",
};

class DoorTest : public LockTest {
protected:
    void SetUp() override {
        LockTest::SetUp();
        SetTweaks(Tweak("lockpick exp", 5));
        FramesSprite("dungeon/door_wood3x3_ew_top.spr", 3);
        FramesSprite("dungeon/door_wood3x3_ew_bottom.spr", 3);
    }
    // Builds the map with the door square's flags and lets the level make its doors.
    void BuildDoor(uint8_t doorFlags) {
        hero_.PlaceOnLevel(0, 0, nullptr, 0);
        ApplyDeferredObjectMoves();
        FillLevelFromMap(*level_, kMap);
        for (LevelCell& cell : level_->squares) cell.flags |= SquareFlag::Explored | SquareFlag::Visible;
        level_->GetCell(3, 2)->doorFlags = doorFlags;
        level_->FixBadDoors();
        for (int32_t part = 0; part < 3; ++part) parts_[part] = DoorAt(3, 1 + part);
        PlaceHero(2, 2);
    }
    Door* DoorAt(int32_t x, int32_t y) {
        for (GameObj* obj : level_->GetCell(x, y)->contents) {
            if (Door* door = dynamic_cast<Door*>(obj)) return door;
        }
        return nullptr;
    }
    // Open and locked state of every part and of its square's flags, as one text (the level
    // keeps the lock bit on the door square, the middle part's).
    std::string State() {
        std::string text;
        for (int32_t part = 0; part < 3; ++part) {
            Door* d = parts_[part];
            const uint8_t flags = level_->GetCell(3, 1 + part)->doorFlags;
            text += std::string(d->IsClosed() ? "shut" : "open") + (d->locked != 0 ? "+locked" : "") + "/" +
                    ((flags & 4) != 0 ? "open" : "shut") + ((flags & 2) != 0 ? "+locked" : "") + " ";
        }
        return text;
    }
    Door* parts_[3] = {};
};

TEST_F(DoorTest, OpeningAndClosingMoveAllThreeParts) {
    BuildDoor(0);
    ASSERT_NE(parts_[0], nullptr);
    ASSERT_NE(parts_[2], nullptr);
    EXPECT_EQ(State(), "shut/shut shut/shut shut/shut ");
    EXPECT_STREQ(parts_[1]->GetActionVerb(), "Open Door");
    EXPECT_EQ(parts_[2]->drawLayer, 1);
    EXPECT_EQ(parts_[1]->Activate(), 1);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"door_open"});
    EXPECT_EQ(State(), "open/open open/open open/open ");
    EXPECT_EQ(parts_[0]->bob.frame, 2);
    EXPECT_EQ(parts_[2]->drawLayer, 2);
    EXPECT_EQ(parts_[1]->blocksSight, 0);
    // The middle of an open doorway cannot be closed and has no verb.
    EXPECT_EQ(parts_[1]->GetActionVerb(), nullptr);
    EXPECT_EQ(parts_[1]->Activate(), 0);
    // A side part is out of reach diagonally, in reach beside it.
    EXPECT_EQ(parts_[0]->GetActionVerb(), nullptr);
    PlaceHero(2, 1);
    EXPECT_STREQ(parts_[0]->GetActionVerb(), "Close Door");
    Sounds().clear();
    EXPECT_EQ(parts_[0]->Activate(), 1);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"door_close"});
    EXPECT_EQ(State(), "shut/shut shut/shut shut/shut ");
    EXPECT_EQ(parts_[0]->bob.frame, 0);
    EXPECT_EQ(parts_[2]->drawLayer, 1);
}

TEST_F(DoorTest, AnOccupiedDoorwayCannotBeClosed) {
    BuildDoor(4);  // built open
    EXPECT_EQ(State(), "open/open open/open open/open ");
    Monster* monster = AddMonster("Diggle", 3, 2);
    PlaceHero(2, 1);
    EXPECT_EQ(parts_[0]->Activate(), 1);
    EXPECT_EQ(TickerLog(), std::vector<std::string>{"The doorway is blocked!"});
    EXPECT_EQ(State(), "open/open open/open open/open ");
    monster->PlaceOnLevel(6, 2, level_.get(), 1);
    EXPECT_EQ(parts_[0]->Activate(), 1);
    EXPECT_EQ(State(), "shut/shut shut/shut shut/shut ");
}

TEST_F(DoorTest, FarAwayALockedDoorOnlyRattles) {
    BuildDoor(2);
    PlaceHero(6, 2);
    EXPECT_EQ(parts_[1]->Activate(), 0);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"locked"});
    EXPECT_EQ(State(), "shut+locked/shut shut+locked/shut+locked shut+locked/shut ");
}

TEST_F(DoorTest, PickingTable) {
    struct Case {
        const char* name;
        int32_t beltCount, packCount;  // lockpicks on belt slot 5 and in backpack cell (1, 1)
        int32_t skill;
        bool rollBreaks;  // forced: the percent roll is 90 or more
        int32_t beltAfter, packAfter;
        std::vector<std::string> lines;
        bool opens;
        int32_t experience;
    };
    const Case cases[] = {
        {"belt before backpack", 1, 1, 0, false, 0, 1, {"The door unlocks!"}, true, 10},
        {"a stack loses one", 0, 3, 0, false, 0, 2, {"The door unlocks!"}, true, 10},
        {"a roll of 90 breaks the pick", 0, 3, 0, true, 0, 2,
         {"The lockpick breaks when you attempt to use it!"}, false, 0},
        {"the skill always succeeds", 2, 0, 1, true, 1, 0, {"The door unlocks!"}, true, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildDoor(2);
        ClearTickerLog();
        Sounds().clear();
        hero_.experience = 0;
        GiveLockSkill(c.skill);
        Misc* belt = c.beltCount > 0 ? PickOnBelt(5, c.beltCount) : nullptr;
        Misc* pack = c.packCount > 0 ? PickInBackpack(1, 1, c.packCount) : nullptr;
        EXPECT_STREQ(parts_[1]->GetActionVerb(), "Pick Lock");
        SeedCGeneratorFor([&] { return (RandomInt(100) >= 90) == c.rollBreaks; });
        EXPECT_EQ(parts_[1]->Activate(), 1);
        EXPECT_EQ(TickerLog(), c.lines);
        EXPECT_EQ(hero_.quickSlots[5] != nullptr ? hero_.quickSlots[5]->count : 0, c.beltAfter);
        EXPECT_EQ(InventoryGrid.At(1, 1) != nullptr ? InventoryGrid.At(1, 1)->count : 0, c.packAfter);
        EXPECT_EQ(hero_.experience, c.experience);
        if (c.opens) {
            EXPECT_EQ(State(), "open/open open/open open/open ");
            EXPECT_EQ(Sounds(), std::vector<std::string>{"door_open"});
        } else {
            EXPECT_EQ(State(), "shut+locked/shut shut+locked/shut+locked shut+locked/shut ");
        }
        (void)belt;
        (void)pack;
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
        ApplyDeferredObjectMoves();
    }
}

TEST_F(DoorTest, KickedInAfterThreeResistingKicks) {
    BuildDoor(2);
    hero_.stat[kStatSneakiness] = 0;
    Monster* near = AddMonster("Diggle", 6, 2);   // squared distance 9 from the middle part
    Monster* far = AddMonster("Diggle", 8, 2);    // 25: out of earshot
    near->statusFlags = Monster::kStatusAsleep;
    far->statusFlags = Monster::kStatusAsleep;
    EXPECT_STREQ(parts_[1]->GetActionVerb(), "Kick Locked Door");
    // Three kicks resist (the one-in-two fails); which of them hurt is drawn too.
    std::vector<bool> hurts;
    SeedGameGeneratorFor([&] {
        hurts.clear();
        for (int32_t kick = 0; kick < 3; ++kick) {
            MTRandomInt(3);  // the hero's attack sound
            if (MTOneChanceIn(2)) return false;
            const bool hurt = MTOneChanceIn(3);
            hurts.push_back(hurt);
            if (hurt) MTOneChanceIn(2);
        }
        return hurts[0] && !hurts[1];
    });
    std::vector<std::string> lines;
    for (int32_t kick = 0; kick < 3; ++kick) {
        SCOPED_TRACE(kick);
        const int32_t health = hero_.health;
        EXPECT_EQ(parts_[1]->Activate(), 1);
        lines.push_back("You kick the door but it resists your efforts!");
        if (hurts[static_cast<size_t>(kick)]) lines.push_back("That hurt your foot!");
        if (kick == 0) lines.push_back("A nearby monster has woken up as a result of your door kicking!");
        EXPECT_EQ(TickerLog(), lines);
        EXPECT_EQ(parts_[1]->kicks, kick + 1);
        EXPECT_EQ(health - hero_.health, hurts[static_cast<size_t>(kick)] ? 2 : 0);
        EXPECT_EQ(CountSound("locked"), kick + 1);
    }
    EXPECT_FALSE(near->HasStatus(Monster::kStatusAsleep));
    EXPECT_TRUE(far->HasStatus(Monster::kStatusAsleep));
    // The fourth kick always gives way.
    EXPECT_EQ(parts_[1]->Activate(), 1);
    EXPECT_EQ(TickerLog().back(), "You shatter the door with your magnificent foot.");
    EXPECT_EQ(CountSound("breakable"), 1);
    ApplyDeferredObjectMoves();
    for (int32_t y = 1; y <= 3; ++y) {
        EXPECT_EQ(level_->SquareKind(3, y), SquareType::Floor);
        EXPECT_EQ(DoorAt(3, y), nullptr);
    }
    int32_t length = 0;
    aiNode** path = FindPath(2, 2, 4, 2, &length, &hero_);
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(length, 3) << "straight through the broken doorway";
    delete[] path;
}

// Each kick faces the door: the hero turns toward it and plays the kick of that direction,
// the unarmed strike toward the door.
TEST_F(DoorTest, TheHeroKicksTowardTheDoorFromEverySide) {
    BuildDoor(2);
    Sprite* kicks[4];
    for (int32_t i = 0; i < 4; ++i) kicks[i] = FramesSprite(("test_kick" + std::to_string(i)).c_str(), 1);
    hero_.heroAnimations[HeroAttackAnim(kHeroWeaponGroups - 1, 3)] = kicks[0];  // up
    hero_.heroAnimations[HeroAttackAnim(kHeroWeaponGroups - 1, 0)] = kicks[1];  // left
    hero_.heroAnimations[HeroAttackAnim(kHeroWeaponGroups - 1, 1)] = kicks[2];  // right
    hero_.heroAnimations[HeroAttackAnim(kHeroWeaponGroups - 1, 2)] = kicks[3];  // down
    for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(hero_.KickSprite(i), kicks[i]);
    EXPECT_EQ(hero_.KickSprite(-1), nullptr);
    EXPECT_EQ(hero_.KickSprite(4), nullptr);
    struct Case {
        int32_t heroX, heroY;
        int32_t part;
        int32_t kick;
        int32_t facing;
    };
    const Case cases[] = {
        {2, 2, 1, 2, 3},  // west of the door: kicks to the right
        {4, 2, 1, 1, 1},  // east: to the left
        {3, 0, 0, 3, 0},  // above the top part: down
        {3, 4, 2, 0, 2},  // below the bottom part: up
    };
    // Every kick is resisted, so the door stands for all four.
    SeedGameGeneratorFor([] {
        for (int32_t kick = 0; kick < 4; ++kick) {
            MTRandomInt(3);  // the hero's attack sound
            if (MTOneChanceIn(2)) return false;
            if (MTOneChanceIn(3)) MTOneChanceIn(2);
        }
        return true;
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.heroX) + "," + std::to_string(c.heroY));
        PlaceHero(c.heroX, c.heroY);
        hero_.facing = -1;
        hero_.bob.sprite = nullptr;
        EXPECT_EQ(parts_[c.part]->Activate(), 1);
        EXPECT_EQ(hero_.bob.sprite, kicks[c.kick]);
        EXPECT_TRUE(hero_.bob.finished);
        EXPECT_EQ(hero_.facing, c.facing);
        ASSERT_FALSE(TickerLog().empty());
        EXPECT_EQ(TickerLog().front(), "You kick the door but it resists your efforts!");
        ClearTickerLog();
    }
    for (Sprite*& anim : hero_.heroAnimations) anim = nullptr;
    hero_.bob.sprite = nullptr;
}

}  // namespace
