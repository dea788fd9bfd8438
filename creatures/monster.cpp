#include "creatures/monster.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/class_registry.h"
#include "core/random.h"
#include "core/tweak.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "items_fixtures/quest.h"
#include "levels/level.h"
#include "media/sprite.h"

SERIALIZABLE_REGISTRATION(Monster);

namespace {

// Directions of the sprite arrays: the record lists each group in its own order.
enum Dir { kLeft = 0, kRight = 1, kUp = 2, kDown = 3 };

// How many secondary statistics a monster record of this version holds.
int32_t SavedStatBaseCount(const SaveVersion& version) {
    if (version.AtLeast(kSaveV1_0_8)) return kSecondaryStatCount;
    if (version.AtLeast(kSaveV1_0_7)) return 23;
    return 22;
}

// Upper bound of carried items a save may announce.
constexpr int32_t kMaxCarriedItems = 1000;

// The saved sleep counter of a monster that sleeps until something wakes it (placed asleep,
// with no turns counted). A counter never counts down from it: it only marks the sleep.
constexpr int32_t kSleepsUntilWoken = -1;

}  // namespace

// ---------------------------------------------------------------- construction

Monster::Monster(MonsterRecord* monsterRecord) : record(monsterRecord) {
    if (record == nullptr) record = FindRecordForSavedName("Diggle");
    if (record == nullptr) {
        // No record at all (an empty database): a bare monster that draws nothing.
        static MonsterRecord empty;
        record = &empty;
    }
    if (record->xpValue != 0) xpValue = record->xpValue;
    skillTypePoints[0] = record->numFig;
    skillTypePoints[1] = record->numWiz;
    skillTypePoints[2] = record->numRog;
    const int32_t adder = GetTweakInt("monster level adder");
    for (int32_t i = 0; i < adder; ++i) ++skillTypePoints[CRand() / 10923];
    for (int32_t i = 0; i < -adder; ++i) --skillTypePoints[CRand() / 10923];
    for (int32_t& points : skillTypePoints) points = std::max(points, 0);
    std::copy(std::begin(record->damage), std::end(record->damage), std::begin(damageBonus));
    std::copy(std::begin(record->resistances), std::end(record->resistances), std::begin(resistance));
    RecalculateStats();
    health = stat[kStatLife];
    mana = stat[kStatMana];
    active = 1;
    anchorMode = 1;  // centred on its square, standing on the bottom edge
    blocksMovement = 1;
    blocksSight = 0;
    invisible = record->invisible;
    zomby = record->zomby != 0;
    ResetAppearance();
}

Monster::Monster(SaveReader& in) : Hittable(in) {
    int32_t counters[3] = {};
    ReadBlock(in, counters);
    ResetAppearance();
    stunTurns = counters[0];
    countdownTurns = counters[1];
    lockdownTurns = counters[2];
    // Restore what ResetAppearance cleared; the status bits follow from the counters.
    if (sleepTurns > 0) statusFlags |= kStatusAsleep;
    if (sleepTurns < 0) {
        // Asleep until woken; in play such a sleep counts no turns.
        statusFlags |= kStatusAsleep;
        sleepTurns = 0;
    }
    if (fearTurns > 0) statusFlags |= kStatusAfraid;
    if (confusionTurns > 0) statusFlags |= kStatusConfused;
    if (lockdownTurns > 0) statusFlags |= kStatusLockedDown;
    // The GameObj block listed it on its level before it answered IsMonster; it joins the
    // monster list now, and stays listed once among the objects.
    if (level != nullptr && std::find(level->monsters.begin(), level->monsters.end(), this) == level->monsters.end()) {
        level->monsters.push_back(this);
    }
}

void Monster::ReadBlock(SaveReader& in, int32_t counters[3]) {
    if (in.version.AtLeast(kSaveV1_0_6)) {
        record = FindRecordForSavedName(in.ReadString());
    } else {
        const int32_t index = in.ReadInt32();
        for (MonsterRecord* candidate : MonsterTable) {
            if (candidate != nullptr && candidate->recordIndex == index) {
                record = candidate;
                break;
            }
        }
        if (record == nullptr) record = FindRecordForSavedName("Diggle");
    }
    if (record == nullptr) {
        static MonsterRecord empty;
        record = &empty;
    }
    if (in.ReadByte() != 0) {
        const int32_t index = in.ReadInt32();
        if (index >= 0 && static_cast<size_t>(index) < ActiveQuests.size()) {
            quest = ActiveQuests[static_cast<size_t>(index)];
        } else {
            std::fprintf(stderr, "Monster: saved quest index %d is not an active quest; no quest\n", index);
        }
    }
    insolent = in.ReadBool();
    noticed = in.ReadBool();
    alwaysNotices = in.ReadBool();
    attentionTurns = in.ReadInt32();
    zomby = in.ReadBool();
    charmedByHero = in.ReadBool();
    extraWord2 = in.ReadInt32();
    counters[0] = in.ReadInt32();  // stun
    counters[1] = in.ReadInt32();  // countdown
    counters[2] = in.ReadInt32();  // lockdown
    tameTurns = in.ReadInt32();
    tame = in.ReadBool();
    isNamed = in.ReadBool();
    if (isNamed) customName = in.ReadString();
    xpValue = in.ReadInt32();
    for (int32_t& points : skillTypePoints) points = in.ReadInt32();
    for (int32_t& value : primary) value = in.ReadInt32();
    std::fill(std::begin(statBase), std::end(statBase), 0);
    const int32_t stats = SavedStatBaseCount(in.version);
    for (int32_t i = 0; i < stats; ++i) statBase[i] = in.ReadInt32();
    health = in.ReadInt32();
    mana = in.ReadInt32();
    deathProcessed = in.ReadBool();
    corpseTurns = in.ReadInt32();
    sleepTurns = in.ReadInt32();
    fearTurns = in.ReadInt32();
    confusionTurns = in.ReadInt32();
    blindTurns = in.ReadInt32();
    dead = in.ReadBool() ? 1 : 0;
    isBurning = in.ReadBool();
    burnTurns = in.ReadInt32();
    isBleeding = in.ReadBool();
    bleedTurns = in.ReadInt32();
    extraWord1 = in.ReadInt32();
    blindSight = in.ReadInt32();
    zooMonster = in.ReadBool();
    invisible = record->invisible;
    if (in.version.AtLeast(kSaveV1_0_8)) {
        const int32_t count = in.ReadCount(4, kMaxCarriedItems);
        for (int32_t i = 0; i < count && !in.Failed(); ++i) {
            const uint32_t key = in.ReadUInt32();
            Serializable* item = SerializableRegistry::Instance().CreateFromSave(key, in);
            GameObj* obj = dynamic_cast<GameObj*>(item);
            if (obj != nullptr && CheckContainedObject(in, obj)) {
                carriedItems.push_back(obj);
            } else {
                delete item;
            }
        }
        invisible = in.ReadBool();
    }
}


Monster::~Monster() {
    if (level != nullptr) {
        level->RemoveObject(this);
        std::vector<SpellMine*> mines = level->spellMines;
        for (SpellMine* mine : mines) {
            if (mine != nullptr && mine->caster == this) level->RemoveSpellMine(mine);
        }
        // The timed casts it set on the creatures of its level go with it.
        for (GameObj* obj : level->objects) {
            if (obj != nullptr && obj != this && obj->IsHittable()) static_cast<Hittable*>(obj)->DropTriggersCausedBy(this);
        }
    }
    if (CurrentPlayer != nullptr) CurrentPlayer->DropTriggersCausedBy(this);
    if (commander != nullptr) {
        auto& members = commander->hordeMembers;
        members.erase(std::remove(members.begin(), members.end(), this), members.end());
    }
    for (Monster* member : hordeMembers) {
        if (member != nullptr && member->commander == this) member->commander = nullptr;
    }
    if (CurrentPlayer != nullptr) {
        auto& summoned = CurrentPlayer->summonedCreatures;
        summoned.erase(std::remove(summoned.begin(), summoned.end(), this), summoned.end());
    }
    for (GameObj* item : carriedItems) delete item;
    carriedItems.clear();
}

uint32_t Monster::GetClassHash() { return GetRegisteredClassHash("Monster"); }
int32_t Monster::GetClassIndex() { return GetRegisteredClassIndex("Monster"); }

bool Monster::Save(SaveWriter& out) {
    bool ok = Hittable::Save(out);
    // Releases up to 1.0.5 name the record by its index, later ones by its name.
    if (out.version.AtLeast(kSaveV1_0_6)) {
        ok = out.WriteString(record->name) && ok;
    } else {
        ok = out.WriteInt32(record->recordIndex) && ok;
    }
    int32_t questIndex = -1;
    for (size_t i = 0; quest != nullptr && i < ActiveQuests.size(); ++i) {
        if (ActiveQuests[i] == quest) {
            questIndex = static_cast<int32_t>(i);
            break;
        }
    }
    if (questIndex >= 0) {
        ok = out.WriteByte(1) && ok;
        ok = out.WriteInt32(questIndex) && ok;
    } else {
        ok = out.WriteByte(0) && ok;
    }
    ok = out.WriteBool(insolent) && ok;
    ok = out.WriteBool(noticed) && ok;
    ok = out.WriteBool(alwaysNotices) && ok;
    ok = out.WriteInt32(attentionTurns) && ok;
    ok = out.WriteBool(zomby) && ok;
    ok = out.WriteBool(charmedByHero) && ok;
    ok = out.WriteInt32(extraWord2) && ok;
    ok = out.WriteInt32(stunTurns) && ok;
    ok = out.WriteInt32(countdownTurns) && ok;
    ok = out.WriteInt32(lockdownTurns) && ok;
    ok = out.WriteInt32(tameTurns) && ok;
    ok = out.WriteBool(tame) && ok;
    ok = out.WriteBool(isNamed) && ok;
    if (isNamed) ok = out.WriteString(customName) && ok;
    ok = out.WriteInt32(xpValue) && ok;
    for (int32_t points : skillTypePoints) ok = out.WriteInt32(points) && ok;
    for (int32_t value : primary) ok = out.WriteInt32(value) && ok;
    const int32_t stats = SavedStatBaseCount(out.version);
    for (int32_t i = 0; i < stats; ++i) ok = out.WriteInt32(statBase[i]) && ok;
    ok = out.WriteInt32(health) && ok;
    ok = out.WriteInt32(mana) && ok;
    ok = out.WriteBool(deathProcessed) && ok;
    ok = out.WriteInt32(corpseTurns) && ok;
    ok = out.WriteInt32(HasStatus(kStatusAsleep) && sleepTurns <= 0 ? kSleepsUntilWoken : sleepTurns) && ok;
    ok = out.WriteInt32(fearTurns) && ok;
    ok = out.WriteInt32(confusionTurns) && ok;
    ok = out.WriteInt32(blindTurns) && ok;
    ok = out.WriteBool(dead) && ok;
    ok = out.WriteBool(isBurning) && ok;
    ok = out.WriteInt32(burnTurns) && ok;
    ok = out.WriteBool(isBleeding) && ok;
    ok = out.WriteInt32(bleedTurns) && ok;
    ok = out.WriteInt32(extraWord1) && ok;
    ok = out.WriteInt32(blindSight) && ok;
    ok = out.WriteBool(zooMonster) && ok;
    if (out.version.AtLeast(kSaveV1_0_8)) {
        ok = out.WriteInt32(static_cast<int32_t>(carriedItems.size())) && ok;
        for (GameObj* item : carriedItems) {
            ok = out.WriteUInt32(item->GetClassHash()) && ok;
            ok = item->Save(out) && ok;
        }
        ok = out.WriteBool(invisible) && ok;
    }
    return ok;
}

// ---------------------------------------------------------------- statistics

void Monster::RecalculateStats() {
    const int32_t f = skillTypePoints[0];
    const int32_t w = skillTypePoints[1];
    const int32_t r = skillTypePoints[2];
    const int32_t base[kPrimaryStatCount] = {2 * f + w + r,     f + 2 * w + r,     f + w + 2 * r,
                                             2 * f + w + 2 * r, 2 * f + 2 * w + r, f + 2 * w + 2 * r};
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) {
        primaryBase[i] = base[i] + record->primaryBuffs[i];
        primary[i] = std::max(0, (primaryBase[i] + primaryBonus[i]) * primaryPercent[i] / 100);
    }
    const int32_t* P = primary;
    std::fill(std::begin(statBase), std::end(statBase), 0);
    statBase[kStatLife] = P[0] + P[3];
    statBase[kStatMana] = 2 * P[1];
    statBase[kStatMeleePower] = std::max(0, (P[0] - 5) / 3);
    if (statBase[kStatMeleePower] < 1) statBase[kStatMeleePower] = 0;
    statBase[kStatMagicPower] = P[1] / 2;
    statBase[kStatCrit] = P[3] / 2;
    statBase[kStatHaywire] = P[5] / 2;
    statBase[kStatDodge] = P[2] / 2;
    statBase[kStatBlock] = P[0] / 6 + P[4] / 6;
    statBase[kStatCounter] = P[3] / 6 + P[2] / 6;
    statBase[kStatEdr] = P[2] / 3;
    statBase[kStatMagicResistance] = P[4] / 2;
    for (int32_t i = 0; i < kSecondaryStatCount; ++i) statBase[i] += record->secondaryBuffs[i];
    if (CurrentLevel != nullptr && CurrentLevel->depth >= 1) {
        const int32_t d = CurrentLevel->depth;
        int32_t L = statBase[kStatLife];
        L = static_cast<int32_t>(GetTweakFloat("monster HP global scale") * static_cast<float>(L));
        L = static_cast<int32_t>((GetTweakFloat("monster additional HP percent per level") * static_cast<float>(d) + 1.0f) *
                                 static_cast<float>(L));
        L += GetTweakInt("monster additional HP per level") * d;
        statBase[kStatLife] = L;
    }
    for (int32_t i = 0; i < kSecondaryStatCount; ++i) {
        stat[i] = std::max(0, (statBase[i] + statBonus[i]) * statPercent[i] / 100);
    }
}

bool Monster::CanBeStunned() { return record->canstun; }

bool Monster::HiddenFromHero() const {
    if (!invisible) return false;
    GameObj* hero = CurrentHero();
    const Hittable* seer = dynamic_cast<const Hittable*>(hero);
    if (seer == nullptr) return false;
    const int32_t distance = std::abs(hero->x - x) + std::abs(hero->y - y);
    return distance > seer->stat[kStatTrapSense];
}

std::string Monster::GetName() {
    if (HiddenFromHero()) return std::string();
    if (isNamed) return customName;
    return record != nullptr ? record->displayName : "Monster";
}

void Monster::ReturnToIdle() {
    if (actedLastTurn && restSprite != nullptr) bob.SetSprite(restSprite);
    actedLastTurn = false;
}

// ---------------------------------------------------------------- record lookup

MonsterRecord* FindRecordForSavedName(const std::string& savedName) {
    const std::string name = savedName == "Poison Golem" ? "Unhealthful Golem" : savedName;
    if (MonsterRecord* byName = monDBFindByName(name.c_str())) return byName;
    if (MonsterRecord* shown = monDBFindByDisplayName(name.c_str())) return shown;
    std::fprintf(stderr, "Monster: no monster record \"%s\"; it comes back as a Diggle\n", savedName.c_str());
    if (MonsterRecord* fallback = monDBFindByName("Diggle")) return fallback;
    return monDBFindByDisplayName("Diggle");
}
