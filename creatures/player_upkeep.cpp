// The hero's turn upkeep: regeneration, the invisibility streak, the polymorph and water
// walking countdowns, sustained buffs, the status buffs the game makes itself, and the buff
// list kept free of duplicates and sorted by name.
#include <algorithm>
#include <string>

#include "core/tweak.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "items_fixtures/weapon.h"
#include "levels/level.h"
#include "media/eye_candy.h"
#include "media/sprite.h"
#include "store_platform/stats.h"

namespace {

// The skill that makes wielding two weapons free of penalty, and the skill whose bearers
// never regain health by themselves.
constexpr int32_t kDualWieldSkillId = 7;
constexpr int32_t kNoNaturalHealingSkillId = 13;
constexpr int32_t kInvisibleStreakForAchievement = 50;

const char* const kHandsFullName = "Hands Full!";

bool HasBuffNamed(const Player& hero, const std::string& buffName) {
    for (const Buff* buff : hero.buffs) {
        if (buff != nullptr && buff->name == buffName) return true;
    }
    return false;
}

// A regeneration buff showing the turns left.
Buff* MakeDigestionBuff(const char* buffName, const char* icon, const char* what, int32_t turnsLeft) {
    Buff* buff = new Buff(buffName, icon);
    buff->description = std::string(what) + " (" + std::to_string(turnsLeft) + " turns remaining)";
    buff->turnsLeft = 0;
    buff->displayCount = turnsLeft;
    return buff;
}

}  // namespace

void Player::SortBuffs() {
    std::stable_sort(buffs.begin(), buffs.end(), [](const Buff* a, const Buff* b) { return a->name < b->name; });
}

void Player::Update() {
    Hittable::Update();
    bool invisibleNow = false;
    for (const Buff* buff : buffs) invisibleNow = invisibleNow || (buff != nullptr && buff->invisible);
    invisibleTurns = invisibleNow ? invisibleTurns + 1 : 0;
    if (invisibleTurns == kInvisibleStreakForAchievement) {
        AwardAchievement("ACHIEVEMENT_NOTHING_TO_SEE_HERE");
    }
    ++healthRegenCounter;
    ++manaRegenCounter;
    const int32_t healthEvery = std::max(1, GetTweakInt("hpregenturns") - stat[kStatLifeRegen]);
    if (healthRegenCounter >= healthEvery) {
        if (health < stat[kStatLife] && GetSkillLevel(kNoNaturalHealingSkillId) <= 0) ++health;
        healthRegenCounter = 0;
    }
    const int32_t manaEvery = std::max(1, GetTweakInt("spregenturns") - stat[kStatManaRegen]);
    if (manaRegenCounter >= manaEvery) {
        if (mana < stat[kStatMana]) {
            Sprite* leyline = SpriteMgr_GetOrLoadSeries("leyline", "sprites/sfx/manafount/manafont", 7, 0, 50, 0);
            if (leyline != nullptr) SpawnFollowingEyeCandy(&bob, leyline, 1, 0);
            ++mana;
        }
        manaRegenCounter = 0;
    }
    if (sleepTurns > 0) return;
    RecalculateStats();
    if (polymorphTurns > 0 && --polymorphTurns == 0) EndPolymorph();
    if (waterWalkTurns > 0 && --waterWalkTurns == 0 && CurrentLevel != nullptr &&
        CurrentLevel->SquareKind(x, y) == SquareType::Water) {
        deathCause = female != 0 ? "when her Water Walking spell ran out" : "when his Water Walking spell ran out";
        Drown();
    }
}

void Player::UpdateBuffs() {
    for (Buff* buff : buffs) {
        if (buff == nullptr || buff->manaUpkeep == 0) continue;
        if (--buff->upkeepCounter > 0) continue;
        Player* payer = CurrentPlayer != nullptr ? CurrentPlayer : this;
        if (payer->mana > 0) {
            --payer->mana;
            buff->upkeepCounter = buff->manaUpkeep;
        } else {
            buff->manaUpkeep = 0;
            buff->expired = true;
        }
    }
    Hittable::UpdateBuffs();
    if (firstHandWeapon != nullptr && secondHandWeapon != nullptr && GetSkillLevel(kDualWieldSkillId) <= 0 &&
        !HasBuffNamed(*this, kHandsFullName)) {
        Buff* buff = new Buff(kHandsFullName, "skills/unskilled_dualwield.png");
        buff->description =
            "You aren't ambidextrous enough to be able to wield a weapon in each hand. Your attacks will be less "
            "effective until you let go of one weapon!";
        buff->turnsLeft = 1;
        buff->hideTurns = true;
        buff->displayCount = 0;
        AddBuff(buff);
    }
    if (foodRegenLeft > 0) {
        AddBuff(MakeDigestionBuff("Well Fed", "ui/icons/buff_healthy_appetite64.png",
                                  "You have eaten food and will regenerate HP.", foodRegenLeft));
    }
    if (boozeRegenLeft > 0) {
        AddBuff(MakeDigestionBuff("Fuelled by Booze", "ui/icons/buff_mindfull64.png",
                                  "You have drunk alcohol and will regenerate MP.", boozeRegenLeft));
    }
    SortBuffs();
}

void Player::AddBuff(Buff* buff) {
    if (buff == nullptr) return;
    if (!buff->allowStacking) {
        for (Buff* present : buffs) {
            if (present == nullptr || present == buff || !SameBuffKind(*present, *buff)) continue;
            present->turnsLeft = buff->turnsLeft;
            present->attacks = buff->attacks;
            present->brittle = buff->brittle;
            if (!(buff->fromItem && buff->item != nullptr)) delete buff;
            return;
        }
    } else if (buff->stackSize > 0) {
        int32_t copies = 0;
        for (const Buff* present : buffs) copies += present != nullptr && SameBuffKind(*present, *buff) ? 1 : 0;
        if (copies >= buff->stackSize) {
            if (!(buff->fromItem && buff->item != nullptr)) delete buff;
            return;
        }
    }
    // Accepted: a polymorph buff now takes the creature form named by its display name.
    if (buff->isPolymorph) StartPolymorph(monDBFindByDisplayName(buff->polymorphName.c_str()));
    Hittable::AddBuff(buff);
    SortBuffs();
}

void Player::RemoveBuff(Buff* buff) {
    if (buff == nullptr) return;
    if (buff->isPolymorph && isPolymorphed != 0) EndPolymorph();
    // Out of the list while the statistics are formed again, so that they no longer count
    // it; the caller disposes of it.
    auto it = std::find(buffs.begin(), buffs.end(), buff);
    const bool listed = it != buffs.end();
    size_t position = listed ? static_cast<size_t>(it - buffs.begin()) : 0;
    if (listed) buffs.erase(it);
    Hittable::RemoveBuff(buff);
    if (listed) buffs.insert(buffs.begin() + static_cast<std::ptrdiff_t>(std::min(position, buffs.size())), buff);
    SortBuffs();
}

void RemovePlayerInvisibility() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    for (;;) {
        auto it = std::find_if(hero->buffs.begin(), hero->buffs.end(),
                               [](const Buff* buff) { return buff != nullptr && buff->invisible; });
        if (it == hero->buffs.end()) return;
        Buff* buff = *it;
        hero->RemoveBuff(buff);
        hero->buffs.erase(std::find(hero->buffs.begin(), hero->buffs.end(), buff));
        if (!(buff->fromItem && buff->item != nullptr)) delete buff;
    }
}

void UseUpAttackBuffs() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    for (Buff* buff : hero->buffs) {
        if (buff == nullptr || buff->attacks <= 0) continue;
        if (--buff->attacks > 0) continue;
        // Spent: the buff does nothing more and goes at the next upkeep, which takes its
        // modifiers off.
        buff->targetHitEffect = BuffHook();
        buff->playerHitEffect = BuffHook();
        buff->targetKill = BuffHook();
        buff->expired = true;
    }
}
