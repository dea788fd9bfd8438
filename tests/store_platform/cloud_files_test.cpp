// Cloud copies of user files: the byte format, the round trips and the refusals.
#include "store_platform/cloud_files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/shell/shell_services.h"
#include "store_platform/remote_storage.h"
#include "store_platform/store.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

class CloudFilesTest : public testing::Test {
protected:
    void SetUp() override {
        SteamAPI_Shutdown();
        savedSwitch_ = enableSteamCloud;
        enableSteamCloud = 1;
        ASSERT_TRUE(SteamAPI_Init());
        ResetCloudStorageLookup();
        storage_ = GetCloudStorage();
        ASSERT_NE(storage_, nullptr);
    }
    void TearDown() override {
        SteamAPI_Shutdown();
        ResetCloudStorageLookup();
        enableSteamCloud = savedSwitch_;
    }
    std::string Local(const std::string& name) const { return user_.path() + "/" + name; }
    std::string CloudBytes(const std::string& name) {
        const int32_t size = storage_->GetFileSize(name.c_str());
        std::string bytes(static_cast<size_t>(size), '\0');
        if (size > 0) {
            EXPECT_EQ(storage_->FileRead(name.c_str(), &bytes[0], size), size);
        }
        return bytes;
    }
    void PutCloud(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(storage_->FileWrite(name.c_str(), bytes.data(), static_cast<int32_t>(bytes.size())));
    }

    TempDir user_;
    ScopedEnv userEnv_{"VAULTMERE_USER_DIR", user_.path().c_str()};
    ScopedEnv storeEnv_{"VAULTMERE_STORE_DIR", (user_.path() + "/shared_store").c_str()};
    StoreRemoteStorage* storage_ = nullptr;
    int32_t savedSwitch_ = 1;
};

uint32_t LE32(const std::string& s, size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(s[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(s[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(s[at + 3])) << 24;
}

}  // namespace

TEST_F(CloudFilesTest, UploadWritesCrcLengthAndAZlibStream) {
    // "123456789" is the CRC-32 check string.
    ASSERT_TRUE(MakeFileWithParents(Local("last.txt"), "123456789"));
    ASSERT_TRUE(UploadCloudFile(Local("last.txt").c_str(), "last.txt"));
    const std::string cloud = CloudBytes("last.txt");
    ASSERT_GE(cloud.size(), 10u);
    EXPECT_EQ(LE32(cloud, 0), 0xCBF43926u);
    EXPECT_EQ(LE32(cloud, 4), 9u);
    // A zlib header of a 32 KiB window at the fastest level, which keeps a save and quit of a
    // large game short.
    EXPECT_EQ(static_cast<unsigned char>(cloud[8]), 0x78);
    EXPECT_EQ(static_cast<unsigned char>(cloud[9]), 0x01);
    std::string back;
    uint32_t crc = 0;
    ASSERT_TRUE(DecodeCloudFile(cloud, &back, &crc));
    EXPECT_EQ(back, "123456789");
    EXPECT_EQ(crc, 0xCBF43926u);
}

TEST_F(CloudFilesTest, FilesOfEverySizeRoundTrip) {
    CSRand(77);
    std::string random;
    for (int i = 0; i < 65536; ++i) {
        const int draw = CRand();
        random += static_cast<char>(draw & 0xFF);
    }
    const std::vector<std::pair<std::string, std::string>> files = {
        {"empty.sav", ""}, {"one.sav", "x"}, {"random.sav", random}, {"hiscores.txt", "Dunmore 120\nKell 80\n"}};
    for (const auto& f : files) {
        ASSERT_TRUE(MakeFileWithParents(Local(f.first), f.second));
        ASSERT_TRUE(UploadCloudFile(Local(f.first).c_str(), f.first.c_str())) << f.first;
        if (f.second.empty()) {
            EXPECT_EQ(storage_->GetFileSize(f.first.c_str()), 0) << "an empty file stays empty";
        }
        ASSERT_TRUE(DownloadCloudFile(f.first.c_str(), Local("restored_" + f.first).c_str(), nullptr)) << f.first;
        EXPECT_EQ(ReadWholeFile(Local("restored_" + f.first)), f.second) << f.first;
    }
    EXPECT_FALSE(UploadCloudFile(Local("missing.sav").c_str(), "missing.sav"));
    EXPECT_FALSE(storage_->FileExists("missing.sav"));
}

TEST_F(CloudFilesTest, OnlyACompleteStreamOfTheStatedLengthIsRestored) {
    std::string good;
    ASSERT_TRUE(EncodeCloudFile("the quick brown fox", &good));
    std::string wrongCrc = good;
    wrongCrc[0] = static_cast<char>(wrongCrc[0] ^ 0x5A);
    std::string longer = good;
    longer[4] = static_cast<char>(longer[4] + 1);
    std::string shorter = good;
    shorter[4] = static_cast<char>(shorter[4] - 1);
    std::string broken = good;
    broken[12] = static_cast<char>(broken[12] ^ 0xFF);
    std::string huge = good;
    huge[7] = '\x7F';  // states ~2 GB: refused before anything is allocated
    struct Case {
        const char* name;
        std::string cloud;
        bool restored;
    } cases[] = {
        {"wrong CRC, valid stream", wrongCrc, true},
        {"1 byte", good.substr(0, 1), false},
        {"7 bytes", good.substr(0, 7), false},
        {"header only", good.substr(0, 8), false},
        {"cut stream", good.substr(0, good.size() - 3), false},
        {"broken stream", broken, false},
        {"length too large", longer, false},
        {"length too small", shorter, false},
        {"huge length", huge, false},
        {"plain text", "not a cloud file at all", false},
    };
    for (const Case& c : cases) {
        PutCloud("case.sav", c.cloud);
        ASSERT_TRUE(MakeFileWithParents(Local("case.sav"), "old local copy"));
        EXPECT_EQ(DownloadCloudFile("case.sav", Local("case.sav").c_str(), nullptr), c.restored) << c.name;
        EXPECT_EQ(ReadWholeFile(Local("case.sav")), c.restored ? "the quick brown fox" : "old local copy") << c.name;
        EXPECT_FALSE(FileExists(Local("case.sav.tmp"))) << c.name;
    }
    EXPECT_FALSE(DownloadCloudFile("never-written.sav", Local("x.sav").c_str(), nullptr));
    EXPECT_FALSE(FileExists(Local("x.sav")));
}

TEST_F(CloudFilesTest, RefusedWritesShortReadsAndTheSwitchReportFailure) {
    ASSERT_TRUE(MakeFileWithParents(Local("hiscores.txt"), std::string(4000, 'h')));
    StoreFaults faults;
    faults.cloudRefuseWrite = true;
    SetStoreFaults(faults);
    EXPECT_FALSE(UploadCloudFile(Local("hiscores.txt").c_str(), "hiscores.txt"));
    faults = StoreFaults();
    faults.cloudQuota = 10;
    SetStoreFaults(faults);
    EXPECT_FALSE(UploadCloudFile(Local("hiscores.txt").c_str(), "hiscores.txt"));
    EXPECT_FALSE(storage_->FileExists("hiscores.txt"));
    SetStoreFaults(StoreFaults());
    ASSERT_TRUE(UploadCloudFile(Local("hiscores.txt").c_str(), "hiscores.txt"));

    faults = StoreFaults();
    faults.shortRead = true;
    SetStoreFaults(faults);
    EXPECT_FALSE(DownloadCloudFile("hiscores.txt", Local("copy.txt").c_str(), nullptr));
    EXPECT_FALSE(FileExists(Local("copy.txt")));
    SetStoreFaults(StoreFaults());

    EXPECT_TRUE(DeleteCloudFile("hiscores.txt"));
    EXPECT_FALSE(DeleteCloudFile("hiscores.txt"));

    // The switch is read once, at the first use.
    ResetCloudStorageLookup();
    enableSteamCloud = 0;
    EXPECT_EQ(GetCloudStorage(), nullptr);
    enableSteamCloud = 1;
    EXPECT_EQ(GetCloudStorage(), nullptr);
    EXPECT_FALSE(UploadCloudFile(Local("hiscores.txt").c_str(), "hiscores.txt"));
}

TEST_F(CloudFilesTest, CloudNamesAreStoredAsWrittenAndListedSorted) {
    for (const char* name : {"zeta.sav", "../evil", "alpha.sav", ".hidden", "a/b", "100%"}) PutCloud(name, "x");
    ASSERT_EQ(storage_->GetFileCount(), 6);
    std::vector<std::string> listed;
    for (int32_t i = 0; i < 6; ++i) {
        int32_t size = -1;
        listed.push_back(storage_->GetFileNameAndSize(i, &size));
        EXPECT_EQ(size, 1);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"../evil", ".hidden", "100%", "a/b", "alpha.sav", "zeta.sav"}));
    EXPECT_EQ(storage_->GetFileNameAndSize(6, nullptr), nullptr);
    EXPECT_FALSE(storage_->FileWrite("", "x", 1));
    // Nothing escaped the cloud folder.
    EXPECT_FALSE(FileExists(user_.path() + "/shared_store/evil"));

    struct Case {
        const char* name;
        bool safe;
    } cases[] = {{"game.sav", true},  {"bitmap_game.sav", true}, {"../evil", false}, {"..", false},
                 {"a/b", false},      {"a\\b", false},           {"", false},        {"tab\there", false},
                 {"x..y", false},     {".", false}};
    for (const Case& c : cases) EXPECT_EQ(IsSafeCloudName(c.name), c.safe) << c.name;
    EXPECT_FALSE(IsSafeCloudName(nullptr));
}

namespace {

// Runs `body` in a child process whose heap and other private writable memory may grow by
// `extra` bytes at most; true when the body returned true there. An allocation beyond the
// limit throws or fails in the child.
bool RunWithMemoryLimit(size_t extra, const std::function<bool()>& body) {
    fflush(stdout);
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        long dataKb = -1;
        if (FILE* status = fopen("/proc/self/status", "r")) {
            char line[256];
            while (fgets(line, sizeof(line), status) != nullptr) {
                if (strncmp(line, "VmData:", 7) == 0) dataKb = strtol(line + 7, nullptr, 10);
            }
            fclose(status);
        }
        if (dataKb < 0) _exit(3);
        struct rlimit limit;
        limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(dataKb) * 1024 + extra;
        if (setrlimit(RLIMIT_DATA, &limit) != 0) _exit(3);
        bool ok = false;
        try {
            ok = body();
        } catch (...) {
            ok = false;
        }
        fflush(stdout);
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryLimitsWork = false;
#else
constexpr bool kMemoryLimitsWork = true;
#endif

}  // namespace

TEST_F(CloudFilesTest, HostileHeadersAreRefusedBeforeAnythingIsAllocated) {
    if (!kMemoryLimitsWork) GTEST_SKIP() << "the sanitizer's shadow memory defeats the limit";
    // Twelve bytes: a header stating 256 MB and four bytes of a stream.
    std::string claim("\0\0\0\0\0\0\0\x10\x78\x01\x03\x00", 12);
    PutCloud("claim.sav", claim);
    ASSERT_TRUE(MakeFileWithParents(Local("claim.sav"), "the local save"));
    EXPECT_TRUE(RunWithMemoryLimit(24u << 20, [&] {
        std::string data;
        const bool decoded = DecodeCloudFile(claim, &data, nullptr);
        const bool restored = DownloadCloudFile("claim.sav", Local("claim.sav").c_str(), nullptr);
        return !decoded && !restored;
    }));
    EXPECT_EQ(ReadWholeFile(Local("claim.sav")), "the local save");

    struct Case {
        uint32_t length;
        uint64_t cloudSize;
        bool plausible;
    } cases[] = {
        {0, 20, false},                      // no header states an empty file
        {1, 9, true},                        // the smallest stream
        {4, 12, true},                       // 4 stream bytes hold at most 4128 bytes
        {4128, 12, true},
        {4129, 12, false},
        {256u << 20, 12, false},             // the twelve-byte claim
        {kMaxCloudFileLength, 8 + (1u << 20), true},
        {kMaxCloudFileLength + 1, 8 + (64u << 20), false},  // above the limit of one file
        {5, 8, false},                       // no stream at all
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CloudLengthPlausible(c.length, c.cloudSize), c.plausible) << c.length << " in " << c.cloudSize;
    }
}

TEST_F(CloudFilesTest, UploadsAndRestoresStreamInPieces) {
    if (!kMemoryLimitsWork) GTEST_SKIP() << "the sanitizer's shadow memory defeats the limit";
    // 24 MB of a save-like mix: neither copy may be held whole.
    std::string big(24u << 20, '\0');
    CSRand(11);
    for (size_t i = 0; i < big.size(); i += 64) big[i] = static_cast<char>(CRand() & 0xFF);
    ASSERT_TRUE(MakeFileWithParents(Local("big.sav"), big));
    EXPECT_TRUE(RunWithMemoryLimit(12u << 20, [&] {
        return UploadCloudFile(Local("big.sav").c_str(), "big.sav") &&
               DownloadCloudFile("big.sav", Local("back.sav").c_str(), nullptr);
    }));
    EXPECT_TRUE(ReadWholeFile(Local("back.sav")) == big);
    // Files written by earlier versions, at level 9 in one piece, still restore.
    std::string old(8, '\0');
    const std::string text = "an older cloud copy, compressed at level nine";
    uLongf size = compressBound(text.size());
    std::string stream(size, '\0');
    ASSERT_EQ(compress2(reinterpret_cast<Bytef*>(&stream[0]), &size, reinterpret_cast<const Bytef*>(text.data()),
                        text.size(), 9),
              Z_OK);
    old[4] = static_cast<char>(text.size());
    PutCloud("old.sav", old + stream.substr(0, size));
    ASSERT_TRUE(DownloadCloudFile("old.sav", Local("old.sav").c_str(), nullptr));
    EXPECT_EQ(ReadWholeFile(Local("old.sav")), text);
}

TEST_F(CloudFilesTest, EmptyAndOverlongCloudCopiesNeverReplaceALocalFile) {
    ASSERT_TRUE(MakeFileWithParents(Local("Morwen.sav"), "a save of 1.6 MB, in short"));
    PutCloud("Morwen.sav", "");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(DownloadCloudFile("Morwen.sav", Local("Morwen.sav").c_str(), nullptr));
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(ReadWholeFile(Local("Morwen.sav")), "a save of 1.6 MB, in short");
    EXPECT_NE(printed.find("'Morwen.sav' is empty"), std::string::npos) << printed;
    // An empty local file, or none, takes the empty copy.
    ASSERT_TRUE(MakeFileWithParents(Local("empty.sav"), ""));
    EXPECT_TRUE(DownloadCloudFile("Morwen.sav", Local("empty.sav").c_str(), nullptr));
    EXPECT_TRUE(DownloadCloudFile("Morwen.sav", Local("new.sav").c_str(), nullptr));
    EXPECT_EQ(ReadWholeFile(Local("new.sav")), "");

    // Longer than the size field: a sparse file of 2 GiB and a byte.
    const std::string huge = StoreRemoteStorage::CloudFolder() + "Huge.sav";
    FILE* f = fopen(huge.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(fseeko(f, static_cast<off_t>(1) << 31, SEEK_SET), 0);
    ASSERT_EQ(fputc('x', f), 'x');
    fclose(f);
    EXPECT_EQ(storage_->GetFileSize("Huge.sav"), -1);
    ASSERT_TRUE(MakeFileWithParents(Local("Huge.sav"), "kept"));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(DownloadCloudFile("Huge.sav", Local("Huge.sav").c_str(), nullptr));
    printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(ReadWholeFile(Local("Huge.sav")), "kept");
    EXPECT_NE(printed.find("'Huge.sav' is too large to restore"), std::string::npos) << printed;
    EXPECT_FALSE(FileExists(Local("Huge.sav.tmp")));
}
