#include "levels/branch_db.h"

#include <gtest/gtest.h>
#include <physfs.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/random.h"
#include "core/tweak.h"
#include "media/image.h"
#include "media/sprite.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

class BranchDBTest : public ::testing::Test {
protected:
    void SetUp() override { ClearBranches(); }
    void TearDown() override {
        ClearBranches();
        SpriteMgr_FreeAll();  // the records' pictures are owned by the sprite table
    }

    static bool Load(const std::string& xml) {
        return branchDBLoadFromBuffer(xml.data(), xml.size(), "test");
    }
};

TEST_F(BranchDBTest, ReadsEveryFieldWithElementNamesInAnyCase) {
    testing::internal::CaptureStdout();
    ASSERT_TRUE(Load(
        "<branchdb>\n"
        "<Branch id='7' name='Vault' depth='3' generator='2' corners='5' Name='Later Vault'>\n"
        "  <LEVELDATA min='3' max='5' banner='The Vault' genshops='1' genlakes='0' gencoffins='9'/>\n"
        "  <TileSet name='tilesets/vault.png'/>\n"
        "  <Music name='drips'/>\n"
        "  <seed name='Entry'/><seed/>\n"
        "  <map map='special_a' level='4'/>\n"
        "  <chestinfo open='o.png'/>\n"
        "  <doorinfo ns_left='left.spr'/>\n"
        "  <TILE name='wall' startX='1' startY='2'/>\n"
        "  <tile name='Floor' startX='0' startY='3' endX='1' endY='4'/>\n"
        "  <tile name='floor' startX='2' startY='3'/>\n"
        "  <tile name='floor' startX='3' startY='3'/>\n"
        "  <tile name='wallDecor' startX='4' startY='1' numframes='3' skip='1' framerate='90' pingpong='2'/>\n"
        "  <tile name='wall' startX='6' startY='1'/>\n"
        "</Branch>\n"
        "</branchdb>\n"));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "");
    ASSERT_EQ(Branches.size(), 1u);
    const BranchRecord& b = *Branches[0];
    EXPECT_EQ(b.id, 7);
    EXPECT_EQ(b.name, "Later Vault");  // the later attribute of the same name wins
    EXPECT_EQ(b.depth, 3);
    EXPECT_EQ(b.generator, 2);
    EXPECT_EQ(b.corners, 1);
    EXPECT_EQ(b.minDepth, 3);
    EXPECT_EQ(b.maxDepth, 5);
    EXPECT_EQ(b.banner, "The Vault");
    EXPECT_EQ(b.genshops, 1);
    EXPECT_EQ(b.genlakes, 0);
    EXPECT_EQ(b.gencoffins, 1);
    EXPECT_EQ(b.tileset, "tilesets/vault.png");
    EXPECT_EQ(b.music, "drips");
    EXPECT_EQ(b.seeds, (std::vector<std::string>{"Entry", ""}));
    ASSERT_EQ(b.maps.size(), 1u);
    EXPECT_EQ(b.maps[0].map, "special_a");
    EXPECT_EQ(b.maps[0].level, 4);
    EXPECT_EQ(b.chestOpen, "o.png");
    EXPECT_EQ(b.chestClosed, "dungeon/chest1_closed.png");
    EXPECT_EQ(b.chestBroken, "dungeon/chest1_broken.png");
    EXPECT_EQ(b.doorNsLeft, "left.spr");
    EXPECT_EQ(b.doorEwTop, "dungeon/door_wood3x3_ew_top.spr");
    // "Floor" is a named tile; only the exact "floor" and "wallDecor" go to their lists.
    ASSERT_NE(b.FindTile("Floor"), nullptr);
    EXPECT_EQ(b.FindTile("Floor")->endY, 4);
    ASSERT_EQ(b.floors.size(), 2u);
    EXPECT_EQ(b.floors[1].startX, 3);
    ASSERT_EQ(b.wallDecor.size(), 1u);
    EXPECT_EQ(b.wallDecor[0].numframes, 3);
    EXPECT_EQ(b.wallDecor[0].skip, 1);
    EXPECT_EQ(b.wallDecor[0].framerate, 90);
    EXPECT_EQ(b.wallDecor[0].pingpong, 1);
    EXPECT_EQ(b.wallDecor[0].frameStep, 1);
    // A later tile of the same name replaces the earlier one.
    ASSERT_NE(b.FindTile("wall"), nullptr);
    EXPECT_EQ(b.FindTile("wall")->startX, 6);
    EXPECT_EQ(b.FindTile("none"), nullptr);
}

TEST_F(BranchDBTest, TileEndsDefaultToStartsAndAnEmptyTileKeepsMinusOneWithAWarning) {
    testing::internal::CaptureStdout();
    Load("<b>\n<branch id='1'>\n<tile name='a' startX='2' startY='5'/>\n<tile name='b'/>\n"
         "<tile name='c' startX='4' endX='2' startY='0'/>\n</branch></b>");
    const std::string out = testing::internal::GetCapturedStdout();
    ASSERT_EQ(Branches.size(), 1u);
    const BranchTileRange* a = Branches[0]->FindTile("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->endX, 2);
    EXPECT_EQ(a->endY, 5);
    EXPECT_EQ(a->numframes, -1);
    EXPECT_TRUE(a->IsValid());
    const BranchTileRange* b = Branches[0]->FindTile("b");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->startX, -1);
    EXPECT_EQ(b->startY, -1);
    EXPECT_EQ(b->endX, -1);
    EXPECT_EQ(b->endY, -1);
    EXPECT_FALSE(b->IsValid());
    EXPECT_FALSE(Branches[0]->FindTile("c")->IsValid());
    // The faulty tiles are named with their position in the file.
    EXPECT_NE(out.find("branchDB: test, line 4, column 0: tile names no cells of the tileset: b\n"),
              std::string::npos) << out;
    EXPECT_NE(out.find("line 5, column 0: tile names no cells of the tileset: c\n"), std::string::npos) << out;
}

TEST_F(BranchDBTest, TileRangesAreCheckedAgainstTheImageWithTheirAnimation) {
    BranchTileRange t;
    t.startX = 2;
    t.startY = 1;
    t.endX = 3;
    t.endY = 1;
    EXPECT_TRUE(t.FitsImage(4, 2));
    EXPECT_FALSE(t.FitsImage(3, 2));
    EXPECT_FALSE(t.FitsImage(4, 1));
    t.numframes = 3;
    t.skip = 1;  // frames at columns 2-3, 3-4, 4-5
    EXPECT_FALSE(t.FitsImage(5, 2));
    EXPECT_TRUE(t.FitsImage(6, 2));
    t.skip = -1;  // frames reaching left past column 0
    t.startX = 1;
    EXPECT_FALSE(t.FitsImage(6, 2));
}

TEST_F(BranchDBTest, OverlappingRangesTakeTheEarlierRecordAndIdsTheFirst) {
    Load("<x><branch id='1' name='A'><leveldata min='0' max='4'/></branch>"
         "<branch id='2' name='B'><leveldata min='3' max='6'/></branch>"
         "<branch id='1' name='C'><leveldata min='7' max='9'/></branch></x>");
    ASSERT_EQ(Branches.size(), 3u);
    EXPECT_EQ(FindBranchForDepth(3)->name, "A");
    EXPECT_EQ(FindBranchForDepth(5)->name, "B");
    EXPECT_EQ(FindBranchForDepth(8)->name, "C");
    EXPECT_EQ(FindBranchForDepth(10), nullptr);
    EXPECT_EQ(FindBranchForDepth(-1), nullptr);
    EXPECT_EQ(FindBranchById(1)->name, "A");
    EXPECT_EQ(FindBranch(1, 8)->name, "C");
    EXPECT_EQ(FindBranchById(3), nullptr);
    EXPECT_EQ(DeepestBranchDepth(), 9);
}

TEST_F(BranchDBTest, BreakableAndBlockerPicturesFollowTheirPrecedence) {
    testing::internal::CaptureStdout();  // the pictures themselves do not exist
    Load("<x><branch id='1'>"
         "<breakable name='pot' png='bdt/pot_single.png' pngSprite='bdt/pot_' pngFirst='2' pngNum='3' pngRate='50'"
         " pngSeriesBreak='bdt/pot_break_' pngBreakNum='4' pngBroken='bdt/pot_broken.png' vis='1'/>"
         "<breakable name='bare' png='bdt/bare.png'/>"
         "<blocker sprite='bdt/column.spr' pngSprite='bdt/column_' pngNum='2' passable='1' animate='1'/>"
         "<blocker pngSprite='bdt/flame_' pngNum='2'/>"
         "</branch></x>");
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(Branches.size(), 1u);
    const BranchRecord& b = *Branches[0];
    ASSERT_EQ(b.breakables.size(), 2u);
    const BreakableDef& pot = b.breakables[0];
    EXPECT_EQ(pot.sprite, SpriteMgr_Find("bdt/pot_"));  // the series wins over the single picture
    EXPECT_EQ(SpriteMgr_Find("bdt/pot_single.png"), nullptr);
    EXPECT_EQ(pot.breakSprite, SpriteMgr_Find("bdt/pot_break_"));
    EXPECT_EQ(pot.brokenSprite, SpriteMgr_Find("bdt/pot_broken.png"));
    EXPECT_NE(pot.sprite, nullptr);
    EXPECT_EQ(pot.pngFirst, 2);
    EXPECT_EQ(pot.pngNum, 3);
    EXPECT_EQ(pot.pngRate, 50);
    EXPECT_EQ(pot.vis, 1);
    EXPECT_EQ(pot.sfx, "breakable");  // the default sound
    const BreakableDef& bare = b.breakables[1];
    EXPECT_EQ(bare.sprite, SpriteMgr_Find("bdt/bare.png"));
    // Pictures without a name are not requested.
    EXPECT_EQ(bare.breakSprite, nullptr);
    EXPECT_EQ(bare.brokenSprite, nullptr);
    EXPECT_EQ(SpriteMgr_Find(""), nullptr);
    ASSERT_EQ(b.blockers.size(), 2u);
    EXPECT_EQ(b.blockers[0].sprite, SpriteMgr_Find("bdt/column.spr"));  // "sprite" wins for blockers
    EXPECT_EQ(SpriteMgr_Find("bdt/column_"), nullptr);
    EXPECT_EQ(b.blockers[0].passable, 1);
    EXPECT_EQ(b.blockers[0].animate, 1);
    EXPECT_EQ(b.blockers[1].sprite, SpriteMgr_Find("bdt/flame_"));
    // Indices from data and saves are checked.
    EXPECT_EQ(b.GetBreakable(1), &b.breakables[1]);
    EXPECT_EQ(b.GetBreakable(2), nullptr);
    EXPECT_EQ(b.GetBreakable(-1), nullptr);
    EXPECT_EQ(b.GetBlocker(1), &b.blockers[1]);
    EXPECT_EQ(b.GetBlocker(2), nullptr);
    EXPECT_EQ(b.GetBlocker(-5), nullptr);
}

TEST_F(BranchDBTest, EveryLoadRedrawsTheChosenDepthOfEveryRecord) {
    CSRand(11);
    testing::internal::CaptureStdout();
    Load("<x><branch id='1'><leveldata min='2' max='6'/></branch>"
         "<branch id='2' name='upside'><leveldata min='5' max='3'/></branch>"
         "<branch id='3'><leveldata min='-2147483648' max='2147483647'/></branch></x>");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "branchDB: test, line 1, column 112: depth range is empty (min above max) in branch upside\n");
    ASSERT_EQ(Branches.size(), 3u);
    // Draw by draw the same as the C-generator range of the five depths.
    CSRand(11);
    const int32_t expected = 2 + RandomInt(5);
    EXPECT_EQ(Branches[0]->chosenDepth, expected);
    EXPECT_EQ(Branches[1]->chosenDepth, 5);  // an empty range draws nothing
    EXPECT_EQ(Branches[2]->chosenDepth, INT32_MIN);  // a huge range neither draws nor overflows
    Branches[0]->chosenDepth = 100;
    Branches[0]->tilesetImage = new ImageRecord();
    Branches[0]->tilesetImage->surface = SDL_CreateRGBSurface(0, 4, 4, 32, 0, 0, 0, 0);
    Load("<x/>");  // a later file, even an empty one
    EXPECT_GE(Branches[0]->chosenDepth, 2);
    EXPECT_LE(Branches[0]->chosenDepth, 6);
    EXPECT_EQ(Branches[0]->tilesetImage, nullptr);
}

TEST_F(BranchDBTest, BrokenXmlKeepsWhatWasClosedAndSaysWhere) {
    testing::internal::CaptureStdout();
    const bool ok = Load("<x>\n<branch id='1'></branch>\n<branch id='2'>\n<tile name='a' startX='1'\n</x>");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(ok);
    ASSERT_EQ(Branches.size(), 1u);  // the unfinished branch is dropped
    EXPECT_EQ(Branches[0]->id, 1);
    EXPECT_NE(out.find("branchDB: test, line 5"), std::string::npos) << out;
    EXPECT_NE(out.find("the rest of the file is not read"), std::string::npos) << out;
}

TEST_F(BranchDBTest, ElementsOutsideABranchAndNestedBranchesDoNotLeakOrMerge) {
    testing::internal::CaptureStdout();
    Load("<x><tile name='stray' startX='0' startY='0'/><seed name='s'/>"
         "<branch id='1' name='outer'><branch id='2' name='inner'><seed name='k'/></branch></branch></x>");
    const std::string out = testing::internal::GetCapturedStdout();
    ASSERT_EQ(Branches.size(), 1u);
    EXPECT_EQ(Branches[0]->name, "inner");
    EXPECT_EQ(Branches[0]->seeds, std::vector<std::string>{"k"});
    EXPECT_NE(out.find("branch opened inside the unfinished branch outer"), std::string::npos) << out;
}

TEST_F(BranchDBTest, LayeredFilesAppendInOrderAndMissingOnesAreSkippedSilently) {
    TempDir dir;
    ASSERT_TRUE(MakeFileWithParents(dir.file("game/branchDB.xml"), "<x><branch id='1' name='game'/></x>"));
    ASSERT_TRUE(MakeFileWithParents(dir.file("expansion/branchDB.xml"), "<x><branch id='2' name='exp'/></x>"));
    ASSERT_TRUE(MakeFileWithParents(dir.file("expansion3/BRANCHDB.XML"), "<x><branch id='4' name='exp3'/></x>"));
    const bool ownInit = !PHYSFS_isInit();
    if (ownInit) {
        ASSERT_NE(PHYSFS_init(nullptr), 0);
    }
    ASSERT_NE(PHYSFS_mount(dir.path().c_str(), "/", 0), 0);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    for (const char* f : {"game//branchDB.xml", "expansion//branchDB.xml", "expansion2//branchDB.xml",
                          "expansion3//branchDB.xml"}) {
        branchDBLoad(f);
    }
    const std::string out = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    PHYSFS_unmount(dir.path().c_str());
    if (ownInit) PHYSFS_deinit();
    EXPECT_EQ(out, "");
    ASSERT_EQ(Branches.size(), 3u);
    EXPECT_EQ(Branches[0]->name, "game");
    EXPECT_EQ(Branches[1]->name, "exp");
    EXPECT_EQ(Branches[2]->name, "exp3");  // found ignoring case
}

TEST_F(BranchDBTest, AStairCountBelowOneIsReportedAndReadAsOne) {
    const std::string zero = "<tweakdb><tweak name='numstairs' ival='0' fval='0'/></tweakdb>";
    ASSERT_TRUE(LoadTweakValsFromBuffer(zero.data(), zero.size()));
    testing::internal::CaptureStdout();
    EXPECT_EQ(StairsPerLevel(), 1);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("ZARNOCH ERROR: branchDB, line ", 0), 0u) << out;
    EXPECT_NE(out.find("\"numstairs\" is below 1"), std::string::npos) << out;
    const std::string three = "<tweakdb><tweak name='numstairs' ival='3' fval='3'/></tweakdb>";
    ASSERT_TRUE(LoadTweakValsFromBuffer(three.data(), three.size()));
    testing::internal::CaptureStdout();
    EXPECT_EQ(StairsPerLevel(), 3);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ClearTweakVals();
}

TEST_F(BranchDBTest, ABadStairCountIsReportedOnceNotWithEveryLevel) {
    auto useStairs = [](int32_t n) {
        const std::string xml = "<tweakdb><tweak name='numstairs' ival='" + std::to_string(n) + "' fval='0'/></tweakdb>";
        ASSERT_TRUE(LoadTweakValsFromBuffer(xml.data(), xml.size()));
    };
    struct Step {
        int32_t value;
        bool reported;
    } steps[] = {
        {2, false}, {0, true}, {0, false}, {0, false},  // one level after another
        {-3, true}, {-3, false},                        // another bad value: its own report
        {1, false}, {-3, true},                         // a good value in between re-arms it
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.value);
        useStairs(step.value);
        testing::internal::CaptureStdout();
        EXPECT_EQ(StairsPerLevel(), step.value < 1 ? 1 : step.value);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.find("\"numstairs\" is below 1") != std::string::npos, step.reported) << out;
    }
    ClearTweakVals();
}

// ---------------------------------------------------------------------------------------------
// Our own branch file

std::string ReadSourceFile(const std::string& relative) {
    std::ifstream in(std::string(VAULTMERE_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

const char* const kTileNames[] = {
    "wall", "stairsup", "stairsdown", "water", "wall_l", "wall_r", "wall_lr",
    "top_c", "top_allfour", "top_cup_lur", "top_cup_dlu", "top_cup_dru", "top_cup_ldr", "top_adj_ul",
    "top_adj_ur", "top_adj_dr", "top_adj_dl", "top_ul", "top_ur", "top_dr", "top_dl", "top_l_add_ud",
    "top_r_add_ud", "top_u_add_lr", "top_d_add_lr", "top_lr", "top_ud", "top_r_add_u", "top_r_add_d",
    "top_l_add_u", "top_l_add_d", "top_u_add_r", "top_u_add_l", "top_d_add_r", "top_d_add_l", "top_u",
    "top_r", "top_d", "top_l", "top_dia_ul_ur", "top_dia_ur_dr", "top_dia_ul_dl", "top_dia_dl_dr",
    "top_dia_ul", "top_dia_ur", "top_dia_dl", "top_dia_dr",
    "water_vert_cap_t", "water_vert_cap_b", "water_horiz_cap_l", "water_horiz_cap_r", "water_horiz",
    "water_vert", "water_cap_corner_dr", "water_cap_corner_dl", "water_cap_corner_ur", "water_cap_corner_ul",
    "water_r", "water_l", "water_u", "water_d", "water_ul", "water_ur", "water_dl", "water_dr",
    "water_corner_ul", "water_corner_ur", "water_corner_dl", "water_corner_dr", "water_corner_ul_dl",
    "water_corner_ur_dr", "water_corner_ul_ur", "water_corner_dl_dr", "water_l_ur_dr", "water_r_ul_dl",
    "water_d_ul_ur", "water_u_dl_dr", "water_l_ur", "water_l_dr",
    "fluid_water", "fluid_ice", "fluid_lava", "fluid_goo"};

TEST_F(BranchDBTest, OurBranchFileLoadsQuietlyAndDressesEveryDepth) {
    const std::string xml = ReadSourceFile("data/game/branchDB.xml");
    ASSERT_FALSE(xml.empty());
    // The pictures come from the assembled game folder, mounted for the whole test.
    struct GameFolderMount {
        bool ownInit = !PHYSFS_isInit();
        bool mounted = false;
        GameFolderMount() {
            if (ownInit) PHYSFS_init(nullptr);
            mounted = PHYSFS_mount(VAULTMERE_GAME_ROOT, "/", 0) != 0;
        }
        ~GameFolderMount() {
            if (mounted) PHYSFS_unmount(VAULTMERE_GAME_ROOT);
            if (ownInit) PHYSFS_deinit();
        }
    } mount;
    ASSERT_TRUE(mount.mounted);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const bool ok = Load(xml);
    const std::string out = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    ASSERT_TRUE(ok);
    EXPECT_EQ(out, "");
    // Every depth of the normal (0-9) and the long dungeon (0-14).
    for (int32_t depth = 0; depth <= 14; ++depth) {
        EXPECT_NE(FindBranchForDepth(depth), nullptr) << "depth " << depth;
    }
    // The pictures the records name are in the assembled game folder.
    auto present = [](const std::string& name) { return FileExists(std::string(VAULTMERE_GAME_ROOT) + "/" + name); };
    auto frame = [](const std::string& series, int32_t number) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%04d", static_cast<int>(number));
        return series + digits + ".png";
    };
    for (const BranchRecord* b : Branches) {
        SCOPED_TRACE(b->name);
        EXPECT_EQ(FindBranchById(b->id), b);  // ids are unique
        EXPECT_TRUE(present(b->tileset)) << b->tileset;
        SDL_Surface* sheet = const_cast<BranchRecord*>(b)->GetTilesetImage();
        ASSERT_NE(sheet, nullptr) << b->tileset;
        // 8 x 8 cells of 64 pixels once doubled: walls, floors and a cell for each shore piece.
        EXPECT_EQ(sheet->w, 8 * 64);
        EXPECT_EQ(sheet->h, 8 * 64);
        for (const std::string* name : {&b->chestOpen, &b->chestClosed, &b->chestBroken, &b->doorEwTop,
                                        &b->doorEwBottom, &b->doorNsLeft, &b->doorNsRight}) {
            EXPECT_TRUE(present(*name)) << *name;
        }
        // The tileset pictures are 8 x 8 cells.
        for (const char* name : kTileNames) {
            const BranchTileRange* t = b->FindTile(name);
            ASSERT_NE(t, nullptr) << name;
            EXPECT_TRUE(t->FitsImage(8, 8)) << name;
        }
        EXPECT_FALSE(b->floors.empty());
        EXPECT_FALSE(b->wallDecor.empty());
        for (const BranchTileRange& t : b->floors) EXPECT_TRUE(t.FitsImage(8, 8));
        for (const BranchTileRange& t : b->wallDecor) EXPECT_TRUE(t.FitsImage(8, 8));
        EXPECT_FALSE(b->breakables.empty());
        EXPECT_FALSE(b->blockers.empty());
        // Every branch has a breakable with its own break and broken art, and one
        // with neither, whose intact picture serves all three states.
        int32_t withArt = 0;
        int32_t intactOnly = 0;
        for (const BreakableDef& d : b->breakables) {
            SCOPED_TRACE(d.name);
            EXPECT_NE(d.sprite, nullptr);
            if (!d.png.empty()) {
                EXPECT_TRUE(present(d.png)) << d.png;
            }
            for (int32_t i = 0; i < d.pngNum; ++i) EXPECT_TRUE(present(frame(d.pngSprite, d.pngFirst + i)));
            if (d.pngSeriesBreak.empty() && d.pngBroken.empty()) {
                EXPECT_EQ(d.breakSprite, nullptr);
                EXPECT_EQ(d.brokenSprite, nullptr);
                ++intactOnly;
                continue;
            }
            EXPECT_NE(d.breakSprite, nullptr);
            EXPECT_NE(d.brokenSprite, nullptr);
            for (int32_t i = 0; i < d.pngBreakNum; ++i) {
                EXPECT_TRUE(present(frame(d.pngSeriesBreak, d.pngBreakFirst + i)));
            }
            EXPECT_TRUE(present(d.pngBroken)) << d.pngBroken;
            ++withArt;
        }
        EXPECT_GE(withArt, 1);
        EXPECT_GE(intactOnly, 1);
        int32_t passable = 0;
        for (const BlockerDef& d : b->blockers) {
            EXPECT_NE(d.sprite, nullptr);
            if (!d.png.empty()) {
                EXPECT_TRUE(present(d.png)) << d.png;
            }
            for (int32_t i = 0; !d.pngSprite.empty() && i < d.pngNum; ++i) {
                EXPECT_TRUE(present(frame(d.pngSprite, d.pngFirst + i)));
            }
            passable += d.passable != 0 ? 1 : 0;
        }
        EXPECT_GE(passable, 1);  // one the hero walks over
    }
}

}  // namespace
