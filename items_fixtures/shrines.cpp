#include "items_fixtures/shrines.h"

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
    for (const DiggleGodRecord& god : DiggleGodList) {
        if (god.name != godName) continue;
        if (!god.art.empty()) ShowFixtureSprite(*this, god.art.c_str(), god.art.c_str(), false);
        return;
    }
    // A god the list does not hold (the list may come from a later data file) leaves the
    // statue without a picture.
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
