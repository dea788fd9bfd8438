#include "support/run_game.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

GameRun RunGame(const std::vector<std::string>& args, const std::string& userDir,
                const std::map<std::string, std::string>& env, int timeoutSeconds,
                const std::string& workDir) {
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

void LinkGameFolder(const std::string& dir) {
    std::string cmd = "for f in " + ShellQuote(VAULTMERE_GAME_ROOT) + "/*; do ln -s \"$f\" " + ShellQuote(dir) +
                      "/; done";
    if (std::system(cmd.c_str()) != 0) {
    }
}

const char* const kQuitFromMenuScript = "wait 100\nkey escape\nwait 100\nclick 1 535 458\n";

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
