// The buff record and its save format over the versions of the save stream.
#include "creatures/buff.h"

#include <gtest/gtest.h>

#include "creatures/spell.h"

namespace {

class BuffTest : public testing::Test {
protected:
    void SetUp() override { ClearSpellTable(); }
    void TearDown() override { ClearSpellTable(); }
    Spell* AddSpell(const char* name) {
        Spell* spell = new Spell();
        spell->name = name;
        SpellList.push_back(spell);
        return spell;
    }
};

// Writes the hand-made words of a stream.
struct Stream {
    SaveWriter out;
    void Words(std::initializer_list<int32_t> words) {
        for (int32_t w : words) out.WriteInt32(w);
    }
    void Repeat(int32_t count, int32_t value) {
        for (int32_t i = 0; i < count; ++i) out.WriteInt32(value);
    }
    void Text(const std::string& text) { out.WriteString(text); }
    void NoSpell() { out.WriteByte(0); }
    void SpellRef(const std::string& name) {
        out.WriteByte(1);
        out.WriteString(name);
    }
};

TEST_F(BuffTest, DefaultsOfTheValueConstructor) {
    Buff buff("Haste");
    EXPECT_EQ(buff.name, "Haste");
    EXPECT_EQ(buff.icon, "");
    EXPECT_EQ(buff.iconSprite, nullptr);
    EXPECT_TRUE(buff.applyToPlayer);
    EXPECT_TRUE(buff.allowStacking);
    EXPECT_TRUE(buff.usesTimer);
    EXPECT_TRUE(buff.self);
    EXPECT_FALSE(buff.digglegod);
    EXPECT_EQ(buff.targetHitEffect.percentage, 100);
    EXPECT_EQ(buff.consumableHook.spell, nullptr);
    EXPECT_EQ(buff.turnsLeft, 0);
}

TEST_F(BuffTest, ADefaultBuffWritesFiveHundredBytesPlusItsStrings) {
    Buff buff("Haste");
    SaveWriter out;
    ASSERT_TRUE(buff.Write(out));
    EXPECT_EQ(out.BytesWritten(), 505u);
    // The name's length and bytes come right after the 316 bytes before it.
    const std::vector<uint8_t>& bytes = out.Buffer();
    ASSERT_GE(bytes.size(), 313u);
    EXPECT_EQ(bytes[304], 5);
    EXPECT_EQ(std::string(bytes.begin() + 308, bytes.begin() + 313), "Haste");
}

TEST_F(BuffTest, AVersion105StreamIsConsumedToTheByte) {
    Stream s;
    s.out.version = {1, 0, 5};
    s.Words({1, 2, 3, 4, 5, 6});          // primary modifiers
    for (int32_t i = 0; i < 22; ++i) s.Words({100 + i});
    s.Repeat(34, 0x5EED);                 // discarded
    s.Words({1, 1, 0, 1, 0, 1});          // fromItem hideTurns usesTimer bad expired removable
    s.SpellRef("Sting");
    s.Words({40});                        // target hit
    s.NoSpell();
    s.Words({60});                        // player hit
    s.Words({1, 0, 7, 0, 1, 0, 1, 2, 3, 4, 5, 6});
    s.Text("Old");
    s.Text("An old buff");
    s.Text("");
    s.Words({1, 0, 1});                   // invisible extraFlag2 destroyOnMove
    for (int32_t i = 0; i < 16; ++i) s.Words({i});
    for (int32_t i = 0; i < 16; ++i) s.Words({-i});
    s.Words({0});                         // self
    s.Text("x");
    s.Words({9, 2});
    s.Text("");
    s.Text("");
    // 506 with no hook spells, the strings, and the named hook spell (length word and name).
    EXPECT_EQ(s.out.BytesWritten(), 506u + 3 + 11 + 1 + 4 + 5);

    Spell* sting = AddSpell("Sting");
    SaveReader in(s.out.Buffer());
    in.version = {1, 0, 5};
    Buff buff(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.Position(), s.out.BytesWritten());
    EXPECT_EQ(buff.primaryMods[5], 6);
    EXPECT_EQ(buff.secondaryMods[21], 121);
    EXPECT_EQ(buff.secondaryMods[22], 0);
    EXPECT_TRUE(buff.fromItem);
    EXPECT_EQ(buff.targetHitEffect.spell, sting);
    EXPECT_EQ(buff.targetHitEffect.percentage, 40);
    EXPECT_EQ(buff.playerHitEffect.spell, nullptr);
    EXPECT_EQ(buff.playerHitEffect.percentage, 60);
    EXPECT_TRUE(buff.usesTimer) << "the second copy counts";
    EXPECT_FALSE(buff.expired);
    EXPECT_EQ(buff.multiBuff, 7);
    EXPECT_EQ(buff.upkeepCounter, 6);
    EXPECT_EQ(buff.name, "Old");
    EXPECT_TRUE(buff.invisible);
    EXPECT_EQ(buff.destroyOnMove, 1);
    EXPECT_EQ(buff.damage[15], 15);
    EXPECT_EQ(buff.resist[3], -3);
    EXPECT_FALSE(buff.self);
    EXPECT_EQ(buff.extraText, "x");
    EXPECT_EQ(buff.turnsLeft, 9);
    EXPECT_EQ(buff.displayCount, 2);
    EXPECT_FALSE(buff.extraFlag);
    EXPECT_FALSE(buff.mute);
    EXPECT_FALSE(buff.isPolymorph);
    EXPECT_FALSE(buff.digglegod);
}

// The common tail of the hand-made 1.0.7 and 1.0.8 streams, from step 9 on.
void WriteTail(Stream& s) {
    s.Repeat(12, 0);
    s.Text("Mid");
    s.Text("");
    s.Text("");
    s.Repeat(3, 0);
    s.Repeat(32, 0);
    s.Words({1});
    s.Text("");
    s.Words({4, 0});
    s.Text("");
    s.Text("");
}

TEST_F(BuffTest, AVersion107StreamIsConsumedToTheByte) {
    Stream s;
    s.out.version = {1, 0, 7};
    s.Repeat(6, 0);
    for (int32_t i = 0; i < 23; ++i) s.Words({200 + i});
    s.Repeat(6, 0);
    s.NoSpell();
    s.Words({100});
    s.NoSpell();
    s.Words({100});
    WriteTail(s);
    s.Words({1, 1});  // extraFlag mute
    EXPECT_EQ(s.out.BytesWritten(), 382u + 3);

    SaveReader in(s.out.Buffer());
    in.version = {1, 0, 7};
    Buff buff(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.Position(), s.out.BytesWritten());
    EXPECT_EQ(buff.secondaryMods[22], 222);
    EXPECT_EQ(buff.secondaryMods[23], 0);
    EXPECT_EQ(buff.name, "Mid");
    EXPECT_EQ(buff.turnsLeft, 4);
    EXPECT_TRUE(buff.extraFlag);
    EXPECT_TRUE(buff.mute);
    EXPECT_FALSE(buff.isPolymorph);
}

TEST_F(BuffTest, AVersion108StreamIsConsumedToTheByte) {
    Stream s;
    s.out.version = {1, 0, 8};
    s.Repeat(6, 0);
    s.Repeat(24, 3);
    s.Repeat(6, 0);
    s.NoSpell();
    s.Words({100});
    s.Text("goblin");
    s.NoSpell();
    s.Words({100});
    s.Text("");
    for (int i = 0; i < 3; ++i) {  // target kill, thrown, crossbow shot
        s.NoSpell();
        s.Words({10 + i});
        s.Text("");
    }
    WriteTail(s);
    s.Words({0, 0, 1});  // extraFlag mute isPolymorph
    s.Text("Newt");
    s.Words({1});        // digglegod
    EXPECT_EQ(s.out.BytesWritten(), 433u + 3 + 6 + 4);

    SaveReader in(s.out.Buffer());
    in.version = {1, 0, 8};
    Buff buff(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.Position(), s.out.BytesWritten());
    EXPECT_EQ(buff.secondaryMods[23], 3);
    EXPECT_EQ(buff.targetHitEffect.taxa, "goblin");
    EXPECT_EQ(buff.crossbowShot.percentage, 12);
    EXPECT_EQ(buff.foodHook.percentage, 100) << "not in a 1.0.8 stream";
    EXPECT_TRUE(buff.isPolymorph);
    EXPECT_EQ(buff.polymorphName, "Newt");
    EXPECT_TRUE(buff.digglegod);
}

TEST_F(BuffTest, AHookSpellThatIsGoneReadsBackNullWithItsPercentageAndTaxa) {
    Spell* gone = AddSpell("Vanished Spell");
    Buff buff("Cursed");
    buff.dodgeHook = {gone, 35, "troll"};
    buff.targetHitEffect = {gone, 12, "bat"};
    SaveWriter out;
    ASSERT_TRUE(buff.Write(out));
    ClearSpellTable();

    SaveReader in(out.Buffer());
    Buff back(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.Position(), out.BytesWritten());
    EXPECT_EQ(back.dodgeHook.spell, nullptr);
    EXPECT_EQ(back.dodgeHook.percentage, 35);
    EXPECT_EQ(back.dodgeHook.taxa, "troll");
    EXPECT_EQ(back.targetHitEffect.spell, nullptr);
    EXPECT_EQ(back.targetHitEffect.percentage, 12);
    EXPECT_EQ(back.targetHitEffect.taxa, "bat");
}

TEST_F(BuffTest, WriteReadWriteIsByteIdenticalAtEveryVersion) {
    Spell* a = AddSpell("Spark");
    Spell* b = AddSpell("Ember");
    Buff buff("Everything");
    for (int32_t i = 0; i < kSecondaryStatCount; ++i) buff.secondaryMods[i] = i * 3 - 7;
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) buff.primaryMods[i] = 50 - i;
    for (int32_t t = 0; t < kDamageTypeCount; ++t) {
        buff.damage[t] = t;
        buff.resist[t] = 2 * t;
    }
    buff.fromItem = buff.hideTurns = buff.expired = true;
    buff.targetHitEffect = {a, 30, "orc"};
    buff.targetHitAfter = true;
    buff.playerHitEffect = {b, 40, ""};
    buff.targetKill = {a, 1, "x"};
    buff.thrown = {b, 2, ""};
    buff.crossbowShot = {a, 3, "y"};
    buff.dodgeHook = {b, 4, ""};
    buff.counterHook = {a, 5, ""};
    buff.blockHook = {b, 6, "z"};
    buff.criticalHook = {a, 7, ""};
    buff.foodHook = {b, 8, ""};
    buff.boozeHook = {a, 9, ""};
    buff.consumableHook = {b, 10, "w"};
    buff.multiBuff = 3;
    buff.removable = buff.frozenTimer = buff.isArtifactBuff = buff.bad = buff.invisible = buff.mute = true;
    buff.applyToPlayer = buff.allowStacking = buff.usesTimer = buff.self = false;
    buff.stackSize = 2;
    buff.brittle = 5;
    buff.attacks = 6;
    buff.manaUpkeep = 7;
    buff.upkeepCounter = 1;
    buff.description = "All of it";
    buff.gameplayText = "+everything";
    buff.extraFlag = buff.extraFlag2 = buff.digglegod = buff.isPolymorph = true;
    buff.destroyOnMove = 1;
    buff.polymorphName = "Frog";
    buff.extraText = "more";
    buff.turnsLeft = 12;
    buff.displayCount = 4;

    for (const SaveVersion version : {SaveVersion{1, 0, 10}, SaveVersion{1, 0, 8}, SaveVersion{1, 0, 7},
                                      SaveVersion{1, 0, 5}, SaveVersion{1, 1, 0}}) {
        SCOPED_TRACE(std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
                     std::to_string(version.patch));
        SaveWriter first;
        first.version = version;
        ASSERT_TRUE(buff.Write(first));
        SaveReader in(first.Buffer());
        in.version = version;
        Buff back(in);
        EXPECT_FALSE(in.Failed());
        EXPECT_EQ(in.Position(), first.BytesWritten());
        SaveWriter second;
        second.version = version;
        ASSERT_TRUE(back.Write(second));
        EXPECT_EQ(first.Buffer(), second.Buffer());
        EXPECT_EQ(back.halo, nullptr);
        EXPECT_EQ(back.item, nullptr);
    }
    SaveWriter out;
    buff.Write(out);
    SaveReader in(out.Buffer());
    Buff back(in);
    EXPECT_EQ(back.criticalHook.spell, a);
    EXPECT_EQ(back.consumableHook.taxa, "w");
    EXPECT_TRUE(back.targetHitAfter);
    EXPECT_EQ(back.secondaryMods[23], buff.secondaryMods[23]);
    EXPECT_EQ(back.polymorphName, "Frog");
}

TEST_F(BuffTest, ATruncatedStreamFailsTheReaderWithoutCrashing) {
    Buff buff("Short");
    SaveWriter out;
    buff.Write(out);
    for (size_t cut : {size_t{0}, size_t{3}, size_t{200}, out.BytesWritten() - 1}) {
        SaveReader in(out.Buffer().data(), cut);
        Buff back(in);
        EXPECT_TRUE(in.Failed()) << cut;
    }
}

TEST_F(BuffTest, CopiesKeepTheHaloAnimationButNoSquareLinks) {
    Buff buff("Glow");
    buff.haloBob.frame = 2;
    buff.haloBob.loop = false;
    Buff copy = buff;
    EXPECT_EQ(copy.haloBob.frame, 2);
    EXPECT_FALSE(copy.haloBob.loop);
    EXPECT_TRUE(copy.haloBob.linkedLists.empty());
    EXPECT_EQ(copy.name, "Glow");
}

}  // namespace
