#include "items_fixtures/toolkit_windows.h"

#include <algorithm>

#include "core/input_log.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "interface/ui_services.h"
#include "media/ticker.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "levels/object_queue.h"
#include "media/image.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "media/font.h"
#include "media/text.h"
#include "platform/platform.h"
#include "store_platform/stats.h"

std::vector<ToolkitWindow> ToolkitWindows;
bool ToolkitWindowDragging = false;

namespace {

constexpr int32_t kDefaultWindowSize = 256;
constexpr int32_t kCloseBoxSize = 24;
int32_t dragLastX = 0;
int32_t dragLastY = 0;

bool InBox(int32_t x, int32_t y, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    return x >= x1 && x <= x2 && y >= y1 && y <= y2;
}

// Slot boxes of a layout are kept as x1, x2, y1, y2.
bool InSlot(const ToolkitLayout& layout, int32_t slot, int32_t x, int32_t y) {
    const int32_t* box = layout.slots[slot];
    return InBox(x, y, box[0], box[2], box[1], box[3]);
}

bool InOutput(const ToolkitLayout& layout, int32_t x, int32_t y) {
    return InBox(x, y, layout.output[0], layout.output[1], layout.output[2], layout.output[3]);
}

SDL_Surface* LoadPicture(const std::string& name) {
    if (name.empty() || !WarnIfArtMissing(name.c_str())) return nullptr;
    const std::string file = GetResourceFilename(name.c_str());
    return LoadImage(file.c_str());
}

void LoadWindowArt(ToolkitWindow& window) {
    if (window.artLoaded) return;
    window.artLoaded = true;
    if (window.layout == nullptr) return;
    const ToolkitLayout& layout = *window.layout;
    window.background = LoadPicture(layout.bg);
    if (!layout.craftButton.empty()) {
        for (int32_t i = 0; i < 3; ++i) window.craftButton[i] = LoadPicture(layout.craftButton + std::to_string(i) + ".png");
    }
    for (int32_t i = 0; i < 2; ++i) {
        if (!layout.recipeButton.empty()) window.recipeButton[i] = LoadPicture(layout.recipeButton + std::to_string(i) + ".png");
        if (!layout.autofillButton.empty()) window.fillButton[i] = LoadPicture(layout.autofillButton + std::to_string(i) + ".png");
    }
}

// A button's box at its offset: the picture's size, or 64 x 32 without one.
bool OnButton(SDL_Surface* picture, const int32_t at[2], int32_t x, int32_t y) {
    const int32_t w = picture != nullptr ? picture->w : 64;
    const int32_t h = picture != nullptr ? picture->h : 32;
    return InBox(x, y, at[0], at[1], at[0] + w, at[1] + h);
}

const Recipe* CurrentRecipe() {
    const int32_t index = CraftPanel.current;
    if (index < 0 || static_cast<size_t>(index) >= Recipes.size()) return nullptr;
    return &Recipes[static_cast<size_t>(index)];
}

// The first carried paid item of the definition: backpack cells in order, then the belt.
// Unpaid shop goods are never an ingredient.
Item** CarriedItemOf(const ItemDef* definition) {
    for (Item*& cell : InventoryGrid.cells) {
        if (cell != nullptr && cell->def == definition && cell->unpaid == 0) return &cell;
    }
    if (CurrentPlayer != nullptr) {
        for (Item*& slot : CurrentPlayer->quickSlots) {
            if (slot != nullptr && slot->def == definition && slot->unpaid == 0) return &slot;
        }
    }
    return nullptr;
}

// Unpaid goods stay out of every toolkit: what a craft or the cube made of them would be the
// hero's own. True (with a ticker line) when the cursor holds such goods.
bool RefuseUnpaid(const Item* item) {
    if (item == nullptr || item->unpaid == 0) return false;
    AddText("You have to pay for that before you can craft with it.", true);
    return true;
}

// The fill button: the current recipe's inputs come from the pack into the empty slots.
void FillSlots(ToolkitWindow& window) {
    const Recipe* recipe = CurrentRecipe();
    if (recipe == nullptr || recipe->toolTag != window.kind) return;
    for (size_t i = 0; i < window.slots.size(); ++i) {
        const ItemDef* wanted = i < kRecipeInputSlots ? recipe->inputDefs[i] : nullptr;
        if (window.slots[i] != nullptr && window.slots[i]->def != wanted) return;
    }
    for (size_t i = 0; i < window.slots.size() && static_cast<int32_t>(i) < recipe->inputCount; ++i) {
        if (window.slots[i] != nullptr || recipe->inputDefs[i] == nullptr) continue;
        Item** place = CarriedItemOf(recipe->inputDefs[i]);
        if (place == nullptr) continue;
        Item* found = *place;
        if (found->stackable == 0 || found->count <= 1) {
            RemoveItemFromGrid(found);
            RemoveItemFromQuickbar(found);
            window.slots[i] = found;
        } else {
            Item* one = CreateItem(found->def);
            if (one == nullptr) continue;
            one->CopyStateFrom(found);
            one->count = 1;
            --found->count;
            window.slots[i] = one;
        }
    }
}

// Which slot items a recipe's inputs take (each slot once, matched by definition name);
// false when an input finds none.
bool MatchSlots(const ToolkitWindow& window, const Recipe& recipe, std::vector<size_t>* used) {
    std::vector<bool> taken(window.slots.size(), false);
    used->clear();
    for (int32_t i = 0; i < recipe.inputCount; ++i) {
        bool found = false;
        for (size_t s = 0; s < window.slots.size() && !found; ++s) {
            const Item* item = window.slots[s];
            if (taken[s] || item == nullptr || item->def == nullptr || item->unpaid != 0 ||
                item->def->name != recipe.inputNames[i]) {
                continue;
            }
            taken[s] = true;
            used->push_back(s);
            found = true;
        }
        if (!found) return false;
    }
    return true;
}

// The craft button: the current recipe when the slots hold its inputs, else the recipe of the
// window's tool with the most inputs (the first of equals) that the slots hold.
void CraftInWindow(ToolkitWindow& window) {
    const Recipe* chosen = nullptr;
    std::vector<size_t> used;
    const Recipe* current = CurrentRecipe();
    if (current != nullptr && current->toolTag == window.kind && MatchSlots(window, *current, &used)) {
        chosen = current;
    } else {
        std::vector<size_t> candidate;
        for (const Recipe& recipe : Recipes) {
            if (recipe.toolTag != window.kind || !MatchSlots(window, recipe, &candidate)) continue;
            if (chosen == nullptr || recipe.inputCount > chosen->inputCount) {
                chosen = &recipe;
                used = candidate;
            }
        }
    }
    if (chosen == nullptr || window.output != nullptr) return;
    if (!RollRecipeOutput(window, *chosen)) return;
    for (size_t s : used) {
        Item*& slot = window.slots[s];
        if (--slot->count < 1) {
            delete slot;
            slot = nullptr;
        }
    }
}

SDL_Surface* IconFrame(const Item* item) {
    if (item == nullptr || item->iconSprite == nullptr || item->iconSprite->frameCount == 0) return nullptr;
    int32_t frame = item->bob.frame;
    if (frame < 0 || frame >= item->iconSprite->frameCount) frame = 0;
    return item->iconSprite->frames[frame];
}

void LayOutWindows() {
    if (CraftPanel.windowsLaidOut) return;
    CraftPanel.windowsLaidOut = true;
    const int32_t screenW = ScreenSurface != nullptr ? ScreenSurface->w : 1280;
    const int32_t screenH = ScreenSurface != nullptr ? ScreenSurface->h : 720;
    int32_t x = -1;
    int32_t y = 0;
    int32_t inRow = 0;
    for (ToolkitWindow& window : ToolkitWindows) {
        LoadWindowArt(window);
        const int32_t w = window.Width();
        const int32_t h = window.Height();
        if (window.kind == "lutefisk") {
            window.x = screenW / 2 - w / 2;
            window.y = screenH / 2 - h / 2;
            continue;
        }
        if (x < 0) {
            x = screenW / 2 - 448;
            y = screenH / 2 - h;
        }
        window.x = x;
        window.y = y;
        x += w;
        if (++inRow == 3) {
            inRow = 0;
            x = screenW / 2 - 2 * w;
            y += h;
        }
    }
}

// The lutefisk output slot: the cube eats what the cursor holds.
void FeedLutefiskCube(ToolkitWindow& window) {
    Item* cursor = GetCursorItem();
    if (cursor == nullptr) {
        // An empty output with an empty cursor does nothing.
        if (window.output == nullptr) return;
        Item* stack = window.output;
        window.output = nullptr;
        PutItemInBag(stack);
        return;
    }
    if (cursor->type == kItemMisc && cursor->subtype == 3) return;
    if (RefuseUnpaid(cursor)) return;
    const bool isCube = cursor->def != nullptr && cursor->def->name == "Horadric Lutefisk Cube";
    const int32_t n = cursor->stackable != 0 ? std::max(1, cursor->count) : 1;
    Item* fishOut = window.output;
    const bool fishStack = fishOut != nullptr && fishOut->def != nullptr && fishOut->def->name == "Lutefisk";
    // A fish stack that would pass what a save holds takes no more.
    if (!isCube && fishStack && !StackHasRoomFor(fishOut, n)) return;
    QueueObjectDeletion(cursor);
    if (isCube) {
        window.open = false;
        Player* hero = CurrentPlayer;
        if (hero != nullptr) {
            CastSpellWithCause(spellDBFindByName("Lutefisk Paradox"), hero->x, hero->y, hero->x, hero->y, hero,
                               "by the Lutefisk Paradox");
        }
        AwardAchievement("ACHIEVEMENT_TIME_CUBE");
        return;
    }
    if (fishStack) {
        fishOut->count += n;
    } else if (window.output == nullptr) {
        Item* fish = CreateItemByName("Lutefisk");
        if (fish != nullptr) {
            fish->stackable = 1;
            fish->count = n;
            window.output = fish;
        }
    }
    PlaySFX("lutefisk");
}

void ClickInputSlot(Item*& slot) {
    Item* cursor = GetCursorItem();
    const bool alt = (LoggedGetModState() & KMOD_ALT) != 0;
    if (alt && slot != nullptr) {
        TakeOneFromStack(&slot);
        return;
    }
    if (cursor == nullptr) {
        if (slot == nullptr) return;
        SetCursorItem(slot);
        slot = nullptr;
        return;
    }
    if (RefuseUnpaid(cursor)) return;
    if (slot == nullptr && cursor->stackable != 0 && cursor->count > 1 && cursor->def != nullptr) {
        Item* one = CreateItem(cursor->def);
        if (one == nullptr) return;
        one->CopyStateFrom(cursor);
        one->count = 1;
        --cursor->count;
        slot = one;
        return;
    }
    if (MergesInto(slot, cursor)) {
        slot->count += cursor->count;
        ClearCursorItem();
        QueueObjectDeletion(cursor);
        return;
    }
    Item* held = slot;
    slot = cursor;
    ClearCursorItem();
    if (held != nullptr) SetCursorItem(held);
}

}  // namespace

int32_t ToolkitWindow::Width() const { return background != nullptr ? background->w : kDefaultWindowSize; }
int32_t ToolkitWindow::Height() const { return background != nullptr ? background->h : kDefaultWindowSize; }

void FreeToolkitWindowArt() {
    for (ToolkitWindow& window : ToolkitWindows) {
        SDL_FreeSurface(window.background);
        window.background = nullptr;
        for (SDL_Surface*& picture : window.craftButton) {
            SDL_FreeSurface(picture);
            picture = nullptr;
        }
        for (SDL_Surface*& picture : window.recipeButton) {
            SDL_FreeSurface(picture);
            picture = nullptr;
        }
        for (SDL_Surface*& picture : window.fillButton) {
            SDL_FreeSurface(picture);
            picture = nullptr;
        }
        window.artLoaded = false;
    }
    CraftPanel.windowsLaidOut = false;
}

void SyncToolkitWindows() {
    for (const ToolkitLayout* layout : ItemDefLists.toolkitLayouts) {
        const bool known = std::any_of(ToolkitWindows.begin(), ToolkitWindows.end(),
                                       [layout](const ToolkitWindow& w) { return w.layout == layout || (w.layout == nullptr && w.kind == layout->tag); });
        if (known) {
            for (ToolkitWindow& w : ToolkitWindows) {
                if (w.layout == nullptr && w.kind == layout->tag) w.layout = layout;
            }
            continue;
        }
        ToolkitWindow window;
        window.kind = layout->tag;
        window.layout = layout;
        window.slots.assign(static_cast<size_t>(std::max(0, std::min(layout->numSlots, kRecipeInputSlots))), nullptr);
        ToolkitWindows.push_back(window);
    }
}

ToolkitWindow* FindToolkitWindow(const std::string& kind) {
    for (ToolkitWindow& window : ToolkitWindows) {
        if (window.kind == kind) return &window;
    }
    return nullptr;
}

void CloseToolkitWindows() {
    for (ToolkitWindow& window : ToolkitWindows) window.open = false;
    CraftPanel.current = -1;
}

void DrawToolkitWindows(int32_t mouseX, int32_t mouseY) {
    LayOutWindows();
    for (ToolkitWindow& window : ToolkitWindows) {
        if (!window.open || window.kind != "lutefisk" || window.layout == nullptr) continue;
        LoadWindowArt(window);
        const ToolkitLayout& layout = *window.layout;
        const int32_t x = window.x;
        const int32_t y = window.y;
        CraftBlit(layout.bg.c_str(), window.background, x, y);
        const bool overCraft = OnButton(window.craftButton[0], layout.craftButtonPos, mouseX - x, mouseY - y);
        const bool overFill = OnButton(window.fillButton[0], layout.autofillButtonPos, mouseX - x, mouseY - y);
        const bool overRecipe = OnButton(window.recipeButton[0], layout.recipeButtonPos, mouseX - x, mouseY - y);
        CraftBlit("craft button", window.craftButton[overCraft ? 1 : 0], x + layout.craftButtonPos[0], y + layout.craftButtonPos[1]);
        CraftBlit("fill button", window.fillButton[overFill ? 1 : 0], x + layout.autofillButtonPos[0],
                  y + layout.autofillButtonPos[1]);
        CraftBlit("recipe button", window.recipeButton[overRecipe ? 1 : 0], x + layout.recipeButtonPos[0],
                  y + layout.recipeButtonPos[1]);
        for (size_t s = 0; s < window.slots.size(); ++s) {
            Item* item = window.slots[s];
            if (item == nullptr) continue;
            const int32_t* box = layout.slots[s];
            CraftBlit("slot item", IconFrame(item), x + box[0], y + box[2]);
            if (item->count > 0 && ScreenSurface != nullptr) {
                DrawText(x + box[1] - 16, y + box[3] - 16, std::to_string(item->count).c_str(), kTextWhite, ScreenSurface, TickerFont);
            }
        }
        if (window.output != nullptr) {
            CraftBlit("output item", IconFrame(window.output), x + layout.output[0], y + layout.output[1]);
            if (window.output->count > 0 && ScreenSurface != nullptr) {
                DrawText(x + layout.output[2] - 16, y + layout.output[3] - 16, std::to_string(window.output->count).c_str(),
                         kTextWhite, ScreenSurface, TickerFont);
            }
        }
        CraftBlit("close", nullptr, x + layout.closePos[0], y + layout.closePos[1]);
        DrawCloseButton(x + layout.closePos[0], y + layout.closePos[1]);
    }
}

bool BeginToolkitWindowDrag(int32_t x, int32_t y) {
    for (ToolkitWindow& window : ToolkitWindows) {
        if (!window.open || window.kind != "lutefisk") continue;
        if (x >= window.x && x <= window.x + window.Width() - 20 && y >= window.y && y <= window.y + 20) {
            dragLastX = x;
            dragLastY = y;
            ToolkitWindowDragging = true;
            return true;
        }
    }
    ToolkitWindowDragging = false;
    return false;
}

void DragToolkitWindow(int32_t x, int32_t y) {
    if (!ToolkitWindowDragging) return;
    for (ToolkitWindow& window : ToolkitWindows) {
        if (!window.open || window.kind != "lutefisk") continue;
        window.x += x - dragLastX;
        window.y += y - dragLastY;
        break;
    }
    dragLastX = x;
    dragLastY = y;
}

void ClickToolkitWindows() {
    int mx = 0;
    int my = 0;
    LoggedGetMouseState(&mx, &my);
    ClickToolkitWindowsAt(mx, my);
}

bool ClickToolkitWindowsAt(int32_t x, int32_t y) {
    if (ToolkitWindowDragging) {
        ToolkitWindowDragging = false;
        return true;
    }
    for (auto it = ToolkitWindows.rbegin(); it != ToolkitWindows.rend(); ++it) {
        if (!it->open || it->kind != "lutefisk") continue;
        if (ClickToolkitWindow(*it, x - it->x, y - it->y)) return true;
    }
    return false;
}

bool ClickToolkitWindow(ToolkitWindow& window, int32_t x, int32_t y) {
    if (window.layout == nullptr || x < 0 || y < 0 || x >= window.Width() || y >= window.Height()) return false;
    const ToolkitLayout& layout = *window.layout;
    if (InBox(x, y, layout.closePos[0], layout.closePos[1], layout.closePos[0] + kCloseBoxSize,
              layout.closePos[1] + kCloseBoxSize)) {
        window.open = false;
        CraftPanel.current = -1;
        return true;
    }
    if (window.kind == "lutefisk" && InOutput(layout, x, y)) {
        FeedLutefiskCube(window);
        return true;
    }
    for (size_t s = 0; s < window.slots.size(); ++s) {
        if (InSlot(layout, static_cast<int32_t>(s), x, y)) {
            ClickInputSlot(window.slots[s]);
            return true;
        }
    }
    if (InOutput(layout, x, y) && GetCursorItem() == nullptr && window.output != nullptr) {
        const bool shift = (LoggedGetModState() & KMOD_SHIFT) != 0;
        Item* made = window.output;
        if (shift) {
            if (AddItemToInventory(made, 0)) window.output = nullptr;
        } else {
            window.output = nullptr;
            PutItemInBag(made);
        }
        return true;
    }
    if (OnButton(window.fillButton[0], layout.autofillButtonPos, x, y)) {
        FillSlots(window);
        return true;
    }
    if (OnButton(window.recipeButton[0], layout.recipeButtonPos, x, y)) {
        CraftPanel.open = true;
        const int32_t tool = ToolTypeOfTag(window.kind);
        if (tool >= 0) CraftPanel.tool = tool;
        return true;
    }
    if (window.kind != "lutefisk" && OnButton(window.craftButton[0], layout.craftButtonPos, x, y)) {
        CraftInWindow(window);
        return true;
    }
    return true;
}

Toolkit* FindToolkitOfKind(const char* kind) {
    if (kind == nullptr) return nullptr;
    auto match = [kind](Item* item) -> Toolkit* {
        Toolkit* kit = dynamic_cast<Toolkit*>(item);
        return kit != nullptr && kit->kind == kind ? kit : nullptr;
    };
    if (CurrentPlayer != nullptr) {
        for (Item* item : CurrentPlayer->quickSlots) {
            if (Toolkit* kit = match(item)) return kit;
        }
    }
    for (Item* item : InventoryGrid.cells) {
        if (Toolkit* kit = match(item)) return kit;
    }
    return nullptr;
}

bool InventoryHasItemOfDef(const ItemDef* definition) {
    if (definition == nullptr) return false;
    for (Item* item : InventoryGrid.cells) {
        if (item != nullptr && item->def == definition) return true;
    }
    if (CurrentPlayer != nullptr) {
        for (Item* item : CurrentPlayer->quickSlots) {
            if (item != nullptr && item->def == definition) return true;
        }
    }
    return false;
}
