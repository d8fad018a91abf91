// corvane-suggest: where the recordings of a folder probably belong, learned from
// the recordings already sorted into the target folders; no window.
//   corvane-suggest [--threshold DB] SOURCE TARGET...
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <limits>

#include "core/CorvaneError.h"
#include "files/SafeFileWriter.h"
#include "files/WaveBatch.h"
#include "host/ControlModule.h"
#include "sonolux/SonoluxModule.h"
#include "suggest/AnalysisCache.h"
#include "suggest/FolderSuggestions.h"

namespace {

constexpr int ExitUsage = 2;

const char* const Usage =
    "usage: corvane-suggest [--threshold DB] SOURCE TARGET...\n"
    "Learns from the wave files already in each TARGET folder (its 500 most recent)\n"
    "and prints, for every wave file of SOURCE in batch order, one tab-separated line:\n"
    "its name, the suggested TARGET (\"empty?\" for a likely empty recording, \"-\" for\n"
    "none) and the confidence (0 to 1).\n"
    "  --threshold DB     below this activity a recording is likely empty (default 6)\n"
    "  --no-cache         neither read nor keep analyses in ~/.cache/Corvane\n"
    "  -h, --help         print this help and exit\n"
    "  -v, --version      print the version and exit\n";

struct Arguments {
    double thresholdDb = SuggestionModel::DefaultEmptyThresholdDb;
    bool cache = true;
    QString source;
    QStringList targets;
};

// Returns an empty string on success, otherwise what is wrong with the command line.
QString Parse(const QStringList& arguments, Arguments& parsed) {
    bool optionsEnded = false;
    QStringList folders;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded &&
                   (argument == "--threshold" || argument.startsWith("--threshold="))) {
            QString value;
            if (argument.contains('=')) {
                value = argument.section('=', 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                return QStringLiteral("missing value for --threshold");
            }
            bool ok = false;
            parsed.thresholdDb = value.toDouble(&ok);
            if (!ok || parsed.thresholdDb < 0.0 || parsed.thresholdDb > 200.0)
                return QStringLiteral("invalid value for --threshold: %1").arg(value);
        } else if (!optionsEnded && argument.startsWith('-') && argument.size() > 1) {
            return QStringLiteral("unknown option %1").arg(argument);
        } else {
            folders.append(argument);
        }
    }
    if (folders.size() < 2) return QStringLiteral("a SOURCE and at least one TARGET are needed");
    parsed.source = folders.takeFirst();
    parsed.targets = folders;
    for (const QString& folder : folders + QStringList{parsed.source}) {
        if (!QFileInfo(folder).isDir()) return QStringLiteral("not a folder: %1").arg(folder);
    }
    return {};
}

QString Answer(const Suggestion& suggestion) {
    if (!suggestion.folder.isEmpty()) return suggestion.folder;
    return suggestion.likelyEmpty ? QStringLiteral("empty?") : QStringLiteral("-");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    for (int i = 1; i < arguments.size() && arguments[i] != "--"; ++i) {
        if (arguments[i] == "-h" || arguments[i] == "--help") {
            std::fputs(Usage, stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (arguments[i] == "-v" || arguments[i] == "--version") {
            std::fputs("corvane-suggest " CORVANE_VERSION "\n", stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
    }
    Arguments parsed;
    const QString error = Parse(arguments, parsed);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "corvane-suggest: %s\n%s", error.toLocal8Bit().constData(), Usage);
        return ExitUsage;
    }

    // The module the program itself would load: the one the registry names, else
    // the one beside this program.
    ControlModule module;
    try {
        module.Load(sonolux::CLSID_Sonolux);
    } catch (const CorvaneError& failure) {
        std::fprintf(stderr,
                     "corvane-suggest: the spectrogram control module cannot be loaded: %s\n",
                     failure.Description().toLocal8Bit().constData());
        return 1;
    }
    if (!module.CanAnalyse()) {
        std::fprintf(stderr, "corvane-suggest: the control module %s cannot analyse recordings\n",
                     module.ModulePath().toLocal8Bit().constData());
        return 1;
    }

    AnalyseFunction analyse = [&module](const QString& path) { return module.Analyse(path); };
    AnalysisCache cache(AnalysisCache::DefaultPath(), module.AnalysisVersion());
    if (parsed.cache) {
        cache.Load();
        analyse = cache.Cached(analyse);
    }
    FolderSuggestions suggestions(analyse);
    suggestions.Learn(parsed.targets);
    const WaveBatch::Batch batch =
        WaveBatch::FirstWaveFiles(parsed.source, std::numeric_limits<int>::max());
    const std::vector<Suggestion> found = suggestions.Suggest(batch.paths, parsed.thresholdDb);
    for (std::size_t i = 0; i < found.size(); ++i) {
        const QString line =
            QStringLiteral("%1\t%2\t%3\n")
                .arg(QFileInfo(batch.paths[static_cast<qsizetype>(i)]).fileName(), Answer(found[i]))
                .arg(found[i].confidence, 0, 'f', 2);
        std::fputs(line.toLocal8Bit().constData(), stdout);
    }
    if (parsed.cache) {
        // A cache that cannot be kept costs the next run time, not this run's answer.
        SafeFileWriter writer;
        const QString failure = cache.Save(writer);
        if (!failure.isEmpty())
            std::fprintf(stderr, "corvane-suggest: the analyses cannot be kept: %s\n",
                         failure.toLocal8Bit().constData());
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
