// Creatures and shore tiles of the generated art: every monster family and facing can be told
// apart, hits and deaths animate the creature's own shape, the hero keeps one look, and every
// liquid tile the tile-layer pass asks for has a cell of its own drawn for its shape.
#include "levels/gen/level_gfx.h"
#include "tools/art_manifest.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

#ifdef VAULTMERE_SOURCE_DIR
std::string ReadText(const std::string& relative) {
  std::ifstream in(std::string(VAULTMERE_SOURCE_DIR) + "/" + relative, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::vector<artw::ManifestEntry> Manifest(const std::string& relative) {
  std::vector<artw::ManifestEntry> entries;
  std::string error;
  EXPECT_TRUE(artw::ParseManifest(ReadText(relative), &entries, &error)) << relative << ": " << error;
  return entries;
}
#endif

// The monster sets, drawn: stem -> file stem ("diggle_idle_d") -> frames.
using Frames = std::vector<std::vector<uint8_t>>;
using SetPictures = std::map<std::string, std::map<std::string, Frames>>;

std::string FileStem(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string file = path.substr(slash + 1);
  return file.substr(0, file.find('.'));
}

Frames DrawAll(const artw::ManifestEntry& e) {
  Frames out;
  for (int f = 0; f < e.frames; ++f) out.push_back(artw::DrawEntryFrame(e, f, e.frames).rgba);
  return out;
}

int OpaqueCount(const std::vector<uint8_t>& rgba) {
  int n = 0;
  for (size_t i = 3; i < rgba.size(); i += 4) n += rgba[i] >= 128;
  return n;
}

double MeanLuminance(const std::vector<uint8_t>& rgba) {
  double sum = 0;
  int n = 0;
  for (size_t i = 0; i + 3 < rgba.size(); i += 4)
    if (rgba[i + 3] >= 128) {
      sum += 0.3 * rgba[i] + 0.59 * rgba[i + 1] + 0.11 * rgba[i + 2];
      ++n;
    }
  return n ? sum / n : 0.0;
}

artw::CreaturePose PoseOf(const std::string& plan, const std::string& words) {
  artw::CreaturePose pose;
  pose.plan = artw::FindBodyPlan(plan);
  std::string error;
  EXPECT_TRUE(artw::ParseCreatureWords(words, &pose, &error)) << error;
  return pose;
}

}  // namespace

#ifdef VAULTMERE_SOURCE_DIR

class MonsterArt : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sets_ = new SetPictures;
    colours_ = new std::map<std::string, std::string>;
    for (const artw::ManifestEntry& e : Manifest("data/art_manifest_monsters.txt")) {
      const std::string stem = e.path.substr(17, e.path.find('/', 17) - 17);  // sprites/monsters/
      (*sets_)[stem][FileStem(e.path)] = DrawAll(e);
      if (e.shapeName == "creature") {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%02X%02X%02X", e.colour.r, e.colour.g, e.colour.b);
        (*colours_)[stem] = hex;
      }
    }
  }
  static void TearDownTestSuite() {
    delete sets_;
    delete colours_;
    sets_ = nullptr;
    colours_ = nullptr;
  }
  static SetPictures* sets_;
  static std::map<std::string, std::string>* colours_;
};
SetPictures* MonsterArt::sets_ = nullptr;
std::map<std::string, std::string>* MonsterArt::colours_ = nullptr;

TEST_F(MonsterArt, NoTwoFamiliesDrawTheSamePictureOrWearOneColour) {
  ASSERT_GE(sets_->size(), 20u);
  ASSERT_EQ(colours_->size(), sets_->size()) << "a family without a creature entry";
  // Every picture of a body (idle, attack, hit, death; each facing, each frame) is owned by
  // exactly one family.
  std::map<std::vector<uint8_t>, std::string> owner;
  for (const auto& [stem, files] : *sets_)
    for (const auto& [file, frames] : files) {
      if (file.find("_beam_") != std::string::npos || file.find("_cast") != std::string::npos)
        continue;
      for (const auto& frame : frames) {
        auto it = owner.emplace(frame, stem).first;
        EXPECT_EQ(it->second, stem) << file << " draws a picture of " << it->second;
      }
    }
  std::map<std::string, std::string> byColour;
  for (const auto& [stem, colour] : *colours_) {
    auto it = byColour.emplace(colour, stem).first;
    EXPECT_EQ(it->second, stem) << stem << " and " << it->second << " share #" << colour;
  }
}

TEST_F(MonsterArt, TheFourFacingsOfEveryCreatureDiffer) {
  for (const auto& [stem, files] : *sets_)
    for (const char* action : {"idle", "atk", "hit"}) {
      std::set<std::vector<uint8_t>> seen;
      for (const char* facing : {"u", "d", "l", "r"}) {
        const std::string file = stem + "_" + action + "_" + facing;
        ASSERT_TRUE(files.count(file)) << file;
        EXPECT_TRUE(seen.insert(files.at(file)[0]).second) << file << " looks like another facing";
      }
    }
}

TEST_F(MonsterArt, AHitFlashesTheCreaturesOwnShapeAndADeathShrinksAndFades) {
  std::set<std::vector<uint8_t>> hitFlashes;
  for (const auto& [stem, files] : *sets_) {
    const Frames& idle = files.at(stem + "_idle_d");
    const Frames& hit = files.at(stem + "_hit_d");
    // The flash covers about as much as the body itself and is brighter than it.
    const int body = OpaqueCount(idle[0]);
    EXPECT_NEAR(OpaqueCount(hit[0]), body, body * 0.15) << stem;
    EXPECT_GT(MeanLuminance(hit[0]), MeanLuminance(idle[0])) << stem;
    EXPECT_TRUE(hitFlashes.insert(hit[0]).second) << stem << " flashes like another family";
    // Each death frame covers less and is darker than the one before; the first is the body.
    const Frames& die = files.at(stem + "_die");
    ASSERT_EQ(die.size(), 5u) << stem;
    EXPECT_NEAR(OpaqueCount(die[0]), body, body * 0.15) << stem;
    for (size_t f = 1; f < die.size(); ++f) {
      EXPECT_LT(OpaqueCount(die[f]), OpaqueCount(die[f - 1])) << stem << " frame " << f;
      EXPECT_LT(MeanLuminance(die[f]), MeanLuminance(die[f - 1])) << stem << " frame " << f;
    }
    EXPECT_GT(OpaqueCount(die.back()), 0) << stem;
  }
}

TEST(HeroArt, OneBodyAndColourInEveryActionAndNotTheShopkeepersColour) {
  // The shopkeeper's colour (Brax).
  artw::Rgba keeper{};
  for (const artw::ManifestEntry& e : Manifest("data/art_manifest_monsters.txt"))
    if (e.path == "sprites/monsters/brax/brax_idle_d.spr") keeper = e.colour;
  ASSERT_NE(keeper.a, 0);
  std::map<std::string, std::set<std::string>> looks;  // folder -> "plan colour"
  for (const artw::ManifestEntry& e : Manifest("data/art_manifest_hero.txt")) {
    if (e.shapeName != "creature") continue;
    const std::string folder = e.path.substr(0, e.path.rfind('/'));
    char hex[16];
    std::snprintf(hex, sizeof hex, "%02X%02X%02X", e.colour.r, e.colour.g, e.colour.b);
    looks[folder].insert(e.plan + " " + hex);
    EXPECT_FALSE(e.colour.r == keeper.r && e.colour.g == keeper.g && e.colour.b == keeper.b)
        << e.path << " wears the shopkeeper's colour";
  }
  ASSERT_EQ(looks.size(), 2u);
  for (const auto& [folder, set] : looks) EXPECT_EQ(set.size(), 1u) << folder << " changes its look";

  // Actions are overlays: the body's own pixels stay where they were, drawn over by the
  // held thing only around the hand.
  artw::CreaturePose idle = PoseOf("hero", "r");
  artw::CreaturePose sword = PoseOf("hero", "r hold=sword");
  idle.body = sword.body = artw::Rgba{58, 111, 224, 255};
  artw::Canvas a(40, 56), b(40, 56);
  artw::DrawCreature(a, idle);
  artw::DrawCreature(b, sword);
  int changed = 0;
  for (size_t i = 0; i < a.rgba.size(); i += 4) changed += a.rgba[i] != b.rgba[i] || a.rgba[i + 3] != b.rgba[i + 3];
  EXPECT_GT(changed, 10);
  EXPECT_LT(changed, OpaqueCount(a.rgba) / 2);
}

#endif  // VAULTMERE_SOURCE_DIR

TEST(CreatureManifest, PlansAreOptionalAndBadCreatureWordsAreRefusedWithAReason) {
  std::vector<artw::ManifestEntry> ok;
  std::string error;
  ASSERT_TRUE(artw::ParseManifest(
      "png a.png 32 32 creature red stare\n"
      "spr b.spr 32 32 2 90 creature imp red l atk badge=gold hold=sword\n", &ok, &error)) << error;
  EXPECT_EQ(ok[0].plan, "");
  EXPECT_EQ(ok[0].label, "stare");
  EXPECT_EQ(ok[1].plan, "imp");
  EXPECT_EQ(ok[1].colour.r, 200);

  const struct {
    const char* line;
    const char* reason;
  } bad[] = {
      {"png a.png 32 32 creature imp red sideways", "unknown creature word 'sideways'"},
      {"png a.png 32 32 creature imp red badge=plaid", "unknown badge colour 'plaid'"},
      {"png a.png 32 32 creature imp red hold=banjo", "unknown held thing 'banjo'"},
      {"png a.png 32 32 creature imp", "needs"},
      {"png a.png 32 32 creature unicorn red", "unknown colour 'unicorn'"},
  };
  for (const auto& c : bad) {
    std::vector<artw::ManifestEntry> out;
    std::string why;
    EXPECT_FALSE(artw::ParseManifest(c.line, &out, &why)) << c.line;
    EXPECT_NE(why.find(c.reason), std::string::npos) << c.line << " -> " << why;
    EXPECT_EQ(why.compare(0, 7, "line 1:"), 0) << why;
  }
}

// ---------------------------------------------------------------------------------------------
// Shore tiles.

namespace {

// The 33 liquid tiles of the tile-layer pass, named as the pass names them.
std::vector<std::string> PassLiquidNames() {
  std::vector<std::string> names;
  for (int t = static_cast<int>(LevelTile::Water); t <= static_cast<int>(LevelTile::WaterLDR); ++t)
    names.push_back(LevelTileName(static_cast<LevelTile>(t)));
  return names;
}

bool Opaque(const artw::Canvas& c, int x, int y) { return c.Get(x, y).a >= 128; }

}  // namespace

TEST(ShoreTiles, EveryLiquidTileOfThePassHasACellDrawnForItsShape) {
  const std::vector<std::string> names = PassLiquidNames();
  ASSERT_EQ(names.size(), 33u);
  std::map<std::string, const artw::LiquidEdgeCell*> cells;
  std::set<std::pair<int, int>> places;
  for (const artw::LiquidEdgeCell& e : artw::LiquidEdgeCells()) {
    cells[e.name] = &e;
    EXPECT_TRUE(places.insert({e.col, e.row}).second) << e.name << " shares a cell";
    EXPECT_TRUE(e.row == 2 || e.row >= 4) << e.name << " sits in a wall or floor row";
  }
  for (const std::string& n : names) EXPECT_TRUE(cells.count(n)) << n << " has no cell";
  EXPECT_EQ(cells.size(), names.size());

  // Drawn: land along every dry side and in every dry corner, water (see-through) in the
  // middle of every other side and in every other corner; no two pieces alike.
  artw::Canvas sheet(256, 256);
  artw::DrawTileSheet(sheet, artw::Rgba{120, 120, 120, 255});
  const int s = 32;
  std::set<std::vector<uint8_t>> pictures;
  for (const auto& [name, e] : cells) {
    const int x0 = e->col * s, y0 = e->row * s;
    using namespace artw::shore;
    const struct {
      uint8_t bit;
      int x, y;
    } sides[] = {{kU, s / 2, 1}, {kD, s / 2, s - 2}, {kL, 1, s / 2}, {kR, s - 2, s / 2}};
    for (const auto& side : sides)
      EXPECT_EQ(Opaque(sheet, x0 + side.x, y0 + side.y), (e->rims & side.bit) != 0)
          << name << " side " << int(side.bit);
    const struct {
      uint8_t corner, sideA, sideB;
      int x, y;
    } corners[] = {{kUL, kU, kL, 0, 0}, {kUR, kU, kR, s - 1, 0}, {kDL, kD, kL, 0, s - 1},
                   {kDR, kD, kR, s - 1, s - 1}};
    for (const auto& k : corners) {
      const bool land = (e->corners & k.corner) || (e->rims & (k.sideA | k.sideB));
      EXPECT_EQ(Opaque(sheet, x0 + k.x, y0 + k.y), land) << name << " corner " << int(k.corner);
    }
    EXPECT_FALSE(Opaque(sheet, x0 + s / 2, y0 + s / 2)) << name << " covers the middle";
    std::vector<uint8_t> pic;
    for (int y = 0; y < s; ++y)
      for (int x = 0; x < s; ++x) pic.push_back(Opaque(sheet, x0 + x, y0 + y));
    EXPECT_TRUE(pictures.insert(pic).second) << name << " looks like another piece";
  }
}

#ifdef VAULTMERE_SOURCE_DIR
TEST(ShoreTiles, EveryBranchMapsTheLiquidTilesOneToOneOntoTheirCells) {
  const std::string xml = ReadText("data/game/branchDB.xml");
  const std::regex branchRe("<branch [^>]*>([\\s\\S]*?)</branch>");
  const std::regex tileRe("<tile name=\"([^\"]+)\" startX=\"(\\d+)\" startY=\"(\\d+)\"");
  std::map<std::string, std::pair<int, int>> drawn;
  for (const artw::LiquidEdgeCell& e : artw::LiquidEdgeCells()) drawn[e.name] = {e.col, e.row};
  // The sheets are tall enough for every cell.
  for (const artw::ManifestEntry& e : Manifest("data/art_manifest_tilesets.txt"))
    if (e.shapeName == "tilesheet") {
      for (const auto& [name, cell] : drawn) {
        EXPECT_LT(cell.second, e.height / (e.width / 8)) << e.path << " " << name;
      }
    }

  int branches = 0;
  for (auto b = std::sregex_iterator(xml.begin(), xml.end(), branchRe); b != std::sregex_iterator(); ++b) {
    ++branches;
    const std::string body = (*b)[1];
    std::map<std::string, std::pair<int, int>> mapped;
    for (auto t = std::sregex_iterator(body.begin(), body.end(), tileRe); t != std::sregex_iterator(); ++t)
      if (drawn.count((*t)[1])) mapped[(*t)[1]] = {std::stoi((*t)[2]), std::stoi((*t)[3])};
    std::set<std::pair<int, int>> used;
    for (const std::string& n : PassLiquidNames()) {
      ASSERT_TRUE(mapped.count(n)) << "branch " << branches << " lacks " << n;
      EXPECT_EQ(mapped[n], drawn[n]) << "branch " << branches << ": " << n << " is not on its cell";
      EXPECT_TRUE(used.insert(mapped[n]).second) << "branch " << branches << ": " << n << " shares a cell";
    }
  }
  EXPECT_EQ(branches, 5);
}
#endif

#ifdef VAULTMERE_SOURCE_DIR
// Pools of several shapes, tiled by the pass's liquid rules, drawn from the first branch's
// sheet as the manifest makes it and through the cells branchDB names: along every side of a
// liquid square that borders dry ground the drawn tiles show land, along every side that
// borders liquid they show water, and no rim crosses the pool.
TEST(ShoreTiles, ThePassesTilesPutTheShoreAlongTheEdgeOfEveryPool) {
  artw::Canvas sheet;
  for (const artw::ManifestEntry& e : Manifest("data/art_manifest_tilesets.txt"))
    if (e.path == "tilesets/cellars.png") sheet = artw::DrawEntryFrame(e, 0, 1);
  ASSERT_GT(sheet.width, 0);
  const int size = sheet.width / 8;
  std::map<std::string, std::pair<int, int>> cells;
  {
    const std::string xml = ReadText("data/game/branchDB.xml");
    const std::string first = xml.substr(0, xml.find("</branch>"));
    const std::regex tileRe("<tile name=\"(water[^\"]*)\" startX=\"(\\d+)\" startY=\"(\\d+)\"");
    for (auto t = std::sregex_iterator(first.begin(), first.end(), tileRe); t != std::sregex_iterator(); ++t)
      cells[(*t)[1]] = {std::stoi((*t)[2]), std::stoi((*t)[3])};
  }
  // (A lone liquid square has no tile of its own among the pass's rules: it takes the cap
  // open at the bottom.)
  const std::vector<std::vector<std::string>> pools = {
      {"~~~~"},
      {"~", "~", "~"},
      {"~~~", "~~~", "~~~"},
      {"~~~~~", "~~~~~", "~~~~~", "~~~~~"},
      {"~~~~", "~~~~", "~~..", "~~.."},
      {"..~~", "..~~", "~~~~", "~~~~"},
      {".~~~.", "~~~~~", "~~~~~", ".~~~."},
      {"~~~~~~", "~~~~~~", "~~~~~~"},
  };
  for (const auto& pool : pools) {
    const int h = static_cast<int>(pool.size()), w = static_cast<int>(pool[0].size());
    auto wet = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && pool[y][x] == '~'; };
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        if (!wet(x, y)) continue;
        using namespace Neighbour;
        uint8_t dry = 0;
        const struct {
          uint8_t bit;
          int dx, dy;
        } around[] = {{U, 0, -1}, {D, 0, 1}, {L, -1, 0}, {R, 1, 0},
                      {UL, -1, -1}, {UR, 1, -1}, {DL, -1, 1}, {DR, 1, 1}};
        for (const auto& n : around)
          if (!wet(x + n.dx, y + n.dy)) dry |= n.bit;
        const LiquidEdgeTiles tiles = LiquidTilesForDryNeighbours(dry);
        auto land = [&](int px, int py) {
          for (LevelTile t : {tiles.base, tiles.second}) {
            if (t == LevelTile::None) continue;
            const std::pair<int, int> cell = cells.at(LevelTileName(t));
            if (Opaque(sheet, cell.first * size + px * size / 32, cell.second * size + py * size / 32))
              return true;
          }
          return false;
        };
        const std::string where = std::to_string(x) + "," + std::to_string(y) + " of " + pool[0] +
                                  "... (" + LevelTileName(tiles.base) + " " + LevelTileName(tiles.second) + ")";
        EXPECT_EQ(land(16, 1), (dry & U) != 0) << where << " top";
        EXPECT_EQ(land(16, 30), (dry & D) != 0) << where << " bottom";
        EXPECT_EQ(land(1, 16), (dry & L) != 0) << where << " left";
        EXPECT_EQ(land(30, 16), (dry & R) != 0) << where << " right";
        EXPECT_EQ(land(0, 0), (dry & (U | L | UL)) != 0) << where << " top left";
        EXPECT_EQ(land(31, 0), (dry & (U | R | UR)) != 0) << where << " top right";
        EXPECT_EQ(land(0, 31), (dry & (D | L | DL)) != 0) << where << " bottom left";
        EXPECT_EQ(land(31, 31), (dry & (D | R | DR)) != 0) << where << " bottom right";
        EXPECT_FALSE(land(16, 16)) << where << " middle";
      }
  }
}
#endif

#ifdef VAULTMERE_SOURCE_DIR
namespace {

// Share of a cell's pixels that are nearly black (the dark opening stairs lead into).
double DarkShare(const artw::Canvas& sheet, int col, int row, int size) {
  int dark = 0;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const artw::Rgba p = sheet.Get(col * size + x, row * size + y);
      dark += p.a >= 128 && 0.3 * p.r + 0.59 * p.g + 0.11 * p.b < 30.0;
    }
  return static_cast<double>(dark) / (size * size);
}

int DifferingPixels(const artw::Canvas& sheet, std::pair<int, int> a, std::pair<int, int> b, int size) {
  int n = 0;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const artw::Rgba p = sheet.Get(a.first * size + x, a.second * size + y);
      const artw::Rgba q = sheet.Get(b.first * size + x, b.second * size + y);
      n += p.r != q.r || p.g != q.g || p.b != q.b || p.a != q.a;
    }
  return n;
}

}  // namespace

// Every branch's sheet, drawn as the manifest makes it, through the cells branchDB names: the
// stairs are steps into a dark opening that no wall face has, and up and down look different.
TEST(TileSheetStairs, StairsLeadIntoTheDarkAndUpAndDownDifferFromEachOtherAndTheWalls) {
  std::map<std::string, artw::Canvas> sheets;
  for (const artw::ManifestEntry& e : Manifest("data/art_manifest_tilesets.txt"))
    if (e.shapeName == "tilesheet") sheets[e.path] = artw::DrawEntryFrame(e, 0, 1);
  const std::string xml = ReadText("data/game/branchDB.xml");
  const std::regex branchRe("<branch [^>]*>([\\s\\S]*?)</branch>");
  const std::regex sheetRe("<tileset name=\"([^\"]+)\"");
  const std::regex tileRe("<tile name=\"((?:wall|stairs)[^\"]*)\" startX=\"(\\d+)\" startY=\"(\\d+)\"");
  int branches = 0;
  for (auto b = std::sregex_iterator(xml.begin(), xml.end(), branchRe); b != std::sregex_iterator(); ++b) {
    const std::string body = (*b)[1];
    std::smatch m;
    ASSERT_TRUE(std::regex_search(body, m, sheetRe));
    const std::string path = m[1];
    ASSERT_TRUE(sheets.count(path)) << path << " is not made by the manifest";
    const artw::Canvas& sheet = sheets[path];
    const int size = sheet.width / 8;
    std::pair<int, int> up{-1, -1}, down{-1, -1};
    std::vector<std::pair<std::string, std::pair<int, int>>> walls;
    for (auto t = std::sregex_iterator(body.begin(), body.end(), tileRe); t != std::sregex_iterator(); ++t) {
      const std::string name = (*t)[1];
      const std::pair<int, int> cell{std::stoi((*t)[2]), std::stoi((*t)[3])};
      if (name == "stairsup") up = cell;
      else if (name == "stairsdown") down = cell;
      else walls.push_back({name, cell});
    }
    ASSERT_GE(up.first, 0) << path;
    ASSERT_GE(down.first, 0) << path;
    ASSERT_FALSE(walls.empty()) << path;
    ++branches;

    EXPECT_GT(DarkShare(sheet, up.first, up.second, size), 0.1) << path << " stairs up";
    EXPECT_GT(DarkShare(sheet, down.first, down.second, size), 0.1) << path << " stairs down";
    // An arrow of its own: at least a twentieth of the cell tells up from down.
    EXPECT_GT(DifferingPixels(sheet, up, down, size), size * size / 20) << path;
    for (const auto& [name, cell] : walls) {
      EXPECT_NE(cell, up) << path << " " << name;
      EXPECT_NE(cell, down) << path << " " << name;
      EXPECT_LT(DarkShare(sheet, cell.first, cell.second, size), 0.01) << path << " " << name;
      EXPECT_GT(DifferingPixels(sheet, up, cell, size), size * size / 2) << path << " " << name;
      EXPECT_GT(DifferingPixels(sheet, down, cell, size), size * size / 2) << path << " " << name;
    }
  }
  EXPECT_EQ(branches, 5);
}
#endif
