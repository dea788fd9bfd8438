// The tile layers of generated levels, square for square: for the seeds of the seed catalogue
// (and a few quick ones) the graphics pass run over the whole generated level must pick the
// recorded tiles and draw the recorded random numbers. A checksum of the three layers (each
// tile named by the branch entry it is) and of both generators afterwards must equal the
// recorded one, so a faster graphics pass cannot change what any level looks like.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "core/random.h"
#include "levels/branch_db.h"
#include "levels/gen/level_gfx.h"
#include "tests/levels/level_gen_fixture.h"

namespace {

struct Fnv {
    uint64_t hash = 14695981039346656037ull;
    void Add(const std::string& text) {
        for (char c : text) Byte(static_cast<uint8_t>(c));
        Byte(0);
    }
    void Add(uint32_t value) {
        for (int i = 0; i < 4; ++i) Byte(static_cast<uint8_t>(value >> (8 * i)));
    }
    void Byte(uint8_t b) {
        hash ^= b;
        hash *= 1099511628211ull;
    }
};

// The branch entry each tile pointer is: "t:<name>", "f:<floor index>", "d:<decor index>".
std::map<const BranchTileRange*, std::string> TileNames(BranchRecord* branch) {
    std::map<const BranchTileRange*, std::string> names;
    if (branch == nullptr) return names;
    for (const auto& entry : branch->tiles) names[&entry.second] = "t:" + entry.first;
    for (size_t i = 0; i < branch->floors.size(); ++i) names[&branch->floors[i]] = "f:" + std::to_string(i);
    for (size_t i = 0; i < branch->wallDecor.size(); ++i) names[&branch->wallDecor[i]] = "d:" + std::to_string(i);
    return names;
}

// `unknown` counts the tiles that are no entry of the level's branch.
uint64_t LayerChecksum(const Level& level, int32_t* unknown) {
    const std::map<const BranchTileRange*, std::string> names = TileNames(level.GetBranchRecord());
    Fnv fnv;
    for (const std::vector<BranchTileRange*>* layer : {&level.baseTileMap, &level.wallTileMap, &level.topTileMap}) {
        for (const BranchTileRange* tile : *layer) {
            if (tile == nullptr) {
                fnv.Add(std::string("-"));
                continue;
            }
            auto it = names.find(tile);
            if (it == names.end()) ++*unknown;
            fnv.Add(it != names.end() ? it->second : std::string("?"));
        }
    }
    // Both generators where the pass left them.
    fnv.Add(static_cast<uint32_t>(CRand()));
    fnv.Add(MTRandom32());
    return fnv.hash;
}

using TileLayersGolden = LevelGenTest;

TEST_F(TileLayersGolden, GeneratedLevelsGetTheRecordedTiles) {
    LoadOurData();
    struct Case {
        LevelGenCase genCase;
        uint64_t checksum;
    };
    const Case cases[] = {
        {{1, 0, false, false}, 0x3150a157e6ef52d2ull},  // seed, depth, quick, long dungeon
        {{2, 3, true, false}, 0x588c24a4dd9e26d2ull},
        {{3, 9, false, false}, 0x975ffe5328a4cbfdull},
        {{4, 14, true, true}, 0x89040fb97526bba7ull},
        {{5, 5, false, false}, 0xb146c8780195dc38ull},
        {{6, 7, true, false}, 0x0437d22e9fdaeda4ull},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        std::unique_ptr<Level> level = GenerateLevelForCase(c.genCase, nullptr);
        CurrentLevel = level.get();
        GenLevelGFXRep(level.get(), 0, 0, level->width, level->height);
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(level->HasSquareMaps());
        int32_t unknown = 0;
        const uint64_t sum = LayerChecksum(*level, &unknown);
        EXPECT_EQ(unknown, 0);
        EXPECT_EQ(sum, c.checksum) << "seed " << c.genCase.seed << " depth " << c.genCase.depth << ": 0x"
                                   << std::hex << sum;
    }
}

}  // namespace
