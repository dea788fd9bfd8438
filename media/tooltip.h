#pragma once
// Tooltips: the black boxes drawn beside the mouse pointer, and the modal help popup.
//
// Stand-in: only the popup's declaration exists so far; the icon set, the box placement
// and the ability, buff and item tooltips are still to be built.

// Shows `text` in a modal box at (x, y) over the redrawn game screen until Return or a
// mouse-button release dismisses it.
void ShowTextPopup(const char* text, int x, int y);
