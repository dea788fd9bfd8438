// Bob: frame stepping at the four animation speeds, sprite changes, drawing and square links.
#include "media/bob.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "media/screen.h"
#include "levels/level.h"
#include "media/sprite.h"

namespace {

// A sprite with the given delays whose frames are w x h 8-bit surfaces filled with index
// frame + 1 (index 0 keyed out), with outline frames when asked.
Sprite* MakeSprite(const std::vector<uint16_t>& delays, bool outlines = false, int w = 2, int h = 2) {
    Sprite* s = new Sprite();
    const size_t n = delays.size();
    s->frameCount = static_cast<uint16_t>(n);
    s->frames = n ? new SDL_Surface*[n]() : nullptr;
    s->delays = n ? new uint16_t[n]() : nullptr;
    s->outlines = outlines && n ? new SDL_Surface*[n]() : nullptr;
    for (size_t i = 0; i < n; ++i) {
        s->delays[i] = delays[i];
        SDL_Surface* f = SDL_CreateRGBSurface(0, w, h, 8, 0, 0, 0, 0);
        SDL_Color colours[8];
        for (int c = 0; c < 8; ++c) colours[c] = SDL_Color{uint8_t(c * 30), uint8_t(c * 30), uint8_t(c * 30), 0};
        SDL_SetColors(f, colours, 0, 8);
        SDL_SetColorKey(f, SDL_SRCCOLORKEY, 0);
        SDL_FillRect(f, nullptr, static_cast<Uint32>(i + 1));
        s->frames[i] = f;
        if (s->outlines) s->outlines[i] = Sprite::MakeOutline(f);
    }
    if (n) {
        s->width = static_cast<uint16_t>(w);
        s->height = static_cast<uint16_t>(h);
    }
    return s;
}

class ScopedDivisor {
public:
    explicit ScopedDivisor(int32_t d) : old_(AnimationSpeedDivisor) { AnimationSpeedDivisor = d; }
    ~ScopedDivisor() { AnimationSpeedDivisor = old_; }

private:
    int32_t old_;
};

struct TimingCase {
    bool loop;
    int32_t divisor;
    std::vector<uint16_t> delays;
    std::vector<int32_t> updates;
    int32_t frame;
    int32_t timer;
    bool finished;
};

TEST(BobTiming, FramesStepByDelayOverDivisor) {
    const std::vector<uint16_t> d100 = {100, 100, 100};
    const TimingCase cases[] = {
        // Non-looping: stops on the last frame, finished as soon as it shows it.
        {false, 1, d100, {250}, 2, 50, true},
        {false, 1, d100, {99}, 0, 99, false},
        {false, 1, d100, {100, 99}, 1, 99, false},
        {false, 1, d100, {10000}, 2, 0, true},
        {false, 2, d100, {125}, 2, 25, true},
        {false, 2, d100, {60}, 1, 10, false},
        {false, 4, d100, {40}, 1, 15, false},
        {false, 8, d100, {30}, 2, 6, true},  // 100 / 8 = 12
        {false, 8, d100, {10000}, 2, 4, true},
        {false, 2, {101, 101, 101}, {50}, 1, 0, false},  // 101 counts as 50
        // Looping: wraps to frame 0; finished stays set once reached.
        {true, 1, d100, {350}, 0, 50, true},
        {true, 1, d100, {150}, 1, 50, false},
        {true, 2, d100, {175}, 0, 25, true},
        {true, 4, d100, {60}, 2, 10, true},
        {true, 8, d100, {1000}, 2, 4, true},  // 27 whole passes of 36 ms, then 28 ms
        {true, 8, d100, {12, 12, 12, 5}, 0, 5, true},
        {true, 1, {50, 200}, {260}, 0, 10, true},
    };
    int row = 0;
    for (const TimingCase& c : cases) {
        ScopedDivisor divisor(c.divisor);
        Sprite* sprite = MakeSprite(c.delays);
        Bob bob;
        bob.SetSprite(sprite);
        bob.loop = c.loop;
        for (int32_t ms : c.updates) bob.Update(ms);
        EXPECT_EQ(bob.frame, c.frame) << "row " << row;
        EXPECT_EQ(bob.frameTimer, c.timer) << "row " << row;
        EXPECT_EQ(bob.finished, c.finished) << "row " << row;
        delete sprite;
        ++row;
    }
}

TEST(BobTiming, ZeroLengthFramesNeverStall) {
    for (int32_t divisor : {1, 8}) {
        ScopedDivisor d(divisor);
        // Delays 0 and 7 (7 / 8 = 0) show for 1 ms each.
        Sprite* sprite = MakeSprite({0, 7, 0});
        for (bool loop : {true, false}) {
            Bob bob;
            bob.SetSprite(sprite);
            bob.loop = loop;
            bob.Update(2);
            EXPECT_EQ(bob.frame, divisor == 8 ? 2 : 1);
            bob.Update(2000000000);  // returns at once
            EXPECT_TRUE(bob.finished);
            EXPECT_LT(bob.frame, 3);
            EXPECT_GE(bob.frameTimer, 0);
        }
        delete sprite;
    }
}

// A wait as long as an int can count, on top of time already spent: the step runs as if the
// whole time had passed (2147483897 ms = 3579139 cycles of 600 ms + 497 ms: frame 2, 197 ms in),
// never on a timer that wrapped round to a negative value. Time that runs backwards is ignored.
TEST(BobTiming, LongWaitsNeverOverflowTheTimer) {
    Sprite* sprite = MakeSprite({100, 200, 300});
    for (bool loop : {true, false}) {
        Bob bob;
        bob.SetSprite(sprite);
        bob.loop = loop;
        bob.Update(250);
        ASSERT_EQ(bob.frame, 1);
        ASSERT_EQ(bob.frameTimer, 150);
        bob.Update(INT32_MAX);
        EXPECT_EQ(bob.frame, 2) << loop;
        EXPECT_EQ(bob.frameTimer, 197) << loop;  // non-looping: on the last frame, 2147482997 % 300
        EXPECT_TRUE(bob.finished);
        bob.Update(-1000);
        EXPECT_EQ(bob.frame, 2);
        EXPECT_EQ(bob.frameTimer, 197);
        bob.frameTimer = INT32_MAX;  // a timer set from outside
        bob.Update(INT32_MAX);
        EXPECT_GE(bob.frameTimer, 0);
        EXPECT_LT(bob.frameTimer, 600);
    }
    delete sprite;
}

TEST(BobTiming, NothingMovesWithoutSpriteFramesOrWhilePaused) {
    Bob none;
    none.Update(500);
    EXPECT_EQ(none.frameTimer, 0);
    EXPECT_EQ(none.FrameWidth(), 0);

    Sprite empty;
    Bob onEmpty;
    onEmpty.SetSprite(&empty);
    onEmpty.Update(500);
    onEmpty.Draw();
    onEmpty.DrawOutline();
    EXPECT_EQ(onEmpty.frame, 0);
    EXPECT_EQ(onEmpty.FrameHeight(), 0);

    Sprite* sprite = MakeSprite({100, 100});
    Bob paused;
    paused.SetSprite(sprite);
    paused.playing = false;
    paused.Update(500);
    EXPECT_EQ(paused.frame, 0);
    EXPECT_EQ(paused.frameTimer, 0);
    // A frame index past the end (set by an owner) is brought back before it is used.
    Bob past;
    past.SetSprite(sprite);
    past.frame = 7;
    past.loop = false;
    past.Update(1);
    EXPECT_EQ(past.frame, 1);
    delete sprite;
}

TEST(BobSprite, SetSpriteRestartsUnlessLockedOrUnchanged) {
    Sprite* a = MakeSprite({100, 100, 100});
    Sprite* b = MakeSprite({100, 100}, false, 6, 4);
    Bob bob;
    bob.SetSprite(a);
    bob.loop = false;
    bob.Update(250);
    ASSERT_EQ(bob.frame, 2);
    // The sprite already shown: the animation is not restarted.
    bob.SetSprite(a);
    EXPECT_EQ(bob.frame, 2);
    EXPECT_TRUE(bob.finished);
    // Locked: the old sprite and frame stay.
    bob.locked = true;
    bob.SetSprite(b);
    EXPECT_EQ(bob.sprite, a);
    EXPECT_EQ(bob.frame, 2);
    bob.locked = false;
    bob.SetSprite(b);
    EXPECT_EQ(bob.sprite, b);
    EXPECT_EQ(bob.frame, 0);
    EXPECT_EQ(bob.frameTimer, 0);
    EXPECT_FALSE(bob.finished);
    EXPECT_FALSE(bob.loop);  // playing and loop are left alone
    EXPECT_EQ(bob.FrameWidth(), 6);
    EXPECT_EQ(bob.FrameHeight(), 4);
    delete a;
    delete b;
}

class BobDrawTest : public testing::Test {
protected:
    void SetUp() override {
        saved_ = ScreenSurface;
        ScreenSurface = SDL_CreateRGBSurface(0, 10, 10, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
        SDL_FillRect(ScreenSurface, nullptr, 0x123456);
    }
    void TearDown() override {
        SDL_FreeSurface(ScreenSurface);
        ScreenSurface = saved_;
    }
    static uint32_t At(int x, int y) {
        uint32_t v;
        memcpy(&v, static_cast<uint8_t*>(ScreenSurface->pixels) + y * ScreenSurface->pitch + x * 4, 4);
        return v;
    }
    SDL_Surface* saved_ = nullptr;
};

TEST_F(BobDrawTest, DrawsFrameAndPendingOutline) {
    Sprite* sprite = MakeSprite({100, 100}, true);
    Bob bob;
    bob.SetSprite(sprite);
    bob.x = 4;
    bob.y = 5;
    bob.frame = 1;
    bob.HighlightNextDraw();
    bob.Draw();
    EXPECT_EQ(At(4, 6), 0x3C3C3Cu);  // index 2 of frame 1
    EXPECT_EQ(At(5, 6), 0x3C3C3Cu);
    EXPECT_EQ(At(4, 5), 0xFF0000u);  // the top row is outlined like transparent pixels
    EXPECT_EQ(At(3, 5), 0xFF0000u);  // outline left of the frame
    EXPECT_EQ(At(4, 4), 0xFF0000u);  // and above it
    EXPECT_EQ(At(3, 4), 0x123456u);  // corners stay clear
    EXPECT_FALSE(bob.highlight);

    SDL_FillRect(ScreenSurface, nullptr, 0x123456);
    bob.DrawOutline();
    EXPECT_EQ(At(4, 6), 0x123456u);
    EXPECT_EQ(At(6, 5), 0xFF0000u);
    delete sprite;

    // Without outline frames the highlight stays pending.
    Sprite* plain = MakeSprite({100});
    Bob other;
    other.SetSprite(plain);
    other.x = 0;
    other.y = 0;
    other.HighlightNextDraw();
    other.Draw();
    EXPECT_TRUE(other.highlight);
    EXPECT_EQ(At(0, 0), 0x1E1E1Eu);
    delete plain;
}

TEST(BobCells, DestroyedBobLeavesEveryCellItWasLinkedTo) {
    Level level(0, 1);
    level.SetSize(4, 4);
    Level* saved = CurrentLevel;
    CurrentLevel = &level;
    Bob keeper;
    LinkBobToTile(&keeper, 1, 1);
    {
        Bob bob;
        LinkBobToTile(&bob, 1, 1);
        LinkBobToTile(&bob, 2, 3);
        LinkBobToTile(&bob, 2, 3);  // twice to one square
        LinkBobToTile(&bob, 9, 9);  // outside: ignored
        EXPECT_EQ(bob.linkedLists.size(), 3u);
        EXPECT_EQ(level.GetCell(2, 3)->bobs.size(), 2u);
    }
    for (LevelCell* cell : {level.GetCell(1, 1), level.GetCell(2, 3)}) {
        for (Bob* b : cell->bobs) EXPECT_EQ(b, &keeper);
    }
    EXPECT_EQ(level.GetCell(1, 1)->bobs.size(), 1u);
    EXPECT_TRUE(level.GetCell(2, 3)->bobs.empty());
    keeper.UnlinkFromTiles();
    CurrentLevel = saved;
}

}  // namespace
