#include "core/shell/level_change.h"

#include <cstdio>

#include "core/random.h"
#include "core/shell/play_loop.h"
#include "core/shell/saved_games.h"
#include "creatures/monster.h"
#include "creatures/player.h"
#include "interface/game_frame.h"
#include "interface/ui_services.h"
#include "items_fixtures/inventory.h"
#include "levels/branch_db.h"
#include "levels/gen/level_content.h"
#include "levels/gen/level_gfx.h"
#include "levels/gen/level_layout.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "levels/path_finding.h"
#include "media/effect_animation.h"
#include "media/music.h"
#include "media/sprite.h"

bool HeroInMonsterZoo = false;
std::deque<std::pair<int32_t, int32_t>> TrapdoorStack;

const char* const kNoStairsUpText =
    "There has been a real sod up while creating your level. As a consequence, you're not going anywhere.";

namespace {

int32_t LevelSide() {
    return CurrentPlayer != nullptr && CurrentPlayer->quickie != 0 ? 75 : 100;
}

// The first steps of every change: queued deletions, then (stairs only) the goods paid and
// the autosave, then the hero's walk stopped.
void LeaveCurrentLevel(bool autosave) {
    DeleteQueuedObjects();
    // No animation queued on the level left behind plays on the next one.
    ClearQueuedAnimations();
    if (autosave) {
        MarkAllItemsPaid();
        // A tutorial never writes over the player's own autosave.
        if (!TutorialFlag && CurrentPlayer != nullptr && !CurrentPlayer->dead) SaveGame(kAutosaveFileName);
    }
    if (CurrentPlayer != nullptr) CurrentPlayer->InterruptWalk();
}

// The transient sprites go, and the hero's creature form, if any, loads its own again.
void FreeLevelSprites() {
    SpriteMgr_FreeTransient();
    if (CurrentPlayer != nullptr && CurrentPlayer->isPolymorphed != 0) CurrentPlayer->LoadPolymorphAnimations();
}

void ReloadMonsterAnimations(Level* level) {
    for (GameObj* obj : level->monsters) {
        Monster* monster = dynamic_cast<Monster*>(obj);
        if (monster != nullptr) monster->LoadAnimations();
    }
}

// The sprites of the level the hero arrives on: only now that the change is certain are the
// transient sprites of the old level freed.
void LoadArrivalSprites(Level* level) {
    FreeLevelSprites();
    ReloadMonsterAnimations(level);
}

// The last steps of every change, on level L at (x, y).
void ArriveOn(Level* level, int32_t x, int32_t y) {
    HeroInMonsterZoo = false;
    CurrentPlayer->levelChangeCleared = 0;
    CurrentPlayer->PlaceOnLevel(x, y, level, 0);
    CurrentLevel = level;
    level->previousRoom = -1;
    BuildAStarForLevel();
    CurrentPlayer->SetIdleAnimation();
    FlushInput();
    AfterLevelChange();
}

// A new level of that depth, filled, with its tiles, appended to the level list.
Level* BuildLevel(int32_t depth) {
    Level* level = new Level(0, depth);
    const int32_t side = LevelSide();
    GenLevelContent(level, side, side);
    GenLevelGFXRep(level, 0, 0, level->width, level->height);
    level->ClearHighlights();
    GameLevels.push_back(level);
    return level;
}

// Staircase search, column by column; false when none matches.
bool FindStairs(const Level* level, uint8_t kind, int32_t stairIndex, bool anyIndex, int32_t* outX,
                int32_t* outY) {
    for (int32_t x = 0; x < level->width; ++x) {
        for (int32_t y = 0; y < level->height; ++y) {
            const LevelCell* cell = level->GetCell(x, y);
            if (cell->type != kind) continue;
            if (!anyIndex && cell->stairIndex != stairIndex) continue;
            *outX = x;
            *outY = y;
            return true;
        }
    }
    return false;
}

bool TrapdoorSquareFits(Level* level, int32_t x, int32_t y) {
    GameObj* hero = CurrentPlayer;
    return level->IsSquarePassable(hero, x, y) && level->IsSquarePassable(hero, x, y - 1) &&
           level->IsSquarePassable(hero, x + 1, y) && level->IsSquarePassable(hero, x, y + 1) &&
           level->IsSquarePassable(hero, x + 1, y + 1);
}

// A landing square for the trapdoor: random draws first, a bounded number of them, then the
// first square that fits in scan order. False when the level has none.
bool DrawTrapdoorSquare(Level* level, int32_t* outX, int32_t* outY) {
    for (int32_t draw = 0; draw < kTrapdoorDraws; ++draw) {
        const int32_t x = CRand() / 335;
        const int32_t y = CRand() / 335;
        if (TrapdoorSquareFits(level, x, y)) {
            *outX = x;
            *outY = y;
            return true;
        }
    }
    for (int32_t x = 0; x < level->width; ++x) {
        for (int32_t y = 0; y < level->height; ++y) {
            if (TrapdoorSquareFits(level, x, y)) {
                *outX = x;
                *outY = y;
                return true;
            }
        }
    }
    return false;
}

}  // namespace

namespace {

bool IsListed(const Level* level) {
    for (const Level* known : GameLevels) {
        if (known == level) return true;
    }
    return false;
}

}  // namespace

std::vector<Level*> LevelsInSaveOrder() {
    std::vector<Level*> order;
    order.reserve(GameLevels.size());
    for (Level* level : GameLevels) {
        const bool follows = level->isSideDimension != 0 && level->returnLevel != nullptr &&
                             level->returnLevel != level && IsListed(level->returnLevel);
        if (follows) continue;
        order.push_back(level);
        for (Level* side : GameLevels) {
            if (side != level && side->isSideDimension != 0 && side->returnLevel == level) order.push_back(side);
        }
    }
    return order;
}

void LinkSideDimensionsToTheirReturn() {
    for (size_t i = 0; i < GameLevels.size(); ++i) {
        Level* side = GameLevels[i];
        if (side->isSideDimension == 0) continue;
        side->returnLevel = nullptr;
        for (size_t j = i; j > 0 && side->returnLevel == nullptr; --j) {
            Level* before = GameLevels[j - 1];
            if (before->isSideDimension == 0 && before->depth == side->returnDepth) side->returnLevel = before;
        }
    }
}

void AfterLevelChange() {
    HeroInMonsterZoo = false;
    HeroInShopFlag = 0;
    if (HeldTrackFlag || PendingMusicChange) {
        HeldTrackFlag = false;
        PendingMusicChange = false;
        RotateDungeonMusic(true);
    }
}

void DescendStairs(int32_t stairIndex, int32_t branchId, int32_t depth) {
    (void)branchId;  // the branch follows from the depth
    if (CurrentPlayer == nullptr) return;
    LeaveCurrentLevel(true);
    int32_t x = 0;
    int32_t y = 0;
    for (size_t i = 0; i < GameLevels.size(); ++i) {
        Level* level = GameLevels[i];
        if (level->depth != depth || level->isSideDimension != 0) continue;
        if (!FindStairs(level, SquareType::StairsUp, stairIndex, false, &x, &y)) continue;
        LoadArrivalSprites(level);
        ArriveOn(level, x, y);
        CurrentPlayer->currentRoom = level->GetCell(x, y)->room;
        return;
    }
    Level* level = BuildLevel(depth);
    const bool sameIndex = FindStairs(level, SquareType::StairsUp, stairIndex, false, &x, &y);
    if (!sameIndex && !FindStairs(level, SquareType::StairsUp, stairIndex, true, &x, &y)) {
        // The hero stays; the old level's sprites were never freed. The new level stays listed.
        ShowDialog(kNoStairsUpText, "ui/dialog_but_ok", nullptr);
        ResetFrameClock();
        return;
    }
    LoadArrivalSprites(level);
    ArriveOn(level, x, y);
    if (!sameIndex) CurrentPlayer->currentRoom = level->GetCell(x, y)->room;
}

void AscendStairs(int32_t stairIndex, int32_t branchId, int32_t depth) {
    if (CurrentPlayer == nullptr) return;
    LeaveCurrentLevel(true);
    if (branchId == 0 && depth == -1) return;  // the staircase up of the first level
    for (size_t i = 0; i < GameLevels.size(); ++i) {
        Level* level = GameLevels[i];
        if (level->depth != depth || level->isSideDimension != 0) continue;
        int32_t x = 0;
        int32_t y = 0;
        if (!FindStairs(level, SquareType::StairsDown, stairIndex, false, &x, &y) &&
            !FindStairs(level, SquareType::StairsDown, stairIndex, true, &x, &y)) {
            continue;
        }
        LoadArrivalSprites(level);
        ArriveOn(level, x, y);
        return;
    }
}

void TravelThroughPortal() {
    if (CurrentPlayer == nullptr || CurrentLevel == nullptr) return;
    Player* hero = CurrentPlayer;
    Level* here = CurrentLevel;
    LeaveCurrentLevel(false);
    if (here->isSideDimension != 0) {
        // Back to the level the portal was entered from, when it is still listed.
        Level* back = nullptr;
        for (Level* level : GameLevels) {
            if (level == here->returnLevel) back = level;
        }
        for (size_t i = 0; back == nullptr && i < GameLevels.size(); ++i) {
            if (GameLevels[i] != here && GameLevels[i]->depth == here->returnDepth) back = GameLevels[i];
        }
        if (back != nullptr) {
            LoadArrivalSprites(back);
            FlushInput();
            hero->PlaceOnLevel(here->returnX, here->returnY, back, 0);
            hero->currentRoom = kNoRoomIndex;
            hero->SetIdleAnimation();
            for (size_t i = 0; i < GameLevels.size(); ++i) {
                if (GameLevels[i] == here) GameLevels.erase(GameLevels.begin() + static_cast<std::ptrdiff_t>(i));
            }
            delete here;
            CurrentLevel = back;
            back->previousRoom = -1;
            BuildAStarForLevel();
            FlushInput();
            AfterLevelChange();
            return;
        }
    }
    FreeLevelSprites();
    Level* side = new Level(0, -1);
    const int32_t size = LevelSide();
    const int32_t roomTarget = 6 + CRand() / 16384;
    side->GenPortalLevelContent(size, size, roomTarget);
    BranchRecord* branch = side->GetBranchRecord();
    if (branch != nullptr) side->tilesetImage = branch->GetTilesetImage();
    GenLevelGFXRep(side, 0, 0, side->width, side->height);
    side->ClearHighlights();
    GameLevels.push_back(side);
    ReloadMonsterAnimations(side);
    side->returnDepth = here->depth;
    side->returnX = hero->x;
    side->returnY = hero->y;
    side->returnLevel = here;
    CurrentLevel = side;
    side->previousRoom = -1;
    hero->x = side->startX;
    hero->y = side->startY;
    BuildAStarForLevel();
    HeroInMonsterZoo = false;
    HeroInShopFlag = 0;
    hero->PlaceOnLevel(side->startX, side->startY, side, 0);
    hero->SetIdleAnimation();
    FlushInput();
    AfterLevelChange();
    hero->walkingBob.UnlinkFromTiles();
}

void ChangeDepth(int32_t delta) {
    if (CurrentPlayer == nullptr || CurrentLevel == nullptr) return;
    if (delta != 1 && delta != -1) return;
    const int32_t depth = CurrentLevel->depth + delta;
    // The last level, with the final boss, is the bottom of the dungeon.
    if (depth < 0 || depth > LastDungeonDepth()) return;
    Level* target = nullptr;
    for (Level* level : GameLevels) {
        if (target == nullptr && level->depth == depth && level->isSideDimension == 0) target = level;
    }
    int32_t x = 0;
    int32_t y = 0;
    if (delta < 0) {
        // Up again to the square the trapdoor was taken from; without one, nothing happens.
        if (target == nullptr || TrapdoorStack.empty()) return;
        x = TrapdoorStack.back().first;
        y = TrapdoorStack.back().second;
        if (!target->IsInside(x, y)) return;
    }
    LeaveCurrentLevel(false);
    if (target == nullptr) target = BuildLevel(depth);
    if (delta > 0) {
        if (!DrawTrapdoorSquare(target, &x, &y)) {
            std::printf("ChangeDepth: the level below has no square to land on\n");
            return;
        }
        TrapdoorStack.emplace_back(CurrentPlayer->x, CurrentPlayer->y);
    } else {
        TrapdoorStack.pop_back();
    }
    LoadArrivalSprites(target);
    ArriveOn(target, x, y);
}
