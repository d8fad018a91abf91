// Export Labels on a sorted collection of 10,000 recordings: four bound
// folders of five subfolders with 500 wave files each, walked, their headers
// read and the CSV made (the file's writing is the safe writer's, measured
// apart from the walk). The files are written once; the walk then reads what
// the system already holds in memory, as a second export would.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "demo/WaveWriter.h"
#include "files/LabelExport.h"
#include "files/SafeFileWriter.h"

namespace {

constexpr int BoundFolders = 4;
constexpr int Subfolders = 5;
constexpr int FilesPerSubfolder = 500;

struct SortedCollection {
    QTemporaryDir root;
    QStringList folders;

    SortedCollection() {
        const std::vector<std::int16_t> samples(4800);  // 0.1 s at 48 kHz
        for (int f = 0; f < BoundFolders; ++f) {
            const QString folder = root.filePath(QStringLiteral("label%1").arg(f));
            folders.append(folder + "/");
            for (int s = 0; s < Subfolders; ++s) {
                const QString sub = QStringLiteral("%1/night%2").arg(folder).arg(s);
                QDir().mkpath(sub);
                for (int i = 0; i < FilesPerSubfolder; ++i) {
                    const QString path =
                        QStringLiteral("%1/r%2.wav").arg(sub).arg(i, 4, 10, QChar('0'));
                    if (!corvane::WriteMono16Wave(path.toStdString(), 48000, samples))
                        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                }
            }
        }
    }
};

const SortedCollection& Collection() {
    static const SortedCollection collection;
    return collection;
}

void BM_CollectLabels10000(benchmark::State& state) {
    const SortedCollection& collection = Collection();
    for (auto _ : state) {
        const LabelExport::Result result =
            LabelExport::Collect(collection.folders, WaveBatch::WaveNames::LowerCaseOnly);
        if (result.recordings != BoundFolders * Subfolders * FilesPerSubfolder)
            state.SkipWithError("not every recording was listed");
        benchmark::DoNotOptimize(result.csv.data());
    }
}
BENCHMARK(BM_CollectLabels10000)->Unit(benchmark::kMillisecond);

void BM_ExportLabels10000(benchmark::State& state) {
    const SortedCollection& collection = Collection();
    SafeFileWriter writer;
    const QString out = collection.root.filePath(QStringLiteral("labels.csv"));
    for (auto _ : state) {
        const LabelExport::Result result =
            LabelExport::Collect(collection.folders, WaveBatch::WaveNames::LowerCaseOnly);
        if (!writer.WriteFile(out, result.csv).isEmpty()) state.SkipWithError("not written");
    }
}
BENCHMARK(BM_ExportLabels10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
