#include <gtest/gtest.h>

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "control/CSonoluxCtrl.h"
#include "tests/control/mocks/FakeSoundPlayer.h"
#include "tests/support/TempFolder.h"

namespace {

std::unique_ptr<QMimeData> FileList(const QStringList& paths) {
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& path : paths) urls.append(QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}

// A file list as a file manager writes it, percent-encoded bytes and all.
std::unique_ptr<QMimeData> UriList(const QByteArray& url) {
    auto data = std::make_unique<QMimeData>();
    data->setData(QStringLiteral("text/uri-list"), url + "\r\n");
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

// On Linux "Bird.WAV ", "Bird.WAV" and "bird.wav" are three files: the one
// dropped is the one loaded.
TEST_F(Drop, NameIsTakenExactlyAsTheFileSystemSpellsIt) {
    const QString spaced = QString::fromStdString(folder.WriteWave("Bird.WAV ", {7, 8, 9}));
    const QString plain = QString::fromStdString(folder.WriteWave("Bird.WAV", {1, 2, 3, 4, 5}));
    folder.WriteWave("bird.wav", {6});

    EXPECT_TRUE(DragAndDrop(*FileList({spaced})));
    EXPECT_EQ(control.GetFilename(), spaced);
    EXPECT_EQ(control.GetTotalFrames(), 3u);
    EXPECT_EQ(control.Samples(), (std::vector<std::int16_t>{7, 8, 9}));

    EXPECT_TRUE(DragAndDrop(*FileList({plain})));
    EXPECT_EQ(control.GetFilename(), plain);
    EXPECT_EQ(control.GetTotalFrames(), 5u);

    // "file://localhost/..." names the same local file as "file:///...".
    QByteArray viaLocalhost = QUrl::fromLocalFile(spaced).toEncoded();
    viaLocalhost.replace("file://", "file://localhost");
    EXPECT_TRUE(DragAndDrop(*UriList(viaLocalhost)));
    EXPECT_EQ(control.GetFilename(), spaced);
    EXPECT_EQ(control.GetTotalFrames(), 3u);
}

// QUrl reads a byte that is not UTF-8 as U+FFFD, keeps a NUL byte in the name
// and decodes "%2F" into a folder separator: each of these drops would have
// loaded another file that is there.
TEST_F(Drop, NamesThatNameNoFileExactlyAreRefused) {
    const std::string twin = folder.WriteWave("caf\xEF\xBF\xBD.wav", {1, 2});  // U+FFFD
    folder.WriteWave("caf\xE9.wav", {3, 4, 5});                                // Latin-1
    folder.WriteWave("bird.wav", {6});
    folder.MakeFolder("sub");
    folder.WriteWave("sub/bird.wav", {7});
    const QString before = QString::fromStdString(folder.WriteWave("before.wav", {42}));
    control.SetFilename(before);

    const QByteArray root = QUrl::fromLocalFile(QString::fromStdString(folder.Path())).toEncoded();
    for (const QByteArray& url : {root + "/caf%E9.wav", root + "/bird.wav%00.wav",
                                  root + "/sub%2Fbird.wav", root + "/sub%2fbird.wav"}) {
        EXPECT_FALSE(DragAndDrop(*UriList(url))) << url.toStdString();
    }
    QByteArray elsewhere = root + "/bird.wav";
    elsewhere.replace("file://", "file://elsewhere");
    EXPECT_FALSE(DragAndDrop(*UriList(elsewhere)));
    EXPECT_EQ(control.GetFilename(), before);
    EXPECT_EQ(control.Samples(), (std::vector<std::int16_t>{42}));

    // The twin's own name is text that names it exactly.
    EXPECT_TRUE(DragAndDrop(*FileList({QString::fromStdString(twin)})));
    EXPECT_EQ(control.Samples(), (std::vector<std::int16_t>{1, 2}));
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
