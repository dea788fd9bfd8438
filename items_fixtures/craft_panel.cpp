// The crafting panel: its art, drawing, clicks and dragging.
#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "creatures/damage_type.h"
#include "creatures/player.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/toolkit_windows.h"
#include "interface/ui_services.h"
#include "media/image.h"
#include "media/screen.h"
#include "media/sprite.h"
#include "media/text.h"
#include "media/tooltip.h"
#include "platform/platform.h"

std::vector<CraftDrawCall>* CraftDrawRecorder = nullptr;

namespace {

constexpr int32_t kRows = 6;
constexpr int32_t kPanelWidth = 640;
constexpr int32_t kPanelHeight = 480;

// One picture of the panel: its file name (for the recorder) and its surface (null when the
// art is missing, or before LoadCraftPanelArt).
struct PanelPicture {
    std::string file;
    SDL_Surface* surface = nullptr;
};

struct PanelArt {
    bool loaded = false;
    PanelPicture background;
    PanelPicture scroll[6][3];  // top, page up, up, down, page down, bottom
    PanelPicture craft[3];
    PanelPicture filters[3][3];  // ingredients, skill, secret
    PanelPicture toggle[2];
    PanelPicture rows[4];
    PanelPicture rowsHighlighted[4];
    PanelPicture have;
    PanelPicture lack;
};
PanelArt Art;

// The tab pictures of one toolkit window: missing, present, active.
struct TabArt {
    const ToolkitLayout* layout = nullptr;
    PanelPicture pictures[3];
};
std::vector<TabArt> Tabs;

void Load(PanelPicture& picture, const std::string& file) {
    picture.file = file;
    if (!Art.loaded || file.empty() || !WarnIfArtMissing(file.c_str())) return;
    const std::string path = GetResourceFilename(file.c_str());
    picture.surface = LoadImage(path.c_str());
}

void Put(const PanelPicture& picture, int32_t x, int32_t y) { CraftBlit(picture.file.c_str(), picture.surface, x, y); }

const TabArt& TabFor(const ToolkitWindow& window) {
    for (const TabArt& tab : Tabs) {
        if (tab.layout == window.layout) return tab;
    }
    TabArt tab;
    tab.layout = window.layout;
    if (window.layout != nullptr) {
        Load(tab.pictures[0], window.layout->missing);
        Load(tab.pictures[1], window.layout->present);
        Load(tab.pictures[2], window.layout->active);
    }
    Tabs.push_back(tab);
    return Tabs.back();
}

int32_t PanelWidth() { return Art.background.surface != nullptr ? Art.background.surface->w : kPanelWidth; }
int32_t PanelHeight() { return Art.background.surface != nullptr ? Art.background.surface->h : kPanelHeight; }

bool Inside(int32_t x, int32_t y, int32_t left, int32_t top, int32_t width, int32_t height) {
    return x >= left && x <= left + width && y >= top && y <= top + height;
}

// The windows that stand for the panel's tabs, in list order.
std::vector<ToolkitWindow*> TabWindows() {
    std::vector<ToolkitWindow*> tabs;
    for (ToolkitWindow& window : ToolkitWindows) {
        if (window.kind != "lutefisk") tabs.push_back(&window);
    }
    return tabs;
}

int32_t ShownCount() {
    if (CurrentPlayer == nullptr || CraftPanel.tool < 0 || CraftPanel.tool >= kToolTypeCount) return 0;
    return static_cast<int32_t>(CurrentPlayer->craftableRecipes[CraftPanel.tool].size());
}

void CurrentFromMiddle(bool clearWhenNone) {
    const int32_t index = ShownRecipeAt(CraftPanel.scroll + 2);
    if (index >= 0) {
        CraftPanel.current = index;
    } else if (clearWhenNone) {
        CraftPanel.current = -1;
    }
}

// The icon frame of a definition (loaded once through an item of it).
SDL_Surface* DefinitionIcon(const ItemDef* definition) {
    if (definition == nullptr) return nullptr;
    if (definition->iconSprite == nullptr || definition->iconGeneration != SpriteMgr_Generation()) {
        Item probe(definition);
    }
    const Sprite* sprite = definition->iconSprite;
    if (sprite == nullptr || sprite->frameCount == 0) return nullptr;
    const int32_t frame = definition->iconNo >= 0 && definition->iconNo < sprite->frameCount ? definition->iconNo : 0;
    return sprite->frames[frame];
}

// The tooltip of an ingredient or output box: the item's name beside the pointer, when no other
// tooltip has been drawn this frame.
void ShowNameTooltip(const std::string& name, int32_t mouseX, int32_t mouseY) {
    if (name.empty() || !TooltipSlotFree) return;
    if (CraftDrawRecorder != nullptr) CraftDrawRecorder->push_back(CraftDrawCall{"tooltip " + name, mouseX, mouseY});
    if (ScreenSurface != nullptr) DrawTooltip(name.c_str(), nullptr, nullptr);
    TooltipSlotFree = false;
}

// The name under the pointer among row k's ingredient and output boxes, or empty.
std::string RowTooltipName(const Recipe& recipe, int32_t k, int32_t px, int32_t py, int32_t mouseX, int32_t mouseY) {
    const int32_t top = py + 67 + 88 * k;
    if (mouseY < top || mouseY > top + 64) return std::string();
    const int32_t n = std::min(recipe.inputCount, kRecipeInputSlots);
    for (int32_t j = 0; j < n; ++j) {
        const int32_t left = px + 408 + 72 * (j - n);
        if (mouseX >= left && mouseX <= left + 64) {
            const ItemDef* input = recipe.inputDefs[j];
            return input != nullptr ? input->name : recipe.inputNames[j];
        }
    }
    if (mouseX >= px + 432 && mouseX <= px + 496 && !recipe.outputs.empty()) {
        const RecipeOutput& output = recipe.outputs[0];
        return output.def != nullptr ? output.def->name : output.name;
    }
    return std::string();
}

void DrawRow(const Recipe& recipe, int32_t recipeIndex, int32_t k, int32_t px, int32_t py) {
    const int32_t n = std::min(recipe.inputCount, kRecipeInputSlots);
    const int32_t rowX = px + 112;
    const int32_t rowY = py + 60 + 88 * k;
    if (n >= 1) Put(recipeIndex == CraftPanel.current ? Art.rowsHighlighted[n - 1] : Art.rows[n - 1], rowX, rowY);
    for (int32_t j = 0; j < n; ++j) {
        const ItemDef* input = recipe.inputDefs[j];
        CraftBlit(("input " + recipe.inputNames[j]).c_str(), DefinitionIcon(input), px + 408 + 72 * (j - n), py + 67 + 88 * k);
        Put(InventoryHasItemOfDef(input) ? Art.have : Art.lack, px + 72 * (j - n + 6), py + 123 + 88 * k);
    }
    if (!recipe.outputs.empty() && recipe.outputs[0].def != nullptr) {
        CraftBlit(("output " + recipe.outputs[0].name).c_str(), DefinitionIcon(recipe.outputs[0].def), px + 424,
                  py + 69 + 88 * k);
    }
    // The skill check: the governing statistic's icon with the hero's value left of it.
    const int32_t level = CraftingLevel(CurrentPlayer, recipe.toolTag);
    const int32_t stat = CraftingStatOfTag(recipe.toolTag);
    CraftBlit(("skill icon " + std::to_string(stat)).c_str(), TooltipRowIcon(kTooltipRowSecondary, stat), rowX + 319,
              rowY + 65);
    const std::string value = std::to_string(level);
    if (CraftDrawRecorder != nullptr) CraftDrawRecorder->push_back(CraftDrawCall{"skill value " + value, rowX + 319, rowY + 65});
    if (ScreenSurface != nullptr) DrawMediumTextRightAligned(rowX + 317, rowY + 62, value.c_str());
    if (!recipe.outputs.empty()) {
        const int32_t needed = recipe.outputs[0].skill;
        if (ScreenSurface != nullptr) DrawMediumTextCenteredGold(rowX + 345, rowY + 62, std::to_string(needed).c_str());
        Put(level >= needed ? Art.have : Art.lack, rowX + 358, rowY + 65);
    }
}

}  // namespace

void CraftBlit(const char* what, SDL_Surface* picture, int32_t x, int32_t y) {
    if (CraftDrawRecorder != nullptr) CraftDrawRecorder->push_back(CraftDrawCall{what != nullptr ? what : "", x, y});
    if (picture == nullptr || ScreenSurface == nullptr) return;
    SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_BlitSurface(picture, nullptr, ScreenSurface, &at);
}

namespace {

// Names every picture, and loads them once LoadCraftPanelArt has run.
void SetUpArt() {
    Load(Art.background, "ui/crafting/craft_panel.png");
    const char* const scrolls[6] = {"top", "pageup", "up", "down", "pagedown", "bot"};
    for (int32_t b = 0; b < 6; ++b) {
        for (int32_t s = 0; s < 3; ++s) {
            Load(Art.scroll[b][s], std::string("ui/crafting/uber_") + scrolls[b] + std::to_string(s) + ".png");
        }
    }
    const char* const filters[3] = {"ingredients", "skill", "secret"};
    for (int32_t s = 0; s < 3; ++s) {
        Load(Art.craft[s], "ui/crafting/craft_button" + std::to_string(s) + ".png");
        for (int32_t f = 0; f < 3; ++f) {
            Load(Art.filters[f][s], std::string("ui/crafting/filter_") + filters[f] + std::to_string(s) + ".png");
        }
    }
    for (int32_t s = 0; s < 2; ++s) Load(Art.toggle[s], "ui/crafting/toggle_list-grid" + std::to_string(s) + ".png");
    for (int32_t n = 0; n < 4; ++n) {
        const std::string stem = "ui/crafting/recipes_" + std::to_string(n + 1) + "ingredient_widget";
        Load(Art.rows[n], stem + ".png");
        Load(Art.rowsHighlighted[n], stem + "_highlight.png");
    }
    Load(Art.have, "ui/icons/icon_check.png");
    Load(Art.lack, "ui/icons/icon_x.png");
}

bool ArtNamed = false;

}  // namespace

// The tab pictures go back to the heap at exit, before the list that holds them is destroyed.
static void FreeTabPictures() {
    for (TabArt& tab : Tabs) {
        for (PanelPicture& picture : tab.pictures) {
            if (picture.surface != nullptr) SDL_FreeSurface(picture.surface);
            picture.surface = nullptr;
        }
    }
    Tabs.clear();
}

void LoadCraftPanelArt() {
    if (Art.loaded) return;
    Art.loaded = true;
    Tabs.clear();
    std::atexit(FreeTabPictures);
    SetUpArt();
    ArtNamed = true;
}

void DrawCraftPanel(int32_t mouseX, int32_t mouseY) {
    if (!CraftPanel.open) return;
    if (!ArtNamed) {
        SetUpArt();
        ArtNamed = true;
    }
    const int32_t px = CraftPanel.x;
    const int32_t py = CraftPanel.y;
    Put(Art.background, px, py);
    CraftBlit("close", nullptr, px + 508, py);
    const int32_t scrollY[6] = {140, 176, 212, 308, 344, 380};
    for (int32_t b = 0; b < 6; ++b) {
        const bool over = Inside(mouseX, mouseY, px + 508, py + scrollY[b], 64, 32);
        Put(Art.scroll[b][over ? 1 : 0], px + 508, py + scrollY[b]);
    }
    const int32_t filterX[3] = {111, 219, 291};
    const int32_t filterW[3] = {106, 70, 106};
    const bool filterOn[3] = {CraftPanel.filterIngredients, CraftPanel.filterSkill, CraftPanel.filterSecret};
    for (int32_t f = 0; f < 3; ++f) {
        const bool over = Inside(mouseX, mouseY, px + filterX[f], py + 31, filterW[f], 20);
        Put(Art.filters[f][over ? 2 : (filterOn[f] ? 1 : 0)], px + filterX[f], py + 31);
    }
    Put(Art.craft[Inside(mouseX, mouseY, px + 408, py + 232, 192, 88) ? 1 : 0], px + 408, py + 232);
    const std::vector<ToolkitWindow*> tabs = TabWindows();
    for (size_t i = 0; i < tabs.size(); ++i) {
        const ToolkitWindow& window = *tabs[i];
        const TabArt& art = TabFor(window);
        const int32_t tx = px + 40;
        const int32_t ty = py + 64 + 72 * static_cast<int32_t>(i);
        int32_t state = 0;
        if (ToolTypeOfTag(window.kind) == CraftPanel.tool) {
            state = 2;
        } else if (FindToolkitOfKind(window.kind.c_str()) != nullptr) {
            state = Inside(mouseX, mouseY, tx, ty, 64, 64) ? 2 : 1;
        }
        Put(art.pictures[state], tx, ty);
    }
    // Row k shows the shown recipe at scroll + k; positions outside the list stay empty.
    for (int32_t k = 0; k < kRows; ++k) {
        const int32_t index = ShownRecipeAt(CraftPanel.scroll + k);
        if (index < 0) continue;
        DrawRow(Recipes[static_cast<size_t>(index)], index, k, px, py);
    }
    // Tooltips last, over the rows.
    for (int32_t k = 0; k < kRows; ++k) {
        const int32_t index = ShownRecipeAt(CraftPanel.scroll + k);
        if (index < 0) continue;
        const std::string name = RowTooltipName(Recipes[static_cast<size_t>(index)], k, px, py, mouseX, mouseY);
        if (!name.empty()) {
            ShowNameTooltip(name, mouseX, mouseY);
            break;
        }
    }
}

bool ClickCraftPanel(int32_t x, int32_t y) {
    if (!CraftPanel.open) return false;
    const int32_t rx = x - CraftPanel.x;
    const int32_t ry = y - CraftPanel.y;
    if (rx < 0 || ry < 0 || rx > PanelWidth() || ry > PanelHeight()) return false;
    if (rx >= 508 && rx <= 530 && ry <= 22) {
        CraftPanel.open = false;
        return true;
    }
    // The tabs answer where they are drawn.
    const std::vector<ToolkitWindow*> tabs = TabWindows();
    for (size_t i = 0; i < tabs.size(); ++i) {
        const int32_t top = 64 + 72 * static_cast<int32_t>(i);
        if (rx >= 40 && rx <= 104 && ry >= top && ry <= top + 64) {
            const int32_t tool = ToolTypeOfTag(tabs[i]->kind);
            if (tool >= 0) CraftPanel.tool = tool;
            CraftPanel.scroll = -2;
            return true;
        }
    }
    if (ry >= 31 && ry <= 51) {
        bool* flag = nullptr;
        if (rx >= 111 && rx <= 217) flag = &CraftPanel.filterIngredients;
        if (rx >= 219 && rx <= 289) flag = &CraftPanel.filterSkill;
        if (rx >= 291 && rx <= 397) flag = &CraftPanel.filterSecret;
        if (flag != nullptr) {
            *flag = !*flag;
            if (CurrentPlayer != nullptr) CurrentPlayer->RefreshCraftableRecipes();
            return true;
        }
    }
    if (rx >= 508 && rx <= 572) {
        const int32_t count = ShownCount();
        const int32_t last = std::max(-2, count - 3);
        int32_t& scroll = CraftPanel.scroll;
        if (ry >= 140 && ry <= 172) {
            scroll = -2;
            CurrentFromMiddle(false);
        } else if (ry >= 176 && ry <= 208) {
            scroll = std::max(-2, scroll - 6);
            CurrentFromMiddle(true);
        } else if (ry >= 212 && ry <= 244) {
            scroll = std::max(-2, scroll - 1);
            CurrentFromMiddle(false);
        } else if (ry >= 308 && ry <= 340) {
            scroll = std::max(-2, std::min(scroll + 1, last));
            CurrentFromMiddle(false);
        } else if (ry >= 344 && ry <= 376) {
            scroll = std::max(-2, std::min(scroll + 6, last));
            CurrentFromMiddle(false);
        } else if (ry >= 380 && ry <= 412) {
            scroll = last;
            const int32_t lastIndex = ShownRecipeAt(count - 1);
            if (lastIndex >= 0) CraftPanel.current = lastIndex;
        }
        return true;
    }
    if (rx >= 408 && rx <= 600 && ry >= 232 && ry <= 320) {
        const int32_t index = ShownRecipeAt(CraftPanel.scroll + 2);
        // No recipe in the middle row: the button does nothing.
        if (index < 0) return true;
        CraftPanel.current = index;
        CraftRecipeFromPanel(index);
    }
    return true;
}

int32_t BeginCraftPanelDrag(int32_t x, int32_t y) {
    if (!CraftPanel.open) return 0;
    const int32_t px = CraftPanel.x;
    const int32_t py = CraftPanel.y;
    if (x >= px + 105 && x <= px + std::min(398, PanelWidth()) && y >= py && y <= py + 28) {
        CraftPanel.grabX = x - px;
        CraftPanel.grabY = y - py;
        CraftPanel.dragging = true;
        return 1;
    }
    return 0;
}

void DragCraftPanel(int32_t x, int32_t y) {
    if (!CraftPanel.dragging) return;
    CraftPanel.x = x - CraftPanel.grabX;
    CraftPanel.y = y - CraftPanel.grabY;
}
