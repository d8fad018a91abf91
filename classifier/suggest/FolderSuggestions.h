#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "suggest/ParallelAnalysis.h"
#include "suggest/SuggestionModel.h"

// "Let the folders teach": the recordings already in the bound folders are the
// examples, and each unsorted recording gets the folder of its nearest examples.
class FolderSuggestions {
public:
    // `analyse` must be safe on several threads; `threads` as AnalyseAll takes it.
    explicit FolderSuggestions(AnalyseFunction analyse, int threads = 0);

    // Takes each folder's most recent recordings as its examples.
    void Learn(const QStringList& folders);
    // A recording just moved into `folder` teaches at once.
    void Teach(const QString& path, const QString& folder);
    // The recording at `path` is no longer one of `folder`'s examples.
    void Unteach(const QString& path, const QString& folder);
    // A suggestion for each of `paths`, in their order.
    std::vector<Suggestion> Suggest(
        const QStringList& paths,
        double emptyThresholdDb = SuggestionModel::DefaultEmptyThresholdDb) const;

    const SuggestionModel& Model() const { return m_model; }

private:
    AnalyseFunction m_analyse;
    int m_threads;
    SuggestionModel m_model;
};
