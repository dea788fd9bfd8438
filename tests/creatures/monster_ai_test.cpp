// The monster's turn: noticing and approaching the hero, walls and path search, burning and
// stuns, snoring, allies' targets, theft, on-hit spells and the injury sentence.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/shell/turn_engine.h"
#include "creatures/shopkeeper.h"
#include "interface/play_screen.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/weapon.h"
#include "store_platform/store.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"
#include "tests/creatures/fight_fixture.h"

namespace {

const std::vector<std::string> kRoom = {
    "############",
    "#..........#",
    "#..........#",
    "#....#.....#",
    "#....#.....#",
    "#....#.....#",
    "#..........#",
    "#..........#",
    "#..........#",
    "#..........#",
    "#..........#",
    "############",
};

class MonsterAiTest : public FightTest {
protected:
    void SetUp() override {
        FightTest::SetUp();
        room_.reset(new ScopedTestLevel(kRoom));
        for (LevelCell& cell : (*room_)->squares) cell.flags |= SquareFlag::Visible;
        hero_.stat[kStatLife] = 1000;
        hero_.health = 1000;
    }
    void TearDown() override {
        ApplyDeferredObjectMoves();
        DeleteQueuedObjects();
        hero_.PlaceOnLevel(0, 0, nullptr, 0);
        room_.reset();
        FightTest::TearDown();
    }
    Monster* Add(int32_t x, int32_t y) {
        Monster* monster = new Monster(monDBFindByName("Diggle"));
        monster->PlaceOnLevel(x, y, room_->get(), 1);
        for (int32_t& value : monster->stat) value = 0;
        monster->stat[kStatLife] = 1000;
        monster->health = 1000;
        std::fill(std::begin(monster->damageBonus), std::end(monster->damageBonus), 0);
        return monster;
    }
    void HeroAt(int32_t x, int32_t y) { hero_.PlaceOnLevel(x, y, room_->get(), 1); }
    static int32_t Manhattan(const GameObj* a, const GameObj* b) { return std::abs(a->x - b->x) + std::abs(a->y - b->y); }

    std::unique_ptr<ScopedTestLevel> room_;
};

TEST_F(MonsterAiTest, AnUnawareMonsterNoticesThenClosesInOneOrthogonalStepATurn) {
    HeroAt(2, 8);
    hero_.stat[kStatSneakiness] = 100;  // only the notice roll of the monster's own attention
    Monster* diggle = Add(5, 8);
    diggle->relentless = true;
    diggle->stat[kStatMeleePower] = 1;
    ASSERT_EQ(diggle->record->aggressiveness, 7);
    CSRand(3);
    MTSeed(3);
    int32_t turn = 0;
    for (; turn < 200 && !diggle->noticed; ++turn) {
        diggle->Update();
        ASSERT_NE((*room_)->SquareKind(diggle->x, diggle->y), SquareType::Wall);
        ASSERT_EQ(hero_.health, 1000) << "no blow before it is beside the hero";
    }
    ASSERT_TRUE(diggle->noticed) << "noticed within 200 turns";
    for (int32_t step = 0; step < 12; ++step) {
        const int32_t beforeX = diggle->x;
        const int32_t beforeY = diggle->y;
        const int32_t distance = Manhattan(diggle, &hero_);
        const int32_t health = hero_.health;
        diggle->Update();
        const int32_t moved = std::abs(diggle->x - beforeX) + std::abs(diggle->y - beforeY);
        EXPECT_NE((*room_)->SquareKind(diggle->x, diggle->y), SquareType::Wall);
        if (distance == 1) {
            EXPECT_EQ(moved, 0);
            EXPECT_EQ(hero_.health, health - 1) << "beside the hero it strikes";
        } else {
            EXPECT_EQ(moved, 1) << "one orthogonal step";
            EXPECT_EQ(Manhattan(diggle, &hero_), distance - 1);
            EXPECT_EQ(hero_.health, health);
        }
    }
}

TEST_F(MonsterAiTest, ABlockedStepSearchesAPathOnlyFromTwoToNineSquaresAway) {
    // The wall at (5, 3..5) stands east of the monster at (4, 4); with `southBlocked` another
    // monster stands south of it, so both steps toward a hero to the south-east are blocked
    // and only the search finds the way round by the north.
    struct Case {
        int32_t monsterX, monsterY, heroX, heroY;
        bool southBlocked;
        bool moves;
    };
    const Case cases[] = {
        {4, 4, 6, 4, false, true},   // 2 squares
        {4, 4, 10, 6, false, true},  // 8 squares
        {4, 4, 8, 8, true, true},    // 8 squares: searched
        {4, 4, 10, 10, true, false}, // 12 squares: never searched
    };
    for (const Case& c : cases) {
        HeroAt(c.heroX, c.heroY);
        Monster* diggle = Add(c.monsterX, c.monsterY);
        diggle->noticed = true;
        diggle->relentless = true;
        if (c.southBlocked) Add(c.monsterX, c.monsterY + 1);
        diggle->Update();
        const bool moved = diggle->x != c.monsterX || diggle->y != c.monsterY;
        EXPECT_EQ(moved, c.moves) << "from " << c.monsterX << "," << c.monsterY << " to " << c.heroX << "," << c.heroY;
        EXPECT_NE((*room_)->SquareKind(diggle->x, diggle->y), SquareType::Wall);
        for (GameObj* obj : std::vector<GameObj*>((*room_)->monsters)) QueueObjectDeletion(obj);
        DeleteQueuedObjects();
    }
}

TEST_F(MonsterAiTest, BurningTakesAHundredthOfMaximumHealthAndStunnedMonstersStillBurn) {
    HeroAt(2, 8);
    struct Case {
        int32_t maximum;
        int32_t loss;
    };
    const Case cases[] = {{50, 1}, {250, 2}, {99, 1}, {1000, 10}};
    for (const Case& c : cases) {
        Monster* diggle = Add(3, 8);
        diggle->stat[kStatLife] = c.maximum;
        diggle->health = c.maximum;
        diggle->isBurning = true;
        diggle->burnTurns = 5;
        diggle->stunTurns = 3;
        diggle->stat[kStatMeleePower] = 5;
        diggle->Update();
        EXPECT_EQ(c.maximum - diggle->health, c.loss);
        EXPECT_EQ(diggle->burnTurns, 4);
        EXPECT_EQ(diggle->x, 3);
        EXPECT_EQ(hero_.health, 1000) << "a stunned monster does not strike";
        QueueObjectDeletion(diggle);
        DeleteQueuedObjects();
    }
}

TEST_F(MonsterAiTest, AnAsleepMonsterInViewSnores) {
    HeroAt(2, 8);
    Monster* sleeper = Add(6, 8);  // within the hero's sight
    ASSERT_TRUE(sleeper->cell->HasFlag(SquareFlag::Visible));
    sleeper->statusFlags = Monster::kStatusAsleep;
    sleeper->Update();
    const auto& ambient = AmbientMessages();
    EXPECT_NE(std::find(ambient.begin(), ambient.end(), "You hear a distant snoring."), ambient.end());
    EXPECT_TRUE(sleeper->HasStatus(Monster::kStatusAsleep));
    EXPECT_EQ(sleeper->x, 6);
}

TEST_F(MonsterAiTest, AnAllyTargetsTheFirstOfTheNearestAndNeverAtSixtyFour) {
    HeroAt(1, 1);
    Monster* ally = Add(5, 5);
    ally->tame = true;
    Monster* first = Add(5, 8);
    Monster* second = Add(8, 5);
    ally->Update();
    EXPECT_EQ(ally->allyTarget, first);
    (void)second;
    QueueObjectDeletion(first);
    QueueObjectDeletion(second);
    DeleteQueuedObjects();
    ally->allyTarget = nullptr;
    Add(5, 10);  // squared distance 25: chosen
    Monster* far = Add(10, 10);  // squared distance 50 beyond the nearer one
    ally->Update();
    EXPECT_NE(ally->allyTarget, far);
    EXPECT_NE(ally->allyTarget, nullptr);
}

TEST_F(MonsterAiTest, ACandidateAtSquaredDistanceSixtyFourIsNeverChosen) {
    HeroAt(1, 10);
    Monster* ally = Add(2, 2);
    ally->tame = true;
    Add(10, 2);  // dx 8: squared distance 64
    ally->TakeAllyTurn();
    EXPECT_EQ(ally->allyTarget, nullptr);
}

TEST_F(MonsterAiTest, TheftWithForcedRolls) {
    TempDir user;
    ScopedEnv env("VAULTMERE_USER_DIR", user.path().c_str());
    ASSERT_TRUE(SteamAPI_Init());
    HeroAt(2, 8);
    ItemDef dartDef;
    dartDef.name = "Dart";
    dartDef.category = kItemWeapon;
    dartDef.itemClass = kWeaponThrowing;
    Weapon* darts = new Weapon(&dartDef);
    darts->count = 100;
    hero_.quickSlots[4] = darts;
    struct Case {
        int32_t dodge, block;
        const char* line;
        bool stolen;
    };
    const Case cases[] = {
        {100, 0, "You avoid having something stolen from you!", false},
        {0, 100, "You block an attempted theft!", false},
        {0, 0, "A creature has stolen a Dart(100) from your belt!", true},
    };
    for (const Case& c : cases) {
        ClearTickerLog();
        Monster* thief = Add(3, 8);
        hero_.stat[kStatDodge] = c.dodge;
        hero_.stat[kStatBlock] = c.block;
        TooltipItem = darts;  // the pointer rests on the belt slot
        thief->TryToSteal();
        EXPECT_TRUE(Logged(c.line)) << Log();
        // A stolen item's tooltip goes with it.
        EXPECT_EQ(TooltipItem, c.stolen ? nullptr : darts);
        EXPECT_EQ(hero_.quickSlots[4] == nullptr, c.stolen);
        EXPECT_EQ(thief->carriedItems.size(), c.stolen ? 1u : 0u);
        EXPECT_EQ(thief->HasStatus(Monster::kStatusAfraid), c.stolen);
        EXPECT_EQ(thief->fearTurns, c.stolen ? 10 : 0);
    }
    TooltipItem = nullptr;
    EXPECT_NE(ReadWholeFile(user.file("store/stats.txt")).find("ACHIEVEMENT_KLEPTOMANIA"), std::string::npos);
    SteamAPI_Shutdown();
}

TEST_F(MonsterAiTest, AnOnHitSpellWithoutItsChanceNeverGoesOff) {
    HeroAt(2, 8);
    Spell* bite = new Spell();
    bite->name = "Test Bite";
    SpellList.push_back(bite);
    Monster* diggle = Add(3, 8);
    struct Case {
        int32_t oneChanceIn;
        size_t casts;
    };
    const Case cases[] = {{0, 0}, {1, 1}};
    for (const Case& c : cases) {
        diggle->record->onHitSpells = {{"Test Bite", c.oneChanceIn}};
        spellCalls_ = SpellCallLog();
        for (int32_t i = 0; i < 20; ++i) diggle->AttackCreature(&hero_);
        EXPECT_EQ(spellCalls_.casts.size(), 20 * c.casts);
    }
    diggle->record->onHitSpells.clear();
    SpellList.pop_back();
    delete bite;
}

TEST_F(MonsterAiTest, AMutedMonsterCastsNothing) {
    HeroAt(2, 8);
    Spell* flare = new Spell();
    flare->name = "Test Flare";
    flare->aiHint = 1;  // at itself
    Monster* diggle = Add(5, 8);
    const std::vector<Spell*> spells = diggle->record->spells;
    diggle->record->spells = {flare};
    struct Case {
        bool muted;
        bool casts;
    };
    for (const Case& c : {Case{true, false}, Case{false, true}}) {
        SCOPED_TRACE(c.muted);
        Buff* hush = new Buff("Hush", "");
        hush->mute = c.muted;
        diggle->buffs.push_back(hush);
        spellCalls_ = SpellCallLog();
        EXPECT_EQ(diggle->CastRandomSpell(), c.casts);
        EXPECT_EQ(spellCalls_.casts.size(), c.casts ? 1u : 0u);
        diggle->buffs.pop_back();
        delete hush;
    }
    diggle->record->spells = spells;
    delete flare;
}

// The flight step comes after the attack phase: a monster whose fear runs out beside the hero
// turns and strikes in that same turn instead of stepping away.
TEST_F(MonsterAiTest, AMonsterWhoseFearRunsOutBesideTheHeroStrikesAtOnce) {
    HeroAt(4, 8);
    Monster* coward = Add(5, 8);
    coward->noticed = true;
    coward->statusFlags = Monster::kStatusAfraid;
    coward->fearTurns = 1;
    coward->stat[kStatMeleePower] = 3;
    coward->Update();
    EXPECT_FALSE(coward->HasStatus(Monster::kStatusAfraid));
    EXPECT_TRUE(Logged("The Diggle is no longer afraid, and turns to fight!"));
    EXPECT_EQ(hero_.health, 997);
    EXPECT_EQ(coward->x, 5);
    // Still afraid, it steps away and does not strike.
    coward->statusFlags = Monster::kStatusAfraid;
    coward->fearTurns = 5;
    coward->Update();
    EXPECT_EQ(coward->x, 6);
    EXPECT_EQ(hero_.health, 997);
}

TEST_F(MonsterAiTest, DescriptionsTellTheAttitudeAndTheStates) {
    Monster* diggle = Add(3, 3);
    diggle->record->infoText = "A grub. ";
    struct Case {
        uint32_t flags;
        bool tame, noticed;
        int32_t stun;
        const char* text;
    };
    const Case cases[] = {
        {0, false, false, 0, "A grub. This monster has not noticed your presence. "},
        {0, false, true, 0, "A grub. This monster is trying to kill you! "},
        {0, true, true, 0, "A grub. This monster is a tame monster, and fights alongside you. "},
        {Monster::kStatusPacified | Monster::kStatusAsleep, false, false, 2,
         "A grub. It is peaceful and not attacking you at the moment. This monster is asleep. "
         "This monster is paralyzed and unable to move or act. "},
    };
    for (const Case& c : cases) {
        diggle->statusFlags = c.flags;
        diggle->tame = c.tame;
        diggle->noticed = c.noticed;
        diggle->stunTurns = c.stun;
        EXPECT_EQ(diggle->GetDescription(), c.text);
    }
}

TEST_F(MonsterAiTest, SporesOnACorpseSproutAMushroomAfterFiveTurns) {
    ClearItemDB();
    ASSERT_TRUE(itemDBLoadText("<itemdb><item name='Test Cap'><mushroom/></item></itemdb>", "test items"));
    BuildItemLevelTables();
    HeroAt(1, 1);
    Monster* corpse = Add(6, 6);
    corpse->record->corpseTimer = 100;
    Misc spores(1);
    spores.count = 2;
    Misc other(2);
    EXPECT_EQ(corpse->AcceptsItem(&spores), 0) << "only a corpse takes spores";
    corpse->dead = 1;
    EXPECT_EQ(corpse->AcceptsItem(&other), 0);
    ASSERT_EQ(corpse->UseItemOn(&spores), 1);
    EXPECT_EQ(spores.count, 1);
    EXPECT_TRUE(corpse->sprouts);
    for (int32_t turn = 1; turn <= 4; ++turn) corpse->Update();
    EXPECT_EQ(QueuedDeletionCount(), 0u);
    corpse->Update();
    EXPECT_EQ(QueuedDeletionCount(), 1u);
    EXPECT_TRUE(IsQueuedMoveTarget(room_->get(), 6, 6)) << "the mushroom grows where the corpse lay";
    ApplyDeferredObjectMoves();
    DeleteQueuedObjects();
    bool mushroom = false;
    for (GameObj* obj : (*room_)->GetCell(6, 6)->contents) mushroom = mushroom || dynamic_cast<Mushroom*>(obj) != nullptr;
    EXPECT_TRUE(mushroom);
    ClearItemDB();
}

TEST_F(MonsterAiTest, ACorpseGoesWhenItsTimerRunsOut) {
    HeroAt(1, 1);
    Monster* corpse = Add(6, 6);
    corpse->dead = 1;
    corpse->record->corpseTimer = 3;
    for (int32_t turn = 1; turn <= 3; ++turn) corpse->Update();
    EXPECT_EQ(QueuedDeletionCount(), 0u);
    corpse->Update();
    EXPECT_EQ(QueuedDeletionCount(), 1u);
    EXPECT_EQ(corpse->health, 0);
}

TEST_F(MonsterAiTest, AShopkeeperActsOnlyOnceABlowHasAngeredIt) {
    HeroAt(4, 8);
    Shopkeeper* keeper = new Shopkeeper();
    keeper->PlaceOnLevel(5, 8, room_->get(), 1);
    for (int32_t& value : keeper->stat) value = 0;
    keeper->stat[kStatMeleePower] = 4;
    keeper->stat[kStatLife] = 1000;
    keeper->health = 1000;
    keeper->noticed = true;
    EXPECT_FALSE(keeper->IsAllyTarget());
    keeper->Update();
    EXPECT_EQ(hero_.health, 1000);
    keeper->TakeDamage(1, &hero_, "by the player", 0, 0);
    keeper->Update();
    EXPECT_EQ(hero_.health, 996);
}

TEST_F(MonsterAiTest, InjurySentences) {
    Monster* diggle = Add(3, 3);
    struct Case {
        int32_t health, maximum;
        const char* text;
    };
    const Case cases[] = {
        {0, 100, "It is dead. "},           {14, 100, "It is critically injured. "},
        {20, 100, "It is very injured. "},  {40, 100, "It is somewhat injured. "},
        {99, 100, "It is lightly injured. "}, {100, 100, ""},
        {5, 0, ""},                         {5, -3, ""},
    };
    for (const Case& c : cases) {
        diggle->health = c.health;
        diggle->stat[kStatLife] = c.maximum;
        EXPECT_EQ(diggle->GetInjuryText(), c.text) << c.health << "/" << c.maximum;
    }
}

}  // namespace
