#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/save_stream.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "items_fixtures/artifact.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/weapon.h"

namespace {

const char kItems[] = R"(<itemdb>
  <power name="Embers" description="burns." spell="none"/>
  <power name="Frost" description="chills." spell="none"/>
  <item name="Blade" type="0"><weapon level="2" slashing="5"/><resistbuff toxic="2"/><price amount="40"/>
    <description text="Sharp."/></item>
  <item name="Old Maul" type="2" artifact="1"><artifact quality="4"/><weapon level="9" crushing="9"/></item>
  <item name="Bolts" type="6" maxstack="30"><weapon level="0" piercing="2"/></item>
  <item name="Arbalest" type="4"><weapon level="3"/></item>
</itemdb>)";

const char kWords[] = R"(<textdb>
  <startPhoneme text="Kor"/><phoneme text="ath"/><title text="Bane"/><adjective text="Grim"/>
  <noun text="Wolf" plural="Wolves"/><quality text="gleaming"/><material text="jet"/><decor text="runes"/>
</textdb>)";

class WeaponTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearItemDB();
        ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
        ClearTextDB();
        LoadTextDBFromBuffer(kWords, sizeof kWords - 1, "test words");
        const std::string tweaks = "<tweakDB><tweak name=\"item power granting chance\" ival=\"1\" fval=\"1\"/></tweakDB>";
        LoadTweakValsFromBuffer(tweaks.data(), tweaks.size());
        CSRand(7);
        MTSeed(7);
    }
    void TearDown() override {
        ClearItemDB();
        ClearTextDB();
        ClearTweakVals();
    }
};

TEST_F(WeaponTest, KindsFitTheirSlots) {
    Weapon blade(FindItemDefByName("Blade"));
    Weapon bolts(FindItemDefByName("Bolts"));
    Weapon crossbow(FindItemDefByName("Arbalest"));
    EXPECT_TRUE(blade.FitsEquipSlot(1));
    EXPECT_TRUE(blade.FitsEquipSlot(2));
    EXPECT_FALSE(blade.FitsEquipSlot(8));
    EXPECT_TRUE(crossbow.FitsEquipSlot(8));
    EXPECT_FALSE(crossbow.FitsEquipSlot(1));
    for (int32_t slot = 0; slot < 12; ++slot) EXPECT_FALSE(bolts.FitsEquipSlot(slot));
    EXPECT_EQ(bolts.stackable, 1);
    EXPECT_EQ(blade.stackable, 0);
    EXPECT_EQ(blade.damage[1], 5);
    EXPECT_EQ(blade.resist[7], 2);
    EXPECT_EQ(blade.GetCategoryName(), "Sword Class Weapon");
    EXPECT_EQ(bolts.GetCategoryName(), "Ammunition");
}

TEST_F(WeaponTest, ResistancesAreReadFrom1_0_10AndTakenFromTheDefinitionBefore) {
    Weapon blade(FindItemDefByName("Blade"));
    blade.resist[7] = 9;
    blade.damage[1] = 6;
    for (const SaveVersion version : {kSaveV1_0_10, SaveVersion{1, 0, 9}}) {
        SaveWriter out;
        out.version = version;
        ASSERT_TRUE(blade.Save(out));
        SaveReader in(out.Buffer());
        in.version = version;
        Weapon back(in);
        EXPECT_FALSE(in.Failed());
        EXPECT_EQ(in.Remaining(), 0u);
        EXPECT_EQ(back.def, blade.def);
        EXPECT_EQ(back.damage[1], 6);
        EXPECT_EQ(back.resist[7], version.AtLeast(kSaveV1_0_10) ? 9 : 2);
    }
}

TEST_F(WeaponTest, TheUberChestBonusStrikesAsDamageAndIsSavedInItsDamageWord) {
    struct Case {
        int32_t which;
        int32_t kind;  // the damage word that changes, or -1 for none
    };
    const Case cases[] = {{0, kDamageRighteous}, {1, kDamageAethereal}, {2, -1}, {-1, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.which);
        Weapon plain(FindItemDefByName("Blade"));
        Weapon blessed(FindItemDefByName("Blade"));
        blessed.AddChestBonus(c.which, 8);
        blessed.AddChestBonus(c.which, 4);  // a second bonus adds up
        SaveWriter plainOut;
        ASSERT_TRUE(plain.Save(plainOut));
        SaveWriter out;
        ASSERT_TRUE(blessed.Save(out));
        const std::vector<uint8_t> before = plainOut.Buffer();
        const std::vector<uint8_t> bytes = out.Buffer();
        ASSERT_EQ(bytes.size(), before.size());  // the record keeps its layout
        // The damage words follow the definition's name.
        const std::string name = "Blade";
        const auto at = std::search(bytes.begin(), bytes.end(), name.begin(), name.end());
        ASSERT_NE(at, bytes.end());
        const size_t damageStart = static_cast<size_t>(at - bytes.begin()) + name.size();
        for (size_t i = 0; i < bytes.size(); ++i) {
            const bool inBonusWord = c.kind >= 0 && i >= damageStart + 4 * static_cast<size_t>(c.kind) &&
                                     i < damageStart + 4 * static_cast<size_t>(c.kind) + 4;
            if (!inBonusWord) {
                EXPECT_EQ(bytes[i], before[i]) << "byte " << i;
            }
        }
        SaveReader in(bytes);
        Weapon back(in);
        ASSERT_FALSE(in.Failed());
        EXPECT_EQ(in.Remaining(), 0u);
        for (int32_t t = 0; t < kDamageTypeCount; ++t) {
            EXPECT_EQ(back.damage[t], plain.damage[t] + (t == c.kind ? 12 : 0)) << "damage kind " << t;
        }
    }
}

TEST_F(WeaponTest, AnArtifactWeaponRoundTripsByteExact) {
    Weapon blade(FindItemDefByName("Blade"));
    GenerateArtifact(&blade.artifactRecord, 5, &blade);
    blade.isArtifact = true;
    AddArtifactPowers(&blade.artifactRecord, 1, &blade);  // the chance tweak of 1 always grants
    ASSERT_NE(blade.artifactRecord.firstPower, nullptr);
    SaveWriter out;
    ASSERT_TRUE(blade.Save(out));
    SaveReader in(out.Buffer());
    Weapon back(in);
    ASSERT_FALSE(in.Failed());
    EXPECT_TRUE(back.IsArtifact());
    EXPECT_EQ(back.artifactRecord.name, blade.artifactRecord.name);
    EXPECT_EQ(back.artifactRecord.firstPower, blade.artifactRecord.firstPower);
    EXPECT_EQ(back.artifactRecord.secondPower, nullptr);
    ASSERT_NE(back.artifactRecord.grantedBuff, nullptr);
    EXPECT_EQ(back.artifactRecord.grantedBuff->item, &back);
    SaveWriter again;
    ASSERT_TRUE(back.Save(again));
    EXPECT_EQ(again.Buffer(), out.Buffer());
    EXPECT_EQ(back.GetItemName(), blade.artifactRecord.name);
}

TEST_F(WeaponTest, ArtifactTextsGrowWithPower) {
    struct Case {
        int32_t power;
        const char* prefix;
        bool decorated;
    };
    const Case cases[] = {{1, "It is studded with jet", false},
                          {3, "It is studded with gleaming jet", false},
                          {5, "It is studded with gleaming jet and is decorated with gleaming runes", true},
                          {7, "It is studded with gleaming jet and is decorated with gleaming runes", true}};
    for (const Case& c : cases) {
        Weapon blade(FindItemDefByName("Blade"));
        ArtifactRecord record;
        GenerateArtifact(&record, c.power, &blade);
        EXPECT_EQ(record.text.compare(0, std::strlen(c.prefix), c.prefix), 0) << c.power << ": " << record.text;
        EXPECT_EQ(record.text.substr(record.text.size() - 3), ".\n\n");
        if (c.power < 7) {
            EXPECT_EQ(record.text, std::string(c.prefix) + ".\n\n");
        } else {
            EXPECT_TRUE(record.text == std::string(c.prefix) + ".\n\n" ||
                        record.text == std::string(c.prefix) + " and gleaming runes.\n\n")
                << record.text;
        }
        EXPECT_EQ(record.power, c.power);
        EXPECT_EQ(record.title, record.name);
        EXPECT_NE(record.name.find(", the "), std::string::npos);
        EXPECT_EQ(record.grantedBuff->description, "Sharp. " + record.text);
    }
}

TEST_F(WeaponTest, APredefinedArtifactKeepsItsNameAndQuality) {
    Weapon maul(FindItemDefByName("Old Maul"));
    GenerateArtifact(&maul.artifactRecord, 1, &maul);
    maul.isArtifact = true;
    EXPECT_EQ(maul.artifactRecord.name, "Old Maul");
    EXPECT_EQ(maul.artifactRecord.power, 4);
    EXPECT_EQ(maul.GetItemName(), "Old Maul");
}

TEST_F(WeaponTest, GeneratingTwiceKeepsOneBuff) {
    ArtifactRecord record;
    Weapon blade(FindItemDefByName("Blade"));
    GenerateArtifact(&record, 3, &blade);
    const Buff* first = record.grantedBuff.get();
    ASSERT_NE(first, nullptr);
    GenerateArtifact(&record, 3, &blade);
    ASSERT_NE(record.grantedBuff, nullptr);  // the first was replaced (LSan reports a leak otherwise)
}

TEST_F(WeaponTest, PowersAreGrantedOnceAndNamedInTheText) {
    Weapon blade(FindItemDefByName("Blade"));
    ArtifactRecord record;
    GenerateArtifact(&record, 2, &blade);
    EXPECT_EQ(record.firstPower, nullptr);  // generation alone grants none
    EXPECT_TRUE(AddArtifactPowers(&record, 1, &blade));
    ItemPowerRecord* granted = record.firstPower;
    ASSERT_NE(granted, nullptr);
    EXPECT_FALSE(AddArtifactPowers(&record, 1, &blade));
    EXPECT_EQ(record.firstPower, granted);
    const int32_t chance = record.grantedBuff->targetHitEffect.percentage;
    EXPECT_TRUE(chance == 35 || chance == 15);
    EXPECT_EQ(GetArtifactPowerText(record), "It " + granted->description + " ");
    record.grantedBuff->targetHitEffect.percentage = 50;
    EXPECT_EQ(GetArtifactPowerText(record), "It sometimes " + granted->description + " ");
}

TEST_F(WeaponTest, CursesNeverLeaveNegativeDamageAndValuesStayPositive) {
    Weapon blade(FindItemDefByName("Blade"));
    GenerateArtifact(&blade.artifactRecord, 1, &blade);
    blade.isArtifact = true;
    CurseArtifactPowers(&blade.artifactRecord, 40, &blade, true);
    for (int32_t v : blade.artifactRecord.grantedBuff->damage) EXPECT_GE(v, 0);
    EXPECT_EQ(blade.artifactRecord.curseCount, 1);
    EXPECT_GE(blade.GetValue(), 0);
    Weapon plain(FindItemDefByName("Blade"));
    EXPECT_EQ(plain.GetValue(), 40);
}

}  // namespace
