#include "support/run_game.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string ShellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

}  // namespace

TempDir::TempDir() {
    char pattern[] = "/tmp/vaultmere_test_XXXXXX";
    char* made = mkdtemp(pattern);
    path_ = made ? made : "/tmp";
}

TempDir::~TempDir() {
    if (path_.rfind("/tmp/vaultmere_test_", 0) == 0) {
        std::string cmd = "rm -rf " + ShellQuote(path_);
        if (std::system(cmd.c_str()) != 0) {
        }
    }
}

namespace {

// The environment RunGame gives the game: the headless drivers, the user folder and no input
// script, record or frame time unless the test asks for one.
std::map<std::string, std::string> GameEnvironment(const std::string& userDir,
                                                   const std::map<std::string, std::string>& env) {
    std::map<std::string, std::string> vars = {
        {"SDL_VIDEODRIVER", "dummy"},
        {"SDL_AUDIODRIVER", "dummy"},
        {"ALSOFT_DRIVERS", "null"},
        {"VAULTMERE_USER_DIR", userDir},
        {"VAULTMERE_INPUT_SCRIPT", ""},
        {"VAULTMERE_INPUT_RECORD", ""},
        {"VAULTMERE_FRAME_MS", ""},
    };
    for (const auto& kv : env) vars[kv.first] = kv.second;
    return vars;
}

}  // namespace

GameRun RunGame(const std::vector<std::string>& args, const std::string& userDir,
                const std::map<std::string, std::string>& env, int timeoutSeconds,
                const std::string& workDir) {
    const std::map<std::string, std::string> vars = GameEnvironment(userDir, env);

    std::string cmd = "cd " + ShellQuote(workDir.empty() ? VAULTMERE_GAME_ROOT : workDir) + " && env";
    for (const auto& kv : vars) {
        if (kv.second.empty()) cmd += " -u " + kv.first;
    }
    for (const auto& kv : vars) {
        if (!kv.second.empty()) cmd += " " + kv.first + "=" + ShellQuote(kv.second);
    }
    cmd += " timeout -s KILL " + std::to_string(timeoutSeconds) + " ./vaultmere";
    for (const auto& a : args) cmd += " " + ShellQuote(a);
    cmd += " </dev/null 2>&1";

    GameRun run;
    FILE* pipe = popen(cmd.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
    int status = pclose(pipe);
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status)) run.exitCode = 128 + WTERMSIG(status);
    return run;
}

SignalledRun RunGameAndSignal(const std::vector<std::string>& args, const std::string& userDir,
                              const std::map<std::string, std::string>& env,
                              const std::function<bool(const std::string& output)>& ready, int signal,
                              int timeoutSeconds) {
    SignalledRun run;
    // Everything the child needs is made before the fork.
    std::map<std::string, std::string> vars;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const size_t eq = text.find('=');
        if (eq != std::string::npos) vars[text.substr(0, eq)] = text.substr(eq + 1);
    }
    for (const auto& kv : GameEnvironment(userDir, env)) {
        if (kv.second.empty()) vars.erase(kv.first);
        else vars[kv.first] = kv.second;
    }
    std::vector<std::string> envText;
    for (const auto& kv : vars) envText.push_back(kv.first + "=" + kv.second);
    std::vector<char*> envp;
    for (std::string& e : envText) envp.push_back(&e[0]);
    envp.push_back(nullptr);
    std::vector<std::string> argText = {"./vaultmere"};
    argText.insert(argText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argText) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    const std::string gameRoot = VAULTMERE_GAME_ROOT;

    int out[2];
    if (pipe(out) != 0) return run;
    const pid_t pid = fork();
    if (pid < 0) return run;
    if (pid == 0) {
        const int devNull = open("/dev/null", O_RDONLY);
        if (devNull >= 0) dup2(devNull, 0);
        dup2(out[1], 1);
        dup2(out[1], 2);
        close(out[0]);
        close(out[1]);
        if (chdir(gameRoot.c_str()) == 0) execve("./vaultmere", argv.data(), envp.data());
        _exit(127);
    }
    close(out[1]);
    fcntl(out[0], F_SETFL, fcntl(out[0], F_GETFL) | O_NONBLOCK);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    int status = 0;
    bool ended = false;
    bool pipeOpen = true;
    while (!ended || pipeOpen) {
        char buffer[4096];
        ssize_t n = -1;
        while (pipeOpen && (n = read(out[0], buffer, sizeof buffer)) != 0) {
            if (n < 0) break;  // nothing more just now
            run.output.append(buffer, static_cast<size_t>(n));
        }
        if (pipeOpen && n == 0) pipeOpen = false;
        if (!ended && waitpid(pid, &status, WNOHANG) == pid) ended = true;
        if (!ended && !run.signalSent && ready(run.output)) {
            kill(pid, signal);
            run.signalSent = true;
        }
        if (!ended && std::chrono::steady_clock::now() > deadline) kill(pid, SIGKILL);
        if (!ended || pipeOpen) usleep(20000);
    }
    close(out[0]);
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status)) run.exitCode = 128 + WTERMSIG(status);
    return run;
}

void LinkGameFolder(const std::string& dir) {
    std::string cmd = "for f in " + ShellQuote(VAULTMERE_GAME_ROOT) + "/*; do ln -s \"$f\" " + ShellQuote(dir) +
                      "/; done";
    if (std::system(cmd.c_str()) != 0) {
    }
}

const char* const kQuitFromMenuScript = "wait 100\nkey escape\nwait 100\nclick 1 535 458\n";
const char* const kLeaveGameScript =
    "wait 300\nkey escape\nwait 300\nclick 1 585 426\nwait 300\nkey escape\nwait 300\nclick 1 535 458\n";

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool FileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

void WriteWholeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::vector<std::string> LoadProgressLabels(const std::string& output) {
    std::vector<std::string> labels;
    std::istringstream in(output);
    std::string line;
    const std::string marker = " seconds to: ";
    while (std::getline(in, line)) {
        if (line.rfind("[LogLoadProgress] ", 0) != 0) continue;
        size_t at = line.find(marker);
        if (at != std::string::npos) labels.push_back(line.substr(at + marker.size()));
    }
    return labels;
}

TickerRun RunRandomHeroWithTicker(const std::string& script) {
    TempDir user;
    WriteWholeFile(user.file("config.xml"),
                   "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    WriteWholeFile(user.file("script.txt"), script);
    TickerRun r;
    r.run = RunGame({"-no-initial-config", "-player-random-build", "-debug-flag"}, user.path(),
                    {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")},
                     {"VAULTMERE_TICKER_LOG", user.file("ticker.txt")}});
    r.tickerLog = ReadWholeFile(user.file("ticker.txt"));
    return r;
}
