#include "creatures/impact_sprites.h"

#include "media/sprite.h"

Sprite* ImpactSprites[kDamageTypeCount] = {};

const ImpactSeries kImpactSeries[kDamageTypeCount] = {
    {"crush", "sprites/sfx/impact_crushing/impact_crushing", 4},
    {"slash", "sprites/sfx/impact_slash/impact_slash", 6},
    {"blastimpact", "sprites/sfx/impact_blast/impact_blast", 5},
    {"pierce", "sprites/sfx/impact_piercing/impact_piercing", 3},
    {"conflag", "sprites/sfx/impact_fire/impact_fire", 5},
    {"hyperbor", "sprites/sfx/impact_ice/impact_ice", 5},
    {"voltaic", "sprites/sfx/impact_electrical/impact_electrical", 6},
    {"toxic", "sprites/sfx/impact_toxic/impact_toxic", 5},
    {"righteous", "sprites/sfx/impact_divine/impact_divine", 5},
    {"necromantic", "sprites/sfx/impact_necromatic/impact_necromatic", 5},
    {"acid", "sprites/sfx/impact_acid/impact_acid", 5},
    {"putrefy", "sprites/sfx/impact_putrifying/impact_putrifying", 6},
    {"transmutative", "sprites/sfx/impact_transmutative/impact_transmutative", 6},
    {"aethereal", "sprites/sfx/impact_aethereal/impact_aethereal", 6},
    {"asphyx", "sprites/sfx/impact_asphyxiative/impact_asphyxiative", 6},
    {"existential", "sprites/sfx/impact_existential/impact_existential", 9},
};

void LoadImpactSprites() {
    for (Sprite*& sprite : ImpactSprites) sprite = nullptr;
    for (int32_t t = 0; t < kDamageTypeCount; ++t) {
        const ImpactSeries& series = kImpactSeries[t];
        ImpactSprites[t] = SpriteMgr_GetOrLoadSeries(series.name, series.stem, series.frames, 0, 150, 1);
    }
}

Sprite* GetImpactSprite(int32_t damageType) {
    if (damageType < 0 || damageType >= kDamageTypeCount) return nullptr;
    return ImpactSprites[damageType];
}
