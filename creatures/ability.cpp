#include "creatures/ability.h"

AbilityRecord::~AbilityRecord() {
    if (iconSprite != nullptr) SDL_FreeSurface(iconSprite);
}

// Stand-in: see CheckSpellTarget in creatures/ability.h.
bool CheckSpellTarget(const AbilityRecord* ability, int32_t, int32_t, int32_t, int32_t) {
    return ability != nullptr;
}
