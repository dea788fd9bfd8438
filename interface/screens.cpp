// Stand-in: what is still to be built is listed at the top of interface/screens.h.
#include "interface/screens.h"

// Stand-in: the settings window (its toggles, sliders, save choices and thumbnail) is not
// built yet. Until it is, opening it from the play screen (Escape, the Menu key, closing the
// window) answers 1, "leave the game", so that those keys still end a game.
int32_t ShowSettingsScreen() {
    return 1;
}
