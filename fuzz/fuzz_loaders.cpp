// One harness per loader, all in one program: $VAULTMERE_FUZZ_TARGET names the loader the
// inputs go to (kTargets at the end). Each harness hands the bytes to its loader as the game
// would get them (a buffer, or a file of the user or store folder) and puts the tables it
// filled back to empty, so that every input starts from the same state.
#include <SDL.h>

#include <cstdlib>
#include <string>

#include "core/high_scores.h"
#include "core/input_log.h"
#include "core/key_bindings.h"
#include "core/shell/config.h"
#include "core/shell/game_lifecycle.h"
#include "core/shell/mods.h"
#include "core/shell/saved_games.h"
#include "core/shell/workshop.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "creatures/maneuver.h"
#include "creatures/monster_db.h"
#include "creatures/skill_db.h"
#include "creatures/speech_db.h"
#include "creatures/spell.h"
#include "fuzz/fuzz_driver.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/quest.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/branch_db.h"
#include "levels/gen/level_gen_check.h"
#include "levels/room_templates.h"
#include "levels/tutorial.h"
#include "media/image.h"
#include "media/ogg_vorbis_check.h"
#include "media/png_palette.h"
#include "media/sprite.h"
#include "media/sound.h"
#include "media/wav.h"
#include "store_platform/cloud_files.h"
#include "store_platform/store.h"

namespace fuzz {

namespace {

const char* Text(const uint8_t* data) { return reinterpret_cast<const char*>(data); }

}  // namespace

// ---------------------------------------------------------------- the game's XML databases

void SpellDatabase(const uint8_t* data, size_t size) {
    spellDBLoadFromText(Text(data), size, "spellDB.xml");
    ClearSpellTable();
}

void MonsterDatabase(const uint8_t* data, size_t size) {
    monDBLoadFromText(Text(data), size, "monDB.xml");
    ClearMonsterDB();
}

void SkillDatabase(const uint8_t* data, size_t size) {
    SkillDBLoadFromText(Text(data), size, "skillDB.xml");
    ResetSkillDB();
}

void ItemDatabase(const uint8_t* data, size_t size) {
    itemDBLoadText(std::string(Text(data), size), "itemDB.xml");
    ClearItemDB();
}

void CraftDatabase(const uint8_t* data, size_t size) {
    craftDBLoadText(std::string(Text(data), size), "craftDB.xml");
    ClearRecipes();
}

void BranchDatabase(const uint8_t* data, size_t size) {
    branchDBLoadFromBuffer(Text(data), size, "branchDB.xml");
    ClearBranches();
}

void RoomTemplates(const uint8_t* data, size_t size) {
    LoadRoomTemplatesFromBuffer(Text(data), size, "rooms.xml");
    ClearRoomTemplates();
}

void TextDatabase(const uint8_t* data, size_t size) {
    LoadTextDBFromBuffer(Text(data), size, "text.xml");
    ClearTextDB();
}

void ManeuverTemplates(const uint8_t* data, size_t size) {
    LoadManeuverTemplatesFromText(Text(data), size, "manTemplateDB.xml");
    ClearManeuverTemplates();
}

void QuestDatabase(const uint8_t* data, size_t size) {
    LoadQuestDBFromText(Text(data), size, "quests.xml");
    ClearQuestDB();
}

void SpeechDatabase(const uint8_t* data, size_t size) {
    LoadSpeechDBFromText(Text(data), size, "speech.xml");
    ClearSpeechDB();
}

void TuningValues(const uint8_t* data, size_t size) {
    LoadTweakValsFromBuffer(Text(data), size);
    ClearTweakVals();
}

void Tutorials(const uint8_t* data, size_t size) {
    LoadTutorialsFromText(Text(data), size, "tutorial.xml");
    ClearTutorials();
}

void SoundList(const uint8_t* data, size_t size) {
    LoadSFXFromText(Text(data), size);
    ShutdownSFX();
}

// ---------------------------------------------------------------- the user's files

void Configuration(const uint8_t* data, size_t size) {
    static bool bindings = (InitKeyBindings(), true);
    (void)bindings;
    ParseConfigText(Text(data), size);
    BuildConfigText();
    LoadMods();  // forgets the configured mod names
    ResetConfigToDefaults();
    InitKeyBindings();
}

void SaveIndex(const uint8_t* data, size_t size) {
    const std::string path = UserFolder() + "loadsave.dat";
    if (!WriteBytes(path, data, size)) return;
    ReadSaveIndex(path.c_str());
    SaveSlots.clear();
}

void HighScores(const uint8_t* data, size_t size) {
    if (!WriteBytes(UserFolder() + "hiscores.txt", data, size)) return;
    LoadHighScores();
    ClearHighScores();
}

void LastBuild(const uint8_t* data, size_t size) {
    if (!WriteBytes(UserFolder() + "last.txt", data, size)) return;
    LoadLastTxt(7);
}

void ModDescription(const uint8_t* data, size_t size) {
    ModRecord record;
    ParseModXmlText(Text(data), size, record);
}

void InputScript(const uint8_t* data, size_t size) {
    ResetInputLog();
    OpenInputScriptText(std::string(Text(data), size));
    ResetInputLog();
}

namespace {

// The tables LoadGenerationData filled, emptied before the process ends (as the game does at
// its exit), so that what they point to is not taken for a leak once the tables are gone.
void ReleaseGenerationData() {
    EndCurrentGame();
    ClearActiveQuests();
    ClearSpellTable();
    SaveSlots.clear();
    ClearBranches();
    ClearRoomTemplates();
    ClearMonsterDB();
    ClearTweakVals();
    ClearTextDB();
    ToolkitWindows.clear();
    ClearItemDB();
    SpriteMgr_FreeAll();
}

}  // namespace

void SavedGame(const uint8_t* data, size_t size) {
    static bool loaded = [] {
        const bool ok = LoadGenerationData(VAULTMERE_SOURCE_DIR "/data/game");
        SyncToolkitWindows();
        std::atexit(ReleaseGenerationData);
        return ok;
    }();
    if (!loaded) return;
    if (!WriteBytes(UserFolder() + "fuzz.sav", data, size)) return;
    LoadGame("fuzz.sav");
    EndCurrentGame();
    ClearActiveQuests();
}

// ---------------------------------------------------------------- the store

void CloudFile(const uint8_t* data, size_t size) {
    std::string contents;
    uint32_t crc = 0;
    DecodeCloudFile(std::string(Text(data), size), &contents, &crc);
}

// The first byte chooses the store file the rest replaces; the others hold one subscribed
// workshop item. Then the store starts and the workshop lists, fetches and downloads.
void StoreFiles(const uint8_t* data, size_t size) {
    static const char* const kFiles[] = {
        "stats.txt", "leaderboards.txt", "faults.txt", "workshop/subscribed.txt",
        "workshop/items/100001/meta.txt", "workshop/items/100001/content", "notify.txt",
    };
    if (size == 0) return;
    const std::string store = StoreFolder();
    const uint8_t plain[] = "";
    for (const char* file : kFiles) WriteBytes(store + file, plain, 0);
    const std::string meta = "title T\ndescription D\nauthor A\nupdated 5\nbanned 0\n";
    WriteBytes(store + "workshop/items/100001/meta.txt", reinterpret_cast<const uint8_t*>(meta.data()), meta.size());
    WriteBytes(store + "workshop/subscribed.txt", reinterpret_cast<const uint8_t*>("100001\n"), 7);
    WriteBytes(store + kFiles[data[0] % (sizeof kFiles / sizeof kFiles[0])], data + 1, size - 1);

    enableSteamWorkshop = 1;
    SteamAPI_Init();
    InitSteamWorkshop();
    PumpWorkshopUntilIdle(500);
    WorkshopSubscribed.reset();
    WorkshopPublished.reset();
    PublishedModList.clear();
    ModList.clear();
    SteamAPI_Shutdown();
}

// ---------------------------------------------------------------- pictures and sounds

void Picture(const uint8_t* data, size_t size) {
    if (SDL_Surface* surface = CreateSurfaceFromImageData(data, size)) SDL_FreeSurface(surface);
    PalettePng image;
    DecodePalettePng(data, size, &image);
}

void WaveSound(const uint8_t* data, size_t size) {
    WavSamples samples;
    ParseWav(data, size, &samples);
}

void OggMusic(const uint8_t* data, size_t size) {
    OggVorbisFacts facts;
    CheckOggVorbis(data, size, 48000, &facts);
}

const Target kTargets[] = {
    {"spelldb", SpellDatabase},     {"mondb", MonsterDatabase},     {"skilldb", SkillDatabase},
    {"itemdb", ItemDatabase},       {"craftdb", CraftDatabase},     {"branchdb", BranchDatabase},
    {"rooms", RoomTemplates},       {"textdb", TextDatabase},       {"mantemplates", ManeuverTemplates},
    {"quests", QuestDatabase},      {"speech", SpeechDatabase},     {"tweak", TuningValues},
    {"tutorial", Tutorials},        {"soundfx", SoundList},         {"config", Configuration},
    {"loadsave", SaveIndex},        {"hiscores", HighScores},       {"last", LastBuild},
    {"modxml", ModDescription},     {"inputscript", InputScript},   {"save", SavedGame},
    {"cloud", CloudFile},           {"store", StoreFiles},          {"picture", Picture},
    {"wav", WaveSound},             {"ogg", OggMusic},
};
const size_t kTargetCount = sizeof kTargets / sizeof kTargets[0];

}  // namespace fuzz
