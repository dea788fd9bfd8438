#include "creatures/hittable.h"

#include <algorithm>

#include "core/class_registry.h"
#include "core/random.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "items_fixtures/item.h"
#include "levels/level.h"
#include "levels/tile_effects.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "store_platform/stats.h"
#include "store_platform/store.h"

SERIALIZABLE_REGISTRATION(Hittable);

namespace {

const char* const kThaumiteConsumption = "Thaumite Consumption";

// How many secondary statistics a stream of this version holds.
int32_t SavedSecondaryCount(const SaveVersion& version) {
    if (version.AtLeast(1, 0, 8)) return kSecondaryStatCount;
    if (version.AtLeast(1, 0, 7)) return 23;
    return 22;
}

void GrantAchievement(const char* name) {
    AwardAchievement(name);
}

bool IsWeaponGranted(const Buff* buff) {
    return buff->fromItem && buff->item != nullptr && buff->item->type == 1;
}

}  // namespace

Hittable::Hittable() {
    std::fill(std::begin(statPercent), std::end(statPercent), 100);
    std::fill(std::begin(primaryPercent), std::end(primaryPercent), 100);
}

Hittable::Hittable(SaveReader& in) : GameObj(in) {
    std::fill(std::begin(statPercent), std::end(statPercent), 100);
    std::fill(std::begin(primaryPercent), std::end(primaryPercent), 100);
    ReadBlock(in);
}

Hittable::~Hittable() {
    spellTriggers.clear();
    // A buff granted by an item belongs to the item.
    for (Buff* buff : buffs) {
        if (!(buff->fromItem && buff->item != nullptr)) delete buff;
    }
    buffs.clear();
}

uint32_t Hittable::GetClassHash() { return GetRegisteredClassHash("Hittable"); }
int32_t Hittable::GetClassIndex() { return GetRegisteredClassIndex("Hittable"); }

bool Hittable::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    ok = out.WriteBool(isOiled) && ok;
    ok = out.WriteBool(isBurning) && ok;
    ok = out.WriteInt32(burnTurns) && ok;
    ok = out.WriteBool(isBleeding) && ok;
    ok = out.WriteInt32(bleedTurns) && ok;
    ok = out.WriteInt32(stunTurns) && ok;
    ok = out.WriteDamageArray(damageBonus) && ok;
    ok = out.WriteDamageArray(resistance) && ok;
    const int32_t secondaries = SavedSecondaryCount(out.version);
    for (int32_t i = 0; i < secondaries; ++i) {
        ok = out.WriteInt32(statBase[i]) && ok;
        ok = out.WriteInt32(statBonus[i]) && ok;
        ok = out.WriteInt32(statPercent[i]) && ok;
        ok = out.WriteInt32(stat[i]) && ok;
    }
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) {
        ok = out.WriteInt32(primaryBase[i]) && ok;
        ok = out.WriteInt32(primaryBonus[i]) && ok;
        ok = out.WriteInt32(primaryPercent[i]) && ok;
        ok = out.WriteInt32(primary[i]) && ok;
    }
    return ok;
}

void Hittable::ReadBlock(SaveReader& in) {
    isOiled = in.ReadBool();
    isBurning = in.ReadBool();
    burnTurns = in.ReadInt32();
    isBleeding = in.ReadBool();
    bleedTurns = in.ReadInt32();
    stunTurns = in.ReadInt32();
    in.ReadDamageArray(damageBonus);
    in.ReadDamageArray(resistance);
    const int32_t secondaries = SavedSecondaryCount(in.version);
    for (int32_t i = 0; i < secondaries; ++i) {
        statBase[i] = in.ReadInt32();
        statBonus[i] = in.ReadInt32();
        statPercent[i] = in.ReadInt32();
        stat[i] = in.ReadInt32();
    }
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) {
        primaryBase[i] = in.ReadInt32();
        primaryBonus[i] = in.ReadInt32();
        primaryPercent[i] = in.ReadInt32();
        primary[i] = in.ReadInt32();
    }
}

void Hittable::RecalculateStats() {}

void Hittable::FormCurrentStats(bool heroRules) {
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) {
        primary[i] = CurrentStatValue(primaryBase[i], primaryBonus[i], primaryPercent[i], false);
    }
    for (int32_t i = 0; i < kSecondaryStatCount; ++i) {
        stat[i] = CurrentStatValue(statBase[i], statBonus[i], statPercent[i], heroRules && HeroKeepsNegativeStat(i));
    }
}

const char* Hittable::LosingAllHealthCause() {
    const bool female = CurrentPlayer != nullptr && CurrentPlayer->female != 0;
    return female ? "by losing all her health" : "by losing all his health";
}

bool Hittable::ApplyModifiers(const Buff* buff, int32_t sign) {
    bool lethal = false;
    const bool weapon = IsWeaponGranted(buff);
    for (int32_t t = 0; t < kDamageTypeCount; ++t) {
        if (!weapon) damageBonus[t] += sign * buff->damage[t];
        resistance[t] += sign * buff->resist[t];
    }
    for (int32_t i = 0; i < kSecondaryStatCount; ++i) {
        const int32_t m = sign * buff->secondaryMods[i];
        if (m == 0) continue;
        statBonus[i] += m;
        if (i == kStatLife) {
            health += m;
            if (health <= 0) lethal = true;
        } else if (i == kStatMana) {
            mana += m;
        }
    }
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) primaryBonus[i] += sign * buff->primaryMods[i];
    return lethal;
}

void Hittable::AddBuff(Buff* buff) {
    if (buff == nullptr) return;
    buffs.push_back(buff);
    const bool lethal = ApplyModifiers(buff, 1);
    RecalculateStats();
    if (restoringBuffs) return;
    health = std::min(health, stat[kStatLife]);
    mana = std::min(mana, stat[kStatMana]);
    if (stat[kStatLife] <= 0 || health <= 0 || lethal) {
        TakeDamage(10, nullptr, LosingAllHealthCause(), 0, 0);
        if (health <= 0) TakeDamage(1000, nullptr, LosingAllHealthCause(), 0, 0);
    }
    if (mana < 0) mana = 0;
}

void Hittable::RemoveBuff(Buff* buff) {
    if (buff == nullptr) return;
    ApplyModifiers(buff, -1);
    RecalculateStats();
    health = std::min(health, stat[kStatLife]);
    mana = std::min(mana, stat[kStatMana]);
    if (health <= 0) TakeDamage(1000, nullptr, "from a buff wearing off.", 0, 0);
    if (mana < 0) mana = 0;
}

void Hittable::UpdateBuffs() {
    // Indexed: RemoveBuff may reach code that appends to the list.
    for (size_t i = 0; i < buffs.size(); ++i) {
        Buff* buff = buffs[i];
        if (!buff->frozenTimer) --buff->turnsLeft;
        // An expired buff always gives its modifiers back, frozen timer or not.
        if (buff->expired) {
            RemoveBuff(buff);
        } else if (!buff->frozenTimer && buff->turnsLeft < 0 && buff->usesTimer) {
            RemoveBuff(buff);
        }
    }
    std::vector<Buff*> kept;
    kept.reserve(buffs.size());
    std::vector<Buff*> ended;
    for (Buff* buff : buffs) {
        const bool over = buff->expired || (buff->turnsLeft < 0 && !buff->frozenTimer && buff->usesTimer);
        (over ? ended : kept).push_back(buff);
    }
    buffs.swap(kept);
    for (Buff* buff : ended) delete buff;
}

int32_t Hittable::AddCountdown(int32_t turns) {
    countdownTurns += turns;
    return turns;
}

void Hittable::AddStunTurns(int32_t turns) { stunTurns += turns; }

void Hittable::Update() {
    GameObj::Update();
    if (foodRegenLeft > 0) {
        if (health < stat[kStatLife]) ++health;
        --foodRegenLeft;
    }
    if (boozeRegenLeft > 0) {
        if (mana < stat[kStatMana]) ++mana;
        --boozeRegenLeft;
    }
    TriggerSpellMines();
}

void Hittable::TickSpellTriggers() {
    Player* hero = CurrentPlayer;
    const bool isHero = hero != nullptr && static_cast<GameObj*>(hero) == static_cast<GameObj*>(this);
    for (auto it = spellTriggers.begin(); it != spellTriggers.end();) {
        SpellTrigger& trigger = *it;
        --trigger.turnsLeft;
        const bool due = trigger.turnsLeft <= 0 || (trigger.repeats && health > 0);
        if (due && PercentRoll() <= trigger.chance && trigger.spell != nullptr) {
            Spell* spell = trigger.spell;
            if (!spell->sfx.empty()) PlaySFX(spell->sfx.c_str());
            const bool heroWasAlive = hero != nullptr && hero->dead == 0;
            const Hittable* from = trigger.caster != nullptr ? trigger.caster : hero;
            CastSpell(spell, from != nullptr ? from->x : x, from != nullptr ? from->y : y, x, y, trigger.caster, false,
                      false);
            if (isHero && heroWasAlive && hero->dead != 0 && spell->name == kThaumiteConsumption) {
                GrantAchievement("ACHIEVEMENT_DEATH_BY_THAUMITES");
            }
        }
        // A trigger whose turns have run out fires once and goes; one that started at 0 or
        // below goes after its single chance too.
        if (trigger.turnsLeft <= 0) {
            if (isHero && hero->dead == 0 && trigger.spell != nullptr && trigger.spell->name == kThaumiteConsumption) {
                GrantAchievement("ACHIEVEMENT_SURVIVE_THAUMITES");
            }
            it = spellTriggers.erase(it);
        } else {
            ++it;
        }
    }
}

void Hittable::DropTriggersCausedBy(const Hittable* causer) {
    if (causer == nullptr) return;
    spellTriggers.remove_if([causer](const SpellTrigger& trigger) { return trigger.caster == causer; });
}

void Hittable::TriggerSpellMines() {
    if (health < 1 || cell == nullptr || level == nullptr) return;
    // Copied: a mine's effects may add or remove mines of this square.
    const std::vector<SpellMine*> mines = cell->mines;
    for (SpellMine* mine : mines) {
        Spell* spell = mine->spell;
        if (spell == nullptr) continue;
        PlayEffectAtTile(x, y, spell->animSprite.c_str(), spell->animFrames, spell->animFramerate,
                         spell->animCenterEffect != 0, false);
        Hittable* caster = mine->caster != nullptr && mine->caster->IsHittable()
                               ? static_cast<Hittable*>(mine->caster)
                               : nullptr;
        ApplySpellEffects(spell, x, y, caster, true, nullptr, "from a spell mine", false);
    }
    for (SpellMine* mine : mines) {
        if (mine->spell != nullptr && mine->spell->minePermanent) continue;
        level->RemoveSpellMine(mine);
    }
}

void Hittable::DrawBody(const MapView& view) { GameObj::Draw(view); }

void Hittable::Draw(const MapView& view) {
    DrawBody(view);
    if (health < 1) return;
    const int32_t bodyWidth = bob.FrameWidth();
    const int32_t bodyHeight = bob.FrameHeight();
    for (Buff* buff : buffs) {
        if (buff->halo == nullptr) continue;
        const int32_t haloWidth = buff->haloBob.FrameWidth();
        buff->halo->DrawFrame(bob.x + bodyWidth / 2 - haloWidth / 2, bob.y + bodyHeight - 128, buff->haloBob.frame);
    }
}

void Hittable::AdvanceAnimation(int32_t elapsedMs) {
    bob.Update(elapsedMs);
    for (Buff* buff : buffs) {
        if (buff->halo != nullptr) buff->haloBob.Update(elapsedMs);
    }
}
