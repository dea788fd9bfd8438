// Stand-in: what is still to be built is listed at the top of items_fixtures/weapon.h.
#include "items_fixtures/weapon.h"


#include "core/class_registry.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/item_db.h"

SERIALIZABLE_REGISTRATION(Weapon);

namespace {

const ItemDef* OldWeapon(int32_t position) {
    if (position < 0 || static_cast<size_t>(position) >= ItemDefLists.weapons.size()) return nullptr;
    return ItemDefLists.weapons[static_cast<size_t>(position)];
}

}  // namespace

Weapon::Weapon(const ItemDef* definition) : Item(definition) {
    type = kItemWeapon;
    if (definition != nullptr) {
        std::copy(std::begin(definition->damage), std::end(definition->damage), damage);
        std::copy(std::begin(definition->resist), std::end(definition->resist), resist);
        stackable = definition->itemClass >= kWeaponThrowing ? 1 : 0;
    }
}

Weapon::Weapon(SaveReader& in) : Item(in) {
    type = kItemWeapon;
    const ItemDef* definition = ReadItemDefinition(in, this, OldWeapon);
    in.ReadDamageArray(damage);
    if (in.version.AtLeast(kSaveV1_0_10)) {
        in.ReadDamageArray(resist);
    } else if (definition != nullptr) {
        std::copy(std::begin(definition->resist), std::end(definition->resist), resist);
    }
    isArtifact = in.ReadBool();
    if (isArtifact) {
        artifactRecord.Read(in);
        if (artifactRecord.grantedBuff != nullptr) artifactRecord.grantedBuff->item = this;
    }
}

Weapon::~Weapon() = default;

bool Weapon::Save(SaveWriter& out) {
    bool ok = Item::Save(out);
    ok = WriteItemDefinition(out, this) && ok;
    ok = out.WriteDamageArray(damage) && ok;
    if (out.version.AtLeast(kSaveV1_0_10)) ok = out.WriteDamageArray(resist) && ok;
    ok = out.WriteBool(isArtifact) && ok;
    if (isArtifact) ok = artifactRecord.Write(out) && ok;
    return ok;
}

uint32_t Weapon::GetClassHash() { return GetRegisteredClassHash("Weapon"); }
int32_t Weapon::GetClassIndex() { return GetRegisteredClassIndex("Weapon"); }

std::string Weapon::GetItemName() const {
    std::string text = def != nullptr ? def->name : std::string();
    if (isArtifact && (def == nullptr || !def->artifact)) text = artifactRecord.name;
    if (count >= 2) text += "(" + std::to_string(count) + ")";
    return text;
}

std::string Weapon::GetCategoryName() const {
    static const char* const kNames[] = {"Sword Class Weapon",    "Axe Class Weapon",      "Mace Class Weapon",
                                         "Staff Class Weapon",    "Crossbow Class Weapon", "Throwing Class Weapon",
                                         "Ammunition"};
    const int32_t kind = Kind();
    return kind >= 0 && kind <= 6 ? kNames[kind] : "Weapon";
}

std::string Weapon::GetTooltipDescription() const {
    std::string text = DefinitionDescription();
    if (isArtifact) text += "\n\n" + artifactRecord.text;
    return text;
}

bool Weapon::FitsEquipSlot(int32_t slot) {
    const int32_t kind = Kind();
    if (kind == kWeaponCrossbow) return slot == 8;
    if (kind == kWeaponThrowing || kind == kWeaponAmmunition) return false;
    return slot == 1 || slot == 2;
}

int32_t Weapon::GetValue() {
    const int32_t base = Item::GetValue();
    return isArtifact ? ArtifactValue(base, artifactRecord) : base;
}
