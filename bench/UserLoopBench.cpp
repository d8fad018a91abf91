// The user's loop through the real main window (offscreen): a keystroke to a
// moved file and an advanced selection, Next Batch to a full grid painted (the
// picture as it always was, and with Field View, from the pictures' cache, and
// after a session of 10,000 moves), a key list import with the key legend open,
// and the loupe redrawing a long recording.
//
// Each benchmark starts from the same state whatever ran before it: a process
// of its own (see RunEachAlone), its own window, the pictures' cache set for
// it, Qt's pixmap cache emptied, and the heap's thresholds fixed at start-up
// as the program fixes them.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLibrary>
#include <QPixmapCache>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/CorvaneError.h"
#include "core/HeapSettings.h"
#include "demo/WaveWriter.h"
#include "files/FileMover.h"
#include "files/SafeFileWriter.h"
#include "host/ControlModule.h"
#include "keys/KeyListFile.h"
#include "keys/mdlKeycodes.h"
#include "settings/QtSettingsStore.h"
#include "sonolux/SonoluxModule.h"
#include "tests/classifier/mocks/FakeServices.h"
#include "windows/frmLoupe.h"
#include "windows/frmMain.h"

namespace {

ControlModule& Controls() {
    // Never destroyed: the module's own statics go first at exit, and its class
    // object must not be released after that.
    static ControlModule& module = []() -> ControlModule& {
        auto* loaded = new ControlModule;
        try {
            loaded->Load(sonolux::CLSID_Sonolux);
        } catch (const CorvaneError& error) {
            qFatal("cannot load the control module: %s", qPrintable(error.Description()));
        }
        return *loaded;
    }();
    return module;
}

// The module's picture cache limit, looked up by name: modules without a
// cache have nothing to set. Returns whether the module has one.
bool SetPictureCacheLimit(std::uint64_t bytes) {
    using SetLimit = void (*)(std::uint64_t);
    static const auto setLimit = reinterpret_cast<SetLimit>(
        QLibrary(Controls().ModulePath()).resolve("SonoluxSetPictureCacheLimit"));
    if (setLimit) setLimit(bytes);
    return setLimit != nullptr;
}

// What one benchmark may have left behind for the next: pictures cached by
// the module or by Qt, widgets waiting for their deferred delete. Each
// benchmark starts with this, with the cache limit it measures under.
bool StartClean(std::uint64_t pictureCacheLimit) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QPixmapCache::clear();
    SetPictureCacheLimit(0);  // a limit of 0 empties the cache
    return SetPictureCacheLimit(pictureCacheLimit);
}

// Page faults of this process so far: a batch whose buffers come back from
// the system as fresh pages shows here first.
double MinorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_minflt);
}

// The process's resident memory (VmRSS) in MB, 0 when it cannot be read.
double ResidentMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith("VmRSS:")) continue;
        return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// One second of a chirp at 48 kHz, as the demo recordings are.
const std::vector<std::int16_t>& OneSecond() {
    static const std::vector<std::int16_t> samples = [] {
        std::vector<std::int16_t> chirp(48000);
        double phase = 0;
        for (std::size_t i = 0; i < chirp.size(); ++i) {
            phase += 2 * 3.14159265358979 * (500.0 + 4000.0 * i / chirp.size()) / 48000.0;
            chirp[i] = static_cast<std::int16_t>(8000 * std::sin(phase));
        }
        return chirp;
    }();
    return samples;
}

// Ten seconds: the chirp of OneSecond ten times over.
const std::vector<std::int16_t>& TenSeconds() {
    static const std::vector<std::int16_t> samples = [] {
        std::vector<std::int16_t> ten;
        for (int second = 0; second < 10; ++second)
            ten.insert(ten.end(), OneSecond().begin(), OneSecond().end());
        return ten;
    }();
    return samples;
}

void WriteRecordings(const QString& folder, int count, const std::vector<std::int16_t>& samples) {
    for (int i = 0; i < count; ++i) {
        const QString path = folder + QStringLiteral("/r%1.wav").arg(i, 6, 10, QLatin1Char('0'));
        corvane::WriteMono16Wave(path.toStdString(), 48000, samples);
    }
}

// A shown main window whose client area holds `columns` x `rows` cells.
struct Window {
    Window(int columns, int rows) {
        window = std::make_unique<frmMain>(MainWindowServices{
            messages, dialogs, mover, writer, settings, Controls(), ScreenDpi{96, 96}});
        window->show();
        window->UpdateCellSizes(750, 500);  // 50 x 33 pixels
        const QSize frame = window->size() - window->ClientArea()->size();
        window->resize(columns * 50 + frame.width(), rows * 34 + frame.height());
        QCoreApplication::processEvents();
        QApplication::setActiveWindow(window.get());
    }
    void OpenFolder(const QString& firstFile) {
        dialogs.answers.push_back(firstFile);
        window->mnuFileMany_Click();
        // Its recordings are read before anything is measured, as they were when a
        // write of Filename read the file at once: asking a control what it read
        // finishes its load.
        FileReads();
    }
    // Paints the whole grid as the screen would, spectrograms built. The first
    // repaint paints every cell into the window's backing store, as a screen's
    // paint does, which starts its picture (a grab would not do: it renders
    // elsewhere, and the control then draws the picture in place at once); the
    // events then run until no visible cell is still waiting for its picture;
    // the last repaint shows them all.
    void PaintAll() {
        window->repaint();
        QCoreApplication::sendPostedEvents();
        WaitForPictures();
        window->repaint();
    }
    // Runs the events until no visible cell waits for its picture. The cells
    // are looked at from the first one still waiting on, so that a batch costs
    // the waiting one pass over them, not one for each round of events; a last
    // whole pass makes sure none went back to waiting. A control without
    // PicturePending computes its picture as it paints.
    void WaitForPictures() {
        const int cells = window->VisibleCellCount();
        const auto firstWaiting = [&](int from) {
            while (from < cells && !window->Cell(from).IsPicturePending()) ++from;
            return from;
        };
        int from = 0;
        while ((from = firstWaiting(from)) < cells || (from = firstWaiting(0)) < cells)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    // The files the visible cells' controls have read so far, -1 when the
    // control does not count them.
    double FileReads() const {
        double reads = 0;
        for (int i = 0; i < window->VisibleCellCount(); ++i) {
            const QVariant cellReads = window->Cell(i).Sonolux1()->property("FileReads");
            if (!cellReads.isValid()) return -1;
            reads += cellReads.toDouble();
        }
        return reads;
    }
    // Binds A and B to the folders a/ and b/ of `folder` with "Tab after
    // Classify" on, and selects cell 0.
    void BindTwoFolders(const QString& folder) {
        QDir(folder).mkdir("a");
        QDir(folder).mkdir("b");
        window->SetClassifyKey(0x41, 0, false, folder + "/a/");
        window->SetClassifyKey(0x42, 0, false, folder + "/b/");
        window->findChild<QAction*>("mnuSPGTab")->trigger();
        window->Cell(0).GiveFocus();
        QCoreApplication::processEvents();
    }
    // The `number`th classifying keystroke of a session that moves each
    // recording of the batch on to the other folder in every round.
    void Keystroke(int number) {
        const int cells = window->VisibleCellCount();
        const Qt::Key key = (number / cells) % 2 == 0 ? Qt::Key_A : Qt::Key_B;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(window->SelectedCell()->Sonolux1(), &press);
    }

    FakeMessageBox messages;
    FakeFileDialogAsker dialogs;
    FileMover mover;
    SafeFileWriter writer;
    QTemporaryDir settingsFolder;
    QtSettingsStore settings{settingsFolder.filePath("Corvane.conf")};
    std::unique_ptr<frmMain> window;
};

// One keystroke moving the selected cell's recording. Reports `reloads`: the
// files the cells' controls read per keystroke (-1 when they do not count).
// With suggestions, every move also teaches (on the worker thread, which the
// keystroke must not wait for) and the badges are brought up to date.
void KeystrokeToMovedFile(benchmark::State& state, bool suggestions) {
    StartClean(0);
    QTemporaryDir folder;
    WriteRecordings(folder.path(), 25, OneSecond());
    Window main(5, 5);
    main.OpenFolder(folder.path() + "/r000000.wav");
    main.BindTwoFolders(folder.path());
    if (suggestions) {
        main.window->SetSuggestionSources({}, folder.path() + "/cache/analyses.bin");
        main.window->findChild<QAction*>("mnuSPGSuggestions")->trigger();
        QCoreApplication::processEvents();
    }
    const double readsBefore = main.FileReads();
    int keystrokes = 0;
    for (auto _ : state) main.Keystroke(keystrokes++);
    const double readsAfter = main.FileReads();
    if (!main.messages.texts.isEmpty()) state.SkipWithError("a move failed");
    state.counters["reloads"] = readsBefore < 0 || readsAfter < 0
                                    ? -1
                                    : (readsAfter - readsBefore) / std::max(keystrokes, 1);
}
void BM_KeystrokeToMovedFile(benchmark::State& state) {
    KeystrokeToMovedFile(state, false);
}
BENCHMARK(BM_KeystrokeToMovedFile)->Unit(benchmark::kMicrosecond);
void BM_KeystrokeToMovedFileWithSuggestions(benchmark::State& state) {
    KeystrokeToMovedFile(state, true);
}
BENCHMARK(BM_KeystrokeToMovedFileWithSuggestions)->Unit(benchmark::kMicrosecond);

// Next Batch to a painted grid of 25 or 300 cells of 1 s recordings, every
// picture computed. Reports the page faults per batch.
void BM_NextBatchPainted(benchmark::State& state) {
    StartClean(0);
    const int cells = static_cast<int>(state.range(0));
    const int columns = cells == 25 ? 5 : 20;
    QTemporaryDir folder;
    WriteRecordings(folder.path(), cells, OneSecond());
    Window main(columns, cells / columns);
    if (main.window->VisibleCellCount() != cells)
        state.SkipWithError("the grid has the wrong size");
    main.OpenFolder(folder.path() + "/r000000.wav");
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
    QTemporaryDir folder;
    WriteRecordings(folder.path(), cells, TenSeconds());
    Window main(20, cells / 20);
    if (main.window->VisibleCellCount() != cells)
        state.SkipWithError("the grid has the wrong size");
    RecordingOptions options;
    options.WholeRecording = state.range(0) != 0;
    main.window->SetRecordingOptions(options);
    main.OpenFolder(folder.path() + "/r000000.wav");
    const double faultsBefore = MinorFaults();
    for (auto _ : state) {
        main.window->mnuFileNextBatch_Click();
        main.PaintAll();
    }
    state.counters["page_faults"] =
        benchmark::Counter(MinorFaults() - faultsBefore, benchmark::Counter::kAvgIterations);
    double frames = 0;
    for (int i = 0; i < cells; ++i)
        frames += main.window->Cell(i).Sonolux1()->property("LoadedFrames").toDouble();
    state.counters["cells"] = cells;
    state.counters["sample_MiB"] = frames * sizeof(std::int16_t) / (1024.0 * 1024.0);
}
BENCHMARK(BM_NextBatchPaintedTenSeconds)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Next Batch to a painted grid of 300 cells of 10 s recordings, the picture
// as it always was (argument 0: the first second, the frames the geometry
// picks, the fixed power range) or with Field View on (1: the whole recording,
// every sample, each recording over its own power range). The same files.
// Reports `longest_task_ms`, the longest the window's thread stayed away from
// its event loop during a fill (an event-loop probe: a 0 ms timer's largest
// gap), and `resident_MB`, the process's resident memory after the fill.
void BM_NextBatchFieldView(benchmark::State& state) {
    StartClean(0);
    constexpr int cells = 300;
    QTemporaryDir folder;
    WriteRecordings(folder.path(), cells, TenSeconds());
    Window main(20, cells / 20);
    if (main.window->VisibleCellCount() != cells)
        state.SkipWithError("the grid has the wrong size");
    if (state.range(0) != 0) main.window->findChild<QAction*>("mnuSPGFieldView")->trigger();
    if (main.window->GetRecordingOptions().FieldView() != (state.range(0) != 0))
        state.SkipWithError("Field View did not follow its menu item");
    main.OpenFolder(folder.path() + "/r000000.wav");
    QElapsedTimer clock;
    qint64 lastReturn = 0;
    qint64 longestTask = 0;
    QTimer probe;
    probe.setInterval(0);
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
    double frames = 0;
    for (int i = 0; i < cells; ++i)
        frames += main.window->Cell(i).Sonolux1()->property("LoadedFrames").toDouble();
    state.counters["cells"] = cells;
    state.counters["sample_MiB"] = frames * sizeof(std::int16_t) / (1024.0 * 1024.0);
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
    QTemporaryDir folder;
    WriteRecordings(folder.path(), cells, OneSecond());
    Window main(20, cells / 20);
    if (main.window->VisibleCellCount() != cells)
        state.SkipWithError("the grid has the wrong size");
    main.OpenFolder(folder.path() + "/r000000.wav");
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
    QTemporaryDir folder;
    WriteRecordings(folder.path(), cells, OneSecond());
    Window main(20, cells / 20);
    if (main.window->VisibleCellCount() != cells)
        state.SkipWithError("the grid has the wrong size");
    main.OpenFolder(folder.path() + "/r000000.wav");
    main.PaintAll();
    main.BindTwoFolders(folder.path());
    for (int keystroke = 0; keystroke < moves; ++keystroke) main.Keystroke(keystroke);
    if (!main.messages.texts.isEmpty()) state.SkipWithError("a move failed");
    if (!QDir(folder.path()).entryList({"*.wav"}, QDir::Files).isEmpty())
        state.SkipWithError("a recording was not moved");
    WriteRecordings(folder.path(), cells, OneSecond());
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

// Import of a key list binding every named key with every shift state (888
// lines, into 8 folders) with the Key Bindings window open (argument 1) or
// closed (0). Open, the legend follows the import once, not once a line.
void BM_ImportKeyList888(benchmark::State& state) {
    StartClean(0);
    QTemporaryDir folder;
    QStringList folders;
    for (int i = 0; i < 8; ++i) {
        QDir(folder.path()).mkdir(QString::number(i));
        folders.append(folder.path() + QStringLiteral("/%1/").arg(i));
    }
    QByteArray keyList;
    int lines = 0;
    for (int code = 0; code < 256; ++code) {
        const auto keyCode = static_cast<std::int16_t>(code);
        if (mdlKeycodes::KeyName(keyCode).startsWith(QLatin1String("0x"))) continue;
        for (std::int16_t shift = 0; shift < 8; ++shift) {
            keyList += KeyListFile::FormatLine(mdlKeycodes::KeyText(keyCode, shift), shift % 2,
                                               folders[lines++ % folders.size()])
                           .toUtf8() +
                       "\r\n";
        }
    }
    const QString path = folder.path() + QStringLiteral("/keylist.txt");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(keyList) != keyList.size()) {
        state.SkipWithError("cannot write the key list");
    }
    file.close();
    Window main(5, 5);
    if (state.range(0) != 0) main.window->mnuSPGKeyBindings_Click();
    for (auto _ : state) {
        main.dialogs.answers.push_back(path);
        main.window->mnuFileKeyListImport_Click();
    }
    if (main.window->KeyMap().Keys().size() != lines || !main.messages.texts.isEmpty())
        state.SkipWithError("the key list was not bound whole");
    state.counters["lines"] = lines;
}
BENCHMARK(BM_ImportKeyList888)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The loupe redrawing a 60 s recording at 96 kHz, of which it loads 4,194,304
// frames (the most a control takes), at 1200 x 500 pixels: after a change of
// a parameter, the whole loaded part computed again and painted with its axes,
// as the loupe shows it once the options change. The value goes to the loupe's
// control alone, so that no cell is drawn again with it.
void BM_LoupeRedraw60s96kHz(benchmark::State& state) {
    StartClean(0);
    QTemporaryDir folder;
    std::vector<std::int16_t> minute;
    minute.reserve(96000 * 60);
    for (int second = 0; second < 60; ++second) {
        // The 48 kHz chirp twice over makes a second at 96 kHz.
        minute.insert(minute.end(), OneSecond().begin(), OneSecond().end());
        minute.insert(minute.end(), OneSecond().begin(), OneSecond().end());
    }
    const QString path = folder.path() + QStringLiteral("/minute.wav");
    corvane::WriteMono16Wave(path.toStdString(), 96000, minute);
    Window main(5, 5);
    main.window->Cell(0).SetFilename(path);
    main.window->Cell(0).GiveFocus();
    main.window->mnuSPGLoupe_Click();
    frmLoupe& loupe = main.window->LoupeWindow();
    loupe.resize(1200, 500);
    QCoreApplication::processEvents();
    QWidget* control = loupe.Control();
    if (!control || control->property("LoadedFrames").toInt() != 4194304)
        state.SkipWithError("the loupe did not load the recording");
    const auto paint = [&loupe] {
        loupe.grab();
        QCoreApplication::sendPostedEvents();
        loupe.grab();
    };
    paint();
    int round = 0;
    for (auto _ : state) {
        if (!control) break;
        control->setProperty("PowerMax", QVariant::fromValue(round++ % 2 == 0 ? 119.0f : 120.0f));
        paint();
    }
    state.counters["picture_px"] = control ? control->width() * control->height() : 0;
}
BENCHMARK(BM_LoupeRedraw60s96kHz)->Unit(benchmark::kMillisecond);

// One folder of 100 000 short recordings, shared by the listing benchmarks so
// that they compare like with like.
const QString& HundredThousandRecordings() {
    static QTemporaryDir folder;
    static const bool written = [] {
        WriteRecordings(folder.path(), 100000, std::vector<std::int16_t>(100, 0));
        return true;
    }();
    (void)written;
    static const QString path = folder.path();
    return path;
}

void BM_NextBatchIn100000Files(benchmark::State& state) {
    StartClean(0);
    const QString& folder = HundredThousandRecordings();
    Window main(5, 5);
    main.OpenFolder(folder + "/r000000.wav");
    for (auto _ : state) main.window->mnuFileNextBatch_Click();
}
BENCHMARK(BM_NextBatchIn100000Files)->Unit(benchmark::kMillisecond);

// The floor for Next Batch in that folder: reading its names, nothing more.
void BM_ReadDir100000Files(benchmark::State& state) {
    const QByteArray folder = QFile::encodeName(HundredThousandRecordings());
    for (auto _ : state) {
        DIR* listing = ::opendir(folder.constData());
        int waveFiles = 0;
        while (const dirent* entry = ::readdir(listing)) {
            const std::size_t length = std::strlen(entry->d_name);
            if (length >= 4 && std::memcmp(entry->d_name + length - 4, ".wav", 4) == 0) ++waveFiles;
        }
        ::closedir(listing);
        benchmark::DoNotOptimize(waveFiles);
    }
}
BENCHMARK(BM_ReadDir100000Files)->Unit(benchmark::kMillisecond);

// Whatever one benchmark leaves in the process (the allocator's thresholds
// and free lists after a window with a long undo history was destroyed, Qt's
// caches, the module's statics) must not change the next one's figure: each
// benchmark runs in a process of its own, started afresh from this one.
// --in_one_process runs them all here, one after the other, as before.
std::string Quoted(const std::string& argument) {
    std::string quoted = "'";
    for (const char c : argument) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs this program again with `arguments` and the given standard error;
// returns its exit status and leaves its standard output in `output`.
int RunAgain(const std::vector<std::string>& arguments, const char* standardError,
             std::string& output) {
    // This program's own file: in the shell, /proc/self/exe would be the shell.
    static const std::string self = [] {
        char path[4096];
        const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
        return std::string(path, length > 0 ? static_cast<std::size_t>(length) : 0);
    }();
    std::string command = Quoted(self);
    for (const std::string& argument : arguments) command += " " + Quoted(argument);
    command += std::string(" 2>") + standardError;
    std::FILE* child = ::popen(command.c_str(), "r");
    if (!child) return -1;
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, child)) > 0) output.append(buffer, read);
    return ::pclose(child);
}

std::string RegexQuoted(const std::string& name) {
    std::string quoted = "^";
    for (const char c : name) {
        if (std::strchr(".^$|()[]{}*+?\\", c)) quoted += '\\';
        quoted += c;
    }
    return quoted + "$";
}

int RunEachAlone(const std::vector<std::string>& arguments) {
    std::string listing;
    std::vector<std::string> listArguments = arguments;
    listArguments.push_back("--benchmark_list_tests=true");
    if (RunAgain(listArguments, "&2", listing) != 0) return 1;
    std::vector<std::string> rest;
    for (const std::string& argument : arguments) {
        if (argument.rfind("--benchmark_filter", 0) != 0) rest.push_back(argument);
    }
    int status = 0;
    bool first = true;
    std::size_t start = 0;
    while (start < listing.size()) {
        std::size_t end = listing.find('\n', start);
        if (end == std::string::npos) end = listing.size();
        const std::string name = listing.substr(start, end - start);
        start = end + 1;
        if (name.empty()) continue;
        std::vector<std::string> one = rest;
        one.push_back("--benchmark_filter=" + RegexQuoted(name));
        std::string output;
        // The machine's description once, on the first benchmark's error output.
        if (RunAgain(one, first ? "&2" : "/dev/null", output) != 0) status = 1;
        // The table's heading once too.
        std::size_t line = 0;
        while (line < output.size()) {
            std::size_t lineEnd = output.find('\n', line);
            if (lineEnd == std::string::npos) lineEnd = output.size() - 1;
            const std::string text = output.substr(line, lineEnd - line + 1);
            line = lineEnd + 1;
            if (!first && (text.rfind("---", 0) == 0 || text.rfind("Benchmark ", 0) == 0)) continue;
            std::fputs(text.c_str(), stdout);
        }
        std::fflush(stdout);
        first = false;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    KeepHeapThresholdsSteady();  // as the program does
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::vector<std::string> arguments;
    bool inOneProcess = qEnvironmentVariableIsSet("CORVANE_BENCH_ONE_PROCESS");
    bool listOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--in_one_process") {
            inOneProcess = true;
            continue;
        }
        if (argument.rfind("--benchmark_list_tests", 0) == 0) listOnly = true;
        arguments.push_back(argument);
    }
    if (!inOneProcess && !listOnly) {
        // The processes started from here run their benchmark in themselves.
        qputenv("CORVANE_BENCH_ONE_PROCESS", "1");
        return RunEachAlone(arguments);
    }
    std::vector<char*> remaining{argv[0]};
    for (std::string& argument : arguments) remaining.push_back(argument.data());
    int remainingCount = static_cast<int>(remaining.size());
    QApplication application(remainingCount, remaining.data());
    benchmark::Initialize(&remainingCount, remaining.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
