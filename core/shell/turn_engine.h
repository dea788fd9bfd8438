#pragma once
// The turn engine: one turn of the world over the current level, and the queues through
// which objects are deleted or moved between levels at fixed points of the turn (never in
// place, since the level's object list is being walked while objects act).
#include <cstdint>
#include <string>
#include <vector>

#include "core/shell/shell_services.h"
#include "levels/object_queue.h"

class GameObj;
class Level;
class Player;

// Set while a tutorial game runs.
extern bool TutorialFlag;

// One turn of the world.
void AdvanceTurn();

// The calls a turn makes into the field of view, the hero's spell triggers, the room
// scripts, the monster spawning, the queued animations, the tutorial and the store platform,
// kept in one table so that a test can stand in for them and see the order of a turn's steps.
struct TurnEngineCalls {
    void (*updateFieldOfView)(Level* level, int32_t x, int32_t y, int32_t radius);
    void (*tickSpellTriggers)(Player* hero);
    void (*roomTriggers)();
    void (*monsterSpawning)();
    void (*spawnWanderingMonster)(Level* level);
    void (*startQueuedAnimations)();
    void (*clearQueuedAnimations)();
    void (*tutorialStep)();
    void (*storeCallbacks)();
};
// The game's own calls.
TurnEngineCalls DefaultTurnEngineCalls();
// The calls AdvanceTurn makes; DefaultTurnEngineCalls() unless a test replaced them.
extern TurnEngineCalls TurnCalls;

// A candidate flavour line for this turn.
void AddAmbientMessage(const std::string& text);

// Clears every reference to the object that outlives a turn: belt and skill-bar slots,
// backpack cells, the selected skill item, the tooltip item and the item on the cursor.
void ForgetObjectReferences(GameObj* obj);

const std::vector<std::string>& AmbientMessages();
// Installs the engine's hook that drops a destroyed object from both queues (done before
// the program's main runs; safe to call again).
void InstallTurnEngineHooks();
