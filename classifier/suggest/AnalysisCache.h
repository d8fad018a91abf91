#pragma once

#include <QString>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "host/WaveFingerprint.h"
#include "suggest/ParallelAnalysis.h"

class SafeFileWriter;

// Analyses kept between runs, so a folder analysed once is learned again in
// moments. An entry is found by what identifies one version of one file: device,
// inode, size, modification and status change times, and the analysis version; a
// file changed in any way (even rewritten with the same bytes) is analysed again.
// The cache is one file, read once and written whole (SafeFileWriter) when saved,
// holding at most `capacity` entries, the least recently used dropped first. Its
// contents are checked as hostile input: a damaged file is an empty cache.
// Find, Store and Cached are safe on several threads at once.
class AnalysisCache {
public:
    static constexpr std::size_t DefaultCapacity = 200000;

    // ~/.cache/Corvane/analyses.bin (the user's cache folder).
    static QString DefaultPath();

    AnalysisCache(QString path, int analysisVersion, std::size_t capacity = DefaultCapacity);

    // Reads the cache file; a missing or damaged one leaves the cache empty.
    void Load();
    // Writes the cache file whole, creating its folder; returns the failure, or "".
    QString Save(SafeFileWriter& writer);

    std::optional<WaveFingerprint> Find(const QString& path);
    // Keeps `fingerprint` for the file at `path` as it is now.
    void Store(const QString& path, const WaveFingerprint& fingerprint);
    // `analyse`, answered from the cache when it can and filling it when not.
    AnalyseFunction Cached(AnalyseFunction analyse);

    std::size_t Size() const;

private:
    struct Key {
        std::uint64_t device = 0, inode = 0;
        std::int64_t size = 0, modified = 0, changed = 0;  // times in nanoseconds
        bool operator<(const Key& other) const;
    };
    struct Entry {
        float activityDb = 0.0f;
        std::vector<float> features;
        std::uint64_t lastUse = 0;
    };
    static std::optional<Key> KeyOf(const QString& path);
    std::optional<WaveFingerprint> FindAt(const Key& key);
    void StoreAt(const Key& key, const WaveFingerprint& fingerprint);

    QString m_path;
    int m_version;
    std::size_t m_capacity;
    mutable std::mutex m_mutex;
    std::map<Key, Entry> m_entries;
    std::uint64_t m_clock = 0;  // counts uses, for the least recently used
};
