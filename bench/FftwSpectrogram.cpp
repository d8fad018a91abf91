#include "bench/FftwSpectrogram.h"

#include <algorithm>

#include "engine/GreyScale.h"
#include "engine/SpectrogramWindow.h"

FftwSpectrogram::FftwSpectrogram(const sonolux::SpectrogramParameters& parameters,
                                 std::size_t sampleCount, const QSize& controlSizePx)
    : m_parameters(parameters),
      m_geometry(sonolux::ComputeGeometry(parameters, sampleCount, controlSizePx.width(),
                                          controlSizePx.height())),
      m_window(static_cast<std::size_t>(m_geometry.frameLength)) {
    sonolux::MakeWindow(m_geometry.frameLength, parameters.windowFunctionChoice, m_window.data());
    const int n = m_geometry.fftSize;
    m_in = fftw_alloc_real(static_cast<std::size_t>(n));
    m_out = fftw_alloc_complex(static_cast<std::size_t>(n / 2 + 1));
    m_plan = fftw_plan_dft_r2c_1d(n, m_in, m_out, FFTW_MEASURE);
}

FftwSpectrogram::~FftwSpectrogram() {
    fftw_destroy_plan(m_plan);
    fftw_free(m_out);
    fftw_free(m_in);
}

void FftwSpectrogram::Build(const std::vector<std::int16_t>& samples) {
    static const QVector<QRgb> greyRamp = [] {
        QVector<QRgb> table(256);
        for (int i = 0; i < 256; ++i) table[i] = qRgb(i, i, i);
        return table;
    }();
    const sonolux::SpectrogramGeometry& g = m_geometry;
    m_image = QImage((g.frameCount + 3) & ~3, g.binCount, QImage::Format_Indexed8);
    m_image.setColorTable(greyRamp);
    m_image.fill(255);
    uchar* bottomRow = m_image.scanLine(g.binCount - 1);
    const qsizetype stride = m_image.bytesPerLine();
    const std::int64_t used = std::min(g.frameLength, g.fftSize);
    for (std::int32_t i = 0; i < g.frameCount; ++i) {
        const std::int64_t start = static_cast<std::int64_t>(i) * g.hop;
        const std::int64_t present =
            std::clamp<std::int64_t>(static_cast<std::int64_t>(samples.size()) - start, 0, used);
        for (std::int64_t j = 0; j < present; ++j) m_in[j] = samples[start + j] * m_window[j];
        std::fill(m_in + present, m_in + g.fftSize, 0.0);
        fftw_execute(m_plan);
        uchar* pixel = bottomRow + i;
        for (std::int32_t k = 0; k < g.binCount; ++k, pixel -= stride) {
            const double power = k == 0 ? m_out[0][0] * m_out[0][0]
                                        : m_out[k][0] * m_out[k][0] + m_out[k][1] * m_out[k][1];
            *pixel = sonolux::GreyValueOfPower(power, m_parameters.powerMin, m_parameters.powerMax);
        }
    }
}
