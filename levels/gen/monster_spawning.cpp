#include "levels/gen/monster_spawning.h"

#include <cstdio>
#include <string>

#include "core/random.h"
#include "core/tweak.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/monster_names.h"
#include "creatures/player.h"
#include "interface/ui_services.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "levels/room_templates.h"
#include "levels/gen/square_pickers.h"
#include "media/music.h"
#include "media/ticker.h"
#include "store_platform/stats.h"

MonsterSpawnerState MonsterSpawner;

namespace {

constexpr int32_t kQuietSuppression = 60;

bool TemplateFlag(const RoomRecord* room, int32_t RoomTemplate::*flag) {
    return room->roomTemplate != nullptr && room->roomTemplate->*flag != 0;
}

// Puts a monster that is not on a level yet at (x, y), or deletes it when the square is
// outside the grid.
void Place(Level* level, Monster* monster, int32_t x, int32_t y) {
    if (!level->IsInside(x, y)) {
        delete monster;
        return;
    }
    monster->PlaceOnLevel(x, y, level, 0);
}

void AnnounceZoo() {
    if (MonsterSpawner.zooAnnounced) return;
    MonsterSpawner.zooAnnounced = true;
    ShowZooAnnouncement();
    PlayMusic("tunes/brawl-open.ogg", "tunes/brawl-repeat.ogg");
    AddText(
        "You gaze in upon what appears to be a menagerie of strange and horrible creatures, that have not yet "
        "eaten today!",
        true);
    AwardAchievement("ACHIEVEMENT_GUESS_WHOS_COMING_TO_DINNER");
}

}  // namespace

void InitMonsterSpawning() { MonsterSpawner = MonsterSpawnerState(); }

void DelayMonsterSpawning(int32_t flag) {
    if (flag == 0) MonsterSpawner.spawnSuppression += 10;
}

void UpdateMonsterSpawning() {
    MonsterSpawnerState& s = MonsterSpawner;
    s.spawnTurn += 1;
    if (s.spawnSuppression > 0 && s.spawnTurn - s.lastCalmTurn > 1) {
        s.spawnSuppression -= 1;
        s.lastCalmTurn = s.spawnTurn;
    }
    if (s.spawnTurn - s.lastSpawnTurn <= GetTweakInt("monsterspawnturns") || s.spawnSuppression >= kQuietSuppression) {
        return;
    }
    s.lastSpawnTurn = s.spawnTurn;
    Level* level = CurrentLevel;
    if (level == nullptr || CurrentPlayer == nullptr) return;
    // 255 after a portal return, or on a level without room records: no room.
    RoomRecord* room = level->GetRoomRecord(CurrentPlayer->currentRoom);
    if (room == nullptr || room->neighbours.empty()) return;
    std::vector<size_t> candidates;
    for (size_t i = 0; i < room->neighbours.size(); ++i) {
        const RoomRecord* n = room->neighbours[i];
        if (n != nullptr && n->active == 0) candidates.push_back(i);
    }
    if (candidates.empty()) {
        for (size_t i = 0; i < room->neighbours.size(); ++i) candidates.push_back(i);
    }
    const size_t pick = candidates[static_cast<size_t>(RandomInt(static_cast<int32_t>(candidates.size())))];
    RoomRecord* target = room->neighbours[pick];
    if (target == nullptr) {
        level->SpawnMonster(-1, -1, false, false, true);
        return;
    }
    const int32_t px = target->left + RandomInt(target->right - target->left);
    const int32_t py = target->top + RandomInt(target->bottom - target->top);
    int32_t x = 0;
    int32_t y = 0;
    if (FindOpenSquareNear(&x, &y, px, py, level) != 0) level->SpawnMonster(x, y, false, false, true);
}

void DiscoverMonsterZoo() {
    Level* level = CurrentLevel;
    if (level == nullptr) return;
    for (size_t r = 0; r < level->rooms.size(); ++r) {
        RoomRecord* room = level->rooms[r];
        if (room == nullptr || room->active != 0) continue;
        bool found = false;
        int32_t fx = 0;
        int32_t fy = 0;
        for (int32_t y = room->top; y < room->bottom && !found; ++y) {
            for (int32_t x = room->left; x < room->right && !found; ++x) {
                const LevelCell* cell = level->GetCell(x, y);
                if (cell == nullptr || !cell->HasFlag(SquareFlag::Visible)) continue;
                if (cell->type != SquareType::Floor && cell->type != SquareType::ZooFloor) continue;
                if (level->HasObjectAt(x, y)) continue;
                found = true;
                fx = x;
                fy = y;
            }
        }
        if (!found) continue;
        const LevelCell* cell = level->GetCell(fx, fy);
        if (CurrentPlayer != nullptr) CurrentPlayer->lastDiscoveredRoom = cell->room;
        AddText("You have discovered " + level->GetRoomName(cell->room) + "!", true);
        if (cell->type == SquareType::Floor) PopulateRoomWithMonsters(level, room);
        room->active = 1;
        if (TemplateFlag(room, &RoomTemplate::zoo)) {
            FillMonsterZoo(level, room);
            AnnounceZoo();
        }
    }
}

void PopulateRoomWithMonsters(Level* level, RoomRecord* room) {
    if (level == nullptr || room == nullptr || room->active != 0) return;
    room->active = 1;
    if (level->depth == 0 && room->roomId == 0) return;
    MonsterSpawnerState& s = MonsterSpawner;
    s.roomsPopulated += 1;
    int32_t n = GetTweakInt("minimum number of monsters in room");
    if (s.roomsPopulated > GetTweakInt("additional monsters grace period")) {
        n += RandomInt(GetTweakInt("maximum number of additional monsters"));
    }
    n += RandomInt(GetTweakInt("additional number of monsters per room per level") * level->depth);
    if (TemplateFlag(room, &RoomTemplate::nomonsters)) return;
    int32_t x = 0;
    int32_t y = 0;
    if (MTOneChanceIn(static_cast<uint32_t>(GetTweakInt("horde chance"))) && level->depth > 0 &&
        s.roomsPopulated > GetTweakInt("horde room grace period")) {
        if (PickRandomOpenSquareInRect(&x, &y, room->left, room->top, room->right, room->bottom, level) != 0) {
            level->SpawnHorde(x, y, nullptr, nullptr, -1, -1);
            s.spawnSuppression += 10;
        }
    } else {
        for (int32_t i = 0; i < n; ++i) {
            s.spawnSuppression += 1;
            if (PickRandomOpenSquareInRect(&x, &y, room->left, room->top, room->right, room->bottom, level) == 0) {
                continue;
            }
            Monster* monster = level->SpawnMonster(x, y, false, false, true);
            if (monster == nullptr || monster->record->terrain != 1) continue;
            int32_t lx = 0;
            int32_t ly = 0;
            if (PickRandomLiquidSquareInRect(&lx, &ly, room->left, room->top, room->right, room->bottom, level) != 0) {
                monster->PlaceOnLevel(lx, ly, level, 0);
            } else {
                delete monster;  // its destructor takes it off the level
            }
        }
    }
    if (MTOneChanceIn(static_cast<uint32_t>(GetTweakInt("named monster chance"))) && level->depth > 0 &&
        PickRandomOpenSquareInRect(&x, &y, room->left, room->top, room->right, room->bottom, level) != 0) {
        // One draw per statement: the name first, then the boost.
        const std::string name = MakeMonsterName();
        const int32_t boost = RandomInt(2);
        if (Monster* named = level->CreateNamedMonster(name.c_str(), boost)) Place(level, named, x, y);
    }
}

void FillMonsterZoo(Level* level, RoomRecord* room) {
    if (level == nullptr || room == nullptr) return;
    for (int32_t x = room->left; x < room->right; ++x) {
        for (int32_t y = room->top; y < room->bottom; ++y) {
            if (!level->IsInside(x, y) || level->SquareKind(x, y) != SquareType::ZooFloor || level->HasObjectAt(x, y)) {
                continue;
            }
            Monster* monster = nullptr;
            if (MTOneChanceIn(50)) {
                const std::string name = MakeMonsterName();
                const int32_t boost = 1 + (CRand() >> 14);
                monster = level->CreateNamedMonster(name.c_str(), boost);
                if (monster != nullptr) Place(level, monster, x, y);
            } else {
                monster = level->SpawnMonster(x, y, false, false, false);
            }
            if (monster == nullptr) continue;
            monster->zooMonster = true;
            if (CurrentPlayer != nullptr) CurrentPlayer->zooMonsterCount += 1;
        }
    }
}

void SpawnWanderingMonster(Level* level) {
    if (level) level->SpawnMonster(-1, -1, false, false, true);
}
