#include "items_fixtures/spell_clouds.h"

#include "creatures/monster.h"
#include "levels/object_queue.h"

// In the order of the saved-class table.
FIXTURE_REGISTRATION(Rift)
FIXTURE_REGISTRATION(Smoke)
FIXTURE_REGISTRATION(Roots)

namespace {
constexpr int32_t kSmokeStatusTurns = 10;
}  // namespace

Rift::Rift(int32_t turns) : lifetime(turns) { RefreshPicture(); }

// The lifetime is not in the save: a loaded rift has none left.
Rift::Rift(SaveReader& in) : GameObj(in), lifetime(0) { RefreshPicture(); }

bool Rift::Save(SaveWriter& out) { return GameObj::Save(out); }

void Rift::RefreshPicture() {
    ShowFixtureSeries(*this, "tenebrous_rift", "sprites/sfx/tenebrous_rift/tenebrous_rift", 15, 0, 100, true, 1);
    blocksMovement = 1;
}

void Rift::Destroy() { QueueObjectDeletion(this); }

void Rift::Update() {
    --lifetime;
    if (lifetime < 0) QueueObjectDeletion(this);
}

Smoke::Smoke(SaveReader& in) : GameObj(in) {
    value = in.ReadInt32();
    RefreshPicture();
}

bool Smoke::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return out.WriteInt32(value) && ok;
}

void Smoke::RefreshPicture() {
    ShowFixtureSprite(*this, "smoke", "sprites/sfx/purplehaze.spr", true, 2);
    drawLayer = 3;
    coversSquareAbove = 1;
    blocksSight = 1;
    blocksMovement = 0;
}

void Smoke::MonsterEntered(GameObj* monster) {
    if (Monster* m = dynamic_cast<Monster*>(monster)) m->confusionTurns += kSmokeStatusTurns;
}

Roots::Roots(SaveReader& in) : GameObj(in) {
    value = in.ReadInt32();
    RefreshPicture();
}

bool Roots::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return out.WriteInt32(value) && ok;
}

void Roots::RefreshPicture() {
    ShowFixtureSprite(*this, "Roots", "sprites/sfx/roots.spr", true, 2);
    drawLayer = 3;
    coversSquareAbove = 1;
    blocksSight = 1;
    blocksMovement = 0;
}
