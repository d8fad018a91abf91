#include "sorting/CellClassifier.h"

#include <gtest/gtest.h>

#include <QFile>

#include "files/FileMover.h"
#include "tests/classifier/mocks/FakeClassifiedCells.h"
#include "tests/classifier/mocks/FakeServices.h"
#include "tests/support/FileContents.h"
#include "tests/support/TempFolder.h"

namespace {

class Classification : public ::testing::Test {
protected:
    // Cells 0, 1 and 3 hold recordings of the batch folder; cell 2 is empty.
    void SetUp() override {
        for (const char* name : {"a.wav", "b.wav", "", "d.wav"})
            cells.files.push_back(*name ? Q(batch.WriteWave(name)) : QString());
        cells.visible = 4;
        cells.nextBatch.Listed(Q(batch.Path()), 3);
        into = Q(target.Path()) + "/";
    }

    TempFolder batch;
    TempFolder target;
    QString into;
    FakeCells cells;
    FileMover mover;
    FakeMessageBox messages;
    CellClassifier classifier{cells, mover, messages};
};

TEST_F(Classification, AllVisibleStopsAtTheFirstFailureAndKeepsWhatMoved) {
    target.WriteText("b.wav", "another recording of the same name");
    cells.files.push_back(Q(batch.WriteWave("hidden.wav")));

    classifier.ClassifyAllVisible(into);

    EXPECT_EQ(cells.files[0], into + "a.wav");
    EXPECT_TRUE(QFile::exists(into + "a.wav"));
    EXPECT_EQ(cells.files[1], Q(batch.Path("b.wav")));
    EXPECT_EQ(cells.files[3], Q(batch.Path("d.wav")));
    EXPECT_TRUE(QFile::exists(Q(batch.Path("d.wav"))));
    EXPECT_EQ(messages.texts, QStringList{"File exists"});
    EXPECT_EQ(cells.failed, QStringList{Q(batch.Path("b.wav"))});
    EXPECT_EQ(classifier.MovedInto(into), 1);
    EXPECT_EQ(classifier.UndoCaption(), "&Undo Classify a.wav");
    EXPECT_EQ(cells.nextBatch.Left(), 2);
    EXPECT_EQ(cells.files[4], Q(batch.Path("hidden.wav")));
}

TEST_F(Classification, TabAfterClassifyAdvancesPastEmptyCellsAndWraps) {
    cells.selected = 2;  // the empty cell: nothing moves, the selection still advances
    classifier.ClassifySelection(into, CellClassifier::Advance::NextCell);
    EXPECT_EQ(cells.selected, 3);
    EXPECT_FALSE(classifier.CanUndo());

    classifier.ClassifySelection(into, CellClassifier::Advance::NextCell);
    EXPECT_EQ(cells.files[3], into + "d.wav");
    EXPECT_EQ(cells.selected, 0);

    classifier.ClassifySelection(into, CellClassifier::Advance::Stay);
    EXPECT_EQ(cells.files[0], into + "a.wav");
    EXPECT_EQ(cells.selected, 0);
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(Classification, SkippingSortedCellsPassesOverMovedAndEmptyCellsThenStays) {
    cells.selected = 3;
    classifier.ClassifySelection(into, CellClassifier::Advance::NextUnsorted);
    EXPECT_EQ(cells.selected, 0);  // round the grid
    classifier.ClassifySelection(into, CellClassifier::Advance::NextUnsorted);
    EXPECT_EQ(cells.selected, 1);
    // b cannot move: it is the only one left unsorted, so the selection stays on it.
    target.WriteText("b.wav", "another recording of the same name");
    classifier.ClassifySelection(into, CellClassifier::Advance::NextUnsorted);
    EXPECT_EQ(cells.selected, 1);
    EXPECT_EQ(cells.everythingSorted, 0);
    ASSERT_TRUE(QFile::remove(into + "b.wav"));
    classifier.ClassifySelection(into, CellClassifier::Advance::NextUnsorted);
    EXPECT_EQ(cells.files[1], into + "b.wav");
    EXPECT_EQ(cells.selected, 1);
    EXPECT_EQ(cells.everythingSorted, 1);

    // Taken back, a recording is unsorted again and the advance finds it.
    classifier.Undo();
    cells.selected = 2;  // the empty cell: nothing moves
    classifier.ClassifySelection(into, CellClassifier::Advance::NextUnsorted);
    EXPECT_EQ(cells.selected, 1);
}

TEST_F(Classification, UndoKeepsOnlyTheRecordingThatCannotGoBack) {
    classifier.ClassifyAllVisible(into);
    ASSERT_EQ(classifier.MovedInto(into), 3);
    const std::string blocker = batch.WriteText("b.wav", "a new file under the old name");

    classifier.Undo();

    EXPECT_EQ(cells.files[0], Q(batch.Path("a.wav")));
    EXPECT_EQ(cells.files[1], into + "b.wav");
    EXPECT_EQ(cells.files[3], Q(batch.Path("d.wav")));
    EXPECT_EQ(messages.texts, QStringList{"File exists"});
    EXPECT_EQ(classifier.MovedInto(into), 1);
    EXPECT_EQ(classifier.UndoCaption(), "&Undo Classify b.wav");

    ASSERT_TRUE(QFile::remove(Q(blocker)));
    classifier.Undo();
    EXPECT_EQ(cells.files[1], Q(batch.Path("b.wav")));
    EXPECT_EQ(classifier.MovedInto(into), 0);
    EXPECT_FALSE(classifier.CanUndo());
    EXPECT_EQ(classifier.UndoCaption(), "&Undo Classify");
}

TEST_F(Classification, NextBatchCountFollowsMovesUndosAndANewListing) {
    TempFolder other;
    const QString otherInto = Q(other.Path()) + "/";
    cells.selected = 0;
    classifier.ClassifySelection(into, CellClassifier::Advance::Stay);
    EXPECT_EQ(cells.nextBatch.Left(), 2);
    // A second keystroke moves it on between two other folders.
    classifier.ClassifySelection(otherInto, CellClassifier::Advance::Stay);
    EXPECT_EQ(cells.nextBatch.Left(), 2);
    // It counts where it is now, no longer where it went first.
    EXPECT_EQ(classifier.MovedInto(into), 0);
    EXPECT_EQ(classifier.MovedInto(otherInto), 1);

    classifier.Undo();
    classifier.Undo();
    EXPECT_EQ(cells.files[0], Q(batch.Path("a.wav")));
    EXPECT_EQ(cells.nextBatch.Left(), 3);

    classifier.ClassifyAllVisible(into);
    EXPECT_EQ(cells.nextBatch.Left(), 0);
    cells.nextBatch.Listed(Q(batch.Path()), 0);  // Next Batch lists the folder again
    classifier.Undo();
    EXPECT_EQ(cells.nextBatch.Left(), 3);
    EXPECT_EQ(cells.nextBatch.Folder(), Q(batch.Path()));
}

}  // namespace
