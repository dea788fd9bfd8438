#pragma once
// Crafting recipes ("craftDB.xml") and the crafting panel.
//
// Stand-in: the loader reads nothing and the panel never opens. Still to be built here:
// reading recipes over the layered files and mods, the known-recipe flags and default
// recipes, the hero's craftable lists per tool type, the panel's art, drawing, clicks and
// dragging, and the tutorial report when something is made (15).
#include <cstdint>
#include <string>
#include <vector>

struct Recipe {
    std::string name;
    std::string toolKind;
    int32_t known = 0;
    int32_t isDefault = 0;
};

extern std::vector<Recipe> Recipes;

struct CraftPanelState {
    bool open = false;
    bool dragging = false;
    int32_t x = 0;
    int32_t y = 0;
};
extern CraftPanelState CraftPanel;

void craftDBLoad(const char* file);
// Marks the default recipes as known (new game).
void LearnDefaultRecipes();
void LoadCraftPanelArt();
void ClickCraftPanel(int32_t x, int32_t y);
void DragCraftPanel(int32_t x, int32_t y);
