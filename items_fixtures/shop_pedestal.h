#pragma once
// A shop pedestal: holds one item for sale, or none.
//
// Stand-in: the record, picture and registration are built; buying, selling, the price
// tooltip and drawing the item on top are still to be built.
//
// Save block after the GameObj block: the item as an embedded object (a presence byte, then
// the class key and the item's block). An item of a class the registry does not know fails
// the load with a message.
#include <string>

#include "items_fixtures/fixture.h"

class Item;

class ShopPedestal : public GameObj {
public:
    ShopPedestal();
    explicit ShopPedestal(SaveReader& in);
    ~ShopPedestal() override;  // deletes its stock

    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return "Shop Pedestal"; }

    Item* stock = nullptr;

private:
    void RefreshPicture();
};
