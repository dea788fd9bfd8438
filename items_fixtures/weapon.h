#pragma once
// Weapons: swords, axes, maces and staves for the hands, crossbows for the ammunition slot,
// and stacks of throwing weapons and bolts. A weapon may carry an artifact record. Its save
// block after the Item block: definition name, damage, resistances (from 1.0.10), the
// artifact flag and, when set, the artifact record.
#include <cstdint>
#include <string>

#include "creatures/damage_type.h"
#include "items_fixtures/artifact.h"
#include "items_fixtures/item.h"

class Player;

class Weapon : public Item {
public:
    explicit Weapon(const ItemDef* definition);
    explicit Weapon(SaveReader& in);
    ~Weapon() override;

    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    int32_t GetValue() override;
    bool IsArtifact() const override { return isArtifact; }
    int32_t GetWeaponLevel() override { return def != nullptr ? def->level : 0; }
    std::string GetItemName() const override;
    std::string GetCategoryName() const override;
    std::string GetTooltipDescription() const override;
    // Kind 4 fits only the ammunition slot 8, kinds 5 and 6 nothing, others the hands 1 and 2.
    bool FitsEquipSlot(int32_t slot) override;
    // From the pack or the belt: throwing weapons and bolts become the active item; a crossbow
    // goes to slot 8 (swapping the held one); other weapons go to a hand, swapping the weapon
    // there, which takes the new one's backpack cell or belt slot.
    int32_t Use() override;
    // At a creature: bolts are fired (a crossbow must be held), a throwing weapon is thrown;
    // hand weapons answer true and do nothing. True when the use took place.
    int32_t UseOn(GameObj* target, GameObj* user) override;
    // At a square: bolts are fired or a throwing weapon thrown toward it; whatever stands
    // where the missile stops is struck. Other kinds do nothing.
    int32_t UseAtSquare(int32_t x, int32_t y, GameObj* user) override;
    void DrawLevelBadge(int32_t x, int32_t y) override;
    // The badge DrawLevelBadge shows: the artifact mark, or the level's numeral.
    Sprite* LevelBadge() const;
    bool IsAutoPickupEnabled() const override;
    int32_t Kind() const { return def != nullptr ? def->itemClass : 0; }
    // The skill whose abilities add mastery bonuses to this kind of weapon.
    int32_t MasterySkill() const;
    // Records the weapon in the hero's slot (1, 2 or 8), adds its bonuses and its artifact buff.
    void OnEquip(int32_t slot) override;
    // Works out the mastery bonuses the hero's skill gives this weapon (masterySecondary,
    // masteryPrimary) without adding them anywhere: OnEquip adds them, and a load, whose
    // saved statistics already hold them, sets them again so that OnUnequip can take them off.
    void ComputeMastery(const Player& hero);
    // For a held weapon whose skill level has changed: takes the mastery bonuses it added off
    // the hero, works them out again and adds the new ones (without recalculating).
    void RefreshMastery(Player& hero);
    // Takes off exactly what OnEquip added and drops the penalty buffs that no longer apply.
    void OnUnequip(int32_t slot) override;
    // Adds "Hands Full!" when both hands hold weapons without the dual-wield skill.
    static void CheckDualWield();
    // An artifact's buff shows the weapon's own icon in the buff column.
    void LendIconToBuff();

    int32_t damage[kDamageTypeCount] = {};
    int32_t resist[kDamageTypeCount] = {};
    bool isArtifact = false;
    ArtifactRecord artifactRecord;
    // The mastery bonuses OnEquip added, taken off again by OnUnequip.
    int32_t masterySecondary[kSecondaryStatCount] = {};
    int32_t masteryPrimary[kPrimaryStatCount] = {};

    // The two damage kinds an uber chest's weapon may gain in: righteous and aethereal.
    static constexpr int32_t kChestBonusKinds[2] = {kDamageRighteous, kDamageAethereal};
    // Raises the damage of the first or the second of those kinds by `amount`. The bonus is
    // part of the damage words, so it strikes in combat and is saved with them.
    void AddChestBonus(int32_t which, int32_t amount);
};
