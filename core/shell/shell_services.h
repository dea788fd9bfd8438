#pragma once
// What the game shell provides to the layers beneath it: the turn, input flushing and
// start-up timing. Declarations only; core/shell/ defines them. Lower layers call these and
// include nothing else of core/shell/.
#include <cstdint>
#include <string>

// Runs one world turn.
void AdvanceTurn();
// A candidate flavour line for this turn; one of the turn's candidates may be shown.
void AddAmbientMessage(const std::string& text);
// Set while a tutorial game runs.
extern bool TutorialFlag;

// Stops every walk (held keys, queued move keys, a walk along a path) and drops the
// queued input events.
void FlushInput();

// Reports a finished start-up or loading step with -startuptime.
void LogLoadProgress(const char* label);

// The automatic pick-up switches of the configuration, one per item group (0..11), and
// their master switch.
extern int32_t AutoLootSwitches[12];
extern int32_t AutoLoot;
// Swaps plain and Shift clicks on floor items.
extern int32_t AutoClick;
// The doubled interface setting.
extern int32_t use2XUI;
