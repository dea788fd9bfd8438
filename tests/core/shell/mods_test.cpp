// The mods folder: discovery, "mod.xml", loading enabled mods and their mount order.
#include <algorithm>

#include "core/command_state.h"
#include "core/text_db.h"

#include "tests/core/user_config_fixture.h"

namespace {

std::string ModXml(const std::string& name, const std::string& description, bool closed = true) {
    std::string text = "<zarnochmod>\n  <name text=\"" + name + "\"/>\n  <author text=\"someone\"/>\n";
    if (!description.empty()) text += "  <description text=\"" + description + "\"/>\n";
    if (closed) text += "</zarnochmod>\n";
    return text;
}

std::vector<std::string> SearchPath() {
    std::vector<std::string> out;
    char** list = PHYSFS_getSearchPath();
    for (char** p = list; p && *p; ++p) out.push_back(*p);
    PHYSFS_freeList(list);
    return out;
}

class ModsTest : public UserConfigTest {
protected:
    void TearDown() override {
        for (const ModRecord& m : ModList) PHYSFS_unmount(m.path.c_str());
        UserConfigTest::TearDown();
    }
};

}  // namespace

TEST_F(ModsTest, ScanListsOnlyValidModsAndLeavesNothingMounted) {
    WriteUserFile("mods/a_first/mod/mod.xml", ModXml("First", "The first one"));
    WriteUserFile("mods/b_unclosed/mod/mod.xml", ModXml("Unclosed", "x", false));
    WriteUserFile("mods/c_empty/mod/readme.txt", "no description here");
    WriteUserFile("mods/d_case/MOD/Mod.XML", ModXml("Shouting", ""));
    WriteUserFile("mods/e_broken/mod/mod.xml", "<zarnochmod><name text=\"Broken\"/>");
    WriteUserFile("mods/f_plain.txt", "not a folder");
    WriteUserFile("mods/g_zip.zip",
                  BuildStoredZip({{"mod/mod.xml", ModXml("Zipped", "In an archive")}}));
    const std::vector<std::string> before = SearchPath();

    testing::internal::CaptureStdout();
    LoadMods();
    const std::string out = testing::internal::GetCapturedStdout();

    ASSERT_EQ(ModList.size(), 3u) << out;
    EXPECT_EQ(ModList[0].name, "First");
    EXPECT_EQ(ModList[0].author, "someone");
    EXPECT_EQ(ModList[0].description, "The first one");
    EXPECT_EQ(ModList[0].path, UserFile("mods/a_first"));
    EXPECT_EQ(ModList[0].enabled, 0);
    EXPECT_EQ(ModList[0].workshopId, 0u);
    EXPECT_EQ(ModList[1].name, "Shouting");
    EXPECT_EQ(ModList[1].description, "");  // not the previous mod's text
    EXPECT_EQ(ModList[2].name, "Zipped");
    EXPECT_NE(out.find(UserFile("mods/a_first") + "\n"), std::string::npos);
    EXPECT_NE(out.find("result is no good!"), std::string::npos);  // the plain file
    EXPECT_EQ(SearchPath(), before);
}

TEST_F(ModsTest, NoModsFolderGivesAnEmptyList) {
    ModList.push_back(ModRecord{"/stale", "Stale", "", "", 1, 0});
    LoadMods();
    EXPECT_TRUE(ModList.empty());
}

TEST_F(ModsTest, ModXmlTextParsing) {
    struct Case {
        const char* text;
        bool valid;
        const char* name;
    } cases[] = {
        {"<zarnochmod><name text=\"A\"/></zarnochmod>", true, "A"},
        {"<zarnochmod><name text=\"A\"/>", false, "A"},
        {"<other><name text=\"A\"/></other>", false, "A"},
        {"<zarnochmod><name/></zarnochmod>", true, ""},
        {"<zarnochmod><name text=\"A &amp; B\"/></zarnochmod>trailing", true, "A & B"},
        {"", false, ""},
        {"<<<", false, ""},
    };
    for (const Case& c : cases) {
        ModRecord r;
        EXPECT_EQ(ParseModXmlText(c.text, strlen(c.text), r), c.valid) << c.text;
        EXPECT_EQ(r.name, c.name) << c.text;
    }
}

TEST_F(ModsTest, ModXmlOfAnotherMountDoesNotCount) {
    WriteUserFile("mods/other/mod/mod.xml", ModXml("Other", ""));
    WriteUserFile("mods/mine/data.txt", "x");
    ASSERT_NE(PHYSFS_mount(UserFile("mods/other").c_str(), "/", 1), 0);
    ASSERT_NE(PHYSFS_mount(UserFile("mods/mine").c_str(), "/", 1), 0);
    std::vector<ModRecord> list;
    EXPECT_EQ(ParseModXml(list, UserFile("mods/mine"), 7), 1);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(ParseModXml(list, UserFile("mods/other"), 7), 1);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].workshopId, 7u);
    PHYSFS_unmount(UserFile("mods/other").c_str());
    PHYSFS_unmount(UserFile("mods/mine").c_str());
}

TEST_F(ModsTest, EnabledModsAreMountedInFrontLaterFirst) {
    WriteUserFile("mods/m1/mod/mod.xml", ModXml("One", ""));
    WriteUserFile("mods/m2/mod/mod.xml", ModXml("Two", ""));
    WriteUserFile("mods/m3/mod/mod.xml", ModXml("Three", ""));
    for (const char* m : {"m1", "m2", "m3"}) {
        WriteUserFile(std::string("mods/") + m + "/mod/text.xml",
                      std::string("<text><material text='") + m + " ore'/></text>");
    }
    WriteUserFile("config.xml", "<config><mod name=\"One\" /><mod name=\"Three\" /></config>");
    ClearTextDB();
    LoadMods();
    LoadConfig();
    ASSERT_EQ(ModList.size(), 3u);
    EXPECT_EQ(ModList[0].enabled, 1);
    EXPECT_EQ(ModList[1].enabled, 0);
    EXPECT_EQ(ModList[2].enabled, 1);

    const std::vector<std::string> before = SearchPath();
    ReallyLoadMods();
    EXPECT_EQ(ModsLoaded, 1);
    // Each enabled mod's databases were read, in list order.
    EXPECT_EQ(GetTextDB().materials, (std::vector<std::string>{"m1 ore", "m3 ore"}));
    ClearTextDB();
    const std::vector<std::string> after = SearchPath();
    ASSERT_EQ(after.size(), before.size() + 2);
    EXPECT_EQ(after[0], UserFile("mods/m3"));
    EXPECT_EQ(after[1], UserFile("mods/m1"));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin() + 2));
    EXPECT_EQ(std::count(after.begin(), after.end(), UserFile("mods/m2")), 0);
}

TEST_F(ModsTest, ModOfTheConfigurationWhoseFolderIsGoneIsDropped) {
    WriteUserFile("mods/m1/mod/mod.xml", ModXml("One", ""));
    WriteUserFile("config.xml", "<config><mod name=\"One\" /><mod name=\"Gone\" /></config>");
    LoadMods();
    LoadConfig();
    WriteConfig();
    const std::string file = ReadUserFile("config.xml");
    EXPECT_NE(file.find("<mod name=\"One\" />\n</config>\n"), std::string::npos);
    EXPECT_EQ(file.find("Gone"), std::string::npos);
}

TEST(IsPointInRect, EdgesAreInside) {
    SDL_Rect r{};
    r.x = 10;
    r.y = 20;
    r.w = 30;
    r.h = 40;
    struct Case {
        int x, y;
        bool inside;
    } cases[] = {{10, 20, true}, {40, 60, true}, {25, 40, true},  {9, 20, false},
                 {41, 20, false}, {10, 19, false}, {10, 61, false}, {-5, -5, false}};
    for (const Case& c : cases) EXPECT_EQ(IsPointInRect(c.x, c.y, r), c.inside) << c.x << "," << c.y;
    SDL_Rect wide{};
    wide.x = 30000;
    wide.w = 65535;
    EXPECT_TRUE(IsPointInRect(95535, 0, wide));  // no 16-bit wrap-around
}

TEST_F(ModsTest, LauncherStandInAppliesTheChosenModeSafelyAndWritesTheFile) {
    LoadConfig();
    currentResolution = 0;
    LaunchInitialConfig();  // empty mode list
    EXPECT_EQ(CmdLine.screenWidth, 1280);
    EXPECT_EQ(CmdLine.screenHeight, 720);
    EXPECT_TRUE(FileExists(UserFile("config.xml")));
    SetModeList(2);
    currentResolution = 1;
    LaunchInitialConfig();
    EXPECT_EQ(CmdLine.screenWidth, 1856);
    EXPECT_EQ(RunModLauncher(), 1);
}
