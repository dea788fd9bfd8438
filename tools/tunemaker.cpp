// Tune maker: writes the game's short placeholder music as WAV files, each piece made from
// its own key, scale, tempo, instrument and pattern, so that different tunes sound different.
// The output is the same on every run.
//
//   tunemaker OUTDIR           writes OUTDIR/NAME.wav for every tune
//   tunemaker --ogg OUTDIR     the same, then encodes each with oggenc into OUTDIR/NAME.ogg
//                              and removes the WAV (how data/tunes/*.ogg were made)
//   tunemaker --tone FILE RATE CHANNELS MS HZ
//                              one plain tone, every channel a little higher than the last
//                              (MS 0 writes a file with no audio at all)
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

enum class Wave { kSine, kTriangle, kSoftSquare, kPluck, kOrgan };

struct TuneSpec {
    const char* name;
    uint32_t seed;
    int root;          // MIDI note of the key
    int scale;         // index into kScales
    int bpm;
    int bars;          // of four beats
    Wave lead;
    Wave bass;
    int drums;         // 0 none, 1 hats, 2 hats and kick, 3 toms
    bool opening;      // an intro: a rising run into the theme, ends on the root
    bool fadeEnd;      // a piece played once: its last note rings out
};

const int kScales[][7] = {
    {0, 2, 4, 5, 7, 9, 11},   // major
    {0, 2, 3, 5, 7, 8, 10},   // natural minor
    {0, 2, 3, 5, 7, 9, 10},   // dorian
    {0, 1, 3, 5, 7, 8, 10},   // phrygian
    {0, 2, 4, 6, 7, 9, 11},   // lydian
    {0, 1, 4, 5, 7, 8, 10},   // phrygian dominant
    {0, 2, 3, 5, 7, 8, 11},   // harmonic minor
};

// clang-format off
const TuneSpec kTunes[] = {
    {"finaltitle",        11, 50, 2,  84, 3, Wave::kOrgan,      Wave::kSine,       0, false, false},
    {"tutorial-repeat",   12, 60, 0, 100, 2, Wave::kTriangle,   Wave::kSine,       1, false, false},
    {"chilled-repeat",    13, 57, 2,  76, 2, Wave::kSine,       Wave::kTriangle,   1, false, false},
    {"dervish-open",      14, 52, 5, 132, 1, Wave::kSoftSquare, Wave::kTriangle,   3, true,  false},
    {"dervish-repeat",    14, 52, 5, 132, 2, Wave::kSoftSquare, Wave::kTriangle,   3, false, false},
    {"elegy-repeat",      15, 53, 1,  60, 2, Wave::kOrgan,      Wave::kSine,       0, false, false},
    {"ghosts-open",       16, 61, 6,  70, 1, Wave::kSine,       Wave::kSine,       0, true,  false},
    {"ghosts-repeat",     16, 61, 6,  70, 2, Wave::kSine,       Wave::kSine,       1, false, false},
    {"heck-repeat",       17, 45, 3, 150, 3, Wave::kSoftSquare, Wave::kSoftSquare, 2, false, false},
    {"house-open",        18, 55, 0, 112, 1, Wave::kPluck,      Wave::kTriangle,   2, true,  false},
    {"house-repeat",      18, 55, 0, 112, 2, Wave::kPluck,      Wave::kTriangle,   2, false, false},
    {"icebattle-repeat",  19, 64, 1, 140, 3, Wave::kTriangle,   Wave::kSoftSquare, 2, false, false},
    {"icecave-repeat",    20, 69, 4,  66, 2, Wave::kSine,       Wave::kSine,       0, false, false},
    {"mining-open",       21, 48, 2,  96, 1, Wave::kPluck,      Wave::kSine,       3, true,  false},
    {"mining-repeat",     21, 48, 2,  96, 2, Wave::kPluck,      Wave::kSine,       3, false, false},
    {"pits-open",         22, 46, 6,  88, 1, Wave::kOrgan,      Wave::kSoftSquare, 3, true,  false},
    {"pits-repeat",       22, 46, 6,  88, 2, Wave::kOrgan,      Wave::kSoftSquare, 3, false, false},
    {"spelunk-repeat",    23, 58, 2, 120, 2, Wave::kPluck,      Wave::kTriangle,   1, false, false},
    {"subter-open",       24, 49, 1,  80, 1, Wave::kTriangle,   Wave::kSine,       0, true,  false},
    {"subter-repeat",     24, 49, 1,  80, 2, Wave::kTriangle,   Wave::kSine,       1, false, false},
    {"stygian-open",      25, 44, 3,  64, 1, Wave::kOrgan,      Wave::kSine,       0, true,  false},
    {"stygian-repeat",    25, 44, 3,  64, 2, Wave::kOrgan,      Wave::kSine,       3, false, false},
    {"swamp-repeat",      26, 51, 2,  72, 2, Wave::kSoftSquare, Wave::kSine,       3, false, false},
    {"temple-repeat",     27, 62, 5,  90, 2, Wave::kPluck,      Wave::kSine,       3, false, false},
    {"veil-repeat",       28, 66, 4,  58, 2, Wave::kSine,       Wave::kTriangle,   0, false, false},
    {"shop-open",         29, 65, 0, 126, 1, Wave::kPluck,      Wave::kTriangle,   1, true,  false},
    {"shop-repeat",       29, 65, 0, 126, 2, Wave::kPluck,      Wave::kTriangle,   1, false, false},
    {"thief-open",        30, 56, 6, 160, 1, Wave::kSoftSquare, Wave::kSoftSquare, 2, true,  false},
    {"thief-repeat",      30, 56, 6, 160, 3, Wave::kSoftSquare, Wave::kSoftSquare, 2, false, false},
    {"brawl-open",        31, 47, 1, 150, 1, Wave::kSoftSquare, Wave::kTriangle,   2, true,  false},
    {"brawl-repeat",      31, 47, 1, 150, 3, Wave::kSoftSquare, Wave::kTriangle,   2, false, false},
    {"death-open",        32, 50, 1,  54, 1, Wave::kOrgan,      Wave::kSine,       0, true,  true},
    {"death-repeat",      32, 50, 1,  54, 2, Wave::kOrgan,      Wave::kSine,       0, false, false},
    {"victory-intro",     33, 60, 0, 120, 1, Wave::kSoftSquare, Wave::kTriangle,   2, true,  false},
    {"victory-repeat",    33, 60, 0, 120, 2, Wave::kTriangle,   Wave::kTriangle,   1, false, false},
    {"orb-unlooped",      34, 67, 4, 108, 2, Wave::kPluck,      Wave::kSine,       0, true,  true},
};
// clang-format on

// A small generator of our own, so the pieces do not depend on any library's sequence.
struct Lcg {
    uint32_t state;
    explicit Lcg(uint32_t seed) : state(seed * 2654435761u + 12345u) {}
    uint32_t Next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }
    double Unit() { return (Next() & 0xFFFF) / 65536.0; }
};

double NoteHz(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

int ScaleNote(const TuneSpec& t, int degree) {
    int octave = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
    int index = degree - octave * 7;
    return t.root + octave * 12 + kScales[t.scale][index];
}

// Adds one note into the mix.
void AddNote(std::vector<float>& mix, Wave wave, double hz, size_t start, size_t length,
             double level, Lcg& rng) {
    if (start >= mix.size()) return;
    const size_t release = kRate / 40;
    const size_t total = length + release;
    std::vector<float> pluck;
    size_t pluckPos = 0;
    if (wave == Wave::kPluck) {
        size_t period = static_cast<size_t>(kRate / hz);
        if (period < 2) period = 2;
        pluck.resize(period);
        for (float& v : pluck) v = static_cast<float>(rng.Unit() * 2.0 - 1.0);
    }
    for (size_t i = 0; i < total && start + i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double phase = std::fmod(hz * t, 1.0);
        double v = 0.0;
        switch (wave) {
            case Wave::kSine: v = std::sin(2 * kPi * phase); break;
            case Wave::kTriangle: v = 4.0 * std::fabs(phase - 0.5) - 1.0; break;
            case Wave::kSoftSquare:
                v = std::sin(2 * kPi * phase) + std::sin(6 * kPi * phase) / 3 +
                    std::sin(10 * kPi * phase) / 5;
                v *= 0.8;
                break;
            case Wave::kOrgan:
                v = 0.6 * std::sin(2 * kPi * phase) + 0.3 * std::sin(4 * kPi * phase) +
                    0.15 * std::sin(8 * kPi * phase);
                break;
            case Wave::kPluck: {
                const size_t next = (pluckPos + 1) % pluck.size();
                v = pluck[pluckPos];
                pluck[pluckPos] = static_cast<float>(0.497 * (pluck[pluckPos] + pluck[next]));
                pluckPos = next;
                break;
            }
        }
        double envelope = 1.0;
        const size_t attack = kRate / 200;
        if (i < attack) envelope = static_cast<double>(i) / attack;
        if (wave != Wave::kPluck) envelope *= 1.0 - 0.35 * std::min(1.0, t * 2.0);
        if (i >= length) envelope *= 1.0 - static_cast<double>(i - length) / release;
        mix[start + i] += static_cast<float>(v * envelope * level);
    }
}

void AddDrum(std::vector<float>& mix, int kind, size_t start, Lcg& rng) {
    const size_t length = kind == 0 ? kRate / 30 : kRate / 8;
    double phase = 0.0;
    for (size_t i = 0; i < length && start + i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / length;
        double v;
        if (kind == 0) {  // hat: bright noise
            v = (rng.Unit() * 2.0 - 1.0) * 0.12 * (1.0 - t);
        } else {  // kick (1) or tom (2): a falling sine
            const double hz = kind == 1 ? 120.0 - 70.0 * t : 220.0 - 90.0 * t;
            phase += hz / kRate;
            v = std::sin(2 * kPi * phase) * 0.45 * (1.0 - t) * (1.0 - t);
        }
        mix[start + i] += static_cast<float>(v);
    }
}

std::vector<float> MakeTune(const TuneSpec& t) {
    Lcg rng(t.seed);
    const size_t beat = static_cast<size_t>(60.0 * kRate / t.bpm);
    const size_t eighth = beat / 2;
    const int beats = t.bars * 4;
    const size_t tail = t.fadeEnd ? kRate : 0;
    std::vector<float> mix(beat * beats + tail, 0.0f);

    // Chord roots by bar, as scale degrees; the same seed gives intro and loop one progression.
    static const int kProgressions[][4] = {{0, 5, 3, 4}, {0, 3, 4, 0}, {0, 6, 5, 4},
                                           {0, 2, 3, 1}, {0, 4, 5, 3}, {0, 1, 0, 6}};
    const int* progression = kProgressions[t.seed % 6];

    // Bass: the chord root on every beat (every other beat in slow pieces).
    const int bassStep = t.bpm < 80 ? 2 : 1;
    for (int b = 0; b < beats; b += bassStep) {
        const int degree = progression[(b / 4) % 4] - 7;
        AddNote(mix, t.bass, NoteHz(ScaleNote(t, degree)), b * beat, beat * bassStep * 9 / 10,
                0.30, rng);
    }

    // Lead.
    if (t.opening) {
        // A run up the scale into the root an octave above.
        const int steps = beats * 2 - 2;
        for (int i = 0; i < steps; ++i) {
            AddNote(mix, t.lead, NoteHz(ScaleNote(t, i % 9)), i * eighth, eighth, 0.28, rng);
        }
        AddNote(mix, t.lead, NoteHz(ScaleNote(t, 7)), steps * eighth, eighth * 2 + tail, 0.32,
                rng);
    } else {
        int degree = rng.Below(5);
        for (int i = 0; i < beats * 2; ++i) {
            if (rng.Below(5) == 0) continue;  // a rest
            const int chord = progression[(i / 8) % 4];
            const int move = rng.Below(5) - 2;
            degree += move;
            if (i % 4 == 0) degree = chord + 2 * rng.Below(3);  // on the strong beats a chord tone
            if (degree < -2) degree = -2;
            if (degree > 9) degree = 9;
            const size_t length = rng.Below(3) == 0 ? eighth * 2 : eighth;
            AddNote(mix, t.lead, NoteHz(ScaleNote(t, degree)), i * eighth, length, 0.26, rng);
        }
    }

    // Drums.
    for (int b = 0; b < beats && t.drums > 0; ++b) {
        if (t.drums == 1 || t.drums == 2) {
            AddDrum(mix, 0, b * beat + eighth, rng);
        }
        if (t.drums == 2 && b % 2 == 0) AddDrum(mix, 1, b * beat, rng);
        if (t.drums == 3 && (b % 4 == 0 || b % 4 == 3)) AddDrum(mix, 2, b * beat, rng);
    }

    // Normalise to a safe level.
    float peak = 0.0f;
    for (float v : mix) peak = std::max(peak, std::fabs(v));
    const float scale = peak > 0.0f ? 0.7f / peak : 1.0f;
    for (float& v : mix) v *= scale;
    return mix;
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

// Interleaved float samples into a 16-bit PCM WAV file.
bool WriteWav(const std::string& path, const std::vector<float>& samples, int rate, int channels) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    PutU32(out, 36 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutU32(out, 16);
    PutU16(out, 1);
    PutU16(out, static_cast<uint16_t>(channels));
    PutU32(out, static_cast<uint32_t>(rate));
    PutU32(out, static_cast<uint32_t>(rate * channels * 2));
    PutU16(out, static_cast<uint16_t>(channels * 2));
    PutU16(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    PutU32(out, dataBytes);
    for (float v : samples) {
        const float c = v > 1.0f ? 1.0f : (v < -1.0f ? -1.0f : v);
        PutU16(out, static_cast<uint16_t>(static_cast<int16_t>(c * 32767.0f)));
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

int MakeTone(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: tunemaker --tone FILE RATE CHANNELS MS HZ\n");
        return 2;
    }
    const int rate = std::atoi(argv[3]);
    const int channels = std::atoi(argv[4]);
    const int ms = std::atoi(argv[5]);
    const double hz = std::atof(argv[6]);
    if (rate <= 0 || channels <= 0 || channels > 8 || ms < 0) {
        std::fprintf(stderr, "tunemaker: bad tone parameters\n");
        return 2;
    }
    const size_t frames = static_cast<size_t>(static_cast<int64_t>(rate) * ms / 1000);
    std::vector<float> samples(frames * channels);
    for (size_t i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            samples[i * channels + c] =
                static_cast<float>(0.5 * std::sin(2 * kPi * hz * (1.0 + 0.25 * c) * i / rate));
        }
    }
    if (!WriteWav(argv[2], samples, rate, channels)) {
        std::fprintf(stderr, "tunemaker: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--tone") == 0) return MakeTone(argc, argv);
    const bool encode = argc == 3 && std::strcmp(argv[1], "--ogg") == 0;
    if (argc != 2 && !encode) {
        std::fprintf(stderr, "usage: tunemaker [--ogg] OUTDIR | --tone FILE RATE CHANNELS MS HZ\n");
        return 2;
    }
    const std::string dir = argv[argc - 1];
    for (const TuneSpec& t : kTunes) {
        const std::string wav = dir + "/" + t.name + ".wav";
        if (!WriteWav(wav, MakeTune(t), kRate, 1)) {
            std::fprintf(stderr, "tunemaker: cannot write %s\n", wav.c_str());
            return 1;
        }
        if (encode) {
            const std::string ogg = dir + "/" + t.name + ".ogg";
            const std::string command =
                "oggenc -Q -q -1 -s " + std::to_string(t.seed) + " -o '" + ogg + "' '" + wav + "'";
            if (std::system(command.c_str()) != 0) {
                std::fprintf(stderr, "tunemaker: oggenc failed on %s\n", wav.c_str());
                return 1;
            }
            std::remove(wav.c_str());
        }
    }
    return 0;
}
