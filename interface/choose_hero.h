#pragma once
// The last new-game screen: the hero's name and portrait (gender). ShowChooseHeroScreen is
// declared in interface/screens.h.
#include <cstdint>

// At most this many characters in a hero's name.
constexpr int32_t kHeroNameMaxLength = 14;

// True when the code point may go into a hero's name: printable ASCII (32 to 126) except the
// eleven characters file names and the save index cannot hold (< > : " \ / | ? * . _).
bool IsNameCharacterAccepted(uint32_t codePoint);
