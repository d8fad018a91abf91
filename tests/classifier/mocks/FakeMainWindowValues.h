#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/CorvaneError.h"
#include "core/MainWindowValues.h"

// The main window's live values, with a record of every call that changes them.
struct SPGParams {
    std::int32_t FFTSizeChoice = 2;
    std::int32_t FrameLengthChoice = 1;
    std::int32_t HopSize = 64;
    std::int32_t WindowFunctionChoice = 0;
    float PowerMax = 120;
    float PowerMin = 20;

    friend bool operator==(const SPGParams& a, const SPGParams& b) {
        return a.FFTSizeChoice == b.FFTSizeChoice && a.FrameLengthChoice == b.FrameLengthChoice &&
               a.HopSize == b.HopSize && a.WindowFunctionChoice == b.WindowFunctionChoice &&
               a.PowerMax == b.PowerMax && a.PowerMin == b.PowerMin;
    }
};

struct CellSizeCall {
    std::int32_t width;
    std::int32_t height;
    bool force;
};

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
        const SPGParams set{FFTSizeChoice,        FrameLengthChoice, HopSize,
                            WindowFunctionChoice, PowerMax,          PowerMin};
        spgCalls.push_back(set);
        if (refuseSPGParams) throw *refuseSPGParams;
        params = set;
    }
    void GetSPGParams(std::int32_t& FFTSizeChoice, std::int32_t& FrameLengthChoice,
                      std::int32_t& HopSize, std::int32_t& WindowFunctionChoice, float& PowerMax,
                      float& PowerMin) const override {
        FFTSizeChoice = params.FFTSizeChoice;
        FrameLengthChoice = params.FrameLengthChoice;
        HopSize = params.HopSize;
        WindowFunctionChoice = params.WindowFunctionChoice;
        PowerMax = params.PowerMax;
        PowerMin = params.PowerMin;
    }
    bool IsPlayChecked() const override { return play; }
    void SetPlayChecked(bool checked) override { play = checked; }
    RecordingOptions GetRecordingOptions() const override { return recordings; }
    void SetRecordingOptions(const RecordingOptions& options) override {
        recordingCalls.push_back(options);
        recordings = options;
    }

    std::int32_t width = 1500;
    std::int32_t height = 1000;
    bool play = false;
    SPGParams params;
    std::vector<CellSizeCall> cellSizeCalls;
    std::vector<SPGParams> spgCalls;
    RecordingOptions recordings;
    std::vector<RecordingOptions> recordingCalls;
    // Thrown by UpdateSPGParams after it recorded the call, like a cell
    // whose control refuses a value.
    std::optional<CorvaneError> refuseSPGParams;
};
