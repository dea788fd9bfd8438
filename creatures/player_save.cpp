// The hero's save record and its load constructor, with the gates of the older formats.
#include <algorithm>
#include <cstdio>
#include <string>

#include "core/class_registry.h"
#include "core/shell/shell_services.h"
#include "creatures/player.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/skill_item.h"
#include "items_fixtures/toolkit_windows.h"
#include "items_fixtures/weapon.h"

SERIALIZABLE_REGISTRATION(Player);

namespace {

// Skill arrays of saves up to 1.0.6: three arrays of one entry per skill id 0..33.
constexpr int32_t kOldSkillArrayLength = 34;
constexpr int32_t kEquipmentRecords = 14;
constexpr int32_t kReservedWords = 3;

// Everything the buff-free statistics of a save replace for the length of the write.
struct StatSnapshot {
    int32_t health, mana, isPolymorphed;
    const MonsterRecord* polymorphForm;
    int32_t statBonus[kSecondaryStatCount], stat[kSecondaryStatCount];
    int32_t primaryBonus[kPrimaryStatCount], primary[kPrimaryStatCount];
    int32_t damageBonus[kDamageTypeCount], resistance[kDamageTypeCount];
    int32_t melee[kDamageTypeCount], ranged[kDamageTypeCount];
    int32_t skillTypePoints[kSkillTypeCount];
};

template <typename T, size_t N>
void CopyArray(T (&to)[N], const T (&from)[N]) {
    std::copy(std::begin(from), std::end(from), std::begin(to));
}

void TakeSnapshot(const Player& hero, StatSnapshot& s) {
    s.health = hero.health;
    s.mana = hero.mana;
    s.isPolymorphed = hero.isPolymorphed;
    s.polymorphForm = hero.polymorphForm;
    CopyArray(s.statBonus, hero.statBonus);
    CopyArray(s.stat, hero.stat);
    CopyArray(s.primaryBonus, hero.primaryBonus);
    CopyArray(s.primary, hero.primary);
    CopyArray(s.damageBonus, hero.damageBonus);
    CopyArray(s.resistance, hero.resistance);
    CopyArray(s.melee, hero.meleeSkillDamage);
    CopyArray(s.ranged, hero.rangedSkillDamage);
    CopyArray(s.skillTypePoints, hero.skillTypePoints);
}

void RestoreSnapshot(Player& hero, const StatSnapshot& s) {
    hero.health = s.health;
    hero.mana = s.mana;
    hero.isPolymorphed = s.isPolymorphed;
    hero.polymorphForm = s.polymorphForm;
    CopyArray(hero.statBonus, s.statBonus);
    CopyArray(hero.stat, s.stat);
    CopyArray(hero.primaryBonus, s.primaryBonus);
    CopyArray(hero.primary, s.primary);
    CopyArray(hero.damageBonus, s.damageBonus);
    CopyArray(hero.resistance, s.resistance);
    CopyArray(hero.meleeSkillDamage, s.melee);
    CopyArray(hero.rangedSkillDamage, s.ranged);
    CopyArray(hero.skillTypePoints, s.skillTypePoints);
}

// How many secondary statistics a record of that release holds.
int32_t SavedSecondaries(const SaveVersion& v) {
    return v.AtLeast(kSaveV1_0_8) ? kSecondaryStatCount : v.AtLeast(kSaveV1_0_7) ? 23 : 22;
}

// Toolkit-window entries of a record: one per window, one fewer in 1.0.7 (the last window
// of the list came with 1.0.8).
size_t SavedWindowCount(const SaveVersion& v) {
    size_t count = ToolkitWindows.size();
    if (v.AtLeast(kSaveV1_0_7) && !v.AtLeast(kSaveV1_0_8) && count > 0) --count;
    return count;
}

// An item record without class key: the presence byte, then the item's own block.
bool WriteEquipment(SaveWriter& out, Item* item) {
    if (item == nullptr) return out.WriteByte(0);
    bool ok = out.WriteByte(1);
    return item->Save(out) && ok;
}

template <typename T>
T* ReadEquipment(SaveReader& in) {
    if (in.ReadByte() == 0 || in.Failed()) return nullptr;
    T* item = new T(in);
    if (!CheckContainedObject(in, item) || item->dropAfterLoad || in.Failed()) {
        delete item;
        return nullptr;
    }
    return item;
}

Item* ReadItemRef(SaveReader& in) {
    GameObj* obj = ReadObjectRef(in);
    Item* item = dynamic_cast<Item*>(obj);
    if (item == nullptr) delete obj;
    return item;
}

// An equipped item's own buff goes onto the hero once more.
void GrantItemBuff(Player& hero, Item* item) {
    Buff* granted = nullptr;
    if (Armour* armour = dynamic_cast<Armour*>(item)) {
        if (armour->isArtifact) granted = armour->artifactRecord.grantedBuff.get();
    } else if (Weapon* weapon = dynamic_cast<Weapon*>(item)) {
        if (weapon->isArtifact) granted = weapon->artifactRecord.grantedBuff.get();
    }
    if (granted == nullptr) return;
    granted->fromItem = true;
    granted->item = item;
    hero.AddBuff(granted);
}

}  // namespace

uint32_t Player::GetClassHash() { return GetRegisteredClassHash("Player"); }
int32_t Player::GetClassIndex() { return GetRegisteredClassIndex("Player"); }

bool Player::Save(SaveWriter& out) {
    // The record holds the hero without buffs and in its own form. The buff-free values are
    // worked out here and put back afterwards: saving never removes or adds a buff, so it
    // can neither kill the hero nor end a polymorph.
    StatSnapshot snapshot;
    TakeSnapshot(*this, snapshot);
    std::vector<Buff*> held;
    held.swap(buffs);
    for (const Buff* buff : held) {
        for (int32_t i = 0; i < kSecondaryStatCount; ++i) statBonus[i] -= buff->secondaryMods[i];
        for (int32_t i = 0; i < kPrimaryStatCount; ++i) primaryBonus[i] -= buff->primaryMods[i];
        health -= buff->secondaryMods[kStatLife];
        mana -= buff->secondaryMods[kStatMana];
    }
    const bool polymorphed = isPolymorphed != 0;
    isPolymorphed = 0;
    polymorphForm = nullptr;
    RecalculateStats();

    // Fields of later releases are written only for them, so that a stream of any release
    // this program reads can also be written.
    const SaveVersion& v = out.version;
    bool ok = Hittable::Save(out);
    int32_t ownBuffs = 0;
    for (const Buff* buff : held) ownBuffs += buff->fromItem ? 0 : 1;
    ok = out.WriteInt32(ownBuffs) && ok;
    for (const Buff* buff : held) {
        if (!buff->fromItem) ok = buff->Write(out) && ok;
    }
    ok = out.WriteString(name) && ok;
    for (int32_t value : {facing, difficulty, permadeath, score, zorkmids, dead, waterWalkTurns}) {
        ok = out.WriteInt32(value) && ok;
    }
    if (v.AtLeast(kSaveV1_0_7)) {
        ok = out.WriteInt32(quickie) && ok;
        for (int32_t value : skillLevels) ok = out.WriteInt32(value) && ok;
        for (int32_t value : skillIds) ok = out.WriteInt32(value) && ok;
    } else {
        // A level per skill id 0..33, then the ids in the order the levels place them.
        int32_t levels[kOldSkillArrayLength] = {};
        std::vector<int32_t> ids;
        for (int32_t slot = 0; slot < kBuildSkillCount; ++slot) {
            const int32_t id = skillIds[slot];
            if (id < 0 || id >= kOldSkillArrayLength || skillLevels[slot] <= 0) continue;
            levels[id] = skillLevels[slot];
        }
        for (int32_t i = 0; i < 2 * kOldSkillArrayLength; ++i) ok = out.WriteInt32(0) && ok;
        for (int32_t id = 0; id < kOldSkillArrayLength; ++id) {
            ok = out.WriteInt32(levels[id]) && ok;
            if (levels[id] > 0) ids.push_back(id);
        }
        ids.resize(kBuildSkillCount, kNoSkillId);
        for (int32_t id : ids) ok = out.WriteInt32(id) && ok;
    }
    for (int32_t value : {skillPoints, experience, lifetimeExperience, healthRegenCounter, manaRegenCounter, 0, 0, 0,
                          health, mana, level, lutefiskTithe, statBase[0], statBase[1]}) {
        ok = out.WriteInt32(value) && ok;
    }
    for (const int32_t* values : {primaryBase, primaryBonus, primaryPercent, primary}) {
        for (int32_t i = 0; i < kPrimaryStatCount; ++i) ok = out.WriteInt32(values[i]) && ok;
    }
    const int32_t secondaries = SavedSecondaries(v);
    for (const int32_t* values : {statBase, statBonus, statPercent, stat}) {
        for (int32_t i = 0; i < secondaries; ++i) ok = out.WriteInt32(values[i]) && ok;
    }
    ok = out.WriteByte(zooState) && ok;
    for (int32_t value : {foodRegenLeft, boozeRegenLeft, anvilUses, levelChangeCleared, zooMonsterCount}) {
        ok = out.WriteInt32(value) && ok;
    }
    if (v.AtLeast(kSaveV1_0_5)) {
        ok = out.WriteInt32(randomBuild) && ok;
        ok = out.WriteInt32(lastBuild) && ok;
    }
    Item* const equipment[kEquipmentRecords] = {
        firstHandWeapon, secondHandWeapon, crossbow,  firstHandShield, secondHandShield,
        torsoArmour,     headArmour,       shoes,     SecondRing(),    FirstRing(),
        Amulet(),        gloves,           pants,     beltArmour};
    const int32_t equipmentRecords = v.AtLeast(kSaveV1_0_7) ? kEquipmentRecords : kEquipmentRecords - 3;
    for (int32_t i = 0; i < equipmentRecords; ++i) {
        Item* item = equipment[i];
        const bool fits = i < 3 ? dynamic_cast<Weapon*>(item) != nullptr : dynamic_cast<Armour*>(item) != nullptr;
        ok = WriteEquipment(out, fits ? item : nullptr) && ok;
    }
    for (Item* item : quickSlots) ok = WriteObjectRef(out, item) && ok;
    // While polymorphed the hero's own belt is the stashed one.
    for (Item* item : polymorphed ? stashedAbilitySlots : abilitySlots) ok = WriteObjectRef(out, item) && ok;
    if (!v.AtLeast(kSaveV1_0_3)) ok = WriteObjectRef(out, nullptr) && ok;
    for (Item* item : InventoryGrid.cells) ok = WriteObjectRef(out, item) && ok;
    const int32_t toolTypes = v.AtLeast(kSaveV1_0_9) ? kToolTypeCount : kToolTypeCount - 1;
    for (int32_t tool = 0; tool < toolTypes; ++tool) {
        const std::vector<int32_t>& recipes = knownRecipes[tool];
        ok = out.WriteInt32(static_cast<int32_t>(recipes.size())) && ok;
        for (int32_t index : recipes) ok = out.WriteInt32(index) && ok;
    }
    const size_t windows = SavedWindowCount(v);
    for (size_t i = 0; i < windows; ++i) {
        ToolkitWindow& window = ToolkitWindows[i];
        if (!v.AtLeast(kSaveV1_0_7) && window.kind == "lathe") continue;
        if (v.AtLeast(kSaveV1_0_7)) ok = out.WriteString(window.kind) && ok;
        ok = WriteObjectRef(out, window.output) && ok;
        for (Item* item : window.slots) ok = WriteObjectRef(out, item) && ok;
    }
    if (v.AtLeast(kSaveV1_0_7)) ok = out.WriteInt32(female) && ok;
    if (v.AtLeast(kSaveV1_0_8)) ok = out.WriteInt32(extendedContent) && ok;
    if (v.AtLeast(kSaveV1_0_6)) ok = WriteObjectRef(out, GetCursorItem()) && ok;

    buffs.swap(held);
    RestoreSnapshot(*this, snapshot);
    return ok;
}

Player::Player(SaveReader& in) : Hittable(in) {
    anchorMode = 1;
    std::fill(std::begin(skillIds), std::end(skillIds), kNoSkillId);
    const SaveVersion& v = in.version;
    std::vector<Buff*> held;
    const int32_t buffCount = in.ReadCount(4);
    for (int32_t i = 0; i < buffCount && !in.Failed(); ++i) held.push_back(new Buff(in));
    name = in.ReadString();
    facing = in.ReadInt32();
    difficulty = in.ReadInt32();
    permadeath = in.ReadInt32();
    score = in.ReadInt32();
    zorkmids = in.ReadInt32InRange(0, kMaxSavedZorkmids, "the hero's zorkmids");
    dead = in.ReadInt32();
    waterWalkTurns = in.ReadInt32();
    quickie = v.AtLeast(kSaveV1_0_7) ? in.ReadInt32() : 0;
    if (v.AtLeast(kSaveV1_0_7)) {
        for (int32_t& value : skillLevels) value = in.ReadInt32InRange(0, kMaxSavedSkillLevel, "a skill level");
        for (int32_t& value : skillIds) value = in.ReadInt32();
    } else {
        // A level per skill id; the levelled ids fill the slots in id order.
        for (int32_t i = 0; i < 2 * kOldSkillArrayLength; ++i) in.ReadInt32();
        int32_t filled = 0;
        for (int32_t id = 0; id < kOldSkillArrayLength; ++id) {
            const int32_t levelOfId = in.ReadInt32();
            if (levelOfId > kMaxSavedSkillLevel) {
                in.Fail("the level " + std::to_string(levelOfId) + " of skill " + std::to_string(id) +
                        " is above " + std::to_string(kMaxSavedSkillLevel));
            }
            if (levelOfId <= 0 || in.Failed()) continue;
            if (filled == kBuildSkillCount) {
                std::printf("Player load: skill %d is beyond the seven skills of a hero and is ignored\n", id);
                continue;
            }
            skillIds[filled] = id;
            skillLevels[filled] = levelOfId;
            ++filled;
        }
        for (int32_t& value : skillIds) value = in.ReadInt32();
        for (int32_t slot = filled; slot < kBuildSkillCount; ++slot) skillIds[slot] = kNoSkillId;
    }
    skillPoints = in.ReadInt32();
    experience = in.ReadInt32();
    lifetimeExperience = in.ReadInt32();
    healthRegenCounter = in.ReadInt32();
    manaRegenCounter = in.ReadInt32();
    for (int32_t i = 0; i < kReservedWords; ++i) in.ReadInt32();
    health = in.ReadInt32();
    mana = in.ReadInt32();
    level = in.ReadInt32();
    lutefiskTithe = in.ReadInt32();
    statBase[0] = in.ReadInt32();
    statBase[1] = in.ReadInt32();
    for (int32_t* values : {primaryBase, primaryBonus, primaryPercent, primary}) {
        for (int32_t i = 0; i < kPrimaryStatCount; ++i) values[i] = in.ReadInt32();
    }
    const int32_t secondaries = SavedSecondaries(v);
    for (int32_t* values : {statBase, statBonus, statPercent, stat}) {
        for (int32_t i = 0; i < secondaries; ++i) values[i] = in.ReadInt32();
    }
    zooState = in.ReadByte();
    foodRegenLeft = in.ReadInt32();
    boozeRegenLeft = in.ReadInt32();
    anvilUses = in.ReadInt32();
    levelChangeCleared = in.ReadInt32();
    zooMonsterCount = in.ReadInt32();
    randomBuild = v.AtLeast(kSaveV1_0_5) ? in.ReadInt32() : 0;
    lastBuild = v.AtLeast(kSaveV1_0_5) ? in.ReadInt32() : 0;
    Item* equipment[kEquipmentRecords] = {};
    for (int32_t i = 0; i < kEquipmentRecords && !in.Failed(); ++i) {
        // Gloves, pants and belt came with 1.0.7.
        if (i >= 11 && !v.AtLeast(kSaveV1_0_7)) break;
        equipment[i] = i < 3 ? static_cast<Item*>(ReadEquipment<Weapon>(in)) : ReadEquipment<Armour>(in);
    }
    for (Item*& slot : quickSlots) slot = ReadItemRef(in);
    for (Item*& slot : abilitySlots) {
        slot = ReadItemRef(in);
        SkillItem* skill = dynamic_cast<SkillItem*>(slot);
        if (slot != nullptr && (skill == nullptr || skill->ability == nullptr)) {
            delete slot;
            slot = nullptr;
        }
    }
    if (!v.AtLeast(kSaveV1_0_3)) delete ReadItemRef(in);
    for (Item*& cell : InventoryGrid.cells) cell = ReadItemRef(in);
    const int32_t toolTypes = v.AtLeast(kSaveV1_0_9) ? kToolTypeCount : kToolTypeCount - 1;
    for (int32_t tool = 0; tool < toolTypes && !in.Failed(); ++tool) {
        const int32_t count = in.ReadCount(4);
        for (int32_t i = 0; i < count; ++i) {
            const int32_t index = in.ReadInt32();
            if (index < 0 || static_cast<size_t>(index) >= Recipes.size()) {
                std::printf("Player load: known recipe %d is not in the recipe list and is dropped\n", index);
                continue;
            }
            knownRecipes[tool].push_back(index);
        }
    }
    const auto readWindowContents = [&in](ToolkitWindow& window) {
        delete window.output;
        window.output = ReadItemRef(in);
        for (Item*& slot : window.slots) {
            delete slot;
            slot = ReadItemRef(in);
        }
    };
    if (!v.AtLeast(kSaveV1_0_7)) {
        // No tags: one entry per window in list order, the lathe's left out.
        for (ToolkitWindow& window : ToolkitWindows) {
            if (window.kind != "lathe") readWindowContents(window);
        }
    } else {
        const size_t entries = SavedWindowCount(v);
        for (size_t i = 0; i < entries && !in.Failed(); ++i) {
            const std::string tag = in.ReadString();
            auto window = std::find_if(ToolkitWindows.begin(), ToolkitWindows.end(),
                                       [&tag](const ToolkitWindow& w) { return w.kind == tag; });
            if (window == ToolkitWindows.end()) {
                // The slot count lives with the window: without it the rest cannot be read.
                in.Fail("the saved toolkit window \"" + tag + "\" matches no toolkit window of the item database");
                break;
            }
            readWindowContents(*window);
        }
    }
    female = v.AtLeast(kSaveV1_0_7) ? in.ReadInt32() : 0;
    extendedContent = v.AtLeast(kSaveV1_0_8) ? in.ReadInt32() : 0;
    CurrentPlayer = this;
    if (v.AtLeast(kSaveV1_0_6)) {
        Item* cursor = ReadItemRef(in);
        if (cursor != nullptr) SetCursorItem(cursor);
    }
    // The record holds health and maximum without any buff: they are whole only once the
    // last buff is back, so none of the steps between may clamp them or hurt the hero.
    restoringBuffs = true;
    ReattachEquipment(equipment);
    // The regeneration counters stay as they were read: a loaded game goes on as it was
    // saved, and saves again to the same bytes.
    walkInterrupted = 0;
    LoadAnimations(this);
    for (Buff* buff : held) AddBuff(buff);
    restoringBuffs = false;
    RecalculateStats();
    health = std::min(health, stat[kStatLife]);
    mana = std::max(0, std::min(mana, stat[kStatMana]));
    // Only a living hero is saved: with its buffs back a hero at 0 or below is a damaged save,
    // which fails here rather than die on load.
    if (health <= 0 && !in.Failed()) {
        in.Fail("the hero was saved with health " + std::to_string(health) + " of " + std::to_string(stat[kStatLife]) +
                "; a saved hero is alive");
    }
}

void Player::ReattachEquipment(Item* loaded[14]) {
    Weapon* firstWeapon = dynamic_cast<Weapon*>(loaded[0]);
    Weapon* secondWeapon = dynamic_cast<Weapon*>(loaded[1]);
    Weapon* ammunition = dynamic_cast<Weapon*>(loaded[2]);
    Armour* armour[11] = {};
    for (int32_t i = 0; i < 11; ++i) armour[i] = dynamic_cast<Armour*>(loaded[3 + i]);
    // The saved statistics already hold what the pieces add; only their places, their own
    // buffs and the weapons' record of their mastery bonuses (which taking them off again
    // subtracts) come back. A "Hands Full!" buff of two weapons is among the saved buffs.
    const auto place = [this](int32_t slot, Item* item) {
        if (item == nullptr) return;
        if (EquippedAt(slot) != nullptr) {
            std::printf("Player load: equipment slot %d is taken twice; the second piece goes to the pack\n", slot);
            if (!AddItemToInventory(item, 1)) delete item;
            return;
        }
        EquippedAt(slot) = item;
        if (Weapon* weapon = dynamic_cast<Weapon*>(item)) weapon->ComputeMastery(*this);
        GrantItemBuff(*this, item);
    };
    if (firstWeapon != nullptr) firstHandWeapon = firstWeapon;
    place(kSlotFirstHand, firstWeapon);
    if (armour[0] != nullptr && EquippedAt(kSlotFirstHand) == nullptr) firstHandShield = armour[0];
    place(kSlotFirstHand, armour[0]);
    if (secondWeapon != nullptr) secondHandWeapon = secondWeapon;
    place(kSlotSecondHand, secondWeapon);
    if (armour[1] != nullptr && EquippedAt(kSlotSecondHand) == nullptr) secondHandShield = armour[1];
    place(kSlotSecondHand, armour[1]);
    crossbow = ammunition;
    place(kSlotAmmunition, ammunition);
    torsoArmour = armour[2];
    place(kSlotChest, armour[2]);
    headArmour = armour[3];
    place(kSlotHead, armour[3]);
    shoes = armour[4];
    place(kSlotFeet, armour[4]);
    place(kSlotFirstRing, armour[6]);
    place(kSlotSecondRing, armour[5]);
    place(kSlotNeck, armour[7]);
    gloves = armour[8];
    place(kSlotHands, armour[8]);
    beltArmour = armour[10];
    place(kSlotWaist, armour[10]);
    pants = armour[9];
    place(kSlotLegs, armour[9]);
}
