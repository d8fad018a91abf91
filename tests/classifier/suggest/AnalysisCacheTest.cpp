// Analyses kept between runs: found again for the same file, never for a changed one.
#include <gtest/gtest.h>

#include <QFile>
#include <cstdio>

#include "files/SafeFileWriter.h"
#include "suggest/AnalysisCache.h"
#include "tests/support/TempFolder.h"

namespace {

constexpr int Version = 3;

// Counts the analyses it is asked for; the fingerprint tells the file's size.
struct CountingAnalyser {
    int calls = 0;
    AnalyseFunction Function() {
        return [this](const QString& path) {
            ++calls;
            WaveFingerprint fingerprint;
            fingerprint.analysed = true;
            fingerprint.version = Version;
            fingerprint.activityDb = 12.5f;
            fingerprint.features = {static_cast<float>(QFile(path).size()), 2.0f};
            return fingerprint;
        };
    }
};

TEST(AnalysisCache, KeepsAnalysesAcrossRunsAndAnalysesAChangedFileAgain) {
    TempFolder folder;
    const QString cacheFile = QString::fromStdString(folder.Path("cache/analyses.bin"));
    const QString path = QString::fromStdString(folder.WriteText("a.wav", "1234"));
    CountingAnalyser analyser;
    SafeFileWriter writer;
    {
        AnalysisCache cache(cacheFile, Version);
        cache.Load();  // no file yet: empty
        const AnalyseFunction analyse = cache.Cached(analyser.Function());
        EXPECT_EQ(analyse(path).features[0], 4.0f);
        EXPECT_EQ(analyse(path).features[0], 4.0f);
        EXPECT_EQ(analyser.calls, 1);
        EXPECT_EQ(cache.Save(writer), "");
    }
    AnalysisCache next(cacheFile, Version);
    next.Load();
    ASSERT_EQ(next.Size(), 1u);
    const std::optional<WaveFingerprint> kept = next.Find(path);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->activityDb, 12.5f);
    EXPECT_EQ(kept->features, (std::vector<float>{4.0f, 2.0f}));

    // Longer, then replaced by another file of the same size: analysed again each time.
    folder.WriteText("a.wav", "123456");
    EXPECT_FALSE(next.Find(path));
    const AnalyseFunction analyse = next.Cached(analyser.Function());
    EXPECT_EQ(analyse(path).features[0], 6.0f);
    const std::string other = folder.WriteText("b.wav", "abcdef");
    ASSERT_EQ(std::rename(other.c_str(), path.toLocal8Bit().constData()), 0);
    EXPECT_FALSE(next.Find(path));
    analyse(path);
    EXPECT_EQ(analyser.calls, 3);

    // Another analysis version, or a damaged file, is an empty cache.
    EXPECT_EQ(next.Save(writer), "");
    AnalysisCache otherVersion(cacheFile, Version + 1);
    otherVersion.Load();
    EXPECT_EQ(otherVersion.Size(), 0u);
    QFile damaged(cacheFile);
    ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
    ASSERT_TRUE(damaged.resize(damaged.size() - 3));
    damaged.close();
    AnalysisCache cut(cacheFile, Version);
    cut.Load();
    EXPECT_EQ(cut.Size(), 0u);
}

TEST(AnalysisCache, HoldsNoMoreThanItsCapacityKeepingTheMostRecentlyUsed) {
    TempFolder folder;
    const QString cacheFile = QString::fromStdString(folder.Path("analyses.bin"));
    CountingAnalyser analyser;
    AnalysisCache cache(cacheFile, Version, 2);
    const AnalyseFunction analyse = cache.Cached(analyser.Function());
    const QString a = QString::fromStdString(folder.WriteText("a.wav", "a"));
    const QString b = QString::fromStdString(folder.WriteText("b.wav", "bb"));
    const QString c = QString::fromStdString(folder.WriteText("c.wav", "ccc"));
    analyse(a);
    analyse(b);
    analyse(c);
    analyse(a);  // a is used again: b is now the least recently used
    SafeFileWriter writer;
    ASSERT_EQ(cache.Save(writer), "");
    AnalysisCache next(cacheFile, Version, 2);
    next.Load();
    EXPECT_EQ(next.Size(), 2u);
    EXPECT_TRUE(next.Find(a));
    EXPECT_FALSE(next.Find(b));
    EXPECT_TRUE(next.Find(c));
}

}  // namespace
