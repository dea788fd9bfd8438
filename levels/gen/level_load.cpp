// Level::Load: reads a level record (levels/level_save.cpp reads its fields) and
// rebuilds what the record does not hold - the doors, the tile graphics, the branch, the
// levers' links to their chests, the mines' spells and the level's lists of special objects.
#include <cstdio>

#include "core/save_stream.h"
#include "creatures/player.h"
#include "creatures/shopkeeper.h"
#include "creatures/spell.h"
#include "items_fixtures/furniture.h"
#include "items_fixtures/passages.h"
#include "levels/branch_db.h"
#include "levels/gen/level_gfx.h"
#include "levels/level.h"
#include "levels/level_save.h"

namespace {
// A kind-3 lever opens the uber chest standing on its target square.
constexpr int32_t kChestLeverKind = 3;
}  // namespace

void RelinkChestLevers(Level* level) {
    for (int32_t x = 0; x < level->width; ++x) {
        for (int32_t y = 0; y < level->height; ++y) {
            for (GameObj* obj : level->GetCell(x, y)->contents) {
                if (!obj->IsLever()) continue;
                Lever* lever = dynamic_cast<Lever*>(obj);
                if (lever == nullptr || lever->kind != kChestLeverKind) continue;
                LevelCell* target = level->GetCell(lever->targetX, lever->targetY);
                if (target == nullptr) continue;
                for (GameObj* candidate : target->contents) {
                    if (candidate->IsUberChest()) lever->linked = candidate;
                }
            }
        }
    }
}

namespace {

// The lists and flags a level keeps about its objects, built again from the objects read.
void RebuildObjectState(Level* level) {
    level->waterSquares.clear();
    for (int32_t x = 0; x < level->width; ++x) {
        for (int32_t y = 0; y < level->height; ++y) {
            if (level->SquareKind(x, y) == SquareType::Water) level->waterSquares.emplace_back(x, y);
        }
    }
    level->shopkeepers.clear();
    level->customBlockers.clear();
    level->questBlocker = nullptr;
    for (GameObj* obj : level->objects) {
        if (Shopkeeper* keeper = dynamic_cast<Shopkeeper*>(obj)) {
            level->shopkeepers.push_back(keeper);
            if (keeper->hostile != 0) level->shopkeepersAngry = 1;
        }
        if (dynamic_cast<QuestBlocker*>(obj) != nullptr) {
            level->questBlocker = obj;
        } else if (obj->IsBlocker()) {
            level->customBlockers.push_back(obj);
        }
    }
    for (SpellMine* mine : level->spellMines) {
        const int32_t index = mine->spellIndex;
        mine->spell = index >= 0 && static_cast<size_t>(index) < SpellList.size() ? SpellList[index] : nullptr;
    }
}

// The branch by depth, as a new level of that depth takes it.
void ChooseBranchAgain(Level* level) {
    BranchRecord* byDepth = FindBranchForDepth(level->depth);
    if (byDepth != nullptr) {
        level->branchId = byDepth->id;
        level->tilesetImage = byDepth->GetTilesetImage();
        return;
    }
    if (level->tilesetImage == nullptr && level->depth == -1) {
        BranchRecord* own = FindBranchById(level->branchId);
        if (own != nullptr) level->tilesetImage = own->GetTilesetImage();
    }
}

}  // namespace

void Level::Load(SaveReader& in) {
    ReadLevelRooms(this, in);
    const int32_t savedWidth = in.ReadInt32();
    const int32_t savedHeight = in.ReadInt32();
    depth = in.ReadInt32();
    branchId = in.ReadInt32();
    if (in.Failed()) return;
    if (savedWidth < 0 || savedHeight < 0 || savedWidth > kMaxSavedLevelSide || savedHeight > kMaxSavedLevelSide) {
        in.Fail("a level of " + std::to_string(savedWidth) + " x " + std::to_string(savedHeight) + " squares");
        return;
    }
    BranchRecord* saved = FindBranchById(branchId);
    tilesetImage = saved != nullptr ? saved->GetTilesetImage() : nullptr;
    width = savedWidth;
    height = savedHeight;
    ReadLevelSquares(this, in);
    if (in.Failed()) return;
    EnsureSquareMaps();
    FixBadDoors();
    GenLevelGFXRep(this, 0, 0, width, height);
    ClearHighlights();
    ChooseBranchAgain(this);
    if (in.version.AtLeast(kSaveV1_0_8)) LoadRoomScriptState(in);
    if (in.version.AtLeast(kSaveV1_0_9)) {
        isSideDimension = in.ReadInt32() != 0 ? 1 : 0;
        returnDepth = in.ReadInt32();
        returnX = in.ReadInt32();
        returnY = in.ReadInt32();
    } else {
        isSideDimension = 0;
        returnDepth = 0;
        returnX = 0;
        returnY = 0;
    }
    RelinkChestLevers(this);
    RebuildObjectState(this);
}
