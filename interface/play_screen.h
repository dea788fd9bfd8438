#pragma once
// The in-game frame: drawing the play screen and ending each frame of any loop.
//
// Stand-in: AdvanceFrame presents the frame and keeps the frame timing; nothing is drawn
// yet. Still to be built here: DrawGameScreen (fluids, level, objects, eye candy,
// glints, ticker, interface), advancing the hero's, the level objects' and the global
// Bobs, interface animations, the mouse cursor, and the save thumbnail.
#include <SDL.h>

#include <cstdint>

class Item;
struct AbilityRecord;

// Read by the play-screen drawing; ShowTextPopup sets it to 0 before each redraw.
extern int32_t PlayScreenState;
// 360 x 240 thumbnail of the hero's surroundings, made when the settings window first
// opens; null until then.
extern SDL_Surface* SaveThumbnailSurface;
extern AbilityRecord* SelectedAbility;
extern Item* TooltipItem;
// Milliseconds of the last frame, and since the last input event.
extern uint32_t FrameElapsedMs;
extern uint32_t InputIdleMs;

void AdvanceFrame();
void DrawGameScreen();
void UpdateMouseCursor();
// Restarts the frame clock (after a long pause, e.g. a dialog).
void ResetFrameClock();
