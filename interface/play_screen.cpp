// Stand-in: what is still to be built is listed at the top of interface/play_screen.h.
#include "interface/play_screen.h"

int32_t PlayScreenState = 0;
SDL_Surface* SaveThumbnailSurface = nullptr;
AbilityRecord* SelectedAbility = nullptr;
Item* TooltipItem = nullptr;
