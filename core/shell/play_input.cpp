#include "core/shell/play_input.h"

#include <vector>

#include "core/command_state.h"
#include "core/input_log.h"
#include "core/key_bindings.h"
#include "core/random.h"
#include "core/shell/config.h"
#include "core/shell/game_input.h"
#include "core/shell/play_loop.h"
#include "core/shell/turn_engine.h"
#include "core/text_db.h"
#include "creatures/player.h"
#include "interface/dialogs.h"
#include "interface/hud.h"
#include "interface/hud_surfaces.h"
#include "interface/layout.h"
#include "interface/play_screen.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "media/music.h"
#include "media/sound.h"
#include "media/ticker.h"

int32_t HeroInShopFlag = 0;
InventoryDragState InventoryDrag;
int32_t PressX = 0;
int32_t PressY = 0;

namespace {

// The default sizes of the art when a picture is not loaded.
constexpr int32_t kInventoryWidth = 320;
constexpr int32_t kInventoryHeight = 280;
constexpr int32_t kInventoryWidthLarge = 600;
constexpr int32_t kInventoryHeightLarge = 530;
constexpr int32_t kNormalBottomBarHeight = 128;

const char* const kStolenText = "You have stolen merchandise from a shop! You're in trouble now...";

// The hero's square, when there is a hero on the current level.
LevelCell* HeroCell() {
    Player* hero = CurrentPlayer;
    Level* level = CurrentLevel;
    if (hero == nullptr || level == nullptr) return nullptr;
    return level->GetCell(hero->x, hero->y);
}

// Tries Activate on each object of the list the test accepts; true at the first that acts.
template <typename Test>
bool ActivateFirst(const std::vector<GameObj*>& objects, Test test) {
    for (GameObj* obj : objects) {
        if (obj == nullptr || !test(obj)) continue;
        if (obj->Activate() != 0) {
            AdvanceTurn();
            return true;
        }
    }
    return false;
}

// The minimap picture of the current size, and its size (the background's size when the
// picture is not loaded: 100 pixels per square of size plus a 10-pixel frame).
void MinimapSizeNow(int32_t* w, int32_t* h) {
    const int32_t index = Layout.minimapSize >= 0 && Layout.minimapSize < 4 ? Layout.minimapSize : 0;
    SDL_Surface* image = Layout.minimapImages[index];
    *w = image != nullptr ? image->w : 100 * (index + 1) + 10;
    *h = image != nullptr ? image->h : 100 * (index + 1) + 10;
}

}  // namespace

bool LargeInterface() {
    return Layout.largeInterface != 0;
}

SDL_Surface* InventoryImage() {
    return LargeInterface() ? Layout.inventoryImageLarge : Layout.inventoryImage;
}

void InventoryImageSize(int32_t* w, int32_t* h) {
    SDL_Surface* image = InventoryImage();
    if (image != nullptr) {
        *w = image->w;
        *h = image->h;
        return;
    }
    *w = LargeInterface() ? kInventoryWidthLarge : kInventoryWidth;
    *h = LargeInterface() ? kInventoryHeightLarge : kInventoryHeight;
}

bool InsideInventoryWindow(int32_t x, int32_t y) {
    int32_t w = 0;
    int32_t h = 0;
    InventoryImageSize(&w, &h);
    return x >= Layout.inventoryX && x < Layout.inventoryX + w && y >= Layout.inventoryY &&
           y < Layout.inventoryY + h;
}

bool InventoryCellAt(int32_t x, int32_t y, int32_t* column, int32_t* row) {
    const bool large = LargeInterface();
    const int32_t left = large ? 45 : 26;
    const int32_t top = large ? 69 : 37;
    const int32_t size = large ? 66 : 34;
    const int32_t rx = x - Layout.inventoryX - left;
    const int32_t ry = y - Layout.inventoryY - top;
    // A point above or left of the grid must not round toward cell 0.
    if (rx < 0 || ry < 0) return false;
    const int32_t c = rx / size;
    const int32_t r = ry / size;
    if (c >= kInventoryColumns || r >= kInventoryRows) return false;
    *column = c;
    *row = r;
    return true;
}

int32_t NormalBottomBarHeight() {
    SDL_Surface* bar = Layout.bottomBar != nullptr ? Layout.bottomBar : Hud.bottomBar;
    return bar != nullptr ? bar->h : kNormalBottomBarHeight;
}

int32_t BottomBarTopEdge() {
    return BottomBarTop();
}

void PlayFootstepSound() {
    if (const char* sound = TakeFootstepSound()) PlaySFX(sound);
}

void HandlePlayerEnteredSquare() {
    Player* hero = CurrentPlayer;
    Level* level = CurrentLevel;
    LevelCell* cell = HeroCell();
    if (cell == nullptr) return;
    const int32_t x = hero->x;
    const int32_t y = hero->y;
    hero->currentRoom = cell->room;
    const bool shopSquare = cell->type == SquareType::ShopFloor;
    if (shopSquare && HeroInShopFlag == 0 && level->shopkeepersAngry == 0) {
        PlayMusic("tunes/shop-open.ogg", "tunes/shop-repeat.ogg", kMusicCrossFade);
        HeldTrackFlag = true;
        HeroInShopFlag = 1;
    }
    if (!shopSquare) {
        if (HeroInShopFlag == 1) {
            if (PlayerHasUnpaidItem()) {
                StopMusic();
                AngerShopkeepers(level);
                ShowDialog(kStolenText, "ui/dialog_but_ok", nullptr);
                PlayMusic("tunes/thief-open.ogg", "tunes/thief-repeat.ogg", kMusicCrossFade);
                HeldTrackFlag = true;
            } else {
                HeldTrackFlag = false;
                RotateDungeonMusic(true);
            }
        }
        HeroInShopFlag = 0;
    }
    // One flavour line per square for the turn's pool; with no lines nothing is drawn.
    const std::vector<std::string>& lines = GetTextDB().randomLines;
    if (!lines.empty()) {
        const int32_t n = static_cast<int32_t>(lines.size());
        const int32_t index = n > 32766 ? 0 : CRand() / (32767 / n + 1);
        AddAmbientMessage(lines[static_cast<size_t>(index)]);
    }
    // What lies here, in list order, while the hero is still on this square of this level.
    const std::vector<GameObj*> contents = cell->contents;
    for (GameObj* obj : contents) {
        if (CurrentLevel != level || CurrentPlayer != hero || hero->x != x || hero->y != y) break;
        LevelCell* now = level->GetCell(x, y);
        bool stillHere = false;
        for (GameObj* o : now->contents) stillHere = stillHere || o == obj;
        if (!stillHere || obj == hero) continue;
        obj->PlayerEntered();
    }
}

void ActivateSquareObjects(int32_t x, int32_t y) {
    if (StepFlags[0] || StepFlags[1] || StepFlags[2] || StepFlags[3] || !MoveKeyQueue.empty()) {
        MoveKeyQueue.clear();
        return;
    }
    Player* hero = CurrentPlayer;
    Level* level = CurrentLevel;
    if (hero == nullptr || level == nullptr) return;
    LevelCell* cell = level->GetCell(x, y);
    if (cell != nullptr) {
        const std::vector<GameObj*> contents = cell->contents;
        if (ActivateFirst(contents, [](GameObj* o) { return o->blocksMovement != 0 && o->IsDoorOrLever() == 0; })) return;
        if (ActivateFirst(contents, [](GameObj* o) { return o->blocksMovement == 0 && o->IsDoorOrLever() == 0; })) return;
        if (ActivateFirst(contents, [](GameObj* o) { return o->IsDoorOrLever() != 0; })) return;
    }
    if (x == hero->x && y == hero->y) return;
    if (DisableClickToMove == 0) hero->WalkPathTo(x, y);
}

bool InsideBeltRow(int32_t x, int32_t y) {
    const bool large = LargeInterface();
    const int32_t top = BottomBarTop() + (large ? 104 : 56);
    const int32_t left = Layout.interfaceX + (large ? 133 : 134);
    const int32_t slotSize = large ? 68 : 36;
    const int32_t width = large ? 612 : 324;
    return x >= left && x <= left + width && y >= top && y <= top + slotSize;
}

bool HandleBeltClick(int32_t x, int32_t y) {
    Player* hero = CurrentPlayer;
    if (!InsideBeltRow(x, y)) return false;
    const bool large = LargeInterface();
    const int32_t slot = (x - Layout.interfaceX - (large ? 133 : 134)) / (large ? 68 : 36);
    if (slot > 8 || hero == nullptr) return true;
    Item*& place = hero->quickSlots[slot];
    if ((LoggedGetModState() & KMOD_ALT) != 0 && place != nullptr) {
        if (TakeOneFromStack(&place)) return true;
    }
    Item* cursor = GetCursorItem();
    if (cursor != nullptr) {
        if (place == nullptr) {
            place = cursor;
            PlaySFX(cursor->pickUpSound.c_str());
            ClearCursorItem();
        } else if (MergesInto(place, cursor)) {
            place->count += cursor->count;
            PlaySFX(place->dropSound.c_str());
            ClearCursorItem();
            QueueObjectDeletion(cursor);
        } else {
            Item* old = place;
            place = cursor;
            PlaySFX(old->dropSound.c_str());
            SetCursorItem(old);
            if (SelectedSkillItem == old) SelectedSkillItem = nullptr;
        }
        InventoryChanged = true;
        return true;
    }
    if (place == nullptr) return true;
    Item* item = place;
    place = nullptr;
    if (SelectedSkillItem == item) SelectedSkillItem = nullptr;
    InventoryChanged = true;
    if ((LoggedGetModState() & KMOD_SHIFT) == 0) {
        SetCursorItem(item);
        PlaySFX(item->pickUpSound.c_str());
    } else if (AddItemToInventory(item, 1)) {
        PlaySFX(item->pickUpSound.c_str());
    } else {
        // Dropping plays the item's put-down sound.
        DropItemToFloor(item, hero->x, hero->y);
    }
    return true;
}

bool InsideMinimap(int32_t x, int32_t y) {
    int32_t w = 0;
    int32_t h = 0;
    MinimapSizeNow(&w, &h);
    return x >= Layout.screenWidth - w && x <= Layout.screenWidth && y >= 0 && y <= h;
}

bool HandleMinimapSizeClick(int32_t x, int32_t y) {
    const int32_t screenW = Layout.screenWidth;
    int32_t w = 0;
    int32_t h = 0;
    MinimapSizeNow(&w, &h);
    if (!InsideMinimap(x, y)) return false;
    if (x >= screenW - 28 && x <= screenW - 14 && y <= 14) {
        if (Layout.minimapSize < 3) ++Layout.minimapSize;
        MinimapSize = Layout.minimapSize;
        return true;
    }
    if (x >= screenW - 14 && y <= 14) {
        if (Layout.minimapSize > 0) --Layout.minimapSize;
        MinimapSize = Layout.minimapSize;
        return true;
    }
    Player* hero = CurrentPlayer;
    Level* level = CurrentLevel;
    if (CmdLine.debugFlags == 0 || hero == nullptr || level == nullptr) return true;
    const int32_t left = screenW - w;
    if (x < left + 5 || x > screenW - 5 || y < 5 || y > h - 5) return true;
    const int32_t cellSize = Layout.minimapSize + 1;
    const int32_t sx = (x - left - 5) / cellSize;
    const int32_t sy = (y - 5) / cellSize;
    if (level->IsInside(sx, sy) && level->IsSquarePassable(hero, sx, sy, false, false)) {
        HeroInShopFlag = 0;
        hero->PlaceOnLevel(sx, sy, level, 1);
    }
    return true;
}

void HandlePlayMouseDown(int32_t x, int32_t y, bool right) {
    if (Layout.abilityPickerOpen != 0) return;
    PressX = x;
    PressY = y;
    Player* hero = CurrentPlayer;
    if (hero == nullptr || hero->health <= 0) return;
    if (right && SelectedAbility != nullptr) {
        AimingAbility = true;
        if (CurrentLevel != nullptr) CurrentLevel->ClearHighlights();
        MarkAbilityTargetSquares(x, y);
    }
    // The crafting panel and the toolkit windows take their own drags first.
    if (CraftPanel.dragging || ToolkitWindowDragging) return;
    if (Layout.inventoryOpen == 0 || !InsideInventoryWindow(x, y)) return;
    const int32_t rx = x - Layout.inventoryX;
    const int32_t ry = y - Layout.inventoryY;
    const bool large = LargeInterface();
    const int32_t gridX = large ? 45 : 26;
    const int32_t gridY = large ? 69 : 37;
    const int32_t gridW = large ? 528 : 272;
    const int32_t gridH = large ? 396 : 204;
    if (rx >= gridX && rx < gridX + gridW && ry >= gridY && ry < gridY + gridH) return;
    SDL_Surface* image = InventoryImage();
    // Without the picture the whole window is solid.
    if (image != nullptr && IsColorKeyPixel(image, rx, ry)) return;
    InventoryDrag.dragging = true;
    InventoryDrag.lastX = x;
    InventoryDrag.lastY = y;
}

void DragInventoryPanel(int32_t x, int32_t y) {
    if (!InventoryDrag.dragging) return;
    Layout.inventoryX += x - InventoryDrag.lastX;
    Layout.inventoryY += y - InventoryDrag.lastY;
    InventoryDrag.lastX = x;
    InventoryDrag.lastY = y;
    if (Layout.inventoryY < 0) Layout.inventoryY = 0;
}

bool IsColorKeyPixel(SDL_Surface* surface, int32_t x, int32_t y) {
    if (surface == nullptr || surface->format == nullptr) return false;
    if ((surface->flags & SDL_SRCCOLORKEY) == 0) return false;
    if (x < 0 || y < 0 || x >= surface->w || y >= surface->h) return false;
    const bool lock = SDL_MUSTLOCK(surface);
    if (lock && SDL_LockSurface(surface) != 0) return false;
    const int bpp = surface->format->BytesPerPixel;
    const Uint8* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bpp;
    Uint32 value = 0;
    // Only the pixel's own bytes are read, never past the end of the buffer.
    switch (bpp) {
        case 1: value = p[0]; break;
        case 2: value = *reinterpret_cast<const Uint16*>(p); break;
        case 3:
            if (SDL_BYTEORDER == SDL_BIG_ENDIAN) {
                value = static_cast<Uint32>(p[0]) << 16 | static_cast<Uint32>(p[1]) << 8 | p[2];
            } else {
                value = p[0] | static_cast<Uint32>(p[1]) << 8 | static_cast<Uint32>(p[2]) << 16;
            }
            break;
        case 4: value = *reinterpret_cast<const Uint32*>(p); break;
        default: break;
    }
    if (lock) SDL_UnlockSurface(surface);
    return bpp >= 1 && bpp <= 4 && value == surface->format->colorkey;
}

bool HandleToolkitHotkey(const SDL_Event& event) {
    if (event.type != SDL_KEYUP) return false;
    bool matched = false;
    // A copy: using a toolkit opens or closes its window.
    std::vector<std::string> kinds;
    std::vector<bool> open;
    for (const ToolkitWindow& window : ToolkitWindows) {
        kinds.push_back(window.kind);
        open.push_back(window.open);
    }
    for (size_t i = 0; i < kinds.size(); ++i) {
        KeyBinding* binding = GetKeyBinding(kinds[i]);
        if (binding == nullptr || !binding->Matches(event.key.keysym)) continue;
        matched = true;
        Toolkit* kit = FindToolkitOfKind(kinds[i].c_str());
        if (kit == nullptr) {
            AddText("You aren't carrying that toolkit!\n", true);
            continue;
        }
        AddText(std::string("You ") + (open[i] ? "put away" : "take out") + " the " + kit->GetItemName() + ".\n", true);
        kit->Use();
    }
    return matched;
}

void DiscardEvents() {
    SDL_Event event;
    while (LoggedPollEvent(&event)) {
    }
}
