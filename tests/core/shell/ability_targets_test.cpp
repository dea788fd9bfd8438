// The target marks of the selected ability by its targeting type, and its use at a square.
#include "core/shell/play_input_fixture.h"

#include <set>
#include <utility>

#include "creatures/ability.h"
#include "creatures/maneuver.h"
#include "media/ticker.h"

namespace {

using namespace play_input_test;
using Squares = std::set<std::pair<int32_t, int32_t>>;

class AbilityTargetsTest : public PlayInputTest {
protected:
    void SetUp() override {
        PlayInputTest::SetUp();
        ability_.spell = &spell_;
        SelectedAbility = &ability_;
        // Row 0 "@@.", row 1 ".#.", row 2 "...": two struck squares above the anchor.
        shape_ = new ManeuverTemplate();
        shape_->width = shape_->height = 3;
        shape_->id = 77;
        shape_->grid = {1, 1, 0, 0, 2, 0, 0, 0, 0};
        ManeuverTemplateTable.push_back(shape_);
        SeeEverything();
    }
    void TearDown() override {
        ManeuverTemplateTable.pop_back();
        delete shape_;
        SpellCallRecorder = nullptr;
        PlayInputTest::TearDown();
    }
    void SeeEverything() {
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) level->GetCell(x, y)->flags |= SquareFlag::Visible;
    }
    Squares Marked() {
        Squares marked;
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                if (level->highlightMap[static_cast<size_t>(x + y * 10)] != 0) marked.insert({x, y});
        return marked;
    }
    Squares MarkAt(int32_t tx, int32_t ty) {
        level->ClearHighlights();
        MarkAbilityTargetSquares(PX(tx), PX(ty));
        return Marked();
    }

    Spell spell_;
    AbilityRecord ability_;
    ManeuverTemplate* shape_ = nullptr;
};

TEST_F(AbilityTargetsTest, EachTargetingTypeMarksItsShape) {
    struct Case {
        const char* what;
        int32_t type;
        int32_t radius;
        bool wallBetween;
        std::pair<int32_t, int32_t> target;
        Squares expected;
    };
    const Case cases[] = {
        {"self", 0, 1, false, {7, 5}, {{5, 5}}},
        {"missile", 1, 1, false, {7, 5}, {{7, 5}}},
        {"burst r = 1", 6, 1, false, {7, 5}, {{7, 5}, {6, 5}, {8, 5}, {7, 4}, {7, 6}}},
        {"burst r = 2 at the edge keeps to the level", 6, 2, false, {8, 8},
         {{8, 8}, {7, 8}, {9, 8}, {6, 8}, {8, 7}, {8, 9}, {8, 6}, {7, 7}, {9, 7}, {7, 9}, {9, 9}}},
        {"beam stops at the first wall", 14, 0, true, {7, 5}, {{6, 5}}},
        {"beam without a wall", 14, 0, false, {7, 5}, {{6, 5}, {7, 5}}},
        {"digging beam goes through", 15, 0, true, {7, 5}, {{6, 5}, {7, 5}}},
        {"beam at the hero marks nothing", 14, 0, false, {5, 5}, {}},
        {"diagonal beam", 15, 0, false, {8, 8}, {{6, 6}, {7, 7}, {8, 8}}},
        {"knight's move", 18, 0, false, {7, 6}, {{7, 6}}},
        {"no knight's move", 18, 0, false, {7, 5}, {}},
        {"rook in the row", 19, 0, false, {7, 5}, {{7, 5}}},
        {"rook off the lines", 19, 0, false, {7, 6}, {}},
        {"a type above 23", 24, 0, false, {7, 5}, {}},
        {"an unknown type", 17, 0, false, {7, 5}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        spell_.targetType = c.type;
        spell_.radius = c.radius;
        level->GetCell(6, 5)->type = c.wallBetween ? SquareType::Wall : SquareType::Floor;
        EXPECT_EQ(MarkAt(c.target.first, c.target.second), c.expected);
    }
}

TEST_F(AbilityTargetsTest, TemplateShapesTurnWithTheHeroTowardTheTarget) {
    spell_.targetType = SpellTarget::Template;
    spell_.templateID = 77;
    struct Case {
        const char* what;
        int32_t anchored;
        std::pair<int32_t, int32_t> target;
        int32_t facing;
        Squares expected;
    };
    const Case cases[] = {
        {"facing right", 2, {7, 5}, 3, {{8, 4}, {8, 5}}},
        {"facing left", 2, {3, 5}, 1, {{2, 4}, {2, 5}}},
        {"facing down", 2, {5, 7}, 0, {{4, 8}, {5, 8}}},
        {"facing up", 2, {5, 3}, 2, {{4, 2}, {5, 2}}},
        {"anchor mode 0 never turns", 0, {7, 5}, 3, {{6, 4}, {7, 4}}},
        {"anchor mode 1 stands on the hero", 1, {7, 5}, 3, {{6, 4}, {6, 5}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        spell_.anchored = c.anchored;
        EXPECT_EQ(MarkAt(c.target.first, c.target.second), c.expected);
        EXPECT_EQ(hero->facing, c.facing);
    }
    // The flag counts the anchor square as struck too.
    shape_->affectsPlayer = 1;
    spell_.anchored = 0;
    EXPECT_EQ(MarkAt(7, 5), (Squares{{6, 4}, {7, 4}, {7, 5}}));
    // A target the hero cannot see marks nothing.
    level->GetCell(7, 5)->flags &= static_cast<uint8_t>(~SquareFlag::Visible);
    EXPECT_EQ(MarkAt(7, 5), Squares{});
}

TEST_F(AbilityTargetsTest, NothingIsMarkedOffTheLevelOrWithoutAnAbility) {
    spell_.targetType = SpellTarget::Self;
    level->ClearHighlights();
    MarkAbilityTargetSquares(PX(12), PX(3));
    EXPECT_EQ(Marked(), Squares{});
    SelectedAbility = nullptr;
    EXPECT_EQ(MarkAt(7, 5), Squares{});
}

TEST_F(AbilityTargetsTest, UsingTheAbilityChecksTheSquareTheTargetAndTheCooldown) {
    SpellCallLog calls;
    SpellCallRecorder = &calls;
    hero->mana = 100;
    spell_.targetType = SpellTarget::Missile;
    SpellTargetX = SpellTargetY = -7;

    // Outside the level: no target, no cast.
    UseSelectedAbilityAt(PX(15), PX(5));
    EXPECT_EQ(SpellTargetX, -7);
    EXPECT_TRUE(calls.casts.empty());
    EXPECT_EQ(TurnCount, 0);

    // A visible floor square: the cast, aimed there, with its turn.
    UseSelectedAbilityAt(PX(7), PX(4));
    ASSERT_EQ(calls.casts.size(), 1u);
    EXPECT_EQ(calls.casts[0].targetX, 7);
    EXPECT_EQ(calls.casts[0].targetY, 4);
    EXPECT_EQ(TurnCount, 1);

    // Cooling down: nothing.
    spell_.cooldownCounter = 1;
    UseSelectedAbilityAt(PX(7), PX(4));
    EXPECT_EQ(calls.casts.size(), 1u);
    spell_.cooldownCounter = 0;

    // A wall square only for the types that may strike one.
    UseSelectedAbilityAt(PX(0), PX(4));
    EXPECT_EQ(calls.casts.size(), 1u);
    spell_.targetType = SpellTarget::Self;
    UseSelectedAbilityAt(PX(0), PX(4));
    EXPECT_EQ(calls.casts.size(), 2u);

    // A touch ability out of reach says so.
    spell_.targetType = SpellTarget::Adjacent;
    ClearTickerLog();
    UseSelectedAbilityAt(PX(8), PX(5));
    EXPECT_EQ(calls.casts.size(), 2u);
    const std::vector<std::string> log = TickerLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "You must be next to your target to use this ability!");
}

// The hero's turns are the turns that pass: a cast refused for want of mana is none.
TEST_F(AbilityTargetsTest, ARefusedCastIsNoTurnOfTheHero) {
    SpellCallLog calls;
    SpellCallRecorder = &calls;
    spell_.targetType = SpellTarget::Missile;
    spell_.mp = 30;
    hero->mana = 10;
    UseSelectedAbilityAt(PX(7), PX(4));
    EXPECT_TRUE(calls.casts.empty());
    EXPECT_EQ(TurnCount, 0);
    EXPECT_EQ(HeroInputTurns, 0);
    hero->mana = 40;
    UseSelectedAbilityAt(PX(7), PX(4));
    EXPECT_EQ(calls.casts.size(), 1u);
    EXPECT_EQ(TurnCount, 1);
    EXPECT_EQ(HeroInputTurns, 1);
}

// An ability used on an item takes the belt or backpack item under the pointer; the level
// square there does not matter, even when the point lies beyond the level.
TEST_F(AbilityTargetsTest, AnItemAbilityUsesTheItemUnderThePointerOffTheLevel) {
    SpellCallLog calls;
    SpellCallRecorder = &calls;
    spell_.targetType = SpellTarget::Item;
    hero->mana = 100;
    auto* gem = Own<CountingItem>(0);
    hero->quickSlots[2] = gem;
    auto* packed = Own<CountingItem>(0);
    InventoryGrid.cells[9] = packed;
    packed->gridX = 1;
    packed->gridY = 1;
    struct Case {
        const char* what;
        bool inventoryOpen;
        int32_t x, y;
        Item* item;
    };
    // The belt row and the backpack window both lie beyond the 10 x 10 level's 640 pixels.
    const Case cases[] = {
        {"belt slot 2", false, 262 + 2 * 36 + 5, 660, gem},
        {"backpack cell (1, 1)", true, 750 + 26 + 34 + 3, 20 + 37 + 34 + 3, packed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int32_t sx = 0;
        int32_t sy = 0;
        ASSERT_FALSE(ScreenToSquare(c.x, c.y, &sx, &sy));
        Layout.inventoryOpen = c.inventoryOpen ? 1 : 0;
        SelectedAbility = &ability_;
        calls = SpellCallLog();
        const int32_t turns = TurnCount;
        HandlePlayScreenClick(c.x, c.y, true);
        ASSERT_EQ(calls.casts.size(), 1u);
        ASSERT_NE(SpellItemUnderPointer, nullptr);
        EXPECT_EQ(SpellItemUnderPointer(), c.item);
        EXPECT_EQ(SelectedAbility, nullptr) << "an item ability is used once";
        EXPECT_EQ(TurnCount, turns + 1);
    }
}

// Shop goods are no target of an item ability, on the belt as in the backpack (an artifact
// laid on the belt must not be offered up unpaid): the "for sale" answer comes, no ability is
// used, and the click falls through to the item's own use.
TEST_F(AbilityTargetsTest, AnItemAbilityRefusesUnpaidGoodsOnTheBeltAsInTheBackpack) {
    SpellCallLog calls;
    SpellCallRecorder = &calls;
    spell_.targetType = SpellTarget::Item;
    hero->mana = 100;
    auto* onBelt = Own<CountingItem>(0);
    onBelt->unpaid = 1;
    hero->quickSlots[2] = onBelt;
    auto* packed = Own<CountingItem>(0);
    packed->unpaid = 1;
    InventoryGrid.cells[9] = packed;
    packed->gridX = 1;
    packed->gridY = 1;
    struct Case {
        const char* what;
        bool inventoryOpen;
        int32_t x, y;
        CountingItem* item;
    };
    const Case cases[] = {
        {"belt slot 2", false, 262 + 2 * 36 + 5, 660, onBelt},
        {"backpack cell (1, 1)", true, 750 + 26 + 34 + 3, 20 + 37 + 34 + 3, packed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Layout.inventoryOpen = c.inventoryOpen ? 1 : 0;
        SelectedAbility = &ability_;
        calls = SpellCallLog();
        // The "for sale" answer waits for its Return.
        ASSERT_TRUE(OpenInputScriptText("wait 40\nkey return\n"));
        HandlePlayScreenClick(c.x, c.y, true);
        EXPECT_TRUE(calls.casts.empty()) << "no ability is used on shop goods";
        EXPECT_EQ(SelectedAbility, &ability_) << "the ability stays chosen";
        EXPECT_EQ(c.item->uses, 1) << "the plain use follows";
        ResetInputLog();
    }
}

}  // namespace
