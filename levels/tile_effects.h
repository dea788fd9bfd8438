#pragma once
// Animations bound to the squares of the current level: a frame drawn on a tile, an effect
// played at a tile, a projectile flying between two squares and an explosion running along a
// line. The flights and lines run their own render loop until they are done, capped like
// every blocking loop (media/effect_animation.h).
#include <cstdint>
#include <functional>

class Bob;
class Sprite;
struct MapView;

// Draws the frame horizontally centred on the tile, its bottom edge on the tile's bottom edge,
// through the play screen's camera.
void DrawSpriteFrameAtTile(int32_t tileX, int32_t tileY, Sprite* sprite, int32_t frame);

// Plays the numbered animation `file` (frameCount frames from number 0, delayMs each) at a
// tile the hero sees now. Without wait the square takes the picture and drops it when it has
// played; with wait the render loop runs until it has played. Nothing for an unseen tile, an
// empty name, or a series without frames.
void PlayEffectAtTile(int tileX, int tileY, const char* file, int frameCount, int delayMs, bool centreVertically,
                      bool wait);

// Centres the Bob's frame on the point (px, py) of the map, in squares (fractions lie between
// squares), as the camera shows it.
void PlaceBobAtMapPoint(Bob& bob, const MapView& view, double px, double py);

// Flies the sprite from (x0, y0) toward (x1, y1), one square every two frames, and writes the
// square where it stopped: the first blocked square (the hero not counted) or wall on the way,
// else the target (also when start and target are the same square).
void AnimateMissile(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t* outX, int32_t* outY, Sprite* sprite);

// Plays the explosion along the line from (x0, y0) to (x1, y1) until it has played.
void AnimateExplosionLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1);

// The squares of a line from (x0, y0) to (x1, y1), walked in 100 sub-steps of the difference
// with each coordinate rounded half up; the start square is not visited. Each new square is
// handed to `visit`, which answers false to end the walk after it; the walk also ends at the
// target. Squares outside the level end the walk without a visit.
void WalkTileLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, const std::function<bool(int32_t, int32_t)>& visit);

// The squares a missile from (x0, y0) toward (x1, y1) passes, in order, each truncated to a
// whole square (the start not included, the target last).
void MissilePathStep(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t step, int32_t* outX, int32_t* outY);
