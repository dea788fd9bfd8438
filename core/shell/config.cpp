#include "core/shell/config.h"

#include "core/xml_util.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/command_state.h"
#include "core/key_bindings.h"
#include "core/shell/mods.h"
#include "core/shell/shell_services.h"
#include "core/shell/video_modes.h"
#include "core/shell/workshop.h"
#include "levels/tutorial.h"
#include "media/music.h"
#include "media/sound.h"
#include "platform/atomic_file.h"
#include "platform/platform.h"

int32_t currentResolution = 0;
int32_t useFullscreen = 0;
int32_t enableSteamCloud = 1;
int32_t enableSteamWorkshop = 1;
int32_t enableMusic = 1;
int32_t enableSound = 1;
int32_t DisableClickToMove = 0;

bool ClickToMoveDisabled() { return DisableClickToMove != 0; }
int32_t AutoLoot = 0;
int32_t AutoClick = 0;
int32_t WASDActive = 0;
uint8_t completedATutorial = 0;
int32_t minimapSize = 0;
int32_t& MinimapSize = minimapSize;
int32_t use2XUI = 0;
int32_t currentGenderChoice = 0;
int32_t AutoLootSwitches[kAutoLootCount] = {0};

namespace {

bool configLoaded = false;
// Set when a broken "config.xml" could not be kept aside: the file is then never rewritten
// in this run, so that the user's settings after the error are not lost.
bool configWriteBlocked = false;

// Far more than any real configuration; a larger "file" (or a folder) is not read.
constexpr long kMaxConfigSize = 16L * 1024 * 1024;

// The user's own volumes (-1: never set, the module's own value is saved), and what the
// module read back right after we set it: as long as the module still reads back that
// value, the user's exact percent is saved, so a volume never drifts down from run to run.
int32_t userSFXVolume = -1;
int32_t userMusicVolume = -1;
int32_t sfxReadBack = INT_MIN;
int32_t musicReadBack = INT_MIN;

// A plain integer setting: its name in the file, its value and start value, and the range
// a value read from the file must lie in (outside it the start value is kept).
struct IntSetting {
    const char* name;
    int32_t* value;
    int32_t start;
    int32_t low;
    int32_t high;
};

const IntSetting kIntSettings[] = {
    {"currentResolution", &currentResolution, 0, INT32_MIN, INT32_MAX},
    {"useFullscreen", &useFullscreen, 0, INT32_MIN, INT32_MAX},
    {"smoothScaling", &smoothScaling, 1, INT32_MIN, INT32_MAX},
    {"enableSteamCloud", &enableSteamCloud, 1, INT32_MIN, INT32_MAX},
    {"enableSteamWorkshop", &enableSteamWorkshop, 1, INT32_MIN, INT32_MAX},
    {"enableColourBlind", &enableColourBlind, 0, INT32_MIN, INT32_MAX},
    {"enableMusic", &enableMusic, 1, INT32_MIN, INT32_MAX},
    {"enableSound", &enableSound, 1, INT32_MIN, INT32_MAX},
    {"DisableClickToMove", &DisableClickToMove, 0, INT32_MIN, INT32_MAX},
    {"AutoLoot", &AutoLoot, 0, INT32_MIN, INT32_MAX},
    {"AutoClick", &AutoClick, 0, INT32_MIN, INT32_MAX},
    {"WASDActive", &WASDActive, 0, INT32_MIN, INT32_MAX},
    {"minimapSize", &minimapSize, 0, 0, kMaxMinimapSize},
    {"use2XUI", &use2XUI, 0, INT32_MIN, INT32_MAX},
    {"currentGenderChoice", &currentGenderChoice, 0, 0, 1},
};

const IntSetting* FindIntSetting(const char* name) {
    for (const IntSetting& s : kIntSettings) {
        if (strcmp(s.name, name) == 0) return &s;
    }
    return nullptr;
}


int32_t ClampPercent(int32_t percent) {
    if (percent < 0) return 0;
    if (percent > 100) return 100;
    return percent;
}

void ApplySetting(const char* name, int32_t value) {
    if (strcmp(name, "SFXVolume") == 0) {
        if (enableSound) SetConfiguredSFXVolume(value);
        return;
    }
    if (strcmp(name, "VolumeMusic") == 0) {
        if (enableMusic) SetConfiguredMusicVolume(value);
        return;
    }
    if (strcmp(name, "completedATutorial") == 0) {
        completedATutorial = value != 0 ? 1 : 0;
        return;
    }
    const IntSetting* s = FindIntSetting(name);
    if (s == nullptr) return;
    if (value < s->low || value > s->high) {
        printf("config: %s %d is out of range, keeping %d\n", name, value, s->start);
        value = s->start;
    }
    *s->value = value;
    if (s->value == &enableSound || s->value == &enableMusic) SyncAudioSwitches();
}

void AppendSettingLine(std::string& out, const char* name, int32_t value) {
    out += "<setting name=\"";
    out += name;
    out += "\" value=\"";
    out += std::to_string(value);
    out += "\"/>\n";
}

std::string ConfigPath(const char* file) { return UserFilePath(file); }

void NoEndElement(void*, const XML_Char*) {}

// Converts the old line-based file: resolution index, full-screen flag, music volume,
// sound volume. A line that is missing leaves its value alone rather than reading as 0, so
// that a cut-off file never silences the music or the sound.
bool ConvertConfigTxt() {
    FILE* f = OpenRegularFile(GetResourceFilename(ConfigPath("config.txt")));
    if (f == nullptr) return false;
    for (int line = 0; line < 4; ++line) {
        char buffer[256];
        if (fgets(buffer, sizeof buffer, f) == nullptr) break;
        for (char* p = buffer; *p; ++p) {
            if (*p == '\r' || *p == '\n') *p = '\0';
        }
        const int32_t value = ParseDecimalInt32(buffer);
        switch (line) {
            case 0: currentResolution = value; break;
            case 1: useFullscreen = value; break;
            case 2: SetConfiguredMusicVolume(value); break;
            default: SetConfiguredSFXVolume(value); break;
        }
    }
    fclose(f);
    return true;
}

// A "config.xml" that does not parse loses every setting after the error when it is next
// written, so the user's file is first kept whole beside it as "config.xml.bad".
void KeepBrokenConfig(const std::string& path, const std::vector<char>& data, const std::string& error) {
    const std::string kept = path + ".bad";
    std::string keepError;
    if (WriteFileAtomically(kept, data.data(), data.size(), &keepError)) {
        fprintf(stderr,
                "config: %s has an error: %s. The settings of every line that can be read are "
                "used; your file is kept as %s\n",
                path.c_str(), error.c_str(), kept.c_str());
        return;
    }
    fprintf(stderr,
            "config: %s has an error: %s. It could not be kept as %s (%s), so it is not "
            "rewritten in this run\n",
            path.c_str(), error.c_str(), kept.c_str(), keepError.c_str());
    configWriteBlocked = true;
}

// A "config.xml" too large to be the game's own is not read at all (nor held in memory whole):
// it is moved aside as "config.xml.bad", and the run starts with the default settings.
void MoveOversizedConfigAside(const std::string& path) {
    const std::string kept = path + ".bad";
    if (std::rename(path.c_str(), kept.c_str()) == 0) {
        fprintf(stderr,
                "config: %s is larger than 16 MiB and is not read; it is kept as %s, and the game starts "
                "with the default settings\n",
                path.c_str(), kept.c_str());
        return;
    }
    fprintf(stderr,
            "config: %s is larger than 16 MiB and is not read; it could not be kept as %s (%s), so it is not "
            "rewritten in this run\n",
            path.c_str(), kept.c_str(), strerror(errno));
    configWriteBlocked = true;
}

}  // namespace

bool EffectiveFullscreen() { return useFullscreen != 0 && !CmdLine.windowForced; }
bool EffectiveMusicEnabled() { return enableMusic != 0 && CmdLine.music; }
bool EffectiveSoundEnabled() { return enableSound != 0 && CmdLine.sound; }

void SyncAudioSwitches() {
    const bool soundWasOn = SoundEnabled != 0;
    SoundEnabled = EffectiveSoundEnabled() ? 1 : 0;
    if (SoundEnabled && !soundWasOn && userSFXVolume >= 0) {
        SetSFXVolume(userSFXVolume);
        sfxReadBack = GetSFXVolume();
    }
    const bool musicWasOn = MusicFlag != 0;
    MusicFlag = EffectiveMusicEnabled() ? 1 : 0;
    if (MusicFlag && !musicWasOn && userMusicVolume >= 0) {
        SetMusicVolume(userMusicVolume);
        musicReadBack = GetMusicVolume();
    }
}

void SetConfiguredSFXVolume(int32_t percent) {
    userSFXVolume = ClampPercent(percent);
    if (SoundEnabled) {
        SetSFXVolume(userSFXVolume);
        sfxReadBack = GetSFXVolume();
    }
}

void SetConfiguredMusicVolume(int32_t percent) {
    userMusicVolume = ClampPercent(percent);
    if (MusicFlag) {
        SetMusicVolume(userMusicVolume);
        musicReadBack = GetMusicVolume();
    }
}

int32_t ConfiguredSFXVolume() {
    if (SoundEnabled) {
        const int32_t now = GetSFXVolume();
        if (userSFXVolume >= 0 && now == sfxReadBack) return userSFXVolume;
        return now;
    }
    return userSFXVolume >= 0 ? userSFXVolume : kDefaultVolume;
}

int32_t ConfiguredMusicVolume() {
    if (MusicFlag) {
        const int32_t now = GetMusicVolume();
        if (userMusicVolume >= 0 && now == musicReadBack) return userMusicVolume;
        return now;
    }
    return userMusicVolume >= 0 ? userMusicVolume : kDefaultVolume;
}

std::string XmlEscapeAttribute(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            case '\t': out += "&#9;"; break;
            case '\n': out += "&#10;"; break;
            case '\r': out += "&#13;"; break;
            default:
                // Other control characters cannot appear in an XML document at all.
                if (static_cast<unsigned char>(c) >= 0x20) out += c;
                break;
        }
    }
    return out;
}

void ConfigStartElement(void*, const XML_Char* name, const XML_Char** attributes) {
    if (name == nullptr) return;
    if (strcmp(name, "setting") == 0) {
        const char* settingName = FindXmlAttribute(attributes, "name");
        if (settingName == nullptr) return;
        ApplySetting(settingName, ParseDecimalInt32(FindXmlAttribute(attributes, "value")));
    } else if (strcmp(name, "keybinding") == 0) {
        const char* pos = FindXmlAttribute(attributes, "pos");
        ApplyKeyBindingConfigLine(pos ? pos : "", ParseDecimalInt32(FindXmlAttribute(attributes, "value")),
                                  ParseDecimalInt32(FindXmlAttribute(attributes, "mod")));
    } else if (strcmp(name, "autoloot") == 0) {
        const int32_t pos = ParseDecimalInt32(FindXmlAttribute(attributes, "pos"));
        if (pos >= 0 && pos < kAutoLootCount) {
            AutoLootSwitches[pos] = ParseDecimalInt32(FindXmlAttribute(attributes, "value"));
        }
    } else if (strcmp(name, "mod") == 0) {
        const char* modName = FindXmlAttribute(attributes, "name");
        if (modName != nullptr) EnableModsNamed(modName);
    } else if (strcmp(name, "tutorial") == 0) {
        const char* tutorialName = FindXmlAttribute(attributes, "name");
        if (tutorialName == nullptr) return;
        const bool complete = ParseDecimalInt32(FindXmlAttribute(attributes, "complete")) != 0;
        for (Tutorial* t : Tutorials) {
            if (t != nullptr && t->name == tutorialName) t->completed = complete;
        }
    }
}

bool ParseConfigText(const char* data, size_t length, std::string* error) {
    // Elements before an error have taken effect; the error itself changes nothing.
    XmlHandlers handlers;
    handlers.start = ConfigStartElement;
    handlers.end = NoEndElement;
    return ParseXmlDocument(data, length, handlers, error);
}

namespace {

// True when the text is well-formed XML; nothing takes effect.
bool IsWellFormed(const std::string& text, std::string* error) {
    XmlHandlers none;
    return ParseXmlDocument(text.data(), text.size(), none, error);
}

// The root element's own lines, which hold no setting.
bool IsRootTagLine(const std::string& line) {
    return line == "<config>" || line == "</config>" || line == "<config/>" || line.rfind("<?xml", 0) == 0;
}

}  // namespace

std::vector<int32_t> RecoverConfigLines(const char* data, size_t length, const std::string& fileName) {
    // The game writes one element a line: each line is read on its own, inside the root
    // element, and only a line that is whole takes effect.
    std::vector<int32_t> skipped;
    const std::string text(data != nullptr ? data : "", data != nullptr ? length : 0);
    size_t start = 0;
    for (int32_t number = 1; start < text.size(); ++number) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos) continue;
        line = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
        if (IsRootTagLine(line)) continue;
        const std::string wrapped = "<config>" + line + "</config>";
        if (!IsWellFormed(wrapped, nullptr)) {
            skipped.push_back(number);
            std::string shown = line.size() > 80 ? line.substr(0, 80) + "..." : line;
            for (char& c : shown) {
                if (static_cast<unsigned char>(c) < 0x20) c = ' ';
            }
            fprintf(stderr, "config: %s line %d skipped: %s\n", fileName.c_str(), number, shown.c_str());
            continue;
        }
        ParseConfigText(wrapped.data(), wrapped.size());
    }
    return skipped;
}

void LoadConfig() {
    SyncAudioSwitches();
    const std::string path = GetResourceFilename(ConfigPath("config.xml"));
    FILE* f = OpenRegularFile(path);
    if (f != nullptr) {
        std::vector<char> data;
        if (fseek(f, 0, SEEK_END) == 0) {
            const long size = ftell(f);
            if (size > kMaxConfigSize) MoveOversizedConfigAside(path);
            if (size > 0 && size <= kMaxConfigSize && fseek(f, 0, SEEK_SET) == 0) {
                data.resize(static_cast<size_t>(size));
                data.resize(fread(data.data(), 1, data.size(), f));
            }
        }
        fclose(f);
        std::string error;
        const std::string whole(data.begin(), data.end());
        if (IsWellFormed(whole, &error)) {
            ParseConfigText(data.data(), data.size());
        } else if (!data.empty()) {
            KeepBrokenConfig(path, data, error);
            RecoverConfigLines(data.data(), data.size(), "config.xml");
        }
        configLoaded = true;
    } else if (ConvertConfigTxt()) {
        configLoaded = true;
        ValidateResolutionIndex();
        SyncAudioSwitches();
        WriteConfig();
    }
    configLoaded = true;
    ValidateResolutionIndex();
    SyncAudioSwitches();
    CmdLine.fullScreen = EffectiveFullscreen();
}

bool ConfigWasLoaded() { return configLoaded; }

namespace {

// The values a screen with temporary settings keeps for the file (SetHeldConfigValues).
const KeyBindingMap* heldBindings = nullptr;
const std::vector<int32_t>* heldAutoLoot = nullptr;

int32_t AutoLootValueToWrite(int i) {
    if (heldAutoLoot == nullptr) return AutoLootSwitches[i];
    return i < static_cast<int>(heldAutoLoot->size()) ? (*heldAutoLoot)[static_cast<size_t>(i)] : 0;
}

}  // namespace

void SetHeldConfigValues(const KeyBindingMap* bindings, const std::vector<int32_t>* autoLoot) {
    heldBindings = bindings;
    heldAutoLoot = autoLoot;
}

std::string BuildConfigText() {
    std::string out = "<config>\n";
    AppendSettingLine(out, "currentResolution", currentResolution);
    AppendSettingLine(out, "useFullscreen", useFullscreen);
    AppendSettingLine(out, "smoothScaling", smoothScaling);
    AppendSettingLine(out, "enableSteamCloud", enableSteamCloud);
    AppendSettingLine(out, "enableSteamWorkshop", enableSteamWorkshop);
    AppendSettingLine(out, "enableColourBlind", enableColourBlind);
    AppendSettingLine(out, "enableMusic", enableMusic);
    AppendSettingLine(out, "enableSound", enableSound);
    AppendSettingLine(out, "DisableClickToMove", DisableClickToMove);
    if (enableSound) AppendSettingLine(out, "SFXVolume", ConfiguredSFXVolume());
    if (enableMusic) AppendSettingLine(out, "VolumeMusic", ConfiguredMusicVolume());
    AppendSettingLine(out, "AutoLoot", AutoLoot);
    AppendSettingLine(out, "AutoClick", AutoClick);
    AppendSettingLine(out, "WASDActive", WASDActive);
    AppendSettingLine(out, "completedATutorial", completedATutorial);
    AppendSettingLine(out, "minimapSize", minimapSize);
    AppendSettingLine(out, "use2XUI", use2XUI);
    AppendSettingLine(out, "currentGenderChoice", currentGenderChoice);

    const bool trace = (CmdLine.debugFlags & kDebugKeyBindings) != 0;
    for (const auto& entry : heldBindings != nullptr ? *heldBindings : KeyBindingTable) {
        const KeyBinding& b = entry.second;
        if (!b.configurable || !b.enabled) continue;
        const std::string line = b.WriteConfigLine();
        if (trace) printf("Keybinding: writing %s\n", line.c_str());
        out += line;
        out += "\n";
    }
    for (int i = 0; i < kAutoLootCount; ++i) {
        out += "<autoloot pos=\"" + std::to_string(i) + "\" value=\"" +
               std::to_string(AutoLootValueToWrite(i)) + "\"/>\n";
    }
    for (const Tutorial* t : Tutorials) {
        if (t == nullptr || !t->completed) continue;
        out += "<tutorial name=\"" + XmlEscapeAttribute(t->name) + "\" complete=\"" +
               std::to_string(static_cast<int32_t>(t->completed)) + "\" />\n";
    }
    for (const ModRecord& m : ModList) {
        if (!m.enabled) continue;
        out += "<mod name=\"" + XmlEscapeAttribute(m.name) + "\" />\n";
    }
    // A workshop mod arrives while the run goes on: until the subscriptions are known in
    // full, a configured name that is not listed yet stays in the file.
    if (!WorkshopListedEverySubscription()) {
        for (const std::string& name : ModNamesEnabledByConfig()) {
            bool listed = false;
            for (const ModRecord& m : ModList) listed |= m.name == name;
            if (!listed) out += "<mod name=\"" + XmlEscapeAttribute(name) + "\" />\n";
        }
    }
    out += "</config>\n";
    return out;
}

bool WriteConfig() {
    if (!configLoaded) {
        printf("config: not read yet, config.xml left as it is\n");
        return false;
    }
    if (configWriteBlocked) {
        printf("config: config.xml is left as it is in this run\n");
        return false;
    }
    const std::string path = GetResourceFilename(ConfigPath("config.xml"));
    std::string error;
    if (!WriteFileAtomically(path, BuildConfigText(), &error)) {
        printf("config: could not write config.xml: %s\n",
               path.empty() ? "the user folder is unavailable" : error.c_str());
        return false;
    }
    return true;
}

std::vector<int32_t> ClearAutoLoot() {
    std::vector<int32_t> previous(AutoLootSwitches, AutoLootSwitches + kAutoLootCount);
    for (int32_t& v : AutoLootSwitches) v = 0;
    return previous;
}

std::vector<int32_t> ExchangeAutoLoot(const std::vector<int32_t>& values) {
    std::vector<int32_t> previous(AutoLootSwitches, AutoLootSwitches + kAutoLootCount);
    for (int i = 0; i < kAutoLootCount; ++i) {
        AutoLootSwitches[i] = i < static_cast<int>(values.size()) ? values[i] : 0;
    }
    return previous;
}

void ResetConfigToDefaults() {
    for (const IntSetting& s : kIntSettings) *s.value = s.start;
    completedATutorial = 0;
    for (int32_t& v : AutoLootSwitches) v = 0;
    userSFXVolume = -1;
    userMusicVolume = -1;
    sfxReadBack = INT_MIN;
    musicReadBack = INT_MIN;
    configLoaded = false;
    configWriteBlocked = false;
    SetHeldConfigValues(nullptr, nullptr);
}
