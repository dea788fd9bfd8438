#pragma once
// Play-screen state shared with the rest of the game. The frame itself (DrawGameScreen,
// AdvanceFrame and their timing globals) is in interface/game_frame.h, the pointer in
// interface/cursor.h.
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
// Copies the hero's surroundings from a fresh frame of the level (no window, no tooltip)
// into the thumbnail; nothing while the thumbnail does not exist. Every save refreshes it, so
// a save's picture always shows the level being saved.
void RefreshSaveThumbnail();
extern AbilityRecord* SelectedAbility;
extern Item* TooltipItem;
