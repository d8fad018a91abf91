#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace sonolux {

// The grey value of one frequency bin: `power` is |X_k|^2 of the unnormalised
// transform; the level 10 log10(power) dB is clipped to powerMax, then to powerMin,
// and scaled so that powerMin and below give 255 (white) and powerMax and above 0
// (black). powerMax <= powerMin gives 255; a range that yields no number gives 255.
std::uint8_t GreyValueOfPower(double power, float powerMin, float powerMax);

// GreyValueOfPower for one power range, without a logarithm per bin: the 255 power
// thresholds at which the grey value steps are computed once, and a bin's value is
// the number of thresholds its power reaches. A power within a relative 1e-9 of a
// threshold, where rounding in the logarithm could decide, and ranges outside
// -1000 .. 1000 dB or not finite, take GreyValueOfPower itself, so the result is
// always exactly GreyValueOfPower(power, powerMin, powerMax).
class GreyScale {
public:
    GreyScale(float powerMin, float powerMax);

    // `power` >= 0.
    std::uint8_t operator()(double power) const {
        if (m_mode != Mode::Thresholds) {
            return m_mode == Mode::AllWhite ? 255 : GreyValueOfPower(power, m_powerMin, m_powerMax);
        }
        const std::int64_t bucket = std::clamp<std::int64_t>(
            static_cast<std::int64_t>(BucketKey(power)) - m_firstBucketKey, 0, m_lastBucket);
        const std::uint16_t entry = m_buckets[static_cast<std::size_t>(bucket)];
        // Most buckets lie wholly inside one level, clear of its guard bands.
        if (entry & Settled) return static_cast<std::uint8_t>(255 - (entry & LevelBits));
        int level = entry & LevelBits;
        // Buckets are narrower than the steps, so one comparison almost always settles it.
        level += power >= m_below[level + 1];
        while (power >= m_below[level + 1]) ++level;
        if (power < m_above[level]) return GreyValueOfPower(power, m_powerMin, m_powerMax);
        return static_cast<std::uint8_t>(255 - level);
    }

private:
    enum class Mode { AllWhite, Thresholds, Literal };
    static constexpr int Levels = 255;
    static constexpr std::uint16_t LevelBits = 0xFF;
    static constexpr std::uint16_t Settled = 0x100;

    // The exponent and the top mantissa bits of a non-negative power: buckets of
    // equal width on a logarithmic scale.
    std::uint64_t BucketKey(double power) const {
        std::uint64_t bits;
        std::memcpy(&bits, &power, sizeof bits);
        return bits >> m_bucketShift;
    }
    void BuildThresholds();
    void BuildBuckets();

    float m_powerMin;
    float m_powerMax;
    Mode m_mode = Mode::Literal;
    // m_below[v] and m_above[v]: just below and just above the power at which the grey
    // level v (1 .. 255) begins; m_above[0] is 0 and m_below[256] infinite.
    double m_below[Levels + 2] = {};
    double m_above[Levels + 1] = {};
    int m_bucketShift = 48;
    std::int64_t m_firstBucketKey = 0;
    std::int64_t m_lastBucket = 0;
    // Per bucket: the levels whose m_below its start reaches, and Settled when every
    // power of the bucket has that level and lies above its m_above.
    std::vector<std::uint16_t> m_buckets;
};

}  // namespace sonolux
