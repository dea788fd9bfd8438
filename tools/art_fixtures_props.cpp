// Props among the fixture pictures: furniture with states in its frames, breakables with a
// broken form, floor traps and splats.
#include "tools/art_fixtures_props.h"

#include "tools/art_pen.h"

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <utility>

namespace artw {

namespace {

const Rgba kDark{20, 16, 18, 255};
const Rgba kIron{88, 90, 98, 255};
const Rgba kBone{226, 218, 190, 255};

// Coffin standing upright: six-sided, a cross on the lid; frame 1 has the lid slid aside.
void DrawCoffin(const Pen& p, Rgba m, const std::string&, int frame, int) {
  const std::vector<float> outline = {0.30f, 0.04f, 0.70f, 0.04f, 0.86f, 0.26f, 0.74f, 0.96f, 0.26f, 0.96f, 0.14f, 0.26f};
  if (frame == 0) {
    p.Poly(outline, m);
    p.Line(0.5f, 0.22f, 0.5f, 0.60f, 0.06f, Shade(m, 0.6f));
    p.Line(0.38f, 0.34f, 0.62f, 0.34f, 0.06f, Shade(m, 0.6f));
    return;
  }
  p.Poly(outline, Shade(m, 0.8f));
  p.Flat({0.34f, 0.10f, 0.66f, 0.10f, 0.78f, 0.28f, 0.68f, 0.90f, 0.32f, 0.90f, 0.22f, 0.28f}, kDark);
  p.Poly({0.50f, 0.08f, 0.90f, 0.08f, 1.0f, 0.30f, 0.92f, 0.98f, 0.62f, 0.98f, 0.54f, 0.30f}, m);  // the lid aside
}

// Small fridge: a white box with a handle; frame 1 open, empty and lit.
void DrawFridge(const Pen& p, Rgba m, const std::string&, int frame, int) {
  p.Box(0.14f, 0.16f, 0.86f, 0.96f, m);
  if (frame == 0) {
    p.Line(0.14f, 0.44f, 0.86f, 0.44f, 0.02f, Shade(m, 0.6f));
    p.Line(0.74f, 0.22f, 0.74f, 0.38f, 0.05f, kIron);
    p.Line(0.74f, 0.52f, 0.74f, 0.72f, 0.05f, kIron);
  } else {
    p.FlatBox(0.20f, 0.22f, 0.80f, 0.90f, Rgba{230, 246, 255, 255});
    p.Line(0.20f, 0.50f, 0.80f, 0.50f, 0.02f, Rgba{170, 190, 200, 255});
    p.Box(0.86f, 0.16f, 0.98f, 0.96f, Shade(m, 0.8f));  // door swung open
  }
}

// Bookshelf: frame 0 empty shelves, later frames full, each with its own order of books.
void DrawBookshelf(const Pen& p, Rgba m, const std::string&, int frame, int) {
  p.Box(0.06f, 0.04f, 0.94f, 0.98f, m);
  static const Rgba kSpines[] = {{170, 40, 40, 255}, {40, 90, 170, 255}, {60, 140, 60, 255}, {200, 160, 50, 255}, {110, 50, 130, 255}};
  for (int shelf = 0; shelf < 3; ++shelf) {
    const float top = 0.10f + 0.30f * shelf, bottom = top + 0.24f;
    p.FlatBox(0.12f, top, 0.88f, bottom, Shade(m, 0.45f));
    if (frame == 0) continue;
    float x = 0.13f;
    for (int b = 0; x < 0.84f; ++b) {
      const uint32_t h = Hash3(static_cast<uint32_t>(b), static_cast<uint32_t>(shelf), static_cast<uint32_t>(frame));
      const float w = 0.07f + 0.03f * static_cast<float>(h % 3);
      const float tall = 0.14f + 0.03f * static_cast<float>((h >> 4) % 3);
      if (x + w > 0.87f) break;
      if ((h >> 8) % 5 != 0) p.FlatBox(x, bottom - tall, x + w - 0.01f, bottom, kSpines[(h >> 12) % 5]);
      x += w;
    }
  }
}

// Barbecue: a round grill on legs; "open" has its lid up and flames that flicker.
void DrawBbq(const Pen& p, Rgba m, const std::string& form, int frame, int) {
  p.Line(0.30f, 0.60f, 0.20f, 0.96f, 0.05f, kIron);
  p.Line(0.70f, 0.60f, 0.80f, 0.96f, 0.05f, kIron);
  p.Ellipse(0.5f, 0.56f, 0.40f, 0.16f, m);  // bowl
  if (form == "open") {
    for (int i = 0; i < 3; ++i) {
      const float x = 0.32f + 0.18f * i, h = 0.18f + 0.06f * ((i + frame) % 3);
      p.Flat({x - 0.07f, 0.50f, x, 0.50f - h, x + 0.07f, 0.50f}, Rgba{250, static_cast<uint8_t>(140 + 40 * (i % 2)), 30, 255});
    }
    p.Line(0.14f, 0.48f, 0.86f, 0.48f, 0.02f, kIron);  // grill
    p.Line(0.86f, 0.40f, 0.96f, 0.10f, 0.10f, m);        // lid raised at the back
  } else {
    p.Ellipse(0.5f, 0.44f, 0.36f, 0.20f, Shade(m, 1.15f));  // domed lid
    p.Ellipse(0.5f, 0.24f, 0.05f, 0.04f, kIron);
    if (frame) p.Line(0.60f, 0.22f, 0.66f, 0.06f, 0.03f, Rgba{190, 190, 190, 180});  // a wisp of smoke
  }
}

// Crates: a plank box with a cross brace. "evil" is dark with a glowing face; "evil_open"
// shows the emptied inside.
void DrawCrate(const Pen& p, Rgba m, const std::string& form, int frame, int) {
  if (form == "evil_open") {
    p.Box(0.10f, 0.30f, 0.90f, 0.92f, m);
    p.FlatBox(0.16f, 0.30f, 0.84f, 0.44f, kDark);
    p.Poly({0.10f, 0.30f, 0.90f, 0.30f, 0.80f, 0.06f, 0.20f, 0.06f}, Shade(m, 0.75f));
    return;
  }
  p.Box(0.10f, 0.16f, 0.90f, 0.92f, m);
  p.Line(0.14f, 0.20f, 0.86f, 0.88f, 0.06f, Shade(m, 0.65f));
  p.Line(0.10f, 0.20f, 0.90f, 0.20f, 0.06f, Shade(m, 0.65f));
  p.Line(0.10f, 0.88f, 0.90f, 0.88f, 0.06f, Shade(m, 0.65f));
  if (form == "evil") {
    const Rgba glow = frame ? Rgba{255, 80, 60, 255} : Rgba{240, 40, 30, 255};
    p.Flat({0.28f, 0.40f, 0.44f, 0.46f, 0.28f, 0.52f}, glow);
    p.Flat({0.72f, 0.40f, 0.56f, 0.46f, 0.72f, 0.52f}, glow);
    p.Flat({0.32f, 0.66f, 0.68f, 0.66f, 0.5f, 0.76f}, glow);
  }
}

// Pedestals: "shop" a stone column with a cushion for the ware; "podium" a reading stand
// with an open scroll.
void DrawPedestal(const Pen& p, Rgba m, const std::string& form, int, int) {
  if (form == "podium") {
    p.Box(0.40f, 0.44f, 0.60f, 0.92f, m);
    p.Box(0.24f, 0.90f, 0.76f, 0.98f, Shade(m, 0.8f));
    p.Poly({0.12f, 0.36f, 0.88f, 0.26f, 0.88f, 0.40f, 0.12f, 0.50f}, Shade(m, 1.1f));
    p.Flat({0.20f, 0.34f, 0.80f, 0.26f, 0.80f, 0.32f, 0.20f, 0.40f}, Rgba{236, 220, 176, 255});
    return;
  }
  p.Box(0.16f, 0.82f, 0.84f, 0.96f, Shade(m, 0.85f));
  p.Box(0.30f, 0.36f, 0.70f, 0.82f, m);
  p.Box(0.16f, 0.26f, 0.84f, 0.36f, Shade(m, 1.1f));
  p.Ellipse(0.5f, 0.24f, 0.24f, 0.06f, Rgba{150, 40, 50, 255});  // cushion
}

// Signpost: a post with two pointing boards.
void DrawSignpost(const Pen& p, Rgba m, const std::string&, int, int) {
  p.Line(0.5f, 0.12f, 0.5f, 0.96f, 0.08f, m);
  p.Poly({0.18f, 0.18f, 0.76f, 0.18f, 0.90f, 0.26f, 0.76f, 0.34f, 0.18f, 0.34f}, Shade(m, 1.2f));
  p.Poly({0.82f, 0.42f, 0.24f, 0.42f, 0.10f, 0.50f, 0.24f, 0.58f, 0.82f, 0.58f}, Shade(m, 1.1f));
  p.Line(0.30f, 0.26f, 0.66f, 0.26f, 0.02f, kDark);
  p.Line(0.34f, 0.50f, 0.70f, 0.50f, 0.02f, kDark);
}

// Traps on the floor: "hidden" a faint dashed plate, "spikes" a grate with spikes, "darts" a
// slit with dart tips.
void DrawTrap(const Pen& p, Rgba m, const std::string& form, int, int) {
  if (form == "hidden") {
    for (int i = 0; i < 8; ++i) {
      const float t = 0.2f + 0.08f * i;
      if (i % 2) continue;
      p.FlatBox(t, 0.18f, t + 0.06f, 0.22f, WithAlpha(m, 150));
      p.FlatBox(t, 0.78f, t + 0.06f, 0.82f, WithAlpha(m, 150));
      p.FlatBox(0.18f, t, 0.22f, t + 0.06f, WithAlpha(m, 150));
      p.FlatBox(0.78f, t, 0.82f, t + 0.06f, WithAlpha(m, 150));
    }
    p.Spot(0.5f, 0.5f, 0.06f, 0.06f, WithAlpha(m, 150));
    return;
  }
  p.Box(0.14f, 0.14f, 0.86f, 0.86f, m);
  if (form == "darts") {
    p.FlatBox(0.20f, 0.44f, 0.80f, 0.56f, kDark);
    for (int i = 0; i < 3; ++i) p.Flat({0.28f + 0.2f * i, 0.56f, 0.34f + 0.2f * i, 0.44f, 0.40f + 0.2f * i, 0.56f}, Rgba{210, 210, 220, 255});
  } else {
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) {
        const float x = 0.28f + 0.22f * i, y = 0.36f + 0.22f * j;
        p.Flat({x - 0.06f, y, x, y - 0.16f, x + 0.06f, y}, Rgba{220, 220, 228, 255});
      }
  }
}

// Breakables: barrel, crate, pot, urn, sack, bones; "broken" as the second word leaves shards.
void DrawBreakable(const Pen& p, Rgba m, const std::string& form, int, int) {
  std::stringstream words(form);
  std::string kind, state;
  words >> kind >> state;
  if (state == "broken") {
    for (int i = 0; i < 5; ++i) {
      const float x = 0.18f + 0.15f * i, y = 0.78f + 0.08f * ((i * 7) % 3 - 1);
      p.Poly({x - 0.08f, y + 0.06f, x, y - 0.08f - 0.04f * (i % 2), x + 0.08f, y + 0.06f}, Shade(m, 0.8f + 0.1f * (i % 3)));
    }
    if (kind == "barrel") p.Band(0.5f, 0.80f, 0.30f, 0.24f, 0.4f, kIron);
    return;
  }
  if (kind == "barrel") {
    p.Ellipse(0.5f, 0.54f, 0.34f, 0.40f, m);
    p.Line(0.20f, 0.32f, 0.80f, 0.32f, 0.05f, kIron);
    p.Line(0.20f, 0.76f, 0.80f, 0.76f, 0.05f, kIron);
  } else if (kind == "pot") {
    p.Ellipse(0.5f, 0.62f, 0.36f, 0.30f, m);
    p.Box(0.28f, 0.24f, 0.72f, 0.36f, Shade(m, 1.1f));
  } else if (kind == "urn") {
    p.Ellipse(0.5f, 0.56f, 0.26f, 0.32f, m);
    p.Box(0.38f, 0.10f, 0.62f, 0.30f, m);
    p.Box(0.32f, 0.86f, 0.68f, 0.96f, Shade(m, 0.8f));
    p.Band(0.22f, 0.40f, 0.10f, 0.05f, 1.2f, m);
    p.Band(0.78f, 0.40f, 0.10f, 0.05f, 1.2f, m);
  } else if (kind == "sack") {
    p.Ellipse(0.5f, 0.64f, 0.36f, 0.30f, m);
    p.Poly({0.38f, 0.40f, 0.62f, 0.40f, 0.70f, 0.16f, 0.30f, 0.16f}, m);
    p.Line(0.36f, 0.36f, 0.64f, 0.36f, 0.04f, Rgba{70, 50, 30, 255});
  } else if (kind == "bones") {
    p.Ellipse(0.5f, 0.38f, 0.16f, 0.14f, kBone);  // skull
    p.FlatBox(0.42f, 0.36f, 0.47f, 0.42f, kDark);
    p.FlatBox(0.53f, 0.36f, 0.58f, 0.42f, kDark);
    p.Line(0.16f, 0.80f, 0.84f, 0.62f, 0.06f, kBone);
    p.Line(0.20f, 0.60f, 0.80f, 0.84f, 0.06f, kBone);
  } else if (kind == "tombstone") {
    p.Poly({0.22f, 0.92f, 0.22f, 0.34f, 0.5f, 0.12f, 0.78f, 0.34f, 0.78f, 0.92f}, m);
    p.Line(0.5f, 0.34f, 0.5f, 0.66f, 0.05f, Shade(m, 0.55f));
    p.Line(0.38f, 0.44f, 0.62f, 0.44f, 0.05f, Shade(m, 0.55f));
  } else {  // crate
    DrawCrate(p, m, "crate", 0, 1);
  }
}

// A small irregular splat in the one square under the picture's anchor: the picture is
// centred across and stands on the square's bottom edge, so the square is the middle half
// across and the lower half down. The form word varies the drops.
void DrawSplat(const Pen& p, Rgba m, const std::string& form, int, int) {
  const uint32_t seed = static_cast<uint32_t>(std::atoi(form.c_str()) + 1);
  const float cx = 0.5f, cy = 0.75f;
  p.Spot(cx, cy, 0.10f, 0.08f, m);
  for (uint32_t i = 0; i < 7; ++i) {
    const uint32_t h = Hash3(i, seed, 77);
    const float a = static_cast<float>(h % 628) / 100.0f;
    const float d = 0.05f + 0.12f * static_cast<float>((h >> 10) % 100) / 100.0f;
    const float r = 0.015f + 0.04f * static_cast<float>((h >> 20) % 100) / 100.0f;
    const float x = std::max(0.27f, std::min(0.73f, cx + d * std::cos(a)));
    const float y = std::max(0.52f, std::min(0.98f, cy + d * std::sin(a)));
    p.Spot(x, y, r, r * 0.8f, m);
    if (i < 4) p.Line(cx, cy, x, y, 0.02f + 0.02f * static_cast<float>(i % 2), m);
  }
}

using PropDraw = void (*)(const Pen&, Rgba, const std::string&, int, int);

struct PropKind {
  const char* name;
  PropDraw draw;
  bool outlined;
  std::vector<std::string> forms;
};

const PropKind kPropKinds[] = {
    {"coffin", DrawCoffin, true, {}},
    {"fridge", DrawFridge, true, {}},
    {"bookshelf", DrawBookshelf, true, {}},
    {"bbq", DrawBbq, true, {"closed", "open"}},
    {"crate", DrawCrate, true, {"evil", "evil_open"}},
    {"pedestal", DrawPedestal, true, {"shop", "podium"}},
    {"signpost", DrawSignpost, true, {}},
    {"trap", DrawTrap, false, {"hidden", "spikes", "darts"}},
    {"breakable", DrawBreakable, true, {"barrel", "crate", "pot", "urn", "sack", "bones", "tombstone",
                                        "barrel broken", "pot broken"}},
    {"splat", DrawSplat, false, {"0", "1", "2", "3", "4", "5"}},
};

template <int Index>
void DrawPropKind(Canvas& c, const ShapeArgs& a) {
  const PropKind& k = kPropKinds[Index];
  Pen p(c);
  k.draw(p, a.colour, a.label, a.frame, a.frames);
  if (k.outlined) p.Finish();
}

template <int... I>
std::vector<ShapeInfo> PropList(std::integer_sequence<int, I...>) {
  return {ShapeInfo{kPropKinds[I].name, DrawPropKind<I>}...};
}

}  // namespace

const std::vector<ShapeInfo>& PropShapeTable() {
  static const std::vector<ShapeInfo> table = PropList(std::make_integer_sequence<int, static_cast<int>(sizeof(kPropKinds) / sizeof(kPropKinds[0]))>());
  return table;
}

std::vector<std::string> PropShapeForms(const std::string& name) {
  for (const PropKind& k : kPropKinds)
    if (name == k.name) return k.forms;
  return {};
}

}  // namespace artw
