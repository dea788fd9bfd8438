#pragma once
// Fixtures for tests of the file layer: environment and working-directory guards, files made
// with their folders, and a small stored (uncompressed) ZIP writer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/run_game.h"

// Sets (or, with a null value, removes) an environment entry and restores it when it goes.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::string old_;
    bool hadOld_;
};

// Changes the working directory and changes back when it goes.
class ScopedWorkingDir {
public:
    explicit ScopedWorkingDir(const std::string& dir);
    ~ScopedWorkingDir();
    ScopedWorkingDir(const ScopedWorkingDir&) = delete;
    ScopedWorkingDir& operator=(const ScopedWorkingDir&) = delete;
    bool ok() const { return ok_; }

private:
    std::string old_;
    bool ok_;
};

// Writes a file, creating its missing parent folders; false on failure.
bool MakeFileWithParents(const std::string& path, const std::string& content);

// The bytes of a ZIP archive holding the given (name, content) entries, stored without
// compression: local headers, central directory and end record.
std::string BuildStoredZip(const std::vector<std::pair<std::string, std::string>>& entries);

// Runs each test in a fresh temporary game folder with a fresh virtual file system (not yet
// mounted), and puts the process-wide working directory and file system back afterwards.
class FreshDataTreeTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    TempDir tmp_;
    std::unique_ptr<ScopedWorkingDir> cwd_;
    bool wasInit_ = false;
};
