#include "core/lookup3.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

TEST(Lookup3, PublishedVectors) {
    const char* text = "Four score and seven years ago";
    EXPECT_EQ(hashlittle("", 0, 0), 0xDEADBEEFu);
    EXPECT_EQ(hashlittle(text, std::strlen(text), 0), 0x17770551u);
    EXPECT_EQ(hashlittle(text, std::strlen(text), 1), 0xCD628161u);
}

TEST(Lookup3, ResultDoesNotDependOnAlignment) {
    const char* text = "Four score and seven years ago";
    size_t length = std::strlen(text);
    std::vector<char> buffer(length + 8);
    for (size_t offset = 0; offset < 8; ++offset) {
        std::memcpy(buffer.data() + offset, text, length);
        EXPECT_EQ(hashlittle(buffer.data() + offset, length, 0), 0x17770551u) << offset;
    }
}

TEST(Lookup3, EveryTailLengthDiffers) {
    // Lengths around the 12-byte block boundary take different paths; dropping or
    // misplacing a tail byte would make neighbouring prefixes collide.
    const char* text = "abcdefghijklmnopqrstuvwxyz";
    std::vector<uint32_t> seen;
    for (size_t length = 0; length <= 26; ++length) {
        uint32_t h = hashlittle(text, length, 0);
        for (uint32_t earlier : seen) EXPECT_NE(h, earlier) << length;
        seen.push_back(h);
    }
}

}  // namespace
