#pragma once
// Fills the menu screens' hooks (interface/menu_screen_hooks.h) with the shell's own
// routines. Safe to call again.
#include <string>

class Player;

void InstallMenuScreenHooks();

// True when the autosave's record in the save index belongs to the hero: the same
// "<name> the <title>" line and the same seven skills.
bool AutosaveBelongsToHero(const Player* hero);
// The deletion at the death of a hero: nothing without permadeath; otherwise the hero's own
// save, and "autosave.sav" only when its record is this hero's.
void DeleteDeadHeroSaves();
