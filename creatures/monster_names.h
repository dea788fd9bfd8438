#pragma once
// Random proper names for named monsters, horde leaders and quest fixtures.
#include <string>

// A start phoneme, two phonemes, " the ", a title, a space and a noun plural, each drawn
// from the text database's word lists with the C generator (an empty list gives "").
std::string MakeMonsterName();
