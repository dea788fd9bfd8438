// Things a creature holds and marks of what it is doing, drawn over its finished body: the
// body keeps its look and the overlay alone tells the action (see art_creatures.h).
#include "tools/art_creatures.h"

#include "tools/art_shapes.h"

#include <algorithm>
#include <cmath>

namespace artw {

namespace {

using shapes::kPi;

const Rgba kInk{14, 12, 10, 255};
const Rgba kSteel{200, 208, 220, 255};
const Rgba kWood{130, 84, 44, 255};
const Rgba kGold{240, 200, 60, 255};

void Stroke(Canvas& c, float x0, float y0, float x1, float y1, float r, Rgba col) {
  const float len = std::max(1.0f, std::hypot(x1 - x0, y1 - y0));
  for (float t = 0; t <= len; t += 0.5f) {
    const float x = x0 + (x1 - x0) * t / len, y = y0 + (y1 - y0) * t / len;
    for (int py = static_cast<int>(y - r - 1); py <= static_cast<int>(y + r + 1); ++py)
      for (int px = static_cast<int>(x - r - 1); px <= static_cast<int>(x + r + 1); ++px)
        if ((px + 0.5f - x) * (px + 0.5f - x) + (py + 0.5f - y) * (py + 0.5f - y) <= r * r + 0.3f)
          c.Set(px, py, col);
  }
}

void Dot(Canvas& c, float x, float y, float r, Rgba col) {
  shapes::FillEllipse(c, x, y, std::max(0.7f, r), std::max(0.7f, r), col);
}

// A small four-pointed twinkle.
void Twinkle(Canvas& c, float x, float y, float r, Rgba col) {
  Stroke(c, x - r, y, x + r, y, 0.5f, col);
  Stroke(c, x, y - r, x, y + r, 0.5f, col);
  Dot(c, x, y, 0.9f, Rgba{255, 255, 255, 255});
}

}  // namespace

void DrawHeldThing(Canvas& c, const CreaturePose& pose, float ax, float ay, float unit) {
  const float z = pose.plan ? pose.plan->size : 1.0f;
  const float phase = pose.frames > 1 ? static_cast<float>(pose.frame) / pose.frames : 0.0f;
  const float fx = pose.facing == 'r' ? 1.0f : pose.facing == 'l' ? -1.0f : 0.0f;
  // The hand that holds things: the creature's right hand.
  float hx = ax, hy = ay - 0.36f * z * unit;
  if (pose.facing == 'd') hx -= 0.25f * z * unit;
  else if (pose.facing == 'u') hx += 0.25f * z * unit;
  else hx += fx * 0.16f * z * unit;
  // A swing from raised behind to lowered in front, towards the facing (sideways when the
  // creature faces the viewer or away).
  const float side = fx != 0.0f ? fx : (pose.facing == 'd' ? -1.0f : 1.0f);
  const float ang = (-0.55f + 1.1f * phase) * kPi;  // 0 is straight up
  const float ux = std::sin(ang) * side, uy = -std::cos(ang);
  const float len = 0.36f * unit;
  const std::string& h = pose.hold;
  if (h == "sword") {
    Stroke(c, hx, hy, hx + ux * len, hy + uy * len, 1.0f, kSteel);
    Stroke(c, hx - uy * 3, hy + ux * 3, hx + uy * 3, hy - ux * 3, 0.8f, kGold);
  } else if (h == "axe") {
    Stroke(c, hx, hy, hx + ux * len * 0.85f, hy + uy * len * 0.85f, 0.8f, kWood);
    const float bx = hx + ux * len * 0.75f, by = hy + uy * len * 0.75f;
    Dot(c, bx - uy * 2.5f, by + ux * 2.5f, 3.2f, kSteel);
  } else if (h == "mace") {
    Stroke(c, hx, hy, hx + ux * len * 0.8f, hy + uy * len * 0.8f, 0.8f, kWood);
    const float bx = hx + ux * len * 0.8f, by = hy + uy * len * 0.8f;
    for (int i = 0; i < 4; ++i)
      Stroke(c, bx, by, bx + 4.0f * std::cos(i * kPi / 2 + 0.7f), by + 4.0f * std::sin(i * kPi / 2 + 0.7f), 0.6f, kInk);
    Dot(c, bx, by, 3.0f, Rgba{150, 150, 160, 255});
  } else if (h == "staff") {
    Stroke(c, hx - ux * len * 0.4f, hy - uy * len * 0.4f, hx + ux * len, hy + uy * len, 0.9f, kWood);
    Dot(c, hx + ux * len, hy + uy * len, 2.2f, Rgba{90, 220, 240, 255});
  } else if (h == "bow") {
    const float bx = hx + fx * 3, by = hy;
    for (int i = -6; i <= 6; ++i) {
      const float t = i / 6.0f;
      c.Set(static_cast<int>(bx + (fx != 0 ? fx : 1) * (4.0f - 4.0f * t * t)), static_cast<int>(by + t * 0.3f * unit), kWood);
    }
    Stroke(c, bx, by - 0.3f * unit, bx - (fx != 0 ? fx : 1) * 4.0f * phase, by, 0.4f, Rgba{230, 230, 220, 255});
    Stroke(c, bx - (fx != 0 ? fx : 1) * 4.0f * phase, by, bx, by + 0.3f * unit, 0.4f, Rgba{230, 230, 220, 255});
  } else if (h == "throw") {
    const float d = phase * 0.25f * unit;
    const float tx = hx + (fx != 0 ? fx : 0.0f) * d, ty = hy - 4 + (pose.facing == 'd' ? d * 0.6f : pose.facing == 'u' ? -d * 0.6f : 0.0f);
    Stroke(c, tx - 2, ty, tx + 2, ty, 0.7f, kSteel);
    Stroke(c, tx, ty - 2, tx, ty + 2, 0.7f, kSteel);
  } else if (h == "fist") {
    const float d = std::sin(phase * kPi) * 0.15f * unit;
    Dot(c, hx + (fx != 0 ? fx : side * 0.3f) * d, hy, 2.6f, Rgba{236, 190, 150, 255});
    if (phase > 0.3f && phase < 0.7f)
      for (int i = -1; i <= 1; ++i)
        Stroke(c, hx + side * (d + 4), hy + i * 3, hx + side * (d + 7), hy + i * 4, 0.4f, Rgba{255, 255, 255, 255});
  } else if (h == "wand") {
    Stroke(c, hx, hy, hx + ux * len * 0.6f, hy + uy * len * 0.6f, 0.6f, Rgba{60, 40, 30, 255});
    Twinkle(c, hx + ux * len * 0.7f, hy + uy * len * 0.7f, 2.5f + 1.5f * std::sin(phase * 2 * kPi), Rgba{200, 140, 255, 255});
  } else if (h == "sparks") {
    for (int i = 0; i < 3; ++i) {
      const float a = phase * 2 * kPi + i * 2 * kPi / 3;
      Twinkle(c, ax + std::cos(a) * 0.3f * unit, ay - 0.45f * z * unit + std::sin(a) * 0.12f * unit, 2.0f,
              Rgba{190, 120, 255, 255});
    }
  } else if (h == "scroll") {
    const float w = 0.2f * unit, ht = 0.14f * unit;
    for (int y = static_cast<int>(hy - ht); y < hy; ++y)
      for (int x = static_cast<int>(hx - w / 2); x < hx + w / 2; ++x) c.Set(x, y, Rgba{236, 216, 160, 255});
    Stroke(c, hx - w / 2, hy - ht, hx + w / 2, hy - ht, 0.8f, Rgba{170, 130, 80, 255});
    Stroke(c, hx - w / 2 + 2, hy - ht * 0.5f, hx + w / 2 - 2, hy - ht * 0.5f, 0.3f, Rgba{80, 60, 40, 255});
  } else if (h == "bottle") {
    const float lift = std::sin(phase * kPi) * 0.1f * unit;
    Dot(c, hx, hy - lift, 3.0f, Rgba{80, 200, 230, 255});
    Stroke(c, hx, hy - lift - 3, hx, hy - lift - 6, 0.8f, Rgba{200, 210, 220, 255});
  } else if (h == "food") {
    const float lift = std::sin(phase * kPi) * 0.1f * unit;
    Dot(c, hx, hy - lift, 3.0f, Rgba{170, 90, 40, 255});
    Stroke(c, hx + 2, hy - lift + 2, hx + 5, hy - lift + 5, 0.8f, Rgba{240, 236, 220, 255});
  } else if (h == "stars") {
    for (int i = 0; i < 4; ++i) {
      const float t = std::fmod(phase + i * 0.25f, 1.0f);
      Twinkle(c, ax + (i - 1.5f) * 0.18f * unit, ay - t * 0.95f * c.height, 2.5f, kGold);
    }
  } else if (h == "bubbles") {
    for (int i = 0; i < 3; ++i) {
      const float t = std::fmod(phase + i / 3.0f, 1.0f);
      Dot(c, ax + (i - 1) * 0.2f * unit, ay - (0.3f + 0.6f * t) * z * unit, 1.6f, Rgba{120, 230, 70, 255});
    }
  } else if (h == "waves") {
    const int top = static_cast<int>(ay - (0.15f + 0.6f * phase) * z * unit);
    for (int y = std::max(0, top); y < c.height; ++y)
      for (int x = 0; x < c.width; ++x)
        if ((x + y + static_cast<int>(phase * 8)) % 3 != 0 || y == top)
          c.Set(x, y, y == top ? Rgba{200, 230, 255, 255} : Rgba{40, 100, 200, 255});
  }
  if (pose.action == CreatureAction::Sleep) {
    for (int i = 0; i < 2; ++i) {
      const float t = std::fmod(phase + i * 0.5f, 1.0f);
      const float zx = ax + (0.1f + 0.2f * t) * unit, zy = ay - (0.6f + 0.3f * t) * z * unit;
      Stroke(c, zx - 2, zy - 2, zx + 2, zy - 2, 0.5f, Rgba{250, 250, 255, 255});
      Stroke(c, zx + 2, zy - 2, zx - 2, zy + 2, 0.5f, Rgba{250, 250, 255, 255});
      Stroke(c, zx - 2, zy + 2, zx + 2, zy + 2, 0.5f, Rgba{250, 250, 255, 255});
    }
  }
}

}  // namespace artw
