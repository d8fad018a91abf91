#include "engine/AutoContrast.h"

#include <algorithm>
#include <cmath>

namespace sonolux {

GreyRange AutoContrastRange(const PowerGrid& powers) {
    std::vector<double> heard;
    heard.reserve(powers.size());
    for (double power : powers) {
        if (power > 0.0) heard.push_back(power);
    }
    if (heard.empty()) return {};
    const auto middle = heard.begin() + static_cast<std::ptrdiff_t>(heard.size() / 2);
    std::nth_element(heard.begin(), middle, heard.end());
    const double backgroundDb = 10.0 * std::log10(*middle);
    const double loudestDb = 10.0 * std::log10(*std::max_element(middle, heard.end()));
    GreyRange range;
    range.whiteDb = static_cast<float>(backgroundDb - BackgroundMarginDb);
    range.blackDb = static_cast<float>(std::max(loudestDb, backgroundDb + MinimumRiseDb));
    return range;
}

}  // namespace sonolux
