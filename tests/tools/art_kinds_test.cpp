// Item, fixture and skill art tells its things apart: every kind and form draws its own
// picture, every picture the project's manifests list for an item, fixture or skill differs
// from the others, and states (open doors, tilted levers, growing money piles) show.
#include "tools/art_fixtures.h"
#include "tools/art_items.h"
#include "tools/art_manifest.h"
#include "tools/art_skills.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Picture {
  std::string name;
  artw::Canvas canvas;
};

artw::Canvas Draw(artw::ShapeFn fn, int w, int h, const std::string& label, int frame = 0, int frames = 1,
                  artw::Rgba colour = {150, 120, 90, 255}) {
  artw::Canvas c(w, h);
  artw::ShapeArgs a;
  a.colour = colour;
  a.label = label;
  a.frame = frame;
  a.frames = frames;
  fn(c, a);
  return c;
}

int OpaqueCount(const artw::Canvas& c) {
  int n = 0;
  for (size_t i = 3; i < c.rgba.size(); i += 4) n += c.rgba[i] >= 128;
  return n;
}

// Every pair of pictures with the same pixels, named.
std::vector<std::string> IdenticalPairs(const std::vector<Picture>& pictures) {
  std::vector<std::string> pairs;
  for (size_t i = 0; i < pictures.size(); ++i)
    for (size_t j = i + 1; j < pictures.size(); ++j)
      if (pictures[i].canvas.rgba == pictures[j].canvas.rgba)
        pairs.push_back(pictures[i].name + " = " + pictures[j].name);
  return pairs;
}

// A sheet of every shape of a table in every form it knows, in one neutral colour.
std::vector<Picture> Sheet(const std::vector<std::string>& names,
                           std::vector<std::string> (*forms)(const std::string&),
                           artw::ShapeFn (*find)(const std::string&), int w, int h) {
  std::vector<Picture> out;
  for (const std::string& name : names) {
    std::vector<std::string> f = forms(name);
    if (f.empty()) f.push_back("");
    for (const std::string& form : f) {
      artw::Canvas c = Draw(find(name), w, h, form);
      EXPECT_GT(OpaqueCount(c), w * h / 40) << name << " " << form << " draws almost nothing";
      out.push_back({name + " " + form, c});
    }
  }
  return out;
}

TEST(ItemArt, EveryKindAndFormDrawsItsOwnPicture) {
  const std::vector<std::string> names = artw::ItemShapeNames();
  for (const char* kind : {"sword", "axe", "mace", "staff", "crossbow", "bolts", "helm", "armour", "boots",
                           "gloves", "belt", "shield", "fingerring", "amulet", "gemstone", "coins", "food", "bottle",
                           "wand", "greaves", "thrown", "fungus", "component", "kit", "oddment", "trapkit"})
    EXPECT_NE(artw::FindItemShape(kind), nullptr) << kind;
  const std::vector<Picture> sheet = Sheet(names, artw::ItemShapeForms, artw::FindItemShape, 32, 32);
  const std::vector<std::string> same = IdenticalPairs(sheet);
  EXPECT_TRUE(same.empty()) << same.size() << " identical, first: " << same.front();
}

TEST(FixtureArt, EveryKindAndFormDrawsItsOwnPicture) {
  const std::vector<std::string> names = artw::FixtureShapeNames();
  for (const char* kind : {"door", "chest", "lever", "fountain", "stairs", "vending", "statue", "anvil", "shrine",
                           "coffin", "fridge", "bookshelf", "bbq", "crate", "pedestal", "signpost", "trap",
                           "breakable", "splat"})
    EXPECT_NE(artw::FindFixtureShape(kind), nullptr) << kind;
  const std::vector<Picture> sheet = Sheet(names, artw::FixtureShapeForms, artw::FindFixtureShape, 32, 48);
  const std::vector<std::string> same = IdenticalPairs(sheet);
  EXPECT_TRUE(same.empty()) << same.size() << " identical, first: " << same.front();
}

TEST(ItemArt, ShapeNamesOfTheTablesDoNotShadowEachOther) {
  // The manifest looks a name up in the plain table first: a kind named like a plain shape
  // would never be drawn.
  std::map<std::string, int> uses;
  for (const artw::ShapeInfo& s : artw::ShapeTable()) ++uses[s.name];
  for (const std::string& n : artw::ItemShapeNames()) ++uses[n];
  for (const std::string& n : artw::FixtureShapeNames()) ++uses[n];
  for (const char* n : {"skill", "ability"}) ++uses[n];
  for (const auto& u : uses) EXPECT_EQ(u.second, 1) << u.first;
  for (const std::string& n : artw::ItemShapeNames()) EXPECT_EQ(artw::FindAnyShape(n), artw::FindItemShape(n)) << n;
}

TEST(ItemArt, EveryKindCopesWithTinyAndOddSizes) {
  std::vector<std::pair<std::string, artw::ShapeFn>> all;
  for (const std::string& n : artw::ItemShapeNames()) all.emplace_back(n, artw::FindItemShape(n));
  for (const std::string& n : artw::FixtureShapeNames()) all.emplace_back(n, artw::FindFixtureShape(n));
  for (const char* n : {"skill", "ability"}) all.emplace_back(n, artw::FindSkillShape(n));
  for (const auto& s : all)
    for (const auto& size : {std::pair<int, int>{1, 1}, {3, 7}, {33, 17}, {17, 40}}) {
      const artw::Canvas c = Draw(s.second, size.first, size.second, "sword 2", 1, 3);
      EXPECT_EQ(c.rgba.size(), static_cast<size_t>(size.first * size.second * 4)) << s.first;
      if (size.first >= 17) {
        EXPECT_GT(OpaqueCount(c), 0) << s.first << " at " << size.first << "x" << size.second;
      }
    }
}

TEST(FixtureArt, StatesShowInTheFrames) {
  const artw::ShapeFn door = artw::FindFixtureShape("door");
  for (const char* part : {"ew_top", "ew_bottom", "ns_left", "ns_right"}) {
    SCOPED_TRACE(part);
    EXPECT_NE(Draw(door, 32, 32, part, 0, 2).rgba, Draw(door, 32, 32, part, 1, 2).rgba);
    const artw::Canvas shut = Draw(door, 32, 32, part, 0, 3), half = Draw(door, 32, 32, part, 1, 3),
                       open = Draw(door, 32, 32, part, 2, 3);
    EXPECT_NE(shut.rgba, half.rgba);
    EXPECT_NE(half.rgba, open.rgba);
  }
  // The lever's knob leans left while off and right while on.
  const artw::ShapeFn lever = artw::FindFixtureShape("lever");
  auto knobSide = [&](int frame) {
    const artw::Canvas c = Draw(lever, 32, 32, "", frame, 2);
    long sum = 0, n = 0;
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 32; ++x)
        if (c.Get(x, y).a >= 128) sum += x, ++n;
    return n ? static_cast<double>(sum) / n : 16.0;
  };
  EXPECT_LT(knobSide(0), 14.0);
  EXPECT_GT(knobSide(1), 18.0);
  // A chest of three frames: locked, closed, open, all different.
  const artw::ShapeFn chest = artw::FindFixtureShape("chest");
  const artw::Canvas locked = Draw(chest, 32, 32, "", 0, 3), closed = Draw(chest, 32, 32, "", 1, 3),
                     open = Draw(chest, 32, 32, "", 2, 3);
  EXPECT_NE(locked.rgba, closed.rgba);
  EXPECT_NE(closed.rgba, open.rgba);
  // Stairs up and down differ (the arrow), in a sheet cell as in a picture.
  artw::Canvas up(32, 32), down(32, 32);
  artw::DrawStairsCell(up, 0, 0, 32, true, {150, 146, 138, 255});
  artw::DrawStairsCell(down, 0, 0, 32, false, {150, 146, 138, 255});
  EXPECT_NE(up.rgba, down.rgba);
}

TEST(FixtureArt, ASplatCoversOnlyTheSquareItLiesOn) {
  // A 64 x 64 mess is doubled and stands centred on the bottom edge of its square, so the
  // square is columns 16..47 and rows 32..63 of the picture.
  const artw::ShapeFn splat = artw::FindFixtureShape("splat");
  std::vector<Picture> variants;
  for (int v = 1; v <= 6; ++v) {
    const artw::Canvas c = Draw(splat, 64, 64, std::to_string(v), 0, 1, {150, 10, 16, 255});
    int outside = 0;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x)
        if (c.Get(x, y).a > 0 && (x < 16 || x >= 48 || y < 32)) ++outside;
    EXPECT_EQ(outside, 0) << "variant " << v;
    EXPECT_GT(OpaqueCount(c), 40) << "variant " << v;
    EXPECT_LT(OpaqueCount(c), 32 * 32 * 2 / 3) << "variant " << v << " fills its square";
    variants.push_back({"splat " + std::to_string(v), c});
  }
  EXPECT_TRUE(IdenticalPairs(variants).empty());
}

TEST(ItemArt, MoneyPilesGrowWithTheAmountAndMetalsColourTheSameKind) {
  const artw::ShapeFn coins = artw::FindItemShape("coins");
  int last = 0;
  for (int size = 0; size <= 4; ++size) {
    const int n = OpaqueCount(Draw(coins, 32, 32, std::to_string(size), 0, 1, {220, 176, 56, 255}));
    EXPECT_GT(n, last) << "pile " << size;
    last = n;
  }
  // One silhouette, the metal in its colour: rusty and steel swords have the same outline.
  const artw::ShapeFn sword = artw::FindItemShape("sword");
  const artw::Canvas rusty = Draw(sword, 32, 32, "rusty blade"), steel = Draw(sword, 32, 32, "steel blade");
  EXPECT_NE(rusty.rgba, steel.rgba);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(rusty.Get(x, y).a > 0, steel.Get(x, y).a > 0) << x << "," << y;
}

// ---------------------------------------------------------------------------------------------
// The project's manifests.

std::vector<artw::ManifestEntry> ProjectEntries(const std::string& file) {
  std::ifstream in(fs::path(VAULTMERE_SOURCE_DIR) / "data" / file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::vector<artw::ManifestEntry> entries;
  std::string error;
  EXPECT_TRUE(artw::ParseManifest(text.str(), &entries, &error)) << error;
  return entries;
}

// The first frame of every picture of the project's manifests that matches. The five branches
// share their chest, door and breakable drawings on purpose, so a branch's files count once.
std::vector<Picture> ProjectPictures(bool (*wanted)(const artw::ManifestEntry&)) {
  std::vector<Picture> out;
  std::map<std::string, bool> seen;
  for (const char* file : {"art_manifest.txt", "art_manifest_tilesets.txt"})
    for (const artw::ManifestEntry& e : ProjectEntries(file)) {
      if (!wanted(e)) continue;
      std::string key = e.path;
      for (const char* branch : {"cellars_", "galleries_", "crypts_", "warrens_", "depths_"}) {
        const size_t at = key.find(std::string("branch/") + branch);
        if (at != std::string::npos) key = key.substr(0, at + 7) + "*_" + key.substr(at + 7 + std::string(branch).size());
      }
      if (seen[key]) continue;
      seen[key] = true;
      out.push_back({e.path + " (" + e.shapeName + " " + e.label + ")", artw::DrawEntryFrame(e, 0, e.frames)});
    }
  return out;
}

TEST(ProjectArt, NoTwoItemPicturesAreTheSame) {
  const std::vector<Picture> items =
      ProjectPictures([](const artw::ManifestEntry& e) { return e.path.rfind("items/", 0) == 0; });
  ASSERT_GT(items.size(), 200u);
  const std::vector<std::string> same = IdenticalPairs(items);
  EXPECT_TRUE(same.empty()) << same.size() << " identical, first: " << same.front();
}

TEST(ProjectArt, NoTwoFixturePicturesAreTheSame) {
  const std::vector<Picture> fixtures = ProjectPictures([](const artw::ManifestEntry& e) {
    return e.path.rfind("dungeon/", 0) == 0 && e.path.find("_break_") == std::string::npos &&
           e.path.find("break/") == std::string::npos;
  });
  ASSERT_GT(fixtures.size(), 50u);
  const std::vector<std::string> same = IdenticalPairs(fixtures);
  EXPECT_TRUE(same.empty()) << same.size() << " identical, first: " << same.front();
}

TEST(ProjectArt, SkillAndAbilityIconsAreDistinctAndAbilitiesWearTheirFamilysRim) {
  const std::vector<Picture> skills =
      ProjectPictures([](const artw::ManifestEntry& e) { return e.path.rfind("skills/", 0) == 0; });
  ASSERT_GT(skills.size(), 50u);
  const std::vector<std::string> same = IdenticalPairs(skills);
  EXPECT_TRUE(same.empty()) << same.size() << " identical, first: " << same.front();

  // The rim pixel half-way down the left edge: one colour within a family, another per family.
  std::map<std::string, std::vector<artw::Rgba>> rims;
  for (const artw::ManifestEntry& e : ProjectEntries("art_manifest.txt")) {
    if (e.path.rfind("skills/", 0) != 0 || e.path.find('/', 7) == std::string::npos) continue;
    const std::string family = e.path.substr(7, e.path.find('/', 7) - 7);
    if (family == "wizard") continue;
    const artw::Canvas c = artw::DrawEntryFrame(e, 0, 1);
    rims[family].push_back(c.Get(1, c.height / 2));
  }
  ASSERT_GE(rims.size(), 13u);
  std::map<std::string, std::string> owner;
  for (const auto& f : rims) {
    for (const artw::Rgba& r : f.second)
      EXPECT_TRUE(r.r == f.second[0].r && r.g == f.second[0].g && r.b == f.second[0].b) << f.first;
    const artw::Rgba& r = f.second[0];
    const std::string key = std::to_string(r.r) + "," + std::to_string(r.g) + "," + std::to_string(r.b);
    EXPECT_TRUE(owner.emplace(key, f.first).second) << f.first << " shares its rim with " << owner[key];
  }
}

}  // namespace
