// Skill and ability icons of the art maker: a pictogram per skill family (a sword for
// swordplay, a flame for ember weaving...) instead of letters, so no two skills share a mark.
//   skill   <family>          a round icon with the family's pictogram;
//   ability <family> <n>      a gem with a rim in the family's colour, its pictogram, and n
//                             pips (1..4) telling the family's abilities apart.
#pragma once

#include "tools/art_shapes.h"

#include <string>
#include <vector>

namespace artw {

// The skill shapes ("skill", "ability"), or null for another name.
ShapeFn FindSkillShape(const std::string& name);

// Every family word the pictograms know, in order.
std::vector<std::string> SkillFamilies();

}  // namespace artw
