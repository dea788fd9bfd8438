// Skill items: using one, saving it by spell name (by spell-list position in older files),
// a spell the database no longer has, and the shared large icon.
#include <gtest/gtest.h>

#include <SDL.h>

#include <string>
#include <vector>

#include "core/save_stream.h"
#include "creatures/skill_db.h"
#include "creatures/spell.h"
#include "interface/ui_services.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/skill_item.h"
#include "levels/tutorial.h"
#include "media/sprite.h"

namespace {

class SkillItemTest : public testing::Test {
protected:
    void SetUp() override {
        ClearSpellTable();
        ResetSkillDB();
        for (const char* name : {"Ember Lick", "Frost Nip", "Lunge"}) {
            Spell* spell = new Spell();
            spell->name = name;
            spell->description = std::string("About ") + name;
            SpellList.push_back(spell);
        }
        lunge_ = AddAbility("Lunge", "skills/test/shared_icon.png");
        frost_ = AddAbility("Frost Nip", "skills/test/shared_icon.png");
    }
    void TearDown() override {
        SelectedAbility = nullptr;
        SelectedSkillItem = nullptr;
        ActiveItem = nullptr;
        CurrentTutorial = nullptr;
        PendingTutorialNotices.clear();
        ResetSkillDB();
        ClearSpellTable();
    }
    static AbilityRecord* AddAbility(const char* spellName, const char* icon) {
        AbilityRecord* ability = new AbilityRecord();
        ability->name = spellName;
        ability->spell = spellDBFindByName(spellName);
        ability->icon = icon;
        ability->iconSprite = SDL_CreateRGBSurface(SDL_SWSURFACE, 64, 64, 32, 0xFF0000, 0xFF00, 0xFF, 0);
        AbilityList.push_back(ability);
        return ability;
    }
    AbilityRecord* lunge_ = nullptr;
    AbilityRecord* frost_ = nullptr;
};

TEST_F(SkillItemTest, UsingSelectsTheAbilityAndReportsToARunningTutorial) {
    SkillItem item(lunge_);
    EXPECT_EQ(item.GetItemName(), "Lunge");
    EXPECT_EQ(item.GetDescription(), "About Lunge");
    EXPECT_EQ(item.Use(), 1);
    EXPECT_EQ(SelectedAbility, lunge_);
    EXPECT_EQ(ActiveItem, &item);
    EXPECT_TRUE(PendingTutorialNotices.empty()) << "no tutorial runs";

    Tutorial tutorial;
    CurrentTutorial = &tutorial;
    SkillItem frost(frost_);
    EXPECT_EQ(frost.Use(), 1);
    ASSERT_EQ(PendingTutorialNotices.size(), 1u);
    EXPECT_EQ(PendingTutorialNotices[0].code, 4);
    EXPECT_EQ(PendingTutorialNotices[0].name, "Frost Nip");

    // Without a spell nothing is selected and nothing reads a spell's icon.
    SelectedAbility = nullptr;
    SkillItem empty;
    EXPECT_EQ(empty.Use(), 1);
    EXPECT_EQ(SelectedAbility, nullptr);
    EXPECT_EQ(empty.GetItemName(), "Bug!");
    EXPECT_EQ(empty.GetDescription(), "Bug!");
    EXPECT_EQ(empty.iconSprite, nullptr);
    EXPECT_EQ(empty.cursorSprite, nullptr);
    EXPECT_EQ(PendingTutorialNotices.size(), 1u);
}

TEST_F(SkillItemTest, SavedByNameOrOldPositionAndAMissingSpellLoadsAsBug) {
    struct Case {
        const char* label;
        SaveVersion version;
        bool dropSpell;  // the spell database of the load no longer has it
        std::string name;
    };
    const Case cases[] = {
        {"by name", kCurrentSaveVersion, false, "Lunge"},
        {"by position in 1.0.8", kSaveV1_0_8, false, "Lunge"},
        {"spell gone", kCurrentSaveVersion, true, "Bug!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SkillItem item(lunge_);
        SaveWriter out;
        out.version = c.version;
        ASSERT_TRUE(item.Save(out));
        if (c.dropSpell) {
            lunge_->spell = nullptr;
            SpellList.back()->name = "Renamed";
        }
        SaveReader in(out.Buffer());
        in.version = c.version;
        SkillItem back(in);
        EXPECT_FALSE(in.Failed());
        EXPECT_EQ(in.Remaining(), 0u);
        EXPECT_EQ(back.GetItemName(), c.name);
        EXPECT_EQ(back.spell == nullptr, c.dropSpell);
        EXPECT_EQ(back.iconSprite == nullptr, c.dropSpell);
    }
}

TEST_F(SkillItemTest, AnItemWithoutSpellWritesMinusOneAndTheNextObjectStillLoads) {
    SkillItem empty;
    Misc lockpick(0);
    SaveWriter out;
    ASSERT_TRUE(WriteObjectRef(out, &empty));
    ASSERT_TRUE(WriteObjectRef(out, &lockpick));
    SaveWriter plain;
    empty.Item::Save(plain);
    // Presence byte, class key, Item block, then the word -1.
    const size_t spellWord = 1 + 4 + plain.BytesWritten();
    ASSERT_GT(out.Buffer().size(), spellWord + 4);
    EXPECT_EQ(std::vector<uint8_t>(out.Buffer().begin() + static_cast<std::ptrdiff_t>(spellWord),
                                   out.Buffer().begin() + static_cast<std::ptrdiff_t>(spellWord + 4)),
              (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
    SaveReader in(out.Buffer());
    GameObj* first = ReadObjectRef(in);
    GameObj* second = ReadObjectRef(in);
    EXPECT_FALSE(in.Failed()) << in.Error();
    SkillItem* skill = dynamic_cast<SkillItem*>(first);
    ASSERT_NE(skill, nullptr);
    EXPECT_EQ(skill->spell, nullptr);
    EXPECT_EQ(skill->GetItemName(), "Bug!");
    Misc* misc = dynamic_cast<Misc*>(second);
    ASSERT_NE(misc, nullptr);
    EXPECT_EQ(misc->Kind(), 0);
    EXPECT_EQ(in.Remaining(), 0u);
    delete first;
    delete second;
}

TEST_F(SkillItemTest, TwoAbilitiesWithOneIconNameShareOneLargeSprite) {
    // A name no other test has made a sprite for (the sprite table lives as long as the process).
    lunge_->icon = frost_->icon = "skills/test/only_here.png";
    ASSERT_EQ(SpriteMgr_Find("skills/test/only_here.png_big"), nullptr);
    const size_t before = SpriteMgr_Count();
    SkillItem a(lunge_);
    SkillItem b(frost_);
    ASSERT_NE(a.iconSprite, nullptr);
    EXPECT_EQ(a.iconSprite, b.iconSprite);
    EXPECT_EQ(SpriteMgr_Count(), before + 1);
    EXPECT_EQ(SpriteMgr_Find("skills/test/only_here.png_big"), a.iconSprite);
    EXPECT_EQ(a.cursorSprite, lunge_->spell->iconSprite);
}

}  // namespace
