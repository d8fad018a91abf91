#include "suggest/ParallelAnalysis.h"

#include <algorithm>
#include <atomic>
#include <thread>

std::vector<WaveFingerprint> AnalyseAll(const QStringList& paths, const AnalyseFunction& analyse,
                                        int threads) {
    std::vector<WaveFingerprint> fingerprints(static_cast<std::size_t>(paths.size()));
    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::min<int>(threads, static_cast<int>(paths.size()));
    std::atomic<qsizetype> next{0};
    // Each slot is written by the one thread that took its index.
    const auto work = [&] {
        for (qsizetype i = next++; i < paths.size(); i = next++)
            fingerprints[static_cast<std::size_t>(i)] = analyse(paths[i]);
    };
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t) workers.emplace_back(work);
    work();
    for (std::thread& worker : workers) worker.join();
    return fingerprints;
}
