#pragma once
// What the user interface provides to the layers beneath it: the frame, the modal boxes
// and the pointer. Declarations only; interface/ defines them. Creatures, items, fixtures,
// levels and media call these and include nothing else of interface/.
#include <cstdint>

class Item;
struct AbilityRecord;
struct Recipe;
struct MapView;

// The camera of the play screen (tile size, view origin square, pixel offsets), as the last
// frame computed it.
const MapView& PlayScreenCamera();

// Draws the whole in-game frame into the screen surface.
void DrawGameScreen();
// Ends a frame of any loop: presents it and advances every animation by the elapsed time.
void AdvanceFrame();

// A modal box with the text and one button (secondArt null) or two, each named by its art
// base name ("ui/dialog_but_ok", "ui/dialog_but_yea", "ui/dialog_but_nay"). Returns the
// index of the button pressed (0 for the first); plays "click".
int32_t ShowDialog(const char* text, const char* firstArt, const char* secondArt);
// The level-up notice, telling the hero to learn a new skill from the skill tome; the skill
// tome opens when it is dismissed.
void ShowLevelUpDialog();
// The 20 x 20 close button, highlighted while the mouse is over it.
void DrawCloseButton(int32_t x, int32_t y);
// Shows the monster-zoo picture for two seconds over the play screen.
void ShowZooAnnouncement();

// Pumps input, stores the mouse position and square, and animates the pointer.
void UpdateMouseCursor();
// Read by the play-screen drawing; the help popup sets it to 0 before each redraw.
extern int32_t PlayScreenState;
// True at the start of a frame; whoever draws a tooltip clears it (one tooltip per frame).
extern bool TooltipSlotFree;

// Clears the item whose tooltip the pointer shows when it is this item (the item is leaving
// the hero's reach).
void ForgetTooltipItem(const Item* item);

// The ability a right-click casts; null when none is selected.
extern AbilityRecord* SelectedAbility;

// The notice shown when a monster zoo has been cleared, with the reward item's icon (null
// shows the picture alone).
void ShowZooClearedDialog(Item* reward);
// The notice that shows an item taken by theft (null: the picture alone).
void ShowStealDialog(Item* item);
// Sets the expression of the hero's portrait (6 after a hit the hero survives).
void SetPortraitExpression(int32_t expression);

// Picture notices: each blocks until Return or a mouse-button release dismisses it.
void ShowFountainTextDialog(const char* text);
void ShowLutefiskGiftDialog(Item* item);
void ShowQuestCompleteDialog(Item* reward);
void ShowLutefiskTitheDialog(int32_t count);
void ShowKrongDialog(Item* artifact, bool pleased, const char* text);
void ShowFindRecipeDialog(const Recipe* recipe);

// Choice dialogs; each returns the index of the button clicked.
// 0 do not drink, 1 drink.
int32_t ShowFountainDrinkDialog();
// 0 the first art's button (accept), 1 the second's (decline).
int32_t ShowQuestOfferDialog(const char* text, const char* firstArt, const char* secondArt);
// 0, 1 or 2 for the first, second or third button (thirdArt may be null).
int32_t ShowStoreDialog(Item* item, const char* firstArt, const char* secondArt, const char* thirdArt);

// The question at the end of a tutorial: 0 back to the menu, 1 the next tutorial
// (defined in interface/choice_dialogs.cpp).
int32_t ShowTutorialCompleteDialog();
