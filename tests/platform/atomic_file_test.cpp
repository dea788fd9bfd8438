// Whole-file replacement: a failure at any step, or a kill in the middle, leaves the old file
// as it was; a temporary file left behind is replaced by the next write.
#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

AtomicWriteStep FailingStep = AtomicWriteStep::Open;
AtomicWriteStep KillingStep = AtomicWriteStep::Open;

bool FailAtStep(AtomicWriteStep step, const std::string&) {
    return step != FailingStep;
}

bool KillAtStep(AtomicWriteStep step, const std::string&) {
    if (step == KillingStep) raise(SIGKILL);
    return true;
}

// Removes the hook however the test ends.
struct HookGuard {
    explicit HookGuard(AtomicWriteHook hook) { SetAtomicWriteHook(hook); }
    ~HookGuard() { SetAtomicWriteHook(nullptr); }
};

mode_t ModeOf(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

struct StepCase {
    const char* label;
    AtomicWriteStep step;
};

const StepCase kSteps[] = {
    {"create", AtomicWriteStep::Open}, {"write", AtomicWriteStep::Write},
    {"flush", AtomicWriteStep::Flush}, {"sync", AtomicWriteStep::Sync},
    {"close", AtomicWriteStep::Close}, {"rename", AtomicWriteStep::Rename},
};

}  // namespace

TEST(AtomicFile, ReplacesTheWholeFileAndKeepsItsPermissions) {
    TempDir tmp;
    const std::string path = tmp.file("hiscores.txt");
    ASSERT_TRUE(WriteFileAtomically(path, std::string("first\n")));
    EXPECT_EQ(ReadWholeFile(path), "first\n");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, std::string("second, longer\n"), &error)) << error;
    EXPECT_EQ(ReadWholeFile(path), "second, longer\n");
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_FALSE(FileExists(path + ".tmp"));
    // An empty content is a valid (empty) file.
    ASSERT_TRUE(WriteFileAtomically(path, std::string()));
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(ReadWholeFile(path), "");
}

TEST(AtomicFile, AFailureAtAnyStepLeavesTheOldFileAndNoTemporaryFile) {
    TempDir tmp;
    const std::string path = tmp.file("loadsave.dat");
    const std::string fresh = tmp.file("fresh.dat");
    for (const StepCase& c : kSteps) {
        SCOPED_TRACE(c.label);
        WriteWholeFile(path, "1\nold.sav\n");
        FailingStep = c.step;
        HookGuard hook(FailAtStep);
        std::string error;
        EXPECT_FALSE(WriteFileAtomically(path, std::string("0\n"), &error));
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_EQ(ReadWholeFile(path), "1\nold.sav\n");
        EXPECT_FALSE(FileExists(path + ".tmp"));
        // Where there was no file, none appears.
        EXPECT_FALSE(WriteFileAtomically(fresh, std::string("0\n")));
        EXPECT_FALSE(FileExists(fresh));
        EXPECT_FALSE(FileExists(fresh + ".tmp"));
    }
}

TEST(AtomicFile, StreamWritesThatFailOrAreNotCommittedChangeNothing) {
    TempDir tmp;
    const std::string path = tmp.file("autosave.sav");
    WriteWholeFile(path, "the previous game");
    {
        AtomicFileWriter writer(path);
        ASSERT_TRUE(writer.Open());
        fputs("half a game", writer.file());
        // Goes out of scope without Commit (an early return of the caller).
    }
    EXPECT_EQ(ReadWholeFile(path), "the previous game");
    EXPECT_FALSE(FileExists(path + ".tmp"));

    AtomicFileWriter writer(path);
    ASSERT_TRUE(writer.Open());
    fputs("a new game", writer.file());
    ASSERT_TRUE(writer.Commit()) << writer.error();
    EXPECT_EQ(ReadWholeFile(path), "a new game");
    EXPECT_FALSE(writer.Commit());  // only once
    EXPECT_EQ(ReadWholeFile(path), "a new game");
}

TEST(AtomicFile, BadTargetsAreRefused) {
    TempDir tmp;
    ASSERT_TRUE(MakeDirectory(tmp.file("config.xml").c_str()));
    struct Case {
        const char* label;
        std::string path;
    };
    const Case cases[] = {
        {"no name", ""},
        {"missing folder", tmp.file("gone/last.txt")},
        {"a folder in the way", tmp.file("config.xml")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::string error;
        EXPECT_FALSE(WriteFileAtomically(c.path, std::string("x"), &error));
        EXPECT_FALSE(error.empty());
        if (!c.path.empty()) {
            EXPECT_FALSE(FileExists(c.path + ".tmp"));
        }
    }
    EXPECT_FALSE(FileExists(".tmp"));
}

TEST(AtomicFileDeathTest, AKillDuringTheWriteLeavesTheOldFileAndTheNextWriteRecovers) {
    TempDir tmp;
    const std::string path = tmp.file("last.txt");
    for (const StepCase& c : kSteps) {
        SCOPED_TRACE(c.label);
        WriteWholeFile(path, "0\n1\n2\n3\n4\n5\n6\n");
        KillingStep = c.step;
        EXPECT_EXIT(
            {
                SetAtomicWriteHook(KillAtStep);
                WriteFileAtomically(path, std::string("9\n8\n7\n6\n5\n4\n3\n"));
                std::exit(0);
            },
            ::testing::KilledBySignal(SIGKILL), "");
        EXPECT_EQ(ReadWholeFile(path), "0\n1\n2\n3\n4\n5\n6\n");
        // The killed run may have left its temporary file; the next write replaces it.
        ASSERT_TRUE(WriteFileAtomically(path, std::string("10\n11\n12\n13\n14\n15\n16\n")));
        EXPECT_EQ(ReadWholeFile(path), "10\n11\n12\n13\n14\n15\n16\n");
        EXPECT_FALSE(FileExists(path + ".tmp"));
    }
}

TEST(AtomicFile, AStaleTemporaryFileOfAnyKindIsReplaced) {
    TempDir tmp;
    const std::string path = tmp.file("config.xml");
    WriteWholeFile(path, "<config/>\n");
    // Left by a killed run: cut off, and even read-only.
    WriteWholeFile(path + ".tmp", "<config><setting na");
    ASSERT_EQ(chmod((path + ".tmp").c_str(), 0400), 0);
    ASSERT_TRUE(WriteFileAtomically(path, std::string("<config></config>\n")));
    EXPECT_EQ(ReadWholeFile(path), "<config></config>\n");
    EXPECT_FALSE(FileExists(path + ".tmp"));
}
