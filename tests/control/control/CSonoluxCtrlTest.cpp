#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

#include "control/CSonoluxCtrl.h"
#include "control/SonoluxTypeLibrary.h"
#include "demo/WaveWriter.h"
#include "tests/control/mocks/FakeSoundPlayer.h"
#include "tests/control/mocks/FinishPictures.h"
#include "tests/engine/WaveBytes.h"
#include "tests/support/TempFolder.h"

namespace {

struct Control : ::testing::Test {
    Control() { control.resize(150, 100); }
    FakeSoundPlayer player;
    CSonoluxCtrl control{player};
};

}  // namespace

// Renders the control as a metafile, which builds a dirty image at once.
void Render(CSonoluxCtrl& control) {
    QImage target(control.size(), QImage::Format_RGB32);
    QPainter painter(&target);
    control.DrawMetafile(painter, target.rect());
}

// The first and the last grid column that hold anything but white.
std::pair<int, int> DarkColumns(const sonolux::SpectrogramImage& image) {
    int first = -1;
    int last = -1;
    const sonolux::SpectrogramGeometry& grid = image.BuiltGeometry();
    for (int column = 0; column < grid.frameCount; ++column) {
        for (int row = 0; row < grid.binCount; ++row) {
            if (image.Image().pixelIndex(column, row) == 255) continue;
            if (first < 0) first = column;
            last = column;
        }
    }
    return {first, last};
}

QVariantList LoadState(const CSonoluxCtrl& control) {
    QVariantList values;
    for (const char* name :
         {"Loaded", "SampleRate", "Channels", "BitsPerSample", "TotalFrames", "LoadedFrames"})
        values.append(control.property(name));
    return values;
}

const QVariantList NothingLoaded = {false, 0u, 0, 0, 0u, 0};

TEST_F(Control, StartsWithItsInitialValues) {
    EXPECT_EQ(control.property("FrameLengthChoice").toInt(), 2);
    EXPECT_EQ(control.property("FFTSizeChoice").toInt(), 3);
    EXPECT_EQ(control.property("WindowFunctionChoice").toInt(), 0);
    EXPECT_EQ(control.property("HopSize").toInt(), 64);
    EXPECT_FLOAT_EQ(control.property("PowerMin").toFloat(), 20.0f);
    EXPECT_FLOAT_EQ(control.property("PowerMax").toFloat(), 120.0f);
    EXPECT_EQ(control.property("OLEDropMode").toInt(), 1);
    EXPECT_EQ(control.property("PlayOnClick").toInt(), 0);
    EXPECT_EQ(control.property("Filename").toString(), "");
    EXPECT_EQ(control.property("AudioSamplesDataPath").toString(), "");
    EXPECT_TRUE(control.IsImageDirty());
    EXPECT_EQ(control.property("FrameLimit").toInt(), 48000);
    EXPECT_EQ(control.property("FloatSamples").toBool(), false);
    EXPECT_EQ(LoadState(control), NothingLoaded);
    EXPECT_EQ(control.property("Playing").toBool(), false);
    EXPECT_EQ(control.property("PlayError").toString(), "");
}

TEST_F(Control, DispatchIdentifiersReachTheSameProperties) {
    QVariant value;
    ASSERT_TRUE(control.GetDispatchProperty(SonoluxDispid::HopSize, value));
    EXPECT_EQ(value.toInt(), 64);
    // The host writes choices as 32-bit integers; they are converted to 16 bits.
    EXPECT_TRUE(control.SetDispatchProperty(SonoluxDispid::FFTSizeChoice, QVariant(5)));
    EXPECT_EQ(control.GetFFTSizeChoice(), 5);
    EXPECT_TRUE(control.SetDispatchProperty(SonoluxDispid::PowerMax, QVariant(99.5)));
    EXPECT_FLOAT_EQ(control.GetPowerMax(), 99.5f);
    EXPECT_TRUE(control.SetDispatchProperty(SonoluxDispid::Filename, QVariant("/x/y.wav")));
    ASSERT_TRUE(control.GetDispatchProperty(SonoluxDispid::Filename, value));
    EXPECT_EQ(value.toString(), "/x/y.wav");
    // A value that does not fit the property's type is refused, not wrapped.
    EXPECT_FALSE(control.SetDispatchProperty(SonoluxDispid::FFTSizeChoice, QVariant(70000)));
    EXPECT_EQ(control.GetFFTSizeChoice(), 5);
    EXPECT_FALSE(control.SetDispatchProperty(99, QVariant(1)));
    EXPECT_FALSE(control.InvokeDispatchMethod(SonoluxDispid::Filename));
    EXPECT_TRUE(control.InvokeDispatchMethod(SonoluxDispid::DoClick));
    EXPECT_TRUE(control.InvokeDispatchMethod(SonoluxDispid::Play));
    EXPECT_EQ(player.played, QStringList({"/x/y.wav"}));
}

TEST_F(Control, HostsReachDispatchIdentifiersThroughTheMetaObjectWithNameConversions) {
    // As a host that loaded the module at run time calls them.
    bool done = false;
    ASSERT_TRUE(QMetaObject::invokeMethod(&control, "SetDispatchProperty", Q_RETURN_ARG(bool, done),
                                          Q_ARG(int, SonoluxDispid::FFTSizeChoice),
                                          Q_ARG(QVariant, QVariant(5))));
    EXPECT_TRUE(done);
    EXPECT_EQ(control.GetFFTSizeChoice(), 5);
    QVariant value;
    ASSERT_TRUE(QMetaObject::invokeMethod(&control, "GetDispatchProperty", Q_RETURN_ARG(bool, done),
                                          Q_ARG(int, SonoluxDispid::HopSize),
                                          Q_ARG(QVariant&, value)));
    EXPECT_TRUE(done);
    EXPECT_EQ(value.toInt(), 64);
    ASSERT_TRUE(QMetaObject::invokeMethod(&control, "InvokeDispatchMethod",
                                          Q_RETURN_ARG(bool, done),
                                          Q_ARG(int, SonoluxDispid::Play)));
    EXPECT_EQ(player.played.size(), 1);

    // A value is taken or refused by identifier as by name, and rounded alike.
    for (const QVariant& written : {QVariant(2.5), QVariant(-2.5), QVariant("7"), QVariant("2.5"),
                                    QVariant("1,000"), QVariant("many"), QVariant(true)}) {
        CSonoluxCtrl byName{player};
        CSonoluxCtrl byIdentifier{player};
        const bool named = byName.setProperty("WindowFunctionChoice", written);
        EXPECT_EQ(byIdentifier.SetDispatchProperty(SonoluxDispid::WindowFunctionChoice, written),
                  named)
            << written.toString().toStdString();
        EXPECT_EQ(byIdentifier.GetWindowFunctionChoice(), byName.GetWindowFunctionChoice())
            << written.toString().toStdString();
    }
    // What does not fit the type is refused by identifier, never wrapped.
    for (const QVariant& tooBig : {QVariant(70000), QVariant(32767.5), QVariant("-40000")})
        EXPECT_FALSE(control.SetDispatchProperty(SonoluxDispid::FFTSizeChoice, tooBig))
            << tooBig.toString().toStdString();
    EXPECT_FALSE(control.SetDispatchProperty(SonoluxDispid::HopSize, QVariant(qint64{1} << 31)));
    EXPECT_EQ(control.GetFFTSizeChoice(), 5);
    EXPECT_EQ(control.GetHopSize(), 64);
}

TEST_F(Control, StoresOutOfRangeValuesWithoutComplaint) {
    control.SetHopSize(0);
    control.SetPowerMin(130);
    EXPECT_EQ(control.GetHopSize(), 0);
    EXPECT_FLOAT_EQ(control.GetPowerMin(), 130);
    EXPECT_FLOAT_EQ(control.GetPowerMax(), 120);
}

TEST_F(Control, ParameterWriteMarksTheImageDirtyButFlagsDoNot) {
    QImage target(150, 100, QImage::Format_RGB32);
    {
        QPainter painter(&target);
        control.DrawMetafile(painter, target.rect());
    }
    ASSERT_FALSE(control.IsImageDirty());
    control.SetModifiedFlag(false);
    control.SetPlayOnClick(-1);
    control.SetOLEDropMode(0);
    EXPECT_FALSE(control.IsImageDirty());
    EXPECT_TRUE(control.IsModified());
    control.SetHopSize(control.GetHopSize());  // the same value still counts as a change
    EXPECT_TRUE(control.IsImageDirty());
}

TEST_F(Control, ScreenPaintShowsCalculatingThenRebuildsOnceAndLaterPaintsOnlyBlit) {
    control.show();
    QCoreApplication::processEvents();
    ASSERT_FALSE(PictureStillPending(control));
    control.SetPowerMax(110);
    const int builds = control.ImageBuildCount();
    QSignalSpy pictureSpy(&control, &CSonoluxCtrl::PictureStateChanged);
    control.repaint();
    // The text is on screen while a worker draws the picture.
    EXPECT_TRUE(control.IsImageDirty());
    EXPECT_TRUE(control.GetPicturePending());
    EXPECT_EQ(pictureSpy.count(), 1);
    const QImage first = control.screen()->grabWindow(control.winId()).toImage();
    EXPECT_FALSE(PictureStillPending(control));
    EXPECT_EQ(pictureSpy.count(), 2);
    EXPECT_FALSE(control.IsImageDirty());
    EXPECT_EQ(control.ImageBuildCount(), builds + 1);
    control.repaint();
    control.repaint();
    EXPECT_EQ(control.ImageBuildCount(), builds + 1);
    // Something dark (the text) was drawn on the white background of the first paint.
    ASSERT_FALSE(first.isNull());
    bool dark = false;
    for (int y = 0; y < first.height() && !dark; ++y)
        for (int x = 0; x < first.width() && !dark; ++x) dark = qGray(first.pixel(x, y)) < 128;
    EXPECT_TRUE(dark);
}

TEST_F(Control, GrabbingADirtyControlBuildsAtOnceAndShowsNoText) {
    const QImage picture = control.grab().toImage();
    EXPECT_FALSE(control.IsImageDirty());
    EXPECT_EQ(control.ImageBuildCount(), 1);
    for (int y = 0; y < picture.height(); y += 3)
        for (int x = 0; x < picture.width(); x += 3)
            ASSERT_EQ(picture.pixel(x, y), qRgb(255, 255, 255));
}

TEST_F(Control, MetafileRenderingBuildsADirtyImageAtOnceWithoutText) {
    QImage target(150, 100, QImage::Format_RGB32);
    target.fill(Qt::blue);
    QPainter painter(&target);
    control.DrawMetafile(painter, target.rect());
    painter.end();
    EXPECT_FALSE(control.IsImageDirty());
    EXPECT_EQ(control.ImageBuildCount(), 1);
    // No samples: the whole picture is white, stretched over every pixel.
    for (int y = 0; y < 100; y += 9)
        for (int x = 0; x < 150; x += 7) ASSERT_EQ(target.pixel(x, y), qRgb(255, 255, 255));
}

TEST_F(Control, ReadableFileReplacesSamplesAndUnreadableFileKeepsThem) {
    TempFolder folder;
    const std::string good = folder.WriteWave("tone.wav", {100, -200, 300});
    control.SetFilename(QString::fromStdString(good));
    EXPECT_EQ(control.Samples(), (std::vector<std::int16_t>{100, -200, 300}));
    EXPECT_TRUE(control.IsImageDirty());

    QImage target(150, 100, QImage::Format_RGB32);
    QPainter painter(&target);
    control.DrawMetafile(painter, target.rect());
    painter.end();
    ASSERT_FALSE(control.IsImageDirty());

    const QString missing = QString::fromStdString(folder.Path("missing.wav"));
    control.SetFilename(missing);
    EXPECT_EQ(control.GetFilename(), missing);
    EXPECT_EQ(control.Samples(), (std::vector<std::int16_t>{100, -200, 300}));
    EXPECT_FALSE(control.IsImageDirty());  // the previous picture stays
    control.Play();
    EXPECT_EQ(player.played, QStringList({missing}));

    control.SetFilename("");
    EXPECT_TRUE(control.Samples().empty());
    EXPECT_TRUE(control.IsImageDirty());
}

TEST_F(Control, LeftPressPlaysOnlyWithPlayOnClick) {
    control.SetFilename("/data/a.wav");
    control.show();
    QTest::mouseClick(&control, Qt::LeftButton);
    EXPECT_TRUE(player.played.isEmpty());
    control.SetPlayOnClick(-1);
    QTest::mouseClick(&control, Qt::LeftButton);
    QTest::mouseClick(&control, Qt::RightButton);
    EXPECT_EQ(player.played, QStringList({"/data/a.wav"}));
    control.SetPlayOnClick(7);  // any non-zero value is true
    QTest::mouseClick(&control, Qt::LeftButton);
    EXPECT_EQ(player.played.size(), 2);
}

TEST_F(Control, ReloadedStateKeepsDataPathAndVersionButNotParameters) {
    TempFolder folder;
    const QString data = QString::fromStdString(folder.WriteText("samples.bin", "abc"));
    control.SetAudioSamplesDataPath(data);
    control.SetHopSize(500);
    control.SetFilename("/x.wav");
    const QByteArray state = control.SaveState();

    FakeSoundPlayer otherPlayer;
    CSonoluxCtrl reloaded(otherPlayer);
    ASSERT_TRUE(reloaded.LoadState(state));
    EXPECT_EQ(reloaded.GetAudioSamplesDataPath(), data);
    EXPECT_EQ(reloaded.size(), QSize(150, 100));
    EXPECT_EQ(reloaded.GetHopSize(), 64);
    EXPECT_EQ(reloaded.GetFilename(), "");

    QDataStream stream(state);
    quint32 version = 0;
    stream >> version;
    EXPECT_EQ(version, 0x00010000u);

    EXPECT_FALSE(reloaded.LoadState(QByteArray("\x00\x01", 2)));
}

TEST_F(Control, DeclaresItsFlagsAndActivationPolicy) {
    EXPECT_EQ(control.GetControlFlags() & 0x14u, 0x14u);
    EXPECT_EQ(control.GetActivationPolicy(), 4);
}

namespace {

QByteArray StateOfVersion(quint32 version, const QString& path) {
    QByteArray state;
    QDataStream stream(&state, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_6_4);
    stream << version << qint32{80} << qint32{60} << path;
    return state;
}

}  // namespace

TEST_F(Control, OlderStatesAreConvertedAndNewerLayoutsRefused) {
    TempFolder folder;
    const QString data = QString::fromStdString(folder.WriteText("samples.bin", "abc"));
    ASSERT_TRUE(control.LoadState(StateOfVersion(0x00000009, data)));
    EXPECT_EQ(control.GetAudioSamplesDataPath(), data);
    EXPECT_EQ(control.size(), QSize(80, 60));
    EXPECT_TRUE(control.IsModified());  // to be saved again as version 1.0

    control.SetModifiedFlag(false);
    ASSERT_TRUE(control.LoadState(StateOfVersion(0x00010000, data)));
    EXPECT_FALSE(control.IsModified());

    EXPECT_FALSE(control.LoadState(StateOfVersion(0x00020000, "/elsewhere.bin")));
    EXPECT_EQ(control.GetAudioSamplesDataPath(), "");  // reset, not misread
}

TEST_F(Control, DataPathIsReadInTheBackgroundAndResetStopsIt) {
    TempFolder folder;
    const QString data =
        QString::fromStdString(folder.WriteText("samples.bin", std::string(200 * 1024, 'x')));
    control.SetAudioSamplesDataPath(data);
    EXPECT_EQ(control.DataPath().PiecesSeen(), 0);  // nothing read inside the write
    for (int i = 0; i < 10; ++i) QCoreApplication::sendPostedEvents();
    EXPECT_EQ(control.DataPath().PiecesSeen(), 4);  // 200 KiB in 64 KiB pieces

    control.SetAudioSamplesDataPath(data);
    control.ResetState();
    for (int i = 0; i < 10; ++i) QCoreApplication::sendPostedEvents();
    EXPECT_EQ(control.GetAudioSamplesDataPath(), "");
    EXPECT_EQ(control.DataPath().PiecesSeen(), 4);  // the second read never delivered a piece
}

TEST_F(Control, TellsItsHostWhatTheLastLoadFound) {
    QSignalSpy changes(&control, SIGNAL(LoadStateChanged()));
    TempFolder folder;
    // Accepted, 12 000 frames beyond the limit.
    const std::string stereo = folder.Path("stereo24.wav");
    ASSERT_TRUE(corvane::WritePcmWave(stereo, 2, 44100, 24, std::vector<std::uint8_t>(6 * 60000)));
    control.SetFilename(QString::fromStdString(stereo));
    const QVariantList accepted = {true, 44100u, 2, 24, 60000u, 48000};
    EXPECT_EQ(LoadState(control), accepted);
    EXPECT_EQ(changes.count(), 1);
    control.SetFilename(QString::fromStdString(stereo));
    EXPECT_EQ(changes.count(), 1);  // nothing changed
    QVariant value;
    ASSERT_TRUE(control.GetDispatchProperty(SonoluxDispid::TotalFrames, value));
    EXPECT_EQ(value.toLongLong(), 60000);
    EXPECT_FALSE(control.SetDispatchProperty(SonoluxDispid::Loaded, false));  // read-only
    EXPECT_FALSE(control.setProperty("LoadedFrames", 5));
    EXPECT_EQ(LoadState(control), accepted);

    // Cut short: the data chunk claims far more than the file holds.
    WaveBytes cut;
    cut.RiffHeader().Format(1, 16).Data(std::vector<std::uint8_t>(2001, 3), 0x7FFFFFF0);
    control.SetFilename(QString::fromStdString(folder.WriteText("cut.wav", cut.Text())));
    EXPECT_EQ(LoadState(control), (QVariantList{true, 8000u, 1, 16, 1000u, 1000}));
    EXPECT_EQ(changes.count(), 2);

    // Refused: described as nothing loaded, while the samples stay.
    control.SetFilename(QString::fromStdString(folder.WriteText("notes.wav", "plain text")));
    EXPECT_EQ(LoadState(control), NothingLoaded);
    EXPECT_EQ(control.Samples().size(), 1000u);
    EXPECT_EQ(changes.count(), 3);
    control.SetFilename("");
    EXPECT_EQ(LoadState(control), NothingLoaded);
    EXPECT_EQ(changes.count(), 4);  // only LoadError changed: it empties
}

TEST_F(Control, ReportsWhatBecameOfTheLastPlay) {
    QSignalSpy changes(&control, SIGNAL(PlayStateChanged()));
    const auto state = [this] {
        return std::make_pair(control.property("Playing").toBool(),
                              control.property("PlayError").toString());
    };
    control.SetFilename("/data/a.wav");
    control.Play();
    EXPECT_EQ(state(), std::make_pair(false, QString()));
    player.Start();
    EXPECT_EQ(state(), std::make_pair(true, QString()));
    player.End();
    EXPECT_EQ(state(), std::make_pair(false, QString()));
    EXPECT_EQ(changes.count(), 2);

    control.Play();
    player.Fail("no sound output");
    EXPECT_EQ(state(), std::make_pair(false, QString("no sound output")));
    control.Play();  // a new request forgets why the last one failed
    EXPECT_EQ(state(), std::make_pair(false, QString()));
    player.Start();
    EXPECT_EQ(changes.count(), 5);

    // A folder is never handed over; the sound that plays goes on.
    TempFolder folder;
    control.SetFilename(QString::fromStdString(folder.Path()));
    control.Play();
    EXPECT_EQ(player.played.size(), 3);
    EXPECT_EQ(state(), std::make_pair(true, QString("not a regular file")));
    player.End();
    EXPECT_EQ(state(), std::make_pair(false, QString("not a regular file")));

    // A control that goes away is forgotten by the player it asked.
    {
        CSonoluxCtrl other(player);
        other.Play();
        EXPECT_NE(player.listener, nullptr);
    }
    EXPECT_EQ(player.listener, nullptr);
}

TEST_F(Control, FrameLimitTakesOneTo4194304AndRaisesInvalidPropertyValueOtherwise) {
    for (const QVariant& wrong : {QVariant(0), QVariant(-1), QVariant(4194305)}) {
        EXPECT_FALSE(control.SetDispatchProperty(SonoluxDispid::FrameLimit, wrong));
        EXPECT_EQ(control.GetErrorNumber(), 380);
        EXPECT_EQ(control.GetErrorDescription(), "Invalid property value");
        EXPECT_EQ(control.GetFrameLimit(), 48000);
    }
    // A host that writes by name reads the error through the meta-object.
    control.ClearError();
    control.setProperty("FrameLimit", 0);
    int number = 0;
    ASSERT_TRUE(QMetaObject::invokeMethod(&control, "GetErrorNumber", Q_RETURN_ARG(int, number)));
    EXPECT_EQ(number, 380);
    EXPECT_EQ(control.GetFrameLimit(), 48000);

    for (int right : {1, 4194304}) {
        EXPECT_TRUE(control.SetDispatchProperty(SonoluxDispid::FrameLimit, right));
        EXPECT_EQ(control.GetErrorNumber(), 0);
        EXPECT_EQ(control.GetFrameLimit(), right);
    }
    EXPECT_TRUE(control.SetDispatchProperty(SonoluxDispid::FloatSamples, -1));
    EXPECT_TRUE(control.GetFloatSamples());

    // Neither is saved: the state is the one of a control that never had them.
    FakeSoundPlayer otherPlayer;
    CSonoluxCtrl plain(otherPlayer);
    plain.resize(control.size());
    EXPECT_EQ(control.SaveState(), plain.SaveState());
    ASSERT_TRUE(plain.LoadState(control.SaveState()));
    EXPECT_EQ(plain.GetFrameLimit(), 48000);
    EXPECT_FALSE(plain.GetFloatSamples());
}

TEST_F(Control, WholeRecordingShowsAToneThatStartsLate) {
    // 5 s at 48 kHz: silence, then from 3 s on a tone of 3 kHz.
    std::vector<std::int16_t> samples(240000);
    for (std::size_t i = 144000; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(10000 * std::sin(2 * M_PI * 3000.0 * i / 48000));
    TempFolder folder;
    control.SetFilename(QString::fromStdString(folder.WriteWave("late.wav", samples)));
    Render(control);
    EXPECT_EQ(DarkColumns(control.Image()), std::make_pair(-1, -1));  // the first second only

    QSignalSpy changes(&control, SIGNAL(LoadStateChanged()));
    control.setProperty("FrameLimit", 4194304);
    EXPECT_EQ(control.Samples(), samples);
    EXPECT_EQ(control.GetLoadedFrames(), 240000);
    EXPECT_EQ(changes.count(), 1);
    ASSERT_TRUE(control.IsImageDirty());
    Render(control);
    // The tone fills the last two fifths of the picture and nothing before them.
    const int columns = control.Image().BuiltGeometry().frameCount;
    const auto [first, last] = DarkColumns(control.Image());
    EXPECT_NEAR(first, 0.6 * columns, 2);
    EXPECT_EQ(last, columns - 1);

    control.setProperty("FrameLimit", 48000);
    Render(control);
    EXPECT_EQ(DarkColumns(control.Image()), std::make_pair(-1, -1));
}

TEST_F(Control, FloatSamplesReadsFloatFilesOnlyWhileSet) {
    // 32-bit float samples 0.5, -0.25 and NaN.
    WaveBytes floats;
    floats.RiffHeader()
        .Format(1, 32, -1, 3)
        .Data({0, 0, 0, 0x3F, 0, 0, 0x80, 0xBE, 0, 0, 0xC0, 0x7F});
    TempFolder folder;
    control.SetFilename(QString::fromStdString(folder.WriteWave("pcm.wav", {1, 2})));
    control.SetFilename(QString::fromStdString(folder.WriteText("float.wav", floats.Text())));
    EXPECT_FALSE(control.GetLoaded());
    EXPECT_EQ(control.Samples(), (std::vector<std::int16_t>{1, 2}));

    control.setProperty("FloatSamples", true);
    EXPECT_EQ(LoadState(control), (QVariantList{true, 8000u, 1, 32, 3u, 3}));
    EXPECT_EQ(control.Samples(), (std::vector<std::int16_t>{16384, -8192, 0}));
    EXPECT_TRUE(control.IsImageDirty());

    control.setProperty("FloatSamples", false);
    EXPECT_FALSE(control.GetLoaded());
    EXPECT_EQ(control.Samples(), (std::vector<std::int16_t>{16384, -8192, 0}));
}

TEST_F(Control, PlaysSlowedDownTellsWhereItIsAndStopsOnRequest) {
    QSignalSpy moves(&control, SIGNAL(PlayPositionChanged()));
    EXPECT_EQ(control.property("PlaybackSpeedDivisor").value<short>(), 1);
    EXPECT_EQ(control.property("PlayPosition").toFloat(), 0.0f);
    control.SetFilename("/data/a.wav");
    control.Play();
    EXPECT_TRUE(control.SetDispatchProperty(SonoluxDispid::PlaybackSpeedDivisor, QVariant(10)));
    control.Play();
    EXPECT_EQ(player.divisors, QList<int>({1, 10}));
    for (const QVariant& wrong : {QVariant(0), QVariant(21), QVariant(-1)}) {
        EXPECT_FALSE(control.SetDispatchProperty(SonoluxDispid::PlaybackSpeedDivisor, wrong));
        EXPECT_EQ(control.GetErrorNumber(), 380);
        EXPECT_EQ(control.GetPlaybackSpeedDivisor(), 10);
    }

    // The position heard, read by identifier as well as by name.
    player.Start();
    player.Reach(0.25);
    QVariant position;
    ASSERT_TRUE(control.GetDispatchProperty(SonoluxDispid::PlayPosition, position));
    EXPECT_FLOAT_EQ(position.toFloat(), 0.25f);
    player.Reach(0.25);
    EXPECT_EQ(moves.count(), 1);

    // Stop ends this control's sound, and the position goes back to the start.
    EXPECT_TRUE(control.InvokeDispatchMethod(SonoluxDispid::Stop));
    EXPECT_EQ(player.stops, 1);
    EXPECT_FALSE(control.GetPlaying());
    EXPECT_EQ(control.GetPlayPosition(), 0.0f);
    EXPECT_EQ(moves.count(), 2);
    // A Stop while another control's sound plays leaves that sound alone.
    CSonoluxCtrl other(player);
    other.Play();
    player.Start();
    control.Stop();
    EXPECT_TRUE(other.GetPlaying());
}
