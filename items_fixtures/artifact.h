#pragma once
// Artifacts: the generated name, text and bonuses an artifact weapon or armour piece carries.
// The bonuses live in one Buff the record owns; it goes onto the hero while the item is worn.
#include <cstdint>
#include <memory>
#include <string>

#include "creatures/buff.h"
#include "creatures/damage_type.h"

class Item;
class SaveReader;
class SaveWriter;
struct ItemPowerRecord;

struct ArtifactRecord {
    ArtifactRecord() = default;
    ArtifactRecord(const ArtifactRecord& other);
    ArtifactRecord& operator=(const ArtifactRecord& other);

    std::string name;
    std::string title;  // given to the granted buff
    std::string text;
    std::string extraText;
    int32_t anvilPower = 0;
    int32_t power = 0;
    int32_t curseCount = 0;
    std::unique_ptr<Buff> grantedBuff;
    int32_t statTally[kSecondaryStatCount] = {};
    int32_t primaryTally[kPrimaryStatCount] = {};
    int32_t damageTally[kDamageTypeCount] = {};
    int32_t resistanceTally[kDamageTypeCount] = {};
    ItemPowerRecord* firstPower = nullptr;
    ItemPowerRecord* secondPower = nullptr;
    int32_t reserved = 4000;

    // name, title, text, anvilPower, power, curseCount, then a presence byte and the buff,
    // and a presence byte and the name of each power.
    bool Write(SaveWriter& out) const;
    bool Read(SaveReader& in);
};

std::string GenerateArtifactName();
// Fills the record of a new artifact of the given power for the item (a predefined artifact
// keeps its own name and quality). A buff granted before is replaced.
void GenerateArtifact(ArtifactRecord* record, int32_t power, Item* item);
// Adds power points; true when an item power was granted to a weapon.
bool AddArtifactPowers(ArtifactRecord* record, int32_t points, Item* item);
void CurseArtifactPowers(ArtifactRecord* record, int32_t points, Item* item, bool tally);
// "It <power description> " for each granted power.
std::string GetArtifactPowerText(const ArtifactRecord& record);
