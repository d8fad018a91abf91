#include "WaveBatch.h"

#include <QFile>
#include <algorithm>
#include <filesystem>
#include <queue>
#include <system_error>
#include <vector>

#include "FileSystem.h"

namespace WaveBatch {
namespace {

struct Candidate {
    QString folded;  // the name in case-folded form, compared first
    QString name;

    bool operator<(const Candidate& other) const {
        const int byFold = folded.compare(other.folded);
        if (byFold != 0) return byFold < 0;
        return name.compare(other.name) < 0;
    }
};

bool IsRegularFile(const std::filesystem::directory_entry& entry) {
    std::error_code error;
    return entry.is_regular_file(error);
}

}  // namespace

bool IsBatchFileName(const QString& name) {
    return name.endsWith(QLatin1String(".wav"), Qt::CaseSensitive);
}

QStringList FirstWaveFiles(const QString& folder, int capacity, bool* listed) {
    if (listed) *listed = false;
    std::error_code error;
    std::filesystem::directory_iterator entries(QFile::encodeName(folder).toStdString(), error);
    if (error) return {};

    // A max-heap of the smallest names seen so far: its top is the one to drop.
    std::priority_queue<Candidate> smallest;
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        if (capacity <= 0) break;
        const QString name = QFile::decodeName(entries->path().filename().native().c_str());
        if (!IsBatchFileName(name) || !IsRegularFile(*entries)) continue;
        Candidate candidate{name.toCaseFolded(), name};
        if (static_cast<int>(smallest.size()) < capacity) {
            smallest.push(std::move(candidate));
        } else if (candidate < smallest.top()) {
            smallest.pop();
            smallest.push(std::move(candidate));
        }
    }
    if (error) return {};
    if (listed) *listed = true;

    std::vector<Candidate> ordered;
    ordered.reserve(smallest.size());
    for (; !smallest.empty(); smallest.pop()) ordered.push_back(smallest.top());
    std::reverse(ordered.begin(), ordered.end());
    QStringList paths;
    paths.reserve(static_cast<qsizetype>(ordered.size()));
    for (const Candidate& candidate : ordered)
        paths.append(FileSystem::BuildPath(folder, candidate.name));
    return paths;
}

}  // namespace WaveBatch
