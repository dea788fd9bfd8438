#pragma once
// Picture notices: single-purpose modal windows with their own background picture, content at
// fixed places on it and no buttons. Each redraws the play screen under it every frame and
// stays until Enter is pressed or released or a mouse button is released (the release of a
// button already held when the notice opened does not count: it belongs to the click that
// opened it). The notice functions themselves are declared in interface/ui_services.h.
#include <SDL.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Item;
struct ItemDef;

// The pictures LoadDialogs reads after the plain box, in this order; kept for the process.
enum NoticePicture : int32_t {
    kPictureStoreBox = 0,
    kPictureQuestComplete,
    kPictureQuestOffer,
    kPictureKrongDispleased,
    kPictureKrongPleased,
    kPictureLutefiskGod,
    kPictureLutefiskGodSlot,
    kPictureFountainDrink,
    kPictureFountainText,
    kPictureTutorialComplete,
    kPictureZooCleared,
    kPictureZooClearedFemale,
    kPictureSteal,
    kPictureRecipe1,
    kPictureRecipe2,
    kPictureRecipe3,
    kPictureRecipe4,
    kNoticePictureCount
};
extern const char* const kNoticePictureFiles[kNoticePictureCount];
// Null until loaded, or when the picture could not be read.
SDL_Surface* NoticePictureOf(int32_t index);
// Reads the notice pictures and the level-up book animation (LoadDialogs calls it).
void LoadNoticePictures();
void FreeNoticePictures();

// The top-left corner of a background of size w x h centred on the screen.
void CentredCorner(int32_t w, int32_t h, int32_t* x, int32_t* y);

// The loop every notice runs: the play screen, the background centred, then the content drawn
// by `content` at the background's corner (x, y); returns once dismissed. With hideTooltips the
// play screen draws no tooltip under the notice.
void RunNotice(SDL_Surface* background, bool hideTooltips, const std::function<void(int32_t x, int32_t y)>& content);

// The item's icon (frame 0 of its icon sprite) with its top-left corner at (x, y); nothing
// for a null item or an item without an icon.
void DrawItemIcon(Item* item, int32_t x, int32_t y);

// The level-up title for the hero's level field L: the 21 titles for 1 to 21, else
// "The Balls Are Inert".
const char* LevelUpTitle(int32_t level);

// ---- Anvil of Krong ------------------------------------------------------------------------

// One entry of a Krong bonus row: the icon picture and value of one bonus.
struct KrongEntry {
    SDL_Surface* icon;
    int32_t value;
    SDL_Color colour;
};
// The bonus rows of an artifact weapon or armour, in order (damage bonuses, resistances,
// primary statistics, secondary statistics), each holding its nonzero entries of either sign;
// rows without entries are left out. Empty for anything else.
std::vector<std::vector<KrongEntry>> KrongBonusRows(Item* item);
// The horizontal place of entry k of a row of n entries, relative to the background: the icon
// at 304 + 2·k·s and the value at 322 + 2·k·s, s = 208 / (2n).
int32_t KrongIconOffset(int32_t k, int32_t n);

// ---- Find recipe ---------------------------------------------------------------------------

// The seven crafting tools by index.
constexpr int32_t kRecipeToolCount = 7;
extern const char* const kRecipeToolNames[kRecipeToolCount];
// The first picture of each tool's pair among the crafting screen's pictures (64 x 64).

// What the find-recipe notice shows of a recipe.
struct FoundRecipe {
    int32_t ingredientCount = 0;                       // 1 to 4
    const ItemDef* ingredients[4] = {};                // null for an empty slot
    std::string outputName;                            // the first output's name
    const ItemDef* outputDef = nullptr;                // its definition, or null
    int32_t tool = 0;                                  // 0 to 6
};
// The notice for a recipe described as above. Counts outside 1..4 and tools outside 0..6 draw
// what they can (the background at least) and never index past a table.
void ShowFoundRecipeNotice(const FoundRecipe& recipe);
// The title of the last tooltip a notice drew (tests).
extern std::string LastNoticeTooltip;
// The x of ingredient i's icon relative to the background for n ingredients: 308 + 72·(i - n).
int32_t RecipeIngredientX(int32_t i, int32_t n);
