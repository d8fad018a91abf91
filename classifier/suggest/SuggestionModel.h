#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "host/WaveFingerprint.h"

// Where a recording probably belongs, learned from the recordings already sorted:
// the folder of its nearest examples, or "likely empty", or nothing.
struct Suggestion {
    QString folder;            // empty when there is no suggestion
    double confidence = 0.0;   // the folder's share of the neighbours' weight, 0 .. 1
    double margin = 0.0;       // its lead over the next folder's share
    bool likelyEmpty = false;  // too quiet, and no folder confident
};

// Weighted nearest neighbours over the examples' fingerprints, each feature
// standardised over all examples. Not thread-safe: learn first, then suggest.
class SuggestionModel {
public:
    static constexpr int Neighbours = 5;
    // A folder with fewer examples is never suggested.
    static constexpr int MinimumExamples = 3;
    // Below this lead of the best folder over the second (as a share of the
    // neighbours' weight) the neighbours disagree too much to suggest either.
    static constexpr double MinimumMargin = 0.3;
    // A quiet recording (below the empty threshold) needs this lead instead.
    static constexpr double ConfidentMargin = 0.7;
    static constexpr double DefaultEmptyThresholdDb = 6.0;

    // One example more, at once; a fingerprint of another length or not analysed is
    // ignored. Returns whether it was taken.
    bool AddExample(const QString& folder, const WaveFingerprint& fingerprint);
    // Takes back one example of `folder` with exactly this fingerprint (the same
    // recording, wherever it is now). Returns whether there was one.
    bool RemoveExample(const QString& folder, const WaveFingerprint& fingerprint);
    int ExampleCount() const { return static_cast<int>(m_examples.size()); }
    int ExampleCount(const QString& folder) const;
    // The examples of `folder` below `thresholdDb`.
    int QuietExampleCount(const QString& folder, double thresholdDb) const;

    Suggestion Suggest(const WaveFingerprint& fingerprint,
                       double emptyThresholdDb = DefaultEmptyThresholdDb) const;

private:
    struct Example {
        int folder;
        float activityDb;
        std::vector<float> features;
    };
    Suggestion Nearest(const std::vector<float>& features) const;
    void Standardise();
    void WeighByRelevance(const std::vector<double>& totalVariance);

    QStringList m_folders;
    std::vector<int> m_folderCounts;
    std::vector<Example> m_examples;
    std::vector<double> m_mean;
    std::vector<double> m_scale;  // 1 / standard deviation, 0 for a feature that never varies
};
