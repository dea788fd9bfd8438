// The libFuzzer entry points of every harness (see fuzz_driver.h).
#include "fuzz/fuzz_driver.h"

#include <ftw.h>
#include <physfs.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/platform.h"

namespace fuzz {

namespace {

std::string MakeTempFolder(const char* label) {
    std::string pattern = std::string("/tmp/vaultmere-fuzz-") + label + "-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    return std::string(name.data()) + "/";
}

std::string userFolder;
std::string storeFolder;
void (*harness)(const uint8_t* data, size_t size) = nullptr;

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) { return std::remove(path); }

void RemoveTempFolders() {
    for (const std::string* folder : {&userFolder, &storeFolder}) {
        if (!folder->empty()) nftw(folder->c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
}

}  // namespace

const std::string& UserFolder() { return userFolder; }
const std::string& StoreFolder() { return storeFolder; }

bool WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos) MakeDirectoryTree(path.substr(0, slash + 1));
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool ok = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

}  // namespace fuzz

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    (void)argc;
    const char* wanted = std::getenv("VAULTMERE_FUZZ_TARGET");
    for (size_t i = 0; wanted != nullptr && i < fuzz::kTargetCount; ++i) {
        if (std::strcmp(fuzz::kTargets[i].name, wanted) == 0) fuzz::harness = fuzz::kTargets[i].run;
    }
    if (fuzz::harness == nullptr) {
        std::fprintf(stderr, "Set VAULTMERE_FUZZ_TARGET to one of:");
        for (size_t i = 0; i < fuzz::kTargetCount; ++i) std::fprintf(stderr, " %s", fuzz::kTargets[i].name);
        std::fprintf(stderr, "\n");
        std::exit(2);
    }
    fuzz::userFolder = fuzz::MakeTempFolder("user");
    fuzz::storeFolder = fuzz::MakeTempFolder("store");
    std::atexit(fuzz::RemoveTempFolders);
    setenv("VAULTMERE_USER_DIR", fuzz::userFolder.c_str(), 1);
    setenv("VAULTMERE_STORE_DIR", fuzz::storeFolder.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    PHYSFS_init((*argv)[0]);
    // The loaders talk a lot about what they refuse; the fuzzer's own lines are on stderr.
    if (std::getenv("VAULTMERE_FUZZ_VERBOSE") == nullptr) {
        if (std::freopen("/dev/null", "w", stdout) == nullptr) std::perror("freopen");
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::harness(data, size);
    return 0;
}
