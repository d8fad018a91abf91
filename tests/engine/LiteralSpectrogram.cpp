#include "tests/engine/LiteralSpectrogram.h"

#include <algorithm>
#include <cmath>

namespace literal {

void ComplexFFT(double* data, unsigned long nn, int isign) {
    unsigned long n = nn << 1;
    unsigned long j = 0;
    for (unsigned long i = 0; i < n; i += 2) {
        if (j > i) {
            std::swap(data[j], data[i]);
            std::swap(data[j + 1], data[i + 1]);
        }
        unsigned long m = nn;
        while (m >= 2 && j >= m) {
            j -= m;
            m >>= 1;
        }
        j += m;
    }
    unsigned long mmax = 2;
    while (n > mmax) {
        unsigned long istep = mmax << 1;
        double theta = -6.28318530717959 / (static_cast<double>(mmax) * isign);
        double wtemp = std::sin(0.5 * theta);
        double wpr = -2.0 * wtemp * wtemp;
        double wpi = std::sin(theta);
        double wr = 1.0;
        double wi = 0.0;
        for (unsigned long m = 0; m < mmax; m += 2) {
            for (unsigned long i = m; i < n; i += istep) {
                j = i + mmax;
                double tempr = wr * data[j] - wi * data[j + 1];
                double tempi = wr * data[j + 1] + wi * data[j];
                data[j] = data[i] - tempr;
                data[j + 1] = data[i + 1] - tempi;
                data[i] += tempr;
                data[i + 1] += tempi;
            }
            wr = (wtemp = wr) * wpr - wi * wpi + wr;
            wi = wi * wpr + wtemp * wpi + wi;
        }
        mmax = istep;
    }
}

void RealFFT(double* data, unsigned long n, int isign) {
    double theta = -3.141592653589793 / static_cast<double>(n);
    double c1 = 0.5;
    double c2 = -0.5;
    ComplexFFT(data, n, isign);
    double wtemp = std::sin(0.5 * theta);
    double wpr = -2.0 * wtemp * wtemp;
    double wpi = std::sin(theta);
    double wr = 1.0 + wpr;
    double wi = wpi;
    for (unsigned long k = 1; k < n / 2; ++k) {
        unsigned long i1 = 2 * k;
        unsigned long i3 = 2 * n - 2 * k;
        double h1r = c1 * (data[i1] + data[i3]);
        double h1i = c1 * (data[i1 + 1] - data[i3 + 1]);
        double h2r = -c2 * (data[i1 + 1] + data[i3 + 1]);
        double h2i = c2 * (data[i1] - data[i3]);
        data[i1] = h1r + wr * h2r - wi * h2i;
        data[i1 + 1] = h1i + wr * h2i + wi * h2r;
        data[i3] = h1r - wr * h2r + wi * h2i;
        data[i3 + 1] = -h1i + wr * h2i + wi * h2r;
        wr = (wtemp = wr) * wpr - wi * wpi + wr;
        wi = wi * wpr + wtemp * wpi + wi;
    }
    double h1r = data[0];
    data[0] = h1r + data[1];
    data[1] = h1r - data[1];
}

void MakeWindow(int length, int windowChoice, double* w) {
    int m = length - 1;
    for (int j = 0; j <= m; ++j) {
        switch (windowChoice) {
            case 0:
                w[j] = 0.54 - 0.46 * std::cos(6.28318530717959 * j / m);
                break;
            case 1:
                w[j] = 0.5 - 0.5 * std::cos(6.28318530717959 * j / m);
                break;
            case 3:
                w[j] = 0.42 - 0.5 * std::cos(6.28318530717959 * j / m) +
                       0.08 * std::cos(12.56637061435918 * j / m);
                break;
            case 4:
                w[j] = j <= m / 2 ? 2.0 * j / m : 2.0 - 2.0 * j / m;
                break;
            default:
                w[j] = 1.0;
                break;
        }
    }
}

namespace {

void ExtractFrame(const std::vector<std::int16_t>& samples, int i, int hop, int length,
                  std::int16_t* frame) {
    long start = static_cast<long>(i) * hop;
    long end = std::min<long>(start + length, static_cast<long>(samples.size()));
    int j = 0;
    for (long s = start; s < end; ++s) frame[j++] = samples[s];
    for (; j < length; ++j) frame[j] = 0;
}

}  // namespace

std::uint8_t GreyValue(double p, float powerMin, float powerMax) {
    double db = 10.0 * std::log10(p);
    if (db > powerMax || std::isnan(db)) db = powerMax;
    if (db < powerMin) db = powerMin;
    int v = 0;
    if (powerMax > powerMin) {
        double range = static_cast<double>(powerMax) - static_cast<double>(powerMin);
        double x = std::floor((db - powerMin) * 255 / range + 0.5);
        v = x < 0 ? 0 : x > 255 ? 255 : static_cast<int>(x);
    }
    return static_cast<std::uint8_t>(255 - v);
}

namespace {

void ComputeColumn(const std::int16_t* frame, std::uint8_t* column, double* fftBuffer,
                   const double* window, int length, int n, float powerMin, float powerMax) {
    int count = std::min(length, n);
    for (int j = 0; j < count; ++j) fftBuffer[j] = frame[j] * window[j];
    for (int j = count; j <= n + 1; ++j) fftBuffer[j] = 0;
    RealFFT(fftBuffer, n / 2, 1);
    for (int k = 0; k < n / 2; ++k) {
        double p = k == 0 ? fftBuffer[0] * fftBuffer[0]
                          : fftBuffer[2 * k] * fftBuffer[2 * k] +
                                fftBuffer[2 * k + 1] * fftBuffer[2 * k + 1];
        column[k] = GreyValue(p, powerMin, powerMax);
    }
}

}  // namespace

std::vector<std::uint8_t> ComputeGrid(const std::vector<std::int16_t>& samples,
                                      const sonolux::SpectrogramParameters& parameters,
                                      const sonolux::SpectrogramGeometry& geometry) {
    const int length = geometry.frameLength;
    const int n = geometry.fftSize;
    const int bins = n / 2;
    std::vector<std::int16_t> frame(length);
    std::vector<double> window(length);
    std::vector<double> fftBuffer(n + 2);
    std::vector<std::uint8_t> grid(static_cast<std::size_t>(geometry.frameCount) * bins);
    MakeWindow(length, parameters.windowFunctionChoice, window.data());
    for (int i = 0; i < geometry.frameCount; ++i) {
        ExtractFrame(samples, i, geometry.hop, length, frame.data());
        ComputeColumn(frame.data(), &grid[static_cast<std::size_t>(i) * bins], fftBuffer.data(),
                      window.data(), length, n, parameters.powerMin, parameters.powerMax);
    }
    return grid;
}

}  // namespace literal
