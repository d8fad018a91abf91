#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QSettings>
#include <QTest>

#include "demo/WaveWriter.h"
#include "tests/classifier/mocks/MainWindowFixture.h"
#include "tests/support/TempFolder.h"
#include "windows/LoupeView.h"
#include "windows/frmLoupe.h"

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// A main window with a 3 x 2 grid: cell 0 holds 0.3 s at 22.05 kHz, cell 1
// 0.5 s at 96 kHz, the others nothing; A moves the selection into folder a.
struct LoupeWindow : MainWindowFixture {
    void SetUp() override {
        MainWindowFixture::SetUp();
        QApplication::setActiveWindow(window.get());
        ResizeClient(306, 140);
        wren = Write("wren.wav", 22050, 6615);
        kite = Write("kite.wav", 96000, 48000);
        window->Cell(0).SetFilename(wren);
        window->Cell(1).SetFilename(kite);
        a = Q(sorted.MakeFolder("a")) + "/";
        window->SetClassifyKey(0x41, 0, false, a);
    }

    QString Write(const std::string& name, std::uint32_t rate, int frames) {
        std::vector<std::int16_t> samples(static_cast<std::size_t>(frames));
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<std::int16_t>(i % 200 * 100);
        const std::string path = incoming.Path(name);
        EXPECT_TRUE(corvane::WriteMono16Wave(path, rate, samples));
        return Q(path);
    }
    void Trigger(const char* name) { window->findChild<QAction*>(name)->trigger(); }
    void Select(int cell) {
        window->Cell(cell).GiveFocus();
        QCoreApplication::processEvents();
    }
    frmLoupe& Loupe() const { return window->LoupeWindow(); }
    QVariant Shown(const char* property) const { return Loupe().Control()->property(property); }

    TempFolder incoming;
    TempFolder sorted;
    QString wren, kite, a;
};

}  // namespace

TEST_F(LoupeWindow, ShowsTheSelectedRecordingWholeAndFollowsSelectionMovesAndParameters) {
    QAction* item = window->findChild<QAction*>("mnuSPGLoupe");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "&Loupe...");
    // The additions follow the described items; the Loupe comes after Field View.
    const QList<QAction*> items = window->findChild<QMenu*>("mnuSPG")->actions();
    EXPECT_EQ(items.indexOf(item),
              items.indexOf(window->findChild<QAction*>("mnuSPGFieldView")) + 1);
    EXPECT_EQ(Loupe().Control(), nullptr);  // nothing made while never opened

    Trigger("mnuSPGLoupe");
    EXPECT_TRUE(Loupe().isVisible());
    EXPECT_EQ(Loupe().windowTitle(), "Loupe");
    EXPECT_EQ(QApplication::activeWindow(), window.get());
    ASSERT_NE(Loupe().Control(), nullptr);
    EXPECT_EQ(Shown("EverySample").toBool(), true);
    EXPECT_EQ(Shown("AutoContrast").toBool(), true);
    EXPECT_EQ(Shown("FrameLimit").toInt(), 4194304);
    EXPECT_EQ(Shown("Filename").toString(), wren);
    EXPECT_EQ(Loupe().Caption(), "wren.wav — 0.30 s, 22.05 kHz");
    EXPECT_DOUBLE_EQ(Loupe().View().Axes().Frequency().High(), 11.025);
    // The control is the loupe's second one, at the loupe's size between the axes.
    EXPECT_NE(Loupe().Control(), window->Cell(0).Sonolux1());
    EXPECT_EQ(Loupe().Control()->geometry(), Loupe().View().PictureRect());
    EXPECT_GT(Loupe().Control()->width(), 500);

    Select(1);
    EXPECT_EQ(Shown("Filename").toString(), kite);
    EXPECT_EQ(Loupe().Caption(), "kite.wav — 0.50 s, 96 kHz");
    EXPECT_DOUBLE_EQ(Loupe().View().Axes().Time().High(), 0.5);
    const QPoint middle = Loupe().Control()->rect().center();
    QMouseEvent move(QEvent::MouseMove, QPointF(middle), Loupe().Control()->mapToGlobal(middle),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Loupe().Control(), &move);
    EXPECT_TRUE(Loupe().PointerReadout().startsWith("0.2"))
        << Loupe().PointerReadout().toStdString();
    EXPECT_TRUE(Loupe().PointerReadout().endsWith(" kHz"));

    // A keystroke moves the selected recording: the loupe shows it where it went.
    QTest::keyClick(window->Cell(1).Sonolux1(), Qt::Key_A);
    ASSERT_TRUE(QFile::exists(a + "kite.wav"));
    EXPECT_EQ(window->Cell(1).Filename(), a + "kite.wav");
    EXPECT_EQ(Shown("Filename").toString(), a + "kite.wav");
    EXPECT_EQ(Loupe().Caption(), "kite.wav — 0.50 s, 96 kHz");
    Trigger("mnuSPGUndo");
    EXPECT_EQ(Shown("Filename").toString(), kite);

    // The options' parameter set reaches the loupe as it reaches the cells.
    window->UpdateSPGParams(4, 3, 100, 2, 110.5f, 30.25f);
    EXPECT_EQ(Shown("FFTSizeChoice").value<short>(), 4);
    EXPECT_EQ(Shown("FrameLengthChoice").value<short>(), 3);
    EXPECT_EQ(Shown("HopSize").toInt(), 100);
    EXPECT_EQ(Shown("WindowFunctionChoice").value<short>(), 2);
    EXPECT_EQ(Shown("PowerMax").toFloat(), 110.5f);
    EXPECT_EQ(Shown("PowerMin").toFloat(), 30.25f);

    // An empty cell, and an empty grid, show nothing and say so.
    Select(2);
    EXPECT_EQ(Shown("Filename").toString(), "");
    EXPECT_EQ(Loupe().Caption(), "No recording selected");
    EXPECT_FALSE(Loupe().Control()->isVisible());
    Select(0);
    EXPECT_TRUE(Loupe().Control()->isVisible());
    Trigger("mnuSPGClear");
    EXPECT_EQ(Loupe().Caption(), "No recording selected");
    EXPECT_TRUE(Loupe().View().Axes().Time().Ticks([](const QString&) { return 1.0; }, 1).empty());
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(LoupeWindow, PlaceAndVisibilityOutliveARestart) {
    const QString file = settingsFolder.filePath("Corvane.conf");
    auto restart = [&](QtSettingsStore& store) {
        window = std::make_unique<frmMain>(
            MainWindowServices{messages, fileDialog, fileMover, fileWriter, store,
                               LoadedControlModule(), ScreenDpi{96, 96}});
        window->show();
        QCoreApplication::processEvents();
    };
    // Never opened, the loupe leaves the settings file as it was.
    window->close();
    EXPECT_FALSE(QSettings(file, QSettings::IniFormat).contains("Loupe/Visible"));
    {
        QtSettingsStore store(file);
        restart(store);
        Trigger("mnuSPGLoupe");
        Loupe().move(140, 80);
        Loupe().resize(700, 360);
        QCoreApplication::processEvents();
        window->close();
        window.reset();
    }
    {
        QtSettingsStore store(file);
        restart(store);
        EXPECT_TRUE(Loupe().isVisible());
        EXPECT_EQ(Loupe().pos(), QPoint(140, 80));
        EXPECT_EQ(Loupe().size(), QSize(700, 360));
        Loupe().close();
        window->close();
        window.reset();
    }
    EXPECT_EQ(QSettings(file, QSettings::IniFormat).value("Loupe/Visible").toString(), "False");
    {
        QtSettingsStore store(file);
        restart(store);
        EXPECT_FALSE(Loupe().isVisible());
        Trigger("mnuSPGLoupe");
        EXPECT_EQ(Loupe().pos(), QPoint(140, 80));
        EXPECT_EQ(Loupe().size(), QSize(700, 360));
        window->close();
        window.reset();
    }
    QSettings stored(file, QSettings::IniFormat);
    EXPECT_EQ(stored.value("Loupe/Visible").toString(), "True");
    EXPECT_EQ(stored.value("Loupe/Left").toString(), "140");
    EXPECT_EQ(stored.value("Loupe/Top").toString(), "80");
    EXPECT_EQ(stored.value("Loupe/Width").toString(), "700");
    EXPECT_EQ(stored.value("Loupe/Height").toString(), "360");
    // The key legend's section is its own.
    EXPECT_FALSE(stored.contains("Key Bindings/Visible"));
}
