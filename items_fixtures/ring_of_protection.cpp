#include "items_fixtures/ring_of_protection.h"

#include "items_fixtures/fixture.h"

#include "levels/object_queue.h"
#include "media/sprite.h"

FIXTURE_REGISTRATION(RingOfProtection)

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


void RingOfProtection::Destroy() { QueueObjectDeletion(this); }

void RingOfProtection::Draw(const MapView& view) {
    if (ShowsPicture()) GameObj::Draw(view);
}

void RingOfProtection::Update() {
    if (turnsLeft > 0) --turnsLeft;
    if (turnsLeft <= 0) QueueObjectDeletion(this);
}

void RingOfProtection::RefreshPicture() {
    drawLayer = 0;  // under the creature it guards
    if (marker != -1 || !ShowsPicture()) return;
    Sprite* sprite = SpriteMgr_GetOrLoad(kRingPicture, kRingPicture);
    if (sprite == nullptr) return;
    bob.SetSprite(sprite);
    bob.loop = true;
    bob.playing = true;
}
