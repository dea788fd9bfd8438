#include "core/high_scores.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <climits>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteAll(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

HighScoreEntry Entry(const std::string& name, int32_t score, const std::string& text) {
    HighScoreEntry e;
    e.name = name;
    e.score = score;
    e.text = text;
    return e;
}

// Every test gets its own empty user folder and an empty table.
class UserFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/vaultmere_scores_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = std::string(tmpl) + "/";
        env_.reset(new ScopedEnv("VAULTMERE_USER_DIR", dir_.c_str()));
        ClearHighScores();
    }
    void TearDown() override {
        ClearHighScores();
        env_.reset();
        std::remove((dir_ + "hiscores.txt").c_str());
        std::remove((dir_ + "last.txt").c_str());
        std::remove(dir_.c_str());
    }
    std::vector<int32_t> Scores() const {
        std::vector<int32_t> out;
        for (const HighScoreEntry& e : GetHighScores()) out.push_back(e.score);
        return out;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (const HighScoreEntry& e : GetHighScores()) out.push_back(e.name);
        return out;
    }

    std::string dir_;
    std::unique_ptr<ScopedEnv> env_;
};

TEST_F(UserFilesTest, EqualScoresGoAfterOlderOnesAndDuplicatesAreRefused) {
    EXPECT_TRUE(AddHighScore(Entry("Ada", 100, "eaten")));
    EXPECT_TRUE(AddHighScore(Entry("Bob", 300, "drowned")));
    EXPECT_TRUE(AddHighScore(Entry("Cy", 100, "crushed")));
    EXPECT_TRUE(AddHighScore(Entry("Dee", 100, "eaten")));
    EXPECT_TRUE(AddHighScore(Entry("Eve", 50, "bored")));
    EXPECT_TRUE(AddHighScore(Entry("Fay", 200, "won")));
    EXPECT_EQ(Scores(), (std::vector<int32_t>{300, 200, 100, 100, 100, 50}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Bob", "Fay", "Ada", "Cy", "Dee", "Eve"}));

    // Same name, score and text: refused. A different text is a new entry.
    EXPECT_FALSE(AddHighScore(Entry("Cy", 100, "crushed")));
    EXPECT_TRUE(AddHighScore(Entry("Cy", 100, "crushed again")));
    EXPECT_EQ(GetHighScores().size(), 7u);
    EXPECT_EQ(GetHighScores()[5].text, "crushed again");
}

TEST_F(UserFilesTest, FullTableRefusesLowOrEqualScoresAndDropsTheLastForHigher) {
    for (int i = 0; i < 255; ++i) {
        ASSERT_TRUE(AddHighScore(Entry("H" + std::to_string(i), 1000 - i, "t")));
    }
    ASSERT_EQ(GetHighScores().size(), 255u);
    EXPECT_EQ(GetHighScores().back().score, 746);
    EXPECT_FALSE(AddHighScore(Entry("Low", 10, "t")));
    EXPECT_FALSE(AddHighScore(Entry("Equal", 746, "t")));
    EXPECT_TRUE(AddHighScore(Entry("Mid", 900, "t")));
    ASSERT_EQ(GetHighScores().size(), 255u);
    EXPECT_EQ(GetHighScores()[100].name, "H100");  // equal score: the older entry stays first
    EXPECT_EQ(GetHighScores()[101].name, "Mid");
    EXPECT_EQ(GetHighScores().back().score, 747);  // 746 fell off
}

TEST_F(UserFilesTest, SavedFileIsThreeLinesPerEntryInTableOrder) {
    AddHighScore(Entry("Grim the Soggy", 1234, "Killed by a toad on level 3"));
    AddHighScore(Entry("Nell", -5, ""));
    AddHighScore(Entry("Two\nLines", 99, "bad\r\ntext"));
    ASSERT_TRUE(SaveHighScores());
    EXPECT_EQ(ReadAll(dir_ + "hiscores.txt"),
              "Grim the Soggy\n1234\nKilled by a toad on level 3\n"
              "Two Lines\n99\nbad  text\n"
              "Nell\n-5\n\n");

    // Reading it back gives the same table.
    ClearHighScores();
    ASSERT_TRUE(LoadHighScores());
    EXPECT_EQ(Names(), (std::vector<std::string>{"Grim the Soggy", "Two Lines", "Nell"}));
    EXPECT_EQ(Scores(), (std::vector<int32_t>{1234, 99, -5}));
    EXPECT_EQ(GetHighScores()[2].text, "");
}

TEST_F(UserFilesTest, SaveWritesAtMost255Entries) {
    for (int i = 0; i < 255; ++i) AddHighScore(Entry("n", 1000 - i, "t"));
    ASSERT_TRUE(SaveHighScores());
    std::string content = ReadAll(dir_ + "hiscores.txt");
    size_t lines = 0;
    for (char c : content) lines += c == '\n';
    EXPECT_EQ(lines, 255u * 3);
}

TEST_F(UserFilesTest, LoadKeepsFileOrderDropsIncompleteEntryAndReadsJunkScoresAsZero) {
    WriteAll(dir_ + "hiscores.txt",
             "Low\n5\nfirst\n"
             "High\n500\nsecond\n"
             "Junk\nlots\nthird\n"
             "Huge\n99999999999999\nfourth\r\n"
             "Half\n77\n");
    ASSERT_TRUE(LoadHighScores());
    EXPECT_EQ(Names(), (std::vector<std::string>{"Low", "High", "Junk", "Huge"}));
    EXPECT_EQ(Scores(), (std::vector<int32_t>{5, 500, 0, INT32_MAX}));
    EXPECT_EQ(GetHighScores()[3].text, "fourth");

    // Later insertions walk the unsorted table in its order: 100 beats the first entry.
    EXPECT_TRUE(AddHighScore(Entry("New", 100, "x")));
    EXPECT_EQ(GetHighScores()[0].name, "New");
}

TEST_F(UserFilesTest, LoadStopsAt255EntriesAndAMissingFileLeavesAnEmptyTable) {
    std::string content;
    for (int i = 0; i < 300; ++i) content += "n" + std::to_string(i) + "\n" + std::to_string(i) + "\nt\n";
    WriteAll(dir_ + "hiscores.txt", content);
    ASSERT_TRUE(LoadHighScores());
    EXPECT_EQ(GetHighScores().size(), 255u);
    EXPECT_EQ(GetHighScores().back().name, "n254");

    std::remove((dir_ + "hiscores.txt").c_str());
    EXPECT_FALSE(LoadHighScores());
    EXPECT_TRUE(GetHighScores().empty());
}

TEST_F(UserFilesTest, LastBuildDefaultsAndRoundTrip) {
    const std::vector<int32_t> defaults = {0, 1, 2, 3, 4, 5, 6};
    EXPECT_EQ(LoadLastTxt(), defaults);

    ASSERT_TRUE(SaveLastTxt({12, 3, 25, 7, 0, 19, 4, 99}));
    EXPECT_EQ(ReadAll(dir_ + "last.txt"), "12\n3\n25\n7\n0\n19\n4\n");
    EXPECT_EQ(LoadLastTxt(), (std::vector<int32_t>{12, 3, 25, 7, 0, 19, 4}));

    // Missing lines keep their defaults.
    WriteAll(dir_ + "last.txt", "20\n21\n");
    EXPECT_EQ(LoadLastTxt(), (std::vector<int32_t>{20, 21, 2, 3, 4, 5, 6}));
}

TEST_F(UserFilesTest, LastBuildWithHostileValuesFallsBackToTheDefaults) {
    const std::vector<int32_t> defaults = {0, 1, 2, 3, 4, 5, 6};
    struct Case {
        const char* content;
        int32_t skillCount;
    };
    const Case cases[] = {
        {"1\n2\n-3\n4\n5\n6\n7\n", 0},
        {"1\n2\n3\n4\n5\n6\n99999999999\n", 0},
        {"1\n2\n3\n4\n5\n6\n256\n", 0},
        {"1\n2\n3\n40\n5\n6\n7\n", 30},
        {"-2147483648\n", 0},
    };
    for (const Case& c : cases) {
        WriteAll(dir_ + "last.txt", c.content);
        EXPECT_EQ(LoadLastTxt(c.skillCount), defaults) << c.content;
    }
    // In range for the given table size.
    WriteAll(dir_ + "last.txt", "29\n 7 \n8\r\n");
    EXPECT_EQ(LoadLastTxt(30), (std::vector<int32_t>{29, 7, 8, 3, 4, 5, 6}));
}

TEST_F(UserFilesTest, LastBuildWithBlankJunkOrRepeatedCodesFallsBackToTheDefaults) {
    const std::vector<int32_t> defaults = {0, 1, 2, 3, 4, 5, 6};
    const char* const cases[] = {
        "10\n\n12\n13\n14\n15\n16\n",    // a blank line
        "10\n   \n12\n13\n14\n15\n16\n",  // only blanks
        "\n",                               // blank first line
        "10\nabc\n12\n13\n14\n15\n16\n",  // text
        "10\n11x\n12\n13\n14\n15\n16\n",  // a number with junk behind it
        "10\n11\n12\n10\n14\n15\n16\n",   // a code twice
        "9\n9\n9\n9\n9\n9\n9\n",          // one code seven times
        "29\n3\n",                         // repeats a default code of a missing line
    };
    for (const char* content : cases) {
        WriteAll(dir_ + "last.txt", content);
        EXPECT_EQ(LoadLastTxt(30), defaults) << content;
    }
}

TEST_F(UserFilesTest, FailedWritesKeepThePreviousFilesAndAreReported) {
    ASSERT_TRUE(AddHighScore(Entry("Ada", 10, "won")));
    ASSERT_TRUE(SaveHighScores());
    ASSERT_TRUE(SaveLastTxt({10, 11, 12, 13, 14, 15, 16}));
    const std::string scores = ReadAll(dir_ + "hiscores.txt");
    const std::string last = ReadAll(dir_ + "last.txt");

    ASSERT_TRUE(AddHighScore(Entry("Bo", 20, "died")));
    SetAtomicWriteHook([](AtomicWriteStep step, const std::string&) {
        return step != AtomicWriteStep::Sync;  // as a full disk shows itself
    });
    EXPECT_FALSE(SaveHighScores());
    EXPECT_FALSE(SaveLastTxt({20, 21, 22, 23, 24, 25, 26}));
    SetAtomicWriteHook(nullptr);
    EXPECT_EQ(ReadAll(dir_ + "hiscores.txt"), scores);
    EXPECT_EQ(ReadAll(dir_ + "last.txt"), last);

    // Without a usable user folder nothing is written anywhere, the working directory included.
    WriteAll(dir_ + "plain", "x");
    ScopedEnv blocked("VAULTMERE_USER_DIR", (dir_ + "plain").c_str());
    TempDir work;
    ScopedWorkingDir cwd(work.path());
    ASSERT_TRUE(cwd.ok());
    EXPECT_FALSE(SaveHighScores());
    EXPECT_FALSE(SaveLastTxt({20, 21, 22, 23, 24, 25, 26}));
    EXPECT_FALSE(FileExists(work.file("hiscores.txt")));
    EXPECT_FALSE(FileExists(work.file("last.txt")));
    std::remove((dir_ + "plain").c_str());
}

}  // namespace
