// What the user-loop benchmarks share: the control module, a clean start for
// each benchmark, the recordings they sort, the process's page faults and
// resident memory, and a shown main window driven as a user drives it.
#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
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

// Which visible cells of a window show their spectrogram on screen: a cell
// does once its control has painted while not waiting for a picture, and no
// longer when its picture state changes (a picture asked for, or one arrived
// that is not painted yet).
class ShownPictures : public QObject {
public:
    // Watches the window's visible cells.
    void Watch(frmMain& window);
    int Watched() const { return static_cast<int>(m_controls.size()); }
    // A new batch: no cell shows its picture yet.
    void Reset();
    // Runs the events until every watched cell shows its picture; a picture that
    // never reaches the screen ends the run.
    void WaitUntilAllShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetShown(int index, bool shown);

    std::vector<QObject*> m_controls;
    QHash<const QObject*, int> m_index;
    const QMetaObject* m_pendingOf = nullptr;
    QMetaProperty m_pending;
    std::vector<std::uint8_t> m_shown;
    int m_notShown = 0;
    QTimer m_stuck;
};

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
    // Runs the events, as the window's own event loop would, until every
    // visible cell shows its spectrogram on screen and nothing else the batch
    // changed (status bar, marks) waits to be painted. The window paints only
    // what changed: a repaint of the whole window (its menus and bars, and
    // cells painted already) is not what a batch costs a user.
    void PaintAll() {
        if (shown.Watched() != window->VisibleCellCount()) shown.Watch(*window);
        shown.Reset();
        shown.WaitUntilAllShown();
        QCoreApplication::sendPostedEvents(window.get(), QEvent::UpdateRequest);
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

    ShownPictures shown;
    FakeMessageBox messages;
    FakeFileDialogAsker dialogs;
    FileMover mover;
    SafeFileWriter writer;
    QTemporaryDir settingsFolder;
    QtSettingsStore settings{settingsFolder.filePath("Corvane.conf")};
    std::unique_ptr<frmMain> window;
};

}  // namespace userloop
