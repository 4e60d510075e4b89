#include "tools/mediagen/Sounds.h"

#include <algorithm>
#include <cmath>

#include "tools/mediagen/Metrics.h"
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

// The one instrument of all four sounds: a soft mallet on a copper pipe. A
// few harmonics, the upper ones dying first, so a note starts round and
// bright and ends as a plain tone. Only the pitch, its glide, the length and
// the ring differ from sound to sound.
struct Strike {
    double start = 0;   // seconds
    double length = 0;  // seconds until silence
    double frequency = 0;
    double glide = 0;   // share of the pitch gained (or lost) over the length
    double ring = 0.2;  // seconds for the tone to fall by 1/e
    double gain = 1;
    double brightness = 1;
};

void Play(std::vector<double>& s, double rate, const Strike& n) {
    Voice voice;
    const int first = static_cast<int>(n.start * rate);
    const int last = std::min(static_cast<int>(s.size()), static_cast<int>((n.start + n.length) * rate));
    for (int i = std::max(first, 0); i < last; ++i) {
        const double t = i / rate - n.start;
        const double env =
            NoteEnvelope(t, n.length, 0.004, std::min(0.03, n.length / 3)) * std::exp(-t / n.ring);
        const double fade = 1.2 + 2.5 * t / n.ring;  // harmonics dull as the note dies
        const double f = n.frequency * (1 + n.glide * t / n.length);
        s[i] += n.gain * env * voice.Next(f, rate, std::min(5000.0, rate * 0.45), [&](int k) {
            return std::pow(k, -1.4) * std::exp(-(k - 1) * fade / n.brightness);
        });
    }
}

// All four sounds at one loudness: the RMS of the audible part at this many dB.
constexpr double kLoudnessDb = -16;

void Normalise(std::vector<double>& s, double rate) {
    const double gain = std::pow(10.0, (kLoudnessDb - AudibleRmsDb(s, static_cast<int>(rate))) / 20);
    for (double& v : s) v *= gain;
}

}  // namespace

std::vector<std::uint8_t> FlowSound(std::uint32_t seed) {
    const int count = 19406;
    const double rate = kFlowRate;
    Random random(seed);
    std::vector<double> s(count, 0.0);
    // Water rising in the pipe: quick bubbles that climb in pitch, all within
    // the 300 ms of the water's rise, and one last lower plop that rings out.
    double at = 0.004;
    for (int b = 0; b < 7; ++b) {
        const double f = 380 + 70 * b + random.Range(-30, 30);
        Play(s, rate, {at, 0.075, f, 0.45, 0.022, random.Range(0.75f, 1.0f), 0.8});
        at += random.Range(0.027f, 0.034f);
    }
    Play(s, rate, {at, 0.12, 330, 0.25, 0.03, 0.9, 0.7});
    // Under the bubbles a little rush of water, band-passed noise that
    // swells and is gone with them.
    double low = 0, band = 0;
    const double f = 2 * std::sin(kPi * 900 / rate);
    for (int i = 0; i < static_cast<int>(0.28 * rate); ++i) {
        low += f * band;
        band += f * (random.Uniform() * 2 - 1 - low - 0.5 * band);
        s[i] += 0.05 * band * std::sin(kPi * i / (0.28 * rate));
    }
    Normalise(s, rate);
    Fade(s, 0.004 * rate, 0.02 * rate);
    return Quantise(s, seed + 1);
}

std::vector<std::uint8_t> SolvedSound(std::uint32_t seed) {
    const int count = 34265;
    const double rate = kEffectRate;
    std::vector<double> s(count, 0.0);
    // Rising through the chord, then the chord held and ringing out.
    const Strike melody[] = {
        {0.00, 0.45, Pitch("G4"), 0, 0.22}, {0.15, 0.45, Pitch("C5"), 0, 0.22},
        {0.30, 0.45, Pitch("E5"), 0, 0.22}, {0.45, 0.60, Pitch("G5"), 0, 0.32},
        {0.90, 0.30, Pitch("E5"), 0, 0.16}, {1.05, 0.30, Pitch("G5"), 0, 0.16},
    };
    for (const Strike& note : melody) Play(s, rate, note);
    for (const char* name : {"C5", "E5", "G5", "C6"}) Play(s, rate, {1.20, 1.90, Pitch(name), 0, 0.75, 0.55});
    Normalise(s, rate);
    Fade(s, 8, 0.05 * rate);
    return Quantise(s, seed + 2);
}

std::vector<std::uint8_t> RefuseSound(std::uint32_t seed) {
    const int count = 2298;
    const double rate = kEffectRate;
    std::vector<double> s(count, 0.0);
    // Two short low knocks, the second lower: a soft "uh-uh".
    Play(s, rate, {0.004, 0.095, 311.1, -0.04, 0.06, 1, 0.8});
    Play(s, rate, {0.105, 0.100, 233.1, -0.05, 0.06, 1, 0.8});
    Normalise(s, rate);
    Fade(s, 4, 0.01 * rate);
    return Quantise(s, seed + 3);
}

std::vector<std::uint8_t> TimeUpSound(std::uint32_t seed) {
    const int count = 25246;
    const double rate = kEffectRate;
    std::vector<double> s(count, 0.0);
    // Stepping down by semitones, darker than the fanfare; the last note sags
    // as it dies away.
    const Strike notes[] = {{0.02, 0.40, Pitch("G4"), 0, 0.25, 1, 0.7},
                            {0.42, 0.40, Pitch("F#4"), 0, 0.25, 1, 0.7},
                            {0.82, 0.40, Pitch("F4"), 0, 0.25, 1, 0.7},
                            {1.22, 1.05, Pitch("E4"), -0.04, 0.45, 1, 0.7}};
    for (const Strike& note : notes) Play(s, rate, note);
    Normalise(s, rate);
    Fade(s, 8, 0.05 * rate);
    return Quantise(s, seed + 4);
}
