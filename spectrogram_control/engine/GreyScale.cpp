#include "engine/GreyScale.h"

#include <algorithm>
#include <cmath>

namespace sonolux {
namespace {

// Far wider than the rounding of the logarithm and of the thresholds (about 1e-13
// relative), and narrow enough that almost no bin falls inside it.
constexpr double GuardBand = 1e-9;
constexpr double MaxFastLevelDb = 1000.0;
constexpr double MaxBuckets = 65536;

}  // namespace

std::uint8_t GreyValueOfPower(double power, float powerMin, float powerMax) {
    const double low = powerMin;
    const double high = powerMax;
    double db = 10.0 * std::log10(power);
    if (db > high || std::isnan(db)) db = high;
    if (db < low) db = low;
    if (high <= low) return 255;
    const double scaled = std::floor((db - low) * 255.0 / (high - low) + 0.5);
    // NaN (from an infinite bound) counts as the lowest level.
    const int level = !(scaled >= 0.0) ? 0 : scaled > 255.0 ? 255 : static_cast<int>(scaled);
    return static_cast<std::uint8_t>(255 - level);
}

GreyScale::GreyScale(float powerMin, float powerMax) : m_powerMin(powerMin), m_powerMax(powerMax) {
    const double low = powerMin;
    const double high = powerMax;
    if (high <= low) {
        m_mode = Mode::AllWhite;
    } else if (std::isfinite(low) && std::isfinite(high) && std::fabs(low) <= MaxFastLevelDb &&
               std::fabs(high) <= MaxFastLevelDb) {
        m_mode = Mode::Thresholds;
        BuildThresholds();
        BuildBuckets();
    }
}

void GreyScale::BuildThresholds() {
    const double low = m_powerMin;
    const double range = static_cast<double>(m_powerMax) - low;
    m_below[0] = 0.0;
    m_above[0] = 0.0;
    double previous = 0.0;
    for (int level = 1; level <= Levels; ++level) {
        // Level v begins where (dB - min) * 255 / range + 0.5 reaches v.
        const double db = low + (level - 0.5) * range / 255.0;
        const double threshold = std::max(previous, std::pow(10.0, db / 10.0));
        m_below[level] = threshold * (1.0 - GuardBand);
        m_above[level] = threshold * (1.0 + GuardBand);
        previous = threshold;
    }
    m_below[Levels + 1] = HUGE_VAL;
}

void GreyScale::BuildBuckets() {
    // Mantissa bits per bucket key: buckets at most a quarter of a step wide, so most
    // of them lie inside one level, as long as the table stays small; narrower steps
    // are settled by the comparisons in operator().
    const double stepRatio =
        std::pow(10.0, (static_cast<double>(m_powerMax) - m_powerMin) / 2550.0);
    int mantissaBits = 1;
    while (mantissaBits < 16 && std::ldexp(1.0, -mantissaBits) > (stepRatio - 1.0) / 4)
        ++mantissaBits;
    const double octaves = std::log2(m_above[Levels] / m_below[1]) + 2;
    while (mantissaBits > 1 && octaves * std::ldexp(1.0, mantissaBits) > MaxBuckets) --mantissaBits;
    m_bucketShift = 52 - mantissaBits;

    // The first bucket starts below the first threshold, so it holds level 0.
    m_firstBucketKey = static_cast<std::int64_t>(BucketKey(m_below[1])) - 1;
    m_lastBucket = static_cast<std::int64_t>(BucketKey(m_above[Levels])) - m_firstBucketKey;
    m_buckets.resize(static_cast<std::size_t>(m_lastBucket + 1));
    const auto startOf = [this](std::int64_t bucket) {
        const std::uint64_t bits = static_cast<std::uint64_t>(m_firstBucketKey + bucket)
                                   << m_bucketShift;
        double start;
        std::memcpy(&start, &bits, sizeof start);
        return start;
    };
    int level = 0;
    for (std::int64_t i = 0; i <= m_lastBucket; ++i) {
        const double start = startOf(i);
        while (level < Levels && m_below[level + 1] <= start) ++level;
        auto entry = static_cast<std::uint16_t>(level);
        // The first bucket also takes every smaller power, which is below the first
        // threshold too; the last takes every larger one, so it is never settled.
        const bool settled =
            i < m_lastBucket && m_above[level] <= start && startOf(i + 1) <= m_below[level + 1];
        if (settled) entry |= Settled;
        m_buckets[static_cast<std::size_t>(i)] = entry;
    }
}

}  // namespace sonolux
