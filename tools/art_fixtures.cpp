// Fixture silhouettes: doors, chests, levers, fountains, stairs, vending cabinets, statues,
// anvils and shrines. Containers and breakables are in art_fixtures_props.cpp.
#include "tools/art_fixtures.h"

#include "tools/art_fixtures_props.h"
#include "tools/art_pen.h"

#include <cmath>
#include <sstream>
#include <utility>

namespace artw {

namespace {

const Rgba kDark{20, 16, 18, 255};
const Rgba kIron{88, 90, 98, 255};
const Rgba kGold{226, 186, 64, 255};
const Rgba kStone{150, 146, 138, 255};

// Door pieces. The east-west door is seen face on: its top piece carries the lintel, its bottom
// piece the threshold and the ring. The north-south door is seen from above: a thick leaf
// across the passage that swings back against the hinge side. The last frame is open; a middle
// frame of three is half open.
void DrawDoor(const Pen& p, Rgba m, const std::string& part, int frame, int frames) {
  const float open = frames > 1 ? static_cast<float>(frame) / (frames - 1) : 0.0f;
  if (part == "ns_left" || part == "ns_right") {
    const bool left = part == "ns_left";
    p.Box(left ? 0.0f : 0.84f, 0.30f, left ? 0.16f : 1.0f, 0.70f, kStone);  // door post
    const float hx = left ? 0.12f : 0.88f;
    const float ang = open * shapes::kPi / 2;
    const float ex = hx + (left ? 1.0f : -1.0f) * 0.86f * std::cos(ang), ey = 0.5f + 0.80f * std::sin(ang);
    p.Line(hx, 0.5f, ex, std::min(0.98f, ey), 0.22f, m);
    p.Line(hx, 0.5f, ex, std::min(0.98f, ey), 0.04f, kIron);  // iron strap along the leaf
    return;
  }
  const bool top = part != "ew_bottom";
  p.Box(0.0f, 0.0f, 0.14f, 1.0f, kStone);  // posts
  p.Box(0.86f, 0.0f, 1.0f, 1.0f, kStone);
  if (top) p.Box(0.0f, 0.0f, 1.0f, 0.16f, Shade(kStone, 0.9f));  // lintel
  const float y0 = top ? 0.16f : 0.0f, y1 = top ? 1.0f : 0.90f;
  p.FlatBox(0.14f, y0, 0.86f, y1, kDark);  // the doorway, dark when the leaf is away
  const float leafRight = 0.86f - 0.64f * open;
  if (leafRight > 0.17f) {
    p.Box(0.14f, y0, leafRight, y1, m);
    const float plank = (leafRight - 0.14f) / 3.0f;
    for (int i = 1; i < 3; ++i) p.Line(0.14f + plank * i, y0, 0.14f + plank * i, y1, 0.02f, Shade(m, 0.6f));
    p.Line(0.14f, top ? 0.40f : 0.50f, leafRight, top ? 0.40f : 0.50f, 0.06f, kIron);
    if (!top && open < 0.5f) p.Band(leafRight - 0.12f, 0.30f, 0.07f, 0.04f, 1.0f, kGold);  // ring
  } else {
    p.Box(0.14f, y0, 0.20f, y1, Shade(m, 0.8f));  // the leaf folded back, seen edge on
  }
  if (!top) p.Box(0.0f, 0.90f, 1.0f, 1.0f, Shade(kStone, 0.8f));  // threshold
}

// Chest: a box with a lid and a lock plate. Forms: closed, locked, open, broken. A chest of
// three frames is locked, closed, open.
void DrawChest(const Pen& p, Rgba m, const std::string& form, int frame, int frames) {
  std::string state = form;
  if (frames == 3) state = frame == 0 ? "locked" : frame == 1 ? "closed" : "open";
  if (state == "broken") {
    p.Poly({0.08f, 0.52f, 0.46f, 0.46f, 0.40f, 0.90f, 0.10f, 0.90f}, m);
    p.Poly({0.54f, 0.56f, 0.92f, 0.50f, 0.90f, 0.90f, 0.58f, 0.90f}, Shade(m, 0.85f));
    p.Line(0.20f, 0.30f, 0.80f, 0.40f, 0.08f, Shade(m, 0.7f));  // the split lid
    return;
  }
  p.Box(0.08f, 0.46f, 0.92f, 0.90f, m);
  p.Line(0.08f, 0.66f, 0.92f, 0.66f, 0.05f, kIron);
  if (state == "open") {
    p.FlatBox(0.12f, 0.40f, 0.88f, 0.48f, kDark);
    p.Poly({0.08f, 0.46f, 0.92f, 0.46f, 0.86f, 0.10f, 0.14f, 0.10f}, Shade(m, 0.75f));  // lid up
    p.Ellipse(0.36f, 0.44f, 0.10f, 0.05f, kGold);
    p.Ellipse(0.60f, 0.43f, 0.10f, 0.05f, kGold);
    return;
  }
  p.Ellipse(0.5f, 0.46f, 0.42f, 0.18f, Shade(m, 1.1f));  // rounded lid
  p.Box(0.08f, 0.42f, 0.92f, 0.48f, Shade(m, 0.9f));
  p.Box(0.42f, 0.44f, 0.58f, 0.64f, kGold);  // lock plate
  p.FlatBox(0.48f, 0.50f, 0.52f, 0.58f, kDark);
  if (state == "locked") {
    p.Band(0.5f, 0.72f, 0.10f, 0.05f, 1.0f, kIron);  // padlock shackle
    p.Box(0.40f, 0.74f, 0.60f, 0.90f, kIron);
  }
}

// Lever: a handle on a floor plate, tilted left while off and right while on.
void DrawLever(const Pen& p, Rgba m, const std::string&, int frame, int) {
  p.Box(0.20f, 0.70f, 0.80f, 0.86f, m);
  const float dir = frame == 0 ? -1.0f : 1.0f;
  p.Line(0.5f, 0.74f, 0.5f + dir * 0.30f, 0.22f, 0.07f, kIron);
  p.Ellipse(0.5f + dir * 0.30f, 0.20f, 0.09f, 0.09f, frame == 0 ? Rgba{200, 50, 40, 255} : Rgba{70, 190, 70, 255});
  p.Ellipse(0.5f, 0.74f, 0.08f, 0.06f, Shade(m, 0.7f));
}

// Fountain: a stone basin; a jet of water rises and falls over the frames unless it is dry.
void DrawFountain(const Pen& p, Rgba m, const std::string& form, int frame, int frames) {
  p.Ellipse(0.5f, 0.80f, 0.46f, 0.16f, kStone);
  p.Box(0.04f, 0.62f, 0.96f, 0.80f, kStone);
  p.Ellipse(0.5f, 0.62f, 0.46f, 0.12f, Shade(kStone, 1.2f));
  p.Spot(0.5f, 0.63f, 0.38f, 0.08f, form == "dry" ? Rgba{70, 66, 60, 255} : m);
  p.Box(0.42f, 0.34f, 0.58f, 0.62f, Shade(kStone, 0.9f));  // the spout's column
  if (form == "dry") return;
  const float h = 0.05f * std::sin(frames > 1 ? 2 * shapes::kPi * frame / frames : 0.0f);
  p.Line(0.5f, 0.32f, 0.5f, 0.10f + h, 0.06f, Shade(m, 1.3f));
  p.Line(0.5f, 0.12f + h, 0.30f, 0.44f, 0.04f, Shade(m, 1.2f));
  p.Line(0.5f, 0.12f + h, 0.70f, 0.44f, 0.04f, Shade(m, 1.2f));
}

// Stairs as a fixture-sized picture (the tile sheets use DrawStairsCell).
void DrawStairs(const Pen& p, Rgba m, const std::string& form, int, int) {
  DrawStairsCell(p.c, 0, 0, std::min(p.c.width, p.c.height), form == "up", m);
}

// Vending cabinet: a tall box with a lit window showing the goods it sells.
void DrawVending(const Pen& p, Rgba m, const std::string& form, int frame, int) {
  p.Box(0.08f, 0.06f, 0.92f, 0.96f, m);
  p.FlatBox(0.16f, 0.12f, 0.84f, 0.56f, frame ? Rgba{250, 240, 170, 255} : Rgba{200, 220, 230, 255});
  p.FlatBox(0.56f, 0.64f, 0.84f, 0.72f, kDark);  // coin slot panel
  p.FlatBox(0.16f, 0.78f, 0.84f, 0.90f, kDark);  // tray
  const Rgba ink{40, 30, 24, 255};
  if (form == "bolts") {
    for (int i = 0; i < 3; ++i) {
      p.Line(0.30f + 0.16f * i, 0.50f, 0.30f + 0.16f * i, 0.22f, 0.04f, ink);
      p.Flat({0.26f + 0.16f * i, 0.24f, 0.30f + 0.16f * i, 0.16f, 0.34f + 0.16f * i, 0.24f}, ink);
    }
  } else if (form == "food") {
    p.Spot(0.40f, 0.36f, 0.12f, 0.12f, Rgba{210, 40, 40, 255});
    p.Line(0.40f, 0.24f, 0.44f, 0.17f, 0.03f, ink);
    p.Spot(0.64f, 0.40f, 0.10f, 0.08f, Rgba{230, 190, 60, 255});
  } else if (form == "drink") {
    p.FlatBox(0.40f, 0.26f, 0.60f, 0.50f, Rgba{60, 110, 200, 255});
    p.FlatBox(0.46f, 0.16f, 0.54f, 0.26f, Rgba{60, 110, 200, 255});
  } else if (form == "thrown") {
    p.Line(0.26f, 0.48f, 0.70f, 0.20f, 0.04f, ink);
    p.Flat({0.64f, 0.16f, 0.78f, 0.16f, 0.70f, 0.28f}, ink);
    p.Spot(0.34f, 0.26f, 0.06f, 0.06f, ink);
  } else {  // crafts: a hammer
    p.Line(0.34f, 0.48f, 0.58f, 0.22f, 0.05f, Rgba{118, 76, 42, 255});
    p.Flat({0.50f, 0.14f, 0.68f, 0.30f, 0.60f, 0.36f, 0.44f, 0.20f}, ink);
  }
}

// Statue on a plinth; the form picks the figure.
void DrawStatue(const Pen& p, Rgba m, const std::string& form, int frame, int) {
  p.Box(0.10f, 0.80f, 0.90f, 0.98f, Shade(kStone, 0.9f));  // plinth
  p.Box(0.16f, 0.74f, 0.84f, 0.80f, kStone);
  if (form == "broken") {
    p.Poly({0.30f, 0.74f, 0.30f, 0.50f, 0.44f, 0.40f, 0.52f, 0.56f, 0.70f, 0.46f, 0.70f, 0.74f}, m);
    p.Ellipse(0.80f, 0.72f, 0.08f, 0.05f, m);  // the head on the floor
    return;
  }
  if (form == "idol") {
    p.Box(0.28f, 0.20f, 0.72f, 0.74f, m);
    p.Ellipse(0.5f, 0.40f, 0.16f, 0.08f, Rgba{240, 236, 220, 255});
    p.Spot(0.5f, 0.40f, 0.05f, 0.05f, kDark);  // the watchful eye
    return;
  }
  if (form == "digging" || form == "dozing") {  // a squat burrower with a shovel, or curled up
    const bool doze = form == "dozing";
    p.Ellipse(0.5f, doze ? 0.64f : 0.54f, 0.30f, doze ? 0.12f : 0.20f, m);
    p.Ellipse(doze ? 0.76f : 0.5f, doze ? 0.58f : 0.30f, 0.12f, 0.10f, m);
    if (!doze) p.Line(0.76f, 0.22f, 0.84f, 0.72f, 0.05f, kIron);
    else p.Line(0.70f, 0.44f, 0.84f, 0.38f, 0.02f, kDark);  // sleeping eye line
    return;
  }
  // A standing figure; the robed one (Zarnoch) wears a tall hat, the quest hero a sword.
  p.Poly({0.34f, 0.74f, 0.40f, 0.30f, 0.60f, 0.30f, 0.66f, 0.74f}, m);
  p.Ellipse(0.5f, 0.24f, 0.09f, 0.07f, m);
  if (form == "zarnoch") {
    p.Poly({0.40f, 0.20f, 0.5f, 0.02f, 0.60f, 0.20f}, Shade(m, 0.85f));
    p.Line(0.70f, 0.30f, 0.74f, 0.74f, 0.04f, Shade(m, 0.7f));  // staff
  } else {
    p.Line(0.30f, 0.66f, 0.26f, 0.34f, 0.04f, Shade(m, 1.2f));  // raised sword
    if (frame) p.Spot(0.5f, 0.5f, 0.06f, 0.06f, kGold);  // the quest mark once fulfilled
  }
}

// Anvil on a block. Forms: anvil, used (cold and dull), broken (split).
void DrawAnvil(const Pen& p, Rgba m, const std::string& form, int, int) {
  p.Box(0.30f, 0.66f, 0.70f, 0.94f, Rgba{110, 72, 40, 255});
  if (form == "broken") {
    p.Poly({0.08f, 0.30f, 0.46f, 0.30f, 0.40f, 0.46f, 0.44f, 0.66f, 0.28f, 0.66f}, m);
    p.Poly({0.54f, 0.36f, 0.92f, 0.36f, 0.72f, 0.50f, 0.74f, 0.66f, 0.56f, 0.66f}, m);
    return;
  }
  p.Poly({0.04f, 0.26f, 0.80f, 0.26f, 0.96f, 0.36f, 0.70f, 0.42f, 0.64f, 0.56f, 0.76f, 0.66f, 0.24f, 0.66f,
          0.36f, 0.56f, 0.32f, 0.42f},
         m);
  if (form != "used") p.Spot(0.44f, 0.30f, 0.12f, 0.03f, Rgba{255, 140, 40, 230});  // a glow of heat
}

// Shrine: an altar with its god's sign. Forms: lutefisk, mellow, monolith; "used" dims it.
void DrawShrine(const Pen& p, Rgba m, const std::string& form, int, int) {
  if (form == "monolith") {
    p.Poly({0.26f, 0.96f, 0.30f, 0.10f, 0.5f, 0.02f, 0.70f, 0.10f, 0.74f, 0.96f}, m);
    for (int i = 0; i < 3; ++i) p.Line(0.42f, 0.30f + 0.18f * i, 0.58f, 0.36f + 0.18f * i, 0.03f, Rgba{140, 90, 220, 255});
    return;
  }
  p.Box(0.14f, 0.62f, 0.86f, 0.96f, kStone);  // altar
  p.Box(0.08f, 0.56f, 0.92f, 0.64f, Shade(kStone, 1.15f));
  p.Box(0.40f, 0.14f, 0.60f, 0.56f, m);        // stele
  if (form == "mellow") {
    p.Ellipse(0.5f, 0.26f, 0.18f, 0.10f, Rgba{90, 190, 90, 255});  // a leaf
    p.Line(0.36f, 0.30f, 0.64f, 0.22f, 0.02f, Rgba{40, 110, 40, 255});
  } else {  // a fish
    const Rgba fish = form == "used" ? Rgba{120, 130, 140, 255} : Rgba{200, 220, 240, 255};
    p.Ellipse(0.46f, 0.32f, 0.18f, 0.07f, fish);
    p.Flat({0.62f, 0.32f, 0.76f, 0.24f, 0.76f, 0.40f}, fish);
  }
}

using FixtureDraw = void (*)(const Pen&, Rgba, const std::string&, int, int);

struct FixtureKind {
  const char* name;
  FixtureDraw draw;
  std::vector<std::string> forms;
};

const FixtureKind kFixtureKinds[] = {
    {"door", DrawDoor, {"ew_top", "ew_bottom", "ns_left", "ns_right"}},
    {"chest", DrawChest, {"closed", "locked", "open", "broken"}},
    {"lever", DrawLever, {}},
    {"fountain", DrawFountain, {"water", "dry"}},
    {"stairs", DrawStairs, {"down", "up"}},
    {"vending", DrawVending, {"bolts", "food", "drink", "thrown", "crafts"}},
    {"statue", DrawStatue, {"zarnoch", "quest", "broken", "idol", "digging", "dozing"}},
    {"anvil", DrawAnvil, {"anvil", "used", "broken"}},
    {"shrine", DrawShrine, {"lutefisk", "used", "mellow", "monolith"}},
};

template <int Index>
void DrawFixtureKind(Canvas& c, const ShapeArgs& a) {
  std::stringstream words(a.label);
  std::string form;
  words >> form;
  Pen p(c);
  kFixtureKinds[Index].draw(p, a.colour, form, a.frame, a.frames);
  p.Finish();
}

template <int... I>
std::vector<ShapeInfo> FixtureList(std::integer_sequence<int, I...>) {
  return {ShapeInfo{kFixtureKinds[I].name, DrawFixtureKind<I>}...};
}

const std::vector<ShapeInfo>& FixtureShapeTable() {
  static const std::vector<ShapeInfo> table = [] {
    std::vector<ShapeInfo> t = FixtureList(std::make_integer_sequence<int, static_cast<int>(sizeof(kFixtureKinds) / sizeof(kFixtureKinds[0]))>());
    for (const ShapeInfo& s : PropShapeTable()) t.push_back(s);
    return t;
  }();
  return table;
}

}  // namespace

void DrawStairsCell(Canvas& c, int x0, int y0, int size, bool up, Rgba stone) {
  Canvas cell(size, size);
  Pen p(cell);
  p.FlatBox(0.0f, 0.0f, 1.0f, 1.0f, Shade(stone, 0.55f));
  p.FlatBox(0.10f, 0.10f, 0.90f, 0.90f, Rgba{10, 8, 12, 255});  // the dark opening
  for (int i = 0; i < 4; ++i) {  // steps narrowing into the dark
    const float y = 0.90f - 0.18f * (i + 1), inset = 0.04f * i;
    p.FlatBox(0.10f + inset, y, 0.90f - inset, y + 0.12f, Shade(stone, 1.1f - 0.2f * i));
  }
  const Rgba arrow = up ? Rgba{250, 230, 120, 255} : Rgba{120, 200, 250, 255};
  if (up) p.Flat({0.5f, 0.14f, 0.76f, 0.42f, 0.24f, 0.42f}, arrow);
  else p.Flat({0.5f, 0.46f, 0.76f, 0.18f, 0.24f, 0.18f}, arrow);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) c.Set(x0 + x, y0 + y, cell.Get(x, y));
}

ShapeFn FindFixtureShape(const std::string& name) {
  for (const ShapeInfo& s : FixtureShapeTable())
    if (name == s.name) return s.draw;
  return nullptr;
}

std::vector<std::string> FixtureShapeNames() {
  std::vector<std::string> names;
  for (const ShapeInfo& s : FixtureShapeTable()) names.push_back(s.name);
  return names;
}

std::vector<std::string> FixtureShapeForms(const std::string& name) {
  for (const FixtureKind& k : kFixtureKinds)
    if (name == k.name) return k.forms;
  return PropShapeForms(name);
}

}  // namespace artw
