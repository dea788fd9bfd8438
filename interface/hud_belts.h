#pragma once
// The two belts on the bottom bar (the hero's nine quick-use items on the left, the nine
// skill items of the ability belt on the right), the active item between them, the
// add-ability arrow over the ability belt, and the tooltips of the belt items and the fixed
// bottom-bar elements.
#include <SDL.h>

#include <cstdint>

#include "interface/hud_draw.h"
#include <string>

class Item;
struct AbilityRecord;
struct AbilityTooltipInfo;

// The ability slot the pointer rested over in the last frame (-1 for none) and whether the
// add-ability arrow is under the pointer (cleared at the start of every DrawBelts).
extern int32_t BeltHoverSlot;
extern bool BeltArrowHovered;

// Top-left corner of slot i (0..8) of the item belt (abilities false) or the ability belt.
HudPoint BeltSlotOrigin(bool abilities, int32_t slot);
// Draws the item's icon: the cursor picture in the small interface, the icon in the large
// one, each in the frame of the item's own animation.
void DrawItemIcon(Item* item, int32_t x, int32_t y, const std::string& what);
// The cooldown digits of a skill-item slot at (x, y): c clamped to 99; nothing below 1.
void DrawCooldownDigits(int32_t turns, int32_t x, int32_t y);
// Draws both belts, the active item and the add-ability arrow.
void DrawBelts();
// The tooltips of the belts and the bottom-bar elements; false when one was drawn.
bool ShowHudTooltips(int32_t mouseX, int32_t mouseY);
// The body texts of the life and mana tooltips for the hero.
std::string LifeTooltipText();
std::string ManaTooltipText();
// The body of the portrait tooltip for a health fraction.
std::string PortraitTooltipText(int32_t health, int32_t maxHealth, const std::string& name);
// The ability tooltip record of an ability (its spell's cost, its modifiers).
AbilityTooltipInfo MakeAbilityTooltipInfo(const AbilityRecord& ability);
