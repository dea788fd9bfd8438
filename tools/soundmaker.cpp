// Placeholder sound maker: reads a sound manifest (data/sound_manifest.txt, format described at
// its top) and writes every WAV file it lists under the game folder. Every sound is
// synthesised from the manifest's recipe: oscillators, noise, pitch glides and envelopes. The
// output depends only on the manifest, so every build makes the same bytes; a file whose bytes
// would not change is left alone.
//   soundmaker <manifest> <output folder>
#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPeak = 0.7;           // every sound is scaled to this peak
constexpr double kReleaseSeconds = 0.003;  // short fade at a voice's end (no click)

enum class Wave { kSine, kSquare, kSaw, kTriangle, kNoise };
enum class Envelope { kExp, kLinear, kFlat, kBell };

struct Voice {
    Wave wave = Wave::kSine;
    double f0 = 440.0;       // start pitch, Hz
    double f1 = -1.0;        // end pitch, Hz (-1: same as f0)
    double amp = 0.5;
    double start = 0.0;      // seconds into the sound
    double dur = -1.0;       // seconds (-1: to the end)
    double attack = 0.002;   // seconds
    Envelope env = Envelope::kExp;
    double decay = 6.0;      // per second, for the exponential decay
    double vibRate = 0.0;    // Hz
    double vibDepth = 0.0;   // fraction of the pitch
    double lowPass = 1.0;    // one-pole filter coefficient, 1 = open
    double pan = 0.0;        // -1 left .. 1 right (stereo files)
    double duty = 0.5;       // square wave duty cycle
    double tremolo = 0.0;    // Hz
};

struct SoundSpec {
    std::string file;
    int rate = 22050;
    int bits = 16;
    int channels = 1;
    double seconds = 0.1;
    std::vector<Voice> voices;
};

// Small deterministic noise source (xorshift32).
struct Noise {
    uint32_t state;
    explicit Noise(uint32_t seed) : state(seed ? seed : 0x9E3779B9u) {}
    double Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return (state / 4294967295.0) * 2.0 - 1.0;
    }
};

uint32_t HashName(const std::string& text) {
    uint32_t h = 2166136261u;  // FNV-1a
    for (unsigned char c : text) {
        h ^= c;
        h *= 16777619u;
    }
    return h;
}

bool ParseNumber(const std::string& text, double* out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const double v = strtod(text.c_str(), &end);
    if (errno != 0 || end == nullptr || *end != '\0' || !std::isfinite(v)) return false;
    *out = v;
    return true;
}

bool ParseInt(const std::string& text, int* out) {
    double v = 0;
    if (!ParseNumber(text, &v) || v != std::floor(v) || v < -1e9 || v > 1e9) return false;
    *out = static_cast<int>(v);
    return true;
}

// One "key=value" token of a voice; false with a message in `error` when it is not valid.
bool ApplyVoiceToken(const std::string& token, Voice* voice, std::string* error) {
    const size_t eq = token.find('=');
    if (eq == std::string::npos) {
        *error = "expected key=value, got \"" + token + "\"";
        return false;
    }
    const std::string key = token.substr(0, eq);
    const std::string value = token.substr(eq + 1);
    if (key == "w") {
        if (value == "sine") voice->wave = Wave::kSine;
        else if (value == "square") voice->wave = Wave::kSquare;
        else if (value == "saw") voice->wave = Wave::kSaw;
        else if (value == "tri") voice->wave = Wave::kTriangle;
        else if (value == "noise") voice->wave = Wave::kNoise;
        else {
            *error = "unknown wave \"" + value + "\"";
            return false;
        }
        return true;
    }
    if (key == "env") {
        if (value == "exp") voice->env = Envelope::kExp;
        else if (value == "lin") voice->env = Envelope::kLinear;
        else if (value == "flat") voice->env = Envelope::kFlat;
        else if (value == "bell") voice->env = Envelope::kBell;
        else {
            *error = "unknown envelope \"" + value + "\"";
            return false;
        }
        return true;
    }
    double v = 0;
    if (!ParseNumber(value, &v)) {
        *error = "bad number in \"" + token + "\"";
        return false;
    }
    struct Field {
        const char* key;
        double* target;
        double scale;
        double low;
        double high;
    };
    const Field fields[] = {
        {"f", &voice->f0, 1.0, 1.0, 20000.0},
        {"t", &voice->f1, 1.0, 1.0, 20000.0},
        {"a", &voice->amp, 1.0, 0.0, 1.0},
        {"at", &voice->start, 0.001, 0.0, 5.0},
        {"d", &voice->dur, 0.001, 0.001, 5.0},
        {"atk", &voice->attack, 0.001, 0.0, 5.0},
        {"k", &voice->decay, 1.0, 0.0, 1000.0},
        {"vib", &voice->vibRate, 1.0, 0.0, 200.0},
        {"vd", &voice->vibDepth, 1.0, 0.0, 0.9},
        {"lp", &voice->lowPass, 1.0, 0.001, 1.0},
        {"pan", &voice->pan, 1.0, -1.0, 1.0},
        {"duty", &voice->duty, 1.0, 0.01, 0.99},
        {"trem", &voice->tremolo, 1.0, 0.0, 200.0},
    };
    for (const Field& field : fields) {
        if (key == field.key) {
            const double scaled = v * field.scale;
            if (scaled < field.low || scaled > field.high) {
                *error = "value out of range in \"" + token + "\"";
                return false;
            }
            *field.target = scaled;
            return true;
        }
    }
    *error = "unknown key \"" + key + "\"";
    return false;
}

// "wav <file> <rate> <bits> <channels> <ms> <voice> [| <voice> ...]"
bool ParseLine(const std::string& line, SoundSpec* sound, std::string* error) {
    std::istringstream in(line);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;) tokens.push_back(token);
    if (tokens.size() < 7 || tokens[0] != "wav") {
        *error = "expected: wav <file> <rate> <bits> <channels> <ms> <voice> [| <voice> ...]";
        return false;
    }
    sound->file = tokens[1];
    if (sound->file.empty() || sound->file[0] == '/' || sound->file.find("..") != std::string::npos ||
        sound->file.size() < 5 || sound->file.compare(sound->file.size() - 4, 4, ".wav") != 0) {
        *error = "file must be a relative \".wav\" path without \"..\"";
        return false;
    }
    int ms = 0;
    if (!ParseInt(tokens[2], &sound->rate) || sound->rate < 4000 || sound->rate > 96000 ||
        !ParseInt(tokens[3], &sound->bits) || (sound->bits != 8 && sound->bits != 16) ||
        !ParseInt(tokens[4], &sound->channels) || (sound->channels != 1 && sound->channels != 2) ||
        !ParseInt(tokens[5], &ms) || ms < 10 || ms > 5000) {
        *error = "rate 4000..96000, bits 8 or 16, channels 1 or 2, length 10..5000 ms";
        return false;
    }
    sound->seconds = ms / 1000.0;
    Voice voice;
    bool pending = false;
    for (size_t i = 6; i < tokens.size(); ++i) {
        if (tokens[i] == "|") {
            if (!pending) {
                *error = "empty voice";
                return false;
            }
            sound->voices.push_back(voice);
            voice = Voice();
            pending = false;
            continue;
        }
        if (!ApplyVoiceToken(tokens[i], &voice, error)) return false;
        pending = true;
    }
    if (!pending) {
        *error = "empty voice";
        return false;
    }
    sound->voices.push_back(voice);
    return true;
}

double Oscillator(Wave wave, double phase, double duty) {
    const double p = phase - std::floor(phase);
    switch (wave) {
        case Wave::kSine: return std::sin(2.0 * kPi * p);
        case Wave::kSquare: return p < duty ? 1.0 : -1.0;
        case Wave::kSaw: return 2.0 * p - 1.0;
        case Wave::kTriangle: return p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p;
        case Wave::kNoise: return 0.0;
    }
    return 0.0;
}

double EnvelopeAt(const Voice& voice, double t, double dur) {
    double level = 1.0;
    if (voice.env == Envelope::kBell) {
        level = std::sin(kPi * t / dur);
    } else if (t < voice.attack) {
        level = t / voice.attack;
    } else {
        const double after = t - voice.attack;
        const double rest = dur - voice.attack;
        switch (voice.env) {
            case Envelope::kExp: level = std::exp(-voice.decay * after); break;
            case Envelope::kLinear: level = rest > 0 ? 1.0 - after / rest : 0.0; break;
            default: break;
        }
    }
    const double toEnd = dur - t;
    if (toEnd < kReleaseSeconds) level *= toEnd / kReleaseSeconds;
    if (voice.tremolo > 0) level *= 0.6 + 0.4 * std::sin(2.0 * kPi * voice.tremolo * t);
    return level < 0 ? 0 : level;
}

// Renders every voice into interleaved frames (floats, -1..1 after scaling).
std::vector<double> Render(const SoundSpec& sound) {
    const size_t frames = static_cast<size_t>(std::lround(sound.seconds * sound.rate));
    std::vector<double> mix(frames * sound.channels, 0.0);
    for (size_t v = 0; v < sound.voices.size(); ++v) {
        const Voice& voice = sound.voices[v];
        Noise noise(HashName(sound.file) + static_cast<uint32_t>(v) * 7919u);
        const double dur = voice.dur > 0 ? voice.dur : sound.seconds - voice.start;
        if (dur <= 0) continue;
        const double f1 = voice.f1 > 0 ? voice.f1 : voice.f0;
        const size_t first = static_cast<size_t>(std::lround(voice.start * sound.rate));
        const size_t count = static_cast<size_t>(std::lround(dur * sound.rate));
        double phase = 0.0;
        double filtered = 0.0;
        const double left = sound.channels == 2 ? std::fmin(1.0, 1.0 - voice.pan) : 1.0;
        const double right = std::fmin(1.0, 1.0 + voice.pan);
        for (size_t i = 0; i < count && first + i < frames; ++i) {
            const double t = static_cast<double>(i) / sound.rate;
            const double u = t / dur;
            double freq = voice.f0 * std::pow(f1 / voice.f0, u);
            if (voice.vibRate > 0) freq *= 1.0 + voice.vibDepth * std::sin(2.0 * kPi * voice.vibRate * t);
            phase += freq / sound.rate;
            const double raw = voice.wave == Wave::kNoise ? noise.Next() : Oscillator(voice.wave, phase, voice.duty);
            filtered += voice.lowPass * (raw - filtered);
            const double sample = filtered * voice.amp * EnvelopeAt(voice, t, dur);
            if (sound.channels == 2) {
                mix[(first + i) * 2] += sample * left;
                mix[(first + i) * 2 + 1] += sample * right;
            } else {
                mix[first + i] += sample;
            }
        }
    }
    double peak = 0.0;
    for (double s : mix) peak = std::fmax(peak, std::fabs(s));
    if (peak > 0) {
        for (double& s : mix) s *= kPeak / peak;
    }
    return mix;
}

void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void PutU16(std::string& out, uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

// A RIFF "WAVE" file: a 16-byte PCM fmt chunk, then the data chunk (with the pad byte an
// odd-sized chunk needs).
std::string EncodeWav(const SoundSpec& sound, const std::vector<double>& samples) {
    std::string data;
    for (double s : samples) {
        if (sound.bits == 16) {
            long v = std::lround(s * 32767.0);
            if (v > 32767) v = 32767;
            if (v < -32768) v = -32768;
            PutU16(data, static_cast<uint16_t>(static_cast<int16_t>(v)));
        } else {
            long v = 128 + std::lround(s * 127.0);
            if (v > 255) v = 255;
            if (v < 0) v = 0;
            data.push_back(static_cast<char>(v));
        }
    }
    const uint32_t dataSize = static_cast<uint32_t>(data.size());
    const uint32_t padded = dataSize + (dataSize & 1u);
    const uint16_t blockAlign = static_cast<uint16_t>(sound.channels * sound.bits / 8);
    std::string out = "RIFF";
    PutU32(out, 4 + 8 + 16 + 8 + padded);
    out += "WAVEfmt ";
    PutU32(out, 16);
    PutU16(out, 1);
    PutU16(out, static_cast<uint16_t>(sound.channels));
    PutU32(out, static_cast<uint32_t>(sound.rate));
    PutU32(out, static_cast<uint32_t>(sound.rate) * blockAlign);
    PutU16(out, blockAlign);
    PutU16(out, static_cast<uint16_t>(sound.bits));
    out += "data";
    PutU32(out, dataSize);
    out += data;
    if (dataSize & 1u) out.push_back('\0');
    return out;
}

bool MakeParents(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

bool WriteIfChanged(const std::string& path, const std::string& bytes) {
    {
        std::ifstream in(path, std::ios::binary);
        if (in) {
            std::ostringstream old;
            old << in.rdbuf();
            if (old.str() == bytes) return true;
        }
    }
    if (!MakeParents(path)) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::printf("usage: %s <manifest> <output folder>\n", argc > 0 ? argv[0] : "soundmaker");
        return 2;
    }
    std::ifstream manifest(argv[1]);
    if (!manifest) {
        std::printf("soundmaker: cannot open %s\n", argv[1]);
        return 1;
    }
    const std::string root = argv[2];
    std::vector<std::string> written;
    int lineNumber = 0;
    int failures = 0;
    for (std::string line; std::getline(manifest, line);) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        SoundSpec sound;
        std::string error;
        if (!ParseLine(line, &sound, &error)) {
            std::printf("%s:%d: %s\n", argv[1], lineNumber, error.c_str());
            ++failures;
            continue;
        }
        bool duplicate = false;
        for (const std::string& done : written) duplicate = duplicate || done == sound.file;
        if (duplicate) {
            std::printf("%s:%d: %s is listed twice\n", argv[1], lineNumber, sound.file.c_str());
            ++failures;
            continue;
        }
        written.push_back(sound.file);
        const std::string bytes = EncodeWav(sound, Render(sound));
        if (!WriteIfChanged(root + "/" + sound.file, bytes)) {
            std::printf("soundmaker: cannot write %s/%s\n", root.c_str(), sound.file.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
