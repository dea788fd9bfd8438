// The skill tome's rules: what can be learned, what learning does (points, level, weapons taken
// off and put back, sound, achievement, belt item), scrolling, and the belt picker.
#include "interface/skill_tome.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "creatures/spell.h"
#include "interface/dialogs.h"
#include "interface/hud.h"
#include "interface/layout.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/skill_item.h"
#include "levels/object_queue.h"
#include "media/sound.h"
#include "store_platform/store.h"
#include "support/platform_fixtures.h"

namespace {

constexpr int32_t kSword = 9101;
constexpr int32_t kAxe = 9102;
constexpr const char* kMastery = "ACHIEVEMENT_MASTER_SWORDPLAY";

// Records every take-off and put-on with its slot number.
std::vector<std::string>& EquipLog() {
    static std::vector<std::string> log;
    return log;
}
class RecordingItem : public Item {
public:
    explicit RecordingItem(const char* name) : name_(name) {}
    void OnEquip(int32_t slot) override { EquipLog().push_back(std::string("on ") + name_ + " " + std::to_string(slot)); }
    void OnUnequip(int32_t slot) override {
        EquipLog().push_back(std::string("off ") + name_ + " " + std::to_string(slot));
    }

private:
    const char* name_;
};

std::vector<std::string>& Sounds() {
    static std::vector<std::string> sounds;
    return sounds;
}
void KeepSound(const char* name) { Sounds().push_back(name); }

class SkillTomeTest : public testing::Test {
protected:
    void SetUp() override {
        env_.reset(new ScopedEnv("VAULTMERE_USER_DIR", user_.path().c_str()));
        savedAbilities_ = AbilityList;
        savedSkills_ = SkillDB;
        AbilityList.clear();
        SkillRecord sword;
        sword.name = "Test Swordplay";
        sword.id = kSword;
        sword.achievement = kMastery;
        SkillDB.push_back(sword);
        for (int32_t level = 0; level < 3; ++level) AddAbility(kSword, level, true);
        AddAbility(kAxe, 0, true);
        AddAbility(kSword, 1, false);  // cannot go on the belt: no spell
        savedHero_ = CurrentPlayer;
        CurrentPlayer = &hero_;
        std::fill(std::begin(hero_.skillIds), std::end(hero_.skillIds), kNoSkillId);
        hero_.skillIds[0] = kSword;
        hero_.skillLevels[0] = 1;
        hero_.skillPoints = 0;
        savedSound_ = SoundEnabled;
        SoundEnabled = 1;
        SetSFXRequestObserver(&KeepSound);
        Sounds().clear();
        EquipLog().clear();
        TomeScroll = 0;
        Layout = ScreenLayoutState();
    }
    void TearDown() override {
        SetSFXRequestObserver(nullptr);
        SoundEnabled = savedSound_;
        for (Item*& slot : hero_.abilitySlots) {
            delete slot;
            slot = nullptr;
        }
        hero_.reference19 = nullptr;
        SelectedSkillItem = nullptr;
        ActiveItem = nullptr;
        DeleteQueuedObjects();
        CurrentPlayer = savedHero_;
        for (AbilityRecord* a : AbilityList) delete a;
        AbilityList = savedAbilities_;
        SkillDB = savedSkills_;
        env_.reset();
    }
    AbilityRecord* AddAbility(int32_t skill, int32_t level, bool castable) {
        AbilityRecord* a = new AbilityRecord();
        a->name = "ability " + std::to_string(skill) + "/" + std::to_string(level);
        a->skillId = skill;
        a->level = level;
        a->spell = castable ? &spell_ : nullptr;
        AbilityList.push_back(a);
        return a;
    }
    AbilityRecord* Ability(size_t i) { return AbilityList[i]; }

    TempDir user_;
    std::unique_ptr<ScopedEnv> env_;
    Spell spell_;
    Player hero_;
    Player* savedHero_ = nullptr;
    std::vector<AbilityRecord*> savedAbilities_;
    std::vector<SkillRecord> savedSkills_;
    int32_t savedSound_ = 0;
};

TEST_F(SkillTomeTest, OnlyTheNextAbilityOfAHeldSkillIsLearnableAndOnlyWithAPoint) {
    for (size_t i = 0; i < AbilityList.size(); ++i) EXPECT_FALSE(AbilityLearnable(Ability(i))) << "no points, " << i;
    EXPECT_FALSE(LearnAbility(Ability(1)));
    EXPECT_EQ(hero_.skillLevels[0], 1);
    hero_.skillPoints = 1;
    const bool expected[] = {false, true, false, false, true};
    for (size_t i = 0; i < AbilityList.size(); ++i) EXPECT_EQ(AbilityLearnable(Ability(i)), expected[i]) << i;
}

TEST_F(SkillTomeTest, LearningSpendsAPointRaisesTheSkillAndPutsTheWeaponsBackAround) {
    hero_.skillPoints = 2;
    RecordingItem crossbow("crossbow");
    hero_.reference19 = &crossbow;
    ASSERT_TRUE(LearnAbility(Ability(1)));
    EXPECT_EQ(hero_.skillPoints, 1);
    EXPECT_EQ(hero_.skillLevels[0], 2);
    EXPECT_EQ(EquipLog(), (std::vector<std::string>{"off crossbow 8", "on crossbow 8"}));
    EXPECT_EQ(std::count(Sounds().begin(), Sounds().end(), "prayer"), 1);
    ASSERT_NE(hero_.abilitySlots[0], nullptr);
    EXPECT_EQ(static_cast<SkillItem*>(hero_.abilitySlots[0])->ability, Ability(1));
    bool achieved = true;
    ASSERT_TRUE(SteamAPI_Init());
    ASSERT_TRUE(SteamUserStats()->GetAchievement(kMastery, &achieved));
    EXPECT_FALSE(achieved) << "a higher ability of the skill is still to come";
    SteamAPI_Shutdown();
}

TEST_F(SkillTomeTest, TheLastAbilityOfASkillAwardsItsAchievement) {
    ASSERT_TRUE(SteamAPI_Init());
    hero_.skillLevels[0] = 2;
    hero_.skillPoints = 1;
    ASSERT_TRUE(LearnAbility(Ability(2)));
    bool achieved = false;
    ASSERT_TRUE(SteamUserStats()->GetAchievement(kMastery, &achieved));
    EXPECT_TRUE(achieved);
    SteamAPI_Shutdown();
}

TEST_F(SkillTomeTest, AFullBeltStillLearnsButAddsNoItem) {
    hero_.skillPoints = 1;
    std::vector<Item*> belt;
    for (Item*& slot : hero_.abilitySlots) {
        slot = new SkillItem(Ability(0));
        belt.push_back(slot);
    }
    ASSERT_TRUE(LearnAbility(Ability(1)));
    EXPECT_EQ(hero_.skillLevels[0], 2);
    EXPECT_EQ(std::vector<Item*>(std::begin(hero_.abilitySlots), std::end(hero_.abilitySlots)), belt);
}

TEST_F(SkillTomeTest, ScrollingStaysWithinTheThreeFirstRowsAndTheArrowsShowTheEnds) {
    const struct {
        int32_t delta, scroll, up, down;
    } steps[] = {{-1, 0, 3, 0}, {1, 1, 0, 0}, {1, 2, 0, 3}, {1, 2, 0, 3}, {-5, 0, 3, 0}, {5, 2, 0, 3}};
    for (const auto& s : steps) {
        ScrollTome(s.delta);
        EXPECT_EQ(TomeScroll, s.scroll);
        EXPECT_EQ(TomeArrowPicture(true, false, false), s.up);
        EXPECT_EQ(TomeArrowPicture(false, false, false), s.down);
    }
    TomeScroll = 1;
    EXPECT_EQ(TomeArrowPicture(true, true, false), 1);
    EXPECT_EQ(TomeArrowPicture(true, true, true), 2);
}

TEST_F(SkillTomeTest, ThePickerOffersKnownCastableAbilitiesAndFillsTheSlot) {
    EXPECT_EQ(CountSkillSlotsWithAbilities(), 1);
    hero_.skillIds[1] = kAxe;
    hero_.skillLevels[1] = 0;
    EXPECT_EQ(CountSkillSlotsWithAbilities(), 1) << "level 0 knows nothing of the axe";
    hero_.skillLevels[1] = 1;
    EXPECT_EQ(CountSkillSlotsWithAbilities(), 2);
    const auto rows = AbilityPickerRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<AbilityRecord*>{Ability(0)}));
    EXPECT_EQ(rows[1], (std::vector<AbilityRecord*>{Ability(3)}));
    // Rows stack upward: with two rows, the first lies two steps above the belt's offset.
    // Normal interface at 1280 x 720: belt's left edge 128, bar height 128.
    UpdateScreenLayout();
    const int32_t barTop = Layout.screenHeight - BottomBarHeight();
    const int32_t x0 = (3 + 0) * 36 + 626 + Layout.interfaceX;
    EXPECT_EQ(AbilityPickerAt(3, x0 + 5, barTop + 47 - 72 + 5), Ability(0));
    EXPECT_EQ(AbilityPickerAt(3, x0 + 5, barTop + 47 - 36 + 5), Ability(3));
    EXPECT_EQ(AbilityPickerAt(3, x0 + 33, barTop + 47 - 36 + 5), nullptr);

    SkillItem* old = new SkillItem(Ability(0));
    hero_.abilitySlots[3] = old;
    SelectedSkillItem = old;
    ActiveItem = old;
    const size_t queued = QueuedDeletionCount();
    PutAbilityInBeltSlot(3, Ability(3));
    ASSERT_NE(hero_.abilitySlots[3], nullptr);
    EXPECT_EQ(static_cast<SkillItem*>(hero_.abilitySlots[3])->ability, Ability(3));
    EXPECT_EQ(SelectedSkillItem, hero_.abilitySlots[3]);
    EXPECT_NE(ActiveItem, old);
    EXPECT_EQ(QueuedDeletionCount(), queued + 1) << "the replaced item goes through the deletion queue";
}

}  // namespace
