#include "items_fixtures/shrines.h"

#include <cstdio>

#include "creatures/spell.h"

// In the order of the saved-class table.
FIXTURE_REGISTRATION(DiggleGod)
FIXTURE_REGISTRATION(LutefiskStatue)

// ---- DiggleGod -----------------------------------------------------------------------------

DiggleGod::DiggleGod(const char* name) : godName(name != nullptr ? name : "") { RefreshPicture(); }

DiggleGod::DiggleGod(SaveReader& in) : GameObj(in) {
    godName = in.ReadString();
    RefreshPicture();
}

bool DiggleGod::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return out.WriteString(godName) && ok;
}

void DiggleGod::RefreshPicture() {
    blocksMovement = 1;
    coversSquareAbove = 1;
    blocksSight = 0;
    for (const DiggleGodRecord& god : DiggleGodList) {
        if (god.name != godName) continue;
        if (!god.art.empty()) ShowFixtureSprite(*this, god.art.c_str(), god.art.c_str(), false);
        return;
    }
    std::printf("diggle god: no god named \"%s\" in the god list; the statue has no picture\n", godName.c_str());
}

// ---- LutefiskStatue ------------------------------------------------------------------------

LutefiskStatue::LutefiskStatue() { RefreshPicture(); }

LutefiskStatue::LutefiskStatue(SaveReader& in) : GameObj(in) {
    spent = in.ReadBool() ? 1 : 0;
    RefreshPicture();
}

bool LutefiskStatue::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return out.WriteBool(spent) && ok;
}

void LutefiskStatue::RefreshPicture() {
    if (spent != 0) {
        ShowFixtureSprite(*this, "LutefiskStatueSpent", "dungeon/shrine_lutefisk_god_used.png", false);
    } else {
        ShowFixtureSprite(*this, "LutefiskStatue", "dungeon/shrine_lutefisk_god.png", false);
    }
}
