#include "creatures/damage_type.h"

#include <cstring>

namespace {

const char* const kDamageNames[kDamageTypeCount] = {
    "crushing",  "slashing",   "blasting",   "piercing",      "conflagratory", "hyperborean",
    "voltaic",   "toxic",      "righteous",  "necromantic",   "acidic",        "putrefying",
    "transmutative", "aethereal", "asphyxiative", "existential",
};

const char* const kPrimaryNames[kPrimaryStatCount] = {
    "burliness", "sagacity", "nimbleness", "caddishness", "stubbornness", "savvy",
};

const char* const kPrimaryIcons[kPrimaryStatCount] = {
    "ui/icons/stat_burliness.png",   "ui/icons/stat_sagacity.png",
    "ui/icons/stat_nimbleness.png",  "ui/icons/stat_caddishness.png",
    "ui/icons/stat_stubborness.png", "ui/icons/stat_savvy.png",
};

const char* const kSecondaryNames[kSecondaryStatCount] = {
    "life",      "mana",       "meleepower", "magicpower", "crit",      "haywire",
    "dodge",     "block",      "counter",    "edr",        "armourabsorption",
    "magicresistance", "sneakiness", "liferegen", "manaregen", "wandburn", "traplevel",
    "trapsense", "sight",      "smithing",   "tinkerer",   "alchemy",   "reflection", "lathe",
};

const char* const kSkillTypeNames[kSkillTypeCount] = {"warrior", "wizard", "rogue"};

}  // namespace

const SDL_Color DamageTypeColour[kDamageTypeCount] = {
    {179, 128, 126, 0}, {166, 179, 182, 0}, {251, 210, 99, 0},  {238, 229, 212, 0},
    {255, 81, 34, 0},   {80, 168, 249, 0},  {170, 229, 236, 0}, {89, 103, 44, 0},
    {255, 253, 220, 0}, {113, 76, 154, 0},  {60, 181, 108, 0},  {172, 102, 40, 0},
    {255, 198, 250, 0}, {189, 182, 255, 0}, {115, 114, 127, 0}, {138, 127, 127, 0},
};

const char* DamageTypeName(int32_t type) {
    if (type < 0 || type >= kDamageTypeCount) return "";
    return kDamageNames[type];
}

int32_t GetDamageTypeIndex(const char* name) {
    if (name == nullptr) return -1;
    for (int32_t i = 0; i < kDamageTypeCount; ++i) {
        if (std::strcmp(name, kDamageNames[i]) == 0) return i;
    }
    return -1;
}

const char* PrimaryStatName(int32_t index) {
    return index >= 0 && index < kPrimaryStatCount ? kPrimaryNames[index] : "";
}

const char* PrimaryStatIcon(int32_t index) {
    return index >= 0 && index < kPrimaryStatCount ? kPrimaryIcons[index] : "";
}

const char* SecondaryStatName(int32_t index) {
    return index >= 0 && index < kSecondaryStatCount ? kSecondaryNames[index] : "";
}

const char* SecondaryStatIcon(int32_t index) {
    // The lathe has no icon of its own and shows the wand-burn one.
    static const char* const kIcons[kSecondaryStatCount] = {
        "ui/icons/stat_life.png",        "ui/icons/stat_mana.png",
        "ui/icons/stat_meleepower.png",  "ui/icons/stat_magicpower.png",
        "ui/icons/stat_crit.png",        "ui/icons/stat_haywire.png",
        "ui/icons/stat_dodge.png",       "ui/icons/stat_block.png",
        "ui/icons/stat_counter.png",     "ui/icons/stat_edr.png",
        "ui/icons/stat_armourabsorption.png", "ui/icons/stat_magicresistance.png",
        "ui/icons/stat_sneakiness.png",  "ui/icons/stat_liferegen.png",
        "ui/icons/stat_manaregen.png",   "ui/icons/stat_wandburn.png",
        "ui/icons/stat_traplevel.png",   "ui/icons/stat_trapsense.png",
        "ui/icons/stat_sight.png",       "ui/icons/stat_smithing.png",
        "ui/icons/stat_tinkerer.png",    "ui/icons/stat_alchemy.png",
        "ui/icons/stat_reflection.png",  "ui/icons/stat_wandburn.png",
    };
    return index >= 0 && index < kSecondaryStatCount ? kIcons[index] : "";
}

const char* SkillTypeName(int32_t index) {
    return index >= 0 && index < kSkillTypeCount ? kSkillTypeNames[index] : "";
}

int32_t SkillTypeFromWord(const char* word) {
    if (word == nullptr) return kSkillWarrior;
    for (int32_t i = 0; i < kSkillTypeCount; ++i) {
        if (std::strcmp(word, kSkillTypeNames[i]) == 0) return i;
    }
    return kSkillWarrior;
}

int32_t CurrentStatValue(int32_t base, int32_t bonus, int32_t percent, bool keepNegative) {
    // The sum and product wrap as 32-bit signed values do; computed unsigned to stay defined.
    const uint32_t sum = static_cast<uint32_t>(base) + static_cast<uint32_t>(bonus);
    const int32_t product = static_cast<int32_t>(sum * static_cast<uint32_t>(percent));
    const int32_t value = product / 100;
    if (value < 0 && !keepNegative) return 0;
    return value;
}

bool HeroKeepsNegativeStat(int32_t secondaryIndex) {
    return secondaryIndex == kStatLifeRegen || secondaryIndex == kStatManaRegen;
}
