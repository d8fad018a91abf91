#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sonolux {

// Raised whenever a change would make fingerprints of one version incomparable with
// those of another (kept ones must then be analysed again).
constexpr int AnalysisVersion = 1;
// Bands on a log-frequency scale from AnalysisLowestHz to AnalysisHighestHz (the
// Nyquist frequency of 96 kHz), the same in Hz at every sample rate.
constexpr int AnalysisBandCount = 24;
constexpr double AnalysisLowestHz = 150.0;
constexpr double AnalysisHighestHz = 48000.0;
// After the bands: active share, longest event, event rate, sweep, bandwidth,
// modulation (see WaveAnalysis::features).
constexpr int AnalysisShapeCount = 6;
constexpr int AnalysisFeatureCount = AnalysisBandCount + AnalysisShapeCount;

enum class AnalysisStatus : std::int32_t {
    Analysed = 0,
    NotRead = 1,          // the wave loader refused the file
    NoPath = 2,           // an empty path or none
    OutOfMemory = 3,      // the spectrum did not fit
    UnsupportedRate = 4,  // a sample rate below 1000 or above 768000 frames a second
};

// What one recording sounds like, in a form two recordings can be compared by.
struct WaveAnalysis {
    AnalysisStatus status = AnalysisStatus::NotRead;
    // How far the loudest event stands above the recording's background, in dB: the
    // highest level of a band, averaged in power over three frames (about 32 ms, so a
    // lone click counts for less than a call), over that band's median level.
    float activityDb = 0.0f;
    // 0 .. AnalysisBandCount-1: each band's event strength (95th percentile of its
    // level over its median) as a share of the strongest band's, so the shape and not
    // the loudness is compared; 0 for a band above the file's Nyquist frequency.
    // Then: the share of active frames, log10 of the longest event in seconds, log10
    // of events per second of the stretch they occupy, the sweep of the spectral
    // centroid (asinh of octaves per second / 4), the mean bandwidth in octaves and
    // the mean level change between active frames in dB / 10.
    std::array<float, AnalysisFeatureCount> features{};
    std::uint32_t sampleRate = 0;
    std::uint32_t analysedFrames = 0;
};

// The analysis of `samples` (one channel) taken at `sampleRate` frames a second. Any
// thread; keeps no state.
WaveAnalysis AnalyseSamples(const std::vector<std::int16_t>& samples, std::uint32_t sampleRate);

// The analysis of the wave file at `path`, read by the control's loader with its
// checks, IEEE float samples accepted, up to LargestFrameLimit frames. Any thread.
WaveAnalysis AnalyseWaveFile(const std::string& path);

// A few words for a status ("analysed", "not a readable wave file", ...).
const char* AnalysisStatusText(AnalysisStatus status);

}  // namespace sonolux
