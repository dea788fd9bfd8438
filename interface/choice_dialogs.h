#pragma once
// Choice dialogs: modal questions answered with picture buttons on their own background (the
// fountain, the end of a tutorial, a quest offer, a shop's offer). They redraw the play screen
// under them, discard the input queued before they opened, answer only mouse releases and
// return the number of the button chosen. The fountain, quest-offer and shop dialogs are
// declared in interface/ui_services.h.
#include <cstdint>

// 0 back to the menu, 1 the next tutorial.
int32_t ShowTutorialCompleteDialog();

// The shop dialog's price of an item: its value times the sell scaler ("store sell price
// scaler") with two buttons, the buy scaler with three, truncated toward zero.
int32_t StoreDialogPrice(int32_t value, bool threeButtons);
