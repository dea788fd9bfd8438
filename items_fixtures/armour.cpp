#include "items_fixtures/armour.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/class_registry.h"
#include "core/random.h"
#include "core/shell/shell_services.h"
#include "creatures/player.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_db.h"
#include "levels/level.h"
#include "levels/tutorial.h"

SERIALIZABLE_REGISTRATION(Armour);

namespace {

const ItemDef* OldArmour(int32_t id) {
    for (const ItemDef* def : ItemDefLists.all) {
        if (def->index == id) return def;
    }
    return nullptr;
}

}  // namespace

int32_t ArtifactValue(int32_t base, const ArtifactRecord& record) {
    const Buff* buff = record.grantedBuff.get();
    if (buff == nullptr) return base < 0 ? 0 : base;
    int32_t primary = 0;
    int32_t secondary = 0;
    int32_t dmg = 0;
    int32_t res = 0;
    for (int32_t v : buff->primaryMods) primary += std::abs(v);
    for (int32_t v : buff->secondaryMods) secondary += std::abs(v);
    for (int32_t v : buff->damage) dmg += std::abs(v);
    for (int32_t v : buff->resist) res += std::abs(v);
    const float sum = static_cast<float>(base) + 150.0f * primary + 100.0f * secondary + 100.0f * dmg + 50.0f * res;
    const float factor = 1.0f + 0.3f * primary + 0.1f * secondary + 0.25f * dmg + 0.1f * res;
    const float value = record.firstPower != nullptr ? (sum + 250.0f) * (1.0f + factor) : sum;
    if (!(value > 0.0f)) return 0;
    if (value > 2.0e9f) return 2000000000;
    return static_cast<int32_t>(value);
}

int32_t ArmourArtifactValue(int32_t base, const ArtifactRecord& record) {
    const Buff* buff = record.grantedBuff.get();
    if (buff == nullptr) return base < 0 ? 0 : base;
    // The bonuses count with their sign: a cursed piece is worth less.
    int32_t primary = 0;
    int32_t secondary = 0;
    int32_t dmg = 0;
    int32_t res = 0;
    for (int32_t v : buff->primaryMods) primary += v;
    for (int32_t v : buff->secondaryMods) secondary += v;
    for (int32_t v : buff->damage) dmg += v;
    for (int32_t v : buff->resist) res += v;
    const float value = static_cast<float>(base) + 150.0f * primary + 100.0f * secondary + 100.0f * dmg + 50.0f * res;
    float multiplier = 1.0f;
    multiplier += 0.3f * static_cast<float>(primary);
    multiplier += 0.1f * static_cast<float>(secondary);
    multiplier += 0.25f * static_cast<float>(dmg);
    multiplier += 0.1f * static_cast<float>(res);
    const float price = record.firstPower != nullptr ? (value + 250.0f) * (1.0f + multiplier) : value * multiplier;
    if (!(price > 0.0f)) return 0;
    if (price > 2.0e9f) return 2000000000;
    return static_cast<int32_t>(price);
}

Armour::Armour(const ItemDef* definition) : Item(definition) {
    type = kItemArmour;
    InitFromDefinition();
    const int32_t slot = Slot();
    if (definition != nullptr && definition->randoms == 1 && (slot == 3 || slot == 4 || slot == 6)) {
        // A side dimension has no depth of its own: its jewellery is made as at depth 10.
        int32_t depth = CurrentLevel != nullptr ? CurrentLevel->depth : 0;
        if (CurrentLevel != nullptr && CurrentLevel->isSideDimension != 0) depth = 10;
        // Two statements: the draws must come in this order in every build.
        int32_t power = RandomInt(depth);
        power += CRand() / 10923 + 1;
        isArtifact = true;
        GenerateArtifact(&artifactRecord, power, this);
    }
}

Armour::Armour(SaveReader& in) : Item(in) {
    type = kItemArmour;
    const ItemDef* definition = ReadItemDefinition(in, this, OldArmour);
    if (definition != nullptr && !in.version.AtLeast(kSaveV1_0_3)) {
        std::printf("read armour subtype %i\n", definition->index);
    }
    in.ReadDamageArray(resistance);
    isArtifact = in.ReadBool();
    if (isArtifact) artifactRecord.Read(in);
    InitFromDefinition();
}

Armour::~Armour() = default;

void Armour::InitFromDefinition() {
    if (def != nullptr) {
        armourValue = def->ac;
        std::copy(std::begin(def->damage), std::end(def->damage), damage);
        std::copy(std::begin(def->resist), std::end(def->resist), resistance);
        resistBonus = def->resistBonus;
        dodgeBonus = def->dodgeBonus;
    }
    if (artifactRecord.grantedBuff != nullptr) artifactRecord.grantedBuff->item = this;
}

bool Armour::Save(SaveWriter& out) {
    bool ok = Item::Save(out);
    ok = WriteItemDefinition(out, this) && ok;
    ok = out.WriteDamageArray(resistance) && ok;
    ok = out.WriteBool(isArtifact) && ok;
    if (isArtifact) ok = artifactRecord.Write(out) && ok;
    return ok;
}

uint32_t Armour::GetClassHash() { return GetRegisteredClassHash("Armour"); }
int32_t Armour::GetClassIndex() { return GetRegisteredClassIndex("Armour"); }

int32_t Armour::GetValue() {
    const int32_t base = Item::GetValue();
    return isArtifact ? ArmourArtifactValue(base, artifactRecord) : base;
}

bool Armour::FitsEquipSlot(int32_t slot) {
    if (def == nullptr || slot < 0 || slot >= 12) return false;
    switch (def->slot) {
        case 1: case 2: return slot == 1 || slot == 2;
        case 3: case 4: return slot == 3 || slot == 4;
        case 8: case 12: return false;
        default: return slot == def->slot;
    }
}

std::string Armour::GetTooltipDescription() const {
    std::string text = DefinitionDescription();
    if (isArtifact) {
        text += "\n\n" + artifactRecord.text;
        if (!artifactRecord.extraText.empty()) text += artifactRecord.extraText + "\n\n";
    }
    return text;
}

std::string Armour::GetGameplayInfo() const {
    return isArtifact ? GetArtifactPowerText(artifactRecord) : std::string();
}

std::string Armour::GetCategoryName() const {
    if (def != nullptr && !def->overrideClassName.empty()) return def->overrideClassName;
    switch (Slot()) {
        case 0: return "Armor (Torso)";
        case 1: case 2: return "Armor (Shield)";
        case 3: case 4: return "Armor (Ring)";
        case 5: return "Armor (Head)";
        case 6: return "Armor (Amulet)";
        case 7: return "Armor (Shoes)";
        case 9: return "Armor (Belt)";
        case 10: return "Armor (Gloves)";
        case 11: return "Armor (Pants)";
        default: return "Armor";
    }
}

std::string Armour::GetItemName() const {
    if (isArtifact && (def == nullptr || !def->artifact)) return artifactRecord.name;
    return def != nullptr ? def->name : std::string();
}

namespace {

Armour** TypedReference(Player* hero, int32_t slot) {
    switch (slot) {
        case kSlotChest: return &hero->torsoArmour;
        case kSlotSecondHand: return &hero->secondHandShield;
        case kSlotFirstHand: return &hero->firstHandShield;
        case kSlotHead: return &hero->headArmour;
        case kSlotFeet: return &hero->shoes;
        case kSlotWaist: return &hero->beltArmour;
        case kSlotHands: return &hero->gloves;
        case kSlotLegs: return &hero->pants;
        default: return nullptr;
    }
}

}  // namespace

int32_t Armour::Use() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr || def == nullptr) return 0;
    int32_t slot = -1;
    const int32_t kind = Slot();
    Item* replaced = nullptr;
    if (kind == 1 || kind == 2) {
        if (hero->EquippedAt(kSlotFirstHand) == nullptr) slot = kSlotFirstHand;
        else if (hero->EquippedAt(kSlotSecondHand) == nullptr) slot = kSlotSecondHand;
        if (slot < 0) return 0;
        OnEquip(slot);
        hero->EquippedAt(slot) = this;
    } else if (kind == 3 || kind == 4) {
        if (hero->EquippedAt(kSlotSecondRing) == nullptr) slot = kSlotSecondRing;
        else if (hero->EquippedAt(kSlotFirstRing) == nullptr) slot = kSlotFirstRing;
        if (slot < 0) return 0;
        hero->EquippedAt(slot) = this;
        OnEquip(slot);
    } else if (kind == 0 || kind == 5 || kind == 6 || kind == 7 || (kind >= 9 && kind <= 11)) {
        slot = kind;
        Item*& entry = hero->EquippedAt(slot);
        replaced = entry;
        if (replaced != nullptr) {
            replaced->OnUnequip(slot);
            entry = nullptr;
        }
        entry = this;
        OnEquip(slot);
    } else {
        return 0;  // "sleeve" and other words that fit no slot
    }
    TradeCarriedPlaces(this, replaced, false);
    return 1;
}

Sprite* Armour::LevelBadge() const {
    if (isArtifact) return ItemBadges.artifact;
    const int32_t level = def != nullptr ? std::max(0, std::min(10, def->level / 2)) : 0;
    return ItemBadges.level[level];
}

void Armour::DrawLevelBadge(int32_t px, int32_t py) {
    DrawItemBadge(LevelBadge(), px, py);
}

bool Armour::IsAutoPickupEnabled() const {
    return AutoLootSwitches[kArmourAutoLoot] != 0;
}

void Armour::OnEquip(int32_t slot) {
    Player* hero = CurrentPlayer;
    if (hero == nullptr || def == nullptr) return;
    if (Armour** ref = TypedReference(hero, slot)) *ref = this;
    for (int32_t i = 0; i < kDamageTypeCount; ++i) hero->damageBonus[i] += def->damage[i];
    for (int32_t i = 0; i < kDamageTypeCount; ++i) hero->resistance[i] += def->resist[i];
    for (int32_t i = 0; i < kSecondaryStatCount; ++i) hero->statBonus[i] += def->secondary[i];
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) hero->primaryBonus[i] += def->primary[i];
    if (isArtifact && artifactRecord.grantedBuff != nullptr) {
        artifactRecord.grantedBuff->fromItem = true;
        artifactRecord.grantedBuff->item = this;
        hero->AddBuff(artifactRecord.grantedBuff.get());
    }
    hero->RecalculateStats();
    if (TutorialFlag) NotifyTutorial(9, 0);
}

void Armour::OnUnequip(int32_t slot) {
    Player* hero = CurrentPlayer;
    if (hero == nullptr || def == nullptr) return;
    Buff* granted = artifactRecord.grantedBuff.get();
    if (isArtifact && granted != nullptr) {
        auto it = std::find(hero->buffs.begin(), hero->buffs.end(), granted);
        if (it != hero->buffs.end()) {
            hero->RemoveBuff(granted);
            hero->buffs.erase(std::find(hero->buffs.begin(), hero->buffs.end(), granted));
        }
    }
    if (Armour** ref = TypedReference(hero, slot)) {
        if (*ref == this) *ref = nullptr;
    }
    // A ring or amulet leaves its entry before the recalculation, so nothing of it counts on.
    if ((slot == kSlotFirstRing || slot == kSlotSecondRing || slot == kSlotNeck) && hero->EquippedAt(slot) == this) {
        hero->EquippedAt(slot) = nullptr;
    }
    for (int32_t i = 0; i < kDamageTypeCount; ++i) hero->damageBonus[i] -= def->damage[i];
    for (int32_t i = 0; i < kDamageTypeCount; ++i) hero->resistance[i] -= def->resist[i];
    for (int32_t i = 0; i < kSecondaryStatCount; ++i) hero->statBonus[i] -= def->secondary[i];
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) hero->primaryBonus[i] -= def->primary[i];
    hero->RecalculateStats();
    if (TutorialFlag) NotifyTutorial(10, 0);
}
