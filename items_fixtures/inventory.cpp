// Stand-in: what is still to be built is listed at the top of items_fixtures/inventory.h.
#include "items_fixtures/inventory.h"

#include "creatures/player.h"
#include "items_fixtures/item.h"

InventoryGridState InventoryGrid;
bool InventoryChanged = false;
Item* SelectedSkillItem = nullptr;

namespace {
Item* cursorItem = nullptr;
}

Item* InventoryGridState::At(int32_t column, int32_t row) const {
    if (column < 0 || row < 0 || column >= kInventoryColumns || row >= kInventoryRows) {
        return nullptr;
    }
    return cells[row * kInventoryColumns + column];
}

void InventoryGridState::Remove(const Item* item) {
    for (Item*& cell : cells) {
        if (cell == item) {
            cell = nullptr;
        }
    }
}

void InventoryGridState::Clear() {
    for (Item*& cell : cells) {
        cell = nullptr;
    }
}

bool AddItemToInventory(Item*, int32_t) {
    return false;
}

void DropItemToFloor(Item*, int32_t, int32_t) {}

void PutItemInBag(Item*) {}

bool TakeOneFromStack(Item**) {
    return false;
}

Item* GetCursorItem() {
    return cursorItem;
}

void SetCursorItem(Item* item) {
    cursorItem = item;
}

void ClearCursorItem() {
    cursorItem = nullptr;
}

void MarkAllItemsPaid() {
    if (cursorItem != nullptr) {
        cursorItem->unpaid = 0;
    }
    for (Item* item : InventoryGrid.cells) {
        if (item != nullptr) {
            item->unpaid = 0;
        }
    }
    if (CurrentPlayer != nullptr) {
        for (Item* item : CurrentPlayer->beltSlots) {
            if (item != nullptr) item->unpaid = 0;
        }
        for (Item* item : CurrentPlayer->skillBarSlots) {
            if (item != nullptr) item->unpaid = 0;
        }
    }
}

bool PlayerHasUnpaidItem() {
    if (cursorItem != nullptr && cursorItem->unpaid) {
        return true;
    }
    for (Item* item : InventoryGrid.cells) {
        if (item != nullptr && item->unpaid) {
            return true;
        }
    }
    if (CurrentPlayer != nullptr) {
        for (Item* item : CurrentPlayer->beltSlots) {
            if (item != nullptr && item->unpaid) return true;
        }
    }
    return false;
}

Item* GetInventoryItemAt(int32_t, int32_t) {
    return nullptr;
}

bool PlaceItemInGridCell(int32_t, int32_t) {
    return false;
}

bool PickUpGridItemToCursor(int32_t, int32_t) {
    return false;
}

bool StackCursorItemOnGridItem(int32_t, int32_t) {
    return false;
}

void SortInventory() {}

bool SellItem(int32_t, int32_t) {
    return false;
}

void ShowItemTooltip(Item*, int32_t, int32_t) {}
