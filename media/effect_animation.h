#pragma once
// Effect animations that need no level: the queue of animation starts that a turn collects
// and fires together, and the blocking players of one Bob. The players run their own render
// loop through the frame services (draw the game screen, present and advance) until the Bob
// is done; every such loop also ends after kBlockingLoopCapMs of clock time or
// kBlockingLoopCapFrames frames, so a Bob that never finishes (no sprite, no frames, a locked
// sprite, a Bob nobody advances) cannot hang the game.
//
// The tile-bound animations (effects at a tile, missiles, explosion lines) are in
// levels/tile_effects.h; bursts, cones and beams, which end by applying a spell, are with the
// spells (creatures/spell.h).
#include <cstdint>

class Bob;
class Sprite;

constexpr uint32_t kBlockingLoopCapMs = 10000;
constexpr int32_t kBlockingLoopCapFrames = 2000;

// Counts the frames and clock time of one blocking loop; Running() turns false at the cap.
class BlockingLoopGuard {
public:
    BlockingLoopGuard();
    // False once the loop has run kBlockingLoopCapFrames times or kBlockingLoopCapMs have
    // passed; otherwise counts one more frame and answers true.
    bool Running();
    // Milliseconds of clock time since the last call (the first call: since construction).
    int32_t TakeElapsedMs();

private:
    uint32_t startTicks;
    uint32_t lastTicks;
    int32_t frames = 0;
};

// Appends (bob, sprite) to the queue; neither is owned.
void QueueAnimation(Bob* bob, Sprite* sprite);
// Drops every queued pair of the Bob (its owner is going away).
void UnqueueAnimations(Bob* bob);
// Starts every queued pair in order (playing, not looping, not finished, the sprite set), then
// empties the queue.
void StartQueuedAnimations();
// Empties the queue.
void ClearQueuedAnimations();
// Pairs waiting in the queue.
int32_t QueuedAnimationCount();

// Plays the sprite once on the Bob and runs the render loop until the Bob has finished;
// replaying the sprite a Bob already shows starts it again. The Bob loops again afterwards.
void PlayBobToEnd(Bob* bob, Sprite* sprite);
// Plays the sprite on the Bob and runs the render loop (pumping events) for ms divided by the
// animation-speed divisor; the Bob loops again afterwards.
void PlayBobForTime(Bob* bob, Sprite* sprite, int32_t ms);
