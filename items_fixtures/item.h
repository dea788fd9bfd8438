#pragma once
// Items: things that lie on a square, sit in the backpack, a belt or equipment slot, or hang
// on the mouse cursor. Item is the base of every item class; its save block follows the
// GameObj block: type, gridX, gridY, inBackpack, holdFlag, unpaid, crafted, count, stackable.
#include <cstdint>
#include <string>

#include "items_fixtures/item_db.h"
#include "levels/game_obj.h"

class QuestRecord;
class Sprite;
struct MapView;

// The largest stack a save may hold: far above any stack play makes, low enough that a
// stack's price and two stacks merged stay within an int32.
constexpr int32_t kMaxSavedItemCount = 100000;
// The most zorkmids a save may hold in the hero's purse or in one pile: far above what play
// gathers, and a purse and a pile together still fit an int32.
constexpr int32_t kMaxSavedZorkmids = 1000000000;
// The most charges a saved wand may hold (a wand that never runs out may also hold as many
// below 0).
constexpr int32_t kMaxSavedWandCharges = 100000;

class Item : public GameObj {
public:
    Item();
    explicit Item(const ItemDef* definition);
    explicit Item(SaveReader& in);
    ~Item() override;

    int32_t type = 0;  // the category of Part of the database; 6 Misc, 10 Zorkmids
    int32_t subtype = 0;
    bool inBackpack = false;
    int32_t gridX = 0;
    int32_t gridY = 0;
    Sprite* iconSprite = nullptr;
    Sprite* cursorSprite = nullptr;
    std::string dropSound = "leather_drop";
    std::string pickUpSound = "leather_get";
    int32_t stackable = 0;
    int32_t count = 1;
    int32_t unpaid = 0;
    bool crafted = false;
    bool holdFlag = false;
    const ItemDef* def = nullptr;
    QuestRecord* quest = nullptr;
    int32_t reagent = 0;  // set by generation on the reagents it scatters; not saved

    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    void CopyStateFrom(GameObj* other) override;
    bool IsItem() override { return true; }
    std::string GetName() override { return GetItemName(); }
    std::string GetDescription() override;
    const char* GetActionVerb() override { return "Pick Up"; }
    bool IsMovable() override { return unpaid == 0; }
    // A click on the item on the floor: into the bag (Shift, or a plain click with AutoClick),
    // one of the stack (Alt) or the whole item onto the cursor. 1 when it was taken.
    int32_t Activate() override;
    // Walking onto the item picks it up when automatic pick-up allows it.
    void PlayerEntered() override;
    // Nothing while in the backpack; on a level the picture, and now and then a glint.
    void Draw(const MapView& view) override;
    // Only quest items show on the minimap, with the quest mark of the zoom level.
    void DrawOnMinimap(int32_t x, int32_t y, int32_t zoom) override;

    // Loads the icon (sprite named by the file) and the "_cursor" sprite from the same file,
    // and makes the icon the item's picture. A missing file gives a line and a placeholder.
    void SetIcon(const std::string& fileName);
    // The definition's icon at its frame number; nothing without a definition.
    void ShowDefinitionIcon();

    virtual int32_t GetValue();
    virtual int32_t Use();
    virtual bool IsSkillItem() { return false; }
    virtual bool FitsEquipSlot(int32_t) { return false; }
    virtual void OnEquip(int32_t) {}
    virtual void OnUnequip(int32_t) {}
    virtual bool IsAutoPickupEnabled() const { return false; }
    virtual const char* GetTooltipAction() { return GetActionVerb(); }
    virtual int32_t GetWeaponLevel() { return -1; }
    virtual bool IsArtifact() const { return false; }
    virtual std::string GetTooltipDescription() const { return ""; }
    virtual std::string GetGameplayInfo() const { return ""; }
    virtual std::string GetCategoryName() const { return "Item"; }
    virtual const char* GetUseText() { return nullptr; }
    virtual void DrawLevelBadge(int32_t, int32_t) {}
    virtual std::string GetItemName() const;
    virtual int32_t UseAtSquare(int32_t, int32_t, GameObj*) { return 0; }
    virtual int32_t UseOn(GameObj*, GameObj*) { return 0; }

protected:
    // Takes the item off its square and out of its level's object list.
    void LeaveLevel();
    // The definition's name, with "(count)" for a stack of two or more.
    std::string DefinitionName() const;
    // The definition's description, or empty.
    std::string DefinitionDescription() const;
};

// Minimap marks of quest items, one per zoom index, set by the minimap's icon loader; null
// entries draw nothing.
constexpr int32_t kItemMinimapZoomCount = 4;
extern Sprite* MinimapQuestItemMarks[kItemMinimapZoomCount];

// The level badges drawn on weapon and armour icons: ui/numeral_0..10 and the artifact's
// exclamation mark. Set by the global images at start-up; null entries draw nothing.
struct ItemBadgeSprites {
    Sprite* level[11] = {};
    Sprite* artifact = nullptr;
};
extern ItemBadgeSprites ItemBadges;
// Draws the badge so that it lands at (x + 30, y + 32).
void DrawItemBadge(Sprite* badge, int32_t x, int32_t y);

// Identified item kinds: one map per item type 0..12, from subtype to a known flag.
bool IsItemTypeKnown(const Item* item);
void SetItemTypeKnown(const Item* item);

// Floats "+N" in gold with its black shadow over the hero.
void ShowMoneyFloater(int32_t amount);

// Reads the definition of a loaded item: by name from 1.0.3 on, else by the old position
// through `byPosition`. A name or position the database does not know is reported and the
// item is marked to be dropped once its block has been read. `trimName` strips trailing
// blanks, tabs and line ends from the name first.
const ItemDef* ReadItemDefinition(SaveReader& in, Item* item, const ItemDef* (*byPosition)(int32_t),
                                  bool trimName = false);
// Writes the definition name of an item.
bool WriteItemDefinition(SaveWriter& out, const Item* item);
