#pragma once
// The buff bar: the hero's active buffs as a column of icons along the left screen edge,
// with the turns or charges left under each icon, the brittle, attack and mana counters beside
// it and a close cross on the buffs the player may remove; and the buff tooltips.
#include <cstdint>
#include <string>
#include <vector>

#include <SDL.h>

class Buff;
class Sprite;

constexpr int32_t kBuffBarLeft = 2;
constexpr int32_t kBuffBarTop = 96;
constexpr int32_t kBuffBarStep = 68;
constexpr int32_t kBuffBarColumnStep = 80;
constexpr int32_t kBuffsPerColumn = 5;

// A buff the bar shows, with its slot's top-left corner.
struct BuffBarSlot {
    Buff* buff = nullptr;
    int32_t x = 0;
    int32_t y = 0;
};

// The bar's walk over a buff list: hidden buffs and buffs whose icon is already shown are
// skipped; a buff without an icon gets only the border, at the slot the next buff then uses.
// Only buffs with an icon come out. Five to a column; the next column 80 pixels right.
std::vector<BuffBarSlot> LayoutBuffBar(const std::vector<Buff*>& buffs);
// A buff the bar leaves out altogether.
bool BuffHiddenFromBar(const Buff& buff);
// The number under a buff's icon: its charges when 1 or more, else its turns left + 1 when
// they are 0 or more and the turns are not hidden; -1 for no number.
int32_t BuffBarNumber(const Buff& buff);

// One counter beside a buff's icon: its icon's sprite name, its text and colour.
struct BuffCounter {
    const char* sprite;
    std::string text;
    SDL_Color colour;
};
// The counters a buff shows, top to bottom (brittle, attacks, mana).
std::vector<BuffCounter> BuffCounters(const Buff& buff);

// Draws the hero's buff column.
void DrawBuffBar();
// The shown buff whose icon lies under the point (edges included); null for none.
Buff* BuffUnderPoint(int32_t mx, int32_t my);
// Draws the tooltip of the buff under the point; false when there is none.
bool ShowBuffBarTooltip(int32_t mx, int32_t my);
