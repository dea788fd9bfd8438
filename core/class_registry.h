#pragma once
// Serializable, the root of every saved object, and the class registry that re-creates
// saved objects by class key. (Object references inside a block: levels/game_obj.h.)
//
// Every saveable class registers itself once, before main() runs, under its literal
// class name: put SERIALIZABLE_REGISTRATION(ClassName) in the class's .cpp file. The
// class needs a load constructor taking a SaveReader&. A save names the class of each
// object with a 4-byte class key: the lookup3 hash of the name for streams of 1.0.7 and
// later, an index into the fixed legacy table for older ones.
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "core/save_stream.h"

// Root of everything written into a saved game.
class Serializable {
public:
    virtual bool Save(SaveWriter& out) = 0;
    virtual ~Serializable();
};

// One registered class.
class SerializableDefinition {
public:
    virtual ~SerializableDefinition();
    // A new object of the registered class read from the stream by its load
    // constructor, or null when the allocation fails.
    virtual Serializable* Create(SaveReader& in) = 0;

    std::string name;
    uint32_t ordinal = 0;
    uint32_t hash = 0;
};

template <class T>
class SerializableDefinitionImpl : public SerializableDefinition {
public:
    Serializable* Create(SaveReader& in) override { return new (std::nothrow) T(in); }
};

class SerializableRegistry {
public:
    // The process-wide registry, created on first use (so registrations from static
    // initialisers in any order find it) and kept until the process ends.
    static SerializableRegistry& Instance();

    // Names the entry, gives it the next ordinal and the name's hash, and appends it.
    // The registry keeps the entry for the life of the process.
    SerializableDefinition* Register(SerializableDefinition* definition, const char* name);

    // The first entry with this name, or null.
    const SerializableDefinition* FindByName(const std::string& name) const;
    // The entry a class key of a stream of this version names, or null.
    const SerializableDefinition* FindByKey(uint32_t key, const SaveVersion& version) const;

    // Creates the object a class key names, reading its whole save block. A key that
    // names no registered class reads nothing, fails the reader with a message and
    // gives null; so does a block that the stream cuts short (the half-read object is
    // deleted).
    Serializable* CreateFromSave(uint32_t key, SaveReader& in);

    uint32_t counter = 0;
    std::vector<SerializableDefinition*> definitions;

private:
    SerializableRegistry() = default;
};

// Registers T under name when constructed; one static instance per class.
template <class T>
class SerializableRegistration {
public:
    explicit SerializableRegistration(const char* name) {
        SerializableRegistry::Instance().Register(new SerializableDefinitionImpl<T>(), name);
    }
};

#define SERIALIZABLE_REGISTRATION(ClassName) \
    static SerializableRegistration<ClassName> ClassName##Registration_(#ClassName)

// Hash of a class name: lookup3 hashlittle over its bytes with initval 0.
uint32_t ClassNameHash(const std::string& name);
// Registered hash of a class name, or 0xFFFFFFFF (-1) when it is not registered.
uint32_t GetRegisteredClassHash(const std::string& name);
// Registration ordinal of a class name, or -1 when it is not registered.
int32_t GetRegisteredClassIndex(const std::string& name);

// The legacy class table of streams up to 1.0.6: key -> class name, or null for a key
// outside the table.
constexpr uint32_t kLegacyClassCount = 50;
const char* LegacyClassName(uint32_t key);

// Every class name a saved game may hold (for checks over the whole set).
constexpr int kSaveableClassCount = 53;
extern const char* const kSaveableClassNames[kSaveableClassCount];

