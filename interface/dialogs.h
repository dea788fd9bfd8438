#pragma once
// Modal dialogs and windows over the play screen.
//
// Stand-in: nothing is shown; every call returns at once. Still to be built here: the
// dialog art, ShowDialog's own input loop with one or two buttons, the quest log and
// skill tome windows (closing on their key bindings) and the monster-zoo announcement
// ("ui/monsterZoo.png" for 2000 ms through the splash state).
void LoadDialogs();
// text, button art base name (e.g. "ui/dialog_but_ok"), second button base or null.
void ShowDialog(const char* text, const char* button, const char* secondButton);
void ShowQuestLog();
void ShowSkillTome();
void ShowZooAnnouncement();
