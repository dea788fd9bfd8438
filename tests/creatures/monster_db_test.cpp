// The monster, speech and maneuver-template databases.
#include "creatures/monster_db.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/tweak.h"
#include "creatures/maneuver.h"
#include "creatures/speech_db.h"
#include "creatures/spell.h"

namespace {

class MonsterDbTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearMonsterDB();
        ClearSpeechDB();
        ClearManeuverTemplates();
        ClearSpellTable();
        ClearTweakVals();
        const char* tweaks = "<tweakDB><tweak name=\"corpse time\" ival=\"20\" fval=\"20\"/></tweakDB>";
        LoadTweakValsFromBuffer(tweaks, std::strlen(tweaks));
    }
    void TearDown() override {
        ClearMonsterDB();
        ClearSpeechDB();
        ClearManeuverTemplates();
        ClearSpellTable();
        ClearTweakVals();
    }
    static bool LoadMonsters(const std::string& xml) { return monDBLoadFromText(xml.data(), xml.size(), "monDB.xml"); }
    static bool LoadTemplates(const std::string& xml) {
        return LoadManeuverTemplatesFromText(xml.data(), xml.size(), "manTemplateDB.xml");
    }
};

TEST_F(MonsterDbTest, ABareRecordGetsTheDefaults) {
    const std::string speech = "<speech><profile name=\"first\"/><profile name=\"second\"/></speech>";
    LoadSpeechDBFromText(speech.data(), speech.size(), "speech.xml");
    ASSERT_TRUE(LoadMonsters("<monDB><monster name=\"A\"/></monDB>"));
    ASSERT_EQ(MonsterTable.size(), 1u);
    const MonsterRecord& r = *MonsterTable[0];
    EXPECT_EQ(r.displayName, "A");
    EXPECT_EQ(r.parentName, "A");
    EXPECT_EQ(r.taxa, "Other");
    EXPECT_EQ(r.splat, "blood");
    EXPECT_EQ(r.aggressiveness, 7);
    EXPECT_EQ(r.spellPercentage, 5);
    EXPECT_EQ(r.span, 15);
    EXPECT_EQ(r.tiny, 1);
    EXPECT_EQ(r.corpseTimer, 20);
    EXPECT_TRUE(r.cancharm);
    EXPECT_TRUE(r.canstun);
    EXPECT_EQ(r.xpValue, 0);
    ASSERT_NE(r.speechProfile, nullptr);
    EXPECT_EQ(r.speechProfile->name, "first");
}

TEST_F(MonsterDbTest, NestedRecordsInheritWhatWasSetBeforeThem) {
    const std::string spells = "<spellDB><spell name=\"Zap\"/></spellDB>";
    spellDBLoadFromText(spells.data(), spells.size(), "spellDB.xml");
    ASSERT_TRUE(LoadMonsters(
        "<monDB><monster name=\"Parent\" displayName=\"Shown\" level=\"3\">"
        "<idleSprite right=\"r\" left=\"l\" up=\"u\" down=\"d\"/><damage slashing=\"4\"/>"
        "<resistances toxic=\"2\"/><stats numFig=\"2\" steal=\"5\"/><spell name=\"Zap\"/>"
        "<onhit spell=\"Zap\" onechancein=\"3\"/><ai aggressiveness=\"2\"/>"
        "  <monster name=\"Child\"><stats numWiz=\"1\"/></monster>"
        "<stats numRog=\"9\"/></monster></monDB>"));
    ASSERT_EQ(MonsterTable.size(), 2u);
    const MonsterRecord& child = *MonsterTable[0];
    const MonsterRecord& parent = *MonsterTable[1];
    EXPECT_EQ(child.name, "Child");
    EXPECT_EQ(child.displayName, "Child");
    EXPECT_EQ(child.parentName, "Parent");
    EXPECT_GT(child.recordIndex, parent.recordIndex);
    EXPECT_EQ(child.level, 3);
    EXPECT_EQ(child.idleSprite[1], "l");
    EXPECT_EQ(child.damage[1], 4);
    EXPECT_EQ(child.resistances[7], 2);
    EXPECT_EQ(child.numFig, 2);
    EXPECT_EQ(child.numWiz, 1);
    EXPECT_EQ(child.numRog, 0);  // set after the child opened
    EXPECT_EQ(child.steal, 5);
    EXPECT_EQ(child.aggressiveness, 2);
    EXPECT_TRUE(child.spells.empty());
    EXPECT_TRUE(child.onHitSpells.empty());
    EXPECT_EQ(parent.numWiz, 0);
    EXPECT_EQ(parent.numRog, 9);
    EXPECT_EQ(parent.spells.size(), 1u);
    ASSERT_EQ(parent.onHitSpells.size(), 1u);
    EXPECT_EQ(parent.onHitSpells[0].oneChanceIn, 3);
    EXPECT_EQ(monDBFindByDisplayName("Shown"), &parent);
}

TEST_F(MonsterDbTest, BadValuesAreIgnoredAndStayInBounds) {
    ASSERT_TRUE(LoadMonsters(
        "<monDB><monster name=\"B\" level=\"15\"><stats steal=\"3\"/><stats steal=\"-1\" zomby=\"-1\"/>"
        "<damage bogus=\"3\" crushing=\"2\"/><secondarybuff id=\"99\" amount=\"7\"/>"
        "<secondarybuff id=\"-1\" amount=\"7\"/><primarybuff id=\"6\" amount=\"7\"/>"
        "<primarybuff id=\"5\" amount=\"4\"/><secondarybuff id=\"23\" amount=\"6\"/>"
        "<spell name=\"Unknown\"/></monster></monDB>"));
    ASSERT_EQ(MonsterTable.size(), 1u);
    const MonsterRecord& r = *MonsterTable[0];
    EXPECT_EQ(r.steal, 3);
    EXPECT_EQ(r.zomby, 0);
    EXPECT_EQ(r.damage[0], 2);
    EXPECT_EQ(r.primaryBuffs[5], 4);
    EXPECT_EQ(r.secondaryBuffs[23], 6);
    for (int32_t i = 0; i < 5; ++i) EXPECT_EQ(r.primaryBuffs[i], 0);
    EXPECT_TRUE(r.spells.empty());
}

// A damage-type word that differs only in case is no damage type: it is reported and its
// value reaches no type, whichever order the two attributes come in.
TEST_F(MonsterDbTest, EachDamageWordGivesItsOwnValue) {
    struct Case {
        const char* element;
        const char* attributes;
        int32_t type;
        int32_t value;
    };
    const Case cases[] = {
        {"damage", "Crushing=\"5\" crushing=\"7\"", 0, 7},
        {"damage", "crushing=\"7\" Crushing=\"5\"", 0, 7},
        {"resistances", "TOXIC=\"9\" toxic=\"2\"", 7, 2},
        {"damage", "Slashing=\"3\"", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        ClearMonsterDB();
        testing::internal::CaptureStderr();
        ASSERT_TRUE(LoadMonsters(std::string("<monDB><monster name=\"W\"><") + c.element + " " + c.attributes +
                                 "/></monster></monDB>"));
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_NE(errors.find("unknown damage type"), std::string::npos) << errors;
        ASSERT_EQ(MonsterTable.size(), 1u);
        const MonsterRecord& r = *MonsterTable[0];
        const int32_t* table = std::string(c.element) == "damage" ? r.damage : r.resistances;
        EXPECT_EQ(table[c.type], c.value);
    }
}

TEST_F(MonsterDbTest, LookupsAndBrokenFiles) {
    EXPECT_EQ(monDBFindByName("X"), nullptr);
    EXPECT_EQ(monDBFindByDisplayName("X"), nullptr);
    ASSERT_TRUE(LoadMonsters("<monDB><monster name=\"X\" displayName=\"First\"/></monDB>"));
    ASSERT_TRUE(LoadMonsters("<monDB><monster name=\"X\" displayName=\"Second\"/></monDB>"));
    EXPECT_EQ(monDBFindByName("X")->displayName, "First");
    EXPECT_EQ(monDBFindByName("x"), nullptr);
    EXPECT_EQ(MonsterTable[1]->recordIndex, 1);
    // A broken file keeps the records that closed before the error and reports where.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadMonsters("<monDB><monster name=\"Y\"/><monster name=\"Z\">\n<oops></monDB>"));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("monDB.xml"), std::string::npos) << err;
    EXPECT_NE(err.find("line 2"), std::string::npos) << err;
    EXPECT_NE(monDBFindByName("Y"), nullptr);
    EXPECT_EQ(monDBFindByName("Z"), nullptr);
}

TEST_F(MonsterDbTest, SpeechProfilesKeepFileOrderAndKnownTypes) {
    const std::string xml =
        "<speech><speech type=\"insult\" text=\"stray\"/><profile name=\"P\">"
        "<speech type=\"insult\" text=\"a\"/><speech type=\"injured\" text=\"b\"/><speech type=\"dead\" text=\"c\"/>"
        "<speech type=\"other\" text=\"d\"/></profile><profile name=\"Q\"/></speech>";
    EXPECT_EQ(DefaultSpeechProfile(), nullptr);
    ASSERT_TRUE(LoadSpeechDBFromText(xml.data(), xml.size(), "speech.xml"));
    ASSERT_EQ(SpeechProfileList.size(), 2u);
    const SpeechProfile& p = *SpeechProfileList[0];
    EXPECT_EQ(p.insults, std::vector<std::string>{"a"});
    EXPECT_EQ(p.injured, std::vector<std::string>{"b"});
    EXPECT_EQ(p.dead, std::vector<std::string>{"c"});
    EXPECT_EQ(SpeechProfileList[1]->name, "Q");
    EXPECT_EQ(DefaultSpeechProfile(), &p);
}

TEST_F(MonsterDbTest, ManeuverRowsFillTheGrid) {
    ASSERT_TRUE(LoadTemplates(
        "<templates><template name=\"4\" width=\"3\" height=\"2\" art=\"a\" icon=\"i\" affectsPlayer=\"1\">"
        "<row text=\"#.@\"/><row text=\"@\"/><row text=\"###\"/></template>"
        "<template name=\"5\" width=\"2\" height=\"2\"/>"
        "<template name=\"4\" width=\"1\" height=\"1\"><row text=\"x@\"/></template>"
        "<template name=\"6\" width=\"100000\" height=\"100000\"><row text=\"#\"/></template></templates>"));
    ASSERT_EQ(ManeuverTemplateTable.size(), 4u);
    const ManeuverTemplate& t = *ManeuverTemplateTable[0];
    EXPECT_EQ(t.grid, (std::vector<uint8_t>{2, 0, 1, 1, 0, 0}));  // short row padded, surplus row ignored
    EXPECT_TRUE(t.hasWall);
    EXPECT_EQ(t.affectsPlayer, 1);
    EXPECT_EQ(t.art, "a");
    const ManeuverTemplate& empty = *ManeuverTemplateTable[1];
    EXPECT_EQ(empty.grid, (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_FALSE(empty.hasWall);
    EXPECT_EQ(FindManeuverTemplate(4), ManeuverTemplateTable[2]);  // the later one of a number
    EXPECT_EQ(ManeuverTemplateTable[2]->grid, std::vector<uint8_t>{0});
    EXPECT_EQ(ManeuverTemplateTable[3]->grid.size(), 0u);  // a grid that does not fit gets no cells
    EXPECT_EQ(FindManeuverTemplate(9), nullptr);
    EXPECT_NE(FindManeuverTemplate(-1), nullptr);
    ClearManeuverTemplates();
    EXPECT_EQ(FindManeuverTemplate(-1), nullptr);
}

}  // namespace
