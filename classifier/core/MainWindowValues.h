#pragma once

#include <QString>
#include <cstdint>

#include "core/SpectrogramParameterSet.h"

// The "Recordings" options: how much of a recording every cell's control
// loads, which names a batch takes for wave files, whether IEEE float wave
// files are read, and how the picture is drawn. All off: the first 48000
// frames, ".wav" in lower case only, float files refused, the picture drawn
// from the frames the control's geometry picks, on the fixed power range.
struct RecordingOptions {
    // The control's FrameLimit with WholeRecording off and on: one second at
    // 48 kHz, and 87 s at 48 kHz, the most the control takes.
    static constexpr std::int32_t PartFrames = 48000;
    static constexpr std::int32_t WholeRecordingFrames = 4194304;

    bool WholeRecording = false;
    bool AnyCaseWave = false;
    bool FloatSamples = false;
    // The control's EverySample and AutoContrast: every sample reaches the
    // picture, and each recording is drawn over its own power range.
    bool EverySample = false;
    bool AutoContrast = false;

    // Sample frames, 1 to 4194304.
    std::int32_t FrameLimit() const { return WholeRecording ? WholeRecordingFrames : PartFrames; }

    // Field View is the three picture options together: a recording is never
    // cut short, thinned out or drowned by another recording's loudness.
    bool FieldView() const { return WholeRecording && EverySample && AutoContrast; }
    void SetFieldView(bool on) { WholeRecording = EverySample = AutoContrast = on; }

    friend bool operator==(const RecordingOptions& a, const RecordingOptions& b) {
        return a.WholeRecording == b.WholeRecording && a.AnyCaseWave == b.AnyCaseWave &&
               a.FloatSamples == b.FloatSamples && a.EverySample == b.EverySample &&
               a.AutoContrast == b.AutoContrast;
    }
    friend bool operator!=(const RecordingOptions& a, const RecordingOptions& b) {
        return !(a == b);
    }
};

// The "Sorting" options: how the selection moves and what a run keeps for the
// next. All off: the selection moves only as the menu commands move it, and a
// run keeps only the described settings.
struct SortingOptions {
    bool ArrowKeys = false;         // arrows, Home and End move the selection in the grid
    bool StartAtFirstCell = false;  // a new batch selects cell 0
    bool SkipSortedCells = false;   // Tab after Classify passes over sorted recordings
    bool KeepBindings = false;      // the key map is saved at exit and read at start
    bool RememberWindow = false;    // the main window opens where the last run left it

    friend bool operator==(const SortingOptions& a, const SortingOptions& b) {
        return a.ArrowKeys == b.ArrowKeys && a.StartAtFirstCell == b.StartAtFirstCell &&
               a.SkipSortedCells == b.SkipSortedCells && a.KeepBindings == b.KeepBindings &&
               a.RememberWindow == b.RememberWindow;
    }
    friend bool operator!=(const SortingOptions& a, const SortingOptions& b) { return !(a == b); }
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

// The folders' suggestions: shown on the grid or not (and with them off nothing
// is analysed), the batch arranged by them, and below what activity a recording
// is called likely empty. Off, in the batch's order, 6 dB at first.
struct SuggestionOptions {
    static constexpr double DefaultEmptyThresholdDb = 6.0;
    static constexpr double MinimumEmptyThresholdDb = 0.0;
    static constexpr double MaximumEmptyThresholdDb = 60.0;

    bool Show = false;
    bool OrderBySuggestion = false;
    double EmptyThresholdDb = DefaultEmptyThresholdDb;

    friend bool operator==(const SuggestionOptions& a, const SuggestionOptions& b) {
        return a.Show == b.Show && a.OrderBySuggestion == b.OrderBySuggestion &&
               a.EmptyThresholdDb == b.EmptyThresholdDb;
    }
    friend bool operator!=(const SuggestionOptions& a, const SuggestionOptions& b) {
        return !(a == b);
    }
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

    // The "Recordings" options. Setting them passes the frame limit, the float
    // choice and the picture options to every cell, hidden ones included; the
    // name choice holds from the next batch on.
    virtual RecordingOptions GetRecordingOptions() const = 0;
    virtual void SetRecordingOptions(const RecordingOptions& options) = 0;

    // The decision log's file; empty while there is no log.
    virtual QString DecisionLogPath() const = 0;
    virtual void SetDecisionLogPath(const QString& path) = 0;
    // The "Sorting" options; they hold from the next keystroke or batch on.
    virtual SortingOptions GetSortingOptions() const = 0;
    virtual void SetSortingOptions(const SortingOptions& options) = 0;
    // The "Playback" options. Setting them passes the speed to every cell,
    // hidden ones included, and sets the menu's check marks.
    virtual PlaybackOptions GetPlaybackOptions() const = 0;
    virtual void SetPlaybackOptions(const PlaybackOptions& options) = 0;
    // The suggestions' options. Setting them sets the menu's check marks and
    // asks for suggestions anew (or drops them).
    virtual SuggestionOptions GetSuggestionOptions() const = 0;
    virtual void SetSuggestionOptions(const SuggestionOptions& options) = 0;
};
