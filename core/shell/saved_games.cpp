// Stand-in: what is still to be built is listed at the top of core/shell/saved_games.h.
#include "core/shell/saved_games.h"

#include "core/save_stream.h"
#include "core/xml_util.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "interface/play_screen.h"
#include "items_fixtures/quest.h"
#include "levels/branch_db.h"
#include "levels/level.h"
#include "platform/atomic_file.h"
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

// "" when the user folder is unavailable: nothing is then read or written at all.
std::string UserFile(const std::string& name) {
    return UserFilePath(name);
}

std::string ThumbnailName(const std::string& name) {
    return "bitmap_" + name;
}

// A save lives in the user folder under a plain file name: nothing that leaves the folder,
// and nothing that would break the line-based index.
bool IsPlainFileName(const char* name) {
    if (name == nullptr || name[0] == '\0') return false;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return false;
    if (std::strlen(name) > kIndexLineSize - 2) return false;  // one line of the index
    for (const char* p = name; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\' || *p == ':') return false;
        if (static_cast<unsigned char>(*p) < 0x20 || *p == 0x7F) return false;
    }
    return true;
}

// One line of the index as it will read back: control characters become blanks, and at
// most 254 bytes are kept (with its "\n" the line fills the reader's 256-byte buffer), cut
// before a UTF-8 continuation byte so that no letter is split.
std::string IndexLine(const std::string& text) {
    std::string line = text;
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    }
    const size_t limit = kIndexLineSize - 2;
    if (line.size() > limit) {
        size_t cut = limit;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        line.resize(cut);
    }
    return line;
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
        for (int32_t i = 0; i < kSaveSlotSkillCount; ++i) slot.skills[i] = CurrentPlayer->skillIds[i];
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
    if (savePath.empty()) {
        std::printf("SaveGame: not saved, the user folder is unavailable\n");
        return false;
    }
    // The previous save stays whole until the new one is completely on the disk.
    AtomicFileWriter save(savePath);
    bool ok = save.Open();
    if (ok) {
        SaveWriter out(save.file());
        ok = WriteSaveBody(out);
        ok = !out.Failed() && ok;
        ok = save.Commit() && ok;
    }
    if (!ok) {
        std::printf("SaveGame: %s not saved (%s); the previous save is kept\n", name,
                    save.error().empty() ? "a part could not be written" : save.error().c_str());
        return false;
    }
    UploadCloudFile(savePath.c_str(), name);
    if (SaveThumbnailSurface != nullptr) {
        AtomicFileWriter thumb(thumbPath);
        bool thumbOk = thumb.Open();
        if (thumbOk) {
            SDL_RWops* rw = SDL_RWFromFP(thumb.file(), 0);
            thumbOk = rw != nullptr && SDL_SaveBMP_RW(SaveThumbnailSurface, rw, 0) == 0;
            if (rw != nullptr) SDL_RWclose(rw);
            thumbOk = thumbOk && thumb.Commit();
        }
        if (thumbOk) {
            UploadCloudFile(thumbPath.c_str(), ThumbnailName(name).c_str());
        } else {
            // The save itself is whole; only its picture on the load screen is the old one.
            std::printf("SaveGame: the picture of %s could not be written (%s)\n", name,
                        thumb.error().empty() ? SDL_GetError() : thumb.error().c_str());
        }
    }
    ReadSaveIndex(nullptr);
    RemoveSaveSlot(name);
    SaveSlots.insert(SaveSlots.begin(), MakeSlotForHero(name));
    return WriteSaveIndex();
}

bool LoadGame(const char* name) {
    CurrentPlayer = nullptr;
    if (name == nullptr || name[0] == '\0') return false;
    // Only regular files: a named pipe or a device would block or never end.
    FILE* file = OpenRegularFile(name);
    if (file == nullptr && IsPlainFileName(name)) file = OpenRegularFile(UserFile(name));
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
    FILE* in = OpenRegularFile(file);
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

bool WriteSaveIndex() {
    const std::string path = UserFile("loadsave.dat");
    int count = 0;
    for (const SaveSlot& slot : SaveSlots) count += slot.fileName.empty() ? 0 : 1;
    std::string text = std::to_string(count) + "\n";
    for (const SaveSlot& slot : SaveSlots) {
        if (slot.fileName.empty()) continue;
        text += IndexLine(slot.fileName) + "\n" + IndexLine(slot.line1) + "\n" + IndexLine(slot.line2) + "\n";
        for (int32_t skill : slot.skills) text += std::to_string(skill) + "\n";
    }
    std::string error;
    if (!WriteFileAtomically(path, text, &error)) {
        std::printf("WriteSaveIndex: loadsave.dat not written (%s); the previous index is kept\n",
                    path.empty() ? "the user folder is unavailable" : error.c_str());
        return false;
    }
    UploadCloudFile(path.c_str(), "loadsave.dat");
    return true;
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

bool DeleteSaveGame(const char* name, bool force) {
    if (!force && (CurrentPlayer == nullptr || CurrentPlayer->permadeath == 0)) return true;
    if (!IsPlainFileName(name) || UserFile(name).empty()) return false;
    RemoveFile(UserFile(name).c_str());
    RemoveFile(UserFile(ThumbnailName(name)).c_str());
    DeleteCloudFile(name);
    DeleteCloudFile(ThumbnailName(name).c_str());
    ReadSaveIndex(nullptr);
    RemoveSaveSlot(name);
    const bool written = WriteSaveIndex();
    ReadSaveIndex(nullptr);
    return written;
}
