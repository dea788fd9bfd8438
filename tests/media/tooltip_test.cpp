// Tooltips drawn with the game font: box widths, the icon-row heights of ability tooltips and
// the help popup near the bottom edge.
#include <gtest/gtest.h>

#include "core/input_log.h"
#include "core/tweak.h"
#include "media/font.h"
#include "media/text.h"
#include "media/tooltip.h"
#include "tests/interface/menu_test_fixture.h"

namespace {

const char kTweaks[] = R"(<tweakDB><tweak name="tooltip border size" ival="4"/></tweakDB>)";

class TooltipDrawing : public MenuScreenTest {
protected:
    void SetUp() override {
        MenuScreenTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ClearTweakVals();
        ASSERT_TRUE(LoadTweakValsFromBuffer(kTweaks, sizeof kTweaks - 1));
    }
    void TearDown() override {
        ClearTweakVals();
        MenuScreenTest::TearDown();
    }
    void PointerAt(int x, int y) {
        Script("move " + std::to_string(x) + " " + std::to_string(y) + "\n");
        SDL_Event e;
        while (LoggedPollEvent(&e)) {
        }
    }
};

TEST_F(TooltipDrawing, BoxWidthsFollowTitleSubtitleAndBody) {
    PointerAt(100, 100);
    // A short title with a body is 160 wide: the box adds 6 and two borders.
    DrawTooltip("Mop", nullptr, "A body of text.");
    EXPECT_EQ(LastTooltipBox().w, 160 + 6 + 8);
    EXPECT_EQ(LastTooltipBox().x, 124 - 4);
    EXPECT_EQ(LastTooltipTitle(), "Mop");
    // Without a body the title alone sets the width.
    DrawTooltip("Mop", nullptr, nullptr);
    EXPECT_EQ(LastTooltipBox().w, TextWidth("Mop", TickerFont) + 14);
    // A title wider than 160 sets the width.
    const char* wide = "An Exceedingly Long Tooltip Title Indeed";
    ASSERT_GT(TextWidth(wide, TickerFont), 160);
    DrawTooltip(wide, nullptr, "Body.");
    EXPECT_EQ(LastTooltipBox().w, TextWidth(wide, TickerFont) + 14);
    // An empty title draws nothing.
    const SDL_Rect before = LastTooltipBox();
    DrawTooltip("", nullptr, "Body.");
    EXPECT_EQ(LastTooltipBox().x, before.x);
    EXPECT_EQ(LastTooltipTitle(), wide);
}

TEST_F(TooltipDrawing, NearTheRightEdgeTheBoxStaysOnTheScreen) {
    for (int mx : {1000, 1100, 1200, 1279}) {
        PointerAt(mx, 100);
        DrawTooltip("Mop", nullptr, "A body of text.");
        const SDL_Rect box = LastTooltipBox();
        EXPECT_LE(box.x + box.w, 1280) << mx;
        EXPECT_GE(box.x, 0) << mx;
    }
}

TEST_F(TooltipDrawing, AbilityRowsAddTheirHeightExceptInCompactMode) {
    PointerAt(100, 100);
    AbilityTooltipInfo ability;
    ability.name = "Mop Fu";
    ability.hasSpell = true;
    ability.manaCost = 5;
    ability.rows.damage[0] = 3;
    ability.rows.damage[4] = 1;
    ability.rows.secondary[2] = 7;
    DrawAbilityTooltip(ability, true);
    const int compact = LastTooltipBox().h;
    EXPECT_EQ(compact, 16 + 18 + 5 + 8);
    DrawAbilityTooltip(ability, false);
    EXPECT_EQ(LastTooltipBox().h, compact + 2 * 18);
    ability.hasSpell = false;
    DrawAbilityTooltip(ability, false);
    EXPECT_EQ(LastTooltipBox().h, compact + 18);
}

TEST_F(TooltipDrawing, ThePopupMovesUpNearTheBottomAndConsumesItsReturn) {
    // Return pressed and released a few frames later, then one more key the game must see.
    Script("wait 50\nkeydown return\nwait 50\nkeyup return\nwait 50\nkey a\n");
    const char* text = "Some help about mops.";
    const int h = WrappedTextHeight(text, TickerFont, 200);
    ShowTextPopup(text, 300, 710);
    const SDL_Rect box = LastTooltipBox();
    EXPECT_EQ(box.y, 710 - h - 4);
    EXPECT_EQ(box.w, 208);
    // The Return release was taken by the popup; the next event is the key after it.
    SDL_Event e;
    bool sawReturn = false;
    bool sawA = false;
    for (int i = 0; i < 200 && !sawA; ++i) {
        while (LoggedPollEvent(&e)) {
            if ((e.type == SDL_KEYUP || e.type == SDL_KEYDOWN) && e.key.keysym.sym == SDLK_RETURN) sawReturn = true;
            if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_a) sawA = true;
        }
        PresentFrame(ScreenSurface);
    }
    EXPECT_TRUE(sawA);
    EXPECT_FALSE(sawReturn);
}

}  // namespace
