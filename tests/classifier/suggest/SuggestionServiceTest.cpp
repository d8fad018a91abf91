// The worker behind the window's suggestions: answers come back by queued signal,
// and a newer request makes an older one stale before its recordings are analysed.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "files/SafeFileWriter.h"
#include "suggest/SuggestionService.h"
#include "tests/support/TempFolder.h"

namespace {

TEST(SuggestionService, ANewerRequestDropsTheOlderOneBeforeItsRecordingsAreAnalysed) {
    TempFolder root;
    SafeFileWriter writer;
    std::mutex gate;
    std::condition_variable changed;
    bool released = false;
    int arrived = 0;
    QStringList analysed;
    const AnalyseFunction analyse = [&](const QString& path) {
        std::unique_lock<std::mutex> lock(gate);
        analysed.append(path);
        if (path.startsWith("/old/")) {
            ++arrived;
            changed.notify_all();
            changed.wait(lock, [&] { return released; });
        }
        WaveFingerprint fingerprint;
        fingerprint.analysed = true;
        fingerprint.version = 1;
        fingerprint.activityDb = 2.0f;  // quiet: likely empty with no folder learned
        fingerprint.features.assign(30, 0.5f);
        return fingerprint;
    };
    const QString cache = QString::fromStdString(root.Path("cache/analyses.bin"));
    SuggestionService service(analyse, cache, 1, writer);
    struct Answer {
        quint64 generation;
        QString path;
        bool likelyEmpty;
    };
    std::vector<Answer> answers;
    QObject::connect(&service, &SuggestionService::Suggested, &service,
                     [&](quint64 generation, const QString& path, const QString&, bool empty) {
                         answers.push_back({generation, path, empty});
                     });

    const int round = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    QStringList old;
    for (int i = 0; i < 4 * round; ++i) old.append(QStringLiteral("/old/%1.wav").arg(i));
    const quint64 first = service.Suggest(old, 6.0);
    {
        std::unique_lock<std::mutex> lock(gate);
        changed.wait(lock, [&] { return arrived >= 1; });
    }
    const quint64 second = service.Suggest({QStringLiteral("/new/a.wav")}, 6.0);
    EXPECT_GT(second, first);
    {
        const std::lock_guard<std::mutex> lock(gate);
        released = true;
    }
    changed.notify_all();
    service.WaitUntilIdle();
    EXPECT_TRUE(answers.empty()) << "answers come through the event loop, not from the worker";
    QCoreApplication::processEvents();

    EXPECT_LE(analysed.filter("/old/").size(), round) << "one round at most, then dropped";
    ASSERT_FALSE(answers.empty());
    EXPECT_EQ(answers.back().generation, second);
    EXPECT_EQ(answers.back().path, QStringLiteral("/new/a.wav"));
    EXPECT_TRUE(answers.back().likelyEmpty);
    for (const Answer& answer : answers)
        EXPECT_TRUE(answer.generation == second || answer.path.startsWith("/old/"));
    EXPECT_EQ(service.Close(), QString());
    EXPECT_TRUE(QFileInfo::exists(cache)) << "kept when the service closes";
}

}  // namespace
