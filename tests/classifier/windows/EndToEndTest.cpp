// A whole sorting session through the real main window, driven only by menu
// commands, key events and mouse clicks, with the file dialog and the message
// box answering through their seams.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <map>

#include "keys/ui/frmKeystroke.h"
#include "tests/classifier/mocks/MainWindowFixture.h"
#include "tests/support/FileContents.h"
#include "tests/support/TempFolder.h"

namespace {

QString Name(int i) {
    return QStringLiteral("r%1.wav").arg(i, 2, 10, QLatin1Char('0'));
}

struct Session : MainWindowFixture {
    void SetUp() override {
        MainWindowFixture::SetUp();
        QApplication::setActiveWindow(window.get());
        inbox = Q(incoming.Path());
        for (const char* folder : {"birds", "frogs", "noise"})
            target[folder] = Q(sorted.MakeFolder(folder));
        for (int i = 0; i < 60; ++i) {
            const std::vector<std::int16_t> samples(200 + i, static_cast<std::int16_t>(i * 100));
            incoming.WriteWave(Name(i).toStdString(), samples);
            original[i] = FileBytes(inbox + "/" + Name(i));
        }
    }

    void Trigger(const char* action) { window->findChild<QAction*>(action)->trigger(); }

    // Binds a keystroke through Spectrogram > Set keystroke directory... and the dialog.
    void Bind(const QString& folder, Qt::Key key, Qt::KeyboardModifiers modifiers, bool all) {
        fileDialog.answers.push_back(folder + "/any.wav");
        QTimer::singleShot(0, [=] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* dialog = qobject_cast<frmKeystroke*>(modal);
            if (!dialog) {
                if (modal) modal->close();  // never leave a test waiting on a dialog
                FAIL() << "the keystroke dialog is not open";
            }
            QTest::keyClick(dialog->Ok(), key, modifiers);
            if (all) QTest::mouseClick(dialog->ClassifyAllOption(), Qt::LeftButton);
            QTest::mouseClick(dialog->Ok(), Qt::LeftButton);
        });
        Trigger("mnuSPGKeystroke");
    }

    QWidget* Focused() { return window->SelectedCell()->Sonolux1(); }

    // Walks the visible cells from cell 0: recordings whose number is 0 or 1
    // modulo 3 go to birds and frogs with the selection keystrokes; the others
    // are passed over with Tab.
    void SortBatchBySelection() {
        QTest::mouseClick(window->Cell(0).Sonolux1(), Qt::LeftButton);
        for (int cell = 0; cell < window->VisibleCellCount(); ++cell) {
            ASSERT_EQ(window->SelectedCell(), &window->Cell(cell));
            const QString path = window->Cell(cell).Filename();
            const int number = path.isEmpty() ? 2 : path.section('/', -1).mid(1, 2).toInt();
            if (number % 3 == 0) {
                QTest::keyClick(Focused(), Qt::Key_1, Qt::ControlModifier);
            } else if (number % 3 == 1) {
                QTest::keyClick(Focused(), Qt::Key_2, Qt::ControlModifier);
            } else {
                QTest::keyClick(Focused(), Qt::Key_Tab);
            }
        }
    }

    TempFolder incoming;
    TempFolder sorted;
    TempFolder lists;
    QString inbox;
    std::map<QString, QString> target;
    std::map<int, QByteArray> original;
};

}  // namespace

TEST_F(Session, SixtyRecordingsEndUpOnceEachInTheirFolders) {
    Trigger("mnuSPGTab");
    Bind(target["birds"], Qt::Key_1, Qt::ControlModifier, false);
    Bind(target["frogs"], Qt::Key_2, Qt::ControlModifier, false);
    Bind(target["noise"], Qt::Key_F5, Qt::NoModifier, true);
    ASSERT_EQ(window->KeyMap().Keys(), QStringList({"31,2", "32,2", "74,0"}));

    // The key list survives an erase through export and import.
    fileDialog.answers.push_back(Q(lists.Path("keylist.txt")));
    Trigger("mnuFileKeyListExport");
    Trigger("mnuSPGEraseKeyDir");  // the message box answers OK
    ASSERT_TRUE(window->KeyMap().IsEmpty());
    fileDialog.answers.push_back(Q(lists.Path("keylist.txt")));
    Trigger("mnuFileKeyListImport");
    ASSERT_EQ(window->KeyMap().Keys(), QStringList({"31,2", "32,2", "74,0"}));

    // An older recording already sits in birds under the name of r03.
    QFile clash(target["birds"] + "/r03.wav");
    ASSERT_TRUE(clash.open(QIODevice::WriteOnly));
    clash.write("an older r03");
    clash.close();

    fileDialog.answers.push_back(inbox + "/" + Name(0));
    Trigger("mnuFileMany");
    SortBatchBySelection();
    ASSERT_EQ(messages.texts.filter("File exists").size(), 1);
    EXPECT_TRUE(QFile::exists(inbox + "/r03.wav"));
    // The user puts the older recording aside; r03 comes round again with the next batch.
    ASSERT_TRUE(QFile::rename(target["birds"] + "/r03.wav", target["birds"] + "/older-r03.txt"));

    Trigger("mnuSPGClear");
    for (int batch = 0; batch < 10 && !QDir(inbox).entryList(QDir::Files).isEmpty(); ++batch) {
        Trigger("mnuFileNextBatch");
        bool onlyNoise = true;
        for (int cell = 0; cell < window->VisibleCellCount(); ++cell) {
            const QString path = window->Cell(cell).Filename();
            if (!path.isEmpty() && path.section('/', -1).mid(1, 2).toInt() % 3 != 2)
                onlyNoise = false;
        }
        if (onlyNoise) {
            QTest::keyClick(Focused(), Qt::Key_F5);
        } else {
            SortBatchBySelection();
        }
    }

    EXPECT_TRUE(QDir(inbox).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(messages.texts.filter("File exists").size(), 1);
    const QStringList folders = {"birds", "frogs", "noise"};
    for (int i = 0; i < 60; ++i) {
        const QString expected = target[folders[i % 3]] + "/" + Name(i);
        EXPECT_EQ(FileBytes(expected), original[i]) << Name(i).toStdString();
        for (int other = 0; other < 3; ++other) {
            if (other != i % 3) {
                EXPECT_FALSE(QFile::exists(target[folders[other]] + "/" + Name(i))) << i;
            }
        }
    }
    EXPECT_EQ(QDir(target["birds"]).entryList(QDir::Files).size(), 21);  // with the older r03
    EXPECT_EQ(QDir(target["frogs"]).entryList(QDir::Files).size(), 20);
    EXPECT_EQ(QDir(target["noise"]).entryList(QDir::Files).size(), 20);
}
