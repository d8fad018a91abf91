// Writes a folder of short demo recordings (tones, chirps, noise bursts;
// 1 s, 48 kHz, 16-bit mono) so that Corvane has something to show on a first run,
// and three field recordings over a faint hiss, each one with what a cell misses
// without Field View: a call that starts at 3 s of 8 s, clicks of 2 to 5 ms
// between the frames a narrow cell reads, and a distant call only 20 dB louder
// than the hiss.
//   corvane-demo-recordings FOLDER
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "demo/WaveWriter.h"

namespace {

constexpr std::uint32_t SampleRate = 48000;
constexpr double Pi = 3.14159265358979323846;

std::vector<std::int16_t> Tone(double hz, double amplitude) {
    std::vector<std::int16_t> samples(SampleRate);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        samples[i] = static_cast<std::int16_t>(amplitude * std::sin(2 * Pi * hz * t));
    }
    return samples;
}

std::vector<std::int16_t> Chirp(double fromHz, double toHz, double amplitude) {
    std::vector<std::int16_t> samples(SampleRate);
    double phase = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        phase += 2 * Pi * (fromHz + (toHz - fromHz) * t) / SampleRate;
        samples[i] = static_cast<std::int16_t>(amplitude * std::sin(phase));
    }
    return samples;
}

std::vector<std::int16_t> NoiseBursts(unsigned seed, int bursts) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 4000.0);
    std::vector<std::int16_t> samples(SampleRate, 0);
    const std::size_t burstLength = SampleRate / (2 * static_cast<std::size_t>(bursts));
    for (int b = 0; b < bursts; ++b) {
        const std::size_t start = static_cast<std::size_t>(b) * 2 * burstLength;
        for (std::size_t i = start; i < start + burstLength && i < samples.size(); ++i) {
            samples[i] = static_cast<std::int16_t>(std::clamp(noise(random), -32767.0, 32767.0));
        }
    }
    return samples;
}

// What the field recordings are drawn over: the hiss of a quiet night, some
// 84 dB below full scale.
constexpr double HissRms = 2.0;

std::vector<double> Hiss(double seconds, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, HissRms);
    std::vector<double> samples(static_cast<std::size_t>(seconds * SampleRate));
    for (double& sample : samples) sample = noise(random);
    return samples;
}

// Adds a call of `syllables` falling whistles, each `fromHz` to `toHz` in
// `syllableSeconds` and as long again apart, from `startSeconds` on;
// `amplitude` is each whistle's peak. A raised-cosine envelope keeps the
// syllables free of clicks.
void AddCall(std::vector<double>& samples, double startSeconds, int syllables,
             double syllableSeconds, double fromHz, double toHz, double amplitude) {
    const auto syllableLength = static_cast<std::size_t>(syllableSeconds * SampleRate);
    const auto start = static_cast<std::size_t>(startSeconds * SampleRate);
    for (int s = 0; s < syllables; ++s) {
        const std::size_t first = start + static_cast<std::size_t>(s) * 2 * syllableLength;
        double phase = 0;
        for (std::size_t i = 0; i < syllableLength && first + i < samples.size(); ++i) {
            const double progress = static_cast<double>(i) / static_cast<double>(syllableLength);
            phase += 2 * Pi * (fromHz + (toHz - fromHz) * progress) / SampleRate;
            const double envelope = 0.5 - 0.5 * std::cos(2 * Pi * progress);
            samples[first + i] += amplitude * envelope * std::sin(phase);
        }
    }
}

// Adds `count` loud broadband clicks of 2 to 5 ms at random places.
void AddClicks(std::vector<double>& samples, int count, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 6000.0);
    std::uniform_int_distribution<std::size_t> length(SampleRate * 2 / 1000, SampleRate * 5 / 1000);
    std::uniform_int_distribution<std::size_t> place(0, samples.size() - SampleRate * 5 / 1000);
    for (int c = 0; c < count; ++c) {
        const std::size_t first = place(random);
        const std::size_t clickLength = length(random);
        for (std::size_t i = 0; i < clickLength; ++i) samples[first + i] += noise(random);
    }
}

std::vector<std::int16_t> ToSamples(const std::vector<double>& values) {
    std::vector<std::int16_t> samples(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        samples[i] =
            static_cast<std::int16_t>(std::lround(std::clamp(values[i], -32767.0, 32767.0)));
    }
    return samples;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "Cannot create %s: %s\n", folder.c_str(), error.message().c_str());
        return 1;
    }
    int written = 0;
    int kept = 0;
    int failed = 0;
    // A recording is written under a name no batch lists and then renamed, so
    // that a run stopped half-way never leaves a cut-short recording that the
    // next run would keep.
    auto write = [&](const std::string& name, const std::vector<std::int16_t>& samples) {
        const std::filesystem::path path = folder / name;
        if (std::filesystem::exists(path)) {
            ++kept;
            return;
        }
        std::filesystem::path part = path;
        part += ".part";
        std::error_code renameError;
        if (!corvane::WriteMono16Wave(part.string(), SampleRate, samples) ||
            (std::filesystem::rename(part, path, renameError), renameError)) {
            std::fprintf(stderr, "Cannot write %s\n", path.c_str());
            std::filesystem::remove(part, renameError);
            ++failed;
            return;
        }
        ++written;
    };
    char name[64];
    for (int i = 0; i < 14; ++i) {
        std::snprintf(name, sizeof name, "tone_%02d_%dHz.wav", i + 1, 300 + 700 * i);
        write(name, Tone(300 + 700 * i, 6000 + 1500 * (i % 4)));
    }
    for (int i = 0; i < 14; ++i) {
        const double from = 500 + 600 * i;
        std::snprintf(name, sizeof name, "chirp_%02d.wav", i + 1);
        write(name, Chirp(from, i % 2 ? from / 3 : from * 2.5, 8000));
    }
    for (int i = 0; i < 12; ++i) {
        std::snprintf(name, sizeof name, "noise_%02d.wav", i + 1);
        write(name, NoiseBursts(static_cast<unsigned>(i + 1), 1 + i % 4));
    }
    // Named to come between the chirps and the noise bursts, so that the first
    // batch holds them.
    std::vector<double> lateCall = Hiss(8.0, 101);
    AddCall(lateCall, 3.0, 4, 0.25, 5000, 2500, 1000);
    write("field_01_late_call.wav", ToSamples(lateCall));
    std::vector<double> clicks = Hiss(1.0, 102);
    // Seeded so that a cell of the first run's grid, in the window's first size,
    // reads parts of only two of the clicks.
    AddClicks(clicks, 12, 103);
    write("field_02_clicks.wav", ToSamples(clicks));
    std::vector<double> faintCall = Hiss(1.0, 103);
    // A peak 20 dB (ten times) over the hiss's RMS.
    AddCall(faintCall, 0.15, 3, 0.125, 6000, 4000, 10 * HissRms);
    write("field_03_faint_call.wav", ToSamples(faintCall));
    std::printf("%d demo recordings in %s (%d written now, %d already there)\n", written + kept,
                folder.c_str(), written, kept);
    return failed == 0 ? 0 : 1;
}
