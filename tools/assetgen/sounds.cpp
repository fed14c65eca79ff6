#include "sounds.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kDt = 1.0 / kSampleRate;

std::vector<float> Silence(double seconds) {
    return std::vector<float>(size_t(seconds * kSampleRate), 0.0f);
}

double NoteHz(int semitonesFromA4) {
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

// One-pole low-pass, run over the buffer twice when `circular`, so that its end flows into its start.
void LowPass(std::vector<float>& s, double cutoff, bool circular = false) {
    double a = 1 - std::exp(-2 * kPi * cutoff * kDt), y = 0;
    if (circular)
        for (float v : s) y += a * (v - y);
    for (float& v : s) {
        y += a * (v - y);
        v = float(y);
    }
}

void HighPass(std::vector<float>& s, double cutoff) {
    std::vector<float> low = s;
    LowPass(low, cutoff);
    for (size_t i = 0; i < s.size(); ++i) s[i] -= low[i];
}

std::vector<float> WhiteNoise(size_t n, uint32_t seed) {
    Random r(seed);
    std::vector<float> s(n);
    for (float& v : s) v = float(r.Unit() * 2 - 1);
    return s;
}

void Normalise(std::vector<float>& s, double peak) {
    float m = 0;
    for (float v : s) m = std::max(m, std::fabs(v));
    if (m > 0)
        for (float& v : s) v = float(v * peak / m);
}

// A soft fade at both ends of a one-shot sound, so that it starts and stops without a click.
void Edges(std::vector<float>& s, double in = 0.001, double out = 0.02) {
    size_t a = size_t(in * kSampleRate), b = size_t(out * kSampleRate);
    for (size_t i = 0; i < a && i < s.size(); ++i) s[i] *= float(i) / a;
    for (size_t i = 0; i < b && i < s.size(); ++i) s[s.size() - 1 - i] *= float(i) / b;
}

// A bell-like tone added at time t0.
void Bell(std::vector<float>& s, double t0, double hz, double dur, double amp, double decay = 0.45) {
    size_t start = size_t(t0 * kSampleRate);
    for (size_t i = 0; i < size_t(dur * kSampleRate) && start + i < s.size(); ++i) {
        double t = i * kDt;
        double env = std::min(1.0, t / 0.004) * std::exp(-t / decay);
        double v = std::sin(2 * kPi * hz * t) + 0.45 * std::sin(2 * kPi * hz * 2 * t) * std::exp(-t / 0.15) +
                   0.2 * std::sin(2 * kPi * hz * 3.01 * t) * std::exp(-t / 0.08);
        s[start + i] += float(amp * env * v);
    }
}

// A soft square-ish voice (for the blip and the tune), with a short release.
void Voice(std::vector<float>& s, double t0, double hz, double dur, double amp) {
    size_t start = size_t(t0 * kSampleRate);
    size_t n = size_t((dur + 0.06) * kSampleRate);
    for (size_t i = 0; i < n && start + i < s.size(); ++i) {
        double t = i * kDt;
        double env =
            std::min(1.0, t / 0.006) * (t < dur ? 1.0 - 0.35 * t / dur : 0.65 * std::exp(-(t - dur) / 0.02));
        double ph = 2 * kPi * hz * t;
        double v = std::sin(ph) + 0.3 * std::sin(3 * ph) + 0.12 * std::sin(5 * ph);
        s[start + i] += float(amp * env * v * 0.7);
    }
}

std::vector<float> Click() {
    std::vector<float> s = Silence(0.045);
    std::vector<float> n = WhiteNoise(s.size(), 11);
    HighPass(n, 2500);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = i * kDt;
        s[i] = float(0.7 * n[i] * std::exp(-t / 0.0025) +
                     0.6 * std::sin(2 * kPi * 1650 * t) * std::exp(-t / 0.008));
    }
    Normalise(s, 0.7);
    Edges(s, 0.0003, 0.005);
    return s;
}

// A crash: a thump, a crunch of crackles and metal ringing; `variant` gives the second, different one.
std::vector<float> Crash(int variant) {
    std::vector<float> s = Silence(variant == 0 ? 0.75 : 0.65);
    Random r(variant == 0 ? 21 : 22);
    std::vector<float> noise = WhiteNoise(s.size(), variant == 0 ? 31 : 32);
    LowPass(noise, variant == 0 ? 1800 : 3200);
    const double hits0[] = {0.0, 0.05};
    const double hits1[] = {0.0, 0.07, 0.16};
    const double* hits = variant == 0 ? hits0 : hits1;
    int hitCount = variant == 0 ? 2 : 3;
    const double ring0[] = {310, 517, 1130, 1710};
    const double ring1[] = {640, 955, 1490, 2210};
    const double* ring = variant == 0 ? ring0 : ring1;
    for (int h = 0; h < hitCount; ++h) {
        size_t start = size_t(hits[h] * kSampleRate);
        double gain = h == 0 ? 1.0 : 0.6 / h;
        for (size_t i = 0; start + i < s.size(); ++i) {
            double t = i * kDt;
            double f = (variant == 0 ? 95 : 75) * std::exp(-t * 4) + 40;
            double thump = std::sin(2 * kPi * f * t) * std::exp(-t / (variant == 0 ? 0.12 : 0.07));
            double crunch =
                noise[(start + i) % noise.size()] * std::exp(-t / (variant == 0 ? 0.09 : 0.05)) * 2.2;
            double metal = 0;
            for (int k = 0; k < 4; ++k)
                metal += std::sin(2 * kPi * ring[k] * t + k) * std::exp(-t / (0.18 + 0.05 * k));
            s[start + i] += float(gain * (0.9 * thump + crunch + 0.12 * metal));
        }
    }
    // Crackles: short random clicks thinning out.
    for (int k = 0; k < 60; ++k) {
        double t0 = std::pow(r.Unit(), 2.0) * 0.45;
        size_t start = size_t(t0 * kSampleRate);
        double amp = 0.5 * (1 - t0 / 0.5) * (r.Unit() + 0.3);
        for (size_t i = 0; i < 90 && start + i < s.size(); ++i)
            s[start + i] += float(amp * (r.Unit() * 2 - 1) * std::exp(-double(i) / 18));
    }
    Normalise(s, 0.9);
    Edges(s, 0.0005, 0.05);
    return s;
}

std::vector<float> Jingle() {
    std::vector<float> s = Silence(1.6);
    const int notes[] = {3, 7, 10, 15};  // C5 E5 G5 C6, from A4
    for (int i = 0; i < 4; ++i)
        Bell(s, 0.09 * i, NoteHz(notes[i]), 1.4 - 0.09 * i, i == 3 ? 0.5 : 0.35, i == 3 ? 0.6 : 0.3);
    Bell(s, 0.36, NoteHz(19), 1.1, 0.2, 0.5);   // E6 sparkle
    Bell(s, 0.36, NoteHz(22), 1.1, 0.15, 0.4);  // G6
    Normalise(s, 0.8);
    Edges(s, 0.001, 0.1);
    return s;
}

std::vector<float> Blip() {
    std::vector<float> s = Silence(0.3);
    Voice(s, 0.0, NoteHz(10), 0.07, 0.5);   // G5
    Voice(s, 0.08, NoteHz(17), 0.14, 0.5);  // D6
    Normalise(s, 0.7);
    Edges(s, 0.001, 0.03);
    return s;
}

std::vector<float> Tune() {
    const double beat = 0.36;
    // Melody (semitones from A4, beats), a cheerful round trip back home.
    const std::pair<int, double> melody[] = {
        {-5, 1}, {-2, 1}, {3, 1},  {-2, 1}, {0, 1},    {-2, 1},   {-5, 2}, {-4, 1}, {0, 1}, {-2, 1},
        {-5, 1}, {-7, 1}, {-5, 1}, {-9, 2}, {-5, 0.5}, {-2, 0.5}, {3, 1},  {7, 1},  {3, 3}};
    double total = 0;
    for (auto& n : melody) total += n.second;
    std::vector<float> s = Silence(total * beat + 1.6);
    double t = 0;
    for (auto& n : melody) {
        Voice(s, t, NoteHz(n.first + 12), n.second * beat * 0.85, 0.32);
        Bell(s, t, NoteHz(n.first + 12), n.second * beat + 0.3, 0.12, 0.25);
        t += n.second * beat;
    }
    // Bass, one note per two beats: C C A A F G C C ...
    const int bass[] = {-21, -21, -24, -24, -28, -26, -21, -21, -21, -21};
    for (int i = 0; i < 10; ++i) Bell(s, i * 2 * beat, NoteHz(bass[i]), 2 * beat + 0.2, 0.35, 0.35);
    // Final chord.
    for (int n : {-9, -5, -2, 3}) Bell(s, total * beat - 3 * beat, NoteHz(n), 2.6, 0.18, 0.9);
    Normalise(s, 0.8);
    Edges(s, 0.001, 0.3);
    return s;
}

// Loops: built on a circle of `seconds`, so that the last sample flows into the first.
std::vector<float> DayLoop() {
    const double seconds = 8.0;
    size_t n = size_t(seconds * kSampleRate);
    std::vector<float> s(n, 0.0f);
    // Distant traffic: a deep rumble that swells twice per loop, with a passing car's hiss.
    std::vector<float> rumble = WhiteNoise(n, 41);
    LowPass(rumble, 220, true);
    LowPass(rumble, 220, true);
    std::vector<float> hiss = WhiteNoise(n, 42);
    LowPass(hiss, 1400, true);
    HighPass(hiss, 300);
    for (size_t i = 0; i < n; ++i) {
        double t = i * kDt;
        double swell = 0.75 + 0.25 * std::sin(2 * kPi * t / 4.0);
        double car = std::pow(std::sin(kPi * t / seconds), 6.0);  // one car passes mid-loop
        s[i] = float(2.6 * rumble[i] * swell + 0.12 * hiss[i] * (0.25 + car));
    }
    // Birds: series of quick rising chirps, all inside the loop.
    Random r(43);
    for (int series = 0; series < 7; ++series) {
        double t0 = 0.4 + series * 1.05 + r.Between(0, 0.3);
        double base = r.Between(2800, 4200);
        int chirps = 2 + r.Below(4);
        for (int c = 0; c < chirps; ++c) {
            double start = t0 + c * r.Between(0.09, 0.14), dur = r.Between(0.04, 0.08);
            double f0 = base * r.Between(0.9, 1.1), f1 = f0 * r.Between(1.2, 1.6);
            size_t a = size_t(start * kSampleRate);
            double phase = 0;
            for (size_t i = 0; i < size_t(dur * kSampleRate) && a + i < n - 2000; ++i) {
                double u = double(i) / (dur * kSampleRate);
                phase += 2 * kPi * (f0 + (f1 - f0) * u) * kDt;
                double env = std::pow(std::sin(kPi * u), 2);
                s[a + i] += float(0.16 * env * std::sin(phase));
            }
        }
    }
    return s;
}

std::vector<float> NightLoop() {
    const double seconds = 8.0;
    size_t n = size_t(seconds * kSampleRate);
    std::vector<float> s(n, 0.0f);
    std::vector<float> wind = WhiteNoise(n, 51);
    LowPass(wind, 160, true);
    LowPass(wind, 160, true);
    for (size_t i = 0; i < n; ++i)
        s[i] = float(1.6 * wind[i] * (0.8 + 0.2 * std::sin(2 * kPi * i * kDt / 8.0)));
    // Crickets: trains of short pulses of a high tone; each repeats a whole number of times per loop.
    struct Cricket {
        double hz, period, offset, amp;
        int pulses;
    } crickets[] = {
        {4400, 8.0 / 12, 0.11, 0.16, 3}, {5050, 8.0 / 10, 0.37, 0.11, 4}, {3900, 8.0 / 5, 0.9, 0.07, 6}};
    for (const Cricket& c : crickets) {
        for (double t0 = c.offset; t0 < seconds - 0.3; t0 += c.period) {
            for (int p = 0; p < c.pulses; ++p) {
                size_t a = size_t((t0 + p * 0.03) * kSampleRate);
                size_t len = size_t(0.016 * kSampleRate);
                for (size_t i = 0; i < len && a + i < n; ++i) {
                    double u = double(i) / len;
                    double env = std::sin(kPi * u);
                    double t = (a + i) * kDt;
                    s[a + i] += float(c.amp * env * std::sin(2 * kPi * c.hz * t) *
                                      (0.8 + 0.2 * std::sin(2 * kPi * 60 * t)));
                }
            }
        }
    }
    return s;
}

}  // namespace

std::vector<float> SynthesiseSound(const std::string& name) {
    if (name == "klik") return Click();
    if (name == "naraz1") return Crash(0);
    if (name == "naraz2") return Crash(1);
    if (name == "konec") return Jingle();
    if (name == "start") return Blip();
    if (name == "outro") return Tune();
    if (name == "den") return DayLoop();
    if (name == "noc") return NightLoop();
    return {};
}

std::vector<uint8_t> EncodeWav(const std::vector<float>& samples) {
    std::vector<uint8_t> out;
    auto put16 = [&](uint32_t v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    };
    auto put32 = [&](uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    uint32_t dataSize = uint32_t(samples.size() * 2);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put32(36 + dataSize);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono
    put32(kSampleRate);
    put32(kSampleRate * 2);
    put16(2);
    put16(16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(dataSize);
    for (float v : samples) {
        int q = int(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
        put16(uint16_t(int16_t(q)));
    }
    return out;
}
