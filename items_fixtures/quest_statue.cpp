#include "items_fixtures/quest_statue.h"

#include "items_fixtures/quest.h"
#include "media/sound.h"

FIXTURE_REGISTRATION(Statue)

Statue::Statue() { RefreshPicture(); }

Statue::Statue(SaveReader& in) : GameObj(in) {
    available = in.ReadBool() ? 1 : 0;
    RefreshPicture();
}

bool Statue::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return out.WriteBool(available) && ok;
}

void Statue::RefreshPicture() {
    ShowFixtureSprite(*this, "statue", "dungeon/statue_quest.spr", false);
    bob.frame = available != 0 ? 0 : 1;
    blocksMovement = 1;
    coversSquareAbove = 1;
}

void Statue::DrawOnMinimap(int32_t px, int32_t py, int32_t zoom) {
    DrawFixtureMinimapIcon(available != 0 ? "quest" : "quest_used", px, py, zoom);
}

int32_t Statue::Activate() {
    if (available == 0) return 0;
    if (QuestDialogs.ask("Pray to Zozerezevizeru, the Goddess of Sidequests?", "ui/dialog_but_yea", "ui/dialog_but_nay") != 0) {
        return 1;
    }
    PlaySFX("prayer");
    if (OfferQuest()) {
        available = 0;
        bob.frame = 1;
    }
    return 1;
}
