#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/WaveStream.h"

namespace sonolux {

// The slowest playback offered: a twentieth of the recording's own speed.
constexpr int LargestSpeedDivisor = 20;

// The rate an output is opened at for a recording of `fileRate` frames per second
// played at 1/`divisor` of its speed, on an output that takes `minRate` to
// `maxRate`: the slowed rate itself when it is a whole number the output takes,
// otherwise `preferredRate` (the output's own), or the nearest rate the output
// takes when its own is outside its range.
int OutputRateFor(std::uint32_t fileRate, int divisor, int minRate, int maxRate, int preferredRate);

// Resamples interleaved frames from one rate to another with a windowed sinc:
// each output sample is the input weighted by sinc(fc * x) under a Blackman
// window 16 zero crossings wide on either side, where fc is 1 when the rate
// rises and the ratio of the rates when it falls (so nothing above the lower
// rate's Nyquist frequency folds back), normalised to unit gain at 0 Hz. Input
// before the first and after the last frame is silence; the caller holds the
// input, the resampler only its weights.
class SincResampler {
public:
    SincResampler(std::size_t channels, double inputRate, double outputRate);

    // Appends the next output frame (channels floats) to `out`. `span` holds
    // the input frames from `spanStart` on, `spanFrames` of them, and must hold
    // every frame of the recording from FirstNeeded() to LastNeeded(); frames
    // outside it are silence.
    void Next(const float* span, std::int64_t spanStart, std::int64_t spanFrames,
              std::vector<float>& out);
    // The input frames the next output frame reaches: from FirstNeeded() to
    // LastNeeded(), both included.
    std::int64_t FirstNeeded() const;
    std::int64_t LastNeeded() const;
    // The input position (in input frames) of the next output frame.
    double Position() const { return static_cast<double>(m_next) * m_step; }

private:
    std::size_t m_channels;
    double m_step;    // input frames per output frame
    double m_cutoff;  // of the input's Nyquist frequency
    int m_halfWidth;  // input frames on either side
    std::int64_t m_next = 0;
    std::vector<double> m_weights;
};

// A recording played at 1/divisor of its speed, at a rate an output takes:
// every channel as interleaved floats, straight from the file when the slowed
// rate is the output's, otherwise through a SincResampler. Holds one block of
// the file and the resampler's span, however long the recording.
class TimeExpandedStream {
public:
    // Opens the file; false for one WaveStream refuses.
    bool Open(const std::string& path);
    std::uint32_t FileRate() const { return m_file.SampleRate(); }
    std::uint16_t Channels() const { return m_file.Channels(); }
    std::uint32_t FileFrames() const { return m_file.FrameCount(); }

    // Plays from the start at 1/`divisor` (1 to LargestSpeedDivisor) of the
    // recording's speed, out at `outputRate` frames per second.
    void Start(int divisor, int outputRate);
    bool Resampled() const { return m_resampled; }
    // Output frames the whole recording comes to.
    std::uint64_t OutputFrames() const { return m_outputFrames; }
    // Appends up to `frames` output frames to `out`; fewer only at the end.
    std::size_t Read(std::size_t frames, std::vector<float>& out);
    // Seconds into the recording of output frame `frame`.
    double RecordingSeconds(double frame) const;

private:
    // Reads the file on until the span holds input frame `last` or the file ends,
    // and drops what lies before `first`.
    void Fill(std::int64_t first, std::int64_t last);

    WaveStream m_file;
    int m_divisor = 1;
    int m_outputRate = 0;
    bool m_resampled = false;
    std::uint64_t m_outputFrames = 0;
    std::uint64_t m_outputDone = 0;
    std::vector<float> m_span;  // input frames from m_spanStart on
    std::int64_t m_spanStart = 0;
    std::optional<SincResampler> m_resampler;  // none when played straight
};

}  // namespace sonolux
