#pragma once

#include <cstdint>

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

    // The check mark of the Play command.
    virtual bool IsPlayChecked() const = 0;
    virtual void SetPlayChecked(bool checked) = 0;
};
