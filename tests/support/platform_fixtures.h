#pragma once
// Fixtures for tests of the file layer: environment and working-directory guards, files made
// with their folders, and a small stored (uncompressed) ZIP writer.
#include <string>
#include <utility>
#include <vector>

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
