// Writes a folder of short demo recordings (tones, chirps, noise bursts;
// 1 s, 48 kHz, 16-bit mono) so that Corvane has something to show on a first run.
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
    auto write = [&](const std::string& name, const std::vector<std::int16_t>& samples) {
        const std::filesystem::path path = folder / name;
        if (std::filesystem::exists(path)) return;
        if (!corvane::WriteMono16Wave(path.string(), SampleRate, samples)) {
            std::fprintf(stderr, "Cannot write %s\n", path.c_str());
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
    std::printf("%d demo recordings written to %s\n", written, folder.c_str());
    return 0;
}
