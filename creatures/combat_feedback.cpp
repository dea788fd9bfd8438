#include "creatures/combat_feedback.h"

#include <cmath>
#include <string>

#include "core/random.h"
#include "creatures/hittable.h"
#include "creatures/impact_sprites.h"
#include "creatures/player.h"
#include "levels/level_cell.h"
#include "media/damage_number.h"
#include "media/eye_candy.h"
#include "media/sound.h"
#include "media/ticker.h"

namespace {

const SDL_Color kWhite = {255, 255, 255, 0};

void ShowResisted(Hittable* target) {
    PlaySFX("metal_get");
    SpawnFollowingEyeCandy(&target->bob, EyeCandyIcons.resist, 1, 0);
}

void ShowImpact(Hittable* target, int32_t type) {
    Sprite* impact = GetImpactSprite(type);
    if (impact != nullptr) SpawnFollowingEyeCandy(&target->bob, impact, 0, 1);
}

int32_t ScaleValue(const Hittable* caster, int32_t primaryIndex, int32_t secondaryIndex) {
    if (caster == nullptr) return 0;
    if (primaryIndex >= 0 && primaryIndex < kPrimaryStatCount) return caster->primary[primaryIndex];
    if (primaryIndex == -1 && secondaryIndex >= 0 && secondaryIndex < kSecondaryStatCount) {
        return caster->stat[secondaryIndex];
    }
    return 0;
}

std::string CauseText(Hittable* caster, bool casterIsHero, const char* cause) {
    if (cause != nullptr) return cause;
    if (casterIsHero || caster == nullptr) return "by the player";
    return (caster->isNamed ? "by " : "by a ") + caster->GetName();
}

}  // namespace

int32_t GetWeaponClass(int32_t weaponType) {
    switch (weaponType) {
        case 0:
        case 1:
        case 3:
        case 5:
            return weaponType;
        case 4:
        case 6:
            return 4;
        default:
            return 2;
    }
}

void ShowFloatingNumber(int32_t amount, Hittable* target, SDL_Color colour) {
    if (target == nullptr) return;
    const int32_t r1 = CRand() / 8192;
    const int32_t r2 = CRand() / 8192;
    const int32_t width = target->bob.FrameWidth();
    const int32_t across = width * (r1 + 2) / 8;
    const int32_t up = r2 * 8;
    // The large outlined number stands a little higher than the ticker-sized text once did, so
    // that its middle keeps to the same place over the target.
    SpawnDamageNumber(target->bob.x + across, target->bob.y + width / 2 - up - 12, amount, colour);
}

void ShowFloatingNumberWhite(int32_t amount, Hittable* target) { ShowFloatingNumber(amount, target, kWhite); }

bool IsInView(const Hittable* target) {
    return target != nullptr && target->cell != nullptr && target->cell->HasFlag(SquareFlag::Visible);
}

int32_t RollSpellResistance(Hittable* target) {
    if (target == nullptr) return 1;
    const int roll = PercentRoll();
    if (roll >= target->stat[kStatMagicResistance]) return 1;
    if (!IsInView(target)) return 1;
    ShowResisted(target);
    return 0;
}

int32_t RollSpellResistanceHalf(Hittable* target) {
    if (target == nullptr) return 1;
    const int roll = CRand() / 656;
    if (roll >= target->stat[kStatMagicResistance]) return 1;
    if (IsInView(target)) ShowResisted(target);
    return 0;
}

int32_t ResolveSpellDamage(Hittable* caster, Hittable* target, const int32_t base[kDamageTypeCount],
                           const float scale[kDamageTypeCount], bool allowHaywire, const char* cause,
                           int32_t primaryIndex, int32_t secondaryIndex) {
    if (target == nullptr || base == nullptr || scale == nullptr) return 0;
    Player* hero = CurrentPlayer;
    if (caster == nullptr) caster = hero;
    const bool casterIsHero = caster == nullptr || static_cast<GameObj*>(caster) == static_cast<GameObj*>(hero);
    const bool inView = IsInView(target);

    bool haywire = false;
    if (allowHaywire && caster != nullptr && PercentRoll() < caster->stat[kStatHaywire]) {
        haywire = true;
        if (inView) {
            SpawnFollowingEyeCandy(&target->bob, EyeCandyIcons.haywire, 1, 0);
            PlaySFX("haywire");
        }
    }
    bool resisted = false;
    if (!haywire && PercentRoll() < target->stat[kStatMagicResistance]) {
        resisted = true;
        if (inView) ShowResisted(target);
    }

    const float s = static_cast<float>(ScaleValue(caster, primaryIndex, secondaryIndex));

    // The physical part: each type floored at 0 after its own resistance, then the armour
    // absorption taken once from the sum.
    int32_t physical = 0;
    int32_t physicalType = kDamageCrushing;
    for (int32_t t = kDamageCrushing; t <= kDamageBlasting; ++t) {
        int32_t amount = static_cast<int32_t>(scale[t] * s + static_cast<float>(base[t]));
        if (amount > 0) amount -= target->resistance[t];
        if (amount < 0) amount = 0;
        physical += amount;
        if (base[t] > 0) physicalType = t;
    }
    physical -= target->stat[kStatArmourAbsorption];
    if (physical < 0) physical = 0;
    if (physical > 0 && inView) ShowImpact(target, physicalType);

    int32_t other = 0;
    for (int32_t t = kDamagePiercing; t < kDamageTypeCount; ++t) {
        int32_t amount = static_cast<int32_t>(std::floor(scale[t] * s)) + base[t];
        if (amount > 0) {
            amount -= target->resistance[t];
            if (amount < 0) amount = 0;
        } else {
            amount = 0;
        }
        other += amount;
        if (amount > 0 && inView) {
            ShowFloatingNumber(amount, target, DamageTypeColour[t]);
            ShowImpact(target, t);
        }
    }

    if (resisted) physical /= 4;
    const int32_t total = resisted ? physical + other / 2 : physical + other;
    if (total <= 0) {
        AddText(casterIsHero ? "Your spell does no damage!" : "The spell does no damage!", true);
        return 0;
    }
    PlaySFX("impact");
    target->TakeDamage(total, caster, CauseText(caster, casterIsHero, cause), 0, 0);
    if (inView) ShowFloatingNumber(physical, target, DamageTypeColour[physicalType]);
    return total;
}
