// The animation queue and the blocking players of one Bob: they play to the end, restart a
// sprite already shown, and never hang on a Bob that cannot finish.
#include "media/effect_animation.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/input_log.h"
#include "interface/game_frame.h"
#include "media/bob.h"
#include "media/sprite.h"

namespace {

// A sprite of one 1 x 1 frame shown for 1000 ms.
std::unique_ptr<Sprite> OneFrameSprite() {
    std::unique_ptr<Sprite> sprite(new Sprite());
    sprite->InitFromSurface(SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0xff0000, 0xff00, 0xff, 0));
    return sprite;
}

class EffectAnimationTest : public testing::Test {
protected:
    void SetUp() override {
        SetFixedFrameTime(10);
        ClearQueuedAnimations();
    }
    void TearDown() override {
        SetFixedFrameTime(0);
        ClearQueuedAnimations();
        AnimationSpeedDivisor = 1;
    }
    // Milliseconds of the fixed clock that the call took.
    template <typename Call>
    static Uint32 Timed(Call call) {
        const Uint32 start = LoggedGetTicks();
        call();
        return LoggedGetTicks() - start;
    }
};

TEST_F(EffectAnimationTest, QueuedAnimationsStartTogetherAndLeaveWithTheirBob) {
    std::unique_ptr<Sprite> sprite = OneFrameSprite();
    Bob first;
    first.finished = true;
    first.playing = false;
    std::unique_ptr<Bob> second(new Bob());
    QueueAnimation(&first, sprite.get());
    QueueAnimation(second.get(), sprite.get());
    QueueAnimation(second.get(), sprite.get());
    EXPECT_EQ(QueuedAnimationCount(), 3);
    UnqueueAnimations(second.get());
    EXPECT_EQ(QueuedAnimationCount(), 1) << "both pairs of that Bob went";
    QueueAnimation(second.get(), sprite.get());
    second.reset();
    EXPECT_EQ(QueuedAnimationCount(), 1) << "a destroyed Bob leaves the queue";

    StartQueuedAnimations();
    EXPECT_EQ(QueuedAnimationCount(), 0);
    EXPECT_EQ(first.sprite, sprite.get());
    EXPECT_TRUE(first.playing);
    EXPECT_FALSE(first.loop);
    EXPECT_FALSE(first.finished);
}

TEST_F(EffectAnimationTest, PlayingToTheEndWaitsForTheBobAndRestartsAShownSprite) {
    std::unique_ptr<Sprite> sprite = OneFrameSprite();
    Bob bob;
    // The frame advances it, as it advances a Bob on a square in view.
    RegisterSharedBob(&bob);
    const Uint32 first = Timed([&] { PlayBobToEnd(&bob, sprite.get()); });
    EXPECT_TRUE(bob.finished);
    EXPECT_TRUE(bob.loop) << "looping again afterwards";
    EXPECT_GE(first, 1000u);
    EXPECT_LT(first, 1100u);
    const Uint32 again = Timed([&] { PlayBobToEnd(&bob, sprite.get()); });
    EXPECT_GE(again, 1000u) << "the same sprite plays once more";
    UnregisterSharedBob(&bob);
}

TEST_F(EffectAnimationTest, BlockingPlayersEndForBobsThatCannotFinish) {
    std::unique_ptr<Sprite> sprite = OneFrameSprite();
    std::unique_ptr<Sprite> other = OneFrameSprite();
    Sprite empty;
    struct Case {
        const char* what;
        Sprite* sprite;
        bool locked;
    } const cases[] = {
        {"no sprite", nullptr, false},
        {"no frames", &empty, false},
        {"nobody advances it", sprite.get(), false},
        {"locked on another sprite", sprite.get(), true},
    };
    for (const Case& c : cases) {
        Bob bob;
        if (c.locked) {
            bob.SetSprite(other.get());
            bob.locked = true;
        }
        const Uint32 took = Timed([&] { PlayBobToEnd(&bob, c.sprite); });
        EXPECT_LE(took, kBlockingLoopCapMs + 10) << c.what;
    }
}

TEST_F(EffectAnimationTest, PlayingForATimeHonoursTheSpeedDivisor) {
    std::unique_ptr<Sprite> sprite = OneFrameSprite();
    Bob bob;
    AnimationSpeedDivisor = 2;
    const Uint32 took = Timed([&] { PlayBobForTime(&bob, sprite.get(), 1000); });
    EXPECT_GE(took, 500u);
    EXPECT_LT(took, 520u);
    EXPECT_TRUE(bob.loop);
}

}  // namespace
