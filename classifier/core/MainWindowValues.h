#pragma once

#include <cstdint>

#include "core/SpectrogramParameterSet.h"

// The "Recordings" options: how much of a recording every cell's control
// loads, which names a batch takes for wave files, and whether IEEE float
// wave files are read. All off: the first 48000 frames, ".wav" in lower case
// only, float files refused.
struct RecordingOptions {
    // The control's FrameLimit with WholeRecording off and on: one second at
    // 48 kHz, and 87 s at 48 kHz, the most the control takes.
    static constexpr std::int32_t PartFrames = 48000;
    static constexpr std::int32_t WholeRecordingFrames = 4194304;

    bool WholeRecording = false;
    bool AnyCaseWave = false;
    bool FloatSamples = false;

    // Sample frames, 1 to 4194304.
    std::int32_t FrameLimit() const { return WholeRecording ? WholeRecordingFrames : PartFrames; }

    friend bool operator==(const RecordingOptions& a, const RecordingOptions& b) {
        return a.WholeRecording == b.WholeRecording && a.AnyCaseWave == b.AnyCaseWave &&
               a.FloatSamples == b.FloatSamples;
    }
    friend bool operator!=(const RecordingOptions& a, const RecordingOptions& b) {
        return !(a == b);
    }
};

// The "Playback" options: how slowly a recording plays (1 is its own speed,
// 10 a tenth of it), and whether a recording plays as the selection reaches
// its cell. At its own speed, and only on request, at first.
struct PlaybackOptions {
    // The speeds offered, as divisors of the recording's own.
    static constexpr std::int16_t SpeedDivisors[] = {1, 2, 4, 8, 10, 20};

    std::int16_t SpeedDivisor = 1;
    bool PlayOnSelect = false;

    friend bool operator==(const PlaybackOptions& a, const PlaybackOptions& b) {
        return a.SpeedDivisor == b.SpeedDivisor && a.PlayOnSelect == b.PlayOnSelect;
    }
    friend bool operator!=(const PlaybackOptions& a, const PlaybackOptions& b) { return !(a == b); }
};

// The main window's live values as the settings code and the options dialog
// read and change them.
class IMainWindowValues {
public:
    virtual ~IMainWindowValues() = default;

    // Twips. Re-lays the grid when the size differs from the current one.
    virtual void UpdateCellSizes(std::int32_t CellWidth, std::int32_t CellHeight,
                                 bool ForceUpdate = false) = 0;
    virtual void GetCellSize(std::int32_t& CellWidth, std::int32_t& CellHeight) const = 0;

    // Passes the parameter set to every cell, in index order. A cell that
    // refuses a value throws CorvaneError; the cells before it keep the new set.
    virtual void UpdateSPGParams(std::int32_t FFTSizeChoice, std::int32_t FrameLengthChoice,
                                 std::int32_t HopSize, std::int32_t WindowFunctionChoice,
                                 float PowerMax, float PowerMin) = 0;
    virtual void GetSPGParams(std::int32_t& FFTSizeChoice, std::int32_t& FrameLengthChoice,
                              std::int32_t& HopSize, std::int32_t& WindowFunctionChoice,
                              float& PowerMax, float& PowerMin) const = 0;
    // The same two operations with the set as one value.
    virtual void SetSPGParams(const SpectrogramParameterSet& params) = 0;
    virtual SpectrogramParameterSet SPGParams() const = 0;

    // The check mark of the Play command.
    virtual bool IsPlayChecked() const = 0;
    virtual void SetPlayChecked(bool checked) = 0;

    // The "Recordings" options. Setting them passes the frame limit and the
    // float choice to every cell, hidden ones included; the name choice holds
    // from the next batch on.
    virtual RecordingOptions GetRecordingOptions() const = 0;
    virtual void SetRecordingOptions(const RecordingOptions& options) = 0;

    // The "Playback" options. Setting them passes the speed to every cell,
    // hidden ones included, and sets the menu's check marks.
    virtual PlaybackOptions GetPlaybackOptions() const = 0;
    virtual void SetPlaybackOptions(const PlaybackOptions& options) = 0;
};
