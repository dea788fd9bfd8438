// The in-game frame: the camera that follows the hero, painting a frame around the hero
// into a guarded screen, and advancing every animation by the fake-clock time of a frame.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "levels/field_of_view.h"
#include "media/screen.h"
#include "core/input_log.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "interface/cursor.h"
#include "interface/game_frame.h"
#include "interface/layout.h"
#include "levels/branch_db.h"
#include "levels/level_draw.h"
#include "levels/level_test_map.h"
#include "media/ticker.h"
#include "tests/interface/frame_test_support.h"

namespace {

constexpr uint32_t kHeroColour = 0xFF00FF;

TEST(FrameCamera, FollowsTheHeroAndStopsAtTheTopLeftCorner) {
    struct Case {
        int32_t x, y;
        float ox, oy;
        struct {
            int32_t originX, originY, pixelX, pixelY;
        } expected;
    };
    const Case cases[] = {
        // Near the corner the view does not scroll past the level's top-left edge.
        {3, 3, 0.0f, 0.0f, {0, 0, 0, 0}},
        {10, 6, 0.0f, 0.0f, {0, 0, 0, 0}},
        // px = 40 * 64 - 32 = 2528, py = 44 * 64.
        {50, 50, 0.0f, 0.0f, {39, 44, 32, 0}},
        // An odd positive remainder is drawn one pixel less: 33 -> 32, 63 -> 62.
        {50, 50, 1.0f, 33.0f, {39, 44, 32, 32}},
        {50, 50, 31.9f, 63.5f, {39, 44, 62, 62}},
        // Offsets are truncated toward zero: -0.9 is 0; -1 moves the view one pixel left.
        {50, 50, -0.9f, -0.9f, {39, 44, 32, 0}},
        {50, 50, -1.0f, -1.0f, {39, 43, 30, 62}},
        // Walking off the top-left: a negative total pins the view at 0.
        {10, 6, -64.0f, -64.0f, {0, 0, 0, 0}},
        // Offsets that are no number count as 0.
        {50, 50, std::nanf(""), std::nanf(""), {39, 44, 32, 0}},
    };
    for (const Case& c : cases) {
        const MapView v = ComputeCamera(c.x, c.y, c.ox, c.oy, 64, 64, 10, 720);
        EXPECT_EQ(v.originX, c.expected.originX) << c.x << "," << c.y << " " << c.ox << "," << c.oy;
        EXPECT_EQ(v.originY, c.expected.originY) << c.x << "," << c.y << " " << c.ox << "," << c.oy;
        EXPECT_EQ(v.pixelX, c.expected.pixelX) << c.x << "," << c.y << " " << c.ox << "," << c.oy;
        EXPECT_EQ(v.pixelY, c.expected.pixelY) << c.x << "," << c.y << " " << c.ox << "," << c.oy;
    }
    // Far squares and huge offsets neither overflow nor go negative.
    const MapView far = ComputeCamera(std::numeric_limits<int32_t>::max(), 5, 1e30f, 0.0f, 64, 64,
                                      10, 720);
    EXPECT_GE(far.originX, 0);
    EXPECT_GE(far.pixelX, 0);
    EXPECT_LT(far.pixelX, 64);
}

// A floor level with the hero on it, a 1280 x 720 guarded screen and a test tileset.
class FrameScene : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(video_.ok()) << SDL_GetError();
        savedLayout_ = Layout;
        savedPlayer_ = CurrentPlayer;
        SetLevelDrawArt(nullptr, nullptr);
        Layout = ScreenLayoutState();
        UpdateScreenLayout();
        tileset_ = SDL_CreateRGBSurface(SDL_SWSURFACE, 64, 64, 32, 0xFF, 0xFF00, 0xFF0000, 0);
        heroSprite_.reset(MakeSolidSprite(80, 112, 255, 0, 255));
    }
    void TearDown() override {
        level_.reset();  // deletes the hero with the level's objects
        CurrentPlayer = savedPlayer_;
        Layout = savedLayout_;
        FreeLevelDrawArt();
        SDL_FreeSurface(tileset_);
        ResetInputLog();
    }

    // Makes a w x h floor level current with the hero standing on (x, y).
    void MakeScene(int32_t w, int32_t h, int32_t x, int32_t y) {
        level_.reset();  // the old level goes first: it puts back the level current before it
        level_.reset(new ScopedTestLevel(w, h, SquareType::Floor));
        (*level_)->tilesetImage = tileset_;
        hero_ = new Player();
        hero_->bob.SetSprite(heroSprite_.get());
        hero_->PlaceOnLevel(x, y, level_->get(), 0);
        CurrentPlayer = hero_;
        (*level_)->UpdateFieldOfView(x, y, kBaseSightRadius);
    }

    ScopedVideo video_;
    GuardedScreen screen_{1280, 720};
    ScreenLayoutState savedLayout_;
    Player* savedPlayer_ = nullptr;
    std::unique_ptr<ScopedTestLevel> level_;
    Player* hero_ = nullptr;
    SDL_Surface* tileset_ = nullptr;
    std::unique_ptr<Sprite> heroSprite_;
};

TEST_F(FrameScene, TheHeroStandsAtTheScreenCentre) {
    MakeScene(60, 60, 30, 30);
    DrawGameScreen();
    SDL_Rect box;
    ASSERT_TRUE(screen_.FindColour(kHeroColour, &box));
    EXPECT_EQ(box.w, 80);
    EXPECT_EQ(box.h, 112);
    // The hero's square lies half a square right of the middle column and one square below
    // the middle row; the sprite stands centred on it, feet on its bottom edge.
    EXPECT_EQ(box.x, 640 + 32 + 32 - 40);
    EXPECT_EQ(box.y + box.h, 5 * 64 + 64 + 64);
    const int centreX = box.x + box.w / 2;
    const int centreY = box.y + box.h / 2;
    EXPECT_LE(std::abs(centreX - Layout.halfScreenWidth), 64);
    EXPECT_LE(std::abs(centreY - Layout.halfScreenHeight), 64);
    EXPECT_EQ(screen_.DamagedGuards(), 0u);

    // The view scrolls with the hero's walking offset: the sprite stays put on screen.
    hero_->offsetX = -20.0f;
    hero_->offsetY = -12.0f;
    DrawGameScreen();
    SDL_Rect moved;
    ASSERT_TRUE(screen_.FindColour(kHeroColour, &moved));
    EXPECT_EQ(moved.x, box.x);
    EXPECT_EQ(moved.y, box.y);
}

TEST_F(FrameScene, NothingIsDrawnOutsideTheScreenAtTheLevelEdges) {
    struct Case {
        int32_t x, y;
        float ox, oy;
    };
    const Case cases[] = {{0, 0, 0.0f, 0.0f},     {1, 1, -63.0f, -63.0f}, {59, 59, 0.0f, 0.0f},
                          {59, 0, 63.0f, 0.0f},   {0, 59, 0.0f, 63.0f},  {30, 30, 64.0f, -64.0f}};
    for (const Case& c : cases) {
        MakeScene(60, 60, c.x, c.y);
        hero_->offsetX = c.ox;
        hero_->offsetY = c.oy;
        DrawGameScreen();
        EXPECT_EQ(screen_.DamagedGuards(), 0u) << c.x << "," << c.y;
        SDL_Rect box;
        EXPECT_TRUE(screen_.FindColour(kHeroColour, &box)) << c.x << "," << c.y;
    }
    // At the top-left corner the view is pinned: the hero's square is drawn where it lies
    // (the top of the sprite is under the black strip behind the ticker).
    MakeScene(60, 60, 1, 1);
    DrawGameScreen();
    SDL_Rect box;
    ASSERT_TRUE(screen_.FindColour(kHeroColour, &box));
    EXPECT_EQ(box.x, 64 + 32 - 40);
    EXPECT_EQ(box.y, 32);
    EXPECT_EQ(box.y + box.h, 128);
}

TEST_F(FrameScene, WithoutAHeroOrALevelTheFrameIsBlack) {
    MakeScene(20, 20, 5, 5);
    CurrentPlayer = nullptr;
    SetFixedFrameTime(16);
    AdvanceFakeClock(500);
    SDL_FillRect(screen_.surface(), nullptr, 0xFFFFFF);
    DrawGameScreen();
    EXPECT_EQ(FrameStartTicks, 500u);
    SDL_Rect box;
    EXPECT_FALSE(screen_.FindColour(0xFFFFFF, &box));
    EXPECT_FALSE(screen_.FindColour(kHeroColour, &box));
}

TEST_F(FrameScene, AdvanceFrameStepsEveryAnimationByTheFrameTime) {
    SetFixedFrameTime(16);
    std::unique_ptr<Sprite> steps(MakeSolidSprite(8, 8, 1, 2, 3, 4, 10));
    MakeScene(40, 40, 20, 20);
    hero_->bob.SetSprite(steps.get());
    hero_->glowBob.SetSprite(steps.get());
    GameObj* thing = new GameObj();
    thing->bob.SetSprite(steps.get());
    thing->PlaceOnLevel(25, 25, level_->get(), 0);  // the level owns it
    Bob shared;
    shared.SetSprite(steps.get());
    RegisterSharedBob(&shared);
    RegisterSharedBob(&shared);  // once only
    Sprite* savedCursor = CurrentCursor;
    CurrentCursor = nullptr;
    CursorBob.SetSprite(steps.get());
    Bob linked;  // linked to a square in view, owned by nobody there
    linked.SetSprite(steps.get());
    LinkBobToTile(&linked, 21, 20);
    Bob farAway;  // linked to a square out of view
    farAway.SetSprite(steps.get());
    LinkBobToTile(&farAway, 39, 39);
    // Two spells' mine pictures: one with a sprite steps with the frames, one without does not.
    Spell mined;
    mined.mineSpriteRef = steps.get();
    mined.mineBob.SetSprite(steps.get());
    mined.mineBob.playing = true;
    mined.mineBob.loop = true;
    Spell plain;
    const std::vector<Spell*> savedSpells = SpellList;
    SpellList = {&plain, nullptr, &mined};
    IdleMs = 0;

    DrawGameScreen();
    AdvanceFakeClock(24);  // time spent painting counts too
    AdvanceFrame();
    EXPECT_EQ(FrameElapsedMs, 40);
    EXPECT_EQ(IdleMs, 40);
    for (Bob* bob : {&hero_->bob, &hero_->glowBob, &thing->bob, &shared, &CursorBob, &linked}) {
        EXPECT_EQ(bob->frame, 0 + 4 % 4) << "40 ms over 10 ms frames wraps round";
        EXPECT_EQ(bob->frameTimer, 0);
    }
    DrawGameScreen();
    AdvanceFrame();
    EXPECT_EQ(FrameElapsedMs, 16);
    EXPECT_EQ(IdleMs, 56);
    for (Bob* bob : {&hero_->bob, &hero_->glowBob, &thing->bob, &shared, &CursorBob, &linked, &mined.mineBob}) {
        EXPECT_EQ(bob->frame, 1);
        EXPECT_EQ(bob->frameTimer, 6);
    }
    EXPECT_EQ(plain.mineBob.frameTimer, 0);
    SpellList = savedSpells;
    EXPECT_EQ(farAway.frame, 0);
    EXPECT_EQ(farAway.frameTimer, 0);
    EXPECT_TRUE(TooltipSlotFree);

    UnregisterSharedBob(&shared);
    DrawGameScreen();
    AdvanceFrame();
    EXPECT_EQ(shared.frame, 1);
    EXPECT_EQ(hero_->bob.frame, 3);  // 6 + 16 ms: two more frames
    EXPECT_EQ(hero_->bob.frameTimer, 2);
    CurrentCursor = savedCursor;
    CursorBob.SetSprite(nullptr);
}

TEST_F(FrameScene, FinishedEffectsInViewAreDeletedButLinkedPicturesAreNot) {
    SetFixedFrameTime(16);
    std::unique_ptr<Sprite> once(MakeSolidSprite(8, 8, 1, 2, 3, 1, 1000));
    MakeScene(40, 40, 20, 20);
    Bob* effect = new Bob();
    effect->SetSprite(once.get());
    effect->loop = false;
    effect->deleteWhenDone = true;
    ASSERT_EQ((*level_)->AdoptEffectBob(std::unique_ptr<Bob>(effect), 22, 21), effect);
    Bob linked;
    linked.SetSprite(once.get());
    linked.loop = false;
    linked.deleteWhenDone = true;
    linked.finished = true;
    LinkBobToTile(&linked, 22, 21);
    LevelCell* cell = (*level_)->GetCell(22, 21);

    DrawGameScreen();
    AdvanceFrame();
    EXPECT_TRUE(cell->OwnsDecoration(effect)) << "not finished yet";
    effect->finished = true;
    DrawGameScreen();
    AdvanceFrame();
    EXPECT_TRUE(cell->decorations.empty());
    ASSERT_EQ(cell->bobs.size(), 1u);
    EXPECT_EQ(cell->bobs[0], &linked);
}

TEST_F(FrameScene, TheLongIdleAnimationStartsAfterAMinuteWithoutInput) {
    SetFixedFrameTime(16);
    std::unique_ptr<Sprite> longIdle(MakeSolidSprite(8, 8, 9, 9, 9, 2, 100));
    MakeScene(20, 20, 5, 5);
    hero_->heroAnimations[kHeroLongIdle] = longIdle.get();

    IdleMs = kLongIdleAfterMs - 16;
    DrawGameScreen();
    AdvanceFrame();
    EXPECT_EQ(IdleMs, kLongIdleAfterMs);
    EXPECT_EQ(hero_->bob.sprite, heroSprite_.get()) << "exactly a minute is not yet over it";
    DrawGameScreen();
    AdvanceFrame();
    EXPECT_EQ(hero_->bob.sprite, longIdle.get());

    // A dead hero keeps his death picture.
    hero_->bob.SetSprite(heroSprite_.get());
    hero_->dead = 1;
    DrawGameScreen();
    AdvanceFrame();
    EXPECT_EQ(hero_->bob.sprite, heroSprite_.get());

    // The idle sum saturates instead of overflowing.
    IdleMs = std::numeric_limits<int32_t>::max() - 5;
    DrawGameScreen();
    AdvanceFrame();
    EXPECT_EQ(IdleMs, std::numeric_limits<int32_t>::max());
    IdleMs = 0;
}

TEST_F(FrameScene, TheZooBannerCountsDownToZero) {
    SetFixedFrameTime(16);
    MakeScene(20, 20, 5, 5);
    ZooBannerMs = 20;
    DrawGameScreen();
    AdvanceFrame();
    EXPECT_EQ(ZooBannerMs, 4);
    DrawGameScreen();
    AdvanceFrame();
    EXPECT_EQ(ZooBannerMs, 0);
}

TEST(FrameBranchTiles, AnimatedTilesStepWrapAndTurnRound) {
    struct Case {
        const char* what;
        int32_t numframes, framerate, pingpong, frame, step, timer, elapsed;
        int32_t wantFrame, wantStep, wantTimer;
    };
    const Case cases[] = {
        {"no frame count", -1, 100, 0, 0, 1, 0, 500, 0, 1, 0},
        {"no frame time", 4, 0, 0, 2, 1, 0, 500, 2, 1, 0},
        {"exactly the delay is not over it", 4, 100, 0, 0, 1, 0, 100, 0, 1, 100},
        {"one step", 4, 100, 0, 0, 1, 0, 101, 1, 1, 1},
        {"wraps to frame 0", 4, 100, 0, 3, 1, 50, 60, 0, 1, 10},
        {"ping-pong turns at the end", 4, 100, 1, 2, 1, 0, 201, 2, -1, 1},
        {"ping-pong turns at frame 0", 4, 100, 1, 1, -1, 0, 201, 1, 1, 1},
        {"a frame out of range restarts", 4, 100, 0, 99, 1, 0, 101, 1, 1, 1},
        // A long pause runs through whole cycles without looping over every step.
        {"long pause", 4, 1, 0, 0, 1, 0, 2000000001, 0, 1, 1},
    };
    for (const Case& c : cases) {
        BranchRecord branch;
        BranchTileRange& tile = branch.tiles["fluid_water"];
        tile.startX = tile.startY = tile.endX = tile.endY = 0;
        tile.numframes = c.numframes;
        tile.framerate = c.framerate;
        tile.pingpong = c.pingpong;
        tile.frame = c.frame;
        tile.frameStep = c.step;
        tile.frameTimer = c.timer;
        branch.floors.push_back(tile);
        AdvanceBranchTileAnimations(&branch, c.elapsed);
        for (const BranchTileRange* t : {&branch.tiles["fluid_water"], &branch.floors[0]}) {
            EXPECT_EQ(t->frame, c.wantFrame) << c.what;
            EXPECT_EQ(t->frameStep, c.wantStep) << c.what;
            EXPECT_EQ(t->frameTimer, c.wantTimer) << c.what;
        }
    }
    AdvanceBranchTileAnimations(nullptr, 16);  // no branch: nothing to do
}

}  // namespace
