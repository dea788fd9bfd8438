#include "items_fixtures/anvil.h"

FIXTURE_REGISTRATION(Anvil)

Anvil::Anvil() { RefreshPicture(); }

Anvil::Anvil(SaveReader& in) : GameObj(in) {
    used = in.ReadBool() ? 1 : 0;
    dead = in.ReadBool() ? 1 : 0;
    RefreshPicture();
}

bool Anvil::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    ok = out.WriteBool(used) && ok;
    return out.WriteBool(dead) && ok;
}

void Anvil::RefreshPicture() {
    if (used == 0) {
        ShowFixtureSprite(*this, "Anvil", "dungeon/krong_anvil.png", false);
    } else if (dead != 0) {
        ShowFixtureSprite(*this, "Anvil_dead", "dungeon/krong_anvil_broken.png", false);
    } else {
        ShowFixtureSprite(*this, "Anvil_broken", "dungeon/krong_anvil_used.png", false);
    }
}
