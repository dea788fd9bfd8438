// What every loader harness shares: a user folder and a store folder of its own, the headless
// drivers, the virtual file system, and writing an input into a file of those folders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// The temporary user folder ($VAULTMERE_USER_DIR), ending in '/'.
const std::string& UserFolder();
// The temporary store folder ($VAULTMERE_STORE_DIR), ending in '/'.
const std::string& StoreFolder();
// Writes the bytes to that path (missing folders are made); false when it cannot.
bool WriteBytes(const std::string& path, const uint8_t* data, size_t size);

// A loader's harness: its name (the value of $VAULTMERE_FUZZ_TARGET) and the function that
// takes one input.
struct Target {
    const char* name;
    void (*run)(const uint8_t* data, size_t size);
};
extern const Target kTargets[];
extern const size_t kTargetCount;

}  // namespace fuzz
