#pragma once
// A vending machine of one kind: 0 bolts, 1 food, 2 drinks, 3 thrown weapons, 4 crafting
// goods. Twelve stock slots.
//
// A new machine is filled with twelve items of its kind; the hero's vending-machine theft
// abilities rob it once; activating it opens the vending window (one purchase at most).
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

    int32_t BumpedByPlayer() override { return Activate(); }
    // The theft, then the vending window; 1.
    int32_t Activate() override;

    // Fills the empty slots by kind from the C generator (a slot stays empty when no
    // definition fits).
    void FillStock();
    // The vending-machine theft abilities the hero has: each steals a filled slot's item
    // into the pack and marks the machine robbed (nothing while every slot is empty).
    void TryTheft();
    // The price a slot shows: value times "vending machine scale", truncated, never below 0;
    // 0 when empty.
    int32_t SlotPrice(int32_t slot) const;
    // Buys the slot's item when the hero holds at least the price it shows (pack, sound, slot
    // emptied); false when the slot is empty or the money short.
    bool Buy(int32_t slot);
    // The texts of a filled slot's tooltip: the name with the price, the hint, the item's
    // category, description and gameplay information (all empty for an empty slot).
    struct SlotTooltip {
        std::string title;
        std::string hint;
        std::string category;
        std::string description;
        std::string gameplay;
    };
    SlotTooltip TooltipOf(int32_t slot) const;
    // What a mouse-button release at (mx, my) does in a window whose background's top-left
    // corner is (bx, by): -2 close, a slot index 0..11 for a filled cell, -1 nothing.
    int32_t HitTest(int32_t mx, int32_t my, int32_t bx, int32_t by) const;

    int32_t kind = 0;
    Item* stock[kSlots] = {};
    int32_t robbed = 0;

private:
    void RunWindow();
    void RefreshPicture();
};
