// Synthesises the game's five sound effects and writes them as WAVE files
// and as a C++ source that builds them into the program.
//
//   tumblewick_soundgen WAVE_FOLDER SOURCE_FILE
//
// Everything is computed from fixed numbers and a seeded generator, so every
// build makes the same bytes. Each sound starts and ends on silence, rises and
// falls through smooth envelopes (no clicks) and is scaled to a set peak
// below full scale (no clipping).

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;

struct Sound
{
    const char *name; // file and symbol name
    int rate; // samples per second
    int bits; // 8 (unsigned) or 16 (signed)
    int samples; // exact length
    double peak; // loudest sample as a share of full scale
    double fade; // seconds of the closing fade
    std::vector<double> (*make)(int rate, int samples);
};

// A fixed-seed generator (xorshift), the same on every machine.
class Noise
{
public:
    explicit Noise(std::uint32_t seed)
        : state_(seed)
    { }
    // Uniform in [0, 1).
    double Next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return double(state_) / 4294967296.0;
    }

private:
    std::uint32_t state_;
};

double MidiHz(double key)
{
    return 440.0 * std::pow(2.0, (key - 69) / 12);
}

// A smooth rise from 0 to 1 over `length` seconds (raised cosine).
double Rise(double t, double length)
{
    if (t <= 0) {
        return 0;
    }
    if (t >= length) {
        return 1;
    }
    return 0.5 - 0.5 * std::cos(std::numbers::pi * t / length);
}

// A struck tone: partials with their own levels and decay times, a short
// soft attack, at a fixed pitch. Adds into `out` from sample `start` on.
struct Partial
{
    double ratio, level, decay;
};

void Strike(std::vector<double> &out, int rate, double when, double hz, double level,
    const std::vector<Partial> &partials, double attack = 0.003)
{
    const int start = int(when * rate);
    for (int i = start; i < int(out.size()); ++i) {
        const double t = double(i - start) / rate;
        double v = 0;
        for (const Partial &p : partials) {
            if (hz * p.ratio < rate * 0.4) {
                v += p.level * std::exp(-t / p.decay) * std::sin(TwoPi * hz * p.ratio * t);
            }
        }
        out[std::size_t(i)] += level * Rise(t, attack) * v;
    }
}

// Step: a soft wooden tap, a low knock whose pitch sinks a little, with a
// brief woody overtone and a breath of muffled noise at the contact.
std::vector<double> Step(int rate, int samples)
{
    std::vector<double> out(std::size_t(samples), 0.0);
    Noise noise(7);
    double phase = 0, phase2 = 0, smooth = 0;
    for (int i = 0; i < samples; ++i) {
        const double t = double(i) / rate;
        const double hz = 290 + 140 * std::exp(-t / 0.02);
        phase += TwoPi * hz / rate;
        phase2 += TwoPi * hz * 2.76 / rate;
        smooth += 0.25 * ((noise.Next() * 2 - 1) - smooth); // a gentle low-pass
        double v = std::exp(-t / 0.03) * std::sin(phase);
        v += 0.25 * std::exp(-t / 0.012) * std::sin(phase2);
        v += 0.35 * std::exp(-t / 0.006) * smooth;
        out[std::size_t(i)] = Rise(t, 0.002) * v;
    }
    return out;
}

// Jump: a springy "boing" that leaps up an octave and wobbles as it settles.
std::vector<double> Jump(int rate, int samples)
{
    std::vector<double> out(std::size_t(samples), 0.0);
    double phase = 0;
    for (int i = 0; i < samples; ++i) {
        const double t = double(i) / rate;
        const double leap = 1 - std::exp(-t / 0.045);
        const double wobble = 0.08 * std::sin(TwoPi * 9 * t) * std::exp(-t / 0.25);
        const double hz = 240 * std::pow(2.0, leap + 0.15 * t) * (1 + wobble);
        phase += TwoPi * hz / rate;
        double v = std::sin(phase) + 0.3 * std::sin(2 * phase) + 0.08 * std::sin(3 * phase);
        out[std::size_t(i)] = Rise(t, 0.004) * std::exp(-t / 0.14) * v;
    }
    return out;
}

// Fall: a whistle gliding down from high to low over nearly two seconds,
// with a slight vibrato, and a soft distant thud at the bottom.
std::vector<double> Fall(int rate, int samples)
{
    std::vector<double> out(std::size_t(samples), 0.0);
    const double glide = 1.75;
    double phase = 0, thud = 0;
    for (int i = 0; i < samples; ++i) {
        const double t = double(i) / rate;
        const double along = std::min(t / glide, 1.0);
        const double hz
            = 1500 * std::pow(200.0 / 1500.0, along) * (1 + 0.012 * std::sin(TwoPi * 5.5 * t));
        phase += TwoPi * hz / rate;
        double v = std::sin(phase) + 0.12 * std::sin(2 * phase);
        v *= Rise(t, 0.06) * (1 - 0.45 * along) * (1 - Rise(t - (glide - 0.25), 0.3));
        const double tt = t - 1.72;
        if (tt > 0) {
            thud += TwoPi * (55 + 50 * std::exp(-tt / 0.04)) / rate;
            v += 0.7 * Rise(tt, 0.005) * std::exp(-tt / 0.07) * std::sin(thud);
        }
        out[std::size_t(i)] = v;
    }
    return out;
}

// Level solved: a bright bell arpeggio up the major chord and a little turn,
// ending on the full chord that rings out.
std::vector<double> Solved(int rate, int samples)
{
    std::vector<double> out(std::size_t(samples), 0.0);
    const std::vector<Partial> bell
        = {{1.0, 1.0, 0.55}, {2.0, 0.35, 0.25}, {3.0, 0.12, 0.15}, {4.2, 0.06, 0.06}};
    const std::vector<Partial> ring
        = {{1.0, 1.0, 0.8}, {2.0, 0.3, 0.4}, {3.0, 0.1, 0.22}, {4.2, 0.05, 0.08}};
    struct Note
    {
        double when, key, level;
    };
    // C major: G4 C5 E5 G5, then E5 G5, then the chord C5 E5 G5 C6 over C4.
    for (const Note n : {Note {0.00, 67, 0.8}, Note {0.13, 72, 0.8}, Note {0.26, 76, 0.85},
             Note {0.39, 79, 0.9}, Note {0.62, 76, 0.7}, Note {0.75, 79, 0.8}}) {
        Strike(out, rate, n.when, MidiHz(n.key), n.level, bell);
    }
    for (const Note n : {Note {1.00, 60, 0.45}, Note {1.00, 72, 0.6}, Note {1.01, 76, 0.55},
             Note {1.02, 79, 0.55}, Note {1.03, 84, 0.7}}) {
        Strike(out, rate, n.when, MidiHz(n.key), n.level, ring);
    }
    return out;
}

// Teleport: a shimmering sweep, a cluster of rising tones that trill
// against each other, sprinkled with tiny high bells.
std::vector<double> Teleport(int rate, int samples)
{
    std::vector<double> out(std::size_t(samples), 0.0);
    const double ratios[] = {1.0, 1.003, 1.5, 2.0, 2.005, 3.0};
    const double trills[] = {17, 23, 19, 29, 31, 37};
    double phases[6] = {};
    const double length = double(samples) / rate;
    for (int i = 0; i < samples; ++i) {
        const double t = double(i) / rate;
        const double hz = 420 * std::pow(3.0, t / length);
        double v = 0;
        for (int k = 0; k < 6; ++k) {
            phases[k] += TwoPi * hz * ratios[k] / rate;
            const double trill = 0.55 + 0.45 * std::sin(TwoPi * trills[k] * t + k);
            v += trill * std::sin(phases[k]) / (1 + 0.4 * k);
        }
        out[std::size_t(i)] = 0.5 * v * Rise(t, 0.12);
    }
    Noise noise(5);
    const std::vector<Partial> sparkle = {{1.0, 1.0, 0.04}, {2.0, 0.2, 0.02}};
    const int pentatonic[] = {84, 86, 88, 91, 93, 96, 98, 100};
    for (int k = 0; k < 14; ++k) {
        const double when = 0.02 + k * 0.036 + 0.012 * noise.Next();
        const int key = pentatonic[int(noise.Next() * 8)];
        Strike(out, rate, when, MidiHz(key), 0.35, sparkle, 0.004);
    }
    return out;
}

const Sound Sounds[] = {
    {"step", 22050, 8, 5960, 0.5, 0.03, Step},
    {"jump", 22050, 8, 12104, 0.6, 0.08, Jump},
    // The whistle holds its tone for nearly two seconds, so it sounds much
    // louder than a tap or a bell of the same peak: its peak is lower, which
    // brings its RMS level in line with the jump, the bells and the sweep.
    {"fall", 22050, 8, 44872, 0.29, 0.2, Fall},
    {"solved", 22050, 8, 69744, 0.7, 0.8, Solved},
    {"teleport", 44100, 16, 27520, 0.6, 0.18, Teleport},
};

// Scales to the sound's peak and lays a last short fade over the end, so the
// final sample is silence whatever the sound does there.
std::vector<double> Finish(const Sound &sound, std::vector<double> wave)
{
    double loudest = 0;
    for (double v : wave) {
        loudest = std::max(loudest, std::abs(v));
    }
    for (std::size_t i = 0; i < wave.size(); ++i) {
        const double fromEnd = double(wave.size() - 1 - i) / sound.rate;
        wave[i] *= sound.peak / loudest * Rise(fromEnd, sound.fade);
    }
    return wave;
}

void Put(std::string &bytes, std::uint32_t value, int n)
{
    for (int i = 0; i < n; ++i) {
        bytes.push_back(char((value >> (8 * i)) & 0xFF));
    }
}

// A RIFF WAVE file with one "fmt " and one "data" chunk, PCM mono.
std::string WaveFile(const Sound &sound, const std::vector<double> &wave)
{
    const int bytesPerSample = sound.bits / 8;
    const auto dataBytes = std::uint32_t(wave.size()) * std::uint32_t(bytesPerSample);
    std::string bytes = "RIFF";
    Put(bytes, 36 + dataBytes, 4);
    bytes += "WAVEfmt ";
    Put(bytes, 16, 4);
    Put(bytes, 1, 2); // PCM
    Put(bytes, 1, 2); // mono
    Put(bytes, std::uint32_t(sound.rate), 4);
    Put(bytes, std::uint32_t(sound.rate * bytesPerSample), 4);
    Put(bytes, std::uint32_t(bytesPerSample), 2);
    Put(bytes, std::uint32_t(sound.bits), 2);
    bytes += "data";
    Put(bytes, dataBytes, 4);
    for (double v : wave) {
        if (sound.bits == 8) {
            Put(bytes, std::uint32_t(std::clamp(std::lround(128 + 127 * v), 1L, 255L)), 1);
        } else {
            const long s = std::clamp(std::lround(32767 * v), -32767L, 32767L);
            Put(bytes, std::uint32_t(s) & 0xFFFF, 2);
        }
    }
    return bytes;
}

std::string Source(const std::vector<std::string> &files)
{
    std::ostringstream out;
    out << "// Written by tumblewick_soundgen at build time.\n"
        << "#include \"WaveImages.h\"\n\nnamespace {\n";
    for (std::size_t k = 0; k < files.size(); ++k) {
        out << "\nconst std::uint8_t Wave" << k << "[" << files[k].size() << "] = {";
        for (std::size_t i = 0; i < files[k].size(); ++i) {
            out << (i % 24 == 0 ? "\n    " : " ") << unsigned((unsigned char)files[k][i]) << ",";
        }
        out << "\n};\n";
    }
    out << "\n} // namespace\n\nconst std::array<WaveImage, 5> WaveImages = {\n";
    for (std::size_t k = 0; k < files.size(); ++k) {
        out << "    WaveImage(Wave" << k << "),\n";
    }
    out << "};\n";
    return out.str();
}

bool WriteFile(const std::string &path, const std::string &bytes)
{
    std::ofstream file(path, std::ios::binary);
    file << bytes;
    file.close();
    if (!file) {
        std::cerr << "tumblewick_soundgen: cannot write " << path << "\n";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::cerr << "usage: tumblewick_soundgen WAVE_FOLDER SOURCE_FILE\n";
        return 2;
    }
    std::vector<std::string> files;
    for (const Sound &sound : Sounds) {
        files.push_back(WaveFile(sound, Finish(sound, sound.make(sound.rate, sound.samples))));
        if (!WriteFile(std::string(argv[1]) + "/" + sound.name + ".wav", files.back())) {
            return 1;
        }
    }
    return WriteFile(argv[2], Source(files)) ? 0 : 1;
}
