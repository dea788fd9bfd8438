#pragma once
// Modal dialogs and windows over the play screen. The quest log lives in
// interface/quest_log.*, the skill tome in interface/skill_tome.* and skill_tome_window.cpp.
#include <SDL.h>

#include <cstdint>

#include "interface/ui_services.h"
#include "media/surface.h"

// The plain dialog box every ShowDialog call draws; loaded by LoadDialogs and kept for the
// life of the process. Null until then (ShowDialog loads it itself when it is needed first).
extern SDL_Surface* DialogBoxPicture;

// Reads the plain box (start-up step "LoadDialogs"). The notices' own pictures are only
// shown in play: LoadNoticePictures (interface/notices.h) starts reading them with the first
// game, and a notice shown before that reads them itself.
void LoadDialogs();
// Frees the box, notice and close-cross pictures (the next use reads them again).
void FreeDialogPictures();
// A plain box of the dialog's size, for when the data does not hold the box picture. The
// caller owns it.
SDL_Surface* MakeStandInDialogBox();

// Fixed click areas of ShowDialog, relative to the screen centre (cx, cy). The vertical test
// is the same for every button: strictly between b - 16 and b + 16, b = cy + boxHeight / 2 -
// the first button's height. A single button: x strictly between cx - 78 and cx + 78. Two
// buttons: the first strictly between cx - 318 and cx, the second strictly between cx + 16
// and cx + 167. The button art is drawn to lie inside these areas.
constexpr int32_t kDialogClickHalfHeight = 16;
constexpr int32_t kDialogSingleHalfWidth = 78;
constexpr int32_t kDialogFirstLeft = -318;
constexpr int32_t kDialogFirstRight = 0;
constexpr int32_t kDialogSecondLeft = 16;
constexpr int32_t kDialogSecondRight = 167;

// Which button a left-button release at (x, y) hits: 0 the first of two, 1 the second of two
// or the single button, -1 none.
int32_t DialogButtonAt(int32_t x, int32_t y, bool twoButtons, int32_t boxHeight, int32_t firstButtonHeight);

// The game's message box: a word-wrapped text and one or two three-state buttons over the
// redrawn play screen, with its own input loop. firstArt and secondArt are button art bases
// ("ui/dialog_but_ok" -> "ui/dialog_but_ok0.png", "...1.png", "...2.png"); secondArt is null
// for a one-button notice. Returns 0 when the first (left) button was clicked and 1 when the
// second (right) one was; a notice returns 1, from its button or from the release of Enter.
// The left of two buttons plays "key", the other buttons play "click".
int32_t ShowDialog(const char* text, const char* firstArt, const char* secondArt);

// The close cross (20 x 20) with its top-left corner at (x, y): the lit picture while the
// pointer lies inside the square, edges included. The click is tested by the caller.
void DrawCloseButton(int32_t x, int32_t y);
// The same with the copper cross of the HUD windows.
void DrawCopperCloseButton(int32_t x, int32_t y);


void ShowQuestLog();
// The modal windows of the play screen a test may replace: while a replacement is set, the
// settings window, the skill tome and the quest log call it instead of running (the settings
// window answers what it returns). Null, the default, runs the real windows.
enum class PlayWindow : int32_t { Settings, SkillTome, QuestLog };
using PlayWindowReplacement = int32_t (*)(PlayWindow window);
void SetPlayWindowReplacement(PlayWindowReplacement replacement);
PlayWindowReplacement GetPlayWindowReplacement();
// The skill tome (interface/skill_tome.h): runs until closed; counts its openings.
void ShowSkillTome();
extern int32_t SkillTomeOpenings;
void ShowZooAnnouncement();
