#pragma once
// The character panel: the hero's twelve equipment slots on a paper doll, the three
// skill-class bars, resistances and damage by damage type, and the hero's statistics. Its
// corner is (Layout.equipmentX, Layout.equipmentY); it is open while Layout.equipmentOpen is
// set. LoadCharPanelArt and HandleCharPanelClick are declared in hud.h.
#include <SDL.h>

#include <cstdint>

#include "interface/hud_draw.h"

class Item;

constexpr int32_t kCharPanelSlots = 12;

// The panel's 20 x 20 close cross, relative to its corner; a click on it closes the panel.
constexpr HudPoint kCharPanelCross = {266, 0};

// The 32 x 32 square of equipment slot 0..11, relative to the panel's corner.
HudPoint CharPanelSlotOffset(int32_t slot);
// The per-slot part of a click at panel point (x, y) on the square at (sx, sy): swaps the
// cursor item into the slot when it fits (the old item's OnUnequip before the new one's
// OnEquip, the old item to the cursor), or takes the slot's item onto an empty cursor. True
// when the click was used.
bool EquipSlotClick(int32_t x, int32_t y, int32_t sx, int32_t sy, Item*& slotItem, int32_t slot);
// The damage types with a non-zero resistance, and with a positive total damage.
int32_t CharPanelResistanceCount();
int32_t CharPanelDamageCount();
// The total damage of a type the panel shows: the hero's damage bonus, its melee skill
// damage and the weapons in both hands.
int32_t CharPanelDamage(int32_t type);
// Where the n-th shown resistance row's icon goes, relative to the panel's corner, for
// `rows` rows in all (one column up to 8, two columns of 8 beyond).
HudPoint CharPanelResistanceIcon(int32_t n, int32_t rows);
// Draws the panel with its corner at (x, y).
void DrawCharPanel(int32_t x, int32_t y);
// The hover tooltip of an equipment square at panel point (x, y); 0 always.
int32_t ShowEquippedItemTooltip(int32_t x, int32_t y, int32_t sx, int32_t sy, Item* item);
// The hover tooltip of a belt square (64 x 64 in the large interface, else 32).
int32_t ShowBeltItemTooltip(int32_t x, int32_t y, int32_t sx, int32_t sy, Item* item);
