#pragma once

#include <cstdint>

// The values that shape every cell's spectrogram, travelling together: the
// settings store, the options dialog and the cells all take the whole set.
// Choices k of FFTSizeChoice and FrameLengthChoice select 32 * 2^k points;
// WindowFunctionChoice is 0 Hamming, 1 Hanning, 2 Rectangular, 3 Blackman,
// 4 Bartlett; HopSize is in samples; PowerMax and PowerMin are in dB. Nothing
// here is checked: the spectrogram control decides what an odd value means.
struct SpectrogramParameterSet {
    std::int32_t FFTSizeChoice = 0;
    std::int32_t FrameLengthChoice = 0;
    std::int32_t HopSize = 0;
    std::int32_t WindowFunctionChoice = 0;
    float PowerMax = 0;
    float PowerMin = 0;

    // Hands the six values out in their usual order, for the operations that
    // keep them apart at their surface.
    void Unpack(std::int32_t& fftSizeChoice, std::int32_t& frameLengthChoice, std::int32_t& hopSize,
                std::int32_t& windowFunctionChoice, float& powerMax, float& powerMin) const {
        fftSizeChoice = FFTSizeChoice;
        frameLengthChoice = FrameLengthChoice;
        hopSize = HopSize;
        windowFunctionChoice = WindowFunctionChoice;
        powerMax = PowerMax;
        powerMin = PowerMin;
    }

    friend bool operator==(const SpectrogramParameterSet& a, const SpectrogramParameterSet& b) {
        return a.FFTSizeChoice == b.FFTSizeChoice && a.FrameLengthChoice == b.FrameLengthChoice &&
               a.HopSize == b.HopSize && a.WindowFunctionChoice == b.WindowFunctionChoice &&
               a.PowerMax == b.PowerMax && a.PowerMin == b.PowerMin;
    }
    friend bool operator!=(const SpectrogramParameterSet& a, const SpectrogramParameterSet& b) {
        return !(a == b);
    }
};
