// Eye candy, glints and floating texts, advanced by explicit elapsed times.
#include "media/eye_candy.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/random.h"
#include "media/sprite.h"
#include "media/text_fixture.h"

namespace {

// A one-frame sprite of a plain surface (1000 ms) owned by the test.
std::unique_ptr<Sprite> MakeSprite(int w, int h) {
    std::unique_ptr<Sprite> sprite(new Sprite());
    sprite->InitFromSurface(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFF0000, 0xFF00, 0xFF, 0));
    return sprite;
}

class EyeCandyTest : public GameFontTest {
protected:
    void SetUp() override {
        GameFontTest::SetUp();
        ClearEyeCandy();
        AnimationSpeedDivisor = 1;
    }
    void TearDown() override {
        ClearEyeCandy();
        AnimationSpeedDivisor = 1;
        for (GlintSlot& slot : Glints) {
            slot.active = 0;
            slot.bob.SetSprite(nullptr);
        }
        GameFontTest::TearDown();
    }
};

TEST_F(EyeCandyTest, ARisingIconMovesOnePixelForEveryFull20Ms) {
    auto sprite = MakeSprite(10, 10);
    EyeCandy* a = SpawnEyeCandy(100, 200, sprite.get(), 1, 0);
    ASSERT_NE(a, nullptr);
    a->Update(45);
    EXPECT_EQ(a->y, 198);
    EXPECT_EQ(a->riseTimer, 5);
    EXPECT_EQ(a->riseOffset, -2);
    EyeCandy* b = SpawnEyeCandy(100, 200, sprite.get(), 1, 0);
    b->Update(20);
    EXPECT_EQ(b->y, 200) << "the timer must pass 20";
    b->Update(1);
    EXPECT_EQ(b->y, 199);
    EyeCandy* still = SpawnEyeCandy(100, 200, sprite.get(), 0, 0);
    still->Update(300);
    EXPECT_EQ(still->y, 200) << "not rising";
    EXPECT_EQ(EyeCandyCount(), 3u);
}

TEST_F(EyeCandyTest, AFloaterLivesForItsFrameDividedByTheAnimationSpeed) {
    Bob body;
    body.x = 40;
    body.y = 300;
    for (int divisor : {1, 2, 4}) {
        SCOPED_TRACE(divisor);
        AnimationSpeedDivisor = divisor;
        ShowFloatingText(body, "Ouch");
        ASSERT_EQ(EyeCandyCount(), 2u);
        const int32_t startY = EyeCandyAt(1)->y;
        UpdateEyeCandy(static_cast<uint32_t>(1000 / divisor - 1));
        ASSERT_EQ(EyeCandyCount(), 2u);
        EXPECT_EQ(EyeCandyAt(1)->y, startY - (1000 / divisor - 2) / 20) << "one pixel per 20 ms";
        UpdateEyeCandy(1);
        EXPECT_EQ(EyeCandyCount(), 0u);
    }
}

TEST_F(EyeCandyTest, DestroyingAnOwnerRemovesItsIconsAtOnce) {
    auto sprite = MakeSprite(8, 8);
    Bob* owner = new Bob();
    Bob other;
    SpawnFollowingEyeCandy(owner, sprite.get(), 1, 0);
    SpawnEyeCandy(5, 5, sprite.get(), 0, 0);
    SpawnFollowingEyeCandy(&other, sprite.get(), 0, 1);
    SpawnFollowingEyeCandy(owner, sprite.get(), 0, 1);
    ASSERT_EQ(EyeCandyCount(), 4u);
    delete owner;
    ASSERT_EQ(EyeCandyCount(), 2u);
    EXPECT_EQ(EyeCandyAt(0)->owner, nullptr);
    EXPECT_EQ(EyeCandyAt(1)->owner, &other);
}

TEST_F(EyeCandyTest, AFollowingIconCentresOverItsOwnerAndFollowsItOnScreen) {
    auto body = MakeSprite(64, 96);
    auto icon = MakeSprite(16, 8);
    Bob owner;
    owner.SetSprite(body.get());
    owner.x = 100;
    owner.y = 50;
    EyeCandy* above = SpawnFollowingEyeCandy(&owner, icon.get(), 1, 0);
    EyeCandy* centred = SpawnFollowingEyeCandy(&owner, icon.get(), 0, 1);
    EXPECT_EQ(above->x, 100 + 32 - 8);
    EXPECT_EQ(above->y, 50);
    EXPECT_EQ(centred->y, 50 + 48 - 4);
    owner.x = 300;
    UpdateEyeCandy(45);
    EXPECT_EQ(above->x, 300 + 32 - 8);
    EXPECT_EQ(above->y, 48) << "follows, risen by 2";
    EXPECT_EQ(above->visible, 1);
    EXPECT_EQ(centred->y, 50) << "the vertical centring ends at the first update";

    // Off screen it stays where it was.
    owner.x = -500;
    UpdateEyeCandy(10);
    EXPECT_EQ(above->x, 300 + 32 - 8);
}

TEST_F(EyeCandyTest, AnOwnerWithoutASpriteCountsAsZeroWide) {
    auto icon = MakeSprite(16, 8);
    Bob bare;
    bare.x = 200;
    bare.y = 100;
    EyeCandy* candy = SpawnFollowingEyeCandy(&bare, icon.get(), 0, 1);
    ASSERT_NE(candy, nullptr);
    EXPECT_EQ(candy->x, 200 - 8);
    EXPECT_EQ(candy->y, 100 - 4);
    UpdateEyeCandy(10);
    EXPECT_EQ(candy->x, 200 - 8);
    EXPECT_EQ(candy->visible, 1);
    DrawEyeCandy();
}

TEST_F(EyeCandyTest, FloatingTextsMakeAShadowAndAColourCopyThatOwnTheirSprites) {
    Bob body;
    auto sprite = MakeSprite(64, 64);
    body.SetSprite(sprite.get());
    body.x = 300;
    body.y = 200;
    CSRand(7);
    const int r = CRand() / 8192;
    CSRand(7);
    ShowFloatingText(body, "Gotcha");
    ASSERT_EQ(EyeCandyCount(), 2u);
    EyeCandy* shadow = EyeCandyAt(0);
    EyeCandy* front = EyeCandyAt(1);
    EXPECT_EQ(shadow->ownsSprite, 1);
    EXPECT_EQ(front->ownsSprite, 1);
    EXPECT_EQ(shadow->rise, 1);
    EXPECT_EQ(shadow->x, front->x + 1);
    EXPECT_EQ(shadow->y, front->y + 1);
    EXPECT_EQ(front->x, 300 + 32 - front->FrameWidth() / 2);
    EXPECT_EQ(front->y, 200 + 32 - 8 * r);
    EXPECT_GT(front->FrameWidth(), 0);

    ShowFloatingText(body, "");
    EXPECT_EQ(EyeCandyCount(), 2u) << "empty text shows nothing";
    // The medal is the doubled one of the global images.
    auto medal = MakeSprite(24, 24);
    EyeCandyIcons.experienceMedal = medal.get();
    ShowExperienceFloater(body, -12);
    EyeCandyIcons.experienceMedal = nullptr;
    EXPECT_EQ(EyeCandyCount(), 5u) << "shadow, number and medal";
    EXPECT_EQ(EyeCandyAt(4)->sprite, medal.get());
    EXPECT_EQ(EyeCandyAt(4)->x, EyeCandyAt(3)->x - 24) << "left of the number";
    EXPECT_EQ(EyeCandyAt(4)->ownsSprite, 0) << "the medal belongs to the global images";
    ClearEyeCandy();
    EXPECT_EQ(EyeCandyCount(), 0u);
}

TEST_F(EyeCandyTest, WithoutTheFontFloatingTextShowsNothing) {
    FreeFonts();
    Bob body;
    ShowFloatingText(body, "Nothing");
    ShowExperienceFloater(body, 5);
    SpawnRisingNumberText(0, 0, "12", SDL_Color{255, 0, 0, 0});
    EXPECT_EQ(EyeCandyCount(), 0u);
}

TEST_F(EyeCandyTest, TheGlintPoolIgnoresASpawnWhenFullAndReusesTheLowestFreedSlot) {
    auto sprite = MakeSprite(4, 4);
    for (GlintSlot& slot : Glints) slot.active = 0;
    for (int32_t i = 0; i < kGlintSlotCount; ++i) SpawnGlint(i, 1, sprite.get());
    for (int32_t i = 0; i < kGlintSlotCount; ++i) {
        ASSERT_EQ(Glints[i].active, 1);
        EXPECT_EQ(Glints[i].tileX, i);
        EXPECT_GE(Glints[i].offsetX, 0);
        EXPECT_LT(Glints[i].offsetX, 64);
    }
    SpawnGlint(99, 99, sprite.get());
    for (int32_t i = 0; i < kGlintSlotCount; ++i) EXPECT_NE(Glints[i].tileX, 99);

    Glints[3].bob.finished = true;
    Glints[9].bob.finished = true;
    UpdateGlints(0);
    EXPECT_EQ(Glints[3].active, 0);
    EXPECT_EQ(Glints[9].active, 0);
    SpawnGlint(50, 60, sprite.get());
    EXPECT_EQ(Glints[3].active, 1);
    EXPECT_EQ(Glints[3].tileX, 50);
    EXPECT_EQ(Glints[3].tileY, 60);
    EXPECT_FALSE(Glints[3].bob.loop);
    EXPECT_EQ(Glints[9].active, 0);

    // A glint plays once: after its frame it goes.
    UpdateGlints(1000);
    EXPECT_EQ(Glints[3].active, 0);
}

TEST_F(EyeCandyTest, GlintsDrawOnlyInsideTheCameraView) {
    auto sprite = MakeSprite(4, 4);
    for (GlintSlot& slot : Glints) slot.active = 0;
    SpawnGlint(12, 7, sprite.get());
    SpawnGlint(2, 7, sprite.get());
    Glints[0].offsetX = 5;
    Glints[0].offsetY = 6;
    Glints[1].bob.x = -77;
    DrawGlints(10, 5, 3, 4, 64, 64);
    EXPECT_EQ(Glints[0].bob.x, 2 * 64 + 5 - 3);
    EXPECT_EQ(Glints[0].bob.y, 2 * 64 + 6 - 4);
    EXPECT_EQ(Glints[1].bob.x, -77) << "left of the camera: not placed";
}

// The glint art belongs to the sprite table: once the table destroys it (a level change, the
// end of a game, a second game started in the same run), no glint may go on showing it.
TEST_F(EyeCandyTest, GlintsLetGoOfTheArtTheSpriteTableDestroyed) {
    for (const char* name : {"glints", "zalgo", "raindrop"}) ASSERT_TRUE(SpriteMgr_Add(name, MakeSprite(4, 4).release()));
    LoadGlints();
    Sprite* const oldSparkle = GlintSprite;
    ASSERT_EQ(oldSparkle, SpriteMgr_Find("glints"));
    SpawnGlint(3, 4, nullptr);
    SpawnGlint(5, 6, ZalgoSprite);
    ASSERT_EQ(GlintCount(), 2u);

    SpriteMgr_FreeAll();
    EXPECT_EQ(GlintCount(), 0u) << "the glints playing the destroyed art stop";
    SpawnGlint(7, 8, nullptr);
    EXPECT_EQ(Glints[0].bob.sprite, nullptr) << "no sparkle art is left to show";
    for (const GlintSlot& slot : Glints) EXPECT_NE(slot.bob.sprite, oldSparkle);

    // New sparkle art in the table is found again.
    Sprite* const newSparkle = MakeSprite(4, 4).release();
    ASSERT_TRUE(SpriteMgr_Add("glints", newSparkle));
    LoadGlints();
    SpawnGlint(9, 9, nullptr);
    EXPECT_EQ(Glints[0].bob.sprite, newSparkle);
    UpdateGlints(1);
    DrawGlints(0, 0, 0, 0, 64, 64);
    SpriteMgr_FreeAll();
    EXPECT_EQ(GlintCount(), 0u);
}

}  // namespace
