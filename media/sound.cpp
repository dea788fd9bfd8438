#include "media/sound.h"

#include <AL/al.h>
#include <expat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

#include "core/command_state.h"
#include "media/audio_device.h"
#include "media/wav.h"
#include "platform/platform.h"
#include "platform/vfs.h"

int32_t SoundEnabled = 1;
float SoundGain = 1.0f;

namespace {
// The effect volume as set, in percent; SoundGain is derived from it.
int32_t SoundPercent = 100;
}  // namespace

namespace {

// One loaded effect: the OpenAL buffer holding its samples.
struct SoundRecord {
    ALuint buffer = 0;
};

// Effect name -> record, compared byte-wise; one entry per name.
std::map<std::string, SoundRecord> SoundTable;

ALuint SoundSources[kSoundSourceCount] = {0};
bool SoundSourcesMade = false;
int NextSoundSource = 0;

std::string lastRequested;
SFXRequestObserver requestObserver = nullptr;

const char* FindAttribute(const XML_Char** attributes, const char* name) {
    if (attributes == nullptr) return nullptr;
    for (int i = 0; attributes[i] != nullptr && attributes[i + 1] != nullptr; i += 2) {
        if (strcmp(attributes[i], name) == 0) return attributes[i + 1];
    }
    return nullptr;
}

void SoundStartElement(void*, const XML_Char* element, const XML_Char** attributes) {
    if (strcmp(element, "sound") != 0) return;
    const char* name = FindAttribute(attributes, "name");
    const char* wave = FindAttribute(attributes, "wave");
    LoadSoundEffect(name != nullptr ? name : "", wave != nullptr ? wave : "");
}

// Makes the eight sources on first use; false when OpenAL cannot give them. Success is read
// from the names themselves: the music thread shares the context and its error state.
bool EnsureSources() {
    if (SoundSourcesMade) return true;
    ALuint made[kSoundSourceCount] = {0};
    alGenSources(kSoundSourceCount, made);
    for (ALuint source : made) {
        if (source == 0 || !alIsSource(source)) {
            for (ALuint other : made) {
                if (other != 0 && alIsSource(other)) alDeleteSources(1, &other);
            }
            return false;
        }
    }
    for (int i = 0; i < kSoundSourceCount; ++i) SoundSources[i] = made[i];
    SoundSourcesMade = true;
    NextSoundSource = 0;
    return true;
}

// A new buffer holding the samples, or 0. A buffer counts as filled only when OpenAL reports
// the bytes in it (the error state is shared with the music thread, so it is not relied on).
ALuint MakeFilledBuffer(const WavSamples& wav) {
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (buffer == 0 || !alIsBuffer(buffer)) return 0;
    alBufferData(buffer, wav.format, wav.samples, static_cast<ALsizei>(wav.size), wav.rate);
    ALint stored = 0;
    alGetBufferi(buffer, AL_SIZE, &stored);
    if (stored <= 0) {
        alDeleteBuffers(1, &buffer);
        return 0;
    }
    return buffer;
}

// The bytes of the effect file read last, kept between effects while a list loads.
std::vector<uint8_t> EffectFileBytes;

// Reads a whole effect file. The files are read rather than mapped: with the music and mixing
// threads running, every unmapping would interrupt each processor they run on. False for a
// file that is missing, not a regular file, empty or 4 GiB and more.
bool ReadEffectFile(const std::string& path, std::vector<uint8_t>& data) {
    data.clear();
    FILE* file = OpenRegularFile(path);
    if (file == nullptr) return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long length = ok ? std::ftell(file) : -1;
    ok = length > 0 && static_cast<unsigned long>(length) <= UINT32_MAX && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        data.resize(static_cast<size_t>(length));
        ok = std::fread(data.data(), 1, data.size(), file) == data.size();
    }
    std::fclose(file);
    if (!ok) data.clear();
    return ok;
}

}  // namespace

void LoadSFX() {
    WaitForAudioSetup();
    if (!SoundEnabled) return;
    std::vector<char> text;
    if (!VfsReadFile("game/soundfx.xml", text)) return;
    LoadSFXFromText(text.data(), text.size());
}

void LoadSFXInBackground() {
    if (!SoundEnabled) return;
    RunAudioSetupInBackground(LoadSFX);
}

bool LoadSFXFromText(const char* text, size_t length) {
    WaitForAudioSetup();
    if (!SoundEnabled || text == nullptr) return false;
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (parser == nullptr) return false;
    XML_SetStartElementHandler(parser, SoundStartElement);
    bool ok = true;
    // expat takes an int length; a list this long is far beyond any real one.
    while (length > 0 && ok) {
        const int piece = length > (1u << 30) ? (1 << 30) : static_cast<int>(length);
        ok = XML_Parse(parser, text, piece, 0) != XML_STATUS_ERROR;
        text += piece;
        length -= static_cast<size_t>(piece);
    }
    if (ok) ok = XML_Parse(parser, "", 0, 1) != XML_STATUS_ERROR;
    XML_ParserFree(parser);
    std::vector<uint8_t>().swap(EffectFileBytes);
    return ok;
}

void LoadSoundEffect(const char* name, const char* waveFile) {
    WaitForAudioSetup();
    if (!SoundEnabled || name == nullptr || waveFile == nullptr) return;
    if (SoundTable.count(name) != 0) return;
    if (!InitAudioDevice()) return;

    if (!ReadEffectFile(GetResourceFilename(waveFile), EffectFileBytes)) return;
    WavSamples wav;
    if (ParseWav(EffectFileBytes.data(), static_cast<uint32_t>(EffectFileBytes.size()), &wav)) {
        const ALuint buffer = MakeFilledBuffer(wav);
        if (buffer != 0) SoundTable[name].buffer = buffer;
    }
}

void PlaySFX(const char* name) {
    WaitForAudioSetup();
    if (!SoundEnabled || name == nullptr) return;
    lastRequested = name;
    if (requestObserver != nullptr) requestObserver(name);
    if (!AudioDeviceAvailable()) return;
    auto found = SoundTable.find(name);
    if (found == SoundTable.end()) return;
    if (!EnsureSources()) return;

    const ALuint source = SoundSources[NextSoundSource];
    NextSoundSource = (NextSoundSource + 1) % kSoundSourceCount;
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(found->second.buffer));
    alSourcef(source, AL_GAIN, SoundGain);
    alSourcePlay(source);
}

void ShutdownSFX() {
    WaitForAudioSetup();
    if (SoundSourcesMade) {
        for (ALuint source : SoundSources) {
            alSourceStop(source);
            alSourcei(source, AL_BUFFER, 0);
        }
        alDeleteSources(kSoundSourceCount, SoundSources);
        for (ALuint& source : SoundSources) source = 0;
        SoundSourcesMade = false;
    }
    NextSoundSource = 0;
    for (auto& entry : SoundTable) {
        alDeleteBuffers(1, &entry.second.buffer);
    }
    SoundTable.clear();
}

void SetSFXVolume(int percent) {
    if (!SoundEnabled) return;
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    if (CmdLine.debugFlags & kDebugAudio) {
        printf("setting sound volume to %d percent\n", percent);
    }
    SoundPercent = percent;
    SoundGain = static_cast<float>(percent / 100.0);
}

int GetSFXVolume() {
    if (!SoundEnabled) return 0;
    return SoundPercent;
}

size_t SoundEffectCount() {
    WaitForAudioSetup();
    return SoundTable.size();
}

uint32_t SoundEffectBuffer(const char* name) {
    WaitForAudioSetup();
    if (name == nullptr) return 0;
    auto found = SoundTable.find(name);
    return found == SoundTable.end() ? 0 : found->second.buffer;
}

int NextSoundSourceIndex() {
    WaitForAudioSetup();
    return NextSoundSource;
}

uint32_t SoundSourceName(int index) {
    WaitForAudioSetup();
    if (!SoundSourcesMade || index < 0 || index >= kSoundSourceCount) return 0;
    return SoundSources[index];
}

void SetSFXRequestObserver(SFXRequestObserver observer) { requestObserver = observer; }

const std::string& LastRequestedSFX() {
    return lastRequested;
}
