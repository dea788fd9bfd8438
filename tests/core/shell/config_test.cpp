// The configuration file: its exact format, reading it back, the old line-based file,
// hostile values, and command-line overrides that must stay out of it.
#include <climits>
#include <cstdio>

#include "core/command_state.h"
#include "levels/tutorial.h"
#include "platform/atomic_file.h"
#include "tests/core/user_config_fixture.h"

namespace {

const char* const kDefaultConfig =
    "<config>\n"
    "<setting name=\"currentResolution\" value=\"0\"/>\n"
    "<setting name=\"useFullscreen\" value=\"0\"/>\n"
    "<setting name=\"smoothScaling\" value=\"1\"/>\n"
    "<setting name=\"enableSteamCloud\" value=\"1\"/>\n"
    "<setting name=\"enableSteamWorkshop\" value=\"1\"/>\n"
    "<setting name=\"enableColourBlind\" value=\"0\"/>\n"
    "<setting name=\"enableMusic\" value=\"1\"/>\n"
    "<setting name=\"enableSound\" value=\"1\"/>\n"
    "<setting name=\"DisableClickToMove\" value=\"0\"/>\n"
    "<setting name=\"SFXVolume\" value=\"100\"/>\n"
    "<setting name=\"VolumeMusic\" value=\"100\"/>\n"
    "<setting name=\"AutoLoot\" value=\"0\"/>\n"
    "<setting name=\"AutoClick\" value=\"0\"/>\n"
    "<setting name=\"WASDActive\" value=\"0\"/>\n"
    "<setting name=\"completedATutorial\" value=\"0\"/>\n"
    "<setting name=\"minimapSize\" value=\"0\"/>\n"
    "<setting name=\"use2XUI\" value=\"0\"/>\n"
    "<setting name=\"currentGenderChoice\" value=\"0\"/>\n"
    "<keybinding pos=\"0\" value=\"119\" mod=\"0\"/>\n"
    "<keybinding pos=\"1\" value=\"115\" mod=\"0\"/>\n"
    "<keybinding pos=\"2\" value=\"97\" mod=\"0\"/>\n"
    "<keybinding pos=\"3\" value=\"100\" mod=\"0\"/>\n"
    "<keybinding pos=\"4\" value=\"32\" mod=\"0\"/>\n"
    "<keybinding pos=\"5\" value=\"107\" mod=\"0\"/>\n"
    "<keybinding pos=\"6\" value=\"105\" mod=\"0\"/>\n"
    "<keybinding pos=\"7\" value=\"99\" mod=\"0\"/>\n"
    "<keybinding pos=\"8\" value=\"109\" mod=\"0\"/>\n"
    "<keybinding pos=\"9\" value=\"113\" mod=\"0\"/>\n"
    "<keybinding pos=\"alchemy\" value=\"49\" mod=\"768\"/>\n"
    "<keybinding pos=\"grinder\" value=\"50\" mod=\"768\"/>\n"
    "<keybinding pos=\"hidden_anim_speed_double\" value=\"61\" mod=\"0\"/>\n"
    "<keybinding pos=\"hidden_anim_speed_halve\" value=\"45\" mod=\"0\"/>\n"
    "<keybinding pos=\"ingot\" value=\"51\" mod=\"768\"/>\n"
    "<keybinding pos=\"lutefisk\" value=\"52\" mod=\"768\"/>\n"
    "<keybinding pos=\"smithing\" value=\"53\" mod=\"768\"/>\n"
    "<keybinding pos=\"still\" value=\"54\" mod=\"768\"/>\n"
    "<keybinding pos=\"tinkerer\" value=\"55\" mod=\"768\"/>\n"
    "<autoloot pos=\"0\" value=\"0\"/>\n"
    "<autoloot pos=\"1\" value=\"0\"/>\n"
    "<autoloot pos=\"2\" value=\"0\"/>\n"
    "<autoloot pos=\"3\" value=\"0\"/>\n"
    "<autoloot pos=\"4\" value=\"0\"/>\n"
    "<autoloot pos=\"5\" value=\"0\"/>\n"
    "<autoloot pos=\"6\" value=\"0\"/>\n"
    "<autoloot pos=\"7\" value=\"0\"/>\n"
    "<autoloot pos=\"8\" value=\"0\"/>\n"
    "<autoloot pos=\"9\" value=\"0\"/>\n"
    "<autoloot pos=\"10\" value=\"0\"/>\n"
    "<autoloot pos=\"11\" value=\"0\"/>\n"
    "</config>\n";

// Replaces the first occurrence of `from` in `text`.
std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

void ReloadAndWrite() {
    ResetConfigToDefaults();
    InitKeyBindings();
    LoadConfig();
    WriteConfig();
}

}  // namespace

TEST_F(UserConfigTest, FirstRunWritesTheDefaultFileExactly) {
    LoadMods();
    BuildVideoModeList();
    LoadConfig();
    EXPECT_FALSE(FileExists(UserFile("config.xml")));
    WriteConfig();
    EXPECT_EQ(ReadUserFile("config.xml"), kDefaultConfig);
    EXPECT_FALSE(FileExists(UserFile("config.xml.tmp")));

    // Read again and written again, the file does not change.
    ReloadAndWrite();
    EXPECT_EQ(ReadUserFile("config.xml"), kDefaultConfig);
}

TEST_F(UserConfigTest, EveryValueSurvivesReadAndWrite) {
    SetModeList(3);
    std::string text = kDefaultConfig;
    text = Replace(text, "\"currentResolution\" value=\"0\"", "\"currentResolution\" value=\"2\"");
    text = Replace(text, "\"useFullscreen\" value=\"0\"", "\"useFullscreen\" value=\"1\"");
    text = Replace(text, "\"smoothScaling\" value=\"1\"", "\"smoothScaling\" value=\"0\"");
    text = Replace(text, "\"enableSteamCloud\" value=\"1\"", "\"enableSteamCloud\" value=\"0\"");
    text = Replace(text, "\"enableColourBlind\" value=\"0\"", "\"enableColourBlind\" value=\"1\"");
    text = Replace(text, "\"DisableClickToMove\" value=\"0\"", "\"DisableClickToMove\" value=\"1\"");
    // 29 and 57 read back one lower from the modules' gains; the file must keep them.
    text = Replace(text, "\"SFXVolume\" value=\"100\"", "\"SFXVolume\" value=\"29\"");
    text = Replace(text, "\"VolumeMusic\" value=\"100\"", "\"VolumeMusic\" value=\"57\"");
    text = Replace(text, "\"AutoLoot\" value=\"0\"", "\"AutoLoot\" value=\"1\"");
    text = Replace(text, "\"WASDActive\" value=\"0\"", "\"WASDActive\" value=\"1\"");
    text = Replace(text, "\"completedATutorial\" value=\"0\"", "\"completedATutorial\" value=\"1\"");
    text = Replace(text, "\"minimapSize\" value=\"0\"", "\"minimapSize\" value=\"3\"");
    text = Replace(text, "\"use2XUI\" value=\"0\"", "\"use2XUI\" value=\"1\"");
    text = Replace(text, "\"currentGenderChoice\" value=\"0\"", "\"currentGenderChoice\" value=\"1\"");
    text = Replace(text, "pos=\"0\" value=\"119\" mod=\"0\"", "pos=\"0\" value=\"273\" mod=\"0\"");
    text = Replace(text, "pos=\"4\" value=\"32\" mod=\"0\"", "pos=\"4\" value=\"114\" mod=\"3\"");
    text = Replace(text, "<autoloot pos=\"5\" value=\"0\"/>", "<autoloot pos=\"5\" value=\"1\"/>");
    text = Replace(text, "<autoloot pos=\"11\" value=\"0\"/>", "<autoloot pos=\"11\" value=\"1\"/>");
    WriteUserFile("config.xml", text);

    LoadConfig();
    EXPECT_EQ(currentResolution, 2);
    EXPECT_EQ(minimapSize, 3);
    EXPECT_EQ(&MinimapSize, &minimapSize);
    EXPECT_EQ(completedATutorial, 1);
    EXPECT_EQ(AutoLootSwitches[5], 1);
    EXPECT_EQ(KeyBindingTable["0"].key, 273);
    EXPECT_EQ(KeyBindingTable["0"].character, 273);
    EXPECT_TRUE(CmdLine.fullScreen);
    WriteConfig();
    EXPECT_EQ(ReadUserFile("config.xml"), text);
}

TEST_F(UserConfigTest, OldConfigTxtIsConvertedOnce) {
    SetModeList(3);
    WriteUserFile("config.txt", "2\r\n1\r\n40\r\n60\r\n");
    LoadConfig();
    EXPECT_EQ(currentResolution, 2);
    EXPECT_EQ(useFullscreen, 1);
    EXPECT_EQ(ConfiguredMusicVolume(), 40);
    EXPECT_EQ(ConfiguredSFXVolume(), 60);
    std::string expected = kDefaultConfig;
    expected = Replace(expected, "\"currentResolution\" value=\"0\"", "\"currentResolution\" value=\"2\"");
    expected = Replace(expected, "\"useFullscreen\" value=\"0\"", "\"useFullscreen\" value=\"1\"");
    expected = Replace(expected, "\"SFXVolume\" value=\"100\"", "\"SFXVolume\" value=\"60\"");
    expected = Replace(expected, "\"VolumeMusic\" value=\"100\"", "\"VolumeMusic\" value=\"40\"");
    EXPECT_EQ(ReadUserFile("config.xml"), expected);

    // From now on the old file is never read again.
    WriteUserFile("config.txt", "1\n0\n5\n5\n");
    ResetRunState();
    SetModeList(3);
    LoadConfig();
    EXPECT_EQ(currentResolution, 2);
    EXPECT_EQ(ConfiguredSFXVolume(), 60);
}

TEST_F(UserConfigTest, ShortConfigTxtLeavesTheMissingValuesAlone) {
    WriteUserFile("config.txt", "0\n1");
    LoadConfig();
    EXPECT_EQ(useFullscreen, 1);
    EXPECT_EQ(ConfiguredMusicVolume(), 100);
    EXPECT_EQ(ConfiguredSFXVolume(), 100);
    EXPECT_TRUE(FileExists(UserFile("config.xml")));
}

TEST_F(UserConfigTest, BadAutoLootPositionsAndUnknownModsAreDroppedOnWrite) {
    ModList.push_back(ModRecord{"/somewhere/real", "Real Mod", "", "", 0, 0});
    WriteUserFile("config.xml",
                  "<config>\n"
                  "<autoloot pos=\"3\" value=\"1\"/>\n"
                  "<autoloot pos=\"12\" value=\"1\"/>\n"
                  "<autoloot pos=\"-1\" value=\"1\"/>\n"
                  "<autoloot pos=\"4294967296\" value=\"1\"/>\n"
                  "<autoloot pos=\"-2147483649\" value=\"1\"/>\n"
                  "<mod name=\"Ghost Mod\" />\n"
                  "<mod name=\"Real Mod\" />\n"
                  "</config>\n");
    LoadConfig();
    for (int i = 0; i < kAutoLootCount; ++i) EXPECT_EQ(AutoLootSwitches[i], i == 3 ? 1 : 0) << i;
    EXPECT_EQ(ModList[0].enabled, 1);
    WriteConfig();
    std::string expected = kDefaultConfig;
    expected = Replace(expected, "<autoloot pos=\"3\" value=\"0\"/>", "<autoloot pos=\"3\" value=\"1\"/>");
    expected = Replace(expected, "</config>\n", "<mod name=\"Real Mod\" />\n</config>\n");
    EXPECT_EQ(ReadUserFile("config.xml"), expected);
}

TEST_F(UserConfigTest, NamesFromUserFilesAreEscapedAndReadBack) {
    const std::string hostile = "Tom & \"Jerry\" <b>'s\tmod";
    ModList.push_back(ModRecord{"/somewhere/a", hostile, "", "", 1, 0});
    ModList.push_back(ModRecord{"/somewhere/b", "plain", "", "", 0, 0});
    LoadConfig();
    ModList[0].enabled = 1;
    WriteConfig();
    const std::string file = ReadUserFile("config.xml");
    EXPECT_NE(file.find("<mod name=\"Tom &amp; &quot;Jerry&quot; &lt;b&gt;&apos;s&#9;mod\" />\n"),
              std::string::npos)
        << file;

    ModList[0].enabled = 0;
    ReloadAndWrite();
    EXPECT_EQ(ModList[0].enabled, 1);
    EXPECT_EQ(ModList[1].enabled, 0);
    EXPECT_EQ(ReadUserFile("config.xml"), file);
}

TEST(XmlEscapeAttribute, EscapesMarkupAndDropsControlCharacters) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"plain name", "plain name"},
        {"a&b", "a&amp;b"},
        {"<x>", "&lt;x&gt;"},
        {"say \"hi\"", "say &quot;hi&quot;"},
        {"it's", "it&apos;s"},
        {"two\nlines\r", "two&#10;lines&#13;"},
        {"bell\x07", "bell"},
        {"caf\xC3\xA9", "caf\xC3\xA9"},
    };
    for (const Case& c : cases) EXPECT_EQ(XmlEscapeAttribute(c.in), c.out) << c.in;
}

TEST_F(UserConfigTest, CommandLineOverridesNeverReachTheFile) {
    std::string text = kDefaultConfig;
    text = Replace(text, "\"useFullscreen\" value=\"0\"", "\"useFullscreen\" value=\"1\"");
    text = Replace(text, "\"SFXVolume\" value=\"100\"", "\"SFXVolume\" value=\"40\"");
    text = Replace(text, "\"VolumeMusic\" value=\"100\"", "\"VolumeMusic\" value=\"70\"");
    WriteUserFile("config.xml", text);

    // -w -nomusic -nosound
    CmdLine.windowForced = true;
    CmdLine.music = false;
    CmdLine.sound = false;
    LoadConfig();
    EXPECT_EQ(useFullscreen, 1);
    EXPECT_FALSE(CmdLine.fullScreen);
    EXPECT_FALSE(EffectiveFullscreen());
    EXPECT_FALSE(EffectiveMusicEnabled());
    EXPECT_FALSE(EffectiveSoundEnabled());
    EXPECT_EQ(MusicFlag, 0);
    EXPECT_EQ(SoundEnabled, 0);
    EXPECT_FALSE(GetStartupScreenSettings(true).fullScreen);
    WriteConfig();
    EXPECT_EQ(ReadUserFile("config.xml"), text);

    // The next run without the options gets the user's own values back.
    ResetRunState();
    LoadConfig();
    EXPECT_TRUE(CmdLine.fullScreen);
    EXPECT_EQ(MusicFlag, 1);
    EXPECT_EQ(SoundEnabled, 1);
    EXPECT_EQ(ConfiguredSFXVolume(), 40);
    EXPECT_EQ(ConfiguredMusicVolume(), 70);
}

TEST_F(UserConfigTest, ConfigurationSwitchesAudioOffAndDropsItsVolumes) {
    WriteUserFile("config.xml",
                  "<config>\n"
                  "<setting name=\"enableMusic\" value=\"0\"/>\n"
                  "<setting name=\"enableSound\" value=\"0\"/>\n"
                  "<setting name=\"SFXVolume\" value=\"12\"/>\n"
                  "<setting name=\"VolumeMusic\" value=\"13\"/>\n"
                  "</config>\n");
    LoadConfig();
    EXPECT_EQ(MusicFlag, 0);
    EXPECT_EQ(SoundEnabled, 0);
    EXPECT_FALSE(EffectiveMusicEnabled());
    WriteConfig();
    const std::string file = ReadUserFile("config.xml");
    EXPECT_EQ(file.find("SFXVolume"), std::string::npos);
    EXPECT_EQ(file.find("VolumeMusic"), std::string::npos);
    EXPECT_NE(file.find("<setting name=\"enableSound\" value=\"0\"/>\n"), std::string::npos);

    // Sound switched back on later: the volume applied is not the dropped one.
    enableSound = 1;
    SyncAudioSwitches();
    EXPECT_EQ(SoundEnabled, 1);
    EXPECT_EQ(GetSFXVolume(), 100);
}

TEST_F(UserConfigTest, ValuesFromTheFileAreRangeChecked) {
    struct Case {
        const char* setting;
        const char* value;
        int32_t* target;
        int32_t expected;
    } cases[] = {
        {"currentResolution", "3", &currentResolution, 0},   // equal to the mode count
        {"currentResolution", "2", &currentResolution, 2},   // the last mode survives
        {"currentResolution", "-1", &currentResolution, 0},
        {"currentResolution", "99999999999", &currentResolution, 0},
        {"minimapSize", "7", &minimapSize, 0},
        {"minimapSize", "-1", &minimapSize, 0},
        {"minimapSize", "2", &minimapSize, 2},
        {"currentGenderChoice", "5", &currentGenderChoice, 0},
        {"currentGenderChoice", "1", &currentGenderChoice, 1},
        {"use2XUI", "abc", &use2XUI, 0},
        {"WASDActive", "-99999999999", &WASDActive, INT32_MIN},
    };
    for (const Case& c : cases) {
        ResetRunState();
        SetModeList(3);
        WriteUserFile("config.xml", std::string("<config><setting name=\"") + c.setting +
                                        "\" value=\"" + c.value + "\"/></config>");
        LoadConfig();
        EXPECT_EQ(*c.target, c.expected) << c.setting << " = " << c.value;
    }

    struct VolumeCase {
        const char* value;
        int32_t expected;
    } volumes[] = {{"150", 100}, {"-5", 0}, {"29", 29}, {"x", 0}};
    for (const VolumeCase& v : volumes) {
        ResetRunState();
        WriteUserFile("config.xml", std::string("<config><setting name=\"SFXVolume\" value=\"") +
                                        v.value + "\"/><setting name=\"VolumeMusic\" value=\"" +
                                        v.value + "\"/></config>");
        LoadConfig();
        EXPECT_EQ(ConfiguredSFXVolume(), v.expected) << v.value;
        EXPECT_EQ(ConfiguredMusicVolume(), v.expected) << v.value;
    }
}

TEST_F(UserConfigTest, VolumeChangedInTheGameIsSaved) {
    WriteUserFile("config.xml", "<config><setting name=\"SFXVolume\" value=\"29\"/></config>");
    LoadConfig();
    EXPECT_EQ(ConfiguredSFXVolume(), 29);
    SetSFXVolume(64);  // the settings window talks to the sound module directly
    EXPECT_EQ(ConfiguredSFXVolume(), GetSFXVolume());
    SetConfiguredSFXVolume(29);
    EXPECT_EQ(ConfiguredSFXVolume(), 29);
}

TEST_F(UserConfigTest, MalformedOrEmptyFilesKeepStartValues) {
    WriteUserFile("config.xml", "");
    LoadConfig();
    EXPECT_EQ(smoothScaling, 1);
    EXPECT_TRUE(ConfigWasLoaded());

    ResetRunState();
    WriteUserFile("config.xml",
                  "<config>\n<setting name=\"smoothScaling\" value=\"0\"/>\n<oops <<\n"
                  "<setting name=\"use2XUI\" value=\"1\"/>\n");
    LoadConfig();
    EXPECT_EQ(smoothScaling, 0);  // before the error
    EXPECT_EQ(use2XUI, 1);        // after it: every readable line counts

    ResetRunState();
    WriteUserFile("config.xml",
                  "<config><setting value=\"1\"/><setting name=\"nope\" value=\"1\"/>"
                  "<keybinding/><autoloot/><mod/><tutorial/><unknown a=\"b\"/></config>");
    LoadConfig();
    EXPECT_EQ(AutoLootSwitches[0], 0);
    // A keybinding line without attributes names the empty identifier: it never matches
    // and is never written.
    WriteConfig();
    EXPECT_EQ(ReadUserFile("config.xml"), kDefaultConfig);
}

TEST_F(UserConfigTest, ABrokenFileIsKeptAsBadBeforeItIsRewritten) {
    const std::string broken =
        "<config>\n<setting name=\"smoothScaling\" value=\"0\"/>\n<oops <<\n"
        "<setting name=\"use2XUI\" value=\"1\"/>\n</config>\n";
    WriteUserFile("config.xml", broken);
    WriteUserFile("config.xml.bad", "an older broken file");
    testing::internal::CaptureStderr();
    LoadConfig();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("line 3, column"), std::string::npos) << said;
    EXPECT_NE(said.find("config.xml.bad"), std::string::npos) << said;
    EXPECT_NE(said.find("line 3 skipped: <oops <<"), std::string::npos) << said;
    EXPECT_EQ(ReadUserFile("config.xml.bad"), broken);
    EXPECT_EQ(smoothScaling, 0);
    EXPECT_EQ(use2XUI, 1);
    // The exit writes every setting that could be read, those after the error too.
    EXPECT_TRUE(WriteConfig());
    EXPECT_EQ(ReadUserFile("config.xml"),
              Replace(Replace(kDefaultConfig, "\"smoothScaling\" value=\"1\"", "\"smoothScaling\" value=\"0\""),
                      "\"use2XUI\" value=\"0\"", "\"use2XUI\" value=\"1\""));
    EXPECT_EQ(ReadUserFile("config.xml.bad"), broken);

    // A good file, or an empty one, is never copied.
    for (const char* text : {"<config/>\n", ""}) {
        SCOPED_TRACE(text);
        ResetRunState();
        std::remove(UserFile("config.xml.bad").c_str());
        WriteUserFile("config.xml", text);
        LoadConfig();
        EXPECT_FALSE(FileExists(UserFile("config.xml.bad")));
    }
}

TEST_F(UserConfigTest, EveryReadableLineOfABrokenFileIsRecoveredAndEachSkippedLineIsNamed) {
    // The game's own file with damage in the middle: settings, a key binding and an auto-loot
    // switch after the damage keep their values; only the damaged lines are lost.
    std::string text = kDefaultConfig;
    text = Replace(text, "\"VolumeMusic\" value=\"100\"", "\"VolumeMusic\" value=\"37\"");
    text = Replace(text, "\"minimapSize\" value=\"0\"", "\"minimapSize\" value=\"2\"");
    text = Replace(text, "<keybinding pos=\"0\" value=\"119\"", "<keybinding pos=\"0\" value=\"117\"");
    text = Replace(text, "<autoloot pos=\"3\" value=\"0\"", "<autoloot pos=\"3\" value=\"1\"");
    struct Case {
        const char* label;
        std::string broken;
        std::vector<std::string> skipped;  // what stderr names
        bool sfxKept;                      // SFXVolume 64 is on a line that survives
    };
    const std::string sfx = Replace(text, "\"SFXVolume\" value=\"100\"", "\"SFXVolume\" value=\"64\"");
    const Case cases[] = {
        {"a cut line", Replace(sfx, "<setting name=\"AutoLoot\" value=\"0\"/>", "<setting name=\"Auto"),
         {"line 13 skipped: <setting name=\"Auto"}, true},
        {"a stray ampersand", Replace(sfx, "<setting name=\"AutoClick\" value=\"0\"/>", "<setting & />"),
         {"line 14 skipped: <setting & />"}, true},
        {"two bad lines, one with a good element before the damage",
         Replace(Replace(sfx, "<setting name=\"SFXVolume\" value=\"64\"/>", "<setting name=\"SFXVolume\" value=\"64\"/><x"),
                 "<setting name=\"WASDActive\" value=\"0\"/>", "<<<"),
         {"line 11 skipped", "line 15 skipped: <<<"}, false},
        {"the closing tag lost", Replace(sfx, "</config>\n", ""), {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ResetRunState();
        ResetConfigToDefaults();
        InitKeyBindings();
        std::remove(UserFile("config.xml.bad").c_str());
        WriteUserFile("config.xml", c.broken);
        testing::internal::CaptureStderr();
        LoadConfig();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(ReadUserFile("config.xml.bad"), c.broken);
        for (const std::string& line : c.skipped) EXPECT_NE(said.find(line), std::string::npos) << said;
        size_t skippedLines = 0;
        for (size_t at = said.find(" skipped"); at != std::string::npos; at = said.find(" skipped", at + 1)) ++skippedLines;
        EXPECT_EQ(skippedLines, c.skipped.size()) << said;
        ASSERT_TRUE(WriteConfig());
        std::string expected = c.sfxKept ? sfx : text;
        EXPECT_EQ(ReadUserFile("config.xml"), expected);
    }
}

TEST_F(UserConfigTest, AFileLargerThanSixteenMebibytesIsMovedAsideUnreadAndTheDefaultsStart) {
    const size_t limit = 16u * 1024 * 1024;
    const std::string head = "<config>\n<setting name=\"use2XUI\" value=\"1\"/>\n";
    const std::string tail = "</config>\n";
    const auto fileOf = [&](size_t size) { return head + std::string(size - head.size() - tail.size(), ' ') + tail; };
    {
        SCOPED_TRACE("one byte over");
        const std::string big = fileOf(limit + 1);
        WriteUserFile("config.xml", big);
        WriteUserFile("config.xml.bad", "an older broken file");
        testing::internal::CaptureStderr();
        LoadConfig();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("config.xml is larger than 16 MiB"), std::string::npos) << said;
        EXPECT_NE(said.find("kept as " + UserFile("config.xml.bad")), std::string::npos) << said;
        EXPECT_EQ(use2XUI, 0) << "not read";
        EXPECT_TRUE(ReadUserFile("config.xml.bad") == big) << "the user's file kept whole";
        EXPECT_FALSE(FileExists(UserFile("config.xml")));
        ASSERT_TRUE(WriteConfig());
        EXPECT_EQ(ReadUserFile("config.xml"), kDefaultConfig);
        EXPECT_TRUE(ReadUserFile("config.xml.bad") == big);
    }
    {
        SCOPED_TRACE("exactly the limit");
        ResetRunState();
        ResetConfigToDefaults();
        std::remove(UserFile("config.xml.bad").c_str());
        WriteUserFile("config.xml", fileOf(limit));
        LoadConfig();
        EXPECT_EQ(use2XUI, 1);
        EXPECT_FALSE(FileExists(UserFile("config.xml.bad")));
    }
}

TEST_F(UserConfigTest, WhenTheBrokenFileCannotBeKeptItIsNeverRewritten) {
    const std::string broken = "<config><setting name=\"use2XUI\" value=\"1\"/><unclosed\n";
    WriteUserFile("config.xml", broken);
    SetAtomicWriteHook([](AtomicWriteStep step, const std::string& path) {
        return !(step == AtomicWriteStep::Write && path.size() >= 4 && path.compare(path.size() - 4, 4, ".bad") == 0);
    });
    testing::internal::CaptureStderr();
    LoadConfig();
    const std::string said = testing::internal::GetCapturedStderr();
    SetAtomicWriteHook(nullptr);
    EXPECT_NE(said.find("not rewritten"), std::string::npos) << said;
    EXPECT_FALSE(FileExists(UserFile("config.xml.bad")));
    EXPECT_FALSE(WriteConfig());
    EXPECT_EQ(ReadUserFile("config.xml"), broken);
}

TEST_F(UserConfigTest, AFailedWriteKeepsThePreviousFileAndSaysSo) {
    LoadConfig();
    ASSERT_TRUE(WriteConfig());
    use2XUI = 1;
    SetAtomicWriteHook([](AtomicWriteStep step, const std::string&) { return step != AtomicWriteStep::Sync; });
    EXPECT_FALSE(WriteConfig());
    SetAtomicWriteHook(nullptr);
    EXPECT_EQ(ReadUserFile("config.xml"), kDefaultConfig);
    EXPECT_FALSE(FileExists(UserFile("config.xml.tmp")));
}

TEST_F(UserConfigTest, WithoutAUserFolderNothingLandsInTheWorkingDirectory) {
    TempDir work;
    ASSERT_TRUE(MakeFileWithParents(work.file("config.txt"), "1\n1\n50\n50\n"));
    ASSERT_TRUE(MakeFileWithParents(work.file("plain"), "x"));
    ScopedWorkingDir cwd(work.path());
    ASSERT_TRUE(cwd.ok());
    ScopedEnv blocked("VAULTMERE_USER_DIR", work.file("plain").c_str());
    LoadConfig();
    EXPECT_EQ(useFullscreen, 0);  // the working directory's config.txt is not the user's
    EXPECT_FALSE(WriteConfig());
    EXPECT_FALSE(FileExists(work.file("config.xml")));
    EXPECT_FALSE(FileExists(work.file("plainconfig.xml")));
}

TEST_F(UserConfigTest, AFolderNamedLikeTheFileIsNotRead) {
    ASSERT_TRUE(MakeFileWithParents(UserFile("config.xml/inside.txt"), "x"));
    LoadConfig();
    EXPECT_TRUE(ConfigWasLoaded());
    EXPECT_EQ(smoothScaling, 1);
    WriteConfig();  // cannot replace a folder; nothing breaks
    EXPECT_FALSE(FileExists(UserFile("config.xml.tmp")));
}

TEST_F(UserConfigTest, WriteBeforeReadLeavesTheUsersFileAlone) {
    const std::string users = "<config><setting name=\"use2XUI\" value=\"1\"/></config>\n";
    WriteUserFile("config.xml", users);
    EXPECT_FALSE(ConfigWasLoaded());
    WriteConfig();  // an exit before the configuration was read
    EXPECT_EQ(ReadUserFile("config.xml"), users);
    LoadConfig();
    EXPECT_TRUE(ConfigWasLoaded());
    EXPECT_EQ(use2XUI, 1);
}

TEST_F(UserConfigTest, KeyBindingLinesOverrideOnlyConfigurableBindings) {
    WriteUserFile("config.xml",
                  "<config>\n"
                  "<keybinding pos=\"belt1\" value=\"120\" mod=\"0\"/>\n"
                  "<keybinding pos=\"skill2\" value=\"120\" mod=\"0\"/>\n"
                  "<keybinding pos=\"1\" value=\"273\" mod=\"0\"/>\n"
                  "<keybinding pos=\"5\" value=\"107\" mod=\"0\"/>\n"
                  "<keybinding pos=\"5\" value=\"106\" mod=\"192\"/>\n"
                  "<keybinding pos=\"mystery\" value=\"65\" mod=\"0\"/>\n"
                  "<keybinding pos=\"6\" value=\"-5\" mod=\"0\"/>\n"
                  "<keybinding pos=\"7\" value=\"99999\" mod=\"0\"/>\n"
                  "</config>\n");
    LoadConfig();
    EXPECT_EQ(KeyBindingTable["belt1"].key, '1');
    EXPECT_EQ(KeyBindingTable["belt1"].modifiers, kModGroupShift);
    EXPECT_EQ(KeyBindingTable["skill2"].key, '2');
    EXPECT_EQ(KeyBindingTable["1"].key, 273);
    EXPECT_EQ(KeyBindingTable["5"].key, 'j');  // the later line wins
    EXPECT_EQ(KeyBindingTable["5"].modifiers, kModGroupCtrl);
    EXPECT_EQ(KeyBindingTable["6"].key, 'i');  // refused: not a key
    EXPECT_EQ(KeyBindingTable["7"].key, 'c');
    ASSERT_NE(GetKeyBinding("mystery"), nullptr);
    EXPECT_EQ(GetKeyBinding("mystery")->enabled, 0);
    SDL_keysym a{};
    a.sym = static_cast<SDLKey>(65);
    EXPECT_FALSE(KeyBindingMatches("mystery", a));

    WriteConfig();
    const std::string file = ReadUserFile("config.xml");
    EXPECT_EQ(file.find("mystery"), std::string::npos);
    EXPECT_EQ(file.find("belt1"), std::string::npos);
    EXPECT_NE(file.find("<keybinding pos=\"1\" value=\"273\" mod=\"0\"/>\n"), std::string::npos);
    EXPECT_NE(file.find("<keybinding pos=\"5\" value=\"106\" mod=\"192\"/>\n"), std::string::npos);
}

TEST_F(UserConfigTest, DebugRunsWriteTheDebugBindingsToo) {
    CmdLine.debugFlags = kDebugGeneral;
    InitKeyBindings();
    LoadConfig();
    WriteConfig();
    const std::string file = ReadUserFile("config.xml");
    int lines = 0;
    for (size_t at = file.find("<keybinding "); at != std::string::npos;
         at = file.find("<keybinding ", at + 1)) {
        ++lines;
    }
    EXPECT_EQ(lines, 28);
    EXPECT_NE(file.find("<keybinding pos=\"hidden_trapdoor_up\" value=\"112\" mod=\"3\"/>\n"),
              std::string::npos);
}

TEST(AutoLootSwitches, ClearAndExchangeHandBackThePreviousValues) {
    for (int i = 0; i < kAutoLootCount; ++i) AutoLootSwitches[i] = i % 3;
    const std::vector<int32_t> saved = ClearAutoLoot();
    ASSERT_EQ(saved.size(), 12u);
    for (int i = 0; i < kAutoLootCount; ++i) {
        EXPECT_EQ(saved[i], i % 3);
        EXPECT_EQ(AutoLootSwitches[i], 0);
    }
    AutoLootSwitches[7] = 1;
    const std::vector<int32_t> during = ExchangeAutoLoot(saved);
    EXPECT_EQ(during[7], 1);
    for (int i = 0; i < kAutoLootCount; ++i) EXPECT_EQ(AutoLootSwitches[i], i % 3);
    // A short vector fills the rest with 0.
    ExchangeAutoLoot({1});
    EXPECT_EQ(AutoLootSwitches[0], 1);
    EXPECT_EQ(AutoLootSwitches[2], 0);
    ClearAutoLoot();
}

TEST_F(UserConfigTest, CompletedTutorialsAreReadAndWritten) {
    Tutorial first, second, third;
    first.name = "Basics & Bones";
    second.name = "Crafting";
    third.name = "Never played";
    const std::vector<Tutorial*> saved = Tutorials;
    Tutorials = {&first, &second, &third};
    WriteUserFile("config.xml",
                  "<config>\n"
                  "<tutorial name=\"Basics &amp; Bones\" complete=\"1\" />\n"
                  "<tutorial name=\"Crafting\" complete=\"0\" />\n"
                  "<tutorial name=\"Unknown\" complete=\"1\" />\n"
                  "</config>\n");
    LoadConfig();
    EXPECT_EQ(first.completed, 1);
    EXPECT_EQ(second.completed, 0);
    EXPECT_EQ(third.completed, 0);
    second.completed = 1;
    WriteConfig();
    Tutorials = saved;
    std::string expected = kDefaultConfig;
    expected = Replace(expected, "</config>\n",
                       "<tutorial name=\"Basics &amp; Bones\" complete=\"1\" />\n"
                       "<tutorial name=\"Crafting\" complete=\"1\" />\n</config>\n");
    EXPECT_EQ(ReadUserFile("config.xml"), expected);
}
