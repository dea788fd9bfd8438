#pragma once
// Crafting recipes ("craftDB.xml"), the hero's known and craftable recipe lists, the output
// roll and the crafting panel (its state, art, drawing, clicks and dragging).
#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

struct ItemDef;
class Item;
class Player;
struct ToolkitWindow;

constexpr int32_t kRecipeInputSlots = 4;

struct RecipeOutput {
    std::string name;
    int32_t amount = 0;
    const ItemDef* def = nullptr;
    int32_t skill = 0;  // the crafting level needed
};

// One `craft` element.
struct Recipe {
    int32_t inputCount = 0;
    bool hidden = false;  // secret: only bookshelves teach it
    std::string inputNames[kRecipeInputSlots];
    const ItemDef* inputDefs[kRecipeInputSlots] = {};
    std::vector<RecipeOutput> outputs;
    std::string toolTag;
    int32_t toolType = 0;
};
using CraftRecipe = Recipe;

// Every recipe read, in load order; recipes are named by their index here.
extern std::vector<Recipe> Recipes;

// Tool types 0 alchemy .. 6 lathe; -1 for any other word ("lutefisk" among them).
int32_t ToolTypeOfTag(const std::string& tag);
const char* ToolTagOfType(int32_t toolType);
// The secondary statistic that governs a tool tag (shown on the panel's rows): 19 smithing,
// 23 lathe, 20 tinkerer (also for "ingot" and tags containing "grind"), else 21 alchemy.
int32_t CraftingStatOfTag(const std::string& tag);
// The hero's crafting level for a tool tag; the one value the rows, the filter and the roll
// all read ("ingot" the larger of smithing and tinkerer).
int32_t CraftingLevel(const Player* hero, const std::string& tag);

// Reads one recipe file of the virtual file system; a missing file is skipped. A parse error
// prints the file, line, column and the parser's message; recipes read before it stay.
void craftDBLoad(const char* file);
// The same from text in memory; false on a parse error.
bool craftDBLoadText(const std::string& text, const char* file);
void ClearRecipes();

// A new game: every recipe that is not hidden, into the known list of its tool type.
void LearnDefaultRecipes();
// Rebuilds the hero's shown (craftable) lists from the known lists through the filter and
// sets the scroll position to 0.
void RebuildCraftableRecipes(Player* hero);

// The ingredient search: one carried item per input (backpack cells in order, then the
// belt), a stack serving as often as its count allows. False when an input finds nothing.
bool FindRecipeIngredients(const Recipe& recipe, std::vector<Item*>* found);
// The panel's filter (have-ingredients, crafting-skill, secret).
bool RecipePassesFilter(const Recipe& recipe);
// Makes one of the outputs the hero's level allows in the window's output slot; false (with
// the ticker line) when no output fits or the chosen output names no item.
bool RollRecipeOutput(ToolkitWindow& window, const Recipe& recipe);

// The crafting panel.
struct CraftPanelState {
    bool open = false;
    bool dragging = false;
    int32_t x = 100;
    int32_t y = 100;
    int32_t grabX = 0;
    int32_t grabY = 0;
    int32_t tool = 0;      // selected tab, 0 alchemy .. 6 lathe
    int32_t scroll = 0;    // the shown recipe at scroll + 2 is in the middle row
    int32_t current = -1;  // index into Recipes, -1 for none
    bool filterIngredients = false;
    bool filterSkill = false;
    bool filterSecret = false;
    bool windowsLaidOut = false;
};
extern CraftPanelState CraftPanel;

// The shown recipe at a position of the selected tab's list, or -1.
int32_t ShownRecipeAt(int32_t position);

void LoadCraftPanelArt();
// Draws the open panel; the mouse position is that of the frame. With the pointer over a row's
// ingredient or output box, the item's name shows in a tooltip (when no other tooltip has been
// drawn this frame).
void DrawCraftPanel(int32_t mouseX, int32_t mouseY);
// A click at a screen point: true when the open panel took it (the point lies on it).
bool ClickCraftPanel(int32_t x, int32_t y);
// A press at a screen point: 1 when it lies on the open panel's title strip (a drag starts).
int32_t BeginCraftPanelDrag(int32_t x, int32_t y);
void DragCraftPanel(int32_t x, int32_t y);
// Crafts the recipe with the carried tool and ingredients (the recipe area's click).
void CraftRecipeFromPanel(int32_t recipeIndex);

// Draw calls of the panel and the toolkit windows are recorded here while set (tests): the
// picture's name and the point it was put at.
struct CraftDrawCall {
    std::string what;
    int32_t x = 0;
    int32_t y = 0;
};
extern std::vector<CraftDrawCall>* CraftDrawRecorder;
// Records (when a recorder is set) and blits the picture at (x, y).
void CraftBlit(const char* what, SDL_Surface* picture, int32_t x, int32_t y);
