#pragma once
// The skill selection screen, between the difficulty and hero screens: seven skills picked
// from a grid of every offered skill of the skill table, or the shortcuts "Last Choice" (the
// previous hero's seven) and "Random Skills". ShowChooseSkillsScreen is declared in
// interface/screens.h.
#include <cstdint>
#include <vector>

#include "interface/hud_draw.h"

// The table position of the first skill shown in the grid; kept between visits.
extern int32_t SkillScrollPosition;

// True when the table position is an offered skill: a real skill (not one of the two
// pseudo-skills at the end of the table) whose deprecated flag is clear.
bool IsOfferedSkill(int32_t position);
// The offered skill under a screen point of the grid, or -1. Columns 0..9 and rows 0..4 only.
int32_t SkillAtScreenPoint(int32_t x, int32_t y);
// The top-left corner of an offered skill's grid cell.
HudPoint SkillCellPosition(int32_t position);
// "Last Choice": the codes of last.txt, keeping only offered, distinct positions, at most
// seven (the list stays short when fewer remain).
std::vector<int32_t> FilterLastChoice(const std::vector<int32_t>& codes);
// The skill codes last.txt holds as written (lines that are not numbers end the list).
std::vector<int32_t> ReadLastTxtCodes();
