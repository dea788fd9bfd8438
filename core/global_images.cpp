#include "core/global_images.h"

#include "interface/hud.h"
#include "items_fixtures/crafting.h"

void LoadGlobalImages() {
    LoadMinimapIcons();
    LoadCharPanelArt();
    LoadCraftPanelArt();
}
