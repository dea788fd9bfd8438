#pragma once
// Sums and products of money and counts that must not wrap: taken in 64 bits and held
// inside int32's range.
#include <cstdint>
#include <limits>

inline int32_t SaturateToInt32(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

inline int32_t SaturatingProduct(int32_t a, int32_t b) {
    return SaturateToInt32(static_cast<int64_t>(a) * b);
}

// Adds amount to total, stopping at int32's ends.
inline void AddSaturating(int32_t& total, int64_t amount) {
    total = SaturateToInt32(static_cast<int64_t>(total) + amount);
}
