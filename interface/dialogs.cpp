#include "interface/dialogs.h"

void LoadDialogs() {}

void ShowDialog(const char*, const char*, const char*) {}

void ShowQuestLog() {}

void ShowSkillTome() {}

void ShowZooAnnouncement() {}
