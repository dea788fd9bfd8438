#include "items_fixtures/bbq.h"

#include "core/random.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/item_pickers.h"
#include "levels/object_queue.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "media/ticker.h"

SERIALIZABLE_REGISTRATION(BBQ);

namespace {

bool IsRawSteak(const Item* item) {
    if (item == nullptr || item->type != kItemFood || item->def == nullptr) return false;
    const std::string& name = item->def->name;
    return name == "Steak" || name == "Fresh Steak" || name == "Aged Steak";
}

}  // namespace

BBQ::BBQ() {
    RefreshPicture();
}

BBQ::BBQ(SaveReader& in) : GameObj(in) {
    searched = in.ReadBool();
    RefreshPicture();
}

bool BBQ::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return out.WriteBool(searched) && ok;
}

uint32_t BBQ::GetClassHash() { return GetRegisteredClassHash("BBQ"); }
int32_t BBQ::GetClassIndex() { return GetRegisteredClassIndex("BBQ"); }

void BBQ::RefreshPicture() {
    anchorMode = 1;
    blocksMovement = 1;
    blocksSight = 0;
    Sprite* sprite = searched ? SpriteMgr_GetOrLoad("BBQ_open", "dungeon/bbq_open.spr", "", 0, 0)
                              : SpriteMgr_GetOrLoad("BBQ", "dungeon/bbq_closed.spr", "", 0, 0);
    if (sprite != nullptr) bob.SetSprite(sprite);
    bob.playing = true;
    bob.loop = true;
}

int32_t BBQ::BumpedByPlayer() {
    return GetCursorItem() != nullptr ? Activate() : 0;
}

int32_t BBQ::Activate() {
    if (!IsAdjacentToPlayer()) return 0;
    Sprite* open = SpriteMgr_GetOrLoad("BBQ_open", "dungeon/bbq_open.spr", "", 0, 0);
    if (open != nullptr) bob.SetSprite(open);
    PlaySFX("bbq");
    if (searched) {
        AddText("The grill is empty.", true);
        return 1;
    }
    if (MTOneChanceIn(2) && GetCursorItem() == nullptr) {
        const ItemDef* definition = RandomFoodDef();
        if (definition != nullptr) {
            PutItemInBag(new Food(definition));
            AddText("You find some food in the BBQ.", true);
        }
    }
    searched = true;
    return 1;
}

int32_t BBQ::UseItemOn(Item* item) {
    if (!IsRawSteak(item)) return 0;
    // Without a grilled kind nothing happens and the raw steak stays.
    const ItemDef* grilled = FindItemDefByName("Grilled Steak");
    if (grilled == nullptr) return 0;
    const bool fromCursor = GetCursorItem() == item;
    const int32_t steaks = fromCursor ? item->count : 1;
    const int32_t shopGoods = item->unpaid;  // steaks grilled of shop goods are still the shop's
    // The raw steak is used up on every path: the cursor's stack goes whole, a single one from
    // a stack elsewhere loses one.
    if (fromCursor || item->count < 2) {
        RemoveItemFromGrid(item);
        RemoveItemFromQuickbar(item);
        QueueObjectDeletion(item);
    } else {
        --item->count;
    }
    Food* food = new Food(grilled);
    food->stackable = 1;
    food->count = steaks;
    food->unpaid = shopGoods;
    AddText(steaks == 1 ? "You grill your steak on the BBQ." : "You grill your steaks on the BBQ.", true);
    PutItemInBag(food);
    PlaySFX("flame");
    return 1;
}
