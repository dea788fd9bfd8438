#pragma once
// The bottom bar and its panels: menu bar, character panel, ability belt, quest and
// recipe art, portraits and minimap icons.
//
// Stand-in: the art loaders read nothing and the click handlers do nothing. Still to be
// built here: loading and drawing each panel, the menu bar's entries (with the tutorial
// reports 12 and 6 and the leave-game flag), the character panel, the ability picker,
// counting skill slots with belt abilities, and the digest button.
#include <SDL.h>

#include <cstdint>

void MenuBarLoad();
void QuestUIArtLoad();
void LoadRecipeBookArt();
void LoadPortraits();
void LoadMinimapIcons();
void LoadCharPanelArt();

// Handles a click on the menu bar.
void HandleMenuBarClick(int32_t x, int32_t y);
void HandleCharPanelClick(int32_t x, int32_t y);
void PickAbilityForBeltSlot(int32_t slot);
// The number of the hero's seven skill slots holding a belt-able known ability.
int32_t CountSkillSlotsWithAbilities();
// The digest button of the bottom bar.
SDL_Rect GetDigestButtonRect();
