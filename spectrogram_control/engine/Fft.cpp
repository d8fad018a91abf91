#include "engine/Fft.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace sonolux {
namespace {

void BitReverse(double* data, std::size_t nn) {
    const std::size_t n = nn << 1;
    std::size_t j = 0;
    for (std::size_t i = 0; i < n; i += 2) {
        if (j > i) {
            std::swap(data[j], data[i]);
            std::swap(data[j + 1], data[i + 1]);
        }
        std::size_t m = nn;
        while (m >= 2 && j >= m) {
            j -= m;
            m >>= 1;
        }
        j += m;
    }
}

// Appends sin(theta / 2) and sin(theta) for every butterfly stage of an `nn`-point transform.
void AppendStageSines(std::size_t nn, int isign, std::vector<double>& sines) {
    for (std::size_t mmax = 2; 2 * nn > mmax; mmax <<= 1) {
        const double theta =
            -6.28318530717959 / static_cast<double>(static_cast<long>(mmax) * isign);
        sines.push_back(std::sin(theta / 2));
        sines.push_back(std::sin(theta));
    }
}

// The butterflies of one stage that share the twiddle factor (wr, wi). The two
// lanes compute the real and imaginary parts with exactly the scalar operations:
// wr*a - wi*b is formed as wr*a + (-wi)*b, which rounds identically.
inline void ButterflyGroup(double* data, std::size_t first, std::size_t n, std::size_t mmax,
                           double wr, double wi) {
    const std::size_t istep = mmax << 1;
#ifdef __SSE2__
    const __m128d wReal = _mm_set1_pd(wr);
    const __m128d wImag = _mm_set_pd(wi, -wi);
    for (std::size_t i = first; i < n; i += istep) {
        double* upper = data + i;
        double* lower = data + i + mmax;
        const __m128d x = _mm_loadu_pd(lower);
        const __m128d swapped = _mm_shuffle_pd(x, x, 1);
        const __m128d t = _mm_add_pd(_mm_mul_pd(wReal, x), _mm_mul_pd(wImag, swapped));
        const __m128d u = _mm_loadu_pd(upper);
        _mm_storeu_pd(lower, _mm_sub_pd(u, t));
        _mm_storeu_pd(upper, _mm_add_pd(u, t));
    }
#else
    for (std::size_t i = first; i < n; i += istep) {
        const std::size_t j = i + mmax;
        const double tr = wr * data[j] - wi * data[j + 1];
        const double ti = wr * data[j + 1] + wi * data[j];
        data[j] = data[i] - tr;
        data[j + 1] = data[i + 1] - ti;
        data[i] = data[i] + tr;
        data[i + 1] = data[i + 1] + ti;
    }
#endif
}

// The first group of every stage has the twiddle factor 1 + 0i exactly. Multiplying
// by it changes no value except, at most, the sign of a zero, and no later step
// lets the sign of a zero change a magnitude, so the group is done without products.
inline void UnitButterflyGroup(double* data, std::size_t n, std::size_t mmax) {
    const std::size_t istep = mmax << 1;
    for (std::size_t i = 0; i < n; i += istep) {
#ifdef __SSE2__
        const __m128d t = _mm_loadu_pd(data + i + mmax);
        const __m128d u = _mm_loadu_pd(data + i);
        _mm_storeu_pd(data + i + mmax, _mm_sub_pd(u, t));
        _mm_storeu_pd(data + i, _mm_add_pd(u, t));
#else
        const std::size_t j = i + mmax;
        const double tr = data[j];
        const double ti = data[j + 1];
        data[j] = data[i] - tr;
        data[j + 1] = data[i + 1] - ti;
        data[i] = data[i] + tr;
        data[i + 1] = data[i + 1] + ti;
#endif
    }
}

// The recurrence that carries a twiddle factor (wr, wi) on by one step of the angle
// whose sines are sin(theta/2) and sin(theta).
struct Rotation {
    double wpr;
    double wpi;
};

Rotation RotationOf(const double* sines) {
    return {-2.0 * sines[0] * sines[0], sines[1]};
}

inline void Advance(double& wr, double& wi, const Rotation& r) {
    const double oldWr = wr;
    wr = wr * r.wpr - wi * r.wpi + wr;
    wi = wi * r.wpr + oldWr * r.wpi + wi;
}

// The butterfly stages of an `nn`-point transform of bit-reversed data, with
// stageSines[2s] = sin(theta/2) and stageSines[2s+1] = sin(theta) of stage s.
// With `tabled`, `twiddles` holds the (wr, wi) the recurrence yields for every group
// but the first of every stage, in order, so the recurrence is not run again.
void Butterflies(double* data, std::size_t nn, const double* stageSines, bool tabled,
                 const double* twiddles) {
    const std::size_t n = nn << 1;
    for (std::size_t mmax = 2, stage = 0; n > mmax; mmax <<= 1, ++stage) {
        UnitButterflyGroup(data, n, mmax);
        if (tabled) {
            for (std::size_t m = 2; m < mmax; m += 2, twiddles += 2) {
                ButterflyGroup(data, m, n, mmax, twiddles[0], twiddles[1]);
            }
            continue;
        }
        const Rotation rotation = RotationOf(stageSines + 2 * stage);
        double wr = 1.0;
        double wi = 0.0;
        for (std::size_t m = 2; m < mmax; m += 2) {
            Advance(wr, wi, rotation);
            ButterflyGroup(data, m, n, mmax, wr, wi);
        }
    }
}

void AppendStageTwiddles(std::size_t nn, const double* stageSines, std::vector<double>& twiddles) {
    for (std::size_t mmax = 2; 2 * nn > mmax; mmax <<= 1, stageSines += 2) {
        const Rotation rotation = RotationOf(stageSines);
        double wr = 1.0;
        double wi = 0.0;
        for (std::size_t m = 2; m < mmax; m += 2) {
            Advance(wr, wi, rotation);
            twiddles.push_back(wr);
            twiddles.push_back(wi);
        }
    }
}

// Separates the transform of 2n real values from the n-point complex transform of
// their pairs (forward), or prepares the inverse; `sines` = sin(theta/2), sin(theta).
// `twiddles`, if given, holds the (wr, wi) of k = 1 .. n/2 - 1.
void SplitReal(double* data, std::size_t n, bool forward, const double* sines,
               const double* twiddles) {
    const double c1 = 0.5;
    const double c2 = forward ? -0.5 : 0.5;
    const Rotation rotation = RotationOf(sines);
    double wr = 1.0 + rotation.wpr;
    double wi = rotation.wpi;
    for (std::size_t k = 1; k < n / 2; ++k) {
        if (twiddles != nullptr) {
            wr = twiddles[2 * k - 2];
            wi = twiddles[2 * k - 1];
        }
        const std::size_t i1 = 2 * k;
        const std::size_t i3 = 2 * n - 2 * k;
        const double h1r = c1 * (data[i1] + data[i3]);
        const double h1i = c1 * (data[i1 + 1] - data[i3 + 1]);
        const double h2r = -c2 * (data[i1 + 1] + data[i3 + 1]);
        const double h2i = c2 * (data[i1] - data[i3]);
        data[i1] = h1r + wr * h2r - wi * h2i;
        data[i1 + 1] = h1i + wr * h2i + wi * h2r;
        data[i3] = h1r - wr * h2r + wi * h2i;
        data[i3 + 1] = -h1i + wr * h2i + wi * h2r;
        if (twiddles == nullptr) Advance(wr, wi, rotation);
    }
    const double h1r = data[0];
    if (forward) {
        data[0] = h1r + data[1];
        data[1] = h1r - data[1];
    } else {
        data[0] = c1 * (h1r + data[1]);
        data[1] = c1 * (h1r - data[1]);
    }
}

void AppendRealTwiddles(std::size_t n, const double* sines, std::vector<double>& twiddles) {
    const Rotation rotation = RotationOf(sines);
    double wr = 1.0 + rotation.wpr;
    double wi = rotation.wpi;
    for (std::size_t k = 1; k < n / 2; ++k) {
        twiddles.push_back(wr);
        twiddles.push_back(wi);
        Advance(wr, wi, rotation);
    }
}

void AppendRealSines(std::size_t n, bool forward, std::vector<double>& sines) {
    const double theta =
        (forward ? -3.141592653589793 : 3.141592653589793) / static_cast<double>(n);
    sines.push_back(std::sin(theta / 2));
    sines.push_back(std::sin(theta));
}

// Interleave doubles, one of each transform; GCC's vector arithmetic is lane by lane
// the scalar IEEE operation, so each lane rounds exactly as Forward does.
typedef double Lanes __attribute__((vector_size(RealFftPlan::Interleave * sizeof(double)),
                                    may_alias, aligned(sizeof(double))));
static_assert(RealFftPlan::Interleave == 4, "Lanes holds four transforms");

inline Lanes& At(double* data, std::size_t index) {
    return *reinterpret_cast<Lanes*>(data + RealFftPlan::Interleave * index);
}

typedef std::int32_t LaneInts
    __attribute__((vector_size(RealFftPlan::Interleave * sizeof(std::int32_t))));

// The frames multiplied by the window, written straight to the places Forward's
// exchanges would move them to; the places of the zero padding are cleared.
__attribute__((always_inline)) inline void LoadInterleaved(const std::int16_t* const* frames,
                                                           const double* window, std::size_t count,
                                                           std::size_t n,
                                                           const std::uint32_t* place,
                                                           double* data) {
    const std::int16_t* f0 = frames[0];
    const std::int16_t* f1 = frames[1];
    const std::int16_t* f2 = frames[2];
    const std::int16_t* f3 = frames[3];
    for (std::size_t j = 0; j < count; ++j) {
        const LaneInts samples = {f0[j], f1[j], f2[j], f3[j]};
        At(data, place[j]) = __builtin_convertvector(samples, Lanes) * window[j];
    }
    const Lanes zero = {0.0, 0.0, 0.0, 0.0};
    for (std::size_t j = count; j < n; ++j) At(data, place[j]) = zero;
}

__attribute__((always_inline)) inline void PowersInterleaved(double* data, std::size_t bins,
                                                             double* power) {
    // data[1] holds the Nyquist term, which is no bin's power.
    const Lanes dc = At(data, 0);
    At(power, 0) = dc * dc;
    for (std::size_t k = 1; k < bins; ++k) {
        const Lanes re = At(data, 2 * k);
        const Lanes im = At(data, 2 * k + 1);
        At(power, k) = re * re + im * im;
    }
}

// Forward's butterflies and real split on Interleave transforms, operation for
// operation (see ButterflyGroup, UnitButterflyGroup and SplitReal for why each is
// written as it is).
__attribute__((always_inline)) inline void InterleavedForward(double* data, std::size_t nn,
                                                              const double* twiddles,
                                                              const double* realTwiddles) {
    const std::size_t n = nn << 1;
    for (std::size_t mmax = 2; n > mmax; mmax <<= 1) {
        const std::size_t istep = mmax << 1;
        for (std::size_t i = 0; i < n; i += istep) {
            Lanes& upperRe = At(data, i);
            Lanes& upperIm = At(data, i + 1);
            Lanes& lowerRe = At(data, i + mmax);
            Lanes& lowerIm = At(data, i + mmax + 1);
            const Lanes tr = lowerRe;
            const Lanes ti = lowerIm;
            lowerRe = upperRe - tr;
            lowerIm = upperIm - ti;
            upperRe = upperRe + tr;
            upperIm = upperIm + ti;
        }
        for (std::size_t m = 2; m < mmax; m += 2, twiddles += 2) {
            const double wr = twiddles[0];
            const double wi = twiddles[1];
            const double minusWi = -wi;
            for (std::size_t i = m; i < n; i += istep) {
                Lanes& upperRe = At(data, i);
                Lanes& upperIm = At(data, i + 1);
                Lanes& lowerRe = At(data, i + mmax);
                Lanes& lowerIm = At(data, i + mmax + 1);
                const Lanes xr = lowerRe;
                const Lanes xi = lowerIm;
                const Lanes tr = wr * xr + minusWi * xi;
                const Lanes ti = wr * xi + wi * xr;
                lowerRe = upperRe - tr;
                lowerIm = upperIm - ti;
                upperRe = upperRe + tr;
                upperIm = upperIm + ti;
            }
        }
    }
    const std::size_t half = n >> 1;  // the number of complex points
    for (std::size_t k = 1; k < half / 2; ++k) {
        const double wr = realTwiddles[2 * k - 2];
        const double wi = realTwiddles[2 * k - 1];
        Lanes& re1 = At(data, 2 * k);
        Lanes& im1 = At(data, 2 * k + 1);
        Lanes& re3 = At(data, n - 2 * k);
        Lanes& im3 = At(data, n - 2 * k + 1);
        const Lanes h1r = 0.5 * (re1 + re3);
        const Lanes h1i = 0.5 * (im1 - im3);
        const Lanes h2r = 0.5 * (im1 + im3);
        const Lanes h2i = -0.5 * (re1 - re3);
        re1 = h1r + wr * h2r - wi * h2i;
        im1 = h1i + wr * h2i + wi * h2r;
        re3 = h1r - wr * h2r + wi * h2i;
        im3 = -h1i + wr * h2i + wi * h2r;
    }
    Lanes& dc = At(data, 0);
    Lanes& nyquist = At(data, 1);
    const Lanes h1r = dc;
    dc = h1r + nyquist;
    nyquist = h1r - nyquist;
}

#if defined(__x86_64__) && defined(__GNUC__)
// The same with 256-bit registers where the processor has them: no instruction that
// fuses a multiplication and an addition is enabled, and the library is built with
// -ffp-contract=off, so every product is still rounded on its own.
__attribute__((target("avx"))) void FramePowersAvx(const std::int16_t* const* frames,
                                                   const double* window, std::size_t count,
                                                   std::size_t nn, const std::uint32_t* place,
                                                   const double* twiddles,
                                                   const double* realTwiddles, std::size_t bins,
                                                   double* data, double* power) {
    LoadInterleaved(frames, window, count, 2 * nn, place, data);
    InterleavedForward(data, nn, twiddles, realTwiddles);
    PowersInterleaved(data, bins, power);
}
#endif

}  // namespace

void ComplexFFT(double* data, std::size_t nn, int isign) {
    std::vector<double> sines;
    AppendStageSines(nn, isign, sines);
    BitReverse(data, nn);
    Butterflies(data, nn, sines.data(), false, nullptr);
}

void RealFFT(double* data, std::size_t n, int isign) {
    const bool forward = isign == 1;
    std::vector<double> sines;
    AppendRealSines(n, forward, sines);
    if (forward) ComplexFFT(data, n, 1);
    SplitReal(data, n, forward, sines.data(), nullptr);
    if (!forward) ComplexFFT(data, n, -1);
}

RealFftPlan::RealFftPlan(std::size_t n) : m_n(n) {
    // The exchanges the bit-reversal loop makes, in its order.
    std::size_t j = 0;
    for (std::size_t i = 0; i < 2 * n; i += 2) {
        if (j > i) {
            m_swaps.push_back(static_cast<std::uint32_t>(i));
            m_swaps.push_back(static_cast<std::uint32_t>(j));
        }
        std::size_t m = n;
        while (m >= 2 && j >= m) {
            j -= m;
            m >>= 1;
        }
        j += m;
    }
    // Following every value through those exchanges gives where each one ends up.
    std::vector<std::uint32_t> origin(n);
    for (std::size_t c = 0; c < n; ++c) origin[c] = static_cast<std::uint32_t>(c);
    for (std::size_t s = 0; s < m_swaps.size(); s += 2) {
        std::swap(origin[m_swaps[s] / 2], origin[m_swaps[s + 1] / 2]);
    }
    m_reordered.resize(2 * n);
    for (std::size_t c = 0; c < n; ++c) {
        m_reordered[2 * origin[c]] = static_cast<std::uint32_t>(2 * c);
        m_reordered[2 * origin[c] + 1] = static_cast<std::uint32_t>(2 * c + 1);
    }
    AppendStageSines(n, 1, m_stageSines);
    AppendStageTwiddles(n, m_stageSines.data(), m_stageTwiddles);
    std::vector<double> sines;
    AppendRealSines(n, true, sines);
    m_realSines[0] = sines[0];
    m_realSines[1] = sines[1];
    AppendRealTwiddles(n, sines.data(), m_realTwiddles);
}

void RealFftPlan::Forward(double* data) const {
    for (std::size_t s = 0; s < m_swaps.size(); s += 2) {
        const std::size_t i = m_swaps[s];
        const std::size_t j = m_swaps[s + 1];
#ifdef __SSE2__
        const __m128d a = _mm_loadu_pd(data + i);
        _mm_storeu_pd(data + i, _mm_loadu_pd(data + j));
        _mm_storeu_pd(data + j, a);
#else
        std::swap(data[i], data[j]);
        std::swap(data[i + 1], data[j + 1]);
#endif
    }
    Butterflies(data, m_n, m_stageSines.data(), true, m_stageTwiddles.data());
    SplitReal(data, m_n, true, m_realSines, m_realTwiddles.data());
}

void RealFftPlan::FramePowers(const std::int16_t* const* frames, const double* window,
                              std::size_t count, std::size_t bins, double* work,
                              double* power) const {
    // Lanes of a 32-byte boundary never straddle a cache line.
    const auto address = reinterpret_cast<std::uintptr_t>(work);
    double* data =
        work + std::min<std::size_t>(((32 - address % 32) % 32) / sizeof(double), Interleave - 1);
#if defined(__x86_64__) && defined(__GNUC__)
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx) {
        FramePowersAvx(frames, window, count, m_n, m_reordered.data(), m_stageTwiddles.data(),
                       m_realTwiddles.data(), bins, data, power);
        return;
    }
#endif
    LoadInterleaved(frames, window, count, 2 * m_n, m_reordered.data(), data);
    InterleavedForward(data, m_n, m_stageTwiddles.data(), m_realTwiddles.data());
    PowersInterleaved(data, bins, power);
}

}  // namespace sonolux
