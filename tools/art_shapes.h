// The shapes of the generated placeholder art. A shape fills a whole canvas from a base colour, an
// optional label and the frame number within its animation, so that kinds of picture (walls,
// floors, liquids, creatures, items, buttons, bars, icons...) can be told apart at a glance.
#pragma once

#include "tools/art_creatures.h"
#include "tools/art_draw.h"
#include "tools/art_tiles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace artw {

struct ShapeArgs {
  Rgba colour;
  std::string plan;  // body plan of a creature (empty: the plain eyed blob)
  std::string label;
  int frame = 0;
  int frames = 1;
};

using ShapeFn = void (*)(Canvas&, const ShapeArgs&);

namespace shapes {

constexpr float kPi = 3.14159265f;

// Animation phase in [0, 1).
inline float Phase(const ShapeArgs& a) {
  return a.frames > 1 ? static_cast<float>(a.frame) / static_cast<float>(a.frames) : 0.0f;
}

inline Rgba Contrast(Rgba c) {
  return Luminance(c) > 140 ? Rgba{20, 16, 12, 255} : Rgba{250, 246, 232, 255};
}

// Label centred in the canvas (or in the given box), outlined for legibility.
inline void CentredLabel(Canvas& c, const ShapeArgs& a, Rgba colour, int margin) {
  if (a.label.empty()) return;
  DrawLabel(c, a.label, c.width / 2, c.height / 2, c.width - 2 * margin, c.height - 2 * margin,
            colour, true);
}

// Black outline around every opaque pixel (pixels with a 4-neighbour of alpha >= 128).
inline void Outline(Canvas& c, Rgba edge) {
  Canvas src = c;
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      if (src.Get(x, y).a >= 128) continue;
      if (src.Get(x - 1, y).a >= 128 || src.Get(x + 1, y).a >= 128 || src.Get(x, y - 1).a >= 128 ||
          src.Get(x, y + 1).a >= 128)
        c.Set(x, y, edge);
    }
}

inline bool InPolygon(const std::vector<float>& xy, float px, float py) {
  bool inside = false;
  const size_t n = xy.size() / 2;
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    const float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
    if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) inside = !inside;
  }
  return inside;
}

// Fills a polygon given in units of the canvas size (0..1), with a vertical light-to-dark ramp.
inline void FillPolygon(Canvas& c, const std::vector<float>& unit, Rgba colour) {
  std::vector<float> xy(unit.size());
  for (size_t i = 0; i < unit.size(); i += 2) {
    xy[i] = unit[i] * c.width;
    xy[i + 1] = unit[i + 1] * c.height;
  }
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x)
      if (InPolygon(xy, x + 0.5f, y + 0.5f))
        c.Blend(x, y, Shade(colour, 1.25f - 0.5f * y / std::max(1, c.height - 1)));
}

// Filled ellipse centred on (cx, cy) with radii rx, ry, shaded from the upper left.
inline void FillEllipse(Canvas& c, float cx, float cy, float rx, float ry, Rgba colour) {
  if (rx <= 0.0f || ry <= 0.0f) return;
  for (int y = static_cast<int>(cy - ry) - 1; y <= static_cast<int>(cy + ry) + 1; ++y)
    for (int x = static_cast<int>(cx - rx) - 1; x <= static_cast<int>(cx + rx) + 1; ++x) {
      const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
      const float d = dx * dx + dy * dy;
      if (d > 1.0f) continue;
      const float light = 1.2f - 0.25f * (dx + dy) - 0.2f * d;
      c.Blend(x, y, Shade(colour, light));
    }
}

// ---------------------------------------------------------------------------------------------

// Opaque window or bar background with a bevelled border.
inline void Panel(Canvas& c, const ShapeArgs& a) {
  const Rgba base = Shade(a.colour, 0.7f);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const float grain = 0.92f + 0.08f * static_cast<float>(Hash3(x / 3, y, 7) % 4) / 3.0f;
      c.Set(x, y, Shade(base, grain));
    }
  const int bevel = std::max(1, std::min(3, std::min(c.width, c.height) / 12));
  for (int i = 0; i < bevel; ++i) {
    for (int x = i; x < c.width - i; ++x) {
      c.Set(x, i, Shade(a.colour, 1.3f));
      c.Set(x, c.height - 1 - i, Shade(a.colour, 0.45f));
    }
    for (int y = i; y < c.height - i; ++y) {
      c.Set(i, y, Shade(a.colour, 1.2f));
      c.Set(c.width - 1 - i, y, Shade(a.colour, 0.5f));
    }
  }
  if (a.label.empty()) return;
  if (c.height <= 160) {
    CentredLabel(c, a, Contrast(base), bevel + 2);
  } else {  // a window background: the label is a title along the top edge
    const int titleH = std::max(14, std::min(28, c.height / 14));
    DrawLabel(c, a.label, c.width / 2, bevel + 4 + titleH / 2, c.width - 2 * bevel - 8, titleH,
              Contrast(base), true);
  }
}

// Parchment scroll: a sheet with rolled ends at the left and right.
inline void Scroll(Canvas& c, const ShapeArgs& a) {
  const int roll = std::max(2, c.width / 14);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      Rgba p = Shade(a.colour, 0.9f + 0.1f * static_cast<float>(Hash3(x / 4, y / 4, 3) % 5) / 4.0f);
      const int fromEdge = std::min(x, c.width - 1 - x);
      if (fromEdge < roll) {
        const float t = static_cast<float>(fromEdge) / roll;
        p = Shade(a.colour, 0.55f + 0.6f * std::sin(t * kPi));
      }
      c.Set(x, y, p);
    }
  for (int x = 0; x < c.width; ++x) {
    c.Set(x, 0, Shade(a.colour, 0.5f));
    c.Set(x, c.height - 1, Shade(a.colour, 0.5f));
  }
  CentredLabel(c, a, Rgba{40, 28, 16, 255}, roll + 2);
}

// Status bar: a horizontal strip, light along the top, darker toward the bottom.
inline void Bar(Canvas& c, const ShapeArgs& a) {
  for (int y = 0; y < c.height; ++y) {
    const float t = c.height > 1 ? static_cast<float>(y) / (c.height - 1) : 0.5f;
    float f = 1.3f - 0.65f * t;
    if (y == 1 && c.height > 4) f = 1.6f;
    for (int x = 0; x < c.width; ++x) {
      const float stripe = ((x + y) / 4) % 2 ? 1.0f : 0.94f;
      c.Set(x, y, Shade(a.colour, f * stripe));
    }
  }
  CentredLabel(c, a, Contrast(a.colour), 1);
}

// Push button: rounded box (one pixel in from the edge, which takes the dark outline) with a
// vertical light-to-dark ramp and a centred label.
inline void Button(Canvas& c, const ShapeArgs& a) {
  const int w = c.width - 2, h = c.height - 2;
  if (w < 1 || h < 1) {
    Panel(c, a);
    return;
  }
  const int r = std::max(1, std::min(6, std::min(w, h) / 4));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int dx = x < r ? r - x : (x >= w - r ? x - (w - 1 - r) : 0);
      const int dy = y < r ? r - y : (y >= h - r ? y - (h - 1 - r) : 0);
      if (dx * dx + dy * dy > r * r) continue;
      const float t = h > 1 ? static_cast<float>(y) / (h - 1) : 0.5f;
      c.Set(x + 1, y + 1, Shade(a.colour, 1.35f - 0.7f * t));
    }
  Outline(c, Rgba{12, 10, 8, 255});
  CentredLabel(c, a, Contrast(a.colour), std::max(2, r));
}

// Outline box with a transparent inside (selection frames, borders).
inline void Frame(Canvas& c, const ShapeArgs& a) {
  const int t = std::max(1, std::min(c.width, c.height) / 16);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const int d = std::min(std::min(x, y), std::min(c.width - 1 - x, c.height - 1 - y));
      if (d == 0) c.Set(x, y, Rgba{14, 12, 10, 255});
      else if (d <= t) c.Set(x, y, Shade(a.colour, d == 1 ? 1.3f : 1.0f));
      else if (d == t + 1) c.Set(x, y, Shade(a.colour, 0.5f));
    }
  if (!a.label.empty())
    DrawLabel(c, a.label, c.width / 2, c.height / 2, c.width - 2 * t - 4, c.height - 2 * t - 4,
              a.colour, true);
}

// Half-tone shade: every other pixel the colour at the colour's alpha (default 170).
inline void Dither(Canvas& c, const ShapeArgs& a) {
  const Rgba dot = a.colour.a == 255 ? WithAlpha(a.colour, 170) : a.colour;
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x)
      if ((x + y) % 2 == 0) c.Set(x, y, dot);
}

// Ordered dither whose density grows with the frame number (darkness steps for unlit squares).
inline void Shadow(Canvas& c, const ShapeArgs& a) {
  static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  const int level = (a.frame + 1) * 16 / (a.frames + 1);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x)
      if (kBayer[y % 4][x % 4] < level) c.Set(x, y, WithAlpha(a.colour, 255));
}

// Text only (digits, numerals, marks), outlined; bobs up and down when animated.
inline void Glyph(Canvas& c, const ShapeArgs& a) {
  const int bob = a.frames > 1 ? static_cast<int>(std::lround(std::sin(Phase(a) * 2 * kPi) *
                                                              std::max(1, c.height / 10)))
                               : 0;
  // Tall lettering (screen titles) keeps an eighth of its height free above and below, so
  // that it never meets the screen's top edge or what is drawn under it.
  const int still = c.height >= 40 ? c.height / 8 : 1;
  const int margin = a.frames > 1 ? std::max(1, c.height / 10) + 1 : still;
  DrawLabel(c, a.label.empty() ? std::string("?") : a.label, c.width / 2, c.height / 2 + bob,
            c.width - 2, c.height - 2 * margin, a.colour, true);
}

// Text that floats upward and fades in over the animation (sleep marks and the like).
inline void Rising(Canvas& c, const ShapeArgs& a) {
  const float p = Phase(a);
  const int size = std::max(4, c.height / 2);
  const int cy = static_cast<int>(c.height - size / 2 - 1 - p * (c.height - size));
  const int cx = c.width / 3 + static_cast<int>(p * c.width / 3);
  DrawLabel(c, a.label.empty() ? std::string("z") : a.label, cx, cy, c.width / 2, size, a.colour,
            true);
}

// Round icon: a shaded disc with a dark rim and an optional centred label.
inline void Disc(Canvas& c, const ShapeArgs& a) {
  const float r = std::min(c.width, c.height) / 2.0f - 1.0f;
  FillEllipse(c, c.width / 2.0f, c.height / 2.0f, r, r, a.colour);
  Outline(c, Rgba{14, 12, 10, 255});
  CentredLabel(c, a, Contrast(a.colour), std::max(1, c.width / 6));
}

// Cut gem (treasure, items of value): a diamond with light upper facets.
inline void Gem(Canvas& c, const ShapeArgs& a) {
  const float cx = c.width / 2.0f, cy = c.height / 2.0f;
  const float rx = c.width / 2.0f - 1.0f, ry = c.height / 2.0f - 1.0f;
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
      if (std::fabs(dx) + std::fabs(dy) > 1.0f) continue;
      float f = dy < 0 ? (dx < 0 ? 1.45f : 1.15f) : (dx < 0 ? 0.85f : 0.65f);
      c.Set(x, y, Shade(a.colour, f));
    }
  Outline(c, Rgba{14, 12, 10, 255});
  CentredLabel(c, a, Contrast(a.colour), 2);
}

// Carried item: a stoppered flask.
inline void Item(Canvas& c, const ShapeArgs& a) {
  const float w = static_cast<float>(c.width), h = static_cast<float>(c.height);
  FillEllipse(c, w / 2, h * 0.64f, w * 0.36f, h * 0.32f, a.colour);
  const int neckW = std::max(1, c.width / 5);
  for (int y = static_cast<int>(h * 0.14f); y < static_cast<int>(h * 0.4f); ++y)
    for (int x = c.width / 2 - neckW / 2; x < c.width / 2 - neckW / 2 + neckW; ++x)
      c.Set(x, y, Rgba{190, 200, 210, 255});
  for (int y = static_cast<int>(h * 0.04f); y < static_cast<int>(h * 0.16f); ++y)
    for (int x = c.width / 2 - neckW / 2; x < c.width / 2 - neckW / 2 + neckW; ++x)
      c.Set(x, y, Rgba{120, 80, 44, 255});
  Outline(c, Rgba{14, 12, 10, 255});
  CentredLabel(c, a, Contrast(a.colour), 1);
}

// Five-pointed star.
inline void Star(Canvas& c, const ShapeArgs& a) {
  std::vector<float> pts;
  for (int i = 0; i < 10; ++i) {
    const float ang = -kPi / 2 + i * kPi / 5;
    const float r = (i % 2 == 0) ? 0.48f : 0.2f;
    pts.push_back(0.5f + r * std::cos(ang));
    pts.push_back(0.53f + r * std::sin(ang));
  }
  FillPolygon(c, pts, a.colour);
  Outline(c, Rgba{14, 12, 10, 255});
}

// Close button: a small dark box with an X in the colour.
inline void Cross(Canvas& c, const ShapeArgs& a) {
  const Rgba box = Shade(a.colour, 0.35f);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) c.Set(x, y, box);
  const float t = std::max(1.0f, std::min(c.width, c.height) / 8.0f);
  const float inset = std::min(c.width, c.height) / 4.0f;
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const float px = x + 0.5f, py = y + 0.5f;
      if (px < inset || py < inset || px > c.width - inset || py > c.height - inset) continue;
      const float u = px / c.width, v = py / c.height;
      const float d1 = std::fabs(u - v) * std::min(c.width, c.height) / 1.414f;
      const float d2 = std::fabs(u + v - 1.0f) * std::min(c.width, c.height) / 1.414f;
      if (d1 < t || d2 < t) c.Set(x, y, Shade(a.colour, 1.25f));
    }
  for (int x = 0; x < c.width; ++x) {
    c.Set(x, 0, Rgba{10, 8, 6, 255});
    c.Set(x, c.height - 1, Rgba{10, 8, 6, 255});
  }
  for (int y = 0; y < c.height; ++y) {
    c.Set(0, y, Rgba{10, 8, 6, 255});
    c.Set(c.width - 1, y, Rgba{10, 8, 6, 255});
  }
}

// Arrows; an animated arrow slides back and forth along its direction.
inline void Arrow(Canvas& c, const ShapeArgs& a, int dir) {  // 0 up, 1 down, 2 left, 3 right
  const float off = a.frames > 1 ? 0.08f * std::sin(Phase(a) * 2 * kPi) : 0.0f;
  std::vector<float> down = {0.1f, 0.2f, 0.9f, 0.2f, 0.5f, 0.85f};
  std::vector<float> pts(6);
  for (int i = 0; i < 3; ++i) {
    float u = down[2 * i], v = down[2 * i + 1] + off;
    switch (dir) {
      case 0: v = 1.0f - v; break;
      case 2: std::swap(u, v); u = 1.0f - u; break;
      case 3: std::swap(u, v); break;
      default: break;
    }
    pts[2 * i] = u;
    pts[2 * i + 1] = v;
  }
  FillPolygon(c, pts, a.colour);
  Outline(c, Rgba{14, 12, 10, 255});
}
inline void ArrowUp(Canvas& c, const ShapeArgs& a) { Arrow(c, a, 0); }
inline void ArrowDown(Canvas& c, const ShapeArgs& a) { Arrow(c, a, 1); }
inline void ArrowLeft(Canvas& c, const ShapeArgs& a) { Arrow(c, a, 2); }
inline void ArrowRight(Canvas& c, const ShapeArgs& a) { Arrow(c, a, 3); }

// Mouse pointer with its tip at the top-left pixel.
inline void Pointer(Canvas& c, const ShapeArgs& a) {
  FillPolygon(c, {0.0f, 0.0f, 0.0f, 0.8f, 0.22f, 0.62f, 0.4f, 0.98f, 0.55f, 0.9f, 0.38f, 0.56f,
                  0.68f, 0.56f},
              a.colour);
  Outline(c, Rgba{14, 12, 10, 255});
}

// Corner bracket at the top left (marks an item held by the pointer).
inline void Corner(Canvas& c, const ShapeArgs& a) {
  const int t = std::max(1, std::min(c.width, c.height) / 4);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x)
      if ((y < t && x < c.width * 3 / 4) || (x < t && y < c.height * 3 / 4))
        c.Set(x, y, a.colour);
  Outline(c, Rgba{14, 12, 10, 255});
}

// Glowing ring (markers, auras); its brightness pulses over the animation.
inline void Ring(Canvas& c, const ShapeArgs& a) {
  const float cx = c.width / 2.0f, cy = c.height / 2.0f;
  const float rx = c.width / 2.0f - 0.5f, ry = c.height / 2.0f - 0.5f;
  const float thick = std::max(0.28f, 2.5f / std::max(1.0f, std::min(rx, ry)));
  const float pulse = a.frames > 1 ? 0.8f + 0.35f * std::cos(Phase(a) * 2 * kPi) : 1.0f;
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
      const float d = std::sqrt(dx * dx + dy * dy);
      if (d > 1.0f || d < 1.0f - thick) continue;
      const float k = 1.0f - std::fabs(d - (1.0f - thick / 2)) / (thick / 2);  // 1 mid-band
      c.Set(x, y, WithAlpha(Shade(a.colour, pulse * (0.8f + 0.4f * k)),
                            static_cast<int>(130 + 125 * k)));
    }
}

// Twinkle: a four-armed sparkle that grows and shrinks over the animation.
inline void Sparkle(Canvas& c, const ShapeArgs& a) {
  const float s = a.frames > 1 ? std::sin(kPi * (a.frame + 1) / (a.frames + 1)) : 1.0f;
  const float cx = c.width / 2.0f, cy = c.height / 2.0f;
  const float arm = s * (std::min(c.width, c.height) / 2.0f - 1.0f);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const float dx = std::fabs(x + 0.5f - cx), dy = std::fabs(y + 0.5f - cy);
      const bool onArm = (dx < 1.0f && dy <= arm) || (dy < 1.0f && dx <= arm) ||
                         (std::fabs(dx - dy) < 0.8f && dx <= arm * 0.45f);
      if (!onArm) continue;
      const float core = 1.0f - std::max(dx, dy) / std::max(arm, 1.0f);
      c.Set(x, y, Mix(a.colour, Rgba{255, 255, 255, 255}, core * 0.8f));
    }
}

// Falling drops (bleeding, oil, rain).
inline void Drops(Canvas& c, const ShapeArgs& a) {
  const float r = std::max(1.0f, c.width / 12.0f);
  for (int i = 0; i < 3; ++i) {
    const float p = std::fmod(Phase(a) + i / 3.0f, 1.0f);
    const float cx = c.width * (0.25f + 0.25f * i);
    const float cy = r + p * (c.height - 2 * r - 1);
    FillEllipse(c, cx, cy, r, r * 1.4f, a.colour);
    for (int t = 1; t <= static_cast<int>(r * 2); ++t) c.Blend(static_cast<int>(cx), static_cast<int>(cy - r * 1.4f - t + 1), WithAlpha(a.colour, 200));
  }
  Outline(c, Shade(a.colour, 0.4f));
}

// Flickering flame.
inline void Flame(Canvas& c, const ShapeArgs& a) {
  const float p = Phase(a) * 2 * kPi;
  for (int y = 0; y < c.height; ++y) {
    const float v = static_cast<float>(y) / std::max(1, c.height - 1);  // 0 top .. 1 bottom
    const float sway = 0.08f * std::sin(p + v * 5.0f);
    const float halfW = 0.42f * std::sqrt(std::max(0.0f, v)) * (1.0f - 0.3f * v * v);
    for (int x = 0; x < c.width; ++x) {
      const float u = (x + 0.5f) / c.width - 0.5f - sway * (1.0f - v);
      if (std::fabs(u) > halfW || v < 0.08f) continue;
      const float core = 1.0f - std::fabs(u) / std::max(halfW, 0.01f);
      c.Set(x, y, Mix(a.colour, Rgba{255, 240, 120, 255}, core * v));
    }
  }
  Outline(c, Shade(a.colour, 0.45f));
}

// Dots circling the centre (dazed creatures).
inline void Swirl(Canvas& c, const ShapeArgs& a) {
  const float cx = c.width / 2.0f, cy = c.height / 2.0f;
  const float r = std::max(1.0f, std::min(c.width, c.height) / 7.0f);
  for (int i = 0; i < 3; ++i) {
    const float ang = (Phase(a) + i / 3.0f) * 2 * kPi;
    FillEllipse(c, cx + (c.width / 2.0f - r - 1) * std::cos(ang),
                cy + (c.height / 2.0f - r - 1) * std::sin(ang) * 0.6f, r, r, a.colour);
  }
  Outline(c, Rgba{14, 12, 10, 255});
}

// A heart that rises over the animation.
inline void Heart(Canvas& c, const ShapeArgs& a) {
  const float size = std::min(c.width, c.height) * 0.45f;
  const float cx = c.width / 2.0f;
  const float cy = c.height - size * 0.6f - 1 - Phase(a) * (c.height - size * 1.2f - 2);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const float u = (x + 0.5f - cx) / (size * 0.55f);
      const float v = -(y + 0.5f - cy) / (size * 0.55f);
      const float q = u * u + v * v - 1.0f;
      if (q * q * q - u * u * v * v * v <= 0.0f) c.Set(x, y, Shade(a.colour, 1.1f - 0.3f * v));
    }
  Outline(c, Rgba{14, 12, 10, 255});
}

// Flat puddle seen from above at an angle, with a sheen.
inline void Puddle(Canvas& c, const ShapeArgs& a) {
  FillEllipse(c, c.width / 2.0f, c.height / 2.0f, c.width / 2.0f - 1, c.height / 2.0f - 1,
              a.colour);
  FillEllipse(c, c.width * 0.38f, c.height * 0.4f, c.width * 0.12f, c.height * 0.08f,
              Mix(a.colour, Rgba{255, 255, 255, 255}, 0.5f));
}

// Translucent square overlay with a firmer edge (marks on map squares).
inline void Tile(Canvas& c, const ShapeArgs& a) {
  const int inner = a.colour.a == 255 ? 80 : a.colour.a;
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const int d = std::min(std::min(x, y), std::min(c.width - 1 - x, c.height - 1 - y));
      c.Set(x, y, WithAlpha(a.colour, d < 2 ? 220 : inner));
    }
}

// Brick wall.
inline void Wall(Canvas& c, const ShapeArgs& a) {
  const int bh = std::max(2, c.height / 4), bw = std::max(4, c.width / 2);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const int row = y / bh;
      const int xo = x + (row % 2) * bw / 2;
      const bool mortar = (y % bh == bh - 1) || (xo % bw == bw - 1);
      const float v = 0.85f + 0.3f * static_cast<float>(Hash3(xo / bw, row, 11) % 8) / 7.0f;
      c.Set(x, y, mortar ? Shade(a.colour, 0.45f) : Shade(a.colour, v - (y % bh == 0 ? -0.15f : 0.0f)));
    }
  CentredLabel(c, a, Contrast(a.colour), 1);
}

// Flagstone floor.
inline void Floor(Canvas& c, const ShapeArgs& a) {
  const int sw = std::max(2, c.width / 2), sh = std::max(2, c.height / 2);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const bool grout = x % sw == 0 || y % sh == 0;
      const float v = 0.8f + 0.25f * static_cast<float>(Hash3(x / sw, y / sh, 5) % 6) / 5.0f;
      const float speck = (Hash3(x, y, 9) % 23 == 0) ? 0.85f : 1.0f;
      c.Set(x, y, grout ? Shade(a.colour, 0.55f) : Shade(a.colour, v * speck));
    }
  CentredLabel(c, a, Contrast(a.colour), 1);
}

// One square of liquid with waves that move over the animation.
inline void LiquidCell(Canvas& c, int x0, int y0, int w, int h, Rgba colour, float phase) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const float wave = std::sin((x * 2.0f / w + phase) * 2 * kPi + y * 6.0f / h);
      const float f = 0.85f + 0.12f * wave + ((y + static_cast<int>(phase * h)) % (h / 2 + 1) == 0 ? 0.2f : 0.0f);
      c.Set(x0 + x, y0 + y, Shade(colour, f));
    }
}

inline void Liquid(Canvas& c, const ShapeArgs& a) {
  LiquidCell(c, 0, 0, c.width, c.height, a.colour, Phase(a));
  CentredLabel(c, a, Contrast(a.colour), 1);
}

// Sheet of liquid cells: square cells of the image height / 4, rows from the top ice, lava,
// water, goo; each column a further animation step. The colour argument is not used.
inline void FluidSheet(Canvas& c, const ShapeArgs&) {
  static const Rgba kRows[4] = {{170, 220, 240, 255}, {230, 80, 20, 255}, {40, 100, 200, 255},
                                {110, 180, 40, 255}};
  const int cell = std::max(1, c.height / 4);
  const int columns = std::max(1, c.width / cell);
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < columns; ++col)
      LiquidCell(c, col * cell, row * cell, cell, cell, kRows[row],
                 static_cast<float>(col) / columns);
}

// Tile sheet of a dungeon branch (art_tiles.h).
inline void TileSheet(Canvas& c, const ShapeArgs& a) { DrawTileSheet(c, a.colour); }

// Shading of the level's edge of sight, 18 frames: 0 an even, fine-grained dark screen over
// the whole square (squares seen before but out of sight now; a quiet tone, not a checkerboard);
// 1-8 dithered strips towards an unseen neighbour (up, down, left, right, then the corners
// down-right, down-left, up-left, up-right); 9-12 dark outlines on the left, top, right and
// bottom edge; 13 a light dither beside drawn squares; 14-17 outline corners down-left,
// up-right, up-left and down-right.
inline void Shades(Canvas& c, const ShapeArgs& a) {
  const Rgba dark{8, 6, 10, 255};
  const int w = c.width, h = c.height;
  const int band = std::max(1, w / 5);
  const int line = std::max(1, w / 32);
  auto dither = [&](int x, int y, int step) { return (x + y) % step == 0; };
  static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool up = y < band, down = y >= h - band, left = x < band, right = x >= w - band;
      bool on = false;
      switch (a.frame) {
      case 0: on = kBayer[y % 4][x % 4] < 11; break;
      case 1: on = up && dither(x, y, 2); break;
      case 2: on = down && dither(x, y, 2); break;
      case 3: on = left && dither(x, y, 2); break;
      case 4: on = right && dither(x, y, 2); break;
      case 5: on = down && right && dither(x, y, 2); break;
      case 6: on = down && left && dither(x, y, 2); break;
      case 7: on = up && left && dither(x, y, 2); break;
      case 8: on = up && right && dither(x, y, 2); break;
      case 9: on = x < line; break;
      case 10: on = y < line; break;
      case 11: on = x >= w - line; break;
      case 12: on = y >= h - line; break;
      case 13: on = dither(x, y, 4); break;
      case 14: on = x < line && y >= h - line; break;
      case 15: on = x >= w - line && y < line; break;
      case 16: on = x < line && y < line; break;
      default: on = x >= w - line && y >= h - line; break;
      }
      if (on) c.Set(x, y, dark);
    }
  }
}

// Creature: with a body plan, the creature of that plan (art_creatures.h; the label holds its
// facing, action, badge and held thing); without one, a blob with eyes that bobs.
inline void Creature(Canvas& c, const ShapeArgs& a) {
  if (!a.plan.empty()) {
    CreaturePose pose;
    pose.plan = FindBodyPlan(a.plan);
    pose.body = a.colour;
    pose.frame = a.frame;
    pose.frames = a.frames;
    std::string ignored;
    ParseCreatureWords(a.label, &pose, &ignored);
    DrawCreature(c, pose);
    return;
  }
  const float w = static_cast<float>(c.width), h = static_cast<float>(c.height);
  const float bob = a.frames > 1 ? std::sin(Phase(a) * 2 * kPi) * h * 0.04f : 0.0f;
  const float cy = h * 0.58f + bob;
  FillEllipse(c, w / 2, cy, w * 0.4f, h * 0.36f, a.colour);
  const float er = std::max(1.0f, w * 0.08f);
  for (int side = -1; side <= 1; side += 2) {
    FillEllipse(c, w / 2 + side * w * 0.14f, cy - h * 0.1f, er, er * 1.2f, Rgba{240, 240, 230, 255});
    FillEllipse(c, w / 2 + side * w * 0.14f, cy - h * 0.08f, er * 0.5f, er * 0.6f, Rgba{10, 10, 10, 255});
  }
  Outline(c, Rgba{14, 12, 10, 255});
  if (!a.label.empty())
    DrawLabel(c, a.label, c.width / 2, static_cast<int>(h * 0.85f), c.width - 2, c.height / 4,
              Contrast(a.colour), true);
}

// Colour swatch whose hue turns with the frame number (sheets of small map symbols).
inline void Swatch(Canvas& c, const ShapeArgs& a) {
  const Rgba col = a.frames > 1 ? RotateHue(a.colour, 360.0f * a.frame / a.frames) : a.colour;
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      const bool edge = x == 0 || y == 0 || x == c.width - 1 || y == c.height - 1;
      c.Set(x, y, edge && c.width > 3 ? Shade(col, 0.5f) : col);
    }
}

// Row labels for choice panels: the label is "text@y|text@y|..."; each text is drawn dark,
// centred at x = 60 % of the width and at its y, in a box of up to 28 pixels high that leaves
// the left third free for the marks the game draws there. Parts without "@y" are skipped.
inline void RowLabels(Canvas& c, const std::string& label) {
  size_t start = 0;
  while (start <= label.size()) {
    size_t end = label.find('|', start);
    if (end == std::string::npos) end = label.size();
    const std::string part = label.substr(start, end - start);
    const size_t at = part.rfind('@');
    if (at != std::string::npos && at > 0) {
      const int y = std::atoi(part.c_str() + at + 1);
      const int maxW = c.width * 2 / 3 - 8;
      if (maxW > 0) DrawLabel(c, part.substr(0, at), c.width * 3 / 5, y, maxW, 28, Rgba{70, 45, 20, 255}, false);
    }
    start = end + 1;
  }
}

// A parchment scroll with row labels (see RowLabels).
inline void ScrollRows(Canvas& c, const ShapeArgs& a) {
  ShapeArgs plain = a;
  plain.label.clear();
  Scroll(c, plain);
  RowLabels(c, a.label);
}

// An outline frame with row labels, for panels laid over another panel.
inline void FrameRows(Canvas& c, const ShapeArgs& a) {
  ShapeArgs plain = a;
  plain.label.clear();
  Frame(c, plain);
  RowLabels(c, a.label);
}

// Labelled controls on a window background: the label is "title|part|part...". The title (the
// parts without "@") is drawn as the plain shape draws its label; every other part is placed:
//   "text@x,y[,h[,w]]"          text centred at (x, y), at most h pixels high (16 by default)
//                               and w wide (by default the room to the nearer side edge);
//   "[]@x,y,w,h"                the empty box of an on/off switch (the game draws the mark
//                               over it while the switch is on);
//   "==@x,y,w,h"                the groove of a slider.
inline void PlacedMarks(Canvas& c, const std::string& label, Rgba ink) {
  size_t start = 0;
  while (start <= label.size()) {
    size_t end = label.find('|', start);
    if (end == std::string::npos) end = label.size();
    const std::string part = label.substr(start, end - start);
    start = end + 1;
    const size_t at = part.rfind('@');
    if (at == std::string::npos || at == 0) continue;
    const std::string what = part.substr(0, at);
    int v[4] = {0, 0, 0, 0};
    int n = 0;
    for (size_t p = at + 1; p < part.size() && n < 4;) {
      v[n++] = std::atoi(part.c_str() + p);
      const size_t comma = part.find(',', p);
      if (comma == std::string::npos) break;
      p = comma + 1;
    }
    if (n < 2) continue;
    if ((what == "[]" || what == "==") && n == 4) {
      for (int y = v[1]; y < v[1] + v[3]; ++y)
        for (int x = v[0]; x < v[0] + v[2]; ++x) {
          const bool edge = x == v[0] || y == v[1] || x == v[0] + v[2] - 1 || y == v[1] + v[3] - 1;
          const bool inner = x == v[0] + 1 || y == v[1] + 1;
          Rgba px = what == "[]" ? (edge ? Rgba{20, 16, 12, 255} : inner ? Rgba{90, 84, 76, 255} : Rgba{236, 228, 204, 255})
                                 : (edge ? Rgba{24, 20, 16, 255} : Rgba{70, 62, 54, 255});
          c.Set(x, y, px);
        }
      continue;
    }
    const int h = n >= 3 && v[2] > 0 ? v[2] : 16;
    int room = 2 * std::min(v[0], c.width - v[0]) - 4;
    if (n >= 4 && v[3] > 0) room = std::min(room, v[3]);
    if (room > 0) DrawLabel(c, what, v[0], v[1], room, h, ink, true);
  }
}

inline std::string TitleOf(const std::string& label) {
  std::string title;
  size_t start = 0;
  while (start <= label.size()) {
    size_t end = label.find('|', start);
    if (end == std::string::npos) end = label.size();
    const std::string part = label.substr(start, end - start);
    if (part.find('@') == std::string::npos) title += (title.empty() ? "" : " ") + part;
    start = end + 1;
  }
  return title;
}

// A window background with placed labels and controls (see PlacedMarks).
inline void PanelMarks(Canvas& c, const ShapeArgs& a) {
  ShapeArgs plain = a;
  plain.label = TitleOf(a.label);
  Panel(c, plain);
  PlacedMarks(c, a.label, Contrast(Shade(a.colour, 0.7f)));
}

// A parchment scroll with placed labels and controls (see PlacedMarks).
inline void ScrollMarks(Canvas& c, const ShapeArgs& a) {
  ShapeArgs plain = a;
  plain.label = TitleOf(a.label);
  Scroll(c, plain);
  PlacedMarks(c, a.label, Rgba{40, 28, 16, 255});
}

}  // namespace shapes

struct ShapeInfo {
  const char* name;
  ShapeFn draw;
};

inline const std::vector<ShapeInfo>& ShapeTable() {
  static const std::vector<ShapeInfo> table = {
      {"panel", shapes::Panel},         {"scroll", shapes::Scroll},
      {"bar", shapes::Bar},             {"button", shapes::Button},
      {"frame", shapes::Frame},         {"dither", shapes::Dither},
      {"shadow", shapes::Shadow},       {"glyph", shapes::Glyph},
      {"rising", shapes::Rising},       {"disc", shapes::Disc},
      {"gem", shapes::Gem},             {"item", shapes::Item},
      {"star", shapes::Star},           {"cross", shapes::Cross},
      {"arrow_up", shapes::ArrowUp},    {"arrow_down", shapes::ArrowDown},
      {"arrow_left", shapes::ArrowLeft}, {"arrow_right", shapes::ArrowRight},
      {"pointer", shapes::Pointer},     {"corner", shapes::Corner},
      {"ring", shapes::Ring},           {"sparkle", shapes::Sparkle},
      {"drops", shapes::Drops},         {"flame", shapes::Flame},
      {"swirl", shapes::Swirl},         {"heart", shapes::Heart},
      {"puddle", shapes::Puddle},       {"tile", shapes::Tile},
      {"wall", shapes::Wall},           {"floor", shapes::Floor},
      {"liquid", shapes::Liquid},       {"fluidsheet", shapes::FluidSheet}, {"tilesheet", shapes::TileSheet}, {"shades", shapes::Shades},
      {"creature", shapes::Creature},   {"swatch", shapes::Swatch},
      {"scrollrows", shapes::ScrollRows}, {"framerows", shapes::FrameRows},
      {"panelmarks", shapes::PanelMarks}, {"scrollmarks", shapes::ScrollMarks},
  };
  return table;
}

inline ShapeFn FindShape(const std::string& name) {
  for (const ShapeInfo& s : ShapeTable())
    if (name == s.name) return s.draw;
  return nullptr;
}

}  // namespace artw
