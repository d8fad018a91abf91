// Next Batch to a full grid painted: the picture as it always was, with Field
// View, from the pictures' cache, and after a session of 10,000 moves.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "bench/UserLoop.h"

namespace {

using namespace userloop;

// A shown window whose grid holds `cells` cells (5 columns for 25, else 20),
// over a folder of as many recordings of `samples`; Open() opens the folder.
struct Grid {
    Grid(benchmark::State& state, int cells, const std::vector<std::int16_t>& samples)
        : cells(cells), main(Columns(cells), cells / Columns(cells)) {
        WriteRecordings(folder.path(), cells, samples);
        if (main.window->VisibleCellCount() != cells)
            state.SkipWithError("the grid has the wrong size");
    }
    static int Columns(int cells) { return cells == 25 ? 5 : 20; }
    void Open() { main.OpenFolder(folder.path() + "/r000000.wav"); }
    // The samples the grid's controls hold, in MiB.
    double SampleMiB() const {
        double frames = 0;
        for (int i = 0; i < cells; ++i)
            frames += main.window->Cell(i).Sonolux1()->property("LoadedFrames").toDouble();
        return frames * sizeof(std::int16_t) / (1024.0 * 1024.0);
    }

    const int cells;
    QTemporaryDir folder;
    Window main;
};

// Next Batch to a painted grid of 25 or 300 cells of 1 s recordings, every
// picture computed. Reports the page faults per batch.
void BM_NextBatchPainted(benchmark::State& state) {
    StartClean(0);
    const int cells = static_cast<int>(state.range(0));
    Grid grid(state, cells, OneSecond());
    Window& main = grid.main;
    grid.Open();
    const double faultsBefore = MinorFaults();
    for (auto _ : state) {
        main.window->mnuFileNextBatch_Click();
        main.PaintAll();
    }
    state.counters["cells"] = cells;
    state.counters["page_faults"] =
        benchmark::Counter(MinorFaults() - faultsBefore, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_NextBatchPainted)->Arg(25)->Arg(300)->Unit(benchmark::kMillisecond);

// Next Batch to a painted grid of 300 cells of 10 s recordings with "Show the
// whole recording" off (argument 0: the first second, as it always was) or on
// (1). Reports the samples the grid holds.
void BM_NextBatchPaintedTenSeconds(benchmark::State& state) {
    StartClean(0);
    constexpr int cells = 300;
    Grid grid(state, cells, TenSeconds());
    Window& main = grid.main;
    RecordingOptions options;
    options.WholeRecording = state.range(0) != 0;
    main.window->SetRecordingOptions(options);
    grid.Open();
    const double faultsBefore = MinorFaults();
    for (auto _ : state) {
        main.window->mnuFileNextBatch_Click();
        main.PaintAll();
    }
    state.counters["page_faults"] =
        benchmark::Counter(MinorFaults() - faultsBefore, benchmark::Counter::kAvgIterations);
    state.counters["cells"] = cells;
    state.counters["sample_MiB"] = grid.SampleMiB();
}
BENCHMARK(BM_NextBatchPaintedTenSeconds)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Next Batch to a painted grid of 300 cells of 10 s recordings, the picture
// as it always was (argument 0: the first second, the frames the geometry
// picks, the fixed power range) or with Field View on (1: the whole recording,
// every sample, each recording over its own power range). The same files.
// Reports `longest_task_ms`, the longest the window's thread stayed away from
// its event loop during a fill (an event-loop probe: the largest gap between
// the calls of a 1 ms timer, so at most a millisecond over the task itself),
// and `resident_MB`, the process's resident memory after the fill.
void BM_NextBatchFieldView(benchmark::State& state) {
    StartClean(0);
    constexpr int cells = 300;
    Grid grid(state, cells, TenSeconds());
    Window& main = grid.main;
    if (state.range(0) != 0) main.window->findChild<QAction*>("mnuSPGFieldView")->trigger();
    if (main.window->GetRecordingOptions().FieldView() != (state.range(0) != 0))
        state.SkipWithError("Field View did not follow its menu item");
    grid.Open();
    QElapsedTimer clock;
    qint64 lastReturn = 0;
    qint64 longestTask = 0;
    // Not a 0 ms timer: that never lets the thread sleep, and takes a core from
    // the workers of a 2-core machine for as long as the fill lasts.
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestTask = std::max(longestTask, now - lastReturn);
        lastReturn = now;
    });
    const double faultsBefore = MinorFaults();
    for (auto _ : state) {
        probe.start();
        clock.start();
        lastReturn = 0;
        main.window->mnuFileNextBatch_Click();
        main.PaintAll();
        // Once more round the loop, so that the probe sees the last stretch.
        QCoreApplication::processEvents();
        probe.stop();
    }
    state.counters["cells"] = cells;
    state.counters["sample_MiB"] = grid.SampleMiB();
    state.counters["longest_task_ms"] = static_cast<double>(longestTask) / 1e6;
    state.counters["resident_MB"] = ResidentMegabytes();
    state.counters["page_faults"] =
        benchmark::Counter(MinorFaults() - faultsBefore, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_NextBatchFieldView)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Next Batch on the same folder again, its pictures cached by the module
// after one fill before the timing (`cached` 0: the module has no cache, and
// this measures a second fill).
void BM_NextBatchFromCache(benchmark::State& state) {
    const bool cached = StartClean(std::uint64_t{512} * 1024 * 1024);
    constexpr int cells = 300;
    Grid grid(state, cells, OneSecond());
    Window& main = grid.main;
    grid.Open();
    main.PaintAll();
    for (auto _ : state) {
        main.window->mnuFileNextBatch_Click();
        main.PaintAll();
    }
    state.counters["cells"] = cells;
    state.counters["cached"] = cached ? 1 : 0;
    StartClean(0);
}
BENCHMARK(BM_NextBatchFromCache)->Unit(benchmark::kMillisecond);

// A long session in one window: 10,000 keystrokes move the recordings of a
// batch of 300 between two folders (as BM_KeystrokeToMovedFile moves them),
// then the folder gets 300 new recordings and Next Batch fills the grid with
// them, timed as BM_NextBatchPainted/300, whose figure this must match. The
// session is set up once: a fixed number of iterations.
void BM_TenThousandMovesThenNextBatch(benchmark::State& state) {
    StartClean(0);
    constexpr int cells = 300;
    constexpr int moves = 10000;
    Grid grid(state, cells, OneSecond());
    Window& main = grid.main;
    grid.Open();
    main.PaintAll();
    main.BindTwoFolders(grid.folder.path());
    for (int keystroke = 0; keystroke < moves; ++keystroke) main.Keystroke(keystroke);
    if (!main.messages.texts.isEmpty()) state.SkipWithError("a move failed");
    if (!QDir(grid.folder.path()).entryList({"*.wav"}, QDir::Files).isEmpty())
        state.SkipWithError("a recording was not moved");
    WriteRecordings(grid.folder.path(), cells, OneSecond());
    const double faultsBefore = MinorFaults();
    for (auto _ : state) {
        main.window->mnuFileNextBatch_Click();
        main.PaintAll();
    }
    state.counters["cells"] = cells;
    state.counters["moves"] = moves;
    state.counters["page_faults"] =
        benchmark::Counter(MinorFaults() - faultsBefore, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_TenThousandMovesThenNextBatch)->Iterations(30)->Unit(benchmark::kMillisecond);

}  // namespace
