// Stand-in: the zoo-cleared picture (male or female) and the theft box with the stolen item's
// picture are still to be drawn; until then the two boxes are the plain dialog box. The other
// picture notices and the choice dialogs show their text in the plain box (or nothing) and answer their first button.
#include <string>

#include "interface/ui_services.h"
#include "items_fixtures/item.h"

void ShowZooClearedDialog() {
    ShowDialog("You have cleared the monster zoo!", "ui/dialog_but_ok", nullptr);
}

void ShowStealDialog(Item* item) {
    const std::string text = "You have stolen " + (item != nullptr ? item->GetItemName() : std::string("nothing")) + "!";
    ShowDialog(text.c_str(), "ui/dialog_but_ok", nullptr);
}

void ShowFountainTextDialog(const char* text) {
    ShowDialog(text != nullptr ? text : "", "ui/dialog_but_ok", nullptr);
}
void ShowLutefiskGiftDialog(Item*) {}
void ShowQuestCompleteDialog(Item*) {}
void ShowLutefiskTitheDialog(int32_t) {}
void ShowKrongDialog(Item*, bool, const char* text) {
    ShowDialog(text != nullptr ? text : "", "ui/dialog_but_ok", nullptr);
}
void ShowFindRecipeDialog(const Recipe*) {}
int32_t ShowFountainDrinkDialog() { return 0; }
int32_t ShowQuestOfferDialog(const char*, const char*, const char*) { return 0; }
int32_t ShowStoreDialog(Item*, const char*, const char*, const char*) { return 0; }
