#include "media/effect_animation.h"

#include <SDL.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "core/input_log.h"
#include "interface/ui_services.h"
#include "media/bob.h"
#include "media/sprite.h"

namespace {

std::vector<std::pair<Bob*, Sprite*>>& Queue() {
    static std::vector<std::pair<Bob*, Sprite*>> queue;
    return queue;
}

// A Bob that goes away leaves the queue with it.
const bool QueueWatchesBobs = AddBobDestroyedHandler(UnqueueAnimations);

// A Bob without frames to show never finishes; the blocking players do not wait for it.
bool CanFinish(const Bob* bob) { return bob->sprite != nullptr && bob->sprite->frameCount > 0; }

// Starts the sprite from its first frame even when the Bob already shows it (SetSprite alone
// keeps a sprite it already has and would leave a finished Bob finished).
void StartOnce(Bob* bob, Sprite* sprite) {
    bob->finished = false;
    bob->playing = true;
    bob->loop = false;
    bob->SetSprite(sprite);
    if (bob->sprite == sprite) {
        bob->frame = 0;
        bob->frameTimer = 0;
    }
}

}  // namespace

BlockingLoopGuard::BlockingLoopGuard() : startTicks(LoggedGetTicks()), lastTicks(startTicks) {}

bool BlockingLoopGuard::Running() {
    if (frames >= kBlockingLoopCapFrames) return false;
    if (LoggedGetTicks() - startTicks >= kBlockingLoopCapMs) return false;
    ++frames;
    return true;
}

int32_t BlockingLoopGuard::TakeElapsedMs() {
    const uint32_t now = LoggedGetTicks();
    const uint32_t elapsed = now - lastTicks;
    lastTicks = now;
    return static_cast<int32_t>(std::min<uint32_t>(elapsed, 60000));
}

void QueueAnimation(Bob* bob, Sprite* sprite) {
    if (bob == nullptr) return;
    Queue().emplace_back(bob, sprite);
}

void UnqueueAnimations(Bob* bob) {
    auto& queue = Queue();
    queue.erase(std::remove_if(queue.begin(), queue.end(),
                               [bob](const std::pair<Bob*, Sprite*>& entry) { return entry.first == bob; }),
                queue.end());
}

void StartQueuedAnimations() {
    // Swapped out first: starting an animation never adds to the batch being started.
    std::vector<std::pair<Bob*, Sprite*>> batch;
    batch.swap(Queue());
    for (auto& entry : batch) StartOnce(entry.first, entry.second);
}

void ClearQueuedAnimations() { Queue().clear(); }

int32_t QueuedAnimationCount() { return static_cast<int32_t>(Queue().size()); }

void PlayBobToEnd(Bob* bob, Sprite* sprite) {
    if (bob == nullptr) return;
    StartOnce(bob, sprite);
    BlockingLoopGuard guard;
    while (CanFinish(bob) && !bob->finished && guard.Running()) {
        DrawGameScreen();
        AdvanceFrame();
    }
    bob->loop = true;
}

void PlayBobForTime(Bob* bob, Sprite* sprite, int32_t ms) {
    if (bob == nullptr) return;
    StartOnce(bob, sprite);
    const int32_t divisor = AnimationSpeedDivisor > 0 ? AnimationSpeedDivisor : 1;
    const uint32_t wanted = static_cast<uint32_t>(std::max(ms, 0) / divisor);
    const uint32_t start = LoggedGetTicks();
    BlockingLoopGuard guard;
    while (LoggedGetTicks() - start < wanted && guard.Running()) {
        SDL_PumpEvents();
        DrawGameScreen();
        AdvanceFrame();
    }
    bob->loop = true;
}
