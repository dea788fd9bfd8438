// Goods among the item pictures. The form word picks the outline (an apple is round with a
// stem, a wine bottle tall and narrow, a pile of coins grows with its size), the entry's colour
// fills it, so two goods of one kind still differ by colour.
#include "tools/art_items_goods.h"

#include "tools/art_items.h"
#include "tools/art_pen.h"

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <utility>

namespace artw {

namespace {

const Rgba kGold{222, 178, 56, 255};
const Rgba kDark{34, 30, 28, 255};
const Rgba kWood{118, 76, 42, 255};
const Rgba kGlass{200, 224, 236, 255};
const Rgba kCork{150, 104, 60, 255};
const Rgba kWhite{244, 240, 228, 255};

// A pile of coins; size 0 one coin, 1-4 growing heaps, 5 a full purse with coins spilling.
void DrawCoins(const Pen& p, Rgba m, const std::string& form) {
  const int size = std::max(0, std::min(5, std::atoi(form.c_str())));
  auto coin = [&](float x, float y) {
    p.Ellipse(x, y + 0.025f, 0.14f, 0.07f, Shade(m, 0.65f));
    p.Ellipse(x, y, 0.14f, 0.07f, m);
    p.Spot(x, y, 0.07f, 0.03f, Shade(m, 0.85f));
  };
  if (size == 5) {
    p.Poly({0.22f, 0.40f, 0.78f, 0.40f, 0.88f, 0.86f, 0.12f, 0.86f}, Rgba{150, 110, 60, 255});
    p.Poly({0.36f, 0.22f, 0.64f, 0.22f, 0.58f, 0.40f, 0.42f, 0.40f}, Rgba{150, 110, 60, 255});
    p.Line(0.36f, 0.40f, 0.64f, 0.40f, 0.04f, Rgba{80, 50, 30, 255});
    coin(0.28f, 0.88f);
    coin(0.72f, 0.90f);
    coin(0.5f, 0.80f);
    return;
  }
  static const int kRows[5][4] = {{1, 0, 0, 0}, {2, 1, 0, 0}, {3, 2, 1, 0}, {4, 3, 2, 1}, {5, 4, 3, 2}};
  for (int row = 0; row < 4; ++row) {
    const int n = kRows[size][row];
    for (int i = 0; i < n; ++i) coin(0.5f + (i - (n - 1) / 2.0f) * 0.18f, 0.80f - row * 0.13f);
  }
}

void DrawFood(const Pen& p, Rgba m, const std::string& form) {
  if (form == "apple" || form == "plum") {
    const float r = form == "plum" ? 0.26f : 0.32f;
    p.Ellipse(0.5f, 0.58f, r, form == "plum" ? 0.32f : r, m);
    p.Line(0.5f, 0.30f, 0.56f, 0.14f, 0.05f, kWood);
    p.Ellipse(0.66f, 0.20f, 0.10f, 0.05f, Rgba{70, 160, 60, 255});
  } else if (form == "pear") {
    p.Ellipse(0.5f, 0.66f, 0.28f, 0.26f, m);
    p.Ellipse(0.5f, 0.38f, 0.16f, 0.20f, m);
    p.Line(0.5f, 0.20f, 0.46f, 0.08f, 0.05f, kWood);
  } else if (form == "pie") {
    p.Poly({0.08f, 0.56f, 0.92f, 0.56f, 0.80f, 0.84f, 0.20f, 0.84f}, Rgba{170, 120, 70, 255});
    p.Ellipse(0.5f, 0.56f, 0.42f, 0.18f, m);
    for (int i = 0; i < 3; ++i) p.Line(0.30f + 0.2f * i, 0.48f, 0.36f + 0.2f * i, 0.62f, 0.03f, Shade(m, 0.6f));
  } else if (form == "biscuit") {
    p.Box(0.16f, 0.26f, 0.84f, 0.78f, m);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 2; ++j) p.Spot(0.32f + 0.18f * i, 0.42f + 0.2f * j, 0.03f, 0.03f, Shade(m, 0.5f));
  } else if (form == "cake") {
    p.Box(0.18f, 0.42f, 0.82f, 0.84f, m);
    p.Ellipse(0.5f, 0.42f, 0.32f, 0.12f, kWhite);
    p.Ellipse(0.5f, 0.26f, 0.06f, 0.06f, Rgba{220, 40, 50, 255});
  } else if (form == "wheel") {
    p.Box(0.10f, 0.46f, 0.90f, 0.76f, Shade(m, 0.85f));
    p.Ellipse(0.5f, 0.76f, 0.40f, 0.14f, Shade(m, 0.85f));
    p.Ellipse(0.5f, 0.46f, 0.40f, 0.14f, m);
  } else if (form == "wedge") {
    p.Poly({0.12f, 0.76f, 0.88f, 0.76f, 0.88f, 0.40f}, m);
    p.Spot(0.62f, 0.66f, 0.05f, 0.04f, Shade(m, 0.6f));
    p.Spot(0.78f, 0.56f, 0.04f, 0.04f, Shade(m, 0.6f));
  } else if (form == "steak") {
    p.Poly({0.12f, 0.40f, 0.40f, 0.22f, 0.80f, 0.26f, 0.90f, 0.56f, 0.66f, 0.80f, 0.24f, 0.74f}, m);
    p.Line(0.20f, 0.44f, 0.42f, 0.30f, 0.05f, Rgba{240, 226, 200, 255});  // fat rim
  } else if (form == "ham" || form == "boar") {
    const bool boar = form == "boar";
    p.Ellipse(boar ? 0.5f : 0.58f, 0.46f, boar ? 0.40f : 0.30f, boar ? 0.26f : 0.28f, m);
    if (boar) {
      p.Ellipse(0.86f, 0.40f, 0.08f, 0.08f, Rgba{220, 60, 50, 255});  // the apple in its mouth
      p.Line(0.30f, 0.66f, 0.26f, 0.84f, 0.06f, Shade(m, 0.8f));
      p.Line(0.66f, 0.66f, 0.70f, 0.84f, 0.06f, Shade(m, 0.8f));
    } else {
      p.Line(0.36f, 0.66f, 0.14f, 0.88f, 0.08f, Rgba{236, 226, 200, 255});  // bone
      p.Ellipse(0.12f, 0.90f, 0.06f, 0.05f, Rgba{236, 226, 200, 255});
    }
  } else if (form == "egg") {
    p.Ellipse(0.5f, 0.54f, 0.26f, 0.34f, m);
    p.Spot(0.42f, 0.46f, 0.03f, 0.03f, Shade(m, 0.6f));
    p.Spot(0.58f, 0.64f, 0.03f, 0.03f, Shade(m, 0.6f));
  } else if (form == "omelette") {
    p.Poly({0.08f, 0.66f, 0.92f, 0.66f, 0.80f, 0.44f, 0.50f, 0.36f, 0.20f, 0.44f}, m);
  } else if (form == "fish") {
    p.Ellipse(0.44f, 0.5f, 0.32f, 0.16f, m);
    p.Poly({0.70f, 0.5f, 0.94f, 0.30f, 0.94f, 0.70f}, m);
    p.Spot(0.24f, 0.46f, 0.03f, 0.03f, kDark);
  } else if (form == "root") {
    p.Poly({0.36f, 0.30f, 0.64f, 0.30f, 0.54f, 0.80f, 0.48f, 0.94f}, m);
    for (int i = -1; i <= 1; ++i) p.Line(0.5f, 0.32f, 0.5f + 0.18f * i, 0.08f, 0.05f, Rgba{70, 150, 60, 255});
  } else {  // mug of something
    p.Box(0.22f, 0.28f, 0.70f, 0.86f, Rgba{170, 140, 100, 255});
    p.Band(0.72f, 0.56f, 0.16f, 0.08f, 1.2f, Rgba{170, 140, 100, 255});
    p.Ellipse(0.46f, 0.28f, 0.24f, 0.08f, m);
  }
}

// Drinks: the outline of the vessel tells the sort, the liquid's colour the drink.
void DrawBottle(const Pen& p, Rgba m, const std::string& form) {
  if (form == "vial") {
    p.Box(0.40f, 0.16f, 0.60f, 0.86f, kGlass);
    p.Box(0.42f, 0.40f, 0.58f, 0.84f, m);
    p.Box(0.38f, 0.08f, 0.62f, 0.18f, kCork);
  } else if (form == "wine") {
    p.Box(0.36f, 0.42f, 0.64f, 0.94f, m);
    p.Poly({0.36f, 0.44f, 0.44f, 0.30f, 0.56f, 0.30f, 0.64f, 0.44f}, m);
    p.Box(0.45f, 0.08f, 0.55f, 0.32f, m);
    p.FlatBox(0.38f, 0.58f, 0.62f, 0.76f, Rgba{236, 226, 200, 255});  // label
  } else if (form == "beer") {
    p.Box(0.30f, 0.46f, 0.70f, 0.92f, m);
    p.Poly({0.30f, 0.48f, 0.42f, 0.30f, 0.58f, 0.30f, 0.70f, 0.48f}, m);
    p.Box(0.42f, 0.16f, 0.58f, 0.32f, m);
    p.Box(0.40f, 0.10f, 0.60f, 0.16f, kGold);
  } else if (form == "jug") {
    p.Ellipse(0.46f, 0.62f, 0.30f, 0.30f, m);
    p.Box(0.36f, 0.14f, 0.56f, 0.40f, m);
    p.Band(0.74f, 0.50f, 0.16f, 0.08f, 1.3f, m);
    p.FlatBox(0.26f, 0.58f, 0.66f, 0.64f, kWhite);  // a painted stripe
  } else if (form == "flask") {  // flat hip flask
    p.Poly({0.22f, 0.30f, 0.78f, 0.30f, 0.82f, 0.86f, 0.18f, 0.86f}, m);
    p.Box(0.42f, 0.14f, 0.58f, 0.30f, Rgba{180, 184, 190, 255});
    p.Line(0.30f, 0.44f, 0.70f, 0.44f, 0.03f, Shade(m, 1.3f));
  } else if (form == "decanter") {
    p.Poly({0.5f, 0.30f, 0.86f, 0.62f, 0.5f, 0.94f, 0.14f, 0.62f}, m);
    p.Box(0.42f, 0.12f, 0.58f, 0.34f, kGlass);
    p.Ellipse(0.5f, 0.10f, 0.10f, 0.07f, kGlass);
  } else if (form == "tankard") {
    p.Box(0.20f, 0.30f, 0.66f, 0.92f, Rgba{130, 132, 140, 255});
    p.Band(0.70f, 0.60f, 0.16f, 0.08f, 1.2f, Rgba{130, 132, 140, 255});
    p.Ellipse(0.43f, 0.28f, 0.26f, 0.10f, m);  // foam
  } else {  // potion: a round flask
    p.Ellipse(0.5f, 0.64f, 0.34f, 0.30f, kGlass);
    p.Ellipse(0.5f, 0.68f, 0.30f, 0.24f, m);
    p.Box(0.40f, 0.16f, 0.60f, 0.40f, kGlass);
    p.Box(0.38f, 0.06f, 0.62f, 0.18f, kCork);
    p.Spot(0.38f, 0.58f, 0.05f, 0.07f, Rgba{255, 255, 255, 150});
  }
}

void DrawWand(const Pen& p, Rgba m, const std::string& form) {
  if (form == "burnt") {
    p.Line(0.18f, 0.86f, 0.58f, 0.42f, 0.08f, Rgba{50, 44, 40, 255});
    p.Line(0.66f, 0.32f, 0.78f, 0.20f, 0.08f, Rgba{50, 44, 40, 255});
    p.Spot(0.62f, 0.36f, 0.03f, 0.03f, Rgba{230, 90, 30, 255});
    return;
  }
  p.Line(0.18f, 0.86f, 0.74f, 0.26f, 0.08f, Rgba{70, 50, 36, 255});
  p.Line(0.24f, 0.80f, 0.34f, 0.69f, 0.10f, kGold);  // grip band
  p.Ellipse(0.78f, 0.22f, 0.12f, 0.12f, m);         // charged tip
  p.Spot(0.78f, 0.22f, 0.05f, 0.05f, Rgba{255, 255, 240, 220});
  for (int i = 0; i < 4; ++i) {
    const float a = i * shapes::kPi / 2;
    p.Line(0.78f + 0.14f * std::cos(a), 0.22f + 0.14f * std::sin(a), 0.78f + 0.2f * std::cos(a),
           0.22f + 0.2f * std::sin(a), 0.03f, m);
  }
}

void DrawFungus(const Pen& p, Rgba m, const std::string& form) {
  const Rgba stem{226, 216, 190, 255};
  if (form == "puffball") {
    p.Ellipse(0.5f, 0.58f, 0.32f, 0.28f, m);
    p.Spot(0.40f, 0.50f, 0.04f, 0.04f, Shade(m, 1.3f));
  } else if (form == "stool") {  // tall bell
    p.Box(0.44f, 0.46f, 0.56f, 0.92f, stem);
    p.Ellipse(0.5f, 0.38f, 0.22f, 0.30f, m);
  } else if (form == "gill") {  // flat cap, gills underneath
    p.Box(0.44f, 0.44f, 0.56f, 0.90f, stem);
    p.Poly({0.08f, 0.44f, 0.5f, 0.20f, 0.92f, 0.44f}, m);
    for (int i = 0; i < 5; ++i) p.Line(0.2f + 0.15f * i, 0.44f, 0.5f, 0.50f, 0.015f, Shade(m, 0.55f));
  } else if (form == "cluster") {
    for (int i = 0; i < 3; ++i) {
      const float x = 0.26f + 0.24f * i, y = 0.5f + 0.1f * (i % 2);
      p.Box(x - 0.04f, y, x + 0.04f, 0.90f, stem);
      p.Ellipse(x, y, 0.12f, 0.09f, m);
    }
  } else if (form == "wen") {
    p.Ellipse(0.5f, 0.64f, 0.36f, 0.24f, m);
    p.Ellipse(0.36f, 0.50f, 0.14f, 0.12f, Shade(m, 1.15f));
    p.Ellipse(0.64f, 0.46f, 0.12f, 0.10f, Shade(m, 0.9f));
  } else {  // cap
    p.Box(0.42f, 0.48f, 0.58f, 0.92f, stem);
    p.Ellipse(0.5f, 0.46f, 0.40f, 0.22f, m);
    p.Spot(0.36f, 0.40f, 0.05f, 0.04f, kWhite);
    p.Spot(0.62f, 0.36f, 0.04f, 0.03f, kWhite);
  }
}

// Crafting ingredients.
void DrawComponent(const Pen& p, Rgba m, const std::string& form) {
  if (form == "wing") {
    p.Poly({0.06f, 0.30f, 0.50f, 0.20f, 0.94f, 0.30f, 0.80f, 0.56f, 0.66f, 0.46f, 0.50f, 0.66f, 0.34f, 0.46f,
            0.20f, 0.56f},
           m);
  } else if (form == "hair" || form == "bristle") {
    const float w = form == "bristle" ? 0.04f : 0.025f;
    for (int i = 0; i < 7; ++i) {
      const float a = -0.9f + 0.3f * i;
      p.Line(0.5f, 0.88f, 0.5f + 0.42f * std::sin(a), 0.88f - 0.70f * std::cos(a), w, m);
    }
    p.Box(0.40f, 0.78f, 0.60f, 0.92f, form == "bristle" ? kWood : Shade(m, 0.6f));
  } else if (form == "dust" || form == "filings") {
    p.Poly({0.08f, 0.86f, 0.30f, 0.60f, 0.5f, 0.50f, 0.70f, 0.60f, 0.92f, 0.86f}, m);
    if (form == "filings")
      for (int i = 0; i < 5; ++i) p.Spot(0.22f + 0.14f * i, 0.74f - 0.06f * (i % 2), 0.03f, 0.02f, kWhite);
  } else if (form == "crystal") {
    p.Poly({0.30f, 0.90f, 0.26f, 0.40f, 0.38f, 0.16f, 0.50f, 0.40f, 0.46f, 0.90f}, m);
    p.Poly({0.48f, 0.90f, 0.56f, 0.30f, 0.70f, 0.22f, 0.76f, 0.90f}, Shade(m, 0.85f));
  } else if (form == "silk") {  // a skein wound in a figure of eight
    p.Band(0.32f, 0.5f, 0.22f, 0.10f, 1.3f, m);
    p.Band(0.68f, 0.5f, 0.22f, 0.10f, 1.3f, m);
    p.Line(0.5f, 0.36f, 0.5f, 0.64f, 0.08f, Shade(m, 0.7f));
  } else if (form == "eye") {
    p.Ellipse(0.5f, 0.5f, 0.34f, 0.34f, kWhite);
    p.Ellipse(0.56f, 0.48f, 0.16f, 0.16f, m);
    p.Spot(0.58f, 0.48f, 0.07f, 0.07f, kDark);
  } else if (form == "nugget" || form == "lump") {
    p.Poly({0.18f, 0.62f, 0.30f, 0.34f, 0.56f, 0.26f, 0.82f, 0.40f, 0.84f, 0.70f, 0.50f, 0.82f}, m);
    p.Spot(0.44f, 0.44f, 0.06f, 0.04f, Shade(m, form == "nugget" ? 1.5f : 1.2f));
  } else if (form == "spores") {
    for (int i = 0; i < 9; ++i)
      p.Ellipse(0.2f + 0.3f * (i % 3) + 0.05f * (i / 3), 0.24f + 0.26f * (i / 3), 0.07f, 0.07f, m);
  } else {  // pebble
    p.Ellipse(0.5f, 0.58f, 0.32f, 0.22f, m);
    p.Spot(0.40f, 0.50f, 0.08f, 0.05f, Rgba{90, 150, 70, 200});
  }
}

// Crafting kits: an emblem of the craft over a small case.
// The kit's emblem word from an item or tab name ("ingot_press", "smithing", "alchemy_kit").
std::string KitEmblem(const std::string& name) {
  static const std::pair<const char*, const char*> kNames[] = {
      {"alchemy", "alchemy"}, {"distilling", "still"}, {"still", "still"},   {"grinder", "grinder"},
      {"press", "press"},     {"ingot", "press"},      {"tinkerer", "tinkerer"}, {"anvil", "anvil"},
      {"smithing", "anvil"},  {"lathe", "lathe"},      {"cube", "cube"},       {"lutefisk", "cube"},
  };
  for (const auto& n : kNames)
    if (name.find(n.first) != std::string::npos) return n.second;
  return name;
}

void DrawKit(const Pen& p, Rgba m, const std::string& name) {
  const std::string form = KitEmblem(name);
  if (form == "cube") {
    p.Poly({0.20f, 0.34f, 0.5f, 0.20f, 0.80f, 0.34f, 0.80f, 0.76f, 0.5f, 0.90f, 0.20f, 0.76f}, m);
    p.Line(0.5f, 0.48f, 0.5f, 0.88f, 0.02f, Shade(m, 0.6f));
    p.Line(0.22f, 0.36f, 0.5f, 0.48f, 0.02f, Shade(m, 0.6f));
    p.Line(0.78f, 0.36f, 0.5f, 0.48f, 0.02f, Shade(m, 0.6f));
    return;
  }
  p.Box(0.10f, 0.64f, 0.90f, 0.92f, Shade(m, 0.8f));  // the case
  p.FlatBox(0.44f, 0.70f, 0.56f, 0.78f, kDark);       // its clasp
  if (form == "alchemy") {
    p.Ellipse(0.40f, 0.44f, 0.18f, 0.16f, kGlass);
    p.Line(0.52f, 0.36f, 0.82f, 0.18f, 0.06f, kGlass);
  } else if (form == "still") {
    p.Box(0.20f, 0.24f, 0.46f, 0.62f, m);
    for (int i = 0; i < 3; ++i) p.Band(0.70f, 0.28f + 0.12f * i, 0.10f, 0.06f, 0.5f, Rgba{200, 116, 60, 255});
  } else if (form == "grinder") {
    p.Band(0.5f, 0.38f, 0.24f, 0.10f, 1.0f, m);
    for (int i = 0; i < 6; ++i) {
      const float a = i * shapes::kPi / 3;
      p.Line(0.5f, 0.38f, 0.5f + 0.28f * std::cos(a), 0.38f + 0.28f * std::sin(a), 0.05f, m);
    }
  } else if (form == "press") {
    p.Box(0.20f, 0.50f, 0.80f, 0.62f, m);
    p.Line(0.5f, 0.10f, 0.5f, 0.50f, 0.08f, Shade(m, 0.7f));
    p.Line(0.30f, 0.14f, 0.70f, 0.14f, 0.06f, Shade(m, 0.7f));
  } else if (form == "tinkerer") {
    p.Band(0.36f, 0.38f, 0.16f, 0.07f, 1.0f, m);
    p.Band(0.66f, 0.30f, 0.12f, 0.05f, 1.0f, Shade(m, 1.2f));
    p.Line(0.66f, 0.44f, 0.86f, 0.60f, 0.05f, kDark);
  } else if (form == "anvil") {
    p.Poly({0.10f, 0.24f, 0.80f, 0.24f, 0.90f, 0.34f, 0.66f, 0.40f, 0.62f, 0.56f, 0.76f, 0.62f, 0.24f, 0.62f,
            0.38f, 0.56f, 0.34f, 0.40f},
           m);
  } else {  // lathe
    p.Line(0.14f, 0.40f, 0.86f, 0.40f, 0.08f, m);
    p.Box(0.10f, 0.24f, 0.24f, 0.60f, Shade(m, 0.8f));
    p.Box(0.76f, 0.30f, 0.88f, 0.60f, Shade(m, 0.8f));
    p.Ellipse(0.5f, 0.40f, 0.08f, 0.16f, Shade(m, 1.2f));
  }
}

// Small oddments: lock picks, quest tokens, a spoon, a sleeve, scrolls and books.
void DrawOddment(const Pen& p, Rgba m, const std::string& form) {
  if (form == "lockpick") {
    p.Band(0.26f, 0.74f, 0.16f, 0.08f, 1.0f, m);
    p.Line(0.36f, 0.62f, 0.80f, 0.18f, 0.05f, m);
    p.Line(0.80f, 0.18f, 0.90f, 0.24f, 0.05f, m);
  } else if (form == "spoon") {
    p.Line(0.20f, 0.86f, 0.56f, 0.44f, 0.07f, m);
    p.Ellipse(0.68f, 0.30f, 0.16f, 0.20f, m);
    p.Spot(0.70f, 0.30f, 0.08f, 0.12f, Shade(m, 0.8f));
  } else if (form == "sleeve") {
    p.Poly({0.14f, 0.20f, 0.56f, 0.10f, 0.88f, 0.74f, 0.52f, 0.90f}, m);
    for (int i = 0; i < 3; ++i) p.Spot(0.40f + 0.1f * i, 0.34f + 0.18f * i, 0.05f, 0.04f, kGold);
  } else if (form == "orb") {
    p.Ellipse(0.5f, 0.5f, 0.36f, 0.36f, m);
    p.Spot(0.38f, 0.38f, 0.10f, 0.08f, Rgba{255, 255, 255, 170});
  } else if (form == "reliquary") {
    p.Box(0.16f, 0.40f, 0.84f, 0.88f, m);
    p.Poly({0.16f, 0.40f, 0.5f, 0.14f, 0.84f, 0.40f}, Shade(m, 1.1f));
    p.Line(0.5f, 0.50f, 0.5f, 0.80f, 0.05f, kGold);
    p.Line(0.38f, 0.60f, 0.62f, 0.60f, 0.05f, kGold);
  } else if (form == "totem") {
    p.Box(0.32f, 0.08f, 0.68f, 0.92f, m);
    p.Spot(0.42f, 0.24f, 0.04f, 0.04f, kDark);
    p.Spot(0.58f, 0.24f, 0.04f, 0.04f, kDark);
    p.FlatBox(0.40f, 0.36f, 0.60f, 0.40f, kDark);
    p.Poly({0.32f, 0.52f, 0.08f, 0.44f, 0.32f, 0.64f}, Shade(m, 0.8f));
    p.Poly({0.68f, 0.52f, 0.92f, 0.44f, 0.68f, 0.64f}, Shade(m, 0.8f));
  } else if (form == "book") {
    p.Box(0.18f, 0.14f, 0.82f, 0.88f, m);
    p.FlatBox(0.74f, 0.18f, 0.80f, 0.84f, kWhite);
    p.Line(0.34f, 0.36f, 0.62f, 0.36f, 0.04f, kGold);
  } else {  // scroll
    p.Box(0.22f, 0.22f, 0.78f, 0.78f, Rgba{226, 206, 156, 255});
    p.Line(0.16f, 0.20f, 0.84f, 0.20f, 0.10f, Rgba{200, 176, 120, 255});
    p.Line(0.16f, 0.80f, 0.84f, 0.80f, 0.10f, Rgba{200, 176, 120, 255});
    p.Spot(0.5f, 0.66f, 0.08f, 0.06f, m);  // the seal
  }
}

// A trap kit: a floor plate with the mark of its trap; the tier colours the plate.
void DrawTrapKit(const Pen& p, Rgba m, const std::string& form) {
  p.Box(0.10f, 0.18f, 0.90f, 0.82f, m);
  const Rgba mark{240, 236, 220, 255};
  if (form == "dart") {
    for (int i = 0; i < 3; ++i) p.FlatBox(0.22f + 0.22f * i, 0.40f, 0.34f + 0.22f * i, 0.60f, kDark);
  } else if (form == "flame") {
    p.Poly({0.5f, 0.22f, 0.68f, 0.56f, 0.60f, 0.76f, 0.40f, 0.76f, 0.32f, 0.56f}, Rgba{250, 150, 30, 255});
  } else if (form == "frost") {
    for (int i = 0; i < 3; ++i) {
      const float a = i * shapes::kPi / 3;
      p.Line(0.5f - 0.26f * std::cos(a), 0.5f - 0.26f * std::sin(a), 0.5f + 0.26f * std::cos(a),
             0.5f + 0.26f * std::sin(a), 0.05f, Rgba{170, 230, 250, 255});
    }
  } else {  // spikes
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 2; ++j) {
        const float x = 0.26f + 0.24f * i, y = 0.46f + 0.24f * j;
        p.Poly({x - 0.06f, y, x, y - 0.18f, x + 0.06f, y}, mark);
      }
  }
}

struct GoodsKind {
  const char* name;
  void (*draw)(const Pen&, Rgba, const std::string&);
  std::vector<std::string> forms;
};

const GoodsKind kGoodsKinds[] = {
    {"coins", DrawCoins, {"0", "1", "2", "3", "4", "5"}},
    {"food", DrawFood, {"apple", "pear", "plum", "pie", "biscuit", "cake", "wheel", "wedge", "steak", "ham",
                        "boar", "egg", "omelette", "fish", "root", "mug"}},
    {"bottle", DrawBottle, {"potion", "vial", "wine", "beer", "jug", "flask", "decanter", "tankard"}},
    {"wand", DrawWand, {"charged", "burnt"}},
    {"fungus", DrawFungus, {"cap", "stool", "puffball", "gill", "cluster", "wen"}},
    {"component", DrawComponent, {"wing", "hair", "bristle", "dust", "filings", "crystal", "silk", "eye",
                                  "lump", "nugget", "spores", "pebble"}},
    {"kit", DrawKit, {"alchemy", "still", "grinder", "press", "tinkerer", "anvil", "lathe", "cube"}},
    {"oddment", DrawOddment, {"lockpick", "spoon", "sleeve", "orb", "reliquary", "totem", "book", "scroll"}},
    {"trapkit", DrawTrapKit, {"dart", "flame", "frost", "spikes"}},
};

template <int Index>
void DrawGoodsKind(Canvas& c, const ShapeArgs& a) {
  const GoodsKind& k = kGoodsKinds[Index];
  Rgba colour = a.colour;
  std::string form;
  std::stringstream words(a.label);
  std::string w;
  while (words >> w) {
    Rgba m;
    if (MaterialColour(w, &m)) colour = m;
    else if (form.empty()) form = w;
  }
  Pen p(c);
  k.draw(p, colour, form);
  p.Finish();
}

template <int... I>
std::vector<ShapeInfo> GoodsList(std::integer_sequence<int, I...>) {
  return {ShapeInfo{kGoodsKinds[I].name, DrawGoodsKind<I>}...};
}

}  // namespace

const std::vector<ShapeInfo>& GoodsShapeTable() {
  static const std::vector<ShapeInfo> table = GoodsList(std::make_integer_sequence<int, static_cast<int>(sizeof(kGoodsKinds) / sizeof(kGoodsKinds[0]))>());
  return table;
}

std::vector<std::string> GoodsShapeForms(const std::string& name) {
  for (const GoodsKind& k : kGoodsKinds)
    if (name == k.name) return k.forms;
  return {};
}

}  // namespace artw
