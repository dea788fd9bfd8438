#include "items_fixtures/freezer.h"

#include "core/random.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/item_pickers.h"
#include "levels/object_queue.h"
#include "media/sound.h"
#include "media/ticker.h"

FIXTURE_REGISTRATION(Freezer)

Freezer::Freezer() { RefreshPicture(); }

Freezer::Freezer(SaveReader& in) : GameObj(in) {
    raided = in.version.AtLeast(kSaveV1_0_3) && in.ReadBool() ? 1 : 0;
    RefreshPicture();
}

bool Freezer::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return out.WriteBool(raided) && ok;
}

void Freezer::RefreshPicture() {
    ShowFixtureSprite(*this, "Freezer", "dungeon/minifridge.spr", false);
    bob.frame = raided != 0 ? 1 : 0;
    blocksMovement = 1;
}

void Freezer::Destroy() { QueueObjectDeletion(this); }

int32_t Freezer::BumpedByPlayer() { return GetCursorItem() != nullptr ? Activate() : 0; }

int32_t Freezer::Activate() {
    if (!IsAdjacentToPlayer()) return 0;
    PlaySFX("fridge_open");
    const bool lucky = MTOneChanceIn(2);
    const ItemDef* def = lucky && GetCursorItem() == nullptr && raided == 0 ? PickRandomPotionDef() : nullptr;
    if (def != nullptr) {
        AddText("You find a potion in the mini-fridge.", true);
        PutItemInBag(new Potion(def));
    } else {
        AddText("You find nothing in the mini-fridge.", true);
    }
    raided = 1;
    bob.frame = 1;
    return 1;
}
