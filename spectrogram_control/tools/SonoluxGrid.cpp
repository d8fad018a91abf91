// sonolux-grid: shows what a spectrogram cell computes for a wave file.
#include <QSize>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/SpectrogramImage.h"
#include "engine/WaveAnalysis.h"
#include "engine/WaveLoader.h"
#include "tools/GridOptions.h"

namespace {

constexpr int ExitRefused = 3;
constexpr int ExitUsage = 2;

void PrintSamples(const std::vector<std::int16_t>& samples) {
    for (std::int16_t sample : samples) std::printf("%d\n", sample);
}

// What the control tells its host about the load; all zeros and the reason for a
// refused file.
void PrintInfo(bool loaded, const sonolux::WaveFileInfo& info,
               const sonolux::LoadRefusal& refusal) {
    std::printf("loaded=%d\nrate=%u\nchannels=%u\nbits=%u\nframes=%u\nloaded_frames=%u\nerror=%s\n",
                loaded ? 1 : 0, static_cast<unsigned>(info.sampleRate),
                static_cast<unsigned>(info.channels), static_cast<unsigned>(info.bitsPerSample),
                static_cast<unsigned>(info.totalFrames), static_cast<unsigned>(info.loadedFrames),
                sonolux::LoadRefusalText(refusal).c_str());
}

// The analysis on one line; a file it cannot analyse gives its status and nothing else.
void PrintAnalysis(const sonolux::WaveAnalysis& analysis) {
    std::string line = "status=" + std::string(sonolux::AnalysisStatusText(analysis.status));
    if (analysis.status == sonolux::AnalysisStatus::Analysed) {
        char number[32];
        std::snprintf(number, sizeof number, "%.2f", analysis.activityDb);
        line += std::string(" activity_db=") + number;
        for (int f = 0; f < sonolux::AnalysisFeatureCount; ++f) {
            std::snprintf(number, sizeof number, " f%d=%.4f", f, analysis.features[f]);
            line += number;
        }
    }
    std::printf("%s\n", line.c_str());
}

// The grid as the picture looks: the first row is the highest frequency bin.
void PrintGrid(const sonolux::SpectrogramImage& image) {
    const sonolux::SpectrogramGeometry& grid = image.BuiltGeometry();
    std::printf("P2\n%d %d\n255\n", grid.frameCount, grid.binCount);
    const QImage& pixels = image.Image();
    for (int row = 0; row < grid.binCount; ++row) {
        const uchar* line = pixels.constScanLine(row);
        std::string text;
        for (int column = 0; column < grid.frameCount; ++column) {
            if (column > 0) text += ' ';
            text += std::to_string(line[column]);
        }
        std::printf("%s\n", text.c_str());
    }
}

// The samples, or the grid the control computes from them; returns the exit status.
int PrintLoaded(const sonolux::GridOptions& options, const std::vector<std::int16_t>& samples) {
    if (options.printSamples) {
        PrintSamples(samples);
    } else {
        sonolux::SpectrogramImage image;
        image.Build(samples, options.parameters, QSize(options.widthPx, options.heightPx),
                    options.picture);
        if (image.IsNull()) {
            std::fputs("sonolux-grid: not enough memory for the grid\n", stderr);
            return 1;
        }
        PrintGrid(image);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

bool IsOption(const char* argument, const char* shortName, const char* longName) {
    return std::strcmp(argument, shortName) == 0 || std::strcmp(argument, longName) == 0;
}

// --help and --version are answered whatever else the command line holds.
// Returns the text to print, or nothing when neither was asked for.
std::string AnswerToQuestion(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) break;
        if (IsOption(argv[i], "-h", "--help")) return sonolux::GridUsage();
        if (IsOption(argv[i], "-v", "--version")) return "sonolux-grid " SONOLUX_VERSION "\n";
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    const std::string answer = AnswerToQuestion(argc, argv);
    if (!answer.empty()) {
        std::fputs(answer.c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    sonolux::GridOptions options;
    const std::string error = sonolux::ParseGridOptions(argc, argv, options);
    if (!error.empty()) {
        std::fprintf(stderr, "sonolux-grid: %s\n%s", error.c_str(), sonolux::GridUsage().c_str());
        return ExitUsage;
    }
    if (options.printAnalysis) {
        const sonolux::WaveAnalysis analysis = sonolux::AnalyseWaveFile(options.file);
        PrintAnalysis(analysis);
        if (std::fflush(stdout) != 0) return 1;
        return analysis.status == sonolux::AnalysisStatus::Analysed ? 0 : ExitRefused;
    }
    std::vector<std::int16_t> samples;
    sonolux::WaveFileInfo info;
    sonolux::LoadRefusal refusal;
    const bool refused = sonolux::LoadWaveFile(options.file, samples, options.load, &info,
                                               &refusal) == sonolux::LoadResult::Refused;
    if (options.printInfo) {
        PrintInfo(!refused && !options.file.empty(), info, refusal);
        if (std::fflush(stdout) != 0) return 1;
        return refused ? ExitRefused : 0;
    }
    if (refused) {
        std::puts("REFUSED");
        return ExitRefused;
    }
    return PrintLoaded(options, samples);
}
