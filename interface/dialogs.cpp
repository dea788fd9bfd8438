// Stand-in: what is still to be built is listed at the top of interface/dialogs.h.
#include "interface/dialogs.h"

void LoadDialogs() {}

void ShowDialog(const char*, const char*, const char*) {}

void ShowQuestLog() {}

void ShowSkillTome() {}

void ShowZooAnnouncement() {}
