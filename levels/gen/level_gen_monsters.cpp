// Monsters of level generation and the room scripts: the monster-level roll, named monsters,
// hordes and single spawns.
#include <algorithm>
#include <cstdio>

#include "core/random.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/monster_names.h"
#include "items_fixtures/quest.h"
#include "levels/gen/level_layout.h"
#include "levels/gen/monster_tables.h"
#include "levels/gen/square_pickers.h"
#include "levels/level.h"
#include "levels/object_queue.h"

namespace {

constexpr int32_t kMaxRecordDraws = 200;
constexpr int32_t kDamageKindsRolled = 13;

int32_t ClampMonsterLevel(int32_t m) { return std::max(0, std::min(m, kMonsterLevelCount - 1)); }

// A record of table m drawn with the C generator, again while it is aquatic and that is not
// allowed; after the bounded draws the first acceptable record; null when the table has none.
MonsterRecord* DrawRecord(int32_t m, bool aquaticAllowed) {
    const std::vector<MonsterRecord*>& table = MonsterTables[ClampMonsterLevel(m)];
    if (table.empty()) return nullptr;
    for (int32_t draw = 0; draw < kMaxRecordDraws; ++draw) {
        MonsterRecord* record = table[static_cast<size_t>(RandomInt(static_cast<int32_t>(table.size())))];
        if (aquaticAllowed || record->terrain != 1) return record;
    }
    for (MonsterRecord* record : table) {
        if (aquaticAllowed || record->terrain != 1) return record;
    }
    return nullptr;
}

bool EmptySquare(const Level& level, int32_t x, int32_t y) {
    return !level.HasObjectAt(x, y) && !IsQueuedMoveTarget(&level, x, y);
}

void PutMonster(Level& level, Monster* monster, int32_t x, int32_t y) {
    monster->PlaceOnLevel(x, y, &level, 0);
}

// Squares drawn uniformly (C) over the level until `fits`; false after the bounded draws.
template <class Fits>
bool DrawLevelSquare(const char* what, const Level& level, int32_t* outX, int32_t* outY, Fits fits) {
    return DrawSquareUntil(what, 0, 0, level.width, level.height, outX, outY, fits);
}

}  // namespace

int32_t Level::RollMonsterLevel() const {
    const int32_t last = LastDungeonDepth();
    if (isSideDimension != 0) return static_cast<int32_t>(MTRandomInt(static_cast<uint32_t>(last)));
    if (!MTOneChanceIn(static_cast<uint32_t>(GetTweakInt("monster boost chance")))) return depth;
    return std::max(0, std::min(depth + 1, last));
}

Monster* Level::CreateNamedMonster(const char* monsterName, int32_t offset) {
    int32_t m = ClampMonsterLevel(RollMonsterLevel() + offset);
    while (m >= 0 && MonsterTables[m].empty()) --m;
    if (m < 0) return nullptr;
    MonsterRecord* record = DrawRecord(m, false);
    if (record == nullptr) return nullptr;
    Monster* monster = new Monster(record);
    monster->isNamed = true;
    monster->customName = monsterName != nullptr ? monsterName : "";
    monster->LoadAnimationVariant(-1);
    // The gains go to the bonus arrays, which RecalculateStats keeps.
    for (int32_t& stat : monster->primaryBonus) stat += 2;
    for (int32_t i = 0, n = GetTweakInt("additional named monster primary point budget"); i < n; ++i) {
        ++monster->primaryBonus[MTRandomInt(kPrimaryStatCount)];
    }
    for (int32_t i = 0, n = GetTweakInt("additional named monster secondary point budget"); i < n; ++i) {
        ++monster->statBonus[MTRandomInt(kSecondaryStatCount)];
    }
    monster->statBonus[0] = monster->health / 2;
    const int32_t bonus = GetTweakInt("additional named monster damage per level") * (depth + 1);
    monster->damageBonus[MTRandomInt(kDamageKindsRolled)] += bonus;
    for (int32_t i = 0; i < 3; ++i) monster->resistance[MTRandomInt(kDamageKindsRolled)] += bonus;
    monster->RecalculateStats();
    monster->health = monster->stat[kStatLife];
    return monster;
}

void Level::SpawnHorde(int32_t px, int32_t py, QuestRecord* quest, const char* leaderName, int32_t minSize,
                       int32_t addSize) {
    const bool anywhere = px == -1 && py == -1;
    if (!IsInside(px, py) && !anywhere) return;
    if (addSize == -1) addSize = GetTweakInt("additional horde size");
    if (minSize == -1) minSize = GetTweakInt("minimum horde size");
    int32_t t = depth;
    if (!MTOneChanceIn(static_cast<uint32_t>(GetTweakInt("horde is overpowered change")))) --t;
    t = std::max(0, std::min(t, 9));
    MonsterRecord* drawn = DrawRecord(t, false);
    if (drawn == nullptr) {
        std::printf("SpawnHorde: no monster of level %i can lead a horde\n", t);
        return;
    }
    const int32_t size = minSize + RandomInt(addSize);
    if (anywhere && !DrawLevelSquare("horde square", *this, &px, &py, [&](int32_t x, int32_t y) { return SquareKind(x, y) == SquareType::Floor; })) {
        return;
    }
    MonsterRecord* record = drawn;
    if (leaderName != nullptr) {
        record = monDBFindByDisplayName(leaderName);
        if (record == nullptr) {
            std::printf("SpawnHorde: no monster shown as \"%s\"; the horde follows a drawn leader\n", leaderName);
            record = drawn;
        }
    }
    Monster* leader = new Monster(record);
    leader->customName = MakeMonsterName();
    leader->isNamed = true;
    for (int32_t& stat : leader->primaryBonus) stat += 10;
    leader->primaryBonus[0] += 10;
    leader->hordeName = quest != nullptr ? quest->hordeName : MakeRandomArmyName();
    leader->LoadAnimationVariant(-1);
    leader->RecalculateStats();
    leader->alwaysNotices = true;
    leader->quest = quest;
    QueueObjectMove(leader, px, py, this);
    int32_t placed = 1;
    const RoomRecord* room = GetRoomRecordAt(px, py);
    const int32_t x0 = room != nullptr ? room->left : px - 3;
    const int32_t y0 = room != nullptr ? room->top : py - 3;
    const int32_t x1 = room != nullptr ? room->right : px + 4;
    const int32_t y1 = room != nullptr ? room->bottom : py + 4;
    for (int32_t attempt = 0; attempt < size + 1; ++attempt) {
        int32_t fx = 0;
        int32_t fy = 0;
        PickRandomOpenSquareInRect(&fx, &fy, x0, y0, x1, y1, this);
        if (!IsInside(fx, fy) || SquareKind(fx, fy) != SquareType::Floor || !EmptySquare(*this, fx, fy)) continue;
        Monster* follower = new Monster(record);
        follower->alwaysNotices = true;
        follower->quest = quest;
        follower->commander = leader;
        leader->hordeMembers.push_back(follower);
        QueueObjectMove(follower, fx, fy, this);
        ++placed;
    }
    if (quest != nullptr) quest->membersLeft = placed;
}

Monster* Level::SpawnMonster(int32_t px, int32_t py, bool sleeping, bool groupAllowed, bool aquaticAllowed) {
    const int32_t m = ClampMonsterLevel(RollMonsterLevel());
    if (MonsterTables[m].empty()) return nullptr;
    MonsterRecord* record = DrawRecord(m, aquaticAllowed);
    if (record == nullptr) return nullptr;
    const bool unplaced = px == -1 || py == -1;
    const int32_t divisor = 5 * (std::max(depth, 0) + 1);
    if (groupAllowed && MTOneChanceIn(static_cast<uint32_t>(100 / divisor)) && record->terrain != 1 && unplaced) {
        const int32_t followers = 5 + RandomInt(5);
        int32_t lx = 0;
        int32_t ly = 0;
        if (!DrawLevelSquare("group leader square", *this, &lx, &ly, [&](int32_t x, int32_t y) {
                return SquareKind(x, y) == SquareType::Floor && EmptySquare(*this, x, y);
            })) {
            return nullptr;
        }
        Monster* leader = new Monster(record);
        leader->customName = MakeMonsterName();
        leader->isNamed = true;
    leader->isNamed = true;
        leader->hordeName = MakeRandomArmyName();
        for (int32_t& stat : leader->primaryBonus) stat += 3;
        leader->primaryBonus[0] += 12;
        leader->LoadAnimationVariant(-1);
        leader->RecalculateStats();
        leader->health = leader->stat[kStatLife];
        PutMonster(*this, leader, lx, ly);
        for (int32_t i = 0; i < followers; ++i) {
            int32_t fx = lx + CRand() / 4096 - 4;
            int32_t fy = ly + CRand() / 4096 - 4;
            if (!IsInside(fx, fy) || SquareKind(fx, fy) != SquareType::Floor || !EmptySquare(*this, fx, fy)) continue;
            Monster* follower = new Monster(record);
            follower->alwaysNotices = true;
            follower->commander = leader;
            leader->hordeMembers.push_back(follower);
            PutMonster(*this, follower, fx, fy);
        }
        return nullptr;
    }
    if (unplaced) {
        bool found = false;
        if (record->terrain == 1) {
            if (waterSquares.empty()) return nullptr;
            for (int32_t draw = 0; draw < kMaxSquareDraws && !found; ++draw) {
                const auto& square = waterSquares[static_cast<size_t>(RandomInt(static_cast<int32_t>(waterSquares.size())))];
                px = square.first;
                py = square.second;
                found = SquareKind(px, py) == SquareType::Water && EmptySquare(*this, px, py);
            }
            if (!found) NoteSearchGivenUp("water square");
        } else {
            found = DrawLevelSquare("monster square", *this, &px, &py, [&](int32_t x, int32_t y) {
                int32_t kind = SquareKind(x, y);
                return (kind == SquareType::Floor || kind == SquareType::ZooFloor) && EmptySquare(*this, x, y);
            });
        }
        if (!found) return nullptr;
    } else if (!IsInside(px, py)) {
        return nullptr;
    }
    Monster* monster = new Monster(record);
    PutMonster(*this, monster, px, py);
    if (MTOneChanceIn(5)) monster->statusFlags |= Monster::kStatusPacified;
    if (MTOneChanceIn(10) || sleeping) monster->statusFlags |= Monster::kStatusAsleep;
    return monster;
}
