// Stand-in: what is still to be built is listed at the top of creatures/spell.h.
#include "creatures/spell.h"

#include <cstring>

#include "levels/room_script_model.h"

std::vector<Spell*> SpellTable;

namespace {
// Room scripts name spells by their names; the rooms reader checks them against this table.
bool SpellNameKnown(const std::string& name) { return spellDBFindByName(name.c_str()) != nullptr; }
const bool RoomSpellCheckSet = (SetRoomScriptSpellCheck(SpellNameKnown), true);
}  // namespace

void spellDBLoad(const char*) {}

Spell* spellDBFindByName(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    for (Spell* spell : SpellTable) {
        if (spell->name == name) {
            return spell;
        }
    }
    return nullptr;
}

Spell* GetSpellByIndex(int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= SpellTable.size()) {
        return nullptr;
    }
    return SpellTable[static_cast<size_t>(index)];
}

int32_t GetSpellManaCost(const Spell* spell) {
    if (spell == nullptr) {
        return 0;
    }
    return spell->manaCost < spell->minimumManaCost ? spell->minimumManaCost : spell->manaCost;
}

void CastSpell(Spell*, int32_t, int32_t, int32_t, int32_t, Hittable*, const char*, int32_t) {}

void ApplySpellEffects(Spell*, int32_t, int32_t, Hittable*, const char*, int32_t) {}

void ResetSpellCooldowns() {
    for (Spell* spell : SpellTable) {
        spell->cooldown = 0;
    }
}

void PlayerCastSelectedSpell(int32_t) {}

void ClearSpellTable() {
    for (Spell* spell : SpellTable) {
        delete spell;
    }
    SpellTable.clear();
}
