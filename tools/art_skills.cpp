// Skill pictograms. Weapons reuse the item silhouettes; the schools of magic and the other
// skills have marks of their own.
#include "tools/art_skills.h"

#include "tools/art_items.h"
#include "tools/art_pen.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace artw {

namespace {

struct Family {
  const char* word;
  const char* itemShape;  // drawn with this item shape and label, or null for a mark below
  const char* itemLabel;
  Rgba colour;
};

const Family kFamilies[] = {
    {"sword", "sword", "steel blade", {192, 200, 208, 255}},
    {"axe", "axe", "steel hatchet", {184, 110, 60, 255}},
    {"mace", "mace", "iron cudgel", {160, 120, 70, 255}},
    {"fist", "gloves", "leather", {200, 180, 130, 255}},
    {"twin", nullptr, nullptr, {150, 150, 156, 255}},
    {"staff", "staff", "bronze", {120, 80, 44, 255}},
    {"ember", nullptr, nullptr, {236, 128, 30, 255}},
    {"frost", nullptr, nullptr, {170, 220, 240, 255}},
    {"storm", nullptr, nullptr, {80, 200, 220, 255}},
    {"crossbow", "crossbow", "iron hunting", {140, 96, 56, 255}},
    {"knife", "thrown", "steel knife", {96, 96, 104, 255}},
    {"burglary", "oddment", "steel lockpick", {212, 170, 60, 255}},
    {"hawk", "component", "eye", {30, 140, 130, 255}},
    {"random", nullptr, nullptr, {130, 60, 170, 255}},
    {"last", nullptr, nullptr, {128, 128, 132, 255}},
    {"dualwield", nullptr, nullptr, {200, 40, 36, 255}},
};

const Family* FindFamily(const std::string& word) {
  for (const Family& f : kFamilies)
    if (word == f.word) return &f;
  return nullptr;
}

// The family's mark drawn over the whole canvas.
void DrawMark(Canvas& c, const Family& f) {
  if (f.itemShape) {
    ShapeArgs args;
    args.colour = f.colour;
    args.label = f.itemLabel;
    FindItemShape(f.itemShape)(c, args);
    return;
  }
  Pen p(c);
  const std::string w = f.word;
  const Rgba steel{200, 206, 214, 255};
  if (w == "twin" || w == "dualwield") {  // two crossed blades
    p.Line(0.16f, 0.84f, 0.80f, 0.16f, 0.09f, steel);
    p.Line(0.84f, 0.84f, 0.20f, 0.16f, 0.09f, steel);
    p.Line(0.10f, 0.70f, 0.30f, 0.90f, 0.07f, Rgba{120, 80, 44, 255});
    p.Line(0.90f, 0.70f, 0.70f, 0.90f, 0.07f, Rgba{120, 80, 44, 255});
    if (w == "dualwield") p.Spot(0.5f, 0.5f, 0.12f, 0.12f, Rgba{220, 40, 40, 255});
  } else if (w == "ember") {
    p.Poly({0.5f, 0.06f, 0.80f, 0.50f, 0.74f, 0.84f, 0.5f, 0.94f, 0.26f, 0.84f, 0.20f, 0.50f, 0.36f, 0.40f}, Rgba{240, 110, 30, 255});
    p.Poly({0.5f, 0.40f, 0.64f, 0.70f, 0.5f, 0.86f, 0.36f, 0.70f}, Rgba{255, 220, 90, 255});
  } else if (w == "frost") {
    for (int i = 0; i < 3; ++i) {
      const float a = i * shapes::kPi / 3 + shapes::kPi / 2;
      const float dx = 0.40f * std::cos(a), dy = 0.40f * std::sin(a);
      p.Line(0.5f - dx, 0.5f - dy, 0.5f + dx, 0.5f + dy, 0.07f, Rgba{190, 236, 252, 255});
      for (int s = -1; s <= 1; s += 2) {
        const float bx = 0.5f + s * dx * 0.6f, by = 0.5f + s * dy * 0.6f;
        p.Line(bx, by, bx + s * dx * 0.3f + dy * 0.3f, by + s * dy * 0.3f - dx * 0.3f, 0.04f, Rgba{190, 236, 252, 255});
      }
    }
  } else if (w == "storm") {
    p.Poly({0.58f, 0.04f, 0.24f, 0.54f, 0.48f, 0.54f, 0.36f, 0.96f, 0.78f, 0.40f, 0.54f, 0.40f, 0.70f, 0.04f}, Rgba{250, 236, 90, 255});
  } else if (w == "random") {  // a die
    p.Box(0.18f, 0.18f, 0.82f, 0.82f, Rgba{240, 236, 226, 255});
    const float pips[5][2] = {{0.32f, 0.32f}, {0.68f, 0.32f}, {0.5f, 0.5f}, {0.32f, 0.68f}, {0.68f, 0.68f}};
    for (const auto& q : pips) p.Spot(q[0], q[1], 0.06f, 0.06f, Rgba{30, 24, 20, 255});
  } else {  // last: a skull
    p.Ellipse(0.5f, 0.42f, 0.30f, 0.28f, Rgba{226, 218, 190, 255});
    p.Box(0.36f, 0.62f, 0.64f, 0.84f, Rgba{226, 218, 190, 255});
    p.Spot(0.38f, 0.44f, 0.08f, 0.08f, Rgba{20, 16, 14, 255});
    p.Spot(0.62f, 0.44f, 0.08f, 0.08f, Rgba{20, 16, 14, 255});
  }
  p.Finish();
}

// Copies src onto c at (x0, y0), blending.
void Paste(Canvas& c, const Canvas& src, int x0, int y0) {
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x) c.Blend(x0 + x, y0 + y, src.Get(x, y));
}

void Skill(Canvas& c, const ShapeArgs& a) {
  std::stringstream words(a.label);
  std::string word;
  words >> word;
  const Family* f = FindFamily(word);
  const float r = std::min(c.width, c.height) / 2.0f - 1.0f;
  shapes::FillEllipse(c, c.width / 2.0f, c.height / 2.0f, r, r, Shade(f ? f->colour : a.colour, 0.45f));
  shapes::Outline(c, Rgba{14, 12, 10, 255});
  if (!f) return;
  const int side = std::min(c.width, c.height) * 3 / 4;
  Canvas mark(side, side);
  DrawMark(mark, *f);
  Paste(c, mark, (c.width - side) / 2, (c.height - side) / 2);
}

void Ability(Canvas& c, const ShapeArgs& a) {
  std::stringstream words(a.label);
  std::string word;
  int n = 1;
  words >> word >> n;
  n = std::max(1, std::min(4, n));
  const Family* f = FindFamily(word);
  const Rgba rim = f ? f->colour : a.colour;
  const int w = c.width, h = c.height;
  const int t = std::max(2, w / 10);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int d = std::min(std::min(x, y), std::min(w - 1 - x, h - 1 - y));
      const int corner = std::min(x, w - 1 - x) + std::min(y, h - 1 - y);
      if (corner < 3) continue;  // clipped corners
      c.Set(x, y, d < t ? Shade(rim, d == 0 ? 0.5f : 1.1f) : Shade(rim, 0.3f));
    }
  const int side = h - 2 * t - std::max(4, h / 6);
  if (f && side > 0) {
    Canvas mark(side, side);
    DrawMark(mark, *f);
    Paste(c, mark, (w - side) / 2, t);
  }
  const int pip = std::max(1, w / 16);
  const int y = h - t - pip - 1;
  for (int i = 0; i < n; ++i) {
    const int x = w / 2 + (2 * i - (n - 1)) * (pip + 1) * 3 / 2;
    for (int dy = -pip; dy <= pip; ++dy)
      for (int dx = -pip; dx <= pip; ++dx) c.Set(x + dx, y + dy, Rgba{250, 246, 232, 255});
  }
}

}  // namespace

ShapeFn FindSkillShape(const std::string& name) {
  if (name == "skill") return Skill;
  if (name == "ability") return Ability;
  return nullptr;
}

std::vector<std::string> SkillFamilies() {
  std::vector<std::string> out;
  for (const Family& f : kFamilies) out.push_back(f.word);
  return out;
}

}  // namespace artw
