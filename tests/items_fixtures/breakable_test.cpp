// Breakables taking their hits, the Zarnoch statue breaking for its statistic and
// achievement, and what the shattering and destroying spell effects do to the lock-and-trap
// fixtures.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "creatures/spell.h"
#include "items_fixtures/breakable.h"
#include "items_fixtures/chest.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/passages.h"
#include "items_fixtures/trap.h"
#include "levels/room_script_model.h"
#include "tests/items_fixtures/lock_fixture.h"

namespace {

class BreakableTest : public LockTest {
protected:
    void SetUp() override {
        LockTest::SetUp();
        SetTweaks(Tweak("zarnoch statue break exp", 7));
        FramesSprite("test/urn_intact", 3);
        FramesSprite("test/urn_breaking", 4);
        FramesSprite("test/urn_broken", 2);
        FramesSprite("test/jar_intact", 2);
    }
    static SpriteRecord Image(const char* file) {
        SpriteRecord record;
        record.image = file;
        return record;
    }
    Breakable* Urn(int32_t hits, const char* intact = "test/urn_intact") {
        const SpriteRecord a = Image(intact);
        const SpriteRecord b = Image("test/urn_breaking");
        const SpriteRecord c = Image("test/urn_broken");
        Breakable* urn = new Breakable(level_.get(), &a, &b, &c, hits, 0);
        urn->PlaceOnLevel(4, 3, level_.get(), 0);
        return urn;
    }
    // The room events posted since the last call.
    std::set<std::string> TakeEvents(const GameObj& obj) {
        std::set<std::string> events;
        for (const char* name : {"hit", "broken"}) {
            if (level_->HasRoomEvent(obj.roomNumber, obj.roomID, name)) events.insert(name);
        }
        level_->ClearRoomEvents();
        return events;
    }
    ZarnochStatue* Statue() {
        ZarnochStatue* statue = new ZarnochStatue();
        statue->PlaceOnLevel(4, 3, level_.get(), 0);
        return statue;
    }
};

TEST_F(BreakableTest, ThreeHitsBreakAndReleaseTheContents) {
    Breakable* urn = Urn(3);
    urn->contents = new Misc(1);
    EXPECT_EQ(urn->blocksMovement, 1);
    EXPECT_EQ(urn->coversSquareAbove, 1);
    struct Step {
        const char* verb;  // null: none
        const char* description;
        int32_t frame;
        std::set<std::string> events;
        const char* sprite;
    };
    const Step steps[] = {
        {"Beat it", "Beat it", 1, {"hit"}, "test/urn_intact"},
        {"Break", "Break", 2, {"hit"}, "test/urn_intact"},
        {nullptr, "It's broken.", 1, {"hit", "broken"}, "test/urn_broken"},
    };
    EXPECT_STREQ(urn->GetActionVerb(), "Beat it");
    for (const Step& s : steps) {
        SCOPED_TRACE(s.description);
        EXPECT_EQ(urn->Activate(), 1);
        if (s.verb == nullptr) {
            EXPECT_EQ(urn->GetActionVerb(), nullptr);
        } else {
            EXPECT_STREQ(urn->GetActionVerb(), s.verb);
        }
        EXPECT_EQ(urn->GetDescription(), s.description);
        EXPECT_EQ(urn->bob.frame, s.frame);
        EXPECT_EQ(urn->bob.sprite, SpriteMgr_Find(s.sprite));
        EXPECT_EQ(TakeEvents(*urn), s.events);
    }
    EXPECT_EQ(urn->blocksMovement, 0);
    EXPECT_EQ(urn->blocksSight, 0);
    EXPECT_EQ(urn->contents, nullptr);
    ApplyDeferredObjectMoves();
    bool onSquare = false;
    for (GameObj* obj : level_->GetCell(4, 3)->contents) onSquare = onSquare || dynamic_cast<Misc*>(obj) != nullptr;
    EXPECT_TRUE(onSquare);
    // A custom breakable has no hit sound: only the swing is heard.
    EXPECT_EQ(CountSound("swing"), 3);
    EXPECT_EQ(Sounds().size(), 3u);
    // Hitting what is broken does nothing.
    Sounds().clear();
    EXPECT_EQ(urn->Activate(), 0);
    EXPECT_TRUE(Sounds().empty());
    EXPECT_TRUE(TakeEvents(*urn).empty());
}

TEST_F(BreakableTest, AShortPictureStaysOnItsLastFrameUntilTheBreak) {
    Breakable* jar = Urn(4, "test/jar_intact");
    const int32_t frames[] = {1, 1, 1};
    for (int32_t expected : frames) {
        EXPECT_EQ(jar->BumpedByPlayer(), 1);
        EXPECT_EQ(jar->bob.frame, expected);
    }
    jar->HitByPlayer();
    EXPECT_TRUE(jar->IsBroken());
}

TEST_F(BreakableTest, TheStatueBreaksTheSameWayByBlowOrSpell) {
    enum How { kActivate, kBump, kSpell };
    for (How how : {kActivate, kBump, kSpell}) {
        SCOPED_TRACE(static_cast<int>(how));
        Sounds().clear();
        hero_.experience = 0;
        const int32_t before = GetStatInt("STAT_HEROIC_VANDALISMS");
        ZarnochStatue* statue = Statue();
        EXPECT_STREQ(statue->GetActionVerb(), "Break");
        if (how == kSpell) {
            Spell spell;
            spell.targetType = SpellTarget::Target;
            SpellEffect damage;  // kind 0
            damage.resistable = false;
            spell.effects.push_back(damage);
            ApplySpellEffects(&spell, 4, 3, &hero_, false, nullptr, nullptr, true);
        } else {
            EXPECT_EQ(how == kActivate ? statue->Activate() : statue->BumpedByPlayer(), 1);
            EXPECT_EQ(CountSound("swing"), 1);
            EXPECT_EQ(CountSound("breakable"), 1);
        }
        EXPECT_EQ(statue->broken, 1);
        EXPECT_EQ(statue->blocksMovement, 0);
        EXPECT_EQ(statue->blocksSight, 0);
        EXPECT_EQ(statue->GetActionVerb(), nullptr);
        EXPECT_EQ(CountSound("vandalism"), 1);
        EXPECT_EQ(hero_.experience, 7 * 2);
        EXPECT_EQ(GetStatInt("STAT_HEROIC_VANDALISMS"), before + 1);
        // Broken for good: no second reward.
        EXPECT_EQ(statue->Activate(), 0);
        EXPECT_EQ(statue->BumpedByPlayer(), 0);
        statue->Shatter();
        EXPECT_EQ(hero_.experience, 7 * 2);
        EXPECT_EQ(GetStatInt("STAT_HEROIC_VANDALISMS"), before + 1);
        QueueObjectDeletion(statue);
        ApplyDeferredObjectMoves();
    }
}

TEST_F(BreakableTest, TheFiveHundredthStatueSetsTheCritic) {
    struct Case {
        int32_t already;
        bool awarded;
    };
    for (const Case& c : {Case{499, true}, Case{500, false}}) {
        SCOPED_TRACE(c.already);
        SteamAPI_Shutdown();
        std::remove((tmp_.path() + "/store/stats.txt").c_str());
        ASSERT_TRUE(SteamAPI_Init());
        InitSteamStats();
        SteamAPI_RunCallbacks();
        AddToStat("STAT_HEROIC_VANDALISMS", c.already);
        ASSERT_EQ(Stats().find("ACHIEVEMENT_THE_CRITIC"), std::string::npos);
        ZarnochStatue* statue = Statue();
        statue->Shatter();
        EXPECT_EQ(GetStatInt("STAT_HEROIC_VANDALISMS"), c.already + 1);
        EXPECT_EQ(Stats().find("achievement ACHIEVEMENT_THE_CRITIC") != std::string::npos, c.awarded);
        QueueObjectDeletion(statue);
        ApplyDeferredObjectMoves();
    }
}

TEST_F(BreakableTest, ShatterAndDestroyEffectsOnEachFixture) {
    ItemDef trapDef;
    trapDef.name = "Test Snare";
    trapDef.category = kItemTrap;
    struct Case {
        const char* name;
        int32_t effect;     // 0 shatter (damage), 12 destroy
        bool queued;        // the fixture is queued for deletion
        bool broken;        // a breakable or statue afterwards
    };
    const Case cases[] = {
        {"breakable shattered", 0, false, true},  {"statue shattered", 0, false, true},
        {"breakable destroyed", 12, true, false}, {"statue destroyed", 12, false, false},
        {"chest destroyed", 12, true, false},     {"uber chest destroyed", 12, true, false},
        {"door destroyed", 12, true, false},      {"lever destroyed", 12, true, false},
        {"trap destroyed", 12, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = c.name;
        GameObj* obj = nullptr;
        if (name.rfind("breakable", 0) == 0) obj = Urn(1);
        else if (name.rfind("statue", 0) == 0) obj = Statue();
        else if (name.rfind("chest", 0) == 0) obj = new Chest(level_.get());
        else if (name.rfind("uber", 0) == 0) obj = new UberChest();
        else if (name.rfind("door", 0) == 0) obj = new Door(0, 1, 0);
        else if (name.rfind("lever", 0) == 0) obj = new Lever();
        else obj = new Trap(&trapDef);
        if (obj->level == nullptr) obj->PlaceOnLevel(4, 3, level_.get(), 0);
        Spell spell;
        spell.targetType = SpellTarget::Target;
        SpellEffect effect;
        effect.kind = c.effect;
        effect.resistable = false;
        spell.effects.push_back(effect);
        const size_t queuedBefore = QueuedDeletionCount();
        ApplySpellEffects(&spell, 4, 3, &hero_, false, nullptr, nullptr, true);
        EXPECT_EQ(QueuedDeletionCount() > queuedBefore, c.queued);
        if (auto* b = dynamic_cast<Breakable*>(obj)) {
            EXPECT_EQ(b->IsBroken(), c.broken);
        }
        if (auto* s = dynamic_cast<ZarnochStatue*>(obj)) {
            EXPECT_EQ(s->broken != 0, c.broken);
        }
        if (!c.queued) QueueObjectDeletion(obj);
        ApplyDeferredObjectMoves();
        level_->ClearRoomEvents();
    }
}

}  // namespace
