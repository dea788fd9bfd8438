#pragma once
// The tutorial selection screen: the tutorials six at a time with their icons, names,
// descriptions and a gold star once completed; a click on one builds a training hero and
// plays it, and a finished tutorial may go straight on to the next. While the screen is open
// the default key bindings are in force and auto-loot is off; the player's own settings come
// back (and stay in the configuration file) when it is left.
// ShowTutorialScreen itself is declared in interface/screens.h.
#include <cstdint>

struct Tutorial;

constexpr int32_t kTutorialRows = 6;

// The notice shown before the first tutorial of a visit.
extern const char* const kTutorialNoticeText;

// Builds the training hero of a tutorial as CurrentPlayer: the save name, name and gender of
// the training hero, the tutorial's skills (flagged as chosen, every other flag cleared), the
// starting kit, the tutorial's equipment, items and abilities.
void MakeTrainingHero(const Tutorial& tutorial);
