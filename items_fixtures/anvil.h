#pragma once
// The Anvil of Krong: a one-use shrine for weapons and armour.
//
// Stand-in: the record, pictures and registration are built; blessing, cursing and the
// depleted answers are still to be built.
//
// Save block after the GameObj block: used (word), dead (word).
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"

class Anvil : public GameObj {
public:
    Anvil();
    explicit Anvil(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    bool IsAnvil() override { return true; }
    std::string GetName() override { return "Anvil of Krong"; }
    const char* GetActionVerb() override { return "Perform Feats of Crafting"; }

    int32_t used = 0;
    int32_t dead = 0;  // which spent picture a used anvil shows

    // Fresh, or the spent picture ("dead" or worn) once used.
    void RefreshPicture();
};
