// Suggestions learned from the bound folders, on recordings made to order and
// written as real files, analysed by the real module.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <cstdio>
#include <random>

#include "host/ControlModule.h"
#include "scripts/demo/WaveWriter.h"
#include "suggest/FolderSuggestions.h"
#include "tests/support/CallCorpus.h"
#include "tests/support/TempFolder.h"

namespace {

using CallCorpus::Shape;

struct Score {
    int made = 0, right = 0;  // folder suggestions, and of them the right folder
    int audible = 0,
        suggested = 0;  // calls 10 dB or more over the background, and of them suggested
    int empty = 0, flagged = 0, flaggedEmpty = 0;  // empty recordings; "likely empty"; both
};

class FolderSuggestionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_THROW(
            module.Load(sonolux::CLSID_Sonolux, QCoreApplication::applicationDirPath()));
        ASSERT_TRUE(module.CanAnalyse());
    }

    QString Write(const std::string& folder, const std::string& name,
                  const CallCorpus::Recording& recording) {
        const std::string path = folder + "/" + name;
        EXPECT_TRUE(corvane::WriteMono16Wave(path, recording.sampleRate, recording.samples));
        return QString::fromStdString(path);
    }

    AnalyseFunction Analyser() {
        return [this](const QString& path) { return module.Analyse(path); };
    }

    ControlModule module;
    TempFolder root;
};

TEST_F(FolderSuggestionsTest, CallsGetTheirFolderAndNoiseIsLikelyEmpty) {
    constexpr int ExamplesPerFolder = 5;
    constexpr int UnsortedPerShape = 12;
    std::mt19937 random(20261207);
    QStringList folders;
    for (int s = 0; s < CallCorpus::ShapeCount; ++s) {
        const auto shape = static_cast<Shape>(s);
        if (shape == Shape::Empty) continue;
        const std::string folder = root.MakeFolder(CallCorpus::ShapeName(shape));
        folders.append(QString::fromStdString(folder));
        for (int i = 0; i < ExamplesPerFolder; ++i)
            Write(folder, "example" + std::to_string(i) + ".wav", CallCorpus::Make(shape, random));
    }
    const std::string unsorted = root.MakeFolder("unsorted");
    QStringList paths;
    std::vector<CallCorpus::Recording> truth;
    for (int i = 0; i < UnsortedPerShape; ++i) {
        for (int s = 0; s < CallCorpus::ShapeCount; ++s) {
            truth.push_back(CallCorpus::Make(static_cast<Shape>(s), random));
            paths.append(
                Write(unsorted, "r" + std::to_string(paths.size()) + ".wav", truth.back()));
        }
    }

    FolderSuggestions suggestions(Analyser(), 2);
    suggestions.Learn(folders);
    ASSERT_EQ(suggestions.Model().ExampleCount(), ExamplesPerFolder * (CallCorpus::ShapeCount - 1));
    const std::vector<Suggestion> found = suggestions.Suggest(paths);

    Score score;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const bool isEmpty = truth[i].shape == Shape::Empty;
        const QString expected =
            QString::fromStdString(root.Path(CallCorpus::ShapeName(truth[i].shape)));
        if (!found[i].folder.isEmpty()) {
            ++score.made;
            if (found[i].folder == expected) ++score.right;
        }
        if (!isEmpty && truth[i].levelDb >= 10.0) {
            ++score.audible;
            if (!found[i].folder.isEmpty()) ++score.suggested;
        }
        score.empty += isEmpty;
        score.flagged += found[i].likelyEmpty;
        score.flaggedEmpty += isEmpty && found[i].likelyEmpty;
    }
    std::printf(
        "suggestions %d/%d right, %d/%d audible suggested, likely empty %d/%d found, %d/%d right\n",
        score.right, score.made, score.suggested, score.audible, score.flaggedEmpty, score.empty,
        score.flaggedEmpty, score.flagged);
    ASSERT_GT(score.made, 0);
    EXPECT_GE(score.right, 0.95 * score.made);
    EXPECT_GE(score.suggested, 0.85 * score.audible);
    EXPECT_GE(score.flaggedEmpty, 0.95 * score.empty);
    EXPECT_GE(score.flaggedEmpty, 0.95 * score.flagged);
}

// Two tones far apart are easy to tell; the rule on examples is what is checked.
TEST_F(FolderSuggestionsTest, AFolderOfFewerThanThreeExamplesIsNeverSuggestedUntilAMoveTeachesIt) {
    std::mt19937 random(5);
    const std::string tones = root.MakeFolder("tones");
    const std::string trills = root.MakeFolder("trills");
    for (int i = 0; i < 4; ++i)
        Write(tones, "t" + std::to_string(i) + ".wav",
              CallCorpus::Make(Shape::Tone, random, 1.0, 20, 25));
    for (int i = 0; i < 2; ++i)
        Write(trills, "r" + std::to_string(i) + ".wav",
              CallCorpus::Make(Shape::Trill, random, 1.0, 20, 25));
    const std::string unsorted = root.MakeFolder("unsorted");
    const QString trill =
        Write(unsorted, "trill.wav", CallCorpus::Make(Shape::Trill, random, 1.0, 20, 25));
    const QString another =
        Write(unsorted, "another.wav", CallCorpus::Make(Shape::Trill, random, 1.0, 20, 25));
    const QString text = QString::fromStdString(root.WriteText("unsorted/notes.wav", "not a wave"));

    FolderSuggestions suggestions(Analyser(), 2);
    suggestions.Learn({QString::fromStdString(tones), QString::fromStdString(trills)});
    EXPECT_EQ(suggestions.Model().ExampleCount(QString::fromStdString(trills)), 2);
    std::vector<Suggestion> found = suggestions.Suggest({trill, text});
    EXPECT_TRUE(found[0].folder.isEmpty()) << found[0].folder.toStdString();
    EXPECT_FALSE(found[0].likelyEmpty);
    // A file that cannot be read gets nothing, not even "likely empty".
    EXPECT_TRUE(found[1].folder.isEmpty());
    EXPECT_FALSE(found[1].likelyEmpty);
    const WaveFingerprint unread = module.Analyse(text);
    EXPECT_FALSE(unread.analysed);
    EXPECT_EQ(unread.status, "not a readable wave file");

    // The move of one more trill into its folder is its third example.
    suggestions.Teach(another, QString::fromStdString(trills));
    found = suggestions.Suggest({trill});
    EXPECT_EQ(found[0].folder.toStdString(), trills);
    EXPECT_GT(found[0].confidence, 0.5);

    // Undone, the move takes its example back with it: two trills again, and the
    // recording taken back does not suggest the folder it left.
    suggestions.Unteach(another, QString::fromStdString(trills));
    EXPECT_EQ(suggestions.Model().ExampleCount(QString::fromStdString(trills)), 2);
    found = suggestions.Suggest({trill, another});
    EXPECT_TRUE(found[0].folder.isEmpty()) << found[0].folder.toStdString();
    EXPECT_TRUE(found[1].folder.isEmpty()) << found[1].folder.toStdString();
}

// The command as users run it: one line per wave file of SOURCE, in batch order.
TEST_F(FolderSuggestionsTest, CorvaneSuggestPrintsNameFolderAndConfidencePerRecording) {
    std::mt19937 random(9);
    const std::string tones = root.MakeFolder("tones");
    const std::string sweeps = root.MakeFolder("sweeps");
    for (int i = 0; i < 4; ++i) {
        Write(tones, "t" + std::to_string(i) + ".wav",
              CallCorpus::Make(Shape::Tone, random, 1.0, 20, 25));
        Write(sweeps, "s" + std::to_string(i) + ".wav",
              CallCorpus::Make(Shape::UpSweep, random, 1.0, 20, 25));
    }
    const std::string unsorted = root.MakeFolder("unsorted");
    Write(unsorted, "b.wav", CallCorpus::Make(Shape::Tone, random, 1.0, 20, 25));
    Write(unsorted, "a.wav", CallCorpus::Make(Shape::Empty, random));
    root.WriteText("unsorted/c.wav", "not a wave");
    root.WriteText("unsorted/notes.txt", "not a recording");

    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CACHE_HOME", QString::fromStdString(root.Path("cache")));
    environment.insert("SONOLUX_COMPONENT_REGISTRY",
                       QString::fromStdString(root.Path("registry.ini")));
    tool.setProcessEnvironment(environment);
    const QString program =
        QDir(QCoreApplication::applicationDirPath()).filePath("corvane-suggest");
    tool.start(program, {"--threshold", "6", QString::fromStdString(unsorted),
                         QString::fromStdString(tones), QString::fromStdString(sweeps)});
    ASSERT_TRUE(tool.waitForFinished(-1));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QStringList lines = QString::fromLocal8Bit(tool.readAllStandardOutput()).split('\n');
    ASSERT_EQ(lines.size(), 4) << lines.join('|').toStdString();  // three and the last newline
    EXPECT_EQ(lines[0].section('\t', 0, 1).toStdString(), "a.wav\tempty?");
    EXPECT_EQ(lines[1].section('\t', 0, 1).toStdString(), "b.wav\t" + tones);
    EXPECT_GT(lines[1].section('\t', 2).toDouble(), 0.5);
    EXPECT_EQ(lines[2].toStdString(), "c.wav\t-\t0.00");
    // The analyses are kept in the user's cache, and a second run answers alike from it.
    EXPECT_TRUE(QFile::exists(QString::fromStdString(root.Path("cache/Corvane/analyses.bin"))));
    tool.start(program, {QString::fromStdString(unsorted), QString::fromStdString(tones),
                         QString::fromStdString(sweeps)});
    ASSERT_TRUE(tool.waitForFinished(-1));
    EXPECT_EQ(QString::fromLocal8Bit(tool.readAllStandardOutput()).split('\n'), lines);

    tool.start(program, {QString::fromStdString(unsorted)});
    ASSERT_TRUE(tool.waitForFinished(-1));
    EXPECT_EQ(tool.exitCode(), 2);
}

}  // namespace
