// The user's loop through the real main window (offscreen): a keystroke to a
// moved file and an advanced selection, a key list import with the key legend
// open, the loupe redrawing a long recording, and Next Batch in a folder of
// 100,000 recordings. The batches painted are in BatchBench.cpp.
#include <benchmark/benchmark.h>
#include <dirent.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include <QFile>
#include "bench/UserLoop.h"

#include "demo/WaveWriter.h"
#include "keys/KeyListFile.h"
#include "keys/mdlKeycodes.h"
#include "windows/frmLoupe.h"

namespace {

using namespace userloop;

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

}  // namespace
