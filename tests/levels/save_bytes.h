#pragma once
// Little-endian byte strings written out by hand for the golden save tests.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct SaveBytes {
    std::vector<uint8_t> bytes;

    SaveBytes& u8(uint8_t v) {
        bytes.push_back(v);
        return *this;
    }
    SaveBytes& i32(int64_t v) {
        const uint32_t w = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(w >> (8 * i)));
        return *this;
    }
    SaveBytes& f32(float v) {
        uint32_t w = 0;
        std::memcpy(&w, &v, 4);
        return i32(w);
    }
    SaveBytes& str(const std::string& s) {
        i32(static_cast<int64_t>(s.size()));
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    SaveBytes& raw(const std::string& s) {
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    SaveBytes& append(const std::vector<uint8_t>& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
    size_t size() const { return bytes.size(); }
};

// "" when the two byte strings are equal, else where and how they first differ.
inline std::string FirstByteDifference(const std::vector<uint8_t>& actual, const std::vector<uint8_t>& expected) {
    size_t i = 0;
    while (i < actual.size() && i < expected.size() && actual[i] == expected[i]) ++i;
    if (i == actual.size() && i == expected.size()) return std::string();
    const auto at = [i](const std::vector<uint8_t>& v) {
        return i < v.size() ? std::to_string(v[i]) : std::string("end");
    };
    return "first difference at byte " + std::to_string(i) + ": " + at(actual) + " instead of " + at(expected) +
           " (sizes " + std::to_string(actual.size()) + " and " + std::to_string(expected.size()) + ")";
}
