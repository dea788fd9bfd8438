// Stand-in: what is still to be built is listed at the top of core/shell/global_images.h.
#include "core/shell/global_images.h"
#include "levels/level_draw.h"

#include "interface/hud.h"
#include "items_fixtures/crafting.h"
#include "media/eye_candy.h"

void LoadGlobalImages() {
    LoadMinimapIcons();
    LoadGlints();
    LoadCharPanelArt();
    LoadLevelDrawArt();
    LoadCraftPanelArt();
}
