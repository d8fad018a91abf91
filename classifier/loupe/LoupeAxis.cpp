#include "loupe/LoupeAxis.h"

#include <algorithm>
#include <cmath>

namespace {

// Digits a label may carry after the point: finer steps than this are never
// worth labelling, and the loops below must end.
constexpr int MostDecimals = 6;

double PowerOfTen(int exponent) {
    return std::pow(10.0, std::abs(exponent));
}

}  // namespace

LoupeAxis::LoupeAxis(double high, double pixelAtZero, double pixelAtHigh)
    : m_high(std::isfinite(high) && high > 0 ? high : 0),
      m_pixelAtZero(pixelAtZero),
      m_pixelAtHigh(pixelAtHigh) {}

double LoupeAxis::Length() const {
    return std::abs(m_pixelAtHigh - m_pixelAtZero);
}

double LoupeAxis::PixelOf(double value) const {
    if (m_high <= 0) return m_pixelAtZero;
    return m_pixelAtZero + value / m_high * (m_pixelAtHigh - m_pixelAtZero);
}

double LoupeAxis::ValueAt(double pixel) const {
    if (m_high <= 0 || m_pixelAtHigh == m_pixelAtZero) return 0;
    const double across = (pixel - m_pixelAtZero) / (m_pixelAtHigh - m_pixelAtZero);
    return std::clamp(across, 0.0, 1.0) * m_high;
}

QString LoupeAxis::ValueText(double value) const {
    int decimals = 0;
    if (m_high > 0 && Length() > 0) {
        const double perPixel = m_high / Length();
        decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(perPixel))), 0, MostDecimals);
    }
    return QString::number(value, 'f', decimals);
}

double LoupeAxis::Step::Times(double k) const {
    // Divided by an exact power of ten, 6 x 0.05 is 0.3 and not 0.30000000000000004.
    return exponent >= 0 ? k * mantissa * PowerOfTen(exponent)
                         : k * mantissa / PowerOfTen(exponent);
}

LoupeAxis::Step LoupeAxis::Step::Next() const {
    if (mantissa == 1) return {2, exponent};
    if (mantissa == 2) return {5, exponent};
    return {1, exponent + 1};
}

LoupeAxis::Step LoupeAxis::SmallestStepOf(double least) {
    Step step{1, -MostDecimals};
    if (!(least > step.Times(1))) return step;
    step.exponent = static_cast<int>(std::floor(std::log10(least)));
    while (step.Times(1) < least) step = step.Next();
    return step;
}

std::vector<LoupeAxis::Tick> LoupeAxis::TicksAt(Step step) const {
    // A step that divides High() exactly reaches it despite rounding.
    const auto count = static_cast<long long>(std::floor(m_high / step.Times(1) * (1 + 1e-12)));
    const int decimals = std::max(0, -step.exponent);
    std::vector<Tick> ticks;
    ticks.reserve(static_cast<std::size_t>(count) + 1);
    for (long long k = 0; k <= count; ++k) {
        const double value = std::min(step.Times(static_cast<double>(k)), m_high);
        ticks.push_back({value, PixelOf(value), QString::number(value, 'f', decimals)});
    }
    return ticks;
}

bool LoupeAxis::LabelsFit(const std::vector<Tick>& ticks, const LabelExtent& extent, double gap) {
    for (std::size_t i = 1; i < ticks.size(); ++i) {
        const double room = std::abs(ticks[i].pixel - ticks[i - 1].pixel);
        if (room < (extent(ticks[i - 1].label) + extent(ticks[i].label)) / 2 + gap) return false;
    }
    return true;
}

std::vector<LoupeAxis::Tick> LoupeAxis::Ticks(const LabelExtent& extent, double gap) const {
    if (m_high <= 0 || Length() <= 0) return {};
    gap = std::max(gap, 1.0);
    // Ticks closer than the gap cannot fit: no finer step is worth trying. A
    // step beyond High() leaves the tick at 0 alone, which always fits.
    Step step = SmallestStepOf(m_high * gap / Length());
    for (;; step = step.Next()) {
        std::vector<Tick> ticks = TicksAt(step);
        if (ticks.size() <= 1 || LabelsFit(ticks, extent, gap)) return ticks;
    }
}
