#pragma once
// Field of view: which squares of the current level the hero sees.
//
// Level::UpdateFieldOfView (declared with the Level) clears the per-turn sight bits, casts
// eight straight and diagonal rays and eight recursive octant scans out to the sight
// radius, derives the drawing bits (visible, explored, wall faces and tops) and then lets
// the monster-zoo check run. Everything it decides lives in the squares' flag bytes.
#include <cstdint>

// The sight radius of a viewer with no gifts (GameObj::SightRadius).
constexpr int32_t kBaseSightRadius = 5;

// True once the current level's monster zoo has been discovered; while set, seeing one zoo
// square shows the whole zoo.
extern bool ZooDiscovered;

// Run after every sight pass (the monster-zoo discovery hangs itself here); null: nothing.
using SightPassHook = void (*)();
void SetAfterSightPassHook(SightPassHook hook);

// (ax - bx) / (ay - by); 0 when ay equals by.
double FovSlope(double ax, double ay, double bx, double by);
// 1 / FovSlope of the same arguments; 0 when that slope is 0.
double FovInverseSlope(double ax, double ay, double bx, double by);
