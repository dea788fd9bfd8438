// The hero's animation set: names and files by gender, loading the placeholder art of the game
// folder, and the idle animation of each facing.
#include <gtest/gtest.h>
#include <physfs.h>

#include <filesystem>
#include <string>

#include "creatures/player.h"
#include "media/sprite.h"
#include "platform/vfs.h"
#include "support/platform_fixtures.h"

namespace {

TEST(HeroAnimations, NamesAndFilesByGender) {
    struct Case {
        int32_t anim;
        bool female;
        const char* name;
        const char* file;
    };
    const Case cases[] = {
        {kHeroSleep, false, "player_sleep", "sprites/hero/hero_slp_r.spr"},
        {kHeroSleep, true, "femPlayer_sleep", "sprites/fhero/hero_slp_r.xml"},
        {kHeroIdleUp, true, "femPlayerIdleUp", "sprites/fhero/hero_idle_u.xml"},
        {kHeroIdleRight, false, "playerIdleRight", "sprites/hero/hero_idle_r.spr"},
        {kHeroWalkLeft, false, "playerWalkLeft", "sprites/hero/hero_run_l.spr"},
        {kHeroLongIdle, false, "player_longidle", "sprites/hero/hero_long_idle.spr"},
        {HeroAttackAnim(0, 0), false, "playerAttackL_Sword", "sprites/hero/hero_atk_swd_l.spr"},
        {HeroAttackAnim(3, 2), true, "femPlayerAttackF_staff", "sprites/fhero/hero_atk_stk_d.xml"},
        {HeroAttackAnim(6, 3), false, "playerAttackB_Foot", "sprites/hero/hero_atk_unarm_u.spr"},
        {kHeroLevelUp, false, "playerLevelUp", "sprites/hero/hero_levelup_r.spr"},
        {kHeroLevelUp, true, "femPlayerLevelUp", "sprites/fhero/hero_levelup.xml"},
        {kHeroDieL, false, "playerDieL", "sprites/hero/hero_die.spr"},
        {kHeroVanishR, true, "femPlayerVanishR", "sprites/fhero/hero_vanish_r.xml"},
    };
    for (const Case& c : cases) {
        const HeroAnimSource source = GetHeroAnimSource(c.anim, c.female);
        EXPECT_EQ(source.name, c.name);
        EXPECT_EQ(source.file, c.file);
    }
    EXPECT_TRUE(GetHeroAnimSource(-1, false).name.empty());
    EXPECT_TRUE(GetHeroAnimSource(kHeroAnimCount, true).file.empty());
}

TEST(HeroAnimations, BothSetsLoadFromTheGameFolderAndShowTheIdleOfTheFacing) {
    const std::string root = VAULTMERE_GAME_ROOT;
    if (!std::filesystem::exists(root + "/sprites/hero")) GTEST_SKIP() << "game folder not assembled";
    const bool wasInit = PHYSFS_isInit() != 0;
    if (wasInit) PHYSFS_deinit();
    {
        ScopedWorkingDir cwd(root);
        ASSERT_TRUE(cwd.ok());
        MountDataTree();
        for (int32_t female = 0; female <= 1; ++female) {
            Player hero;
            hero.female = female;
            hero.facing = 3;
            testing::internal::CaptureStderr();
            hero.LoadAnimations(&hero);
            const std::string complaints = testing::internal::GetCapturedStderr();
            EXPECT_EQ(complaints, "") << "female " << female;
            for (int32_t anim = 0; anim < kHeroAnimCount; ++anim) {
                Sprite* sprite = hero.heroAnimations[anim];
                ASSERT_NE(sprite, nullptr) << anim;
                EXPECT_EQ(sprite->width, 80) << GetHeroAnimSource(anim, female != 0).file;
                EXPECT_EQ(sprite->height, 112) << GetHeroAnimSource(anim, female != 0).file;
            }
            EXPECT_EQ(SpriteMgr_Find(female ? "femPlayerIdleRight" : "playerIdleRight"),
                      hero.heroAnimations[kHeroIdleRight]);
            EXPECT_EQ(hero.bob.sprite, hero.heroAnimations[kHeroIdleRight]);
            EXPECT_GT(hero.bob.sprite->frameCount, 1);
            EXPECT_TRUE(hero.bob.loop);

            const int32_t idleByFacing[] = {kHeroIdleDown, kHeroIdleLeft, kHeroIdleUp, kHeroIdleRight};
            for (int32_t facing = 0; facing < 4; ++facing) {
                hero.facing = facing;
                hero.SetIdleAnimation();
                EXPECT_EQ(hero.bob.sprite, hero.heroAnimations[idleByFacing[facing]]);
            }
            hero.facing = 9;
            hero.SetIdleAnimation();
            EXPECT_EQ(hero.bob.sprite, hero.heroAnimations[kHeroIdleDown]);
            // A dead hero keeps what he shows.
            hero.dead = 1;
            hero.facing = 2;
            hero.SetIdleAnimation();
            EXPECT_EQ(hero.bob.sprite, hero.heroAnimations[kHeroIdleDown]);
        }
        SpriteMgr_FreeAll();
        PHYSFS_deinit();
    }
    if (wasInit) MountDataTree();
}

}  // namespace
