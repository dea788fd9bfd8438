#include "core/text_db.h"

#include <gtest/gtest.h>
#include <physfs.h>
#include <stdlib.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "core/random.h"
#include "platform/vfs.h"

namespace {

bool LoadText(const std::string& xml) {
    return LoadTextDBFromBuffer(xml.data(), xml.size(), "test");
}

// One word in every list the generators use.
const char* const kOneWordEach =
    "<textdb>"
    "<title text='Bane of'/>"
    "<adjective text='Soggy'/>"
    "<noun text='toad' plural='Toads'/>"
    "<architecture text='Crypt' plural='Crypts'/>"
    "<verb text='topple' past='toppled' continuous='toppling'/>"
    "</textdb>";

class TextDBTest : public ::testing::Test {
protected:
    void SetUp() override { ClearTextDB(); }
    void TearDown() override { ClearTextDB(); }
};

TEST_F(TextDBTest, ElementsFillTheirListsAndParallelListsStayAligned) {
    ASSERT_TRUE(LoadText(
        "<textdb>"
        "<material text='bog iron'/><quality text='weeping'/><decor text='skulls'/>"
        "<startPhoneme text='Gr'/><phoneme text='ub'/><insult text='Boo!'/>"
        "<ichor text='gloop'/><random text='A drip.'/><title text='Keeper of'/>"
        "<adjective text='Murky'/>"
        "<verb text='sulk' past='sulked'/>"
        "<architecture text='Vault'/>"
        "<noun text='owl' plural='Owls' floor='f_owl' painting='p_owl' statue=''/>"
        "<noun plural='Eels'/>"
        "<unknown text='ignored'/>"
        "</textdb>"));
    const TextDB& db = GetTextDB();
    EXPECT_EQ(db.materials, std::vector<std::string>{"bog iron"});
    EXPECT_EQ(db.qualities, std::vector<std::string>{"weeping"});
    EXPECT_EQ(db.decor, std::vector<std::string>{"skulls"});
    EXPECT_EQ(db.startPhonemes, std::vector<std::string>{"Gr"});
    EXPECT_EQ(db.phonemes, std::vector<std::string>{"ub"});
    EXPECT_EQ(db.insults, std::vector<std::string>{"Boo!"});
    EXPECT_EQ(db.ichors, std::vector<std::string>{"gloop"});
    EXPECT_EQ(db.randomLines, std::vector<std::string>{"A drip."});
    EXPECT_EQ(db.titles, std::vector<std::string>{"Keeper of"});
    EXPECT_EQ(db.adjectives, std::vector<std::string>{"Murky"});
    // Missing attributes append "" so parallel lists keep their pairing.
    EXPECT_EQ(db.verbs, std::vector<std::string>{"sulk"});
    EXPECT_EQ(db.verbsPast, std::vector<std::string>{"sulked"});
    EXPECT_EQ(db.verbsContinuous, std::vector<std::string>{""});
    EXPECT_EQ(db.architecture, std::vector<std::string>{"Vault"});
    EXPECT_EQ(db.architecturePlurals, std::vector<std::string>{""});
    EXPECT_EQ(db.nouns, (std::vector<std::string>{"owl", ""}));
    EXPECT_EQ(db.nounPlurals, (std::vector<std::string>{"Owls", "Eels"}));
    // Descriptions in the order painting, statue, floor; empty ones are skipped.
    ASSERT_EQ(db.nounDescriptions.size(), 2u);
    EXPECT_EQ(db.nounDescriptions[0].noun, "owl");
    EXPECT_EQ(db.nounDescriptions[0].kind, kNounPainting);
    EXPECT_EQ(db.nounDescriptions[0].description, "p_owl");
    EXPECT_EQ(db.nounDescriptions[1].kind, kNounFloor);
    EXPECT_EQ(db.nounDescriptions[1].description, "f_owl");
}

TEST_F(TextDBTest, HelpBlocksKeepFileOrderPerPanel) {
    ASSERT_TRUE(LoadText(
        "<textdb>"
        "<tooltip panel='damages' name='crushing' text='Thud.' x='1' y='2' w='3' h='4'/>"
        "<questionblock panel='equip' name='q' text='Help' x='-7' y='junk' w='14'/>"
        "<tooltip panel='damages' name='slashing' text='Snick.'/>"
        "</textdb>"));
    const std::vector<TextBlock>& damages = GetTooltipBlocks("damages");
    ASSERT_EQ(damages.size(), 2u);
    EXPECT_EQ(damages[0].name, "crushing");
    EXPECT_EQ(damages[0].text, "Thud.");
    EXPECT_EQ(damages[0].x, 1);
    EXPECT_EQ(damages[0].y, 2);
    EXPECT_EQ(damages[0].w, 3);
    EXPECT_EQ(damages[0].h, 4);
    EXPECT_EQ(damages[1].name, "slashing");

    const std::vector<TextBlock>& equip = GetQuestionBlocks("equip");
    ASSERT_EQ(equip.size(), 1u);
    EXPECT_EQ(equip[0].x, -7);
    EXPECT_EQ(equip[0].y, 0);  // not a number
    EXPECT_EQ(equip[0].w, 14);
    EXPECT_EQ(equip[0].h, 0);  // missing

    // Tooltips and question blocks are separate maps; unknown panels are empty.
    EXPECT_TRUE(GetQuestionBlocks("damages").empty());
    EXPECT_TRUE(GetTooltipBlocks("nowhere").empty());
    EXPECT_TRUE(GetQuestionBlocks(nullptr).empty());
}

TEST_F(TextDBTest, LaterFilesAddToTheListsAndReplaceNothing) {
    ASSERT_TRUE(LoadText("<t><ichor text='gloop'/><tooltip panel='p' name='a'/></t>"));
    ASSERT_TRUE(LoadText("<t><ichor text='slime'/><tooltip panel='p' name='b'/></t>"));
    EXPECT_EQ(GetTextDB().ichors, (std::vector<std::string>{"gloop", "slime"}));
    ASSERT_EQ(GetTooltipBlocks("p").size(), 2u);
    EXPECT_EQ(GetTooltipBlocks("p")[1].name, "b");
}

TEST_F(TextDBTest, BrokenXmlKeepsWhatCameBeforeAndSaysWhere) {
    const char* const broken[] = {
        "<t><ichor text='gloop'/><ichor text='ooze'></t>",
        "<t><ichor text='gloop'/><ichor text='a & b'/></t>",
        "<t><ichor text='gloop'/>",
    };
    for (const char* xml : broken) {
        ClearTextDB();
        testing::internal::CaptureStdout();
        EXPECT_FALSE(LoadText(xml)) << xml;
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("LoadTextDB: test:"), std::string::npos) << out;
        EXPECT_NE(out.find("line 1"), std::string::npos) << out;
        ASSERT_FALSE(GetTextDB().ichors.empty()) << xml;
        EXPECT_EQ(GetTextDB().ichors[0], "gloop");
    }
    testing::internal::CaptureStdout();
    EXPECT_FALSE(LoadTextDBFromBuffer("", 0, "empty"));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("empty"), std::string::npos);
}

TEST_F(TextDBTest, ReadsThroughTheVirtualFileSystemAndSkipsMissingFiles) {
    char tmpl[] = "/tmp/vaultmere_textdb_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string dir = tmpl;
    {
        std::ofstream out(dir + "/Text.XML");
        out << "<t><random text='Something squelches.'/></t>";
    }
    bool ownInit = !PHYSFS_isInit();
    if (ownInit) {
        ASSERT_NE(PHYSFS_init(nullptr), 0);
    }
    ASSERT_NE(PHYSFS_mount(dir.c_str(), "textdbtest", 0), 0);

    testing::internal::CaptureStdout();
    EXPECT_FALSE(LoadTextDB("textdbtest//nothere.xml"));
    EXPECT_FALSE(LoadTextDB(nullptr));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");  // missing files are skipped quietly
    EXPECT_TRUE(LoadTextDB("textdbtest//text.xml"));      // found ignoring case
    EXPECT_EQ(GetTextDB().randomLines, std::vector<std::string>{"Something squelches."});

    PHYSFS_unmount(dir.c_str());
    if (ownInit) PHYSFS_deinit();
    std::remove((dir + "/Text.XML").c_str());
    std::remove(dir.c_str());
}

TEST_F(TextDBTest, OrdinalSuffixes) {
    const struct {
        int32_t n;
        const char* suffix;
    } cases[] = {{0, "th"},   {1, "st"},   {2, "nd"},   {3, "rd"},   {4, "th"},   {9, "th"},
                 {10, "th"},  {11, "th"},  {12, "th"},  {13, "th"},  {19, "th"},  {21, "st"},
                 {22, "nd"},  {23, "rd"},  {91, "st"},  {99, "th"},  {101, "st"}, {111, "th"},
                 {112, "th"}, {213, "th"}, {-1, "st"},  {-12, "th"}, {INT32_MIN, "th"}};
    for (const auto& c : cases) EXPECT_STREQ(OrdinalSuffix(c.n), c.suffix) << c.n;
}

TEST_F(TextDBTest, ArmyNameWithOneWordListsAndFixedSeeds) {
    ASSERT_TRUE(LoadText(kOneWordEach));
    const struct {
        uint32_t seed;
        const char* name;
    } cases[] = {
        {89, "Lord Zarnoch's 1st regiment, the Bane of toad"},
        {190, "Lord Zarnoch's 2nd cohort, the Soggy Toads"},
        {290, "Lord Zarnoch's 3rd regiment, the Bane of toad"},
        {1094, "Lord Zarnoch's 11th platoon, the Soggy Toads"},
        {1194, "Lord Zarnoch's 12th brigade, the Soggy Toads"},
        {1294, "Lord Zarnoch's 13th flank, the Soggy Toads"},
        {2098, "Lord Zarnoch's 21st regiment, the Bane of toad"},
        {2198, "Lord Zarnoch's 22nd company, the Bane of toad"},
        {9129, "Lord Zarnoch's 91st flank, the Bane of toad"},
    };
    for (const auto& c : cases) {
        CSRand(c.seed);
        MTSeed(c.seed);
        EXPECT_EQ(MakeRandomArmyName(), c.name) << c.seed;
    }
}

TEST_F(TextDBTest, TitleWithoutAdjectiveAlwaysNamesItsNoun) {
    ASSERT_TRUE(LoadText(kOneWordEach));
    std::set<std::string> seen;
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        CSRand(seed);
        MTSeed(seed);
        std::string title, noun;
        MakeRandomTitle(title, noun);
        seen.insert(title);
        bool hasNoun = title.size() > 9 && title.compare(title.size() - 9, 9, " of Toads") == 0;
        EXPECT_EQ(noun, hasNoun ? "Toads" : "") << title;
        if (title.compare(0, 10, "The Soggy ") != 0) {
            EXPECT_TRUE(hasNoun) << title;
        }
    }
    const std::set<std::string> all = {
        "The Soggy Crypt",          "The Soggy Crypts",  "The Soggy Crypt of Toads",
        "The Soggy Crypts of Toads", "The Crypt of Toads", "The Crypts of Toads"};
    EXPECT_EQ(seen, all);
}

TEST_F(TextDBTest, SimileTakesTheArticleFromTheNoun) {
    const struct {
        const char* noun;
        const char* verbForm;
    } cases[] = {{"toad", "\"She toppled like a toad\""},
                 {"owl", "\"She toppled like an owl\""},
                 {"Imp", "\"She toppled like an Imp\""},
                 {"undertakers", "\"She toppled like an undertakers\""}};
    for (const auto& c : cases) {
        ClearTextDB();
        std::string xml = std::string("<t><title text='Bane of'/><verb past='toppled'/><noun text='") +
                          c.noun + "'/></t>";
        ASSERT_TRUE(LoadText(xml));
        std::set<std::string> seen;
        for (uint32_t seed = 1; seed <= 64; ++seed) {
            MTSeed(seed);
            std::string out;
            MakeRandomSimile(out, true);
            seen.insert(out);
        }
        const std::set<std::string> both = {std::string("\"The Bane of ") + c.noun + "\"", c.verbForm};
        EXPECT_EQ(seen, both);
    }
    ClearTextDB();
    ASSERT_TRUE(LoadText(kOneWordEach));
    MTSeed(190);  // the first coin fails: the verb form
    std::string out;
    MakeRandomSimile(out, false);
    EXPECT_EQ(out, "\"He toppled like a toad\"");
}

TEST_F(TextDBTest, EmptyListsGiveEmptyWordsWithoutDrawing) {
    CSRand(5);
    int expectedFirst = CRand();
    CSRand(5);
    EXPECT_EQ(PickRandomWord({}), "");
    EXPECT_EQ(CRand(), expectedFirst);

    for (uint32_t seed = 1; seed <= 20; ++seed) {
        CSRand(seed);
        MTSeed(seed);
        std::string army = MakeRandomArmyName();
        EXPECT_EQ(army.compare(0, 15, "Lord Zarnoch's "), 0);
        EXPECT_EQ(army.substr(army.size() - 7), ", the  ");
        std::string title, noun, simile;
        MakeRandomTitle(title, noun);
        EXPECT_TRUE(title == "The  " || title == "The  of " || title == "The   of ")
            << title;
        MakeRandomSimile(simile, seed % 2 == 0);
        EXPECT_TRUE(simile == "\"The  \"" || simile == "\"He  like a \"" || simile == "\"She  like a \"")
            << simile;
    }
}

TEST(TextDBDataTest, ShippedTextFileFillsEveryList) {
    std::ifstream in(std::string(VAULTMERE_SOURCE_DIR) + "/data/game/text.xml", std::ios::binary);
    ASSERT_TRUE(in.good());
    std::stringstream ss;
    ss << in.rdbuf();
    std::string xml = ss.str();
    ClearTextDB();
    ASSERT_TRUE(LoadTextDBFromBuffer(xml.data(), xml.size(), "text.xml"));
    const TextDB& db = GetTextDB();
    const std::vector<std::string>* lists[] = {
        &db.materials, &db.verbs,     &db.verbsPast,     &db.verbsContinuous, &db.adjectives,
        &db.architecture, &db.architecturePlurals, &db.qualities, &db.startPhonemes,
        &db.phonemes,  &db.insults,   &db.ichors,        &db.randomLines,     &db.decor,
        &db.titles,    &db.nouns,     &db.nounPlurals};
    for (const auto* list : lists) {
        ASSERT_FALSE(list->empty());
        for (const std::string& word : *list) EXPECT_FALSE(word.empty());
    }
    EXPECT_FALSE(db.nounDescriptions.empty());
    for (const char* panel : {"bottomthing", "bottomthing2x", "config", "equip"}) {
        EXPECT_FALSE(GetQuestionBlocks(panel).empty()) << panel;
    }
    EXPECT_EQ(GetTooltipBlocks("damages").size(), 16u);
    EXPECT_EQ(GetTooltipBlocks("resistances").size(), 16u);
    ClearTextDB();
}

}  // namespace
