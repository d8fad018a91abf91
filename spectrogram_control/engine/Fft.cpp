#include "Fft.h"

#include <cmath>
#include <utility>

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

// The butterflies of one stage that share the twiddle factor (wr, wi).
inline void ButterflyGroup(double* data, std::size_t first, std::size_t n, std::size_t mmax,
                           double wr, double wi) {
    const std::size_t istep = mmax << 1;
    for (std::size_t i = first; i < n; i += istep) {
        const std::size_t j = i + mmax;
        const double tr = wr * data[j] - wi * data[j + 1];
        const double ti = wr * data[j + 1] + wi * data[j];
        data[j] = data[i] - tr;
        data[j + 1] = data[i + 1] - ti;
        data[i] = data[i] + tr;
        data[i + 1] = data[i + 1] + ti;
    }
}

// The first group of every stage has the twiddle factor 1 + 0i exactly. Multiplying
// by it changes no value except, at most, the sign of a zero, and no later step
// lets the sign of a zero change a magnitude, so the group is done without products.
inline void UnitButterflyGroup(double* data, std::size_t n, std::size_t mmax) {
    const std::size_t istep = mmax << 1;
    for (std::size_t i = 0; i < n; i += istep) {
        const std::size_t j = i + mmax;
        const double tr = data[j];
        const double ti = data[j + 1];
        data[j] = data[i] - tr;
        data[j + 1] = data[i + 1] - ti;
        data[i] = data[i] + tr;
        data[i + 1] = data[i + 1] + ti;
    }
}

}  // namespace

void ComplexFFT(double* data, std::size_t nn, int isign) {
    const std::size_t n = nn << 1;
    BitReverse(data, nn);
    std::size_t mmax = 2;
    while (n > mmax) {
        const std::size_t istep = mmax << 1;
        const double theta =
            -6.28318530717959 / static_cast<double>(static_cast<long>(mmax) * isign);
        const double wtemp = std::sin(theta / 2);
        const double wpr = -2.0 * wtemp * wtemp;
        const double wpi = std::sin(theta);
        double wr = 1.0;
        double wi = 0.0;
        UnitButterflyGroup(data, n, mmax);
        for (std::size_t m = 0; m < mmax; m += 2) {
            if (m != 0) ButterflyGroup(data, m, n, mmax, wr, wi);
            const double oldWr = wr;
            wr = wr * wpr - wi * wpi + wr;
            wi = wi * wpr + oldWr * wpi + wi;
        }
        mmax = istep;
    }
}

void RealFFT(double* data, std::size_t n, int isign) {
    const bool forward = isign == 1;
    const double theta =
        (forward ? -3.141592653589793 : 3.141592653589793) / static_cast<double>(n);
    const double c1 = 0.5;
    const double c2 = forward ? -0.5 : 0.5;
    if (forward) ComplexFFT(data, n, 1);
    const double wtemp = std::sin(theta / 2);
    const double wpr = -2.0 * wtemp * wtemp;
    const double wpi = std::sin(theta);
    double wr = 1.0 + wpr;
    double wi = wpi;
    for (std::size_t k = 1; k < n / 2; ++k) {
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
        const double oldWr = wr;
        wr = wr * wpr - wi * wpi + wr;
        wi = wi * wpr + oldWr * wpi + wi;
    }
    const double h1r = data[0];
    if (forward) {
        data[0] = h1r + data[1];
        data[1] = h1r - data[1];
    } else {
        data[0] = c1 * (h1r + data[1]);
        data[1] = c1 * (h1r - data[1]);
        ComplexFFT(data, n, -1);
    }
}

}  // namespace sonolux
