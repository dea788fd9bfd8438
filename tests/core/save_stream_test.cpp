#include "core/save_stream.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> out;
    for (int v : values) out.push_back(static_cast<uint8_t>(v));
    return out;
}

struct WriteCase {
    const char* label;
    std::function<bool(SaveWriter&)> write;
    std::vector<uint8_t> expected;
};

TEST(SaveStreamWrite, PrimitivesAreByteExactLittleEndian) {
    int32_t damage[kDamageArrayLength];
    for (int i = 0; i < kDamageArrayLength; ++i) damage[i] = i * 0x01010101;
    std::vector<uint8_t> damageBytes;
    for (int i = 0; i < kDamageArrayLength; ++i) {
        for (int b = 0; b < 4; ++b) damageBytes.push_back(static_cast<uint8_t>(i));
    }
    const std::vector<WriteCase> cases = {
        {"int32 order", [](SaveWriter& w) { return w.WriteInt32(0x01020304); }, Bytes({4, 3, 2, 1})},
        {"negative int32", [](SaveWriter& w) { return w.WriteInt32(-2); }, Bytes({0xFE, 0xFF, 0xFF, 0xFF})},
        {"float 1.0", [](SaveWriter& w) { return w.WriteFloat(1.0f); }, Bytes({0, 0, 0x80, 0x3F})},
        {"float -2.5", [](SaveWriter& w) { return w.WriteFloat(-2.5f); }, Bytes({0, 0, 0x20, 0xC0})},
        {"bool word from 7", [](SaveWriter& w) { return w.WriteBool(7); }, Bytes({1, 0, 0, 0})},
        {"bool word from 0", [](SaveWriter& w) { return w.WriteBool(0); }, Bytes({0, 0, 0, 0})},
        {"marker byte", [](SaveWriter& w) { return w.WriteByte(1); }, Bytes({1})},
        {"string abc", [](SaveWriter& w) { return w.WriteString("abc"); },
         Bytes({3, 0, 0, 0, 0x61, 0x62, 0x63})},
        {"empty string", [](SaveWriter& w) { return w.WriteString(""); }, Bytes({0, 0, 0, 0})},
        {"string cut at NUL", [](SaveWriter& w) { return w.WriteString(std::string("ab\0cd", 5)); },
         Bytes({2, 0, 0, 0, 0x61, 0x62})},
        {"damage array", [&](SaveWriter& w) { return w.WriteDamageArray(damage); }, damageBytes},
    };
    for (const WriteCase& c : cases) {
        SaveWriter out;
        EXPECT_TRUE(c.write(out)) << c.label;
        EXPECT_EQ(out.Buffer(), c.expected) << c.label;
    }
    EXPECT_EQ(damageBytes.size(), 64u);
}

TEST(SaveStreamWrite, FileAndMemoryWritersProduceTheSameBytes) {
    auto writeAll = [](SaveWriter& w) {
        bool ok = w.WriteInt32(-123456);
        ok = w.WriteFloat(3.25f) && ok;
        ok = w.WriteString("Vaultmere") && ok;
        ok = w.WriteBool(1) && ok;
        ok = w.WriteByte(0) && ok;
        return ok;
    };
    SaveWriter memory;
    ASSERT_TRUE(writeAll(memory));

    FILE* file = tmpfile();
    ASSERT_NE(file, nullptr);
    SaveWriter toFile(file);
    ASSERT_TRUE(writeAll(toFile));
    EXPECT_EQ(toFile.BytesWritten(), memory.Buffer().size());
    rewind(file);
    std::vector<uint8_t> fromFile(memory.Buffer().size() + 8);
    size_t got = fread(fromFile.data(), 1, fromFile.size(), file);
    fromFile.resize(got);
    EXPECT_EQ(fromFile, memory.Buffer());

    rewind(file);
    SaveReader in(file);
    EXPECT_EQ(in.Remaining(), memory.Buffer().size());
    EXPECT_EQ(in.ReadInt32(), -123456);
    EXPECT_EQ(in.ReadFloat(), 3.25f);
    EXPECT_EQ(in.ReadString(), "Vaultmere");
    EXPECT_TRUE(in.ReadBool());
    EXPECT_EQ(in.ReadByte(), 0);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.Remaining(), 0u);
    fclose(file);
}

TEST(SaveStreamWrite, FailedFileWriteIsReportedAndSticky) {
    FILE* file = fopen("/dev/full", "wb");
    if (file == nullptr) GTEST_SKIP() << "/dev/full is not available";
    setvbuf(file, nullptr, _IONBF, 0);
    SaveWriter out(file);
    EXPECT_FALSE(out.WriteString("abc"));
    EXPECT_TRUE(out.Failed());
    EXPECT_FALSE(out.WriteInt32(1));
    fclose(file);
}

TEST(SaveStreamRead, ReadsBackWhatWasWritten) {
    SaveWriter out;
    int32_t damage[kDamageArrayLength];
    for (int i = 0; i < kDamageArrayLength; ++i) damage[i] = -i * 1000;
    out.WriteInt32(INT32_MIN);
    out.WriteUInt32(0xDEADBEEFu);
    out.WriteFloat(-0.125f);
    out.WriteBool(42);
    out.WriteString("a longer text with spaces");
    out.WriteString("");
    out.WriteDamageArray(damage);

    SaveReader in(out.Buffer());
    EXPECT_EQ(in.ReadInt32(), INT32_MIN);
    EXPECT_EQ(in.ReadUInt32(), 0xDEADBEEFu);
    EXPECT_EQ(in.ReadFloat(), -0.125f);
    EXPECT_TRUE(in.ReadBool());
    EXPECT_EQ(in.ReadString(), "a longer text with spaces");
    EXPECT_EQ(in.ReadString(), "");
    int32_t back[kDamageArrayLength];
    in.ReadDamageArray(back);
    for (int i = 0; i < kDamageArrayLength; ++i) EXPECT_EQ(back[i], damage[i]);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(SaveStreamRead, StoredStringIsCutAtItsFirstNul) {
    SaveReader in(Bytes({5, 0, 0, 0, 'a', 'b', 0, 'c', 'd', 9, 0, 0, 0}));
    EXPECT_EQ(in.ReadString(), "ab");
    EXPECT_EQ(in.ReadInt32(), 9);  // all five bytes were consumed
    EXPECT_FALSE(in.Failed());
}

struct HostileCase {
    const char* label;
    std::vector<uint8_t> bytes;
};

// Each input is a string that cannot be read; the bytes after it (an int32 of 7) must
// not be read either once the reader has failed.
TEST(SaveStreamRead, HostileStringsFailCleanlyAndStickily) {
    const std::vector<HostileCase> cases = {
        {"huge length", Bytes({0xFF, 0xFF, 0xFF, 0x7F, 'x', 7, 0, 0, 0})},
        {"length past the end", Bytes({9, 0, 0, 0, 'a', 'b', 7, 0, 0, 0})},
        {"truncated length word", Bytes({3, 0})},
    };
    for (const HostileCase& c : cases) {
        SaveReader in(c.bytes);
        EXPECT_EQ(in.ReadString(), "") << c.label;
        EXPECT_TRUE(in.Failed()) << c.label;
        EXPECT_FALSE(in.Error().empty()) << c.label;
        EXPECT_EQ(in.ReadInt32(), 0) << c.label;
        EXPECT_EQ(in.ReadString(), "") << c.label;
    }
}

// A count of 0 or less is the empty string: only the count word is consumed and the
// reader goes on with the next field.
TEST(SaveStreamRead, NonPositiveStringCountsReadAsEmpty) {
    const std::vector<HostileCase> cases = {
        {"minus one", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 7, 0, 0, 0})},
        {"most negative", Bytes({0, 0, 0, 0x80, 7, 0, 0, 0})},
        {"zero", Bytes({0, 0, 0, 0, 7, 0, 0, 0})},
    };
    for (const HostileCase& c : cases) {
        SaveReader in(c.bytes);
        EXPECT_EQ(in.ReadString(), "") << c.label;
        EXPECT_FALSE(in.Failed()) << c.label;
        EXPECT_EQ(in.ReadInt32(), 7) << c.label;
    }
}

TEST(SaveStreamRead, MissingWordsReadAsZeroAndFail) {
    SaveReader in(Bytes({1, 0, 0, 0, 2, 0}));
    EXPECT_EQ(in.ReadInt32(), 1);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.ReadInt32(), 0);  // a half word is not a word
    EXPECT_TRUE(in.Failed());

    SaveReader shortArray(Bytes({5, 0, 0, 0, 6, 0, 0, 0}));
    int32_t damage[kDamageArrayLength];
    for (int32_t& d : damage) d = -1;
    shortArray.ReadDamageArray(damage);
    EXPECT_EQ(damage[0], 5);
    EXPECT_EQ(damage[1], 6);
    for (int i = 2; i < kDamageArrayLength; ++i) EXPECT_EQ(damage[i], 0) << i;
    EXPECT_TRUE(shortArray.Failed());
}

TEST(SaveStreamRead, CountsAreCheckedAgainstTheRestOfTheStream) {
    struct CountCase {
        const char* label;
        std::vector<uint8_t> bytes;
        size_t elementSize;
        int32_t maxCount;
        int32_t expected;
        bool fails;
    };
    const std::vector<CountCase> cases = {
        {"fits exactly", Bytes({2, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}), 4, INT32_MAX, 2, false},
        {"zero", Bytes({0, 0, 0, 0}), 4, INT32_MAX, 0, false},
        {"one element too many", Bytes({3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}), 4, INT32_MAX, 0, true},
        {"negative", Bytes({0xFE, 0xFF, 0xFF, 0xFF}), 1, INT32_MAX, 0, true},
        {"huge", Bytes({0xFF, 0xFF, 0xFF, 0x7F, 0}), 1, INT32_MAX, 0, true},
        {"above the limit", Bytes({3, 0, 0, 0, 1, 2, 3}), 1, 2, 0, true},
        {"missing", Bytes({1}), 1, INT32_MAX, 0, true},
    };
    for (const CountCase& c : cases) {
        SaveReader in(c.bytes);
        EXPECT_EQ(in.ReadCount(c.elementSize, c.maxCount), c.expected) << c.label;
        EXPECT_EQ(in.Failed(), c.fails) << c.label;
    }
}

TEST(SaveStreamRead, HugeLengthInAFileIsRefusedBeforeReading) {
    FILE* file = tmpfile();
    ASSERT_NE(file, nullptr);
    const uint8_t bytes[] = {0x00, 0x00, 0x00, 0x40, 'a', 'b', 'c'};  // 1 GiB claimed
    fwrite(bytes, 1, sizeof(bytes), file);
    rewind(file);
    SaveReader in(file);
    EXPECT_EQ(in.ReadString(), "");
    EXPECT_TRUE(in.Failed());
    EXPECT_EQ(in.Position(), 4u);  // only the length word was consumed
    fclose(file);
}

TEST(SaveStreamRead, UnmeasurableStreamRunsOutOfDataNotMemory) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const uint8_t bytes[] = {0x00, 0x00, 0x00, 0x40, 'a', 'b', 'c'};  // 1 GiB claimed
    ASSERT_EQ(write(fds[1], bytes, sizeof(bytes)), static_cast<ssize_t>(sizeof(bytes)));
    close(fds[1]);
    FILE* file = fdopen(fds[0], "rb");
    ASSERT_NE(file, nullptr);
    SaveReader in(file);
    EXPECT_EQ(in.Remaining(), UINT64_MAX);
    EXPECT_EQ(in.ReadString(), "");
    EXPECT_TRUE(in.Failed());
    fclose(file);
}

TEST(SaveVersionGate, ComparesMajorThenMinorThenPatch) {
    struct GateCase {
        SaveVersion version;
        int32_t M, m, p;
        bool present;
    };
    const std::vector<GateCase> cases = {
        {{1, 0, 7}, 1, 0, 7, true},
        {{1, 0, 7}, 1, 0, 8, false},
        {{1, 0, 8}, 1, 0, 8, true},
        {{1, 0, 10}, 1, 0, 8, true},
        {{1, 0, 6}, 1, 0, 7, false},
        {{1, 0, 1}, 1, 0, 2, false},
        {{1, 1, 0}, 1, 0, 8, true},
        {{2, 0, 0}, 1, 0, 10, true},
        {{2, 0, 0}, 1, 5, 0, true},
        {{1, 0, 8}, 1, 1, 0, false},
        {{0, 9, 9}, 1, 0, 8, false},   // an older major never passes a newer gate
        {{0, 1, 20}, 1, 0, 8, false},
        {{1, 2, 0}, 2, 0, 0, false},
        {{1, 0, 10}, 1, 0, 10, true},
    };
    for (const GateCase& c : cases) {
        EXPECT_EQ(c.version.AtLeast(c.M, c.m, c.p), c.present)
            << c.version.major << "." << c.version.minor << "." << c.version.patch << " vs " << c.M
            << "." << c.m << "." << c.p;
    }
    EXPECT_TRUE((kCurrentSaveVersion == SaveVersion{1, 0, 10}));
}

}  // namespace
