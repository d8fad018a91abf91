#include <gtest/gtest.h>

#include <QStringList>

#include "sorting/BatchSource.h"
#include "tests/classifier/mocks/FakeServices.h"
#include "tests/support/TempFolder.h"

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Cells that record what a batch asked of them, and how many messages the
// user had seen when the batch was announced.
class RecordingBatchCells : public IBatchCells {
public:
    RecordingBatchCells(int capacity, const FakeMessageBox& messages)
        : m_capacity(capacity), m_messages(messages) {}
    int BatchCapacity() const override { return m_capacity; }
    void ShowBatch(const QStringList& paths) override { shown.append(paths); }
    void BatchShown() override { messagesWhenShown.push_back(m_messages.texts.size()); }

    QStringList shown;
    std::vector<qsizetype> messagesWhenShown;

private:
    int m_capacity;
    const FakeMessageBox& m_messages;
};

}  // namespace

TEST(BatchSource, NextBatchReadsTheDialogPathsFolderAndNothingForABareName) {
    EXPECT_EQ(BatchSource::NextBatchFolder("/data/birds/robin.wav"), "/data/birds");
    EXPECT_EQ(BatchSource::NextBatchFolder("any.wav"), "");
    EXPECT_EQ(BatchSource::NextBatchFolder(""), "");

    FakeMessageBox messages;
    BatchSource source(messages);
    RecordingBatchCells cells(25, messages);
    source.Fill(BatchSource::NextBatchFolder("keylist.txt"), cells,
                WaveBatch::WaveNames::LowerCaseOnly);
    EXPECT_TRUE(cells.shown.isEmpty());
    EXPECT_TRUE(cells.messagesWhenShown.empty());
    EXPECT_EQ(source.Count().Folder(), "");
}

TEST(BatchSource, FillsUpToCapacityCountsTheFolderAndTellsSkippedNamesAfterShowingIt) {
    TempFolder folder;
    folder.WriteWave("c.wav");
    folder.WriteWave("a.wav");
    folder.WriteWave("b.wav");
    folder.WriteWave("caf\xe9.wav");
    const QString root = Q(folder.Path());
    FakeMessageBox messages;
    BatchSource source(messages);
    RecordingBatchCells cells(2, messages);
    source.Fill(root, cells, WaveBatch::WaveNames::LowerCaseOnly);

    EXPECT_EQ(cells.shown, QStringList({root + "/a.wav", root + "/b.wav"}));
    EXPECT_EQ(source.Count().Folder(), root);
    EXPECT_EQ(source.Count().Left(), 3);
    // The batch is on screen, and counted, before the box about the rest comes up.
    EXPECT_EQ(cells.messagesWhenShown, std::vector<qsizetype>({0}));
    EXPECT_EQ(messages.texts,
              QStringList({"1 wave file in \"" + root +
                           "\" was skipped: its name is not valid UTF-8 text, so Corvane cannot "
                           "show or move it safely. Rename it to sort it."}));

    source.Moved(root + "/a.wav", "/elsewhere/a.wav");
    EXPECT_EQ(source.Count().Left(), 2);
}

TEST(BatchSource, CommandLineFolderStandsAsItsFirstWaveFileOrAsAnyWaveInIt) {
    TempFolder folder;
    folder.WriteWave("B.WAV");
    folder.WriteText("notes.txt", "x");
    const QString root = Q(folder.Path());
    FakeMessageBox messages;
    BatchSource source(messages);

    const auto lowerCase = source.FromCommandLine(root, WaveBatch::WaveNames::LowerCaseOnly);
    ASSERT_TRUE(lowerCase.has_value());
    EXPECT_EQ(lowerCase->dialogPath, root + "/any.wav");
    EXPECT_EQ(lowerCase->folder, root);

    const auto anyCase = source.FromCommandLine(root + "/", WaveBatch::WaveNames::AnyCase);
    ASSERT_TRUE(anyCase.has_value());
    EXPECT_EQ(anyCase->dialogPath, root + "/B.WAV");
    EXPECT_EQ(anyCase->folder, root);

    const auto file = source.FromCommandLine(root + "/./notes.txt", WaveBatch::WaveNames::AnyCase);
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->dialogPath, root + "/notes.txt");
    EXPECT_EQ(file->folder, root);
    EXPECT_TRUE(messages.texts.isEmpty());
}
