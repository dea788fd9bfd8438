#include "creatures/monster_db.h"

#include <cstring>
#include <string>

#include "core/tweak.h"
#include "core/xml_util.h"
#include "creatures/db_xml.h"
#include "creatures/speech_db.h"
#include "creatures/spell.h"

std::vector<MonsterRecord*> MonsterTable;

namespace {
// The records live until the process exits.
struct ReleaseAtExit {
    ~ReleaseAtExit() { ClearMonsterDB(); }
} Release;
}  // namespace

namespace {

constexpr const char* kLabel = "monDBLoad";

// The running record counter over every file of this run.
int32_t gNextRecordIndex = 0;

struct MonsterParse {
    DbParse db;  // first: the parse helpers hand this struct over as a DbParse
    MonsterRecord* current = nullptr;
    std::vector<MonsterRecord*> stack;
};

// Integer attributes read as the C library's base-10 conversion does.
void ReadInt(const XML_Char** atts, const char* name, int32_t* field) {
    if (DbHasAttr(atts, name)) *field = DbInt(atts, name, *field);
}

void ReadString(const XML_Char** atts, const char* name, std::string* field) {
    if (const char* value = DbAttr(atts, name)) *field = value;
}

void ReadBool(const XML_Char** atts, const char* name, bool* field) {
    if (DbHasAttr(atts, name)) *field = DbInt(atts, name, 0) != 0;
}

// Four direction attributes into the slots of a sprite field, given the field's order.
void ReadDirections(const XML_Char** atts, std::string* slots, const char* const order[4]) {
    for (int32_t i = 0; i < 4; ++i) ReadString(atts, order[i], &slots[i]);
}

// Each attribute names a damage type; unknown words are reported and skipped.
void ReadDamageTable(MonsterParse& st, const XML_Char** atts, int32_t* table, const char* element) {
    for (int32_t i = 0; atts[i] != nullptr; i += 2) {
        const int32_t type = GetDamageTypeIndex(atts[i]);
        if (type < 0 || type >= kDamageTypeCount) {
            st.db.Warn(kLabel, std::string("unknown damage type \"") + atts[i] + "\" in <" + element + "> of \"" +
                                   st.current->name + "\" ignored");
            continue;
        }
        table[type] = ParseDecimalInt32(atts[i + 1]);
    }
}

void ReadBuff(MonsterParse& st, const XML_Char** atts, int32_t* table, int32_t count, const char* element) {
    const int32_t id = DbInt(atts, "id", 0);
    if (id < 0 || id >= count) {
        st.db.Warn(kLabel, std::string("<") + element + "> id " + std::to_string(id) + " of \"" + st.current->name +
                               "\" is outside 0.." + std::to_string(count - 1) + "; ignored");
        return;
    }
    table[id] = DbInt(atts, "amount", 0);
}

void OpenMonster(MonsterParse& st, const XML_Char** atts) {
    MonsterRecord* record = nullptr;
    if (st.current == nullptr) {
        record = MonsterRecord::CreateDefault();
    } else {
        st.stack.push_back(st.current);
        record = new MonsterRecord(*st.current);
        record->displayName.clear();
        record->parentName = st.current->name;
        record->spells.clear();
        record->onHitSpells.clear();
    }
    st.current = record;
    record->recordIndex = gNextRecordIndex++;
    ReadString(atts, "name", &record->name);
    ReadString(atts, "displayName", &record->displayName);
    ReadString(atts, "taxa", &record->taxa);
    ReadString(atts, "splat", &record->splat);
    ReadInt(atts, "corpse_timer", &record->corpseTimer);
    ReadInt(atts, "level", &record->level);
    ReadInt(atts, "tiny", &record->tiny);
    ReadInt(atts, "special", &record->special);
    ReadInt(atts, "type", &record->type);
    ReadInt(atts, "subtype", &record->subtype);
    ReadInt(atts, "terrain", &record->terrain);
    if (record->parentName.empty()) record->parentName = record->name;
    if (record->displayName.empty()) record->displayName = record->name;
    if (record->special == 0 && (record->level < 0 || record->level > 14)) {
        st.db.Warn(kLabel, "\"" + record->name + "\" has level " + std::to_string(record->level) +
                               " outside 0..14; it is left out of random placement");
    }
}

void XMLCALL MonsterStart(void* data, const XML_Char* el, const XML_Char** atts) {
    MonsterParse& st = *static_cast<MonsterParse*>(data);
    if (ElementIs(el, "monster")) {
        OpenMonster(st, atts);
        return;
    }
    MonsterRecord* r = st.current;
    if (r == nullptr) return;
    static const char* const kRightLeftUpDown[4] = {"right", "left", "up", "down"};
    static const char* const kUpRightDownLeft[4] = {"up", "right", "down", "left"};
    static const char* const kLeftRightUpDown[4] = {"left", "right", "up", "down"};
    if (ElementIs(el, "onhit")) {
        OnHitSpell hit;
        hit.spell = DbString(atts, "spell", "");
        hit.oneChanceIn = DbInt(atts, "onechancein", 0);
        r->onHitSpells.push_back(hit);
    } else if (ElementIs(el, "ai")) {
        ReadInt(atts, "aggressiveness", &r->aggressiveness);
        ReadInt(atts, "spellPercentage", &r->spellPercentage);
        ReadInt(atts, "stealPercentage", &r->stealPercentage);
        ReadInt(atts, "span", &r->span);
        ReadBool(atts, "invisible", &r->invisible);
        ReadBool(atts, "cancharm", &r->cancharm);
        ReadBool(atts, "canstun", &r->canstun);
        ReadBool(atts, "chicken", &r->chicken);
    } else if (ElementIs(el, "palette")) {
        ReadString(atts, "name", &r->paletteName);
        ReadInt(atts, "tint", &r->tint);
    } else if (ElementIs(el, "sfx")) {
        ReadString(atts, "attack", &r->attackSound);
        ReadString(atts, "hit", &r->hitSound);
        ReadString(atts, "die", &r->dieSound);
        ReadString(atts, "spell", &r->spellSound);
    } else if (ElementIs(el, "spell")) {
        if (Spell* spell = spellDBFindByName(DbAttr(atts, "name"))) r->spells.push_back(spell);
    } else if (ElementIs(el, "info")) {
        ReadString(atts, "latin", &r->latinName);
        ReadString(atts, "text", &r->infoText);
    } else if (ElementIs(el, "idleSprite")) {
        ReadDirections(atts, r->idleSprite, kRightLeftUpDown);
    } else if (ElementIs(el, "attackSprite")) {
        ReadDirections(atts, r->attackSprite, kUpRightDownLeft);
    } else if (ElementIs(el, "beamSprite")) {
        ReadDirections(atts, r->beamSprite, kRightLeftUpDown);
    } else if (ElementIs(el, "hitSprite")) {
        ReadDirections(atts, r->hitSprite, kLeftRightUpDown);
    } else if (ElementIs(el, "morphSprites")) {
        ReadString(atts, "eatSprite", &r->eatSprite);
        ReadString(atts, "drinkSprite", &r->drinkSprite);
        ReadString(atts, "levelupMSprite", &r->levelupMSprite);
        ReadString(atts, "levelupFSprite", &r->levelupFSprite);
        ReadString(atts, "vanishSprite", &r->vanishSprite);
        ReadString(atts, "longidleSprite", &r->longidleSprite);
    } else if (ElementIs(el, "dieSprite")) {
        ReadString(atts, "name", &r->dieSprite);
    } else if (ElementIs(el, "castSpellSprite")) {
        ReadString(atts, "name", &r->castSpellSprite);
    } else if (ElementIs(el, "resistances")) {
        ReadDamageTable(st, atts, r->resistances, "resistances");
    } else if (ElementIs(el, "damage")) {
        ReadDamageTable(st, atts, r->damage, "damage");
    } else if (ElementIs(el, "primarybuff")) {
        ReadBuff(st, atts, r->primaryBuffs, kPrimaryStatCount, "primarybuff");
    } else if (ElementIs(el, "secondarybuff")) {
        ReadBuff(st, atts, r->secondaryBuffs, kSecondaryStatCount, "secondarybuff");
    } else if (ElementIs(el, "stats")) {
        ReadInt(atts, "xpValue", &r->xpValue);
        ReadInt(atts, "numFig", &r->numFig);
        ReadInt(atts, "numRog", &r->numRog);
        ReadInt(atts, "numWiz", &r->numWiz);
        ReadInt(atts, "ac", &r->ac);
        if (DbHasAttr(atts, "steal") && DbInt(atts, "steal", -1) != -1) r->steal = DbInt(atts, "steal", 0);
        if (DbHasAttr(atts, "zomby") && DbInt(atts, "zomby", -1) != -1) r->zomby = DbInt(atts, "zomby", 0);
    }
}

void XMLCALL MonsterEnd(void* data, const XML_Char* el) {
    MonsterParse& st = *static_cast<MonsterParse*>(data);
    if (!ElementIs(el, "monster") || st.current == nullptr) return;
    MonsterTable.push_back(st.current);
    if (st.stack.empty()) {
        st.current = nullptr;
    } else {
        st.current = st.stack.back();
        st.stack.pop_back();
    }
}

// Records a broken file left open never enter the table.
void FinishParse(MonsterParse& st) {
    delete st.current;
    for (MonsterRecord* record : st.stack) delete record;
    st.current = nullptr;
    st.stack.clear();
}

MonsterRecord* FindBy(const char* text, std::string MonsterRecord::*field) {
    if (text == nullptr) return nullptr;
    for (MonsterRecord* record : MonsterTable) {
        if (record != nullptr && record->*field == text) return record;
    }
    return nullptr;
}

}  // namespace

MonsterRecord* MonsterRecord::CreateDefault() {
    MonsterRecord* record = new MonsterRecord();
    record->corpseTimer = GetTweakInt("corpse time");
    record->speechProfile = DefaultSpeechProfile();
    return record;
}

void monDBLoad(const char* file) {
    MonsterParse st;
    ParseDatabaseFile(file, kLabel, MonsterStart, MonsterEnd, &st.db);
    FinishParse(st);
}

bool monDBLoadFromText(const char* text, size_t length, const char* file) {
    MonsterParse st;
    const bool ok = ParseDatabase(text, length, kLabel, file, MonsterStart, MonsterEnd, &st.db);
    FinishParse(st);
    return ok;
}

MonsterRecord* monDBFindByName(const char* name) { return FindBy(name, &MonsterRecord::name); }

MonsterRecord* monDBFindByDisplayName(const char* displayName) {
    return FindBy(displayName, &MonsterRecord::displayName);
}

void ClearMonsterDB() {
    for (MonsterRecord* record : MonsterTable) delete record;
    MonsterTable.clear();
    gNextRecordIndex = 0;
}
