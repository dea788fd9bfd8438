// The hero's picture on the map: raised over the ripple while walking on water, and drawn
// see-through while invisible.
#include "creatures/player.h"
#include "creatures/status_overlays.h"
#include "levels/map_view.h"
#include "media/bob.h"
#include "media/sprite.h"

MinimapHeroIcons MinimapHeroMarks;

void Player::DrawOnMinimap(int32_t x, int32_t y, int32_t zoom) {
    if (zoom < 0 || zoom >= kMinimapZoomCount) return;
    Sprite* icon = female != 0 ? MinimapHeroMarks.female[zoom] : MinimapHeroMarks.male[zoom];
    if (icon != nullptr) icon->DrawFrame(x, y, 0);
}

void Player::DrawBody(const MapView& view) {
    if (!PlaceBob(view)) return;
    if (waterWalkTurns > 0) {
        // The ripple stays on the water, under the hero's feet; the hero stands on it.
        const Bob& ripple = StatusOverlays.waterWalking;
        if (ripple.sprite != nullptr) {
            ripple.sprite->DrawFrame(bob.x + bob.FrameWidth() / 2 - ripple.FrameWidth() / 2,
                                     bob.y + bob.FrameHeight() - ripple.FrameHeight(), ripple.frame);
        }
        const int32_t tileUnit = view.tileWidth >= 128 ? 2 : 1;
        bob.y -= 8 * tileUnit;
    }
    bool invisible = false;
    for (const Buff* buff : buffs) invisible = invisible || (buff != nullptr && buff->invisible);
    if (invisible && bob.sprite != nullptr) {
        bob.sprite->DrawSeeThroughFrame(bob.x, bob.y, bob.frame);
    } else {
        bob.Draw();
    }
}
