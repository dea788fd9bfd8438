#include "core/shell/click_dispatch.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "core/input_log.h"
#include "core/shell/game_input.h"
#include "core/shell/play_input.h"
#include "core/shell/turn_engine.h"
#include "core/text_db.h"
#include "creatures/ability.h"
#include "creatures/buff.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "interface/char_panel.h"
#include "interface/dialogs.h"
#include "interface/hud.h"
#include "interface/hud_belts.h"
#include "interface/layout.h"
#include "interface/play_screen.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/toolkit_windows.h"
#include "items_fixtures/trap.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "levels/tutorial.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "media/tooltip.h"

namespace {

ClickObserver observer = nullptr;

const char* const kForSaleText =
    "Hey, whaddaya think you're doing! Stop playing with that! That's for sale!";

// The fixed places of the equipment window (screen pixels) and the default size of its art.
constexpr int32_t kEquipmentX = 100;
constexpr int32_t kEquipmentY = 100;
constexpr int32_t kEquipmentWidth = 302;
constexpr int32_t kEquipmentHeight = 480;

void Tell(const char* element) {
    if (observer != nullptr) observer(element);
}

void HeroTurn() {
    AdvanceTurn();
}

bool Inside(const SDL_Rect& r, int32_t x, int32_t y) {
    return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h;
}

// The selected ability works on an item (targeting type 13).
const Spell* ItemTargetingSpell() {
    const AbilityRecord* ability = SelectedAbility;
    if (ability == nullptr || ability->spell == nullptr) return nullptr;
    return ability->spell->targetType == SpellTarget::Item ? ability->spell : nullptr;
}

// The ability's item filter accepts the item; on the belt a "Mud Wen" is no mushroom.
bool FilterAccepts(const Spell* spell, Item* item, bool onBelt) {
    const std::string& filter = spell->consumeItemType;
    if (filter == "wand") return item->type == kItemWand;
    if (filter == "gem") return item->type == kItemGem;
    if (filter == "mushroom") return item->type == kItemMushroom && !(onBelt && item->GetName() == "Mud Wen");
    if (filter == "artifact") return item->IsArtifact();
    return true;
}

// The belt slot under (x, y), or -1 outside the belt row.
int32_t BeltSlotAt(int32_t x, int32_t y) {
    if (!InsideBeltRow(x, y)) return -1;
    const bool large = LargeInterface();
    const int32_t slot = (x - Layout.interfaceX - (large ? 133 : 134)) / (large ? 68 : 36);
    return slot < kBeltSlotCount ? slot : -1;
}

int32_t SkillSlotAt(int32_t x, int32_t y) {
    for (int32_t s = 0; s < kBeltSlotCount; ++s) {
        if (SkillSlotRect(s).Contains(x, y)) return s;
    }
    return -1;
}

bool RightClick(int32_t x, int32_t y) {
    Player* hero = CurrentPlayer;
    const Spell* itemSpell = ItemTargetingSpell();
    if (Layout.inventoryOpen != 0 && InsideInventoryWindow(x, y)) {
        Item* item = GetInventoryItemAt(x - Layout.inventoryX, y - Layout.inventoryY);
        if (itemSpell != nullptr) {
            bool valid = true;
            if (item != nullptr && item->unpaid != 0) {
                ShowDialog(kForSaleText, "ui/dialog_but_ok", nullptr);
                valid = false;
            } else if (item != nullptr) {
                valid = FilterAccepts(itemSpell, item, false);
            }
            if (valid) {
                Tell("ability");
                UseSelectedAbilityAt(x, y);
                return true;
            }
        }
        Tell("inventory use");
        if (item != nullptr && item->Use() != 0) HeroTurn();
        return true;
    }
    const int32_t skillSlot = SkillSlotAt(x, y);
    if (skillSlot >= 0) {
        Tell("skill slot");
        if (Item* item = hero->abilitySlots[skillSlot]) item->Use();
        return true;
    }
    const int32_t beltSlot = BeltSlotAt(x, y);
    if (beltSlot >= 0) {
        Item* item = hero->quickSlots[beltSlot];
        bool valid = itemSpell != nullptr && item != nullptr;
        if (valid && item->unpaid != 0) {
            // Shop goods laid on the belt are as much for sale as in the backpack.
            ShowDialog(kForSaleText, "ui/dialog_but_ok", nullptr);
            valid = false;
        }
        if (valid && FilterAccepts(itemSpell, item, true)) {
            Tell("ability");
            UseSelectedAbilityAt(x, y);
        } else {
            Tell("belt");
            if (item != nullptr && item->Use() != 0) HeroTurn();
        }
        return true;
    }
    Item* active = ActiveItem;
    int32_t sx = 0;
    int32_t sy = 0;
    const bool onLevel = ScreenToSquare(x, y, &sx, &sy);
    if (active == nullptr) {
        Tell("ability");
        UseSelectedAbilityAt(x, y);
        return true;
    }
    // Nothing is used at a square outside the level.
    if (!onLevel) return true;
    if (active->IsSkillItem()) {
        Tell("ability");
        active->Use();
        UseSelectedAbilityAt(x, y);
        return true;
    }
    Tell("square use");
    if (active->def != nullptr && active->def->category == kItemWeapon && active->def->canTargetFloor) {
        if (active->UseAtSquare(sx, sy, hero) != 0) HeroTurn();
        return true;
    }
    const std::vector<GameObj*> contents = CurrentLevel->GetCell(sx, sy)->contents;
    for (GameObj* obj : contents) {
        if (obj == nullptr || obj == hero) continue;
        if (obj->blocksMovement == 0 && !obj->IsHittable() && obj->AcceptsItem(active) == 0) continue;
        int32_t taken = obj->UseItemOn(active);
        if (taken == 0) taken = active->UseOn(obj, hero);
        if (taken != 0) {
            HeroTurn();
            break;
        }
    }
    return true;
}

// The square kinds an item may be put down on.
bool WalkableKind(int32_t kind) {
    return kind == SquareType::Floor || kind == SquareType::StairsUp || kind == SquareType::StairsDown ||
           kind == SquareType::FloorVariant || kind == SquareType::Door || kind == SquareType::ShopFloor ||
           kind == SquareType::ZooFloor;
}

// The item on the cursor given to the square (sx, sy).
void GiveCursorItemToSquare(Item* item, int32_t sx, int32_t sy, bool shift) {
    Player* hero = CurrentPlayer;
    Level* level = CurrentLevel;
    const bool ownSquare = sx == hero->x && sy == hero->y;
    if (!ownSquare) {
        const std::vector<GameObj*> contents = level->GetCell(sx, sy)->contents;
        for (GameObj* obj : contents) {
            if (obj != nullptr && obj != hero && obj->UseItemOn(item) != 0) {
                HeroTurn();
                return;
            }
        }
    }
    // Wands and weapons are used at squares from the active-item slot, never spent from the
    // cursor.
    if (level->IsOpenSquare(sx, sy) && item->type != kItemWeapon && item->type != kItemWand &&
        item->UseAtSquare(sx, sy, hero) != 0) {
        QueueObjectDeletion(item);
        HeroTurn();
        return;
    }
    // Items are put down on the hero's square or next to it.
    if (std::abs(sx - hero->x) > 1 || std::abs(sy - hero->y) > 1) return;
    if (level->IsSquareBlocked(sx, sy, false, true) || !WalkableKind(level->SquareKind(sx, sy))) return;
    if (item->type == kItemTrap && item->count > 1 && item->def != nullptr) {
        Trap* trap = new Trap(item->def);
        trap->count = 1;
        trap->PlaceOnLevel(sx, sy, level, 0);
        --item->count;
        return;
    }
    if (shift && item->stackable != 0 && item->count > 1 && item->def != nullptr) {
        if (Item* one = CreateItem(item->def)) {
            one->CopyStateFrom(item);
            one->stackable = 1;
            one->count = 1;
            --item->count;
            DropItemToFloor(one, sx, sy);
            return;
        }
    }
    ClearCursorItem();
    DropItemToFloor(item, sx, sy);
}

// The icon of a buff the hero may dismiss under (x, y): the buff column from (2, 96), one
// icon every 68 pixels down, a new column 80 pixels right after every fifth shown icon.
Buff* DismissableBuffAt(Player* hero, int32_t x, int32_t y) {
    std::vector<const Sprite*> shown;
    int32_t sx = 2;
    int32_t sy = 96;
    for (Buff* buff : hero->buffs) {
        if (buff == nullptr || buff->iconSprite == nullptr) continue;
        bool seen = false;
        for (const Sprite* s : shown) seen = seen || s == buff->iconSprite;
        if (seen) continue;
        shown.push_back(buff->iconSprite);
        const int32_t w = buff->iconSprite->width;
        const int32_t h = buff->iconSprite->height;
        if (x >= sx && y >= sy && x <= sx + w && y <= sy + h) {
            return !buff->fromItem && buff->removable ? buff : nullptr;
        }
        sy += 68;
        if (shown.size() % 5 == 0) {
            sx += 80;
            sy = 96;
        }
    }
    return nullptr;
}

bool ClickInventoryWindow(int32_t x, int32_t y) {
    const bool large = LargeInterface();
    const int32_t rx = x - Layout.inventoryX;
    const int32_t ry = y - Layout.inventoryY;
    const SDL_Rect close = large ? SDL_Rect{578, 8, 20, 20} : SDL_Rect{298, 0, 20, 20};
    const SDL_Rect sort = large ? SDL_Rect{387, 484, 84, 30} : SDL_Rect{205, 252, 52, 22};
    Tell("inventory");
    if (Inside(close, rx, ry)) {
        Layout.inventoryOpen = 0;
        return true;
    }
    if (Inside(sort, rx, ry)) {
        SortInventory();
        return true;
    }
    Item* cursor = GetCursorItem();
    if (cursor == nullptr) {
        PickUpGridItemToCursor(rx, ry);
        return true;
    }
    if (StackCursorItemOnGridItem(rx, ry)) return true;
    int32_t column = 0;
    int32_t row = 0;
    if (InventoryCellAt(x, y, &column, &row) && PlaceItemInGridCell(column, row, cursor)) {
        ClearCursorItem();
        PlaySFX(cursor->dropSound.c_str());
        if (TutorialFlag) NotifyTutorial(7, 0);
    }
    return true;
}

// Shift and alt clicks on the open inventory window; true when one of them took the click.
bool ModifierInventoryClick(int32_t x, int32_t y, bool shift, bool alt) {
    Player* hero = CurrentPlayer;
    Level* level = CurrentLevel;
    if (shift && GetCursorItem() == nullptr && level != nullptr &&
        level->SquareKind(hero->x, hero->y) == SquareType::ShopFloor && level->shopkeepersAngry == 0) {
        Tell("sell");
        SellItem(x - Layout.inventoryX, y - Layout.inventoryY);
        return true;
    }
    int32_t column = 0;
    int32_t row = 0;
    if (!InventoryCellAt(x, y, &column, &row)) return false;
    Item*& cell = InventoryGrid.cells[row * kInventoryColumns + column];
    if (cell == nullptr) return false;
    if (alt) {
        Tell("take one");
        if (TakeOneFromStack(&cell)) {
            InventoryChanged = true;
            return true;
        }
        return false;
    }
    if (GetCursorItem() != nullptr) return false;
    Tell("drop");
    Item* item = cell;
    RemoveItemFromGrid(item);
    DropItemToFloor(item, hero->x, hero->y);
    return true;
}

void LeftClick(int32_t x, int32_t y) {
    Player* hero = CurrentPlayer;
    if (WheelUpPressed || WheelDownPressed) return;
    const SDLMod mods = LoggedGetModState();
    const bool shift = (mods & KMOD_SHIFT) != 0;
    const bool alt = (mods & KMOD_ALT) != 0;
    const bool ctrl = (mods & KMOD_CTRL) != 0;
    const bool onInventory = Layout.inventoryOpen != 0 && InsideInventoryWindow(x, y);
    if ((shift || alt) && onInventory && ModifierInventoryClick(x, y, shift, alt)) return;
    int32_t sx = 0;
    int32_t sy = 0;
    if (ctrl && !onInventory) {
        Tell("walk");
        if (ScreenToSquare(x, y, &sx, &sy)) hero->WalkPathTo(sx, sy);
        return;
    }
    if (CraftPanel.open && ClickCraftPanel(x, y)) {
        Tell("craft panel");
        return;
    }
    if (Inside(GetDigestButtonRect(), x, y)) {
        Tell("digest");
        if (hero->IsDigesting()) hero->Digest();
        return;
    }
    const int32_t barTop = Layout.screenHeight - NormalBottomBarHeight();
    const int32_t markTop = LargeInterface() ? BottomBarTop() : barTop;
    for (const TextBlock& block : GetQuestionBlocks(LargeInterface() ? "bottomthing2x" : "bottomthing")) {
        const int32_t mx = Layout.interfaceX + block.x;
        const int32_t my = markTop + block.y;
        if (x >= mx && y >= my && x < mx + 12 && y < my + 12) {
            Tell("help mark");
            ShowTextPopup(block.text.c_str(), mx, my);
            return;
        }
    }
    // While the add-ability arrow shows over a skill slot, a click on the slot below its top
    // 12 pixels opens the ability picker for that slot.
    if (BeltArrowHovered) {
        const int32_t slot = SkillSlotAt(x, y);
        if (slot >= 0 && y >= SkillSlotRect(slot).y + 12 && CountSkillSlotsWithAbilities() > 0) {
            Tell("open picker");
            Layout.abilityPickerOpen = 1;
            Layout.abilityPickerSlot = slot;
            return;
        }
    }
    if (MenuBarStripRect().Contains(x, y)) {
        Tell("menu bar");
        HandleMenuBarClick(x, y);
        return;
    }
    if (SwallowRect().Contains(x, y)) {
        Tell("swallow");
        return;
    }
    const int32_t skillSlot = SkillSlotAt(x, y);
    if (skillSlot >= 0) {
        Tell("skill slot");
        if (Item* item = hero->abilitySlots[skillSlot]) item->Use();
        return;
    }
    if (Layout.equipmentOpen != 0) {
        // The close mark: the drawn 20 x 20 cross and two pixels right of it.
        const int32_t crossX = kEquipmentX + kCharPanelCross.x;
        const int32_t crossY = kEquipmentY + kCharPanelCross.y;
        if (x >= crossX && x <= crossX + 22 && y >= crossY && y <= crossY + 20) {
            Tell("equipment");
            Layout.equipmentOpen = 0;
            return;
        }
        if (x >= kEquipmentX && y >= kEquipmentY && x < kEquipmentX + kEquipmentWidth &&
            y < kEquipmentY + kEquipmentHeight) {
            Tell("character panel");
            HandleCharPanelClick(x - kEquipmentX, y - kEquipmentY);
            return;
        }
    }
    Item* cursor = GetCursorItem();
    if (cursor != nullptr && BagMarkRect().Contains(x, y)) {
        Tell("bag");
        if (AddItemToInventory(cursor, 0)) ClearCursorItem();
        return;
    }
    if (onInventory && ClickInventoryWindow(x, y)) return;
    if (ClickToolkitWindowsAt(x, y)) {
        Tell("toolkits");
        return;
    }
    if (InsideBeltRow(x, y)) {
        Tell("belt");
        HandleBeltClick(x, y);
        return;
    }
    if (Buff* buff = DismissableBuffAt(hero, x, y)) {
        Tell("buff");
        hero->RemoveBuff(buff);
        return;
    }
    if (InsideMinimap(x, y)) {
        Tell("minimap");
        HandleMinimapSizeClick(x, y);
        return;
    }
    if (!ScreenToSquare(x, y, &sx, &sy)) return;
    Tell("level");
    if (cursor != nullptr) {
        GiveCursorItemToSquare(cursor, sx, sy, shift);
        return;
    }
    if (StepFlags[0] || StepFlags[1] || StepFlags[2] || StepFlags[3] || !MoveKeyQueue.empty()) {
        MoveKeyQueue.clear();
        return;
    }
    ActivateSquareObjects(sx, sy);
}

}  // namespace

void SetClickObserver(ClickObserver newObserver) {
    observer = newObserver;
}

ClickRect MenuBarStripRect() {
    ClickRect r;
    const bool large = LargeInterface();
    r.x = Layout.interfaceX + (large ? 106 : 0);
    r.y = BottomBarTop() + (large ? 60 : 18);
    r.w = 280;
    r.h = 24;
    return r;
}

ClickRect SwallowRect() {
    ClickRect r;
    r.x = Layout.interfaceX + 578;
    r.y = Layout.screenHeight - NormalBottomBarHeight() + 43;
    r.w = 33;
    r.h = 33;
    return r;
}

ClickRect SkillSlotRect(int32_t slot) {
    ClickRect r;
    const bool large = LargeInterface();
    const int32_t size = large ? 70 : 36;
    r.x = Layout.interfaceX + (large ? 949 : 626) + slot * size;
    r.y = BottomBarTop() + (large ? 91 : 47);
    r.w = size;
    r.h = size;
    return r;
}

ClickRect BagMarkRect() {
    ClickRect r;
    r.x = Layout.interfaceX + 464;
    r.y = Layout.screenHeight - NormalBottomBarHeight() + 20;
    r.w = 96;
    r.h = 96;
    return r;
}

void HandlePlayScreenClick(int32_t x, int32_t y, bool right) {
    InventoryDrag.dragging = false;
    ToolkitWindowDragging = false;
    AimingAbility = false;
    if (CurrentLevel != nullptr) CurrentLevel->ClearHighlights();
    Player* hero = CurrentPlayer;
    if (hero == nullptr || hero->health <= 0) return;
    if (Layout.abilityPickerOpen != 0) {
        Tell("picker");
        PickAbilityForBeltSlot(Layout.abilityPickerSlot);
        return;
    }
    if (right) {
        RightClick(x, y);
    } else {
        LeftClick(x, y);
    }
}
