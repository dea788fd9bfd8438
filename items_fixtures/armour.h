#pragma once
// Armour: every wearable piece (torso, shields, rings, helmets, amulets, shoes, belts, gloves,
// pants). Rings and amulets whose definition asks for random properties become artifacts.
// Save block after the Item block: definition name, resistances, the artifact flag and, when
// set, the artifact record.
#include <cstdint>
#include <string>

#include "items_fixtures/artifact.h"
#include "items_fixtures/item.h"

// The auto-loot switch of armour (positions 1-7 and 9-11 belong to the other classes).
constexpr int32_t kArmourAutoLoot = 0;

class Armour : public Item {
public:
    explicit Armour(const ItemDef* definition);
    explicit Armour(SaveReader& in);
    ~Armour() override;

    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    int32_t GetValue() override;
    bool FitsEquipSlot(int32_t slot) override;
    bool IsArtifact() const override { return isArtifact; }
    std::string GetTooltipDescription() const override;
    std::string GetGameplayInfo() const override;
    std::string GetCategoryName() const override;
    std::string GetItemName() const override;
    int32_t Slot() const { return def != nullptr ? def->slot : -1; }
    // Shields go to the first hand, then the second; rings to the second ring slot (4), then
    // the first (3). 0 when both are taken.
    // Puts the piece on from the pack or the belt: shields into a free hand, rings into a free
    // ring slot (0 when none is free), every other piece in place of the one worn, which
    // takes the new piece's belt slots or goes into the pack.
    int32_t Use() override;
    void DrawLevelBadge(int32_t x, int32_t y) override;
    // The badge DrawLevelBadge shows: the artifact mark, or the level's numeral.
    Sprite* LevelBadge() const;
    bool IsAutoPickupEnabled() const override;
    void OnEquip(int32_t slot) override;
    void OnUnequip(int32_t slot) override;

    ArtifactRecord artifactRecord;
    int32_t armourValue = 0;
    int32_t damage[kDamageTypeCount] = {};
    int32_t resistance[kDamageTypeCount] = {};
    int32_t resistBonus = 0;
    int32_t dodgeBonus = 0;
    bool isArtifact = false;

private:
    void InitFromDefinition();
};

// The value of an artifact weapon from its base price and bonus buff (the bonuses by their
// size); never below 0.
int32_t ArtifactValue(int32_t base, const ArtifactRecord& record);
// The value of an artifact armour piece: value = base + 150 P + 100 S + 100 D + 50 R over the
// signed sums of its buff's primary, secondary, damage and resistance bonuses, multiplier
// m = 1 + 0.3 P + 0.1 S + 0.25 D + 0.1 R; the price is value x m, or (value + 250) x (1 + m)
// with an item power, truncated and never below 0.
int32_t ArmourArtifactValue(int32_t base, const ArtifactRecord& record);
