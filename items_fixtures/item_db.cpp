#include "items_fixtures/item_db.h"

#include <cstdio>
#include <cstring>

#include "core/xml_util.h"
#include "creatures/db_xml.h"
#include "creatures/spell.h"
#include "items_fixtures/toolkit_windows.h"
#include "platform/vfs.h"

ItemDefListSet ItemDefLists;

namespace {

const char* const kLabel = "itemDB";

void DropItemTables() {
    ItemDefListSet& t = ItemDefLists;
    for (ItemDef* def : t.all) delete def;
    for (ItemPowerRecord* power : t.powers) delete power;
    for (ToolkitLayout* layout : t.toolkitLayouts) delete layout;
    t = ItemDefListSet();
}

// The records live until the process exits. The toolkit windows may be gone by then, so
// this release leaves them alone.
struct ItemTablesRelease {
    ~ItemTablesRelease() { DropItemTables(); }
} ReleaseAtExit;

struct ItemParse {
    DbParse db;
    ItemDef* open = nullptr;
    std::vector<ItemDef*> parents;  // records of enclosing `item` elements
};

bool Is(const XML_Char* element, const char* name) {
    return std::strcmp(element, name) == 0;
}

// Attribute readers: names match exactly, numbers read as atoi does.
const char* Attr(const XML_Char** a, const char* name) {
    return FindXmlAttribute(a, name);
}

void ReadInt(const XML_Char** a, const char* name, int32_t* out) {
    const char* v = Attr(a, name);
    if (v != nullptr) *out = ParseDecimalInt32(v);
}

void ReadBool(const XML_Char** a, const char* name, bool* out) {
    const char* v = Attr(a, name);
    if (v != nullptr) *out = ParseDecimalInt32(v) != 0;
}

void ReadString(const XML_Char** a, const char* name, std::string* out) {
    const char* v = Attr(a, name);
    if (v != nullptr) *out = v;
}

Spell* LookUpSpell(const std::string& name) {
    return name.empty() ? nullptr : spellDBFindByName(name.c_str());
}

// Every attribute that names a damage type sets that entry; other names set nothing.
void ReadDamageWords(const XML_Char** a, int32_t (&values)[kDamageTypeCount]) {
    for (int i = 0; a[i] != nullptr && a[i + 1] != nullptr; i += 2) {
        const int32_t type = GetDamageTypeIndex(a[i]);
        if (type >= 0) values[type] = ParseDecimalInt32(a[i + 1]);
    }
}

void ReadStatBonus(const XML_Char** a, int32_t* values, int32_t count) {
    int32_t id = -1;
    int32_t amount = 0;
    ReadInt(a, "id", &id);
    ReadInt(a, "amount", &amount);
    if (id >= 0 && id < count) values[id] = amount;
}

struct SlotWord {
    const char* word;
    int32_t slot;
};
const SlotWord kArmourSlotWords[] = {
    {"chest", kArmourChest}, {"shield", kArmourShield}, {"ring", kArmourRing},   {"head", kArmourHead},
    {"neck", kArmourNeck},   {"feet", kArmourFeet},     {"waist", kArmourWaist}, {"hands", kArmourHands},
    {"legs", kArmourLegs},   {"sleeve", kArmourSleeve},
};

void ReadArmourSlot(const char* word, int32_t* slot) {
    if (word == nullptr) return;
    for (const SlotWord& w : kArmourSlotWords) {
        if (std::strcmp(word, w.word) == 0) {
            *slot = w.slot;
            return;
        }
    }
}

void CheckIcon(const ItemDef& def) {
    if (def.iconFile.empty() || VfsExists(def.iconFile)) return;
    std::printf("itemDB: icon file %s of item \"%s\" not found\n", def.iconFile.c_str(), def.name.c_str());
}

void OpenItem(ItemParse& st, const XML_Char** a) {
    ItemDef* def = nullptr;
    if (st.open != nullptr) {
        st.parents.push_back(st.open);
        def = new ItemDef(*st.open);
    } else {
        def = new ItemDef();
    }
    def->index = static_cast<int32_t>(ItemDefLists.all.size() + st.parents.size());
    def->generated = false;
    def->artifact = false;
    def->level = 0;
    def->iconNo = 0;
    def->maxStack = 0;
    ReadString(a, "name", &def->name);
    ReadString(a, "overrideClassName", &def->overrideClassName);
    ReadString(a, "iconFile", &def->iconFile);
    ReadInt(a, "maxstack", &def->maxStack);
    ReadInt(a, "iconNo", &def->iconNo);
    ReadBool(a, "alchemical", &def->alchemical);
    ReadBool(a, "craftoutput", &def->craftOutput);
    ReadBool(a, "debug", &def->debug);
    ReadInt(a, "type", &def->itemClass);
    ReadInt(a, "level", &def->level);
    ReadBool(a, "artifact", &def->artifact);
    ReadBool(a, "special", &def->special);
    CheckIcon(*def);
    st.open = def;
}

void ReadTrap(ItemDef* def, const XML_Char** a) {
    def->category = kItemTrap;
    def->trapMount = 2;
    def->trapTrigger = 2;
    def->trapSpellName.clear();
    def->trapCharges = 0;
    const char* trigger = Attr(a, "trigger");
    if (trigger != nullptr) def->trapTrigger = std::strcmp(trigger, "once") == 0 ? 0 : std::strcmp(trigger, "charges") == 0 ? 1 : 2;
    const char* mount = Attr(a, "originMount");
    if (mount != nullptr) def->trapMount = std::strcmp(mount, "floor") == 0 ? 0 : std::strcmp(mount, "wall") == 0 ? 1 : 2;
    const char* facing = Attr(a, "originFacing");
    if (facing != nullptr) {
        const char* const words[] = {"south", "west", "north", "east"};
        for (int32_t i = 0; i < 4; ++i) {
            if (std::strcmp(facing, words[i]) == 0) def->trapFacing = i;
        }
    }
    ReadString(a, "casts", &def->trapSpellName);
    ReadString(a, "origin", &def->trapOrigin);
    ReadInt(a, "charges", &def->trapCharges);
    ReadInt(a, "level", &def->level);
}

void ReadToolkit(ItemDef* def, const XML_Char** a) {
    def->category = kItemToolkit;
    ToolkitLayout* t = new ToolkitLayout();
    ReadInt(a, "numslots", &t->numSlots);
    ReadString(a, "tag", &t->tag);
    ReadString(a, "sound", &t->sound);
    ReadString(a, "missing", &t->missing);
    ReadString(a, "present", &t->present);
    ReadString(a, "active", &t->active);
    for (int32_t s = 0; s < 4; ++s) {
        const std::string p = "slot" + std::to_string(s + 1) + "_";
        ReadInt(a, (p + "x1").c_str(), &t->slots[s][0]);
        ReadInt(a, (p + "x2").c_str(), &t->slots[s][1]);
        ReadInt(a, (p + "y1").c_str(), &t->slots[s][2]);
        ReadInt(a, (p + "y2").c_str(), &t->slots[s][3]);
    }
    ReadInt(a, "output_x1", &t->output[0]);
    ReadInt(a, "output_y1", &t->output[1]);
    ReadInt(a, "output_x2", &t->output[2]);
    ReadInt(a, "output_y2", &t->output[3]);
    ReadString(a, "bg", &t->bg);
    ReadString(a, "craftbutton", &t->craftButton);
    ReadString(a, "recipebutton", &t->recipeButton);
    ReadString(a, "autofillbutton", &t->autofillButton);
    ReadInt(a, "autofillbuttonposx", &t->autofillButtonPos[0]);
    ReadInt(a, "autofillbuttonposy", &t->autofillButtonPos[1]);
    ReadInt(a, "craftbuttonposx", &t->craftButtonPos[0]);
    ReadInt(a, "craftbuttonposy", &t->craftButtonPos[1]);
    ReadInt(a, "closex", &t->closePos[0]);
    ReadInt(a, "closey", &t->closePos[1]);
    ReadInt(a, "recipebuttonposx", &t->recipeButtonPos[0]);
    ReadInt(a, "recipebuttonposy", &t->recipeButtonPos[1]);
    ItemDefLists.toolkitLayouts.push_back(t);
    def->toolkitLayout = t;
}

ItemEffectSlot* EffectSlot(ItemDef* def, const XML_Char* el) {
    struct Entry {
        const char* element;
        ItemEffectSlot ItemDef::*slot;
    };
    static const Entry kSlots[] = {
        {"targetHitEffectBuff", &ItemDef::targetHit}, {"playerHitEffectBuff", &ItemDef::playerHit},
        {"targetKillBuff", &ItemDef::targetKill},     {"crossbowShotBuff", &ItemDef::crossbowShot},
        {"thrownBuff", &ItemDef::thrownHook},         {"criticalBuff", &ItemDef::critical},
        {"blockBuff", &ItemDef::block},               {"dodgeBuff", &ItemDef::dodge},
        {"counterBuff", &ItemDef::counter},           {"foodBuff", &ItemDef::food},
        {"boozeBuff", &ItemDef::booze},               {"consumableBuff", &ItemDef::consumable},
    };
    for (const Entry& e : kSlots) {
        if (Is(el, e.element)) return &(def->*e.slot);
    }
    return nullptr;
}

void XMLCALL StartElement(void* user, const XML_Char* el, const XML_Char** a) {
    ItemParse& st = *static_cast<ItemParse*>(user);
    if (Is(el, "item")) {
        OpenItem(st, a);
        return;
    }
    if (Is(el, "power")) {
        ItemPowerRecord* power = new ItemPowerRecord();
        ReadString(a, "name", &power->name);
        ReadString(a, "description", &power->description);
        ReadString(a, "spell", &power->spellName);
        power->spell = LookUpSpell(power->spellName);
        ItemDefLists.powers.push_back(power);
        return;
    }
    ItemDef* def = st.open;
    if (def == nullptr) return;
    if (Is(el, "price")) {
        def->price = 0;
        ReadInt(a, "amount", &def->price);
    } else if (Is(el, "weapon")) {
        def->category = kItemWeapon;
        for (int i = 0; a[i] != nullptr && a[i + 1] != nullptr; i += 2) {
            const char* n = a[i];
            const char* v = a[i + 1];
            if (Is(n, "level")) def->level = ParseDecimalInt32(v);
            else if (Is(n, "cantargetfloor")) def->canTargetFloor = ParseDecimalInt32(v) != 0;
            else if (Is(n, "thrown")) def->thrown = v;
            else if (Is(n, "hit")) def->hitSpellName = v;
            else if (GetDamageTypeIndex(n) >= 0) def->damage[GetDamageTypeIndex(n)] = ParseDecimalInt32(v);
        }
    } else if (Is(el, "gem")) {
        def->category = kItemGem;
        ReadString(a, "worthless", &def->worthlessName);
    } else if (Is(el, "mushroom")) {
        def->category = kItemMushroom;
    } else if (Is(el, "artifact")) {
        def->artifact = true;
        ReadInt(a, "quality", &def->quality);
    } else if (Is(el, "food")) {
        def->category = kItemFood;
        ReadInt(a, "hp", &def->hp);
        ReadInt(a, "mp", &def->mp);
        ReadBool(a, "meat", &def->meat);
        ReadString(a, "effect", &def->spellName);
        if (!def->spellName.empty()) def->spell = LookUpSpell(def->spellName);
    } else if (Is(el, "casts") || Is(el, "potion") || Is(el, "wand")) {
        if (Is(el, "potion")) def->category = kItemPotion;
        if (Is(el, "wand")) {
            def->category = kItemWand;
            ReadInt(a, "mincharge", &def->minCharge);
            ReadInt(a, "maxcharge", &def->maxCharge);
        }
        ReadString(a, "spell", &def->spellName);
        def->spell = LookUpSpell(def->spellName);
    } else if (Is(el, "trap")) {
        ReadTrap(def, a);
    } else if (Is(el, "toolkit")) {
        ReadToolkit(def, a);
    } else if (ItemEffectSlot* slot = EffectSlot(def, el)) {
        std::string spell;
        ReadString(a, "name", &spell);
        slot->spell = LookUpSpell(spell);
        slot->percentage = 100;
        ReadInt(a, "percentage", &slot->percentage);
        ReadString(a, "taxa", &slot->taxa);
        if (Is(el, "targetHitEffectBuff")) ReadInt(a, "after", &slot->after);
    } else if (Is(el, "armour")) {
        def->category = kItemArmour;
        ReadInt(a, "ac", &def->ac);
        ReadInt(a, "resistbonus", &def->resistBonus);
        ReadInt(a, "dodgebonus", &def->dodgeBonus);
        ReadArmourSlot(Attr(a, "type"), &def->slot);
        ReadInt(a, "level", &def->level);
        ReadInt(a, "randoms", &def->randoms);
    } else if (Is(el, "secondarybuff")) {
        ReadStatBonus(a, def->secondary, kSecondaryStatCount);
    } else if (Is(el, "primarybuff")) {
        ReadStatBonus(a, def->primary, kPrimaryStatCount);
    } else if (Is(el, "resistbuff")) {
        ReadDamageWords(a, def->resist);
    } else if (Is(el, "damagebuff")) {
        ReadDamageWords(a, def->damage);
    } else if (Is(el, "description")) {
        ReadString(a, "text", &def->description);
    }
}

void CloseItem(ItemParse& st) {
    ItemDef* def = st.open;
    ItemDefListSet& t = ItemDefLists;
    def->index = static_cast<int32_t>(t.all.size());
    t.all.push_back(def);
    if (def->alchemical) t.alchemical.push_back(def);
    if (def->category == kItemTrap) t.traps.push_back(def);
    if (def->category == kItemToolkit) t.toolkits.push_back(def);
    switch (def->category) {
        case kItemWeapon:
            if (!def->hitSpellName.empty()) def->hitSpell = LookUpSpell(def->hitSpellName);
            t.weapons.push_back(def);
            if (def->itemClass == kWeaponAmmunition && !def->special) t.ammunition.push_back(def);
            break;
        case kItemArmour: t.armour.push_back(def); break;
        case kItemPotion: t.potions.push_back(def); break;
        case kItemWand: t.wands.push_back(def); break;
        case kItemFood: t.food.push_back(def); break;
        case kItemGem: t.gems.push_back(def); break;
        case kItemMushroom: t.mushrooms.push_back(def); break;
        case kItemReagent: t.reagents.push_back(def); break;
        default: break;
    }
    if (st.parents.empty()) {
        st.open = nullptr;
    } else {
        st.open = st.parents.back();
        st.parents.pop_back();
    }
}

void XMLCALL EndElement(void* user, const XML_Char* el) {
    ItemParse& st = *static_cast<ItemParse*>(user);
    if (Is(el, "item") && st.open != nullptr) CloseItem(st);
}

// Records still open when a parse stops early are dropped.
void DropOpenRecords(ItemParse& st) {
    if (st.open != nullptr) {
        for (ItemDef* parent : st.parents) delete parent;
        delete st.open;
    }
    st.parents.clear();
    st.open = nullptr;
}

}  // namespace

bool itemDBLoadText(const std::string& text, const char* file) {
    ItemParse st;
    const bool ok = ParseDatabase(text.data(), text.size(), kLabel, file, StartElement, EndElement, &st.db);
    DropOpenRecords(st);
    return ok;
}

void itemDBLoad(const char* file) {
    ItemParse st;
    ParseDatabaseFile(file, kLabel, StartElement, EndElement, &st.db);
    DropOpenRecords(st);
}

void BuildItemLevelTables() {
    ItemDefListSet& t = ItemDefLists;
    for (int32_t level = 0; level < kItemLevelBuckets; ++level) {
        t.weaponBuckets[level].clear();
        t.armourBuckets[level].clear();
        for (ItemDef* def : t.all) {
            if (def->level != level || def->special) continue;
            if (def->category == kItemWeapon) t.weaponBuckets[level].push_back(def);
            if (def->category == kItemArmour) t.armourBuckets[level].push_back(def);
        }
    }
}

void ClearItemDB() {
    DropItemTables();
    // The toolkit windows outlive the database (they hold the hero's crafting slots): they let
    // go of the layouts and the pictures those named, and take the layout of their tag again
    // when a database is next read (SyncToolkitWindows).
    FreeToolkitWindowArt();
    for (ToolkitWindow& window : ToolkitWindows) window.layout = nullptr;
}

ItemDef* FindItemDefByName(const std::string& name) {
    for (ItemDef* def : ItemDefLists.all) {
        if (def->name == name) return def;
    }
    return nullptr;
}

ItemDef* ItemDefAt(int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= ItemDefLists.all.size()) return nullptr;
    return ItemDefLists.all[static_cast<size_t>(index)];
}

ItemPowerRecord* FindItemPowerByName(const std::string& name) {
    for (ItemPowerRecord* power : ItemDefLists.powers) {
        if (power->name == name) return power;
    }
    return nullptr;
}

void ResetGeneratedArtifacts() {
    for (ItemDef* def : ItemDefLists.all) def->generated = false;
}
