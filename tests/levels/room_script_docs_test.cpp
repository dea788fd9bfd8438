// The -docs reference compared byte for byte with the committed text, in process and through
// the executable (also from a working folder without game data).
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "levels/room_script_docs.h"
#include "support/run_game.h"

namespace {

const char* const kGolden = VAULTMERE_SOURCE_DIR "/tests/levels/golden/room_script_docs.txt";
const char* const kHeader = "\n\n-------------------------------------------------------\n"
                            "Vaultmere Custom Room Reference Documentation\n"
                            "-------------------------------------------------------\n\n";

std::string Golden() {
    std::ifstream in(kGolden, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(RoomScriptDocs, TheReferenceMatchesTheCommittedText) {
    std::ostringstream out;
    WriteRoomScriptDocs(out);
    const std::string text = out.str();
    ASSERT_FALSE(Golden().empty());
    EXPECT_EQ(text, Golden());
    // Spot checks of the entry forms and the section order.
    EXPECT_NE(text.find("\nat (or both X and Y) (*point*, **required**)\n"), std::string::npos);
    EXPECT_NE(text.find("\nsourceat (or both sourceX and sourceY) (*point*, optional)\n"), std::string::npos);
    EXPECT_NE(text.find("\nactivated_changed\n-----------------\n"), std::string::npos);
    EXPECT_NE(text.find("\npng (or all of pngSprite, pngFirst, pngNum, pngRate and sometimes pngAnimate) "
                        "(*sprite*, **required**)\n"),
              std::string::npos);
    EXPECT_NE(text.find("(default is ``1`` meaning clock is not started)"), std::string::npos);
    EXPECT_NE(text.find("  The default is ``notfound=\"1\"``."), std::string::npos);
    EXPECT_NE(text.find("(default is 1)\n"), std::string::npos);
    const size_t records = text.find("\nRoom Object Records\n=====================\n\n");
    const size_t conditions = text.find("\nRoom Conditions\n===============\n\n");
    const size_t actions = text.find("\nRoom Actions\n============\n\n");
    ASSERT_NE(records, std::string::npos);
    EXPECT_LT(records, conditions);
    EXPECT_LT(conditions, actions);
    EXPECT_EQ(text.compare(0, std::string(kHeader).size(), kHeader), 0);
}

TEST(RoomScriptDocs, TheExecutablePrintsTheSameBytesFromAnyFolder) {
    TempDir user, empty;
    // The bare executable, with no game data beside it.
    ASSERT_EQ(symlink(VAULTMERE_GAME_ROOT "/vaultmere", empty.file("vaultmere").c_str()), 0);
    for (const std::string& work : {std::string(), empty.path()}) {
        SCOPED_TRACE(work.empty() ? "default folder" : "empty folder");
        GameRun run = RunGame({"-docs"}, user.path(), {}, 120, work);
        EXPECT_EQ(run.exitCode, 0) << run.output;
        const size_t at = run.output.find(kHeader);
        ASSERT_NE(at, std::string::npos) << run.output;
        EXPECT_EQ(run.output.substr(at), Golden());
    }
}
