// The seed catalogue: for a few fixed seeds, the text dump of the generated level (square
// kinds, rooms with their template names, placed objects, stair squares with their indices
// and spacing, room titles, door bits) and a hash of its tile layers must stay exactly as
// recorded in tests/levels/gen/golden/seed_catalogue.txt.
//
// When a change to generation or to our data is meant to change the levels, regenerate the
// file and review its diff:
//   VAULTMERE_REGENERATE_GOLDEN=1 ./vaultmere_tests --gtest_filter='SeedCatalogue*'
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "levels/gen/level_gfx.h"
#include "tests/levels/level_gen_fixture.h"

namespace {

const char* const kGoldenPath = VAULTMERE_SOURCE_DIR "/tests/levels/gen/golden/seed_catalogue.txt";

std::string BuildCatalogue() {
    const LevelGenCase cases[] = {
        {1, 0, false, false},  // seed, depth, quick, long dungeon
        {2, 3, true, false},
        {3, 9, false, false},
        {4, 14, true, true},
        {5, 1, false, false},  // stairs both ways, two of them first drawn too close together
    };
    std::string catalogue;
    for (const LevelGenCase& genCase : cases) {
        bool accepted = false;
        testing::internal::CaptureStdout();
        std::unique_ptr<Level> level = GenerateLevelForCase(genCase, &accepted);
        testing::internal::GetCapturedStdout();
        catalogue += "== seed " + std::to_string(genCase.seed) + " depth " + std::to_string(genCase.depth) +
                     (genCase.quick ? " quick" : " normal") + (genCase.extended ? " long" : "") +
                     (accepted ? "" : " (gave up)") + "\n";
        catalogue += DescribeLevel(*level);
        GenLevelGFXRep(level.get(), 0, 0, level->width, level->height);
        catalogue += DescribeTileLayers(*level);
    }
    return catalogue;
}

using SeedCatalogueTest = LevelGenTest;

TEST_F(SeedCatalogueTest, FixedSeedsGiveTheRecordedLevels) {
    LoadOurData();
    const std::string catalogue = BuildCatalogue();
    // The same seeds give the same levels within one run, too.
    EXPECT_EQ(BuildCatalogue(), catalogue);
    const char* regenerate = std::getenv("VAULTMERE_REGENERATE_GOLDEN");
    if (regenerate != nullptr && regenerate[0] != '\0' && regenerate[0] != '0') {
        std::ofstream out(kGoldenPath, std::ios::binary);
        out << catalogue;
        ASSERT_TRUE(out.good()) << kGoldenPath;
        GTEST_SKIP() << "seed catalogue written to " << kGoldenPath;
    }
    std::ifstream in(kGoldenPath, std::ios::binary);
    ASSERT_TRUE(in.good()) << "missing " << kGoldenPath
                           << "; run with VAULTMERE_REGENERATE_GOLDEN=1 to record it";
    std::ostringstream golden;
    golden << in.rdbuf();
    const std::string expected = golden.str();
    if (expected == catalogue) return;
    // Point at the first line that differs rather than printing two whole catalogues.
    std::istringstream a(expected);
    std::istringstream b(catalogue);
    std::string la;
    std::string lb;
    int32_t line = 0;
    while (true) {
        const bool ha = static_cast<bool>(std::getline(a, la));
        const bool hb = static_cast<bool>(std::getline(b, lb));
        ++line;
        if (!ha && !hb) break;
        if (!ha || !hb || la != lb) {
            ADD_FAILURE() << "seed catalogue differs at line " << line << "\nrecorded: " << (ha ? la : "<end>")
                          << "\nnow:      " << (hb ? lb : "<end>");
            break;
        }
    }
}

}  // namespace
