#include "creatures/buff.h"

#include "creatures/icon_art.h"
#include "creatures/spell.h"

void CopyableBob::CopyState(const CopyableBob& other) {
    x = other.x;
    y = other.y;
    playing = other.playing;
    loop = other.loop;
    finished = other.finished;
    deleteWhenDone = other.deleteWhenDone;
    locked = other.locked;
    centreVertically = other.centreVertically;
    frame = other.frame;
    frameTimer = other.frameTimer;
    sprite = other.sprite;
    highlight = other.highlight;
}

namespace {

// Fields that a stream of version 1.0.p and later holds.
bool From(const SaveVersion& version, int32_t patch) { return version.AtLeast(1, 0, patch); }

// How many secondary modifiers a stream of this version holds.
int32_t SecondaryModCount(const SaveVersion& version) {
    if (From(version, 8)) return kSecondaryStatCount;
    if (From(version, 7)) return 23;
    return 22;
}

bool WriteSpellRef(SaveWriter& out, const Spell* spell) {
    if (spell == nullptr) return out.WriteByte(0);
    bool ok = out.WriteByte(1);
    return out.WriteString(spell->name) && ok;
}

Spell* ReadSpellRef(SaveReader& in) {
    if (in.ReadByte() == 0) return nullptr;
    const std::string name = in.ReadString();
    return spellDBFindByName(name.c_str());
}

bool WriteHook(SaveWriter& out, const BuffHook& hook, bool withTaxa) {
    bool ok = WriteSpellRef(out, hook.spell);
    ok = out.WriteInt32(hook.percentage) && ok;
    if (withTaxa) ok = out.WriteString(hook.taxa) && ok;
    return ok;
}

void ReadHook(SaveReader& in, BuffHook& hook, bool withTaxa) {
    hook.spell = ReadSpellRef(in);
    hook.percentage = in.ReadInt32();
    if (withTaxa) hook.taxa = in.ReadString();
}

}  // namespace

Buff::Buff(const std::string& buffName, const std::string& iconFile) : name(buffName), icon(iconFile) {
    LoadIconSprites();
}

Buff::~Buff() = default;

void Buff::LoadIconSprites() {
    iconSprite = icon.empty() ? nullptr : LoadIconSprite(icon, icon, IconLoad::BuffIcon);
    smallIconSprite = smallIcon.empty() ? nullptr : LoadIconSprite(smallIcon, smallIcon, IconLoad::BuffIcon);
}

bool Buff::Write(SaveWriter& out) const {
    const SaveVersion& v = out.version;
    bool ok = true;
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) ok = out.WriteInt32(primaryMods[i]) && ok;
    const int32_t secondaries = SecondaryModCount(v);
    for (int32_t i = 0; i < secondaries; ++i) ok = out.WriteInt32(secondaryMods[i]) && ok;
    if (!From(v, 7)) {
        for (int32_t i = 0; i < 34; ++i) ok = out.WriteInt32(0) && ok;
    }
    ok = out.WriteBool(fromItem) && ok;
    ok = out.WriteBool(hideTurns) && ok;
    ok = out.WriteBool(usesTimer) && ok;
    ok = out.WriteBool(bad) && ok;
    ok = out.WriteBool(expired) && ok;
    ok = out.WriteBool(removable) && ok;
    const bool taxa = From(v, 8);
    ok = WriteHook(out, targetHitEffect, taxa) && ok;
    if (From(v, 10)) ok = out.WriteBool(targetHitAfter) && ok;
    ok = WriteHook(out, playerHitEffect, taxa) && ok;
    if (From(v, 8)) {
        for (const BuffHook* hook : {&targetKill, &thrown, &crossbowShot}) ok = WriteHook(out, *hook, true) && ok;
    }
    if (From(v, 10)) {
        for (const BuffHook* hook : {&foodHook, &boozeHook, &consumableHook, &dodgeHook, &blockHook, &counterHook,
                                     &criticalHook}) {
            ok = WriteHook(out, *hook, true) && ok;
        }
    }
    ok = out.WriteBool(usesTimer) && ok;
    ok = out.WriteBool(expired) && ok;
    ok = out.WriteInt32(multiBuff) && ok;
    ok = out.WriteBool(applyToPlayer) && ok;
    ok = out.WriteBool(frozenTimer) && ok;
    ok = out.WriteBool(isArtifactBuff) && ok;
    ok = out.WriteBool(allowStacking) && ok;
    ok = out.WriteInt32(stackSize) && ok;
    ok = out.WriteInt32(brittle) && ok;
    ok = out.WriteInt32(attacks) && ok;
    ok = out.WriteInt32(manaUpkeep) && ok;
    ok = out.WriteInt32(upkeepCounter) && ok;
    ok = out.WriteString(name) && ok;
    ok = out.WriteString(description) && ok;
    ok = out.WriteString(gameplayText) && ok;
    ok = out.WriteBool(invisible) && ok;
    ok = out.WriteBool(extraFlag2) && ok;
    // Kept as a bool word although the field is a number.
    ok = out.WriteBool(destroyOnMove) && ok;
    ok = out.WriteDamageArray(damage) && ok;
    ok = out.WriteDamageArray(resist) && ok;
    ok = out.WriteBool(self) && ok;
    ok = out.WriteString(extraText) && ok;
    ok = out.WriteInt32(turnsLeft) && ok;
    ok = out.WriteInt32(displayCount) && ok;
    ok = out.WriteString(icon) && ok;
    ok = out.WriteString(smallIcon) && ok;
    if (From(v, 6)) ok = out.WriteBool(extraFlag) && ok;
    if (From(v, 7)) ok = out.WriteBool(mute) && ok;
    if (From(v, 8)) {
        ok = out.WriteBool(isPolymorph) && ok;
        ok = out.WriteString(polymorphName) && ok;
        ok = out.WriteBool(digglegod) && ok;
    }
    return ok;
}

Buff::Buff(SaveReader& in) {
    const SaveVersion v = in.version;
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) primaryMods[i] = in.ReadInt32();
    const int32_t secondaries = SecondaryModCount(v);
    for (int32_t i = 0; i < secondaries; ++i) secondaryMods[i] = in.ReadInt32();
    if (!From(v, 7)) {
        for (int32_t i = 0; i < 34; ++i) in.ReadInt32();
    }
    fromItem = in.ReadBool();
    hideTurns = in.ReadBool();
    usesTimer = in.ReadBool();
    bad = in.ReadBool();
    expired = in.ReadBool();
    removable = in.ReadBool();
    const bool taxa = From(v, 8);
    ReadHook(in, targetHitEffect, taxa);
    if (From(v, 10)) targetHitAfter = in.ReadBool();
    ReadHook(in, playerHitEffect, taxa);
    if (From(v, 8)) {
        for (BuffHook* hook : {&targetKill, &thrown, &crossbowShot}) ReadHook(in, *hook, true);
    }
    if (From(v, 10)) {
        for (BuffHook* hook : {&foodHook, &boozeHook, &consumableHook, &dodgeHook, &blockHook, &counterHook,
                               &criticalHook}) {
            ReadHook(in, *hook, true);
        }
    }
    // The second copies of these two are the ones that count.
    usesTimer = in.ReadBool();
    expired = in.ReadBool();
    multiBuff = in.ReadInt32();
    applyToPlayer = in.ReadBool();
    frozenTimer = in.ReadBool();
    isArtifactBuff = in.ReadBool();
    allowStacking = in.ReadBool();
    stackSize = in.ReadInt32();
    brittle = in.ReadInt32();
    attacks = in.ReadInt32();
    manaUpkeep = in.ReadInt32();
    upkeepCounter = in.ReadInt32();
    name = in.ReadString();
    description = in.ReadString();
    gameplayText = in.ReadString();
    invisible = in.ReadBool();
    extraFlag2 = in.ReadBool();
    destroyOnMove = in.ReadBool() ? 1 : 0;
    in.ReadDamageArray(damage);
    in.ReadDamageArray(resist);
    self = in.ReadBool();
    extraText = in.ReadString();
    turnsLeft = in.ReadInt32();
    displayCount = in.ReadInt32();
    icon = in.ReadString();
    smallIcon = in.ReadString();
    if (From(v, 6)) extraFlag = in.ReadBool();
    if (From(v, 7)) mute = in.ReadBool();
    if (From(v, 8)) {
        isPolymorph = in.ReadBool();
        polymorphName = in.ReadString();
        digglegod = in.ReadBool();
    }
    if (!in.Failed()) LoadIconSprites();
}

bool SameBuffKind(const Buff& a, const Buff& b) {
    return a.name == b.name && a.icon == b.icon;
}
