#pragma once
// A shop pedestal: holds one item for sale, or none. Using it buys the item (or picks it up
// unpaid); dropping an item on an empty pedestal sells it, or returns unpaid goods.
//
// Save block after the GameObj block: the item as an embedded object (a presence byte, then
// the class key and the item's block). An item of a class the registry does not know fails
// the load with a message.
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"

class Item;
class Level;

// Every price the game shows or charges: the value times the scale, computed in single
// precision and truncated toward zero, never below 0 (nor above what an int32 holds).
int32_t ScaledPrice(int32_t value, float scale);
// Shop prices: the item's value times the store's buy or sell scaler (ScaledPrice). A null
// item costs 0.
int32_t ShopBuyPrice(Item* item);
int32_t ShopSellPrice(Item* item);

// The boxes the shop shows; the interface's by default, replaceable by tests.
struct ShopDialogSet {
    int32_t (*show)(const char* text, const char* firstArt, const char* secondArt);
    int32_t (*store)(Item* item, const char* firstArt, const char* secondArt, const char* thirdArt);
    void (*steal)(Item* item);
};
extern ShopDialogSet ShopDialogs;

// The item-stealing spell on a square: the item of the first stocked pedestal there (else the
// first loose unpaid item) loses its unpaid mark and lies on the square, the pedestal is
// queued for deletion, and with a chance of 10% per item level (at most 90%) the thief is
// caught: a notice, the keepers' anger and the thief music. False when nothing was stolen.
bool StealShopItemAt(Level* level, int32_t x, int32_t y);

class ShopPedestal : public GameObj {
public:
    ShopPedestal();
    explicit ShopPedestal(SaveReader& in);
    ~ShopPedestal() override;  // deletes its stock

    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return "Shop Pedestal"; }
    std::string GetDescription() override;
    const char* GetActionVerb() override;
    void Draw(const MapView& view) override;
    // Buying: 0 after a purchase try or on an empty pedestal, 1 after "do not buy" or a
    // pick-up of the unpaid item.
    int32_t Activate() override;
    // Selling, or taking back unpaid goods (1); 0 when the pedestal is full or after a sale
    // question.
    int32_t UseItemOn(Item* item) override;
    void Destroy() override;

    Item* stock = nullptr;

private:
    void RefreshPicture();
    // Takes the item (off the mouse cursor when it hangs there).
    void TakeItem(Item* item);
};
