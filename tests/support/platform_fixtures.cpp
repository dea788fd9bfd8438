#include "support/platform_fixtures.h"

#include <physfs.h>

#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    const char* old = getenv(name);
    hadOld_ = old != nullptr;
    if (old) old_ = old;
    if (value) setenv(name, value, 1);
    else unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (hadOld_) setenv(name_.c_str(), old_.c_str(), 1);
    else unsetenv(name_.c_str());
}

ScopedWorkingDir::ScopedWorkingDir(const std::string& dir) {
    char buf[4096];
    ok_ = getcwd(buf, sizeof(buf)) != nullptr;
    if (ok_) old_ = buf;
    ok_ = ok_ && chdir(dir.c_str()) == 0;
}

ScopedWorkingDir::~ScopedWorkingDir() {
    if (!old_.empty() && chdir(old_.c_str()) != 0) {
        fprintf(stderr, "could not return to %s\n", old_.c_str());
    }
}

bool MakeFileWithParents(const std::string& path, const std::string& content) {
    for (size_t i = 1; i < path.size(); ++i) {
        if (path[i] == '/') {
            std::string part = path.substr(0, i);
            if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
        }
    }
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(content.data(), 1, content.size(), f) == content.size();
    return fclose(f) == 0 && ok;
}

namespace {

void Put16(std::string& out, uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void Put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

std::string BuildStoredZip(const std::vector<std::pair<std::string, std::string>>& entries) {
    const uint16_t kDosTime = 0;
    const uint16_t kDosDate = (1 << 5) | 1;  // 1980-01-01
    std::string out, central;
    for (const auto& entry : entries) {
        const std::string& name = entry.first;
        const std::string& data = entry.second;
        uint32_t crc = static_cast<uint32_t>(
            crc32(0L, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
        uint32_t offset = static_cast<uint32_t>(out.size());

        Put32(out, 0x04034b50);
        Put16(out, 10);  // version needed
        Put16(out, 0);   // flags
        Put16(out, 0);   // stored
        Put16(out, kDosTime);
        Put16(out, kDosDate);
        Put32(out, crc);
        Put32(out, static_cast<uint32_t>(data.size()));
        Put32(out, static_cast<uint32_t>(data.size()));
        Put16(out, static_cast<uint16_t>(name.size()));
        Put16(out, 0);  // extra length
        out += name;
        out += data;

        Put32(central, 0x02014b50);
        Put16(central, 20);  // version made by
        Put16(central, 10);  // version needed
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, kDosTime);
        Put16(central, kDosDate);
        Put32(central, crc);
        Put32(central, static_cast<uint32_t>(data.size()));
        Put32(central, static_cast<uint32_t>(data.size()));
        Put16(central, static_cast<uint16_t>(name.size()));
        Put16(central, 0);  // extra
        Put16(central, 0);  // comment
        Put16(central, 0);  // disk
        Put16(central, 0);  // internal attributes
        Put32(central, 0);  // external attributes
        Put32(central, offset);
        central += name;
    }
    uint32_t centralOffset = static_cast<uint32_t>(out.size());
    out += central;
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint16_t>(entries.size()));
    Put16(out, static_cast<uint16_t>(entries.size()));
    Put32(out, static_cast<uint32_t>(central.size()));
    Put32(out, centralOffset);
    Put16(out, 0);  // comment length
    return out;
}

void FreshDataTreeTest::SetUp() {
    wasInit_ = PHYSFS_isInit() != 0;
    if (wasInit_) PHYSFS_deinit();
    cwd_.reset(new ScopedWorkingDir(tmp_.path()));
    ASSERT_TRUE(cwd_->ok());
}

void FreshDataTreeTest::TearDown() {
    if (PHYSFS_isInit()) PHYSFS_deinit();
    cwd_.reset();
    if (wasInit_) PHYSFS_init(nullptr);
}
