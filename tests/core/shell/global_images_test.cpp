// The shared pictures of the play screen.
#include "core/shell/global_images.h"

#include <gtest/gtest.h>

#include "creatures/status_overlays.h"
#include "media/display_settings.h"
#include "media/eye_candy.h"
#include "media/sprite.h"

namespace {

TEST(GlobalImagesTest, EveryHolderIsFilledAndTheOverlaysPointAtTheirSprites) {
    const int32_t savedColourBlind = enableColourBlind;
    enableColourBlind = 1;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    LoadGlobalImages();  // the art may be missing here: placeholders, never null surfaces
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    const GlobalImageSet& g = GlobalImages;
    for (SDL_Surface* surface : {g.inventory, g.inventory2x, g.dither32, g.gameOver, g.recipesBackground}) {
        EXPECT_NE(surface, nullptr);
    }
    for (Sprite* numeral : g.numerals) EXPECT_NE(numeral, nullptr);
    EXPECT_EQ(StatusOverlays.sleep.sprite, g.sleep);
    EXPECT_EQ(StatusOverlays.daze.sprite, g.daze);
    EXPECT_EQ(StatusOverlays.burning.sprite, g.burning);
    EXPECT_EQ(StatusOverlays.hearts.sprite, g.hearts);
    EXPECT_EQ(StatusOverlays.questMark.sprite, g.questExclaim);
    EXPECT_EQ(StatusOverlays.heroGlow.sprite, g.heroGlow);
    // The experience floater shows the doubled medal.
    EXPECT_NE(g.xpMedal, nullptr);
    EXPECT_EQ(EyeCandyIcons.experienceMedal, g.xpMedal);
    // The guide arrow follows the colour-blind setting of start-up only.
    EXPECT_EQ(g.guideArrow.sprite, g.helpfulArrowColourBlind);
    enableColourBlind = 0;
    EXPECT_EQ(g.guideArrow.sprite, g.helpfulArrowColourBlind);
    enableColourBlind = savedColourBlind;
}

}  // namespace
