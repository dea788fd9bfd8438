// The hero's derived statistics, the experience and the level-up.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/event_log.h"
#include "creatures/combat_feedback.h"
#include "creatures/experience.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "interface/ui_services.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/weapon.h"
#include "media/bob.h"
#include "media/eye_candy.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "store_platform/stats.h"
#include "store_platform/store.h"

namespace {

// The skill of bare hands: its abilities count only with no weapon in either hand.
constexpr int32_t kUnarmedSkill = 6;
// Skills 0 to 5 are the weapon skills; their abilities count per wielded weapon instead.
constexpr int32_t kLastWeaponSkill = 5;

// Re-entry guard of the level-up: its animation and dialog run the frame loop.
bool LevelUpUnderWay = false;

void GrantAchievement(const char* name) {
    AwardAchievement(name);
}

bool IsNamed(const Item* item, const char* name) {
    return item != nullptr && item->GetItemName() == name;
}

// Whether an ability of the global list adds its bonuses to the hero's own statistics.
bool AbilityCounts(const Player& hero, const AbilityRecord& ability) {
    if (ability.polymorphedOnly) {
        if (hero.isPolymorphed == 0 || hero.polymorphForm == nullptr) return false;
        if (ability.polymorphTag != hero.polymorphForm->displayName) return false;
    } else if (hero.isPolymorphed != 0) {
        return false;
    }
    const int32_t skill = ability.skillId;
    if (skill == kUnarmedSkill) {
        if (hero.firstHandWeapon != nullptr || hero.secondHandWeapon != nullptr) return false;
    } else if ((skill >= 0 && skill <= kLastWeaponSkill) || IsPseudoSkillId(skill)) {
        // Hashed ids are negative as int32 and are real skills; only the weapon skills and
        // the pseudo-skills are left out.
        return false;
    }
    return ability.level < hero.GetSkillLevel(skill);
}

void CheckEquipmentAchievements(Player& hero) {
    if (SteamUserStats() == nullptr) return;
    if (IsNamed(hero.headArmour, "Rusty Old Helm") && IsNamed(hero.Torso(), "Green Armor")) {
        GrantAchievement("ACHIEVEMENT_DUBIOUS_ID");
    }
    if (IsNamed(hero.headArmour, "Toque of Kanada") &&
        (IsNamed(hero.secondHandShield, "Maple Shield") || IsNamed(hero.firstHandShield, "Maple Shield"))) {
        GrantAchievement("ACHIEVEMENT_CANADIAN_PRIDE");
    }
    if (IsNamed(hero.pants, "Parachute Pants") &&
        (IsNamed(hero.secondHandWeapon, "Warhammer") || IsNamed(hero.firstHandWeapon, "Warhammer"))) {
        GrantAchievement("ACHIEVEMENT_HAMMER_TIME");
    }
    if (IsNamed(hero.headArmour, "Imperial Boilerplate Helm") && IsNamed(hero.torsoArmour, "Imperial Boilerplate")) {
        GrantAchievement("ACHIEVEMENT_IMPERIAL_BOILERPLATE");
    }
    if (IsNamed(hero.firstHandWeapon, "Clockwork Chainaxe") && IsNamed(hero.secondHandWeapon, "Clockwork Chainaxe") &&
        IsNamed(hero.FirstRing(), "Clockwork Power-limb") && IsNamed(hero.SecondRing(), "Clockwork Power-limb") &&
        IsNamed(hero.crossbow, "Clockwork Bolt-thrower")) {
        GrantAchievement("ACHIEVEMENT_CLOCKWORK_MAN");
    }
}

}  // namespace

int32_t Player::GetSkillLevel(int32_t skillId) const {
    for (int32_t slot = 0; slot < kBuildSkillCount; ++slot) {
        if (skillIds[slot] == skillId) return skillLevels[slot];
    }
    return 0;
}

void Player::SetSkillLevel(int32_t slot, int32_t newLevel) {
    if (slot < 0 || slot >= kBuildSkillCount) return;
    skillLevels[slot] = newLevel;
    Weapon* held[3] = {firstHandWeapon, secondHandWeapon, crossbow};
    bool refreshed = false;
    for (int32_t i = 0; i < 3; ++i) {
        if (held[i] == nullptr || std::find(held, held + i, held[i]) != held + i) continue;
        held[i]->RefreshMastery(*this);
        refreshed = true;
    }
    if (refreshed) RecalculateStats();
}

void Player::RecalculateStats() {
    // 1. Levels per skill type.
    std::fill(std::begin(skillTypePoints), std::end(skillTypePoints), 0);
    for (const SkillRecord& record : SkillDB) {
        if (IsPseudoSkillId(record.id)) continue;
        if (record.type < 0 || record.type >= kSkillTypeCount) continue;
        skillTypePoints[record.type] += GetSkillLevel(record.id);
    }
    const int32_t w = skillTypePoints[0];
    const int32_t z = skillTypePoints[1];
    const int32_t r = skillTypePoints[2];
    // 2.-3. Primaries from the totals, with the flat additions and percentages.
    const int32_t derived[kPrimaryStatCount] = {2 * w + z + r,     w + 2 * z + r,     w + z + 2 * r,
                                                2 * w + z + 2 * r, 2 * w + 2 * z + r, w + 2 * z + 2 * r};
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) {
        primary[i] = CurrentStatValue(derived[i], primaryBonus[i], primaryPercent[i], false);
    }
    // 4. Ability primary bonuses, unscaled.
    for (const AbilityRecord* ability : AbilityList) {
        if (ability == nullptr || !AbilityCounts(*this, *ability)) continue;
        for (int32_t i = 0; i < kPrimaryStatCount; ++i) primary[i] += ability->primaryMods[i];
    }
    // 5. Everything below is rebuilt from zero.
    std::fill(std::begin(stat), std::end(stat), 0);
    std::fill(std::begin(damageBonus), std::end(damageBonus), 0);
    std::fill(std::begin(resistance), std::end(resistance), 0);
    std::fill(std::begin(meleeSkillDamage), std::end(meleeSkillDamage), 0);
    std::fill(std::begin(rangedSkillDamage), std::end(rangedSkillDamage), 0);
    // 6. Secondaries from the primaries.
    const int32_t b = primary[kPrimaryBurliness];
    const int32_t g = primary[kPrimarySagacity];
    const int32_t n = primary[kPrimaryNimbleness];
    const int32_t c = primary[kPrimaryCaddishness];
    const int32_t t = primary[kPrimaryStubbornness];
    const int32_t v = primary[kPrimarySavvy];
    int32_t base[kSecondaryStatCount] = {};
    base[kStatLife] = b + c;
    base[kStatMana] = 2 * g;
    base[kStatMeleePower] = std::max(0, (b - 5) / 3);
    base[kStatMagicPower] = g / 2;
    base[kStatCrit] = c / 2;
    base[kStatHaywire] = v / 2;
    base[kStatDodge] = n / 2;
    base[kStatBlock] = t / 6 + b / 6;
    base[kStatCounter] = c / 6 + n / 6;
    base[kStatEdr] = n / 3;
    base[kStatMagicResistance] = t / 2;
    const double sneak = -20.0 - std::trunc(static_cast<double>(n + v) * -1.5 * 0.5);
    base[kStatSneakiness] = std::max(0, static_cast<int32_t>(sneak));
    base[kStatTrapSense] = 1;
    // 7. Flat additions and percentages; only the two regenerations may stay negative.
    for (int32_t i = 0; i < kSecondaryStatCount; ++i) {
        stat[i] = CurrentStatValue(base[i], statBonus[i], statPercent[i], HeroKeepsNegativeStat(i));
    }
    // 8. Ability secondary, damage and resistance bonuses.
    for (const AbilityRecord* ability : AbilityList) {
        if (ability == nullptr || !AbilityCounts(*this, *ability)) continue;
        for (int32_t i = 0; i < kSecondaryStatCount; ++i) stat[i] += ability->secondaryMods[i];
        for (int32_t i = 0; i < kDamageTypeCount; ++i) {
            damageBonus[i] += ability->damage[i];
            resistance[i] += ability->resist[i];
        }
    }
    // 9. Weapon-skill abilities, once per wielded weapon whose class maps to their skill.
    if (isPolymorphed == 0) {
        Weapon* const wielded[3] = {secondHandWeapon, firstHandWeapon, crossbow};
        for (int32_t place = 0; place < 3; ++place) {
            Weapon* weapon = wielded[place];
            if (weapon == nullptr) continue;
            for (int32_t i = 0; i < kDamageTypeCount; ++i) resistance[i] += weapon->resist[i];
            const int32_t skill = GetWeaponClass(weapon->Kind());
            const int32_t skillLevel = GetSkillLevel(skill);
            int32_t* damageInto = place == 2 ? rangedSkillDamage : meleeSkillDamage;
            for (const AbilityRecord* ability : AbilityList) {
                if (ability == nullptr || ability->skillId != skill || ability->level >= skillLevel) continue;
                for (int32_t i = 0; i < kDamageTypeCount; ++i) {
                    damageInto[i] += ability->damage[i];
                    resistance[i] += ability->resist[i];
                }
            }
        }
    }
    // 10. Buffs; a weapon's own buff adds to that weapon's attacks only.
    for (const Buff* buff : buffs) {
        if (buff == nullptr) continue;
        const bool weaponBuff = buff->fromItem && buff->item != nullptr && buff->item->type == 1;
        for (int32_t i = 0; i < kDamageTypeCount; ++i) {
            resistance[i] += buff->resist[i];
            if (!weaponBuff) damageBonus[i] += buff->damage[i];
        }
    }
    // 11. Worn pieces; armour values are never scaled.
    Item* const worn[] = {headArmour, torsoArmour, firstHandShield, secondHandShield, FirstRing(), SecondRing(),
                          Amulet(),   shoes,       gloves,          beltArmour,       pants};
    for (Item* item : worn) {
        const Armour* piece = dynamic_cast<const Armour*>(item);
        if (piece == nullptr) continue;
        stat[kStatArmourAbsorption] += piece->armourValue;
        for (int32_t i = 0; i < kDamageTypeCount; ++i) {
            damageBonus[i] += piece->damage[i];
            resistance[i] += piece->resistance[i];
        }
    }
    // 12. Never above the maxima; never raised.
    health = std::min(health, stat[kStatLife]);
    mana = std::min(mana, stat[kStatMana]);
    // 13.
    CheckEquipmentAchievements(*this);
}

void Player::AddExperience(int32_t amount, int32_t source) {
    if (quickie != 0) amount *= 2;
    if (amount != 0) {
        (void)source;
        ShowExperienceFloater(bob, amount);
        experience += amount;
        lifetimeExperience += amount;
        score += 4 * amount;
        std::printf("total xp: %i\n", experience);
    }
    const int32_t needed = ExperienceForLevel(level);
    // At the last level of the table there is nothing further to reach.
    if (needed < 0 || experience <= needed || LevelUpUnderWay) return;
    LevelUpUnderWay = true;
    LevelUp();
    // What lies beyond the threshold is lost.
    experience = 0;
    LevelUpUnderWay = false;
}

void Player::LevelUp() {
    std::printf("character has leveled\n");
    LogEvent("Player has levelled.");
    PlaySFX("levelup");
    if (dead == 0) PlayAnimationToEnd(heroAnimations[kHeroLevelUp]);
    SetIdleAnimation();
    ++level;
    ++skillPoints;
    ShowLevelUpDialog();
    health = stat[kStatLife];
    mana = stat[kStatMana];
}
