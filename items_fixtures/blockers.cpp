#include "items_fixtures/blockers.h"

#include <algorithm>
#include <cstdio>

#include "core/command_state.h"
#include "creatures/player.h"
#include "items_fixtures/item.h"
#include "levels/branch_db.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "media/sprite.h"
#include "media/ticker.h"

// In the order of the saved-class table.
FIXTURE_REGISTRATION(Blocker)
FIXTURE_REGISTRATION(Engraving)
FIXTURE_REGISTRATION(Clock)

namespace {

std::string Text(const char* text) { return text != nullptr ? text : ""; }

// The tileset entry of a blocker, or null with a diagnostic when the index is outside the
// branch's list (a save or a branch file that changed). No branch: null, quietly.
const BlockerDef* TilesetEntry(Level* onLevel, int32_t index) {
    if (onLevel == nullptr) return nullptr;
    const BranchRecord* branch = onLevel->GetBranchRecord();
    if (branch == nullptr) return nullptr;
    const BlockerDef* def = branch->GetBlocker(index);
    if (def == nullptr) {
        std::printf("blocker: tileset index %d is outside the %zu blockers of branch %d; no picture\n", index,
                    branch->blockers.size(), branch->id);
    }
    return def;
}

}  // namespace

// ---- Blocker -------------------------------------------------------------------------------

Blocker::Blocker(Level*, int32_t turns, const char* series, int32_t first, int32_t count, int32_t delay)
    : turnsLeft(turns), seriesName(Text(series)), seriesFirst(first), seriesCount(count), seriesDelay(delay) {
    coversSquareAbove = 1;
    blocksMovement = 1;
    blocksSight = 0;
    RefreshPicture(nullptr);
}

Blocker::Blocker(Level*, int32_t turns, const char* sprite) : turnsLeft(turns), spriteName(Text(sprite)) {
    coversSquareAbove = 1;
    blocksMovement = 1;
    blocksSight = 0;
    RefreshPicture(nullptr);
}

Blocker::Blocker(Level* onLevel, int32_t index) : tilesetIndex(index) {
    coversSquareAbove = 1;
    blocksSight = 0;
    const BlockerDef* def = TilesetEntry(onLevel, index);
    blocksMovement = def != nullptr && def->passable != 0 ? 0 : 1;
    RefreshPicture(def);
}

Blocker::Blocker(SaveReader& in) : GameObj(in) {
    tilesetIndex = in.ReadInt32();
    name = in.ReadString();
    description = in.ReadString();
    if (tilesetIndex == -1) {
        spriteName = in.ReadString();
        seriesName = in.ReadString();
        seriesFirst = in.ReadInt32();
        seriesCount = in.ReadInt32();
        seriesDelay = in.ReadInt32();
    }
    turnsLeft = in.version.AtLeast(kSaveV1_0_4) ? in.ReadInt32() : 0;
    RefreshPicture(tilesetIndex != -1 ? TilesetEntry(level, tilesetIndex) : nullptr);
}

Blocker::~Blocker() { LeaveBlockerList(); }

bool Blocker::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    ok = out.WriteInt32(tilesetIndex) && ok;
    ok = out.WriteString(name) && ok;
    ok = out.WriteString(description) && ok;
    if (tilesetIndex == -1) {
        ok = out.WriteString(spriteName) && ok;
        ok = out.WriteString(seriesName) && ok;
        ok = out.WriteInt32(seriesFirst) && ok;
        ok = out.WriteInt32(seriesCount) && ok;
        ok = out.WriteInt32(seriesDelay) && ok;
    }
    return out.WriteInt32(turnsLeft) && ok;
}

void Blocker::RefreshPicture(const BlockerDef* tilesetEntry) {
    if (tilesetIndex != -1) {
        anchorMode = 1;
        bob.frame = 0;
        bob.playing = true;
        bob.loop = true;
        if (tilesetEntry != nullptr && tilesetEntry->sprite != nullptr) bob.SetSprite(tilesetEntry->sprite);
        return;
    }
    if (!seriesName.empty()) {
        ShowFixtureSeries(*this, seriesName.c_str(), seriesName.c_str(), seriesCount, seriesFirst, seriesDelay, true);
        return;
    }
    if ((CmdLine.debugFlags & kDebugLoads) != 0) std::printf("loading blocker: %s\n", spriteName.c_str());
    ShowFixtureSprite(*this, spriteName.c_str(), spriteName.c_str(), true);
}

void Blocker::LeaveBlockerList() {
    if (level == nullptr) return;
    std::vector<GameObj*>& list = level->customBlockers;
    list.erase(std::remove(list.begin(), list.end(), static_cast<GameObj*>(this)), list.end());
}

void Blocker::Destroy() {
    QueueObjectDeletion(this);
    LeaveBlockerList();
}

void Blocker::Update() {
    if (turnsLeft <= 0) return;
    --turnsLeft;
    if (turnsLeft == 0) QueueObjectDeletion(this);
}

// ---- Clock ---------------------------------------------------------------------------------

Clock::Clock(Level* onLevel, int32_t turns, const char* series, int32_t first, int32_t count, int32_t delay,
             int32_t initial, int32_t startValue, int32_t running)
    : Blocker(onLevel, turns, series, first, count, delay) {
    Begin(initial, startValue, running);
}

Clock::Clock(Level* onLevel, int32_t turns, const char* sprite, int32_t initial, int32_t startValue,
             int32_t running)
    : Blocker(onLevel, turns, sprite) {
    Begin(initial, startValue, running);
}

Clock::Clock(SaveReader& in) : Blocker(in) {
    initialValue = in.ReadInt32();
    value = in.ReadInt32();
    // A clock either counts down one a turn or stands; a running one stops on reaching 0.
    step = in.ReadInt32InRange(-1, 0, "a clock's step");
    if (step == -1 && value <= 0 && !in.Failed()) {
        in.Fail("a running clock reads " + std::to_string(value) + ", but it stops on reaching 0");
    }
}

void Clock::Begin(int32_t initial, int32_t startValue, int32_t running) {
    // A defined start: setting the first value stops nothing and posts nothing spurious.
    initialValue = initial;
    value = initial;
    step = 0;
    SetValue(startValue == -1 ? initialValue : startValue);
    step = running != 0 ? -1 : 0;
}

bool Clock::Save(SaveWriter& out) {
    bool ok = Blocker::Save(out);
    ok = out.WriteInt32(initialValue) && ok;
    ok = out.WriteInt32(value) && ok;
    return out.WriteInt32(step) && ok;
}

std::string Clock::GetDescription() {
    char tail[96];
    std::snprintf(tail, sizeof(tail), " It currently is %s and reads %d.", IsRunning() ? "started" : "stopped",
                  value);
    return description + tail;
}

void Clock::Start() {
    step = -1;
    AddRoomEvent("started");
}

void Clock::Stop() {
    step = 0;
    AddRoomEvent("stopped");
}

void Clock::SetValue(int32_t ticks) {
    if (value != ticks) {
        AddRoomEvent("updated");
        value = ticks;
    }
    // At 0 or below a running clock has run out: it stops, so it never counts on below 0.
    if (IsRunning() && value <= 0) {
        Stop();
        AddRoomEvent("expired");
    }
}

void Clock::Update() {
    if (IsStopped()) return;
    SetValue(value + step);
    const GameObj* hero = CurrentHero();
    if (hero == nullptr || hero->level != level || level == nullptr) return;
    const LevelCell* heroSquare = level->GetCell(hero->x, hero->y);
    const LevelCell* ownSquare = level->GetCell(x, y);
    if (heroSquare == nullptr || ownSquare == nullptr || heroSquare->room != ownSquare->room) return;
    char line[64];
    if (value > 0) {
        std::snprintf(line, sizeof(line), "The timer ticks down to %d...", value);
    } else {
        std::snprintf(line, sizeof(line), "The timer ticks down to 0!");
    }
    AddText(line, true);
}

// ---- Engraving -----------------------------------------------------------------------------

Engraving::Engraving(Level*, int32_t, const char* series, int32_t first, int32_t count, int32_t delay)
    : seriesName(Text(series)), seriesFirst(first), seriesCount(count), seriesDelay(delay) {
    RefreshPicture();
}

Engraving::Engraving(Level*, int32_t, const char* sprite) : spriteName(Text(sprite)) { RefreshPicture(); }

Engraving::Engraving(SaveReader& in) : GameObj(in) {
    spriteName = in.ReadString();
    seriesName = in.ReadString();
    seriesFirst = in.ReadInt32();
    seriesCount = in.ReadInt32();
    seriesDelay = in.ReadInt32();
    RefreshPicture();
}

bool Engraving::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    ok = out.WriteString(spriteName) && ok;
    ok = out.WriteString(seriesName) && ok;
    ok = out.WriteInt32(seriesFirst) && ok;
    ok = out.WriteInt32(seriesCount) && ok;
    return out.WriteInt32(seriesDelay) && ok;
}

void Engraving::Destroy() { QueueObjectDeletion(this); }

void Engraving::RefreshPicture() {
    blocksMovement = 0;
    blocksSight = 0;
    coversSquareAbove = 0;
    if (!seriesName.empty()) {
        ShowFixtureSeries(*this, seriesName.c_str(), seriesName.c_str(), seriesCount, seriesFirst, seriesDelay, true);
        return;
    }
    if ((CmdLine.debugFlags & kDebugLoads) != 0) std::printf("loading engraving: %s\n", spriteName.c_str());
    ShowFixtureSprite(*this, spriteName.c_str(), spriteName.c_str(), true);
}
