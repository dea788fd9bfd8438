// User folder, file mapping, deletion, resource-name lookup and the desktop stand-ins.
#include "platform/platform.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

bool IsFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string CurrentDir() {
    char buf[4096];
    return getcwd(buf, sizeof(buf)) ? buf : "";
}

}  // namespace

TEST(UserDataPath, ChosenFromEnvironmentEndsInSlashAndIsCreatedWithParents) {
    TempDir tmp;
    struct Case {
        const char* label;
        const char* overrideDir;  // VAULTMERE_USER_DIR, relative to tmp (null: unset)
        const char* xdg;          // XDG_DATA_HOME, relative to tmp unless it starts with '!' (null: unset)
        const char* expected;     // relative to tmp
    };
    const Case cases[] = {
        {"override without slash", "deep/er/user", "xdg", "deep/er/user/"},
        {"override with slash", "given/", nullptr, "given/"},
        {"xdg data home", nullptr, "xdg/share", "xdg/share/Tinwhistle Games/Vaultmere/"},
        {"relative xdg ignored", nullptr, "!relative/share", "home/.local/share/Tinwhistle Games/Vaultmere/"},
        {"home default", nullptr, nullptr, "home/.local/share/Tinwhistle Games/Vaultmere/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::string overrideDir = c.overrideDir ? tmp.path() + "/" + c.overrideDir : "";
        std::string xdg;
        if (c.xdg) xdg = c.xdg[0] == '!' ? std::string(c.xdg + 1) : tmp.path() + "/" + c.xdg;
        std::string home = tmp.path() + "/home";
        ScopedEnv envOverride("VAULTMERE_USER_DIR", c.overrideDir ? overrideDir.c_str() : nullptr);
        ScopedEnv envXdg("XDG_DATA_HOME", c.xdg ? xdg.c_str() : nullptr);
        ScopedEnv envHome("HOME", home.c_str());

        std::string path = GetUserDataPath();
        EXPECT_EQ(path, tmp.path() + "/" + c.expected);
        ASSERT_FALSE(path.empty());
        EXPECT_EQ(path.back(), '/');
        EXPECT_TRUE(IsFolder(path));
        // A second call finds the folder in place and answers the same.
        EXPECT_EQ(GetUserDataPath(), path);
    }
}

TEST(UserDataPath, UnusableFolderGivesNoPathNoUserFileAndSaysWhy) {
    TempDir tmp;
    ASSERT_TRUE(MakeFileWithParents(tmp.file("plainfile"), "x"));
    struct Case {
        const char* label;
        std::string folder;
        const char* problem;  // part of the explanation
    };
    const Case cases[] = {
        {"below a regular file", tmp.file("plainfile/user"), "cannot be created"},
        {"a regular file itself", tmp.file("plainfile"), "is not a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScopedEnv env("VAULTMERE_USER_DIR", c.folder.c_str());
        EXPECT_EQ(GetUserDataPath(), "");
        // Never the bare name, which would land in the working directory.
        EXPECT_EQ(UserFilePath("config.xml"), "");
        const std::string problem = UserDataPathProblem();
        EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
        EXPECT_NE(problem.find(c.folder), std::string::npos) << problem;
    }
    ScopedEnv usable("VAULTMERE_USER_DIR", tmp.file("fine").c_str());
    EXPECT_EQ(UserDataPathProblem(), "");
    EXPECT_EQ(UserFilePath("config.xml"), tmp.file("fine/config.xml"));
}

TEST(FileOps, OnlyRegularFilesAreOpenedForReadingAndNothingBlocks) {
    TempDir tmp;
    ASSERT_TRUE(MakeFileWithParents(tmp.file("plain.sav"), "ZNCH"));
    ASSERT_EQ(mkfifo(tmp.file("pipe.sav").c_str(), 0600), 0);
    ASSERT_TRUE(MakeDirectory(tmp.file("folder.sav").c_str()));
    FILE* plain = OpenRegularFile(tmp.file("plain.sav"));
    ASSERT_NE(plain, nullptr);
    char magic[4] = {};
    EXPECT_EQ(fread(magic, 1, 4, plain), 4u);
    EXPECT_EQ(std::string(magic, 4), "ZNCH");
    fclose(plain);
    // A named pipe without a writer would block a plain fopen for ever.
    EXPECT_EQ(OpenRegularFile(tmp.file("pipe.sav")), nullptr);
    EXPECT_EQ(OpenRegularFile(tmp.file("folder.sav")), nullptr);
    EXPECT_EQ(OpenRegularFile(tmp.file("absent.sav")), nullptr);
    EXPECT_EQ(OpenRegularFile("/dev/zero"), nullptr);
    EXPECT_EQ(OpenRegularFile(""), nullptr);
}

TEST(FileOps, MakeDirectoryAndRemoveFileReportTheirResult) {
    TempDir tmp;
    std::string dir = tmp.file("made");
    EXPECT_TRUE(MakeDirectory(dir.c_str()));
    EXPECT_TRUE(IsFolder(dir));
    EXPECT_FALSE(MakeDirectory(dir.c_str()));  // exists already
    EXPECT_FALSE(MakeDirectory(tmp.file("no/such/parent").c_str()));

    std::string file = tmp.file("doomed.txt");
    ASSERT_TRUE(MakeFileWithParents(file, "bye"));
    EXPECT_TRUE(RemoveFile(file.c_str()));
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(RemoveFile(file.c_str()));
    EXPECT_FALSE(RemoveFile(dir.c_str()));  // folders are not files
    EXPECT_TRUE(IsFolder(dir));
}

TEST(MapFile, WholeFileWithLengthEmptyIsAnEmptyViewAndMissingGivesNull) {
    TempDir tmp;
    const std::string content("RIFF\0\x01\x02\xFFwave data", 18);
    ASSERT_TRUE(MakeFileWithParents(tmp.file("sound.wav"), content));
    ASSERT_TRUE(MakeFileWithParents(tmp.file("empty.wav"), ""));

    uint32_t size = 777;
    const void* view = MapFileToMemory(tmp.file("sound.wav").c_str(), &size);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(size, content.size());
    EXPECT_EQ(0, memcmp(view, content.data(), content.size()));
    UnmapFile(view);

    size = 777;
    const void* empty = MapFileToMemory(tmp.file("empty.wav").c_str(), &size);
    EXPECT_NE(empty, nullptr);  // read, unlike a missing file
    EXPECT_EQ(size, 0u);
    UnmapFile(empty);
    size = 777;
    EXPECT_EQ(MapFileToMemory(tmp.file("missing.wav").c_str(), &size), nullptr);
    EXPECT_EQ(size, 0u);
    size = 777;
    EXPECT_EQ(MapFileToMemory(tmp.path().c_str(), &size), nullptr);  // a folder
    EXPECT_EQ(size, 0u);

    // Null and foreign pointers are ignored.
    UnmapFile(nullptr);
    UnmapFile(content.data());
}

TEST(MapFile, MappingFromSeveralThreadsKeepsEveryLength) {
    TempDir tmp;
    std::vector<std::string> files;
    for (int i = 0; i < 4; ++i) {
        files.push_back(tmp.file("f" + std::to_string(i)));
        ASSERT_TRUE(MakeFileWithParents(files.back(), std::string(1000 * (i + 1), static_cast<char>('a' + i))));
    }
    std::vector<int> failures(files.size(), 0);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < files.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 200; ++round) {
                uint32_t size = 0;
                const void* view = MapFileToMemory(files[t].c_str(), &size);
                if (!view || size != 1000 * (t + 1) ||
                    static_cast<const char*>(view)[size - 1] != static_cast<char>('a' + t))
                    ++failures[t];
                UnmapFile(view);
            }
        });
    }
    for (auto& th : threads) th.join();
    for (size_t t = 0; t < files.size(); ++t) EXPECT_EQ(failures[t], 0) << "thread " << t;
}

TEST(ResourceFilename, FindsNamesIgnoringCaseAndSeparators) {
    TempDir tmp;
    ASSERT_TRUE(MakeFileWithParents(tmp.file("ui/dialog_but_yea.png"), "png"));
    ASSERT_TRUE(MakeFileWithParents(tmp.file("Game/Data.XML"), "<x/>"));
    ASSERT_TRUE(MakeFileWithParents(tmp.file("fonts/Austin.ttf"), "ttf"));
    ScopedWorkingDir cwd(tmp.path());
    ASSERT_TRUE(cwd.ok());

    const struct {
        const char* asked;
        const char* expected;
    } cases[] = {
        {"ui/dialog_but_yea.png", "ui/dialog_but_yea.png"},
        {"ui/dialog_but_Yea.png", "ui/dialog_but_yea.png"},
        {"UI\\DIALOG_BUT_YEA.PNG", "ui/dialog_but_yea.png"},
        {"game//data.xml", "Game/Data.XML"},
        {"game\\\\DATA.xml", "Game/Data.XML"},
        {"Fonts/austin.TTF", "fonts/Austin.ttf"},
        {"game/", "Game/"},
        {"ui/missing.png", "ui/missing.png"},
        {"nowhere\\Thing.png", "nowhere\\Thing.png"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetResourceFilename(c.asked), c.expected) << "asked for " << c.asked;
    }
    // Absolute paths are walked the same way.
    EXPECT_EQ(GetResourceFilename(tmp.path() + "/UI/Dialog_But_Yea.png"), tmp.path() + "/ui/dialog_but_yea.png");
}

TEST(DesktopStandIns, MessagesGoToStandardErrorAndDialogsAnswerWithoutBlocking) {
    testing::internal::CaptureStderr();
    ShowErrorBox("Couldn't find trap spell Fizzle");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("An error!"), std::string::npos);
    EXPECT_NE(err.find("Couldn't find trap spell Fizzle"), std::string::npos);

    std::string before = CurrentDir();
    EXPECT_EQ(AskOpenFileName("Pick a mod"), "");
    SetAskOpenFileNameAnswer("/tmp/chosen/mod.xml");
    EXPECT_EQ(AskOpenFileName("Pick a mod"), "/tmp/chosen/mod.xml");
    SetAskOpenFileNameAnswer("");
    EXPECT_EQ(AskOpenFileName("Pick a mod"), "");
    EXPECT_EQ(CurrentDir(), before);

    std::vector<std::string> opened;
    RecordShellOpens(&opened);
    EXPECT_TRUE(OpenWithShell("https://example.invalid/a b;$(touch x)"));
    EXPECT_FALSE(OpenWithShell(""));
    RecordShellOpens(nullptr);
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.invalid/a b;$(touch x)"});
    OpenDebugConsole();
}

TEST(DesktopStandIns, OpenFileAnswersComeFromTheEnvironmentInOrder) {
    ResetOpenFileAnswers();
    {
        ScopedEnv answers("VAULTMERE_OPEN_FILE_ANSWERS", "/tmp/mod.zip\r\n\n/tmp/preview.png");
        EXPECT_EQ(AskOpenFileName("content"), "/tmp/mod.zip");
        EXPECT_EQ(AskOpenFileName("preview"), "");  // an empty line is a cancel
        EXPECT_EQ(AskOpenFileName("preview"), "/tmp/preview.png");
        EXPECT_EQ(AskOpenFileName("more"), "");
        EXPECT_EQ(AskOpenFileName("more"), "");
    }
    ResetOpenFileAnswers();
    SetAskOpenFileNameAnswer("/set/by/test");
    EXPECT_EQ(AskOpenFileName("no variable"), "/set/by/test");
    SetAskOpenFileNameAnswer("");
}

TEST(DesktopStandIns, ShellOpensAreRecordedInTheNamedFile) {
    TempDir tmp;
    ScopedEnv record("VAULTMERE_SHELL_RECORD", tmp.file("shell.txt").c_str());
    EXPECT_TRUE(OpenWithShell("https://one.invalid/?id=1"));
    EXPECT_TRUE(OpenWithShell("two words"));
    EXPECT_EQ(ReadWholeFile(tmp.file("shell.txt")), "https://one.invalid/?id=1\ntwo words\n");
}

// The broken-art report names the kind of file that failed; only a PNG keeps the old words.
TEST(DesktopStandIns, BrokenArtReportsNameTheKindOfFile) {
    const struct {
        const char* file;
        BrokenArtKind kind;
        const char* text;
    } cases[] = {
        {"ui/broken.png", BrokenArtKind::Png, "Couldn't load PNG file ui/broken.png. The game will now crash.\n"},
        {"ui/cursor.spr", BrokenArtKind::SpriteFile,
         "Couldn't load sprite file ui/cursor.spr. A placeholder is shown in its place.\n"},
        {"fx/boom.xml", BrokenArtKind::FrameList,
         "Couldn't load frame list fx/boom.xml. A placeholder is shown in its place.\n"},
        {"sprites/sfx/glintA/glintA", BrokenArtKind::PngSeries,
         "Couldn't load picture series sprites/sfx/glintA/glintA. A placeholder is shown in its place.\n"},
        {"monsters/ice.pal", BrokenArtKind::Palette,
         "Couldn't load palette file monsters/ice.pal. The sprite keeps its own colours.\n"},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        ShowBrokenArtBox(c.file, c.kind);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string("Some Art is Horribly Broken\n") + c.text);
    }
}
