#include "core/shell/saved_games.h"

#include "core/save_stream.h"
#include "core/xml_util.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "interface/play_screen.h"
#include "items_fixtures/quest.h"
#include "levels/branch_db.h"
#include "levels/level.h"
#include "levels/level_save.h"
#include "levels/path_finding.h"
#include "media/music.h"
#include "core/shell/level_change.h"
#include "core/shell/play_loop.h"
#include "platform/atomic_file.h"
#include "platform/platform.h"
#include "store_platform/store.h"

#include <SDL.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <utility>

std::vector<SaveSlot> SaveSlots;

namespace {

const char kMagic[4] = {'Z', 'N', 'C', 'H'};
const char kLegacyMagic[4] = {'Z', 'N', 'R', 'C'};
constexpr size_t kIndexLineSize = 256;
// The longest hero-name part of a save file name.
constexpr size_t kMaxSaveBaseLength = 200;

// Why the last save failed.
std::string SaveError;

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
    ok = out.WriteInt32(static_cast<int32_t>(GameLevels.size())) && ok;
    ok = out.WriteInt32(static_cast<int32_t>(ActiveQuests.size())) && ok;
    for (const QuestRecord* quest : ActiveQuests) ok = quest->Write(out) && ok;
    for (Level* level : LevelsInSaveOrder()) ok = ok && level->Save(out);
    return ok;
}

// Names the first object of the run that has no save record of its own class: such a game
// cannot be saved whole, and half a game is never written.
bool ReportUnsavableObject(const char* name) {
    for (Level* level : GameLevels) {
        GameObj* obj = FindUnsavableObject(level);
        if (obj == nullptr) continue;
        std::printf("SaveGame: %s not saved: a %s on floor %d at (%d, %d) has no save record\n", name,
                    MissingSaveRecordClass(obj).c_str(), level->depth, obj->x, obj->y);
        return true;
    }
    return false;
}

// The size of the last save written, so that the next one is put together without regrowing
// its buffer.
size_t LastSaveBytes = 0;

size_t SaveSizeHint() {
    // About 530 KB a level, and a little more so that a game grown since the last save fits.
    const size_t byLevels = GameLevels.size() * (600u << 10);
    const size_t byLast = LastSaveBytes + LastSaveBytes / 8;
    return byLevels > byLast ? byLevels : byLast;
}

// Reads a saved game whole into memory; false, with a message, for a file that cannot be one.
bool ReadSaveFile(FILE* file, const char* name, std::vector<uint8_t>* bytes) {
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || info.st_size < 0) {
        std::printf("LoadGame: cannot read %s\n", name);
        return false;
    }
    if (static_cast<uint64_t>(info.st_size) > kMaxSaveFileBytes) {
        std::printf("LoadGame: %s is not a saved game (%lld bytes, more than the %zu bytes a save may hold)\n",
                    name, static_cast<long long>(info.st_size), kMaxSaveFileBytes);
        return false;
    }
    // One read of the size measured; a file that is cut meanwhile gives what is there, and the
    // reader then finds the save damaged.
    bytes->resize(static_cast<size_t>(info.st_size));
    size_t got = bytes->empty() ? 0 : std::fread(bytes->data(), 1, bytes->size(), file);
    bytes->resize(got);
    if (std::ferror(file)) {
        std::printf("LoadGame: cannot read %s\n", name);
        return false;
    }
    return true;
}

// Smallest sizes behind the counts of the save's head.
constexpr size_t kMinQuestBytes = 12 + 6 * 4 + 8;
constexpr size_t kMinLevelBytes = 4 + 4 * 4;

// The index line a hero's record gets, as the index reads it back.
std::string HeroLine1(const Player* hero) {
    return IndexLine(hero->name + " " + "the " + hero->GetTitle());
}

bool SameSkills(const SaveSlot& slot, const Player* hero) {
    for (int32_t i = 0; i < kSaveSlotSkillCount; ++i) {
        if (slot.skills[i] != hero->skillIds[i]) return false;
    }
    return true;
}

// A continued autosave goes on under the hero's own save: the newest record of another file
// with the same name, title and skills, or else a fresh name.
void RecoverSaveName(Player* hero) {
    ReadSaveIndex(nullptr);
    hero->saveName.clear();
    const std::string line1 = HeroLine1(hero);
    for (const SaveSlot& slot : SaveSlots) {
        if (slot.fileName.empty() || slot.fileName == kAutosaveFileName) continue;
        if (slot.line1 == line1 && SameSkills(slot, hero)) {
            hero->saveName = slot.fileName;
            return;
        }
    }
    hero->saveName = MakeUniqueSaveFileName(hero->name.c_str());
}

// The shop tune of a hero loaded on a shop square whose keepers are not angry.
void StartShopMusicIfInShop(Player* hero) {
    const Level* level = static_cast<const GameObj*>(hero)->level;
    const bool onShopFloor = level != nullptr && level->SquareKind(hero->x, hero->y) == SquareType::ShopFloor;
    if (!onShopFloor) {
        HeroInShopFlag = 0;
        return;
    }
    if (HeroInShopFlag == 0 && level->shopkeepersAngry == 0) {
        PlayMusic("tunes/shop-open.ogg", "tunes/shop-repeat.ogg");
        HeroInShopFlag = 1;
        HeldTrackFlag = true;
    }
}

// Reads the quests and levels after the header; false, with a message, when the stream is
// hostile or cut short, or holds no hero or no level.
bool ReadSaveBody(SaveReader& in, const char* name) {
    const int32_t spellCount = in.ReadCount(4);
    for (int32_t i = 0; i < spellCount; ++i) {
        const int32_t casts = in.ReadInt32();
        if (static_cast<size_t>(i) < SpellList.size() && SpellList[i] != nullptr) SpellList[i]->castCount = casts;
    }
    const int32_t levelCount = in.ReadCount(kMinLevelBytes);
    const int32_t questCount = in.ReadCount(kMinQuestBytes);
    ClearActiveQuests();
    for (int32_t i = 0; i < questCount && !in.Failed(); ++i) {
        QuestRecord* quest = new QuestRecord();
        if (!quest->Read(in)) {
            delete quest;
            break;
        }
        ActiveQuests.push_back(quest);
    }
    for (int32_t i = 0; i < levelCount && !in.Failed(); ++i) {
        Level* level = Level::LevelForLoading();
        level->Load(in);
        bool listed = false;
        for (Level* known : GameLevels) listed = listed || known == level;
        if (!listed) delete level;
    }
    if (in.Failed()) {
        std::printf("LoadGame: %s is damaged (%s)\n", name, in.Error().c_str());
        return false;
    }
    if (CurrentPlayer == nullptr || static_cast<GameObj*>(CurrentPlayer)->level == nullptr) {
        std::printf("LoadGame: %s holds no hero\n", name);
        return false;
    }
    if (GameLevels.empty()) {
        std::printf("LoadGame: %s holds no level\n", name);
        return false;
    }
    return true;
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
        // Floors are counted from 1, as the minimap and the death screen count them.
        slot.line2 = "on Floor " + std::to_string(CurrentLevel->depth + 1) + " of " +
                     (branch != nullptr ? branch->name : std::string());
    }
    return slot;
}

}  // namespace

const std::string& LastSaveGameError() { return SaveError; }

bool SaveGame(const char* name) {
    SaveError.clear();
    if (!IsPlainFileName(name)) {
        std::printf("SaveGame: refusing the save name \"%s\"\n", name != nullptr ? name : "");
        SaveError = "the save name is not a plain file name";
        return false;
    }
    const std::string savePath = UserFile(name);
    const std::string thumbPath = UserFile(ThumbnailName(name));
    if (savePath.empty()) {
        std::printf("SaveGame: not saved, the user folder is unavailable\n");
        SaveError = "the user folder is unavailable";
        return false;
    }
    // The whole save is put together in memory and written in one piece; the previous save
    // stays whole until the new one is completely on the disk. Half a game is never written:
    // a level holding an object without a save record refuses to be saved.
    SaveWriter out(SaveSizeHint());
    bool ok = WriteSaveBody(out) && !out.Failed();
    if (!ok) {
        SaveError = ReportUnsavableObject(name) ? "an object of the game cannot be saved"
                                                : "the game could not be put into the save's format";
    }
    AtomicFileWriter save(savePath);
    if (ok) ok = save.Open() && save.Write(out.Buffer().data(), out.Buffer().size()) && save.Commit();
    if (ok) LastSaveBytes = out.Buffer().size();
    if (!ok) {
        if (!save.error().empty()) SaveError = save.error();
        if (SaveError.empty()) SaveError = "a part could not be written";
        std::printf("SaveGame: %s not saved (%s); the previous save is kept\n", name, SaveError.c_str());
        return false;
    }
    UploadCloudFile(savePath.c_str(), name);
    RefreshSaveThumbnail();
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
    if (!WriteSaveIndex()) {
        SaveError = "the list of saved games could not be written";
        return false;
    }
    return true;
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
    std::vector<uint8_t> bytes;
    const bool whole = ReadSaveFile(file, name, &bytes);
    std::fclose(file);
    if (!whole) return false;
    SaveReader in(std::move(bytes));
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
        return false;
    }
    const bool read = ReadSaveBody(in, name);
    if (!read) {
        // Nothing of a broken save is played: whatever it built goes again.
        CurrentLevel = nullptr;
        delete CurrentPlayer;
        CurrentPlayer = nullptr;
        for (Level* level : GameLevels) delete level;
        GameLevels.clear();
        ClearActiveQuests();
        return false;
    }
    Player* hero = CurrentPlayer;
    hero->RefreshCraftableRecipes();
    CurrentLevel = static_cast<GameObj*>(hero)->level;
    BuildAStarForLevel();
    RelinkPlayerSummons();
    LinkSideDimensionsToTheirReturn();
    for (Level* level : GameLevels) {
        for (SpellMine* mine : level->spellMines) mine->caster = hero;
    }
    for (QuestRecord* quest : ActiveQuests) quest->RelinkItem();
    VictoryFlag = false;
    StartShopMusicIfInShop(hero);
    // A save named with a folder goes on under its own file name in the user folder.
    const char* slash = std::strrchr(name, '/');
    const char* fileName = slash != nullptr ? slash + 1 : name;
    if (std::strcmp(fileName, kAutosaveFileName) != 0) {
        hero->saveName = fileName;
    } else {
        RecoverSaveName(hero);
    }
    return true;
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
    // Short enough that "bitmap_" + the file name stays a valid file name and one line of
    // the index, whatever number is added; cut before a UTF-8 continuation byte.
    if (base.size() > kMaxSaveBaseLength) {
        size_t cut = kMaxSaveBaseLength;
        while (cut > 0 && (static_cast<unsigned char>(base[cut]) & 0xC0) == 0x80) --cut;
        base.resize(cut);
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

bool AutosaveRecordIsCurrentHero() {
    const Player* hero = CurrentPlayer;
    if (hero == nullptr) return false;
    ReadSaveIndex(nullptr);
    const std::string line1 = HeroLine1(hero);
    for (const SaveSlot& slot : SaveSlots) {
        if (slot.fileName == kAutosaveFileName) return slot.line1 == line1 && SameSkills(slot, hero);
    }
    return false;
}
