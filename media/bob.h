#pragma once
// Bob: one animated picture on screen (position, sprite, frame, frame timer). Every object on a
// level embeds one; a Bob may also be linked into the Bob lists of level squares so the level
// draws it with them.
#include <cstdint>
#include <vector>

class Bob;
class Sprite;

// Every frame delay is divided by this: 1, 2, 4 or 8.
extern int32_t AnimationSpeedDivisor;

// Handlers called by every Bob's destructor, in the order they were added, before it unlinks
// itself (the eye-candy list drops the entries that follow the Bob). Several users may add one
// each; adding the same handler twice keeps one entry. False when all slots are taken.
using BobDestroyedHandler = void (*)(Bob* bob);
constexpr int kMaxBobDestroyedHandlers = 4;
bool AddBobDestroyedHandler(BobDestroyedHandler handler);
void RemoveBobDestroyedHandler(BobDestroyedHandler handler);

class Bob {
public:
    Bob();
    virtual ~Bob();

    Bob(const Bob&) = delete;
    Bob& operator=(const Bob&) = delete;

    // Changes the sprite (when not locked and different) and restarts at frame 0.
    void SetSprite(Sprite* newSprite);
    // Advances the frames by the elapsed time; a frame shows for its delay divided by the
    // animation-speed divisor (at least 1 ms). A non-looping Bob stops on its last frame and is
    // finished once it shows it; a looping one wraps to frame 0.
    void Update(int32_t elapsedMs);
    // Blits the current frame at (x, y), and with a pending highlight the outline frame at
    // (x - 1, y - 1) (the highlight then ends; without outline frames it stays pending).
    void Draw();
    // Blits only the outline frame at (x - 1, y - 1).
    void DrawOutline();
    void HighlightNextDraw() { highlight = true; }

    // Size of the current frame in pixels (0 without a sprite).
    int32_t FrameWidth() const;
    int32_t FrameHeight() const;

    // Adds this Bob to a list of Bobs drawn together (a level square's list) and remembers
    // the list, so the Bob leaves it when it is destroyed.
    void LinkInto(std::vector<Bob*>* list);
    // Forgets a list that is going away without touching it.
    void ForgetList(const std::vector<Bob*>* list);
    // Removes this Bob from every list it was linked into.
    void UnlinkFromTiles();

    int32_t x = -1;
    int32_t y = -1;
    bool playing = true;
    bool loop = true;
    bool finished = false;
    bool deleteWhenDone = false;
    bool locked = false;
    bool centreVertically = false;
    int32_t frame = 0;
    int32_t frameTimer = 0;
    Sprite* sprite = nullptr;  // owned by the sprite table
    std::vector<std::vector<Bob*>*> linkedLists;  // one entry per link, repeats kept
    bool highlight = false;
};
