#pragma once
// Play-screen state shared with the rest of the game. The frame itself (DrawGameScreen,
// AdvanceFrame and their timing globals) is in interface/game_frame.h, the pointer in
// interface/cursor.h.
//
// Stand-in: the save thumbnail is not made yet (it stays null until the settings window
// makes it).
#include <SDL.h>

#include <cstdint>

#include "interface/cursor.h"
#include "interface/game_frame.h"

class Item;
struct AbilityRecord;

// Read by the play-screen drawing; ShowTextPopup sets it to 0 before each redraw.
extern int32_t PlayScreenState;
// 360 x 240 thumbnail of the hero's surroundings, made when the settings window first
// opens; null until then.
extern SDL_Surface* SaveThumbnailSurface;
extern AbilityRecord* SelectedAbility;
extern Item* TooltipItem;
