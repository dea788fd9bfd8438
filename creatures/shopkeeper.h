#pragma once
// The monster that keeps a shop room.
//
// Stand-in: fields, the record, the turn of a hostile shopkeeper and the anger a blow stirs.
// Still to be built here: its shop behaviour (the cash register line, talk and the bill,
// buying what the hero sells, the one-time theft chance, the debt collectors).
//
// Save block after the Monster block: hostile, guardX, guardY (from 1.0.2), homeX, homeY
// (from 1.0.2), atGuard (from 1.0.3), stealDone (from 1.0.8); a field an older save lacks
// keeps its default. A loaded shopkeeper places itself on its level and so joins the level's
// shopkeeper list; it leaves the list when it is destroyed.
#include <cstdint>

#include "creatures/monster.h"

class Level;

class Shopkeeper : public Monster {
public:
    Shopkeeper();
    explicit Shopkeeper(SaveReader& in);

    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;

    int32_t variant = 0;  // one of four looks, drawn when the shop is finished; not saved
    int32_t hostile = 0;
    int32_t stealDone = 0;
    int32_t guardX = 0;  // where it stands while the hero carries unpaid goods
    int32_t guardY = 0;
    int32_t atGuard = 0;
    int32_t homeX = 0;
    int32_t homeY = 0;

    // Places it, takes the square as its home and enters it into the level's shopkeeper
    // list (once).
    void PlaceOnLevel(int32_t px, int32_t py, Level* onLevel, int32_t flag) override;
    bool IsAllyTarget() override { return false; }
    // Only a hostile shopkeeper acts: it takes the monster's turn.
    void Update() override;
    // A blow makes the shopkeeper hostile for good.
    int32_t TakeDamage(int32_t amount, GameObj* source, const std::string& cause, int32_t a, int32_t b) override;
};
