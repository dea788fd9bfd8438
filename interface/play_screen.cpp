// Play-screen state shared with the rest of the game.
#include "interface/play_screen.h"

#include "interface/ui_services.h"

int32_t PlayScreenState = 0;
SDL_Surface* SaveThumbnailSurface = nullptr;
AbilityRecord* SelectedAbility = nullptr;
Item* TooltipItem = nullptr;

void ForgetTooltipItem(const Item* item) {
    if (item != nullptr && TooltipItem == item) TooltipItem = nullptr;
}
