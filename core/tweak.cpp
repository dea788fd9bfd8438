#include "core/tweak.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <expat.h>

#include "core/xml_util.h"

#include "platform/vfs.h"

namespace {

constexpr int kDifficultyCount = 3;
const char* const kSectionNames[kDifficultyCount] = {"easy", "medium", "hard"};

// Looked up by the name as given, without making a string of it: frames read some values.
std::map<std::string, int32_t, std::less<>> intTable[kDifficultyCount];
std::map<std::string, float, std::less<>> floatTable[kDifficultyCount];

// The value under `name`; a missing name is entered with 0, so later lookups see it too.
template <typename Value>
Value LookUp(std::map<std::string, Value, std::less<>>& table, const char* name) {
    auto found = table.find(name);
    if (found != table.end()) return found->second;
    return table[name];
}
int32_t currentSection = -1;

int SectionIndex(const XML_Char* element) {
    for (int i = 0; i < kDifficultyCount; ++i) {
        if (std::strcmp(element, kSectionNames[i]) == 0) {
            return i;
        }
    }
    return -1;
}

void XMLCALL TweakDBStartElement(void*, const XML_Char* element, const XML_Char** attributes) {
    const int section = SectionIndex(element);
    if (section >= 0) {
        currentSection = section;
        return;
    }
    if (std::strcmp(element, "tweak") != 0) {
        return;
    }
    std::string name;
    int32_t ival = 0;
    float fval = 0.0f;
    for (int i = 0; attributes[i] != nullptr && attributes[i + 1] != nullptr; i += 2) {
        const char* key = attributes[i];
        const char* value = attributes[i + 1];
        if (std::strcmp(key, "name") == 0) {
            name = value;
        } else if (std::strcmp(key, "ival") == 0) {
            ival = ParseDecimalInt32(value);
        } else if (std::strcmp(key, "fval") == 0) {
            fval = std::strtof(value, nullptr);
        }
    }
    if (currentSection >= 0 && currentSection < kDifficultyCount) {
        intTable[currentSection][name] = ival;
        floatTable[currentSection][name] = fval;
    } else {
        for (int d = 0; d < kDifficultyCount; ++d) {
            intTable[d][name] = ival;
            floatTable[d][name] = fval;
        }
    }
}

void XMLCALL TweakDBEndElement(void*, const XML_Char* element) {
    if (SectionIndex(element) >= 0) {
        currentSection = -1;
    }
}

// The hero's difficulty while a hero exists, else easy. A value outside the
// three sections reads as easy rather than indexing past the tables.
DifficultySource Difficulty = nullptr;

int CurrentDifficulty() {
    if (Difficulty == nullptr) {
        return 0;
    }
    const int32_t difficulty = Difficulty();
    if (difficulty < 0 || difficulty >= kDifficultyCount) {
        return 0;
    }
    return difficulty;
}

}  // namespace

void SetTweakDifficultySource(DifficultySource source) { Difficulty = source; }

bool LoadTweakValsFromBuffer(const char* data, size_t len) {
    currentSection = -1;
    XmlHandlers handlers;
    handlers.start = TweakDBStartElement;
    handlers.end = TweakDBEndElement;
    const bool ok = ParseXmlDocument(data, len, handlers);
    currentSection = -1;
    return ok;
}

void LoadTweakVals() {
    std::vector<char> buffer;
    if (!VfsReadFile("game//tweakDB.xml", buffer)) {
        return;
    }
    LoadTweakValsFromBuffer(buffer.data(), buffer.size());
}

int32_t GetTweakInt(const char* name) {
    if (name == nullptr) {
        return 0;
    }
    return LookUp(intTable[CurrentDifficulty()], name);
}

float GetTweakFloat(const char* name) {
    if (name == nullptr) {
        return 0.0f;
    }
    return LookUp(floatTable[CurrentDifficulty()], name);
}

bool TweakExists(const char* name) {
    if (name == nullptr) {
        return false;
    }
    return intTable[CurrentDifficulty()].count(name) != 0;
}

void ClearTweakVals() {
    for (int d = 0; d < kDifficultyCount; ++d) {
        intTable[d].clear();
        floatTable[d].clear();
    }
    currentSection = -1;
}
