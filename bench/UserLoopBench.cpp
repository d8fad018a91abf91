// The user's loop through the real main window (offscreen): a keystroke to a
// moved file and an advanced selection, Next Batch to a full grid painted (the
// picture as it always was, and with Field View), a key list import with the
// key legend open, and the loupe redrawing a long recording.
#include <benchmark/benchmark.h>
#include <dirent.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <cstring>
#include <memory>
#include <vector>

#include "core/CorvaneError.h"
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
    }
    // Paints the whole grid as the screen would, spectrograms built.
    void PaintAll() {
        window->grab();
        QCoreApplication::sendPostedEvents();
        window->grab();
    }

    FakeMessageBox messages;
    FakeFileDialogAsker dialogs;
    FileMover mover;
    SafeFileWriter writer;
    QTemporaryDir settingsFolder;
    QtSettingsStore settings{settingsFolder.filePath("Corvane.conf")};
    std::unique_ptr<frmMain> window;
};

// Arg 1: with Suggestions on, every move also teaches (on the worker thread, which
// the keystroke must not wait for) and the badges are brought up to date.
void BM_KeystrokeToMovedFile(benchmark::State& state) {
    QTemporaryDir folder;
    QDir(folder.path()).mkdir("a");
    QDir(folder.path()).mkdir("b");
    WriteRecordings(folder.path(), 25, OneSecond());
    Window main(5, 5);
    main.OpenFolder(folder.path() + "/r000000.wav");
    main.window->SetClassifyKey(0x41, 0, false, folder.path() + "/a/");
    main.window->SetClassifyKey(0x42, 0, false, folder.path() + "/b/");
    if (state.range(0) == 1) {
        main.window->SetSuggestionSources({}, folder.path() + "/cache/analyses.bin");
        main.window->findChild<QAction*>("mnuSPGSuggestions")->trigger();
    }
    main.window->findChild<QAction*>("mnuSPGTab")->trigger();
    main.window->Cell(0).GiveFocus();
    QCoreApplication::processEvents();
    int round = 0;
    for (auto _ : state) {
        // Every round of 25 keystrokes moves each recording on to the other folder.
        const Qt::Key key = (round++ / 25) % 2 == 0 ? Qt::Key_A : Qt::Key_B;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(main.window->SelectedCell()->Sonolux1(), &press);
    }
    if (!main.messages.texts.isEmpty()) state.SkipWithError("a move failed");
}
BENCHMARK(BM_KeystrokeToMovedFile)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_NextBatchPainted(benchmark::State& state) {
    const int cells = static_cast<int>(state.range(0));
    const int columns = cells == 25 ? 5 : 20;
    QTemporaryDir folder;
    WriteRecordings(folder.path(), cells, OneSecond());
    Window main(columns, cells / columns);
    if (main.window->VisibleCellCount() != cells)
        state.SkipWithError("the grid has the wrong size");
    main.OpenFolder(folder.path() + "/r000000.wav");
    for (auto _ : state) {
        main.window->mnuFileNextBatch_Click();
        main.PaintAll();
    }
    state.counters["cells"] = cells;
}
BENCHMARK(BM_NextBatchPainted)->Arg(25)->Arg(300)->Unit(benchmark::kMillisecond);

// Next Batch to a painted grid of 300 cells of 10 s recordings with "Show the
// whole recording" off (argument 0: the first second, as it always was) or on
// (1). Reports the samples the grid holds.
void BM_NextBatchPaintedTenSeconds(benchmark::State& state) {
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
    for (auto _ : state) {
        main.window->mnuFileNextBatch_Click();
        main.PaintAll();
    }
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
void BM_NextBatchFieldView(benchmark::State& state) {
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
    for (auto _ : state) {
        main.window->mnuFileNextBatch_Click();
        main.PaintAll();
    }
    double frames = 0;
    for (int i = 0; i < cells; ++i)
        frames += main.window->Cell(i).Sonolux1()->property("LoadedFrames").toDouble();
    state.counters["cells"] = cells;
    state.counters["sample_MiB"] = frames * sizeof(std::int16_t) / (1024.0 * 1024.0);
}
BENCHMARK(BM_NextBatchFieldView)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Import of a key list binding every named key with every shift state (888
// lines, into 8 folders) with the Key Bindings window open (argument 1) or
// closed (0). Open, the legend follows the import once, not once a line.
void BM_ImportKeyList888(benchmark::State& state) {
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

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
