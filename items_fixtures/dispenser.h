#pragma once
// A vending machine of one kind: 0 bolts, 1 food, 2 drinks, 3 thrown weapons, 4 crafting
// goods. Twelve stock slots.
//
// Stand-in: the record, picture and registration are built; filling the stock, the theft
// and the vending window are still to be built (a new machine stands empty).
//
// Save block after the GameObj block: kind, the 12 stock slots (embedded objects), robbed
// (from 1.0.8; older machines load as robbed).
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"

class Item;

class Dispenser : public GameObj {
public:
    static constexpr int kSlots = 12;

    explicit Dispenser(int32_t kind);
    explicit Dispenser(SaveReader& in);
    ~Dispenser() override;  // deletes its stock

    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override;
    const char* GetActionVerb() override { return "Purchase Goods"; }

    int32_t kind = 0;
    Item* stock[kSlots] = {};
    int32_t robbed = 0;

private:
    void RefreshPicture();
};
