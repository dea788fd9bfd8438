#include "items_fixtures/coffin.h"

#include "items_fixtures/fixture.h"

#include "levels/object_queue.h"
#include "media/sprite.h"

FIXTURE_REGISTRATION(Coffin)

Coffin::Coffin(SaveReader& in) : GameObj(in) {
    anchorMode = 1;
    blocksMovement = 1;
    Sprite* sprite = SpriteMgr_GetOrLoad("Coffin", "dungeon/coffin-1.spr");
    if (sprite != nullptr) bob.SetSprite(sprite);
    bob.playing = false;
    bob.frame = 0;
}


void Coffin::Destroy() { QueueObjectDeletion(this); }

int32_t Coffin::Activate() {
    if (!IsAdjacentToPlayer()) return 0;
    bob.playing = false;
    bob.frame = 1;
    return 1;
}
