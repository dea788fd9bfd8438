#pragma once
// The hit animations shown where damage of each type lands: sixteen numbered image series
// indexed by damage type, loaded once at start-up.
#include <cstdint>

#include "creatures/damage_type.h"

class Sprite;

extern Sprite* ImpactSprites[kDamageTypeCount];

// The sprite-table name, file stem and frame count of a damage type's impact series.
struct ImpactSeries {
    const char* name;
    const char* stem;
    int32_t frames;
};
extern const ImpactSeries kImpactSeries[kDamageTypeCount];

// Clears the table and loads the sixteen series in index order (first number 0, 150 ms a
// frame, doubled).
void LoadImpactSprites();
// The impact sprite of a damage type; null outside 0..15 or when not loaded.
Sprite* GetImpactSprite(int32_t damageType);
