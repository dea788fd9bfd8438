// The damage breakdown of the ticker shows each damage type's own small picture.
#include <gtest/gtest.h>

#include <vector>

#include "../media/image_test_support.h"
#include "creatures/combat.h"
#include "media/ticker.h"
#include "media/ticker_entry.h"
#include "media/tooltip.h"

namespace media_test {
namespace {

class DamageIconsTest : public DataFolderTest {
protected:
    void TearDown() override {
        ClearTicker();
        FreeStatIcons();
        DataFolderTest::TearDown();
    }
};

TEST_F(DamageIconsTest, EachPieceOfTheBreakdownCarriesItsTypesPicture) {
    // Two types with pictures of different sizes, so each is told apart by its surface.
    Put("ui/icons/dmg_slashing.png", EncodePng(5, 4, 4, std::vector<uint8_t>(5 * 4 * 4, 200)));
    Put("ui/icons/dmg_voltaic.png", EncodePng(7, 3, 4, std::vector<uint8_t>(7 * 3 * 4, 90)));
    Mount();
    LoadStatIcons();
    ASSERT_NE(DamageTypeIcon(kDamageSlashing), nullptr);
    ASSERT_NE(DamageTypeIcon(kDamageVoltaic), nullptr);
    EXPECT_EQ(DamageTypeIcon(kDamageSlashing)->w, 5);
    EXPECT_EQ(DamageTypeIcon(kDamageVoltaic)->w, 7);
    EXPECT_EQ(DamageTypeIcon(kDamageCrushing), nullptr);  // no file: no picture
    EXPECT_EQ(DamageTypeIcon(-1), nullptr);
    EXPECT_EQ(DamageTypeIcon(kDamageTypeCount), nullptr);

    int32_t amounts[kDamageTypeCount] = {};
    amounts[kDamageSlashing] = 4;
    amounts[kDamageVoltaic] = 2;
    ClearTicker();
    AddDamageBreakdown(amounts);
    std::vector<SDL_Surface*> icons;
    for (const auto& entry : Ticker.entries) {
        if (auto* group = dynamic_cast<NonBreakingTickerEntry*>(entry.get())) {
            auto* icon = dynamic_cast<IconTickerEntry*>(group->parts.front());
            ASSERT_NE(icon, nullptr);
            icons.push_back(icon->icon);
        }
    }
    EXPECT_EQ(icons, (std::vector<SDL_Surface*>{DamageTypeIcon(kDamageSlashing), DamageTypeIcon(kDamageVoltaic)}));
}

}  // namespace
}  // namespace media_test
