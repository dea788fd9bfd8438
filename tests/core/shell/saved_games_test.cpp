// Saved games on a failing or hostile file system: a save that cannot be written keeps the
// previous save and index, a kill in the middle of a save loses nothing, names with line
// breaks never break the index, and loading opens only regular files.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <SDL.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "core/shell/game_lifecycle.h"
#include "core/shell/saved_games.h"
#include "creatures/player.h"
#include "interface/play_screen.h"
#include "levels/level.h"
#include "platform/atomic_file.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

// The failure the hook injects: the step, and the end of the file name it applies to.
AtomicWriteStep FailStep = AtomicWriteStep::Write;
std::string FailFile;

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool FailOneFile(AtomicWriteStep step, const std::string& path) {
    return !(step == FailStep && EndsWith(path, "/" + FailFile));
}

bool KillOnOneFile(AtomicWriteStep step, const std::string& path) {
    if (step == FailStep && EndsWith(path, "/" + FailFile)) raise(SIGKILL);
    return true;
}

struct HookGuard {
    explicit HookGuard(AtomicWriteHook hook) { SetAtomicWriteHook(hook); }
    ~HookGuard() { SetAtomicWriteHook(nullptr); }
};

const char* const kOldIndex = "1\nautosave.sav\nOld the Adventurer\non Floor 3 of \n1\n2\n3\n4\n5\n6\n7\n";

class SavedGamesTest : public ::testing::Test {
protected:
    void SetUp() override {
        env_ = std::make_unique<ScopedEnv>("VAULTMERE_USER_DIR", user_.path().c_str());
        Level* level = new Level(0, 0);
        level->SetSize(10, 10);
        GameLevels.push_back(level);
        CurrentLevel = level;
        Player* hero = new Player();
        CurrentPlayer = hero;
        hero->PlaceOnLevel(4, 4, level, 0);
        hero->name = "Ada";
    }
    void TearDown() override {
        SetAtomicWriteHook(nullptr);
        if (SaveThumbnailSurface != nullptr) SDL_FreeSurface(SaveThumbnailSurface);
        SaveThumbnailSurface = nullptr;
        if (CurrentPlayer != nullptr || !GameLevels.empty()) EndCurrentGame();
        CurrentLevel = nullptr;
        SaveSlots.clear();
        env_.reset();
    }
    std::string Read(const std::string& name) const { return ReadWholeFile(user_.file(name)); }

    TempDir user_;
    std::unique_ptr<ScopedEnv> env_;
};

}  // namespace

TEST_F(SavedGamesTest, AFailedAutosaveKeepsThePreviousSaveAndIndex) {
    struct Case {
        const char* label;
        const char* file;  // the file whose write fails
        AtomicWriteStep step;
        bool saveReplaced;  // the save file itself was written before the failure
    };
    const Case cases[] = {
        {"save cannot be created", "autosave.sav", AtomicWriteStep::Open, false},
        {"disk full while saving", "autosave.sav", AtomicWriteStep::Flush, false},
        {"sync of the save fails", "autosave.sav", AtomicWriteStep::Sync, false},
        {"save cannot be moved into place", "autosave.sav", AtomicWriteStep::Rename, false},
        {"index cannot be created", "loadsave.dat", AtomicWriteStep::Open, true},
        {"disk full while writing the index", "loadsave.dat", AtomicWriteStep::Write, true},
        {"sync of the index fails", "loadsave.dat", AtomicWriteStep::Sync, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        WriteWholeFile(user_.file("autosave.sav"), "the previous game");
        WriteWholeFile(user_.file("loadsave.dat"), kOldIndex);
        FailStep = c.step;
        FailFile = c.file;
        {
            HookGuard hook(FailOneFile);
            testing::internal::CaptureStdout();
            EXPECT_FALSE(SaveGame("autosave.sav"));
            testing::internal::GetCapturedStdout();
        }
        EXPECT_EQ(Read("loadsave.dat"), kOldIndex);
        if (c.saveReplaced) {
            EXPECT_EQ(Read("autosave.sav").substr(0, 4), "ZNCH");
        } else {
            EXPECT_EQ(Read("autosave.sav"), "the previous game");
        }
        EXPECT_FALSE(FileExists(user_.file("autosave.sav.tmp")));
        EXPECT_FALSE(FileExists(user_.file("loadsave.dat.tmp")));
    }
    // Once the disk is fine again the save goes through.
    EXPECT_TRUE(SaveGame("autosave.sav"));
    ReadSaveIndex(nullptr);
    ASSERT_EQ(SaveSlots.size(), 1u);
    EXPECT_EQ(SaveSlots[0].line1, "Ada the Adventurer");
}

TEST_F(SavedGamesTest, DeletingASaveReportsAnIndexThatCannotBeWritten) {
    ASSERT_TRUE(SaveGame("doomed.sav"));
    const std::string index = Read("loadsave.dat");
    FailStep = AtomicWriteStep::Sync;
    FailFile = "loadsave.dat";
    HookGuard hook(FailOneFile);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(DeleteSaveGame("doomed.sav", true));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(Read("loadsave.dat"), index);
}

TEST_F(SavedGamesTest, AKillDuringASaveLeavesTheWholePreviousFiles) {
    ASSERT_TRUE(SaveGame("autosave.sav"));
    const std::string save = Read("autosave.sav");
    const std::string index = Read("loadsave.dat");
    CurrentPlayer->name = "Later";
    // The whole new save, as a save that is not interrupted writes it.
    ASSERT_TRUE(SaveGame("probe.sav"));
    const std::string newSave = Read("probe.sav");
    ASSERT_NE(newSave, save);
    WriteWholeFile(user_.file("loadsave.dat"), index);
    const struct {
        const char* file;
        AtomicWriteStep step;
    } cases[] = {
        {"autosave.sav", AtomicWriteStep::Flush},
        {"autosave.sav", AtomicWriteStep::Rename},
        {"loadsave.dat", AtomicWriteStep::Write},
        {"loadsave.dat", AtomicWriteStep::Sync},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        FailStep = c.step;
        FailFile = c.file;
        EXPECT_EXIT(
            {
                SetAtomicWriteHook(KillOnOneFile);
                SaveGame("autosave.sav");
                std::exit(0);
            },
            ::testing::KilledBySignal(SIGKILL), "");
        // A kill while the index is written comes after the save itself was put in place whole.
        EXPECT_EQ(Read("autosave.sav"), std::string(c.file) == "autosave.sav" ? save : newSave);
        EXPECT_EQ(Read("loadsave.dat"), index);
    }
    // The next save replaces whatever the killed one left behind.
    ASSERT_TRUE(SaveGame("autosave.sav"));
    ReadSaveIndex(nullptr);
    ASSERT_EQ(SaveSlots.size(), 1u);
    EXPECT_EQ(SaveSlots[0].line1, "Later the Adventurer");
    EXPECT_FALSE(FileExists(user_.file("autosave.sav.tmp")));
    EXPECT_FALSE(FileExists(user_.file("loadsave.dat.tmp")));
}

TEST_F(SavedGamesTest, TheThumbnailIsAWholeBitmapAndItsFailureKeepsTheSave) {
    SaveThumbnailSurface = SDL_CreateRGBSurface(SDL_SWSURFACE, 360, 240, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_NE(SaveThumbnailSurface, nullptr);
    ASSERT_TRUE(SaveGame("pic.sav"));
    const std::string bitmap = Read("bitmap_pic.sav");
    ASSERT_GE(bitmap.size(), 54u);
    EXPECT_EQ(bitmap.substr(0, 2), "BM");
    const uint32_t declared = static_cast<uint8_t>(bitmap[2]) | static_cast<uint8_t>(bitmap[3]) << 8 |
                              static_cast<uint8_t>(bitmap[4]) << 16 |
                              static_cast<uint32_t>(static_cast<uint8_t>(bitmap[5])) << 24;
    EXPECT_EQ(declared, bitmap.size());

    FailStep = AtomicWriteStep::Sync;
    FailFile = "bitmap_pic.sav";
    HookGuard hook(FailOneFile);
    testing::internal::CaptureStdout();
    EXPECT_TRUE(SaveGame("pic.sav"));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("picture"), std::string::npos);
    EXPECT_EQ(Read("bitmap_pic.sav"), bitmap);
}

TEST_F(SavedGamesTest, IndexRecordsStayOneLineEachAndAllReadBack) {
    SaveSlots.resize(3);
    SaveSlots[0].fileName = "a.sav";
    SaveSlots[0].line1 = "Ann\nMarie the Adventurer";  // a name from before names were cleaned
    SaveSlots[0].line2 = std::string(300, 'x');         // longer than a line of the index
    SaveSlots[0].skills[6] = 66;
    SaveSlots[1].fileName = "b.sav";
    SaveSlots[1].line1 = std::string(253, 'y') + "\xc3\xab";  // a letter across the limit
    SaveSlots[2].fileName = "c.sav";
    SaveSlots[2].line1 = "Cy the Adventurer";
    SaveSlots[2].skills[0] = 5;
    ASSERT_TRUE(WriteSaveIndex());
    ReadSaveIndex(nullptr);
    ASSERT_EQ(SaveSlots.size(), 3u);
    EXPECT_EQ(SaveSlots[0].fileName, "a.sav");
    EXPECT_EQ(SaveSlots[0].line1, "Ann Marie the Adventurer");
    EXPECT_EQ(SaveSlots[0].line2, std::string(254, 'x'));
    EXPECT_EQ(SaveSlots[0].skills[6], 66);
    EXPECT_EQ(SaveSlots[1].fileName, "b.sav");
    EXPECT_EQ(SaveSlots[1].line1, std::string(253, 'y'));
    EXPECT_EQ(SaveSlots[2].fileName, "c.sav");
    EXPECT_EQ(SaveSlots[2].line1, "Cy the Adventurer");
    EXPECT_EQ(SaveSlots[2].skills[0], 5);

    // A save name that would break a line is refused.
    testing::internal::CaptureStdout();
    EXPECT_FALSE(SaveGame("two\nlines.sav"));
    testing::internal::GetCapturedStdout();
}

TEST_F(SavedGamesTest, WithoutAUserFolderNothingIsSavedAnywhere) {
    TempDir work;
    WriteWholeFile(work.file("plain"), "x");
    ScopedWorkingDir cwd(work.path());
    ASSERT_TRUE(cwd.ok());
    ScopedEnv blocked("VAULTMERE_USER_DIR", work.file("plain").c_str());
    testing::internal::CaptureStdout();
    EXPECT_FALSE(SaveGame("autosave.sav"));
    EXPECT_FALSE(WriteSaveIndex());
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(FileExists(work.file("autosave.sav")));
    EXPECT_FALSE(FileExists(work.file("loadsave.dat")));
}

TEST_F(SavedGamesTest, LoadingANamedPipeOrAFolderFailsAtOnce) {
    ASSERT_EQ(mkfifo(user_.file("pipe.sav").c_str(), 0600), 0);
    ASSERT_EQ(mkdir(user_.file("folder.sav").c_str(), 0700), 0);
    for (const std::string& name : {user_.file("pipe.sav"), std::string("pipe.sav"), user_.file("folder.sav")}) {
        SCOPED_TRACE(name);
        // In a child with an alarm, so that a load that blocks fails the test instead of hanging it.
        EXPECT_EXIT(
            {
                alarm(10);
                std::exit(LoadGame(name.c_str()) ? 1 : 0);
            },
            ::testing::ExitedWithCode(0), "");
    }
}
