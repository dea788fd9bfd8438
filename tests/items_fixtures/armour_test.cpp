#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/save_stream.h"
#include "core/text_db.h"
#include "creatures/buff.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/item_db.h"
#include "levels/level.h"

namespace {

const char kItems[] = R"(<itemdb>
  <power name="Embers" description="burns." spell="none"/>
  <item name="Mail"><armour type="chest" ac="4" resistbonus="2" dodgebonus="1"/><resistbuff toxic="3"/>
    <price amount="30"/></item>
  <item name="Band"><armour type="ring" level="2"/><price amount="60"/><description text="A band."/></item>
  <item name="Plain Band"><armour type="ring" randoms="0"/></item>
  <item name="Pendant"><armour type="neck"/></item>
  <item name="Buckler" overrideClassName="Civic Shield"><armour type="shield"/></item>
  <item name="Sleeve"><armour type="sleeve"/></item>
</itemdb>)";

const char kWords[] = R"(<textdb>
  <startPhoneme text="Vel"/><phoneme text="or"/><title text="Keeper"/><adjective text="Pale"/>
  <noun text="Moon" plural="Moons"/><quality text="dull"/><material text="bone"/><decor text="knots"/>
</textdb>)";

class ArmourTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearItemDB();
        ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
        ClearTextDB();
        LoadTextDBFromBuffer(kWords, sizeof kWords - 1, "test words");
        savedLevel_ = CurrentLevel;
        CurrentLevel = &level_;
        CSRand(3);
        MTSeed(3);
    }
    void TearDown() override {
        CurrentLevel = savedLevel_;
        ClearItemDB();
        ClearTextDB();
    }
    Level level_{0, 4};
    Level* savedLevel_ = nullptr;
};

TEST_F(ArmourTest, SlotsAndCategoryNames) {
    struct Case {
        const char* name;
        std::vector<int32_t> fits;
        const char* category;
    };
    const Case cases[] = {{"Mail", {0}, "Armor (Torso)"},          {"Band", {3, 4}, "Armor (Ring)"},
                          {"Pendant", {6}, "Armor (Amulet)"},      {"Buckler", {1, 2}, "Civic Shield"},
                          {"Sleeve", {}, "Armor"}};
    for (const Case& c : cases) {
        Armour piece(FindItemDefByName(c.name));
        for (int32_t slot = -1; slot <= 13; ++slot) {
            const bool expected = std::find(c.fits.begin(), c.fits.end(), slot) != c.fits.end();
            EXPECT_EQ(piece.FitsEquipSlot(slot), expected) << c.name << " slot " << slot;
        }
        EXPECT_EQ(piece.GetCategoryName(), c.category);
    }
    Armour mail(FindItemDefByName("Mail"));
    EXPECT_EQ(mail.armourValue, 4);
    EXPECT_EQ(mail.resistance[7], 3);
    EXPECT_EQ(mail.resistBonus, 2);
    EXPECT_FALSE(mail.IsArtifact());
    EXPECT_EQ(mail.GetValue(), 30);
}

TEST_F(ArmourTest, JewelleryWithRandomsBecomesAnArtifact) {
    Armour band(FindItemDefByName("Band"));
    Armour plain(FindItemDefByName("Plain Band"));
    Armour pendant(FindItemDefByName("Pendant"));
    EXPECT_TRUE(band.IsArtifact());
    EXPECT_TRUE(pendant.IsArtifact());
    EXPECT_FALSE(plain.IsArtifact());
    EXPECT_NE(band.GetItemName(), "Band");
    EXPECT_EQ(band.GetItemName(), band.artifactRecord.name);
    ASSERT_NE(band.artifactRecord.grantedBuff, nullptr);
    EXPECT_EQ(band.artifactRecord.grantedBuff->item, &band);
    // depth 4: power RandomInt(4) + 0..2 + 1 lies in 1..6
    EXPECT_GE(band.artifactRecord.power, 1);
    EXPECT_LE(band.artifactRecord.power, 6);
    EXPECT_GE(band.GetValue(), 60);
    EXPECT_EQ(band.GetTooltipDescription(), "A band.\n\n" + band.artifactRecord.text);
}

TEST_F(ArmourTest, JewelleryPowerCountsDepthTenOnALevelThatOverridesItsDepth) {
    // RandomInt(depth) + draw / 10923 + 1, the depth being 10 on a side dimension.
    struct Case {
        int32_t sideDimension;
        int32_t depth;
    };
    for (const Case& c : {Case{0, 4}, Case{1, 10}}) {
        level_.isSideDimension = c.sideDimension;
        int32_t highest = 0;
        for (uint32_t k = 0; k < 60; ++k) {
            const uint32_t seed = 1 + k * 65537u;  // first draws spread over the whole range
            CSRand(seed);
            int32_t expected = RandomInt(c.depth);
            expected += CRand() / 10923 + 1;
            CSRand(seed);
            Armour band(FindItemDefByName("Band"));
            ASSERT_TRUE(band.IsArtifact());
            EXPECT_EQ(band.artifactRecord.power, expected) << "seed " << seed << " depth " << c.depth;
            highest = std::max(highest, band.artifactRecord.power);
        }
        EXPECT_GT(highest, c.depth == 10 ? 6 : 0) << "a power only depth 10 reaches";
    }
    level_.isSideDimension = 0;
}

TEST_F(ArmourTest, AnArtifactPieceIsPricedFromItsBuffWithTheArmourMultiplier) {
    // Price 60; the bonuses count with their sign; (value + 250) x (1 + m) with an item power.
    struct Case {
        const char* what;
        int32_t primary;     // Sagacity
        int32_t secondary;   // Magic power
        int32_t damage;      // conflagratory
        int32_t resist;      // toxic
        bool power;
        int32_t price;
    };
    const Case cases[] = {
        {"+1 Sagacity", 1, 0, 0, 0, false, 273},           // 210 x 1.3
        {"+1 Sagacity with a power", 1, 0, 0, 0, true, 1058},  // 460 x 2.3
        {"+2 magic power, -1 resistance", 0, 2, 0, -1, false, 231},  // 210 x 1.1
        {"+2 fire damage", 0, 0, 2, 0, false, 390},        // 260 x 1.5
        {"+3 resistance", 0, 0, 0, 3, false, 273},         // 210 x 1.3
        {"-1 Sagacity", -1, 0, 0, 0, false, 0},            // never below nothing
        {"no bonus", 0, 0, 0, 0, false, 60},
    };
    for (const Case& c : cases) {
        Armour band(FindItemDefByName("Band"));
        ASSERT_TRUE(band.IsArtifact());
        Buff* buff = band.artifactRecord.grantedBuff.get();
        ASSERT_NE(buff, nullptr);
        std::fill(std::begin(buff->primaryMods), std::end(buff->primaryMods), 0);
        std::fill(std::begin(buff->secondaryMods), std::end(buff->secondaryMods), 0);
        std::fill(std::begin(buff->damage), std::end(buff->damage), 0);
        std::fill(std::begin(buff->resist), std::end(buff->resist), 0);
        buff->primaryMods[1] = c.primary;
        buff->secondaryMods[3] = c.secondary;
        buff->damage[4] = c.damage;
        buff->resist[7] = c.resist;
        band.artifactRecord.firstPower = c.power ? FindItemPowerByName("Embers") : nullptr;
        EXPECT_EQ(band.GetValue(), c.price) << c.what;
    }
}

TEST_F(ArmourTest, ARingArtifactRoundTripsByteExact) {
    Armour band(FindItemDefByName("Band"));
    band.artifactRecord.firstPower = FindItemPowerByName("Embers");
    SaveWriter out;
    ASSERT_TRUE(band.Save(out));
    SaveReader in(out.Buffer());
    Armour back(in);
    ASSERT_FALSE(in.Failed());
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_TRUE(back.IsArtifact());
    EXPECT_EQ(back.GetItemName(), band.GetItemName());
    EXPECT_EQ(back.artifactRecord.firstPower, FindItemPowerByName("Embers"));
    ASSERT_NE(back.artifactRecord.grantedBuff, nullptr);
    EXPECT_EQ(back.artifactRecord.grantedBuff->name, band.artifactRecord.title);
    EXPECT_EQ(back.artifactRecord.grantedBuff->item, &back);
    SaveWriter again;
    ASSERT_TRUE(back.Save(again));
    EXPECT_EQ(again.Buffer(), out.Buffer());
}

TEST_F(ArmourTest, OldSavesNameTheDefinitionById) {
    Armour mail(FindItemDefByName("Mail"));
    SaveWriter out;
    out.version = SaveVersion{1, 0, 2};
    mail.Item::Save(out);
    out.WriteInt32(FindItemDefByName("Mail")->index);
    const int32_t zeros[16] = {};
    out.WriteDamageArray(zeros);
    out.WriteBool(0);
    SaveReader in(out.Buffer());
    in.version = SaveVersion{1, 0, 2};
    testing::internal::CaptureStdout();
    Armour back(in);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "read armour subtype " + std::to_string(mail.def->index) + "\n");
    EXPECT_EQ(back.def, mail.def);
    EXPECT_EQ(back.resistance[7], 3);  // the definition's, whatever was saved
}

}  // namespace
