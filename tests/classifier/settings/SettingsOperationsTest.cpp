#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "settings/CellSizeLimits.h"
#include "settings/QtSettingsStore.h"
#include "settings/SettingsOperations.h"
#include "tests/classifier/mocks/FakeMainWindowValues.h"

using namespace SettingsOperations;

namespace {

// A settings file in a temporary folder, and a main window to load into.
class SettingsOperationsTest : public ::testing::Test {
protected:
    QString Path() const {
        return m_folder.filePath(QStringLiteral("Corvane%1.conf").arg(m_version));
    }

    // QSettings keeps what it read of a file and may not notice a change made
    // in the same millisecond, so every hand-written file gets a name of its own.
    void WriteFile(const QByteArray& contents) {
        ++m_version;
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    // The main window's load: both reads, in their order.
    FakeMainWindowValues Load() {
        FakeMainWindowValues values;
        values.width = 0;
        values.height = 0;
        QtSettingsStore store(Path());
        LoadViewSettings(store, values, CellSizeLimits(28800, 16200));  // 1920 x 1080 pixels
        LoadSPGSettings(store, values);
        return values;
    }

    // The main window's unload: both saves, then one commit.
    void Save(const FakeMainWindowValues& values) {
        QtSettingsStore store(Path());
        SaveViewSettings(store, values);
        SaveSPGSettings(store, values);
        ASSERT_EQ(store.Commit(), QString());
    }

    // The "Recordings" options as the main window's load reads them.
    RecordingOptions LoadRecordings() {
        FakeMainWindowValues values;
        QtSettingsStore store(Path());
        LoadRecordingSettings(store, values);
        EXPECT_EQ(values.recordingCalls.size(), 1u);
        return values.recordings;
    }

    // The main window's unload with every section it writes.
    void SaveAll(const FakeMainWindowValues& values) {
        QtSettingsStore store(Path());
        SaveViewSettings(store, values);
        SaveSPGSettings(store, values);
        SaveRecordingSettings(store, values);
        ASSERT_EQ(store.Commit(), QString());
    }

    QString Stored(const char* key) const {
        QSettings qt(Path(), QSettings::IniFormat);
        return qt.value(QLatin1String(key), QStringLiteral("<absent>")).toString();
    }

    void ExpectFirstRunValues(const FakeMainWindowValues& values) {
        ASSERT_EQ(values.cellSizeCalls.size(), 1u);
        EXPECT_EQ(values.cellSizeCalls[0].width, 1500);
        EXPECT_EQ(values.cellSizeCalls[0].height, 1000);
        EXPECT_TRUE(values.cellSizeCalls[0].force);
        EXPECT_FALSE(values.play);
        ASSERT_EQ(values.spgCalls.size(), 1u);
        EXPECT_EQ(values.spgCalls[0], (SpectrogramParameterSet{2, 1, 64, 0, 120.0f, 20.0f}));
    }

private:
    QTemporaryDir m_folder;
    int m_version = 0;
};

}  // namespace

TEST_F(SettingsOperationsTest, FirstRunUsesTheDefaultsAndStoresAllNineKeysAsText) {
    const FakeMainWindowValues values = Load();
    ExpectFirstRunValues(values);

    Save(values);
    EXPECT_EQ(Stored("Cell Size/Cell Width"), QStringLiteral("1500"));
    EXPECT_EQ(Stored("Cell Size/Cell Height"), QStringLiteral("1000"));
    EXPECT_EQ(Stored("Menu Defaults/Play"), QStringLiteral("False"));
    EXPECT_EQ(Stored("Spectrogram Parameters/FFT Size Choice"), QStringLiteral("2"));
    EXPECT_EQ(Stored("Spectrogram Parameters/Frame Length Choice"), QStringLiteral("1"));
    EXPECT_EQ(Stored("Spectrogram Parameters/Hop Size"), QStringLiteral("64"));
    EXPECT_EQ(Stored("Spectrogram Parameters/Window Function Choice"), QStringLiteral("0"));
    EXPECT_EQ(Stored("Spectrogram Parameters/Power Max"), QStringLiteral("120"));
    EXPECT_EQ(Stored("Spectrogram Parameters/Power Min"), QStringLiteral("20"));
    EXPECT_EQ(QSettings(Path(), QSettings::IniFormat).allKeys().size(), 9);
}

TEST_F(SettingsOperationsTest, ChangedValuesSurviveARestartExactly) {
    FakeMainWindowValues values;
    values.width = 2250;
    values.height = 1125;
    values.play = true;
    values.params = {8, 0, -3, 4, 95.25f, 10.5f};
    Save(values);
    EXPECT_EQ(Stored("Spectrogram Parameters/Power Max"), QStringLiteral("95.25"));
    EXPECT_EQ(Stored("Spectrogram Parameters/Power Min"), QStringLiteral("10.5"));
    EXPECT_EQ(Stored("Menu Defaults/Play"), QStringLiteral("True"));

    const FakeMainWindowValues loaded = Load();
    EXPECT_EQ(loaded.width, 2250);
    EXPECT_EQ(loaded.height, 1125);
    EXPECT_TRUE(loaded.play);
    ASSERT_EQ(loaded.spgCalls.size(), 1u);
    EXPECT_EQ(loaded.spgCalls[0], (SpectrogramParameterSet{8, 0, -3, 4, 95.25f, 10.5f}));
}

TEST_F(SettingsOperationsTest, ReadsHandEditedTextsAsThePlatformConvertsThem) {
    WriteFile(
        "[Cell%20Size]\nCell%20Width=1500.5\nCell%20Height=\" 1501.5 \"\n"
        "[Menu%20Defaults]\nPlay=true\n"
        "[Spectrogram%20Parameters]\nFFT%20Size%20Choice=2.5\nPower%20Max=99,5\n");
    FakeMainWindowValues values = Load();
    EXPECT_EQ(values.width, 1500);
    EXPECT_EQ(values.height, 1502);
    EXPECT_TRUE(values.play);
    EXPECT_EQ(values.params.FFTSizeChoice, 2);
    EXPECT_EQ(values.params.PowerMax, 99.5f);

    WriteFile("[Menu%20Defaults]\nPlay=1\n");
    EXPECT_TRUE(Load().play);
    WriteFile("[Menu%20Defaults]\nPlay=0\n");
    EXPECT_FALSE(Load().play);
}

TEST_F(SettingsOperationsTest, EveryUnusableValueFallsBackToItsDefault) {
    WriteFile(
        "[Cell%20Size]\nCell%20Width=abc\nCell%20Height=0\n"
        "[Menu%20Defaults]\nPlay=maybe\n"
        "[Spectrogram%20Parameters]\n"
        "FFT%20Size%20Choice=9\nFrame%20Length%20Choice=70000\nHop%20Size=1e10\n"
        "Window%20Function%20Choice=-1\nPower%20Max=1e39\nPower%20Min=@Variant(\\0\\0)\n");
    ExpectFirstRunValues(Load());

    WriteFile(
        "[Cell%20Size]\nCell%20Width=-1500\nCell%20Height=2147483648\n"
        "[Spectrogram%20Parameters]\nWindow%20Function%20Choice=5\n");
    ExpectFirstRunValues(Load());
}

TEST_F(SettingsOperationsTest, TheLastValuesOfEachRangeAreKept) {
    WriteFile(
        "[Cell%20Size]\nCell%20Width=1\nCell%20Height=2147483647\n"
        "[Spectrogram%20Parameters]\nFFT%20Size%20Choice=8\nFrame%20Length%20Choice=0\n"
        "Window%20Function%20Choice=4\nHop%20Size=-2147483648\n");
    const FakeMainWindowValues values = Load();
    EXPECT_EQ(values.width, 1);
    EXPECT_EQ(values.height, 2147483647);
    EXPECT_EQ(values.spgCalls.at(0),
              (SpectrogramParameterSet{8, 0, -2147483647 - 1, 4, 120.0f, 20.0f}));
}

TEST_F(SettingsOperationsTest, ACellSizeAskingForTooManyCellsGivesWayToTheFirstRunSize) {
    // 1 x 1 twip would need some 466 million cells on a 1920 x 1080 desktop.
    WriteFile("[Cell%20Size]\nCell%20Width=1\nCell%20Height=1\n");
    FakeMainWindowValues values = Load();
    EXPECT_EQ(values.width, 1500);
    EXPECT_EQ(values.height, 1000);
    // 200 x 200 twips: 144 x 81 cells, within the grid's 32767.
    WriteFile("[Cell%20Size]\nCell%20Width=200\nCell%20Height=200\n");
    values = Load();
    EXPECT_EQ(values.width, 200);
    EXPECT_EQ(values.height, 200);
}

TEST_F(SettingsOperationsTest, ADamagedFileStillStartsWithTheDefaultsAndIsRepaired) {
    const char damaged[] = "\x00\xff\xfe[[[\n\x01\x02==\n[Cell%20Size\nCell%20Width=9000\n";
    WriteFile(QByteArray(damaged, sizeof damaged - 1));
    const FakeMainWindowValues values = Load();
    ExpectFirstRunValues(values);
    Save(values);
    EXPECT_EQ(Stored("Cell Size/Cell Width"), QStringLiteral("1500"));
    EXPECT_EQ(Stored("Spectrogram Parameters/Power Min"), QStringLiteral("20"));
}

TEST_F(SettingsOperationsTest, RecordingOptionsStartOffAndEachSurvivesARestartUnderItsOwnKey) {
    EXPECT_EQ(LoadRecordings(), RecordingOptions{});

    const char* const keys[] = {"Recordings/WholeRecording", "Recordings/AnyCaseWave",
                                "Recordings/FloatSamples", "Recordings/EverySample",
                                "Recordings/AutoContrast"};
    for (int on = 0; on < 5; ++on) {
        FakeMainWindowValues values;
        values.recordings = {on == 0, on == 1, on == 2, on == 3, on == 4};
        SaveAll(values);
        for (int key = 0; key < 5; ++key) {
            EXPECT_EQ(Stored(keys[key]),
                      key == on ? QStringLiteral("True") : QStringLiteral("False"))
                << keys[key];
        }
        EXPECT_EQ(LoadRecordings(), values.recordings) << on;
    }
    // Beside the nine described keys, which keep their texts.
    EXPECT_EQ(QSettings(Path(), QSettings::IniFormat).allKeys().size(), 14);
    EXPECT_EQ(Stored("Menu Defaults/Play"), QStringLiteral("False"));
    EXPECT_EQ(Stored("Spectrogram Parameters/Power Min"), QStringLiteral("20"));
}

TEST_F(SettingsOperationsTest, RecordingOptionsReadLikeThePlayDefaultAndFallBackToFalse) {
    WriteFile("[Recordings]\nWholeRecording=true\nAnyCaseWave=1\nFloatSamples=\" TRUE \"\n");
    EXPECT_EQ(LoadRecordings(), (RecordingOptions{true, true, true}));

    WriteFile(
        "[Recordings]\nWholeRecording=maybe\nAnyCaseWave=\nFloatSamples=@Variant(\\0\\0)\n"
        "[Menu%20Defaults]\nPlay=True\n");
    EXPECT_EQ(LoadRecordings(), RecordingOptions{});
    EXPECT_TRUE(Load().play);  // the other sections are read as before
}

TEST_F(SettingsOperationsTest, PlaybackOptionsAreStoredOnlyChangedAndReadOnlyAsOffered) {
    FakeMainWindowValues values;
    {
        QtSettingsStore store(Path());
        SavePlaybackSettings(store, values);
        ASSERT_EQ(store.Commit(), QString());
    }
    EXPECT_EQ(Stored("Playback/SpeedDivisor"), "<absent>");
    values.playback = {10, true};
    {
        QtSettingsStore store(Path());
        SavePlaybackSettings(store, values);
        ASSERT_EQ(store.Commit(), QString());
    }
    EXPECT_EQ(Stored("Playback/SpeedDivisor"), "10");
    EXPECT_EQ(Stored("Playback/PlayOnSelect"), "True");
    const auto load = [this] {
        FakeMainWindowValues loaded;
        QtSettingsStore store(Path());
        LoadPlaybackSettings(store, loaded);
        return loaded.playback;
    };
    EXPECT_EQ(load(), (PlaybackOptions{10, true}));
    // A speed that is not offered, or no number at all, is the recording's own.
    for (const char* text : {"3", "0", "21", "fast"}) {
        WriteFile(QByteArray("[Playback]\nSpeedDivisor=") + text + "\n");
        EXPECT_EQ(load(), PlaybackOptions{}) << text;
    }
}

TEST_F(SettingsOperationsTest, SuggestionOptionsAreStoredOnlyChangedAndTheThresholdOnlyInRange) {
    FakeMainWindowValues values;
    const auto save = [&] {
        QtSettingsStore store(Path());
        SaveSuggestionSettings(store, values);
        ASSERT_EQ(store.Commit(), QString());
    };
    const auto load = [this] {
        FakeMainWindowValues loaded;
        QtSettingsStore store(Path());
        LoadSuggestionSettings(store, loaded);
        return loaded.suggestions;
    };
    save();
    EXPECT_EQ(Stored("Suggestions/Show"), "<absent>");
    values.suggestions = {true, true, 12.5};
    save();
    EXPECT_EQ(Stored("Suggestions/Show"), "True");
    EXPECT_EQ(Stored("Suggestions/EmptyThresholdDb"), "12.5");
    EXPECT_EQ(load(), (SuggestionOptions{true, true, 12.5}));
    for (const char* text : {"60", "0"}) {
        WriteFile(QByteArray("[Suggestions]\nEmptyThresholdDb=") + text + "\n");
        EXPECT_EQ(load().EmptyThresholdDb, QByteArray(text).toDouble()) << text;
    }
    for (const char* text : {"60.5", "-1", "nan", "loud"}) {
        WriteFile(QByteArray("[Suggestions]\nEmptyThresholdDb=") + text + "\n");
        EXPECT_EQ(load().EmptyThresholdDb, 6.0) << text;
    }
}
