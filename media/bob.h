#pragma once
// Bob: one animated picture on screen (position, sprite, frame, frame timer).
//
// Stand-in - still to come with the media work:
//  - Bob::Update stepping frames by the sprite's frame delays and the animation-speed
//    divisor (it needs the Sprite frame table); today it only adds the elapsed time to
//    the frame timer.
//  - Bob::Draw / Bob::DrawOutline blitting the sprite's (outline) frame to the screen;
//    today Draw draws nothing and leaves the highlight request set.
//  - FrameWidth / FrameHeight from the sprite's frames (0 today).
//  - the destructor removing the eye candy owned by this Bob.
#include <cstdint>
#include <vector>

class Sprite;
class LevelCell;

// Every frame delay is divided by this: 1, 2, 4 or 8.
extern int32_t AnimationSpeedDivisor;

class Bob {
public:
    Bob();
    virtual ~Bob();

    Bob(const Bob&) = delete;
    Bob& operator=(const Bob&) = delete;

    // Changes the sprite (when not locked and different) and restarts at frame 0.
    void SetSprite(Sprite* newSprite);
    void Update(int32_t elapsedMs);
    void Draw();
    void DrawOutline();
    void HighlightNextDraw() { highlight = true; }

    // Size of the current frame in pixels (0 without a sprite).
    int32_t FrameWidth() const;
    int32_t FrameHeight() const;

    // Adds this Bob to the Bob list of a square of the current level.
    void LinkToTile(int32_t tileX, int32_t tileY);
    // Removes this Bob from every square it was linked to.
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
    std::vector<LevelCell*> linkedCells;
    bool highlight = false;
};
