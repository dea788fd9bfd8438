#pragma once
// The fighting vocabularies every creature, buff, ability, item and monster record shares:
// the sixteen damage types with their display colours, the six primary and twenty-four
// secondary statistics with their icons, and the three skill types. Every array indexed by
// one of them uses exactly these indices.
#include <SDL.h>

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

// The word data files use for a damage type ("crushing" ...); "" outside 0..15.
const char* DamageTypeName(int32_t type);
// The index of the damage type whose word equals name exactly (case counts), or -1.
int32_t GetDamageTypeIndex(const char* name);
// Colour of damage numbers and texts of each type (the fourth byte is 0).
extern const SDL_Color DamageTypeColour[kDamageTypeCount];

enum PrimaryStat : int32_t {
    kPrimaryBurliness = 0,
    kPrimarySagacity,
    kPrimaryNimbleness,
    kPrimaryCaddishness,
    kPrimaryStubbornness,
    kPrimarySavvy,
};
constexpr int32_t kPrimaryStatCount = 6;
// The item database still calls the primaries base statistics.
constexpr int32_t kBaseStatCount = kPrimaryStatCount;

enum SecondaryStat : int32_t {
    kStatLife = 0,
    kStatMana,
    kStatMeleePower,
    kStatMagicPower,
    kStatCrit,
    kStatHaywire,
    kStatDodge,
    kStatBlock,
    kStatCounter,
    kStatEdr,
    kStatArmourAbsorption,
    kStatMagicResistance,
    kStatSneakiness,
    kStatLifeRegen,
    kStatManaRegen,
    kStatWandBurn,
    kStatTrapLevel,
    kStatTrapSense,
    kStatSight,
    kStatSmithing,
    kStatTinkerer,
    kStatAlchemy,
    kStatReflection,
    kStatLathe,
};
constexpr int32_t kSecondaryStatCount = 24;

enum SkillType : int32_t {
    kSkillWarrior = 0,
    kSkillWizard,
    kSkillRogue,
};
constexpr int32_t kSkillTypeCount = 3;

// Names and icon files; "" outside the range.
const char* PrimaryStatName(int32_t index);
const char* PrimaryStatIcon(int32_t index);
const char* SecondaryStatName(int32_t index);
const char* SecondaryStatIcon(int32_t index);
const char* SkillTypeName(int32_t index);
// The skill type of a skill's type word ("warrior", "wizard", "rogue", case counts); any
// other word gives 0, the warrior.
int32_t SkillTypeFromWord(const char* word);

// The current value of one statistic: (base + bonus) * percent / 100 in 32-bit signed
// arithmetic, truncating toward zero; a negative result becomes 0 unless keepNegative.
int32_t CurrentStatValue(int32_t base, int32_t bonus, int32_t percent, bool keepNegative);
// Whether the hero keeps a negative value of this secondary (life and mana regeneration).
bool HeroKeepsNegativeStat(int32_t secondaryIndex);
