#include "media/display_settings.h"

int32_t smoothScaling = 1;
int32_t enableColourBlind = 0;
