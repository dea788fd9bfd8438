// The item kinds of the spell effects: worn artifacts corrupted, wands reshaped, artifacts sent
// to the warehouse, reshaped or cleansed, with the hero's statistics kept in step.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/save_stream.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "creatures/buff.h"
#include "creatures/experience.h"
#include "creatures/spell.h"
#include "creatures/spell_item_effects.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/artifact.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/weapon.h"
#include "levels/object_queue.h"
#include "spell_test_support.h"

namespace {

const char kItems[] = R"(<itemdb>
  <item name="Blade" type="0"><weapon level="2" slashing="5"/></item>
  <item name="Old Maul" type="2" artifact="1"><artifact quality="4"/><weapon level="9" crushing="9"/></item>
  <item name="Mail"><armour type="chest" ac="4" level="3"/><resistbuff toxic="3"/></item>
  <item name="Wand of Sparks"><wand spell="Spark" mincharge="3" maxcharge="4"/></item>
  <item name="Wand of Frost"><wand spell="Chill" mincharge="3" maxcharge="4"/></item>
  <item name="Wand of Mud"><wand spell="Mire" mincharge="3" maxcharge="4"/></item>
</itemdb>)";

const char kWords[] = R"(<textdb>
  <startPhoneme text="Kor"/><startPhoneme text="Vel"/><phoneme text="ath"/><phoneme text="um"/>
  <title text="Bane"/><adjective text="Grim"/><adjective text="Pale"/>
  <noun text="Wolf" plural="Wolves"/><noun text="Crow" plural="Crows"/>
  <quality text="gleaming"/><material text="jet"/><decor text="runes"/>
</textdb>)";

struct DialogSeen {
    std::string text;
    std::string firstArt;
    bool twoButtons;
};
std::vector<DialogSeen>* Dialogs = nullptr;
int32_t DialogAnswer = 0;

int32_t RecordDialog(const char* text, const char* firstArt, const char* secondArt) {
    if (Dialogs != nullptr) Dialogs->push_back({text, firstArt != nullptr ? firstArt : "", secondArt != nullptr});
    return DialogAnswer;
}

class SpellItemEffectsTest : public SpellWorldTest {
protected:
    void SetUp() override {
        SpellWorldTest::SetUp();
        for (const char* name : {"Spark", "Chill", "Mire"}) AddSpell(name, SpellTarget::Target);
        ClearItemDB();
        ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
        ClearTextDB();
        LoadTextDBFromBuffer(kWords, sizeof kWords - 1, "test words");
        const std::string tweaks =
            "<tweakDB><tweak name=\"artifact quality museum multiplier\" ival=\"5\" fval=\"5\"/></tweakDB>";
        LoadTweakValsFromBuffer(tweaks.data(), tweaks.size());
        savedDialog_ = ShowItemDialog;
        ShowItemDialog = RecordDialog;
        Dialogs = &dialogs_;
        DialogAnswer = 0;
        InventoryGrid.Clear();
        savedTable_.swap(ExperienceTable);  // no level gained, so no notice waits for a key
        testing::internal::CaptureStderr();  // item art is not mounted here
    }
    void TearDown() override {
        testing::internal::GetCapturedStderr();
        ShowItemDialog = savedDialog_;
        Dialogs = nullptr;
        savedTable_.swap(ExperienceTable);
        SpellWorldTest::TearDown();
        ClearTweakVals();
        ClearTextDB();
        ClearItemDB();
    }

    // An artifact weapon of the given power (the hero owns what it wears).
    static Weapon* ArtifactBlade(int32_t power) {
        Weapon* blade = new Weapon(FindItemDefByName("Blade"));
        GenerateArtifact(&blade->artifactRecord, power, blade);
        blade->isArtifact = true;
        return blade;
    }
    static Armour* ArtifactMail(int32_t power) {
        Armour* mail = new Armour(FindItemDefByName("Mail"));
        GenerateArtifact(&mail->artifactRecord, power, mail);
        mail->isArtifact = true;
        return mail;
    }
    static void Wear(Player* hero, Item* item, int32_t slot) {
        hero->EquippedAt(slot) = item;
        item->OnEquip(slot);
    }
    static int32_t Copies(const Player* hero, const Buff* buff) {
        return static_cast<int32_t>(std::count(hero->buffs.begin(), hero->buffs.end(), buff));
    }
    // An item-targeted spell of one kind cast on the item.
    void CastOnItem(const char* kind, Item* item) {
        Spell* spell = AddSpell(kind, SpellTarget::Item);
        SpellEffect effect;
        effect.kind = SpellEffectKindFromWord(kind);
        effect.resistable = false;
        spell->effects.push_back(effect);
        ApplySpellEffects(spell, CurrentPlayer->x, CurrentPlayer->y, CurrentPlayer, false, item, nullptr, true);
    }
    // What the hero's statistics are when formed again from scratch.
    static std::vector<int32_t> Formed(Player* hero) {
        hero->RecalculateStats();
        std::vector<int32_t> values(hero->stat, hero->stat + kSecondaryStatCount);
        values.insert(values.end(), hero->resistance, hero->resistance + kDamageTypeCount);
        values.insert(values.end(), hero->damageBonus, hero->damageBonus + kDamageTypeCount);
        return values;
    }
    static std::vector<int32_t> Current(const Player* hero) {
        std::vector<int32_t> values(hero->stat, hero->stat + kSecondaryStatCount);
        values.insert(values.end(), hero->resistance, hero->resistance + kDamageTypeCount);
        values.insert(values.end(), hero->damageBonus, hero->damageBonus + kDamageTypeCount);
        return values;
    }

    std::vector<DialogSeen> dialogs_;
    ItemDialogFn savedDialog_ = nullptr;
    std::vector<int32_t> savedTable_;
};

TEST_F(SpellItemEffectsTest, CorruptionCursesOneWornArtifactAndKeepsItsBuffOnTheHero) {
    ScopedTestLevel level(10, 10, SquareType::Floor);
    Player* hero = PlaceHero(4, 4);
    hero->cell->flags = static_cast<uint8_t>(hero->cell->flags | SquareFlag::Visible);
    Weapon* blade = ArtifactBlade(6);
    Wear(hero, blade, kSlotFirstHand);
    Weapon* plain = new Weapon(FindItemDefByName("Blade"));
    Wear(hero, plain, kSlotSecondHand);
    Spell* spell = AddSpell("Tarnish", SpellTarget::Target);
    SpellEffect effect;
    effect.kind = SpellEffectKindFromWord("corrupt");
    spell->effects.push_back(effect);

    struct Case {
        const char* what;
        int32_t x, y;
        int32_t magicResistance;
        int32_t curses;
        bool line;
    } const cases[] = {
        {"beside the hero", 5, 4, 0, 0, false},
        {"fully resisted", 4, 4, 100, 0, false},
        {"on the hero", 4, 4, 0, 1, true},
        {"again", 4, 4, 0, 2, true},
    };
    for (const Case& c : cases) {
        ClearTickerLog();
        hero->statBonus[kStatMagicResistance] = c.magicResistance;
        hero->RecalculateStats();
        ApplySpellEffects(spell, c.x, c.y, hero, false, nullptr, nullptr, true);
        EXPECT_EQ(blade->artifactRecord.curseCount, c.curses) << c.what;
        const std::string expected = "Oh no! Your " + blade->GetItemName() + " has been corrupted!";
        EXPECT_EQ(LastTicker() == expected, c.line) << c.what << ": " << LastTicker();
        const Buff* buff = blade->artifactRecord.grantedBuff.get();
        EXPECT_EQ(Copies(hero, buff), 1) << c.what;
        const std::vector<int32_t> now = Current(hero);
        EXPECT_EQ(now, Formed(hero)) << c.what << ": the statistics follow the cursed buff";
    }
    EXPECT_EQ(plain->IsArtifact(), false);
}

TEST_F(SpellItemEffectsTest, CorruptionWithoutWornArtifactsDoesNothing) {
    ScopedTestLevel level(10, 10, SquareType::Floor);
    Player* hero = PlaceHero(4, 4);
    Weapon* carried = ArtifactBlade(6);  // in the pack, not worn
    InventoryGrid.cells[0] = carried;
    Spell* spell = AddSpell("Tarnish", SpellTarget::Target);
    SpellEffect effect;
    effect.kind = SpellEffectKindFromWord("corrupt");
    spell->effects.push_back(effect);
    ApplySpellEffects(spell, 4, 4, hero, false, nullptr, nullptr, true);
    EXPECT_EQ(carried->artifactRecord.curseCount, 0);
    EXPECT_TRUE(TickerLog().empty());
}

TEST_F(SpellItemEffectsTest, AReshapedWandTakesAnotherKindWithItsSpellAndKeepsItsCharges) {
    ScopedTestLevel level(10, 10, SquareType::Floor);
    PlaceHero(4, 4);
    std::vector<std::string> seen;
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        CSRand(seed);
        MTSeed(seed);
        Wand wand(FindItemDefByName("Wand of Sparks"));
        wand.charges = 7;
        CastOnItem("randomizewand", &wand);
        ASSERT_NE(wand.def, nullptr);
        const std::vector<ItemDef*>& wands = ItemDefLists.wands;
        const auto at = std::find(wands.begin(), wands.end(), wand.def);
        ASSERT_NE(at, wands.end()) << seed;
        EXPECT_EQ(wand.subtype, wand.def->index) << seed << ": the kind a new wand of it has";
        EXPECT_EQ(wand.def->spell, spellDBFindByName(wand.def->name == "Wand of Sparks"  ? "Spark"
                                                     : wand.def->name == "Wand of Frost" ? "Chill"
                                                                                         : "Mire"));
        EXPECT_EQ(wand.charges, 7) << seed;
        EXPECT_EQ(wand.GetItemName(), wand.def->name + " [7 charges left]");
        seen.push_back(wand.def->name);
    }
    std::sort(seen.begin(), seen.end());
    seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
    EXPECT_EQ(seen.size(), 3u) << "every kind of the wand list comes up";
}

TEST_F(SpellItemEffectsTest, ItemKindsLeaveOtherItemsAlone) {
    ScopedTestLevel level(10, 10, SquareType::Floor);
    PlaceHero(4, 4);
    Weapon blade(FindItemDefByName("Blade"));  // no artifact
    Wand wand(FindItemDefByName("Wand of Frost"));
    const int32_t bladeDamage = blade.damage[1];
    struct Case {
        const char* kind;
        Item* item;
        size_t dialogs;
    } const cases[] = {
        {"randomizewand", nullptr, 0},     {"randomizewand", &blade, 0},    {"sacrificeartifact", nullptr, 0},
        {"sacrificeartifact", &wand, 0},   {"sacrificeartifact", &blade, 0}, {"randomizeartifact", nullptr, 0},
        {"randomizeartifact", &wand, 0},   {"cleanseartifact", &blade, 0},   {"cleanseartifact", &wand, 0},
        {"randomizeartifact", &blade, 1},
    };
    for (const Case& c : cases) {
        dialogs_.clear();
        CastOnItem(c.kind, c.item);
        EXPECT_EQ(dialogs_.size(), c.dialogs) << c.kind;
        EXPECT_EQ(wand.def, FindItemDefByName("Wand of Frost")) << c.kind;
        EXPECT_EQ(blade.damage[1], bladeDamage) << c.kind;
        EXPECT_FALSE(blade.isArtifact) << c.kind;
    }
    ASSERT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(dialogs_[0].text, "Sadly, you are now lost in your own museum.");
    EXPECT_EQ(dialogs_[0].firstArt, "ui/dialog_but_ok");
    EXPECT_FALSE(dialogs_[0].twoButtons);
    EXPECT_EQ(QueuedDeletionCount(), 0u);
}

TEST_F(SpellItemEffectsTest, ASacrificedArtifactPaysExperienceByLevelAndQualityOnlyAfterYea) {
    ScopedTestLevel level(10, 10, SquareType::Floor);
    Player* hero = PlaceHero(4, 4);
    Weapon* maul = new Weapon(FindItemDefByName("Old Maul"));
    GenerateArtifact(&maul->artifactRecord, 1, maul);  // a predefined artifact keeps its quality 4
    maul->isArtifact = true;
    Wear(hero, maul, kSlotFirstHand);
    const Buff* granted = maul->artifactRecord.grantedBuff.get();
    ASSERT_EQ(Copies(hero, granted), 1);

    DialogAnswer = 1;  // Nay
    CastOnItem("sacrificeartifact", maul);
    EXPECT_EQ(hero->experience, 0);
    EXPECT_EQ(hero->EquippedAt(kSlotFirstHand), maul);
    EXPECT_EQ(QueuedDeletionCount(), 0u);

    DialogAnswer = 0;  // Yea
    CastOnItem("sacrificeartifact", maul);
    ASSERT_EQ(dialogs_.size(), 2u);
    EXPECT_EQ(dialogs_[1].text, "Are you sure you want to send this to the warehouse?");
    EXPECT_EQ(dialogs_[1].firstArt, "ui/dialog_but_yea");
    EXPECT_TRUE(dialogs_[1].twoButtons);
    EXPECT_EQ(hero->experience, 5 * 9 * 4);
    EXPECT_EQ(hero->EquippedAt(kSlotFirstHand), nullptr) << "taken off before it goes";
    EXPECT_EQ(hero->firstHandWeapon, nullptr);
    EXPECT_EQ(Copies(hero, granted), 0) << "its buff leaves the hero";
    EXPECT_EQ(QueuedDeletionCount(), 1u);
    DeleteQueuedObjects();
}

TEST_F(SpellItemEffectsTest, ASacrificedArtifactLeavesThePackAndTheBelt) {
    ScopedTestLevel level(10, 10, SquareType::Floor);
    Player* hero = PlaceHero(4, 4);
    Weapon* inPack = ArtifactBlade(3);
    InventoryGrid.cells[5] = inPack;
    inPack->inBackpack = true;
    Weapon* onBelt = ArtifactBlade(2);
    hero->quickSlots[2] = onBelt;
    CastOnItem("sacrificeartifact", inPack);
    CastOnItem("sacrificeartifact", onBelt);
    EXPECT_EQ(hero->experience, 5 * 2 * 3 + 5 * 2 * 2);
    for (Item* cell : InventoryGrid.cells) EXPECT_NE(cell, inPack);
    EXPECT_EQ(hero->quickSlots[2], nullptr);
    EXPECT_EQ(QueuedDeletionCount(), 2u);
    DeleteQueuedObjects();
}

TEST_F(SpellItemEffectsTest, AReshapedArtifactKeepsItsPowerAndSwapsTheWornBuff) {
    ScopedTestLevel level(10, 10, SquareType::Floor);
    Player* hero = PlaceHero(4, 4);
    struct Case {
        bool weapon;
        int32_t answer;
        bool reshaped;
        int32_t curses;
    } const cases[] = {
        {true, 1, false, 0},
        {true, 0, true, 1},
        {false, 1, false, 0},
        {false, 0, true, 0},
    };
    for (const Case& c : cases) {
        Item* item = c.weapon ? static_cast<Item*>(ArtifactBlade(7)) : static_cast<Item*>(ArtifactMail(7));
        ArtifactRecord& record =
            c.weapon ? static_cast<Weapon*>(item)->artifactRecord : static_cast<Armour*>(item)->artifactRecord;
        const int32_t slot = c.weapon ? kSlotFirstHand : kSlotChest;
        Wear(hero, item, slot);
        record.curseCount = 3;
        const size_t buffCount = hero->buffs.size();
        DialogAnswer = c.answer;
        dialogs_.clear();
        CastOnItem("randomizeartifact", item);
        ASSERT_EQ(dialogs_.size(), 1u);
        EXPECT_TRUE(dialogs_[0].twoButtons);
        EXPECT_EQ(record.power, 7);
        EXPECT_EQ(record.curseCount, c.reshaped ? c.curses : 3) << "a fresh record, cursed once for a weapon";
        ASSERT_NE(record.grantedBuff, nullptr);
        EXPECT_EQ(record.grantedBuff->item, item);
        EXPECT_EQ(Copies(hero, record.grantedBuff.get()), 1) << "the worn buff is the item's current one";
        EXPECT_EQ(hero->buffs.size(), buffCount);
        EXPECT_EQ(Current(hero), Formed(hero));
        item->OnUnequip(slot);
        hero->ForgetEquipped(item);
        delete item;
    }
}

TEST_F(SpellItemEffectsTest, CleansingMakesAWeaponsBuffDamageAndResistancesItsOwn) {
    ScopedTestLevel level(10, 10, SquareType::Floor);
    Player* hero = PlaceHero(4, 4);
    Weapon* blade = ArtifactBlade(1);
    Armour* mail = ArtifactMail(1);
    for (ArtifactRecord* record : {&blade->artifactRecord, &mail->artifactRecord}) {
        Buff& buff = *record->grantedBuff;
        std::fill(std::begin(buff.damage), std::end(buff.damage), 0);
        std::fill(std::begin(buff.resist), std::end(buff.resist), 0);
        buff.damage[3] = 4;
        buff.resist[7] = 2;
        buff.secondaryMods[kStatMagicPower] = 5;
    }
    Wear(hero, blade, kSlotFirstHand);
    Wear(hero, mail, kSlotChest);
    const std::vector<int32_t> before = Current(hero);
    const int32_t bladeDamage = blade->damage[3];
    const int32_t bladeResist = blade->resist[7];
    const int32_t mailResist = mail->resistance[7];

    CastOnItem("cleanseartifact", blade);
    CastOnItem("cleanseartifact", mail);

    EXPECT_EQ(blade->damage[3], bladeDamage + 4);
    EXPECT_EQ(blade->resist[7], bladeResist + 2);
    EXPECT_EQ(blade->artifactRecord.grantedBuff->damage[3], 0);
    EXPECT_EQ(blade->artifactRecord.grantedBuff->resist[7], 0);
    EXPECT_EQ(mail->resistance[7], mailResist) << "armour keeps its definition's values";
    EXPECT_EQ(mail->artifactRecord.grantedBuff->resist[7], 2);
    EXPECT_EQ(mail->artifactRecord.grantedBuff->damage[3], 4);
    for (ArtifactRecord* record : {&blade->artifactRecord, &mail->artifactRecord}) {
        EXPECT_EQ(record->grantedBuff->secondaryMods[kStatMagicPower], 5) << "statistics stay with the buff";
        EXPECT_EQ(Copies(hero, record->grantedBuff.get()), 1);
    }
    EXPECT_EQ(Current(hero), before) << "the hero is exactly as strong as before";

    // What the weapon now holds of its own outlives a save.
    SaveWriter out;
    ASSERT_TRUE(blade->Save(out));
    SaveReader in(out.Buffer());
    Weapon bladeBack(in);
    ASSERT_FALSE(in.Failed());
    EXPECT_EQ(bladeBack.damage[3], bladeDamage + 4);
    EXPECT_EQ(bladeBack.resist[7], bladeResist + 2);
    EXPECT_EQ(bladeBack.artifactRecord.grantedBuff->damage[3], 0);
}

}  // namespace
