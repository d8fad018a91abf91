// The folders' suggestions on the grid, with real recordings made to order in real
// bound folders, the real module's analysis and real moves; the analyses are kept
// in a temporary folder.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <random>

#include "cells/CellMarks.h"
#include "scripts/demo/WaveWriter.h"
#include "suggest/SuggestionService.h"
#include "tests/classifier/mocks/MainWindowFixture.h"
#include "tests/support/CallCorpus.h"
#include "tests/support/TempFolder.h"

namespace {

using CallCorpus::Shape;

class Suggestions : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(LoadedControlModule().CanAnalyse());
        window->SetSuggestionSources(
            [this](const QString& path) {
                ++analysed;
                if (path.startsWith(held)) {
                    std::unique_lock<std::mutex> lock(gate);
                    ++waiting;
                    arrived.notify_all();
                    opened.wait(lock, [this] { return released; });
                }
                return LoadedControlModule().Analyse(path);
            },
            CachePath());
    }
    void TearDown() override {
        Release();
        window.reset();
    }

    QString CachePath() const { return QString::fromStdString(root.Path("cache/analyses.bin")); }
    QAction* Item(const char* name) const {
        return window->findChild<QAction*>(QLatin1String(name));
    }
    // `count` recordings of `shape` in `folder` (made if need be), clearly over their noise.
    QString Make(const std::string& folder, Shape shape, int count) {
        const QString path = QString::fromStdString(root.Path(folder));
        QDir().mkpath(path);
        for (int i = 0; i < count; ++i) {
            const CallCorpus::Recording recording = CallCorpus::Make(shape, random, 1.0, 18, 30);
            const std::string name = folder + "/" + folder + "-" + CallCorpus::ShapeName(shape) +
                                     std::to_string(i) + ".wav";
            EXPECT_TRUE(
                corvane::WriteMono16Wave(root.Path(name), recording.sampleRate, recording.samples));
        }
        return path;
    }
    // Binds Ctrl+1, Ctrl+2, ... to `folders`, each for the selected cell.
    void Bind(const QStringList& folders) {
        for (int i = 0; i < folders.size(); ++i)
            window->SetClassifyKey(static_cast<std::int16_t>('1' + i), 2, false, folders[i] + "/");
    }
    // Every request made so far answered, and its answers delivered.
    void Settle() {
        ASSERT_NE(window->Suggestions().Service(), nullptr);
        window->Suggestions().Service()->WaitUntilIdle();
        QCoreApplication::processEvents();
    }
    int VisibleWithFiles() const {
        int count = 0;
        for (int i = 0; i < window->VisibleCellCount(); ++i)
            count += window->Cell(i).Filename().isEmpty() ? 0 : 1;
        return count;
    }
    void WaitUntilHeld() {
        std::unique_lock<std::mutex> lock(gate);
        arrived.wait(lock, [this] { return waiting >= 1; });
    }
    QString Badge(int cell) const { return window->Cell(cell).Marks().Suggestion(); }
    void Release() {
        {
            const std::lock_guard<std::mutex> lock(gate);
            released = true;
        }
        opened.notify_all();
    }

    TempFolder root;
    std::mt19937 random{20261207};
    std::atomic<int> analysed{0};
    // Analyses of recordings under `held` wait until released.
    QString held = QStringLiteral("/nowhere/");
    std::mutex gate;
    std::condition_variable opened;
    std::condition_variable arrived;
    bool released = false;
    int waiting = 0;
};

TEST_F(Suggestions, AcceptMovesEachSuggestedRecordingIntoItsFolderAndOneUndoTakesAllBack) {
    const QStringList folders = {Make("tone", Shape::Tone, 5), Make("sweep", Shape::UpSweep, 5),
                                 Make("stack", Shape::HarmonicStack, 5)};
    Make("unsorted", Shape::Tone, 2);
    Make("unsorted", Shape::UpSweep, 2);
    Make("unsorted", Shape::HarmonicStack, 2);
    const QString unsorted = Make("unsorted", Shape::Empty, 2);
    Bind(folders);
    window->OpenFromCommandLine(unsorted);
    ASSERT_EQ(VisibleWithFiles(), 8);

    Item("mnuSPGSuggestions")->trigger();
    Settle();
    QStringList paths, badges;
    for (int i = 0; i < VisibleWithFiles(); ++i) {
        paths.append(window->Cell(i).Filename());
        badges.append(Badge(i));
    }
    ASSERT_GE(badges.count(QStringLiteral("empty?")), 1) << badges.join(',').toStdString();
    ASSERT_GE(badges.size() - badges.count(QStringLiteral("empty?")) - badges.count(QString()), 4)
        << badges.join(',').toStdString();
    ASSERT_TRUE(Item("mnuSPGAcceptSuggestions")->isEnabled());

    Item("mnuSPGAcceptSuggestions")->trigger();
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join("|").toStdString();
    int moved = 0;
    for (int i = 0; i < paths.size(); ++i) {
        const QString name = QFileInfo(paths[i]).fileName();
        const bool suggested = !badges[i].isEmpty() && badges[i] != "empty?";
        const QString there = root.Path(badges[i].toStdString() + "/").c_str() + name;
        EXPECT_EQ(QFileInfo::exists(paths[i]), !suggested) << name.toStdString();
        if (suggested) {
            ++moved;
            EXPECT_TRUE(QFileInfo::exists(there)) << there.toStdString();
            EXPECT_EQ(window->Cell(i).Filename(), there);
            EXPECT_EQ(Badge(i), QString()) << "a moved cell shows no suggestion";
            EXPECT_EQ(window->Cell(i).Marks().MovedTo(), badges[i]);
        } else {
            EXPECT_EQ(Badge(i), badges[i]);
        }
    }
    EXPECT_FALSE(Item("mnuSPGAcceptSuggestions")->isEnabled());
    EXPECT_EQ(Item("mnuSPGUndo")->text(),
              QStringLiteral("&Undo Classify %1 recordings").arg(moved));

    Item("mnuSPGUndo")->trigger();
    for (int i = 0; i < paths.size(); ++i) {
        EXPECT_TRUE(QFileInfo::exists(paths[i])) << paths[i].toStdString();
        EXPECT_EQ(window->Cell(i).Filename(), paths[i]);
        EXPECT_EQ(Badge(i), badges[i]) << "taken back, it shows its suggestion again";
    }
    for (const QString& folder : folders)
        EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 5) << folder.toStdString();
    EXPECT_FALSE(Item("mnuSPGUndo")->isEnabled());
}

TEST_F(Suggestions, AFolderOfTwoExamplesIsNotSuggestedUntilAKeystrokeMoveTeachesIt) {
    const QString sweeps = Make("sweep", Shape::UpSweep, 2);
    Bind({Make("tone", Shape::Tone, 5), sweeps});
    const QString unsorted = Make("unsorted", Shape::UpSweep, 2);
    window->OpenFromCommandLine(unsorted);
    Item("mnuSPGSuggestions")->trigger();
    Settle();
    EXPECT_NE(Badge(0), QStringLiteral("sweep"));
    EXPECT_NE(Badge(1), QStringLiteral("sweep"));

    QApplication::setActiveWindow(window.get());
    window->Cell(0).GiveFocus();
    QCoreApplication::processEvents();
    QTest::keyClick(window->Cell(0).Sonolux1(), Qt::Key_2, Qt::ControlModifier);
    ASSERT_EQ(QDir(sweeps).entryList(QDir::Files).size(), 3);
    Item("mnuFileNextBatch")->trigger();
    Settle();
    EXPECT_EQ(Badge(0), QStringLiteral("sweep")) << "the move taught the folder at once";
}

TEST_F(Suggestions, ABatchRefillTakesTheOldBadgesAwayAndNoStaleResultLandsOnTheNewCells) {
    Bind({Make("tone", Shape::Tone, 5), Make("sweep", Shape::UpSweep, 5)});
    const QString first = Make("first", Shape::Tone, 3);
    const QString second = Make("second", Shape::Empty, 3);
    // The first batch is answered only once the second has been asked for.
    held = first + "/";
    Item("mnuSPGSuggestions")->trigger();
    Settle();
    window->OpenFromCommandLine(first);
    WaitUntilHeld();
    window->Dialog().FileName = second + "/second-empty0.wav";
    Item("mnuFileNextBatch")->trigger();
    ASSERT_EQ(VisibleWithFiles(), 3);
    for (int i = 0; i < window->VisibleCellCount(); ++i) EXPECT_EQ(Badge(i), QString()) << i;

    Release();
    Settle();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(window->Cell(i).Filename().startsWith(second));
        EXPECT_EQ(Badge(i), QStringLiteral("empty?")) << i;
    }
    for (int i = 3; i < window->VisibleCellCount(); ++i) EXPECT_EQ(Badge(i), QString()) << i;
}

TEST_F(Suggestions, OffNothingIsAnalysedOrKeptAndOffAgainTakesTheBadgesAway) {
    Bind({Make("tone", Shape::Tone, 4), Make("sweep", Shape::UpSweep, 4)});
    const QString unsorted = Make("unsorted", Shape::Tone, 2);
    window->OpenFromCommandLine(unsorted);
    Item("mnuFileNextBatch")->trigger();
    EXPECT_FALSE(Item("mnuSPGAcceptSuggestions")->isEnabled());
    EXPECT_FALSE(Item("mnuSPGOrderBySuggestion")->isEnabled());
    EXPECT_EQ(window->Suggestions().Service(), nullptr);
    EXPECT_EQ(analysed.load(), 0);
    EXPECT_FALSE(QFileInfo::exists(CachePath()));

    Item("mnuSPGSuggestions")->trigger();
    Settle();
    EXPECT_GE(analysed.load(), 10);
    EXPECT_TRUE(QFileInfo::exists(CachePath())) << "kept once learning is done";
    EXPECT_EQ(Badge(0), QStringLiteral("tone"));
    EXPECT_TRUE(Item("mnuSPGOrderBySuggestion")->isEnabled());

    Item("mnuSPGSuggestions")->trigger();
    EXPECT_EQ(Badge(0), QString());
    EXPECT_FALSE(Item("mnuSPGAcceptSuggestions")->isEnabled());
}

TEST_F(Suggestions, OrderBySuggestionGroupsTheBatchOnceWithoutChangingItsFiles) {
    Bind({Make("tone", Shape::Tone, 5), Make("sweep", Shape::UpSweep, 5)});
    // Named so that the batch alternates: a0 sweep, a1 tone, a2 empty, a3 sweep, ...
    const QString unsorted = QString::fromStdString(root.MakeFolder("unsorted"));
    const Shape shapes[] = {Shape::UpSweep, Shape::Tone, Shape::Empty};
    for (int i = 0; i < 6; ++i) {
        const CallCorpus::Recording recording =
            CallCorpus::Make(shapes[i % 3], random, 1.0, 18, 30);
        ASSERT_TRUE(corvane::WriteMono16Wave(root.Path("unsorted/a" + std::to_string(i) + ".wav"),
                                             recording.sampleRate, recording.samples));
    }
    window->OpenFromCommandLine(unsorted);
    QStringList before;
    for (int i = 0; i < 6; ++i) before.append(window->Cell(i).Filename());

    Item("mnuSPGSuggestions")->trigger();
    Item("mnuSPGOrderBySuggestion")->trigger();
    Settle();
    QStringList after, badges;
    for (int i = 0; i < 6; ++i) {
        after.append(window->Cell(i).Filename());
        badges.append(Badge(i));
    }
    EXPECT_EQ(QSet<QString>(after.begin(), after.end()),
              QSet<QString>(before.begin(), before.end()));
    // Folders by name, then likely empty, then none; the batch's order within each.
    QStringList grouped = badges;
    const auto rank = [](const QString& badge) {
        return badge == "empty?" ? 1 : badge.isEmpty() ? 2 : 0;
    };
    std::stable_sort(grouped.begin(), grouped.end(), [&rank](const QString& a, const QString& b) {
        return std::make_pair(rank(a), rank(a) == 0 ? a : QString()) <
               std::make_pair(rank(b), rank(b) == 0 ? b : QString());
    });
    EXPECT_EQ(badges, grouped);
    EXPECT_NE(after, before) << badges.join(',').toStdString();
    for (int i = 1; i < 6; ++i) {
        if (badges[i] == badges[i - 1]) {
            EXPECT_LT(before.indexOf(after[i - 1]), before.indexOf(after[i])) << i;
        }
    }
}

}  // namespace
