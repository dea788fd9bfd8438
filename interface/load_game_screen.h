#pragma once
// The load-game screen: the save index seven rows at a time in a book panel, a preview of the
// selected save (its lines, its thumbnail and the icons of its seven skills), scrolling,
// deleting, and loading by a second click on the selected row or by Done.
// ShowLoadGameScreen itself is declared in interface/screens.h.
#include <cstdint>
#include <string>

#include "interface/menu_screen_hooks.h"

constexpr int32_t kLoadScreenRows = 7;
// The line shown in the list's first row when there is no save at all (Delete is hidden then).
extern const char* const kNoSavedGamesText;

// The label of a save's row: "Automatic Save" for exactly "autosave.sav", otherwise its
// first line.
std::string SaveRowLabel(const SavedGameRow& row);
// The first visible row brought back within a list of `count` saves after the list shrank:
// max(0, min(first, count - 7)).
int32_t ClampFirstSaveRow(int32_t first, int32_t count);
// The user-folder path of a save's thumbnail, "bitmap_" + the file name; "" when the file
// name is not a plain name of the user folder (a folder part, "." or "..", control
// characters) or the user folder cannot be used.
std::string SaveThumbnailPath(const std::string& fileName);
