#pragma once
// The item tooltip box: a title, an optional subtitle and second line, a row of ten quality
// stars, the item's gameplay information and its description, in a black box at the pointer.
#include <cstdint>

// The box's content size for these texts (null or empty texts take no room): the width is
// the title's, at least 160 with a description and at least the subtitle's; the height sums
// 16 for the title, 11 for the star row when stars >= 1, the wrapped subtitle, 16 for the
// second line, and the wrapped gameplay information and description.
struct ItemTooltipSize {
    int32_t w = 0;
    int32_t h = 0;
};
ItemTooltipSize MeasureItemTooltip(const char* title, const char* subtitle, const char* secondLine,
                                   const char* description, int32_t stars, const char* gameplayInfo);
// Draws the box at the pointer: w + 6 by h + 5, right of and below it, flipped left or above
// near the right or bottom edge; framed by the tuning value "tooltip border size".
void DrawItemTooltip(const char* title, const char* subtitle, const char* secondLine, const char* description,
                     int32_t stars, const char* gameplayInfo);
