#include "items_fixtures/inventory.h"

#include <algorithm>

#include "core/random.h"
#include "core/saturating.h"
#include "core/shell/shell_services.h"
#include "core/tweak.h"
#include "creatures/player.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/shop_pedestal.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "levels/object_queue.h"
#include "media/sound.h"
#include "media/ticker.h"

InventoryGridState InventoryGrid;
bool InventoryChanged = false;
bool InventoryFullReported = false;
Item* SelectedSkillItem = nullptr;
Item* ActiveItem = nullptr;

namespace {

Item* cursorItem = nullptr;

bool SameKind(const Item* a, const Item* b) {
    return a != nullptr && b != nullptr && a->type == b->type && a->subtype == b->subtype;
}

void MergeAway(Item* into, Item* item) {
    into->count += item->count;
    CancelQueuedMoves(item);
    QueueObjectDeletion(item);
    InventoryChanged = true;
}

bool BelongsOnBelt(const Item* item) {
    switch (item->type) {
        case 1: return item->def != nullptr && (item->def->itemClass == 5 || item->def->itemClass == 6);
        case 3: case 4: case 5: case 8: case 12: return true;
        default: return false;
    }
}

void ReportFullPack() {
    if (InventoryFullReported) return;
    InventoryFullReported = true;
    uint32_t pick = 2;
    while (pick >= 2) pick = MTRandom32() / 2147483647u;
    PlaySFX(pick == 1 ? "fullinventory" : "fullinventory2");
    AddText("Your inventory is full!", true);
}

void StoreInCell(int32_t entry, Item* item) {
    InventoryGrid.cells[entry] = item;
    item->inBackpack = true;
    item->gridX = entry % kInventoryColumns;
    item->gridY = entry / kInventoryColumns;
    InventoryChanged = true;
}

// The grid cell rectangle size and corner for the interface size.
void GridGeometry(int32_t* size, int32_t* left, int32_t* top) {
    *size = use2XUI != 0 ? 66 : 34;
    *left = use2XUI != 0 ? 45 : 26;
    *top = use2XUI != 0 ? 69 : 37;
}

}  // namespace

Item* InventoryGridState::At(int32_t column, int32_t row) const {
    if (column < 0 || row < 0 || column >= kInventoryColumns || row >= kInventoryRows) return nullptr;
    return cells[row * kInventoryColumns + column];
}

void InventoryGridState::Remove(const Item* item) {
    for (Item*& cell : cells) {
        if (cell == item) cell = nullptr;
    }
}

void InventoryGridState::Clear() {
    for (Item*& cell : cells) cell = nullptr;
}

bool AddItemToInventory(Item* item, int32_t noBelt) {
    if (item == nullptr) return false;
    Player* hero = CurrentPlayer;
    if (noBelt == 0 && hero != nullptr) {
        for (Item* slot : hero->quickSlots) {
            if (MergesInto(slot, item)) {
                MergeAway(slot, item);
                return true;
            }
        }
    }
    for (Item* cell : InventoryGrid.cells) {
        if (MergesInto(cell, item)) {
            MergeAway(cell, item);
            return true;
        }
    }
    if (noBelt == 0 && hero != nullptr && BelongsOnBelt(item)) {
        for (Item*& slot : hero->quickSlots) {
            if (slot == nullptr) {
                slot = item;
                item->inBackpack = false;
                CancelQueuedMoves(item);
                InventoryChanged = true;
                return true;
            }
        }
    }
    for (int32_t entry = 0; entry < kInventoryCells; ++entry) {
        if (InventoryGrid.cells[entry] == nullptr) {
            StoreInCell(entry, item);
            CancelQueuedMoves(item);
            return true;
        }
    }
    ReportFullPack();
    return false;
}

bool PlaceItemInGridCell(int32_t x, int32_t y, Item* item) {
    if (item == nullptr || x < 0 || x >= kInventoryColumns || y < 0 || y >= kInventoryRows) return false;
    const int32_t entry = x + kInventoryColumns * y;
    if (InventoryGrid.cells[entry] != nullptr) return false;
    StoreInCell(entry, item);
    return true;
}

void RemoveItemFromGrid(Item* item) {
    if (item == nullptr || !item->inBackpack) return;
    InventoryGrid.Remove(item);
    item->inBackpack = false;
    InventoryChanged = true;
}

void RemoveItemFromQuickbar(Item* item) {
    if (item == nullptr || CurrentPlayer == nullptr) return;
    for (Item*& slot : CurrentPlayer->quickSlots) {
        if (slot == item) slot = nullptr;
    }
}

void TradeCarriedPlaces(Item* equipped, Item* replaced, bool sameCell) {
    if (equipped == nullptr) return;
    if (CurrentPlayer != nullptr) {
        for (Item*& slot : CurrentPlayer->quickSlots) {
            if (slot == equipped) slot = replaced;
        }
    }
    if (!equipped->inBackpack) return;
    const int32_t column = equipped->gridX;
    const int32_t row = equipped->gridY;
    RemoveItemFromGrid(equipped);
    if (replaced == nullptr) return;
    if (!sameCell || !PlaceItemInGridCell(column, row, replaced)) AddItemToInventory(replaced, 1);
}

void DropItemToFloor(Item* item, int32_t x, int32_t y) {
    if (item == nullptr) return;
    item->inBackpack = false;
    PlaySFX(item->dropSound.c_str());
    if (ActiveItem == item) ActiveItem = nullptr;
    Level* level = CurrentLevel;
    if (level == nullptr) return;
    bool merged = false;
    if (LevelCell* cell = level->GetCell(x, y)) {
        for (GameObj* obj : cell->contents) {
            Item* lying = obj != nullptr && obj->IsItem() ? static_cast<Item*>(obj) : nullptr;
            if (MergesInto(lying, item)) {
                lying->count += item->count;
                QueueObjectDeletion(item);
                merged = true;
                break;
            }
        }
    }
    if (!merged) item->PlaceOnLevel(x, y, level, 0);
    if (item->unpaid != 0) {
        Player* hero = CurrentPlayer;
        if (hero != nullptr && level->SquareKind(hero->x, hero->y) == 13 && level->SquareKind(x, y) != 13 &&
            level->shopkeepersAngry == 0) {
            AngerShopkeepers(level);
        }
        level->UpdateShopkeeperPositions();
    }
}

void PutItemInBag(Item* item) {
    if (item == nullptr) {
        ClearCursorItem();
        return;
    }
    if (AddItemToInventory(item, 0)) {
        AddText("You put " + item->GetItemName() + " in your bag.", true);
    } else if (CurrentPlayer != nullptr) {
        DropItemToFloor(item, CurrentPlayer->x, CurrentPlayer->y);
    }
}

bool StacksWith(const Item* carried, const Item* item) {
    return carried != nullptr && item != nullptr && carried != item && carried->stackable != 0 &&
           SameKind(carried, item) && (carried->unpaid != 0) == (item->unpaid != 0);
}

bool StackHasRoomFor(const Item* stack, int64_t more) {
    return stack != nullptr && static_cast<int64_t>(stack->count) + more <= kMaxSavedItemCount;
}

bool MergesInto(const Item* carried, const Item* item) {
    return StacksWith(carried, item) && StackHasRoomFor(carried, item->count);
}

bool TakeOneFromStack(Item** slot) {
    if (slot == nullptr || *slot == nullptr) return false;
    Item* item = *slot;
    if (cursorItem != nullptr) {
        if (!StacksWith(cursorItem, item) || !StackHasRoomFor(cursorItem, 1)) return false;
        ++cursorItem->count;
        if (--item->count <= 0) {
            item->inBackpack = false;
            QueueObjectDeletion(item);
            *slot = nullptr;
        }
        return true;
    }
    if (item->stackable != 0 && item->count >= 2) {
        Item* one = item->def != nullptr ? CreateItem(item->def) : (item->type == 6 ? new Misc(item->subtype) : nullptr);
        if (one == nullptr) return false;
        one->CopyStateFrom(item);
        one->stackable = 1;
        one->count = 1;
        SetCursorItem(one);
        --item->count;
        PlaySFX(one->pickUpSound.c_str());
        return true;
    }
    SetCursorItem(item);
    *slot = nullptr;
    PlaySFX(item->pickUpSound.c_str());
    return true;
}

Item* GetCursorItem() {
    return cursorItem;
}

void SetCursorItem(Item* item) {
    if (item != nullptr) {
        item->inBackpack = false;
        if (ActiveItem == item) ActiveItem = nullptr;
    }
    cursorItem = item;
}

void ClearCursorItem() {
    cursorItem = nullptr;
}

bool ForgetCursorItem(Item* item) {
    if (item == nullptr || cursorItem != item) return false;
    cursorItem = nullptr;
    return true;
}

std::vector<Item**> CarriedPlaces() {
    std::vector<Item**> places;
    for (Item*& cell : InventoryGrid.cells) places.push_back(&cell);
    if (CurrentPlayer != nullptr) {
        for (Item*& slot : CurrentPlayer->quickSlots) places.push_back(&slot);
        for (int32_t slot = 0; slot < kEquipSlotCount; ++slot) places.push_back(&CurrentPlayer->EquippedAt(slot));
        places.push_back(&CurrentPlayer->reference19);
    }
    places.push_back(&cursorItem);
    return places;
}

std::vector<Item**> CarriedAndToolkitPlaces() {
    std::vector<Item**> places = CarriedPlaces();
    for (ToolkitWindow& window : ToolkitWindows) {
        for (Item*& slot : window.slots) places.push_back(&slot);
        places.push_back(&window.output);
    }
    return places;
}

void MarkAllItemsPaid() {
    for (Item** place : CarriedAndToolkitPlaces()) {
        if (*place != nullptr) (*place)->unpaid = 0;
    }
}

bool PlayerHasUnpaidItem() {
    for (Item** place : CarriedAndToolkitPlaces()) {
        if (*place != nullptr && (*place)->unpaid != 0) return true;
    }
    return false;
}

int32_t UnpaidGoodsTotal() {
    int64_t total = 0;
    for (Item** place : CarriedAndToolkitPlaces()) {
        if (*place != nullptr && (*place)->unpaid != 0) total += ShopBuyPrice(*place);
    }
    return SaturateToInt32(total);
}

Item* GetInventoryItemAt(int32_t x, int32_t y) {
    int32_t size = 0;
    int32_t left = 0;
    int32_t top = 0;
    GridGeometry(&size, &left, &top);
    for (Item* item : InventoryGrid.cells) {
        if (item == nullptr) continue;
        const int32_t cx = left + item->gridX * size;
        const int32_t cy = top + item->gridY * size;
        if (x >= cx && x < cx + size && y >= cy && y < cy + size) return item;
    }
    return nullptr;
}

bool PickUpGridItemToCursor(int32_t x, int32_t y) {
    Item* item = GetInventoryItemAt(x, y);
    if (item == nullptr) return false;
    InventoryGrid.Remove(item);
    SetCursorItem(item);
    item->inBackpack = false;
    PlaySFX(item->pickUpSound.c_str());
    InventoryChanged = true;
    return true;
}

bool StackCursorItemOnGridItem(int32_t x, int32_t y) {
    Item* item = GetInventoryItemAt(x, y);
    if (item == nullptr || cursorItem == nullptr || !MergesInto(item, cursorItem)) return false;
    PlaySFX(item->dropSound.c_str());
    item->count += cursorItem->count;
    QueueObjectDeletion(cursorItem);
    cursorItem = nullptr;
    return true;
}

void SortInventory() {
    std::vector<Item*> items;
    for (Item*& cell : InventoryGrid.cells) {
        if (cell == nullptr) continue;
        items.push_back(cell);
        cell->inBackpack = false;
        cell = nullptr;
    }
    std::stable_sort(items.begin(), items.end(), [](const Item* a, const Item* b) {
        return a->type != b->type ? a->type < b->type : a->subtype < b->subtype;
    });
    for (Item* item : items) AddItemToInventory(item, 1);
    InventoryChanged = true;
}

bool SellItem(int32_t x, int32_t y) {
    Item* item = GetInventoryItemAt(x, y);
    if (item == nullptr || item->unpaid != 0 || (item->type == 6 && item->subtype == 3)) return false;
    if (ActiveItem == item) ActiveItem = nullptr;
    if (cursorItem == item) cursorItem = nullptr;
    const int32_t price = ShopSellPrice(item);
    RemoveItemFromGrid(item);
    QueueObjectDeletion(item);
    if (CurrentPlayer != nullptr) CurrentPlayer->GainZorkmids(price);
    PlaySFX("money_get");
    return true;
}
