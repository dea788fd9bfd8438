// Stand-in: what is still to be built is listed at the top of creatures/shopkeeper.h.
#include "creatures/shopkeeper.h"

Shopkeeper::Shopkeeper() : Monster(nullptr) {}

void Shopkeeper::PlaceOnLevel(int32_t px, int32_t py, Level* onLevel, int32_t flag) {
    GameObj::PlaceOnLevel(px, py, onLevel, flag);
    homeX = px;
    homeY = py;
}
