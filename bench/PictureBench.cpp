// The picture options at the sizes they are used at: a Field View cell showing a
// whole 10 s recording, against the described picture of the same recording
// loaded whole, and a loupe over 4,194,304 frames of a 60 s recording at 96 kHz.
// SpectrogramBench's main prints the targets after the runs.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "demo/WaveWriter.h"
#include "engine/SpectrogramImage.h"
#include "engine/WaveLoader.h"

namespace {

// Noise with calls: a rising whistle of 80 ms every 0.7 s and clicks of 1 ms
// between them, so the picture has a background, loud parts and short ones.
std::vector<std::int16_t> FieldRecording(std::size_t count, double rate) {
    std::vector<std::int16_t> samples(count);
    std::uint32_t state = 12345;
    double phase = 0.0;
    for (std::size_t j = 0; j < count; ++j) {
        state = state * 1664525u + 1013904223u;
        const double noise = (static_cast<double>(state >> 16) / 65536.0 - 0.5) * 400.0;
        const double t = std::fmod(static_cast<double>(j) / rate, 0.7);
        double value = noise;
        if (t < 0.08) {
            phase += 2.0 * M_PI * (3000.0 + 20000.0 * t) / rate;
            value += 8000.0 * std::sin(phase);
        } else if (t > 0.35 && t < 0.351) {
            value += 6000.0 * std::sin(2.0 * M_PI * 9000.0 * t);
        }
        samples[j] = static_cast<std::int16_t>(std::lround(value));
    }
    return samples;
}

sonolux::SpectrogramParameters CellParameters() {
    return sonolux::SpectrogramParameters{};  // a new control's: the cells' first-run values
}

const QSize Cell(150, 100);
const QSize Loupe(1200, 500);
const sonolux::LoadOptions WholeRecording{sonolux::LargestFrameLimit, false};

// One cell's work for a 10 s, 48 kHz file loaded whole: the load, the picture and
// its paint into the cell.
void FieldViewCell(benchmark::State& state, const sonolux::PictureOptions& options) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("ten.wav").toStdString();
    if (!corvane::WriteMono16Wave(path, 48000, FieldRecording(480000, 48000.0))) {
        state.SkipWithError("cannot write the file");
        return;
    }
    std::vector<std::int16_t> samples;
    sonolux::SpectrogramImage image;
    QImage cell(Cell, QImage::Format_RGB32);
    const QRect bounds(QPoint(0, 0), Cell);
    for (auto _ : state) {
        if (sonolux::LoadWaveFile(path, samples, WholeRecording) != sonolux::LoadResult::Replaced) {
            state.SkipWithError("the file was refused");
            return;
        }
        image.Build(samples, CellParameters(), Cell, options);
        QPainter painter(&cell);
        painter.fillRect(bounds, Qt::white);
        image.Paint(painter, bounds);
        benchmark::DoNotOptimize(cell.constBits());
    }
}

void BM_FieldViewCellDescribed(benchmark::State& state) {
    FieldViewCell(state, sonolux::PictureOptions{});
}
void BM_FieldViewCell(benchmark::State& state) {
    FieldViewCell(state, sonolux::PictureOptions{true, true});
}

// A redraw of the loupe: the picture of 4,194,304 loaded frames (43.7 s of a 60 s
// recording at 96 kHz) and its paint.
void BM_LoupeRedraw(benchmark::State& state) {
    const std::vector<std::int16_t> samples = FieldRecording(sonolux::LargestFrameLimit, 96000.0);
    sonolux::SpectrogramImage image;
    QImage loupe(Loupe, QImage::Format_RGB32);
    const QRect bounds(QPoint(0, 0), Loupe);
    for (auto _ : state) {
        image.Build(samples, CellParameters(), Loupe, sonolux::PictureOptions{true, true});
        QPainter painter(&loupe);
        painter.fillRect(bounds, Qt::white);
        image.Paint(painter, bounds);
        benchmark::DoNotOptimize(loupe.constBits());
    }
}

BENCHMARK(BM_FieldViewCellDescribed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FieldViewCell)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoupeRedraw)->Unit(benchmark::kMillisecond);

}  // namespace
