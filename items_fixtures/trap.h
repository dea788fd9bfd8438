#pragma once
// Traps: items that lie armed on a square.
//
// Stand-in: the spotted flag and the class key. Still to be built here: triggering,
// detection range, disarming, trap effects and saving.
#include <cstdint>

#include "items_fixtures/item.h"

struct ItemDef;

class Trap : public Item {
public:
    explicit Trap(const ItemDef* definition);
    int32_t spotted = 0;  // the hero has come within detection range

    // The class-name key of "Trap" from the class registry; 0xFFFFFFFF (-1) when the
    // class is not registered. Path search compares objects' keys with it.
    uint32_t GetClassHash() override;
    bool IsSpottedTrap() override { return spotted != 0; }
    std::string GetItemName() const override { return DefinitionName(); }
    static uint32_t TrapClassHash();
};
