#include "tools/mediagen/Sounds.h"

#include <algorithm>
#include <cmath>

#include "tools/mediagen/Noise.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Eight bits leave little room: a triangular dither keeps quiet tails smooth
// instead of gritty, and is left out where the sound is silent.
std::vector<std::uint8_t> Quantise(const std::vector<double>& signal, std::uint32_t seed) {
    Random random(seed);
    std::vector<std::uint8_t> out(signal.size());
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double dither = signal[i] == 0 ? 0 : (random.Uniform() - random.Uniform()) * 0.9;
        out[i] = static_cast<std::uint8_t>(std::clamp(std::lround(128 + 127 * signal[i] + dither), 0L, 255L));
    }
    return out;
}

// Raised-cosine fades at both ends; the first and last samples are exactly 0.
void Fade(std::vector<double>& signal, double inSamples, double outSamples) {
    const double n = static_cast<double>(signal.size());
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = static_cast<double>(i);
        double g = 1;
        if (t < inSamples) g *= 0.5 - 0.5 * std::cos(kPi * t / inSamples);
        if (n - 1 - t < outSamples) g *= 0.5 - 0.5 * std::cos(kPi * (n - 1 - t) / outSamples);
        signal[i] *= g;
    }
    signal.front() = 0;
    signal.back() = 0;
}

// A band-limited tone: harmonics up to the given ceiling, each weighted by
// weight(k); phase advances with the running frequency so glides stay smooth.
struct Voice {
    double phase = 0;
    template <typename Weight>
    double Next(double frequency, double rate, double ceiling, Weight weight) {
        phase += 2 * kPi * frequency / rate;
        if (phase > 2 * kPi) phase -= 2 * kPi;
        double sum = 0, norm = 0;
        for (int k = 1; k * frequency < ceiling; ++k) {
            const double w = weight(k);
            sum += w * std::sin(k * phase);
            norm += w;
        }
        return norm > 0 ? sum / std::sqrt(norm * 1.6) : 0;
    }
};

struct Note {
    double start, length, frequency;
};

double NoteEnvelope(double t, double length, double attack, double release) {
    if (t < 0 || t > length) return 0;
    const double a = std::min(1.0, t / attack);
    const double r = std::min(1.0, (length - t) / release);
    return std::sin(0.5 * kPi * a) * std::sin(0.5 * kPi * r);
}

double Pitch(const char* name) {
    // Equal temperament from A4 = 440 Hz; names like "C5", "F#4".
    static const int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    int semitone = kSemitone[name[0] - 'A'];
    int i = 1;
    if (name[i] == '#') ++semitone, ++i;
    const int octave = name[i] - '0';
    return 440.0 * std::pow(2.0, (semitone + 12 * (octave - 4) - 9) / 12.0);
}

}  // namespace

std::vector<std::uint8_t> FlowSound(std::uint32_t seed) {
    const int count = 19406;
    const double rate = kFlowRate;
    Random random(seed);
    std::vector<double> s(count, 0.0);

    // A soft rush: noise through a resonant band-pass whose centre wanders.
    double low = 0, band = 0;
    for (int i = 0; i < count; ++i) {
        const double t = i / rate;
        const double centre = 700 + 250 * std::sin(2 * kPi * 3.1 * t) + 150 * std::sin(2 * kPi * 7.3 * t + 1);
        const double f = 2 * std::sin(kPi * centre / rate);
        const double noise = random.Uniform() * 2 - 1;
        low += f * band;
        const double high = noise - low - 0.35 * band;
        band += f * high;
        s[i] = 0.22 * band;
    }
    // Bubbles: short sine chirps that rise as they close, at random moments.
    for (int b = 0; b < 34; ++b) {
        const double at = random.Range(0.02f, 0.8f);
        const double f0 = random.Range(380, 950);
        const double tau = random.Range(0.010f, 0.028f);
        const double gain = random.Range(0.18f, 0.42f);
        double phase = 0;
        for (int i = static_cast<int>(at * rate); i < count; ++i) {
            const double t = i / rate - at;
            if (t > 8 * tau) break;
            const double f = f0 * (1 + 2.2 * t / (8 * tau));
            phase += 2 * kPi * f / rate;
            s[i] += gain * std::exp(-t / tau) * std::min(1.0, t / 0.002) * std::sin(phase);
        }
    }
    Fade(s, 0.04 * rate, 0.18 * rate);
    return Quantise(s, seed + 1);
}

std::vector<std::uint8_t> SolvedSound(std::uint32_t seed) {
    const int count = 34265;
    const double rate = kEffectRate;
    std::vector<double> s(count, 0.0);
    const Note melody[] = {
        {0.00, 0.14, Pitch("G4")}, {0.15, 0.14, Pitch("C5")}, {0.30, 0.14, Pitch("E5")},
        {0.45, 0.40, Pitch("G5")}, {0.90, 0.13, Pitch("E5")}, {1.05, 0.13, Pitch("G5")},
    };
    const Note chord[] = {{1.20, 1.90, Pitch("C5")},
                          {1.20, 1.90, Pitch("E5")},
                          {1.20, 1.90, Pitch("G5")},
                          {1.20, 1.90, Pitch("C6")}};
    // A bright brass-like tone whose upper harmonics open during the attack.
    auto play = [&](const Note& note, double gain, bool held) {
        Voice voice;
        const int first = static_cast<int>(note.start * rate);
        const int last = std::min(count, static_cast<int>((note.start + note.length) * rate) + 1);
        for (int i = first; i < last; ++i) {
            const double t = i / rate - note.start;
            const double open = std::min(1.0, t / 0.05);
            const double vibrato =
                held ? 1 + 0.004 * std::sin(2 * kPi * 5.2 * t) * std::min(1.0, t / 0.4) : 1;
            const double decay = held ? std::exp(-t / 1.1) : 1;
            const double env = NoteEnvelope(t, note.length, 0.012, held ? 0.5 : 0.03) * decay;
            s[i] += gain * env * voice.Next(note.frequency * vibrato, rate, 4800, [open](int k) {
                return std::pow(k, -1.3) * std::exp(-(k - 1) * (1.15 - open) * 0.8);
            });
        }
    };
    for (const Note& note : melody) play(note, 0.55, note.length > 0.3);
    for (const Note& note : chord) play(note, 0.26, true);
    Fade(s, 8, 0.05 * rate);
    return Quantise(s, seed + 2);
}

std::vector<std::uint8_t> RefuseSound(std::uint32_t seed) {
    const int count = 2298;
    const double rate = kEffectRate;
    std::vector<double> s(count, 0.0);
    // Two short low notes, the second lower: a soft "uh-uh".
    const Note notes[] = {{0.005, 0.085, 311.1}, {0.105, 0.098, 233.1}};
    for (const Note& note : notes) {
        Voice voice;
        for (int i = 0; i < count; ++i) {
            const double t = i / rate - note.start;
            const double env = NoteEnvelope(t, note.length, 0.006, 0.04);
            if (env <= 0) continue;
            s[i] += 0.6 * env *
                    voice.Next(note.frequency * (1 - 0.06 * t / note.length), rate, 3000,
                               [](int k) { return k % 2 ? 1.0 / k : 0.25 / k; });
        }
    }
    Fade(s, 4, 0.01 * rate);
    return Quantise(s, seed + 3);
}

std::vector<std::uint8_t> TimeUpSound(std::uint32_t seed) {
    const int count = 25246;
    const double rate = kEffectRate;
    std::vector<double> s(count, 0.0);
    // "Wah, wah, wah, waaah": a muted horn stepping down, the last note
    // wavering and sagging as it dies away.
    const Note notes[] = {{0.02, 0.36, Pitch("G4")},
                          {0.42, 0.36, Pitch("F#4")},
                          {0.82, 0.36, Pitch("F4")},
                          {1.22, 1.04, Pitch("E4")}};
    for (int n = 0; n < 4; ++n) {
        const Note& note = notes[n];
        const bool last = n == 3;
        Voice voice;
        for (int i = 0; i < count; ++i) {
            const double t = i / rate - note.start;
            const double env = NoteEnvelope(t, note.length, 0.02, last ? 0.45 : 0.06);
            if (env <= 0) continue;
            // The mute opens and closes once per note: the "wah".
            const double wah =
                last ? 0.5 + 0.5 * std::sin(std::min(1.0, t / 0.25) * kPi * 0.5) * std::exp(-t / 1.2)
                     : std::sin(kPi * std::min(1.0, t / note.length));
            const double sag = last ? 1 - 0.035 * std::max(0.0, t - 0.5) : 1;
            const double vibrato =
                last ? 1 + 0.012 * std::sin(2 * kPi * 5.5 * t) * std::min(1.0, t / 0.3) : 1;
            s[i] += 0.62 * env * voice.Next(note.frequency * sag * vibrato, rate, 4500, [wah](int k) {
                return std::pow(k, -1.1) * std::exp(-(k - 1) * (1.3 - wah));
            });
        }
    }
    Fade(s, 8, 0.05 * rate);
    return Quantise(s, seed + 4);
}
