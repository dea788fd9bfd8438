#include "creatures/spell.h"

#include <algorithm>
#include <cstring>

#include "core/xml_util.h"
#include "creatures/db_xml.h"
#include "creatures/icon_art.h"
#include "levels/room_script_model.h"
#include "media/sprite.h"

std::vector<Spell*> SpellList;
std::vector<Spell*> WeaponSkillList;
std::vector<DiggleGodRecord> DiggleGodList;
std::vector<FountainText> FountainTextList;

namespace {
// The records live until the process exits.
struct SpellListsRelease {
    ~SpellListsRelease() { ClearSpellTable(); }
} ReleaseAtExit;

// Room scripts name spells by their names; the rooms reader checks them against this table.
bool SpellNameKnown(const std::string& name) { return spellDBFindByName(name.c_str()) != nullptr; }
const bool RoomSpellCheckSet = (SetRoomScriptSpellCheck(SpellNameKnown), true);
}  // namespace

namespace {

const char* const kLabel = "spellDB";

struct WordCode {
    const char* word;
    int32_t code;
};

const WordCode kTargetWords[] = {
    {"self", 0},         {"missile", 1},
    {"adjacent", 2},     {"area", 3},
    {"lockable", 4},     {"target_zombie", 5},
    {"fireball", 6},     {"cone", 7},
    {"target", 8},       {"targetfloor", 9},
    {"targetemptyfloor", 10}, {"targetcorpse", 11},
    {"targetadjacentcorpse", 12}, {"item", 13},
    {"beam", 14},        {"diggingbeam", 15},
    {"beammissile", 16}, {"special", 17},
    {"knightlyleap", 18}, {"rook", 19},
    {"adjacentwall", 20}, {"targetmonster", 21},
    {"template", 23},
};

const WordCode kEffectWords[] = {
    {"damage", 0},       {"charm", 1},          {"heal", 2},             {"healF", 3},
    {"blink", 4},        {"teleport", 5},       {"uncurse", 6},          {"corrupt", 7},
    {"buff", 8},         {"paralyze", 9},       {"root", 10},            {"confuse", 11},
    {"destroyobject", 12}, {"summon", 13},      {"ring", 14},            {"create", 15},
    {"spawn", 16},       {"knock", 17},         {"purify", 18},          {"transfer", 19},
    {"suction", 20},     {"lockdown", 21},      {"rift", 22},            {"pacify", 23},
    {"sleep", 24},       {"slow", 25},          {"oil", 26},             {"resurrection", 27},
    {"dig", 28},         {"magicmapping", 29},  {"rechargeanvil", 30},   {"rechargewand", 31},
    {"randomizewand", 32}, {"sacrificeartifact", 33}, {"randomizeartifact", 34}, {"stealitem", 35},
    {"spellpoints", 37}, {"bleed", 38},         {"drain", 39},           {"drainMana", 40},
    {"drainCasterMana", 41}, {"kill", 42},      {"dot", 43},             {"trigger", 44},
    {"blind", 45},       {"grantxp", 46},       {"rogueSkill", 48},      {"targetblink", 49},
    {"polymorph", 50},   {"fear", 53},          {"displace", 54},        {"shout", 55},
    {"spawnitematlocation", 56}, {"removeinvisibility", 57}, {"cleanseartifact", 58},
    {"spawnitemfromlist", 59}, {"triggerfromlist", 60}, {"removebuffbyname", 61},
    {"summonhostile", 62}, {"firecrossbow", 63}, {"consumefood", 64},     {"consumebooze", 65},
    {"destroywand", 66},
};

template <size_t N>
int32_t Lookup(const WordCode (&table)[N], const char* word, int32_t fallback) {
    if (word == nullptr) return fallback;
    for (const WordCode& entry : table) {
        if (std::strcmp(entry.word, word) == 0) return entry.code;
    }
    return fallback;
}

// The parse state of one file.
struct SpellParse {
    DbParse db;
    Spell* spell = nullptr;
    bool inBuff = false;
    Buff buff;
    bool inEffect = false;
    SpellEffect effect;
    bool weaponSkill = false;
};

void LoadSpellIcon(Spell* spell) {
    const size_t dot = spell->icon.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : spell->icon.substr(dot);
    if (extension == ".png") {
        spell->iconSprite = LoadIconSprite(spell->icon, spell->icon, IconLoad::Png);
    } else if (extension == ".xml") {
        spell->iconSprite = LoadIconSprite(spell->icon + "_buff", spell->icon, IconLoad::SpellXml);
    } else {
        spell->iconSprite = nullptr;
    }
}

void LoadMineSprite(Spell* spell) {
    Sprite* sprite = nullptr;
    if (!spell->mineSpritePNGSeries.empty()) {
        sprite = SpriteMgr_GetOrLoadSeries(spell->mineSpritePNGSeries.c_str(), spell->mineSpritePNGSeries.c_str(),
                                           spell->mineSpritePNGNum, spell->mineSpritePNGFirst,
                                           spell->mineSpritePNGRate, 1);
    } else if (!spell->mineSprite.empty()) {
        sprite = SpriteMgr_GetOrLoad(spell->mineSprite.c_str());
    } else {
        return;
    }
    spell->mineSpriteRef = sprite;
    spell->mineBob.SetSprite(sprite);
    spell->mineBob.playing = true;
    spell->mineBob.loop = true;
}

void ReadSpellAttributes(Spell* s, const XML_Char** a) {
    s->name = DbString(a, "name", s->name);
    const std::string typeWord = DbString(a, "type", "badtype");
    s->taxa = DbString(a, "taxa", s->taxa);
    s->radius = DbInt(a, "radius", s->radius);
    s->icon = DbString(a, "icon", s->icon);
    s->wand = DbInt(a, "wand", s->wand);
    s->mine = DbInt(a, "mine", s->mine);
    s->mineRadius = DbInt(a, "mineRadius", s->mineRadius);
    s->minesMustBeUnobstructed = DbBool(a, "minesMustBeUnobstructed", s->minesMustBeUnobstructed);
    s->mineSpriteDrawOrder = DbInt(a, "mineSpriteDrawOrder", s->mineSpriteDrawOrder);
    s->minePermanent = DbBool(a, "minePermanent", s->minePermanent);
    s->attack = DbBool(a, "attack", s->attack);
    s->consumeItem = DbBool(a, "consumeItem", s->consumeItem);
    s->consumeItemType = DbString(a, "consumeItemType", s->consumeItemType);
    s->affectOnlyHittables = DbBool(a, "affectOnlyHittables", s->affectOnlyHittables);
    s->artifacthit = DbInt(a, "artifacthit", s->artifacthit);
    s->mineSprite = DbString(a, "mineSprite", s->mineSprite);
    s->mineSpritePNGSeries = DbString(a, "mineSpritePNGSeries", s->mineSpritePNGSeries);
    s->mineSpritePNGFirst = DbInt(a, "mineSpritePNGFirst", s->mineSpritePNGFirst);
    s->mineSpritePNGNum = DbInt(a, "mineSpritePNGNum", s->mineSpritePNGNum);
    s->mineSpritePNGRate = DbInt(a, "mineSpritePNGRate", s->mineSpritePNGRate);
    s->mineUseGlints = DbBool(a, "mineUseGlints", s->mineUseGlints);
    s->mineGlintDensity = DbInt(a, "mineGlintDensity", s->mineGlintDensity);
    s->mineTimer = DbInt(a, "mineTimer", s->mineTimer);
    s->templateID = DbInt(a, "templateID", s->templateID);
    s->anchored = DbInt(a, "anchored", s->anchored);
    s->downtime = DbInt(a, "downtime", s->downtime);
    s->wT = DbInt(a, "wT", s->wT);
    s->skillType = DbInt(a, "skillType", s->skillType);
    s->multiAttack = DbInt(a, "multiAttack", s->multiAttack);
    s->hasCooldown = s->downtime >= 1;
    s->targetType = SpellTargetTypeFromWord(typeWord.c_str());
    LoadSpellIcon(s);
    LoadMineSprite(s);
}

void ReadBuffAttributes(Buff& b, const XML_Char** a) {
    b.description = DbString(a, "description", b.description);
    b.gameplayText = DbString(a, "gameplayText", b.gameplayText);
    b.icon = DbString(a, "icon", b.icon);
    b.smallIcon = DbString(a, "smallicon", b.smallIcon);
    b.applyToPlayer = DbInt(a, "applytoplayer", b.applyToPlayer ? 1 : 0) != 0;
    b.turnsLeft = DbInt(a, "time", b.turnsLeft);
    b.allowStacking = DbBool(a, "allowstacking", b.allowStacking);
    b.bad = DbBool(a, "bad", b.bad);
    b.usesTimer = DbBool(a, "usetimer", b.usesTimer);
    b.destroyOnMove = DbInt(a, "destroyonmove", b.destroyOnMove);
    b.brittle = DbInt(a, "brittle", b.brittle);
    b.attacks = DbInt(a, "attacks", b.attacks);
    b.manaUpkeep = DbInt(a, "manaupkeep", b.manaUpkeep);
    b.stackSize = DbInt(a, "stacksize", b.stackSize);
    b.self = DbBool(a, "self", b.self);
    b.removable = DbBool(a, "removable", b.removable);
    b.digglegod = DbBool(a, "digglegod", b.digglegod);
    b.upkeepCounter = b.manaUpkeep;
    b.LoadIconSprites();
}

void ReadHook(BuffHook& hook, const XML_Char** a, bool withTaxa) {
    hook.spell = spellDBFindByName(DbString(a, "name", "").c_str());
    hook.percentage = DbInt(a, "percentage", 100);
    if (withTaxa) hook.taxa = DbString(a, "taxa", "");
}

// Sets the entries of a per-damage-type array from attributes named by damage-type words;
// other attribute names are reported and ignored.
void ReadDamageWords(const SpellParse& st, int32_t (&values)[kDamageTypeCount], const XML_Char** a,
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

// The modifier element `secondarybuff` / `primarybuff` of a buff template.
void ReadStatMod(const SpellParse& st, int32_t* mods, int32_t count, const XML_Char** a, const char* element) {
    const int32_t id = DbInt(a, "id", 0);
    if (id < 0 || id >= count) {
        st.db.Warn(kLabel, std::string("<") + element + "> id " + std::to_string(id) + " is outside 0.." +
                               std::to_string(count - 1) + "; ignored");
        return;
    }
    mods[id] = DbInt(a, "amount", 0);
}

void BuffChildElement(SpellParse& st, const XML_Char* el, const XML_Char** a) {
    Buff& b = st.buff;
    if (ElementIs(el, "polymorph")) {
        b.polymorphName = DbString(a, "name", "");
        b.isPolymorph = true;
    } else if (ElementIs(el, "halo")) {
        const std::string series = DbString(a, "name", "");
        b.halo = SpriteMgr_GetOrLoadSeries(series.c_str(), series.c_str(), DbInt(a, "num", 0), DbInt(a, "first", 0),
                                           DbInt(a, "framerate", 125), 1);
        b.haloBob.SetSprite(b.halo);
        b.haloBob.playing = true;
        b.haloBob.loop = true;
    } else if (ElementIs(el, "multiBuff")) {
        b.multiBuff = DbInt(a, "amount", 0);
    } else if (ElementIs(el, "targetHitEffectBuff")) {
        ReadHook(b.targetHitEffect, a, false);
        b.targetHitAfter = DbBool(a, "after", false);
    } else if (ElementIs(el, "playerHitEffectBuff")) {
        ReadHook(b.playerHitEffect, a, false);
    } else if (ElementIs(el, "criticalBuff")) {
        ReadHook(b.criticalHook, a, true);
    } else if (ElementIs(el, "blockBuff")) {
        ReadHook(b.blockHook, a, true);
    } else if (ElementIs(el, "dodgeBuff")) {
        ReadHook(b.dodgeHook, a, true);
    } else if (ElementIs(el, "counterBuff")) {
        ReadHook(b.counterHook, a, true);
    } else if (ElementIs(el, "foodBuff")) {
        ReadHook(b.foodHook, a, true);
    } else if (ElementIs(el, "boozeBuff")) {
        ReadHook(b.boozeHook, a, true);
    } else if (ElementIs(el, "consumableBuff")) {
        ReadHook(b.consumableHook, a, true);
    } else if (ElementIs(el, "primarybuff") || ElementIs(el, "highbuff")) {
        ReadStatMod(st, b.primaryMods, kPrimaryStatCount, a, el);
    } else if (ElementIs(el, "secondarybuff")) {
        ReadStatMod(st, b.secondaryMods, kSecondaryStatCount, a, el);
    } else if (ElementIs(el, "resistbuff")) {
        ReadDamageWords(st, b.resist, a, "resistbuff");
    } else if (ElementIs(el, "damagebuff")) {
        ReadDamageWords(st, b.damage, a, "damagebuff");
    } else if (ElementIs(el, "invisible")) {
        b.invisible = true;
    } else if (ElementIs(el, "mute")) {
        b.mute = true;
    } else if (ElementIs(el, "sightbuff")) {
        b.secondaryMods[kStatSight] = DbInt(a, "amount", 0);
    }
}

void ReadEffectAttributes(SpellParse& st, const XML_Char** a) {
    SpellEffect& e = st.effect;
    std::string typeWord = "damage";
    for (int i = 0; a[i] != nullptr && a[i + 1] != nullptr; i += 2) {
        const char* key = a[i];
        const char* value = a[i + 1];
        const int32_t type = GetDamageTypeIndex(key);
        if (type >= 0) {
            e.damageAmounts[type] = ParseDecimalInt32(value);
            continue;
        }
        const size_t length = std::strlen(key);
        if (length > 1 && key[length - 1] == 'F') {
            const int32_t scaled = GetDamageTypeIndex(std::string(key, length - 1).c_str());
            if (scaled >= 0) {
                e.damageAmountsF[scaled] = std::strtof(value, nullptr);
                continue;
            }
        }
        const XML_Char* one[3] = {key, value, nullptr};
        if (ElementIs(key, "taxa")) e.taxa = value;
        else if (ElementIs(key, "amount")) e.amount = DbInt(one, key, 0);
        else if (ElementIs(key, "percent")) e.percent = DbInt(one, key, 0);
        else if (ElementIs(key, "amountF")) e.amountF = DbFloat(one, key, 0.0f);
        else if (ElementIs(key, "secondaryScale")) e.secondaryScale = DbInt(one, key, 0);
        else if (ElementIs(key, "primaryScale")) e.primaryScale = DbInt(one, key, 0);
        else if (ElementIs(key, "self")) e.self = DbInt(one, key, 0);
        else if (ElementIs(key, "permanent")) e.permanent = DbInt(one, key, 0);
        else if (ElementIs(key, "kickback")) e.kickback = DbInt(one, key, 0);
        else if (ElementIs(key, "turns")) e.turns = DbInt(one, key, 0);
        else if (ElementIs(key, "midas")) e.midas = DbBool(one, key, false);
        else if (ElementIs(key, "burn")) e.burn = DbBool(one, key, false);
        else if (ElementIs(key, "resistable")) e.resistable = DbBool(one, key, true);
        else if (ElementIs(key, "regengfx")) e.regengfx = DbBool(one, key, false);
        else if (ElementIs(key, "requirebuff")) e.requirebuff = DbBool(one, key, false);
        else if (ElementIs(key, "type")) typeWord = value;
        else if (ElementIs(key, "itemname") || ElementIs(key, "name")) e.name = value;
        else if (ElementIs(key, "monsterType")) e.monsterType = value;
        else if (ElementIs(key, "objectSprite")) e.objectSprite = value;
        else if (ElementIs(key, "transmogrify")) e.transmogrify = DbBool(one, key, false);
        else if (ElementIs(key, "isSleeping")) e.isSleeping = DbBool(one, key, false);
        else if (ElementIs(key, "affectsCorpses")) e.affectsCorpses = DbBool(one, key, true);
        else if (ElementIs(key, "affectscaster")) e.affectscaster = DbInt(one, key, 0);
        else if (ElementIs(key, "spell")) e.spell = value;
        else if (ElementIs(key, "killChance")) st.spell->killChance = DbInt(one, key, 0);
        else if (ElementIs(key, "sprite")) st.spell->animSprite = value;
    }
    e.kind = SpellEffectKindFromWord(typeWord.c_str());
}

// A radius outside 0..kMaxSpellRadius is brought to the nearer end, with a warning.
void BoundRadius(SpellParse& st) {
    Spell* s = st.spell;
    const int32_t bounded = std::clamp(s->radius, 0, kMaxSpellRadius);
    if (bounded == s->radius) return;
    st.db.Warn(kLabel, "spell \"" + s->name + "\" has radius " + std::to_string(s->radius) + ", outside 0.." +
                           std::to_string(kMaxSpellRadius) + "; using " + std::to_string(bounded));
    s->radius = bounded;
}

void XMLCALL SpellStart(void* data, const XML_Char* el, const XML_Char** a) {
    SpellParse& st = *static_cast<SpellParse*>(data);
    if (ElementIs(el, "spell") || ElementIs(el, "weaponSkill")) {
        if (st.spell != nullptr) return;
        st.spell = new Spell();
        st.weaponSkill = ElementIs(el, "weaponSkill");
        ReadSpellAttributes(st.spell, a);
        BoundRadius(st);
        return;
    }
    if (ElementIs(el, "digglegod")) {
        DiggleGodList.push_back({DbString(a, "name", ""), DbString(a, "description", ""), DbString(a, "art", ""),
                                 DbString(a, "spell", "")});
        return;
    }
    if (ElementIs(el, "fountain")) {
        FountainTextList.push_back({DbString(a, "name", ""), DbString(a, "text", "")});
        return;
    }
    Spell* s = st.spell;
    if (s == nullptr) return;
    if (st.inBuff) {
        BuffChildElement(st, el, a);
        return;
    }
    if (ElementIs(el, "requirements")) {
        s->mp = DbInt(a, "mp", s->mp);
        s->hp = DbInt(a, "hp", s->hp);
        s->mincost = DbInt(a, "mincost", s->mincost);
        s->level = DbInt(a, "level", s->level);
        s->magPowBonus = DbFloat(a, "magPowBonus", s->magPowBonus);
        s->savvyBonus = DbFloat(a, "savvyBonus", s->savvyBonus);
    } else if (ElementIs(el, "buff")) {
        st.buff = Buff("Buff", "");
        st.inBuff = true;
        ReadBuffAttributes(st.buff, a);
    } else if (ElementIs(el, "description")) {
        s->description = DbString(a, "text", s->description);
        s->monsterText = DbString(a, "monsterText", s->monsterText);
    } else if (ElementIs(el, "anim")) {
        s->animSprite = DbString(a, "sprite", s->animSprite);
        s->animFrames = DbInt(a, "frames", s->animFrames);
        s->animFramerate = DbInt(a, "framerate", s->animFramerate);
        s->animFirstFrame = DbInt(a, "firstframe", s->animFirstFrame);
        s->animCenterEffect = DbInt(a, "centerEffect", s->animCenterEffect);
        s->sync = DbBool(a, "sync", s->sync);
        s->sfx = DbString(a, "sfx", s->sfx);
    } else if (ElementIs(el, "impact")) {
        s->impactSprite = DbString(a, "sprite", s->impactSprite);
        s->impactFrames = DbInt(a, "frames", s->impactFrames);
        s->impactFramerate = DbInt(a, "framerate", s->impactFramerate);
        s->impactCenterEffect = DbInt(a, "centerEffect", s->impactCenterEffect);
    } else if (ElementIs(el, "ai")) {
        s->aiHint = SpellAIHintFromWord(DbString(a, "hint", "").c_str());
    } else if (ElementIs(el, "effect")) {
        st.effect = SpellEffect();
        st.inEffect = true;
        ReadEffectAttributes(st, a);
    } else if (ElementIs(el, "option")) {
        if (st.inEffect) st.effect.options.push_back(DbString(a, "name", ""));
    }
    // "allow" and "scroll" are read and change nothing; other elements are ignored.
}

void XMLCALL SpellEnd(void* data, const XML_Char* el) {
    SpellParse& st = *static_cast<SpellParse*>(data);
    if (ElementIs(el, "buff")) {
        if (st.inBuff && st.spell != nullptr) st.spell->buffTemplates.push_back(st.buff);
        st.inBuff = false;
    } else if (ElementIs(el, "effect")) {
        if (st.inEffect && st.spell != nullptr) st.spell->effects.push_back(st.effect);
        st.inEffect = false;
    } else if (ElementIs(el, "spell") || ElementIs(el, "weaponSkill")) {
        // Only the element kind that opened the record closes it.
        if (st.spell == nullptr || st.weaponSkill != ElementIs(el, "weaponSkill")) return;
        (st.weaponSkill ? WeaponSkillList : SpellList).push_back(st.spell);
        st.spell = nullptr;
        st.inBuff = false;
        st.inEffect = false;
    }
}

// A record that a broken file left open never enters a list.
void FinishParse(SpellParse& st) {
    delete st.spell;
    st.spell = nullptr;
}

}  // namespace

int32_t SpellTargetTypeFromWord(const char* word) { return Lookup(kTargetWords, word, SpellTarget::Bad); }

int32_t SpellEffectKindFromWord(const char* word) { return Lookup(kEffectWords, word, kUnknownEffectKind); }

int32_t SpellAIHintFromWord(const char* word) {
    static const WordCode kHints[] = {{"self", 1}, {"corpse", 2}, {"mine", 3}, {"ally", 4}};
    return Lookup(kHints, word, 0);
}

const SpellEffect* Spell::EffectAt(int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= effects.size()) return nullptr;
    return &effects[static_cast<size_t>(index)];
}

void spellDBLoad(const char* file) {
    SpellParse st;
    ParseDatabaseFile(file, kLabel, SpellStart, SpellEnd, &st.db);
    FinishParse(st);
}

bool spellDBLoadFromText(const char* text, size_t length, const char* file) {
    SpellParse st;
    const bool ok = ParseDatabase(text, length, kLabel, file, SpellStart, SpellEnd, &st.db);
    FinishParse(st);
    return ok;
}

Spell* spellDBFindByName(const char* name) {
    if (name == nullptr) return nullptr;
    for (Spell* spell : SpellList) {
        if (spell != nullptr && spell->name == name) return spell;
    }
    return nullptr;
}

Spell* GetSpellByIndex(int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= SpellList.size()) return nullptr;
    return SpellList[static_cast<size_t>(index)];
}

void ResetSpellCooldowns() {
    for (Spell* spell : SpellList) {
        if (spell != nullptr) spell->cooldownCounter = 0;
    }
}

void ClearSpellTable() {
    for (Spell* spell : SpellList) delete spell;
    SpellList.clear();
    for (Spell* spell : WeaponSkillList) delete spell;
    WeaponSkillList.clear();
    DiggleGodList.clear();
    FountainTextList.clear();
}
