// The play-field tooltips: the ability-belt hit squares in both interface sizes, the item box's
// size (star row only with stars), its placement near the screen edges, and the pedestal line.
#include "interface/play_tooltips.h"

#include <gtest/gtest.h>

#include "interface/hud.h"
#include "interface/layout.h"
#include "interface/menu_test_fixture.h"
#include "media/item_tooltip_box.h"
#include "media/tooltip.h"

namespace {

class PlayTooltipsTest : public MenuScreenTest {};

TEST_F(PlayTooltipsTest, AbilityBeltSquaresStepAsTheBeltIsDrawn) {
    const struct {
        const char* name;
        int32_t large;
        int32_t dx, dy;  // from the HUD's left edge and the bar's top
        int32_t slot;
    } cases[] = {
        {"small, slot 0 corner", 0, 626, 47, 0},
        {"small, slot 0 far corner", 0, 658, 79, 0},
        {"small, slot 1", 0, 662, 60, 1},
        {"small, between slots", 0, 660, 60, -1},
        {"small, slot 8", 0, 626 + 8 * 36 + 10, 60, 8},
        {"large, slot 1 starts 70 on", 1, 949 + 70, 100, 1},
        {"large, 68 on is still the gap", 1, 949 + 68 + 1, 100, -1},
        {"large, slot 8", 1, 949 + 8 * 70 + 64, 91 + 64, 8},
        {"large, above the row", 1, 949, 90, -1},
    };
    for (const auto& c : cases) {
        Layout.largeInterface = c.large;
        UpdateScreenLayout();
        EXPECT_EQ(AbilityTooltipSlotAt(Layout.interfaceX + c.dx, BottomBarTop() + c.dy), c.slot) << c.name;
    }
    Layout.largeInterface = 0;
    UpdateScreenLayout();
}

TEST_F(PlayTooltipsTest, TheStarRowTakesRoomOnlyWithStars) {
    const ItemTooltipSize none = MeasureItemTooltip("Copper Ring", nullptr, nullptr, nullptr, 0, nullptr);
    const ItemTooltipSize three = MeasureItemTooltip("Copper Ring", nullptr, nullptr, nullptr, 3, nullptr);
    EXPECT_EQ(none.h, 16);
    EXPECT_EQ(three.h, 27);
    const ItemTooltipSize lines = MeasureItemTooltip("Copper Ring", "Ring", "Worn", "Shiny.", 0, "Adds 1 to luck.");
    EXPECT_EQ(lines.w, 160) << "a description widens the box to 160";
    EXPECT_GT(lines.h, 16 + 16 + 3 * 10);
}

TEST_F(PlayTooltipsTest, TheItemBoxOpensLeftAndAboveNearTheEdges) {
    const struct {
        const char* name;
        int mx, my;
        bool left, above;
    } cases[] = {
        {"middle", 600, 300, false, false},
        {"right edge", 1270, 300, true, false},
        {"bottom edge", 600, 715, false, true},
        {"corner", 1270, 715, true, true},
    };
    for (const auto& c : cases) {
        Script("move " + std::to_string(c.mx) + " " + std::to_string(c.my) + "\n");
        SDL_Event event;
        while (LoggedPollEvent(&event)) {
        }
        DrawItemTooltip("Copper Ring", "Ring", nullptr, "A ring of plain copper, slightly green.", 2, nullptr);
        const SDL_Rect box = LastTooltipBox();
        EXPECT_EQ(box.x < c.mx, c.left) << c.name;
        EXPECT_EQ(box.y < c.my, c.above) << c.name;
        EXPECT_EQ(LastTooltipTitle(), "Copper Ring");
    }
}

TEST(PedestalLineTest, PriceIsTheValueTimesTheScalerTruncated) {
    EXPECT_EQ(PedestalPriceLine("Lamp", 10, 1.5f), "Lamp (15 zorkmids)");
    EXPECT_EQ(PedestalPriceLine("Lamp", 7, 1.5f), "Lamp (10 zorkmids)");
    EXPECT_EQ(PedestalPriceLine("Lamp", 0, 2.0f), "Lamp (0 zorkmids)");
    EXPECT_EQ(PedestalPriceLine("Lamp", -4, 1.5f), "Lamp (0 zorkmids)") << "never below nothing";
    EXPECT_EQ(PedestalPriceLine("Lamp", 4, -1.5f), "Lamp (0 zorkmids)");
}

}  // namespace
