// Traps: mounting their origins, being stepped on by the hero and by monsters, wearing out,
// disarming, and the statistics they count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "creatures/spell.h"
#include "items_fixtures/blockers.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/trap.h"
#include "tests/items_fixtures/lock_fixture.h"

namespace {

class TrapTest : public LockTest {
protected:
    void SetUp() override {
        LockTest::SetUp();
        SetTweaks(Tweak("trap XP scale", 4));
        dart_ = new Spell();
        dart_->name = "Test Dart";
        dart_->targetType = SpellTarget::Target;
        dart_->sfx = "dart";
        SpellList.push_back(dart_);
    }
    void TearDown() override {
        LockTest::TearDown();
        ClearSpellTable();
        for (ItemDef* def : defs_) delete def;
    }
    ItemDef* Def(int32_t level, int32_t mount, int32_t facing = 0, int32_t trigger = 2, int32_t charges = 0,
                 const char* spell = "Test Dart") {
        ItemDef* def = new ItemDef();
        def->name = "Test Snare " + std::to_string(defs_.size());
        def->category = kItemTrap;
        def->level = level;
        def->trapMount = mount;
        def->trapFacing = facing;
        def->trapTrigger = trigger;
        def->trapCharges = charges;
        def->trapSpellName = spell;
        def->trapOrigin = "test/dart_slit.png";
        defs_.push_back(def);
        return def;
    }
    void UseMap(const std::vector<std::string>& rows) {
        hero_.PlaceOnLevel(0, 0, nullptr, 0);
        ApplyDeferredObjectMoves();
        FillLevelFromMap(*level_, rows);
        for (LevelCell& cell : level_->squares) cell.flags |= SquareFlag::Explored;
    }
    // Origin blockers on the level, as "x,y" texts.
    std::vector<std::string> Origins() {
        std::vector<std::string> found;
        for (int32_t y = 0; y < level_->height; ++y) {
            for (int32_t x = 0; x < level_->width; ++x) {
                for (GameObj* obj : level_->GetCell(x, y)->contents) {
                    Blocker* b = dynamic_cast<Blocker*>(obj);
                    if (b != nullptr && b->spriteName == "test/dart_slit.png") {
                        found.push_back(std::to_string(x) + "," + std::to_string(y));
                    }
                }
            }
        }
        return found;
    }
    bool OnLevel(Trap* trap) {
        for (GameObj* obj : level_->GetCell(trap->x, trap->y)->contents) {
            if (obj == trap) return true;
        }
        return false;
    }
    void HeroTrapStats(int32_t sense, int32_t level, int32_t sneak) {
        hero_.stat[kStatTrapSense] = sense;
        hero_.stat[kStatTrapLevel] = level;
        hero_.stat[kStatSneakiness] = sneak;
    }
    Spell* dart_ = nullptr;
    std::vector<ItemDef*> defs_;
};

const std::vector<std::string> kRoom = {
    "#########", "#.......#", "#.......#", "#.......#", "#########",
};

TEST_F(TrapTest, OriginsAreMountedOrTheTrapIsDropped) {
    struct Case {
        const char* name;
        std::vector<std::string> map;
        int32_t mount, facing, x, y;
        std::vector<bool> stops;  // forced one-in-three draws of a floor walk (as many as made)
        std::vector<std::string> origins;
        bool kept;
    };
    const std::vector<std::string> open = {".........", ".........", ".........", "........."};
    const Case cases[] = {
        {"wall, facing south: the wall to the north", kRoom, 1, 0, 4, 2, {}, {"4,0"}, true},
        {"wall, facing west: the wall to the east", kRoom, 1, 1, 4, 2, {}, {"8,2"}, true},
        {"wall, facing north: the wall to the south", kRoom, 1, 2, 4, 2, {}, {"4,4"}, true},
        {"wall, facing east: the wall to the west", kRoom, 1, 3, 4, 2, {}, {"0,2"}, true},
        {"wall, stairs before the wall", {"#########", "#.......#", "#<......#", "#########"}, 1, 3, 4, 2, {}, {},
         false},
        {"wall, off the grid before any wall", open, 1, 3, 2, 1, {}, {}, false},
        {"floor, facing east, stops on the second step", kRoom, 0, 3, 5, 2, {false, true}, {"2,2"}, true},
        {"floor, facing east, walks to the last floor", kRoom, 0, 3, 5, 2, {false, false, false}, {"1,2"}, true},
        {"floor, stops on the last square inside the grid", open, 0, 3, 2, 1, {false}, {"0,1"}, true},
        {"floor at the edge: the origin is the trap's own square", open, 0, 3, 0, 1, {}, {"0,1"}, true},
        {"no mount: no origin", kRoom, 2, 0, 4, 2, {}, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseMap(c.map);
        Trap* trap = new Trap(Def(1, c.mount, c.facing));
        SeedGameGeneratorFor([&] {
            for (bool stop : c.stops) {
                if (MTOneChanceIn(3) != stop) return false;
            }
            return true;
        });
        trap->PlaceOnLevel(c.x, c.y, level_.get(), 0);
        EXPECT_EQ(trap->removed, !c.kept);
        ApplyDeferredObjectMoves();
        EXPECT_EQ(Origins(), c.origins);
        if (!c.origins.empty()) {
            EXPECT_EQ(std::to_string(trap->originX) + "," + std::to_string(trap->originY), c.origins[0]);
        }
        if (c.kept) {
            QueueObjectDeletion(trap);
            ApplyDeferredObjectMoves();
        }
    }
}

TEST_F(TrapTest, ATrapLeavingTheLevelTakesItsOriginAlong) {
    UseMap(kRoom);
    Trap* trap = new Trap(Def(1, 1, 0));
    trap->PlaceOnLevel(4, 2, level_.get(), 0);
    ApplyDeferredObjectMoves();
    EXPECT_EQ(Origins(), std::vector<std::string>{"4,0"});
    // Taken off the level by a move that places it nowhere, then dropped again.
    QueueObjectMove(trap, 0, 0, nullptr);
    ApplyDeferredObjectMoves();
    trap->PlaceOnLevel(5, 2, level_.get(), 0);
    ApplyDeferredObjectMoves();
    EXPECT_EQ(Origins(), std::vector<std::string>{"5,0"}) << "dropped again: one origin, at the new place";
    // Moved on the level.
    trap->PlaceOnLevel(6, 3, level_.get(), 0);
    ApplyDeferredObjectMoves();
    EXPECT_EQ(Origins(), std::vector<std::string>{"6,0"});
    // Disarmed (a mounted trap is then removed): the origin goes with it.
    HeroTrapStats(9, 1, 0);
    PlaceHero(5, 3);
    EXPECT_EQ(trap->Activate(), 1);
    EXPECT_TRUE(trap->removed);
    ApplyDeferredObjectMoves();
    EXPECT_TRUE(Origins().empty());
}

TEST_F(TrapTest, SteppingOnATrap) {
    UseMap(kRoom);
    HeroTrapStats(4, 2, 3);  // avoid (4 + 2 + 3) / 2 = 4
    struct Case {
        int32_t roll;
        bool sprung;
    };
    for (const Case& c : {Case{4, false}, Case{5, true}, Case{0, false}, Case{99, true}}) {
        SCOPED_TRACE(c.roll);
        spellCalls_ = SpellCallLog();
        Sounds().clear();
        Trap* trap = new Trap(Def(1, 2));
        trap->PlaceOnLevel(4, 2, level_.get(), 0);
        PlaceHero(4, 2);
        SeedGameGeneratorFor([&] { return static_cast<int32_t>(MTRandomInt(100)) == c.roll; });
        trap->PlayerEntered();
        EXPECT_EQ(trap->discovered, 1);
        EXPECT_EQ(CountSound("click"), 1);
        EXPECT_EQ(CountSound("dart"), c.sprung ? 1 : 0);
        ASSERT_EQ(spellCalls_.casts.size(), c.sprung ? 1u : 0u);
        if (c.sprung) {
            EXPECT_EQ(spellCalls_.casts[0].spell, dart_);
            EXPECT_EQ(spellCalls_.casts[0].targetX, 4);
            EXPECT_EQ(spellCalls_.casts[0].targetY, 2);
            EXPECT_EQ(hero_.walkInterrupted, 1);
        }
        hero_.walkInterrupted = 0;
        QueueObjectDeletion(trap);
        ApplyDeferredObjectMoves();
    }
}

TEST_F(TrapTest, TriggersWearTheTrapOut) {
    UseMap(kRoom);
    struct Case {
        const char* name;
        int32_t trigger, charges;
        int32_t lastsFor;  // triggers before it is removed; 0: never
    };
    const Case cases[] = {{"once", 0, 0, 1}, {"three charges", 1, 3, 3}, {"permanent", 2, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Trap* trap = new Trap(Def(1, 2, 0, c.trigger, c.charges));
        trap->PlaceOnLevel(4, 2, level_.get(), 0);
        for (int32_t n = 1; n <= 5; ++n) {
            trap->Trigger();
            EXPECT_EQ(trap->removed, c.lastsFor != 0 && n >= c.lastsFor) << n;
            if (trap->removed) break;
        }
        if (!trap->removed) {
            QueueObjectDeletion(trap);
        }
        ApplyDeferredObjectMoves();
    }
}

TEST_F(TrapTest, AMissingSpellIsReportedAndTheTrapStillWearsAndCounts) {
    UseMap(kRoom);
    Trap* trap = new Trap(Def(1, 2, 0, 0, 0, "No Such Spell"));
    trap->PlaceOnLevel(4, 2, level_.get(), 0);
    TakeStderr();
    trap->Trigger();
    const std::string errors = TakeStderr();
    EXPECT_NE(errors.find("Couldn't find trap spell No Such Spell"), std::string::npos);
    EXPECT_EQ(errors.find("Couldn't find trap spell", errors.find("Couldn't find trap spell") + 1), std::string::npos)
        << "reported once";
    EXPECT_TRUE(spellCalls_.casts.empty());
    EXPECT_TRUE(trap->removed);
    EXPECT_EQ(GetStatInt("STAT_TRAPS_TRIGGERED"), 1);
}

TEST_F(TrapTest, TheFiftiethTrapSetsTheAchievementOnce) {
    UseMap(kRoom);
    Trap* trap = new Trap(Def(1, 2));
    trap->PlaceOnLevel(4, 2, level_.get(), 0);
    AddToStat("STAT_TRAPS_TRIGGERED", 48);
    trap->Trigger();
    EXPECT_EQ(Stats().find("ACHIEVEMENT_HE_CHOOSE_POORLY"), std::string::npos);
    trap->Trigger();
    EXPECT_EQ(GetStatInt("STAT_TRAPS_TRIGGERED"), 50);
    const std::string once = Stats();
    EXPECT_NE(once.find("achievement ACHIEVEMENT_HE_CHOOSE_POORLY"), std::string::npos);
    trap->Trigger();
    EXPECT_EQ(GetStatInt("STAT_TRAPS_TRIGGERED"), 51);
    const std::string after = Stats();
    EXPECT_EQ(after.find("ACHIEVEMENT_HE_CHOOSE_POORLY"), after.rfind("ACHIEVEMENT_HE_CHOOSE_POORLY"));
}

TEST_F(TrapTest, DisarmingAHigherTrapAsksFirst) {
    UseMap(kRoom);
    HeroTrapStats(9, 3, 0);
    struct Case {
        const char* name;
        int32_t answer;  // 0 Yea, 1 Nay
        int32_t roll;
        bool disarmed, sprung;
        int32_t experience;
    };
    const Case cases[] = {
        {"Nay", 1, 0, false, false, 0},
        {"Yea, a roll below the chance", 0, 34, true, false, 4 * 7},
        {"Yea, a roll at the chance", 0, 35, false, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DialogTexts().clear();
        DialogArt().clear();
        ClearTickerLog();
        spellCalls_ = SpellCallLog();
        hero_.experience = 0;
        DialogAnswer() = c.answer;
        Trap* trap = new Trap(Def(6, 2));
        trap->PlaceOnLevel(4, 2, level_.get(), 0);
        PlaceHero(3, 2);
        EXPECT_STREQ(trap->GetActionVerb(), "Disarm Trap");
        if (c.answer == 0) {
            SeedGameGeneratorFor([&] { return static_cast<int32_t>(MTRandomInt(100)) == c.roll; });
        }
        EXPECT_EQ(trap->Activate(), 1);
        EXPECT_EQ(DialogTexts(),
                  std::vector<std::string>{"Try to disarm the trap? You have a 35 percent chance of success."});
        EXPECT_EQ(DialogArt(), std::vector<std::string>{"ui/dialog_but_yea|ui/dialog_but_nay"});
        EXPECT_EQ(trap->disarmed, c.disarmed);
        EXPECT_EQ(spellCalls_.casts.size(), c.sprung ? 1u : 0u);
        EXPECT_EQ(hero_.experience, c.experience);
        EXPECT_EQ(TickerLog(), c.disarmed ? std::vector<std::string>{"You disarm the trap!"}
                                          : std::vector<std::string>{});
        EXPECT_EQ(trap->removed, c.disarmed);
        if (!trap->removed) QueueObjectDeletion(trap);
        ApplyDeferredObjectMoves();
    }
}

TEST_F(TrapTest, TheOfferedDisarmChanceNeverFallsBelowNothing) {
    UseMap(kRoom);
    HeroTrapStats(9, 3, 0);
    struct Case {
        int32_t trapLevel;
        int32_t shown;
    };
    // (3 - level + 10) x 10 / 2, but never below 0: a hopeless try always springs the trap.
    const Case cases[] = {{6, 35}, {12, 5}, {13, 0}, {14, 0}, {18, 0}, {40, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trapLevel);
        DialogTexts().clear();
        spellCalls_ = SpellCallLog();
        DialogAnswer() = 0;
        Trap* trap = new Trap(Def(c.trapLevel, 2));
        trap->PlaceOnLevel(4, 2, level_.get(), 0);
        PlaceHero(3, 2);
        SeedGameGeneratorFor([] { return MTRandomInt(100) == 0; });
        EXPECT_EQ(trap->Activate(), 1);
        EXPECT_EQ(DialogTexts(), std::vector<std::string>{"Try to disarm the trap? You have a " +
                                                          std::to_string(c.shown) + " percent chance of success."});
        EXPECT_EQ(trap->disarmed, c.shown > 0) << "the lowest roll succeeds only with some chance";
        EXPECT_EQ(spellCalls_.casts.size(), c.shown > 0 ? 0u : 1u);
        if (!trap->removed) QueueObjectDeletion(trap);
        ApplyDeferredObjectMoves();
    }
}

TEST_F(TrapTest, ALowTrapWithoutMountIsPickedUpForExperienceUnlessCrafted) {
    UseMap(kRoom);
    HeroTrapStats(9, 8, 0);
    for (bool crafted : {false, true}) {
        SCOPED_TRACE(crafted);
        hero_.experience = 0;
        Trap* trap = new Trap(Def(2, 2));
        trap->crafted = crafted;
        trap->PlaceOnLevel(4, 2, level_.get(), 0);
        PlaceHero(3, 2);
        EXPECT_STREQ(trap->GetActionVerb(), "Pick Up Trap");
        EXPECT_EQ(trap->Activate(), 1);
        EXPECT_EQ(hero_.experience, crafted ? 0 : 4 * 3);
        EXPECT_TRUE(trap->disarmed);
        EXPECT_FALSE(OnLevel(trap));
        EXPECT_EQ(trap->level, nullptr) << "picked up";
        if (GetCursorItem() == trap) {
            ClearCursorItem();
            delete trap;
        }
    }
}

TEST_F(TrapTest, MonstersStepOnlyOnSeenSquaresAndOnlyWalkers) {
    UseMap(kRoom);
    struct Case {
        const char* name;
        bool explored;
        int32_t terrain;
        bool rolls;
    };
    const Case cases[] = {
        {"a walker on a seen square", true, 0, true},
        {"an unseen square", false, 0, false},
        {"a swimmer", true, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sounds().clear();
        spellCalls_ = SpellCallLog();
        Trap* trap = new Trap(Def(1, 2));
        trap->PlaceOnLevel(5, 2, level_.get(), 0);
        Monster* monster = AddMonster("Diggle", 5, 2);
        LevelCell* square = level_->GetCell(5, 2);
        square->flags = c.explored ? SquareFlag::Explored : 0;
        const int32_t savedTerrain = monster->record->terrain;
        monster->record->terrain = c.terrain;
        SeedGameGeneratorFor([] { return MTRandomInt(100) == 50; });
        trap->MonsterEntered(monster);
        monster->record->terrain = savedTerrain;
        EXPECT_EQ(CountSound("click"), c.rolls ? 1 : 0);
        EXPECT_EQ(trap->discovered, c.rolls ? 1 : 0);
        ASSERT_EQ(spellCalls_.casts.size(), c.rolls ? 1u : 0u);
        if (c.rolls) {
            EXPECT_EQ(spellCalls_.casts[0].targetX, 5);
            EXPECT_EQ(spellCalls_.casts[0].caster, &hero_);
        }
        QueueObjectDeletion(trap);
        QueueObjectDeletion(monster);
        ApplyDeferredObjectMoves();
    }
}

}  // namespace
