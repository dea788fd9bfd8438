#pragma once
// The play-field tooltips: at most one a frame, for the add-ability arrow, the open ability
// picker, an ability-belt slot, a buff icon, or the square under the pointer (the held item,
// a monster with its kind, injury and buffs, a shop pedestal's goods with their price, an
// item, or an object's action such as a closed door's).
#include <SDL.h>

#include <cstdint>
#include <string>

class Hittable;

// The text box of everything on the play field that is not an item: title in white, second
// line in (210, 185, 100), third in (247, 247, 152), fourth in the caller's colour, the body
// wrapped, then for every buff of the creature (null: none) its icon and name, 32 pixels a row.
void DrawTextTooltip(Hittable* creature, const char* title, const char* second, SDL_Color fourthColour,
                     const char* third, const char* fourth, const char* body);

// The ability-belt slot whose hit square holds the point (-1 for none): squares of side 32
// from (HUD left + 626 + 36 i, bar top + 47), in the large interface of side 64 from
// (HUD left + 949 + 70 i, bar top + 91), edges included.
int32_t AbilityTooltipSlotAt(int32_t mx, int32_t my);

// The line of a pedestal's goods: "<name> (<price> zorkmids)".
std::string PedestalPriceLine(const std::string& name, int32_t value, float scaler);

// Draws the one tooltip of the frame, when the slot is free.
void ShowPlayFieldTooltips(int32_t mx, int32_t my);
