#pragma once
// Traps: items that lie armed on a square. Save block after the Item block: definition name,
// origin square, discovered, disarmed (charges start again from the definition).
//
// Stand-in: triggering, detection range, disarming, the trap effects, drawing and the
// hidden-trap picture are still to be built.
#include <cstdint>
#include <string>

#include "items_fixtures/item.h"

struct ItemDef;

class Trap : public Item {
public:
    explicit Trap(const ItemDef* definition);
    explicit Trap(SaveReader& in);
    int32_t spotted = 0;  // discovered: the hero has seen the trap
    bool removed = false;
    int32_t originX = 0;
    int32_t originY = 0;
    int32_t charges = 0;
    bool disarmed = false;

    bool Save(SaveWriter& out) override;
    // The class-name key of "Trap" from the class registry; 0xFFFFFFFF (-1) when the
    // class is not registered. Path search compares objects' keys with it.
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    bool IsSpottedTrap() override { return spotted != 0; }
    std::string GetItemName() const override { return DefinitionName(); }
    static uint32_t TrapClassHash();
};
