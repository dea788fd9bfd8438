#include "levels/game_obj.h"

#include <cmath>
#include <cstdio>

#include "core/class_registry.h"
#include "levels/field_of_view.h"
#include "core/command_state.h"
#include "levels/level.h"
#include "levels/level_save.h"

SERIALIZABLE_REGISTRATION(GameObj);
SERIALIZABLE_REGISTRATION(Activatable);

namespace {

GameObjHook DestroyHook = nullptr;

bool RoomScriptTracing() { return (CmdLine.debugFlags & kDebugRoomScripts) != 0; }

// Truncates toward zero; values a hostile save could hold (NaN, huge) stay in range.
int32_t TruncatePixels(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483520.0f) return INT32_MAX;
    if (value <= -2147483520.0f) return INT32_MIN;
    return static_cast<int32_t>(value);
}

}  // namespace

void SetGameObjDestroyHook(GameObjHook hook) { DestroyHook = hook; }

bool ComputeBobPlacement(int32_t anchorMode, int32_t x, int32_t y, float offsetX, float offsetY,
                         int32_t frameWidth, int32_t frameHeight, const MapView& view,
                         int32_t* outX, int32_t* outY) {
    // 64-bit intermediates: positions loaded from a file may be anywhere.
    const int64_t TW = view.tileWidth;
    const int64_t TH = view.tileHeight;
    const int64_t tx = static_cast<int64_t>(x) - view.originX;
    const int64_t ty = static_cast<int64_t>(y) - view.originY;
    const int64_t ox = TruncatePixels(offsetX);
    const int64_t oy = TruncatePixels(offsetY);
    const int64_t W = frameWidth;
    const int64_t H = frameHeight;
    int64_t bx = 0;
    int64_t by = 0;
    switch (anchorMode) {
        case 0:  // half a tile left and one tile up
            bx = tx * TW + ox - TW / 2 - view.pixelX;
            by = (ty - 1) * TH + oy - view.pixelY;
            break;
        case 1:  // centred on the tile, standing on its bottom edge
            bx = tx * TW - W / 2 + ox + TW / 2 - view.pixelX;
            by = (ty + 1) * TH - H + oy - view.pixelY;
            break;
        case 2:
        case 5:  // right and bottom edges on the tile's
            bx = (tx + 1) * TW - W + ox - view.pixelX;
            by = (ty + 1) * TH - H + oy - view.pixelY;
            break;
        case 3:  // top-left corner on the tile's
            bx = tx * TW + ox - view.pixelX;
            by = ty * TH + oy - view.pixelY;
            break;
        case 4:  // left edge on the tile's, standing on its bottom edge
            bx = tx * TW + ox - view.pixelX;
            by = (ty + 1) * TH - H + oy - view.pixelY;
            break;
        default:
            return false;
    }
    *outX = static_cast<int32_t>(bx);
    *outY = static_cast<int32_t>(by);
    return true;
}

// ---------------------------------------------------------------- GameObj

GameObj::GameObj() = default;

GameObj::GameObj(SaveReader& in) {
    anchorMode = in.ReadInt32();
    offsetX = in.ReadFloat();
    offsetY = in.ReadFloat();
    const int32_t savedBranch = in.ReadInt32();
    const int32_t savedDepth = in.ReadInt32();
    loadedBranch = savedBranch;
    loadedDepth = savedDepth;
    x = in.ReadInt32();
    y = in.ReadInt32();
    coversSquareAbove = in.ReadBool() ? 1 : 0;
    blocksMovement = in.ReadBool() ? 1 : 0;
    blocksSight = in.ReadBool() ? 1 : 0;
    passable = in.ReadBool() ? 1 : 0;
    active = in.ReadInt32();
    if (in.version.AtLeast(kSaveObjectRoomIds)) {
        roomNumber = in.ReadInt32();
        roomID = in.ReadString();
    }
    // The level being read is the object's own, also when another listed level has the
    // same depth and branch; other objects (read outside a level) look the level up.
    Level* home = nullptr;
    if (LevelBeingLoaded != nullptr && LevelBeingLoaded->depth == savedDepth &&
        LevelBeingLoaded->branchId == savedBranch) {
        home = LevelBeingLoaded;
    }
    for (size_t i = 0; home == nullptr && i < GameLevels.size(); ++i) {
        Level* candidate = GameLevels[i];
        if (candidate != nullptr && candidate->depth == savedDepth && candidate->branchId == savedBranch) {
            home = candidate;
        }
    }
    if (home != nullptr) PlaceOnLevel(x, y, home, 0);
}

GameObj::~GameObj() {
    if (DestroyHook != nullptr) DestroyHook(this);
    if (cell != nullptr) cell->RemoveObject(this);
    cell = nullptr;
    if (level != nullptr) level->RemoveObject(this);
    level = nullptr;
}

bool GameObj::Save(SaveWriter& out) {
    bool ok = out.WriteInt32(anchorMode);
    ok = out.WriteFloat(offsetX) && ok;
    ok = out.WriteFloat(offsetY) && ok;
    ok = out.WriteInt32(level != nullptr ? level->branchId : -1) && ok;
    ok = out.WriteInt32(level != nullptr ? level->depth : -1) && ok;
    ok = out.WriteInt32(x) && ok;
    ok = out.WriteInt32(y) && ok;
    ok = out.WriteBool(coversSquareAbove) && ok;
    ok = out.WriteBool(blocksMovement) && ok;
    ok = out.WriteBool(blocksSight) && ok;
    ok = out.WriteBool(passable) && ok;
    ok = out.WriteInt32(active) && ok;
    if (out.version.AtLeast(kSaveObjectRoomIds)) {
        ok = out.WriteInt32(roomNumber) && ok;
        ok = out.WriteString(roomID) && ok;
    }
    return ok;
}

uint32_t GameObj::GetClassHash() { return GetRegisteredClassHash("GameObj"); }
int32_t GameObj::GetClassIndex() { return GetRegisteredClassIndex("GameObj"); }
void GameObj::CopyStateFrom(GameObj*) {}
bool GameObj::IsHittable() { return false; }
bool GameObj::IsDoorOrChest() { return false; }
bool GameObj::IsUberChest() { return false; }
bool GameObj::IsAnvil() { return false; }
bool GameObj::IsItem() { return false; }
int32_t GameObj::IsDoorOrLever() { return 0; }
void GameObj::DrawOnMinimap(int32_t, int32_t, int32_t) {}
int32_t GameObj::UnusedQuery() { return 0; }
bool GameObj::CanBeStunned() { return false; }
int32_t GameObj::IsCreature() { return 0; }
int32_t GameObj::IsMonster() { return 0; }
bool GameObj::IsBlocker() { return false; }
bool GameObj::IsLever() { return false; }
bool GameObj::IsActivatable() { return false; }
bool GameObj::IsClock() { return false; }
std::string GameObj::GetName() { return "GameObj"; }
std::string GameObj::GetDescription() { return std::string(); }
void GameObj::Destroy() {}
void GameObj::ReturnToIdle() {}
int32_t GameObj::BumpedByPlayer() { return 0; }
void GameObj::MonsterEntered(GameObj*) {}
void GameObj::PlayerEntered() {}

bool GameObj::PlaceBob(const MapView& view) {
    if (bob.sprite == nullptr) return false;
    int32_t bx = 0;
    int32_t by = 0;
    if (ComputeBobPlacement(anchorMode, x, y, offsetX, offsetY, bob.FrameWidth(), bob.FrameHeight(),
                            view, &bx, &by)) {
        bob.x = bx;
        bob.y = by;
    }
    return true;
}

void GameObj::Draw(const MapView& view) {
    if (PlaceBob(view)) bob.Draw();
}

void GameObj::DrawOverlay(const MapView&) {}
int32_t GameObj::ApplyDamage(int32_t, const std::string&, int32_t, int32_t) { return 0; }
int32_t GameObj::TakeDamage(int32_t, GameObj*, const std::string&, int32_t, int32_t) { return 0; }
void GameObj::HitByPlayer() {}
void GameObj::Shatter() {}
void GameObj::AdvanceAnimation(int32_t elapsedMs) { bob.Update(elapsedMs); }
int32_t GameObj::UseItemOn(Item*) { return 0; }
int32_t GameObj::AcceptsItem(Item*) { return 0; }

void GameObj::PlaceOnLevel(int32_t newX, int32_t newY, Level* newLevel, int32_t) {
    if (cell != nullptr) cell->RemoveObject(this);
    cell = nullptr;
    x = newX;
    y = newY;
    if (newLevel != level) {
        if (level != nullptr) level->RemoveObject(this);
        level = newLevel;
        if (level != nullptr) level->AddObject(this);
    } else if (level != nullptr) {
        bool listed = false;
        for (GameObj* obj : level->objects) listed = listed || obj == this;
        if (!listed) level->AddObject(this);
    }
    if (level == nullptr) return;  // taken off every level
    LevelCell* square = level->GetCell(x, y);
    if (square == nullptr) return;
    cell = square;
    bool listed = false;
    for (GameObj* obj : square->contents) listed = listed || obj == this;
    if (!listed) square->contents.push_back(this);
}

const char* GameObj::GetActionVerb() { return nullptr; }

void GameObj::HighlightNextDraw(const MapView& view) {
    if (PlaceBob(view)) bob.HighlightNextDraw();
}

bool GameObj::IsMovable() { return movable != 0; }
bool GameObj::IsClosedDoor() { return false; }
int32_t GameObj::Activate() { return 0; }
void GameObj::Update() {}
void GameObj::AddStunTurns(int32_t) {}
int32_t GameObj::WalkPlayerBeside() { return 0; }
int32_t GameObj::UsesAttackCursor() { return 0; }

void GameObj::SetRoomID(const std::string& id) {
    roomID = id;
    roomNumber = -1;
    if (level != nullptr) {
        LevelCell* square = level->GetCell(x, y);
        if (square != nullptr) roomNumber = square->room;
    }
    if (!id.empty() && level != nullptr) {
        GameObj* other = level->FindObjectByRoomID(roomNumber, id);
        if (other != nullptr && other != this) {
            fprintf(stderr, "roomScript: two objects created with same roomID! (%s)\n", id.c_str());
        }
    }
    if (RoomScriptTracing() && !id.empty()) {
        printf("roomScript: setting roomID to (room=%d, id=%s)\n", roomNumber, id.c_str());
    }
}

std::string GameObj::GetRoomID() { return roomID; }

bool GameObj::MatchesRoomID(Level* onLevel, int32_t room, const std::string& id) {
    return onLevel == level && (IsPlayer() || room == roomNumber) && id == roomID;
}

bool GameObj::IsPlayer() { return false; }
int32_t GameObj::SightRadius() { return kBaseSightRadius; }
bool GameObj::CrossesLiquid() { return false; }
bool GameObj::IsSpottedTrap() { return false; }

void GameObj::AddRoomEvent(const std::string& eventName) {
    if (level != nullptr) level->AddRoomEvent(roomNumber, roomID, eventName);
}

bool GameObj::IsAdjacentToPlayer() const {
    const GameObj* hero = CurrentHero();
    if (hero == nullptr) return false;
    int64_t dx = static_cast<int64_t>(hero->x) - x;
    int64_t dy = static_cast<int64_t>(hero->y) - y;
    return (dy == 0 && (dx == 1 || dx == -1)) || (dx == 0 && (dy == 1 || dy == -1));
}

// ---------------------------------------------------------------- Activatable

Activatable::Activatable() = default;

Activatable::Activatable(SaveReader& in) : GameObj(in) {
    int32_t value = in.ReadBool() ? 1 : 0;
    activated = value;
    activatedPrev = value;
    activatedOlder = value;
    if ((CmdLine.debugFlags & kDebugLoads) != 0) printf("Read activated = %d\n", value);
}

bool Activatable::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    if ((CmdLine.debugFlags & kDebugLoads) != 0) printf("Wrote activated = %d\n", activated);
    ok = out.WriteBool(activated) && ok;
    return ok;
}

uint32_t Activatable::GetClassHash() { return GetRegisteredClassHash("Activatable"); }
int32_t Activatable::GetClassIndex() { return GetRegisteredClassIndex("Activatable"); }
bool Activatable::IsActivatable() { return true; }

void Activatable::Update() {
    GameObj::Update();
    activatedOlder = activatedPrev;
    activatedPrev = activated;
}

bool Activatable::IsActivated() { return activated != 0; }
void Activatable::SetActivated(bool value) { activated = value ? 1 : 0; }
bool Activatable::HasActivationChanged() { return activatedOlder != activated; }

bool WriteObjectRef(SaveWriter& out, GameObj* object) {
    if (object == nullptr) return out.WriteByte(0);
    bool ok = out.WriteByte(1);
    ok = out.WriteUInt32(object->GetClassHash()) && ok;
    ok = object->Save(out) && ok;
    return ok;
}

bool CheckContainedObject(SaveReader& in, const GameObj* object) {
    if (object->loadedBranch == -1 && object->loadedDepth == -1 && object->level == nullptr && object->cell == nullptr) {
        return true;
    }
    // One that names a floor would be on that floor and in its container at once: owned
    // twice, and saved twice by the next save.
    in.Fail("a contained " + DynamicClassName(object) + " names floor " + std::to_string(object->loadedDepth) +
            " of branch " + std::to_string(object->loadedBranch) + "; a contained object belongs to no floor");
    return false;
}

GameObj* ReadObjectRef(SaveReader& in) {
    uint8_t present = in.ReadByte();
    if (in.Failed() || present == 0) return nullptr;
    uint32_t key = in.ReadUInt32();
    if (in.Failed()) return nullptr;
    Serializable* created = SerializableRegistry::Instance().CreateFromSave(key, in);
    if (created == nullptr) return nullptr;
    GameObj* object = dynamic_cast<GameObj*>(created);
    if (object == nullptr) {
        in.Fail("object reference holds an object that is not a game object");
        delete created;
    } else if (!CheckContainedObject(in, object)) {
        delete object;
        return nullptr;
    } else if (object->dropAfterLoad) {
        delete object;
        return nullptr;
    }
    return object;
}
