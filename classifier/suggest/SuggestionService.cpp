#include "suggest/SuggestionService.h"

#include <utility>

SuggestionService::SuggestionService(AnalyseFunction analyse, const QString& cachePath,
                                     int analysisVersion, SafeFileWriter& writer, QObject* parent)
    : QObject(parent), m_cache(cachePath, analysisVersion), m_writer(writer) {
    // Outside the cache: a recording left unanalysed because the run ends must not
    // be kept as one that cannot be analysed.
    m_analyse = [this, cached = m_cache.Cached(std::move(analyse))](const QString& path) {
        if (m_stopping.load()) return WaveFingerprint{};
        return cached(path);
    };
    m_suggestions = std::make_unique<FolderSuggestions>(m_analyse);
    m_worker = std::thread([this] { Run(); });
    // A large cache takes a moment to read: not on the window's thread.
    Post([this] { m_cache.Load(); });
}

SuggestionService::~SuggestionService() {
    Close();
}

void SuggestionService::Post(Task task) {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_closed) return;
        m_tasks.push_back(std::move(task));
    }
    m_wake.notify_one();
}

void SuggestionService::Run() {
    for (;;) {
        Task task;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_busy = false;
            m_idle.notify_all();
            m_wake.wait(lock, [this] { return m_stopping.load() || !m_tasks.empty(); });
            if (m_stopping.load()) return;
            task = std::move(m_tasks.front());
            m_tasks.pop_front();
            m_busy = true;
        }
        task();
    }
}

void SuggestionService::Learn(const QStringList& folders) {
    Post([this, folders] {
        m_suggestions = std::make_unique<FolderSuggestions>(m_analyse);
        m_suggestions->Learn(folders);
        if (m_stopping.load()) return;
        emit Learned(SaveCache());
    });
}

void SuggestionService::Teach(const QString& path, const QString& folder) {
    Post([this, path, folder] { m_suggestions->Teach(path, folder); });
}

void SuggestionService::Unteach(const QString& path, const QString& folder) {
    Post([this, path, folder] { m_suggestions->Unteach(path, folder); });
}

quint64 SuggestionService::Suggest(const QStringList& paths, double emptyThresholdDb) {
    const quint64 generation = ++m_generation;
    Post([this, generation, paths, emptyThresholdDb] {
        SuggestAll(generation, paths, emptyThresholdDb);
    });
    return generation;
}

quint64 SuggestionService::Drop() {
    return ++m_generation;
}

void SuggestionService::SuggestAll(quint64 generation, const QStringList& paths,
                                   double emptyThresholdDb) {
    // As many at a time as there are cores: each one's badge shows as soon as
    // its few neighbours are done, and a newer request waits for one round at most.
    const qsizetype chunk = std::max(1u, std::thread::hardware_concurrency());
    for (qsizetype start = 0; start < paths.size(); start += chunk) {
        if (m_stopping.load() || m_generation.load() != generation) return;
        const QStringList some = paths.mid(start, chunk);
        const std::vector<Suggestion> found = m_suggestions->Suggest(some, emptyThresholdDb);
        for (std::size_t i = 0; i < found.size(); ++i) {
            emit Suggested(generation, some[static_cast<qsizetype>(i)], found[i].folder,
                           found[i].likelyEmpty);
        }
    }
}

void SuggestionService::WaitUntilIdle() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this] { return m_closed || (!m_busy && m_tasks.empty()); });
}

QString SuggestionService::SaveCache() {
    return m_cache.Save(m_writer);
}

QString SuggestionService::Close() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_closed) return {};
        m_closed = true;
        m_tasks.clear();
        m_stopping = true;
    }
    m_wake.notify_all();
    m_idle.notify_all();
    if (m_worker.joinable()) m_worker.join();
    return SaveCache();
}
