#include "suggest/FolderSuggestions.h"

#include <utility>

#include "suggest/ExampleFiles.h"

FolderSuggestions::FolderSuggestions(AnalyseFunction analyse, int threads)
    : m_analyse(std::move(analyse)), m_threads(threads) {}

void FolderSuggestions::Learn(const QStringList& folders) {
    QStringList paths;
    QStringList owners;
    for (const QString& folder : folders) {
        for (const QString& path : ExampleFiles::MostRecent(folder)) {
            paths.append(path);
            owners.append(folder);
        }
    }
    const std::vector<WaveFingerprint> fingerprints = AnalyseAll(paths, m_analyse, m_threads);
    for (std::size_t i = 0; i < fingerprints.size(); ++i)
        m_model.AddExample(owners[static_cast<qsizetype>(i)], fingerprints[i]);
}

void FolderSuggestions::Teach(const QString& path, const QString& folder) {
    m_model.AddExample(folder, m_analyse(path));
}

void FolderSuggestions::Unteach(const QString& path, const QString& folder) {
    m_model.RemoveExample(folder, m_analyse(path));
}

std::vector<Suggestion> FolderSuggestions::Suggest(const QStringList& paths,
                                                   double emptyThresholdDb) const {
    std::vector<Suggestion> suggestions;
    for (const WaveFingerprint& fingerprint : AnalyseAll(paths, m_analyse, m_threads))
        suggestions.push_back(m_model.Suggest(fingerprint, emptyThresholdDb));
    return suggestions;
}
