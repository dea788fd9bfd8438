#include "interface/inventory_window.h"

#include <cstdio>

#include "core/input_log.h"
#include "creatures/player.h"
#include "interface/dialogs.h"
#include "interface/hud.h"
#include "interface/hud_belts.h"
#include "interface/hud_draw.h"
#include "interface/hud_surfaces.h"
#include "interface/layout.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "media/font.h"
#include "media/image.h"
#include "media/image_batch.h"
#include "media/text.h"

namespace {

SDL_Surface* recipePictures[kRecipeBookPictures] = {};

bool Large() {
    return Layout.largeInterface != 0;
}

bool OnPeacefulShopFloor() {
    Player* hero = CurrentPlayer;
    Level* level = CurrentLevel;
    if (hero == nullptr || level == nullptr || level->shopkeepersAngry != 0) return false;
    return level->SquareKind(hero->x, hero->y) == SquareType::ShopFloor;
}

}  // namespace

HudPoint InventoryCellOffset(int32_t gx, int32_t gy) {
    HudPoint p;
    p.x = Large() ? 45 + 66 * gx : 26 + 34 * gx;
    p.y = Large() ? 69 + 66 * gy : 37 + 34 * gy;
    return p;
}

SDL_Rect InventorySortRect() {
    SDL_Rect r;
    if (Large()) {
        r = {387, 484, 84, 30};
    } else {
        r = {205, 252, 52, 22};
    }
    return r;
}

HudPoint InventoryCloseOffset() {
    HudPoint p;
    p.x = Large() ? 578 : 298;
    p.y = Large() ? 8 : 0;
    return p;
}

HudPoint InventoryQuickSellOffset() {
    HudPoint p;
    p.x = Large() ? 144 : 0;
    p.y = Large() ? 20 : 0;
    return p;
}

bool DrawInventoryWindow() {
    if (Layout.inventoryOpen == 0) return true;
    const bool large = Large();
    const int32_t wx = Layout.inventoryX;
    const int32_t wy = Layout.inventoryY;
    HudBlit(large ? Layout.inventoryImageLarge : Layout.inventoryImage, "inventory background", wx, wy);
    if (OnPeacefulShopFloor()) {
        const bool shift = (LoggedGetModState() & KMOD_SHIFT) != 0;
        const HudPoint q = InventoryQuickSellOffset();
        HudBlit(Hud.inventoryQuickSell[shift ? 1 : 0], shift ? "quick sell 1" : "quick sell 0", wx + q.x, wy + q.y);
    }
    for (int32_t i = 0; i < kInventoryCells; ++i) {
        Item* item = InventoryGrid.cells[i];
        if (item == nullptr) continue;
        const HudPoint cell = InventoryCellOffset(i % kInventoryColumns, i / kInventoryColumns);
        const int32_t x = wx + cell.x;
        const int32_t y = wy + cell.y;
        DrawItemIcon(item, x, y, "backpack " + std::to_string(i));
        if (item->count > 1) {
            char text[16];
            std::snprintf(text, sizeof text, "%i", item->count);
            const int32_t rx = x + (large ? 62 : 30);
            const int32_t ry = y + (large ? 44 : 22);
            HudRecordText(text, rx, ry);
            DrawTextRightAligned(rx, ry, text, kTextWhite, nullptr, large ? MediumFont : SmallFont);
        }
    }
    int mx = 0;
    int my = 0;
    const Uint8 buttons = LoggedGetMouseState(&mx, &my);
    const SDL_Rect sort = InventorySortRect();
    const int32_t sx = wx + sort.x;
    const int32_t sy = wy + sort.y;
    int32_t state = 0;
    if (mx >= sx && my >= sy && mx <= sx + sort.w && my <= sy + sort.h) {
        state = (buttons & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0 ? 2 : 1;
    }
    HudBlit(large ? Hud.inventorySort2x[state] : Hud.inventorySort[state], "sort " + std::to_string(state), sx, sy);
    const HudPoint close = InventoryCloseOffset();
    HudRecord("close button", wx + close.x, wy + close.y);
    DrawCloseButton(wx + close.x, wy + close.y);
    return !ShowInventoryHoverTooltip(wx, wy);
}

bool ShowInventoryHoverTooltip(int32_t x, int32_t y) {
    int mx = 0;
    int my = 0;
    LoggedGetMouseState(&mx, &my);
    Item* item = GetInventoryItemAt(mx - x, my - y);
    if (item == nullptr) return false;
    ShowItemTooltip(item, std::string(), 1);
    return true;
}

bool InventoryHasItem(const ItemDef* def) {
    if (def == nullptr) return false;
    for (Item* item : InventoryGrid.cells) {
        if (item != nullptr && item->def == def) return true;
    }
    if (CurrentPlayer == nullptr) return false;
    for (Item* item : CurrentPlayer->quickSlots) {
        if (item != nullptr && item->def == def) return true;
    }
    return false;
}

std::vector<std::string> RecipeBookArtFiles() {
    std::vector<std::string> files = {
        "ui/icons/icon_check.png",
        "ui/icons/icon_x.png",
        "ui/crafting/craft_skill_bg.png",
        "ui/crafting/recipes_grid_widget.png",
        "ui/crafting/recipes_grid_widget_highlight.png",
        "ui/crafting/recipes_overlay_layout_grid.png",
        "ui/crafting/recipes_overlay_layout_list.png",
        "ui/crafting/recipes_layoutbut_grid0.png",
        "ui/crafting/recipes_layoutbut_grid1.png",
        "ui/crafting/recipes_layoutbut_list0.png",
        "ui/crafting/recipes_layoutbut_list1.png",
    };
    for (const char* way : {"up", "down"}) {
        for (int32_t i = 0; i < 4; ++i) {
            files.push_back(std::string("ui/gameplay/skilltome_arrowbutton_") + way + std::to_string(i) + ".png");
        }
    }
    for (const char* tool : {"alchemy_kit", "distilling_kit", "ingot_grinder", "ingot_press", "tinkerer_kit",
                             "travel_anvil", "n-dimensional_lathe"}) {
        files.push_back(std::string("ui/crafting/recipes_tools_") + tool + "0.png");
        files.push_back(std::string("ui/crafting/recipes_tools_") + tool + "1.png");
    }
    for (int32_t i = 1; i <= 4; ++i) {
        files.push_back("ui/crafting/recipes_" + std::to_string(i) + "ingredient_widget.png");
    }
    for (int32_t i = 1; i <= 4; ++i) {
        files.push_back("ui/crafting/recipes_" + std::to_string(i) + "ingredient_widget_highlight.png");
    }
    return files;
}

namespace {

// The crafting panel's pictures decode in the background from LoadRecipeBookArt on; the
// first use collects them.
PictureBatch& RecipeBookBatch() {
    static PictureBatch batch;
    return batch;
}

void CollectRecipeBookArt() {
    if (!RecipeBookBatch().Pending()) return;
    const std::vector<SDL_Surface*> loaded = RecipeBookBatch().Finish();
    for (size_t i = 0; i < loaded.size() && i < static_cast<size_t>(kRecipeBookPictures); ++i) {
        SDL_FreeSurface(recipePictures[i]);
        recipePictures[i] = loaded[i];
    }
}

}  // namespace

void LoadRecipeBookArt() {
    CollectRecipeBookArt();
    std::vector<std::string> files = RecipeBookArtFiles();
    if (files.size() > static_cast<size_t>(kRecipeBookPictures)) files.resize(kRecipeBookPictures);
    RecipeBookBatch().Start(files);
}

SDL_Surface* RecipeToolPicture(int32_t tool) {
    // The tools' pairs follow the eleven panel pictures and the eight arrow pictures.
    constexpr int32_t kFirstToolPicture = 19;
    constexpr int32_t kTools = 7;
    if (tool < 0 || tool >= kTools) return nullptr;
    return RecipeBookPicture(kFirstToolPicture + 2 * tool);
}

SDL_Surface* RecipeBookPicture(int32_t index) {
    if (index < 0 || index >= kRecipeBookPictures) return nullptr;
    CollectRecipeBookArt();
    return recipePictures[index];
}
