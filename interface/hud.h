#pragma once
// The HUD of the play screen: every piece drawn over the level (bottom bar, status bars,
// menu bar, portrait, buff bar, minimap and ticker, belts, windows and panels, tooltips,
// the zoo banner), drawn in order through one list (DrawHud); and the art loaders and click
// handlers of the panels on the bottom bar.
//
// The pieces of the panels live beside this file: the menu bar (menu_bar.h), the portrait
// (portrait.h), the minimap (minimap.h), the belts and HUD tooltips (hud_belts.h), the
// inventory window (inventory_window.h) and the character panel (char_panel.h).
// The buff bar is in buff_bar.h, the quest log's art loader with the quest log
// (quest_log.h), the ability picker with the skill tome (skill_tome.h).
#include <SDL.h>

#include <cstddef>
#include <cstdint>

void MenuBarLoad();
void QuestUIArtLoad();
void LoadRecipeBookArt();
void LoadPortraits();
void LoadMinimapIcons();
void LoadCharPanelArt();

// Handles a click on the menu bar (screen point) and on the open character panel (point
// relative to the panel's corner).
void HandleMenuBarClick(int32_t x, int32_t y);
void HandleCharPanelClick(int32_t x, int32_t y);
void PickAbilityForBeltSlot(int32_t slot);
// The number of the hero's seven skill slots holding a belt-able known ability.
int32_t CountSkillSlotsWithAbilities();

// ---- HUD drawing ---------------------------------------------------------------------------

// What the HUD pieces of one frame share: the mouse position read once for the frame, and
// whether a tooltip may still be shown (a piece that showed one clears it).
struct HudFrame {
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    bool tooltipsAllowed = true;
};

using HudDrawer = void (*)(HudFrame& frame);
struct HudPiece {
    const char* name;
    HudDrawer draw;
};
// The HUD pieces in drawing order; count receives their number.
const HudPiece* GetHudPieces(size_t* count);
// Draws every HUD piece in order.
void DrawHud(HudFrame& frame);
// Stands in for the drawing of each piece while set (null, the default, draws them): DrawHud
// hands it every piece in order with the frame they share, so a test can see the order.
using HudPieceRunner = void (*)(const HudPiece& piece, HudFrame& frame);
void SetHudPieceRunner(HudPieceRunner runner);

// ---- bottom bar and status bars ------------------------------------------------------------

// Height of the bottom-bar picture of the current size (its default height when the picture
// is not loaded) and the bar's top edge.
int32_t BottomBarHeight();
int32_t BottomBarTop();

// Element rectangles of the bottom bar, for drawing, tooltips and clicks alike.
SDL_Rect GetHealthBarRect();
SDL_Rect GetManaBarRect();
SDL_Rect GetExperienceBarRect();
SDL_Rect GetActiveItemRect();
SDL_Rect GetPortraitRect();
SDL_Rect GetDigestButtonRect();

// Filled widths in pixels of the three bars (the pictures' widths at full), each clamped to
// 0..full; the mana-cost preview in pixels (0 when no ability is selected, it is a cooldown
// ability or the hero cannot pay for it).
struct HudBarWidths {
    int32_t health = 0;
    int32_t mana = 0;
    int32_t manaCost = 0;
    int32_t experience = 0;
};
HudBarWidths ComputeHudBarWidths(int32_t health, int32_t maxHealth, int32_t mana, int32_t maxMana,
                                 int32_t experience, int32_t experienceNeeded, int32_t spellCost,
                                 bool large);

// The bottom-bar picture, the digest button, the help hotspots, the gold and the cash pile.
void DrawBottomBar(int32_t mouseX, int32_t mouseY);
// The gold number and, unless it is 0, the cash pile of its size (0..5: below 100, 500,
// 1000, 2000, 4000 and more).
void DrawGoldAndCash(int32_t gold);
int32_t CashPileIndex(int32_t gold);
void DrawDigestButton(int32_t mouseX, int32_t mouseY);
// The health, mana and experience bars of the current hero, with their numbers.
void DrawHudBars();
// Frees the pictures the bottom bar keeps between frames (hotspots, bar numbers).
void FreeHudPictures();
