// Stand-in: what is still to be built is listed at the top of core/saved_games.h.
#include "core/shell/saved_games.h"

#include "core/save_stream.h"
#include "core/xml_util.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "interface/play_screen.h"
#include "items_fixtures/quest.h"
#include "levels/branch_db.h"
#include "levels/level.h"
#include "platform/platform.h"
#include "store_platform/store.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

std::vector<SaveSlot> SaveSlots;

namespace {

const char kMagic[4] = {'Z', 'N', 'C', 'H'};
const char kLegacyMagic[4] = {'Z', 'N', 'R', 'C'};
constexpr size_t kIndexLineSize = 256;

std::string UserFile(const std::string& name) {
    return GetUserDataPath() + name;
}

std::string ThumbnailName(const std::string& name) {
    return "bitmap_" + name;
}

// A save lives in the user folder under a plain file name: nothing that leaves the folder.
bool IsPlainFileName(const char* name) {
    if (name == nullptr || name[0] == '\0') return false;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return false;
    for (const char* p = name; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\' || *p == ':') return false;
    }
    return true;
}

// Reads one index line into the 256-byte buffer (at most 255 characters); line ends become
// NUL. False at the end of the file.
bool ReadIndexLine(FILE* file, char (&buffer)[kIndexLineSize]) {
    if (std::fgets(buffer, static_cast<int>(kIndexLineSize), file) == nullptr) {
        buffer[0] = '\0';
        return false;
    }
    for (char& c : buffer) {
        if (c == '\r' || c == '\n') c = '\0';
    }
    return true;
}

bool WriteSaveBody(SaveWriter& out) {
    bool ok = out.WriteBytes(kMagic, sizeof kMagic);
    out.version = kCurrentSaveVersion;
    ok = out.WriteInt32(kCurrentSaveVersion.major) && ok;
    ok = out.WriteInt32(kCurrentSaveVersion.minor) && ok;
    ok = out.WriteInt32(kCurrentSaveVersion.patch) && ok;
    ok = out.WriteInt32(static_cast<int32_t>(SpellList.size())) && ok;
    for (const Spell* spell : SpellList) ok = out.WriteInt32(spell != nullptr ? spell->castCount : 0) && ok;
    // The level blocks are still to come; until then a save lists no levels.
    ok = out.WriteInt32(0) && ok;
    ok = out.WriteInt32(static_cast<int32_t>(ActiveQuests.size())) && ok;
    for (const QuestRecord* quest : ActiveQuests) ok = quest->Write(out) && ok;
    return ok;
}

SaveSlot MakeSlotForHero(const char* name) {
    SaveSlot slot;
    slot.fileName = name;
    if (CurrentPlayer != nullptr) {
        slot.line1 = CurrentPlayer->name + " the " + CurrentPlayer->GetTitle();
        for (int32_t i = 0; i < kSaveSlotSkillCount; ++i) slot.skills[i] = CurrentPlayer->skills[i];
    }
    if (CurrentLevel != nullptr) {
        const BranchRecord* branch = CurrentLevel->GetBranchRecord();
        slot.line2 = "on Floor " + std::to_string(CurrentLevel->depth) + " of " +
                     (branch != nullptr ? branch->name : std::string());
    }
    return slot;
}

}  // namespace

bool SaveGame(const char* name) {
    if (!IsPlainFileName(name)) {
        std::printf("SaveGame: refusing the save name \"%s\"\n", name != nullptr ? name : "");
        return false;
    }
    const std::string savePath = UserFile(name);
    const std::string thumbPath = UserFile(ThumbnailName(name));
    bool thumbWritten = false;
    if (SaveThumbnailSurface != nullptr) {
        thumbWritten = SDL_SaveBMP(SaveThumbnailSurface, thumbPath.c_str()) == 0;
    }
    FILE* file = std::fopen(savePath.c_str(), "wb");
    if (file == nullptr) {
        std::printf("SaveGame: cannot write %s\n", savePath.c_str());
        if (thumbWritten) RemoveFile(thumbPath.c_str());
        return false;
    }
    SaveWriter out(file);
    bool ok = WriteSaveBody(out);
    ok = !out.Failed() && ok;
    ok = (std::fclose(file) == 0) && ok;
    if (!ok) {
        std::printf("SaveGame: writing %s failed; the save is removed\n", savePath.c_str());
        RemoveFile(savePath.c_str());
        RemoveFile(thumbPath.c_str());
        return false;
    }
    UploadCloudFile(savePath.c_str(), name);
    if (thumbWritten) UploadCloudFile(thumbPath.c_str(), ThumbnailName(name).c_str());
    ReadSaveIndex(nullptr);
    RemoveSaveSlot(name);
    SaveSlots.insert(SaveSlots.begin(), MakeSlotForHero(name));
    WriteSaveIndex();
    return true;
}

bool LoadGame(const char* name) {
    CurrentPlayer = nullptr;
    if (name == nullptr || name[0] == '\0') return false;
    FILE* file = std::fopen(name, "rb");
    if (file == nullptr && IsPlainFileName(name)) file = std::fopen(UserFile(name).c_str(), "rb");
    if (file == nullptr) {
        std::printf("LoadGame: cannot open %s\n", name);
        return false;
    }
    SaveReader in(file);
    char magic[4] = {};
    in.ReadBytes(magic, sizeof magic);
    if (std::memcmp(magic, kLegacyMagic, sizeof magic) == 0) {
        in.version = SaveVersion{1, 0, 1};
    } else if (std::memcmp(magic, kMagic, sizeof magic) == 0) {
        in.version.major = in.ReadInt32();
        in.version.minor = in.ReadInt32();
        in.version.patch = in.ReadInt32();
    } else {
        std::printf("LoadGame: %s is not a saved game\n", name);
        std::fclose(file);
        return false;
    }
    std::fclose(file);
    if (in.Failed()) {
        std::printf("LoadGame: %s is cut short\n", name);
        return false;
    }
    std::printf("LoadGame: reading the levels of a saved game is not available yet (%s)\n", name);
    return false;
}

void ReadSaveIndex(const char* path) {
    SaveSlots.clear();
    const std::string file = path != nullptr ? std::string(path) : UserFile("loadsave.dat");
    FILE* in = std::fopen(file.c_str(), "rt");
    if (in == nullptr) return;
    char line[kIndexLineSize] = {};
    ReadIndexLine(in, line);
    const int32_t count = ParseDecimalInt32(line);
    // A count larger than the file stops at the end of the file.
    for (int32_t i = 0; i < count; ++i) {
        SaveSlot slot;
        if (!ReadIndexLine(in, line)) break;
        slot.fileName = line;
        ReadIndexLine(in, line);
        slot.line1 = line;
        ReadIndexLine(in, line);
        slot.line2 = line;
        for (int32_t& skill : slot.skills) {
            ReadIndexLine(in, line);
            skill = ParseDecimalInt32(line);
        }
        if (!slot.fileName.empty()) SaveSlots.push_back(slot);
    }
    std::fclose(in);
}

void WriteSaveIndex() {
    const std::string path = UserFile("loadsave.dat");
    FILE* out = std::fopen(path.c_str(), "wt");
    if (out == nullptr) {
        std::printf("WriteSaveIndex: cannot write %s\n", path.c_str());
        return;
    }
    int count = 0;
    for (const SaveSlot& slot : SaveSlots) count += slot.fileName.empty() ? 0 : 1;
    std::fprintf(out, "%i\n", count);
    for (const SaveSlot& slot : SaveSlots) {
        if (slot.fileName.empty()) continue;
        std::fprintf(out, "%s\n%s\n%s\n", slot.fileName.c_str(), slot.line1.c_str(), slot.line2.c_str());
        for (int32_t skill : slot.skills) std::fprintf(out, "%i\n", skill);
    }
    std::fclose(out);
    UploadCloudFile(path.c_str(), "loadsave.dat");
}

void RemoveSaveSlot(const char* name) {
    if (name == nullptr) return;
    for (SaveSlot& slot : SaveSlots) {
        if (slot.fileName == name) slot.fileName.clear();
    }
}

std::string MakeUniqueSaveFileName(const char* name) {
    // The hero's name becomes a file name of the user folder: characters that would lead
    // out of it become '_'.
    std::string base = name != nullptr ? name : "";
    for (char& c : base) {
        if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 32) c = '_';
    }
    if (base.empty() || base == "." || base == "..") base = "Hero";
    auto taken = [](const std::string& candidate) {
        for (const SaveSlot& slot : SaveSlots) {
            if (slot.fileName == candidate) return true;
        }
        return false;
    };
    std::string candidate = base + ".sav";
    for (int n = 1; taken(candidate); ++n) candidate = base + "_" + std::to_string(n) + ".sav";
    return candidate;
}

void DeleteSaveGame(const char* name, bool force) {
    if (!force && (CurrentPlayer == nullptr || CurrentPlayer->permadeath == 0)) return;
    if (!IsPlainFileName(name)) return;
    RemoveFile(UserFile(name).c_str());
    RemoveFile(UserFile(ThumbnailName(name)).c_str());
    DeleteCloudFile(name);
    DeleteCloudFile(ThumbnailName(name).c_str());
    ReadSaveIndex(nullptr);
    RemoveSaveSlot(name);
    WriteSaveIndex();
    ReadSaveIndex(nullptr);
}
