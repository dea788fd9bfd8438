#pragma once
// Where a benchmark finds the assembled game folder: $VAULTMERE_GAME_ROOT, else the folder
// "game" beside the benchmark program.
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

inline std::string GameRoot() {
    if (const char* root = std::getenv("VAULTMERE_GAME_ROOT")) return root;
    char exe[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return "game";
    std::string path(exe, static_cast<size_t>(n));
    return path.substr(0, path.rfind('/')) + "/game";
}
