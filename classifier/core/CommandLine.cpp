#include "core/CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

CommandLine CommandLine::Parse(const QStringList& arguments) {
    // The parser only reads; the texts are our own, so that they do not depend
    // on how the program was invoked or on an application object.
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("help"));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("version"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("PATH"), QStringLiteral("path"));

    CommandLine commandLine;
    if (!parser.parse(arguments)) {
        commandLine.m_action = Action::UsageError;
        commandLine.m_error = parser.errorText();
    } else if (parser.isSet(help)) {
        commandLine.m_action = Action::ShowHelp;
    } else if (parser.isSet(version)) {
        commandLine.m_action = Action::ShowVersion;
    } else if (parser.positionalArguments().size() > 1) {
        commandLine.m_action = Action::UsageError;
        commandLine.m_error = QStringLiteral("Only one PATH can be opened.");
    } else if (!parser.positionalArguments().isEmpty()) {
        commandLine.m_hasPath = true;
        commandLine.m_path = parser.positionalArguments().front();
    }
    return commandLine;
}

QString CommandLine::Answer(const QString& settingsFile) const {
    switch (m_action) {
        case Action::ShowHelp:
            return HelpText(settingsFile);
        case Action::ShowVersion:
            return VersionText();
        case Action::UsageError:
            return QStringLiteral("corvane: %1\n\n").arg(m_error) + HelpText(settingsFile);
        case Action::Run:
            break;
    }
    return {};
}

QString CommandLine::HelpText(const QString& settingsFile) {
    return QStringLiteral(
               "Usage: corvane [OPTIONS] [PATH]\n"
               "Sorts short sound recordings into folders by their spectrograms.\n"
               "\n"
               "Options:\n"
               "  -h, --help     Show this help and exit.\n"
               "  -v, --version  Show the version and exit.\n"
               "\n"
               "Arguments:\n"
               "  PATH           A folder, or a wave file in it: the grid opens on the\n"
               "                 folder's first wave files. Without PATH the grid starts\n"
               "                 empty. Write -- before a PATH that starts with -.\n"
               "\n"
               "Settings are kept in %1.\n")
        .arg(settingsFile);
}

QString CommandLine::VersionText() {
    return QStringLiteral("Corvane " CORVANE_VERSION "\n");
}
