// What the user-loop benchmarks share: the control module, a clean start for
// each benchmark, the recordings they sort, the process's page faults and
// resident memory, and a shown main window driven as a user drives it.
#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <cstdint>
#include <memory>
#include <vector>

#include "files/FileMover.h"
#include "files/SafeFileWriter.h"
#include "host/ControlModule.h"
#include "settings/QtSettingsStore.h"
#include "tests/classifier/mocks/FakeServices.h"
#include "windows/frmMain.h"

class QAction;

namespace userloop {

// The control module, loaded once and never released.
ControlModule& Controls();
// The module's picture cache limit, looked up by name: modules without a
// cache have nothing to set. Returns whether the module has one.
bool SetPictureCacheLimit(std::uint64_t bytes);
// What one benchmark may have left behind for the next: pictures cached by
// the module or by Qt, widgets waiting for their deferred delete. Each
// benchmark starts with this, with the cache limit it measures under.
bool StartClean(std::uint64_t pictureCacheLimit);
// Page faults of this process so far: a batch whose buffers come back from
// the system as fresh pages shows here first.
double MinorFaults();
// The process's resident memory (VmRSS) in MB, 0 when it cannot be read.
double ResidentMegabytes();
// One second of a chirp at 48 kHz, as the demo recordings are.
const std::vector<std::int16_t>& OneSecond();
// Ten seconds: the chirp of OneSecond ten times over.
const std::vector<std::int16_t>& TenSeconds();
// `count` recordings r000000.wav, r000001.wav, ... of `samples` at 48 kHz.
void WriteRecordings(const QString& folder, int count, const std::vector<std::int16_t>& samples);

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

}  // namespace userloop
