#pragma once
// Moving the hero between levels: stairs down and up, a portal into a side dimension and
// back, and the trapdoor keys one level down or up. Every level once visited stays in
// GameLevels; a side dimension is destroyed when the hero leaves it.
//
// DescendStairs, AscendStairs, TravelThroughPortal and ChangeDepth are declared in
// core/shell/shell_services.h, for the fixtures and keys that call them.
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "core/shell/play_input.h"
#include "core/shell/shell_services.h"

class Level;

// Set when the hero enters a monster zoo or a shop (each together with the held track of
// the music); every level change clears them.
extern bool HeroInMonsterZoo;

// The squares the trapdoor key went down from, the last one at the back.
extern std::deque<std::pair<int32_t, int32_t>> TrapdoorStack;

// The end of every level change: clears the zoo and shop flags and, when a shop or zoo tune
// was held, lets it go for a new dungeon track.
void AfterLevelChange();

// The levels of the run in the order a save writes them: the order of GameLevels, except
// that a side dimension follows right after the level it was entered from. The save keeps
// only the depth of the way back; a loader finds the level again as the nearest level of
// that depth before the side dimension (LinkSideDimensionsToTheirReturn).
std::vector<Level*> LevelsInSaveOrder();
// After a load: every side dimension's way back leads to the nearest ordinary level of its
// return depth listed before it (none when there is no such level).
void LinkSideDimensionsToTheirReturn();

// The text of the notice shown when a new level has no staircase up.
extern const char* const kNoStairsUpText;

// Most random squares the trapdoor key tries on the level below before it takes the first
// square that fits in scan order.
constexpr int32_t kTrapdoorDraws = 10000;
