#include <gtest/gtest.h>

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "CSonoluxCtrl.h"
#include "FakeSoundPlayer.h"
#include "TempFolder.h"

namespace {

std::unique_ptr<QMimeData> FileList(const QStringList& paths) {
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& path : paths) urls.append(QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}

struct Drop : ::testing::Test {
    // Drags `data` onto the control and drops it, as Qt would deliver it.
    bool DragAndDrop(const QMimeData& data, Qt::DropActions allowed = Qt::CopyAction) {
        COleDropTarget& target = *control.GetWindowlessDropTarget();
        QDragEnterEvent enter(QPoint(5, 5), allowed, &data, Qt::LeftButton, Qt::NoModifier);
        target.HandleDragEnter(enter);
        QDropEvent drop(QPointF(5, 5), allowed, &data, Qt::LeftButton, Qt::NoModifier);
        target.HandleDrop(drop);
        return drop.isAccepted();
    }

    FakeSoundPlayer player;
    CSonoluxCtrl control{player};
    TempFolder folder;
};

}  // namespace

TEST_F(Drop, OneWaveFileIsTakenWithTrailingSpaceRemovedAndCaseKept) {
    const std::string real = folder.WriteWave("Loud Bird.WAV", {7, 8, 9});
    auto data = FileList({QString::fromStdString(real) + "  "});
    EXPECT_TRUE(DragAndDrop(*data));
    EXPECT_EQ(control.GetFilename(), QString::fromStdString(real));
    // The name keeps its case, so the recording really loads.
    EXPECT_EQ(control.Samples(), (std::vector<std::int16_t>{7, 8, 9}));
}

TEST_F(Drop, TwoFilesOrAnotherExtensionAreRefusedAndChangeNothing) {
    control.SetFilename("/before.wav");
    auto two = FileList({"/a.wav", "/b.wav"});
    EXPECT_FALSE(DragAndDrop(*two));
    auto text = FileList({"/notes.txt"});
    EXPECT_FALSE(DragAndDrop(*text));
    auto none = std::make_unique<QMimeData>();
    none->setText("/c.wav");
    EXPECT_FALSE(DragAndDrop(*none));
    EXPECT_EQ(control.GetFilename(), "/before.wav");
}

TEST_F(Drop, AnswerIsFilteredAgainstTheSourcesAllowedEffects) {
    EXPECT_EQ(COleDropTarget::FilterEffect(DropEffectCopy, DropEffectCopy | DropEffectMove),
              DropEffectCopy);
    EXPECT_EQ(COleDropTarget::FilterEffect(DropEffectCopy, DropEffectMove | DropEffectLink),
              DropEffectMove);
    EXPECT_EQ(COleDropTarget::FilterEffect(DropEffectCopy, DropEffectLink), DropEffectLink);
    EXPECT_EQ(COleDropTarget::FilterEffect(DropEffectMove, DropEffectCopy), DropEffectCopy);
    EXPECT_EQ(COleDropTarget::FilterEffect(DropEffectCopy, DropEffectNone), DropEffectNone);
    EXPECT_EQ(COleDropTarget::FilterEffect(DropEffectNone, DropEffectCopy), DropEffectNone);

    // A dropped recording is only read: a source that offers nothing but a move
    // (and might then delete the original) is refused; a link is fine.
    auto data = FileList({"/moved.wav"});
    EXPECT_FALSE(DragAndDrop(*data, Qt::MoveAction));
    EXPECT_EQ(control.GetFilename(), "");
    EXPECT_TRUE(DragAndDrop(*data, Qt::MoveAction | Qt::LinkAction));
    EXPECT_EQ(control.GetFilename(), "/moved.wav");
}

TEST_F(Drop, DropWithoutAcceptedEnterIsRefused) {
    auto text = FileList({"/notes.txt"});
    COleDropTarget& target = *control.GetWindowlessDropTarget();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, text.get(), Qt::LeftButton, Qt::NoModifier);
    target.HandleDragEnter(enter);
    EXPECT_FALSE(enter.isAccepted());
    // The answer comes from the flag set at drag enter, not from a new test.
    auto wave = FileList({"/late.wav"});
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, wave.get(), Qt::LeftButton, Qt::NoModifier);
    target.HandleDrop(drop);
    EXPECT_FALSE(drop.isAccepted());
    EXPECT_EQ(control.GetFilename(), "");
}
