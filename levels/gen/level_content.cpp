// Level content generation: the level-wide content, treasure and consumable rolls, treasure
// and money placement, lever closets and random fixtures.
#include "levels/gen/level_content.h"

#include <initializer_list>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <vector>

#include "core/random.h"
#include "core/tweak.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "items_fixtures/blockers.h"
#include "items_fixtures/furniture.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_pickers.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/weapon.h"
#include "items_fixtures/passages.h"
#include "items_fixtures/quest.h"
#include "levels/branch_db.h"
#include "levels/gen/level_layout.h"
#include "levels/gen/square_pickers.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "levels/room_templates.h"

namespace {

// Redraws of a definition picker that must skip some definitions.
constexpr int32_t kMaxDefinitionDraws = 200;
// Picks of PickRandomOpenSquare for a square it cannot judge alone.
constexpr int32_t kMaxOpenSquarePicks = 64;

int32_t CurrentDepth() { return CurrentLevel != nullptr ? CurrentLevel->depth : 0; }

const RoomTemplate* TemplateAt(const Level& level, int32_t x, int32_t y) {
    const LevelCell* cell = level.GetCell(x, y);
    return cell != nullptr ? level.GetRoomTemplate(cell->room) : nullptr;
}

bool NoBlockersAt(const Level& level, int32_t x, int32_t y) {
    const RoomTemplate* t = TemplateAt(level, x, y);
    return t != nullptr && t->noblockers != 0;
}

bool NoTreasureAt(const Level& level, int32_t x, int32_t y) {
    const RoomTemplate* t = TemplateAt(level, x, y);
    return t != nullptr && t->notreasure != 0;
}

// An open square (PickRandomOpenSquare) that also passes `extra`; false after the bounded picks.
template <class Extra>
bool PickOpenSquareWhere(const char* what, Level& level, int32_t* x, int32_t* y, Extra extra) {
    for (int32_t pick = 0; pick < kMaxOpenSquarePicks; ++pick) {
        if (PickRandomOpenSquare(x, y, &level) == 0) break;
        if (extra(*x, *y)) return true;
    }
    NoteSearchGivenUp(what);
    return false;
}

// A definition drawn again while `reject` holds; null when the picker has nothing or every
// bounded draw was rejected.
template <class Picker, class Reject>
const ItemDef* DrawDefinition(Picker pick, Reject reject) {
    for (int32_t draw = 0; draw < kMaxDefinitionDraws; ++draw) {
        const ItemDef* def = pick();
        if (def == nullptr) return nullptr;
        if (!reject(def)) return def;
    }
    return nullptr;
}

const ItemDef* UniformDef(const std::vector<ItemDef*>& list) {
    if (list.empty()) return nullptr;
    return list[static_cast<size_t>(RandomInt(static_cast<int32_t>(list.size())))];
}

// base + RandomInt(n) for each n, drawn from left to right.
int32_t SumOfDraws(int32_t base, std::initializer_list<int32_t> ranges) {
    for (int32_t n : ranges) base += RandomInt(n);
    return base;
}

void LimitStack(Item* item, int32_t count) {
    item->stackable = 1;
    item->count = count;
    if (item->def != nullptr && item->def->maxStack >= 1) item->count = std::min(item->count, item->def->maxStack);
}

bool InRange(int32_t r, const char* minName, const char* maxName) {
    return r >= GetTweakInt(minName) && r <= GetTweakInt(maxName);
}

bool IsRingClass(const ItemDef* def) {
    return def->slot == kArmourRing || def->slot == 4 || def->slot == kArmourNeck;
}

Item* MakeArtifact(bool weapon) {
    Item* item = nullptr;
    if (weapon) {
        const ItemDef* def = DrawDefinition([] { return RandomWeaponDefByLevel(0, 0); }, [](const ItemDef* d) {
            return d->special || d->itemClass == kWeaponThrowing;
        });
        if (def != nullptr) item = new Weapon(def);
    } else {
        const ItemDef* def = DrawDefinition([] { return RandomArmourDefByLevel(0); }, [](const ItemDef* d) { return d->special; });
        if (def != nullptr) item = new Armour(def);
    }
    if (item == nullptr) return nullptr;
    const int32_t power = 1 + RandomInt(static_cast<int32_t>(std::floor(CurrentDepth() * 0.25)));
    return MakeItemArtifact(item, power);
}

// The uber chest of RollRoomFurniture with its artifact and its lever.
void PlaceUberChest(Level& level, int32_t x, int32_t y) {
    UberChest* chest = new UberChest();
    chest->PlaceOnLevel(x, y, &level, 0);
    const int32_t depth = level.depth;
    Item* item = nullptr;
    if (MTOneChanceIn(2)) {
        const ItemDef* def = RandomEquipmentDefByLevel(depth + 1, 1, 0);
        if (def != nullptr) {
            Weapon* weapon = new Weapon(def);
            MakeItemArtifact(weapon, depth + 1);
            Buff* bonus = weapon->artifactRecord.grantedBuff.get();
            if (bonus != nullptr) std::fill(std::begin(bonus->damage), std::end(bonus->damage), 0);
            weapon->AddChestBonus(MTOneChanceIn(2) ? 0 : 1, 2 * depth + 2);
            item = weapon;
        }
    } else {
        const ItemDef* def = RandomEquipmentDefByLevel(depth + 1, 1, 1);
        if (def != nullptr) {
            item = MakeItemArtifact(new Armour(def), depth + 1);
        }
    }
    chest->content = item;
    int32_t lx = 0;
    int32_t ly = 0;
    const bool found = DrawSquareUntil("uber chest lever square", 0, 0, level.width, level.height, &lx, &ly,
                                       [&level](int32_t sx, int32_t sy) {
                                           return level.SquareKind(sx, sy) == SquareType::Floor &&
                                                  !level.HasObjectAt(sx, sy) && level.IsClearFloor3x3(sx, sy);
                                       });
    if (!found) return;
    Lever* lever = new Lever();
    lever->kind = 3;
    lever->targetX = x;
    lever->targetY = y;
    lever->linked = chest;
    lever->PlaceOnLevel(lx, ly, &level, 0);
}

// Diagnostics for data the content needs.
void MissingData(const char* what) {
    ReportGenerationError("levelContent", __LINE__, what);
}

// Set once the empty shrine table has been reported, cleared when the table holds kinds
// again: the diagnostic comes once for as long as the table stays empty, not with every level.
bool gEmptyShrineTableReported = false;

void PlaceQuestBlocker(Level& level) {
    if (QuestBlockerTypes.empty()) {
        if (!gEmptyShrineTableReported) MissingData("there are no quest shrine kinds; levels get no quest shrine");
        gEmptyShrineTableReported = true;
        return;
    }
    gEmptyShrineTableReported = false;
    const int32_t kind = RandomInt(static_cast<int32_t>(QuestBlockerTypes.size()));
    QuestBlocker* blocker = new QuestBlocker(kind);
    int32_t x = 0;
    int32_t y = 0;
    if (!PickOpenSquareWhere("quest blocker square", level, &x, &y, [&](int32_t cx, int32_t cy) {
            return !NoBlockersAt(level, cx, cy) && !level.HasObjectAt(cx, cy) && !IsQueuedMoveTarget(&level, cx, cy);
        })) {
        delete blocker;
        return;
    }
    level.questBlocker = blocker;
    QueueObjectMove(blocker, x, y, &level);
}

void PlaceFood(Level& level) {
    const int32_t wanted = GetTweakInt("minimum food per level") + 4 * level.depth;
    const int32_t maxPicks = 10 * std::max(wanted, 0) + 100;
    int32_t counted = 0;
    for (int32_t pick = 0; pick < maxPicks && counted < wanted; ++pick) {
        int32_t x = 0;
        int32_t y = 0;
        PickRandomOpenSquare(&x, &y, &level);
        if (NoTreasureAt(level, x, y)) continue;
        if (level.SquareKind(x, y) == SquareType::Floor) {
            const ItemDef* def = PickRandomFoodOrBoozeDef();
            if (def != nullptr) (new Food(def))->PlaceOnLevel(x, y, &level, 0);
        }
        ++counted;
    }
    if (counted < wanted) NoteSearchGivenUp("food square");
}

void PlaceFinalBoss(Level& level) {
    MonsterRecord* record = ExtendedContentFlag() ? monDBFindByName(kFinalBossRecordName)
                                                  : monDBFindByDisplayName(kFinalBossDisplayName);
    if (record == nullptr) {
        MissingData(ExtendedContentFlag() ? "no monster record \"Tougher Lord Zarnoch\"; the last level has no final boss"
                                          : "no monster record shown as \"Lord Zarnoch\"; the last level has no final boss");
        return;
    }
    int32_t x = 0;
    int32_t y = 0;
    if (!DrawSquareUntil("final boss square", 0, 0, level.width, level.height, &x, &y,
                         [&level](int32_t sx, int32_t sy) { return level.SquareKind(sx, sy) == SquareType::Floor; })) {
        MissingData("no floor square for the final boss");
        return;
    }
    Monster* boss = new Monster(record);
    boss->isNamed = 1;
    boss->customName = kFinalBossDisplayName;
    boss->PlaceOnLevel(x, y, &level, 0);
}

void PlaceTeleporters(Level& level) {
    const int32_t pairs = GetTweakInt("number of teleporters");
    for (int32_t i = 0; i < pairs; ++i) {
        auto allowsBlockers = [&](int32_t cx, int32_t cy) { return !NoBlockersAt(level, cx, cy); };
        int32_t ax = 0;
        int32_t ay = 0;
        int32_t bx = 0;
        int32_t by = 0;
        if (!PickOpenSquareWhere("teleporter square", level, &ax, &ay, allowsBlockers)) continue;
        if (!PickOpenSquareWhere("teleporter square", level, &bx, &by, allowsBlockers)) continue;
        if (level.SquareKind(ax, ay) != SquareType::Floor || level.SquareKind(bx, by) != SquareType::Floor ||
            !level.IsClearFloor3x3(ax, ay) || !level.IsClearFloor3x3(bx, by) || (ax == bx && ay == by)) {
            continue;
        }
        (new Teleporter(bx, by))->PlaceOnLevel(ax, ay, &level, 0);
        (new Teleporter(ax, ay))->PlaceOnLevel(bx, by, &level, 0);
    }
}

}  // namespace

void ResetContentReports() { gEmptyShrineTableReported = false; }

bool GenLevelContent(Level* level, int32_t width, int32_t height) {
    if (level == nullptr) return false;
    BeginGenerationScope();
    Level* previous = CurrentLevel;
    CurrentLevel = level;
    // The level stays current for the whole generation: the item pickers draw near its depth.
    const bool accepted = level->GenRoomLayout(width, height);

    level->waterSquares.clear();
    for (int32_t x = 0; x < level->width; ++x) {
        for (int32_t y = 0; y < level->height; ++y) {
            if (level->SquareKind(x, y) == SquareType::Water) level->waterSquares.emplace_back(x, y);
        }
    }
    PlaceQuestBlocker(*level);

    // Each draw is its own statement: the order of the operands of + is unspecified, and the
    // same seed must give the same level with every compiler and build.
    int32_t fixtures = GetTweakInt("minimum blockers") + RandomInt(GetTweakInt("blocker number b"));
    fixtures += 2 * level->depth;
    fixtures += RandomInt(GetTweakInt("blocker number a"));
    if (QuickGameFlag()) fixtures /= 10;
    for (int32_t i = 0; i < fixtures; ++i) RollRoomFurniture(level);

    level->PlaceZorkmids(GetTweakInt("zorkmids per level") * (level->depth + 1), 30);
    PlaceFood(*level);
    if (level->depth == LastDungeonDepth()) PlaceFinalBoss(*level);
    PlaceTeleporters(*level);
    CurrentLevel = previous;
    EndGenerationScope();
    return accepted;
}

Item* RollTreasure(bool artifact, int32_t) {
    const int32_t r = RandomInt(GetTweakInt("treasure roll size"));
    if (artifact) return MakeArtifact(MTOneChanceIn(2));
    if (InRange(r, "weapon roll min", "weapon roll max")) {
        const ItemDef* def = DrawDefinition([] { return RandomWeaponDefByLevel(0, 0); }, [](const ItemDef* d) { return d->special; });
        if (def == nullptr) return nullptr;
        Item* item = new Weapon(def);
        if (def->itemClass == kWeaponThrowing) LimitStack(item, SumOfDraws(10, {20, 10}));
        return item;
    }
    if (InRange(r, "armour roll min", "armour roll max")) {
        const ItemDef* def = DrawDefinition([] { return RandomArmourDefByLevel(0); }, [](const ItemDef* d) {
            return d->special || IsRingClass(d);
        });
        return def != nullptr ? new Armour(def) : nullptr;
    }
    if (InRange(r, "ring roll min", "ring roll max")) {
        const ItemDef* def = DrawDefinition([] { return RandomArmourDefByLevel(0); }, [](const ItemDef* d) {
            return d->special || !IsRingClass(d);
        });
        return def != nullptr ? new Armour(def) : nullptr;
    }
    if (InRange(r, "ammo roll min", "ammo roll max")) {
        const ItemDef* def = MTOneChanceIn(2) ? RandomThrowingWeaponDefByLevel() : UniformDef(ItemDefLists.ammunition);
        if (def == nullptr) return nullptr;
        Item* item = new Weapon(def);
        LimitStack(item, SumOfDraws(1, {10, 5, 2}));
        return item;
    }
    if (InRange(r, "potion roll min", "potion roll max")) {
        const ItemDef* def = PickRandomPotionDef();
        return def != nullptr ? new Potion(def) : nullptr;
    }
    if (InRange(r, "lockpick roll min", "lockpick roll max")) {
        Item* item = new Misc(0);
        LimitStack(item, SumOfDraws(1, {10, 5, 2}));
        return item;
    }
    if (InRange(r, "mushroom roll min", "mushroom roll max")) {
        const ItemDef* def = RandomMushroomDef();
        return def != nullptr ? new Mushroom(def) : nullptr;
    }
    if (InRange(r, "wand roll min", "wand roll max")) {
        const ItemDef* def = PickRandomWandDef();
        return def != nullptr ? new Wand(def) : nullptr;
    }
    if (InRange(r, "food roll min", "food roll max")) {
        const ItemDef* def = PickRandomFoodOrBoozeDef();
        return def != nullptr ? new Food(def) : nullptr;
    }
    const ItemDef* def = RandomWeaponDefByLevel(0, 0);
    return def != nullptr ? new Weapon(def) : nullptr;
}

Item* RollConsumableLoot() {
    const int32_t p = CRand() / 328;
    if (p > 66) {
        const ItemDef* def = PickRandomFoodOrBoozeDef();
        return def != nullptr ? new Food(def) : nullptr;
    }
    if (p >= 34) {
        const ItemDef* def = PickRandomPotionDef();
        return def != nullptr ? new Potion(def) : nullptr;
    }
    const ItemDef* def = DrawDefinition([] { return RandomThrowingWeaponDefByLevel(); },
                                        [](const ItemDef* d) { return d->special; });
    if (def == nullptr) return nullptr;
    Item* item = new Weapon(def);
    int32_t count = 1 + CRand() / 1639;
    count += CRand() / 6554;
    count += CRand() >> 14;
    LimitStack(item, count);
    return item;
}

void RollRoomFurniture(Level* level) {
    if (level == nullptr) return;
    BranchRecord* branch = level->GetBranchRecord();
    if (branch == nullptr || branch->blockers.empty()) return;
    int32_t x = 0;
    int32_t y = 0;
    if (!PickOpenSquareWhere("fixture square", *level, &x, &y, [&](int32_t cx, int32_t cy) { return !NoBlockersAt(*level, cx, cy); })) {
        return;
    }
    GameObj* fixture = nullptr;
    if (MTOneChanceIn(static_cast<uint32_t>(GetTweakInt("fountain chance")))) {
        fixture = new Fountain();
    } else if (MTOneChanceIn(static_cast<uint32_t>(GetTweakInt("dispenser chance")))) {
        fixture = new Dispenser(static_cast<int32_t>(MTRandomInt(5)));
    } else if (MTOneChanceIn(static_cast<uint32_t>(GetTweakInt("uberchest chance")))) {
        PlaceUberChest(*level, x, y);
        return;
    } else if (MTOneChanceIn(static_cast<uint32_t>(GetTweakInt("evilchest chance")))) {
        fixture = new EvilChest();
    } else if (MTOneChanceIn(static_cast<uint32_t>(GetTweakInt("bbq chance")))) {
        fixture = new BBQ();
    } else if (MTOneChanceIn(static_cast<uint32_t>(GetTweakInt("freezer chance")))) {
        fixture = new Freezer();
    } else {
        const int32_t index = RandomInt(static_cast<int32_t>(branch->blockers.size()));
        if (branch->GetBlocker(index) == nullptr) return;
        fixture = new Blocker(level, index);
    }
    fixture->PlaceOnLevel(x, y, level, 0);
}

void Level::PlaceTreasure(bool noChest) {
    Item* item = RollTreasure(false);
    if (item == nullptr) return;
    BranchRecord* branch = GetBranchRecord();
    auto base = [&](int32_t x, int32_t y) {
        return y < height - 1 && SquareKind(x, y + 1) != SquareType::Wall &&
               IsSquarePassable(nullptr, x, y, true);
    };
    auto draw = [&](int32_t* outX, int32_t* outY, auto fits) {
        return DrawSquareUntil("treasure square", 0, 0, width, height, outX, outY,
                               [&](int32_t x, int32_t y) { return base(x, y) && fits(x, y); });
    };
    int32_t x = 0;
    int32_t y = 0;
    if (MTOneChanceIn(3) && !noChest) {
        if (!draw(&x, &y, [&](int32_t cx, int32_t cy) {
                return !NoTreasureAt(*this, cx, cy) && SquareKind(cx, cy) == SquareType::Floor &&
                       !HasObjectAt(cx, cy) && IsClearFloor3x3(cx, cy);
            })) {
            delete item;
            return;
        }
        Chest* chest = new Chest(this);
        chest->content = item;
        chest->blocksMovement = 1;
        chest->RefreshPicture();  // the closed picture while it holds something
        chest->PlaceOnLevel(x, y, this, 0);
        return;
    }
    const bool loose = MTOneChanceIn(5);
    const bool haveBreakables = branch != nullptr && !branch->breakables.empty();
    if (loose || !haveBreakables) {
        if (!draw(&x, &y, [&](int32_t cx, int32_t cy) {
                return SquareKind(cx, cy) != SquareType::ShopFloor && IsClearFloor3x3(cx, cy) && !HasObjectAt(cx, cy);
            })) {
            delete item;
            return;
        }
        item->PlaceOnLevel(x, y, this, 0);
        return;
    }
    const int32_t index = static_cast<int32_t>(MTRandomInt(static_cast<uint32_t>(branch->breakables.size())));
    if (!draw(&x, &y, [&](int32_t cx, int32_t cy) {
            return SquareKind(cx, cy) == SquareType::Floor && !HasObjectAt(cx, cy) && IsClearFloor3x3(cx, cy) &&
                   !NoTreasureAt(*this, cx, cy);
        })) {
        delete item;
        return;
    }
    Breakable* breakable = new Breakable(this, index, 1, 0);
    breakable->contents = item;
    breakable->blocksMovement = 1;
    breakable->PlaceOnLevel(x, y, this, 0);
}

void Level::PlaceZorkmids(int32_t total, int32_t piles) {
    if (QuickGameFlag()) piles /= 4;
    if (piles < 1) piles = 1;
    if (total < 0) total = 0;
    std::vector<int32_t> amounts(static_cast<size_t>(piles), 0);
    for (int32_t i = 0; i < total; ++i) ++amounts[static_cast<size_t>(RandomInt(piles))];
    for (int32_t amount : amounts) {
        int32_t x = 0;
        int32_t y = 0;
        if (!PickOpenSquareWhere("zorkmid square", *this, &x, &y, [&](int32_t cx, int32_t cy) { return !NoTreasureAt(*this, cx, cy); })) {
            continue;
        }
        (new Zorkmids(amount))->PlaceOnLevel(x, y, this, 0);
    }
}

void Level::AddLeverCloset() {
    for (int32_t closet = 0; closet < 3; ++closet) {
        int32_t failures = 0;
        bool found = false;
        int32_t x = 0;
        int32_t y = 0;
        int32_t cx = 0;
        while (failures < 50 && !found) {
            x = 3 + RandomInt(width - 6);
            y = 3 + RandomInt(height - 6);
            const RoomTemplate* t = TemplateAt(*this, x, y);
            if (SquareKind(x, y) != SquareType::Wall || SquareKind(x, y - 1) != SquareType::Wall ||
                SquareKind(x, y + 1) != SquareType::Wall || t == nullptr || t->noblockers != 0) {
                ++failures;
                continue;
            }
            if (SquareKind(x - 1, y) == SquareType::Rock && SquareKind(x - 2, y) == SquareType::Rock &&
                SquareKind(x + 1, y) == SquareType::Floor) {
                cx = x - 1;
                found = true;
            } else if (SquareKind(x + 1, y) == SquareType::Rock && SquareKind(x + 2, y) == SquareType::Rock &&
                       SquareKind(x - 1, y) == SquareType::Floor) {
                cx = x + 1;
                found = true;
            } else {
                failures += 2;
            }
        }
        if (!found) continue;
        // The lever square comes first: a closet nobody could open is not dug at all.
        int32_t leverX = 0;
        int32_t leverY = 0;
        bool leverFound = false;
        for (int32_t dx = -5; dx <= 4 && !leverFound; ++dx) {
            for (int32_t dy = -5; dy <= 4 && !leverFound; ++dy) {
                int32_t lx = cx + dx;
                int32_t ly = y + dy;
                if (lx > 0 && ly >= 1 && IsInside(lx, ly) && IsClearFloor3x3(lx, ly) &&
                    SquareKind(lx, ly) == SquareType::Floor && !HasObjectAt(lx, ly) && !(lx == cx && ly == y)) {
                    leverX = lx;
                    leverY = ly;
                    leverFound = true;
                }
            }
        }
        if (!leverFound) {
            NoteSearchGivenUp("lever closet lever square");
            continue;
        }
        leverWalls.insert({x, y});
        GetCell(cx, y)->type = SquareType::Floor;
        GetCell(cx, y + 1)->type = SquareType::Floor;
        for (int32_t wx = cx - 1; wx <= cx + 1; ++wx) {
            for (int32_t wy = y - 1; wy <= y + 2; ++wy) {
                LevelCell* cell = GetCell(wx, wy);
                if (cell != nullptr && cell->type == SquareType::Rock) cell->type = SquareType::Wall;
            }
        }
        Item* item = RollTreasure(false);
        if (item != nullptr) item->PlaceOnLevel(cx, y, this, 0);
        Lever* lever = new Lever();
        lever->kind = 1;
        lever->targetX = x;
        lever->targetY = y;
        lever->PlaceOnLevel(leverX, leverY, this, 0);
    }
}
