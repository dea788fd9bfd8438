#include "interface/hud_surfaces.h"

HudSurfaces Hud;
SpriteTable* MinimapSprites = nullptr;
