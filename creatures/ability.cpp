#include "creatures/ability.h"

bool CheckSpellTarget(const AbilityRecord* ability, int32_t, int32_t, int32_t, int32_t) {
    return ability != nullptr;
}
