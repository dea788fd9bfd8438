#pragma once
// Tooltips: the black boxes drawn beside the mouse pointer over items, abilities, buffs,
// buttons and panels, and the modal help popup. They are drawn straight onto ScreenSurface in
// the ticker font; the stat and damage-type icons are loaded once by LoadStatIcons.
//
// The tooltips take plain records: the callers (the HUD, the panels, the item code) fill them
// from their abilities, buffs and items.
#include <SDL.h>

#include <cstdint>
#include <string>

class Sprite;

constexpr int32_t kTooltipDamageTypes = 16;
constexpr int32_t kTooltipBaseStats = 6;
constexpr int32_t kTooltipSecondaryStats = 24;

// The four icon rows of an ability, buff or item: damage bonuses and resistances by damage
// type, base stats and secondary stats. Zero entries are left out of their row.
struct TooltipStatRows {
    int32_t damage[kTooltipDamageTypes] = {};
    int32_t resist[kTooltipDamageTypes] = {};
    int32_t base[kTooltipBaseStats] = {};
    int32_t secondary[kTooltipSecondaryStats] = {};
};

struct AbilityTooltipInfo {
    std::string name;
    std::string description;
    bool hasSpell = false;
    bool cooldownBased = false;  // the cost row shows the cooldown instead of the mana cost
    int32_t cooldown = 0;        // turns
    int32_t manaCost = 0;        // what the hero pays; shown negated
    TooltipStatRows rows;
};

struct BuffTooltipInfo {
    std::string name;
    std::string description;
    TooltipStatRows rows;
};

// A weapon or armour piece. The rows are the shown values (definition plus the item's own
// bonus); level -1 leaves out the level pips.
struct ItemTooltipInfo {
    std::string name;
    std::string category;
    std::string description;
    std::string gameplayInfo;
    int32_t level = -1;
    TooltipStatRows rows;
};

struct FoodTooltipInfo {
    std::string name;
    std::string description;
    int32_t spellPoints = 0;
    int32_t health = 0;
};

// Loads the cooldown icon and the base-stat, secondary-stat and damage-type icons.
void LoadStatIcons();
// Frees them again (every icon becomes null).
void FreeStatIcons();
// The small picture of a damage type (0..15, in damage-type order) that LoadStatIcons loaded;
// null for another index or before the icons are loaded.
SDL_Surface* DamageTypeIcon(int32_t type);
// The icon rows by number: 0 damage bonuses and 1 resistances (by damage type), 2 base stats,
// 3 secondary stats.
constexpr int32_t kTooltipRowDamage = 0;
constexpr int32_t kTooltipRowResist = 1;
constexpr int32_t kTooltipRowBase = 2;
constexpr int32_t kTooltipRowSecondary = 3;
// The icon of entry `index` of row `row` that LoadStatIcons loaded; null for an index outside
// the row or before the icons are loaded.
SDL_Surface* TooltipRowIcon(int32_t row, int32_t index);
// The colour the value of that entry is written in; white outside the tables.
SDL_Color TooltipRowColour(int32_t row, int32_t index);
// The two sprites of the level pips of item tooltips (filled and empty); not owned.
void SetTooltipLevelPips(Sprite* filled, Sprite* empty);

// Generic box: the title in white, an optional subtitle and an optional wrapped body. Nothing
// for a null or empty title.
void DrawTooltip(const char* title, const char* subtitle, const char* body);
void DrawAbilityTooltip(const AbilityTooltipInfo& ability, bool compact);
void DrawBuffTooltip(const BuffTooltipInfo& buff);
void DrawWeaponTooltip(const ItemTooltipInfo& item);
void DrawArmourTooltip(const ItemTooltipInfo& item);
void DrawFoodTooltip(const FoodTooltipInfo& food);

// Shows `text` in a modal box at (x, y) over the redrawn game screen until Return or a
// mouse-button release dismisses it (the release is consumed); a quit request also ends it.
void ShowTextPopup(const char* text, int x, int y);

// ---- placement, shared with tests ----------------------------------------------------------

// Where the content of a tooltip of w x h goes for the pointer at (mx, my) on a screen of
// screenW x screenH: right of and below the pointer, flipped left when the whole box (content
// plus 6 plus both borders) would pass the right edge, and above when the content plus
// `extra` would pass the bottom edge.
struct TooltipPlacement {
    int32_t x = 0;  // content left
    int32_t y = 0;  // content top
};
TooltipPlacement PlaceTooltip(int32_t w, int32_t h, int32_t extra, int32_t border, int32_t mx,
                              int32_t my, int32_t screenW, int32_t screenH);
// The column width of an icon row of `count` entries across a width w: 2 * (w / (2 * count)).
int32_t TooltipIconColumn(int32_t w, int32_t count);

// The black rectangle of the last tooltip or popup drawn (zero before the first).
SDL_Rect LastTooltipBox();
// The title of the last tooltip drawn and the tick count at which it first appeared.
const std::string& LastTooltipTitle();
// For the tooltip painters kept elsewhere (media/item_tooltip_box.h, the play-field
// tooltips): remember a title drawn, and the black rectangle of the box drawn.
void RememberTooltipTitle(const std::string& title);
void RecordTooltipBox(int32_t x, int32_t y, int32_t w, int32_t h);
Uint32 LastTooltipTicks();
