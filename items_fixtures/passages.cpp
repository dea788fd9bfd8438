// Stand-in: what is still to be built is listed at the top of items_fixtures/passages.h.
#include "items_fixtures/passages.h"

Door::Door(int32_t doorOrientation, int32_t doorDepth, int32_t doorPart)
    : orientation(doorOrientation), depth(doorDepth), part(doorPart) {}

int32_t Door::Activate() {
    if (locked) {
        locked = 0;
        return 1;
    }
    Open();
    return 1;
}

void Door::Open() {
    open = true;
    blocksMovement = 0;
    blocksSight = 0;
}

Lever::Lever() = default;

Stairs::Stairs(int32_t isUp) : up(isUp) {
    blocksMovement = 0;
    blocksSight = 0;
}

void Stairs::PlayerEntered() {}

Portal::Portal() {
    blocksMovement = 0;
    blocksSight = 0;
}

void Portal::PlayerEntered() {}

Teleporter::Teleporter(int32_t toX, int32_t toY) : destinationX(toX), destinationY(toY) {
    blocksMovement = 0;
    blocksSight = 0;
}
