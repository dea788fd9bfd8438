// Stand-in: what is still to be built is listed at the top of creatures/impact_sprites.h.
#include "creatures/impact_sprites.h"

Sprite* ImpactSprites[kDamageTypeCount] = {};

void LoadImpactSprites() {}

Sprite* GetImpactSprite(int32_t damageType) {
    if (damageType < 0 || damageType >= kDamageTypeCount) {
        return nullptr;
    }
    return ImpactSprites[damageType];
}
