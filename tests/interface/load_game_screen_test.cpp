// The load-game screen over a save index made in the test: scrolling, labels, choosing,
// cancelling, deleting, the thumbnail of the preview, and what becomes of the index file.
#include "interface/load_game_screen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/shell/menu_hooks.h"
#include "core/shell/saved_games.h"
#include "interface/menu_frame.h"
#include "interface/menu_test_fixture.h"
#include "interface/screens.h"

namespace {

// 1280 x 720: centre (640, 360). Row i at (240, 180 + 64 i), 400 x 64; the up arrow at
// (392, 148), the down arrow at (392, 628), both 96 x 32; Delete at (780, 636), 105 x 24;
// Back at (0, 0) and Done at (1152, 0), 128 x 64.
// A click acts where the pointer was at the start of its frame: the pointer moves there first.
std::string ClickAt(int x, int y, int button = 1) {
    const std::string at = std::to_string(x) + " " + std::to_string(y);
    return "move " + at + "\nwait 40\nclick " + std::to_string(button) + " " + at + "\nwait 40\n";
}
std::string ClickRow(int row) {
    return ClickAt(300, 200 + 64 * row);
}
const std::string kClickDown = ClickAt(440, 640);
const std::string kClickUp = ClickAt(440, 160);
const std::string kClickDelete = ClickAt(830, 648);
const std::string kClickDone = ClickAt(1200, 30);
const std::string kClickBack = ClickAt(60, 30);

class LoadGameScreenTest : public MenuScreenTest {
protected:
    void SetUp() override {
        MenuScreenTest::SetUp();
        if (IsSkipped()) return;
        InstallMenuScreenHooks();
    }

    // An index of `count` saves "save<i>.sav" with their files, the first lines "Hero <i>".
    void MakeSaves(int count) {
        SaveSlots.clear();
        for (int i = 0; i < count; ++i) {
            SaveSlot slot;
            slot.fileName = "save" + std::to_string(i) + ".sav";
            slot.line1 = "Hero " + std::to_string(i) + " the Adventurer";
            slot.line2 = "on Floor 1 of the Dungeon";
            SaveSlots.push_back(slot);
            WriteWholeFile(user_.file(slot.fileName), "save");
            WriteWholeFile(user_.file("bitmap_" + slot.fileName), "bitmap");
        }
        ASSERT_TRUE(WriteSaveIndex());
    }

    std::string Run(const std::string& script) {
        Script(script);
        return ShowLoadGameScreen();
    }
};

TEST(LoadGameScreenRules, AutosaveLabelOnlyForTheExactName) {
    struct Case {
        const char* file;
        const char* label;
    };
    const Case cases[] = {
        {"autosave.sav", "Automatic Save"},
        {"autosave.sav.bak", "Backup line"},
        {"Autosave.sav", "Backup line"},
        {"hero.sav", "Backup line"},
    };
    for (const Case& c : cases) {
        SavedGameRow row;
        row.fileName = c.file;
        row.line1 = "Backup line";
        EXPECT_EQ(SaveRowLabel(row), c.label) << c.file;
    }
}

TEST(LoadGameScreenRules, FirstRowAfterAShorterList) {
    struct Case {
        int first, count, expected;
    };
    const Case cases[] = {{1, 7, 0}, {1, 8, 1}, {3, 9, 2}, {0, 0, 0}, {5, 3, 0}, {2, 20, 2}};
    for (const Case& c : cases) EXPECT_EQ(ClampFirstSaveRow(c.first, c.count), c.expected) << c.first << "/" << c.count;
}

TEST(LoadGameScreenRules, ThumbnailOnlyForPlainNames) {
    TempDir user;
    ScopedEnv env("VAULTMERE_USER_DIR", user.path().c_str());
    EXPECT_EQ(SaveThumbnailPath("hero.sav"), user.file("bitmap_hero.sav"));
    for (const char* bad : {"", ".", "..", "../hero.sav", "x/../../etc", "a\\b", "c:hero", "line\nbreak"}) {
        EXPECT_EQ(SaveThumbnailPath(bad), "") << bad;
    }
}

TEST_F(LoadGameScreenTest, ArrowsScrollOnlyPastSevenSaves) {
    struct Case {
        int saves;
        std::string script;
        std::string chosen;
    };
    const Case cases[] = {
        // Seven saves: no scrolling, the last row is save 6.
        {7, kClickDown + ClickRow(6) + ClickRow(6), "save6.sav"},
        // Eight: one step down shows save 7 in the last row; a second step does nothing.
        {8, kClickDown + ClickRow(6) + ClickRow(6), "save7.sav"},
        {8, kClickDown + kClickDown + ClickRow(0) + ClickRow(0), "save1.sav"},
        {8, kClickDown + kClickUp + ClickRow(0) + ClickRow(0), "save0.sav"},
        // The wheel and the right button select like the left one.
        {8, ClickAt(300, 200, 3) + ClickAt(300, 200, 4), "save0.sav"},
        // Clicking another row only moves the selection; Done loads it.
        {8, ClickRow(1) + ClickRow(2) + kClickDone, "save2.sav"},
        // Nothing selected: Done and Back return nothing; an empty list likewise.
        {8, kClickDone, ""},
        {0, kClickDown + ClickRow(0) + kClickDone, ""},
        {3, ClickRow(1) + kClickBack, ""},
        // Escape must be released: the press alone leaves the screen open.
        {3, "keydown escape\nwait 40\n" + ClickRow(2) + ClickRow(2) + "keyup escape\n", "save2.sav"},
        {3, ClickRow(2) + "keydown escape\nwait 40\nkeyup escape\n", ""},
    };
    for (const Case& c : cases) {
        MakeSaves(c.saves);
        EXPECT_EQ(Run("wait 40\n" + c.script), c.chosen) << c.saves << ": " << c.script;
        EXPECT_EQ(MenuBackground, nullptr);
    }
}

TEST_F(LoadGameScreenTest, AClickWithoutAMoveBeforeItActsWhereItIs) {
    // Press and release arrive in one frame, the pointer jumping there with them.
    const struct {
        const char* what;
        std::string script;
        std::string chosen;
    } cases[] = {
        {"row then Done", "click 1 300 328\nwait 40\nclick 1 1200 30\nwait 40\n", "save2.sav"},
        {"row by the right button then Done", "click 3 300 264\nwait 40\nclick 1 1200 30\nwait 40\n", "save1.sav"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MakeSaves(3);
        EXPECT_EQ(Run("wait 40\n" + c.script + "key escape\n"), c.chosen);
    }
}

TEST_F(LoadGameScreenTest, DeletingTheSelectedSaveRemovesItsFilesAndRecord) {
    MakeSaves(3);
    EXPECT_EQ(Run("wait 40\n" + ClickRow(1) + kClickDelete + ClickRow(1) + ClickRow(1)), "save2.sav");
    EXPECT_FALSE(FileExists(user_.file("save1.sav")));
    EXPECT_FALSE(FileExists(user_.file("bitmap_save1.sav")));
    EXPECT_TRUE(FileExists(user_.file("save2.sav")));
    ReadSaveIndex(nullptr);
    ASSERT_EQ(SaveSlots.size(), 2u);
    EXPECT_EQ(SaveSlots[0].fileName, "save0.sav");
    EXPECT_EQ(SaveSlots[1].fileName, "save2.sav");
    // Delete without a selection does nothing.
    EXPECT_EQ(Run("wait 40\n" + kClickDelete + kClickBack), "");
    ReadSaveIndex(nullptr);
    EXPECT_EQ(SaveSlots.size(), 2u);
}

TEST_F(LoadGameScreenTest, DeletingDownFromAScrolledViewShowsNoRowPastTheEnd) {
    MakeSaves(8);
    // Scroll to the end, then delete the bottom save twice; the view moves up with the list.
    std::string script = "wait 40\n" + kClickDown + ClickRow(6) + kClickDelete + ClickRow(6) + kClickDelete;
    // Row 6 now shows save 5 (the list holds 0..5 with the first row 0): choose it.
    script += ClickRow(5) + ClickRow(5);
    EXPECT_EQ(Run(script), "save5.sav");
    ReadSaveIndex(nullptr);
    EXPECT_EQ(SaveSlots.size(), 6u);
    EXPECT_FALSE(FileExists(user_.file("save7.sav")));
    EXPECT_FALSE(FileExists(user_.file("save6.sav")));
    // The last row of the six-save list lies empty: a click there selects nothing.
    EXPECT_EQ(Run(std::string("wait 40\n") + ClickRow(6) + ClickRow(6) + kClickDone), "");
}

TEST_F(LoadGameScreenTest, ADamagedIndexIsNotReplaced) {
    // The count promises three records; only one is there.
    const std::string damaged = "3\nsave0.sav\nHero\non Floor 1\n1\n2\n3\n4\n5\n6\n7\n";
    WriteWholeFile(user_.file("loadsave.dat"), damaged);
    EXPECT_EQ(Run(std::string("wait 40\n") + ClickRow(0) + kClickBack), "");
    EXPECT_EQ(ReadWholeFile(user_.file("loadsave.dat")), damaged);
    // A count that is no number at all.
    WriteWholeFile(user_.file("loadsave.dat"), "garbage\n");
    EXPECT_EQ(Run("wait 40\n" + kClickBack), "");
    EXPECT_EQ(ReadWholeFile(user_.file("loadsave.dat")), "garbage\n");
    // A whole index is written back as it reads.
    MakeSaves(2);
    const std::string whole = ReadWholeFile(user_.file("loadsave.dat"));
    EXPECT_EQ(Run("wait 40\n" + kClickBack), "");
    EXPECT_EQ(ReadWholeFile(user_.file("loadsave.dat")), whole);
}

TEST_F(LoadGameScreenTest, PreviewDrawsTheThumbnailAtItsPlace) {
    MakeSaves(2);
    // A 360 x 240 thumbnail of one colour for save 0; save 1's is not a picture.
    SDL_Surface* bmp = NewScreenSized(360, 240);
    SDL_FillRect(bmp, nullptr, SDL_MapRGB(bmp->format, 10, 200, 30));
    ASSERT_EQ(SDL_SaveBMP(bmp, user_.file("bitmap_save0.sav").c_str()), 0);
    SDL_FreeSurface(bmp);
    EXPECT_EQ(Run("wait 40\n" + ClickRow(0) + "wait 40\nkey escape\n"), "");
    // (cx + 16, cy - 196) = (656, 164) to (1015, 403).
    EXPECT_EQ(MenuPixelRgb(ScreenSurface, 656, 164), 0x0AC81Eu);
    EXPECT_EQ(MenuPixelRgb(ScreenSurface, 1015, 403), 0x0AC81Eu);
    EXPECT_NE(MenuPixelRgb(ScreenSurface, 655, 164), 0x0AC81Eu);
    EXPECT_NE(MenuPixelRgb(ScreenSurface, 1016, 403), 0x0AC81Eu);
    EXPECT_EQ(Run("wait 40\n" + ClickRow(1) + "wait 40\nkey escape\n"), "");
    EXPECT_NE(MenuPixelRgb(ScreenSurface, 800, 300), 0x0AC81Eu);
}

// With no saves the list says so in its first row and Delete is not shown; with one save
// Delete is there. Compared with the backdrop and panel alone, drawn here.
TEST_F(LoadGameScreenTest, AnEmptyListSaysSoAndShowsNoDelete) {
    SDL_Surface* reference = DrawMenuBackground("ui/menus/menubg_sepia.png", "ui/menus/title_loadgame.png");
    ASSERT_NE(reference, nullptr);
    SDL_Surface* panel = LoadMenuPicture("ui/menus/loadgame_widgets.png", 800, 600);
    ASSERT_NE(panel, nullptr);
    SDL_Rect at = {240, 60, 0, 0};
    SDL_BlitSurface(panel, nullptr, reference, &at);
    SDL_FreeSurface(panel);
    struct Case {
        int saves;
        bool deleteShown;
        bool emptyText;
    };
    for (const Case c : {Case{0, false, true}, Case{1, true, false}}) {
        MakeSaves(c.saves);
        EXPECT_EQ(Run("wait 40\nkey escape\n"), "");
        // Delete at (780, 636), 105 x 24.
        const int deleteDiffers = CountDifferentPixels(ScreenSurface, 780, 636, reference, 780, 636, 105, 24);
        if (c.deleteShown) {
            EXPECT_GT(deleteDiffers, 500) << c.saves;
        } else {
            EXPECT_EQ(deleteDiffers, 0) << c.saves;
        }
        if (c.emptyText) {
            // The first row, (240, 180), 400 x 64, holds the text and nothing else.
            EXPECT_GT(CountDifferentPixels(ScreenSurface, 240, 180, reference, 240, 180, 400, 64), 100);
            EXPECT_EQ(CountDifferentPixels(ScreenSurface, 240, 244, reference, 240, 244, 400, 64), 0);
        }
    }
    SDL_FreeSurface(reference);
}

}  // namespace
