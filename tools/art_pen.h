// A small pen for the item and fixture pictures: filled shapes given in units of the canvas
// (0..1 across and down), so one drawing serves every picture size. Shapes are shaded from the
// upper left like the other generated art; Finish() adds the dark outline.
#pragma once

#include "tools/art_shapes.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace artw {

struct Pen {
  Canvas& c;
  explicit Pen(Canvas& canvas) : c(canvas) {}

  float W() const { return static_cast<float>(c.width); }
  float H() const { return static_cast<float>(c.height); }

  // Polygon (x, y pairs in units), flat colour with a gentle top-to-bottom ramp.
  void Poly(const std::vector<float>& unit, Rgba colour) const { shapes::FillPolygon(c, unit, colour); }

  // Polygon in one flat colour, no ramp (marks, slits, openings).
  void Flat(const std::vector<float>& unit, Rgba colour) const {
    std::vector<float> xy(unit.size());
    for (size_t i = 0; i + 1 < unit.size(); i += 2) {
      xy[i] = unit[i] * W();
      xy[i + 1] = unit[i + 1] * H();
    }
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x)
        if (shapes::InPolygon(xy, x + 0.5f, y + 0.5f)) c.Blend(x, y, colour);
  }

  void Ellipse(float cx, float cy, float rx, float ry, Rgba colour) const {
    shapes::FillEllipse(c, cx * W(), cy * H(), rx * W(), ry * H(), colour);
  }

  // Ellipse in one flat colour.
  void Spot(float cx, float cy, float rx, float ry, Rgba colour) const {
    const float px = cx * W(), py = cy * H(), qx = std::max(0.5f, rx * W()), qy = std::max(0.5f, ry * H());
    for (int y = static_cast<int>(py - qy) - 1; y <= static_cast<int>(py + qy) + 1; ++y)
      for (int x = static_cast<int>(px - qx) - 1; x <= static_cast<int>(px + qx) + 1; ++x) {
        const float dx = (x + 0.5f - px) / qx, dy = (y + 0.5f - py) / qy;
        if (dx * dx + dy * dy <= 1.0f) c.Blend(x, y, colour);
      }
  }

  // Ring between two radii (of the width; the height scales with the canvas).
  void Band(float cx, float cy, float rOuter, float rInner, float squash, Rgba colour) const {
    const float px = cx * W(), py = cy * H();
    const float ro = rOuter * W(), ri = rInner * W();
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) {
        const float dx = x + 0.5f - px, dy = (y + 0.5f - py) / squash;
        const float d = std::sqrt(dx * dx + dy * dy);
        if (d <= ro && d >= ri) c.Blend(x, y, Shade(colour, 1.15f - 0.3f * (dx + dy) / std::max(1.0f, ro)));
      }
  }

  // Thick straight stroke with round ends; width in units of the canvas width.
  void Line(float x0, float y0, float x1, float y1, float width, Rgba colour) const {
    const float ax = x0 * W(), ay = y0 * H(), bx = x1 * W(), by = y1 * H();
    const float r = std::max(0.5f, width * W() / 2.0f);
    const float lx = bx - ax, ly = by - ay, len2 = std::max(1e-4f, lx * lx + ly * ly);
    const int xa = static_cast<int>(std::min(ax, bx) - r) - 1, xb = static_cast<int>(std::max(ax, bx) + r) + 1;
    const int ya = static_cast<int>(std::min(ay, by) - r) - 1, yb = static_cast<int>(std::max(ay, by) + r) + 1;
    for (int y = ya; y <= yb; ++y)
      for (int x = xa; x <= xb; ++x) {
        const float px = x + 0.5f - ax, py = y + 0.5f - ay;
        const float t = std::max(0.0f, std::min(1.0f, (px * lx + py * ly) / len2));
        const float dx = px - t * lx, dy = py - t * ly;
        const float d2 = dx * dx + dy * dy;
        if (d2 <= r * r) c.Blend(x, y, Shade(colour, 1.1f - 0.25f * (dx + dy) / r));
      }
  }

  void Box(float x0, float y0, float x1, float y1, Rgba colour) const {
    Poly({x0, y0, x1, y0, x1, y1, x0, y1}, colour);
  }

  void FlatBox(float x0, float y0, float x1, float y1, Rgba colour) const {
    Flat({x0, y0, x1, y0, x1, y1, x0, y1}, colour);
  }

  void Finish() const { shapes::Outline(c, Rgba{14, 12, 10, 255}); }
};

// Scales every pixel's alpha (fading pictures).
inline void FadeCanvas(Canvas& c, float keep) {
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      Rgba p = c.Get(x, y);
      if (p.a) c.Set(x, y, WithAlpha(p, static_cast<int>(p.a * keep)));
    }
}

}  // namespace artw
