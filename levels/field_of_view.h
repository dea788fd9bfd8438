#pragma once
// Field of view: which squares of the current level the hero sees.
//
// Level::UpdateFieldOfView (declared with the Level) clears the per-turn sight bits, casts
// eight straight and diagonal rays and eight recursive octant scans out to the sight
// radius, derives the drawing bits (visible, explored, wall faces and tops) and then lets
// the monster-zoo check run. Everything it decides lives in the squares' flag bytes.
#include <cstdint>

class Player;

// Skill code whose first slot with a non-zero level widens the sight radius.
constexpr int32_t kFarSightSkillCode = 25;
constexpr int32_t kBaseSightRadius = 5;
constexpr int32_t kFarSightRadius = 7;

// True once the current level's monster zoo has been discovered; while set, seeing one zoo
// square shows the whole zoo.
extern bool ZooDiscovered;

// Run after every sight pass (the monster-zoo discovery hangs itself here); null: nothing.
using SightPassHook = void (*)();
void SetAfterSightPassHook(SightPassHook hook);

// Sight radius of the hero: 7 when the first of its seven skill slots that holds skill code
// 25 has a non-zero level, else 5; plus the sight bonus of every active buff. 5 without a
// hero. May be below 1.
int32_t ComputeSightRadius(const Player* hero);

// (ax - bx) / (ay - by); 0 when ay equals by.
double FovSlope(double ax, double ay, double bx, double by);
// 1 / FovSlope of the same arguments; 0 when that slope is 0.
double FovInverseSlope(double ax, double ay, double bx, double by);
