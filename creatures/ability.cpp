#include "creatures/ability.h"

AbilityRecord::~AbilityRecord() {
    if (iconSprite != nullptr) SDL_FreeSurface(iconSprite);
}
