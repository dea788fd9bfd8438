#include "creatures/skill_db.h"

#include <algorithm>

#include "core/random.h"

#include <cstring>

#include "core/high_scores.h"
#include "core/lookup3.h"
#include "core/xml_util.h"
#include "creatures/db_xml.h"
#include "creatures/icon_art.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "media/sprite.h"

std::vector<SkillRecord> SkillDB;
std::vector<AbilityRecord*> AbilityList;
Bob SkillTomeLearnBob;

namespace {
// The records live until the process exits.
struct SkillTablesRelease {
    ~SkillTablesRelease() { ResetSkillDB(); }
} ReleaseAtExit;
}  // namespace

namespace {

const char* const kLabel = "skillDB";

struct SkillParse {
    DbParse db;
    SkillRecord* skill = nullptr;
    AbilityRecord* ability = nullptr;
};

int32_t HashedId(const char* text) {
    return static_cast<int32_t>(hashlittle(text, std::strlen(text), 0));
}

// The id of an attribute pair such as `id` / `skillname`: the hash of the name when it is
// given and not empty, else the number.
int32_t ReadId(const XML_Char** a, const char* idName, const char* hashName) {
    const char* hashed = DbAttr(a, hashName);
    if (hashed != nullptr && hashed[0] != '\0') return HashedId(hashed);
    return DbInt(a, idName, 0);
}

void ReadHook(BuffHook& hook, const XML_Char** a) {
    hook.spell = spellDBFindByName(DbString(a, "name", "").c_str());
    hook.percentage = DbInt(a, "percentage", 100);
    hook.taxa = DbString(a, "taxa", "");
}

void ReadTrigger(SpellChance& trigger, const XML_Char** a) {
    trigger.spell = spellDBFindByName(DbString(a, "name", "").c_str());
    trigger.percent = DbInt(a, "percent", 5);
}

void ReadStatMod(const SkillParse& st, int32_t* mods, int32_t count, const XML_Char** a, const char* element) {
    const int32_t id = DbInt(a, "id", 0);
    if (id < 0 || id >= count) {
        st.db.Warn(kLabel, std::string("<") + element + "> id " + std::to_string(id) + " is outside 0.." +
                               std::to_string(count - 1) + "; ignored");
        return;
    }
    mods[id] = DbInt(a, "amount", 0);
}

void ReadDamageWords(const SkillParse& st, int32_t (&values)[kDamageTypeCount], const XML_Char** a,
                     const char* element) {
    for (int i = 0; a[i] != nullptr && a[i + 1] != nullptr; i += 2) {
        const int32_t type = GetDamageTypeIndex(a[i]);
        if (type < 0) {
            st.db.Warn(kLabel, std::string("<") + element + "> names no damage type \"" + a[i] + "\"; ignored");
            continue;
        }
        values[type] = ParseDecimalInt32(a[i + 1]);
    }
}

BuffHook* AbilityHook(AbilityRecord* r, const XML_Char* el) {
    struct Entry {
        const char* element;
        BuffHook AbilityRecord::*hook;
    };
    static const Entry kHooks[] = {
        {"targetHitEffectBuff", &AbilityRecord::targetHitEffect},
        {"playerHitEffectBuff", &AbilityRecord::playerHitEffect},
        {"targetKillBuff", &AbilityRecord::targetKill},
        {"thrownBuff", &AbilityRecord::thrown},
        {"crossbowShotBuff", &AbilityRecord::crossbowShot},
        {"dodgeBuff", &AbilityRecord::dodgeHook},
        {"counterBuff", &AbilityRecord::counterHook},
        {"blockBuff", &AbilityRecord::blockHook},
        {"criticalBuff", &AbilityRecord::criticalHook},
        {"foodBuff", &AbilityRecord::foodHook},
        {"boozeBuff", &AbilityRecord::boozeHook},
        {"consumableBuff", &AbilityRecord::consumableHook},
    };
    for (const Entry& entry : kHooks) {
        if (ElementIs(el, entry.element)) return &(r->*entry.hook);
    }
    return nullptr;
}

void AbilityChildElement(SkillParse& st, const XML_Char* el, const XML_Char** a) {
    AbilityRecord* r = st.ability;
    if (BuffHook* hook = AbilityHook(r, el)) {
        ReadHook(*hook, a);
        if (ElementIs(el, "targetHitEffectBuff")) r->targetHitAfter = DbBool(a, "after", false);
    } else if (ElementIs(el, "flags")) {
        r->veganism = DbBool(a, "veganism", r->veganism);
        r->doubleThrow = DbBool(a, "doublethrow", r->doubleThrow);
        r->friendlyTaxa = DbString(a, "friendlyTaxa", r->friendlyTaxa);
        r->vmTheft = DbBool(a, "vmtheft", r->vmTheft);
        r->storeTheft = DbBool(a, "storetheft", r->storeTheft);
    } else if (ElementIs(el, "recoverybuff")) {
        r->recovery = DbInt(a, "amount", 0);
    } else if (ElementIs(el, "primarybuff")) {
        ReadStatMod(st, r->primaryMods, kPrimaryStatCount, a, "primarybuff");
    } else if (ElementIs(el, "secondarybuff")) {
        ReadStatMod(st, r->secondaryMods, kSecondaryStatCount, a, "secondarybuff");
    } else if (ElementIs(el, "damagebuff")) {
        ReadDamageWords(st, r->damage, a, "damagebuff");
    } else if (ElementIs(el, "resistbuff")) {
        ReadDamageWords(st, r->resist, a, "resistbuff");
    } else if (ElementIs(el, "draw")) {
        r->tomeX = DbInt(a, "x", 0);
        r->tomeY = DbInt(a, "y", 0);
        r->tomePage = DbInt(a, "page", 0);
    } else if (ElementIs(el, "description")) {
        r->description = DbString(a, "text", "");
    } else if (ElementIs(el, "spell")) {
        r->spellName = DbString(a, "name", "");
    } else if (ElementIs(el, "triggeroncast")) {
        ReadTrigger(r->triggerOnCast, a);
    } else if (ElementIs(el, "triggerondodge")) {
        ReadTrigger(r->triggerOnDodge, a);
    }
}

void XMLCALL SkillStart(void* data, const XML_Char* el, const XML_Char** a) {
    SkillParse& st = *static_cast<SkillParse*>(data);
    if (ElementIs(el, "skill")) {
        delete st.skill;
        st.skill = new SkillRecord();
        SkillRecord* s = st.skill;
        s->name = DbString(a, "name", "");
        s->id = ReadId(a, "id", "skillname");
        s->type = SkillTypeFromWord(DbString(a, "type", "").c_str());
        s->description = DbString(a, "description", "");
        s->achievement = DbString(a, "achievement", "");
        return;
    }
    if (ElementIs(el, "ability")) {
        delete st.ability;
        st.ability = new AbilityRecord();
        AbilityRecord* r = st.ability;
        r->name = DbString(a, "name", "");
        r->icon = DbString(a, "icon", "");
        r->level = DbInt(a, "level", 0);
        r->skillId = ReadId(a, "skill", "skillname");
        r->startSkill = DbBool(a, "startSkill", false);
        r->polymorphedOnly = DbBool(a, "polymorphedOnly", false);
        r->polymorphTag = DbString(a, "polymorphTag", "");
        return;
    }
    if (st.ability != nullptr) {
        AbilityChildElement(st, el, a);
        return;
    }
    SkillRecord* s = st.skill;
    if (s == nullptr) return;
    if (ElementIs(el, "loadout")) {
        LoadoutEntry entry;
        entry.type = DbString(a, "type", "");
        entry.subtype = DbString(a, "subtype", "");
        entry.amount = DbInt(a, "amount", 1);
        entry.always = DbBool(a, "always", false);
        s->loadout.push_back(entry);
    } else if (ElementIs(el, "flags")) {
        s->deprecated = DbBool(a, "deprecated", s->deprecated != 0) ? 1 : 0;
    } else if (ElementIs(el, "art")) {
        s->icon = DbString(a, "icon", s->icon);
    }
}

void XMLCALL SkillEnd(void* data, const XML_Char* el) {
    SkillParse& st = *static_cast<SkillParse*>(data);
    if (ElementIs(el, "ability")) {
        AbilityRecord* r = st.ability;
        if (r == nullptr) return;
        r->iconSprite = LoadIconImage(r->icon, "Ability \"" + r->name + "\"");
        if (!r->spellName.empty()) r->spell = spellDBFindByName(r->spellName.c_str());
        AbilityList.push_back(r);
        st.ability = nullptr;
    } else if (ElementIs(el, "skill")) {
        if (st.skill == nullptr) return;
        SkillDB.push_back(*st.skill);
        delete st.skill;
        st.skill = nullptr;
    }
}

// Records that a broken file left open never enter the tables.
void FinishParse(SkillParse& st) {
    delete st.ability;
    st.ability = nullptr;
    delete st.skill;
    st.skill = nullptr;
}

void AppendDummy(const char* name, int32_t id, const char* description, const char* icon) {
    SkillRecord record;
    record.name = name;
    record.id = id;
    record.description = description;
    record.icon = icon;
    SkillDB.push_back(record);
}

}  // namespace

bool IsPseudoSkillId(int32_t id) { return id == kLastChoiceSkillId || id == kRandomSkillsSkillId; }

void SkillDBLoad(const char* file) {
    SkillParse st;
    ParseDatabaseFile(file, kLabel, SkillStart, SkillEnd, &st.db);
    FinishParse(st);
}

bool SkillDBLoadFromText(const char* text, size_t length, const char* file) {
    SkillParse st;
    const bool ok = ParseDatabase(text, length, kLabel, file, SkillStart, SkillEnd, &st.db);
    FinishParse(st);
    return ok;
}

void AddDummySkills() {
    // The two shortcuts of the skill screen: "Random Skills" second to last, "Last Choice" last.
    AppendDummy("Random Skills", kRandomSkillsSkillId,
                "You start the game with seven skills chosen, excitingly, at random.", "skills/skill_random.png");
    AppendDummy("Last Choice", kLastChoiceSkillId,
                "You start the game with whatever skill picks your poor, tragic, hero started with last game. "
                "Do you think you can do better this time?",
                "skills/skill_avenge_your_father.png");
    AttachSkillTomeLearnSprite();
}

namespace {
unsigned LearnSpriteGeneration = 0;
}  // namespace

void AttachSkillTomeLearnSprite() {
    // A sprite taken from an earlier table generation has been destroyed with that table.
    if (LearnSpriteGeneration != SpriteMgr_Generation()) SkillTomeLearnBob.sprite = nullptr;
    Sprite* learn = SpriteMgr_GetOrLoadSeries("skilltome_learn", "ui/gameplay/skilltome_learn", 6, 0, 150, 1);
    LearnSpriteGeneration = SpriteMgr_Generation();
    if (SkillTomeLearnBob.sprite != learn) {
        SkillTomeLearnBob.SetSprite(learn);
        SkillTomeLearnBob.playing = true;
        SkillTomeLearnBob.finished = false;
    }
}

bool PlayerHasAbilityLevel(const AbilityRecord* ability) {
    const Player* hero = CurrentPlayer;
    if (ability == nullptr || hero == nullptr) return false;
    for (int32_t slot = 0; slot < kBuildSkillCount; ++slot) {
        if (hero->skillIds[slot] == ability->skillId && hero->skillLevels[slot] > ability->level) return true;
    }
    return false;
}

SkillRecord* FindSkillById(int32_t id) {
    for (SkillRecord& record : SkillDB) {
        if (record.id == id) return &record;
    }
    return nullptr;
}

AbilityRecord* FindAbilityByName(const std::string& name) {
    for (AbilityRecord* ability : AbilityList) {
        if (ability->name == name) return ability;
    }
    return nullptr;
}

void BuildChoosableSkillList(std::vector<int32_t>& skills) {
    skills.clear();
    for (size_t i = 0; i < SkillDB.size(); ++i) {
        if (!IsPseudoSkillId(SkillDB[i].id) && SkillDB[i].deprecated == 0) skills.push_back(static_cast<int32_t>(i));
    }
}

void PickRandomSkills(std::vector<int32_t>& skills) {
    std::vector<int32_t> offered;
    BuildChoosableSkillList(offered);
    // The C-library generator shuffles, as the skill screen's dice always have.
    for (size_t i = 1; i < offered.size(); ++i) {
        const size_t j = static_cast<size_t>(RandomInt(static_cast<int32_t>(i + 1)));
        std::swap(offered[i], offered[j]);
    }
    if (offered.size() > static_cast<size_t>(kRandomBuildSkillCount)) offered.resize(kRandomBuildSkillCount);
    std::sort(offered.begin(), offered.end());
    skills = offered;
}

void LoadLastSkillChoice(std::vector<int32_t>& skills) {
    skills = LoadLastTxt(static_cast<int32_t>(SkillDB.size()));
}

SkillRecord* GetSkillRecord(int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= SkillDB.size()) return nullptr;
    return &SkillDB[static_cast<size_t>(index)];
}

void ClearChosenSkills() {
    for (SkillRecord& record : SkillDB) record.chosen = 0;
}

bool SetSkillChosen(int32_t index) {
    SkillRecord* record = GetSkillRecord(index);
    if (record == nullptr) return false;
    record->chosen = 1;
    return true;
}

void ResetSkillDB() {
    // The learn animation was taken from the sprite table with the pseudo-skills.
    SkillTomeLearnBob.SetSprite(nullptr);
    SkillDB.clear();
    for (AbilityRecord* ability : AbilityList) delete ability;
    AbilityList.clear();
}
