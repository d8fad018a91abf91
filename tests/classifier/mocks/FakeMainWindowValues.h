#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/CorvaneError.h"
#include "core/MainWindowValues.h"

// The first-run parameter set.
inline const SpectrogramParameterSet FirstRunSPGParams{2, 1, 64, 0, 120.0f, 20.0f};

struct CellSizeCall {
    std::int32_t width;
    std::int32_t height;
    bool force;
};

// The main window's live values, with a record of every call that changes them.
class FakeMainWindowValues : public IMainWindowValues {
public:
    void UpdateCellSizes(std::int32_t CellWidth, std::int32_t CellHeight,
                         bool ForceUpdate) override {
        cellSizeCalls.push_back({CellWidth, CellHeight, ForceUpdate});
        width = CellWidth;
        height = CellHeight;
    }
    void GetCellSize(std::int32_t& CellWidth, std::int32_t& CellHeight) const override {
        CellWidth = width;
        CellHeight = height;
    }
    void UpdateSPGParams(std::int32_t FFTSizeChoice, std::int32_t FrameLengthChoice,
                         std::int32_t HopSize, std::int32_t WindowFunctionChoice, float PowerMax,
                         float PowerMin) override {
        SetSPGParams(
            {FFTSizeChoice, FrameLengthChoice, HopSize, WindowFunctionChoice, PowerMax, PowerMin});
    }
    void GetSPGParams(std::int32_t& FFTSizeChoice, std::int32_t& FrameLengthChoice,
                      std::int32_t& HopSize, std::int32_t& WindowFunctionChoice, float& PowerMax,
                      float& PowerMin) const override {
        params.Unpack(FFTSizeChoice, FrameLengthChoice, HopSize, WindowFunctionChoice, PowerMax,
                      PowerMin);
    }
    void SetSPGParams(const SpectrogramParameterSet& set) override {
        spgCalls.push_back(set);
        if (refuseSPGParams) throw *refuseSPGParams;
        params = set;
    }
    SpectrogramParameterSet SPGParams() const override { return params; }
    bool IsPlayChecked() const override { return play; }
    void SetPlayChecked(bool checked) override { play = checked; }
    RecordingOptions GetRecordingOptions() const override { return recordings; }
    void SetRecordingOptions(const RecordingOptions& options) override {
        recordingCalls.push_back(options);
        recordings = options;
    }
    QString DecisionLogPath() const override { return decisionLog; }
    void SetDecisionLogPath(const QString& path) override { decisionLog = path; }
    SortingOptions GetSortingOptions() const override { return sorting; }
    void SetSortingOptions(const SortingOptions& options) override { sorting = options; }
    SuggestionOptions GetSuggestionOptions() const override { return suggestions; }
    void SetSuggestionOptions(const SuggestionOptions& options) override { suggestions = options; }
    PlaybackOptions GetPlaybackOptions() const override { return playback; }
    void SetPlaybackOptions(const PlaybackOptions& options) override { playback = options; }

    std::int32_t width = 1500;
    std::int32_t height = 1000;
    bool play = false;
    SpectrogramParameterSet params = FirstRunSPGParams;
    std::vector<CellSizeCall> cellSizeCalls;
    std::vector<SpectrogramParameterSet> spgCalls;
    RecordingOptions recordings;
    std::vector<RecordingOptions> recordingCalls;
    QString decisionLog;
    SortingOptions sorting;
    SuggestionOptions suggestions;
    PlaybackOptions playback;
    // Thrown by SetSPGParams after it recorded the call, like a cell
    // whose control refuses a value.
    std::optional<CorvaneError> refuseSPGParams;
};
