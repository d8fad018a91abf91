#include "suggest/AnalysisCache.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cstring>
#include <tuple>
#include <utility>

#include "files/SafeFileWriter.h"

namespace {

constexpr char Magic[] = "CORVANE-ANALYSES";  // 16 bytes without its NUL
constexpr std::size_t MagicSize = sizeof Magic - 1;
constexpr std::uint32_t FormatVersion = 1;
constexpr std::size_t HeaderSize = MagicSize + 4 * 4;
constexpr std::uint32_t MostFeatures = 64;

std::size_t EntrySize(std::uint32_t featureCount) {
    return 6 * 8 + 4 + 4 * featureCount;
}

template <typename T>
void Put(QByteArray& bytes, T value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <typename T>
T Take(const char*& at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    at += sizeof value;
    return value;
}

std::int64_t Nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

}  // namespace

bool AnalysisCache::Key::operator<(const Key& other) const {
    return std::tie(device, inode, size, modified, changed) <
           std::tie(other.device, other.inode, other.size, other.modified, other.changed);
}

QString AnalysisCache::DefaultPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
        .filePath(QStringLiteral("Corvane/analyses.bin"));
}

AnalysisCache::AnalysisCache(QString path, int analysisVersion, std::size_t capacity)
    : m_path(std::move(path)), m_version(analysisVersion), m_capacity(capacity) {}

std::optional<AnalysisCache::Key> AnalysisCache::KeyOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    Key key;
    key.device = static_cast<std::uint64_t>(status.st_dev);
    key.inode = static_cast<std::uint64_t>(status.st_ino);
    key.size = static_cast<std::int64_t>(status.st_size);
    key.modified = Nanoseconds(status.st_mtim);
    key.changed = Nanoseconds(status.st_ctim);
    return key;
}

void AnalysisCache::Load() {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) return;
    // No more than a full cache of the largest entries is ever read.
    const qint64 largest = static_cast<qint64>(HeaderSize + m_capacity * EntrySize(MostFeatures));
    if (file.size() < static_cast<qint64>(HeaderSize) || file.size() > largest) return;
    const QByteArray bytes = file.read(largest);
    if (bytes.size() < static_cast<qsizetype>(HeaderSize) ||
        std::memcmp(bytes.constData(), Magic, MagicSize) != 0)
        return;
    const char* at = bytes.constData() + MagicSize;
    const auto format = Take<std::uint32_t>(at);
    const auto version = Take<std::int32_t>(at);
    const auto count = Take<std::uint32_t>(at);
    const auto featureCount = Take<std::uint32_t>(at);
    if (format != FormatVersion || version != m_version || featureCount > MostFeatures ||
        count > m_capacity ||
        static_cast<std::size_t>(bytes.size()) != HeaderSize + count * EntrySize(featureCount))
        return;
    std::map<Key, Entry> entries;
    std::uint64_t clock = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        Key key;
        key.device = Take<std::uint64_t>(at);
        key.inode = Take<std::uint64_t>(at);
        key.size = Take<std::int64_t>(at);
        key.modified = Take<std::int64_t>(at);
        key.changed = Take<std::int64_t>(at);
        Entry entry;
        entry.lastUse = Take<std::uint64_t>(at);
        entry.activityDb = Take<float>(at);
        entry.features.resize(featureCount);
        for (float& feature : entry.features) feature = Take<float>(at);
        clock = std::max(clock, entry.lastUse);
        entries[key] = std::move(entry);
    }
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_entries = std::move(entries);
    m_clock = clock;
}

QString AnalysisCache::Save(SafeFileWriter& writer) {
    QByteArray bytes;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::pair<const Key*, const Entry*>> kept;
        std::uint32_t featureCount = 0;
        for (const auto& [key, entry] : m_entries) {
            if (kept.empty()) featureCount = static_cast<std::uint32_t>(entry.features.size());
            if (entry.features.size() == featureCount) kept.emplace_back(&key, &entry);
        }
        if (kept.size() > m_capacity) {  // the most recently used stay
            std::nth_element(
                kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(m_capacity), kept.end(),
                [](const auto& a, const auto& b) { return a.second->lastUse > b.second->lastUse; });
            kept.resize(m_capacity);
        }
        bytes.reserve(static_cast<qsizetype>(HeaderSize + kept.size() * EntrySize(featureCount)));
        bytes.append(Magic, MagicSize);
        Put(bytes, FormatVersion);
        Put(bytes, static_cast<std::int32_t>(m_version));
        Put(bytes, static_cast<std::uint32_t>(kept.size()));
        Put(bytes, featureCount);
        for (const auto& [key, entry] : kept) {
            Put(bytes, key->device);
            Put(bytes, key->inode);
            Put(bytes, key->size);
            Put(bytes, key->modified);
            Put(bytes, key->changed);
            Put(bytes, entry->lastUse);
            Put(bytes, entry->activityDb);
            for (float feature : entry->features) Put(bytes, feature);
        }
    }
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return QStringLiteral("cannot make the folder of %1").arg(m_path);
    return writer.WriteFile(m_path, bytes);
}

std::optional<WaveFingerprint> AnalysisCache::Find(const QString& path) {
    const std::optional<Key> key = KeyOf(path);
    if (!key) return std::nullopt;
    return FindAt(*key);
}

std::optional<WaveFingerprint> AnalysisCache::FindAt(const Key& key) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_entries.find(key);
    if (found == m_entries.end()) return std::nullopt;
    found->second.lastUse = ++m_clock;
    WaveFingerprint fingerprint;
    fingerprint.analysed = true;
    fingerprint.status = QStringLiteral("analysed");
    fingerprint.version = m_version;
    fingerprint.activityDb = found->second.activityDb;
    fingerprint.features = found->second.features;
    return fingerprint;
}

void AnalysisCache::Store(const QString& path, const WaveFingerprint& fingerprint) {
    if (const std::optional<Key> key = KeyOf(path)) StoreAt(*key, fingerprint);
}

void AnalysisCache::StoreAt(const Key& key, const WaveFingerprint& fingerprint) {
    if (!fingerprint.analysed || fingerprint.version != m_version ||
        fingerprint.features.size() > MostFeatures)
        return;
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_entries[key] = Entry{fingerprint.activityDb, fingerprint.features, ++m_clock};
}

AnalyseFunction AnalysisCache::Cached(AnalyseFunction analyse) {
    return [this, analyse = std::move(analyse)](const QString& path) {
        const std::optional<Key> before = KeyOf(path);
        if (before) {
            if (std::optional<WaveFingerprint> kept = FindAt(*before)) return *kept;
        }
        WaveFingerprint fingerprint = analyse(path);
        // A file that changed while it was read keeps no entry: its analysis may
        // mix two versions of it.
        const std::optional<Key> after = KeyOf(path);
        if (before && after && !(*before < *after) && !(*after < *before))
            StoreAt(*before, fingerprint);
        return fingerprint;
    };
}

std::size_t AnalysisCache::Size() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_entries.size();
}
