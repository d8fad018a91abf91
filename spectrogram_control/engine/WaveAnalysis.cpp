#include "engine/WaveAnalysis.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "engine/Fft.h"
#include "engine/WaveLoader.h"

namespace sonolux {

namespace {

constexpr double Pi = 3.14159265358979323846;
// Power added before taking a level, so digital silence has a level (-30 dB) too.
constexpr double PowerFloor = 1e-3;
// A frame is active when its loudest band stands this far above the background at
// least, and at least half the activity.
constexpr double ActiveFloorDb = 3.0;
// How high steady noise alone reaches over its background, at its loudest, in a band
// of one bin over 375 frames (a second at 48 kHz); measured on white noise.
constexpr double SingleBinSwingDb = 9.5;
// The same for the average over all bands.
constexpr double BroadbandSwingDb = 4.0;

// About 4 to 6 ms: short enough that a click or a bat's pulse fills much of a frame,
// as it does in a cell's picture; every rate gets bins of 170 to 250 Hz.
std::size_t FrameLengthFor(std::uint32_t sampleRate) {
    std::size_t length = 64;
    while (length * 2 <= sampleRate * 0.0067) length *= 2;
    return length;
}

// The FFT bins [first, last) that make one band at this rate; empty above Nyquist.
constexpr std::size_t FirstUsableBin = 2;

struct BandBins {
    std::size_t first = 0;
    std::size_t last = 0;
    double centreOctave = 0.0;  // log2 of the band's centre in Hz
};

std::vector<BandBins> BandsFor(std::uint32_t sampleRate, std::size_t frameLength) {
    const double binHz = static_cast<double>(sampleRate) / frameLength;
    const std::size_t binCount = frameLength / 2;  // bins below Nyquist
    const double ratio = std::pow(AnalysisHighestHz / AnalysisLowestHz, 1.0 / AnalysisBandCount);
    std::vector<BandBins> bands(AnalysisBandCount);
    for (int b = 0; b < AnalysisBandCount; ++b) {
        const double low = AnalysisLowestHz * std::pow(ratio, b);
        const double high = low * ratio;
        bands[b].centreOctave = std::log2(std::sqrt(low * high));
        if (low >= sampleRate / 2.0) continue;
        auto first = static_cast<std::size_t>(std::ceil(low / binHz));
        auto last = std::min(binCount, static_cast<std::size_t>(std::ceil(high / binHz)));
        if (first >= last) {  // narrower than a bin: the bin holding its centre
            first = std::min(binCount - 1,
                             static_cast<std::size_t>(std::lround(std::sqrt(low * high) / binHz)));
            last = first + 1;
        }
        // Bins 0 and 1 lie within the window's main lobe around 0 Hz, where the
        // rumble of wind and handling leaks in; a band never starts below bin 2.
        first = std::max<std::size_t>(first, FirstUsableBin);
        last = std::max(last, first + 1);
        bands[b].first = first;
        bands[b].last = last;
    }
    return bands;
}

// Noise alone swings less in a band of many bins (an average of more values) and
// more in a longer recording (more frames to reach a high value in): about as
// n^-0.4 and as the square root of log T. Taken off each band's loudest level, so
// a recording of noise alone has an activity near 0 dB at any rate and length.
double NoiseAllowance(const BandBins& band, std::size_t frameCount) {
    const double bins = static_cast<double>(band.last - band.first);
    const double frames = static_cast<double>(std::max<std::size_t>(frameCount, 3));
    return SingleBinSwingDb * std::pow(bins, -0.4) * std::sqrt(std::log(frames) / std::log(375.0));
}

// Where the 95th percentile of steady noise lies over its 20th, in a band of n bins:
// for one bin (power exponentially distributed) 11 dB, shrinking about as n^-0.45.
double StrengthAllowance(const BandBins& band) {
    return 11.0 * std::pow(static_cast<double>(band.last - band.first), -0.45);
}

double BroadbandAllowance(std::size_t frameCount) {
    const double frames = static_cast<double>(std::max<std::size_t>(frameCount, 3));
    return BroadbandSwingDb * std::sqrt(std::log(frames) / std::log(375.0));
}

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) return 0.0;
    const auto index = static_cast<std::size_t>(share * (values.size() - 1) + 0.5);
    std::nth_element(values.begin(), values.begin() + index, values.end());
    return values[index];
}

// Band power per frame, band-major: power[b][t], the mean power of the band's bins.
std::vector<std::vector<double>> BandPowers(const std::vector<std::int16_t>& samples,
                                            std::size_t frameLength,
                                            const std::vector<BandBins>& bands) {
    const std::size_t hop = frameLength / 2;
    const std::size_t frameCount =
        samples.size() <= frameLength ? 1 : (samples.size() - frameLength) / hop + 1;
    std::vector<std::vector<double>> power(bands.size(), std::vector<double>(frameCount, 0.0));
    std::vector<double> window(frameLength);
    for (std::size_t j = 0; j < frameLength; ++j)
        window[j] = 0.5 - 0.5 * std::cos(2.0 * Pi * j / frameLength);
    const RealFftPlan plan(frameLength / 2);
    std::vector<double> buffer(frameLength);
    for (std::size_t t = 0; t < frameCount; ++t) {
        const std::size_t start = t * hop;
        for (std::size_t j = 0; j < frameLength; ++j) {
            const std::size_t i = start + j;
            buffer[j] = i < samples.size() ? samples[i] * window[j] : 0.0;
        }
        plan.Forward(buffer.data());
        for (std::size_t b = 0; b < bands.size(); ++b) {
            if (bands[b].first == bands[b].last) continue;
            double sum = 0.0;
            for (std::size_t k = bands[b].first; k < bands[b].last; ++k) {
                sum += k == 0
                           ? buffer[0] * buffer[0]
                           : buffer[2 * k] * buffer[2 * k] + buffer[2 * k + 1] * buffer[2 * k + 1];
            }
            power[b][t] = sum / static_cast<double>(bands[b].last - bands[b].first);
        }
    }
    return power;
}

double Level(double power) {
    return 10.0 * std::log10(power + PowerFloor);
}

// Levels over the band's background, as they are and averaged in power over three
// frames. The background is the 20th percentile rather than the median, so a call
// that fills more than half the recording still stands out.
constexpr double BackgroundShare = 0.2;

struct RelativeLevels {
    std::vector<double> raw;
    std::vector<double> smoothed;
};

RelativeLevels Relative(const std::vector<double>& power) {
    const std::size_t n = power.size();
    RelativeLevels levels{std::vector<double>(n), std::vector<double>(n)};
    for (std::size_t t = 0; t < n; ++t) {
        levels.raw[t] = Level(power[t]);
        const std::size_t from = t == 0 ? 0 : t - 1;
        const std::size_t to = std::min(n - 1, t + 1);
        double sum = 0.0;
        for (std::size_t u = from; u <= to; ++u) sum += power[u];
        levels.smoothed[t] = Level(sum / static_cast<double>(to - from + 1));
    }
    const double background = Percentile(levels.raw, BackgroundShare);
    const double smoothedBackground = Percentile(levels.smoothed, BackgroundShare);
    for (std::size_t t = 0; t < n; ++t) {
        levels.raw[t] -= background;
        levels.smoothed[t] -= smoothedBackground;
    }
    return levels;
}

// The shape measures over the frames that are active.
struct Shape {
    double activeShare = 0.0;
    double longestSeconds = 0.0;
    double eventsPerSecond = 0.0;
    double sweepOctavesPerSecond = 0.0;
    double bandwidthOctaves = 0.0;
    double modulationDb = 0.0;
};

Shape ShapeOf(const std::vector<RelativeLevels>& levels, const std::vector<double>& broadband,
              const std::vector<BandBins>& bands, double activityDb, double hopSeconds) {
    Shape shape;
    const std::size_t frameCount = levels.front().raw.size();
    const double threshold = std::max(ActiveFloorDb, activityDb / 2.0);
    std::vector<double> loudest(frameCount, 0.0);
    std::vector<double> centroid(frameCount, 0.0);
    std::vector<bool> active(frameCount, false);
    double bandwidthSum = 0.0;
    std::size_t activeCount = 0;
    for (std::size_t t = 0; t < frameCount; ++t) {
        double best = 0.0;
        double smoothedBest = broadband[t];
        double weight = 0.0, first = 0.0, second = 0.0;
        for (std::size_t b = 0; b < bands.size(); ++b) {
            if (bands[b].first == bands[b].last) continue;
            best = std::max(best, levels[b].raw[t]);
            smoothedBest = std::max(smoothedBest, levels[b].smoothed[t]);
            const double excess = std::max(0.0, std::pow(10.0, levels[b].raw[t] / 10.0) - 1.0);
            weight += excess;
            first += excess * bands[b].centreOctave;
            second += excess * bands[b].centreOctave * bands[b].centreOctave;
        }
        loudest[t] = best;
        active[t] = smoothedBest >= threshold && weight > 0.0;
        if (!active[t]) continue;
        ++activeCount;
        centroid[t] = first / weight;
        bandwidthSum += std::sqrt(std::max(0.0, second / weight - centroid[t] * centroid[t]));
    }
    if (activeCount == 0) return shape;
    shape.activeShare = static_cast<double>(activeCount) / frameCount;
    shape.bandwidthOctaves = bandwidthSum / activeCount;

    // Runs of active frames are events; the sweep is the slope within runs, pooled.
    std::size_t events = 0, longest = 0, firstActive = frameCount, lastActive = 0;
    double covariance = 0.0, variance = 0.0, modulation = 0.0;
    std::size_t steps = 0;
    for (std::size_t t = 0; t < frameCount;) {
        if (!active[t]) {
            ++t;
            continue;
        }
        std::size_t end = t;
        while (end < frameCount && active[end]) ++end;
        ++events;
        longest = std::max(longest, end - t);
        firstActive = std::min(firstActive, t);
        lastActive = end - 1;
        const double meanTime = (t + end - 1) / 2.0;
        double meanCentroid = 0.0;
        for (std::size_t u = t; u < end; ++u) meanCentroid += centroid[u];
        meanCentroid /= static_cast<double>(end - t);
        for (std::size_t u = t; u < end; ++u) {
            covariance += (u - meanTime) * (centroid[u] - meanCentroid);
            variance += (u - meanTime) * (u - meanTime);
            if (u > t) {
                modulation += std::abs(loudest[u] - loudest[u - 1]);
                ++steps;
            }
        }
        t = end;
    }
    shape.longestSeconds = longest * hopSeconds;
    shape.eventsPerSecond = events / ((lastActive - firstActive + 1) * hopSeconds);
    if (variance > 0.0) shape.sweepOctavesPerSecond = covariance / variance / hopSeconds;
    if (steps > 0) shape.modulationDb = modulation / steps;
    return shape;
}

WaveAnalysis Analyse(const std::vector<std::int16_t>& samples, std::uint32_t sampleRate) {
    WaveAnalysis analysis;
    analysis.sampleRate = sampleRate;
    analysis.analysedFrames = static_cast<std::uint32_t>(samples.size());
    const std::size_t frameLength = FrameLengthFor(sampleRate);
    const double hopSeconds = static_cast<double>(frameLength / 2) / sampleRate;
    const std::vector<BandBins> bands = BandsFor(sampleRate, frameLength);
    const std::vector<std::vector<double>> power = BandPowers(samples, frameLength, bands);

    std::vector<RelativeLevels> levels;
    levels.reserve(bands.size());
    double activity = 0.0;
    double strongest = 0.0;
    std::array<double, AnalysisBandCount> strength{};
    for (std::size_t b = 0; b < bands.size(); ++b) {
        levels.push_back(Relative(power[b]));
        if (bands[b].first == bands[b].last) continue;
        const double loudest =
            *std::max_element(levels[b].smoothed.begin(), levels[b].smoothed.end());
        activity = std::max(activity, loudest - NoiseAllowance(bands[b], power[b].size()));
        strength[b] = std::max(0.0, Percentile(levels[b].raw, 0.95) - StrengthAllowance(bands[b]));
        strongest = std::max(strongest, strength[b]);
    }
    // A click or a noisy call rises in many bands at once, each too little to count
    // alone: the bands' powers over their backgrounds, averaged, catch it.
    std::vector<double> across(power.front().size(), 0.0);
    std::size_t present = 0;
    for (std::size_t b = 0; b < bands.size(); ++b) {
        if (bands[b].first == bands[b].last) continue;
        ++present;
        for (std::size_t t = 0; t < across.size(); ++t)
            across[t] += std::pow(10.0, levels[b].raw[t] / 10.0);
    }
    for (double& value : across) value /= static_cast<double>(present);
    const RelativeLevels broadband = Relative(across);
    activity =
        std::max(activity, *std::max_element(broadband.smoothed.begin(), broadband.smoothed.end()) -
                               BroadbandAllowance(across.size()));
    analysis.activityDb = static_cast<float>(activity);
    // Below 1 dB a recording has no shape to speak of; its bands stay near 0.
    const double scale = std::max(strongest, 1.0);
    for (int b = 0; b < AnalysisBandCount; ++b)
        analysis.features[b] = static_cast<float>(strength[b] / scale);

    const Shape shape = ShapeOf(levels, broadband.smoothed, bands, activity, hopSeconds);
    float* rest = analysis.features.data() + AnalysisBandCount;
    rest[0] = static_cast<float>(shape.activeShare);
    rest[1] = static_cast<float>(std::log10(shape.longestSeconds + 0.01));
    rest[2] = static_cast<float>(std::log10(shape.eventsPerSecond + 0.1));
    rest[3] = static_cast<float>(
        std::asinh(std::clamp(shape.sweepOctavesPerSecond, -400.0, 400.0) / 4.0));
    rest[4] = static_cast<float>(shape.bandwidthOctaves);
    rest[5] = static_cast<float>(shape.modulationDb / 10.0);
    analysis.status = AnalysisStatus::Analysed;
    return analysis;
}

}  // namespace

WaveAnalysis AnalyseSamples(const std::vector<std::int16_t>& samples, std::uint32_t sampleRate) {
    if (sampleRate < 1000 || sampleRate > 768000) {
        WaveAnalysis refused;
        refused.status = AnalysisStatus::UnsupportedRate;
        refused.sampleRate = sampleRate;
        return refused;
    }
    try {
        return Analyse(samples, sampleRate);
    } catch (const std::bad_alloc&) {
        WaveAnalysis refused;
        refused.status = AnalysisStatus::OutOfMemory;
        return refused;
    }
}

WaveAnalysis AnalyseWaveFile(const std::string& path) {
    WaveAnalysis refused;
    if (path.empty()) {
        refused.status = AnalysisStatus::NoPath;
        return refused;
    }
    LoadOptions options;
    options.frameLimit = LargestFrameLimit;
    options.floatSamples = true;
    std::vector<std::int16_t> samples;
    WaveFileInfo info;
    if (LoadWaveFile(path, samples, options, &info) != LoadResult::Replaced || samples.empty())
        return refused;
    return AnalyseSamples(samples, info.sampleRate);
}

const char* AnalysisStatusText(AnalysisStatus status) {
    switch (status) {
        case AnalysisStatus::Analysed:
            return "analysed";
        case AnalysisStatus::NotRead:
            return "not a readable wave file";
        case AnalysisStatus::NoPath:
            return "no file named";
        case AnalysisStatus::OutOfMemory:
            return "not enough memory";
        case AnalysisStatus::UnsupportedRate:
            return "sample rate out of range";
    }
    return "unknown";
}

}  // namespace sonolux
