// Item silhouettes: arms and armour (the material in the metal's colour) and jewellery. The
// goods (food, drinks, coins, ingredients, kits) are drawn in art_items_goods.cpp.
#include "tools/art_items.h"

#include "tools/art_items_goods.h"
#include "tools/art_pen.h"

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <utility>

namespace artw {

namespace {

struct Material {
  const char* word;
  Rgba colour;
};

// Metals of weapons, materials of armour, gems and the tiers of trap kits. Words of one
// family have colours far enough apart to tell at a glance.
const Material kMaterials[] = {
    // weapon metals
    {"rusty", {138, 84, 52, 255}},      {"tin", {176, 180, 176, 255}},
    {"copper", {200, 116, 60, 255}},    {"bronze", {182, 140, 72, 255}},
    {"iron", {110, 114, 122, 255}},     {"steel", {196, 206, 218, 255}},
    {"blued", {72, 104, 172, 255}},     {"silvered", {236, 240, 248, 255}},
    {"gilded", {236, 196, 64, 255}},    {"damask", {150, 140, 164, 255}},
    {"runed", {96, 156, 196, 255}},     {"glasssteel", {150, 232, 232, 255}},
    {"emberforged", {228, 92, 36, 255}}, {"moonforged", {196, 214, 244, 255}},
    {"starmetal", {180, 150, 236, 255}}, {"dawnwrought", {244, 164, 128, 255}},
    {"skyrender", {90, 176, 244, 255}},  {"wyrmbone", {224, 214, 170, 255}},
    {"voidtouched", {96, 44, 120, 255}}, {"sovereign", {246, 226, 110, 255}},
    {"gold", {220, 176, 56, 255}},       {"silver", {214, 218, 226, 255}},
    {"wood", {128, 84, 46, 255}},
    // armour materials
    {"hide", {150, 108, 68, 255}},      {"leather", {120, 78, 42, 255}},
    {"studded", {112, 88, 64, 255}},    {"chain", {160, 164, 170, 255}},
    {"scale", {110, 150, 120, 255}},    {"plate", {190, 196, 206, 255}},
    {"mithral", {206, 226, 244, 255}},  {"adamant", {70, 160, 110, 255}},
    {"titan", {214, 156, 60, 255}},     {"starwoven", {140, 126, 216, 255}},
    {"abyssal", {70, 34, 86, 255}},     {"quilted", {206, 190, 146, 255}},
    {"ringmail", {150, 156, 160, 255}}, {"brigandine", {140, 76, 60, 255}},
    {"banded", {166, 136, 100, 255}},   {"gothic", {96, 100, 110, 255}},
    {"runeplate", {110, 142, 180, 255}}, {"dragonscale", {180, 54, 40, 255}},
    {"eldritch", {90, 196, 160, 255}},  {"celestial", {244, 234, 196, 255}},
    {"paragon", {232, 186, 50, 255}},   {"linen", {236, 232, 216, 255}},
    {"cloth", {150, 90, 190, 255}},
    // gems and trinkets
    {"diamond", {230, 246, 255, 255}},  {"emerald", {40, 180, 90, 255}},
    {"garnet", {150, 24, 48, 255}},     {"jade", {120, 190, 140, 255}},
    {"onyx", {34, 32, 40, 255}},        {"opal", {236, 210, 236, 255}},
    {"ruby", {220, 30, 50, 255}},       {"sapphire", {40, 80, 220, 255}},
    {"starstone", {160, 130, 250, 255}}, {"amethyst", {150, 80, 200, 255}},
    {"topaz", {240, 190, 40, 255}},     {"amber", {230, 140, 30, 255}},
    {"bone", {226, 218, 190, 255}},     {"moonsilver", {186, 206, 240, 255}},
    {"phoenix", {240, 90, 30, 255}},
    // trap kit tiers
    {"worn", {130, 118, 100, 255}},     {"hidden", {70, 74, 84, 255}},
    {"cruel", {170, 40, 40, 255}},      {"deadly", {120, 40, 150, 255}},
    {"infernal", {240, 110, 20, 255}},
};

const Rgba kWood{118, 76, 42, 255};
const Rgba kLeather{92, 58, 34, 255};
const Rgba kDark{34, 30, 28, 255};

// ---------------------------------------------------------------------------------------------
// Arms.

void DrawSword(const Pen& p, Rgba m, const std::string& form) {
  const Rgba hilt = form == "gladius" || form == "sovereign" ? Rgba{230, 186, 60, 255} : Shade(m, 0.6f);
  if (form == "pork") {  // a ham on a hilt
    p.Poly({0.92f, 0.08f, 0.86f, 0.34f, 0.46f, 0.70f, 0.30f, 0.54f, 0.66f, 0.14f}, m);
    p.Spot(0.64f, 0.36f, 0.08f, 0.05f, Rgba{250, 220, 220, 255});
  } else if (form == "gladius") {  // short, broad, leaf-shaped
    p.Poly({0.80f, 0.20f, 0.76f, 0.40f, 0.44f, 0.68f, 0.32f, 0.56f, 0.60f, 0.24f}, m);
  } else {
    const float tip = form == "longsword" ? 0.04f : 0.12f;
    p.Poly({1.0f - tip, tip, 0.84f, 0.24f, 0.40f, 0.68f, 0.32f, 0.60f, 0.76f, 0.16f}, m);
    p.Line(0.82f, 0.18f, 0.40f, 0.60f, 0.03f, Shade(m, 1.35f));  // the fuller catches the light
  }
  p.Line(0.18f, 0.54f, 0.46f, 0.82f, 0.09f, hilt);   // cross-guard
  p.Line(0.32f, 0.68f, 0.16f, 0.84f, 0.08f, kLeather);  // grip
  p.Ellipse(0.13f, 0.87f, 0.07f, 0.07f, hilt);       // pommel
}

void DrawAxe(const Pen& p, Rgba m, const std::string& form) {
  const bool thrown = form == "throwing";
  const float s = thrown ? 0.8f : 1.0f;
  p.Line(0.24f, 0.90f, 0.24f + 0.46f * s, 0.90f - 0.76f * s, 0.09f, kWood);
  const float hx = 0.24f + 0.42f * s, hy = 0.90f - 0.66f * s;
  p.Poly({hx - 0.08f, hy - 0.04f, hx + 0.12f, hy - 0.20f, hx + 0.30f, hy + 0.04f, hx + 0.22f, hy + 0.26f,
          hx + 0.04f, hy + 0.12f},
         m);
  p.Line(hx + 0.13f, hy - 0.17f, hx + 0.27f, hy + 0.06f, 0.03f, Shade(m, 1.4f));  // the edge
}

void DrawMace(const Pen& p, Rgba m, const std::string& form) {
  if (form == "maul") {  // a two-handed hammer
    p.Line(0.20f, 0.92f, 0.56f, 0.34f, 0.09f, kWood);
    p.Poly({0.34f, 0.22f, 0.62f, 0.04f, 0.90f, 0.40f, 0.62f, 0.58f}, m);
    p.Spot(0.62f, 0.31f, 0.05f, 0.05f, Rgba{240, 60, 40, 255});
    return;
  }
  const bool club = form == "knobbly" || form == "spiked";
  if (club) {
    p.Poly({0.14f, 0.86f, 0.22f, 0.92f, 0.84f, 0.30f, 0.70f, 0.10f, 0.52f, 0.22f}, m);
    for (int i = 0; i < 4; ++i) {
      const float t = 0.3f + 0.17f * i;
      const float x = 0.22f + 0.5f * t, y = 0.86f - 0.66f * t;
      if (form == "spiked")
        p.Line(x, y, x + 0.10f, y + 0.06f - 0.16f * (i % 2), 0.04f, Rgba{200, 204, 210, 255});
      else
        p.Ellipse(x + 0.04f * (i % 2 ? 1 : -1), y, 0.07f, 0.06f, Shade(m, 0.8f));
    }
    return;
  }
  p.Line(0.20f, 0.90f, 0.58f, 0.40f, 0.08f, kWood);
  for (int i = 0; i < 4; ++i) {  // flanges
    const float a = i * shapes::kPi / 2 + shapes::kPi / 4;
    p.Line(0.66f, 0.30f, 0.66f + 0.24f * std::cos(a), 0.30f + 0.24f * std::sin(a), 0.08f, Shade(m, 0.75f));
  }
  p.Ellipse(0.66f, 0.30f, 0.17f, 0.17f, m);
}

void DrawStaff(const Pen& p, Rgba m, const std::string& form) {
  p.Line(0.14f, 0.90f, 0.84f, 0.12f, 0.09f, form == "fruitful" ? Rgba{96, 130, 50, 255} : kWood);
  p.Line(0.10f, 0.94f, 0.20f, 0.83f, 0.12f, m);  // ferrule
  p.Line(0.44f, 0.57f, 0.52f, 0.48f, 0.12f, m);  // grip band
  if (form == "fruitful") {
    p.Ellipse(0.84f, 0.12f, 0.11f, 0.11f, Rgba{220, 60, 50, 255});
    p.Ellipse(0.68f, 0.16f, 0.08f, 0.05f, Rgba{60, 170, 60, 255});
  } else {
    p.Ellipse(0.85f, 0.12f, 0.12f, 0.12f, m);  // headpiece
  }
}

void DrawCrossbow(const Pen& p, Rgba m, const std::string& form) {
  p.Line(0.50f, 0.26f, 0.50f, 0.92f, 0.13f, kWood);                // stock
  p.Line(0.08f, 0.46f, 0.50f, 0.20f, 0.07f, m);                    // bow arms
  p.Line(0.50f, 0.20f, 0.92f, 0.46f, 0.07f, m);
  p.Line(0.09f, 0.47f, 0.91f, 0.47f, 0.02f, Rgba{230, 226, 210, 255});  // string
  p.Line(0.50f, 0.06f, 0.50f, 0.40f, 0.04f, Rgba{200, 200, 206, 255});  // the bolt laid on it
  if (form == "windlass" || form == "siege")
    p.Band(0.50f, 0.84f, 0.12f, 0.06f, 1.0f, Shade(m, 0.8f));
  if (form == "thunder") p.Flat({0.56f, 0.56f, 0.74f, 0.56f, 0.62f, 0.70f, 0.78f, 0.70f, 0.56f, 0.90f, 0.64f, 0.74f, 0.52f, 0.74f}, Rgba{250, 230, 60, 255});
  if (form == "gnomish") p.Band(0.50f, 0.62f, 0.10f, 0.05f, 1.0f, Rgba{230, 196, 70, 255});
}

void DrawBolts(const Pen& p, Rgba m, const std::string& form) {
  for (int i = 0; i < 3; ++i) {
    const float o = 0.16f * (i - 1);
    const float x0 = 0.18f + o, y0 = 0.86f + o * 0.2f, x1 = 0.70f + o, y1 = 0.26f + o * 0.2f;
    p.Line(x0, y0, x1, y1, 0.045f, kWood);
    p.Flat({x0, y0, x0 - 0.06f, y0 - 0.08f, x0 + 0.04f, y0 - 0.10f}, Rgba{230, 226, 214, 255});
    const float dx = (x1 - x0) * 0.22f, dy = (y1 - y0) * 0.22f;
    if (form == "broadhead")
      p.Poly({x1 + dx, y1 + dy, x1 - 0.09f, y1 - 0.02f, x1 + 0.03f, y1 + 0.09f}, m);
    else if (form == "barbed")
      p.Poly({x1 + dx, y1 + dy, x1 - 0.04f, y1 + 0.02f, x1 + 0.01f, y1 - 0.01f, x1 + 0.02f, y1 + 0.05f}, m);
    else
      p.Line(x1, y1, x1 + dx * (form == "bodkin" ? 1.3f : 0.8f), y1 + dy * (form == "bodkin" ? 1.3f : 0.8f), 0.05f, m);
    if (form == "starsteel") p.Spot(x1 + dx, y1 + dy, 0.04f, 0.04f, Rgba{255, 250, 200, 255});
  }
}

void DrawThrown(const Pen& p, Rgba m, const std::string& form) {
  if (form == "javelin") {
    p.Line(0.10f, 0.92f, 0.76f, 0.26f, 0.05f, kWood);
    p.Poly({0.92f, 0.08f, 0.70f, 0.24f, 0.76f, 0.30f}, m);
  } else if (form == "shuriken") {
    std::vector<float> star;
    for (int i = 0; i < 8; ++i) {
      const float a = i * shapes::kPi / 4 + 0.3f, r = i % 2 ? 0.14f : 0.44f;
      star.push_back(0.5f + r * std::cos(a));
      star.push_back(0.5f + r * std::sin(a));
    }
    p.Poly(star, m);
    p.Spot(0.5f, 0.5f, 0.06f, 0.06f, kDark);
  } else if (form == "pebble") {
    p.Ellipse(0.5f, 0.6f, 0.24f, 0.18f, Rgba{150, 146, 136, 255});
  } else {  // knife
    p.Poly({0.86f, 0.14f, 0.46f, 0.60f, 0.40f, 0.54f}, m);
    p.Line(0.42f, 0.58f, 0.22f, 0.78f, 0.09f, kLeather);
    p.Ellipse(0.20f, 0.80f, 0.06f, 0.06f, Shade(m, 0.7f));
  }
}

// ---------------------------------------------------------------------------------------------
// Armour.

void DrawHelm(const Pen& p, Rgba m, const std::string&) {
  p.Ellipse(0.5f, 0.48f, 0.34f, 0.36f, m);
  p.Box(0.16f, 0.48f, 0.30f, 0.86f, Shade(m, 0.85f));  // cheek guards
  p.Box(0.70f, 0.48f, 0.84f, 0.86f, Shade(m, 0.85f));
  p.FlatBox(0.24f, 0.48f, 0.76f, 0.56f, kDark);        // eye slit
  p.Line(0.5f, 0.50f, 0.5f, 0.78f, 0.08f, Shade(m, 0.9f));  // nose guard
  p.Line(0.5f, 0.12f, 0.5f, 0.40f, 0.05f, Shade(m, 1.3f));  // crest
}

void DrawArmour(const Pen& p, Rgba m, const std::string& form) {
  if (form == "robe") {
    p.Poly({0.34f, 0.08f, 0.66f, 0.08f, 0.94f, 0.40f, 0.80f, 0.48f, 0.86f, 0.94f, 0.14f, 0.94f, 0.20f, 0.48f,
            0.06f, 0.40f},
           m);
    p.Line(0.5f, 0.14f, 0.5f, 0.92f, 0.03f, Shade(m, 0.6f));
    p.FlatBox(0.24f, 0.48f, 0.76f, 0.53f, Rgba{230, 196, 70, 255});  // sash
    return;
  }
  p.Poly({0.28f, 0.10f, 0.42f, 0.14f, 0.5f, 0.24f, 0.58f, 0.14f, 0.72f, 0.10f, 0.94f, 0.30f, 0.82f, 0.46f, 0.74f,
          0.40f, 0.74f, 0.90f, 0.26f, 0.90f, 0.26f, 0.40f, 0.18f, 0.46f, 0.06f, 0.30f},
         m);
  if (form == "chain" || form == "ringmail") {
    for (float y = 0.34f; y < 0.86f; y += 0.1f)
      for (float x = 0.32f; x < 0.70f; x += 0.1f) p.Spot(x, y, 0.02f, 0.02f, Shade(m, 0.55f));
  } else if (form == "scale" || form == "dragonscale") {
    for (float y = 0.34f; y < 0.86f; y += 0.12f) p.Line(0.30f, y, 0.70f, y, 0.02f, Shade(m, 0.6f));
  } else if (form == "plate" || form == "titan" || form == "adamant" || form == "mithral") {
    p.Line(0.5f, 0.30f, 0.5f, 0.86f, 0.03f, Shade(m, 1.35f));
    p.Line(0.30f, 0.60f, 0.70f, 0.60f, 0.02f, Shade(m, 0.6f));
  } else if (form == "studded") {
    for (float y = 0.36f; y < 0.86f; y += 0.14f)
      for (float x = 0.34f; x < 0.70f; x += 0.14f) p.Spot(x, y, 0.03f, 0.03f, Rgba{210, 210, 200, 255});
  } else if (form == "linen") {
    p.Line(0.5f, 0.24f, 0.5f, 0.50f, 0.02f, Shade(m, 0.7f));
  } else {  // leather and the rest: laces at the neck
    p.Line(0.44f, 0.30f, 0.56f, 0.36f, 0.02f, kDark);
    p.Line(0.56f, 0.30f, 0.44f, 0.36f, 0.02f, kDark);
  }
}

void DrawGreaves(const Pen& p, Rgba m, const std::string&) {
  for (int side = 0; side < 2; ++side) {
    const float x = side ? 0.54f : 0.14f;
    p.Poly({x, 0.08f, x + 0.32f, 0.08f, x + 0.28f, 0.92f, x + 0.06f, 0.92f}, m);
    p.Ellipse(x + 0.16f, 0.40f, 0.12f, 0.08f, Shade(m, 1.15f));  // knee cop
  }
}

void DrawBoots(const Pen& p, Rgba m, const std::string&) {
  for (int side = 0; side < 2; ++side) {
    const float x = side ? 0.48f : 0.06f, y = side ? -0.06f : 0.04f;
    p.Poly({x + 0.06f, y + 0.14f, x + 0.26f, y + 0.14f, x + 0.28f, y + 0.62f, x + 0.44f, y + 0.72f, x + 0.44f,
            y + 0.88f, x + 0.04f, y + 0.88f},
           m);
    p.FlatBox(x + 0.04f, y + 0.84f, x + 0.44f, y + 0.90f, kDark);  // sole
  }
}

void DrawGloves(const Pen& p, Rgba m, const std::string&) {
  for (int f = 0; f < 4; ++f) {
    const float x = 0.32f + 0.12f * f;
    p.Line(x, 0.44f, x, 0.12f + 0.04f * std::abs(f - 1), 0.1f, m);
  }
  p.Line(0.28f, 0.56f, 0.12f, 0.38f, 0.11f, m);  // thumb
  p.Box(0.26f, 0.40f, 0.74f, 0.72f, m);
  p.Poly({0.26f, 0.70f, 0.74f, 0.70f, 0.82f, 0.94f, 0.18f, 0.94f}, Shade(m, 0.8f));  // cuff
}

void DrawBelt(const Pen& p, Rgba m, const std::string&) {
  p.Band(0.46f, 0.52f, 0.40f, 0.30f, 0.6f, m);
  p.Box(0.70f, 0.38f, 0.94f, 0.66f, Rgba{226, 190, 70, 255});  // buckle
  p.FlatBox(0.76f, 0.45f, 0.88f, 0.59f, kDark);
  p.Line(0.74f, 0.52f, 0.86f, 0.52f, 0.03f, Rgba{226, 190, 70, 255});
}

void DrawShield(const Pen& p, Rgba m, const std::string& form) {
  if (form == "heater" || form == "caketown") {
    p.Poly({0.14f, 0.10f, 0.86f, 0.10f, 0.86f, 0.46f, 0.5f, 0.94f, 0.14f, 0.46f}, m);
    p.Line(0.5f, 0.14f, 0.5f, 0.86f, 0.06f, Shade(m, 0.7f));
    p.Line(0.18f, 0.38f, 0.82f, 0.38f, 0.06f, Shade(m, 0.7f));
    if (form == "caketown") {  // the town's cake on the field
      p.Box(0.56f, 0.54f, 0.76f, 0.68f, Rgba{236, 200, 120, 255});
      p.Spot(0.66f, 0.52f, 0.10f, 0.04f, Rgba{250, 246, 240, 255});
      p.Spot(0.66f, 0.47f, 0.03f, 0.03f, Rgba{220, 40, 50, 255});
    }
    return;
  }
  p.Ellipse(0.5f, 0.5f, 0.42f, 0.42f, Shade(m, 0.75f));  // rim
  p.Ellipse(0.5f, 0.5f, 0.34f, 0.34f, m);
  p.Ellipse(0.5f, 0.5f, 0.12f, 0.12f, Shade(m, 1.3f));  // boss
}

// ---------------------------------------------------------------------------------------------
// Jewellery and gems.

void DrawRing(const Pen& p, Rgba m, const std::string& form) {
  const Rgba band = form == "copper" ? Rgba{200, 116, 60, 255} : Rgba{222, 180, 60, 255};
  p.Band(0.5f, 0.62f, 0.30f, 0.20f, 0.75f, band);
  if (form == "copper") return;
  p.Ellipse(0.5f, 0.32f, 0.16f, 0.14f, m);
  p.Spot(0.45f, 0.28f, 0.04f, 0.03f, Rgba{255, 255, 255, 200});
}

void DrawAmulet(const Pen& p, Rgba m, const std::string&) {
  const Rgba chain{214, 190, 110, 255};
  p.Line(0.18f, 0.06f, 0.5f, 0.50f, 0.04f, chain);
  p.Line(0.82f, 0.06f, 0.5f, 0.50f, 0.04f, chain);
  p.Ellipse(0.5f, 0.68f, 0.22f, 0.24f, Shade(chain, 0.8f));
  p.Ellipse(0.5f, 0.68f, 0.16f, 0.18f, m);
}

void DrawGemstone(const Pen& p, Rgba m, const std::string&) {
  p.Poly({0.30f, 0.22f, 0.70f, 0.22f, 0.90f, 0.42f, 0.5f, 0.90f, 0.10f, 0.42f}, m);
  p.Flat({0.36f, 0.22f, 0.64f, 0.22f, 0.58f, 0.42f, 0.42f, 0.42f}, WithAlpha(Rgba{255, 255, 255, 255}, 110));
  p.Line(0.10f, 0.42f, 0.90f, 0.42f, 0.02f, Shade(m, 0.6f));
}

struct KindInfo {
  const char* name;
  void (*draw)(const Pen&, Rgba, const std::string&);
  std::vector<std::string> forms;
};

const KindInfo kArmsKinds[] = {
    {"sword", DrawSword, {"blade", "gladius", "longsword", "pork"}},
    {"axe", DrawAxe, {"hatchet", "throwing"}},
    {"mace", DrawMace, {"cudgel", "knobbly", "spiked", "maul"}},
    {"staff", DrawStaff, {"quarterstaff", "fruitful"}},
    {"crossbow", DrawCrossbow, {"hunting", "windlass", "thunder", "gnomish"}},
    {"bolts", DrawBolts, {"bodkin", "broadhead", "barbed", "starsteel"}},
    {"thrown", DrawThrown, {"knife", "javelin", "shuriken", "pebble"}},
    {"helm", DrawHelm, {}},
    {"armour", DrawArmour, {"hauberk", "robe"}},
    {"greaves", DrawGreaves, {}},
    {"boots", DrawBoots, {}},
    {"gloves", DrawGloves, {}},
    {"belt", DrawBelt, {}},
    {"shield", DrawShield, {"buckler", "heater", "caketown"}},
    {"fingerring", DrawRing, {"gem", "copper"}},
    {"amulet", DrawAmulet, {}},
    {"gemstone", DrawGemstone, {}},
};

template <int Index>
void DrawArmsKind(Canvas& c, const ShapeArgs& a) {
  const KindInfo& k = kArmsKinds[Index];
  Rgba colour = a.colour;
  std::string form;
  std::stringstream words(a.label);
  std::string w;
  while (words >> w) {
    Rgba m;
    if (MaterialColour(w, &m)) colour = m;
    if (form.empty() || !MaterialColour(w, &m)) form = w;
  }
  Pen p(c);
  k.draw(p, colour, form);
  p.Finish();
}

template <int... I>
std::vector<ShapeInfo> ArmsShapeList(std::integer_sequence<int, I...>) {
  return {ShapeInfo{kArmsKinds[I].name, DrawArmsKind<I>}...};
}

const std::vector<ShapeInfo>& ItemShapeTable() {
  static const std::vector<ShapeInfo> table = [] {
    std::vector<ShapeInfo> t = ArmsShapeList(std::make_integer_sequence<int, static_cast<int>(sizeof(kArmsKinds) / sizeof(kArmsKinds[0]))>());
    for (const ShapeInfo& s : GoodsShapeTable()) t.push_back(s);
    return t;
  }();
  return table;
}

}  // namespace

bool MaterialColour(const std::string& word, Rgba* out) {
  for (const Material& m : kMaterials)
    if (word == m.word) {
      *out = m.colour;
      return true;
    }
  return false;
}

ShapeFn FindItemShape(const std::string& name) {
  for (const ShapeInfo& s : ItemShapeTable())
    if (name == s.name) return s.draw;
  return nullptr;
}

std::vector<std::string> ItemShapeNames() {
  std::vector<std::string> names;
  for (const ShapeInfo& s : ItemShapeTable()) names.push_back(s.name);
  return names;
}

std::vector<std::string> ItemShapeForms(const std::string& name) {
  for (const KindInfo& k : kArmsKinds)
    if (name == k.name) return k.forms;
  return GoodsShapeForms(name);
}

}  // namespace artw
