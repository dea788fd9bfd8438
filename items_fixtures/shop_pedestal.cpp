#include "items_fixtures/shop_pedestal.h"

#include "items_fixtures/chest.h"
#include "items_fixtures/item.h"

FIXTURE_REGISTRATION(ShopPedestal)

ShopPedestal::ShopPedestal() { RefreshPicture(); }

ShopPedestal::ShopPedestal(SaveReader& in) : GameObj(in) {
    stock = ExpectItem(ReadEmbeddedObject(in), "shop pedestal");
    RefreshPicture();
}

ShopPedestal::~ShopPedestal() { delete stock; }

bool ShopPedestal::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return WriteEmbeddedObject(out, stock) && ok;
}

void ShopPedestal::RefreshPicture() {
    ShowFixtureSprite(*this, "shoppedestal", "dungeon/store_pedestal.png", false);
}
