#include "items_fixtures/artifact.h"

#include "core/random.h"
#include "core/save_stream.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/weapon.h"

ArtifactRecord::ArtifactRecord(const ArtifactRecord& other) {
    *this = other;
}

ArtifactRecord& ArtifactRecord::operator=(const ArtifactRecord& other) {
    if (this == &other) return *this;
    name = other.name;
    title = other.title;
    text = other.text;
    extraText = other.extraText;
    anvilPower = other.anvilPower;
    power = other.power;
    curseCount = other.curseCount;
    grantedBuff.reset(other.grantedBuff != nullptr ? new Buff(*other.grantedBuff) : nullptr);
    std::copy(std::begin(other.statTally), std::end(other.statTally), statTally);
    std::copy(std::begin(other.primaryTally), std::end(other.primaryTally), primaryTally);
    std::copy(std::begin(other.damageTally), std::end(other.damageTally), damageTally);
    std::copy(std::begin(other.resistanceTally), std::end(other.resistanceTally), resistanceTally);
    firstPower = other.firstPower;
    secondPower = other.secondPower;
    reserved = other.reserved;
    return *this;
}

namespace {

bool WritePower(SaveWriter& out, const ItemPowerRecord* power) {
    if (power == nullptr) return out.WriteByte(0);
    bool ok = out.WriteByte(1);
    return out.WriteString(power->name) && ok;
}

// The last power of that exact name, or null.
ItemPowerRecord* ReadPower(SaveReader& in) {
    if (in.ReadByte() == 0) return nullptr;
    const std::string powerName = in.ReadString();
    ItemPowerRecord* found = nullptr;
    for (ItemPowerRecord* power : ItemDefLists.powers) {
        if (power->name == powerName) found = power;
    }
    return found;
}

std::string Word(const std::vector<std::string>& list) {
    return PickRandomWord(list);
}

// Changes one bonus up to three times, each on a fair coin, one point each; or once, free.
void SpendPowerPoints(ArtifactRecord& record, int32_t points, Item* item, int32_t sign, bool tally) {
    Buff& buff = *record.grantedBuff;
    while (points > 0) {
        const int32_t r = CRand() / 400;
        int32_t* value = nullptr;
        int32_t* tallyEntry = nullptr;
        int32_t* weaponDamage = nullptr;
        if (r <= 15) {
            value = &buff.damage[r];
            tallyEntry = &record.damageTally[r];
            Weapon* weapon = dynamic_cast<Weapon*>(item);
            if (sign > 0 && weapon != nullptr) weaponDamage = &weapon->damage[r];
        } else if (r <= 31) {
            value = &buff.resist[r - 16];
            tallyEntry = &record.resistanceTally[r - 16];
        } else if (r <= 69) {
            const int32_t k = r <= 50 ? r - 32 : r - 51;
            value = &buff.secondaryMods[k];
            tallyEntry = &record.statTally[k];
        } else if (r <= 75) {
            value = &buff.primaryMods[r - 70];
            tallyEntry = &record.primaryTally[r - 70];
        } else {
            buff.primaryMods[r - 76] += sign;
            if (tally) ++record.primaryTally[r - 76];
            continue;
        }
        for (int32_t attempt = 0; attempt < 3 && points >= 1; ++attempt) {
            if (!MTOneChanceIn(2)) continue;
            *value += sign;
            if (weaponDamage != nullptr) ++*weaponDamage;
            if (tally) ++*tallyEntry;
            --points;
        }
    }
}

}  // namespace

bool ArtifactRecord::Write(SaveWriter& out) const {
    bool ok = out.WriteString(name);
    ok = out.WriteString(title) && ok;
    ok = out.WriteString(text) && ok;
    ok = out.WriteInt32(anvilPower) && ok;
    ok = out.WriteInt32(power) && ok;
    ok = out.WriteInt32(curseCount) && ok;
    ok = out.WriteByte(grantedBuff != nullptr ? 1 : 0) && ok;
    if (grantedBuff != nullptr) ok = grantedBuff->Write(out) && ok;
    ok = WritePower(out, firstPower) && ok;
    ok = WritePower(out, secondPower) && ok;
    return ok;
}

bool ArtifactRecord::Read(SaveReader& in) {
    name = in.ReadString();
    title = in.ReadString();
    text = in.ReadString();
    anvilPower = in.ReadInt32();
    power = in.ReadInt32();
    curseCount = in.ReadInt32();
    grantedBuff.reset(in.ReadByte() != 0 ? new Buff(in) : nullptr);
    firstPower = ReadPower(in);
    secondPower = ReadPower(in);
    return !in.Failed();
}

std::string GenerateArtifactName() {
    const TextDB& words = GetTextDB();
    std::string result = Word(words.startPhonemes) + Word(words.phonemes);
    if (MTOneChanceIn(2)) result += Word(words.phonemes);
    result += ", the ";
    if (MTOneChanceIn(2)) {
        result += Word(words.titles) + " ";
        if (!words.nounPlurals.empty()) {
            const size_t n = static_cast<size_t>(RandomInt(static_cast<int32_t>(words.nouns.size())));
            result += n < words.nounPlurals.size() ? words.nounPlurals[n] : std::string();
        }
    } else {
        result += Word(words.adjectives) + " " + Word(words.nouns);
    }
    return result;
}

void GenerateArtifact(ArtifactRecord* record, int32_t power, Item* item) {
    if (record == nullptr) return;
    const TextDB& words = GetTextDB();
    record->anvilPower = 0;
    record->name = GenerateArtifactName();
    const ItemDef* def = item != nullptr ? item->def : nullptr;
    if (def != nullptr && def->artifact) {
        record->name = def->name;
        power = def->quality;
    }
    record->title = record->name;
    record->text = "It is studded with ";
    if (power > 2) record->text += Word(words.qualities) + " ";
    record->text += Word(words.materials);
    if (power > 4) record->text += " and is decorated with " + Word(words.qualities) + " " + Word(words.decor);
    record->grantedBuff.reset(new Buff("", ""));
    record->grantedBuff->name = record->title;
    record->grantedBuff->fromItem = true;
    record->grantedBuff->isArtifactBuff = true;
    record->grantedBuff->frozenTimer = true;
    record->grantedBuff->item = item;
    if (MTOneChanceIn(2) && power >= 7) {
        record->text += " and " + Word(words.qualities) + " " + Word(words.decor);
    }
    record->text += ".\n\n";
    record->grantedBuff->description = (def != nullptr ? def->description : std::string()) + " " + record->text;
    record->power = power;
    SpendPowerPoints(*record, power, item, 1, false);
}

bool AddArtifactPowers(ArtifactRecord* record, int32_t points, Item* item) {
    if (record == nullptr || record->grantedBuff == nullptr) return false;
    record->power += points;
    SpendPowerPoints(*record, points, item, 1, false);
    const int32_t chance = GetTweakInt("item power granting chance");
    if (!MTOneChanceIn(static_cast<uint32_t>(chance < 1 ? 1 : chance))) return false;
    if (record->firstPower != nullptr || item == nullptr || item->type != kItemWeapon) return false;
    if (ItemDefLists.powers.empty()) return false;
    record->firstPower = ItemDefLists.powers[static_cast<size_t>(RandomInt(static_cast<int32_t>(ItemDefLists.powers.size())))];
    BuffHook& hook = record->grantedBuff->targetHitEffect;
    hook.spell = record->firstPower->spell;
    hook.percentage = MTOneChanceIn(2) ? 35 : 15;
    record->grantedBuff->extraFlag = item->def != nullptr && item->def->itemClass == kWeaponCrossbow;
    return true;
}

void CurseArtifactPowers(ArtifactRecord* record, int32_t points, Item* item, bool tally) {
    if (record == nullptr || record->grantedBuff == nullptr) return;
    ++record->curseCount;
    SpendPowerPoints(*record, points, item, -1, tally);
    for (int32_t& value : record->grantedBuff->damage) {
        if (value < 0) value = 0;
    }
}

std::string GetArtifactPowerText(const ArtifactRecord& record) {
    std::string result;
    if (record.firstPower != nullptr) {
        const int32_t chance = record.grantedBuff != nullptr ? record.grantedBuff->targetHitEffect.percentage : 0;
        result += "It ";
        if (chance == 50) result += "sometimes ";
        else if (chance == 25) result += "occasionally ";
        result += record.firstPower->description + " ";
    }
    if (record.secondPower != nullptr) result += "It " + record.secondPower->description + " ";
    return result;
}
