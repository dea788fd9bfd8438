#include "core/class_registry.h"

#include <cstdio>
#include <cstring>

#include "core/command_state.h"
#include "core/lookup3.h"

Serializable::~Serializable() = default;

namespace {

const char* const kLegacyClassNames[kLegacyClassCount] = {
    "Anvil",          "Armour",        "BBQ",           "Dispenser",     "Bookshelf",
    "Breakable",      "ZarnochStatue", "Blocker",       "Splat",         "Engraving",
    "RingOfProtection", "Chest",       "UberChest",     "Coffin",        "Toolkit",
    "CraftTable",     "Dirt",          "Door",          "EvilChest",     "Food",
    "Fountain",       "Freezer",       "GameObj",       "Gem",           "Hittable",
    "Item",           "Zorkmids",      "Misc",          "Lever",         "LutefiskStatue",
    "Monster",        "Mushroom",      "Pedestal",      "Player",        "Potion",
    "QuestBlocker",   "Reagent",       "Rift",          "Shopkeeper",    "ShopPedestal",
    "SignPost",       "SkillItem",     "Smoke",         "Roots",         "Stairs",
    "Statue",         "Teleporter",    "Trap",          "Wand",          "Weapon",
};

}  // namespace

const char* const kSaveableClassNames[kSaveableClassCount] = {
    "Activatable", "Anvil",      "Armour",       "BBQ",          "Dispenser",      "Bookshelf",
    "Breakable",   "ZarnochStatue", "Blocker",   "Splat",        "Engraving",      "RingOfProtection",
    "Chest",       "UberChest",  "Clock",        "Coffin",       "Toolkit",        "DiggleGod",
    "Dirt",        "Door",       "EvilChest",    "Food",         "Fountain",       "Freezer",
    "GameObj",     "Gem",        "Hittable",     "Item",         "Zorkmids",       "Misc",
    "Lever",       "LutefiskStatue", "Monster",  "Mushroom",     "Pedestal",       "Player",
    "Potion",      "QuestBlocker", "Reagent",    "Rift",         "Shopkeeper",     "ShopPedestal",
    "SignPost",    "SkillItem",  "Smoke",        "Roots",        "Stairs",         "Portal",
    "Statue",      "Teleporter", "Trap",         "Wand",         "Weapon",
};

SerializableDefinition::~SerializableDefinition() = default;

SerializableRegistry& SerializableRegistry::Instance() {
    // Never destroyed: static initialisers of any file may register before this
    // function's first caller, and objects may still be created during exit.
    static SerializableRegistry* registry = new SerializableRegistry();
    return *registry;
}

SerializableDefinition* SerializableRegistry::Register(SerializableDefinition* definition,
                                                       const char* name) {
    definition->name = name;
    definition->hash = ClassNameHash(definition->name);
    definition->ordinal = counter++;
    for (const SerializableDefinition* other : definitions) {
        if (other->name == definition->name) {
            printf("class registry: \"%s\" is registered twice; the first one is used\n", name);
        } else if (other->hash == definition->hash) {
            printf("class registry: \"%s\" and \"%s\" share the class key %08X\n",
                   other->name.c_str(), name, definition->hash);
        }
    }
    definitions.push_back(definition);
    return definition;
}

const SerializableDefinition* SerializableRegistry::FindByName(const std::string& name) const {
    for (const SerializableDefinition* definition : definitions) {
        if (definition->name == name) return definition;
    }
    return nullptr;
}

const SerializableDefinition* SerializableRegistry::FindByKey(uint32_t key,
                                                              const SaveVersion& version) const {
    if (version.AtLeast(kSaveHashedClassKeys)) {
        for (const SerializableDefinition* definition : definitions) {
            if (definition->hash == key) return definition;
        }
        return nullptr;
    }
    const char* legacyName = LegacyClassName(key);
    if (legacyName == nullptr) return nullptr;
    return FindByName(legacyName);
}

Serializable* SerializableRegistry::CreateFromSave(uint32_t key, SaveReader& in) {
    if (in.Failed()) return nullptr;
    const SerializableDefinition* found = FindByKey(key, in.version);
    if (found == nullptr) {
        char message[160];
        const char* legacyName = in.version.AtLeast(kSaveHashedClassKeys) ? nullptr : LegacyClassName(key);
        if (legacyName != nullptr) {
            snprintf(message, sizeof(message), "class key %u (\"%s\") names no registered class",
                     key, legacyName);
        } else {
            snprintf(message, sizeof(message), "unknown class key %08X", key);
        }
        in.Fail(message);
        return nullptr;
    }
    if ((CmdLine.debugFlags & kDebugLoads) != 0) printf("creating a %s\n", found->name.c_str());
    // Create is not const: registered definitions are owned by the registry.
    Serializable* created = const_cast<SerializableDefinition*>(found)->Create(in);
    if (created == nullptr) {
        in.Fail("out of memory creating a " + found->name);
        return nullptr;
    }
    if (in.Failed()) {
        // A block cut short: no half-read object leaves the loader.
        delete created;
        return nullptr;
    }
    return created;
}

uint32_t ClassNameHash(const std::string& name) {
    return hashlittle(name.data(), name.size(), 0);
}

uint32_t GetRegisteredClassHash(const std::string& name) {
    const SerializableDefinition* found = SerializableRegistry::Instance().FindByName(name);
    return found != nullptr ? found->hash : 0xFFFFFFFFu;
}

int32_t GetRegisteredClassIndex(const std::string& name) {
    const SerializableDefinition* found = SerializableRegistry::Instance().FindByName(name);
    return found != nullptr ? static_cast<int32_t>(found->ordinal) : -1;
}

const char* LegacyClassName(uint32_t key) {
    return key < kLegacyClassCount ? kLegacyClassNames[key] : nullptr;
}
