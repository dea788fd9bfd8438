#include "creatures/shopkeeper.h"

Shopkeeper::Shopkeeper() : Monster(nullptr) {}

void Shopkeeper::PlaceOnLevel(int32_t px, int32_t py, Level* level, int32_t) {
    x = px;
    y = py;
    owningLevel = level;
}
