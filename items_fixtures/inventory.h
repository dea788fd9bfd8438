#pragma once
// The hero's backpack grid (8 by 6 cells), the belt and equipment places it works with, the
// item on the mouse cursor, the active item and the selected skill item: placing, stacking,
// sorting, selling and dropping, and the tracking of unpaid shop goods while carried.
#include <cstdint>
#include <string>
#include <vector>

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
// Set once the full-backpack report has been given this turn; the turn engine clears it.
extern bool InventoryFullReported;

// The selected skill item, null when nothing is selected.
extern Item* SelectedSkillItem;
// The item a right-click applies (set by using wands, weapons and skill items).
extern Item* ActiveItem;

// Puts the item into the belt or backpack, merging it into a carried stack of its kind
// (noBelt keeps it off the belt); false when it does not fit (reported once per turn).
bool AddItemToInventory(Item* item, int32_t noBelt);
// Drops the item on the square of the current level, merging it into a stack there.
void DropItemToFloor(Item* item, int32_t x, int32_t y);
// Into the backpack with its ticker line, else onto the hero's square.
void PutItemInBag(Item* item);
// Takes one item of the stack in the slot (or the whole item) onto the cursor.
bool TakeOneFromStack(Item** slot);
// True when `item` may join the stack `carried`: a different item of the same kind on a
// stackable stack, both paid or both unpaid, and the joined stack no larger than a save can
// hold (kMaxSavedItemCount). Every path that merges stacks asks this, so shop goods never
// become paid by joining a stack the hero owns.
bool MergesInto(const Item* carried, const Item* item);
// The same kind and payment as MergesInto, without the size limit.
bool StacksWith(const Item* carried, const Item* item);
// True when `more` items can join the stack and it can still be saved.
bool StackHasRoomFor(const Item* stack, int64_t more);

Item* GetCursorItem();
void SetCursorItem(Item* item);
void ClearCursorItem();
// Empties the cursor without touching the item when it holds it; true then.
bool ForgetCursorItem(Item* item);

// Every place the hero carries goods in: the grid, the belt, equipment slots 0..11, the
// further reference and the cursor (null entries included).
std::vector<Item**> CarriedPlaces();
// The carried places and, after them, every toolkit window's slots and output (what the hero
// laid into a toolkit is carried too).
std::vector<Item**> CarriedAndToolkitPlaces();
// Clears the unpaid flag of every carried item, toolkit contents included.
void MarkAllItemsPaid();
// True when the hero carries unpaid shop goods, toolkit contents included.
bool PlayerHasUnpaidItem();
// The shop's price of every unpaid item carried (toolkits included), summed in 64 bits and
// held at int32's largest value.
int32_t UnpaidGoodsTotal();

// Places the item in cell (x, y), x 0..7 and y 0..5, when the cell is free.
bool PlaceItemInGridCell(int32_t x, int32_t y, Item* item);
void RemoveItemFromGrid(Item* item);
void RemoveItemFromQuickbar(Item* item);
// An item goes from the pack into an equipment slot: it leaves the grid and the belt, and the
// piece it replaced (null for none) takes its belt slots. With sameCell the replaced piece
// also takes its grid cell; otherwise, when the new piece lay in the grid, the replaced one
// is added to the inventory.
void TradeCarriedPlaces(Item* equipped, Item* replaced, bool sameCell);
// Backpack clicks at a screen point.
Item* GetInventoryItemAt(int32_t x, int32_t y);
bool PickUpGridItemToCursor(int32_t x, int32_t y);
bool StackCursorItemOnGridItem(int32_t x, int32_t y);
void SortInventory();
bool SellItem(int32_t x, int32_t y);

// Draws the item's tooltip beside the pointer (weapon, armour or food layouts for types 1, 2
// and 5) and clears TooltipSlotFree. The name is the title, or the item's own when empty; an
// unpaid item seen inside its peaceful shop adds its sell price. (item_tooltip.cpp)
void ShowItemTooltip(Item* item, const std::string& title, int32_t flag);
// The same with the item's own name; the position is not used (the pointer is read).
void ShowItemTooltip(Item* item, int32_t x, int32_t y);
// The name an item's tooltip shows for the title (see ShowItemTooltip).
std::string ItemTooltipName(Item* item, const std::string& title);
