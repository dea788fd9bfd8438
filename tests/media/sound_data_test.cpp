// The game's own effect list and the WAV files the sound maker builds for it.
#include <expat.h>
#include <gtest/gtest.h>
#include <physfs.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "media/audio_device.h"
#include "media/sound.h"
#include "media/wav.h"
#include "platform/vfs.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

struct Entry {
    std::string name;
    std::string wave;
};

void CollectSound(void* user, const XML_Char* element, const XML_Char** attributes) {
    if (strcmp(element, "sound") != 0) return;
    Entry entry;
    for (int i = 0; attributes[i] != nullptr; i += 2) {
        if (strcmp(attributes[i], "name") == 0) entry.name = attributes[i + 1];
        if (strcmp(attributes[i], "wave") == 0) entry.wave = attributes[i + 1];
    }
    static_cast<std::vector<Entry>*>(user)->push_back(entry);
}

std::string ListText() {
    return ReadWholeFile(std::string(VAULTMERE_SOURCE_DIR) + "/data/game/soundfx.xml");
}

std::vector<Entry> ReadList() {
    const std::string text = ListText();
    std::vector<Entry> entries;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &entries);
    XML_SetStartElementHandler(parser, CollectSound);
    const bool ok = XML_Parse(parser, text.data(), static_cast<int>(text.size()), 1) != XML_STATUS_ERROR;
    XML_ParserFree(parser);
    EXPECT_TRUE(ok) << "soundfx.xml is not well-formed";
    return entries;
}

// Every effect name the game asks for.
const char* const kPlayedNames[] = {
    "click", "key", "turnpage", "tutorialrespond", "poisonhead", "large_wooden_drop", "pleasedontgo",
    "questopen", "questclose", "foot1", "foot2", "stairs", "portal", "teleport", "door_open",
    "door_close", "locked", "lever", "lever3", "chest", "breakable", "vandalism", "anvil", "magicbzzt",
    "vending", "bbq", "flame", "fountain", "fridge_open", "prayer", "naughty", "caketown", "money_get",
    "fullinventory", "fullinventory2", "leather_get", "leather_drop", "food_get", "food_drop",
    "potion_get", "potion_drop", "metal_get", "drink", "eat", "impact", "swing", "crit", "evade",
    "combo", "bow", "monster_attack", "levelup", "crushing", "slashing", "piercing", "conflagratory",
    "toxic", "righteous", "necromantic", "putrifying", "aetherial", "manalow1", "manalow2",
    "manalow3", "manalow4", "manalow5", "healthcritical1", "healthcritical2", "healthcritical3",
    "healthlow1", "healthlow2", "blood1", "blood2", "blood3", "unarmed1", "unarmed2", "unarmed3",
    "unarmed_female1", "unarmed_female2", "unarmed_female3",
};

TEST(SoundData, EveryPlayedNameIsListedOnceWithItsOwnFile) {
    const std::vector<Entry> entries = ReadList();
    std::set<std::string> names, waves;
    for (const Entry& e : entries) {
        EXPECT_TRUE(names.insert(e.name).second) << "listed twice: " << e.name;
        EXPECT_TRUE(waves.insert(e.wave).second) << "file shared: " << e.wave;
        EXPECT_FALSE(e.name.empty());
    }
    for (const char* name : kPlayedNames) EXPECT_EQ(names.count(name), 1u) << name;
}

TEST(SoundData, EveryFileIsBuiltPlayableAndDifferent) {
    std::set<std::string> contents;
    for (const Entry& e : ReadList()) {
        const std::string bytes = ReadWholeFile(std::string(VAULTMERE_GAME_ROOT) + "/" + e.wave);
        WavSamples wav;
        ASSERT_TRUE(ParseWav(bytes.data(), bytes.size(), &wav)) << e.wave;
        const int frameBytes = (wav.format == kWavFormatMono8) ? 1 : (wav.format == kWavFormatStereo16) ? 4 : 2;
        const double seconds = static_cast<double>(wav.size) / frameBytes / wav.rate;
        EXPECT_GE(seconds, 0.02) << e.wave;
        EXPECT_LE(seconds, 1.5) << e.wave;
        EXPECT_TRUE(contents.insert(std::string(reinterpret_cast<const char*>(wav.samples), wav.size)).second)
            << e.wave << " sounds exactly like another effect";
    }
}

TEST(SoundData, TheWholeListLoadsIntoOpenAL) {
    SoundEnabled = 1;
    ASSERT_TRUE(InitAudioDevice());
    ShutdownSFX();
    ScopedWorkingDir cwd(VAULTMERE_GAME_ROOT);
    ASSERT_TRUE(cwd.ok());
    const std::string text = ListText();
    EXPECT_TRUE(LoadSFXFromText(text.data(), text.size()));
    EXPECT_EQ(SoundEffectCount(), ReadList().size());
    ShutdownSFX();
}

// Start-up loads the list on the background audio set-up; the first call that needs the
// effects finds every one of them loaded.
TEST(SoundData, TheWholeListLoadsInTheBackgroundForTheFirstCallThatNeedsIt) {
    SoundEnabled = 1;
    ASSERT_TRUE(InitAudioDevice());
    ShutdownSFX();
    ScopedWorkingDir cwd(VAULTMERE_GAME_ROOT);
    ASSERT_TRUE(cwd.ok());
    const bool wasInit = PHYSFS_isInit() != 0;
    if (wasInit) PHYSFS_deinit();
    MountDataTree();
    LoadSFXInBackground();
    EXPECT_EQ(SoundEffectCount(), ReadList().size());
    PlaySFX("turnpage");
    EXPECT_EQ(NextSoundSourceIndex(), 1);
    ShutdownSFX();
    PHYSFS_deinit();
    if (wasInit) PHYSFS_init(nullptr);
}

std::string SoundMakerPath() {
    std::string exe = VAULTMERE_EXE;
    return exe.substr(0, exe.rfind('/') + 1) + "soundmaker";
}

int RunSoundMaker(const std::string& manifest, const std::string& out, std::string* output) {
    TempDir log;
    const std::string cmd = "'" + SoundMakerPath() + "' '" + manifest + "' '" + out + "' > '" + log.file("out.txt") + "' 2>&1";
    const int status = std::system(cmd.c_str());
    *output = ReadWholeFile(log.file("out.txt"));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SoundMaker, SameManifestGivesTheSameBytes) {
    TempDir out;
    std::string output;
    const std::string manifest = std::string(VAULTMERE_SOURCE_DIR) + "/data/sound_manifest.txt";
    ASSERT_EQ(RunSoundMaker(manifest, out.path(), &output), 0) << output;
    for (const Entry& e : ReadList()) {
        EXPECT_EQ(ReadWholeFile(out.file(e.wave)), ReadWholeFile(std::string(VAULTMERE_GAME_ROOT) + "/" + e.wave))
            << e.wave;
    }
}

TEST(SoundMaker, WritesTheHeaderAndPadByteAndRejectsBadLines) {
    TempDir dir;
    WriteWholeFile(dir.file("m.txt"),
                   "# comment\n"
                   "wav a/odd.wav 11025 8 1 61 w=sine f=500\n"
                   "wav b.wav 8000 16 2 10 w=noise lp=0.5 pan=-1\n");
    std::string output;
    ASSERT_EQ(RunSoundMaker(dir.file("m.txt"), dir.path(), &output), 0) << output;
    const std::string odd = ReadWholeFile(dir.file("a/odd.wav"));
    ASSERT_EQ(odd.size(), 44u + 673u + 1u) << "8-bit data of odd length gets a pad byte";
    EXPECT_EQ(odd.substr(0, 4), "RIFF");
    EXPECT_EQ(odd.substr(4, 4), std::string("\xC6\x02\0\0", 4)) << "RIFF size counts the pad byte (710)";
    EXPECT_EQ(odd.substr(36, 4), "data");
    WavSamples wav;
    ASSERT_TRUE(ParseWav(odd.data(), odd.size(), &wav));
    EXPECT_EQ(wav.format, kWavFormatMono8);
    EXPECT_EQ(wav.size, 673u);
    EXPECT_EQ(wav.rate, 11025);
    const std::string stereo = ReadWholeFile(dir.file("b.wav"));
    ASSERT_TRUE(ParseWav(stereo.data(), stereo.size(), &wav));
    EXPECT_EQ(wav.format, kWavFormatStereo16);
    EXPECT_EQ(wav.size, 80u * 4u);

    const char* const bad[] = {
        "wav x.wav 8000 24 1 100 w=sine",        // bits
        "wav x.wav 8000 8 3 100 w=sine",         // channels
        "wav ../x.wav 8000 8 1 100 w=sine",      // leaves the folder
        "wav x.ogg 8000 8 1 100 w=sine",         // not a WAV name
        "wav x.wav 8000 8 1 100 w=organ",        // wave
        "wav x.wav 8000 8 1 100 w=sine f=abc",   // number
        "wav x.wav 8000 8 1 100 w=sine | ",      // empty voice
        "wav x.wav 8000 8 1 100 colour=red",     // key
        "wav x.wav 8000 8 1",                    // too short
    };
    for (const char* line : bad) {
        WriteWholeFile(dir.file("bad.txt"), std::string("# first\n") + line + "\n");
        EXPECT_EQ(RunSoundMaker(dir.file("bad.txt"), dir.path(), &output), 1) << line;
        EXPECT_NE(output.find("bad.txt:2: "), std::string::npos) << line << "\n" << output;
    }
}

}  // namespace
