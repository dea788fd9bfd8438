// The drawing of creatures (see art_creatures.h; the body plans are in art_body_plans.cpp).
#include "tools/art_creatures.h"

#include "tools/art_shapes.h"

#include <algorithm>
#include <cmath>

namespace artw {

namespace {

using shapes::kPi;

const Rgba kInk{14, 12, 10, 255};
const Rgba kWhite{244, 240, 228, 255};
const Rgba kBone{226, 218, 190, 255};
const Rgba kGlow{255, 226, 80, 255};
const Rgba kSteel{196, 204, 214, 255};

// Draws in body units: 1 unit is the picture's smaller side, x to the right of the feet point
// (mirrored by `flip`), y upward from it. Parts are shaded from the upper left whatever the
// mirroring, so the left and right views differ by more than a mirror image.
struct Painter {
  Canvas& c;
  float ax, ay, unit;
  float flip = 1.0f;  // -1 mirrors x
  float scale = 1.0f;

  float Px(float x) const { return ax + flip * x * unit * scale; }
  float Py(float y) const { return ay - y * unit * scale; }
  float Len(float v) const { return v * unit * scale; }

  void Ellipse(float x, float y, float rx, float ry, Rgba col) const {
    shapes::FillEllipse(c, Px(x), Py(y), std::max(0.6f, Len(rx)), std::max(0.6f, Len(ry)), col);
  }
  void Flat(float x, float y, float rx, float ry, Rgba col) const {  // unshaded ellipse
    const float cx = Px(x), cy = Py(y), r1 = std::max(0.6f, Len(rx)), r2 = std::max(0.6f, Len(ry));
    for (int py = static_cast<int>(cy - r2) - 1; py <= static_cast<int>(cy + r2) + 1; ++py)
      for (int px = static_cast<int>(cx - r1) - 1; px <= static_cast<int>(cx + r1) + 1; ++px) {
        const float dx = (px + 0.5f - cx) / r1, dy = (py + 0.5f - cy) / r2;
        if (dx * dx + dy * dy <= 1.0f) c.Blend(px, py, col);
      }
  }
  void Poly(std::initializer_list<float> pts, Rgba col) const {
    std::vector<float> unitPts;
    for (auto it = pts.begin(); it != pts.end(); it += 2) {
      unitPts.push_back(Px(*it) / c.width);
      unitPts.push_back(Py(*(it + 1)) / c.height);
    }
    shapes::FillPolygon(c, unitPts, col);
  }
  void Line(float x0, float y0, float x1, float y1, float thick, Rgba col) const {
    const float a = Px(x0), b = Py(y0), d = Px(x1), e = Py(y1);
    const float len = std::max(1.0f, std::hypot(d - a, e - b));
    const float r = std::max(0.5f, Len(thick) / 2);
    for (float t = 0; t <= len; t += 0.5f) {
      const float x = a + (d - a) * t / len, y = b + (e - b) * t / len;
      for (int py = static_cast<int>(y - r); py <= static_cast<int>(y + r); ++py)
        for (int px = static_cast<int>(x - r); px <= static_cast<int>(x + r); ++px)
          if ((px + 0.5f - x) * (px + 0.5f - x) + (py + 0.5f - y) * (py + 0.5f - y) <= r * r + 0.25f)
            c.Set(px, py, col);
    }
  }
};

enum class View { Front, Back, Side };

struct Scene {
  const CreaturePose& pose;
  const BodyPlan& plan;
  View view;
  float phase;
  Rgba body, dark, light;
};

float Sz(const Scene& s) { return s.plan.size; }
bool IsHero(const Scene& s) { return s.plan.name == std::string("hero"); }

// Where the head (or the part that carries the eyes) sits, in body units.
struct Head {
  float x, y, r;
};

Head HeadOf(const Scene& s) {
  const float z = Sz(s);
  switch (s.plan.build) {
  case Build::Round: return {s.view == View::Side ? 0.1f * z : 0.0f, 0.45f * z, 0.3f * z};
  case Build::Quad:
    return s.view == View::Side ? Head{0.3f * z, 0.46f * z, 0.15f * z}
                                : Head{0.0f, s.view == View::Front ? 0.4f * z : 0.5f * z, 0.15f * z};
  case Build::Upright: return {s.view == View::Side ? 0.03f * z : 0.0f, 0.76f * z, 0.14f * z};
  case Build::Serpent:
    return s.view == View::Side ? Head{0.3f * z, 0.5f * z, 0.13f * z} : Head{0.0f, 0.6f * z, 0.14f * z};
  case Build::Float: return {s.view == View::Side ? 0.05f * z : 0.0f, 0.62f * z, 0.22f * z};
  }
  return {0, 0.5f, 0.2f};
}

void DrawLegs(const Painter& p, const Scene& s, bool farSide) {
  const int legs = s.plan.legs;
  if (legs == 0) return;
  const float z = Sz(s);
  const bool upright = s.plan.build == Build::Upright;
  const float top = upright ? 0.3f * z : 0.22f * z;
  const float stride = s.pose.action == CreatureAction::Run ? std::sin(s.phase * 2 * kPi) * 0.1f : 0.0f;
  const Rgba col = farSide ? Shade(s.dark, 0.8f) : s.dark;
  const float thick = upright ? 0.09f * z + 0.03f : 0.07f;
  if (s.view == View::Side) {
    const int pairs = std::max(1, legs / 2);
    for (int i = 0; i < pairs; ++i) {
      const float x = pairs == 1 ? 0.0f : -0.22f * z + 0.44f * z * i / (pairs - 1);
      const float swing = (farSide ? -1.0f : 1.0f) * (stride + (s.plan.build == Build::Round ? 0.03f : 0.0f));
      p.Line(x, top, x + swing, 0.02f, thick, col);
    }
    return;
  }
  if (farSide) return;
  const int n = legs == 6 ? 6 : legs;
  for (int i = 0; i < n; ++i) {
    const float spread = upright ? 0.09f * z : 0.26f * z;
    const float x = n == 2 ? (i == 0 ? -spread : spread) : -spread + 2 * spread * i / (n - 1);
    const float lift = (i % 2 ? stride : -stride) * 0.5f;
    p.Line(x, top, x * 1.15f, 0.02f + std::max(0.0f, lift), thick, col);
  }
}

void DrawTail(const Painter& p, const Scene& s) {
  if (!s.plan.tail) return;
  const float z = Sz(s);
  const float wag = std::sin(s.phase * 2 * kPi) * 0.04f;
  const Rgba col = s.plan.tail == 2 ? s.light : s.dark;
  float x0 = -0.2f * z, y0 = 0.3f * z, x1 = -0.46f, y1 = 0.45f * z + wag;
  if (s.view == View::Front) { x0 = 0.15f * z; x1 = 0.4f; y1 = 0.15f + wag; }
  if (s.view == View::Back) { x0 = 0.0f; y0 = 0.3f * z; x1 = 0.12f + wag; y1 = 0.04f; }
  p.Line(x0, y0, x1, y1, s.plan.tail == 3 ? 0.1f : 0.05f, col);
  if (s.plan.tail == 2) p.Poly({x1, y1, x1 - 0.08f, y1 + 0.1f, x1 - 0.08f, y1 - 0.1f}, col);
  if (s.plan.tail == 3) p.Poly({x1, y1 + 0.06f, x1 + 0.06f, y1 + 0.14f, x1 + 0.08f, y1 + 0.02f}, kBone);
}

void DrawWings(const Painter& p, const Scene& s) {
  if (!s.plan.wings) return;
  const float z = Sz(s);
  const float flap = std::sin(s.phase * 2 * kPi) * 0.06f;
  const Rgba col = s.plan.wings == 1 ? Shade(s.dark, 0.7f) : s.light;
  const float y = (s.plan.build == Build::Upright ? 0.55f : 0.4f) * z;
  auto wing = [&](float side) {
    p.Poly({0.08f * side, y, 0.44f * side, y + 0.2f + flap, 0.36f * side, y - 0.05f,
            0.2f * side, y - 0.12f}, col);
  };
  if (s.view == View::Side) {
    p.Poly({0.0f, y, -0.3f, y + 0.3f + flap, -0.36f, y + 0.05f, -0.12f, y - 0.08f}, col);
  } else {
    wing(-1.0f);
    wing(1.0f);
  }
}

void DrawTorso(const Painter& p, const Scene& s) {
  const float z = Sz(s);
  const bool side = s.view == View::Side;
  switch (s.plan.build) {
  case Build::Round:
    p.Ellipse(0, 0.32f * z, (side ? 0.42f : 0.38f) * z, 0.3f * z, s.body);
    break;
  case Build::Quad:
    if (side) {
      p.Ellipse(-0.06f * z, 0.33f * z, 0.34f * z, 0.16f * z, s.body);
      p.Line(0.18f * z, 0.36f * z, 0.3f * z, 0.46f * z, 0.12f * z, s.body);  // neck
    } else {
      p.Ellipse(0, 0.32f * z, 0.27f * z, 0.2f * z, s.body);
    }
    break;
  case Build::Upright: {
    const float w = (s.plan.mark == 4 ? 0.2f : 0.16f) * z * (side ? 0.8f : 1.0f);
    if (s.plan.mark == 5)  // robe to the ground
      p.Poly({-w, 0.62f * z, w, 0.62f * z, w * 1.5f, 0.02f, -w * 1.5f, 0.02f}, s.body);
    p.Ellipse(0, 0.46f * z, w, 0.19f * z, s.body);
    break;
  }
  case Build::Serpent:
    if (side) {
      for (int i = 0; i < 7; ++i) {
        const float t = i / 6.0f;
        const float x = -0.42f + 0.7f * t;
        const float y = (0.12f + 0.06f * std::sin(t * 2 * kPi + s.phase * 2 * kPi)) * z + 0.3f * z * t * t;
        p.Ellipse(x, y, (0.08f + 0.03f * t) * z + 0.02f, (0.08f + 0.03f * t) * z + 0.02f, s.body);
      }
    } else {
      p.Ellipse(0, 0.12f * z, 0.36f * z, 0.12f * z, s.body);
      p.Line(0, 0.16f * z, 0.03f, 0.56f * z, 0.16f * z, s.body);
    }
    break;
  case Build::Float: {
    const float bob = std::sin(s.phase * 2 * kPi) * 0.03f;
    const float w = 0.26f * z;
    p.Poly({0.0f, 0.95f * z + bob, w, 0.5f * z, w * 0.8f, 0.12f + bob, w * 0.35f, 0.22f + bob,
            0.0f, 0.08f + bob, -w * 0.35f, 0.22f + bob, -w * 0.8f, 0.12f + bob, -w, 0.5f * z},
           s.body);
    break;
  }
  }
}

void DrawMarks(const Painter& p, const Scene& s) {
  const float z = Sz(s);
  const float cy = s.plan.build == Build::Upright ? 0.46f * z : 0.32f * z;
  switch (s.plan.mark) {
  case 1:
    for (int i = 0; i < 3; ++i)
      p.Flat(-0.12f * z + 0.12f * z * i, cy + (i % 2 ? 0.06f : -0.04f) * z, 0.035f, 0.03f, s.dark);
    break;
  case 2:
    for (int i = 0; i < 3; ++i) p.Line(-0.1f * z, cy + (0.08f - 0.07f * i) * z, 0.1f * z, cy + (0.08f - 0.07f * i) * z, 0.025f, kInk);
    break;
  case 3:
    for (int i = 0; i < 3; ++i) p.Line(-0.15f * z + 0.15f * z * i, cy + 0.14f * z, -0.15f * z + 0.15f * z * i, cy - 0.1f * z, 0.03f, s.dark);
    break;
  case 4:
    p.Flat(-0.06f * z, cy + 0.06f * z, 0.06f * z, 0.05f * z, s.light);
    p.Flat(0.07f * z, cy - 0.05f * z, 0.05f * z, 0.04f * z, s.light);
    break;
  case 6:
    for (int i = 0; i < 4; ++i) p.Line(-0.3f + 0.15f * i, 0.02f, -0.3f + 0.15f * i, 0.24f * z, 0.02f, s.dark);
    break;
  default:
    break;
  }
}

void DrawArms(const Painter& p, const Scene& s) {
  if (!s.plan.arms) return;
  const float z = Sz(s);
  const float swing = s.pose.action == CreatureAction::Attack ? std::sin(s.phase * kPi) * 0.12f : 0.0f;
  const float sh = 0.58f * z;
  if (s.view == View::Side) {
    p.Line(0.02f, sh, 0.14f * z + swing, 0.36f * z + swing, 0.06f * z + 0.02f, s.dark);
    return;
  }
  for (int side = -1; side <= 1; side += 2) {
    const float reach = side < 0 ? swing : 0.0f;
    p.Line(0.13f * z * side, sh, (0.24f * z + reach) * side, 0.36f * z - reach, 0.06f * z + 0.02f, s.dark);
  }
}

void DrawHeadShape(const Painter& p, const Scene& s) {
  const Head h = HeadOf(s);
  switch (s.plan.build) {
  case Build::Upright:
  case Build::Quad:
  case Build::Serpent:
    p.Ellipse(h.x, h.y, h.r * (s.view == View::Side ? 1.15f : 1.0f), h.r,
              IsHero(s) ? Rgba{236, 190, 150, 255} : s.body);
    break;
  default:
    break;  // round and floating bodies carry their face on the body
  }
  if (IsHero(s)) {  // hair: a cap at the back and top of the head
    const Rgba hair{92, 56, 30, 255};
    if (s.view == View::Back) p.Ellipse(h.x, h.y + 0.01f, h.r, h.r * 1.02f, hair);
    else if (s.view == View::Side) p.Ellipse(h.x - 0.05f, h.y + 0.05f, h.r * 0.9f, h.r * 0.7f, hair);
    else p.Ellipse(h.x, h.y + 0.07f, h.r, h.r * 0.55f, hair);
  }
}

void DrawHorns(const Painter& p, const Scene& s) {
  const Head h = HeadOf(s);
  const float top = h.y + h.r * 0.8f;
  const bool side = s.view == View::Side;
  auto pair = [&](auto fn) {
    if (side) fn(-0.3f);
    else { fn(-1.0f); fn(1.0f); }
  };
  switch (s.plan.horns) {
  case 1:
    pair([&](float k) { p.Poly({h.x + k * h.r * 0.5f, top - 0.03f, h.x + k * h.r * 0.9f, top - 0.02f, h.x + k * h.r * 1.3f, top + 0.16f}, kBone); });
    break;
  case 2:
    p.Poly({h.x - h.r, top - 0.04f, h.x + h.r, top - 0.04f, h.x + h.r, top + 0.1f, h.x + h.r * 0.5f, top + 0.03f,
            h.x, top + 0.12f, h.x - h.r * 0.5f, top + 0.03f, h.x - h.r, top + 0.1f}, Rgba{236, 196, 40, 255});
    break;
  case 3:
    pair([&](float k) {
      p.Line(h.x + k * h.r * 0.3f, top - 0.04f, h.x + k * h.r * 1.2f, top + 0.14f, 0.025f, kInk);
      p.Flat(h.x + k * h.r * 1.2f, top + 0.14f, 0.03f, 0.03f, s.light);
    });
    break;
  case 4:
    pair([&](float k) { p.Poly({h.x + k * h.r * 0.2f, top - 0.05f, h.x + k * h.r * 0.9f, top - 0.08f, h.x + k * h.r * 0.8f, top + 0.12f}, s.dark); });
    break;
  case 5:  // a hood drawn round the head: the face stays dark inside it
    p.Ellipse(h.x, h.y + 0.03f, h.r * 1.2f, h.r * 1.15f, Shade(s.body, 0.75f));
    if (s.view != View::Back) p.Flat(h.x + (side ? 0.05f : 0.0f), h.y, h.r * 0.7f, h.r * 0.75f, Rgba{20, 18, 30, 255});
    break;
  case 6:
    p.Poly({h.x - 0.08f, top - 0.04f, h.x - 0.04f, top + 0.1f, h.x, top + 0.02f, h.x + 0.04f, top + 0.1f,
            h.x + 0.08f, top - 0.04f}, Rgba{220, 40, 40, 255});
    break;
  case 8:  // a broad-brimmed hat
    p.Flat(h.x, top - 0.03f, h.r * 1.7f, 0.035f, Rgba{70, 40, 24, 255});
    p.Ellipse(h.x, top + 0.03f, h.r * 0.8f, 0.07f, Rgba{90, 52, 30, 255});
    break;
  case 7:
    p.Ellipse(h.x, h.y + 0.03f, h.r * 1.12f, h.r * 1.05f, kSteel);
    if (s.view != View::Back) p.Line(h.x - (side ? -0.02f : h.r * 0.8f), h.y, h.x + h.r * 0.9f, h.y, 0.035f, kInk);
    break;
  default:
    break;
  }
}

void DrawFace(const Painter& p, const Scene& s) {
  if (s.view == View::Back) return;
  const Head h = HeadOf(s);
  const bool side = s.view == View::Side;
  const int eyes = std::abs(s.plan.eyes);
  const bool glow = s.plan.eyes < 0;
  const bool blink = s.pose.action == CreatureAction::Sleep ||
                     (s.pose.action == CreatureAction::Wait && s.pose.frame % 4 == 3);
  const float er = std::max(0.035f, h.r * (eyes == 1 ? 0.45f : 0.28f));
  std::vector<float> xs;
  if (side) {
    xs.push_back(h.x + h.r * 0.45f);
  } else if (eyes == 1) {
    xs.push_back(h.x);
  } else if (eyes == 2) {
    xs = {h.x - h.r * 0.45f, h.x + h.r * 0.45f};
  } else {
    for (int i = 0; i < eyes; ++i) xs.push_back(h.x - h.r * 0.7f + 1.4f * h.r * i / (eyes - 1));
  }
  for (size_t i = 0; i < xs.size(); ++i) {
    const float ey = h.y + h.r * 0.15f + (eyes > 3 ? (i % 2 ? 0.04f : -0.02f) : 0.0f);
    const float r = eyes > 3 ? er * 0.7f : er;
    if (blink) {
      p.Line(xs[i] - r, ey, xs[i] + r, ey, 0.02f, kInk);
    } else if (glow) {
      p.Flat(xs[i], ey, r, r * 0.8f, kGlow);
    } else if (Luminance(s.body) > 170) {  // white eyes would vanish on a pale body
      p.Flat(xs[i], ey, r * 0.8f, r, kInk);
      p.Flat(xs[i] - r * 0.25f, ey + r * 0.3f, r * 0.3f, r * 0.3f, kWhite);
    } else {
      p.Flat(xs[i], ey, r, r * 1.1f, kWhite);
      p.Flat(xs[i] + (side ? r * 0.35f : 0.0f), ey - r * 0.25f, r * 0.55f, r * 0.6f, kInk);
    }
  }
  const float my = h.y - h.r * 0.45f;
  const float mx = side ? h.x + h.r * 0.85f : h.x;
  const bool open = s.pose.action == CreatureAction::Attack;
  switch (s.plan.mouth) {
  case 1:
    if (side) p.Poly({mx - 0.02f, my + 0.06f, mx + 0.12f, my + 0.02f, mx - 0.02f, my - 0.03f}, Rgba{240, 170, 40, 255});
    else p.Poly({mx - 0.05f, my + 0.06f, mx + 0.05f, my + 0.06f, mx, my - 0.06f}, Rgba{240, 170, 40, 255});
    break;
  case 2:
    p.Flat(mx, my, side ? 0.04f : 0.07f, open ? 0.05f : 0.02f, kInk);
    p.Poly({mx - 0.04f, my + 0.01f, mx - 0.02f, my + 0.01f, mx - 0.03f, my - 0.04f}, kWhite);
    if (!side) p.Poly({mx + 0.02f, my + 0.01f, mx + 0.04f, my + 0.01f, mx + 0.03f, my - 0.04f}, kWhite);
    break;
  case 3: {  // a wide mouth with a row of teeth along its top
    const float w = side ? 0.12f : 0.2f, ht = open ? 0.12f : 0.08f;
    const float cx = side ? h.x + h.r * 0.5f : mx;
    const float cy = side ? my + 0.02f : s.plan.size * 0.26f;
    p.Flat(cx, cy, w, ht, Rgba{60, 6, 12, 255});
    for (int i = 0; i < 4; ++i) {
      const float tx = cx - w * 0.7f + w * 0.45f * i;
      p.Poly({tx - w * 0.1f, cy + ht * 0.9f, tx + w * 0.1f, cy + ht * 0.9f, tx, cy + ht * 0.2f}, kWhite);
    }
    break;
  }
  case 4:
    p.Ellipse(mx + (side ? 0.03f : 0.0f), my + 0.02f, 0.07f, 0.05f, s.light);
    p.Flat(mx + (side ? 0.07f : -0.025f), my + 0.03f, 0.015f, 0.015f, kInk);
    if (!side) p.Flat(mx + 0.025f, my + 0.03f, 0.015f, 0.015f, kInk);
    break;
  case 5:
    p.Flat(side ? mx : h.x, side ? my + 0.03f : 0.2f, 0.07f, 0.07f, s.dark);
    p.Flat(side ? mx : h.x, side ? my + 0.03f : 0.2f, 0.035f, 0.035f, Rgba{60, 6, 12, 255});
    break;
  default:
    break;
  }
}

// The badge: a round mark worn on the creature's left shoulder, so it sits at the front in one
// side view and at the back in the other.
void DrawBadge(const Painter& p, const Scene& s) {
  if (s.pose.badge.a == 0) return;
  const float z = Sz(s);
  const float y = (s.plan.build == Build::Upright ? 0.56f : 0.42f) * z;
  float x = s.view == View::Back ? -0.12f * z : 0.12f * z;
  if (s.view == View::Side) x = s.pose.facing == 'l' ? 0.1f * z : -0.12f * z;
  p.Ellipse(x, y, 0.07f, 0.07f, s.pose.badge);
}

}  // namespace

void DrawCreature(Canvas& c, const CreaturePose& pose) {
  if (!pose.plan) return;
  const float phase = pose.frames > 1 ? static_cast<float>(pose.frame) / pose.frames : 0.0f;
  const View view = pose.facing == 'u' ? View::Back : pose.facing == 'd' ? View::Front : View::Side;
  const Scene s{pose, *pose.plan, view, phase, pose.body, Shade(pose.body, 0.62f),
                Mix(pose.body, Rgba{255, 255, 255, 255}, 0.35f)};
  const float unit = static_cast<float>(std::min(c.width, c.height));
  Painter p{c, c.width / 2.0f, c.height - 1.5f, unit};
  if (view == View::Side && pose.facing == 'l') p.flip = -1.0f;

  // Motion: idle bob, attack lunge towards the facing, hit recoil away from it.
  float dx = 0, dy = 0;
  const float fx = pose.facing == 'r' ? 1.0f : pose.facing == 'l' ? -1.0f : 0.0f;
  const float fy = pose.facing == 'd' ? 1.0f : pose.facing == 'u' ? -1.0f : 0.0f;
  if (pose.action == CreatureAction::Idle || pose.action == CreatureAction::Wait)
    dy = -std::fabs(std::sin(phase * 2 * kPi)) * 0.03f * unit;
  if (pose.action == CreatureAction::Attack) {
    const float l = std::sin(phase * kPi) * 0.1f * unit;
    dx = fx * l;
    dy = fy * l * 0.5f;
  }
  if (pose.action == CreatureAction::Hit) {
    dx = -fx * 0.06f * unit;
    dy = -fy * 0.03f * unit;
  }
  if (pose.action == CreatureAction::Die && pose.frames > 1)
    p.scale = 1.0f - 0.6f * pose.frame / (pose.frames - 1);
  p.ax += dx;
  p.ay += dy;

  // Back parts, body, front parts. Seen from behind the tail and wings cover the body.
  if (view != View::Back) DrawTail(p, s);
  if (view != View::Back) DrawWings(p, s);
  DrawLegs(p, s, true);
  DrawTorso(p, s);
  DrawLegs(p, s, false);
  DrawMarks(p, s);
  DrawHeadShape(p, s);
  DrawArms(p, s);
  DrawHorns(p, s);
  DrawFace(p, s);
  if (view == View::Back) {
    DrawTail(p, s);
    DrawWings(p, s);
  }
  DrawBadge(p, s);
  shapes::Outline(c, kInk);
  if (!pose.hold.empty() || pose.action == CreatureAction::Sleep)
    DrawHeldThing(c, pose, p.ax, p.ay, unit);

  if (pose.action == CreatureAction::Hit) {
    // A flash of the creature's own shape: white, then a red glow, outline kept.
    const Rgba flash = pose.frame == 0 ? Rgba{255, 255, 255, 255} : Rgba{255, 70, 50, 255};
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) {
        const Rgba px = c.Get(x, y);
        if (px.a >= 128 && Luminance(px) > 24) c.Set(x, y, Mix(px, flash, pose.frame == 0 ? 0.8f : 0.5f));
      }
  }
  if (pose.action == CreatureAction::Die && pose.frames > 1) {
    // Fade: darker each frame and thinned by an ordered dither.
    static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const float t = static_cast<float>(pose.frame) / (pose.frames - 1);
    const int drop = static_cast<int>(t * 13.0f);
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) {
        const Rgba px = c.Get(x, y);
        if (px.a == 0) continue;
        if (kBayer[y % 4][x % 4] < drop) c.Set(x, y, Rgba{0, 0, 0, 0});
        else c.Set(x, y, Shade(px, 1.0f - 0.55f * t));
      }
  }
}

}  // namespace artw
