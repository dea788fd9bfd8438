// Stand-in: what is still to be built is listed at the top of interface/hud.h.
#include "interface/hud.h"

void MenuBarLoad() {}

void QuestUIArtLoad() {}

void LoadRecipeBookArt() {}

void LoadPortraits() {}

void LoadMinimapIcons() {}

void LoadCharPanelArt() {}

void HandleMenuBarClick(int32_t, int32_t) {}

void HandleCharPanelClick(int32_t, int32_t) {}

void PickAbilityForBeltSlot(int32_t) {}

int32_t CountSkillSlotsWithAbilities() {
    return 0;
}

SDL_Rect GetDigestButtonRect() {
    SDL_Rect rect;
    rect.x = 0;
    rect.y = 0;
    rect.w = 0;
    rect.h = 0;
    return rect;
}
