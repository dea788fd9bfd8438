#include "core/class_registry.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/command_state.h"
#include "levels/game_obj.h"
#include "core/lookup3.h"

namespace {

std::vector<uint8_t> Word(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

std::vector<uint8_t> GameObjBlock(const SaveVersion& version) {
    GameObj obj;
    SaveWriter out;
    out.version = version;
    obj.Save(out);
    return out.Buffer();
}

TEST(ClassRegistry, EverySaveableClassNameHasADistinctKey) {
    std::set<uint32_t> keys;
    std::set<std::string> names;
    for (const char* name : kSaveableClassNames) {
        uint32_t key = ClassNameHash(name);
        EXPECT_NE(key, 0xFFFFFFFFu) << name;  // the "not registered" answer
        EXPECT_TRUE(keys.insert(key).second) << name << " shares a class key";
        EXPECT_TRUE(names.insert(name).second) << name << " listed twice";
    }
    EXPECT_EQ(ClassNameHash(""), 0xDEADBEEFu);
}

TEST(ClassRegistry, RegisteredEntriesAreConsistent) {
    const SerializableRegistry& registry = SerializableRegistry::Instance();
    ASSERT_NE(registry.FindByName("GameObj"), nullptr);
    ASSERT_NE(registry.FindByName("Activatable"), nullptr);
    EXPECT_EQ(registry.counter, registry.definitions.size());
    std::set<uint32_t> ordinals;
    std::set<uint32_t> hashes;
    for (const SerializableDefinition* definition : registry.definitions) {
        EXPECT_EQ(definition->hash, hashlittle(definition->name.data(), definition->name.size(), 0))
            << definition->name;
        EXPECT_LT(definition->ordinal, registry.counter) << definition->name;
        EXPECT_TRUE(ordinals.insert(definition->ordinal).second) << definition->name;
        EXPECT_TRUE(hashes.insert(definition->hash).second) << definition->name;
    }
    GameObj obj;
    Activatable lever;
    EXPECT_EQ(obj.GetClassHash(), ClassNameHash("GameObj"));
    EXPECT_EQ(lever.GetClassHash(), ClassNameHash("Activatable"));
    EXPECT_EQ(obj.GetClassIndex(), static_cast<int32_t>(registry.FindByName("GameObj")->ordinal));
    EXPECT_NE(obj.GetClassIndex(), lever.GetClassIndex());
    EXPECT_EQ(GetRegisteredClassHash("NoSuchClass"), 0xFFFFFFFFu);
    EXPECT_EQ(GetRegisteredClassIndex("NoSuchClass"), -1);
}

TEST(ClassRegistry, LegacyTableResolvesOldKeys) {
    const std::vector<std::pair<uint32_t, const char*>> known = {
        {0, "Anvil"}, {6, "ZarnochStatue"}, {15, "CraftTable"}, {22, "GameObj"},
        {33, "Player"}, {44, "Stairs"}, {49, "Weapon"},
    };
    for (const auto& entry : known) {
        ASSERT_NE(LegacyClassName(entry.first), nullptr) << entry.first;
        EXPECT_STREQ(LegacyClassName(entry.first), entry.second) << entry.first;
    }
    EXPECT_EQ(LegacyClassName(50), nullptr);
    EXPECT_EQ(LegacyClassName(0xFFFFFFFFu), nullptr);
    std::set<std::string> legacyNames;
    for (uint32_t key = 0; key < kLegacyClassCount; ++key) legacyNames.insert(LegacyClassName(key));
    EXPECT_EQ(legacyNames.size(), 50u);
    for (const char* newer : {"Activatable", "Clock", "DiggleGod", "Portal"}) {
        EXPECT_EQ(legacyNames.count(newer), 0u) << newer;
    }
}

TEST(ClassRegistry, CreateFromSaveUsesLegacyKeysUpTo106AndHashesAfter) {
    SerializableRegistry& registry = SerializableRegistry::Instance();
    const SaveVersion v106{1, 0, 6};
    const SaveVersion v107{1, 0, 7};
    std::vector<uint8_t> oldBlock = GameObjBlock(v106);
    ASSERT_EQ(oldBlock.size(), 48u);

    {  // key 22 of a 1.0.6 stream is a GameObj, which reads its whole block
        SaveReader in(oldBlock);
        in.version = v106;
        std::unique_ptr<Serializable> created(registry.CreateFromSave(22, in));
        ASSERT_NE(created, nullptr);
        EXPECT_NE(dynamic_cast<GameObj*>(created.get()), nullptr);
        EXPECT_FALSE(in.Failed());
        EXPECT_EQ(in.Remaining(), 0u);
    }
    struct MissCase {
        const char* label;
        uint32_t key;
        SaveVersion version;
    };
    const std::vector<MissCase> misses = {
        {"legacy key without a class", 15, v106},
        {"legacy key past the table", 50, v106},
        {"small key in a hashed stream", 22, v107},
        {"hash in a legacy stream", ClassNameHash("GameObj"), v106},
    };
    for (const MissCase& c : misses) {
        SaveReader in(oldBlock);
        in.version = c.version;
        EXPECT_EQ(registry.CreateFromSave(c.key, in), nullptr) << c.label;
        EXPECT_TRUE(in.Failed()) << c.label;
        EXPECT_EQ(in.Position(), 0u) << c.label;  // nothing of the block was read
    }
}

TEST(ObjectRef, NullReferenceIsOneZeroByte) {
    SaveWriter out;
    EXPECT_TRUE(WriteObjectRef(out, nullptr));
    EXPECT_EQ(out.Buffer(), std::vector<uint8_t>{0});

    SaveReader in(out.Buffer());
    EXPECT_EQ(ReadObjectRef(in), nullptr);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(ObjectRef, PresentReferenceIsMarkerKeyAndBlock) {
    Activatable lever;
    lever.activated = 1;
    lever.x = 4;
    SaveWriter out;
    EXPECT_TRUE(WriteObjectRef(out, &lever));

    SaveWriter block;
    lever.Save(block);
    std::vector<uint8_t> expected = {1};
    std::vector<uint8_t> key = Word(ClassNameHash("Activatable"));
    expected.insert(expected.end(), key.begin(), key.end());
    expected.insert(expected.end(), block.Buffer().begin(), block.Buffer().end());
    EXPECT_EQ(out.Buffer(), expected);
    EXPECT_EQ(out.Buffer().size(), 1u + 4u + 60u);

    SaveReader in(out.Buffer());
    std::unique_ptr<GameObj> back(ReadObjectRef(in));
    ASSERT_NE(back, nullptr);
    Activatable* readLever = dynamic_cast<Activatable*>(back.get());
    ASSERT_NE(readLever, nullptr);
    EXPECT_TRUE(readLever->IsActivated());
    EXPECT_EQ(readLever->x, 4);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(ObjectRef, PerObjectLoadAndSaveLinesOnlyWithTheLoadsDebugFlag) {
    const uint32_t savedFlags = CmdLine.debugFlags;
    for (uint32_t flags : {0u, kDebugGeneral, kDebugLoads}) {
        SCOPED_TRACE(flags);
        CmdLine.debugFlags = flags;
        Activatable lever;
        testing::internal::CaptureStdout();
        SaveWriter out;
        WriteObjectRef(out, &lever);
        SaveReader in(out.Buffer());
        std::unique_ptr<GameObj> back(ReadObjectRef(in));
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_NE(back, nullptr);
        if (flags == kDebugLoads) {
            EXPECT_EQ(printed, "Wrote activated = 0\ncreating a Activatable\nRead activated = 0\n");
        } else {
            EXPECT_EQ(printed, "");
        }
    }
    CmdLine.debugFlags = savedFlags;
}

TEST(ObjectRef, UnknownClassKeyFailsTheLoad) {
    std::vector<uint8_t> bytes = {1};
    std::vector<uint8_t> key = Word(ClassNameHash("CraftTable"));  // never registered
    bytes.insert(bytes.end(), key.begin(), key.end());
    std::vector<uint8_t> block = GameObjBlock(kCurrentSaveVersion);
    bytes.insert(bytes.end(), block.begin(), block.end());

    SaveReader in(bytes);
    EXPECT_EQ(ReadObjectRef(in), nullptr);
    EXPECT_TRUE(in.Failed());
    EXPECT_NE(in.Error().find("unknown class key"), std::string::npos) << in.Error();
    // The failed reader reads nothing more: the block is not misread as later fields.
    EXPECT_EQ(in.ReadInt32(), 0);
}

TEST(ObjectRef, TruncatedBlockGivesNoObject) {
    GameObj obj;
    obj.roomID = "gate";
    SaveWriter out;
    WriteObjectRef(out, &obj);
    for (size_t cut : {size_t(1), size_t(3), size_t(5), size_t(20), out.Buffer().size() - 1}) {
        std::vector<uint8_t> bytes(out.Buffer().begin(), out.Buffer().begin() + cut);
        SaveReader in(bytes);
        EXPECT_EQ(ReadObjectRef(in), nullptr) << cut;
        EXPECT_TRUE(in.Failed()) << cut;
    }
}

}  // namespace
