#pragma once
// The hero's backpack, the item on the mouse cursor and the selected skill item.
//
// Stand-in: the grid, the cursor and the paid flags are kept; placing, stacking, sorting,
// selling and dropping are not built yet (their calls change nothing and answer false).
// Still to be built here: fitting items into the grid and quick slots, stacking, sorting,
// selling to a shopkeeper, dropping to the floor with stack merging, the ticker lines of
// PutItemInBag, the inventory-changed flag, the equipment slots and the item tooltips.
#include <cstdint>

class Item;

constexpr int32_t kInventoryColumns = 8;
constexpr int32_t kInventoryRows = 6;
constexpr int32_t kInventoryCells = kInventoryColumns * kInventoryRows;

struct InventoryGridState {
    Item* cells[kInventoryCells] = {};

    // The item in a cell; null outside the grid.
    Item* At(int32_t column, int32_t row) const;
    // Empties every cell that holds the item.
    void Remove(const Item* item);
    // Empties every cell (the items are not destroyed).
    void Clear();
};
extern InventoryGridState InventoryGrid;

// Set when the backpack changes; the turn engine clears it at the start of every turn.
extern bool InventoryChanged;

// The selected skill item, null when nothing is selected.
extern Item* SelectedSkillItem;

// Puts the item into the backpack (notIntoQuickSlots = 1 keeps it out of the quick
// slots); false when it does not fit.
bool AddItemToInventory(Item* item, int32_t notIntoQuickSlots);
// Drops the item on the square, merging stacks.
void DropItemToFloor(Item* item, int32_t x, int32_t y);
// Into the backpack with its ticker line, else onto the floor.
void PutItemInBag(Item* item);
// True when it took one item of the stack in the slot onto the cursor.
bool TakeOneFromStack(Item** slot);

Item* GetCursorItem();
void SetCursorItem(Item* item);
void ClearCursorItem();

// Clears the unpaid flag of the cursor item, every backpack item and the hero's slots.
void MarkAllItemsPaid();
// True when the hero carries unpaid shop goods.
bool PlayerHasUnpaidItem();

// Backpack clicks; x and y are relative to the inventory window.
Item* GetInventoryItemAt(int32_t x, int32_t y);
bool PlaceItemInGridCell(int32_t x, int32_t y);
bool PickUpGridItemToCursor(int32_t x, int32_t y);
bool StackCursorItemOnGridItem(int32_t x, int32_t y);
void SortInventory();
bool SellItem(int32_t x, int32_t y);

// Builds the item's tooltip (weapon, armour or food layouts for types 1, 2 and 5).
void ShowItemTooltip(Item* item, int32_t x, int32_t y);
