#include "items_fixtures/ring_of_protection.h"

#include "levels/object_queue.h"
#include "media/sprite.h"

SERIALIZABLE_REGISTRATION(RingOfProtection);

namespace {
const char* const kRingPicture = "sprites/sfx/ring_of_protection.spr";
}  // namespace

RingOfProtection::RingOfProtection(Level*, int32_t turns, int32_t offsetX, int32_t offsetY)
    : turnsLeft(turns), modeA(offsetX), modeB(offsetY) {
    coversSquareAbove = 0;
    blocksSight = 0;
    blocksMovement = 1;
    RefreshPicture();
}

RingOfProtection::RingOfProtection(SaveReader& in) : GameObj(in) {
    marker = in.ReadInt32();
    RefreshPicture();
}

bool RingOfProtection::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return out.WriteInt32(marker) && ok;
}

uint32_t RingOfProtection::GetClassHash() { return GetRegisteredClassHash("RingOfProtection"); }
int32_t RingOfProtection::GetClassIndex() { return GetRegisteredClassIndex("RingOfProtection"); }

void RingOfProtection::Destroy() { QueueObjectDeletion(this); }

void RingOfProtection::Draw(const MapView& view) {
    if (ShowsPicture()) GameObj::Draw(view);
}

void RingOfProtection::Update() {
    if (turnsLeft > 0) --turnsLeft;
    if (turnsLeft <= 0) QueueObjectDeletion(this);
}

void RingOfProtection::RefreshPicture() {
    if (marker != -1 || !ShowsPicture()) return;
    Sprite* sprite = SpriteMgr_GetOrLoad(kRingPicture, kRingPicture);
    if (sprite == nullptr) return;
    bob.SetSprite(sprite);
    bob.loop = true;
    bob.playing = true;
}
