// The buff bar: which buffs it shows where, the number under each icon, the counters beside
// it, the close cross of removable buffs, and which icon the pointer finds.
#include "interface/buff_bar.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "creatures/buff.h"
#include "creatures/player.h"
#include "interface/hud_draw.h"
#include "interface/menu_test_fixture.h"
#include "media/sprite.h"

namespace {

class BuffBarTest : public testing::Test {
protected:
    void SetUp() override {
        for (auto& icon : icons_) {
            icon.reset(new Sprite());
            icon->width = 40;
            icon->height = 40;
        }
    }
    // A buff with icon i (-1: none), kept for the test.
    Buff* Make(const char* name, int32_t icon) {
        buffs_.emplace_back(new Buff(name));
        Buff* b = buffs_.back().get();
        b->iconSprite = icon >= 0 ? icons_[icon].get() : nullptr;
        return b;
    }
    std::vector<Buff*> List() {
        std::vector<Buff*> list;
        for (auto& b : buffs_) list.push_back(b.get());
        return list;
    }
    std::unique_ptr<Sprite> icons_[20];
    std::vector<std::unique_ptr<Buff>> buffs_;
};

TEST_F(BuffBarTest, ShowsEachIconOnceSkipsHiddenAndIconlessBuffsAndStartsNewColumns) {
    Make("a", 0);
    Make("same icon as a", 0);
    Make("hidden", 1)->extraFlag2 = true;
    Make("no icon", -1);
    for (int32_t i = 2; i < 9; ++i) Make(("b" + std::to_string(i)).c_str(), i);
    const std::vector<BuffBarSlot> slots = LayoutBuffBar(List());
    const struct {
        const char* name;
        int32_t x, y;
    } expected[] = {{"a", 2, 96},   {"b2", 2, 164},  {"b3", 2, 232}, {"b4", 2, 300},
                    {"b5", 2, 368}, {"b6", 82, 96}, {"b7", 82, 164}, {"b8", 82, 232}};
    ASSERT_EQ(slots.size(), 8u);
    for (size_t i = 0; i < slots.size(); ++i) {
        EXPECT_EQ(slots[i].buff->name, expected[i].name) << i;
        EXPECT_EQ(slots[i].x, expected[i].x) << i;
        EXPECT_EQ(slots[i].y, expected[i].y) << i;
    }
}

TEST_F(BuffBarTest, TheNumberUnderTheIcon) {
    const struct {
        const char* name;
        int32_t charges, turns;
        bool hideTurns;
        int32_t number;
    } cases[] = {
        {"charges win", 3, 10, false, 3},
        {"no charges: turns + 1", 0, 4, false, 5},
        {"0 turns left shows 1", 0, 0, false, 1},
        {"hidden turns", 0, 4, true, -1},
        {"hidden turns, but charges", 2, 4, true, 2},
        {"negative turns", 0, -1, false, -1},
    };
    for (const auto& c : cases) {
        Buff b("x");
        b.displayCount = c.charges;
        b.turnsLeft = c.turns;
        b.hideTurns = c.hideTurns;
        EXPECT_EQ(BuffBarNumber(b), c.number) << c.name;
    }
}

TEST_F(BuffBarTest, CountersInOrderWithTheirColours) {
    Buff b("x");
    b.attacks = 2;
    b.manaUpkeep = 5;
    b.upkeepCounter = 3;
    std::vector<BuffCounter> counters = BuffCounters(b);
    ASSERT_EQ(counters.size(), 2u);
    EXPECT_STREQ(counters[0].sprite, "buffattacks");
    EXPECT_EQ(counters[0].text, "2");
    EXPECT_EQ(counters[0].colour.r, 255);
    EXPECT_EQ(counters[0].colour.g, 204);
    EXPECT_EQ(counters[0].colour.b, 132);
    EXPECT_STREQ(counters[1].sprite, "buffmanacounter");
    EXPECT_EQ(counters[1].text, "3/5");
    EXPECT_EQ(counters[1].colour.b, 255);
    b.brittle = 1;
    counters = BuffCounters(b);
    ASSERT_EQ(counters.size(), 3u);
    EXPECT_STREQ(counters[0].sprite, "buffbrittle");
    EXPECT_EQ(counters[0].colour.r, 222);
}

class BuffBarDrawTest : public MenuScreenTest {};

TEST_F(BuffBarDrawTest, DrawsBordersIconsNumbersCountersAndTheCloseCross) {
    Sprite icon;
    icon.width = 40;
    icon.height = 40;
    Player hero;
    Player* saved = CurrentPlayer;
    CurrentPlayer = &hero;
    Buff* iconless = new Buff("iconless");
    Buff* shield = new Buff("shield");
    shield->iconSprite = &icon;
    shield->turnsLeft = 0;
    shield->brittle = 2;
    shield->attacks = 1;
    shield->removable = true;
    hero.buffs = {iconless, shield};
    std::vector<HudDrawCall> calls;
    SetHudDrawRecorder(&calls);
    DrawBuffBar();
    SetHudDrawRecorder(nullptr);
    std::vector<std::string> seen;
    for (const HudDrawCall& c : calls) seen.push_back(c.what + " " + std::to_string(c.x) + "," + std::to_string(c.y));
    const std::vector<std::string> expected = {
        "buff border 2,96",  "buff border 2,96", "buff icon shield 2,96", "\"1\" 50,137",
        "buffbrittle 69,99", "\"2\" 87,96",      "buffattacks 69,119",    "\"1\" 87,116",
        "buff close 46,96",
    };
    EXPECT_EQ(seen, expected);
    // The pointer finds the icon, edges included.
    EXPECT_EQ(BuffUnderPoint(2, 96), shield);
    EXPECT_EQ(BuffUnderPoint(42, 136), shield);
    EXPECT_EQ(BuffUnderPoint(43, 136), nullptr);
    hero.buffs.clear();
    delete iconless;
    shield->iconSprite = nullptr;
    delete shield;
    CurrentPlayer = saved;
}

}  // namespace
