#include "core/shell/turn_engine.h"

#include "levels/game_obj.h"
#include "core/random.h"
#include "core/shell/game_input.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "interface/play_screen.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "levels/level.h"
#include "levels/gen/monster_spawning.h"
#include "levels/gen/room_triggers.h"
#include "levels/tutorial.h"
#include "media/effect_animation.h"
#include "media/ticker.h"
#include "store_platform/store.h"

#include <algorithm>
#include <cstdio>
#include <list>
#include <set>

bool TutorialFlag = false;

namespace {

struct PendingMove {
    GameObj* obj;
    int32_t x;
    int32_t y;
    Level* level;
};

std::vector<GameObj*> DeletionQueue;
std::list<PendingMove> MoveQueue;
std::vector<std::string> AmbientPool;

// The deletion batches and move lists being carried out right now (taken out of their queues
// first, so that objects queued meanwhile wait for the next deletion or move point). An
// object destroyed while they run is blanked out of them, so that nothing reaches it again.
std::vector<std::vector<GameObj*>*> DeletionsUnderWay;
std::vector<std::list<PendingMove>*> MovesUnderWay;

void ObjectDestroyed(GameObj* obj) {
    CancelQueuedMoves(obj);
    DeletionQueue.erase(std::remove(DeletionQueue.begin(), DeletionQueue.end(), obj), DeletionQueue.end());
    for (std::vector<GameObj*>* batch : DeletionsUnderWay) {
        std::replace(batch->begin(), batch->end(), obj, static_cast<GameObj*>(nullptr));
    }
    ForgetObjectReferences(obj);
    // A hero destroyed with its level (a test level, or a level torn down under it) must not
    // leave the global pointing at freed memory.
    if (static_cast<GameObj*>(CurrentPlayer) == obj) CurrentPlayer = nullptr;
}

void TakeOffLevel(GameObj* obj) {
    if (obj->cell) {
        obj->cell->RemoveObject(obj);
        obj->cell = nullptr;
    }
    if (obj->level) {
        obj->level->RemoveObject(obj);
        obj->level = nullptr;
    }
}

// The hero never leaves the game through a bad square: such a move is refused.
bool RefuseHeroOutsideLevel(const GameObj* obj, int32_t x, int32_t y, const Level* level) {
    if (obj == nullptr || level == nullptr || obj != static_cast<GameObj*>(CurrentPlayer)) return false;
    if (level->IsInside(x, y)) return false;
    std::printf("Refused to move the hero to square %i %i outside the level\n", x, y);
    return true;
}

void ApplyMove(const PendingMove& move) {
    if (!move.obj) return;
    if (move.level) {
        if (RefuseHeroOutsideLevel(move.obj, move.x, move.y, move.level)) return;
        if (!move.level->IsInside(move.x, move.y)) {
            // A square outside the level cannot hold the object: it is dropped at the next
            // deletion point (never here, where the moves are being walked), and its other
            // moves go with it.
            std::printf("Dropped an object queued for square %i %i outside its level\n", move.x, move.y);
            GameObj* obj = move.obj;
            CancelQueuedMoves(obj);
            QueueObjectDeletion(obj);
            return;
        }
        move.obj->PlaceOnLevel(move.x, move.y, move.level, 1);
        return;
    }
    const bool moveHasPosition = move.x != -1 && move.y != -1;
    const bool objectHasPosition = move.obj->x != -1 && move.obj->y != -1;
    if (moveHasPosition || objectHasPosition) TakeOffLevel(move.obj);
}

void ApplyQueuedMoves() {
    // Moves may queue further moves (placing an object can trigger its neighbours); those
    // wait for the next application.
    std::list<PendingMove> moves;
    moves.swap(MoveQueue);
    MovesUnderWay.push_back(&moves);
    for (const PendingMove& move : moves) ApplyMove(move);
    MovesUnderWay.pop_back();
}

// Counts down the mines of the squares holding any, square by square in the order the
// squares lie (row after row), each square's mines in their order; expired mines go at the
// end of their square's turn. Only the squares of the level's mine list are visited.
void TickSpellMines(Level* level) {
    if (level->spellMines.empty()) return;
    static std::vector<LevelCell*> squares;  // kept, so a turn makes nothing once grown
    squares.clear();
    const LevelCell* first = level->squares.data();
    const LevelCell* end = first + level->squares.size();
    for (SpellMine* mine : level->spellMines) {
        if (mine != nullptr && mine->cell >= first && mine->cell < end) squares.push_back(mine->cell);
    }
    std::sort(squares.begin(), squares.end());
    squares.erase(std::unique(squares.begin(), squares.end()), squares.end());
    std::vector<SpellMine*> expired;
    for (LevelCell* cell : squares) {
        expired.clear();
        for (SpellMine* mine : cell->mines) {
            if (mine->turnsLeft == -1) continue;
            --mine->turnsLeft;
            if (mine->turnsLeft == 0) expired.push_back(mine);
        }
        for (SpellMine* mine : expired) level->RemoveSpellMine(mine);
    }
}

void UpdateSight(Level* level, Player* hero) {
    if (hero) TurnCalls.updateFieldOfView(level, hero->x, hero->y, hero->SightRadius());
}

void ShowAmbientMessage() {
    uint32_t r;
    do {
        r = MTRandom32() / 8589934u;
    } while (r == 500);
    if (r == 0 && !TutorialFlag && !AmbientPool.empty()) {
        const int32_t n = static_cast<int32_t>(AmbientPool.size());
        const int32_t index = n > 32766 ? 0 : CRand() / (32767 / n + 1);
        AddText(AmbientPool[static_cast<size_t>(index)], true);
    }
    AmbientPool.clear();
}

// Every object destroyed, from the first one on, leaves the queues: the hook is in place
// before the program's main runs.
struct HookAtStart {
    HookAtStart() { InstallTurnEngineHooks(); }
};
const HookAtStart kHookAtStart;

}  // namespace

TurnEngineCalls DefaultTurnEngineCalls() {
    TurnEngineCalls calls;
    calls.updateFieldOfView = [](Level* level, int32_t x, int32_t y, int32_t radius) {
        level->UpdateFieldOfView(x, y, radius);
        if (level == CurrentLevel) DiscoverMonsterZoo();
    };
    calls.tickSpellTriggers = [](Player* hero) { hero->TickSpellTriggers(); };
    calls.roomTriggers = DoRoomTriggerLogic;
    calls.monsterSpawning = UpdateMonsterSpawning;
    calls.spawnWanderingMonster = SpawnWanderingMonster;
    calls.startQueuedAnimations = StartQueuedAnimations;
    calls.clearQueuedAnimations = ClearQueuedAnimations;
    calls.tutorialStep = RunTutorialStep;
    calls.storeCallbacks = SteamAPI_RunCallbacks;
    return calls;
}

TurnEngineCalls TurnCalls = DefaultTurnEngineCalls();

void InstallTurnEngineHooks() {
    SetGameObjDestroyHook(ObjectDestroyed);
}

void QueueObjectDeletion(GameObj* obj) {
    if (!obj) return;
    if (GetCursorItem() && static_cast<GameObj*>(GetCursorItem()) == obj) ClearCursorItem();
    if (std::find(DeletionQueue.begin(), DeletionQueue.end(), obj) == DeletionQueue.end()) {
        DeletionQueue.push_back(obj);
    }
}

void QueueObjectMove(GameObj* obj, int32_t x, int32_t y, Level* level) {
    if (RefuseHeroOutsideLevel(obj, x, y, level)) return;
    MoveQueue.push_back(PendingMove{obj, x, y, level});
}

void CancelQueuedMoves(GameObj* obj) {
    MoveQueue.remove_if([obj](const PendingMove& move) { return move.obj == obj; });
    for (std::list<PendingMove>* moves : MovesUnderWay) {
        for (PendingMove& move : *moves) {
            if (move.obj == obj) move.obj = nullptr;
        }
    }
}

void ClearQueuedMoves() {
    // An object on its way onto a level that is on none yet (a new splat, a dropped coin)
    // belongs to nobody but the queue: it goes with it.
    std::set<GameObj*> orphans;
    for (const PendingMove& move : MoveQueue) {
        if (move.obj != nullptr && move.level != nullptr && move.obj->level == nullptr) orphans.insert(move.obj);
    }
    for (const PendingMove& move : MoveQueue) {
        if (move.level == nullptr) orphans.erase(move.obj);  // also taken off: somebody holds it
    }
    MoveQueue.clear();
    for (GameObj* obj : orphans) delete obj;
}

void ForgetObjectReferences(GameObj* obj) {
    if (!obj) return;
    if (CurrentPlayer && static_cast<GameObj*>(CurrentPlayer) != obj) {
        for (Item*& slot : CurrentPlayer->quickSlots) {
            if (static_cast<GameObj*>(slot) == obj) slot = nullptr;
        }
        for (Item*& slot : CurrentPlayer->abilitySlots) {
            if (static_cast<GameObj*>(slot) == obj) slot = nullptr;
        }
        CurrentPlayer->ForgetEquipped(obj);
    }
    if (static_cast<GameObj*>(ActiveItem) == obj) ActiveItem = nullptr;
    for (Item*& cell : InventoryGrid.cells) {
        if (static_cast<GameObj*>(cell) == obj) cell = nullptr;
    }
    if (static_cast<GameObj*>(SelectedSkillItem) == obj) SelectedSkillItem = nullptr;
    if (static_cast<GameObj*>(TooltipItem) == obj) TooltipItem = nullptr;
    if (GetCursorItem() && static_cast<GameObj*>(GetCursorItem()) == obj) ClearCursorItem();
}

void DeleteQueuedObjects() {
    std::vector<GameObj*> doomed;
    doomed.swap(DeletionQueue);
    DeletionsUnderWay.push_back(&doomed);
    for (size_t i = 0; i < doomed.size(); ++i) {
        GameObj* obj = doomed[i];
        if (obj == nullptr) continue;  // already destroyed by an object before it
        doomed[i] = nullptr;
        CancelQueuedMoves(obj);
        if (obj->cell) obj->cell->RemoveObject(obj);
        if (CurrentLevel) CurrentLevel->RemoveObject(obj);
        if (obj->level && obj->level != CurrentLevel) obj->level->RemoveObject(obj);
        ForgetObjectReferences(obj);
        delete obj;
    }
    DeletionsUnderWay.pop_back();
}

void ApplyDeferredObjectMoves() {
    DeleteQueuedObjects();
    ApplyQueuedMoves();
}

void AddAmbientMessage(const std::string& text) {
    AmbientPool.push_back(text);
}

size_t QueuedDeletionCount() {
    return DeletionQueue.size();
}

bool IsQueuedMoveTarget(const Level* level, int32_t x, int32_t y) {
    for (const PendingMove& move : MoveQueue) {
        if (move.obj && move.level == level && move.x == x && move.y == y) return true;
    }
    return false;
}

bool IsQueuedMoveTarget(const Level* level, int32_t x, int32_t y, uint32_t classKey) {
    for (const PendingMove& move : MoveQueue) {
        if (move.obj && move.level == level && move.x == x && move.y == y && move.obj->GetClassHash() == classKey) {
            return true;
        }
    }
    return false;
}

size_t QueuedMoveCount() {
    return MoveQueue.size();
}

const std::vector<std::string>& AmbientMessages() {
    return AmbientPool;
}

void AdvanceTurn() {
    InventoryChanged = false;
    InventoryFullReported = false;
    ApplyDeferredObjectMoves();
    Level* level = CurrentLevel;
    if (!level) return;
    Player* hero = CurrentPlayer;
    ++HeroInputTurns;

    if (hero) hero->AddExperience(0, 0);
    UpdateSight(level, hero);

    // The end of the list is read afresh at every step: objects added during the walk are
    // updated in the same turn.
    for (size_t i = 0; i < level->objects.size(); ++i) {
        if (hero && hero->dead) break;
        level->objects[i]->Update();
    }

    if (hero) {
        hero->UpdateBuffs();
        TurnCalls.tickSpellTriggers(hero);
    }
    TurnCalls.roomTriggers();
    DeleteQueuedObjects();
    TurnCalls.monsterSpawning();
    TickSpellMines(level);

    if (!TutorialFlag && hero) {
        hero->wanderingMonsterTurns += 1;
        if (hero->wanderingMonsterTurns > 100) {
            hero->wanderingMonsterTurns -= 100;
            TurnCalls.spawnWanderingMonster(level);
        }
    }

    UpdateSight(level, hero);
    ShowAmbientMessage();
    TurnCalls.startQueuedAnimations();
    TurnCalls.clearQueuedAnimations();
    for (size_t i = 0; i < level->objects.size(); ++i) level->objects[i]->ReturnToIdle();
    for (Spell* spell : SpellList) {
        if (spell && spell->cooldownCounter > 0) --spell->cooldownCounter;
    }
    ApplyQueuedMoves();
    if (TutorialFlag) TurnCalls.tutorialStep();
    TurnCalls.storeCallbacks();
}
