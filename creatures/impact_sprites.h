#pragma once
// The hit sprites shown when damage of each type lands.
//
// Stand-in: nothing is loaded yet. Still to be built here: loading the sixteen impact
// animations through the sprite table.
#include <cstdint>

#include "creatures/damage_type.h"

class Sprite;

extern Sprite* ImpactSprites[kDamageTypeCount];

void LoadImpactSprites();
// The impact sprite of a damage type; null outside 0..15 or when not loaded.
Sprite* GetImpactSprite(int32_t damageType);
