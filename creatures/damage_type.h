#pragma once
// The sixteen damage types; damage, resistance and bonus arrays are indexed by them.
#include <cstdint>

enum DamageType : int32_t {
    kDamageCrushing = 0,
    kDamageSlashing,
    kDamageBlasting,
    kDamagePiercing,
    kDamageConflagratory,
    kDamageHyperborean,
    kDamageVoltaic,
    kDamageToxic,
    kDamageRighteous,
    kDamageNecromantic,
    kDamageAcidic,
    kDamagePutrefying,
    kDamageTransmutative,
    kDamageAethereal,
    kDamageAsphyxiative,
    kDamageExistential,
};

constexpr int32_t kDamageTypeCount = 16;

// Lower-case name of a damage type ("crushing" ...); "" outside 0..15.
const char* DamageTypeName(int32_t type);
