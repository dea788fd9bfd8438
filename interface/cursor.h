#pragma once
// The mouse pointer of the play screen and of the windows over it. The game hides the
// system pointer and draws its own: the pointer sprite follows the mouse, and an item held
// on the cursor is drawn there instead with a corner mark.
#include <cstdint>

#include "interface/ui_services.h"
#include "media/bob.h"

class Item;

// The pointer animation; it shows CurrentCursor (the pointer sprite from start-up, or a
// targeting pointer someone put there).
extern Bob CursorBob;
// False while the window has lost the input focus: no pointer and no play-field tooltip
// are drawn then. The in-game input loop sets it from every activation event.
extern bool CursorVisible;

// Pumps the SDL events, puts the pointer at the mouse position (its top-left corner) and
// draws it.
void UpdateMouseCursor();
// An item held on the cursor: its picture in the frame of its own animation with its
// top-left corner at (x, y), then the corner mark "ui/cursorcorner.spr" there.
void DrawCursorItem(Item* item, int32_t x, int32_t y);
