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

// Set while a tutorial game runs.
extern bool TutorialFlag;

// One turn of the world.
void AdvanceTurn();

// A candidate flavour line for this turn.
void AddAmbientMessage(const std::string& text);

// Clears every reference to the object that outlives a turn: belt and skill-bar slots,
// backpack cells, the selected skill item, the tooltip item and the item on the cursor.
void ForgetObjectReferences(GameObj* obj);

const std::vector<std::string>& AmbientMessages();
// Installs the engine's hook that drops a destroyed object from both queues (done once at
// start-up; safe to call again).
void InstallTurnEngineHooks();
