// Message boxes and the file chooser through the desktop's dialog programs, with fake programs
// written by the test on a $PATH of their own.
#include "platform/desktop_dialog.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <future>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

using Calls = std::vector<std::vector<std::string>>;

// A folder holding fake dialog programs. Each records its name and arguments (NUL-separated,
// an "END" after each call) and prints $FAKE_DIALOG_ANSWER, exiting with $FAKE_DIALOG_EXIT.
// Only shell built-ins are used, so $PATH can hold this folder alone.
class FakeDialogs {
public:
    void Add(const std::string& name) {
        const std::string path = tmp_.file(name);
        std::ofstream out(path);
        out << "#!/bin/sh\n"
            << "for a in \"$0\" \"$@\"; do printf '%s\\0' \"$a\"; done >> '" << record() << "'\n"
            << "printf 'END\\0' >> '" << record() << "'\n"
            << "printf '%s' \"$FAKE_DIALOG_ANSWER\"\n"
            << "exit \"${FAKE_DIALOG_EXIT:-0}\"\n";
        out.close();
        chmod(path.c_str(), 0755);
    }
    std::string folder() const { return tmp_.path(); }
    std::string record() const { return tmp_.file("calls.bin"); }

    // Every call so far: the program's base name, then its arguments.
    Calls Read() const {
        std::ifstream in(record(), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        const std::string bytes = ss.str();
        Calls calls;
        std::vector<std::string> current;
        size_t start = 0;
        while (start < bytes.size()) {
            size_t end = bytes.find('\0', start);
            if (end == std::string::npos) end = bytes.size();
            std::string field = bytes.substr(start, end - start);
            start = end + 1;
            if (field == "END") {
                calls.push_back(current);
                current.clear();
            } else {
                if (current.empty()) field = field.substr(field.rfind('/') + 1);
                current.push_back(field);
            }
        }
        return calls;
    }

private:
    TempDir tmp_;
};

// Dialogs on; everything is put back afterwards. Each test puts its fakes alone on $PATH for
// as long as it needs them (the temporary folders are removed with the usual $PATH).
class DesktopDialogTest : public testing::Test {
protected:
    void SetUp() override { SetDesktopDialogs(DesktopDialogs::Always); }
    void TearDown() override {
        SetDesktopDialogs(DesktopDialogs::Never);
        ResetOpenFileAnswers();
    }

    FakeDialogs fakes_;
    ScopedEnv answers_{"VAULTMERE_OPEN_FILE_ANSWERS", nullptr};
    ScopedEnv answer_{"FAKE_DIALOG_ANSWER", nullptr};
    ScopedEnv exit_{"FAKE_DIALOG_EXIT", nullptr};
};

std::string CurrentDir() {
    char buf[4096];
    return getcwd(buf, sizeof buf) ? buf : "";
}

}  // namespace

TEST_F(DesktopDialogTest, ErrorBoxesUseTheFirstDialogProgramWithTheMessageAsOneArgument) {
    // A message a shell would act on: it must reach the program as one plain argument.
    const std::string message = "Couldn't load mods/a b;$(touch pwned)`touch pwned2`.png";
    struct Case {
        std::vector<std::string> installed;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {{"zenity", "kdialog", "xmessage"},
         {"zenity", "--error", "--title=An error!", "--text=" + message, "--no-markup"}},
        {{"kdialog", "xmessage"}, {"kdialog", "--title", "An error!", "--error", message}},
        {{"xmessage"},
         {"xmessage", "-title", "An error!", "-center", "-buttons", "OK:0", "-default", "OK", message}},
    };
    for (const Case& c : cases) {
        FakeDialogs fakes;
        for (const std::string& name : c.installed) fakes.Add(name);
        ScopedEnv path("PATH", fakes.folder().c_str());
        ScopedWorkingDir cwd(fakes.folder());
        SetDesktopDialogs(DesktopDialogs::Always);

        testing::internal::CaptureStderr();
        ShowErrorBox(message);
        const std::string err = testing::internal::GetCapturedStderr();

        // The box was waited for: its call is recorded by the time ShowErrorBox returns.
        EXPECT_EQ(fakes.Read(), Calls{c.expected}) << c.installed.front();
        EXPECT_NE(err.find(message), std::string::npos) << "the message still goes to stderr";
        EXPECT_NE(access(fakes.folder().c_str(), F_OK), -1);
        EXPECT_EQ(access((fakes.folder() + "/pwned").c_str(), F_OK), -1) << "a shell ran the message";
        EXPECT_EQ(access((fakes.folder() + "/pwned2").c_str(), F_OK), -1) << "a shell ran the message";
    }
}

TEST_F(DesktopDialogTest, ABurstOfOneFailureShowsOneBoxAndEveryLineOnStderr) {
    fakes_.Add("zenity");
    ScopedEnv path("PATH", fakes_.folder().c_str());
    testing::internal::CaptureStderr();
    for (int frame = 0; frame < 5; ++frame) ShowBrokenArtBox("mods/x/sprites/bat_0.png", BrokenArtKind::Png);
    ShowBrokenArtBox("mods/x/sprites/owl.spr", BrokenArtKind::SpriteFile);
    const std::string err = testing::internal::GetCapturedStderr();

    const Calls calls = fakes_.Read();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0][2], "--title=Some Art is Horribly Broken");
    EXPECT_EQ(calls[0][3], "--text=Couldn't load PNG file mods/x/sprites/bat_0.png. The game will now crash.");
    EXPECT_NE(calls[1][3].find("owl.spr"), std::string::npos);

    size_t lines = 0;
    for (size_t at = err.find("bat_0.png"); at != std::string::npos; at = err.find("bat_0.png", at + 1)) ++lines;
    EXPECT_EQ(lines, 5u);
}

TEST_F(DesktopDialogTest, ABurstAfterManyOtherBoxesStillShowsOneBox) {
    fakes_.Add("zenity");
    ScopedEnv path("PATH", fakes_.folder().c_str());
    testing::internal::CaptureStderr();
    const int others = 300;
    for (int i = 0; i < others; ++i) ShowErrorBox("Broken room file " + std::to_string(i));
    for (int frame = 0; frame < 5; ++frame) ShowBrokenArtBox("mods/x/sprites/late.png", BrokenArtKind::Png);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(fakes_.Read().size(), static_cast<size_t>(others) + 1);
}

TEST_F(DesktopDialogTest, XmessageKeepsAMessageStartingWithADashAMessage) {
    fakes_.Add("xmessage");
    ScopedEnv path("PATH", fakes_.folder().c_str());
    ShowErrorBox("-geometry 1x1");
    const Calls calls = fakes_.Read();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].back(), " -geometry 1x1");
}

TEST_F(DesktopDialogTest, HeadlessRunsAndMissingProgramsFallBackToStderrWithoutBlocking) {
    fakes_.Add("zenity");
    ScopedEnv path("PATH", fakes_.folder().c_str());
    struct Case {
        const char* what;
        DesktopDialogs mode;
        const char* display;
        const char* wayland;
        const char* driver;
        const char* script;
        bool shown;
    };
    const Case cases[] = {
        {"a desktop", DesktopDialogs::Auto, ":7", nullptr, "x11", nullptr, true},
        {"a Wayland desktop", DesktopDialogs::Auto, nullptr, "wayland-0", nullptr, nullptr, true},
        {"no display", DesktopDialogs::Auto, nullptr, nullptr, "x11", nullptr, false},
        {"the dummy video driver", DesktopDialogs::Auto, ":7", nullptr, "dummy", nullptr, false},
        {"an input script", DesktopDialogs::Auto, ":7", nullptr, "x11", "/tmp/session.txt", false},
        {"the test suite", DesktopDialogs::Never, ":7", nullptr, "x11", nullptr, false},
    };
    for (const Case& c : cases) {
        ScopedEnv display("DISPLAY", c.display);
        ScopedEnv wayland("WAYLAND_DISPLAY", c.wayland);
        ScopedEnv driver("SDL_VIDEODRIVER", c.driver);
        ScopedEnv script("VAULTMERE_INPUT_SCRIPT", c.script);
        SetDesktopDialogs(c.mode);
        const size_t before = fakes_.Read().size();
        testing::internal::CaptureStderr();
        ShowErrorBox(std::string("seen on ") + c.what);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(fakes_.Read().size() - before, c.shown ? 1u : 0u) << c.what;
        EXPECT_NE(err.find(std::string("seen on ") + c.what), std::string::npos) << c.what;
    }

    // Dialogs wanted, but no dialog program anywhere: stderr alone.
    ScopedEnv nowhere("PATH", "/nonexistent-folder");
    SetDesktopDialogs(DesktopDialogs::Always);
    testing::internal::CaptureStderr();
    ShowErrorBox("nothing to show it with");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("nothing to show it with"), std::string::npos);
}

TEST_F(DesktopDialogTest, TheFileChooserAnswersAChosenPathOrACancel) {
    struct Case {
        const char* program;
        const char* answer;
        const char* exitCode;
        std::string expected;
        std::vector<std::string> args;
    };
    const std::string title = "Please select your mod's preview image file";
    const std::vector<Case> cases = {
        {"zenity", "/home/u/My Mods/preview.png\n", "0", "/home/u/My Mods/preview.png",
         {"zenity", "--file-selection", "--title=" + title}},
        {"zenity", "", "1", "", {"zenity", "--file-selection", "--title=" + title}},
        {"kdialog", "/srv/mod.zip\n", "0", "/srv/mod.zip", {"kdialog", "--title", title, "--getopenfilename", "."}},
        {"kdialog", "/srv/half-typed\n", "1", "", {"kdialog", "--title", title, "--getopenfilename", "."}},
        // An answer longer than any path is cut off by the reader, never handed out in part.
        {"zenity", nullptr, "0", "", {"zenity", "--file-selection", "--title=" + title}},
        // xmessage has no chooser: a cancel.
        {"xmessage", "/never", "0", "", {}},
    };
    for (const Case& c : cases) {
        FakeDialogs fakes;
        fakes.Add(c.program);
        ScopedEnv path("PATH", fakes.folder().c_str());
        const std::string huge = "/" + std::string(70000, 'a') + "\n";
        ScopedEnv answer("FAKE_DIALOG_ANSWER", c.answer ? c.answer : huge.c_str());
        ScopedEnv exitCode("FAKE_DIALOG_EXIT", c.exitCode);
        const std::string before = CurrentDir();
        EXPECT_EQ(AskOpenFileName(title.c_str()), c.expected) << c.program << " exit " << c.exitCode;
        EXPECT_EQ(CurrentDir(), before);
        EXPECT_EQ(fakes.Read(), c.args.empty() ? Calls{} : Calls{c.args}) << c.program;
    }
}

TEST_F(DesktopDialogTest, ScriptedAndTestAnswersComeBeforeTheChooser) {
    fakes_.Add("zenity");
    ScopedEnv path("PATH", fakes_.folder().c_str());
    ScopedEnv answer("FAKE_DIALOG_ANSWER", "/from/the/chooser.xml\n");
    {
        ScopedEnv answers("VAULTMERE_OPEN_FILE_ANSWERS", "/scripted/mod.xml\n");
        ResetOpenFileAnswers();
        EXPECT_EQ(AskOpenFileName("Pick a mod"), "/scripted/mod.xml");
        EXPECT_EQ(AskOpenFileName("Pick a mod"), "");
    }
    SetAskOpenFileNameAnswer("/set/by/test.xml");
    EXPECT_EQ(AskOpenFileName("Pick a mod"), "/set/by/test.xml");
    EXPECT_TRUE(fakes_.Read().empty());

    ResetOpenFileAnswers();
    EXPECT_EQ(AskOpenFileName("Pick a mod"), "/from/the/chooser.xml");
    EXPECT_EQ(fakes_.Read().size(), 1u);
}

namespace {

// Writes an executable shell program `name` into the folder.
void WriteProgram(const TempDir& dir, const std::string& name, const std::string& body) {
    const std::string path = dir.file(name);
    std::ofstream out(path);
    out << "#!/bin/sh\n" << body;
    out.close();
    chmod(path.c_str(), 0755);
}

// The descriptors above 2 of this process that are pipes.
std::set<std::string> OwnPipeDescriptors() {
    std::set<std::string> found;
    if (DIR* d = opendir("/proc/self/fd")) {
        while (dirent* entry = readdir(d)) {
            struct stat st;
            const std::string name = entry->d_name;
            if (name == "." || name == ".." || std::stoi(name) <= 2) continue;
            if (stat(("/proc/self/fd/" + name).c_str(), &st) == 0 && S_ISFIFO(st.st_mode)) found.insert(name);
        }
        closedir(d);
    }
    return found;
}

}  // namespace

// A chooser that prints without end, or one that answers and exits while a program it started
// still holds its output open: the game's wait ends with the program (or as soon as more than
// any answer arrived) instead of lasting as long as the pipe is open.
TEST_F(DesktopDialogTest, AChooserThatFloodsItsOutputOrLeavesItOpenEndsTheWait) {
    struct Case {
        const char* label;
        std::string body;
        std::string expected;
        bool helperStays;  // what the pid file names outlives the chooser
    };
    TempDir dir;
    const std::string pids = dir.file("pids.txt");
    const std::vector<Case> cases = {
        {"writes without end", "echo $$ >> '" + pids + "'\nwhile :; do printf '%s' '" + std::string(1000, 'x') + "'; done\n",
         "", false},
        {"answers, but its helper keeps the output open",
         "/bin/sleep 30 &\necho $! >> '" + pids + "'\nprintf '/home/u/pick.png\\n'\nexit 0\n", "/home/u/pick.png",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::remove(pids.c_str());
        WriteProgram(dir, "zenity", c.body);
        ScopedEnv path("PATH", dir.path().c_str());
        const auto start = std::chrono::steady_clock::now();
        auto ask = std::async(std::launch::async, [] {
            std::string chosen = "unset";
            const bool ran = AskDesktopFileName("Pick", &chosen);
            return std::make_pair(ran, chosen);
        });
        const bool ended = ask.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
        // Whatever is left running goes, so that a hanging wait ends and the test can report it.
        // A chooser the game has waited for is gone already, and its number may be another's.
        std::istringstream left(ReadWholeFile(pids));
        for (int pid = 0; left >> pid;) {
            if (pid > 0 && (!ended || c.helperStays)) kill(pid, SIGKILL);
        }
        const std::pair<bool, std::string> answer = ask.get();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_TRUE(ended) << "the wait outlasted the program";
        EXPECT_LT(seconds, 5.0);
        EXPECT_TRUE(answer.first);
        EXPECT_EQ(answer.second, c.expected);
    }
}

// The chooser inherits standard input, output and error only: no end of the game's answer pipe
// (nor any other pipe the game opened for itself) stays open in it.
TEST_F(DesktopDialogTest, TheDialogProgramInheritsNoPipeOfTheGame) {
    TempDir dir;
    WriteProgram(dir, "lister",
                 "for f in /proc/$$/fd/*; do n=${f##*/}; if [ \"$n\" -gt 2 ] && [ -p \"$f\" ]; then printf '%s ' \"$n\"; "
                 "fi; done\nprintf 'done'\n");
    const std::set<std::string> before = OwnPipeDescriptors();
    std::string output;
    ASSERT_EQ(RunDialogProgram({dir.file("lister")}, &output), 0);
    std::istringstream listed(output);
    std::vector<std::string> leaked;
    std::string word;
    while (listed >> word) {
        if (word != "done" && before.count(word) == 0) leaked.push_back(word);
    }
    EXPECT_TRUE(leaked.empty()) << output;
    EXPECT_EQ(output.substr(output.size() - 4), "done") << output;
    EXPECT_EQ(OwnPipeDescriptors(), before) << "the answer pipe is closed after the call";
}
