#include "items_fixtures/shop_pedestal.h"

#include "core/event_log.h"
#include "core/saturating.h"
#include "core/tweak.h"
#include "creatures/player.h"
#include "interface/ui_services.h"
#include "items_fixtures/chest.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_db.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "media/music.h"
#include "media/sprite.h"
#include "core/random.h"
#include <algorithm>
#include <vector>

FIXTURE_REGISTRATION(ShopPedestal)

ShopDialogSet ShopDialogs = {ShowDialog, ShowStoreDialog, ShowStealDialog};

namespace {

int32_t ItemPrice(Item* item, const char* scaler) {
    return item != nullptr ? ScaledPrice(item->GetValue(), GetTweakFloat(scaler)) : 0;
}

}  // namespace

int32_t ScaledPrice(int32_t value, float scale) {
    const float price = static_cast<float>(value) * scale;
    if (!(price > 0.0f)) return 0;
    if (price >= 2147483520.0f) return 2147483520;  // the largest float below 2^31
    return static_cast<int32_t>(price);
}

int32_t ShopBuyPrice(Item* item) { return ItemPrice(item, "store buy price scaler"); }
int32_t ShopSellPrice(Item* item) { return ItemPrice(item, "store sell price scaler"); }

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

std::string ShopPedestal::GetDescription() {
    if (stock == nullptr) return "Drop an item on the Pedestal to sell it!";
    return stock->GetName() + " (cost: " + std::to_string(ShopBuyPrice(stock)) + " zorkmids)";
}

const char* ShopPedestal::GetActionVerb() { return stock != nullptr ? "Perform Feats of Shopping" : nullptr; }

void ShopPedestal::Draw(const MapView& view) {
    if (!PlaceBob(view)) return;
    bob.Draw();
    if (stock != nullptr && stock->iconSprite != nullptr) stock->iconSprite->DrawFrame(bob.x, bob.y + 32, 0);
}

void ShopPedestal::TakeItem(Item* item) {
    ForgetCursorItem(item);
    stock = item;
}

int32_t ShopPedestal::Activate() {
    if (stock == nullptr) return 0;
    Player* hero = CurrentPlayer;
    const int32_t price = ShopBuyPrice(stock);
    const int32_t answer =
        ShopDialogs.store(stock, "ui/dialog_but_Buy", "ui/dialog_but_DontBuy", "ui/dialog_but_PickUp");
    if (answer == 1) return 1;
    if (answer == 2) {
        Item* item = stock;
        stock = nullptr;
        item->unpaid = 1;
        PutItemInBag(item);
        if (CurrentLevel != nullptr) CurrentLevel->UpdateShopkeeperPositions();
        return 1;
    }
    if (hero != nullptr && hero->zorkmids >= price) {
        LogEvent("Player bought items from a shop");
        AddCollectedStat("Total Purchases", price);
        hero->zorkmids -= price;
        Item* item = stock;
        stock = nullptr;
        item->unpaid = 0;
        PutItemInBag(item);
    } else {
        ShopDialogs.show("You don't have the money, punk!", "ui/dialog_but_ok", nullptr);
    }
    return 0;
}

int32_t ShopPedestal::UseItemOn(Item* item) {
    if (item == nullptr || stock != nullptr) return 0;
    if (item->unpaid != 0) {
        TakeItem(item);
        if (CurrentLevel != nullptr) CurrentLevel->UpdateShopkeeperPositions();
        return 1;
    }
    const int32_t price = ShopSellPrice(item);
    if (ShopDialogs.store(item, "ui/dialog_but_Sell", "ui/dialog_but_DontSell", nullptr) == 0) {
        TakeItem(item);
        if (CurrentPlayer != nullptr) CurrentPlayer->GainZorkmids(price);
        item->unpaid = 1;
    }
    return 0;
}

void ShopPedestal::Destroy() { QueueObjectDeletion(this); }

bool StealShopItemAt(Level* level, int32_t x, int32_t y) {
    if (level == nullptr) return false;
    const LevelCell* cell = level->GetCell(x, y);
    if (cell == nullptr) return false;
    const std::vector<GameObj*> here = cell->contents;
    Item* stolen = nullptr;
    for (GameObj* obj : here) {
        ShopPedestal* pedestal = dynamic_cast<ShopPedestal*>(obj);
        if (pedestal == nullptr || pedestal->stock == nullptr) continue;
        stolen = pedestal->stock;
        pedestal->stock = nullptr;
        stolen->unpaid = 0;
        stolen->PlaceOnLevel(x, y, level, 0);
        pedestal->Destroy();
        break;
    }
    if (stolen == nullptr) {
        for (GameObj* obj : here) {
            Item* item = obj != nullptr && obj->IsItem() ? static_cast<Item*>(obj) : nullptr;
            if (item == nullptr || item->unpaid == 0) continue;
            stolen = item;
            stolen->unpaid = 0;
            break;
        }
    }
    if (stolen == nullptr) return false;
    const int32_t itemLevel = stolen->def != nullptr ? stolen->def->level : 0;
    const int32_t chance = std::max(0, std::min(10 * itemLevel, 90));
    if (RandomInt(100) >= 100 - chance) {
        ShopDialogs.show("You've been caught!", "ui/dialog_but_ok", nullptr);
        AngerShopkeepers(level);
        PlayMusic("tunes/thief-open.ogg", "tunes/thief-repeat.ogg");
    }
    return true;
}
