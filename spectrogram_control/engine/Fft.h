#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sonolux {

// In-place radix-2 transform of `nn` complex values stored as 2 * nn doubles
// (real, imaginary, real, ...). `nn` must be a power of two (1 included).
// With `isign` = 1 the result is Z_k = sum_n z_n e^(-2 pi i k n / nn), unscaled;
// `isign` = -1 gives the unscaled inverse. The twiddle factors follow a
// recurrence, so each butterfly stage needs only two sine evaluations.
void ComplexFFT(double* data, std::size_t nn, int isign);

// In-place transform of 2 * `n` real values data[0 .. 2n-1] (`n` a power of two,
// at least 2) through one complex transform of `n` points.
// `isign` = 1: afterwards data[0] = X_0, data[1] = X_n (the Nyquist term), and
// data[2k]^2 + data[2k+1]^2 = |X_k|^2 for 1 <= k < n, where
// X_k = sum_j x_j e^(-2 pi i k j / 2n), unscaled.
// `isign` = -1: the inverse of that layout, giving n times the real values.
void RealFFT(double* data, std::size_t n, int isign);

// RealFFT(data, n, 1) for one size, prepared for many transforms: the bit-reversal
// swaps and the twiddle factors the recurrence yields are worked out once. Gives
// bit for bit the values of RealFFT.
class RealFftPlan {
public:
    // `n` complex points (a power of two, at least 2): transforms of 2n real values.
    explicit RealFftPlan(std::size_t n);

    // In place on data[0 .. 2n-1], as RealFFT(data, n, 1).
    void Forward(double* data) const;

    // Frames transformed side by side by FramePowers.
    static constexpr std::size_t Interleave = 4;

    // Interleave frames of 16-bit samples at once, each multiplied by `window` over its
    // first `count` values (count <= 2n) and zero-padded to 2n real values; then
    // power[Interleave * k + t] is |X_k|^2 of frame t for k < `bins` (bins <= n), formed
    // from Forward's output as X_0^2 = data[0]^2 for k = 0 and data[2k]^2 + data[2k+1]^2
    // otherwise. Every step is the operation Forward and that formula do, in their
    // order, applied to all frames at once, so the powers are bit for bit theirs.
    // `work` holds Interleave * 2n + Interleave - 1 values.
    void FramePowers(const std::int16_t* const* frames, const double* window, std::size_t count,
                     std::size_t bins, double* work, double* power) const;

private:
    std::size_t m_n;
    std::vector<std::uint32_t> m_swaps;      // pairs of complex indexes to exchange
    std::vector<std::uint32_t> m_reordered;  // where value e stands once bit-reversed
    std::vector<double> m_stageSines;        // sin(theta/2), sin(theta) of every stage
    std::vector<double> m_stageTwiddles;  // (wr, wi) of every group but the first, stage by stage
    double m_realSines[2] = {};           // sin(theta/2), sin(theta) of the real split
    std::vector<double> m_realTwiddles;   // (wr, wi) of the real split, k = 1 .. n/2 - 1
};

}  // namespace sonolux
