// The name an item's tooltip shows: the title or the item's own, with the sell price of an
// unpaid item only while the hero stands inside its peaceful shop.
#include <gtest/gtest.h>

#include <memory>

#include "core/tweak.h"
#include "creatures/player.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "levels/level_test_map.h"

namespace {

const char kTweaks[] = R"(<tweakDB><tweak name="store sell price scaler" ival="0" fval="0.5"/></tweakDB>)";

TEST(ItemTooltipName, AnUnpaidItemShowsItsSellPriceOnlyInsideAPeacefulShop) {
    ClearTweakVals();
    ASSERT_TRUE(LoadTweakValsFromBuffer(kTweaks, sizeof kTweaks - 1));
    Player* saved = CurrentPlayer;
    ScopedTestLevel level(6, 6, SquareType::Floor);
    level.get()->GetCell(2, 2)->type = SquareType::ShopFloor;
    Player* hero = new Player();
    hero->PlaceOnLevel(2, 2, level.get(), 0);
    CurrentPlayer = hero;
    ItemDef def;
    def.name = "Mop";
    def.price = 101;
    Item mop(&def);

    struct Case {
        const char* what;
        int32_t unpaid;
        int32_t x;
        uint8_t angry;
        const char* title;
        std::string want;
    };
    const Case cases[] = {
        {"paid", 0, 2, 0, "", mop.GetName()},
        {"unpaid in the shop", 1, 2, 0, "", mop.GetName() + " (50 zorkmids)"},
        {"unpaid with a title", 1, 2, 0, "Fancy Mop", "Fancy Mop (50 zorkmids)"},
        {"unpaid outside the shop", 1, 3, 0, "", mop.GetName()},
        {"unpaid in an angry shop", 1, 2, 1, "", mop.GetName()},
    };
    for (const Case& c : cases) {
        mop.unpaid = c.unpaid;
        hero->x = c.x;
        level.get()->shopkeepersAngry = c.angry;
        EXPECT_EQ(ItemTooltipName(&mop, c.title), c.want) << c.what;
    }
    CurrentPlayer = saved;
    ClearTweakVals();
}

}  // namespace
