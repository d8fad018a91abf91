// Spectrogram timings beside an FFTW reference. After the runs the ratios that
// matter are printed: Small and Heavy against their Fftw references, the batch
// of 25 cells against 25 small references, and the picture options of
// PictureBench.cpp against their targets.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench/FftwSpectrogram.h"
#include "demo/WaveWriter.h"
#include "engine/SpectrogramImage.h"
#include "engine/WaveLoader.h"

namespace {

// A second of something like a field recording: a gliding whistle over noise whose
// loudness swells and fades, so the levels cover the whole grey range.
std::vector<std::int16_t> Recording(unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 1.0);
    std::vector<std::int16_t> samples(48000);
    double phase = 0.0;
    for (std::size_t j = 0; j < samples.size(); ++j) {
        const double t = static_cast<double>(j) / 48000.0;
        phase += 2.0 * M_PI * (1500.0 + 2500.0 * t + 300.0 * (seed % 7)) / 48000.0;
        const double swell = 0.5 - 0.5 * std::cos(2.0 * M_PI * t * (1.0 + seed % 3));
        const double value = 12000.0 * swell * std::sin(phase) + 300.0 * noise(random);
        samples[j] = static_cast<std::int16_t>(std::clamp(value, -32768.0, 32767.0));
    }
    return samples;
}

sonolux::SpectrogramParameters FirstRunParameters() {
    sonolux::SpectrogramParameters p;
    p.fftSizeChoice = 2;
    p.frameLengthChoice = 1;
    p.hopSize = 64;
    p.windowFunctionChoice = 0;
    p.powerMin = 20.0f;
    p.powerMax = 120.0f;
    return p;
}

sonolux::SpectrogramParameters HeavyParameters() {
    sonolux::SpectrogramParameters p = FirstRunParameters();
    p.fftSizeChoice = 8;
    p.frameLengthChoice = 8;
    return p;
}

const QSize SmallCell(150, 100);
const QSize HeavyCell(1000, 700);

void Engine(benchmark::State& state, const sonolux::SpectrogramParameters& p, const QSize& size) {
    const std::vector<std::int16_t> samples = Recording(1);
    sonolux::SpectrogramImage image;
    for (auto _ : state) {
        image.Build(samples, p, size);
        benchmark::DoNotOptimize(image.Image().constBits());
    }
}

void Reference(benchmark::State& state, const sonolux::SpectrogramParameters& p,
               const QSize& size) {
    const std::vector<std::int16_t> samples = Recording(1);
    FftwSpectrogram reference(p, samples.size(), size);
    for (auto _ : state) {
        reference.Build(samples);
        benchmark::DoNotOptimize(reference.Image().constBits());
    }
}

void BM_SmallSpectrogram(benchmark::State& state) {
    Engine(state, FirstRunParameters(), SmallCell);
}
void BM_SmallSpectrogramFftw(benchmark::State& state) {
    Reference(state, FirstRunParameters(), SmallCell);
}
void BM_HeavySpectrogram(benchmark::State& state) {
    Engine(state, HeavyParameters(), HeavyCell);
}
void BM_HeavySpectrogramFftw(benchmark::State& state) {
    Reference(state, HeavyParameters(), HeavyCell);
}

// 25 one-second files read from disk, loaded, computed and painted into their cells.
void BM_Batch25(benchmark::State& state) {
    QTemporaryDir folder;
    std::vector<std::string> paths;
    for (unsigned i = 0; i < 25; ++i) {
        paths.push_back(folder.filePath(QString("cell%1.wav").arg(i)).toStdString());
        if (!corvane::WriteMono16Wave(paths.back(), 48000, Recording(i + 1))) {
            state.SkipWithError("cannot write the batch's files");
            return;
        }
    }
    const sonolux::SpectrogramParameters p = FirstRunParameters();
    std::vector<std::int16_t> samples;
    sonolux::SpectrogramImage image;
    QImage cell(SmallCell, QImage::Format_RGB32);
    const QRect bounds(QPoint(0, 0), SmallCell);
    for (auto _ : state) {
        for (const std::string& path : paths) {
            sonolux::LoadWaveFile(path, samples);
            image.Build(samples, p, SmallCell);
            QPainter painter(&cell);
            painter.fillRect(bounds, Qt::white);
            image.Paint(painter, bounds);
        }
        benchmark::DoNotOptimize(cell.constBits());
    }
}

// Ten seconds of recording as mono 16-bit (read straight into the samples) or as
// stereo 24-bit (converted a block at a time).
bool WriteTenSeconds(const std::string& path, bool stereo24) {
    std::vector<std::int16_t> ten;
    for (unsigned second = 0; second < 10; ++second) {
        const std::vector<std::int16_t> one = Recording(second + 1);
        ten.insert(ten.end(), one.begin(), one.end());
    }
    if (!stereo24) return corvane::WriteMono16Wave(path, 48000, ten);
    std::vector<std::uint8_t> frames;
    frames.reserve(ten.size() * 6);
    for (std::int16_t sample : ten) {
        const auto low = static_cast<std::uint8_t>(sample);
        const auto high = static_cast<std::uint8_t>(sample >> 8);
        frames.insert(frames.end(), {0x5A, low, high, 0x5A, high, low});
    }
    return corvane::WritePcmWave(path, 2, 48000, 24, frames);
}

// One 10 s file loaded as a cell's control loads it: the first second (first
// argument 0) or the whole recording (1); mono 16-bit (second argument 16) or
// stereo 24-bit (24).
void BM_LoadTenSeconds(benchmark::State& state) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("ten.wav").toStdString();
    if (!WriteTenSeconds(path, state.range(1) == 24)) {
        state.SkipWithError("cannot write the file");
        return;
    }
    const sonolux::LoadOptions options{
        state.range(0) != 0 ? sonolux::LargestFrameLimit : sonolux::DefaultFrameLimit, false};
    std::vector<std::int16_t> samples;
    for (auto _ : state) {
        if (sonolux::LoadWaveFile(path, samples, options) != sonolux::LoadResult::Replaced) {
            state.SkipWithError("the file was refused");
            return;
        }
        benchmark::DoNotOptimize(samples.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(samples.size()) * 2);
}

BENCHMARK(BM_SmallSpectrogram)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SmallSpectrogramFftw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HeavySpectrogram)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeavySpectrogramFftw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Batch25)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTenSeconds)->ArgsProduct({{0, 1}, {16, 24}})->Unit(benchmark::kMicrosecond);

// Forwards to the console and remembers each benchmark's mean real time per iteration.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                m_seconds[run.run_name.function_name] = run.real_accumulated_time / run.iterations;
            }
        }
    }
    void PrintRatio(const char* label, const char* name, const char* reference, double factor,
                    double target) const {
        const auto ours = m_seconds.find(name);
        const auto theirs = m_seconds.find(reference);
        if (ours == m_seconds.end() || theirs == m_seconds.end()) return;
        const double ratio = ours->second / (factor * theirs->second);
        std::printf("%-44s %6.3f  (target <= %.2f) %s\n", label, ratio, target,
                    ratio <= target ? "met" : "MISSED");
    }
    void PrintTime(const char* label, const char* name, double targetSeconds) const {
        const auto ours = m_seconds.find(name);
        if (ours == m_seconds.end()) return;
        std::printf("%-44s %6.1f ms (target < %.0f ms) %s\n", label, ours->second * 1e3,
                    targetSeconds * 1e3, ours->second < targetSeconds ? "met" : "MISSED");
    }

private:
    std::map<std::string, double> m_seconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios of this run:\n");
    reporter.PrintRatio("Small / SmallFftw", "BM_SmallSpectrogram", "BM_SmallSpectrogramFftw", 1.0,
                        0.75);
    reporter.PrintRatio("Heavy / HeavyFftw", "BM_HeavySpectrogram", "BM_HeavySpectrogramFftw", 1.0,
                        0.75);
    reporter.PrintRatio("Batch25 / (25 x SmallFftw)", "BM_Batch25", "BM_SmallSpectrogramFftw", 25.0,
                        1.5);
    reporter.PrintRatio("FieldViewCell / FieldViewCellDescribed", "BM_FieldViewCell",
                        "BM_FieldViewCellDescribed", 1.0, 3.0);
    reporter.PrintTime("LoupeRedraw", "BM_LoupeRedraw", 0.1);
    benchmark::Shutdown();
    return 0;
}
