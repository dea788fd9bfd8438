#include "items_fixtures/item_kinds.h"

#include "core/random.h"
#include "core/saturating.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/tutorial.h"
#include "interface/ui_services.h"

#include "core/class_registry.h"
#include "core/shell/shell_services.h"
#include "creatures/player.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/quest.h"
#include "levels/object_queue.h"
#include "creatures/icon_art.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "platform/platform.h"
#include "platform/vfs.h"

// In the order the class family registers them.
SERIALIZABLE_REGISTRATION(Toolkit);
SERIALIZABLE_REGISTRATION(Food);
SERIALIZABLE_REGISTRATION(Gem);
SERIALIZABLE_REGISTRATION(Zorkmids);
SERIALIZABLE_REGISTRATION(Misc);
SERIALIZABLE_REGISTRATION(Mushroom);
SERIALIZABLE_REGISTRATION(Potion);
SERIALIZABLE_REGISTRATION(Reagent);
SERIALIZABLE_REGISTRATION(Wand);

namespace {

bool AutoLootSwitch(int32_t position) {
    return position >= 0 && position < 12 && AutoLootSwitches[position] != 0;
}

// Old saves name a definition by its index number within a category list, or by its
// position in a list.
const ItemDef* ByIndexIn(const std::vector<ItemDef*>& list, int32_t index) {
    for (const ItemDef* def : list) {
        if (def->index == index) return def;
    }
    return nullptr;
}
const ItemDef* ByPositionIn(const std::vector<ItemDef*>& list, int32_t position) {
    if (position < 0 || static_cast<size_t>(position) >= list.size()) return nullptr;
    return list[static_cast<size_t>(position)];
}
const ItemDef* OldFood(int32_t n) { return ByIndexIn(ItemDefLists.food, n); }
const ItemDef* OldGem(int32_t n) { return ByIndexIn(ItemDefLists.gems, n); }
const ItemDef* OldMushroom(int32_t n) { return ByIndexIn(ItemDefLists.mushrooms, n); }
const ItemDef* OldReagent(int32_t n) { return ByIndexIn(ItemDefLists.reagents, n); }
const ItemDef* OldPotion(int32_t n) { return ByPositionIn(ItemDefLists.potions, n); }
const ItemDef* OldWand(int32_t n) { return ByPositionIn(ItemDefLists.wands, n); }
const ItemDef* ItemDefAtPosition(int32_t n) { return ItemDefAt(n); }

}  // namespace

// Food ------------------------------------------------------------------------------------

Food::Food(const ItemDef* definition) : Item(definition) {
    type = kItemFood;
    Finish();
}

Food::Food(SaveReader& in) : Item(in) {
    ReadItemDefinition(in, this, OldFood, true);
    type = kItemFood;
    Finish();
}

void Food::Finish() {
    stackable = 1;
    dropSound = IsBooze() ? "potion_drop" : "food_drop";
    pickUpSound = IsBooze() ? "potion_get" : "food_get";
}

bool Food::Save(SaveWriter& out) {
    bool ok = Item::Save(out);
    return WriteItemDefinition(out, this) && ok;
}

uint32_t Food::GetClassHash() { return GetRegisteredClassHash("Food"); }
int32_t Food::GetClassIndex() { return GetRegisteredClassIndex("Food"); }
bool Food::IsAutoPickupEnabled() const { return AutoLootSwitch(IsBooze() ? 2 : 4); }

// Gems, mushrooms, potions and reagents -----------------------------------------------------

#define VAULTMERE_DEFINITION_ITEM_BODY(ClassName, Type, OldLookUp, Drop, Get, AutoLoot)       \
    ClassName::ClassName(const ItemDef* definition) : Item(definition) {                    \
        type = Type;                                                                         \
        Finish();                                                                            \
    }                                                                                        \
    ClassName::ClassName(SaveReader& in) : Item(in) {                                        \
        ReadItemDefinition(in, this, OldLookUp);                                             \
        type = Type;                                                                         \
        Finish();                                                                            \
    }                                                                                        \
    void ClassName::Finish() {                                                               \
        stackable = 1;                                                                       \
        if ((Drop)[0] != '\0') dropSound = Drop;                                             \
        if ((Get)[0] != '\0') pickUpSound = Get;                                             \
    }                                                                                        \
    bool ClassName::Save(SaveWriter& out) {                                                  \
        bool ok = Item::Save(out);                                                           \
        return WriteItemDefinition(out, this) && ok;                                         \
    }                                                                                        \
    uint32_t ClassName::GetClassHash() { return GetRegisteredClassHash(#ClassName); }       \
    int32_t ClassName::GetClassIndex() { return GetRegisteredClassIndex(#ClassName); }      \
    bool ClassName::IsAutoPickupEnabled() const { return AutoLootSwitch(AutoLoot); }

VAULTMERE_DEFINITION_ITEM_BODY(Gem, kItemGem, OldGem, "", "", 3)
VAULTMERE_DEFINITION_ITEM_BODY(Mushroom, kItemMushroom, OldMushroom, "", "", 5)
VAULTMERE_DEFINITION_ITEM_BODY(Reagent, kItemReagent, OldReagent, "potion_drop", "potion_get", 3)
#undef VAULTMERE_DEFINITION_ITEM_BODY

// Potion ----------------------------------------------------------------------------------

namespace {
// Position of a definition in a list, or -1.
int32_t PositionIn(const std::vector<ItemDef*>& list, const ItemDef* definition) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i] == definition) return static_cast<int32_t>(i);
    }
    return -1;
}
}  // namespace

Potion::Potion(const ItemDef* definition) : Item(definition) {
    type = kItemPotion;
    // A new potion is numbered by its definition's place among all definitions.
    if (definition != nullptr) subtype = PositionIn(ItemDefLists.all, definition);
    Finish();
}

Potion::Potion(SaveReader& in) : Item(in) {
    ReadItemDefinition(in, this, OldPotion);
    type = kItemPotion;
    Finish();
}

void Potion::Finish() {
    stackable = 1;
    dropSound = "potion_drop";
    pickUpSound = "potion_get";
}

bool Potion::Save(SaveWriter& out) {
    bool ok = Item::Save(out);
    return WriteItemDefinition(out, this) && ok;
}

uint32_t Potion::GetClassHash() { return GetRegisteredClassHash("Potion"); }
int32_t Potion::GetClassIndex() { return GetRegisteredClassIndex("Potion"); }
bool Potion::IsAutoPickupEnabled() const { return AutoLootSwitch(6); }

// Wand ------------------------------------------------------------------------------------

Wand::Wand(const ItemDef* definition) : Item(definition) {
    type = kItemWand;
    stackable = 0;
    // The kind is the definition's index (set by Item), as for a loaded wand: a kind the
    // hero has identified stays identified across a save.
    if (definition != nullptr) {
        const int32_t range = definition->maxCharge - definition->minCharge;
        // RandomInt gives 0 for a range outside 1..32766: the charges are then mincharge.
        charges = definition->minCharge + RandomInt(range);
    }
}

Wand::Wand(SaveReader& in) : Item(in) {
    ReadItemDefinition(in, this, OldWand);
    if (!in.version.AtLeast(kSaveV1_0_8)) {
        // Records before 1.0.8 kept three words of their own; every such wand holds 2.
        for (int32_t i = 0; i < 3; ++i) in.ReadInt32();
        charges = 2;
    } else {
        // A wand that never runs out may have counted below 0; one that runs out has not.
        charges = in.ReadInt32InRange(IsUnlimited() ? -kMaxSavedWandCharges : 0, kMaxSavedWandCharges, "a wand's charges");
    }
    type = kItemWand;
    stackable = 0;
}

bool Wand::IsUnlimited() const { return def != nullptr && (def->minCharge < 0 || def->maxCharge < 0); }

std::string Wand::GetItemName() const {
    const std::string name = def != nullptr ? def->name : std::string();
    if (IsUnlimited()) return name;
    return name + " [" + std::to_string(charges) + " charges left]";
}

bool Wand::Save(SaveWriter& out) {
    bool ok = Item::Save(out);
    ok = WriteItemDefinition(out, this) && ok;
    return out.WriteInt32(charges) && ok;
}

uint32_t Wand::GetClassHash() { return GetRegisteredClassHash("Wand"); }
int32_t Wand::GetClassIndex() { return GetRegisteredClassIndex("Wand"); }
bool Wand::IsAutoPickupEnabled() const { return AutoLootSwitch(9); }

// Zorkmids --------------------------------------------------------------------------------

Zorkmids::Zorkmids(int32_t coins) : amount(coins) {
    type = kItemZorkmids;
    UpdateIcon();
}

Zorkmids::Zorkmids(SaveReader& in) : Item(in) {
    type = kItemZorkmids;
    amount = in.ReadInt32InRange(0, kMaxSavedZorkmids, "a pile's zorkmids");
    UpdateIcon();
}

void Zorkmids::UpdateIcon() {
    const char* file = IconFileFor(amount);
    // "items/cashK.png" shows as sprite "cash<K+1>".
    const std::string name = "cash" + std::to_string(file[10] - '0' + 1);
    Sprite* sprite = SpriteMgr_Find(name.c_str());
    if (sprite == nullptr) {
        const std::string path = GetResourceFilename(file);
        sprite = VfsExists(path) ? SpriteMgr_GetOrLoadPNG(name.c_str(), path.c_str(), 0)
                                 : LoadIconSprite(name, path, IconLoad::Png);
    }
    iconSprite = sprite;
    cursorSprite = sprite;
    bob.SetSprite(sprite);
    bob.playing = false;
}

bool Zorkmids::Save(SaveWriter& out) {
    bool ok = Item::Save(out);
    return out.WriteInt32(amount) && ok;
}

uint32_t Zorkmids::GetClassHash() { return GetRegisteredClassHash("Zorkmids"); }
int32_t Zorkmids::GetClassIndex() { return GetRegisteredClassIndex("Zorkmids"); }

int32_t Zorkmids::Activate() {
    PlayerEntered();
    return 1;
}

void Zorkmids::PlayerEntered() {
    PlaySFX("money_get");
    if (CurrentPlayer != nullptr) CurrentPlayer->GainZorkmids(amount);
    ShowMoneyFloater(amount);
    QueueObjectDeletion(this);
}

std::string Zorkmids::GetItemName() const {
    return std::to_string(amount) + (amount == 1 ? " zorkmid" : " zorkmids");
}

const char* Zorkmids::IconFileFor(int32_t coins) {
    if (coins < 10) return "items/cash0.png";
    if (coins < 50) return "items/cash1.png";
    if (coins < 250) return "items/cash2.png";
    if (coins < 1000) return "items/cash3.png";
    if (coins < 4000) return "items/cash4.png";
    return "items/cash5.png";
}

// Misc ------------------------------------------------------------------------------------

Misc::Misc(int32_t kind) {
    type = kItemMisc;
    subtype = kind;
    stackable = 1;
    if (kind == 3) {
        stackable = 0;
        questItemIndex = QuestItemTypes.empty() ? 0 : RandomInt(static_cast<int32_t>(QuestItemTypes.size()));
    }
    UpdateIcon();
}

void Misc::UpdateIcon() {
    switch (subtype) {
        case 0: SetIcon("items/lockpick.png"); break;
        case 1: SetIcon("items/fungus_spores.png"); break;
        case 3:
            if (questItemIndex >= 0 && static_cast<size_t>(questItemIndex) < QuestItemTypes.size()) {
                SetIcon(QuestItemTypes[static_cast<size_t>(questItemIndex)].spriteName);
            } else if (QuestItemTypes.empty()) {
                std::printf("quest item %s: the quest-item table is empty; it has no icon\n", questItemName.c_str());
            }
            break;
        default: break;
    }
}

int32_t Misc::Activate() {
    if (subtype == 3 && quest != nullptr && !inBackpack && quest->OnItemPickedUp(this)) return 1;
    return Item::Activate();
}

Misc::Misc(SaveReader& in) : Item(in) {
    type = kItemMisc;
    subtype = in.ReadInt32();
    questFlag = in.ReadBool();
    questItemIndex = in.ReadInt32();
    if (subtype == 3) {
        questItemName = in.ReadString();
        const int32_t questIndex = in.ReadInt32();
        stackable = 0;
        if (questIndex >= 0 && static_cast<size_t>(questIndex) < ActiveQuests.size()) {
            quest = ActiveQuests[static_cast<size_t>(questIndex)];
            quest->questItem = this;
        }
    }
    UpdateIcon();
}

bool Misc::Save(SaveWriter& out) {
    bool ok = Item::Save(out);
    ok = out.WriteInt32(subtype) && ok;
    ok = out.WriteBool(questFlag) && ok;
    ok = out.WriteInt32(questItemIndex) && ok;
    if (subtype == 3) {
        ok = out.WriteString(questItemName) && ok;
        int32_t questIndex = -1;
        for (size_t i = 0; i < ActiveQuests.size(); ++i) {
            if (ActiveQuests[i] == quest && quest != nullptr) questIndex = static_cast<int32_t>(i);
        }
        ok = out.WriteInt32(questIndex) && ok;
    }
    return ok;
}

uint32_t Misc::GetClassHash() { return GetRegisteredClassHash("Misc"); }
int32_t Misc::GetClassIndex() { return GetRegisteredClassIndex("Misc"); }

std::string Misc::GetItemName() const {
    switch (subtype) {
        case 0: return count < 2 ? "Lockpick" : "Lockpicks (" + std::to_string(count) + ")";
        case 1: return count > 1 ? "Spores(" + std::to_string(count) + ")" : "Spores";
        case 3: return questItemName;
        default: return "MISC. BUG";
    }
}

int32_t Misc::GetValue() {
    if (subtype == 0) return stackable != 0 ? SaturatingProduct(10, count) : 10;
    return 1;
}

bool Misc::IsAutoPickupEnabled() const {
    return subtype == 0 && AutoLootSwitch(11);
}

// Skill items and toolkits -----------------------------------------------

Toolkit::Toolkit(const std::string& toolKind) : kind(toolKind) {
    type = kItemToolkit;
    Finish();
}

Toolkit::Toolkit(const ItemDef* definition) : Item(definition) {
    type = kItemToolkit;
    if (definition != nullptr && definition->toolkitLayout != nullptr) kind = definition->toolkitLayout->tag;
    count = 1;
    holdFlag = true;
    Finish();
}

Toolkit::Toolkit(SaveReader& in) : Item(in) {
    type = kItemToolkit;
    const ItemDef* definition = ReadItemDefinition(in, this, ItemDefAtPosition);
    if (definition != nullptr && definition->toolkitLayout != nullptr) kind = definition->toolkitLayout->tag;
    Finish();
}

void Toolkit::Finish() {
    dropSound = "potion_drop";
    pickUpSound = "potion_get";
}

bool Toolkit::IsAutoPickupEnabled() const { return AutoLootSwitch(8); }

ToolkitWindow* Toolkit::Window() const { return FindToolkitWindow(kind); }

void Toolkit::PlaceOnLevel(int32_t newX, int32_t newY, Level* newLevel, int32_t flag) {
    if (GetCursorItem() == this) {
        ToolkitWindow* window = Window();
        if (window != nullptr) window->open = false;
    }
    Item::PlaceOnLevel(newX, newY, newLevel, flag);
}

bool Toolkit::Save(SaveWriter& out) {
    bool ok = Item::Save(out);
    return WriteItemDefinition(out, this) && ok;
}

uint32_t Toolkit::GetClassHash() { return GetRegisteredClassHash("Toolkit"); }
int32_t Toolkit::GetClassIndex() { return GetRegisteredClassIndex("Toolkit"); }

int32_t Toolkit::Use() {
    ToolkitWindow* window = Window();
    if (kind == "lutefisk") {
        if (window == nullptr) return 0;
        window->open = !window->open;
        if (window->open && CurrentTutorial != nullptr) NotifyTutorial(14, kind);
        return 0;
    }
    CraftPanel.open = !CraftPanel.open;
    const int32_t tool = ToolTypeOfTag(kind);
    if (tool >= 0) CraftPanel.tool = tool;
    CraftPanel.scroll = -2;
    return 0;
}

// Mushroom appearances ----------------------------------------------------------------------

std::vector<int32_t> ShuffledGemOrder;
std::set<int32_t> UnidentifiedPotions;

namespace {

// The positions in ItemDefLists.all of the definitions of one category, in load order.
std::vector<int32_t> PositionsOfCategory(int32_t category) {
    std::vector<int32_t> positions;
    const std::vector<ItemDef*>& all = ItemDefLists.all;
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i] != nullptr && all[i]->category == category) positions.push_back(static_cast<int32_t>(i));
    }
    return positions;
}

}  // namespace

void BuildShuffledItemOrder() {
    ShuffledGemOrder = PositionsOfCategory(kItemGem);
    for (size_t i = ShuffledGemOrder.size(); i > 1; --i) {
        const int32_t j = RandomInt(static_cast<int32_t>(i));
        std::swap(ShuffledGemOrder[i - 1], ShuffledGemOrder[static_cast<size_t>(j)]);
    }
}

void ResetPotionSet() {
    const std::vector<int32_t> potions = PositionsOfCategory(kItemPotion);
    UnidentifiedPotions = std::set<int32_t>(potions.begin(), potions.end());
}

void ShuffleMushroomAppearances() {
    std::vector<ItemDef*>& list = ItemDefLists.mushrooms;
    for (size_t i = list.size(); i > 1; --i) {
        const int32_t j = RandomInt(static_cast<int32_t>(i));
        std::swap(list[i - 1], list[static_cast<size_t>(j)]);
    }
}
