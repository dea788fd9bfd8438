#include "items_fixtures/passages.h"

#include <algorithm>
#include <vector>

#include "core/event_log.h"
#include "core/shell/shell_services.h"
#include "creatures/player.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "media/sound.h"

PassageTravel PassageTravelActions = {DescendStairs, AscendStairs, TravelThroughPortal};

SERIALIZABLE_REGISTRATION(Door);
FIXTURE_CLASS_KEYS(Door)
SERIALIZABLE_REGISTRATION(Lever);
FIXTURE_CLASS_KEYS(Lever)
SERIALIZABLE_REGISTRATION(Stairs);
FIXTURE_CLASS_KEYS(Stairs)
SERIALIZABLE_REGISTRATION(Portal);
FIXTURE_CLASS_KEYS(Portal)
SERIALIZABLE_REGISTRATION(Teleporter);
FIXTURE_CLASS_KEYS(Teleporter)

namespace {

// Every lever alive, so that a chest that goes can be taken out of their links.
std::vector<Lever*> LiveLevers;

}  // namespace

Lever::Lever() {
    blocksSight = 0;
    RefreshPicture();
    LiveLevers.push_back(this);
}

Lever::Lever(SaveReader& in) : Activatable(in) {
    kind = in.ReadInt32();
    targetX = in.ReadInt32();
    targetY = in.ReadInt32();
    RefreshPicture();
    LiveLevers.push_back(this);
}

Lever::~Lever() {
    LiveLevers.erase(std::remove(LiveLevers.begin(), LiveLevers.end(), this), LiveLevers.end());
}

void ForgetChestLinks(const GameObj* chest) {
    if (chest == nullptr) return;
    for (Lever* lever : LiveLevers) {
        if (lever->linked != chest) continue;
        lever->targetX = chest->x;
        lever->targetY = chest->y;
        lever->linked = nullptr;
    }
}

bool Lever::Save(SaveWriter& out) {
    // The linked chest may have moved since the link was made.
    if (linked != nullptr) {
        targetX = linked->x;
        targetY = linked->y;
    }
    bool ok = Activatable::Save(out);
    ok = out.WriteInt32(kind) && ok;
    ok = out.WriteInt32(targetX) && ok;
    return out.WriteInt32(targetY) && ok;
}

void Lever::RefreshPicture() {
    ShowFixtureSprite(*this, "Lever", "dungeon/lever1.spr", false);
    ShowFixtureFrame(*this, activated != 0 ? 1 : 0);
}

Stairs::Stairs(int32_t isUp) : up(isUp) { RefreshPicture(); }

Stairs::Stairs(SaveReader& in) : GameObj(in) {
    up = in.ReadBool() ? 1 : 0;
    RefreshPicture();
}

bool Stairs::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return out.WriteBool(up) && ok;
}

void Stairs::RefreshPicture() {
    anchorMode = 2;
    drawLayer = 0;
    blocksMovement = 0;
    blocksSight = 0;
}

void Stairs::PlayerEntered() {
    Player* hero = CurrentPlayer;
    Level* here = CurrentLevel;
    if (hero == nullptr || here == nullptr) return;
    hero->SetIdleAnimation();
    PlaySFX("stairs");
    const LevelCell* square = here->GetCell(hero->x, hero->y);
    const int32_t stairIndex = square != nullptr ? square->stairIndex : 0;
    if (up != 0) {
        LogEvent("Player ascended a staircase");
        PassageTravelActions.ascend(stairIndex, here->branchId, here->depth - 1);
    } else {
        LogEvent("Player descended a staircase");
        PassageTravelActions.descend(stairIndex, here->branchId, here->depth + 1);
    }
    hero->SetIdleAnimation();
}

Portal::Portal() { RefreshPicture(); }

Portal::Portal(SaveReader& in) : GameObj(in) { RefreshPicture(); }

bool Portal::Save(SaveWriter& out) { return GameObj::Save(out); }

void Portal::RefreshPicture() {
    ShowFixtureSeries(*this, "portalC", "dungeon/portalC/portalC", 4, 0, 60, true, 2);
    drawLayer = 0;
    blocksMovement = 0;
    blocksSight = 0;
}

void Stairs::DrawOnMinimap(int32_t px, int32_t py, int32_t zoom) {
    DrawFixtureMinimapIcon(up != 0 ? "stairsup" : "stairsdown", px, py, zoom);
}

void Portal::PlayerEntered() {
    Player* hero = CurrentPlayer;
    if (hero != nullptr) hero->SetIdleAnimation();
    PlaySFX("portal");
    QueueObjectDeletion(this);
    PassageTravelActions.portal();
    if (hero != nullptr) hero->SetIdleAnimation();
}

Teleporter::Teleporter(int32_t toX, int32_t toY) : partnerX(toX), partnerY(toY) { RefreshPicture(); }

Teleporter::Teleporter(SaveReader& in) : GameObj(in) {
    partnerX = in.ReadInt32();
    partnerY = in.ReadInt32();
    RefreshPicture();
}

bool Teleporter::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    ok = out.WriteInt32(partnerX) && ok;
    return out.WriteInt32(partnerY) && ok;
}

void Teleporter::RefreshPicture() {
    ShowFixtureSeries(*this, "portalb", "dungeon/portalB/portalB", 5, 0, 150, true, 1);
    blocksMovement = 0;
    blocksSight = 0;
}

void Teleporter::DrawOnMinimap(int32_t px, int32_t py, int32_t zoom) { DrawFixtureMinimapIcon("teleport", px, py, zoom); }

void Teleporter::PlayerEntered() {
    Player* hero = CurrentPlayer;
    Level* here = CurrentLevel;
    if (hero == nullptr || here == nullptr) return;
    // Only plain floor receives the hero (a wall, water or anything else: nothing happens).
    if (here->SquareKind(partnerX, partnerY) != SquareType::Floor) return;
    hero->walkInterrupted = 1;
    hero->glowBob.UnlinkFromTiles();
    PlaySFX("teleport");
    hero->PlaceOnLevel(partnerX, partnerY, here, 0);
}
