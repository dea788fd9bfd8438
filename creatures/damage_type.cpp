#include "creatures/damage_type.h"

namespace {
const char* const kNames[kDamageTypeCount] = {
    "crushing",  "slashing",   "blasting",   "piercing",      "conflagratory", "hyperborean",
    "voltaic",   "toxic",      "righteous",  "necromantic",   "acidic",        "putrefying",
    "transmutative", "aethereal", "asphyxiative", "existential",
};
}

const char* DamageTypeName(int32_t type) {
    if (type < 0 || type >= kDamageTypeCount) {
        return "";
    }
    return kNames[type];
}
