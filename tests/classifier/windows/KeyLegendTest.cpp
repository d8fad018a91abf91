#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHash>
#include <QHeaderView>
#include <QSettings>
#include <QTableWidget>
#include <QTest>

#include "keys/ClassifierKeyMap.h"
#include "sorting/KeyLegend.h"
#include "tests/classifier/mocks/MainWindowFixture.h"
#include "tests/support/TempFolder.h"
#include "windows/frmKeyLegend.h"

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Every row of the legend's list as the user reads it: the four columns
// joined by " | ", one line per row.
std::string Shown(const frmKeyLegend& legend) {
    const QTableWidget& list = legend.List();
    QStringList rows;
    for (int row = 0; row < list.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < list.columnCount(); ++column) {
            const QTableWidgetItem* item = list.item(row, column);
            cells.append(item ? item->text() : QStringLiteral("<none>"));
        }
        rows.append(cells.join(QStringLiteral(" | ")));
    }
    return rows.join('\n').toStdString();
}

std::string Lines(const QStringList& rows) {
    return rows.join('\n').toStdString();
}

// A main window with a 3 x 2 grid of recordings, A bound to folder a for the
// selection and B to folder b for all visible cells, and the legend open.
struct KeyLegendWindow : MainWindowFixture {
    void SetUp() override {
        MainWindowFixture::SetUp();
        QApplication::setActiveWindow(window.get());
        ResizeClient(306, 140);
        a = Q(sorted.MakeFolder("a")) + "/";
        b = Q(sorted.MakeFolder("b")) + "/";
        for (int i = 0; i < 6; ++i) {
            const std::string name = "r" + std::to_string(i) + ".wav";
            window->Cell(i).SetFilename(Q(incoming.WriteWave(name, {1, short(i)})));
        }
        Trigger("mnuSPGKeyBindings");
        QCoreApplication::processEvents();
        window->SetClassifyKey(0x41, 0, false, a);
        window->SetClassifyKey(0x42, 0, true, b);
    }

    void Trigger(const char* name) { window->findChild<QAction*>(name)->trigger(); }
    frmKeyLegend& Legend() const { return window->KeyLegendWindow(); }
    void Press(int cell, Qt::Key key) {
        window->Cell(cell).GiveFocus();
        QCoreApplication::processEvents();
        QTest::keyClick(window->Cell(cell).Sonolux1(), key);
    }

    TempFolder incoming;
    TempFolder sorted;
    QString a, b;
};

}  // namespace

TEST(KeyLegend, RowsFollowTheMapOnRefreshWithCountsPerFolderAndMissingMarks) {
    TempFolder disk;
    const QString there = Q(disk.MakeFolder("there")) + "/";
    const QString gone = Q(disk.Path("gone")) + "/";
    const QString file = Q(disk.WriteText("plain", "not a folder")) + "/";
    QHash<QString, int> moved{{there, 3}, {gone, 1}};
    ClassifierKeyMap map;
    KeyLegend legend(map, [&moved](const QString& folder) { return moved.value(folder); });
    map.Add(0x70, 0, true, there);
    map.Add(0x41, 3, false, gone);
    map.Add(0x39, 1, false, there);
    map.Add(0x42, 0, false, file);
    EXPECT_TRUE(legend.Rows().empty());

    legend.Refresh();
    ASSERT_EQ(legend.Rows().size(), 4u);
    const auto& rows = legend.Rows();
    EXPECT_EQ(rows[0].keyText, "F1 key");
    EXPECT_EQ(rows[0].ActsOn(), "All");
    EXPECT_EQ(rows[0].FolderText(), there);
    EXPECT_EQ(rows[0].moved, 3);
    EXPECT_EQ(rows[1].keyText, "CTRL+SHIFT+A key");
    EXPECT_EQ(rows[1].ActsOn(), "Selection");
    EXPECT_TRUE(rows[1].folderMissing);
    EXPECT_EQ(rows[1].FolderText(), gone + " (missing)");
    EXPECT_EQ(rows[1].moved, 1);
    // A second keystroke into the same folder shows the folder's count too.
    EXPECT_EQ(rows[2].keyText, "SHIFT+9 key");
    EXPECT_EQ(rows[2].moved, 3);
    EXPECT_FALSE(rows[2].folderMissing);
    // A file where the folder should be is no folder.
    EXPECT_TRUE(rows[3].folderMissing);

    ASSERT_TRUE(QDir().mkdir(gone));
    map.Clear();
    map.Add(0x41, 3, false, gone);
    moved[gone] = 0;
    legend.Refresh();
    ASSERT_EQ(legend.Rows().size(), 1u);
    EXPECT_EQ(legend.Rows()[0].FolderText(), gone);
    EXPECT_EQ(legend.Rows()[0].moved, 0);
}

TEST_F(KeyLegendWindow, OpensBesideTheGridAndFollowsBindEraseAndImport) {
    EXPECT_TRUE(Legend().isVisible());
    EXPECT_EQ(Legend().windowTitle(), "Key Bindings");
    EXPECT_EQ(QApplication::activeWindow(), window.get());
    EXPECT_EQ(window->SelectedCell(), &window->Cell(0));
    QStringList headers;
    for (int column = 0; column < Legend().List().columnCount(); ++column)
        headers.append(Legend().List().horizontalHeaderItem(column)->text());
    EXPECT_EQ(headers, QStringList({"Keystroke", "Acts on", "Folder", "Moved"}));
    EXPECT_EQ(Shown(Legend()),
              Lines({"A key | Selection | " + a + " | 0", "B key | All | " + b + " | 0"}));

    // A refused binding changes nothing; a new one is added at the end.
    window->SetClassifyKey(0x41, 0, true, b);
    const QString nowhere = Q(sorted.Path("nowhere")) + "/";
    window->SetClassifyKey(0x70, 2, true, nowhere);
    EXPECT_EQ(Shown(Legend()),
              Lines({"A key | Selection | " + a + " | 0", "B key | All | " + b + " | 0",
                     "CTRL+F1 key | All | " + nowhere + " (missing) | 0"}));

    messages.answerOk = false;
    Trigger("mnuSPGEraseKeyDir");
    EXPECT_EQ(Legend().List().rowCount(), 3);
    messages.answerOk = true;
    Trigger("mnuSPGEraseKeyDir");
    EXPECT_EQ(Legend().List().rowCount(), 0);

    // Closed, it still catches up with what changed meanwhile when opened again.
    Legend().close();
    const std::string keys = "\"F2 key\",\"Selection\",\"" + a.toStdString() +
                             "\"\r\n\"Open paren\",\"All\",\"" + b.toStdString() + "\"\r\n";
    fileDialog.answers.push_back(Q(incoming.WriteText("keys.txt", keys)));
    Trigger("mnuFileKeyListImport");
    Trigger("mnuSPGKeyBindings");
    EXPECT_TRUE(Legend().isVisible());
    EXPECT_EQ(Shown(Legend()),
              Lines({"F2 key | Selection | " + a + " | 0", "SHIFT+9 key | All | " + b + " | 0"}));
    // An import replaces the bindings while the legend is open, too.
    fileDialog.answers.push_back(
        Q(incoming.WriteText("one.txt", "\"F3 key\",\"All\",\"" + a.toStdString() + "\"\r\n")));
    Trigger("mnuFileKeyListImport");
    EXPECT_EQ(Shown(Legend()), Lines({"F3 key | All | " + a + " | 0"}));
}

TEST_F(KeyLegendWindow, ImportBringsTheLegendAndTheMenuShortcutsUpToDateOnce) {
    // Ctrl+O is bound before the import and by the file again: followed once,
    // the Open item's shortcut never comes back in between.
    window->SetClassifyKey(0x4F, 2, false, a);
    QAction* open = window->findChild<QAction*>("mnuFileOpen");
    ASSERT_TRUE(open->shortcut().isEmpty());
    int shortcutChanges = 0;
    QObject::connect(open, &QAction::changed, [&shortcutChanges] { ++shortcutChanges; });
    // The list grows by one step when refreshed once, and by one per line otherwise.
    int rowChanges = 0;
    const QAbstractItemModel* rows = Legend().List().model();
    QObject::connect(rows, &QAbstractItemModel::rowsInserted, [&rowChanges] { ++rowChanges; });
    QObject::connect(rows, &QAbstractItemModel::rowsRemoved, [&rowChanges] { ++rowChanges; });

    std::string keys = "\"CTRL+O key\",\"All\",\"" + a.toStdString() + "\"\r\n";
    for (int i = 1; i <= 12; ++i)
        keys += "\"F" + std::to_string(i) + " key\",\"All\",\"" + b.toStdString() + "\"\r\n";
    fileDialog.answers.push_back(Q(incoming.WriteText("keys.txt", keys)));
    Trigger("mnuFileKeyListImport");

    EXPECT_EQ(rowChanges, 1);
    EXPECT_EQ(shortcutChanges, 0);
    EXPECT_TRUE(open->shortcut().isEmpty());
    ASSERT_EQ(Legend().List().rowCount(), 13);
    EXPECT_EQ(Legend().List().item(0, frmKeyLegend::Keystroke)->text(), "CTRL+O key");
    EXPECT_EQ(Legend().List().item(12, frmKeyLegend::Keystroke)->text(), "F12 key");
    EXPECT_TRUE(messages.texts.isEmpty());

    // An import that unbinds Ctrl+O gives the item its shortcut back.
    fileDialog.answers.push_back(
        Q(incoming.WriteText("f1.txt", "\"F1 key\",\"All\",\"/f1/\"\r\n")));
    Trigger("mnuFileKeyListImport");
    EXPECT_EQ(open->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(Legend().List().rowCount(), 1);
}

TEST_F(KeyLegendWindow, CountsAreTheRecordingsEachFolderHoldsNow) {
    window->SetClassifyKey(0x43, 0, false, b);  // C: the selection to b
    // The Moved column of the rows for a and b, and what a and b really hold.
    const auto counts = [this] {
        const QTableWidget& list = Legend().List();
        return std::make_pair(list.item(0, frmKeyLegend::Moved)->text().toInt(),
                              list.item(1, frmKeyLegend::Moved)->text().toInt());
    };
    const auto held = [this] {
        return std::make_pair(static_cast<int>(QDir(a).entryList(QDir::Files).size()),
                              static_cast<int>(QDir(b).entryList(QDir::Files).size()));
    };
    Press(1, Qt::Key_A);
    Press(2, Qt::Key_A);
    EXPECT_EQ(counts(), std::make_pair(2, 0));
    Press(2, Qt::Key_C);  // r2 sorted again, out of a into b
    EXPECT_EQ(counts(), std::make_pair(1, 1));
    EXPECT_EQ(held(), std::make_pair(1, 1));
    Trigger("mnuSPGUndo");  // r2 back into a
    EXPECT_EQ(counts(), std::make_pair(2, 0));
    EXPECT_EQ(held(), std::make_pair(2, 0));

    Press(4, Qt::Key_B);  // all six into b, r1 and r2 out of a
    EXPECT_EQ(counts(), std::make_pair(0, 6));
    EXPECT_EQ(held(), std::make_pair(0, 6));
    Trigger("mnuSPGUndo");
    Trigger("mnuSPGUndo");  // r2 back where the batch had it
    EXPECT_EQ(counts(), std::make_pair(1, 0));
    EXPECT_EQ(held(), std::make_pair(1, 0));
    Trigger("mnuSPGUndo");
    EXPECT_EQ(counts(), std::make_pair(0, 0));

    // A folder that went away is marked after the keystroke that found it gone,
    // and the mark goes when a keystroke finds it back.
    ASSERT_TRUE(QDir(a).removeRecursively());
    Press(1, Qt::Key_A);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(Legend().List().item(0, frmKeyLegend::Folder)->text(), a + " (missing)");
    ASSERT_TRUE(QDir().mkdir(a));
    Press(1, Qt::Key_A);
    EXPECT_EQ(Shown(Legend()),
              Lines({"A key | Selection | " + a + " | 1", "B key | All | " + b + " | 0",
                     "C key | Selection | " + b + " | 0"}));
    EXPECT_EQ(messages.texts.size(), 1);
}

TEST_F(KeyLegendWindow, PlaceAndVisibilityOutliveARestart) {
    Legend().move(150, 90);
    Legend().resize(400, 220);
    QCoreApplication::processEvents();
    window->close();
    window.reset();

    const QString file = settingsFolder.filePath("Corvane.conf");
    auto restart = [&](QtSettingsStore& store) {
        window = std::make_unique<frmMain>(
            MainWindowServices{messages, fileDialog, fileMover, fileWriter, store,
                               LoadedControlModule(), ScreenDpi{96, 96}});
        window->show();
        QCoreApplication::processEvents();
    };
    {
        QtSettingsStore store(file);
        restart(store);
        EXPECT_TRUE(Legend().isVisible());
        EXPECT_EQ(Legend().pos(), QPoint(150, 90));
        EXPECT_EQ(Legend().size(), QSize(400, 220));
        Legend().close();
        window->close();
        window.reset();
    }
    {
        QtSettingsStore store(file);
        restart(store);
        EXPECT_FALSE(Legend().isVisible());
        Trigger("mnuSPGKeyBindings");
        EXPECT_EQ(Legend().pos(), QPoint(150, 90));
        window->close();
        window.reset();
    }
    QSettings stored(file, QSettings::IniFormat);
    EXPECT_EQ(stored.value("Key Bindings/Visible").toString(), "True");
    EXPECT_EQ(stored.value("Key Bindings/Left").toString(), "150");
    EXPECT_EQ(stored.value("Key Bindings/Width").toString(), "400");
    // The described keys are still there beside the new section.
    EXPECT_EQ(stored.value("Cell Size/Cell Width").toString(), "1500");

    // A place on a screen that is gone is left to the window system; the size stays.
    QtSettingsStore store(file);
    store.SaveSetting("Key Bindings", "Left", "-40000");
    ASSERT_EQ(store.Commit(), QString());
    restart(store);
    EXPECT_TRUE(Legend().isVisible());
    EXPECT_NE(Legend().pos(), QPoint(-40000, 90));
    EXPECT_EQ(Legend().size(), QSize(400, 220));
    window.reset();
}
