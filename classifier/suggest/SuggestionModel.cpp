#include "suggest/SuggestionModel.h"

#include <algorithm>
#include <cmath>
#include <utility>

bool SuggestionModel::AddExample(const QString& folder, const WaveFingerprint& fingerprint) {
    if (!fingerprint.analysed || fingerprint.features.empty()) return false;
    if (!m_examples.empty() && fingerprint.features.size() != m_examples.front().features.size())
        return false;
    int index = static_cast<int>(m_folders.indexOf(folder));
    if (index < 0) {
        index = static_cast<int>(m_folders.size());
        m_folders.append(folder);
        m_folderCounts.push_back(0);
    }
    ++m_folderCounts[index];
    m_examples.push_back({index, fingerprint.activityDb, fingerprint.features});
    Standardise();
    return true;
}

bool SuggestionModel::RemoveExample(const QString& folder, const WaveFingerprint& fingerprint) {
    const auto index = static_cast<int>(m_folders.indexOf(folder));
    if (index < 0 || !fingerprint.analysed) return false;
    // Searched from the newest: the example an undo takes back was added last.
    const auto found = std::find_if(m_examples.rbegin(), m_examples.rend(), [&](const Example& e) {
        return e.folder == index && e.features == fingerprint.features;
    });
    if (found == m_examples.rend()) return false;
    m_examples.erase(std::next(found).base());
    --m_folderCounts[index];
    Standardise();
    return true;
}

int SuggestionModel::QuietExampleCount(const QString& folder, double thresholdDb) const {
    const auto index = m_folders.indexOf(folder);
    return static_cast<int>(std::count_if(
        m_examples.begin(), m_examples.end(),
        [&](const Example& e) { return e.folder == index && e.activityDb < thresholdDb; }));
}

int SuggestionModel::ExampleCount(const QString& folder) const {
    const auto index = m_folders.indexOf(folder);
    return index < 0 ? 0 : m_folderCounts[index];
}

// A few thousand examples of a few dozen features: done again in full on every
// example, so a move teaches at once and nothing drifts.
void SuggestionModel::Standardise() {
    if (m_examples.empty()) {
        m_mean.clear();
        m_scale.clear();
        return;
    }
    const std::size_t featureCount = m_examples.front().features.size();
    m_mean.assign(featureCount, 0.0);
    m_scale.assign(featureCount, 0.0);
    for (const Example& example : m_examples)
        for (std::size_t f = 0; f < featureCount; ++f) m_mean[f] += example.features[f];
    for (double& mean : m_mean) mean /= static_cast<double>(m_examples.size());
    std::vector<double> variance(featureCount, 0.0);
    for (const Example& example : m_examples) {
        for (std::size_t f = 0; f < featureCount; ++f) {
            const double d = example.features[f] - m_mean[f];
            variance[f] += d * d;
        }
    }
    for (std::size_t f = 0; f < featureCount; ++f) {
        const double deviation = std::sqrt(variance[f] / static_cast<double>(m_examples.size()));
        m_scale[f] = deviation > 1e-6 ? 1.0 / deviation : 0.0;
    }
    WeighByRelevance(variance);
}

// A feature that tells folders apart (varies between them more than within them)
// counts for more: its standardised difference is multiplied by the square root of
// between / (between + within), Fisher's ratio turned into a share. With one folder
// or a single example each, nothing tells them apart and every feature counts alike.
void SuggestionModel::WeighByRelevance(const std::vector<double>& totalVariance) {
    const std::size_t featureCount = m_mean.size();
    std::vector<std::vector<double>> folderMeans(m_folders.size(),
                                                 std::vector<double>(featureCount, 0.0));
    for (const Example& example : m_examples)
        for (std::size_t f = 0; f < featureCount; ++f)
            folderMeans[example.folder][f] += example.features[f];
    for (std::size_t folder = 0; folder < folderMeans.size(); ++folder)
        for (double& mean : folderMeans[folder]) mean /= m_folderCounts[folder];
    std::vector<double> within(featureCount, 0.0);
    for (const Example& example : m_examples) {
        for (std::size_t f = 0; f < featureCount; ++f) {
            const double d = example.features[f] - folderMeans[example.folder][f];
            within[f] += d * d;
        }
    }
    if (m_folders.size() < 2 || m_examples.size() <= static_cast<std::size_t>(m_folders.size()))
        return;
    for (std::size_t f = 0; f < featureCount; ++f) {
        if (totalVariance[f] <= 0.0) continue;
        // The total is between + within (both summed over all examples).
        const double between = std::max(0.0, totalVariance[f] - within[f]);
        m_scale[f] *= between / totalVariance[f];
    }
}

Suggestion SuggestionModel::Nearest(const std::vector<float>& features) const {
    std::vector<std::pair<double, int>> distances;  // (distance, folder)
    distances.reserve(m_examples.size());
    for (const Example& example : m_examples) {
        double sum = 0.0;
        for (std::size_t f = 0; f < features.size(); ++f) {
            const double d = (features[f] - example.features[f]) * m_scale[f];
            sum += d * d;
        }
        distances.emplace_back(std::sqrt(sum), example.folder);
    }
    const std::size_t k = std::min<std::size_t>(Neighbours, distances.size());
    std::partial_sort(distances.begin(), distances.begin() + k, distances.end());
    std::vector<double> weights(m_folders.size(), 0.0);
    double total = 0.0;
    for (std::size_t i = 0; i < k; ++i) {
        const double weight = 1.0 / (distances[i].first + 1e-3);
        weights[distances[i].second] += weight;
        total += weight;
    }
    int best = 0;
    for (int f = 1; f < static_cast<int>(weights.size()); ++f)
        if (weights[f] > weights[best]) best = f;
    double second = 0.0;
    for (int f = 0; f < static_cast<int>(weights.size()); ++f)
        if (f != best) second = std::max(second, weights[f]);
    Suggestion suggestion;
    suggestion.confidence = weights[best] / total;
    suggestion.margin = (weights[best] - second) / total;
    if (m_folderCounts[best] >= MinimumExamples && suggestion.margin >= MinimumMargin) {
        suggestion.folder = m_folders[best];
    }
    return suggestion;
}

Suggestion SuggestionModel::Suggest(const WaveFingerprint& fingerprint,
                                    double emptyThresholdDb) const {
    Suggestion suggestion;
    if (!fingerprint.analysed) return suggestion;
    if (!m_examples.empty() && fingerprint.features.size() == m_examples.front().features.size())
        suggestion = Nearest(fingerprint.features);
    const bool quiet = fingerprint.activityDb < emptyThresholdDb;
    // Noise alone can lie near a folder's few quiet examples (calls that hardly
    // rose above their background): a quiet recording keeps a suggestion only when
    // its neighbours all but agree on a folder that holds quiet examples enough
    // itself, as a folder of empty recordings does.
    if (quiet && !suggestion.folder.isEmpty() &&
        (suggestion.margin < ConfidentMargin ||
         QuietExampleCount(suggestion.folder, emptyThresholdDb) < MinimumExamples))
        suggestion.folder.clear();
    if (suggestion.folder.isEmpty() && quiet) {
        suggestion.likelyEmpty = true;
        suggestion.confidence = 0.0;
    }
    return suggestion;
}
