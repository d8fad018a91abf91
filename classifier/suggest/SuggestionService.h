#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "suggest/AnalysisCache.h"
#include "suggest/FolderSuggestions.h"

class SafeFileWriter;

// The folders' suggestions for a window that must never wait for them. Learning,
// teaching and suggesting run in order on a worker thread of their own (analysis on
// every core), and each suggestion comes back to the thread that made the service
// through a queued signal, as soon as its recording is analysed. Every request for
// suggestions starts a new generation: what an older one still finds is dropped
// before it is analysed where it can be, and is marked stale when it arrives anyway.
class SuggestionService : public QObject {
    Q_OBJECT
public:
    // `analyse` must be safe on several threads; its results are kept in the cache
    // at `cachePath` (read first thing on the worker, written when learning is done
    // and by Close). `writer` must outlive
    // the service.
    SuggestionService(AnalyseFunction analyse, const QString& cachePath, int analysisVersion,
                      SafeFileWriter& writer, QObject* parent = nullptr);
    // Stops the work in hand (analyses already started finish) and keeps the cache.
    ~SuggestionService() override;

    // Forgets what was learned and learns `folders` anew; the cache is kept once
    // learning is done.
    void Learn(const QStringList& folders);
    // The recording at `path`, just moved into `folder` (as given to Learn), is an
    // example from now on.
    void Teach(const QString& path, const QString& folder);
    // The recording at `path` has left `folder`: an undone move must not leave
    // its recording suggesting the folder it was taken back from.
    void Unteach(const QString& path, const QString& folder);
    // Suggestions for `paths`, each delivered by Suggested; returns their
    // generation, which makes every earlier one stale.
    quint64 Suggest(const QStringList& paths, double emptyThresholdDb);
    // Makes every earlier request for suggestions stale, asking for none.
    quint64 Drop();
    quint64 Generation() const { return m_generation.load(); }

    // Blocks until every request made so far is done (for tests and for the end
    // of a run; the window never calls it while it runs).
    void WaitUntilIdle();
    // Stops the worker and writes the cache; returns the failure, or "".
    QString Close();

signals:
    // `folder` is one of the learned folders, or empty: `likelyEmpty` then says
    // whether the recording is likely empty.
    void Suggested(quint64 generation, const QString& path, const QString& folder,
                   bool likelyEmpty);
    // Learning is done and the cache was written, or not (`saveFailure`).
    void Learned(const QString& saveFailure);

private:
    using Task = std::function<void()>;
    void Post(Task task);
    void Run();
    void SuggestAll(quint64 generation, const QStringList& paths, double emptyThresholdDb);
    QString SaveCache();

    AnalysisCache m_cache;
    SafeFileWriter& m_writer;
    std::atomic<bool> m_stopping{false};
    std::atomic<quint64> m_generation{0};
    std::unique_ptr<FolderSuggestions> m_suggestions;  // the worker's alone
    AnalyseFunction m_analyse;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Task> m_tasks;
    bool m_busy = false;
    bool m_closed = false;
    std::thread m_worker;
};
