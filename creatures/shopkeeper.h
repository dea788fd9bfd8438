#pragma once
// The monster that keeps a shop room.
//
// Stand-in: fields, the turn of a hostile shopkeeper and the anger a blow stirs. Still to be
// built here: its shop behaviour (the cash register line, alerts, following a thief, the
// level's anger, the debt collectors), placement at its home spot and its save block.
#include <cstdint>

#include "creatures/monster.h"

class Level;

class Shopkeeper : public Monster {
public:
    Shopkeeper();

    int32_t variant = 0;  // one of four looks, drawn when the shop is finished
    int32_t hostile = 0;
    int32_t onAlert = 0;
    int32_t alertX = 0;
    int32_t alertY = 0;
    int32_t homeX = 0;
    int32_t homeY = 0;

    void PlaceOnLevel(int32_t px, int32_t py, Level* onLevel, int32_t flag) override;
    bool IsAllyTarget() override { return false; }
    // Only a hostile shopkeeper acts: it takes the monster's turn.
    void Update() override;
    // A blow makes the shopkeeper hostile for good.
    int32_t TakeDamage(int32_t amount, GameObj* source, const std::string& cause, int32_t a, int32_t b) override;
};
