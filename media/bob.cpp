#include "media/bob.h"

#include <algorithm>

#include "media/sprite.h"

int32_t AnimationSpeedDivisor = 1;

namespace {
// Plain zero-initialised storage, so that static initialisers of any file may add handlers.
BobDestroyedHandler DestroyedHandlers[kMaxBobDestroyedHandlers];
}  // namespace

bool AddBobDestroyedHandler(BobDestroyedHandler handler) {
    if (handler == nullptr) return false;
    for (BobDestroyedHandler existing : DestroyedHandlers) {
        if (existing == handler) return true;
    }
    for (BobDestroyedHandler& slot : DestroyedHandlers) {
        if (slot == nullptr) {
            slot = handler;
            return true;
        }
    }
    return false;
}

void RemoveBobDestroyedHandler(BobDestroyedHandler handler) {
    for (BobDestroyedHandler& slot : DestroyedHandlers) {
        if (slot == handler) slot = nullptr;
    }
}

Bob::Bob() = default;

Bob::~Bob() {
    for (BobDestroyedHandler handler : DestroyedHandlers) {
        if (handler != nullptr) handler(this);
    }
    UnlinkFromTiles();
}

void Bob::SetSprite(Sprite* newSprite) {
    if (locked || newSprite == sprite) return;
    sprite = newSprite;
    finished = false;
    frame = 0;
    frameTimer = 0;
}

void Bob::Update(int32_t elapsedMs) {
    if (sprite == nullptr || !playing) return;
    const int32_t count = sprite->frameCount;
    const uint16_t* delays = sprite->delays;
    if (count == 0 || delays == nullptr) return;
    if (frame < 0) frame = 0;
    if (frame >= count) frame = loop ? 0 : count - 1;
    const int32_t divisor = AnimationSpeedDivisor < 1 ? 1 : AnimationSpeedDivisor;
    // A frame whose delay divides down to 0 still shows for 1 ms, so the loop always ends.
    auto shown = [delays, divisor](int32_t i) {
        const int32_t d = delays[i] / divisor;
        return d < 1 ? 1 : d;
    };
    // The timer runs in 64 bits: a long pause (or a timer set from outside) cannot overflow it.
    // Time never runs backwards here.
    int64_t timer = static_cast<int64_t>(frameTimer) + (elapsedMs > 0 ? elapsedMs : 0);
    if (timer < 0) timer = 0;
    int32_t steps = 0;
    while (timer >= shown(frame)) {
        timer -= shown(frame);
        if (frame < count - 1 || loop) ++frame;
        if (frame >= count - 1) finished = true;
        if (frame >= count && loop) frame = 0;
        if (++steps == count) {
            // One whole pass is done; further whole passes change nothing but the timer.
            if (loop) {
                int64_t cycle = 0;
                for (int32_t i = 0; i < count; ++i) cycle += shown(i);
                timer %= cycle;
            } else {
                timer %= shown(frame);
            }
        }
    }
    frameTimer = static_cast<int32_t>(timer);  // below one frame's delay: at most 65535
}

void Bob::Draw() {
    if (sprite == nullptr) return;
    sprite->DrawFrame(x, y, frame);
    if (highlight && sprite->outlines != nullptr) {
        sprite->DrawOutlineFrame(x - 1, y - 1, frame);
        highlight = false;
    }
}

void Bob::DrawOutline() {
    if (sprite == nullptr || sprite->outlines == nullptr) return;
    sprite->DrawOutlineFrame(x - 1, y - 1, frame);
}

int32_t Bob::FrameWidth() const {
    if (sprite == nullptr || sprite->frames == nullptr || sprite->frameCount == 0) return 0;
    const int32_t i = frame >= 0 && frame < sprite->frameCount ? frame : 0;
    return sprite->frames[i] != nullptr ? sprite->frames[i]->w : 0;
}

int32_t Bob::FrameHeight() const {
    if (sprite == nullptr || sprite->frames == nullptr || sprite->frameCount == 0) return 0;
    const int32_t i = frame >= 0 && frame < sprite->frameCount ? frame : 0;
    return sprite->frames[i] != nullptr ? sprite->frames[i]->h : 0;
}

void Bob::LinkInto(std::vector<Bob*>* list) {
    if (list == nullptr) return;
    list->push_back(this);
    linkedLists.push_back(list);
}

void Bob::ForgetList(const std::vector<Bob*>* list) {
    linkedLists.erase(std::remove(linkedLists.begin(), linkedLists.end(), list), linkedLists.end());
}

void Bob::UnlinkFromTiles() {
    for (std::vector<Bob*>* list : linkedLists) {
        list->erase(std::remove(list->begin(), list->end(), this), list->end());
    }
    linkedLists.clear();
}
