#pragma once
// Byte strings of save records written out by hand, and the reload of a record through the
// class registry, for the fixture record tests.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/class_registry.h"
#include "core/save_stream.h"
#include "levels/game_obj.h"

namespace record_bytes {

using Bytes = std::vector<uint8_t>;

inline Bytes Tail(const Bytes& bytes, size_t from) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end());
}

// A little-endian 32-bit word.
inline Bytes Word(int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
            static_cast<uint8_t>(u >> 24)};
}

// A string as the save stream writes it: its length word, then its bytes.
inline Bytes Str(const std::string& text) {
    Bytes b;
    b.reserve(4 + text.size());
    const Bytes size = Word(static_cast<int32_t>(text.size()));
    b.insert(b.end(), size.begin(), size.end());
    b.insert(b.end(), text.begin(), text.end());
    return b;
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// The object's own block as the save stream writes it.
inline Bytes SaveBytes(GameObj& obj, SaveVersion version = kCurrentSaveVersion) {
    SaveWriter out;
    out.version = version;
    EXPECT_TRUE(obj.Save(out));
    return out.Buffer();
}

// Reads a block back through the registry under the given key; `left` receives the bytes the
// load did not read.
inline std::unique_ptr<GameObj> Reload(uint32_t key, const Bytes& bytes, SaveVersion version = kCurrentSaveVersion,
                                       uint64_t* left = nullptr) {
    SaveReader in(bytes);
    in.version = version;
    Serializable* loaded = SerializableRegistry::Instance().CreateFromSave(key, in);
    EXPECT_FALSE(in.Failed()) << in.Error();
    if (left != nullptr) *left = in.Remaining();
    return std::unique_ptr<GameObj>(dynamic_cast<GameObj*>(loaded));
}

}  // namespace record_bytes
